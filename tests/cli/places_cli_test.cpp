// Files on real drives: two file systems in loop devices, added, unplugged, plugged in elsewhere,
// moved, deleted and changed behind the catalog's back.
#include "catalog/catalog.h"
#include "cli.h"
#include "places/locations.h"
#include "places/mounts.h"
#include "support/core_app.h"
#include "support/loopfs.h"
#include "support/media.h"
#include "support/temp_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

#include <csignal>

using namespace vq;
using vq::test::LoopVolume;
using vq::test::TempCatalog;

namespace {

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new vq::test::CoreApplication("test_cli"));

struct ToolRun {
    int status;
    QString out, err;
    QJsonValue json() const {
        const QJsonDocument d = QJsonDocument::fromJson(out.toUtf8());
        return d.isArray() ? QJsonValue(d.array()) : QJsonValue(d.object());
    }
};

ToolRun tool(const QString &catalog, QStringList args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = vq::cli::run(QStringList{QStringLiteral("--catalog"), catalog} + args, o, e);
    places::Mounts::forget();
    return {status, out, err};
}

void copyClip(const QString &to) {
    QDir().mkpath(QFileInfo(to).path());
    ASSERT_TRUE(QFile::copy(vq::test::testMedia()[vq::test::Sample::Mkv].path, to)) << to.toStdString();
}

// Where each of a title's episodes is: "name state path" lines, by episode.
QStringList where(const QString &catalog, qint64 title) {
    QStringList out;
    for (const QJsonValue &v : tool(catalog, {QStringLiteral("locate"), QStringLiteral("--title-id"),
                                              QString::number(title), QStringLiteral("--json")})
                                   .json()
                                   .toArray()) {
        const QJsonObject o = v.toObject();
        out << o[QStringLiteral("Серия")].toString() + QLatin1Char(' ') +
                   o[QStringLiteral("State")].toString() + QLatin1Char(' ') +
                   o[QStringLiteral("Path")].toString();
    }
    return out;
}

QString counts(const QJsonObject &check) {
    QStringList out;
    for (const char *k : {"Present", "Changed", "Missing", "Moved", "Offline"})
        out << QString::number(check[QLatin1String(k)].toInt());
    return out.join(QLatin1Char(' '));
}

class Drives : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *kind : {"ext4", "xfs"})
            if (const QString why = LoopVolume::whyNot(QLatin1String(kind)); !why.isEmpty())
                GTEST_SKIP() << why.toStdString();
        // Files were stored a moment before the drives came: what was mounted then is known.
        places::Mounts::recent();
        try {
            a = std::make_unique<LoopVolume>(QStringLiteral("ext4"), QStringLiteral("ANIME_A"));
            b = std::make_unique<LoopVolume>(QStringLiteral("xfs"), QStringLiteral("ANIME_B"));
            a->plugIn();
            b->plugIn();
        } catch (const std::runtime_error &e) {
            GTEST_SKIP() << "no drive can be made here: " << e.what();
        }
    }
    std::unique_ptr<LoopVolume> a, b;
    TempCatalog cat;
};

} // namespace

TEST_F(Drives, FilesAreFollowedAcrossUnplugMovesDeletesAndChanges) {
    const QString c = cat.path();
    for (const char *n : {"01", "02", "03"})
        copyClip(a->mountPoint() + QStringLiteral("/Show/Show - %1.mkv").arg(QLatin1String(n)));
    // A name that is not UTF-8, as copied from an old disc.
    const QByteArray odd = QFile::encodeName(b->mountPoint()) + "/Show/\xDD\xEF 04.mkv";
    copyClip(b->mountPoint() + QStringLiteral("/Show/x"));
    ASSERT_EQ(
        ::rename(QFile::encodeName(b->mountPoint() + QStringLiteral("/Show/x")).constData(), odd.constData()),
        0);
    ASSERT_EQ(tool(c, {QStringLiteral("add"), QStringLiteral("--title"), QStringLiteral("Show"),
                       a->mountPoint() + QStringLiteral("/Show")})
                  .status,
              0);
    ASSERT_EQ(tool(c, {QStringLiteral("add"), QStringLiteral("--title"), QStringLiteral("Show"),
                       b->mountPoint() + QStringLiteral("/Show")})
                  .status,
              0);
    const qint64 title =
        cat.scalar(QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"Название\" = 'Show'")).toLongLong();
    // The name's own bytes are kept.
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT hex(\"Path\") FROM \"Location\" WHERE \"Volume\" = 2")),
              QString::fromLatin1(QByteArray("Show/\xDD\xEF 04.mkv").toHex().toUpper()));

    const QJsonArray vols = tool(c, {QStringLiteral("volumes"), QStringLiteral("--json")}).json().toArray();
    ASSERT_EQ(vols.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject v = vols[i].toObject();
        EXPECT_EQ(v[QStringLiteral("FsType")].toString(),
                  i == 0 ? QStringLiteral("ext4") : QStringLiteral("xfs"));
        EXPECT_EQ(v[QStringLiteral("Label")].toString(),
                  i == 0 ? QStringLiteral("ANIME_A") : QStringLiteral("ANIME_B"));
        EXPECT_EQ(v[QStringLiteral("UUID")].toString().size(), 36);
        EXPECT_EQ(v[QStringLiteral("Files")].toInt(), i == 0 ? 3 : 1);
        EXPECT_TRUE(v[QStringLiteral("Online")].toBool());
    }

    // B unplugged: everything still listed and summed; the check calls it offline, not missing.
    b->unplug();
    EXPECT_EQ(
        tool(c, {QStringLiteral("stats"), QStringLiteral("--json")}).json().toObject()[QStringLiteral("LCE")],
        QStringLiteral("4"));
    EXPECT_TRUE(tool(c, {QStringLiteral("titles")}).out.startsWith(QStringLiteral("Show\t")));
    const QString html = cat.dir() + QStringLiteral("/out.html");
    EXPECT_EQ(tool(c, {QStringLiteral("export-html"), html}).status, 0);
    EXPECT_EQ(tool(c, {QStringLiteral("volumes"), QStringLiteral("--json")})
                  .json()
                  .toArray()[1]
                  .toObject()[QStringLiteral("MountPoint")]
                  .toString(),
              QString());
    EXPECT_EQ(counts(tool(c, {QStringLiteral("check"), QStringLiteral("--json")}).json().toObject()),
              QStringLiteral("3 0 0 0 1"));

    // Plugged in elsewhere: known by its identity, nothing probed again.
    const QString again = b->plugIn();
    const QString episodesBefore =
        cat.scalar(QStringLiteral("SELECT count(*) || ':' || max(\"ID\") FROM \"Серии\""));
    EXPECT_EQ(counts(tool(c, {QStringLiteral("check"), QStringLiteral("--volume"), QStringLiteral("2"),
                              QStringLiteral("--json")})
                         .json()
                         .toObject()),
              QStringLiteral("1 0 0 0 0"));
    const QJsonObject vb =
        tool(c, {QStringLiteral("volumes"), QStringLiteral("--json")}).json().toArray()[1].toObject();
    EXPECT_EQ(vb[QStringLiteral("MountPoint")].toString(), again);
    const QJsonArray located = tool(c, {QStringLiteral("locate"), QStringLiteral("--title-id"),
                                        QString::number(title), QStringLiteral("--json")})
                                   .json()
                                   .toArray();
    EXPECT_TRUE(located[3].toObject()[QStringLiteral("AbsolutePath")].toString().startsWith(
        again + QLatin1Char('/')));

    // Moved to a folder with no catalogued file, deleted, changed.
    QDir().mkpath(a->mountPoint() + QStringLiteral("/Archive/Old"));
    ASSERT_TRUE(QFile::rename(a->mountPoint() + QStringLiteral("/Show/Show - 01.mkv"),
                              a->mountPoint() + QStringLiteral("/Archive/Old/Show - 01.mkv")));
    ASSERT_TRUE(QFile::remove(a->mountPoint() + QStringLiteral("/Show/Show - 02.mkv")));
    {
        QFile f(a->mountPoint() + QStringLiteral("/Show/Show - 03.mkv"));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("x");
    }
    EXPECT_EQ(counts(tool(c, {QStringLiteral("check"), QStringLiteral("--json")}).json().toObject()),
              QStringLiteral("1 1 2 0 0"));
    EXPECT_EQ(counts(tool(c, {QStringLiteral("check"), QStringLiteral("--deep"), QStringLiteral("--json")})
                         .json()
                         .toObject()),
              QStringLiteral("1 1 1 1 0"));
    EXPECT_EQ(where(c, title).mid(0, 3),
              (QStringList{QStringLiteral("Show - 01.mkv moved Archive/Old/Show - 01.mkv"),
                           QStringLiteral("Show - 02.mkv missing Show/Show - 02.mkv"),
                           QStringLiteral("Show - 03.mkv changed Show/Show - 03.mkv")}));
    // A check deletes nothing.
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) || ':' || max(\"ID\") FROM \"Серии\"")),
              episodesBefore);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Location\"")), QStringLiteral("4"));
}

TEST_F(Drives, EpisodesOfAnOldCatalogAreAttachedByFolder) {
    const QString folder = a->mountPoint() + QStringLiteral("/Old");
    for (const char *n : {"a.mkv", "b.mkv", "b2.mkv", "extra.mkv"})
        copyClip(folder + QLatin1Char('/') + QLatin1String(n));
    const qint64 size = QFileInfo(folder + QStringLiteral("/a.mkv")).size();
    const qint64 title = cat.addTitle(QStringLiteral("Old"));
    for (const char *n : {"a.mkv", "b.mkv", "b.mkv", "gone.mkv"})
        cat.addEpisode(title, {.name = QLatin1String(n), .size = double(size)});
    EXPECT_EQ(where(cat.path(), title).first(), QStringLiteral("a.mkv unknown "));
    const ToolRun r = tool(cat.path(), {QStringLiteral("attach"), QStringLiteral("--title-id"),
                                        QString::number(title), folder, QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = r.json().toObject();
    EXPECT_EQ(o[QStringLiteral("Matched")].toArray().size(), 1);
    EXPECT_EQ(o[QStringLiteral("Ambiguous")].toArray(), QJsonArray{QStringLiteral("b.mkv")});
    EXPECT_EQ(o[QStringLiteral("LeftEpisodes")].toArray(), QJsonArray{QStringLiteral("gone.mkv")});
    EXPECT_EQ(o[QStringLiteral("LeftFiles")].toArray().size(), 2);
    EXPECT_EQ(where(cat.path(), title),
              (QStringList{QStringLiteral("a.mkv present Old/a.mkv"), QStringLiteral("b.mkv unknown "),
                           QStringLiteral("b.mkv unknown "), QStringLiteral("gone.mkv unknown ")}));
}

TEST(HashTool, KilledWhileHashingResumesWhereItStopped) {
    TempCatalog cat;
    const qint64 title = cat.addTitle(QStringLiteral("T"));
    const int files = 24;
    {
        // Files of 48 MB holding no blocks: long enough to read that the kill lands in the middle.
        Catalog c(cat.path());
        const QString dir = cat.dir() + QStringLiteral("/files/");
        QDir().mkpath(dir);
        for (int i = 0; i < files; ++i) {
            const QString name =
                QStringLiteral("[G] T - %1 [00000000].mkv").arg(i + 1, 2, 10, QLatin1Char('0'));
            QFile f(dir + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(48 << 20));
            const qint64 e = cat.addEpisode(title, {.name = name});
            ASSERT_TRUE(
                places::storeLocation(c, e, QFile::encodeName(dir + name), places::Mounts::current()));
        }
    }
    const QString hashed = QStringLiteral("SELECT count(*) FROM \"Location_hash\"");
    QProcess p;
    p.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vidoteq-cli")),
            {QStringLiteral("--catalog"), cat.path(), QStringLiteral("hash")});
    ASSERT_TRUE(p.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (p.state() == QProcess::Running && waited.elapsed() < 60000 && cat.scalar(hashed).toInt() < 2)
        QThread::msleep(5);
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished();
    const int kept = cat.scalar(hashed).toInt();
    ASSERT_LT(kept, files) << "finished before the kill";
    ASSERT_GE(kept, 2);

    // The second run reads only what the first did not write: at most the file it was reading.
    const QJsonObject again =
        tool(cat.path(), {QStringLiteral("hash"), QStringLiteral("--json")}).json().toObject();
    EXPECT_EQ(again[QStringLiteral("Hashed")].toInt(), files - kept);
    EXPECT_EQ(cat.scalar(hashed).toInt(), files);
    EXPECT_EQ(
        cat.scalar(QStringLiteral("SELECT count(DISTINCT \"ED2K\" || \"CRC32\") FROM \"Location_hash\"")),
        QStringLiteral("1"));

    // Every name's checksum is wrong: each is listed, as locate lists it, with the name's value.
    const QJsonObject v =
        tool(cat.path(), {QStringLiteral("verify"), QStringLiteral("--json")}).json().toObject();
    EXPECT_EQ(v[QStringLiteral("WithChecksum")].toInt(), files);
    EXPECT_EQ(v[QStringLiteral("Mismatch")].toInt(), files);
    EXPECT_EQ(v[QStringLiteral("Match")].toInt(), 0);
    const QJsonArray listed = v[QStringLiteral("Files")].toArray();
    ASSERT_EQ(listed.size(), files);
    const QJsonObject first = listed[0].toObject();
    EXPECT_EQ(first[QStringLiteral("NameCRC32")].toString(), QStringLiteral("00000000"));
    EXPECT_EQ(first[QStringLiteral("CRC32")].toString().size(), 8);
    EXPECT_EQ(first[QStringLiteral("ED2K")].toString().size(), 32);
    // All 24 are one file twenty-four times: one group of equal files within the title.
    const QJsonArray groups =
        tool(cat.path(), {QStringLiteral("duplicates"), QStringLiteral("--json")}).json().toArray();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].toObject()[QStringLiteral("Locations")].toArray().size(), files);
    EXPECT_EQ(groups[0].toObject()[QStringLiteral("Size")].toInteger(), 48 << 20);
}
