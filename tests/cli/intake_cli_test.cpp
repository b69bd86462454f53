#include "catalog/messages.h"
#include "catalog/settings.h"
#include "cli.h"
#include "intake/filenames.h"
#include "intake/mediaprobe.h"
#include "medialib/libraryprobe.h"
#include "support/core_app.h"
#include "support/media.h"
#include "support/temp_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace vq;
using vq::test::MediaSample;
using vq::test::Sample;
using vq::test::TempCatalog;
using vq::test::testMedia;

namespace {

// The worker pool answers through an event loop, which needs an application object.
[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new vq::test::CoreApplication("test_cli"));

struct CliResult {
    int status;
    QString out, err;
};

CliResult cli(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = vq::cli::run(args, o, e);
    return {status, out, err};
}

// Episodes as "title|name|width|height|size|sound|subIn|subExt", sorted.
QStringList stored(TempCatalog &cat) {
    const QString rows =
        cat.scalar(QStringLiteral("SELECT group_concat(line, ';') FROM (SELECT \"Название\" || '|' || "
                                  "\"Серия\" || '|' || \"Ширина\" || '|' || "
                                  "\"Высота\" || '|' || CAST(\"Объём (байт)\" AS INTEGER) || '|' || \"Звук\" "
                                  "|| '|' || \"Субтитры встроенные\" "
                                  "|| '|' || \"Субтитры внешние\" AS line FROM \"Серии\" ORDER BY line)"));
    return rows.isEmpty() ? QStringList() : rows.split(u';');
}

// QFile would turn a name that is not UTF-8 into another name.
bool copyRaw(const QString &from, const QByteArray &to) {
    QFile in(from);
    FILE *out = in.open(QIODevice::ReadOnly) ? std::fopen(to.constData(), "wb") : nullptr;
    if (!out)
        return false;
    const QByteArray bytes = in.readAll();
    const bool ok = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) == size_t(bytes.size());
    return std::fclose(out) == 0 && ok;
}

QString line(qint64 title, const MediaSample &s, const char *langs = "0|1|2") {
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(title)
        .arg(s.name)
        .arg(s.width)
        .arg(s.height)
        .arg(s.sizeBytes)
        .arg(QLatin1String(langs));
}

class IntakeCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::isolateSettings();
        ASSERT_TRUE(m_dir.isValid());
    }
    QString copy(const QString &sub, std::initializer_list<Sample> which) {
        const QString dir = QDir(m_dir.path()).filePath(sub);
        QDir().mkpath(dir);
        for (Sample id : which)
            EXPECT_TRUE(QFile::copy(testMedia()[id].path, QDir(dir).filePath(testMedia()[id].name)));
        return dir;
    }
    QStringList withCatalog(const TempCatalog &cat, QStringList args) {
        return QStringList{QStringLiteral("--catalog"), cat.path()} + args;
    }
    QTemporaryDir m_dir;
};

TEST_F(IntakeCli, ProbeJsonMatchesTheMadeFiles) {
    const QList<Sample> which = {Sample::Mp4, Sample::Avi, Sample::Mov, Sample::NoAudio, Sample::NoVideo};
    QStringList args = {QStringLiteral("probe"), QStringLiteral("--json")};
    for (Sample id : which)
        args << testMedia()[id].path;
    const CliResult r = cli(args);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), which.size());
    for (int i = 0; i < which.size(); ++i) {
        const MediaSample &s = testMedia()[which[i]];
        SCOPED_TRACE(s.name.toStdString());
        const QJsonObject o = rows[i].toObject();
        EXPECT_EQ(o.value(QStringLiteral("FileName")).toString(), s.name);
        EXPECT_EQ(o.value(QStringLiteral("SizeBytes")).toInteger(), s.sizeBytes);
        EXPECT_EQ(o.value(QStringLiteral("Width")).toInt(), s.width);
        EXPECT_EQ(o.value(QStringLiteral("Height")).toInt(), s.height);
        EXPECT_EQ(o.value(QStringLiteral("AudioHz")).toInt(), s.audioHz);
        EXPECT_EQ(o.value(QStringLiteral("AudioStreamCount")).toInt(), s.audioStreams);
        EXPECT_EQ(o.value(QStringLiteral("VideoCodec")).toString(), s.videoCodec);
        EXPECT_EQ(o.value(QStringLiteral("AudioCodec")).toString(), s.audioCodec);
        EXPECT_EQ(o.value(QStringLiteral("ContainerFormat")).toString(), s.container);
        const qint64 ms = o.value(QStringLiteral("DurationMs")).toInteger();
        if (s.isMedia && s.durationMs > 0) {
            EXPECT_GE(ms, s.durationMs);
            EXPECT_LE(ms, s.durationMs + 150);
        } else {
            EXPECT_EQ(ms, 0);
        }
        if (s.audioBitrateExact) {
            EXPECT_EQ(o.value(QStringLiteral("AudioBitrate")).toInt(), s.audioBitrate);
        }
        EXPECT_EQ(o.value(QStringLiteral("ECodec")).toString(),
                  s.videoCodec + QStringLiteral(" || ") + s.audioCodec);
        EXPECT_EQ(o.value(QStringLiteral("LSCount")).toString(), QString::number(s.audioStreams));
        // The texts are the window's: the same as the page's own formatting of the same probe.
        TVVF e;
        ProbePage page;
        OpenAVI(s.name, e, page, s.folder);
        EXPECT_EQ(o.value(QStringLiteral("ELong")).toString(), page.ELong);
        EXPECT_EQ(o.value(QStringLiteral("EDSize")).toString(), page.EDSize);
        EXPECT_EQ(o.value(QStringLiteral("LRate")).toString(), page.LRate);
        EXPECT_EQ(o.value(QStringLiteral("OverallBitrate")).toInt(), e.OverallBitrate);
        EXPECT_EQ(o.value(QStringLiteral("VideoBitrate")).toInt(), e.VideoBitrate);
        EXPECT_EQ(o.keys().size(), 18);
    }

    // TSV: one line a file, the record's fields first.
    const CliResult tsv = cli({QStringLiteral("probe"), testMedia()[Sample::Mov].path});
    ASSERT_EQ(tsv.status, 0);
    const QStringList fields = tsv.out.trimmed().split(u'\t');
    ASSERT_EQ(fields.size(), 18);
    EXPECT_EQ(fields[0], testMedia()[Sample::Mov].name);
    EXPECT_EQ(fields[3], QStringLiteral("176"));
}

TEST_F(IntakeCli, MissingOrWrongArgumentsFailCleanly) {
    TempCatalog cat;
    const qint64 id = cat.addTitle(QStringLiteral("Alpha"));
    const QString dir = copy(QStringLiteral("few"), {Sample::Mkv});
    const QString missing = QDir(m_dir.path()).filePath(QStringLiteral("gone.mkv"));
    struct Case {
        const char *name;
        QStringList args;
        int status;
    } const cases[] = {
        {"probe of a missing file", {QStringLiteral("probe"), testMedia()[Sample::Mkv].path, missing}, 1},
        {"probe of a folder", {QStringLiteral("probe"), dir}, 1},
        {"add of a missing file",
         {QStringLiteral("add"), QStringLiteral("--title"), QStringLiteral("New"), dir, missing},
         1},
        {"add to an unknown title",
         {QStringLiteral("add"), QStringLiteral("--title-id"), QStringLiteral("999"), dir},
         1},
        {"add with an unknown language",
         {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(id), QStringLiteral("--sound"),
          QStringLiteral("77"), dir},
         1},
        {"both title options",
         {QStringLiteral("add"), QStringLiteral("--title"), QStringLiteral("X"), QStringLiteral("--title-id"),
          QString::number(id), dir},
         2},
        {"no title", {QStringLiteral("add"), dir}, 2},
        {"no path", {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(id)}, 2},
        {"probe without a file", {QStringLiteral("probe")}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = cli(withCatalog(cat, c.args));
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        if (c.status == 1) {
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        }
    }
    // Nothing was half done.
    EXPECT_TRUE(stored(cat).isEmpty());
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Список\"")), QStringLiteral("1"));
}

TEST_F(IntakeCli, AddFoldersAndFiles) {
    TempCatalog cat;
    const qint64 alpha = cat.addTitle(QStringLiteral("Alpha"));
    const QString dir = copy(QStringLiteral("season"), {Sample::Mkv, Sample::Avi});
    QFile note(QDir(dir).filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    // A file of the same name in another folder is probed for itself.
    const QString other = copy(QStringLiteral("other"), {Sample::Mp4});
    const QString sameName = QDir(other).filePath(testMedia()[Sample::Avi].name);
    ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mov].path, sameName));
    const QString before = QDir::currentPath();

    const CliResult r = cli(withCatalog(
        cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha), dir, sameName}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, msg::addReportStored(3, 3, QStringLiteral("Alpha"), alpha) + u'\n');
    EXPECT_EQ(QDir::currentPath(), before);
    MediaSample movAsAvi = testMedia()[Sample::Mov];
    movAsAvi.name = testMedia()[Sample::Avi].name;
    QStringList expected = {line(alpha, testMedia()[Sample::Mkv]), line(alpha, testMedia()[Sample::Avi]),
                            line(alpha, movAsAvi)};
    expected.sort();
    EXPECT_EQ(stored(cat), expected);

    // --title makes a type-4 title once and finds it the next time; languages as given. The second
    // time the file is there already and is skipped, the third time --again stores it once more.
    const QString one = testMedia()[Sample::Mp4].path;
    struct Expected {
        int stored;
        bool made;
        QStringList already;
    } const outs[] = {{1, true, {}}, {0, false, {one}}, {1, false, {}}};
    for (int run = 0; run < 3; ++run) {
        QStringList args = {QStringLiteral("add"),
                            QStringLiteral("--json"),
                            QStringLiteral("--title"),
                            QStringLiteral("Новое"),
                            QStringLiteral("--sound"),
                            QStringLiteral("1"),
                            QStringLiteral("--sub-in"),
                            QStringLiteral("2"),
                            QStringLiteral("--sub-ext"),
                            QStringLiteral("0"),
                            one};
        if (run == 2)
            args << QStringLiteral("--again");
        const CliResult t = cli(withCatalog(cat, args));
        ASSERT_EQ(t.status, 0) << t.err.toStdString();
        const QString id =
            cat.scalar(QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"Название\" = 'Новое'"));
        const QJsonObject o = QJsonDocument::fromJson(t.out.toUtf8()).object();
        EXPECT_EQ(o.value(QStringLiteral("stored")).toInt(), outs[run].stored);
        EXPECT_EQ(o.value(QStringLiteral("listed")).toInt(), 1);
        EXPECT_EQ(QString::number(o.value(QStringLiteral("titleId")).toInteger()), id);
        EXPECT_EQ(o.value(QStringLiteral("title")).toString(), QStringLiteral("Новое"));
        EXPECT_EQ(o.value(QStringLiteral("titleMade")).toBool(), outs[run].made);
        EXPECT_EQ(o.value(QStringLiteral("alreadyStored")).toVariant().toStringList(), outs[run].already);
        EXPECT_TRUE(o.value(QStringLiteral("skipped")).toArray().isEmpty());
    }
    const QString newId =
        cat.scalar(QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"Название\" = 'Новое'"));
    EXPECT_EQ(cat.scalar(QStringLiteral(
                  "SELECT count(*) || '|' || max(\"NType\") FROM \"Список\" WHERE \"Название\" = 'Новое'")),
              QStringLiteral("1|4"));
    EXPECT_EQ(cat.scalar(QStringLiteral(
                             "SELECT count(*) FROM \"Серии\" WHERE \"Название\" = %1 AND \"Звук\" = 1 AND "
                             "\"Субтитры встроенные\" = 2 AND \"Субтитры внешние\" = 0")
                             .arg(newId)),
              QStringLiteral("2"));
}

TEST_F(IntakeCli, AllEntriesGoesPastWhatIsNoFile) {
    TempCatalog cat;
    const qint64 alpha = cat.addTitle(QStringLiteral("Alpha"));
    const QString dir = copy(QStringLiteral("mixed"), {Sample::Mkv});
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("zz")));
    // The box checked: the subfolder is not listed.
    CliResult r = cli(
        withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha), dir}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(stored(cat).size(), 1);
    // Unchecked: the subfolder is listed, skipped with its reason, and the run goes on.
    const QString clip2 = QDir(dir).filePath(QStringLiteral("zzz.mkv"));
    ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mp4].path, clip2));
    r = cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha),
                              QStringLiteral("--all-entries"), dir}));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QString zz = QDir(dir).filePath(QStringLiteral("zz"));
    EXPECT_EQ(r.out,
              QStringList({msg::addReportStored(1, 3, QStringLiteral("Alpha"), alpha),
                           msg::addReportAlreadyStored(QDir(dir).filePath(testMedia()[Sample::Mkv].name)),
                           msg::addReportSkipped(msg::probeIsAFolder(zz)), QString()})
                  .join(u'\n'));
    EXPECT_EQ(stored(cat).size(), 2);
}

// A fifo or a device named among the files is no success, even beside files that are stored, and each
// entry is reported under the path it has (named relative to the caller's folder, after a folder).
TEST_F(IntakeCli, WhatIsNoFileFailsTheAddAndIsReportedWhereItIs) {
    copy(QStringLiteral("season"), {Sample::Mkv});
    const QString fifo = QDir(m_dir.path()).filePath(QStringLiteral("fifo.avi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const struct {
        QStringList paths;
        int stored;
        QString skipped;
    } cases[] = {
        {{QStringLiteral("fifo.avi")}, 0, fifo},
        {{QStringLiteral("season"), QStringLiteral("fifo.avi")}, 1, fifo},
        {{QStringLiteral("season"), QStringLiteral("/dev/null")}, 1, QStringLiteral("/dev/null")},
    };
    const QString caller = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.paths.join(' ').toStdString());
        TempCatalog cat;
        const CliResult r =
            cli(withCatalog(cat, QStringList{QStringLiteral("add"), QStringLiteral("--json"),
                                             QStringLiteral("--title"), QStringLiteral("New")} +
                                     c.paths));
        EXPECT_EQ(r.status, 1);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_EQ(o.value(QStringLiteral("stored")).toInt(), c.stored);
        const QJsonArray skipped = o.value(QStringLiteral("skipped")).toArray();
        ASSERT_EQ(skipped.size(), 1) << r.out.toStdString();
        EXPECT_EQ(skipped[0].toObject().value(QStringLiteral("file")).toString().toStdString(),
                  c.skipped.toStdString());
        EXPECT_EQ(stored(cat).size(), c.stored);
    }
    QDir::setCurrent(caller);
}

TEST_F(IntakeCli, AHangingFileIsReportedAndTheRestIsAdded) {
    TempCatalog cat;
    const qint64 alpha = cat.addTitle(QStringLiteral("Alpha"));
    const QString dir = QDir(m_dir.path()).filePath(QStringLiteral("hangs"));
    QDir().mkpath(dir);
    for (const char *name : {"01.mkv", "02 hang.mkv", "03.mkv"})
        ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, QDir(dir).filePath(QString::fromUtf8(name))));
    // The test double in place of the probe program, with a time limit of one second.
    qputenv("VIDOTEQ_PROBE",
            QFile::encodeName(
                QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double"))));
    {
        auto s = openSettings();
        s->setValue(QStringLiteral("Intake/ProbeTimeLimit"), QStringLiteral("1"));
    }
    const CliResult r =
        cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha),
                              QStringLiteral("--jobs"), QStringLiteral("2"), dir}));
    qunsetenv("VIDOTEQ_PROBE");
    openSettings()->remove(QStringLiteral("Intake/ProbeTimeLimit"));
    EXPECT_EQ(r.status, 1);
    const QString hang = QDir(dir).filePath(QStringLiteral("02 hang.mkv"));
    EXPECT_EQ(r.out, msg::addReportStored(2, 3, QStringLiteral("Alpha"), alpha) + u'\n' +
                         msg::addReportSkipped(msg::probeTimeLimit(hang, 1)) + u'\n');
    EXPECT_EQ(r.err, QStringLiteral("vidoteq-cli: ") + msg::intakeRunFailed(1, 3) + QLatin1Char('\n'));
    EXPECT_EQ(stored(cat).size(), 2);
}

TEST_F(IntakeCli, RecursiveAndNamesThatAreNotUtf8) {
    TempCatalog cat;
    const qint64 alpha = cat.addTitle(QStringLiteral("Alpha"));
    const QString dir = copy(QStringLiteral("show"), {Sample::Mkv});
    copy(QStringLiteral("show/Season 2"), {Sample::Mp4});
    // A Windows-1251 name from an old disc: "Серия.avi".
    const QByteArray raw = QFile::encodeName(dir) + "/\xD1\xE5\xF0\xE8\xFF.avi";
    ASSERT_TRUE(copyRaw(testMedia()[Sample::Avi].path, raw));
    const QString shown = QStringLiteral("Серия.avi");

    // Named directly, as a shell hands it over: its bytes.
    const CliResult p = cli({QStringLiteral("probe"), argumentText(raw)});
    ASSERT_EQ(p.status, 0) << p.err.toStdString();
    EXPECT_TRUE(p.out.startsWith(shown + QStringLiteral("\t%1\t").arg(testMedia()[Sample::Avi].sizeBytes)))
        << p.out.toStdString();

    CliResult r =
        cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha),
                              QStringLiteral("--jobs"), QStringLiteral("1"), dir}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, msg::addReportStored(2, 2, QStringLiteral("Alpha"), alpha) + u'\n');
    r = cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha),
                              QStringLiteral("--recursive"), dir}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(msg::addReportStored(1, 3, QStringLiteral("Alpha"), alpha) + u'\n'))
        << r.out.toStdString();
    MediaSample avi = testMedia()[Sample::Avi];
    avi.name = shown;
    QStringList expected = {line(alpha, testMedia()[Sample::Mkv]), line(alpha, testMedia()[Sample::Mp4]),
                            line(alpha, avi)};
    expected.sort();
    EXPECT_EQ(stored(cat), expected);

    // A folder whose own name is not UTF-8 ("Диск" in Windows-1251), named as a shell shows it.
    const QByteArray rawFolder = QFile::encodeName(dir) + "/\xC4\xE8\xF1\xEA";
    ASSERT_EQ(::mkdir(rawFolder.constData(), 0755), 0);
    ASSERT_TRUE(copyRaw(testMedia()[Sample::Mov].path, rawFolder + "/clip.mov"));
    r = cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha),
                              argumentText(rawFolder)}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, msg::addReportStored(1, 1, QStringLiteral("Alpha"), alpha) + u'\n');

    EXPECT_EQ(
        cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha),
                              QStringLiteral("--jobs"), QStringLiteral("0"), dir}))
            .status,
        2);
}

// Windows-1251 names that Qt would show alike are two files: both stored under their own names, and
// each probed for itself when named by its bytes, also where a UTF-8 name reads the same.
TEST_F(IntakeCli, NamesFromOldDiscsStayApart) {
    TempCatalog cat;
    const qint64 alpha = cat.addTitle(QStringLiteral("Alpha"));
    const QString dir = QDir(m_dir.path()).filePath(QStringLiteral("disc"));
    QDir().mkpath(dir);
    const QByteArray folder = QFile::encodeName(dir) + '/';
    const QByteArray series = folder + "\xD1\xE5\xF0\xE8\xFF 01.mkv",
                     finale = folder + "\xD4\xE8\xED\xE0\xEB 01.mkv";
    ASSERT_TRUE(copyRaw(testMedia()[Sample::Mkv].path, series));
    ASSERT_TRUE(copyRaw(testMedia()[Sample::Mkv].path, finale));
    CliResult r = cli(
        withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--title-id"), QString::number(alpha), dir}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, msg::addReportStored(2, 2, QStringLiteral("Alpha"), alpha) + u'\n');
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT group_concat(\"Серия\", '|') FROM (SELECT \"Серия\" FROM "
                                        "\"Серии\" ORDER BY 1)")),
              QStringLiteral("Серия 01.mkv|Финал 01.mkv"));

    // The UTF-8 name the first reads as, another file: each named by its bytes is probed for itself.
    const QByteArray utf8 = folder + QStringLiteral("Серия 01.mkv").toUtf8();
    ASSERT_TRUE(copyRaw(testMedia()[Sample::Mp4].path, utf8));
    r = cli({QStringLiteral("probe"), argumentText(series), argumentText(utf8), argumentText(finale)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    const qint64 mkv = testMedia()[Sample::Mkv].sizeBytes, mp4 = testMedia()[Sample::Mp4].sizeBytes;
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\\xD1\\xE5\\xF0\\xE8\\xFF 01.mkv\t%1\t").arg(mkv)));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Серия 01.mkv\t%1\t").arg(mp4)));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Финал 01.mkv\t%1\t").arg(mkv)));
    for (const QByteArray &f : {series, finale, utf8})
        ::unlink(f.constData());
}

// Nothing to add, or nothing that could be added, is a failure that leaves the catalog as it was:
// no title made for it either.
TEST_F(IntakeCli, AnAddThatStoresNothingLeavesNothing) {
    const QString noVideo = QDir(m_dir.path()).filePath(QStringLiteral("no video"));
    QDir().mkpath(noVideo);
    QFile note(QDir(noVideo).filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    const QString hangs = QDir(m_dir.path()).filePath(QStringLiteral("hangs"));
    QDir().mkpath(hangs);
    const QString hang = QDir(hangs).filePath(QStringLiteral("01 hang.mkv"));
    ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, hang));
    const QByteArray doubleProbe = QFile::encodeName(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double")));
    const QByteArray noProbe =
        QFile::encodeName(QDir(m_dir.path()).filePath(QStringLiteral("no-such-probe")));
    struct Case {
        const char *name;
        QString path;
        QByteArray probe; // empty: the real one
        QString err;      // the line on stderr, without the program's name
    } const cases[] = {
        {"a folder without video files", noVideo, {}, msg::intakeNoVideoFiles(noVideo)},
        {"every file fails to probe", hangs, doubleProbe, msg::intakeRunFailed(1, 1)},
        {"the run stops", testMedia()[Sample::Mkv].path, noProbe, {}},
    };
    {
        auto settings = openSettings();
        settings->setValue(QStringLiteral("Intake/ProbeTimeLimit"), QStringLiteral("1"));
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempCatalog cat;
        cat.addTitle(QStringLiteral("Alpha"));
        const QString codecsBefore = cat.scalar(QStringLiteral("SELECT count(*) FROM \"Codec\""));
        if (!c.probe.isEmpty())
            qputenv("VIDOTEQ_PROBE", c.probe);
        const CliResult r = cli(withCatalog(
            cat, {QStringLiteral("add"), QStringLiteral("--title"), QStringLiteral("New"), c.path}));
        qunsetenv("VIDOTEQ_PROBE");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        if (!c.err.isEmpty()) {
            EXPECT_EQ(r.err, QStringLiteral("vidoteq-cli: ") + c.err + u'\n');
        }
        if (c.probe.isEmpty()) {
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        } else {
            EXPECT_TRUE(r.out.contains(msg::addReportTitleNotMade(QStringLiteral("New"))))
                << r.out.toStdString();
        }
        EXPECT_EQ(cat.scalar(QStringLiteral("SELECT group_concat(\"Название\") FROM \"Список\"")),
                  QStringLiteral("Alpha"));
        EXPECT_TRUE(stored(cat).isEmpty());
        EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Codec\"")), codecsBefore);
    }
    openSettings()->remove(QStringLiteral("Intake/ProbeTimeLimit"));

    // A folder without video files beside one with them: the files are added, the folder named.
    TempCatalog cat;
    const QString dir = copy(QStringLiteral("season"), {Sample::Mkv});
    const CliResult r =
        cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--json"), QStringLiteral("--title"),
                              QStringLiteral("New"), noVideo, dir}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o.value(QStringLiteral("stored")).toInt(), 1);
    EXPECT_TRUE(o.value(QStringLiteral("titleMade")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("emptyFolders")).toVariant().toStringList(), QStringList{noVideo});
}

// Two adds naming one new title, started together in two processes: the title is made once and
// each file stored once (the second add waits, finds the title and the files it holds).
TEST_F(IntakeCli, TwoAddsOfOneNewTitleAtOnceMakeItOnce) {
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vidoteq-cli"));
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << program.toStdString();
    const QString dir = copy(QStringLiteral("both"), {Sample::Mkv, Sample::Mp4, Sample::Avi});
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE(attempt);
        TempCatalog cat;
        cat.addTitle(QStringLiteral("Alpha"));
        QProcess a, b;
        for (QProcess *p : {&a, &b}) {
            p->setProcessEnvironment(env);
            p->setProgram(program);
            p->setArguments({QStringLiteral("--catalog"), cat.path(), QStringLiteral("add"),
                             QStringLiteral("--title"), QStringLiteral("X"), dir});
        }
        // The test holds the write lock while both start, so that both look for the title before
        // either could have made it; each then gets the lock in turn.
        sqlite3 *holder = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(cat.path()).constData(), &holder), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        a.start();
        b.start();
        QThread::msleep(1500);
        sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        for (QProcess *p : {&a, &b}) {
            ASSERT_TRUE(p->waitForFinished(120000));
            EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        }
        EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"Название\" = 'X'")),
                  QStringLiteral("1"));
        EXPECT_EQ(
            cat.scalar(QStringLiteral("SELECT count(*) || '|' || count(DISTINCT \"Серия\") FROM \"Серии\"")),
            QStringLiteral("3|3"));
    }
}

// Each folder goes to the title its files' names propose: a title's own name or another name
// matched however it is written, else a new title of that name; names that give none fail the
// add and are reported.
TEST_F(IntakeCli, GuessTitleFilesEachFolderUnderTheTitleItsNamesGive) {
    TempCatalog cat;
    const qint64 steins = cat.addTitle(QStringLiteral("Steins;Gate 0"));
    const qint64 mob = cat.addTitle(QStringLiteral("Моб Психо"));
    cat.exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") "
                            "VALUES (%1, 'Mob Psycho 100')")
                 .arg(mob));
    struct Folder {
        const char *folder, *file;
    };
    const Folder folders[] = {
        {"a", "[Grp] STEINS GATE 0 - 01 [1080p].mkv"},
        {"b", "Mob_Psycho_100_-_03_[720p].mkv"},
        {"c", "[Grp] Brand New Show - 02v2.mkv"},
        {"Ёлки Season 2", "01.mkv"},
    };
    QStringList args{QStringLiteral("add"), QStringLiteral("--guess-title")};
    for (const Folder &f : folders) {
        const QString dir = QDir(m_dir.path()).filePath(QString::fromUtf8(f.folder));
        QDir().mkpath(dir);
        ASSERT_TRUE(
            QFile::copy(testMedia()[Sample::Mkv].path, QDir(dir).filePath(QString::fromUtf8(f.file))));
        args << dir;
    }
    const CliResult r = cli(withCatalog(cat, args));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString made =
        cat.scalar(QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"Название\" = 'Brand New Show'"));
    const QString yolki =
        cat.scalar(QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"Название\" = 'Ёлки'"));
    ASSERT_FALSE(made.isEmpty());
    ASSERT_FALSE(yolki.isEmpty());
    const QDir root(m_dir.path());
    for (const QString &expected :
         {msg::guessFiledUnder(root.filePath(QStringLiteral("a")), QStringLiteral("Steins;Gate 0"), steins,
                               {}),
          msg::guessFiledUnder(root.filePath(QStringLiteral("b")), QStringLiteral("Моб Психо"), mob,
                               QStringLiteral("Mob Psycho 100")),
          msg::guessFiledUnder(root.filePath(QStringLiteral("c")), QStringLiteral("Brand New Show"),
                               made.toLongLong(), {}),
          msg::guessFiledUnder(root.filePath(QStringLiteral("Ёлки Season 2")), QStringLiteral("Ёлки"),
                               yolki.toLongLong(), {})})
        EXPECT_TRUE(r.out.contains(expected + u'\n')) << expected.toStdString() << "\n"
                                                      << r.out.toStdString();
    EXPECT_EQ(
        cat.scalar(QStringLiteral("SELECT group_concat(\"Название\", ',') FROM (SELECT \"Название\" FROM "
                                  "\"Серии\" ORDER BY \"Название\")")),
        QStringLiteral("%1,%2,%3,%4").arg(steins).arg(mob).arg(made, yolki));

    // A folder whose names give no title is reported; the others are still added.
    const QString bare = QDir(m_dir.path()).filePath(QStringLiteral("Specials/Season 2"));
    QDir().mkpath(bare);
    ASSERT_TRUE(QFile::copy(testMedia()[Sample::Avi].path, QDir(bare).filePath(QStringLiteral("03.avi"))));
    const CliResult none =
        cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--guess-title"), bare}));
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains(msg::guessNoTitle(bare))) << none.err.toStdString();
    const CliResult both = cli(withCatalog(cat, {QStringLiteral("add"), QStringLiteral("--guess-title"),
                                                 QStringLiteral("--title"), QStringLiteral("A"), bare}));
    EXPECT_EQ(both.status, 2);
}

} // namespace
