#include "folderscan.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "intake/filenames.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vq {

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

namespace {

QByteArray childPath(const QByteArray &folder, const QByteArray &name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

struct RawEntry {
    QString shown;
    QByteArray name;
    bool isFolder = false;
};

// The names of a folder as the file system has them.
QSet<QByteArray> folderNames(const QByteArray &folder) {
    QSet<QByteArray> names;
    if (DIR *dir = ::opendir(folder.constData())) {
        while (const dirent *d = ::readdir(dir)) {
            const QByteArray name(d->d_name);
            if (!name.isEmpty() && name != "." && name != "..")
                names.insert(name);
        }
        ::closedir(dir);
    }
    return names;
}

// The entries of one folder by their own bytes; QDir would hand back names it cannot decode with
// replacement marks, which then name no file (or another one).
std::vector<RawEntry> readFolder(const QByteArray &folder, bool videoOnly,
                                 std::vector<RawEntry> &subfolders) {
    std::vector<RawEntry> listed;
    const QSet<QByteArray> names = folderNames(folder);
    const auto taken = [&](const QByteArray &name) { return names.contains(name); };
    for (const QByteArray &name : names) {
        struct stat st {};
        // Follows links, as opening the name would; a dangling link or a fifo, socket or device is left out.
        if (::stat(childPath(folder, name).constData(), &st) != 0)
            continue;
        const bool isFolder = S_ISDIR(st.st_mode);
        if (!isFolder && !S_ISREG(st.st_mode))
            continue;
        RawEntry e{fileNameTextAmong(name, taken), name, isFolder};
        if (isFolder)
            subfolders.push_back(e);
        if (videoOnly && !hasVideoExtension(e.shown))
            continue;
        listed.push_back(e);
    }
    return listed;
}

void sortEntries(std::vector<RawEntry> &entries) {
    QCollator collator; // the user's locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(entries.begin(), entries.end(), [&](const RawEntry &a, const RawEntry &b) {
        const int c = collator.compare(a.shown, b.shown);
        if (c != 0)
            return c < 0;
        return a.shown != b.shown ? a.shown < b.shown : a.name < b.name; // a fixed order all the same
    });
}

void scanInto(QList<ListedFile> &out, const QByteArray &folder, const QString &prefix, bool videoOnly,
              bool recursive, QSet<QPair<quint64, quint64>> &seen) {
    struct stat st {};
    if (::stat(folder.constData(), &st) != 0)
        return;
    const QPair<quint64, quint64> id{quint64(st.st_dev), quint64(st.st_ino)};
    if (seen.contains(id))
        return;
    seen.insert(id);
    std::vector<RawEntry> subfolders;
    std::vector<RawEntry> listed = readFolder(folder, videoOnly, subfolders);
    sortEntries(listed);
    for (const RawEntry &e : listed)
        out.append({prefix + e.shown, childPath(folder, e.name)});
    if (!recursive)
        return;
    sortEntries(subfolders);
    for (const RawEntry &sub : subfolders)
        scanInto(out, childPath(folder, sub.name), prefix + sub.shown + QLatin1Char('/'), videoOnly, true,
                 seen);
}

} // namespace

QList<ListedFile> scanFolder(const QString &folder, bool videoOnly, bool recursive) {
    if (folder.isEmpty())
        return {};
    const QString absolute = QDir(folder).absolutePath();
    QByteArray root = findNativePath(absolute);
    if (root.isEmpty())
        root = QFile::encodeName(absolute);
    return scanNativeFolder(root, videoOnly, recursive);
}

QList<ListedFile> scanNativeFolder(QByteArray root, bool videoOnly, bool recursive) {
    QList<ListedFile> out;
    while (root.size() > 1 && root.endsWith('/'))
        root.chop(1);
    // A folder whose names can be read but whose files cannot be reached would list nothing: say why.
    if (::access(root.constData(), X_OK) != 0 && !folderNames(root).isEmpty()) {
        const int err = errno;
        throw Error(msg::intakeCannotEnterFolder(pathText(root), QString::fromLocal8Bit(std::strerror(err))));
    }
    QSet<QPair<quint64, quint64>> seen;
    scanInto(out, root, QString(), videoOnly, recursive, seen);
    return out;
}

QByteArray findNativePath(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QByteArray direct = QFile::encodeName(absolute);
    struct stat st {};
    if (::lstat(direct.constData(), &st) == 0)
        return direct;
    const QFileInfo info(absolute);
    if (info.fileName().isEmpty())
        return {};
    const QByteArray folder = findNativePath(info.path());
    if (folder.isEmpty() || folder == direct)
        return {};
    // The text as this program shows the name, or as Qt decodes it (replacement marks, which may
    // stand for several names): only a name that is the one such is taken.
    const QSet<QByteArray> names = folderNames(folder);
    const auto taken = [&](const QByteArray &name) { return names.contains(name); };
    QByteArray found;
    for (const QByteArray &name : names) {
        if (fileNameTextAmong(name, taken) != info.fileName() && QString::fromUtf8(name) != info.fileName())
            continue;
        if (!found.isEmpty())
            return {};
        found = childPath(folder, name);
    }
    return found;
}

QStringList See(const QString &folder, bool videoOnly) {
    QStringList names;
    for (const ListedFile &f : scanFolder(folder, videoOnly))
        names << f.shown;
    return names;
}

} // namespace vq
