#include "app/app_fixture.h"
#include "tgridview.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace vq;

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// A grid set up like the summary table: ten text columns, a hidden check-box column and a
// hidden numeric ID column; whole-row selection.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        grid = std::make_unique<TGridView>();
        grid->SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
        const int widths[] = {262, 73, 73, 67, 108, 80, 80, 54, 62, 186};
        for (int c = 0; c < 10; ++c)
            grid->AddTextColumn(QStringLiteral("C%1").arg(c)).SetWidth(widths[c]);
        GridColumn &sel = grid->AddColumn(ColumnKind::CheckBox, QStringLiteral("Выбрано"));
        sel.SetVisible(false);
        GridColumn &id = grid->AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
        id.SetVisible(false);
        grid->resize(640, 18 + 16 * 10 + 4);
        connect();
    }

    void fill(int rows) {
        for (int r = 0; r < rows; ++r) {
            grid->AddRows(1);
            const int row = grid->RowCount() - 1;
            for (int c = 0; c < 10; ++c)
                grid->SetCellText(c, row, QStringLiteral("%1:%2").arg(c).arg(row));
            grid->CellAt(11, row).SetAsInteger(1000 + row);
        }
    }

    void showActive() {
        grid->show();
        grid->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
        grid->setFocus();
        QCoreApplication::processEvents();
        log.clear();
    }

    QPoint cellCenter(int col, int row) {
        grid->Flush();
        return grid->visualRect(grid->model()->index(row, col)).center();
    }

    void connect() {
        TGridView *g = grid.get();
        QObject::connect(g, &TGridView::selectCell, g,
                         [this](int c, int r) { log << QStringLiteral("select %1 %2").arg(c).arg(r); });
        QObject::connect(g, &TGridView::deselectCell, g,
                         [this](int c, int r) { log << QStringLiteral("deselect %1 %2").arg(c).arg(r); });
        QObject::connect(g, &TGridView::keyDown, g, [this](QKeyEvent *e) {
            log << QStringLiteral("key %1 at %2").arg(e->key(), 0, 16).arg(grid->CurrentRow());
        });
        QObject::connect(g, &TGridView::mouseDown, g,
                         [this](Qt::MouseButton b, Qt::KeyboardModifiers, const QPoint &) {
                             log << QStringLiteral("mouse %1 at %2").arg(int(b)).arg(grid->CurrentRow());
                         });
        QObject::connect(g, &TGridView::dblClick, g, [this] { log << QStringLiteral("dblclick"); });
        QObject::connect(g, &TGridView::editText, g, [this](int c, int r, const QString &v) {
            log << QStringLiteral("edit %1 %2 %3").arg(c).arg(r).arg(v);
        });
        QObject::connect(g, &TGridView::editAccept, g, [this](int c, int r, const QString &v, bool &accept) {
            log << QStringLiteral("accept? %1 %2 %3").arg(c).arg(r).arg(v);
            accept = acceptEdits;
        });
        QObject::connect(g, &TGridView::afterEdit, g, [this](int c, int r, const QString &v) {
            // The stored text is already readable from the grid.
            log << QStringLiteral("after %1 %2 %3 = %4").arg(c).arg(r).arg(v, grid->GetCellText(c, r));
        });
    }

    std::unique_ptr<TGridView> grid;
    QStringList log;
    bool acceptEdits = true;
};

TEST_F(GridTest, MoveToCellDeselectsThenSelectsAndMarksTheRow) {
    fill(20);
    EXPECT_EQ(grid->SelectedRowCount(), 0);
    grid->MoveToCell(2, 5);
    EXPECT_EQ(log, (QStringList{"deselect 0 0", "select 2 5"}));
    EXPECT_EQ(grid->CurrentCol(), 2);
    EXPECT_EQ(grid->CurrentRow(), 5);
    EXPECT_TRUE(grid->RowSelected(5));
    EXPECT_EQ(grid->SelectedRowCount(), 1);

    log.clear();
    grid->MoveToCell(2, 5); // the same cell: selected again, nothing deselected
    EXPECT_EQ(log, (QStringList{"select 2 5"}));

    log.clear();
    grid->MoveToCell(2, 9);
    EXPECT_EQ(log, (QStringList{"deselect 2 5", "select 2 9"}));
    EXPECT_FALSE(grid->RowSelected(5));
    EXPECT_TRUE(grid->RowSelected(9));
    EXPECT_EQ(grid->SelectedRowCount(), 1);
}

TEST_F(GridTest, MoveToCellOnAnEmptyGridSelectsNothing) {
    grid->MoveToCell(3, 0);
    EXPECT_EQ(log, (QStringList{"deselect 0 0"}));
    EXPECT_EQ(grid->SelectedRowCount(), 0);
}

TEST_F(GridTest, SetCurrentRowIgnoresRowsOutsideTheGrid) {
    fill(7);
    grid->MoveToCell(1, 2);
    log.clear();
    grid->SetCurrentRow(grid->RowCount());
    grid->SetCurrentRow(-1);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(grid->CurrentRow(), 2);
    grid->SetCurrentRow(6);
    EXPECT_EQ(log, (QStringList{"deselect 1 2", "select 1 6"}));
}

TEST_F(GridTest, FillingIsPublishedToTheViewInOneBatch) {
    grid->show();
    QSignalSpy inserted(grid->model(), &QAbstractItemModel::rowsInserted);
    fill(2000);
    QCoreApplication::processEvents();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(grid->model()->rowCount(), 2000);
    EXPECT_EQ(grid->model()->data(grid->model()->index(1999, 3)).toString(), QStringLiteral("3:1999"));
}

struct KeyCase {
    const char *name;
    int startCol, startRow;
    Qt::Key key;
    int col, row; // expected focus; row -1 stands for the last row, -2 for the page end
    bool selects; // the key moved the focus, so selectCell fired
};
void PrintTo(const KeyCase &c, std::ostream *os) {
    *os << c.name;
}

class GridKeys : public GridTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridKeys, RealKeysMoveThroughMoveToCell) {
    const KeyCase k = GetParam();
    fill(100);
    grid->Column(1).SetVisible(false);
    showActive();
    grid->MoveToCell(k.startCol, k.startRow);
    grid->MakeRowVisible(k.startRow);
    const int page = grid->VisibleRowCount();
    ASSERT_GT(page, 3);
    log.clear();

    QTest::keyClick(grid.get(), k.key);

    int row = k.row;
    if (row == -1)
        row = grid->RowCount() - 1;
    EXPECT_EQ(grid->CurrentCol(), k.col);
    EXPECT_EQ(grid->CurrentRow(), row);
    const QString key = QStringLiteral("key %1 at %2").arg(int(k.key), 0, 16).arg(row);
    if (k.selects)
        EXPECT_EQ(log, (QStringList{QStringLiteral("deselect %1 %2").arg(k.startCol).arg(k.startRow),
                                    QStringLiteral("select %1 %2").arg(k.col).arg(row), key}));
    else
        EXPECT_EQ(log, (QStringList{key}));
    // The focused row is in view afterwards.
    EXPECT_GE(row, grid->TopRow());
    EXPECT_LT(row, grid->TopRow() + page);
}

INSTANTIATE_TEST_SUITE_P(Grid, GridKeys,
                         ::testing::Values(KeyCase{"Down", 0, 0, Qt::Key_Down, 0, 1, true},
                                           KeyCase{"UpAtTop", 0, 0, Qt::Key_Up, 0, 0, false},
                                           KeyCase{"Up", 3, 40, Qt::Key_Up, 3, 39, true},
                                           KeyCase{"DownAtBottom", 0, 99, Qt::Key_Down, 0, 99, false},
                                           KeyCase{"End", 0, 0, Qt::Key_End, 0, -1, true},
                                           KeyCase{"Home", 2, 70, Qt::Key_Home, 2, 0, true},
                                           KeyCase{"RightSkipsHidden", 0, 4, Qt::Key_Right, 2, 4, true},
                                           KeyCase{"LeftSkipsHidden", 2, 4, Qt::Key_Left, 0, 4, true},
                                           KeyCase{"RightStopsBeforeHiddenTail", 9, 4, Qt::Key_Right, 9, 4,
                                                   false},
                                           KeyCase{"LeftAtFirst", 0, 4, Qt::Key_Left, 0, 4, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridTest, PageKeysGoToTheViewsEdgeThenByAPage) {
    fill(100);
    showActive();
    grid->MoveToCell(0, 0);
    const int page = grid->VisibleRowCount();
    ASSERT_GT(page, 3);

    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->CurrentRow(), page - 1); // the bottom visible row
    EXPECT_EQ(grid->TopRow(), 0);
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->CurrentRow(), 2 * page - 1); // one page on, now the bottom row
    EXPECT_EQ(grid->TopRow(), page);
    QTest::keyClick(grid.get(), Qt::Key_PageUp);
    EXPECT_EQ(grid->CurrentRow(), page); // the top visible row
    QTest::keyClick(grid.get(), Qt::Key_PageUp);
    EXPECT_EQ(grid->CurrentRow(), 0);
    EXPECT_EQ(grid->TopRow(), 0);

    grid->MoveToCell(0, 97);
    grid->MakeRowVisible(97);
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->CurrentRow(), 99); // never past the last row
}

TEST_F(GridTest, LeftAndRightFollowTheDisplayOrder) {
    fill(3);
    showActive();
    grid->MoveColumnPosition(0, 3); // on screen: C1 C2 C3 C0 C4 ...
    grid->MoveToCell(3, 1);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->CurrentCol(), 0);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->CurrentCol(), 4);
    grid->MoveToCell(1, 1);
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->CurrentCol(), 1);
}

TEST_F(GridTest, MousePressMovesTheFocusBeforeTheHandlerRuns) {
    fill(8);
    showActive();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, cellCenter(2, 4));
    EXPECT_EQ(log, (QStringList{"deselect 0 0", "select 2 4", "mouse 2 at 4"}));
    log.clear();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(0, 6));
    EXPECT_EQ(log, (QStringList{"deselect 2 4", "select 0 6", "mouse 1 at 6"}));
    log.clear();
    QTest::mouseClick(grid->viewport(), Qt::MiddleButton, Qt::NoModifier, cellCenter(0, 2));
    EXPECT_EQ(log, (QStringList{"mouse 4 at 6"}));
    log.clear();
    // Below the last row: no cell, so no move; the handler still hears the press.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(10, grid->viewport()->height() - 2));
    EXPECT_EQ(log, (QStringList{"mouse 1 at 6"}));
}

TEST_F(GridTest, DoubleClickOnlyInsideTheCells) {
    fill(3);
    showActive();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(0, 1));
    EXPECT_TRUE(log.contains(QStringLiteral("dblclick")));
    log.clear();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(10, grid->viewport()->height() - 2));
    QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    EXPECT_FALSE(log.contains(QStringLiteral("dblclick")));
}

TEST_F(GridTest, MakeRowVisibleScrollsOnlyForRowsOutOfView) {
    fill(100);
    grid->show();
    const int page = grid->VisibleRowCount();
    grid->MakeRowVisible(page - 1);
    EXPECT_EQ(grid->TopRow(), 0);
    grid->MakeRowVisible(50);
    EXPECT_EQ(grid->TopRow(), 50);
    grid->MakeRowVisible(52);
    EXPECT_EQ(grid->TopRow(), 50);
    grid->MakeRowVisible(10);
    EXPECT_EQ(grid->TopRow(), 10);
    grid->MakeRowVisible(100); // no such row
    EXPECT_EQ(grid->TopRow(), 10);
}

TEST_F(GridTest, AutoScrollDecidesWhetherMoveToCellScrolls) {
    fill(100);
    grid->show();
    grid->MoveToCell(0, 80);
    EXPECT_EQ(grid->TopRow(), 0);
    grid->SetAutoScroll(true);
    grid->MoveToCell(0, 60);
    EXPECT_GT(grid->TopRow(), 0);
    EXPECT_LE(grid->TopRow(), 60);
    EXPECT_GT(grid->TopRow() + grid->VisibleRowCount(), 60);
}

TEST_F(GridTest, HeaderClicksSortThenReverse) {
    fill(5);
    grid->SetCellText(0, 2, QStringLiteral("0:9"));
    showActive();
    QSignalSpy sorted(grid.get(), &TGridView::sortColumn);
    QHeaderView *hh = grid->horizontalHeader();
    const QPoint onFirst(hh->sectionViewportPosition(0) + 10, hh->height() / 2);
    QTest::mouseClick(hh->viewport(), Qt::LeftButton, Qt::NoModifier, onFirst);
    QStringList ids;
    for (int r = 0; r < 5; ++r)
        ids << grid->GetCellText(11, r);
    EXPECT_EQ(ids, (QStringList{"1000", "1001", "1003", "1004", "1002"}));
    QTest::mouseClick(hh->viewport(), Qt::LeftButton, Qt::NoModifier, onFirst);
    ids.clear();
    for (int r = 0; r < 5; ++r)
        ids << grid->GetCellText(11, r);
    EXPECT_EQ(ids, (QStringList{"1002", "1004", "1003", "1001", "1000"}));
    ASSERT_EQ(sorted.count(), 2);
    EXPECT_EQ(sorted.at(0).at(1).toBool(), true);
    EXPECT_EQ(sorted.at(1).at(1).toBool(), false);
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 0)).toString(), QStringLiteral("0:9"));
}

TEST_F(GridTest, ColumnsShowTheirWidthsAndHiddenOnesTakeNoRoom) {
    fill(2);
    grid->show();
    QHeaderView *hh = grid->horizontalHeader();
    EXPECT_EQ(hh->sectionSize(0), 262);
    EXPECT_TRUE(grid->isColumnHidden(10));
    EXPECT_TRUE(grid->isColumnHidden(11));
    EXPECT_EQ(hh->length(), 262 + 73 + 73 + 67 + 108 + 80 + 80 + 54 + 62 + 186);
    grid->Column(3).SetWidth(3);
    EXPECT_EQ(hh->sectionSize(3), 8);
    grid->Column(3).SetVisible(false);
    EXPECT_TRUE(grid->isColumnHidden(3));
    grid->Column(3).SetVisible(true);
    EXPECT_EQ(hh->sectionSize(3), 8);
    // A width the user drags to lands in the column.
    hh->resizeSection(4, 120);
    EXPECT_EQ(grid->Column(4).Width(), 120);
    hh->resizeSection(4, 2);
    EXPECT_EQ(grid->Column(4).Width(), 8);
    EXPECT_EQ(hh->sectionSize(4), 8);
}

TEST_F(GridTest, CellsShowTheirColoursAlignmentAndTheSelectedRow) {
    fill(3);
    grid->Column(3).SetAlignment(GridAlignment::Right);
    for (int c = 0; c < grid->ColumnCount(); ++c)
        grid->CellAt(c, 1).SetColor(clSkyBlue);
    grid->MoveToCell(0, 2);
    QAbstractItemModel *m = grid->model();
    EXPECT_EQ(m->data(m->index(1, 5), Qt::BackgroundRole).value<QBrush>().color(), QColor(166, 202, 240));
    EXPECT_EQ(m->data(m->index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(m->data(m->index(2, 5), Qt::BackgroundRole).value<QBrush>().color(),
              grid->palette().color(QPalette::Highlight));
    EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("C0"));
    EXPECT_EQ(grid->textElideMode(), Qt::ElideRight);
}

TEST_F(GridTest, DeletingTheFocusedRowKeepsOneRowSelected) {
    fill(5);
    grid->MoveToCell(0, 3);
    grid->DeleteRow(3);
    EXPECT_EQ(grid->CurrentRow(), 3);
    EXPECT_EQ(grid->SelectedRowCount(), 1);
    EXPECT_TRUE(grid->RowSelected(3));
    grid->DeleteRow(0); // above the focus: the focus follows its row
    EXPECT_EQ(grid->CurrentRow(), 2);
    EXPECT_TRUE(grid->RowSelected(2));
    grid->ClearRows();
    EXPECT_EQ(grid->CurrentRow(), 0);
    EXPECT_EQ(grid->SelectedRowCount(), 0);
}

// ---- editing ----

TEST_F(GridTest, EditingNeedsCoEditingAndBeforeEditsConsent) {
    fill(5);
    showActive();
    grid->EditCell(0, 1);
    EXPECT_FALSE(grid->Editing());
    grid->Column(0).AddOption(coEditing);
    bool allow = false;
    QObject::connect(grid.get(), &TGridView::beforeEdit, grid.get(),
                     [&](int, int, bool &accept) { accept = allow; });
    grid->EditCell(0, 1);
    EXPECT_FALSE(grid->Editing());
    allow = true;
    grid->EditCell(0, 9); // outside
    EXPECT_FALSE(grid->Editing());
    grid->EditCell(0, 1);
    ASSERT_TRUE(grid->Editing());
    EXPECT_EQ(grid->Editor()->text(), QStringLiteral("0:1"));
    EXPECT_TRUE(grid->Editor()->hasFocus());
    grid->CancelEdit();
    grid->EditCell(0, 1, QStringLiteral("given"));
    EXPECT_EQ(grid->Editor()->text(), QStringLiteral("given"));
}

TEST_F(GridTest, EnterStoresAChangedTextAndMovesDown) {
    fill(5);
    showActive();
    grid->MoveToCell(0, 1);
    grid->Column(0).AddOption(coEditing | coEditorAutoSelect);
    grid->EditCell(0, 1);
    ASSERT_TRUE(grid->Editing());
    log.clear();
    QTest::keyClicks(grid->Editor(), QStringLiteral("Ab")); // replaces the selected text
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_EQ(log, (QStringList{"edit 0 1 A", "edit 0 1 Ab", "accept? 0 1 Ab", "after 0 1 Ab = Ab",
                                "deselect 0 1", "select 0 2"}));
    EXPECT_FALSE(grid->Editing());
    EXPECT_FALSE(grid->Editor()->isVisible());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->GetCellText(0, 1), QStringLiteral("Ab"));
}

TEST_F(GridTest, AnUnchangedEditStoresNothingButStillMoves) {
    fill(5);
    showActive();
    grid->MoveToCell(0, 1);
    grid->Column(0).AddOption(coEditing);
    grid->EditCell(0, 1);
    log.clear();
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_EQ(log, (QStringList{"deselect 0 1", "select 0 2"}));
}

TEST_F(GridTest, EnterOnTheLastRowStaysAndMoveDirectionIsHonoured) {
    fill(3);
    showActive();
    grid->Column(0).AddOption(coEditing);
    grid->MoveToCell(0, 2);
    grid->EditCell(0, 2);
    log.clear();
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(grid->CurrentRow(), 2);

    grid->SetSelectionMoveDirection(mdRight);
    grid->Column(1).AddOption(coEditing);
    grid->EditCell(0, 2);
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_EQ(grid->CurrentCol(), 1);
    grid->SetSelectionMoveDirection(mdNone);
    grid->EditCell(1, 2);
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_EQ(grid->CurrentCol(), 1);
    EXPECT_EQ(grid->CurrentRow(), 2);
}

TEST_F(GridTest, EscapeDropsTheTextAndGivesTheFocusBack) {
    fill(5);
    showActive();
    grid->MoveToCell(0, 1);
    grid->Column(0).AddOption(coEditing);
    grid->EditCell(0, 1);
    QTest::keyClicks(grid->Editor(), QStringLiteral("zz"));
    log.clear();
    QTest::keyClick(grid->Editor(), Qt::Key_Escape);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(grid->Editing());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->GetCellText(0, 1), QStringLiteral("0:1"));
    EXPECT_EQ(grid->CurrentRow(), 1);
}

TEST_F(GridTest, ARefusedEditIsNotStored) {
    fill(5);
    showActive();
    grid->Column(0).AddOption(coEditing);
    grid->EditCell(0, 1);
    QTest::keyClicks(grid->Editor(), QStringLiteral("!"));
    acceptEdits = false;
    log.clear();
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_EQ(log.first(), QStringLiteral("accept? 0 1 0:1!"));
    EXPECT_FALSE(log.join(QLatin1Char('|')).contains(QStringLiteral("after")));
    EXPECT_EQ(grid->GetCellText(0, 1), QStringLiteral("0:1"));
}

TEST_F(GridTest, ANumberColumnKeepsTheEditorOpenOnText) {
    fill(3);
    showActive();
    grid->Column(11).SetVisible(true);
    grid->Column(11).AddOption(coEditing);
    grid->EditCell(11, 0);
    grid->Editor()->setText(QStringLiteral("twelve"));
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_TRUE(grid->Editing());
    EXPECT_EQ(grid->CellAt(11, 0).AsInteger(), 1000);
    grid->Editor()->setText(QStringLiteral("12"));
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(grid->CellAt(11, 0).AsInteger(), 12);
}

TEST_F(GridTest, ClearingRowsEndsTheEditWithoutStoring) {
    fill(5);
    showActive();
    grid->Column(0).AddOption(coEditing);
    grid->EditCell(0, 1);
    QTest::keyClicks(grid->Editor(), QStringLiteral("x"));
    log.clear();
    grid->ClearRows();
    EXPECT_FALSE(grid->Editing());
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(GridTest, F2InTheKeyHandlerOpensTheEditorAfterTheGridsOwnHandling) {
    // How the window drives editing: F2 switches coEditing on and edits the current row.
    fill(5);
    showActive();
    QObject::connect(grid.get(), &TGridView::keyDown, grid.get(), [this](QKeyEvent *e) {
        if (e->key() == Qt::Key_F2) {
            grid->Column(0).AddOption(coEditing);
            grid->EditCell(0, grid->CurrentRow());
        }
    });
    QObject::connect(grid.get(), &TGridView::selectCell, grid.get(),
                     [this](int, int) { grid->Column(0).RemoveOption(coEditing); });
    // The handler may rebuild the rows while the edit ends, and return to the edited row.
    QObject::connect(grid.get(), &TGridView::afterEdit, grid.get(), [this](int, int row, const QString &) {
        grid->ClearRows();
        fill(5);
        grid->SetCurrentRow(row);
    });
    grid->MoveToCell(0, 2);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    ASSERT_TRUE(grid->Editing());
    EXPECT_EQ(grid->EditRow(), 3);
    QTest::keyClicks(grid->Editor(), QStringLiteral("!"));
    QTest::keyClick(grid->Editor(), Qt::Key_Return);
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_FALSE(grid->Column(0).HasOption(coEditing));
    EXPECT_EQ(grid->CurrentRow(), 4);
}

TEST_F(GridTest, ClickingAnotherCellKeepsTheTypedText) {
    fill(5);
    showActive();
    grid->Column(0).AddOption(coEditing);
    grid->EditCell(0, 1);
    QTest::keyClicks(grid->Editor(), QStringLiteral("?"));
    log.clear();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(0, 3));
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(grid->GetCellText(0, 1), QStringLiteral("0:1?"));
    EXPECT_EQ(grid->CurrentRow(), 3);
    EXPECT_EQ(log.last(), QStringLiteral("mouse 1 at 3"));
}

} // namespace

namespace {

// The selection list's comment column is editable all the time; the user opens its editor.
class SelectionListTest : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        grid->Column(9).AddOption(coEditing);
        grid->resize(1200, grid->height()); // the comment column in view
        fill(5);
        showActive();
        grid->MoveToCell(9, 2);
        log.clear();
    }
};

TEST_F(SelectionListTest, F2EditsTheFocusedCellOfAnEditableColumn) {
    QTest::keyClick(grid.get(), Qt::Key_F2);
    ASSERT_TRUE(grid->Editing());
    EXPECT_EQ(grid->EditCol(), 9);
    EXPECT_EQ(grid->EditRow(), 2);
    EXPECT_EQ(log, (QStringList{"key 1000031 at 2"}));
    QTest::keyClick(grid->Editor(), Qt::Key_Escape);
    grid->MoveToCell(3, 2);
    QTest::keyClick(grid.get(), Qt::Key_F2); // not an editable column
    EXPECT_FALSE(grid->Editing());
}

TEST_F(SelectionListTest, AClickOnTheFocusedCellEditsItAfterTheDoubleClickTime) {
    ASSERT_TRUE(grid->viewport()->rect().contains(cellCenter(9, 2)));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(9, 2));
    EXPECT_FALSE(grid->Editing());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return grid->Editing(); }, QApplication::doubleClickInterval() + 2000));
    EXPECT_EQ(grid->EditRow(), 2);
}

TEST_F(SelectionListTest, ADoubleClickIsNotAnEdit) {
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(9, 2));
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_FALSE(grid->Editing());
    EXPECT_TRUE(log.contains(QStringLiteral("dblclick")));
}

TEST_F(SelectionListTest, MovingTheFocusEndsTheEditKeepingTheText) {
    grid->EditCell(9, 2);
    QTest::keyClicks(grid->Editor(), QStringLiteral("+"));
    log.clear();
    grid->SetCurrentRow(4);
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(grid->GetCellText(9, 2), QStringLiteral("9:2+"));
    EXPECT_EQ(log, (QStringList{"accept? 9 2 9:2+", "after 9 2 9:2+ = 9:2+", "deselect 9 2", "select 9 4"}));
}

} // namespace
