#include "folderscan.h"

#include "catalog/error.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vq {

namespace {

// Follows links, as opening the name would; a dangling link or a fifo, socket or device answers false.
bool isFileOrFolder(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode);
}

} // namespace

bool isScannableFolder(const QString &path) {
    return path.startsWith(QLatin1Char('/'));
}

bool hasVideoExtension(const QString &name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView ext = QStringView(name).mid(dot + 1);
    return std::any_of(ExtensionList.begin(), ExtensionList.end(), [&](const char *e) {
        return ext.compare(QLatin1StringView(e), Qt::CaseInsensitive) == 0;
    });
}

QStringList See(const QString &folder, bool videoOnly) {
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    // The name list comes straight from the directory; types are checked per entry below so that a
    // link counts as what it points to.
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);

    QStringList listed;
    QSet<QString> seen;
    for (const QString &name : names) {
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        if (videoOnly && !hasVideoExtension(name))
            continue;
        if (seen.contains(name) || !isFileOrFolder(dir.filePath(name)))
            continue;
        seen.insert(name);
        listed.append(name);
    }
    if (listed.isEmpty())
        return listed;

    if (::chdir(QFile::encodeName(dir.absolutePath()).constData()) != 0) {
        const int err = errno;
        throw Error(QStringLiteral("Не удалось перейти в папку '%1': %2")
                        .arg(dir.absolutePath(), QString::fromLocal8Bit(std::strerror(err))));
    }

    QCollator collator; // the user's locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(listed.begin(), listed.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b; // names equal but for case: a fixed order all the same
    });
    return listed;
}

} // namespace vq
