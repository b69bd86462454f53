// The tool's parse: what the release-name reader makes of names, with no catalog at all.
#include "cli.h"
#include "support/cli_run.h"
#include "support/temp_catalog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vq::test::CliRun;
using vq::test::runCli;

namespace {

QJsonObject fields(const QStringList &values) {
    static const char *const keys[] = {"Name",    "Title", "Episode",    "Season",      "Kind",
                                       "Version", "Group", "Resolution", "VideoTerms",  "AudioTerms",
                                       "Source",  "Year",  "CRC32",      "EpisodeTitle"};
    QJsonObject o;
    for (int i = 0; i < values.size(); ++i)
        o.insert(QLatin1String(keys[i]), values[i]);
    return o;
}

TEST(ParseCli, JsonGivesEveryFieldOfEachNameWithoutACatalog) {
    vq::test::isolateSettings();
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.vdq"));
    const QString a =
        QStringLiteral("[Judas] Mob Psycho 100 S2 - 03v2 [BD 1080p][HEVC x265 10bit FLAC][ABCD1234].mkv");
    const QString b =
        QStringLiteral("Cowboy.Bebop.1998.S01E05.Ballad.of.Fallen.Angels.720p.BluRay.AAC2.0.x264-GRP");
    const CliRun r = runCli(
        {QStringLiteral("--catalog"), missing, QStringLiteral("parse"), a, QStringLiteral("--json"), b});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 2) << r.out.toStdString();
    EXPECT_EQ(rows[0].toObject(), fields({a, "Mob Psycho 100", "03", "2", "episode", "2", "Judas", "1080p",
                                          "HEVC x265 10bit", "FLAC", "BD", "", "ABCD1234", ""}));
    EXPECT_EQ(rows[1].toObject(), fields({b, "Cowboy Bebop", "05", "1", "episode", "", "GRP", "720p", "x264",
                                          "AAC2.0", "BD", "1998", "", "Ballad of Fallen Angels"}));
    EXPECT_FALSE(QFile::exists(missing)); // nothing opened, nothing made
}

TEST(ParseCli, TsvIsOneLinePerNameInTheSameOrder) {
    vq::test::isolateSettings();
    const CliRun r = runCli(
        {QStringLiteral("parse"), QStringLiteral("Title - NCOP 2.mkv"), QStringLiteral("Akira (1988)")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Title - NCOP 2.mkv\tTitle\t2\t\topening\t\t\t\t\t\t\t\t\t\n"
                                    "Akira (1988)\tAkira\t\t\t\t\t\t\t\t\t\t1988\t\t\n"));
}

TEST(ParseCli, NeedsAName) {
    EXPECT_EQ(runCli({QStringLiteral("parse")}).status, 2);
    EXPECT_EQ(runCli({QStringLiteral("parse"), QStringLiteral("--yaml"), QStringLiteral("Title")}).status, 2);
}

} // namespace
