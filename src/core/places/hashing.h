#pragma once

#include "places/locations.h"

#include <QHash>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// Each stored file's CRC32 and ed2k, read once per state of the file: a queue with one reader per
// physical device, the release names' own checksums, duplicate files and the copies of an episode.
namespace vq::places {

// The ed2k part: files are hashed in parts of 9,728,000 bytes.
constexpr qint64 kEd2kPart = 9728000;

struct Digest {
    bool ok = false;
    bool cancelled = false;
    QString error; // why the file could not be read
    quint32 crc32 = 0;
    QByteArray ed2k;              // 16 bytes
    qint64 size = 0, mtimeNs = 0; // the state of the file the digest belongs to
};
// CRC32 and ed2k in one read of the file. `cancel` is polled between blocks; `read` counts bytes.
Digest digestFile(const QByteArray &path, const std::atomic<bool> *cancel = nullptr,
                  std::atomic<qint64> *read = nullptr);

QString crcHex(quint32 crc);         // "8DE44442"
QString ed2kHex(const QByteArray &); // upper-case hex, empty for none

// The CRC32 a release name carries: its last bracketed group of exactly 8 hex digits.
std::optional<quint32> nameChecksum(const QByteArray &fileName);

// The physical device a mount reads from ("block:sda", a network share's source, a memory file
// system's mount point): one device is read by one reader at a time.
QString deviceOf(const MountedVolume &m);

struct HashJob {
    qint64 locationId = 0;
    QByteArray path; // absolute, where it is mounted now
    qint64 size = 0;
    QString device;
    bool recheck = false; // compared with the stored digest, which stays
};

struct HashPlan {
    std::vector<HashJob> jobs;
    qint64 bytes = 0;
    qint64 offline = 0; // files that wait for their drive
};
// The locations without a digest of their stored state (every location with `all`), of one volume
// or of all (0), on drives that are plugged in.
HashPlan planHashes(Catalog &catalog, const Mounts &mounts, qint64 volumeId, bool all);

struct HashResult {
    HashJob job;
    Digest digest;
};

enum class Stored { New, Same, Changed, Failed };
// Writes one file's digest in its own transaction, so that a kill loses at most the file being read.
// A recheck that reads other bytes than the stored digest marks the file changed and keeps the old
// digest: it is what the file was.
Stored storeDigest(Catalog &catalog, const HashResult &result);

// Reads files with one thread per device; devices in parallel.
class HashRunner {
public:
    using Done = std::function<void(HashResult)>; // called on a reader's thread
    explicit HashRunner(Done done);
    ~HashRunner(); // cancels and waits
    HashRunner(const HashRunner &) = delete;
    HashRunner &operator=(const HashRunner &) = delete;
    void add(std::vector<HashJob> jobs);
    void cancel();
    void wait();
    qint64 bytesRead() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

struct HashReport {
    qint64 files = 0, bytes = 0; // planned
    qint64 hashed = 0, same = 0, changed = 0, failed = 0, offline = 0;
    std::vector<std::pair<QByteArray, QString>> failures; // path, why
    bool cancelled = false;
};
// Called after each file with the files and bytes done and planned; false cancels.
using HashProgress = std::function<bool(qint64 files, qint64 ofFiles, qint64 bytes, qint64 ofBytes)>;
// The queue in the foreground: reads on threads, writes each digest here as it comes.
HashReport hashFiles(Catalog &catalog, const Mounts &mounts, qint64 volumeId, bool all,
                     const HashProgress &progress = {});

struct VerifyEntry {
    LocationRow row;
    QString nameCrc;      // the checksum the name carries
    bool changed = false; // read again, the bytes differ from the stored digest
};
struct VerifyReport {
    qint64 withChecksum = 0, match = 0, mismatch = 0, changed = 0;
    qint64 pending = 0;             // named with a checksum, not hashed yet
    std::vector<VerifyEntry> files; // the mismatched and the changed
};
// The names' checksums against the stored digests, of one volume or of all (0).
VerifyReport verifyNames(Catalog &catalog, const Mounts &mounts, qint64 volumeId);

struct DuplicateGroup {
    qint64 size = 0;
    QByteArray ed2k;
    quint32 crc32 = 0;
    bool acrossTitles = false; // else copies of one title
    std::vector<LocationRow> locations;
};
// Files with the same size and ed2k in two or more locations, from the index of digests.
std::vector<DuplicateGroup> duplicateGroups(Catalog &catalog, const Mounts &mounts);
// The number of locations holding each of the title's episodes: its own and same-digest files.
QHash<qint64, int> episodeCopies(Catalog &catalog, qint64 titleId);
int episodeCopyCount(Catalog &catalog, qint64 episodeId);
// Titles with an episode stored twice (two locations, or a file another location holds too);
// titles with an episode whose locations are all on one drive. Ascending keys.
std::vector<qint64> titlesWithDuplicates(Catalog &catalog);
std::vector<qint64> titlesWithSingleCopy(Catalog &catalog);

} // namespace vq::places
