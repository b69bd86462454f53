#include "partfile.h"

#include "error.h"
#include "messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vq::partfile {

namespace {

// One byte far from those SQLite locks (from 1 GiB on), so that the two never meet. An open file
// description's lock goes with the last descriptor of the process that took it, and with nothing else.
constexpr off_t kLockByte = 0x60000000;
const char *const kJournals[] = {"-journal", "-wal", "-shm"};
// Tokens are random, 8 hex digits (older conversions) or 13 base-36 ones: shorter is somebody else's.
constexpr qsizetype kLeastToken = 8;

std::mutex s_mutex;
QHash<QString, int> &heldParts() {
    static QHash<QString, int> parts;
    return parts;
}

struct flock lockOf(short type) {
    struct flock l {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = kLockByte;
    l.l_len = 1;
    return l;
}

bool lockPart(int fd) {
    struct flock l = lockOf(F_WRLCK);
    return ::fcntl(fd, F_OFD_SETLK, &l) == 0;
}

// A part is held while some process keeps its lock; one that cannot be asked counts as held.
bool isHeld(const QByteArray &path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;
    bool held = true;
    struct stat st {};
    struct flock l = lockOf(F_WRLCK);
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::fcntl(fd, F_OFD_GETLK, &l) == 0)
        held = l.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

QByteArray journalOf(const QByteArray &name) {
    for (const char *j : kJournals)
        if (name.endsWith(j))
            return j;
    return {};
}

bool isRegularFile(const QByteArray &path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

bool isPartName(const QByteArray &name) {
    QByteArray base = name;
    base.chop(journalOf(name).size());
    if (!base.startsWith('.') || !base.endsWith(".part"))
        return false;
    base.chop(5);
    const qsizetype dot = base.lastIndexOf('.');
    if (dot < 2 || base.size() - dot - 1 < kLeastToken)
        return false; // ".NAME.TOKEN": a name and a random token
    for (qsizetype i = dot + 1; i < base.size(); ++i) {
        const char c = base.at(i);
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

void removeStale(const QByteArray &folder) {
    std::vector<QByteArray> names;
    if (DIR *dir = ::opendir(folder.constData())) {
        while (const dirent *d = ::readdir(dir)) {
            const QByteArray name(d->d_name);
            if (isPartName(name))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    for (const QByteArray &name : names) {
        const QByteArray path = prefix + name;
        const QByteArray journal = journalOf(name);
        if (!journal.isEmpty()) {
            // A journal outlives its part only when its maker died between the two removals.
            struct stat st {};
            const QByteArray base = path.left(path.size() - journal.size());
            if (::lstat(base.constData(), &st) != 0 && errno == ENOENT && isRegularFile(path))
                ::unlink(path.constData());
            continue;
        }
        if (!isRegularFile(path) || isHeld(path))
            continue;
        ::unlink(path.constData());
        for (const char *j : kJournals)
            if (isRegularFile(path + j))
                ::unlink((path + j).constData());
    }
}

QString make(const QString &finalPath) {
    const QFileInfo fi(finalPath);
    const QString folder = fi.absolutePath();
    const QByteArray nativeFolder = QFile::encodeName(folder);
    removeStale(nativeFolder);
    auto candidate = [&] {
        return QDir(folder).filePath(
            QStringLiteral(".%1.%2.part")
                .arg(fi.fileName())
                .arg(QString::number(QRandomGenerator::global()->generate64(), 36), 13, QLatin1Char('0')));
    };
    QString part;
    int err = 0;
    // Made without a name, locked, then named: no other process ever sees it unlocked.
    int fd = ::open(nativeFolder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
    if (fd >= 0) {
        lockPart(fd);
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 8 && part.isEmpty(); ++attempt) {
            const QString name = candidate();
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, QFile::encodeName(name).constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                part = name;
            else if (errno != EEXIST)
                break;
        }
        if (part.isEmpty()) {
            ::close(fd);
            fd = -1;
        }
    }
    // Where the file system has no unnamed files (or /proc is missing): named, then locked at once.
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        const QString name = candidate();
        fd = ::open(QFile::encodeName(name).constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0644);
        if (fd >= 0) {
            lockPart(fd);
            part = name;
        } else if ((err = errno) != EEXIST) {
            break;
        }
    }
    if (fd < 0)
        throw Error(msg::catalogCannotBeMade(finalPath, systemReason(err ? err : EEXIST)));
    std::lock_guard guard(s_mutex);
    heldParts().insert(part, fd);
    return part;
}

void release(const QString &part) {
    std::lock_guard guard(s_mutex);
    const auto it = heldParts().find(part);
    if (it == heldParts().end())
        return;
    ::close(it.value());
    heldParts().erase(it);
}

bool heldHere(const QString &part) {
    std::lock_guard guard(s_mutex);
    return heldParts().contains(part);
}

} // namespace vq::partfile
