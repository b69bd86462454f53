#pragma once

#include <QByteArray>

#include <unistd.h>

namespace vq::test {

// Removes a file whose name is not valid UTF-8 when the test ends: Qt cannot name such a file,
// so QTemporaryDir would leave it (and its folder) behind in the temporary folder.
class RawFileGuard {
public:
    explicit RawFileGuard(QByteArray path) : m_path(std::move(path)) {}
    ~RawFileGuard() { ::unlink(m_path.constData()); }
    RawFileGuard(const RawFileGuard &) = delete;
    RawFileGuard &operator=(const RawFileGuard &) = delete;

private:
    QByteArray m_path;
};

} // namespace vq::test
