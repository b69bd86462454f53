// The tool's command-line conventions: help and version on stdout, --opt=value, "--", Russian usage.
#include "cli.h"
#include "support/cli_run.h"
#include "support/temp_catalog.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using vq::test::CliRun;
using vq::test::runCli;

namespace {

TEST(ConventionsCli, HelpVersionAndUsageErrors) {
    vq::test::isolateSettings();
    const struct {
        QStringList args;
        int status;
        const char *outHas; // stdout holds this (nullptr: stdout is empty)
        const char *errHas; // stderr holds this (nullptr: stderr is empty)
    } cases[] = {
        {{"--help"}, 0, "alt-names --title-id ID", nullptr},
        {{"-h"}, 0, "export-html OUT", nullptr},
        {{"titles", "--help"}, 0, "titles", nullptr},
        {{"--version"}, 0, "vidoteq-cli ", nullptr},
        {{}, 2, nullptr, "не указана команда"},
        {{"frobnicate"}, 2, nullptr, "неизвестная команда frobnicate"},
        {{"--catalog"}, 2, nullptr, "параметру --catalog нужно значение"},
        {{"--bogus", "titles"}, 2, nullptr, "неизвестный параметр --bogus"},
        {{"parse", "--json=yes", "a.mkv"}, 2, nullptr, "параметр --json не принимает значения"},
        {{"parse", "--bogus=1", "a.mkv"}, 2, nullptr, "неизвестный параметр --bogus\n"},
        {{"parse"}, 2, nullptr, "неверное число аргументов"},
    };
    for (const auto &c : cases) {
        const std::string trace = c.args.join(u' ').toStdString();
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << trace;
        if (c.outHas)
            EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.outHas))) << trace << "\n" << r.out.toStdString();
        else
            EXPECT_TRUE(r.out.isEmpty()) << trace << "\n" << r.out.toStdString();
        if (c.errHas)
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errHas))) << trace << "\n" << r.err.toStdString();
        else
            EXPECT_TRUE(r.err.isEmpty()) << trace << "\n" << r.err.toStdString();
    }
    EXPECT_EQ(runCli({QStringLiteral("--version")}).out, vq::cli::versionText() + u'\n');
    EXPECT_TRUE(
        vq::cli::versionText().contains(QRegularExpression(QStringLiteral("^vidoteq-cli \\d+\\.\\d+"))));
}

TEST(ConventionsCli, OptionsWithEqualsAndTheEndOfOptions) {
    vq::test::isolateSettings();
    vq::test::TempCatalog t;
    const qint64 id = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(id, {.name = QStringLiteral("Akira.mkv"), .size = 1e6});
    const QString cat = t.path();
    const QString idText = QString::number(id);
    // Each pair must print the same: the spaced form and the "=" form, before or after the command.
    const struct {
        QStringList spaced, joined;
    } pairs[] = {
        {{"--catalog", cat, "titles"}, {"--catalog=" + cat, "titles"}},
        {{"--catalog", cat, "episodes", "--title-id", idText},
         {"episodes", "--catalog=" + cat, "--title-id=" + idText}},
        {{"--catalog", cat, "titles", "--search", "Ak"}, {"--catalog=" + cat, "titles", "--search=Ak"}},
        {{"--catalog", cat, "titles", "--search", "=x"}, {"--catalog=" + cat, "titles", "--search==x"}},
    };
    for (const auto &p : pairs) {
        const CliRun a = runCli(p.spaced), b = runCli(p.joined);
        EXPECT_EQ(a.status, 0) << a.err.toStdString();
        EXPECT_EQ(a.out, b.out) << p.joined.join(u' ').toStdString() << "\n" << b.err.toStdString();
        EXPECT_EQ(a.status, b.status);
    }
    EXPECT_TRUE(
        runCli({"--catalog", cat, "titles", "--search", "Ak"}).out.startsWith(QStringLiteral("Akira\t")));

    // After "--" a word that looks like an option is a name.
    CliRun r = runCli({"parse", "--", "--json", "-h"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("--json"))) << r.out.toStdString();
    EXPECT_FALSE(r.out.trimmed().startsWith(u'[')) << "not JSON: --json came after --";
    r = runCli({"parse", "--json", "--", "--help"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.trimmed().startsWith(u'[')) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"--help\""))) << r.out.toStdString();
}

TEST(ConventionsCli, TheProgramPrintsHelpOnStdoutAndSucceeds) {
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vidoteq-cli");
    for (const char *arg : {"--help", "-h", "--version"}) {
        QProcess p;
        p.start(tool, {QString::fromLatin1(arg)});
        ASSERT_TRUE(p.waitForFinished(30000)) << arg;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << arg;
        EXPECT_EQ(p.exitCode(), 0) << arg;
        EXPECT_FALSE(p.readAllStandardOutput().isEmpty()) << arg;
        EXPECT_TRUE(p.readAllStandardError().isEmpty()) << arg;
    }
}

} // namespace
