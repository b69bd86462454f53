#include "window_fixture.h"

#include "catalog/formats.h"
#include "errorguard.h"
#include "ops/titleops.h"
#include "page_stats.h"
#include "page_titles.h"
#include "stats_handlers.h"
#include "titles_handlers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

using namespace vq;
using namespace vq::test;

namespace {

class Browser : public WindowTest {
protected:
    // Titles by name; the IDs in the order given.
    std::vector<qint64> addTitles(const QStringList &names) {
        std::vector<qint64> ids;
        for (const QString &n : names)
            ids.push_back(cat.addTitle(n, QStringLiteral("12"), QStringLiteral("c-") + n, 3));
        return ids;
    }
    QStringList titles() { return column(win->GV(), 1); }
    QStringList summary() { return column(win->GVSV(), 0); }
    QString currentName() {
        const auto r = ops::titleRecord(win->session().catalog(), win->currentTitleId());
        return r ? r->name : QString();
    }
    QString gvsvCurrent() { return win->GVSV().GetCellText(0, win->GVSV().CurrentRow()); }

    TempCatalog cat;
};

} // namespace

TEST_F(Browser, RecentlyUpdatedTitlesAreHighlighted) {
    const QDateTime now = QDateTime::currentDateTime();
    struct Case {
        const char *name;
        std::optional<QDateTime> update;
        bool highlighted;
    };
    const Case cases[] = {
        {"A exactly 14 days", now.addDays(-14), false},
        {"B 13 days 23 hours", now.addDays(-14).addSecs(3600), true},
        {"C two days ahead", now.addDays(2), true},
        {"D 20 days", now.addDays(-20), false},
        {"E no episodes", std::nullopt, false},
    };
    for (const Case &c : cases) {
        const qint64 id = cat.addTitle(QString::fromUtf8(c.name));
        if (c.update)
            cat.addEpisode(id, {.size = 10.0, .update = c.update});
    }
    ASSERT_TRUE(startOn(cat));
    for (int i = 0; i < 5; ++i) {
        const int sv = win->SeeingSV(win->GV().CellAt(0, i).AsInteger());
        ASSERT_GE(sv, 0);
        const GridColor want = cases[i].highlighted ? clSkyBlue : clSilver;
        for (int c = 0; c < 12; ++c)
            EXPECT_EQ(win->GVSV().CellAt(c, sv).Color(), want) << cases[i].name << " column " << c;
        // The title list colours its title cell only.
        EXPECT_EQ(win->GV().CellAt(1, i).Color() == clSkyBlue, cases[i].highlighted) << cases[i].name;
        EXPECT_NE(win->GV().CellAt(0, i).Color(), clSkyBlue);
    }
}

TEST_F(Browser, SearchNarrowsTheListsAndClearingListsAllAgain) {
    addTitles({"Naruto", "Akira", "Nana", "nausicaa", "Monster", "O'Neil"});
    ASSERT_TRUE(startOn(cat));
    QTest::keyClicks(win->EFound(), QStringLiteral("Na"));
    EXPECT_EQ(summary(), (QStringList{"Nana", "Naruto", "nausicaa"}));
    EXPECT_EQ(titles(), (QStringList{"Nana", "Naruto", "nausicaa"}));
    EXPECT_EQ(column(win->GV4(), 1), titles());
    EXPECT_EQ(win->GVSV().CurrentRow(), 0);
    EXPECT_EQ(currentName(), QStringLiteral("Nana"));
    // The status bar counts the whole catalog.
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 6"));

    win->EFound()->clear();
    EXPECT_EQ(summary().size(), 6);
    EXPECT_EQ(win->GVSV().CurrentRow(), 0);
    EXPECT_EQ(currentName(), QStringLiteral("Akira"));

    // Characters of the filter language match themselves; nothing matches is an empty table.
    QTest::keyClicks(win->EFound(), QStringLiteral("O'"));
    EXPECT_EQ(summary(), QStringList{QStringLiteral("O'Neil")});
    win->EFound()->setText(QStringLiteral("%"));
    EXPECT_TRUE(summary().isEmpty());
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(Browser, FullRefreshEmptiesTheSearchAndSelectsTheFirstRow) {
    addTitles({"Naruto", "Akira", "Nana"});
    ASSERT_TRUE(startOn(cat));
    win->EFound()->setText(QStringLiteral("Nar"));
    ASSERT_EQ(summary(), QStringList{QStringLiteral("Naruto")});
    win->UpDateAll(true);
    EXPECT_TRUE(win->EFound()->text().isEmpty());
    EXPECT_EQ(summary(), (QStringList{"Akira", "Nana", "Naruto"}));
    EXPECT_EQ(win->GVSV().CurrentRow(), 0);
    EXPECT_EQ(currentName(), QStringLiteral("Akira"));
}

TEST_F(Browser, EpisodeRefreshKeepsTheTitleListAndTheCurrentTitle) {
    const auto ids = addTitles({"Akira", "Bebop"});
    ASSERT_TRUE(startOn(cat));
    win->GV().MoveToCell(1, 1);
    cat.addEpisode(ids[1], {.size = 1048576.0 * 3});
    cat.addTitle(QStringLiteral("Cowboy")); // added behind the window's back
    win->UpDateAll(false);
    // Every list shows what the file holds, the title added behind the window's back too.
    EXPECT_EQ(titles(), (QStringList{"Akira", "Bebop", "Cowboy"}));
    EXPECT_EQ(summary(), (QStringList{"Akira", "Bebop", "Cowboy"}));
    EXPECT_EQ(win->GV().CurrentRow(), 1);
    EXPECT_EQ(currentName(), QStringLiteral("Bebop"));
    EXPECT_EQ(win->GVSV().GetCellText(3, 1), GroupDigits(QStringLiteral("3")));
}

TEST_F(Browser, SelectingATitleShowsItsEpisodesAndTotals) {
    const auto ids = addTitles({"Akira", "Bebop"});
    cat.addEpisode(ids[1], {.name = QStringLiteral("b2.mkv"),
                            .size = 1000.0,
                            .width = 640,
                            .height = 480,
                            .durationMs = 61000,
                            .sound = 0,
                            .subIn = 1,
                            .subExt = 2});
    cat.addEpisode(ids[1], {.name = QStringLiteral("b1.mkv"), .size = 234.0, .durationMs = 1000});
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(win->DBGrid2().RowCount(), 0);
    QTest::mouseClick(win->GVSV().viewport(), Qt::LeftButton, {},
                      win->GVSV().visualRect(win->GVSV().model()->index(1, 0)).center());
    EXPECT_EQ(currentName(), QStringLiteral("Bebop"));
    EXPECT_EQ(win->GV().CurrentRow(), 1);
    ASSERT_EQ(win->DBGrid2().RowCount(), 2);
    EXPECT_EQ(column(win->DBGrid2(), 0), (QStringList{"b1.mkv", "b2.mkv"}));
    EXPECT_EQ(win->DBGrid2().GetCellText(2, 1), QStringLiteral("640x480"));
    EXPECT_EQ(win->DBGrid2().GetCellText(3, 1), FormatPlayTime(61000));
    EXPECT_EQ(win->DBGrid2().GetCellText(1, 1), GroupDigits(QStringLiteral("1000")));
    // The intake page shows the episodes of the title chosen there.
    EXPECT_EQ(win->DBGrid1().RowCount(), 0);
    win->GV4().MoveToCell(1, 1);
    EXPECT_EQ(column(win->DBGrid1(), 0), column(win->DBGrid2(), 0));
    EXPECT_EQ(win->titlesPage()->ESize->text(), GroupDigits(QStringLiteral("1234")));
    EXPECT_EQ(win->titlesPage()->ETime->text(), FormatPlayTime(62000));
    EXPECT_EQ(win->titlesPage()->EKoment->text(), QStringLiteral("c-Bebop"));
    EXPECT_EQ(win->titlesPage()->LCBType->currentText(), QStringLiteral("TV"));
    EXPECT_EQ(win->DBGrid2().Column(1).Caption(), QStringLiteral("Объём (байт)"));
    // Enter and a double click lead to the episodes.
    win->setActivePage(TView_Base::Tns);
    key(&win->GVSV(), Qt::Key_Return);
    EXPECT_EQ(win->ActivePage(), TView_Base::TOsn);
}

TEST_F(Browser, LetterJumpStepsWrapsAndSkipsLowerCase) {
    addTitles({"Akira", "Bebop", "Berserk", "bleach", "Cowboy"});
    ASSERT_TRUE(startOn(cat));
    TGridView &gv = win->GV();
    gv.MoveToCell(1, 0);
    const char *expected[] = {"Bebop", "Berserk", "Bebop"};
    for (const char *name : expected) {
        key(&gv, Qt::Key_B);
        EXPECT_EQ(gv.GetCellText(1, gv.CurrentRow()), QString::fromUtf8(name));
        EXPECT_EQ(currentName(), QString::fromUtf8(name));
    }
    key(&gv, Qt::Key_Z);
    EXPECT_EQ(currentName(), QStringLiteral("Bebop"));
    // From the last row the walk starts at row 1; row 0 comes last.
    gv.MoveToCell(1, 4);
    key(&gv, Qt::Key_A);
    EXPECT_EQ(gv.CurrentRow(), 0);
    gv.MoveToCell(1, 4);
    key(&gv, Qt::Key_C);
    EXPECT_EQ(gv.CurrentRow(), 4);
    // The summary table jumps in its title column.
    win->setActivePage(TView_Base::Tns);
    key(&win->GVSV(), Qt::Key_C);
    EXPECT_EQ(gvsvCurrent(), QStringLiteral("Cowboy"));
}

TEST_F(Browser, LetterJumpOnAOneRowGridExaminesThatRow) {
    addTitles({"Akira", "Bebop"});
    ASSERT_TRUE(startOn(cat));
    win->EFound()->setText(QStringLiteral("Beb"));
    ASSERT_EQ(win->GV().RowCount(), 1);
    win->setActivePage(TView_Base::TOsn);
    key(&win->GV(), Qt::Key_B);
    EXPECT_EQ(win->GV().CurrentRow(), 0);
    EXPECT_EQ(currentName(), QStringLiteral("Bebop"));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(Browser, DeletingATitlePositionsTheList) {
    struct Case {
        int row;
        const char *current;
    };
    // Four titles; after the delete three are left (RowCount 3).
    const Case cases[] = {
        {3, "C"}, // the last: the new last title
        {2, "B"}, // k = RowCount - 1: the title before it
        {0, "B"}, // higher up: the title that moved into row k
        {1, "C"},
    };
    for (const Case &c : cases) {
        TempCatalog fresh;
        for (const char *n : {"A", "B", "C", "D"})
            fresh.addTitle(QString::fromUtf8(n));
        ASSERT_TRUE(startOn(fresh));
        win->GV().MoveToCell(1, c.row);
        dialogs.setNextAnswer(Answer::Yes);
        key(&win->GV(), Qt::Key_Delete);
        ASSERT_EQ(dialogs.count(QStringLiteral("askYesNo")), 1);
        EXPECT_EQ(dialogs.calls().back().caption, QStringLiteral("Вы уверены?"));
        EXPECT_EQ(win->GV().RowCount(), 3);
        EXPECT_EQ(currentName(), QString::fromUtf8(c.current)) << "deleted row " << c.row;
        EXPECT_EQ(win->GV().GetCellText(1, win->GV().CurrentRow()), QString::fromUtf8(c.current));
        EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Список\"")), QStringLiteral("3"));
        dialogs.clear();
        closeWindow();
    }
}

TEST_F(Browser, DeleteAskedAndRefusedChangesNothing) {
    addTitles({"Akira", "Bebop"});
    ASSERT_TRUE(startOn(cat));
    win->GV().MoveToCell(1, 1);
    dialogs.setNextAnswer(Answer::No);
    key(&win->GV(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.calls().back().text, QStringLiteral("Удалить Bebop ?"));
    EXPECT_EQ(titles(), (QStringList{"Akira", "Bebop"}));
    EXPECT_EQ(currentName(), QStringLiteral("Bebop"));
}

TEST_F(Browser, DeletingTheOnlyTitleLeavesNoCurrentTitle) {
    const auto ids = addTitles({"Akira"});
    cat.addEpisode(ids[0], {.size = 5.0});
    ASSERT_TRUE(startOn(cat));
    ASSERT_EQ(win->DBGrid2().RowCount(), 1);
    dialogs.setNextAnswer(Answer::Yes);
    key(&win->GV(), Qt::Key_Delete);
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(';').toStdString();
    EXPECT_EQ(win->GV().RowCount(), 0);
    EXPECT_EQ(win->GVSV().RowCount(), 0);
    EXPECT_EQ(win->DBGrid2().RowCount(), 0);
    EXPECT_EQ(win->currentTitleId(), 0);
    EXPECT_FALSE(win->titlesPage()->EKoment->isEnabled());
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Серии\"")), QStringLiteral("0"));
    // Keys on the empty lists do nothing.
    key(&win->GV(), Qt::Key_Delete);
    key(&win->GV(), Qt::Key_A);
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(Browser, RenameWithF2MovesTheTitleToItsPlace) {
    const auto ids = addTitles({"Akira", "Bebop", "Cowboy"});
    ASSERT_TRUE(startOn(cat));
    TGridView &gv = win->GV();
    gv.MoveToCell(1, 0);
    key(&gv, Qt::Key_F2);
    ASSERT_TRUE(gv.Editing());
    QLineEdit *ed = gv.Editor();
    ed->selectAll();
    QTest::keyClicks(ed, QStringLiteral("Zeta"));
    QTest::keyClick(ed, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(), (QStringList{"Bebop", "Cowboy", "Zeta"}));
    EXPECT_EQ(gv.CurrentRow(), 2);
    EXPECT_EQ(win->currentTitleId(), ids[0]);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = %1").arg(ids[0])),
              QStringLiteral("Zeta"));
    EXPECT_FALSE(gv.Column(1).HasOption(coEditing));

    // The summary table renames in its title column.
    TGridView &sv = win->GVSV();
    win->setActivePage(TView_Base::Tns);
    sv.SetCurrentRow(0);
    key(&sv, Qt::Key_F2);
    ASSERT_TRUE(sv.Editing());
    sv.Editor()->selectAll();
    QTest::keyClicks(sv.Editor(), QStringLiteral("Ai"));
    QTest::keyClick(sv.Editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(summary(), (QStringList{"Ai", "Cowboy", "Zeta"}));
    // Enter accepts the rename and the renamed title stays current: no move to the next row.
    EXPECT_EQ(gvsvCurrent(), QStringLiteral("Ai"));
    EXPECT_EQ(win->currentTitleId(), ids[1]);
}

TEST_F(Browser, RefusedNameIsNotLeftPending) {
    addTitles({"Akira", "Bebop"});
    ASSERT_TRUE(startOn(cat));
    TGridView &gv = win->GV();
    gv.MoveToCell(1, 0);
    gv.Column(1).AddOption(coEditing);
    gv.SetCellText(1, 0, QString(300, QLatin1Char('x')));
    ErrorGuard::run(win.get(), [&] { win->EditName(gv, 1, 0, 0); });
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(gv.GetCellText(1, 0), QStringLiteral("Akira"));
    // Moving on works and stores nothing of it.
    dialogs.clear();
    gv.MoveToCell(1, 1);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Список\" WHERE \"Название\" = 'Akira'")),
              QStringLiteral("1"));
}

TEST_F(Browser, TypedDetailsAreMirroredAndStored) {
    const auto ids = addTitles({"Akira", "Bebop"});
    ASSERT_TRUE(startOn(cat));
    TPageTitles *p = win->titlesPage();
    win->GV().MoveToCell(1, 0);
    p->EKoment->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(win->titles().DetailEditing());
    p->EKoment->selectAll();
    QTest::keyClicks(p->EKoment, QStringLiteral("best"));
    QTest::keyClicks(p->ECount, QStringLiteral("6"));
    EXPECT_EQ(win->GVSV().GetCellText(9, 0), QStringLiteral("best"));
    EXPECT_EQ(win->GVSV().GetCellText(2, 0), QStringLiteral("126"));
    // Moving to another title does not copy its texts over the first row.
    win->GV().setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(win->titles().DetailEditing());
    win->GV().MoveToCell(1, 1);
    EXPECT_EQ(p->EKoment->text(), QStringLiteral("c-Bebop"));
    EXPECT_EQ(win->GVSV().GetCellText(9, 0), QStringLiteral("best"));
    EXPECT_EQ(win->GVSV().GetCellText(9, 1), QStringLiteral("c-Bebop"));
    EXPECT_EQ(
        cat.scalar(QStringLiteral("SELECT \"Комментарий\" FROM \"Список\" WHERE \"ID\" = %1").arg(ids[0])),
        QStringLiteral("best"));

    // The type box writes the key and mirrors its text.
    p->LCBType->setFocus();
    QCoreApplication::processEvents();
    const int movie = p->LCBType->findText(QStringLiteral("Movie"));
    ASSERT_GE(movie, 0);
    p->LCBType->setCurrentIndex(movie);
    Q_EMIT p->LCBType->activated(movie);
    EXPECT_EQ(win->GVSV().GetCellText(1, 1), QStringLiteral("Movie"));
    win->GV().setFocus();
    win->GV().MoveToCell(1, 0);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT \"NType\" FROM \"Список\" WHERE \"ID\" = %1").arg(ids[1])),
              QStringLiteral("2"));
}

TEST_F(Browser, PendingDetailEditIsStoredOnCloseAndOnSwitch) {
    const auto ids = addTitles({"Akira"});
    TempCatalog other;
    other.addTitle(QStringLiteral("Monster"));
    for (bool viaSwitch : {false, true}) {
        ASSERT_TRUE(startOn(cat));
        TPageTitles *p = win->titlesPage();
        p->EKoment->setFocus();
        p->EKoment->selectAll();
        const QString text = viaSwitch ? QStringLiteral("switched") : QStringLiteral("closed");
        QTest::keyClicks(p->EKoment, text);
        if (viaSwitch) {
            dialogs.setNextFileName(other.path());
            QTest::mouseClick(win->Panel18(), Qt::LeftButton);
            EXPECT_EQ(win->session().path(), other.path());
        }
        closeWindow();
        EXPECT_EQ(cat.scalar(
                      QStringLiteral("SELECT \"Комментарий\" FROM \"Список\" WHERE \"ID\" = %1").arg(ids[0])),
                  text);
        EXPECT_TRUE(dialogs.errors().isEmpty());
    }
}

TEST_F(Browser, TheTitlePageShowsNoSizeWhereNoEpisodeHasOne) {
    const auto ids = addTitles({"Akira", "Bebop", "Cowboy"});
    cat.addEpisode(ids[1], {.name = QStringLiteral("b1"), .size = 2048.0, .durationMs = 3000});
    cat.addEpisode(ids[2], {.name = QStringLiteral("c1")}); // neither size nor play time known
    ASSERT_TRUE(startOn(cat));
    const struct {
        int row;
        QString size, time;
    } cases[] = {{1, GroupDigits(QStringLiteral("2048")), FormatPlayTime(3000)},
                 {0, QString(), FormatPlayTime(0)},
                 {2, QString(), FormatPlayTime(0)}};
    for (const auto &c : cases) {
        win->GV().MoveToCell(1, c.row);
        EXPECT_EQ(win->titlesPage()->ESize->text(), c.size) << "row " << c.row;
        EXPECT_EQ(win->titlesPage()->ETime->text(), c.time) << "row " << c.row;
    }
}

TEST_F(Browser, DeletingAnEpisodeShowsTheTitlesNewTotals) {
    const auto ids = addTitles({"Akira"});
    cat.addEpisode(ids[0], {.name = QStringLiteral("a1"), .size = 100.0, .durationMs = 1000});
    cat.addEpisode(ids[0], {.name = QStringLiteral("a2"), .size = 200.0, .durationMs = 2000});
    ASSERT_TRUE(startOn(cat));
    const QString size = win->titlesPage()->ESize->text();
    TGridView &eg = win->DBGrid2();
    eg.MoveToCell(0, 1);
    dialogs.setNextAnswer(Answer::Yes);
    key(&eg, Qt::Key_Delete);
    EXPECT_EQ(dialogs.calls().back().text, QStringLiteral("Удалить a2 ?"));
    EXPECT_EQ(column(eg, 0), QStringList{QStringLiteral("a1")});
    // The page shows what the file holds at once, not the totals before the delete.
    EXPECT_NE(win->titlesPage()->ESize->text(), size);
    EXPECT_EQ(win->titlesPage()->ESize->text(), GroupDigits(QStringLiteral("100")));
    EXPECT_EQ(win->statsPage()->LCE->text(), QStringLiteral("1"));
    EXPECT_EQ(win->GVSV().GetCellText(4, 0), FormatPlayTime(1000));
    win->GV().MoveToCell(1, 0);
    EXPECT_EQ(win->titlesPage()->ESize->text(), GroupDigits(QStringLiteral("100")));
}

TEST_F(Browser, KeypadPlusSelectsConsecutiveTitles) {
    const auto ids = addTitles({"A", "B", "C", "D", "E", "F"});
    for (qint64 id : ids)
        cat.addEpisode(id, {.size = 1073741824.0, .durationMs = 1000});
    ASSERT_TRUE(startOn(cat));
    win->setActivePage(TView_Base::Tns);
    TGridView &sv = win->GVSV();
    sv.SetCurrentRow(0);
    for (int i = 0; i < 5; ++i)
        key(&sv, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(column(win->GV3(), 0), (QStringList{"A", "B", "C", "D", "E"}));
    TPageStats *st = win->statsPage();
    EXPECT_EQ(st->LVAni->text(), QStringLiteral("5"));
    EXPECT_EQ(st->LVFile->text(), QStringLiteral("5"));
    EXPECT_EQ(st->LVSize->text(), gigabyteText(5.0 * 1073741824.0));
    EXPECT_EQ(st->LVtime->text(), FormatPlayTime(5000));
    for (int r = 0; r < 5; ++r) {
        EXPECT_TRUE(sv.CellAt(10, r).AsBoolean());
        EXPECT_EQ(sv.CellAt(0, r).Color(), clAqua);
        EXPECT_EQ(sv.CellAt(11, r).Color(), clAqua);
    }
    EXPECT_EQ(sv.CurrentRow(), 5);
    EXPECT_EQ(win->GV3().GetCellText(10, 2), QString::number(ids[2]));

    // The last row: added, and the current row stays.
    key(&sv, Qt::Key_Insert);
    EXPECT_EQ(sv.CurrentRow(), 5);
    EXPECT_EQ(win->selTotals().TitleCount, 6);
}

TEST_F(Browser, MarksSurviveRebuildsSoNothingIsCountedTwice) {
    addTitles({"Akira", "Bebop", "Naruto"});
    ASSERT_TRUE(startOn(cat));
    TGridView &sv = win->GVSV();
    sv.SetCurrentRow(0);
    win->stats().SelIOClick();
    ASSERT_EQ(win->selTotals().TitleCount, 1);
    // A search and its clearing rebuild the table.
    win->EFound()->setText(QStringLiteral("A"));
    win->EFound()->clear();
    EXPECT_TRUE(sv.CellAt(10, 0).AsBoolean());
    EXPECT_EQ(sv.CellAt(0, 0).Color(), clAqua);
    win->UpDateAll(true);
    EXPECT_TRUE(sv.CellAt(10, 0).AsBoolean());
    // The toggle now removes the title instead of adding it again.
    sv.SetCurrentRow(0);
    win->stats().SelIOClick();
    EXPECT_EQ(win->GV3().RowCount(), 0);
    EXPECT_EQ(win->selTotals().TitleCount, 0);
    EXPECT_EQ(sv.CellAt(0, 0).Color(), clSilver);
}

TEST_F(Browser, RightClickOnASelectedRowRemovesIt) {
    const auto ids = addTitles({"Akira", "Bebop"});
    cat.addEpisode(ids[0], {.size = 10.0, .update = QDateTime::currentDateTime()});
    ASSERT_TRUE(startOn(cat));
    win->setActivePage(TView_Base::Tns);
    TGridView &sv = win->GVSV();
    ASSERT_EQ(sv.CellAt(0, 0).Color(), clSkyBlue);
    const QPoint row0 = sv.visualRect(sv.model()->index(0, 0)).center();
    QTest::mouseClick(sv.viewport(), Qt::RightButton, {}, row0);
    EXPECT_EQ(win->GV3().RowCount(), 1);
    EXPECT_EQ(sv.CellAt(0, 0).Color(), clAqua);
    QTest::mouseClick(sv.viewport(), Qt::RightButton, {}, row0);
    EXPECT_EQ(win->GV3().RowCount(), 0);
    EXPECT_EQ(sv.CellAt(0, 0).Color(), clSilver); // silver even though it was sky blue
    EXPECT_FALSE(sv.CellAt(10, 0).AsBoolean());
}

TEST_F(Browser, DeleteInTheSelectionListRemovesWithoutAsking) {
    const auto ids = addTitles({"Akira", "Bebop", "Cowboy"});
    for (qint64 id : ids)
        cat.addEpisode(id, {.size = 1000.0, .durationMs = 500});
    ASSERT_TRUE(startOn(cat));
    TGridView &sv = win->GVSV();
    sv.SetCurrentRow(0);
    for (int i = 0; i < 3; ++i)
        win->stats().SelIOClick();
    ASSERT_EQ(win->GV3().RowCount(), 3);
    win->setActivePage(TView_Base::Stat);
    TGridView &g3 = win->GV3();
    g3.MoveToCell(0, 1);
    EXPECT_EQ(currentName(), QStringLiteral("Bebop"));
    key(&g3, Qt::Key_Delete);
    EXPECT_EQ(dialogs.calls().size(), 0u);
    EXPECT_EQ(column(g3, 0), (QStringList{"Akira", "Cowboy"}));
    EXPECT_EQ(sv.CellAt(0, 1).Color(), clSilver);
    EXPECT_EQ(win->statsPage()->LVAni->text(), QStringLiteral("2"));
    while (g3.RowCount() > 0) {
        g3.MoveToCell(0, 0);
        key(&g3, Qt::Key_Delete);
    }
    TPageStats *st = win->statsPage();
    EXPECT_EQ(st->LVAni->text(), QStringLiteral("0"));
    EXPECT_EQ(st->LVFile->text(), QStringLiteral("0"));
    EXPECT_EQ(st->LVSize->text(), gigabyteText(0));
    EXPECT_EQ(st->LVtime->text(), FormatPlayTime(0));
    // Enter in the list leads to the episodes.
    win->stats().SelIOClick();
    win->setActivePage(TView_Base::Stat);
    g3.MoveToCell(0, 0);
    key(&g3, Qt::Key_Return);
    EXPECT_EQ(win->ActivePage(), TView_Base::TOsn);
}

TEST_F(Browser, RemovingATitleThatIsNotSelectedChangesNothing) {
    addTitles({"Akira", "Bebop", "Cowboy"});
    ASSERT_TRUE(startOn(cat));
    win->GVSV().SetCurrentRow(0);
    win->stats().SelIOClick();  // Akira
    win->GV().MoveToCell(1, 2); // Cowboy is current, not selected
    win->stats().DelFromG3();
    EXPECT_EQ(column(win->GV3(), 0), QStringList{QStringLiteral("Akira")});
    EXPECT_EQ(win->selTotals().TitleCount, 1);
    EXPECT_TRUE(win->GVSV().CellAt(10, 0).AsBoolean());
    EXPECT_EQ(win->GVSV().CellAt(0, 0).Color(), clAqua);
}

TEST_F(Browser, StatisticsCountTheWholeCatalog) {
    const auto ids = addTitles({"Akira", "Bebop"});
    cat.addEpisode(ids[0], {.size = 1610612736.0, .durationMs = 3600000});
    cat.addEpisode(ids[1], {.size = 536870912.0, .durationMs = 1000});
    ASSERT_TRUE(startOn(cat));
    win->EFound()->setText(QStringLiteral("B"));
    TPageStats *st = win->statsPage();
    win->stats().UpStat();
    EXPECT_EQ(st->LCount->text(), QStringLiteral("2"));
    EXPECT_EQ(st->LCE->text(), QStringLiteral("2"));
    EXPECT_EQ(st->LSize->text(), gigabyteText(2147483648.0));
    EXPECT_EQ(st->LTime->text(), FormatPlayTime(3601000));
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 2"));
}
