#include "window_fixture.h"

#include "filter_bar.h"
#include "page_summary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <functional>

using namespace vq;
using namespace vq::test;

namespace {

// Six titles whose episodes differ in every field the bar asks about.
class FilterBar : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        cat.exec(QStringLiteral("INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (1, 'H.264'), (2, 'DivX'), "
                                "(3, 'AAC'), (4, 'MP3')"));
        cat.exec(
            QStringLiteral("INSERT INTO \"Format\"(\"ID\", \"Name\") VALUES (1, 'Matroska'), (2, 'AVI')"));
        const QDateTime now = QDateTime::currentDateTime();
        akira = cat.addTitle(QStringLiteral("Акира"), {}, {}, 2);
        episode(akira,
                {.size = 100.0,
                 .width = 1280,
                 .height = 720,
                 .durationMs = 60000,
                 .sound = 1,
                 .subExt = 2,
                 .update = now.addDays(-3)},
                1, 3, 1);
        bebop = cat.addTitle(QStringLiteral("Бибоп"), {}, {}, 3);
        episode(
            bebop,
            {.size = 50.0, .width = 640, .height = 480, .sound = 0, .subExt = 3, .update = now.addDays(-100)},
            2, 4, 2);
        yolka = cat.addTitle(QStringLiteral("Ёлка"), {}, {}, 3);
        episode(yolka, {.size = 70.0, .width = 1920, .height = 1080, .sound = 1, .update = now.addDays(-40)},
                1, 3, 1);
        naruto = cat.addTitle(QStringLiteral("Наруто"), {}, {}, 3);
        bleach = cat.addTitle(QStringLiteral("Bleach"), {}, {}, 3);
        episode(bleach, {.size = 30.0, .width = 1280, .height = 720, .sound = 0, .update = now.addDays(-50)},
                1, 3, 1);
        castle = cat.addTitle(QStringLiteral("Кастлвания"), {}, {}, 3);
        alt(bleach, QStringLiteral("Блич"));
        alt(castle, QStringLiteral("Castlevania"));
    }

    void episode(qint64 title, const EpisodeRow &row, int video, int audio, int format) {
        const qint64 id = cat.addEpisode(title, row);
        cat.exec(QStringLiteral("UPDATE \"Серии\" SET \"Video_Codec_id\" = %1, \"Audio_Codec_id\" = %2, "
                                "\"Format_Pack_id\" = %3 WHERE \"ID\" = %4")
                     .arg(video)
                     .arg(audio)
                     .arg(format)
                     .arg(id));
    }
    void alt(qint64 title, const QString &name) {
        cat.exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") "
                                "VALUES (%1, '%2')")
                     .arg(title)
                     .arg(name));
    }

    TFilterBar &bar() { return *win->summaryPage()->FilterBar; }
    void pick(QComboBox *box, const QString &text) {
        const int at = box->findText(text);
        ASSERT_GT(at, 0) << text.toStdString();
        box->setCurrentIndex(at);
        QCoreApplication::processEvents();
    }
    void click(QAbstractButton *b) {
        QTest::mouseClick(b, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // Typed as one edit: QTest types Latin letters only.
    void search(const QString &text) {
        win->EFound()->setText(text);
        QCoreApplication::processEvents();
    }
    QStringList summary() { return column(win->GVSV(), 0); }
    QStringList titles() { return column(win->GV(), 1); }
    QString shownStart() { return bar().LShown->text().section(QStringLiteral(" · "), 0, 1); }

    TempCatalog cat;
    qint64 akira = 0, bebop = 0, yolka = 0, naruto = 0, bleach = 0, castle = 0;
};

} // namespace

TEST_F(FilterBar, EachFieldNarrowsTheSummaryAndTheTitleListAndCountsWhatIsShown) {
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(shownStart(), QStringLiteral("Показано 6 из 6 · файлов 4 из 4"));
    // Codecs are offered where episodes use them: the video field has no audio codecs.
    EXPECT_EQ(bar().CFVideo->findText(QStringLiteral("AAC")), -1);
    EXPECT_GT(bar().CFAudio->findText(QStringLiteral("AAC")), 0);
    EXPECT_GT(bar().CFFrame->findText(QStringLiteral("1920x1080")), 0);

    struct FieldStep {
        const char *what;
        std::function<void()> act;
        QStringList shown;
        const char *count;
    };
    const FieldStep steps[] = {
        {"Russian sound",
         [&] { pick(bar().CFSound, QStringLiteral("Русский")); },
         {"Акира", "Ёлка"},
         "Показано 2 из 6 · файлов 2 из 4"},
        {"and at least 1080 lines",
         [&] { pick(bar().CFFrame, QStringLiteral("от 1080p")); },
         {"Ёлка"},
         "Показано 1 из 6 · файлов 1 из 4"},
        {"clear",
         [&] { click(bar().BFClear); },
         {"Bleach", "Акира", "Бибоп", "Ёлка", "Кастлвания", "Наруто"},
         "Показано 6 из 6 · файлов 4 из 4"},
        {"DivX in AVI",
         [&] {
             pick(bar().CFVideo, QStringLiteral("DivX"));
             pick(bar().CFFormat, QStringLiteral("AVI"));
         },
         {"Бибоп"},
         "Показано 1 из 6 · файлов 1 из 4"},
        {"English external subtitles, MP3 sound",
         [&] {
             click(bar().BFClear);
             pick(bar().CFSubExt, QStringLiteral("Английский"));
             pick(bar().CFAudio, QStringLiteral("MP3"));
         },
         {"Бибоп"},
         "Показано 1 из 6 · файлов 1 из 4"},
        {"exact frame 1280x720",
         [&] {
             click(bar().BFClear);
             pick(bar().CFFrame, QStringLiteral("1280x720"));
         },
         {"Bleach", "Акира"},
         "Показано 2 из 6 · файлов 2 из 4"},
        {"added within 30 days",
         [&] {
             click(bar().BFClear);
             bar().EFDays->setValue(30);
         },
         {"Акира"},
         "Показано 1 из 6 · файлов 1 из 4"},
        {"no episodes",
         [&] {
             click(bar().BFClear);
             click(bar().CBEmpty);
         },
         {"Кастлвания", "Наруто"},
         "Показано 2 из 6 · файлов 0 из 4"},
        {"no episodes and a Movie",
         [&] { pick(bar().CFType, QStringLiteral("Movie")); },
         {},
         "Показано 0 из 6 · файлов 0 из 4"},
        {"type alone", [&] { click(bar().CBEmpty); }, {"Акира"}, "Показано 1 из 6 · файлов 1 из 4"},
    };
    for (const FieldStep &s : steps) {
        s.act();
        EXPECT_EQ(summary(), s.shown) << s.what;
        EXPECT_EQ(titles(), s.shown) << s.what;
        EXPECT_EQ(shownStart(), QString::fromUtf8(s.count)) << s.what;
    }
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join('\n').toStdString();
}

TEST_F(FilterBar, SearchFindsAnyNameInAnyCaseWithYoAsYe) {
    ASSERT_TRUE(startOn(cat));
    struct Case {
        const char *typed;
        bool anywhere;
        QStringList shown;
    };
    const Case cases[] = {
        {"ел", false, {"Ёлка"}},
        {"ЕЛКА", false, {"Ёлка"}},
        {"блич", false, {"Bleach — Блич"}},
        {"BLE", false, {"Bleach"}}, // found by its own name: nothing beside it
        {"vania", false, {}},
        {"vania", true, {"Кастлвания — Castlevania"}},
        {"ЛВАН", true, {"Кастлвания"}},
    };
    for (const Case &c : cases) {
        if (bar().CBAnywhere->isChecked() != c.anywhere)
            click(bar().CBAnywhere);
        search(QString::fromUtf8(c.typed));
        EXPECT_EQ(summary(), c.shown) << c.typed;
    }
    // The search combines with the bar's fields.
    click(bar().CBAnywhere);
    search(QStringLiteral("б"));
    EXPECT_EQ(summary(), (QStringList{"Bleach — Блич", "Бибоп"}));
    pick(bar().CFSound, QStringLiteral("Японский"));
    pick(bar().CFFrame, QStringLiteral("от 720p"));
    EXPECT_EQ(summary(), QStringList{"Bleach — Блич"});

    // The selection lists the title by its own name, now and after a refresh.
    TGridView &sv = win->GVSV();
    win->setActivePage(TView_Base::Tns);
    sv.SetCurrentRow(0);
    key(&sv, Qt::Key_Insert);
    win->UpDateAll(false);
    EXPECT_EQ(column(win->GV3(), 0), QStringList{"Bleach"});

    // F2 on a row found through another name renames the title from its own name.
    sv.SetCurrentRow(0);
    key(&sv, Qt::Key_F2);
    ASSERT_TRUE(sv.Editing());
    EXPECT_EQ(sv.Editor()->text(), QStringLiteral("Bleach"));
    sv.Editor()->setCursorPosition(sv.Editor()->text().size());
    QTest::keyClicks(sv.Editor(), QStringLiteral(" TV"));
    QTest::keyClick(sv.Editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = %1").arg(bleach)),
              QStringLiteral("Bleach TV"));
    // The rename refreshes in full: the search is emptied, the bar's fields stay.
    EXPECT_EQ(win->EFound()->text(), QString());
    EXPECT_EQ(summary(), QStringList{"Bleach TV"});
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join('\n').toStdString();
}

TEST_F(FilterBar, KeptAcrossStartsAndCatalogsAndRefreshes) {
    ASSERT_TRUE(startOn(cat));
    pick(bar().CFSound, QStringLiteral("Русский"));
    click(bar().CBAnywhere);
    search(QStringLiteral("к"));
    EXPECT_EQ(summary(), (QStringList{"Акира", "Ёлка"}));

    // A refresh after a change of episodes keeps what is shown and the current title.
    win->GV().MoveToCell(1, win->SeeingRed(yolka));
    win->UpDateAll(false);
    EXPECT_EQ(summary(), (QStringList{"Акира", "Ёлка"}));
    EXPECT_EQ(win->GV().CurrentRow(), win->SeeingRed(yolka));
    EXPECT_EQ(win->currentTitleId(), yolka);

    // The page shows what the export writes.
    dialogs.setNextFileName(QDir(startDir()).filePath(QStringLiteral("AnimeList.html")));
    click(win->BToHtML());
    QFile page(QDir(startDir()).filePath(QStringLiteral("AnimeList.html")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("Акира")));
    EXPECT_FALSE(html.contains(QStringLiteral("Бибоп")));

    closeWindow();
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(bar().CFSound->currentText(), QStringLiteral("Русский"));
    EXPECT_TRUE(bar().CBAnywhere->isChecked());
    EXPECT_EQ(win->EFound()->text(), QString()); // the search text is not kept
    EXPECT_EQ(summary(), (QStringList{"Акира", "Ёлка"}));

    // Another catalog: the choice goes by its name, whatever key that catalog gives it.
    TempCatalog other;
    other.exec(QStringLiteral("UPDATE \"Sub\" SET \"ID\" = 9 WHERE \"Язык\" = 'Русский'"));
    const qint64 ru = other.addTitle(QStringLiteral("Монстр"));
    other.addEpisode(ru, {.size = 1.0, .sound = 9});
    const qint64 jp = other.addTitle(QStringLiteral("Гуррен"));
    other.addEpisode(jp, {.size = 1.0, .sound = 0});
    dialogs.setNextFileName(other.path());
    win->Panel18Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(bar().CFSound->currentText(), QStringLiteral("Русский"));
    EXPECT_EQ(summary(), QStringList{"Монстр"});
    EXPECT_EQ(shownStart(), QStringLiteral("Показано 1 из 2 · файлов 1 из 2"));
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join('\n').toStdString();
}
