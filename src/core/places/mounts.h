#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The file systems mounted now, each with the identity a catalog knows its volume by.
namespace vq::places {

// How a volume is known again, wherever it is mounted.
enum class IdentKind {
    Uuid,   // the file system's UUID
    Source, // a network share: its server and share
    Label,  // no UUID: label and size
    Mount,  // a file system of memory or of layers (tmpfs, overlay): where it is mounted
};

struct MountedVolume {
    QString ident; // "uuid:…", "source:…", "label:…:<bytes>", "mount:<type>:<mount point>"
    IdentKind kind = IdentKind::Uuid;
    QString uuid, label, fsType, source;
    qint64 bytes = 0;
    QByteArray mountPoint; // as the file system has it
    QByteArray root;       // the folder of the file system mounted there ("/" unless a bind mount)
    quint64 device = 0;    // st_dev of its files
};

// One line of /proc/self/mountinfo, unescaped; nullopt for a line that is not one.
struct MountLine {
    quint64 device = 0;
    QByteArray root, mountPoint, fsType, source;
};
std::optional<MountLine> parseMountLine(const QByteArray &line);

// Whether the file system type is a network share's.
bool isNetworkFs(const QByteArray &fsType);
// Whether files of this type are worth a volume at all (not proc, sysfs, cgroup and the like).
bool holdsFiles(const QByteArray &fsType);

// The identity of a file system from what is known of it. The UUID and label come from libblkid's
// cache or /dev/disk/by-uuid for a user who cannot read the device, from the device itself otherwise.
QString identOf(IdentKind kind, const QString &uuid, const QString &label, qint64 bytes,
                const QByteArray &fsType, const QString &source, const QByteArray &mountPoint);

class Mounts {
public:
    // The mounts of this process now (read from /proc/self/mountinfo, identified once per device).
    static Mounts current();
    // current() without asking the devices again while the mount table stays as it was: for many
    // files stored one after another.
    static Mounts recent();
    static Mounts fromTable(const QByteArray &mountinfo);
    // Forget what was read of the devices and the last mounts, so that the next look reads anew.
    static void forget();

    const std::vector<MountedVolume> &volumes() const { return m_volumes; }
    // The mount a file is on, by its device and path: the mount whose point is the longest prefix
    // of `absPath` among those of `device`.
    const MountedVolume *mountOf(const QByteArray &absPath, quint64 device) const;
    // The mount of a volume identity, when it is mounted now.
    const MountedVolume *find(const QString &ident) const;
    // The path of a file by the volume's own path (below the file system's root) where it is mounted
    // now; empty when the mount does not reach it (a bind mount of another folder).
    static QByteArray absolutePath(const MountedVolume &m, const QByteArray &volumePath);
    // The path below the file system's root of a file at `absPath` on mount `m`.
    static QByteArray volumePath(const MountedVolume &m, const QByteArray &absPath);

    std::vector<MountedVolume> m_volumes;
};

} // namespace vq::places
