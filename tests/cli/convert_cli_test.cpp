#include "catalog/messages.h"
#include "cli.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vq;

namespace {

struct ConvertRun {
    int status;
    QString out, err;
};

ConvertRun convertCli(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = cli::run(QStringList{QStringLiteral("convert")} + args, o, e);
    return {status, out, err};
}

} // namespace

// The new catalog's path on standard output; what came over and every repair, with its counts,
// on standard error; the new file opens as a catalog.
TEST(ConvertCli, ConvertsAndReportsTheRepairs) {
    test::isolateSettings();
    QTemporaryDir dir;
    const QString in = QStringLiteral(VQ_LEGACY_DIR "/small.mdb");
    const QString out = dir.filePath(QStringLiteral("new.vdq"));
    const ConvertRun r = convertCli({in, out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QFileInfo(out).absoluteFilePath() + QLatin1Char('\n'));
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << r.err.toStdString();
    EXPECT_EQ(lines[0], msg::mdbSummary(32, 206, 12, 5, 11, 10, 5));
    EXPECT_EQ(lines[1], msg::mdbRepairOrphans(17, 3, 1, msg::mdbOrphanTitleName(17)));
    EXPECT_TRUE(lines.contains(msg::mdbRepairLanguage(11, 1, msg::mdbPlaceholderLanguage(11))));

    // The catalog the tool made is one the tool reads: the old totals, the new title among the rest.
    QString statsOut, statsErr;
    QTextStream so(&statsOut), se(&statsErr);
    ASSERT_EQ(cli::run({QStringLiteral("--catalog"), out, QStringLiteral("stats"), QStringLiteral("--json")},
                       so, se),
              0)
        << statsErr.toStdString();
    EXPECT_TRUE(statsOut.contains(QStringLiteral("\"LCount\": \"32\""))) << statsOut.toStdString();
    EXPECT_TRUE(statsOut.contains(QStringLiteral("\"LCE\": \"206\""))) << statsOut.toStdString();
}

// Refusals are one line on standard error with status 1, and leave no file; a wrong call is a
// usage error.
TEST(ConvertCli, RefusesWithOneLine) {
    test::isolateSettings();
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("list.mdb"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Akira\t1\n");
    }
    const QString taken = dir.filePath(QStringLiteral("taken.vdq"));
    QFile::copy(text, taken);
    const QString in = QStringLiteral(VQ_LEGACY_DIR "/small.mdb");
    struct Case {
        QStringList args;
        QString named; // the file the message names
    };
    const std::vector<Case> cases = {
        {{text, dir.filePath(QStringLiteral("a.vdq"))}, text},
        {{dir.filePath(QStringLiteral("missing.mdb")), dir.filePath(QStringLiteral("b.vdq"))},
         dir.filePath(QStringLiteral("missing.mdb"))},
        {{in, taken}, taken},
    };
    for (const Case &c : cases) {
        const ConvertRun r = convertCli(c.args);
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
    EXPECT_EQ(convertCli({in}).status, 2);
}
