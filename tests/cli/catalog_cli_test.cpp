#include "catalog/settings.h"
#include "cli.h"
#include "support/cli_run.h"
#include "support/temp_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vq;
using vq::test::CliRun;
using vq::test::runCli;
using vq::test::TempCatalog;

namespace {} // namespace

TEST(CatalogCli, InitTitlesEpisodesStats) {
    test::isolateSettings();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("my.vdq"));
    CliRun r = runCli({QStringLiteral("init"), path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path));
    // Never over an existing file.
    r = runCli({QStringLiteral("init"), path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();

    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QStringLiteral("классика"), 2);
    t.addEpisode(a, {.name = QStringLiteral("Akira.mkv"),
                     .size = 734003200.0,
                     .width = 1920,
                     .height = 1080,
                     .durationMs = 7440000,
                     .sound = 0,
                     .subIn = 1,
                     .subExt = 2});
    const qint64 b = t.addTitle(QStringLiteral("Bebop\tTab\r\nEnd"));
    const QString cat = t.path();

    r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("titles")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(
        lines[0],
        QStringLiteral("Akira\tMovie\t1\t700 \t02:04:00,000\t1920x1080\tЯпонский\tРусский\tНет\tклассика\t%1")
            .arg(a));
    // The tab and line break inside the name do not split the row.
    EXPECT_EQ(lines[1].split(QLatin1Char('\t')).size(), 11);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Bebop Tab  End\t"))) << lines[1].toStdString();

    r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("titles"), QStringLiteral("--search"),
                QStringLiteral("be"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0);
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("ID")].toInteger(), b);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("SizeText")].toString(), QStringLiteral("  0 "));

    r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("episodes"), QStringLiteral("--title-id"),
                QString::number(a), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject ep = QJsonDocument::fromJson(r.out.toUtf8()).array().at(0).toObject();
    EXPECT_EQ(ep[QStringLiteral("Серия")].toString(), QStringLiteral("Akira.mkv"));
    EXPECT_EQ(ep[QStringLiteral("Size")].toString(), QStringLiteral("734 003 200 "));
    EXPECT_EQ(ep[QStringLiteral("Размеры")].toString(), QStringLiteral("1920x1080"));
    EXPECT_EQ(ep[QStringLiteral("Time")].toString(), QStringLiteral("02:04:00,000"));

    r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("stats"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0);
    const QJsonObject st = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(st[QStringLiteral("LCount")].toString(), QStringLiteral("2"));
    EXPECT_EQ(st[QStringLiteral("LCE")].toString(), QStringLiteral("1"));
    EXPECT_EQ(st[QStringLiteral("LSize")].toString(), QStringLiteral("0.68 Gb"));
    // The charts' series: the one episode under its type, frame, and no codec or date stored.
    const std::pair<const char *, QString> series[] = {{"ByType", QStringLiteral("Movie")},
                                                       {"ByHeight", QStringLiteral("1920x1080")},
                                                       {"ByVideoCodec", QString()},
                                                       {"ByMonth", QString()}};
    for (const auto &[key, first] : series) {
        const QJsonArray points = st[QLatin1String(key)].toArray();
        ASSERT_EQ(points.size(), 1) << key;
        EXPECT_EQ(points[0].toObject()[QStringLiteral("Files")].toInteger(), 1) << key;
        EXPECT_EQ(points[0].toObject()[QStringLiteral("Bytes")].toDouble(), 734003200.0) << key;
        EXPECT_EQ(points[0].toObject()[QStringLiteral("Key")].toString(), first) << key;
    }
    EXPECT_EQ(st[QStringLiteral("ByHeight")].toArray()[0].toObject()[QStringLiteral("Class")].toString(),
              QStringLiteral("1080p"));
    EXPECT_TRUE(st[QStringLiteral("ByDrive")].toArray().isEmpty()) << "no place of the file is known";
}

TEST(CatalogCli, NewCatalogInTheCurrentFolder) {
    test::isolateSettings();
    TempCatalog t;
    t.addEpisode(t.addTitle(QStringLiteral("Akira")), {.size = 1.0});
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const CliRun r = runCli(
        {QStringLiteral("--catalog"), t.path(), QStringLiteral("new-catalog"), QStringLiteral("2006")});
    QDir::setCurrent(old);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString made = dir.filePath(QStringLiteral("2006.vdq"));
    EXPECT_EQ(rememberedCatalogPath(), made);
    const CliRun titles = runCli({QStringLiteral("--catalog"), made, QStringLiteral("titles")});
    EXPECT_EQ(titles.status, 0);
    EXPECT_TRUE(titles.out.isEmpty());
}

TEST(CatalogCli, ErrorsAndUsage) {
    test::isolateSettings();
    TempCatalog t;
    QTemporaryDir dir;
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{}, 2},
        {{QStringLiteral("frobnicate")}, 2},
        {{QStringLiteral("--catalog")}, 2},
        {{QStringLiteral("--catalog"), t.path(), QStringLiteral("titles"), QStringLiteral("--bogus")}, 2},
        {{QStringLiteral("--catalog"), t.path(), QStringLiteral("episodes")}, 2},
        {{QStringLiteral("--catalog"), t.path(), QStringLiteral("episodes"), QStringLiteral("--title-id"),
          QStringLiteral("x")},
         2},
        {{QStringLiteral("--catalog"), t.path(), QStringLiteral("episodes"), QStringLiteral("--title-id"),
          QStringLiteral("42")},
         1},
        {{QStringLiteral("--catalog"), dir.filePath(QStringLiteral("none.vdq")), QStringLiteral("stats")}, 1},
        {{QStringLiteral("--catalog"), dir.path(), QStringLiteral("stats")}, 1},
    };
    for (const auto &c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("vidoteq-cli: "))) << r.err.toStdString();
        if (c.status == 1) {
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        }
    }
}

TEST(CatalogCli, ReadOnlyCatalogIsReadAndSaysSo) {
    test::isolateSettings();
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(a, {.size = 1048576.0, .durationMs = 1000});
    t.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    const QString cat = t.path();
    CliRun r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("stats")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    // A file that cannot be written (root too: the immutable flag) is read, with a note on stderr.
    QFile::setPermissions(cat, QFile::ReadOwner);
    const bool root = getuid() == 0;
    if (root && QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), cat}) != 0)
        GTEST_SKIP() << "no way to make a file read-only for root here";
    const QByteArray before = test::fileBytes(cat);
    r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("stats")});
    const CliRun titles = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("titles")});
    if (root)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), cat});
    QFile::setPermissions(cat, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("1\t1\t"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("только для чтения"))) << r.err.toStdString();
    EXPECT_EQ(titles.status, 0) << titles.err.toStdString();
    EXPECT_TRUE(titles.out.startsWith(QStringLiteral("Akira\t"))) << titles.out.toStdString();
    EXPECT_EQ(test::fileBytes(cat), before);
}

TEST(CatalogCli, InitThroughADanglingLinkMakesNothing) {
    test::isolateSettings();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.vdq"));
    const QString link = dir.filePath(QStringLiteral("link.vdq"));
    ASSERT_TRUE(QFile::link(target, link));
    CliRun r = runCli({QStringLiteral("init"), link});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
}

// A new-catalog killed half-way leaves its temporary files; the next catalog made in that folder
// removes them.
TEST(CatalogCli, KilledNewCatalogLeavesNothingForLong) {
    test::isolateSettings();
    TempCatalog big;
    big.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                            "INSERT INTO \"Список\"(\"Название\") SELECT 'T' || i FROM n"));
    big.exec(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                       "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\") "
                       "SELECT 1 + i % 2000, 'episode ' || i || '.mkv', i FROM n"));
    QTemporaryDir dir, home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vidoteq-cli")),
            {QStringLiteral("--catalog"), big.path(), QStringLiteral("new-catalog"), QStringLiteral("half")});
    ASSERT_TRUE(p.waitForStarted());
    auto parts = [&] {
        return QDir(dir.path()).entryList({QStringLiteral(".*.part*")}, QDir::Files | QDir::Hidden);
    };
    // Killed once the copy has begun to fill its file.
    QElapsedTimer waited;
    waited.start();
    while (p.state() == QProcess::Running && waited.elapsed() < 60000 &&
           !(parts().size() > 1 || (parts().size() == 1 && QFileInfo(dir.filePath(parts()[0])).size() > 0)))
        QThread::usleep(500);
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished();
    ASSERT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("half.vdq")))) << "finished before the kill";
    ASSERT_FALSE(parts().isEmpty());

    const CliRun r = runCli({QStringLiteral("init"), dir.filePath(QStringLiteral("next.vdq"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(parts().isEmpty()) << parts().join(' ').toStdString();
}

// Episodes another version stored come up numbered, and list in natural order: episodes by number
// (2 before 10), then other kinds, then names that say nothing.
TEST(CatalogCli, EpisodesInNaturalOrderWithWhatTheirNamesSay) {
    test::isolateSettings();
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Show"));
    for (const char *name : {"Show - 10.mkv", "Show.mkv", "Show - NCOP 1.mkv", "[Grp] Show - 02v2.mkv",
                             "Show - 1.mkv", "Show - 11.mkv", "Show - 9.mkv", "Show - 12.5.mkv"})
        t.addEpisode(a, {.name = QString::fromUtf8(name)});
    t.exec(QStringLiteral("UPDATE \"Серии\" SET \"Kind\" = NULL"));
    t.exec(QStringLiteral("PRAGMA user_version = 4"));
    const CliRun r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("episodes"),
                             QStringLiteral("--title-id"), QString::number(a), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList got;
    for (const QJsonValue &v : QJsonDocument::fromJson(r.out.toUtf8()).array()) {
        const QJsonObject o = v.toObject();
        got << QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(o[QStringLiteral("Серия")].toString(),
                        o[QStringLiteral("Number")].isNull()
                            ? QStringLiteral("-")
                            : QString::number(o[QStringLiteral("Number")].toDouble()),
                        o[QStringLiteral("Kind")].toString(),
                        o[QStringLiteral("Version")].isNull()
                            ? QStringLiteral("-")
                            : QString::number(o[QStringLiteral("Version")].toInt()),
                        o[QStringLiteral("Group")].toString());
    }
    EXPECT_EQ(got.join(QLatin1Char(' ')),
              (QStringList{"Show - 1.mkv|1|episode|-|", "[Grp] Show - 02v2.mkv|2|episode|2|Grp",
                           "Show - 9.mkv|9|episode|-|", "Show - 10.mkv|10|episode|-|",
                           "Show - 11.mkv|11|episode|-|", "Show - 12.5.mkv|12.5|episode|-|",
                           "Show - NCOP 1.mkv|1|opening|-|", "Show.mkv|-||-|"}
                   .join(QLatin1Char(' '))));
}
