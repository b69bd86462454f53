#pragma once

#include "places/locations.h"

#include <atomic>
#include <functional>

// The check of stored files: each location's metadata read again (never the file's contents), a
// missing file looked for by name and size, nothing ever deleted.
namespace vq::places {

struct CheckItem {
    qint64 locationId = 0, episodeId = 0;
    QByteArray path; // below the volume's root
    qint64 size = 0, mtimeNs = 0;
    State stored = State::Present;
};

struct CheckVolume {
    qint64 id = 0;
    QString name;
    qint64 lastCheck = 0;
    std::optional<MountedVolume> mount; // none: offline
    std::vector<CheckItem> items;       // by path
};

struct CheckPlan {
    std::vector<CheckVolume> volumes;
    qint64 files() const;
};

// What was found of one item: its state now, and for a moved file where it is now.
struct CheckFinding {
    State state = State::Present;
    QByteArray newPath;
    qint64 size = 0, mtimeNs = 0;
};

struct CheckOutcome {
    std::vector<std::vector<CheckFinding>> found; // per volume, per item
    bool cancelled = false;
};

struct CheckReport {
    qint64 present = 0, changed = 0, missing = 0, moved = 0, offline = 0;
    std::vector<LocationRow> files; // the entries that are not present
    bool cancelled = false;
    bool written = false; // false for a catalog that cannot be written: reported only
};

// Called now and then with the files done and the total; false cancels.
using CheckProgress = std::function<bool(qint64 done, qint64 total)>;

// The locations to check: of one volume, or of every volume (0).
CheckPlan planCheck(Catalog &catalog, const Mounts &mounts, qint64 volumeId);
// The file system part, with no catalog: it may run on another thread. `deep` looks for a missing
// file in the whole volume, not only in the folders that hold catalogued files.
CheckOutcome runCheck(const CheckPlan &plan, bool deep, const CheckProgress &progress = {});
// Writes what was found (states, relinked paths, the volumes' last check) in one transaction and
// says what it was; a cancelled outcome writes nothing.
CheckReport applyCheck(Catalog &catalog, const CheckPlan &plan, const CheckOutcome &outcome);

CheckReport checkFiles(Catalog &catalog, const Mounts &mounts, qint64 volumeId, bool deep,
                       const CheckProgress &progress = {});

} // namespace vq::places
