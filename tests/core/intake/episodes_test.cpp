#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "intake/episodes.h"
#include "intake/intakerun.h"
#include "intake/probepool.h"
#include "medialib/libraryprobe.h"
#include "print.h"
#include "support/media.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using vq::test::Sample;
using vq::test::testMedia;

namespace {

class CatalogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("intake.vdq"));
        vq::Catalog::createStarter(m_path);
        m_session.open(m_path);
        m_title = addTitle(QStringLiteral("Тетрадь смерти"));
        addTitle(QStringLiteral("Other"));
        // The title page narrows the episodes to the chosen title.
        m_session.Series.setFilter(vq::Filter::equals(QStringLiteral("Название"), m_title));
        m_session.Series.setFiltered(true);
    }

    qint32 addTitle(const QString &name) {
        vq::DataSet &t = m_session.Name;
        t.append();
        t.setValue(QStringLiteral("Название"), name);
        t.setValue(QStringLiteral("NType"), 4);
        t.post();
        return qint32(t.asInteger(QStringLiteral("ID")));
    }

    // Rows as the file holds them, read through a connection of their own.
    struct Stored {
        QList<QVariantMap> episodes;
        QMap<qint64, QString> codecs, formats;
    };
    Stored readBack() const {
        vq::CatalogSession other;
        other.open(m_path);
        Stored s;
        for (vq::DataSet *lookup : {&other.Codec, &other.Format_f}) {
            lookup->open();
            for (lookup->first(); !lookup->eof(); lookup->next())
                (lookup == &other.Codec ? s.codecs : s.formats)
                    .insert(lookup->asInteger(QStringLiteral("ID")),
                            lookup->asString(QStringLiteral("Name")));
        }
        other.Series.setSort(QString()); // by key: the order they were stored in
        for (other.Series.first(); !other.Series.eof(); other.Series.next()) {
            QVariantMap row;
            for (int f = 0; f < other.Series.fieldCount(); ++f)
                row.insert(other.Series.fieldName(f), other.Series.value(f));
            s.episodes.append(row);
        }
        return s;
    }

    static vq::StoreChoice languages() {
        vq::StoreChoice c;
        c.soundId = 0;
        c.subInId = 1;
        c.subExtId = 2;
        return c;
    }

    QTemporaryDir m_dir;
    QString m_path;
    vq::CatalogSession m_session;
    qint32 m_title = 0;
};

using GiveIDt = CatalogFixture;

TEST_F(GiveIDt, OneRowPerNameWhateverItsCaseOrCharacters) {
    vq::DataSet &codecs = m_session.Codec;
    codecs.open();
    ASSERT_EQ(codecs.recordCount(), 0);

    struct Step {
        const char *name;
        int sameAs; // index of the earlier step whose row it must reuse; -1: a new row
    };
    const Step steps[] = {
        {"AVC", -1},        // 0: first row of an empty table
        {"avc", 0},         // 1
        {"AAC LC", -1},     // 2: a longer name is another name
        {"AAC", -1},        // 3
        {"n/a", -1},        // 4
        {"Don't", -1},      // 5: an apostrophe is just a character
        {"DON'T", 5},       // 6
        {"a%b", -1},        // 7: % and _ match only themselves
        {"axxb", -1},       // 8
        {"_", -1},          // 9
        {"x", -1},          // 10
        {"%", -1},          // 11
        {"Видеокодек", -1}, // 12
        {"ВИДЕОКОДЕК", 12}, // 13
        {"AAC LC", 2},      // 14
    };
    QList<qint32> ids;
    int rows = 0;
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        const qint32 id = vq::GiveIDt(QString::fromUtf8(s.name), codecs);
        ids.append(id);
        if (s.sameAs < 0) {
            ++rows;
            EXPECT_FALSE(ids.mid(0, ids.size() - 1).contains(id));
        } else {
            EXPECT_EQ(id, ids[s.sameAs]);
        }
        codecs.setFiltered(false);
        EXPECT_EQ(codecs.recordCount(), rows);
    }
    // Stored as given, found again by a fresh reader.
    const Stored stored = readBack();
    EXPECT_EQ(stored.codecs.value(ids[5]), QStringLiteral("Don't"));
    EXPECT_EQ(stored.codecs.value(ids[7]), QStringLiteral("a%b"));
    EXPECT_EQ(stored.codecs.value(ids[12]), QString::fromUtf8("Видеокодек"));
    EXPECT_EQ(stored.codecs.size(), rows);
}

using AddToBase = CatalogFixture;

TEST_F(AddToBase, StoresEveryFieldOfTheProbe) {
    vq::TVVF episode;
    vq::ProbePage page;
    episode.TitleId = m_title;
    QList<Sample> ids{Sample::Avi, Sample::Mkv, Sample::NoVideo, Sample::Mp4, Sample::Huge};
    QList<vq::TVVF> probed;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    for (Sample id : ids) {
        const vq::test::MediaSample &s = testMedia()[id];
        vq::OpenAVI(s.name, episode, page, s.folder);
        vq::AddToBase(m_session, episode, languages());
        probed.append(episode);
    }
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    const Stored stored = readBack();
    ASSERT_EQ(stored.episodes.size(), ids.size());
    for (int i = 0; i < ids.size(); ++i) {
        const vq::test::MediaSample &s = testMedia()[ids[i]];
        const vq::TVVF &e = probed[i];
        const QVariantMap &row = stored.episodes[i];
        SCOPED_TRACE(s.name.toStdString());
        EXPECT_EQ(row[QStringLiteral("Название")].toLongLong(), m_title);
        EXPECT_EQ(row[QStringLiteral("Серия")].toString(), s.name);
        EXPECT_EQ(row[QStringLiteral("Объём (байт)")].toDouble(), double(s.sizeBytes));
        EXPECT_EQ(row[QStringLiteral("Ширина")].toInt(), s.width);
        EXPECT_EQ(row[QStringLiteral("Высота")].toInt(), s.height);
        EXPECT_EQ(row[QStringLiteral("Звук")].toInt(), 0);
        EXPECT_EQ(row[QStringLiteral("Субтитры встроенные")].toInt(), 1);
        EXPECT_EQ(row[QStringLiteral("Субтитры внешние")].toInt(), 2);
        EXPECT_GE(row[QStringLiteral("Длительность")].toLongLong(), s.durationMs);
        EXPECT_LE(row[QStringLiteral("Длительность")].toLongLong(), s.durationMs + 150);
        EXPECT_EQ(row[QStringLiteral("O_Bitrate")].toInt(), e.OverallBitrate);
        EXPECT_EQ(row[QStringLiteral("V_Bitrate")].toInt(), e.VideoBitrate);
        EXPECT_EQ(row[QStringLiteral("A_Bitrate")].toInt(), e.AudioBitrate);
        if (s.audioBitrateExact) {
            EXPECT_EQ(row[QStringLiteral("A_Bitrate")].toInt(), s.audioBitrate);
        }
        EXPECT_EQ(row[QStringLiteral("A_Hz")].toInt(), s.audioHz);
        EXPECT_EQ(row[QStringLiteral("Audio_Stream_Count")].toInt(), s.audioStreams);
        EXPECT_EQ(stored.codecs.value(row[QStringLiteral("Video_Codec_id")].toLongLong()), s.videoCodec);
        EXPECT_EQ(stored.codecs.value(row[QStringLiteral("Audio_Codec_id")].toLongLong()), s.audioCodec);
        EXPECT_EQ(stored.formats.value(row[QStringLiteral("Format_Pack_id")].toLongLong()), s.container);
        const QDateTime update = row[QStringLiteral("Update")].toDateTime();
        EXPECT_GE(update, before);
        EXPECT_LE(update, after);
    }
    // Huge is Mkv padded: the same names, no new rows for them.
    EXPECT_EQ(stored.formats.size(), 3); // AVI, Matroska, MPEG-4
    EXPECT_EQ(stored.codecs.size(),
              7); // FMP4, MPEG-1 Audio layer 3, V_MPEG4/ISO/AVC, AAC LC, n/a, MPEG-2.5 ..., AVC

    // The page's episode grid shows the title's episodes, the new one last.
    EXPECT_TRUE(m_session.Series.isFiltered());
    EXPECT_EQ(m_session.Series.recordCount(), ids.size());
    EXPECT_EQ(m_session.Series.recNo(), m_session.Series.recordCount());
}

TEST_F(AddToBase, KeepsWhatTheFileNameSays) {
    struct Case {
        const char *name, *stored; // number, last, kind, version, group
    };
    const Case cases[] = {
        {"[Grp] Show - 03v2 [ABCD1234].mkv", "3|3|1|2|Grp"},
        {"Show - 01-02.mkv", "1|2|1||"},
        {"Show - NCED 2.mkv", "2|2|6||"},
        {"readme.mkv", "||0||"},
    };
    for (const Case &c : cases) {
        vq::TVVF episode;
        episode.TitleId = m_title;
        episode.FileName = QString::fromUtf8(c.name);
        vq::AddToBase(m_session, episode, languages());
    }
    const Stored stored = readBack();
    ASSERT_EQ(stored.episodes.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QVariantMap &row = stored.episodes[qsizetype(i)];
        QStringList got;
        for (const char *column : {"Number", "Number_last", "Kind", "Version", "Release_group"})
            got << row[QString::fromUtf8(column)].toString();
        EXPECT_EQ(got.join(QLatin1Char('|')), QString::fromUtf8(cases[i].stored)) << cases[i].name;
    }
}

TEST_F(AddToBase, TypedFrameSizeCountsOnlyWithTheBoxUnchecked) {
    const vq::test::MediaSample &s = testMedia()[Sample::Avi];
    vq::TVVF episode;
    vq::ProbePage page;
    episode.TitleId = m_title;
    vq::OpenAVI(s.name, episode, page, s.folder);

    vq::StoreChoice typed = languages();
    typed.widthText = QStringLiteral("720");
    typed.heightText = QStringLiteral(" 400 ");
    vq::AddToBase(m_session, episode, typed); // box checked: the probe's size
    typed.videoOnly = false;
    vq::AddToBase(m_session, episode, typed);

    const Stored stored = readBack();
    ASSERT_EQ(stored.episodes.size(), 2);
    EXPECT_EQ(stored.episodes[0][QStringLiteral("Ширина")].toInt(), 320);
    EXPECT_EQ(stored.episodes[0][QStringLiteral("Высота")].toInt(), 240);
    EXPECT_EQ(stored.episodes[1][QStringLiteral("Ширина")].toInt(), 720);
    EXPECT_EQ(stored.episodes[1][QStringLiteral("Высота")].toInt(), 400);
}

TEST_F(AddToBase, RefusedInputWritesNothing) {
    const vq::test::MediaSample &s = testMedia()[Sample::Mov];
    vq::TVVF episode;
    vq::ProbePage page;
    episode.TitleId = m_title;
    vq::OpenAVI(s.name, episode, page, s.folder);

    struct Case {
        const char *what;
        vq::StoreChoice choice;
        qint32 titleId;
        QString message; // empty: only that it fails
    };
    vq::StoreChoice noSound = languages(), noSubExt = languages(), badWidth = languages(),
                    badHeight = languages();
    noSound.soundId.reset();
    noSubExt.subExtId.reset();
    badWidth.videoOnly = badHeight.videoOnly = false;
    badWidth.widthText = QStringLiteral("72O");
    badWidth.heightText = QStringLiteral("400");
    badHeight.widthText = QStringLiteral("720");
    badHeight.heightText = QString();
    const QString nullToInt = QStringLiteral("Не выбран язык звука или субтитров.");
    const Case cases[] = {
        {"no sound language", noSound, m_title, nullToInt},
        {"no external subtitle language", noSubExt, m_title, nullToInt},
        {"typed width not a number", badWidth, m_title, QStringLiteral("'72O' не является целым числом")},
        {"typed height empty", badHeight, m_title, QStringLiteral("'' не является целым числом")},
        {"title that is not in the catalog", languages(), 999999, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        episode.TitleId = c.titleId;
        try {
            vq::AddToBase(m_session, episode, c.choice);
            ADD_FAILURE() << "stored";
        } catch (const vq::Error &e) {
            if (!c.message.isEmpty()) {
                EXPECT_EQ(e.message(), c.message);
            }
        }
        EXPECT_EQ(episode.Width, 176); // a refused typed size is not taken
        EXPECT_EQ(m_session.Series.state(), vq::DataSet::Browse);
    }
    const Stored stored = readBack();
    EXPECT_TRUE(stored.episodes.isEmpty());
    EXPECT_TRUE(stored.codecs.isEmpty()); // the codec names went with the refused row
    EXPECT_TRUE(stored.formats.isEmpty());

    // And the data sets still work.
    episode.TitleId = m_title;
    vq::AddToBase(m_session, episode, languages());
    EXPECT_EQ(readBack().episodes.size(), 1);
}

class AddAll : public CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        ASSERT_TRUE(m_files.isValid());
        for (Sample id : {Sample::Mkv, Sample::Mov, Sample::Ogm}) {
            const vq::test::MediaSample &s = testMedia()[id];
            ASSERT_TRUE(QFile::copy(s.path, m_files.filePath(s.name)));
            m_entries.append(entry(s.name));
        }
    }
    vq::ListedFile entry(const QString &name) const {
        return {name, QFile::encodeName(m_files.filePath(name))};
    }
    // Runs to the end; the positions of the progress bar go into `progress`.
    vq::IntakeReport run(const QList<vq::ListedFile> &entries, const vq::TVVF &episode,
                         vq::RunSettings settings, QList<std::pair<int, int>> *progress = nullptr) {
        vq::IntakeRun r(m_session, m_pool, entries, episode, settings);
        QObject::connect(&r, &vq::IntakeRun::progress, [&](int pos, int max) {
            if (progress)
                progress->append({pos, max});
        });
        const vq::IntakeReport report = vq::runToEnd(r);
        m_last = r.lastEpisode();
        return report;
    }
    vq::RunSettings settings(bool firstIsShown = false) const {
        vq::RunSettings s;
        s.choice = languages();
        s.firstIsShown = firstIsShown;
        return s;
    }
    vq::TVVF forTitle(qint32 title) const {
        vq::TVVF e;
        e.TitleId = title;
        return e;
    }
    QStringList storedNames() const {
        QStringList names;
        for (const QVariantMap &row : readBack().episodes)
            names << row[QStringLiteral("Серия")].toString();
        return names;
    }

    QTemporaryDir m_files;
    QList<vq::ListedFile> m_entries; // clip.mkv, clip.mov, clip.ogm: the order the list shows them in
    vq::ProbePool m_pool;
    vq::TVVF m_last;
};

TEST_F(AddAll, ShownFirstFileIsStoredAsShownAndTheRestAsProbed) {
    vq::TVVF episode = forTitle(m_title);
    vq::ProbePage page;
    vq::OpenAVI(m_entries[0].shown, episode, page, m_files.path());
    // The user typed a frame size for the shown file with the box unchecked.
    vq::RunSettings s = settings(true);
    s.choice.videoOnly = false;
    s.choice.widthText = QStringLiteral("720");
    s.choice.heightText = QStringLiteral("576");

    QList<std::pair<int, int>> progress;
    const vq::IntakeReport r = run(m_entries, episode, s, &progress);
    EXPECT_TRUE(r.problems.isEmpty()) << r.summaryText().toStdString();
    EXPECT_EQ(r.stored, 3);
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(m_last.FileName, m_entries[2].shown);

    const Stored stored = readBack();
    ASSERT_EQ(stored.episodes.size(), 3);
    const int widths[] = {720, 176, 320}, heights[] = {576, 144, 240};
    for (int i = 0; i < 3; ++i) {
        const QVariantMap &row = stored.episodes[i];
        EXPECT_EQ(row[QStringLiteral("Серия")].toString(), m_entries[i].shown);
        EXPECT_EQ(row[QStringLiteral("Название")].toLongLong(), m_title);
        EXPECT_EQ(row[QStringLiteral("Звук")].toInt(), 0);
        EXPECT_EQ(row[QStringLiteral("Субтитры встроенные")].toInt(), 1);
        EXPECT_EQ(row[QStringLiteral("Субтитры внешние")].toInt(), 2);
        EXPECT_EQ(row[QStringLiteral("Ширина")].toInt(), widths[i]);
        EXPECT_EQ(row[QStringLiteral("Высота")].toInt(), heights[i]);
    }
}

TEST_F(AddAll, FirstFileIsProbedWhenAnotherOneIsShown) {
    const vq::test::MediaSample &shown = testMedia()[Sample::Avi];
    vq::TVVF episode = forTitle(m_title);
    vq::ProbePage page;
    vq::OpenAVI(shown.name, episode, page, shown.folder);
    const vq::IntakeReport r = run(m_entries, episode, settings(false));
    EXPECT_EQ(r.stored, 3);
    const Stored stored = readBack();
    ASSERT_EQ(stored.episodes.size(), 3);
    EXPECT_EQ(stored.episodes[0][QStringLiteral("Серия")].toString(), m_entries[0].shown);
    EXPECT_EQ(stored.formats.value(stored.episodes[0][QStringLiteral("Format_Pack_id")].toLongLong()),
              QStringLiteral("Matroska"));
}

TEST_F(AddAll, ManyQuickAnswersAreStoredInListOrderWithTheirTotals) {
    // Quick answers are stored several to a transaction: what each row is, and what the run counts,
    // must not depend on which rows went together.
    const vq::test::MediaSample &clip = testMedia()[Sample::Mkv];
    QList<vq::ListedFile> entries;
    QStringList expected;
    for (int i = 1; i <= 40; ++i) {
        const QString name = QStringLiteral("ep %1.mkv").arg(i, 2, 10, QLatin1Char('0'));
        if (i == 20) {
            ASSERT_TRUE(QDir(m_files.path()).mkdir(name));
        } else {
            ASSERT_TRUE(QFile::copy(clip.path, m_files.filePath(name)));
            expected << name;
        }
        entries << entry(name);
        if (i == 30)
            entries << entry(name); // listed twice: the second is already stored
    }
    auto titleSize = [&](vq::DataSet &sums) {
        if (!sums.isOpen())
            sums.open();
        for (sums.first(); !sums.eof(); sums.next())
            if (sums.asInteger(QStringLiteral("ID")) == m_title)
                return sums.asFloat(QStringLiteral("Sum-Объём(байт)"));
        return -1.0;
    };
    EXPECT_EQ(titleSize(m_session.RJk), -1.0); // no episodes, no sums: read before the run

    QList<std::pair<int, int>> progress;
    const vq::IntakeReport r = run(entries, forTitle(m_title), settings(), &progress);
    const int n = int(entries.size());
    EXPECT_EQ(r.stored, 39);
    EXPECT_EQ(r.skippedTwice, QStringList{QStringLiteral("ep 30.mkv")});
    ASSERT_EQ(r.problems.size(), 1);
    EXPECT_EQ(r.problems[0].entry, QStringLiteral("ep 20.mkv"));
    QList<std::pair<int, int>> positions;
    for (int k = 0; k < n; ++k)
        positions.append({k, n - 1});
    EXPECT_EQ(progress, positions);
    EXPECT_EQ(storedNames(), expected);
    EXPECT_EQ(m_last.FileName, QStringLiteral("ep 40.mkv"));

    // The title's page shows every stored row and stands on the last one.
    vq::DataSet &series = m_session.Series;
    EXPECT_EQ(series.recordCount(), 39);
    EXPECT_EQ(series.asString(QStringLiteral("Серия")), QStringLiteral("ep 40.mkv"));
    // The sums this session kept up to date agree with the file's.
    const double size = double(QFileInfo(clip.path).size());
    EXPECT_EQ(titleSize(m_session.RJk), 39 * size);
    vq::CatalogSession other;
    other.open(m_path);
    EXPECT_EQ(titleSize(other.RJk), 39 * size);
}

TEST_F(AddAll, RowsWhoseTransactionIsRefusedAreNotCounted) {
    // The title goes once the run has started, and the check of the rows' title is left to the commit:
    // the rows are written, then refused together. None of them may be reported as stored.
    vq::IntakeRun r(m_session, m_pool, m_entries, forTitle(m_title), settings());
    QObject::connect(&r, &vq::IntakeRun::progress, [&](int position, int) {
        if (position != 0)
            return;
        // Once the run has found the title, before it stores anything.
        QTimer::singleShot(0, [&] {
            m_session.catalog().exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = %1").arg(m_title));
            m_session.catalog().exec(QStringLiteral("PRAGMA defer_foreign_keys = ON"));
        });
    });
    const vq::IntakeReport report = vq::runToEnd(r);
    EXPECT_EQ(report.stored, 0);
    EXPECT_FALSE(r.storedAny());
    ASSERT_EQ(report.problems.size(), 3) << report.summaryText().toStdString();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(report.problems[i].message.startsWith(vq::msg::intakeNotStored(m_entries[i].shown, {})))
            << report.problems[i].message.toStdString();
    EXPECT_TRUE(readBack().episodes.isEmpty());
}

TEST_F(AddAll, WhatCannotBeStoredIsReportedAndTheRunGoesOn) {
    ASSERT_TRUE(QDir(m_files.path()).mkdir(QStringLiteral("sub.mkv")));
    ASSERT_TRUE(QFile::link(m_files.path(), m_files.filePath(QStringLiteral("link.mkv"))));
    QList<vq::ListedFile> entries = m_entries;
    entries.insert(1, entry(QStringLiteral("gone.mkv"))); // listed, then deleted before the run
    entries.insert(3, entry(QStringLiteral("sub.mkv")));
    entries.append(entry(QStringLiteral("link.mkv")));
    QList<std::pair<int, int>> progress;
    const vq::IntakeReport r = run(entries, forTitle(m_title), settings(), &progress);
    EXPECT_EQ(r.stored, 3);
    EXPECT_EQ(r.listed, 6);
    EXPECT_EQ(progress.size(), 6);
    ASSERT_EQ(r.problems.size(), 3);
    EXPECT_EQ(r.problems[0].message, vq::msg::probeNoSuchFile(QStringLiteral("gone.mkv")));
    EXPECT_TRUE(r.problems[0].isError);
    EXPECT_EQ(r.problems[1].message, vq::msg::probeIsAFolder(QStringLiteral("sub.mkv")));
    EXPECT_EQ(r.problems[2].message, vq::msg::probeIsAFolder(QStringLiteral("link.mkv")));
    EXPECT_FALSE(r.problems[2].isError);
    EXPECT_EQ(r.failed(), 1);
    // Every reason is in the closing message.
    for (const auto &p : r.problems)
        EXPECT_TRUE(r.summaryText().contains(p.message));
    // Committed as they went: another connection sees them, in list order.
    EXPECT_EQ(storedNames(), (QStringList{m_entries[0].shown, m_entries[1].shown, m_entries[2].shown}));

    // A missing language refuses every file, and says so for each.
    vq::RunSettings none = settings();
    none.choice.subInId.reset();
    none.again = true;
    const vq::IntakeReport r2 = run(m_entries, forTitle(m_title), none);
    EXPECT_EQ(r2.stored, 0);
    EXPECT_EQ(r2.failed(), 3);
    EXPECT_EQ(readBack().episodes.size(), 3);
}

TEST_F(AddAll, NothingIsAddedTwice) {
    EXPECT_EQ(run(m_entries, forTitle(m_title), settings()).stored, 3);
    // Again: every file is there under the same name and size.
    vq::IntakeReport r = run(m_entries, forTitle(m_title), settings());
    EXPECT_EQ(r.stored, 0);
    EXPECT_EQ(r.skippedTwice.size(), 3);
    EXPECT_TRUE(r.summaryText().contains(vq::msg::intakeRunSkippedTwice(3)));
    EXPECT_EQ(readBack().episodes.size(), 3);

    // The same name with another size is another file; a list naming one file twice stores it once.
    QFile grown(m_files.filePath(m_entries[1].shown));
    ASSERT_TRUE(grown.open(QIODevice::Append));
    grown.write("more");
    grown.close();
    r = run(m_entries + QList<vq::ListedFile>{m_entries[1]}, forTitle(m_title), settings());
    EXPECT_EQ(r.stored, 1);
    EXPECT_EQ(r.skippedTwice, (QStringList{m_entries[0].shown, m_entries[2].shown, m_entries[1].shown}));

    // Asked for, they are stored again.
    vq::RunSettings again = settings();
    again.again = true;
    EXPECT_EQ(run(m_entries, forTitle(m_title), again).stored, 3);
    EXPECT_EQ(readBack().episodes.size(), 7);

    // Under another title they are stored, and the summary names the title that has them.
    const qint32 other = addTitle(QStringLiteral("Третий"));
    r = run(m_entries.mid(0, 1), forTitle(other), settings());
    EXPECT_EQ(r.stored, 1);
    ASSERT_EQ(r.elsewhere.size(), 1);
    EXPECT_EQ(r.elsewhere[0].entry, m_entries[0].shown);
    EXPECT_EQ(r.elsewhere[0].titles, QStringList{QStringLiteral("Тетрадь смерти")});
    EXPECT_TRUE(r.summaryText().contains(QStringLiteral("Тетрадь смерти")));
}

TEST_F(AddAll, AHangingOrCrashingFileIsReportedAndTheRunGoesOn) {
    QList<vq::ListedFile> entries;
    for (const char *name : {"01.mkv", "02 hang.mkv", "03 crash.mkv", "04.mkv"}) {
        ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, m_files.filePath(QString::fromUtf8(name))));
        entries << entry(QString::fromUtf8(name));
    }
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double"));
    vq::ProbePool pool(vq::ProbePool::Options{program, 2, 1000});
    vq::IntakeRun r(m_session, pool, entries, forTitle(m_title), settings());
    const vq::IntakeReport report = vq::runToEnd(r);
    EXPECT_EQ(report.stored, 2);
    ASSERT_EQ(report.problems.size(), 2);
    EXPECT_EQ(report.problems[0].message, vq::msg::probeTimeLimit(QStringLiteral("02 hang.mkv"), 1));
    EXPECT_TRUE(report.problems[1].message.startsWith(QStringLiteral("03 crash.mkv: ")))
        << report.problems[1].message.toStdString();
    EXPECT_EQ(storedNames(), (QStringList{QStringLiteral("01.mkv"), QStringLiteral("04.mkv")}));
}

TEST_F(AddAll, CancelStopsAtOnceAndKeepsWhatWasStored) {
    QList<vq::ListedFile> entries;
    for (int i = 1; i <= 6; ++i) {
        const QString name = QStringLiteral("slow %1.mkv").arg(i);
        ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, m_files.filePath(name)));
        entries << entry(name);
    }
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double"));
    vq::ProbePool pool(vq::ProbePool::Options{program, 2, 30000});
    vq::IntakeRun r(m_session, pool, entries, forTitle(m_title), settings());
    QElapsedTimer sinceCancel;
    QObject::connect(&r, &vq::IntakeRun::progress, [&](int position, int) {
        if (position == 1) {
            sinceCancel.start();
            r.cancel();
        }
    });
    qint64 cancelMs = -1;
    QObject::connect(&r, &vq::IntakeRun::finished,
                     [&] { cancelMs = sinceCancel.isValid() ? sinceCancel.elapsed() : -1; });
    const vq::IntakeReport report = vq::runToEnd(r);
    EXPECT_TRUE(report.cancelled);
    EXPECT_GE(cancelMs, 0);
    EXPECT_LT(cancelMs, 200);
    EXPECT_EQ(report.stored, 2);
    EXPECT_EQ(pool.pending(), 0);
    EXPECT_TRUE(report.summaryText().contains(vq::msg::intakeRunCancelled()));
    EXPECT_EQ(storedNames(), (QStringList{QStringLiteral("slow 1.mkv"), QStringLiteral("slow 2.mkv")}));
}

TEST_F(AddAll, AnotherCatalogOpenedMidRunGetsNothing) {
    QList<vq::ListedFile> entries;
    for (int i = 1; i <= 4; ++i) {
        const QString name = QStringLiteral("slow %1.mkv").arg(i);
        ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, m_files.filePath(name)));
        entries << entry(name);
    }
    const QString other = m_dir.filePath(QStringLiteral("other.vdq"));
    vq::Catalog::createStarter(other);
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double"));
    vq::ProbePool pool(vq::ProbePool::Options{program, 2, 30000});
    vq::IntakeRun r(m_session, pool, entries, forTitle(m_title), settings());
    QObject::connect(&r, &vq::IntakeRun::progress, [&](int position, int) {
        if (position == 1)
            m_session.open(other);
    });
    const vq::IntakeReport report = vq::runToEnd(r);
    EXPECT_EQ(report.stopped, vq::msg::intakeCatalogChanged());
    EXPECT_EQ(report.stored, 2);
    EXPECT_EQ(storedNames(), (QStringList{QStringLiteral("slow 1.mkv"), QStringLiteral("slow 2.mkv")}));
    vq::CatalogSession check;
    check.open(other);
    EXPECT_EQ(check.Series.recordCount(), 0);
}

TEST_F(AddAll, EmptyListAndMissingTitle) {
    QList<std::pair<int, int>> progress;
    vq::IntakeReport r = run({}, forTitle(m_title), settings(), &progress);
    EXPECT_EQ(r.stored, 0);
    EXPECT_TRUE(progress.isEmpty());
    r = run(m_entries, forTitle(999999), settings());
    EXPECT_EQ(r.stored, 0);
    EXPECT_EQ(r.stopped, vq::msg::intakeNoSuchTitle(999999));
    EXPECT_TRUE(readBack().episodes.isEmpty());
}

} // namespace
