// The tool's title filters end to end, and what it says to input that selects nothing it knows.
#include "catalog/tabledata.h"
#include "cli.h"
#include "support/cli_run.h"
#include "support/temp_catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vq;
using vq::test::CliRun;
using vq::test::runCli;
using vq::test::TempCatalog;

namespace {

class FilterCli : public ::testing::Test {
protected:
    TempCatalog t;
    qint64 akira = 0, bebop = 0, yolka = 0, empty = 0;

    void SetUp() override {
        test::isolateSettings();
        t.exec(QStringLiteral(
            "INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (1, 'V_MPEG4/ISO/AVC'), (2, 'DivX')"));
        t.exec(QStringLiteral("INSERT INTO \"Format\"(\"ID\", \"Name\") VALUES (1, 'Matroska'), (2, 'AVI')"));
        akira = t.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QString(), 2);
        bebop = t.addTitle(QStringLiteral("Cowboy Bebop"), QStringLiteral("26"), QString(), 3);
        yolka = t.addTitle(QStringLiteral("Ёлка"), QStringLiteral("1"), QString(), 1);
        empty = t.addTitle(QStringLiteral("Пусто"));
        const QDateTime now = QDateTime::currentDateTime();
        t.addEpisode(akira, {.size = 1073741824.0,
                             .width = 1920,
                             .height = 1080,
                             .durationMs = 7440000,
                             .sound = 0,
                             .subIn = 1,
                             .subExt = 2,
                             .update = now.addDays(-100)});
        t.addEpisode(bebop, {.size = 536870912.0,
                             .width = 640,
                             .height = 480,
                             .durationMs = 1440000,
                             .sound = 1,
                             .subIn = 2,
                             .subExt = 2,
                             .update = now.addDays(-2)});
        t.addEpisode(bebop, {.size = 536870912.0,
                             .width = 1280,
                             .height = 720,
                             .durationMs = 1440000,
                             .sound = 0,
                             .subIn = 2,
                             .subExt = 1,
                             .update = now.addDays(-50)});
        t.addEpisode(yolka, {.size = 1.0,
                             .width = 720,
                             .height = 480,
                             .durationMs = 1000,
                             .sound = 1,
                             .subIn = 2,
                             .subExt = 2,
                             .update = now.addDays(-1)});
        t.exec(QStringLiteral("UPDATE \"Серии\" SET \"Video_Codec_id\" = 1, \"Audio_Codec_id\" = 1, "
                              "\"Format_Pack_id\" = 1"));
        t.exec(QStringLiteral("UPDATE \"Серии\" SET \"Video_Codec_id\" = 2, \"Format_Pack_id\" = 2 WHERE "
                              "\"Название\" = %1 AND \"Высота\" = 480")
                   .arg(bebop));
        t.exec(QStringLiteral(
                   "INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") VALUES "
                   "(%1, 'カウボーイビバップ'), (%1, 'Ковбой Бибоп')")
                   .arg(bebop));
    }

    QList<qint64> ids(const QStringList &options) {
        const CliRun r =
            runCli(QStringList{QStringLiteral("--catalog"), t.path(), QStringLiteral("titles")} + options);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QList<qint64> out;
        for (const QString &line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            out << line.split(QLatin1Char('\t')).last().toLongLong();
        return out;
    }
};

TEST_F(FilterCli, TitlesNarrowedByEachOption) {
    const struct {
        QStringList options;
        QList<qint64> want; // in name order, as the summary lists them
    } rows[] = {
        {{}, {akira, bebop, yolka, empty}},
        {{QStringLiteral("--type"), QStringLiteral("tv")}, {bebop}},
        {{QStringLiteral("--type"), QStringLiteral("2")}, {akira}},
        {{QStringLiteral("--sound"), QStringLiteral("Русский")}, {bebop, yolka}},
        {{QStringLiteral("--sound"), QStringLiteral("0"), QStringLiteral("--min-height"),
          QStringLiteral("720")},
         {akira, bebop}},
        {{QStringLiteral("--sub-in"), QStringLiteral("1")}, {akira}},
        {{QStringLiteral("--sub-ext"), QStringLiteral("русский")}, {bebop}},
        {{QStringLiteral("--frame"), QStringLiteral("1280x720")}, {bebop}},
        {{QStringLiteral("--min-height"), QStringLiteral("1000")}, {akira}},
        {{QStringLiteral("--video-codec"), QStringLiteral("divx"), QStringLiteral("--format"),
          QStringLiteral("AVI")},
         {bebop}},
        {{QStringLiteral("--audio-codec"), QStringLiteral("1")}, {akira, bebop, yolka}},
        {{QStringLiteral("--since"), QStringLiteral("7")}, {bebop, yolka}},
        {{QStringLiteral("--since"), QStringLiteral("7"), QStringLiteral("--type"), QStringLiteral("OVA")},
         {yolka}},
        {{QStringLiteral("--empty")}, {empty}},
        {{QStringLiteral("--contains"), QStringLiteral("BEB")}, {bebop}},
        {{QStringLiteral("--search"), QStringLiteral("ел")}, {yolka}},
        {{QStringLiteral("--search"), QStringLiteral("ковб")}, {bebop}},
        {{QStringLiteral("--search"), QStringLiteral("bebop")}, {}},
        {{QStringLiteral("--search"), QStringLiteral("%")}, {}},
    };
    for (const auto &r : rows)
        EXPECT_EQ(ids(r.options), r.want) << r.options.join(QLatin1Char(' ')).toStdString();
}

TEST_F(FilterCli, AlternativeNameInJson) {
    const CliRun r =
        runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("titles"), QStringLiteral("--contains"),
                QStringLiteral("бибоп"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("Title")].toString(), QStringLiteral("Cowboy Bebop"));
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("AltName")].toString(), QStringLiteral("Ковбой Бибоп"));
}

TEST_F(FilterCli, StatsAddTheShownTotals) {
    CliRun r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("stats")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().split(QLatin1Char('\t')).size(), 4); // unchanged without options
    r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("stats"), QStringLiteral("--sound"),
                QStringLiteral("0")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList f = r.out.trimmed().split(QLatin1Char('\t'));
    ASSERT_EQ(f.size(), 8);
    EXPECT_EQ(f.mid(0, 2), (QStringList{QStringLiteral("4"), QStringLiteral("4")}));
    // Akira (1 GiB) and Bebop (two halves) pass: 2 titles, 3 files, 2 Gb.
    EXPECT_EQ(f.mid(4, 3), (QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("2 Gb")}));
    r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("stats"), QStringLiteral("--empty"),
                QStringLiteral("--json")});
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o[QStringLiteral("ShownCount")].toString(), QStringLiteral("1"));
    EXPECT_EQ(o[QStringLiteral("ShownFiles")].toString(), QStringLiteral("0"));
    EXPECT_EQ(o[QStringLiteral("LCount")].toString(), QStringLiteral("4"));
}

TEST_F(FilterCli, BadInputNamesTheOption) {
    const struct {
        const char *command, *option, *value;
    } rows[] = {
        {"titles", "--sound", "клингонский"}, {"titles", "--sub-in", "99"},
        {"titles", "--sub-ext", ""},          {"titles", "--type", "Series"},
        {"titles", "--video-codec", "HEVC"},  {"titles", "--audio-codec", "'"},
        {"titles", "--format", "OGM"},        {"titles", "--frame", "1280"},
        {"titles", "--frame", "wide"},        {"titles", "--min-height", "tall"},
        {"titles", "--since", "-3"},          {"titles", "--since", "week"},
        {"stats", "--sound", "клингонский"},  {"stats", "--since", "-1"},
    };
    for (const auto &r : rows) {
        const CliRun run = runCli({QStringLiteral("--catalog"), t.path(), QString::fromUtf8(r.command),
                                   QString::fromUtf8(r.option), QString::fromUtf8(r.value)});
        const std::string label = std::string(r.command) + " " + r.option + " " + r.value;
        EXPECT_EQ(run.status, 1) << label;
        EXPECT_TRUE(run.out.isEmpty()) << label;
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << label << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("vidoteq-cli: %1: ").arg(QString::fromUtf8(r.option))))
            << label << ": " << run.err.toStdString();
    }
    // A missing value and two name searches at once are usage errors.
    EXPECT_EQ(
        runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("titles"), QStringLiteral("--since")})
            .status,
        2);
    EXPECT_EQ(
        runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("titles"), QStringLiteral("--search"),
                QStringLiteral("a"), QStringLiteral("--contains"), QStringLiteral("b")})
            .status,
        2);
}

} // namespace
