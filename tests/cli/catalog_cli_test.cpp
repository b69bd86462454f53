#include "catalog/settings.h"
#include "cli.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vq;
using vq::test::TempCatalog;

namespace {

struct CliRun {
    int status;
    QString out, err;
};

CliRun runCli(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = vq::cli::run(args, o, e);
    return {status, out, err};
}

} // namespace

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
    const qint64 b = t.addTitle(QStringLiteral("Bebop\tTab"));
    const QString cat = t.path();

    r = runCli({QStringLiteral("--catalog"), cat, QStringLiteral("titles")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(
        lines[0],
        QStringLiteral("Akira\tMovie\t1\t700 \t02:04:00,000\t1920x1080\tЯпонский\tРусский\tНет\tклассика\t%1")
            .arg(a));
    EXPECT_EQ(lines[1].split(QLatin1Char('\t')).size(), 11); // the tab inside the name does not split the row

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
