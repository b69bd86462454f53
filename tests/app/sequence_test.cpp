// Sequences of use through the real window: each test is a table of steps (keys and clicks),
// followed by what the catalog must hold and what the window must show. Every step on its own
// worked before; these sequences stored wrong data, lost typing or showed wrong totals.
#include "window_fixture.h"

#include "catalog/formats.h"
#include "page_stats.h"
#include "page_titles.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <functional>

using namespace vq;
using namespace vq::test;

namespace {

constexpr double GB = 1073741824.0;

class Sequence : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        akira = cat.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QStringLiteral("c-Akira"), 2);
        bebop = cat.addTitle(QStringLiteral("Bebop"), QStringLiteral("26"), QStringLiteral("c-Bebop"), 3);
        cowboy = cat.addTitle(QStringLiteral("Cowboy"), QString(), QString(), 3);
        cat.addEpisode(akira, {.name = QStringLiteral("a1"), .size = 2 * GB, .durationMs = 1000});
        cat.addEpisode(bebop, {.name = QStringLiteral("b1"), .size = GB, .durationMs = 100});
        cat.addEpisode(bebop, {.name = QStringLiteral("b2"), .size = GB, .durationMs = 100});
        cat.addEpisode(cowboy, {.name = QStringLiteral("c1"), .size = 4 * GB, .durationMs = 10});
    }

    // ---- steps ----
    Step clickTitle(const char *name) {
        return {"click a title in the list", [this, name] {
                    TGridView &g = win->GV();
                    const int row = column(g, 1).indexOf(QString::fromUtf8(name));
                    ASSERT_GE(row, 0) << name;
                    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, rowCenter(g, row, 1));
                }};
    }
    Step summaryKey(Qt::Key k, const char *what) {
        return {what, [this, k] {
                    win->setActivePage(TView_Base::Tns);
                    key(&win->GVSV(), k);
                }};
    }
    Step summaryRow(const char *name) {
        return {"move to a summary row", [this, name] {
                    win->setActivePage(TView_Base::Tns);
                    const int row = column(win->GVSV(), 0).indexOf(QString::fromUtf8(name));
                    ASSERT_GE(row, 0) << name;
                    win->GVSV().MoveToCell(0, row);
                }};
    }
    Step deleteTitleWithKey() {
        return {"Delete in the title list, Yes", [this] {
                    win->setActivePage(TView_Base::TOsn);
                    dialogs.setNextAnswer(Answer::Yes);
                    key(&win->GV(), Qt::Key_Delete);
                }};
    }
    Step type(QLineEdit *edit, const QString &text) {
        return {"type into a box", [edit, text] {
                    edit->setFocus();
                    QCoreApplication::processEvents();
                    edit->selectAll();
                    QTest::keyClicks(edit, text);
                }};
    }

    QString stored(const char *column, qint64 id) {
        return cat.scalar(QStringLiteral("SELECT \"%1\" FROM \"Список\" WHERE \"ID\" = %2")
                              .arg(QString::fromUtf8(column))
                              .arg(id));
    }
    QStringList selectedTexts() {
        TPageStats *st = win->statsPage();
        return {st->LVAni->text(), st->LVFile->text(), st->LVSize->text(), st->LVtime->text()};
    }
    QStringList totals(int titles, int files, double size, qint64 ms) {
        return {QString::number(titles), QString::number(files), gigabyteText(size), FormatPlayTime(ms)};
    }

    TempCatalog cat;
    qint64 akira = 0, bebop = 0, cowboy = 0;
};

TEST_F(Sequence, TypingWhileTheSearchMatchesNothingIsStored) {
    ASSERT_TRUE(startOn(cat));
    TPageTitles *p = win->titlesPage();
    run({
        clickTitle("Bebop"),
        {"search for what no title begins with",
         [&] { QTest::keyClicks(win->EFound(), QStringLiteral("zz")); }},
        type(p->EKoment, QStringLiteral("kept")),
        type(p->ECount, QStringLiteral("13")),
        {"clear the search", [&] { win->EFound()->clear(); }},
    });
    EXPECT_EQ(stored("Комментарий", bebop), QStringLiteral("kept"));
    EXPECT_EQ(stored("Количество серий", bebop), QStringLiteral("13"));
    EXPECT_EQ(stored("Комментарий", akira), QStringLiteral("c-Akira"));
    EXPECT_EQ(win->GVSV().GetCellText(9, win->SeeingSV(bebop)), QStringLiteral("kept"));
}

TEST_F(Sequence, ADeletedTitleLeavesTheSelectionAndItsTotals) {
    ASSERT_TRUE(startOn(cat));
    run({
        summaryRow("Akira"),
        summaryKey(Qt::Key_Insert, "Insert: Akira"),
        summaryKey(Qt::Key_Insert, "Insert: Bebop"),
        clickTitle("Bebop"),
        deleteTitleWithKey(),
    });
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Список\" WHERE \"ID\" = %1").arg(bebop)),
              QStringLiteral("0"));
    EXPECT_EQ(column(win->GV3(), 0), QStringList{QStringLiteral("Akira")});
    EXPECT_EQ(selectedTexts(), totals(1, 1, 2 * GB, 1000));
    EXPECT_FALSE(win->selectedIds().contains(bebop));
    // The rest of the selection still works: a right click on Akira takes it out.
    win->setActivePage(TView_Base::Tns);
    TGridView &sv = win->GVSV();
    QTest::mouseClick(sv.viewport(), Qt::RightButton, {}, rowCenter(sv, win->SeeingSV(akira), 0));
    EXPECT_EQ(win->GV3().RowCount(), 0);
    EXPECT_EQ(selectedTexts(), totals(0, 0, 0, 0));
}

TEST_F(Sequence, SelectionTotalsFollowChangedEpisodes) {
    ASSERT_TRUE(startOn(cat));
    TGridView &eg = win->DBGrid2();
    run({
        summaryRow("Bebop"),
        summaryKey(Qt::Key_Insert, "Insert: Bebop"),
        clickTitle("Bebop"),
        {"Delete b2 in the episode grid, Yes",
         [&] {
             eg.MoveToCell(0, 1);
             dialogs.setNextAnswer(Answer::Yes);
             key(&eg, Qt::Key_Delete);
         }},
    });
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Серии\" WHERE \"Название\" = %1").arg(bebop)),
              QStringLiteral("1"));
    EXPECT_EQ(selectedTexts(), totals(1, 1, GB, 100));
    // Taking the title out leaves nothing behind.
    run({summaryRow("Bebop"), summaryKey(Qt::Key_Insert, "Insert again: out")});
    EXPECT_EQ(selectedTexts(), totals(0, 0, 0, 0));
}

TEST_F(Sequence, DeleteInTheSelectionListRemovesRowAfterRow) {
    ASSERT_TRUE(startOn(cat));
    TGridView &g3 = win->GV3();
    std::vector<Step> steps = {summaryRow("Akira")};
    for (int i = 0; i < 3; ++i)
        steps.push_back(summaryKey(Qt::Key_Insert, "Insert"));
    steps.push_back({"the list, first row", [&] {
                         win->setActivePage(TView_Base::Stat);
                         g3.MoveToCell(0, 0);
                     }});
    run(steps);
    for (const QStringList &left : {QStringList{"Bebop", "Cowboy"}, QStringList{"Cowboy"}, QStringList{}}) {
        run({{"Delete without a click", [&] { key(&g3, Qt::Key_Delete); }}});
        EXPECT_EQ(column(g3, 0), left);
        EXPECT_EQ(win->statsPage()->LVAni->text(), QString::number(left.size()));
    }
    EXPECT_TRUE(win->selectedIds().isEmpty());
    EXPECT_EQ(dialogs.calls().size(), 0u);
}

TEST_F(Sequence, HeaderSortKeepsTheHighlightedRowOnTheCurrentTitle) {
    ASSERT_TRUE(startOn(cat));
    TGridView &sv = win->GVSV();
    run({
        summaryRow("Akira"),
        {"click the size header twice (largest first)",
         [&] {
             const int x = sv.horizontalHeader()->sectionViewportPosition(3) + 5;
             QTest::mouseClick(sv.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
             QTest::mouseClick(sv.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
         }},
    });
    ASSERT_NE(column(sv, 0).indexOf(QStringLiteral("Akira")), 0) << "the sort must move Akira";
    EXPECT_EQ(sv.GetCellText(0, sv.CurrentRow()), QStringLiteral("Akira"));
    EXPECT_EQ(win->currentTitleId(), akira);
    // Insert acts on the highlighted row, Enter opens that title.
    run({summaryKey(Qt::Key_Insert, "Insert on the highlighted row")});
    EXPECT_EQ(column(win->GV3(), 0), QStringList{QStringLiteral("Akira")});
    run({summaryRow("Akira"), summaryKey(Qt::Key_Return, "Enter")});
    EXPECT_EQ(win->ActivePage(), TView_Base::TOsn);
    EXPECT_EQ(win->currentTitleId(), akira);
}

TEST_F(Sequence, AClickThatEndsARenamePicksTheRowClicked) {
    ASSERT_TRUE(startOn(cat));
    TGridView &sv = win->GVSV();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const QString newName = button == Qt::LeftButton ? QStringLiteral("Zeta") : QStringLiteral("Aa");
        const qint64 renamed = button == Qt::LeftButton ? akira : bebop;
        const QString from = button == Qt::LeftButton ? QStringLiteral("Akira") : QStringLiteral("Bebop");
        run({
            {"F2 on a title, type a name that sorts elsewhere",
             [&] {
                 win->setActivePage(TView_Base::Tns);
                 sv.MoveToCell(0, column(sv, 0).indexOf(from));
                 key(&sv, Qt::Key_F2);
                 ASSERT_TRUE(sv.Editing());
                 sv.Editor()->selectAll();
                 QTest::keyClicks(sv.Editor(), newName);
             }},
            {"click Cowboy while the editor is open",
             [&] {
                 QTest::mouseClick(sv.viewport(), button, {},
                                   rowCenter(sv, column(sv, 0).indexOf(QStringLiteral("Cowboy")), 0));
             }},
        });
        EXPECT_EQ(stored("Название", renamed), newName);
        if (button == Qt::LeftButton) {
            EXPECT_EQ(sv.GetCellText(0, sv.CurrentRow()), QStringLiteral("Cowboy"));
            EXPECT_EQ(win->currentTitleId(), cowboy);
        } else {
            // The right click selects the title clicked (and the toggle moves on, as always).
            EXPECT_EQ(column(win->GV3(), 0), QStringList{QStringLiteral("Cowboy")});
        }
    }
}

TEST_F(Sequence, TheWindowStartsWithACurrentRowAndNoStrayType) {
    ASSERT_TRUE(startOn(cat));
    TGridView &gv = win->GV();
    // The highlighted cell is the visible title cell, not the hidden ID.
    EXPECT_EQ(gv.currentIndex(), gv.model()->index(0, 1));
    EXPECT_EQ(win->currentTitleId(), akira);
    // The letter jump moves the highlighted row and the current title together.
    run({{"C in the title list", [&] { key(&gv, Qt::Key_C); }}});
    EXPECT_EQ(gv.currentIndex(), gv.model()->index(2, 1));
    EXPECT_EQ(win->currentTitleId(), cowboy);

    // An empty catalog: the disabled type box shows no type.
    TempCatalog empty;
    closeWindow();
    ASSERT_TRUE(startOn(empty));
    QComboBox *type = win->titlesPage()->LCBType;
    EXPECT_FALSE(type->isEnabled());
    EXPECT_EQ(type->currentText(), QString());
}

} // namespace

namespace {

TEST_F(Sequence, WhatTheUserArrangedIsWhatIsSaved) {
    ASSERT_TRUE(startOn(cat));
    QSplitter *s1 = win->titlesPage()->Splitter1;
    TGridView &intakeEpisodes = win->DBGrid1();
    const QString widthBefore = QString::number(win->seriesWidths()[0]);
    run({
        {"drag the first page's splitter to 200 px",
         [&] {
             QList<int> sizes = s1->sizes();
             const int total = sizes[0] + sizes[1];
             s1->setSizes({200, total - 200});
         }},
        {"open Статистика, then Добавить новое",
         [&] {
             win->setActivePage(TView_Base::Stat);
             QCoreApplication::processEvents();
             win->setActivePage(TView_Base::TabNewA);
         }},
        {"widen the episode name column there",
         [&] { intakeEpisodes.Column(0).SetWidth(intakeEpisodes.Column(0).Width() + 200); }},
    });
    EXPECT_EQ(s1->sizes().value(0), 200);
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("View/s1")), QStringLiteral("200"));
    EXPECT_NE(setting(QStringLiteral("Series/s2")), widthBefore);
    EXPECT_GT(setting(QStringLiteral("Series/s2")).toInt(), widthBefore.toInt());
}

TEST_F(Sequence, APagePickedWithTheKeyboardIsRemembered) {
    setSetting(QStringLiteral("View/ActivePage"), QStringLiteral("9"));
    ASSERT_TRUE(startOn(cat));
    ASSERT_EQ(win->ActivePage(), -1);
    run({{"Ctrl+Tab in the pages", [&] { key(win->PageControl1(), Qt::Key_Tab, Qt::ControlModifier); }}});
    EXPECT_EQ(win->ActivePage(), win->PageControl1()->currentIndex());
    const QString picked = QString::number(win->PageControl1()->currentIndex());
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("View/ActivePage")), picked);
}

TEST_F(Sequence, ALongCommentIsShownFromItsStart) {
    const QString comment =
        QStringLiteral("Начало ") + QString(300 - 12, QLatin1Char('x')) + QStringLiteral(" конец");
    const qint64 id = cat.addTitle(QStringLiteral("Dorohedoro"), QString(), comment.left(255), 3);
    ASSERT_TRUE(startOn(cat));
    run({clickTitle("Akira"), clickTitle("Dorohedoro")});
    ASSERT_EQ(win->currentTitleId(), id);
    QLineEdit *box = win->titlesPage()->EKoment;
    EXPECT_EQ(box->text(), comment.left(255));
    EXPECT_EQ(box->cursorPosition(), 0);
    // In the summary the cut comment shows whole as a tooltip; a text that fits has none.
    TGridView &sv = win->GVSV();
    const int row = win->SeeingSV(id);
    EXPECT_EQ(sv.model()->data(sv.model()->index(row, 9), Qt::ToolTipRole).toString(), comment.left(255));
    EXPECT_FALSE(sv.model()->data(sv.model()->index(row, 1), Qt::ToolTipRole).isValid());
}

} // namespace
