#include "export/savefile.h"

#include "catalog/error.h"

#include <QSaveFile>

namespace vq {

QString cannotCreateFileMessage(const QString &path, const QString &reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

void saveFileOrThrow(const QString &path, const QByteArray &data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(cannotCreateFileMessage(path, file.errorString()));
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Error(cannotCreateFileMessage(path, reason));
    }
    if (!file.commit())
        throw Error(cannotCreateFileMessage(path, file.errorString()));
}

} // namespace vq
