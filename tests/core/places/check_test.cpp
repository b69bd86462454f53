// The check in a folder of this machine's own file system: what is found where, what is not
// relinked, and what a cancelled check leaves.
#include "catalog/catalog.h"
#include "places/check.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vq;
using namespace vq::places;

namespace {

class Check : public ::testing::Test {
protected:
    void SetUp() override {
        title = cat.addTitle(QStringLiteral("T"));
        catalog = std::make_unique<Catalog>(cat.path());
    }
    QByteArray file(const QString &rel, int size = 10) {
        const QString path = cat.dir() + QStringLiteral("/files/") + rel;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'x'));
        return QFile::encodeName(path);
    }
    void store(const QByteArray &path) {
        const qint64 e = cat.addEpisode(title, {.name = QFileInfo(QFile::decodeName(path)).fileName()});
        ASSERT_TRUE(storeLocation(*catalog, e, path, Mounts::current()));
    }
    QString states() {
        return cat
            .scalar(
                QStringLiteral("SELECT group_concat(\"State\" || ':' || CAST(\"Path\" AS TEXT), ' ') FROM "
                               "(SELECT * FROM \"Location\" ORDER BY \"ID\")"))
            .remove(QRegularExpression(QStringLiteral("[^ :]*/files/")));
    }

    test::TempCatalog cat;
    std::unique_ptr<Catalog> catalog;
    qint64 title = 0;
};

} // namespace

TEST_F(Check, MovedFilesAreRelinkedOnlyWhenOneFileFits) {
    for (const char *n : {"a/1.mkv", "a/2.mkv", "a/3.mkv", "b/keep.mkv", "c/keep.mkv"})
        store(file(QLatin1String(n)));
    // 1 moves to a folder with catalogued files; 2 is there twice; 3 moves where nothing is
    // catalogued; each by rename, so size and time stay.
    const QString dir = cat.dir() + QStringLiteral("/files/");
    ASSERT_TRUE(QFile::rename(dir + QStringLiteral("a/1.mkv"), dir + QStringLiteral("b/1.mkv")));
    ASSERT_TRUE(QFile::copy(dir + QStringLiteral("a/2.mkv"), dir + QStringLiteral("b/2.mkv")));
    ASSERT_TRUE(QFile::rename(dir + QStringLiteral("a/2.mkv"), dir + QStringLiteral("c/2.mkv")));
    ::utimensat(AT_FDCWD, QFile::encodeName(dir + QStringLiteral("b/2.mkv")).constData(), nullptr, 0);
    QDir().mkpath(dir + QStringLiteral("d"));
    ASSERT_TRUE(QFile::rename(dir + QStringLiteral("a/3.mkv"), dir + QStringLiteral("d/3.mkv")));

    const CheckReport r = checkFiles(*catalog, Mounts::current(), 0, false);
    EXPECT_EQ(std::vector<qint64>({r.present, r.changed, r.missing, r.moved}),
              std::vector<qint64>({2, 0, 1, 2}));
    // Of two copies of 2, the one with the stored time is it.
    EXPECT_EQ(
        states(),
        QStringLiteral("moved:b/1.mkv moved:c/2.mkv missing:a/3.mkv present:b/keep.mkv present:c/keep.mkv"));
    EXPECT_EQ(checkFiles(*catalog, Mounts::current(), 0, true).moved, 1);
    EXPECT_EQ(states(),
              QStringLiteral(
                  "present:b/1.mkv present:c/2.mkv moved:d/3.mkv present:b/keep.mkv present:c/keep.mkv"));
}

TEST_F(Check, ACancelledCheckWritesNothing) {
    for (int i = 0; i < 600; ++i)
        store(file(QStringLiteral("x/%1.mkv").arg(i)));
    QFile::remove(cat.dir() + QStringLiteral("/files/x/7.mkv"));
    int calls = 0;
    const CheckReport r =
        checkFiles(*catalog, Mounts::current(), 0, false, [&](qint64, qint64) { return ++calls < 1; });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Location\" WHERE \"State\" <> 'present'")),
              QStringLiteral("0"));
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT ifnull(max(\"LastCheck\"), 0) FROM \"Volume\"")),
              QStringLiteral("0"));
    EXPECT_EQ(checkFiles(*catalog, Mounts::current(), 0, false).missing, 1);
}
