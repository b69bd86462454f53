// Files' digests: known values computed here without the library, the names' checksums, equal
// files within and across titles, a drive that is not plugged in, and a file that rots silently.
#include "browser/titlefilter.h"
#include "catalog/catalog.h"
#include "places/hashing.h"
#include "support/temp_catalog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vq;
using namespace vq::places;

namespace {

quint32 crc32Of(const QByteArray &data) {
    quint32 c = 0xFFFFFFFFu;
    for (const char ch : data) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

QByteArray md4(const QByteArray &data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Md4);
}

// The part hashes' MD4; a size that is a whole number of parts ends with the empty part's hash.
QByteArray ed2kOf(const QByteArray &data) {
    if (data.size() < kEd2kPart)
        return md4(data);
    QByteArray parts;
    for (qint64 at = 0; at < data.size(); at += kEd2kPart)
        parts += md4(data.mid(at, kEd2kPart));
    if (data.size() % kEd2kPart == 0)
        parts += md4({});
    return md4(parts);
}

QByteArray bytes(qint64 size) {
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (char &c : b) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        c = char(x);
    }
    return b;
}

class Hashing : public ::testing::Test {
protected:
    void SetUp() override { catalog = std::make_unique<Catalog>(cat.path()); }
    QByteArray write(const QString &rel, const QByteArray &data) {
        const QString path = cat.dir() + QStringLiteral("/files/") + rel;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return QFile::encodeName(path);
    }
    qint64 store(qint64 title, const QByteArray &path) {
        const qint64 e = cat.addEpisode(title, {.name = QFileInfo(QFile::decodeName(path)).fileName()});
        EXPECT_TRUE(storeLocation(*catalog, e, path, Mounts::current()));
        return e;
    }
    std::vector<qint64> filtered(bool duplicates, bool single) {
        TitleFilter f;
        f.duplicates = duplicates;
        f.singleCopy = single;
        return applyTitleFilter(*catalog, f).ids;
    }
    test::TempCatalog cat;
    std::unique_ptr<Catalog> catalog;
};

} // namespace

TEST(Digest, KnownValues) {
    // The empty file's values as published for both algorithms, then the part boundaries.
    const Digest empty = digestFile("/dev/null");
    EXPECT_EQ(ed2kHex(empty.ed2k), QStringLiteral("31D6CFE0D16AE931B73C59D7E0C089C0"));
    EXPECT_EQ(empty.crc32, 0u);
    QTemporaryDir dir;
    for (const qint64 size :
         {qint64(0), qint64(1), kEd2kPart, kEd2kPart + 1, 2 * kEd2kPart, qint64(30000000)}) {
        const QByteArray data = bytes(size);
        const QString path = dir.filePath(QString::number(size));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        const Digest d = digestFile(QFile::encodeName(path));
        ASSERT_TRUE(d.ok) << size;
        EXPECT_EQ(d.size, size);
        EXPECT_EQ(crcHex(d.crc32), crcHex(crc32Of(data))) << size;
        EXPECT_EQ(ed2kHex(d.ed2k), ed2kHex(ed2kOf(data))) << size;
    }
    EXPECT_FALSE(digestFile("/nonexistent/file").ok);
}

TEST(Digest, NameChecksums) {
    const struct {
        const char *name;
        const char *crc; // "" for none
    } cases[] = {
        {"[Group] Title - 01 (1080p) [8DE44442].mkv", "8DE44442"},
        {"[Group][8de44442].mkv", "8DE44442"},
        {"[ABCDEF12] Title [12345678].mkv", "12345678"}, // the last group
        {"Title [12345678] v2 [1080p].mkv", "12345678"}, // the last group of 8 hex digits
        {"Title [8DE4444].mkv", ""},
        {"Title [8DE444420].mkv", ""},
        {"Title (8DE44442).mkv", ""},
        {"Title [8DE4444G].mkv", ""},
        {"Title 8DE44442.mkv", ""},
    };
    for (const auto &c : cases) {
        const auto crc = nameChecksum(c.name);
        EXPECT_EQ(crc ? crcHex(*crc) : QString(), QLatin1String(c.crc)) << c.name;
    }
}

TEST(Digest, OneReaderPerDevice) {
    QTemporaryDir dir;
    std::vector<HashJob> jobs;
    for (int i = 0; i < 12; ++i) {
        const QString path = dir.filePath(QString::number(i));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes(200000));
        jobs.push_back(
            {i + 1, QFile::encodeName(path), 200000, i % 2 ? QStringLiteral("b") : QStringLiteral("a")});
    }
    std::mutex m;
    std::map<QString, std::set<std::thread::id>> readers;
    int done = 0;
    {
        HashRunner runner([&](HashResult r) {
            std::lock_guard lock(m);
            readers[r.job.device].insert(std::this_thread::get_id());
            done += r.digest.ok;
        });
        runner.add(jobs);
        runner.wait();
    }
    EXPECT_EQ(done, 12);
    ASSERT_EQ(readers.size(), 2u);
    EXPECT_EQ(readers["a"].size(), 1u);
    EXPECT_EQ(readers["b"].size(), 1u);
    EXPECT_NE(*readers["a"].begin(), *readers["b"].begin()); // the two devices in parallel
}

TEST_F(Hashing, DuplicatesCopiesOfflineAndFilters) {
    const qint64 a = cat.addTitle(QStringLiteral("A")), b = cat.addTitle(QStringLiteral("B")),
                 c = cat.addTitle(QStringLiteral("C"));
    const QByteArray twin = bytes(5000);
    const qint64 a1 = store(a, write(QStringLiteral("a/1.mkv"), bytes(3000)));
    const qint64 a2 = store(a, write(QStringLiteral("a/2.mkv"), twin));
    store(b, write(QStringLiteral("b/x.mkv"), twin));
    store(c, write(QStringLiteral("c/1 [DEADBEEF].mkv"), bytes(7000)));
    // A second copy of A's first episode on a drive that is not plugged in.
    cat.exec(QStringLiteral(
        "INSERT INTO \"Volume\"(\"ID\", \"Ident\", \"Label\") VALUES (99, 'uuid:gone', 'Gone')"));
    cat.exec(
        QStringLiteral("INSERT INTO \"Location\"(\"Episode\", \"Volume\", \"Path\", \"Size\", \"MTime\") "
                       "VALUES (%1, 99, 'a/1.mkv', 3000, 1)")
            .arg(a1));

    const HashReport r = hashFiles(*catalog, Mounts::current(), 0, false);
    EXPECT_EQ(r.hashed, 4);
    EXPECT_EQ(r.offline, 1);                                               // waits for its drive
    EXPECT_EQ(hashFiles(*catalog, Mounts::current(), 0, false).hashed, 0); // nothing read twice

    auto groups = duplicateGroups(*catalog, Mounts::current());
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_TRUE(groups[0].acrossTitles);
    EXPECT_EQ(groups[0].size, 5000);
    EXPECT_EQ(groups[0].locations.size(), 2u);
    EXPECT_EQ(ed2kHex(groups[0].ed2k), ed2kHex(ed2kOf(twin)));
    const QHash<qint64, int> copies = episodeCopies(*catalog, a);
    EXPECT_EQ(copies.value(a1), 2);
    EXPECT_EQ(copies.value(a2), 2);

    EXPECT_EQ(filtered(true, false), (std::vector<qint64>{a, b}));
    EXPECT_EQ(filtered(false, true), (std::vector<qint64>{a, b, c})); // each has an episode on one drive
    // A's second episode gets a copy on the other drive too: all of A is on two drives.
    cat.exec(
        QStringLiteral("INSERT INTO \"Location\"(\"Episode\", \"Volume\", \"Path\", \"Size\", \"MTime\") "
                       "VALUES (%1, 99, 'a/2.mkv', 5000, 1)")
            .arg(a2));
    EXPECT_EQ(filtered(false, true), (std::vector<qint64>{b, c}));
    // B's file goes to the other drive: the group of equal files stays, across drives now.
    cat.exec(QStringLiteral(
        "UPDATE \"Location\" SET \"Volume\" = 99 WHERE CAST(\"Path\" AS TEXT) LIKE '%b/x.mkv'"));

    // A copy within one title is a group of its own, not one across titles.
    store(a, write(QStringLiteral("a/3.mkv"), bytes(3000)));
    hashFiles(*catalog, Mounts::current(), 0, false);
    groups = duplicateGroups(*catalog, Mounts::current());
    ASSERT_EQ(groups.size(), 2u); // the moved twin is offline but keeps its digest: still a group
    EXPECT_NE(groups[0].acrossTitles, groups[1].acrossTitles);
}

TEST_F(Hashing, NamesAndSilentChanges) {
    const qint64 t = cat.addTitle(QStringLiteral("T"));
    const QByteArray good = bytes(4000), rot = bytes(6000);
    store(t, write(QStringLiteral("[G] T - 01 [%1].mkv").arg(crcHex(crc32Of(good))), good));
    store(t, write(QStringLiteral("[G] T - 02 [00000000].mkv"), bytes(2000)));
    const QByteArray rotting = write(QStringLiteral("[G] T - 03.mkv"), rot);
    store(t, rotting);
    hashFiles(*catalog, Mounts::current(), 0, false);
    VerifyReport v = verifyNames(*catalog, Mounts::current(), 0);
    EXPECT_EQ(v.withChecksum, 2);
    EXPECT_EQ(v.match, 1);
    EXPECT_EQ(v.mismatch, 1);
    ASSERT_EQ(v.files.size(), 1u);
    EXPECT_EQ(v.files[0].nameCrc, QStringLiteral("00000000"));
    EXPECT_FALSE(v.files[0].changed);

    // One bit flips, size and time stay: only reading it again finds it.
    struct stat before {};
    ::stat(rotting.constData(), &before);
    QByteArray flipped = rot;
    flipped[100] = char(flipped[100] ^ 1);
    QFile f(QFile::decodeName(rotting));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(flipped);
    f.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, rotting.constData(), times, 0);
    EXPECT_EQ(hashFiles(*catalog, Mounts::current(), 0, false).hashed, 0);
    // Another file grows: read again, its digest is of a state the catalog did not store, and later
    // runs leave it be until the catalog learns of the change.
    write(QStringLiteral("[G] T - 02 [00000000].mkv"), bytes(2500));
    const HashReport again = hashFiles(*catalog, Mounts::current(), 0, true);
    EXPECT_EQ(again.changed, 1);
    EXPECT_EQ(again.same, 1);
    EXPECT_EQ(again.hashed, 1);
    EXPECT_EQ(hashFiles(*catalog, Mounts::current(), 0, false).hashed, 0);
    v = verifyNames(*catalog, Mounts::current(), 0);
    EXPECT_EQ(v.changed, 1);
    EXPECT_EQ(v.pending, 1); // the grown file's stored state has no digest now
    ASSERT_EQ(v.files.size(), 1u);
    EXPECT_TRUE(v.files[0].changed);
    // The stored digest stays what the file was.
    EXPECT_EQ(
        cat.scalar(
            QStringLiteral("SELECT count(*) FROM \"Location_hash\" WHERE \"CRC32\" = %1").arg(crc32Of(rot))),
        QStringLiteral("1"));
}
