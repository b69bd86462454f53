#include "mounts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <blkid/blkid.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vq::places {

namespace {

// mountinfo writes a space, tab, newline and backslash of a path as \ooo.
QByteArray unescape(const QByteArray &s) {
    QByteArray out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3') {
            bool ok = false;
            const int v = s.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

struct DeviceNames {
    QString uuid, label;
};

bool hasDevice(const QByteArray &source) {
    return source.startsWith("/dev/");
}

QMutex g_lock;
blkid_cache g_cache = nullptr;

QString blkidTag(blkid_cache cache, const char *tag, const QByteArray &dev) {
    char *v = blkid_get_tag_value(cache, tag, dev.constData());
    const QString out = v ? QString::fromUtf8(v) : QString();
    free(v);
    return out;
}

// A link of /dev/disk/by-uuid or by-label that leads to `dev`: what a user who cannot read the
// device still sees.
QString linkTo(const char *folder, const QByteArray &dev) {
    const QString target = QFileInfo(QFile::decodeName(dev)).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir d(QString::fromLatin1(folder));
    for (const QFileInfo &f : d.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (f.canonicalFilePath() == target)
            return f.fileName().replace(QLatin1String("\\x20"), QLatin1String(" "));
    return {};
}

// Asked anew at every look: the same device node may hold another disk now.
DeviceNames namesOf(const QByteArray &source, quint64 devno) {
    QByteArray dev = source;
    if (!hasDevice(dev)) {
        char *name = blkid_devno_to_devname(dev_t(devno));
        dev = name ? QByteArray(name) : QByteArray();
        free(name);
    }
    if (dev.isEmpty())
        return {};
    DeviceNames n;
    // The device itself where it can be read (root, a container): always what it holds now. Its
    // buffers are dropped first: a loop device attached anew may still hold its last file's blocks.
    if (const int fd = ::open(dev.constData(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        ::ioctl(fd, BLKFLSBUF, 0);
        ::close(fd);
    }
    if (blkid_probe pr = blkid_new_probe_from_filename(dev.constData())) {
        blkid_probe_enable_superblocks(pr, 1);
        blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL);
        if (blkid_do_safeprobe(pr) == 0) {
            const char *v = nullptr;
            if (blkid_probe_lookup_value(pr, "UUID", &v, nullptr) == 0 && v)
                n.uuid = QString::fromUtf8(v);
            if (blkid_probe_lookup_value(pr, "LABEL", &v, nullptr) == 0 && v)
                n.label = QString::fromUtf8(v);
        }
        blkid_free_probe(pr);
        if (!n.uuid.isEmpty())
            return n;
    }
    // A user who cannot read it: what udev linked, else what libblkid's cache last saw.
    n.uuid = linkTo("/dev/disk/by-uuid", dev);
    n.label = linkTo("/dev/disk/by-label", dev);
    if (n.uuid.isEmpty()) {
        QMutexLocker locked(&g_lock);
        if (g_cache || blkid_get_cache(&g_cache, nullptr) == 0) {
            n.uuid = blkidTag(g_cache, "UUID", dev);
            if (n.label.isEmpty())
                n.label = blkidTag(g_cache, "LABEL", dev);
        }
    }
    return n;
}

qint64 sizeOf(const QByteArray &mountPoint) {
    struct statvfs s {};
    if (statvfs(mountPoint.constData(), &s) != 0)
        return 0;
    return qint64(s.f_blocks) * qint64(s.f_frsize);
}

} // namespace

std::optional<MountLine> parseMountLine(const QByteArray &line) {
    const QList<QByteArray> f = line.trimmed().split(' ');
    const qsizetype dash = f.indexOf("-");
    if (f.size() < 7 || dash < 6 || dash + 2 >= f.size())
        return std::nullopt;
    const QList<QByteArray> mm = f[2].split(':');
    if (mm.size() != 2)
        return std::nullopt;
    bool okMajor = false, okMinor = false;
    const unsigned major = mm[0].toUInt(&okMajor), minor = mm[1].toUInt(&okMinor);
    if (!okMajor || !okMinor)
        return std::nullopt;
    return MountLine{quint64(makedev(major, minor)), unescape(f[3]), unescape(f[4]), unescape(f[dash + 1]),
                     unescape(f[dash + 2])};
}

bool isNetworkFs(const QByteArray &t) {
    static const QByteArray kinds[] = {"cifs",       "smb3",        "smbfs", "nfs", "nfs4",
                                       "fuse.sshfs", "sshfs",       "9p",    "afs", "ceph",
                                       "glusterfs",  "fuse.rclone", "davfs"};
    for (const QByteArray &k : kinds)
        if (t == k)
            return true;
    return false;
}

bool holdsFiles(const QByteArray &t) {
    static const QByteArray none[] = {
        "proc",    "sysfs",    "devtmpfs", "devpts",     "cgroup",    "cgroup2",  "securityfs", "debugfs",
        "tracefs", "pstore",   "bpf",      "mqueue",     "hugetlbfs", "configfs", "fusectl",    "binfmt_misc",
        "autofs",  "efivarfs", "nsfs",     "rpc_pipefs", "selinuxfs", "squashfs"};
    for (const QByteArray &k : none)
        if (t == k)
            return false;
    return true;
}

QString identOf(IdentKind kind, const QString &uuid, const QString &label, qint64 bytes,
                const QByteArray &fsType, const QString &source, const QByteArray &mountPoint) {
    switch (kind) {
    case IdentKind::Uuid:
        return QStringLiteral("uuid:") + uuid.toLower();
    case IdentKind::Source:
        return QStringLiteral("source:") + source;
    case IdentKind::Label:
        return QStringLiteral("label:%1:%2").arg(label).arg(bytes);
    case IdentKind::Mount:
        break;
    }
    return QStringLiteral("mount:%1:%2").arg(QString::fromUtf8(fsType), QFile::decodeName(mountPoint));
}

namespace {
QByteArray mountTable() {
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    // A file of the kernel's: its size is not known before it is read.
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

Mounts Mounts::current() {
    return fromTable(mountTable());
}

Mounts Mounts::fromTable(const QByteArray &table) {
    Mounts out;
    QList<QByteArray> lines = table.split('\n');
    // Under chroot the root's own mount lies outside this process's root and is not listed; the
    // file system of "/" is then taken as mounted there.
    bool rootListed = false;
    for (const QByteArray &line : std::as_const(lines))
        if (const auto m = parseMountLine(line); m && m->mountPoint == "/")
            rootListed = true;
    struct stat rs {};
    if (!rootListed && ::stat("/", &rs) == 0) {
        QByteArray source;
        if (char *name = major(rs.st_dev) != 0 ? blkid_devno_to_devname(rs.st_dev) : nullptr) {
            source = name;
            free(name);
        }
        lines << QByteArray::number(0) + " 0 " + QByteArray::number(major(rs.st_dev)) + ':' +
                     QByteArray::number(minor(rs.st_dev)) + " / / rw - unknown " +
                     (source.isEmpty() ? QByteArray("none") : source) + " rw";
    }
    for (const QByteArray &line : std::as_const(lines)) {
        const auto m = parseMountLine(line);
        if (!m || !holdsFiles(m->fsType))
            continue;
        MountedVolume v;
        v.fsType = QString::fromUtf8(m->fsType);
        v.source = QString::fromUtf8(m->source);
        v.mountPoint = m->mountPoint;
        v.root = m->root;
        v.device = m->device;
        v.bytes = sizeOf(m->mountPoint);
        if (isNetworkFs(m->fsType)) {
            v.kind = IdentKind::Source;
        } else if (hasDevice(m->source) || major(m->device) != 0) {
            const DeviceNames n = namesOf(m->source, m->device);
            v.uuid = n.uuid;
            v.label = n.label;
            v.kind = !v.uuid.isEmpty() ? IdentKind::Uuid : IdentKind::Label;
        } else {
            v.kind = IdentKind::Mount;
        }
        v.ident = identOf(v.kind, v.uuid, v.label, v.bytes, m->fsType, v.source, v.mountPoint);
        out.m_volumes.push_back(std::move(v));
    }
    return out;
}

namespace {
Mounts g_recent;
QByteArray g_recentTable;
bool g_recentKnown = false;
} // namespace

Mounts Mounts::recent() {
    // The table is read each time (it is small); the devices are asked again only when it changed,
    // so a drive mounted a moment ago is never missed.
    const QByteArray table = mountTable();
    {
        QMutexLocker locked(&g_lock);
        if (g_recentKnown && table == g_recentTable)
            return g_recent;
    }
    Mounts m = fromTable(table);
    QMutexLocker locked(&g_lock);
    g_recent = m;
    g_recentTable = table;
    g_recentKnown = true;
    return m;
}

void Mounts::forget() {
    QMutexLocker locked(&g_lock);
    if (g_cache)
        blkid_put_cache(g_cache);
    g_cache = nullptr;
    g_recentKnown = false;
}

namespace {
bool below(const QByteArray &path, const QByteArray &folder) {
    if (folder == "/")
        return path.startsWith('/');
    return path == folder ||
           (path.startsWith(folder) && path.size() > folder.size() && path[folder.size()] == '/');
}
} // namespace

const MountedVolume *Mounts::mountOf(const QByteArray &absPath, quint64 device) const {
    const MountedVolume *best = nullptr;
    for (const MountedVolume &v : m_volumes)
        if (v.device == device && below(absPath, v.mountPoint) &&
            (!best || v.mountPoint.size() >= best->mountPoint.size()))
            best = &v;
    return best;
}

const MountedVolume *Mounts::find(const QString &ident) const {
    const MountedVolume *best = nullptr;
    // The whole file system rather than a bind mount of one of its folders.
    for (const MountedVolume &v : m_volumes)
        if (v.ident == ident && (!best || (v.root == "/" && best->root != "/")))
            best = &v;
    return best;
}

QByteArray Mounts::absolutePath(const MountedVolume &m, const QByteArray &volumePath) {
    QByteArray rel = volumePath;
    if (m.root != "/") {
        const QByteArray root = m.root.mid(1) + '/';
        if (!rel.startsWith(root))
            return {};
        rel = rel.mid(root.size());
    }
    return m.mountPoint == "/" ? '/' + rel : m.mountPoint + '/' + rel;
}

QByteArray Mounts::volumePath(const MountedVolume &m, const QByteArray &absPath) {
    QByteArray rel = m.mountPoint == "/" ? absPath.mid(1) : absPath.mid(m.mountPoint.size() + 1);
    if (m.root != "/")
        rel = m.root.mid(1) + '/' + rel;
    return rel;
}

} // namespace vq::places
