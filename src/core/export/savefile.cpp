#include "export/savefile.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <QSaveFile>

namespace vq {

QString cannotCreateFileMessage(const QString &path, const QString &reason) {
    return msg::cannotCreateFile(path, reason);
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
