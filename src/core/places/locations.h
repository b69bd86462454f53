#pragma once

#include "places/mounts.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

namespace vq {
class Catalog;
}

// Where each episode's file is: the volumes files were added from and the episodes' locations on
// them. A volume that is not mounted now is offline, and its files stay as they were stored.
namespace vq::places {

enum class State { Present, Missing, Changed, Moved, Offline, Unknown };
// "present", "missing", "changed", "moved", "offline", "unknown": the words the tool writes and
// the file keeps (offline and unknown are never stored: they follow from the volume and its absence).
QString stateWord(State s);
State stateFromWord(const QString &w);

// A file's metadata as the file system gives it now; ok is false when it is not there.
struct FileStat {
    bool ok = false;
    bool regular = false;
    quint64 device = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
};
FileStat statFile(const QByteArray &absPath);

qint64 nowMs();

// The volume's row for a mounted file system, made the first time a file of it is stored; its
// mount point, label, size and last seen time follow the mount.
qint64 volumeFor(Catalog &catalog, const MountedVolume &m);

// Stores where the file of `episodeId` is (inside the caller's transaction); false, with nothing
// written, when the file cannot be found now or is on no known mount.
bool storeLocation(Catalog &catalog, qint64 episodeId, const QByteArray &absPath, const Mounts &mounts);

struct VolumeRow {
    qint64 id = 0;
    QString ident, uuid, label, name, fsType;
    IdentKind kind = IdentKind::Uuid;
    QByteArray mountPoint; // where it is mounted now, else where it was last
    bool online = false;
    qint64 files = 0, bytes = 0, lastSeen = 0, lastCheck = 0;
    // What the user calls it: the given name, else the label, else the mount point.
    QString shownName() const;
};
// Every volume, online ones with their mount of now.
// Without `counts`, files and bytes stay 0 (they read each volume's part of the locations).
std::vector<VolumeRow> volumes(Catalog &catalog, const Mounts &mounts, bool counts = true);
std::optional<VolumeRow> volume(Catalog &catalog, qint64 id, const Mounts &mounts);

struct LocationRow {
    qint64 id = 0; // 0: the episode has no location (State::Unknown)
    qint64 episodeId = 0, volumeId = 0;
    QString episodeName;
    QByteArray path;         // below the volume's root
    QByteArray absolutePath; // where it is now; empty when offline or unknown
    QString volumeName;
    qint64 size = 0, mtimeNs = 0;
    State state = State::Unknown;
    QString crc32, ed2k; // upper-case hex of the file's stored state; empty until it is hashed
};
// Every location of the title's episodes in the episodes' stored order, and one row for each
// episode without any.
std::vector<LocationRow> titleLocations(Catalog &catalog, qint64 titleId, const Mounts &mounts);
std::vector<LocationRow> episodeLocations(Catalog &catalog, qint64 episodeId, const Mounts &mounts);
// One location by its key (none when it is gone).
std::vector<LocationRow> locationRow(Catalog &catalog, qint64 locationId, const Mounts &mounts);

// The file to open for an episode: a copy on a drive that is plugged in, if there is one; else
// `error` says why there is none (the drive is not connected, the file is not there, unknown).
struct OpenTarget {
    QByteArray path;
    QString error;
};
OpenTarget fileToOpen(Catalog &catalog, qint64 episodeId, const Mounts &mounts);
// The line the title page shows for an episode's file: drive, online or not, folder, state.
QString placeText(const std::vector<LocationRow> &rows);

// The user's name of a volume; empty to go back to its label.
void renameVolume(Catalog &catalog, qint64 id, const QString &name);
// Forgets a volume: its files' locations go (their episodes stay, place unknown).
void forgetVolume(Catalog &catalog, qint64 id);
// The number of locations of a volume the last check did not find.
qint64 missingCount(Catalog &catalog, qint64 volumeId);
// Removes the missing locations of a volume (0: of every volume), and the episodes left with no
// location that had one missing; the number of episodes removed.
qint64 removeMissing(Catalog &catalog, qint64 volumeId);

} // namespace vq::places
