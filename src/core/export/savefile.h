#pragma once

#include <QByteArray>
#include <QString>

namespace vq {

// The message every export uses when its file cannot be written: the path and the system's reason.
QString cannotCreateFileMessage(const QString &path, const QString &reason);

// Writes data to path in one piece, replacing an existing file only once the new content is
// complete, so a failed export never leaves a truncated file behind. Throws vq::Error.
void saveFileOrThrow(const QString &path, const QByteArray &data);

} // namespace vq
