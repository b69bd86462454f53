#pragma once

#include <QString>
#include <stdexcept>

namespace vq {

// The one exception type of the core: every failure reaches the user as this message.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};

} // namespace vq
