#include "hashing.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <rhash.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vq::places {

namespace {

constexpr size_t kBlock = 1 << 20;

qint64 mtimeOf(const struct stat &s) {
    return qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec;
}

QByteArray blobOf(sqlite3_stmt *st, int col) {
    return QByteArray(static_cast<const char *>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
}

// The whole disk under a block device (its partition's parent), or the disks under a mapped
// device (LVM, encryption) joined: the readers of two of its volumes would share one head.
QString diskOf(const QByteArray &sysPath, int depth = 0) {
    char *real = ::realpath(sysPath.constData(), nullptr);
    if (!real)
        return {};
    QString dir = QFile::decodeName(real);
    free(real);
    if (QFileInfo::exists(dir + QStringLiteral("/partition")))
        dir = QFileInfo(dir).path();
    const QStringList slaves =
        QDir(dir + QStringLiteral("/slaves")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (!slaves.isEmpty() && depth < 8) {
        QStringList disks;
        for (const QString &s : slaves)
            if (const QString d = diskOf(QFile::encodeName(dir + QStringLiteral("/slaves/") + s), depth + 1);
                !d.isEmpty() && !disks.contains(d))
                disks << d;
        disks.sort();
        return disks.join(QLatin1Char('+'));
    }
    return QFileInfo(dir).fileName();
}

} // namespace

Digest digestFile(const QByteArray &path, const std::atomic<bool> *cancel, std::atomic<qint64> *read) {
    static std::once_flag init;
    std::call_once(init, rhash_library_init);
    Digest d;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        d.error = QString::fromLocal8Bit(std::strerror(errno));
        return d;
    }
    struct stat before {};
    ::fstat(fd, &before);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    rhash ctx = rhash_init(RHASH_CRC32 | RHASH_ED2K);
    std::unique_ptr<char[]> buffer(new char[kBlock]);
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            d.cancelled = true;
            break;
        }
        const ssize_t n = ::read(fd, buffer.get(), kBlock);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            d.error = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        if (n == 0) {
            d.ok = true;
            break;
        }
        rhash_update(ctx, buffer.get(), size_t(n));
        d.size += n;
        if (read)
            read->fetch_add(n, std::memory_order_relaxed);
    }
    struct stat after {};
    ::fstat(fd, &after);
    ::close(fd);
    if (d.ok &&
        (after.st_size != before.st_size || mtimeOf(after) != mtimeOf(before) || d.size != after.st_size)) {
        // Written to while it was read: the digest is of no state of the file.
        d.ok = false;
        d.error = msg::fileChangedWhileRead();
    }
    if (d.ok) {
        rhash_final(ctx, nullptr);
        unsigned char raw[16];
        rhash_print(reinterpret_cast<char *>(raw), ctx, RHASH_CRC32, RHPR_RAW);
        d.crc32 = quint32(raw[0]) << 24 | quint32(raw[1]) << 16 | quint32(raw[2]) << 8 | raw[3];
        rhash_print(reinterpret_cast<char *>(raw), ctx, RHASH_ED2K, RHPR_RAW);
        d.ed2k = QByteArray(reinterpret_cast<const char *>(raw), 16);
        d.mtimeNs = mtimeOf(after);
    }
    rhash_free(ctx);
    return d;
}

QString crcHex(quint32 crc) {
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

QString ed2kHex(const QByteArray &ed2k) {
    return QString::fromLatin1(ed2k.toHex()).toUpper();
}

std::optional<quint32> nameChecksum(const QByteArray &fileName) {
    static const QRegularExpression group(QStringLiteral("\\[([0-9A-Fa-f]{8})\\]"));
    const QString name = QFile::decodeName(fileName);
    std::optional<quint32> last;
    for (auto it = group.globalMatch(name); it.hasNext();)
        last = it.next().captured(1).toUInt(nullptr, 16);
    return last;
}

QString deviceOf(const MountedVolume &m) {
    dev_t dev = 0;
    struct stat s {};
    if (m.source.startsWith(QLatin1Char('/')) && ::stat(QFile::encodeName(m.source).constData(), &s) == 0 &&
        S_ISBLK(s.st_mode))
        dev = s.st_rdev;
    else if (major(dev_t(m.device)) != 0)
        dev = dev_t(m.device);
    if (dev != 0)
        if (const QString disk =
                diskOf(QStringLiteral("/sys/dev/block/%1:%2").arg(major(dev)).arg(minor(dev)).toLatin1());
            !disk.isEmpty())
            return QStringLiteral("block:") + disk;
    if (isNetworkFs(m.fsType.toLatin1()))
        return QStringLiteral("share:") + m.source.section(QLatin1Char('/'), 0, 2);
    return QStringLiteral("mount:") + QFile::decodeName(m.mountPoint);
}

HashPlan planHashes(Catalog &catalog, const Mounts &mounts, qint64 volumeId, bool all) {
    HashPlan plan;
    Catalog::ReadSnapshot snapshot(catalog);
    for (const VolumeRow &v : volumes(catalog, mounts, false)) {
        if (volumeId != 0 && v.id != volumeId)
            continue;
        const MountedVolume *m = mounts.find(v.ident);
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT l.\"ID\", l.\"Path\", l.\"Size\", h.\"Size\", h.\"MTime\" FROM \"Location\" l LEFT JOIN "
            "\"Location_hash\" h ON "
            "h.\"Location\" = l.\"ID\" WHERE l.\"Volume\" = ?1 AND l.\"State\" <> 'missing' AND (?2 OR "
            "h.\"Location\" IS NULL OR h.\"Size\" IS NOT l.\"Size\" OR h.\"MTime\" IS NOT l.\"MTime\") "
            "ORDER BY l.\"Path\""));
        Statement::ResetAfter done{st};
        st.bind(1, v.id);
        st.bind(2, all);
        const QString device = m ? deviceOf(*m) : QString();
        while (st.step()) {
            sqlite3_stmt *h = st.handle();
            if (!m) {
                ++plan.offline;
                continue;
            }
            const QByteArray abs = Mounts::absolutePath(*m, blobOf(h, 1));
            if (abs.isEmpty())
                continue;
            if (!all && sqlite3_column_type(h, 3) != SQLITE_NULL) {
                // A file changed since it was stored whose new state was read already: not again.
                const FileStat f = statFile(abs);
                if (f.ok && f.size == sqlite3_column_int64(h, 3) && f.mtimeNs == sqlite3_column_int64(h, 4))
                    continue;
            }
            HashJob j{sqlite3_column_int64(h, 0), abs, sqlite3_column_int64(h, 2), device, all};
            plan.bytes += j.size;
            plan.jobs.push_back(std::move(j));
        }
    }
    return plan;
}

Stored storeDigest(Catalog &catalog, const HashResult &r) {
    if (!r.digest.ok)
        return Stored::Failed;
    Catalog::Transaction t(catalog);
    Stored out = Stored::New;
    if (r.job.recheck) {
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT \"CRC32\", \"ED2K\" FROM \"Location_hash\" WHERE \"Location\" = ? AND \"Size\" = ? AND "
            "\"MTime\" = ?"));
        Statement::ResetAfter done{st};
        st.bind(1, r.job.locationId);
        st.bind(2, r.digest.size);
        st.bind(3, r.digest.mtimeNs);
        if (st.step())
            out = quint32(sqlite3_column_int64(st.handle(), 0)) == r.digest.crc32 &&
                          blobOf(st.handle(), 1) == r.digest.ed2k
                      ? Stored::Same
                      : Stored::Changed;
    }
    if (out == Stored::New) {
        Statement &st =
            catalog.statement(QStringLiteral("INSERT OR REPLACE INTO \"Location_hash\"(\"Location\", "
                                             "\"Size\", \"MTime\", \"CRC32\", \"ED2K\", "
                                             "\"Hashed\", \"Verified\", \"Changed\") SELECT ?1, ?2, ?3, ?4, "
                                             "?5, ?6, ?6, 0 WHERE EXISTS (SELECT 1 "
                                             "FROM \"Location\" WHERE \"ID\" = ?1)"));
        Statement::ResetAfter done{st};
        st.bind(1, r.job.locationId);
        st.bind(2, r.digest.size);
        st.bind(3, r.digest.mtimeNs);
        st.bind(4, qint64(r.digest.crc32));
        sqlite3_bind_blob(st.handle(), 5, r.digest.ed2k.constData(), int(r.digest.ed2k.size()),
                          SQLITE_TRANSIENT);
        st.bind(6, nowMs());
        st.step();
    } else {
        Statement &st = catalog.statement(QStringLiteral(
            "UPDATE \"Location_hash\" SET \"Verified\" = ?2, \"Changed\" = ?3 WHERE \"Location\" = ?1"));
        Statement::ResetAfter done{st};
        st.bind(1, r.job.locationId);
        st.bind(2, nowMs());
        st.bind(3, out == Stored::Changed);
        st.step();
    }
    t.commit();
    return out;
}

struct HashRunner::Impl {
    Done done;
    std::mutex mutex;
    std::map<QString, std::deque<HashJob>> queues; // by device
    std::map<QString, std::thread> readers;
    std::map<QString, bool> running;
    std::atomic<bool> cancelled{false};
    std::atomic<qint64> bytes{0};

    void read(const QString &device) {
        for (;;) {
            HashJob job;
            {
                std::lock_guard lock(mutex);
                auto &q = queues[device];
                if (q.empty() || cancelled) {
                    running[device] = false;
                    return;
                }
                job = std::move(q.front());
                q.pop_front();
            }
            Digest d = digestFile(job.path, &cancelled, &bytes);
            if (d.cancelled)
                continue; // the queue is emptied on the next turn
            done(HashResult{std::move(job), std::move(d)});
        }
    }
};

HashRunner::HashRunner(Done done) : d(std::make_unique<Impl>()) {
    d->done = std::move(done);
}

HashRunner::~HashRunner() {
    cancel();
    wait();
}

void HashRunner::add(std::vector<HashJob> jobs) {
    std::lock_guard lock(d->mutex);
    if (d->cancelled)
        return;
    for (HashJob &j : jobs)
        d->queues[j.device].push_back(std::move(j));
    for (auto &[device, q] : d->queues) {
        if (q.empty() || d->running[device])
            continue;
        if (auto it = d->readers.find(device); it != d->readers.end()) {
            it->second.join(); // finished: running is false
            d->readers.erase(it);
        }
        d->running[device] = true;
        d->readers.emplace(device, std::thread([this, dev = device] { d->read(dev); }));
    }
}

void HashRunner::cancel() {
    d->cancelled = true;
}

void HashRunner::wait() {
    std::map<QString, std::thread> readers;
    {
        std::lock_guard lock(d->mutex);
        readers.swap(d->readers);
    }
    for (auto &[device, t] : readers)
        t.join();
}

qint64 HashRunner::bytesRead() const {
    return d->bytes;
}

HashReport hashFiles(Catalog &catalog, const Mounts &mounts, qint64 volumeId, bool all,
                     const HashProgress &progress) {
    catalog.ensureWritable();
    HashPlan plan = planHashes(catalog, mounts, volumeId, all);
    HashReport report;
    report.files = qint64(plan.jobs.size());
    report.bytes = plan.bytes;
    report.offline = plan.offline;
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<HashResult> results;
    HashRunner runner([&](HashResult r) {
        std::lock_guard lock(mutex);
        results.push_back(std::move(r));
        ready.notify_one();
    });
    runner.add(std::move(plan.jobs));
    qint64 doneFiles = 0, doneBytes = 0;
    while (doneFiles < report.files) {
        std::unique_lock lock(mutex);
        if (!ready.wait_for(lock, std::chrono::milliseconds(200), [&] { return !results.empty(); })) {
            if (report.cancelled) // the readers have stopped: nothing more comes
                break;
            continue;
        }
        HashResult r = std::move(results.front());
        results.pop_front();
        lock.unlock();
        ++doneFiles;
        doneBytes += r.job.size;
        switch (storeDigest(catalog, r)) {
        case Stored::New:
            ++report.hashed;
            break;
        case Stored::Same:
            ++report.same;
            break;
        case Stored::Changed:
            ++report.changed;
            break;
        case Stored::Failed:
            ++report.failed;
            report.failures.emplace_back(r.job.path, r.digest.error);
            break;
        }
        if (progress && !report.cancelled && !progress(doneFiles, report.files, doneBytes, report.bytes)) {
            report.cancelled = true;
            runner.cancel();
        }
    }
    runner.cancel();
    runner.wait();
    // What was read before the cancel reached the readers is kept too.
    for (const HashResult &r : results)
        if (storeDigest(catalog, r) == Stored::New)
            ++report.hashed;
    catalog.notePlacesChanged();
    catalog.deliverChanges();
    return report;
}

namespace {

std::vector<LocationRow> rowsOf(Catalog &catalog, const std::vector<qint64> &locationIds,
                                const Mounts &mounts) {
    std::vector<LocationRow> out;
    for (qint64 id : locationIds)
        for (LocationRow &r : locationRow(catalog, id, mounts))
            out.push_back(std::move(r));
    return out;
}

std::vector<qint64> sortedUnique(std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

std::vector<qint64> column(Catalog &catalog, const QString &sql) {
    Statement &st = catalog.statement(sql);
    Statement::ResetAfter done{st};
    std::vector<qint64> out;
    while (st.step())
        out.push_back(sqlite3_column_int64(st.handle(), 0));
    return out;
}

// Only a digest of the location's stored state counts.
const char *const kCurrent = "h.\"Size\" = l.\"Size\" AND h.\"MTime\" = l.\"MTime\"";

// The groups of equal digests, read from the index of digests alone.
const char *const kGroups = "SELECT \"ED2K\", \"Size\" FROM \"Location_hash\" GROUP BY \"ED2K\", \"Size\" "
                            "HAVING count(*) > 1";

} // namespace

VerifyReport verifyNames(Catalog &catalog, const Mounts &mounts, qint64 volumeId) {
    VerifyReport out;
    std::vector<std::pair<qint64, VerifyEntry>> listed;
    {
        Catalog::ReadSnapshot snapshot(catalog);
        Statement &st = catalog.statement(
            QStringLiteral(
                "SELECT l.\"ID\", l.\"Path\", h.\"CRC32\", h.\"Changed\", (%1) FROM \"Location\" l "
                "LEFT JOIN \"Location_hash\" h ON h.\"Location\" = l.\"ID\" WHERE ?1 = 0 OR "
                "l.\"Volume\" = ?1 ORDER BY l.\"Volume\", l.\"Path\"")
                .arg(QLatin1String(kCurrent)));
        Statement::ResetAfter done{st};
        st.bind(1, volumeId);
        while (st.step()) {
            sqlite3_stmt *h = st.handle();
            const QByteArray path = blobOf(h, 1);
            const bool hashed = sqlite3_column_type(h, 2) != SQLITE_NULL && sqlite3_column_int(h, 4) == 1;
            const bool changed = hashed && sqlite3_column_int(h, 3) != 0;
            const std::optional<quint32> named = nameChecksum(path.mid(path.lastIndexOf('/') + 1));
            bool mismatch = false;
            if (named) {
                ++out.withChecksum;
                if (!hashed)
                    ++out.pending;
                else if (quint32(sqlite3_column_int64(h, 2)) == *named)
                    ++out.match;
                else
                    mismatch = true;
            }
            out.mismatch += mismatch;
            out.changed += changed;
            if (mismatch || changed)
                listed.push_back({sqlite3_column_int64(h, 0),
                                  VerifyEntry{{}, named ? crcHex(*named) : QString(), changed}});
        }
    }
    for (auto &[id, e] : listed)
        for (LocationRow &r : locationRow(catalog, id, mounts)) {
            e.row = std::move(r);
            out.files.push_back(std::move(e));
        }
    return out;
}

std::vector<DuplicateGroup> duplicateGroups(Catalog &catalog, const Mounts &mounts) {
    std::vector<DuplicateGroup> out;
    Catalog::ReadSnapshot snapshot(catalog);
    std::vector<std::pair<QByteArray, qint64>> keys;
    {
        Statement &st = catalog.statement(QString::fromLatin1(kGroups));
        Statement::ResetAfter done{st};
        while (st.step())
            keys.emplace_back(blobOf(st.handle(), 0), sqlite3_column_int64(st.handle(), 1));
    }
    Statement &st = catalog.statement(
        QStringLiteral(
            "SELECT h.\"Location\", h.\"CRC32\", e.\"Название\" FROM \"Location_hash\" h JOIN "
            "\"Location\" l ON l.\"ID\" = h.\"Location\" JOIN \"Серии\" e ON e.\"ID\" = l.\"Episode\" "
            "WHERE h.\"ED2K\" = ? AND h.\"Size\" = ? AND %1 ORDER BY h.\"Location\"")
            .arg(QLatin1String(kCurrent)));
    for (const auto &[ed2k, size] : keys) {
        DuplicateGroup g;
        g.size = size;
        g.ed2k = ed2k;
        std::vector<qint64> ids;
        QSet<qint64> titles;
        {
            Statement::ResetAfter done{st};
            sqlite3_bind_blob(st.handle(), 1, ed2k.constData(), int(ed2k.size()), SQLITE_TRANSIENT);
            st.bind(2, size);
            while (st.step()) {
                ids.push_back(sqlite3_column_int64(st.handle(), 0));
                g.crc32 = quint32(sqlite3_column_int64(st.handle(), 1));
                titles.insert(sqlite3_column_int64(st.handle(), 2));
            }
        }
        if (ids.size() < 2)
            continue; // a digest of a file that changed since
        g.acrossTitles = titles.size() > 1;
        g.locations = rowsOf(catalog, ids, mounts);
        out.push_back(std::move(g));
    }
    return out;
}

namespace {
QHash<qint64, int> copiesWhere(Catalog &catalog, const char *where, qint64 key) {
    Statement &st = catalog.statement(
        QStringLiteral("SELECT l.\"Episode\", count(DISTINCT coalesce(o.\"ID\", l.\"ID\")) FROM \"Серии\" e "
                       "JOIN \"Location\" l ON l.\"Episode\" = e.\"ID\" LEFT JOIN \"Location_hash\" h ON "
                       "h.\"Location\" = l.\"ID\" AND %1 LEFT JOIN \"Location_hash\" h2 ON h2.\"ED2K\" = "
                       "h.\"ED2K\" AND h2.\"Size\" = h.\"Size\" LEFT JOIN \"Location\" o ON o.\"ID\" = "
                       "h2.\"Location\" AND o.\"Size\" = h2.\"Size\" AND o.\"MTime\" = h2.\"MTime\" WHERE "
                       "%2 = ? GROUP BY l.\"Episode\"")
            .arg(QLatin1String(kCurrent), QString::fromUtf8(where)));
    Statement::ResetAfter done{st};
    st.bind(1, key);
    QHash<qint64, int> out;
    while (st.step())
        out.insert(sqlite3_column_int64(st.handle(), 0), sqlite3_column_int(st.handle(), 1));
    return out;
}
} // namespace

QHash<qint64, int> episodeCopies(Catalog &catalog, qint64 titleId) {
    return copiesWhere(catalog, "e.\"Название\"", titleId);
}

int episodeCopyCount(Catalog &catalog, qint64 episodeId) {
    return copiesWhere(catalog, "e.\"ID\"", episodeId).value(episodeId);
}

std::vector<qint64> titlesWithDuplicates(Catalog &catalog) {
    Catalog::ReadSnapshot snapshot(catalog);
    // An episode with two locations, or a file whose digest another location shares.
    std::vector<qint64> ids =
        column(catalog,
               QStringLiteral("SELECT e.\"Название\" FROM \"Серии\" e WHERE e.\"ID\" IN (SELECT \"Episode\" "
                              "FROM \"Location\" GROUP BY \"Episode\" HAVING count(*) > 1)"));
    const std::vector<qint64> byDigest = column(
        catalog, QStringLiteral("SELECT e.\"Название\" FROM (%1) g JOIN \"Location_hash\" h ON h.\"ED2K\" = "
                                "g.\"ED2K\" AND h.\"Size\" = g.\"Size\" JOIN \"Location\" l ON l.\"ID\" = "
                                "h.\"Location\" AND %2 JOIN \"Серии\" e ON e.\"ID\" = l.\"Episode\"")
                     .arg(QLatin1String(kGroups), QLatin1String(kCurrent)));
    ids.insert(ids.end(), byDigest.begin(), byDigest.end());
    return sortedUnique(std::move(ids));
}

std::vector<qint64> titlesWithSingleCopy(Catalog &catalog) {
    Catalog::ReadSnapshot snapshot(catalog);
    // Every title with a located file is one, unless each of its located episodes lies on two drives
    // or more: those episodes are few, found among the episodes with two locations.
    std::vector<qint64> located =
        column(catalog, QStringLiteral("SELECT \"ID\" FROM \"Sum_volume\" GROUP BY \"ID\""));
    QHash<qint64, int> spread; // title: its episodes on two drives or more
    {
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT e.\"Название\" FROM \"Серии\" e WHERE e.\"ID\" IN (SELECT \"Episode\" FROM \"Location\" "
            "WHERE \"Episode\" IN (SELECT \"Episode\" FROM \"Location\" GROUP BY \"Episode\" HAVING count(*) "
            "> 1) "
            "GROUP BY \"Episode\" HAVING count(DISTINCT \"Volume\") > 1)"));
        Statement::ResetAfter done{st};
        while (st.step())
            ++spread[sqlite3_column_int64(st.handle(), 0)];
    }
    Statement &count = catalog.statement(
        QStringLiteral("SELECT count(DISTINCT l.\"Episode\") FROM \"Серии\" e JOIN \"Location\" l ON "
                       "l.\"Episode\" = e.\"ID\" WHERE e.\"Название\" = ?"));
    std::erase_if(located, [&](qint64 title) {
        const auto it = spread.constFind(title);
        if (it == spread.constEnd())
            return false;
        Statement::ResetAfter done{count};
        count.bind(1, title);
        return count.step() && sqlite3_column_int(count.handle(), 0) <= it.value();
    });
    return located;
}

} // namespace vq::places
