// Sequences of use after which a page showed or stored something other than what the catalog
// holds: each test is a table of steps through the real window (keys, clicks, the scripted
// dialogs), then the catalog read with SQL and what the pages show. "Another process" is a second
// connection writing the file.
#include "window_fixture.h"

#include "narrownote.h"

#include "filter_bar.h"
#include "page_intake.h"
#include "page_stats.h"
#include "page_summary.h"
#include "page_titles.h"
#include "support/media.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QWheelEvent>
#include <memory>
#include <string>

using namespace vq;
using namespace vq::test;

namespace {

constexpr double GB = 1073741824.0;

// Texts compared as strings, so that a failure prints them readably.
std::string str(const QString &s) {
    return s.toStdString();
}
std::string str(const QStringList &list) {
    return '{' + list.join(QStringLiteral(" | ")).toStdString() + '}';
}

enum class G { Titles, IntakeTitles, Summary, Selection, Episodes };

class TruthSequence : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        freshCatalog();
    }

    // Akira (Movie; one 720p episode, Russian sound), Bebop (TV; two 480p episodes, Russian
    // sound), Cowboy (TV; one 480p episode, Japanese sound). The same IDs every time.
    void freshCatalog() {
        closeWindow();
        m_cat = std::make_unique<TempCatalog>();
        TempCatalog &c = cat();
        akira = c.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QStringLiteral("c-Akira"), 2);
        bebop = c.addTitle(QStringLiteral("Bebop"), QStringLiteral("26"), QStringLiteral("c-Bebop"), 3);
        cowboy = c.addTitle(QStringLiteral("Cowboy"), QString(), QString(), 3);
        const auto episode = [&](qint64 title, const char *name, double size, int w, int h, qint64 ms,
                                 int sound) {
            c.addEpisode(title, {.name = QString::fromUtf8(name),
                                 .size = size,
                                 .width = w,
                                 .height = h,
                                 .durationMs = ms,
                                 .sound = sound});
        };
        episode(akira, "a1", 2 * GB, 1280, 720, 1000, 1);
        episode(bebop, "b1", GB, 640, 480, 100, 1);
        episode(bebop, "b2", GB, 640, 480, 100, 1);
        episode(cowboy, "c1", 4 * GB, 640, 480, 10, 0);
    }
    TempCatalog &cat() { return *m_cat; }

    // One clip alone in a folder, for the steps that store an episode.
    void useClip() {
        ASSERT_TRUE(m_files.isValid());
        clip = testMedia()[Sample::Mkv];
        ASSERT_TRUE(QFile::copy(clip.path, QDir(m_files.path()).filePath(clip.name)));
    }

    TGridView &grid(G g) {
        switch (g) {
        case G::Titles:
            return win->GV();
        case G::IntakeTitles:
            return win->GV4();
        case G::Summary:
            return win->GVSV();
        case G::Selection:
            return win->GV3();
        case G::Episodes:
            break;
        }
        return win->DBGrid2();
    }
    // The column a grid shows its title (or episode) names in.
    static int nameColumn(G g) { return g == G::Titles || g == G::IntakeTitles ? 1 : 0; }

    // ---- steps ----
    Step page(TView_Base::Page p) {
        return {"switch pages", [this, p] { win->setActivePage(p); }};
    }
    // A left click on the row that shows `name`, in the column `col` (the name column by default).
    Step click(G g, const QString &name, int col = -1) {
        return {"click a row", [this, g, name, col] {
                    TGridView &v = grid(g);
                    const int row = column(v, nameColumn(g)).indexOf(name);
                    ASSERT_GE(row, 0) << str(name);
                    QTest::mouseClick(v.viewport(), Qt::LeftButton, {},
                                      rowCenter(v, row, col < 0 ? nameColumn(g) : col));
                }};
    }
    Step press(G g, Qt::Key k, const char *what) {
        return {what, [this, g, k] { key(&grid(g), k); }};
    }
    Step pressAndAnswerYes(G g, Qt::Key k) {
        return {"a key that asks, Yes", [this, g, k] {
                    dialogs.setNextAnswer(Answer::Yes);
                    key(&grid(g), k);
                }};
    }
    // F2 on the focused cell, a new text, Enter.
    Step edit(G g, const QString &text) {
        return {"F2, type, Enter", [this, g, text] {
                    TGridView &v = grid(g);
                    key(&v, Qt::Key_F2);
                    ASSERT_TRUE(v.Editing());
                    v.Editor()->selectAll();
                    QTest::keyClicks(v.Editor(), text);
                    QTest::keyClick(v.Editor(), Qt::Key_Return);
                }};
    }
    Step type(QLineEdit *box, const QString &text) {
        return {"type into a box", [box, text] {
                    box->setFocus();
                    QCoreApplication::processEvents();
                    box->selectAll();
                    QTest::keyClicks(box, text);
                }};
    }
    Step search(const QString &text) {
        return {"type into the search box", [this, text] { QTest::keyClicks(win->EFound(), text); }};
    }
    Step eraseSearch() {
        return {"erase the search with Backspace", [this] {
                    while (!win->EFound()->text().isEmpty())
                        key(win->EFound(), Qt::Key_Backspace);
                }};
    }
    Step pick(QComboBox *TFilterBar::*box, const QString &text) {
        return {"pick in the filter bar", [this, box, text] {
                    QComboBox *b = bar().*box;
                    const int at = b->findText(text);
                    ASSERT_GT(at, 0) << str(text);
                    b->setCurrentIndex(at);
                }};
    }
    Step clickButton(const char *what, std::function<QAbstractButton *()> button) {
        return {what, [button] { QTest::mouseClick(button(), Qt::LeftButton); }};
    }
    // An export button, its save dialog answered with `name` in the start folder (a new file).
    Step exportTo(const char *what, const QString &name, std::function<QAbstractButton *()> button) {
        return {what, [this, name, button] {
                    const QString path = QDir(startDir()).filePath(name);
                    QFile::remove(path);
                    dialogs.setNextFileName(path);
                    QTest::mouseClick(button(), Qt::LeftButton);
                }};
    }
    Step otherProcess(const QString &sql) {
        return {"another process writes the file", [this, sql] { cat().exec(sql); }};
    }
    // On "Добавить новое": the clip's folder in the tree, "Обновить", a click on the file.
    Step probeTheClip() {
        return {"list the clip's folder and click the clip", [this] {
                    TPageIntake *p = win->intakePage();
                    p->STV->setCurrentIndex(p->FolderModel->index(m_files.path()));
                    QTest::mouseClick(p->BSee, Qt::LeftButton);
                    ASSERT_EQ(p->LB1->count(), 1);
                    QTest::mouseClick(p->LB1->viewport(), Qt::LeftButton, {},
                                      p->LB1->visualItemRect(p->LB1->item(0)).center());
                    bool probed = false;
                    [&] {
                        QTRY_COMPARE_WITH_TIMEOUT(p->EName->text(), clip.name, 30000);
                        probed = true;
                    }();
                    ASSERT_TRUE(probed) << "the probe never answered";
                }};
    }
    Step pressAdd() {
        return clickButton("press Добавить", [this] { return win->intakePage()->BAdd; });
    }

    // ---- what the catalog holds and the pages show ----
    QString sql(const QString &query) { return cat().scalar(query); }
    QString titlesById() {
        return sql(QStringLiteral("SELECT group_concat(\"Название\", ',') FROM (SELECT \"Название\" FROM "
                                  "\"Список\" ORDER BY \"ID\")"));
    }
    TFilterBar &bar() { return *win->summaryPage()->FilterBar; }
    QString startFile(const QString &name) {
        QFile f(QDir(startDir()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // The texts after the name of the row that shows `name` (the summary and the selection list).
    QStringList rowAfterName(G g, const QString &name) {
        TGridView &v = grid(g);
        const int row = column(v, 0).indexOf(name);
        QStringList out;
        for (int c = 1; row >= 0 && c <= 9; ++c)
            out << v.GetCellText(c, row);
        return out;
    }
    QString highlighted(G g) {
        TGridView &v = grid(g);
        const int r = v.CurrentRow();
        return r >= 0 && r < v.RowCount() ? v.GetCellText(nameColumn(g), r) : QString();
    }

    qint64 akira = 0, bebop = 0, cowboy = 0;
    MediaSample clip;

private:
    std::unique_ptr<TempCatalog> m_cat;
    QTemporaryDir m_files;
};

TEST_F(TruthSequence, EnterInTheChosenTitleBoxRenamesNoOtherTitle) {
    struct Case {
        const char *what;
        std::vector<Step> onFirstPage;
        const char *titles; // by ID, before Enter and after it alike
    } const cases[] = {
        {"another title renamed",
         {click(G::Titles, QStringLiteral("Bebop")), edit(G::Titles, QStringLiteral("Bebop TV"))},
         "Akira,Bebop TV,Cowboy"},
        {"the chosen title deleted",
         {click(G::Titles, QStringLiteral("Cowboy")), pressAndAnswerYes(G::Titles, Qt::Key_Delete)},
         "Akira,Bebop"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        freshCatalog();
        ASSERT_TRUE(startOn(cat()));
        run({page(TView_Base::TabNewA), click(G::IntakeTitles, QStringLiteral("Cowboy")),
             page(TView_Base::TOsn)});
        run(c.onFirstPage);
        run({page(TView_Base::TabNewA)});
        ASSERT_EQ(str(titlesById()), c.titles);
        // Enter acts on the chosen title or on nothing (an error box may say why).
        key(win->intakePage()->ESname, Qt::Key_Return);
        EXPECT_EQ(str(titlesById()), c.titles);
    }
}

TEST_F(TruthSequence, ACommentTypedIntoTheSelectionListOutlivesRefreshes) {
    ASSERT_TRUE(startOn(cat()));
    const QString typed = QStringLiteral("for Misato");
    run({
        page(TView_Base::Tns),
        click(G::Summary, QStringLiteral("Akira")),
        press(G::Summary, Qt::Key_Insert, "Insert: Akira into the selection"),
        page(TView_Base::Stat),
        click(G::Selection, QStringLiteral("Akira"), 9),
        edit(G::Selection, typed),
    });
    ASSERT_EQ(str(column(win->GV3(), 9)), str(QStringList{typed}));
    struct Refresh {
        const char *what;
        std::vector<Step> steps;
    } const refreshes[] = {
        {"another title renamed",
         {page(TView_Base::TOsn), click(G::Titles, QStringLiteral("Cowboy")),
          edit(G::Titles, QStringLiteral("Cowboy X"))}},
        {"an episode of another title deleted",
         {page(TView_Base::TOsn), click(G::Titles, QStringLiteral("Bebop")),
          click(G::Episodes, QStringLiteral("b2")), pressAndAnswerYes(G::Episodes, Qt::Key_Delete)}},
    };
    for (const Refresh &r : refreshes) {
        SCOPED_TRACE(r.what);
        run(r.steps);
        EXPECT_EQ(str(column(win->GV3(), 9)), str(QStringList{typed}));
        run({exportTo("To HTML of the selection", QStringLiteral("SelAnime.html"),
                      [this] { return win->statsPage()->BSToHTML; })});
        EXPECT_TRUE(startFile(QStringLiteral("SelAnime.html")).contains(typed));
    }
    // The list's text is its own: the catalog keeps the title's comment.
    EXPECT_EQ(str(sql(QStringLiteral("SELECT \"Комментарий\" FROM \"Список\" WHERE \"ID\" = %1").arg(akira))),
              "c-Akira");
}

TEST_F(TruthSequence, ASelectionRowShowsAnEpisodeStoredWhileASearchHidItsTitle) {
    useClip();
    ASSERT_TRUE(startOn(cat()));
    const QString name = QStringLiteral("Cowboy");
    const QStringList before = rowAfterName(G::Summary, name);
    run({
        page(TView_Base::Tns),
        click(G::Summary, name),
        press(G::Summary, Qt::Key_Insert, "Insert: Cowboy into the selection"),
        page(TView_Base::TabNewA),
        click(G::IntakeTitles, name),
        probeTheClip(),
        search(QStringLiteral("A")), // Cowboy is hidden
        pressAdd(),
        eraseSearch(),
    });
    ASSERT_EQ(str(sql(QStringLiteral("SELECT count(*) FROM \"Серии\" WHERE \"Название\" = %1").arg(cowboy))),
              "2");
    const QStringList now = rowAfterName(G::Summary, name);
    ASSERT_NE(str(now), str(before)) << "the new episode changes the summary row";
    EXPECT_EQ(str(rowAfterName(G::Selection, name)), str(now));
    run({exportTo("To HTML of the selection", QStringLiteral("SelAnime.html"),
                  [this] { return win->statsPage()->BSToHTML; })});
    const QString html = startFile(QStringLiteral("SelAnime.html"));
    for (const QString &text : now)
        EXPECT_TRUE(html.contains(text.toHtmlEscaped())) << str(text);
}

TEST_F(TruthSequence, ANewTitleIsListedAndChosenWhileTheFilterWouldHideIt) {
    useClip();
    ASSERT_TRUE(startOn(cat()));
    run({
        page(TView_Base::Tns),
        pick(&TFilterBar::CFType, QStringLiteral("TV")),
        page(TView_Base::TabNewA),
        probeTheClip(),
        {"type a new title, Enter",
         [this] {
             QLineEdit *e = win->intakePage()->ENewAni;
             e->setFocus();
             QCoreApplication::processEvents();
             QTest::keyClicks(e, QStringLiteral("Zeta"));
             QTest::keyClick(e, Qt::Key_Return);
         }},
    });
    EXPECT_EQ(str(highlighted(G::IntakeTitles)), "Zeta");
    EXPECT_EQ(str(win->intakePage()->ESname->text()), "Zeta");
    // "Добавить" stores into it at once: nobody is sent to make it a second time.
    run({pressAdd()});
    EXPECT_EQ(str(sql(QStringLiteral("SELECT group_concat(e.\"Серия\") FROM \"Серии\" e JOIN \"Список\" t ON "
                                     "t.\"ID\" = e.\"Название\" WHERE t.\"Название\" = 'Zeta'"))),
              str(clip.name));
    EXPECT_EQ(str(sql(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"Название\" = 'Zeta'"))), "1");
}

TEST_F(TruthSequence, ListsTheFilterNarrowsSaySoAndShowAllAgain) {
    ASSERT_TRUE(startOn(cat()));
    run({page(TView_Base::Tns), pick(&TFilterBar::CFType, QStringLiteral("TV"))});
    const TNarrowNote *notes[] = {win->titlesPage()->NarrowNote, win->intakePage()->NarrowNote};
    for (const TNarrowNote *note : notes) {
        EXPECT_FALSE(note->isHidden());
        EXPECT_EQ(note->LNote->text(), QStringLiteral("Показано 2 из 3"));
    }
    run({page(TView_Base::TabNewA), {"Показать все", [this] {
                                         QTest::mouseClick(win->intakePage()->NarrowNote->BShowAll,
                                                           Qt::LeftButton);
                                     }}});
    EXPECT_EQ(str(column(win->GV4(), 1)), "{Akira | Bebop | Cowboy}");
    EXPECT_EQ(str(column(win->GV(), 1)), "{Akira | Bebop | Cowboy}");
    EXPECT_TRUE(bar().filter() == TitleFilter{});
    for (const TNarrowNote *note : notes)
        EXPECT_TRUE(note->isHidden());
}

TEST_F(TruthSequence, TheShownCountIsTheRowsShownAfterAnotherProcessDeletedATitle) {
    ASSERT_TRUE(startOn(cat()));
    run({otherProcess(QStringLiteral("DELETE FROM \"Список\" WHERE \"Название\" = 'Cowboy'"))});
    // The window learns of it when it next reads: at each keystroke.
    for (const Step &s : {search(QStringLiteral("A")), eraseSearch()}) {
        run({s});
        const QString shown = bar().LShown->text().section(QStringLiteral(" · "), 0, 0);
        EXPECT_EQ(str(shown), str(QStringLiteral("Показано %1 из %2")
                                      .arg(win->GVSV().RowCount())
                                      .arg(sql(QStringLiteral("SELECT count(*) FROM \"Список\"")))))
            << s.what;
    }
}

TEST_F(TruthSequence, AfterARenameOnTheFirstPageTheSummaryHighlightsTheRenamedTitle) {
    ASSERT_TRUE(startOn(cat()));
    run({page(TView_Base::TOsn), click(G::Titles, QStringLiteral("Bebop")),
         edit(G::Titles, QStringLiteral("Bebop TV")), page(TView_Base::Tns)});
    EXPECT_EQ(str(highlighted(G::Titles)), "Bebop TV");
    EXPECT_EQ(str(highlighted(G::Summary)), "Bebop TV");
    // Insert marks the title the pages show current.
    run({press(G::Summary, Qt::Key_Insert, "Insert")});
    EXPECT_EQ(str(column(win->GV3(), 0)), "{Bebop TV}");
}

TEST_F(TruthSequence, AddShowsTheEpisodesOfTheTitleStoredInto) {
    useClip();
    ASSERT_TRUE(startOn(cat()));
    run({
        page(TView_Base::TabNewA),
        click(G::IntakeTitles, QStringLiteral("Cowboy")),
        probeTheClip(),
        page(TView_Base::TOsn),
        click(G::Titles, QStringLiteral("Akira")),
        page(TView_Base::TabNewA),
        pressAdd(),
    });
    QStringList shown = column(win->DBGrid1(), 0), stored{QStringLiteral("c1"), clip.name};
    shown.sort();
    stored.sort();
    EXPECT_EQ(str(shown), str(stored));
    EXPECT_EQ(str(win->intakePage()->ESname->text()), "Cowboy");
}

TEST_F(TruthSequence, EscapeAfterF2KeepsTheOtherNameOfAFoundRow) {
    cat().exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") "
                              "VALUES (%1, 'Spike')")
                   .arg(bebop));
    ASSERT_TRUE(startOn(cat()));
    const QString found = QStringLiteral("Bebop — Spike");
    run({page(TView_Base::Tns), search(QStringLiteral("Sp"))});
    ASSERT_EQ(str(column(win->GVSV(), 0)), str(QStringList{found}));
    run({
        {"F2 on the row, then Escape",
         [this] {
             TGridView &sv = win->GVSV();
             key(&sv, Qt::Key_F2);
             ASSERT_TRUE(sv.Editing());
             QTest::keyClick(sv.Editor(), Qt::Key_Escape);
         }},
        exportTo("To HTML", QStringLiteral("AnimeList.html"), [this] { return win->BToHtML(); }),
    });
    EXPECT_EQ(str(column(win->GVSV(), 0)), str(QStringList{found}));
    EXPECT_TRUE(startFile(QStringLiteral("AnimeList.html")).contains(found));
    EXPECT_EQ(str(titlesById()), "Akira,Bebop,Cowboy");
}

TEST_F(TruthSequence, DeletingTheLastEpisodeUnderAFilterKeepsListsAndChoicesInStep) {
    ASSERT_TRUE(startOn(cat()));
    run({
        page(TView_Base::Tns),
        pick(&TFilterBar::CFSound, QStringLiteral("Русский")),
        page(TView_Base::TOsn),
        click(G::Titles, QStringLiteral("Akira")),
        click(G::Episodes, QStringLiteral("a1")),
        pressAndAnswerYes(G::Episodes, Qt::Key_Delete),
    });
    ASSERT_EQ(str(sql(QStringLiteral("SELECT count(*) FROM \"Серии\" WHERE \"Название\" = %1").arg(akira))),
              "0");
    EXPECT_EQ(str(column(win->GV(), 1)), str(column(win->GVSV(), 0)));
    EXPECT_EQ(str(column(win->GV4(), 1)), str(column(win->GVSV(), 0)));
    // No episode is 1280x720 any more, so the bar no longer offers it; the choice made stays.
    EXPECT_EQ(bar().CFFrame->findText(QStringLiteral("1280x720")), -1);
    EXPECT_EQ(str(bar().CFSound->currentText()), "Русский");
}

TEST_F(TruthSequence, ADoubleClickInTheSelectionDuringASearchHighlightsTheTitleItOpens) {
    ASSERT_TRUE(startOn(cat()));
    run({
        page(TView_Base::Tns),
        click(G::Summary, QStringLiteral("Bebop")),
        press(G::Summary, Qt::Key_Insert, "Insert: Bebop into the selection"),
        search(QStringLiteral("A")),
        page(TView_Base::Stat),
        {"double-click Bebop in the selection",
         [this] {
             QTest::mouseDClick(win->GV3().viewport(), Qt::LeftButton, {}, rowCenter(win->GV3(), 0, 0));
         }},
        type(win->titlesPage()->EKoment, QStringLiteral("typed")),
        edit(G::Titles, QStringLiteral("Renamed")),
    });
    ASSERT_EQ(win->ActivePage(), TView_Base::TOsn);
    // The comment and the rename went to one title, the one the page showed.
    EXPECT_EQ(str(sql(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"Комментарий\" = 'typed'"))),
              "Renamed");
}

TEST_F(TruthSequence, TypingIntoATitleAnotherProcessDeletedSaysSoAndRefreshes) {
    ASSERT_TRUE(startOn(cat()));
    run({
        page(TView_Base::TOsn),
        click(G::Titles, QStringLiteral("Bebop")),
        otherProcess(QStringLiteral("DELETE FROM \"Список\" WHERE \"Название\" = 'Bebop'")),
    });
    dialogs.clear();
    QLineEdit *comment = win->titlesPage()->EKoment;
    comment->setFocus();
    QCoreApplication::processEvents();
    comment->end(false);
    QTest::keyClick(comment, Qt::Key_X);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(str(column(win->GV(), 1)), "{Akira | Cowboy}");
    EXPECT_EQ(str(column(win->GVSV(), 0)), "{Akira | Cowboy}");
    EXPECT_EQ(str(sql(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"Комментарий\" LIKE '%x'"))),
              "0");
}

TEST_F(TruthSequence, TheSortArrowLeavesWhenRowsReturnToNameOrder) {
    TempCatalog other;
    other.addTitle(QStringLiteral("Zed"));
    other.addTitle(QStringLiteral("Yoru"));
    ASSERT_TRUE(startOn(cat()));
    QHeaderView *header = win->GVSV().horizontalHeader();
    const Step sortBySize = {"click the size header", [&] {
                                 win->setActivePage(TView_Base::Tns);
                                 const int x = header->sectionViewportPosition(3) + 5;
                                 QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
                             }};
    struct Case {
        const char *what;
        std::vector<Step> steps;
        const char *rows;
    } const cases[] = {
        {"Сбросить",
         {pick(&TFilterBar::CFType, QStringLiteral("TV")), sortBySize,
          clickButton("Сбросить", [this] { return bar().BFClear; })},
         "{Akira | Bebop | Cowboy}"},
        {"another catalog",
         {sortBySize,
          {"pick another catalog",
           [&] {
               dialogs.setNextFileName(other.path());
               QTest::mouseClick(win->Panel18(), Qt::LeftButton);
           }}},
         "{Yoru | Zed}"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        run(c.steps);
        ASSERT_EQ(str(column(win->GVSV(), 0)), c.rows);
        const bool nameOrder =
            !header->isSortIndicatorShown() ||
            (header->sortIndicatorSection() == 0 && header->sortIndicatorOrder() == Qt::AscendingOrder);
        EXPECT_TRUE(nameOrder) << "the arrow is on column " << header->sortIndicatorSection();
    }
}

TEST_F(TruthSequence, AWheelOverTheUnfocusedTypeBoxLeavesTheType) {
    ASSERT_TRUE(startOn(cat()));
    QComboBox *typeBox = win->titlesPage()->LCBType;
    run({page(TView_Base::TOsn), click(G::Titles, QStringLiteral("Akira"))});
    ASSERT_FALSE(typeBox->hasFocus());
    ASSERT_EQ(str(typeBox->currentText()), "Movie");
    for (const int delta : {-120, 120, -120}) {
        const QPointF at = typeBox->rect().center();
        QWheelEvent wheel(at, typeBox->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(typeBox, &wheel);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(str(sql(QStringLiteral("SELECT \"NType\" FROM \"Список\" WHERE \"ID\" = %1").arg(akira))), "2");
    EXPECT_EQ(str(typeBox->currentText()), "Movie");
}

// Another process renames a title, adds one and adds an episode to a selected title; at the next
// keystrokes in the search box every page shows the file as it is.
TEST_F(TruthSequence, AnotherProcessesChangeShowsWithoutAKeyPressed) {
    ASSERT_TRUE(startOn(cat()));
    run({otherProcess(
        QStringLiteral("INSERT INTO \"Список\"(\"Название\", \"NType\") VALUES ('Dandy', 3)"))});
    // The window looks at the file now and then by itself.
    QElapsedTimer waited;
    waited.start();
    while (column(win->GVSV(), 0).size() < 4 && waited.elapsed() < 5000)
        QTest::qWait(50);
    EXPECT_EQ(str(column(win->GVSV(), 0)), "{Akira | Bebop | Cowboy | Dandy}");
    EXPECT_EQ(str(column(win->GV(), 1)), "{Akira | Bebop | Cowboy | Dandy}");
    EXPECT_EQ(str(win->SBarPanel()->text()), "Всего: 4");
}

TEST_F(TruthSequence, AnotherProcessesChangesShowOnEveryPageAtTheNextKeystrokes) {
    ASSERT_TRUE(startOn(cat()));
    run({
        page(TView_Base::Tns),
        click(G::Summary, QStringLiteral("Cowboy")),
        press(G::Summary, Qt::Key_Insert, "Insert: Cowboy into the selection"),
        page(TView_Base::TOsn),
        click(G::Titles, QStringLiteral("Bebop")),
        otherProcess(
            QStringLiteral("UPDATE \"Список\" SET \"Название\" = 'Bebop X' WHERE \"Название\" = 'Bebop'; "
                           "INSERT INTO \"Список\"(\"Название\", \"NType\") VALUES ('Dandy', 3); "
                           "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\", \"Ширина\", "
                           "\"Высота\", \"Длительность\") VALUES (%1, 'c2', %2, 1920, 1080, 5000)")
                .arg(cowboy)
                .arg(GB)),
        search(QStringLiteral("B")),
        eraseSearch(),
    });
    const QString titles = sql(QStringLiteral("SELECT count(*) FROM \"Список\""));
    const QString files = sql(QStringLiteral("SELECT count(*) FROM \"Серии\""));
    const QStringList names = {"Akira", "Bebop X", "Cowboy", "Dandy"};
    TPageStats *st = win->statsPage();
    struct Shown {
        const char *where;
        QStringList is, should;
    } const shown[] = {
        {"summary", column(win->GVSV(), 0), names},
        {"title list", column(win->GV(), 1), names},
        {"intake title list", column(win->GV4(), 1), names},
        {"status bar", {win->SBarPanel()->text()}, {QStringLiteral("Всего: ") + titles}},
        {"Всего", {st->LCount->text(), st->LCE->text()}, {titles, files}},
        {"Выбрано", {st->LVAni->text(), st->LVFile->text()}, {"1", "2"}},
        {"selection row", rowAfterName(G::Selection, QStringLiteral("Cowboy")),
         rowAfterName(G::Summary, QStringLiteral("Cowboy"))},
    };
    for (const Shown &s : shown)
        EXPECT_EQ(str(s.is), str(s.should)) << s.where;
}

} // namespace
