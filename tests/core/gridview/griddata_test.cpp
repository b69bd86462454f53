#include "gridview/griddata.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

using namespace vq;

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// A grid of text columns c0..c(n-1) filled with "col:row".
void fill(GridData &g, int cols, int rows) {
    for (int c = 0; c < cols; ++c) {
        GridColumn &col = g.AddTextColumn(QStringLiteral("C%1").arg(c));
        col.SetName(QStringLiteral("n%1").arg(c));
    }
    for (int r = 0; r < rows; ++r) {
        g.AddRows(1);
        for (int c = 0; c < cols; ++c)
            g.SetCellText(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    }
}

QStringList column(GridData &g, int col) {
    QStringList out;
    for (int r = 0; r < g.RowCount(); ++r)
        out << g.GetCellText(col, r);
    return out;
}

struct Address {
    int col, row;
    const char *message;
};

class OutOfBounds : public ::testing::TestWithParam<Address> {};

TEST_P(OutOfBounds, GetAndSetNameColumnAndRow) {
    GridData g;
    fill(g, 4, 7);
    const Address a = GetParam();
    try {
        g.SetCellText(a.col, a.row, QStringLiteral("x"));
        FAIL() << "SetCellText raised nothing";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(a.message));
    }
    try {
        (void)g.GetCellText(a.col, a.row);
        FAIL() << "GetCellText raised nothing";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(a.message));
    }
    EXPECT_EQ(g.RowCount(), 7);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(column(g, c).join(QLatin1Char(',')).count(QLatin1Char('x')), 0);
}

INSTANTIATE_TEST_SUITE_P(Grid, OutOfBounds,
                         ::testing::Values(Address{3, 7, "Ячейка (3, 7) вне таблицы"},
                                           Address{4, 0, "Ячейка (4, 0) вне таблицы"},
                                           Address{-1, 2, "Ячейка (-1, 2) вне таблицы"},
                                           Address{0, -1, "Ячейка (0, -1) вне таблицы"},
                                           Address{12, 120, "Ячейка (12, 120) вне таблицы"}));

TEST(GridRows, AddingAndDeletingTheLastRowRestoresTheCount) {
    GridData g;
    fill(g, 3, 5);
    g.AddRows(1);
    g.AddRows(1);
    EXPECT_EQ(g.RowCount(), 7);
    g.DeleteRow(g.RowCount() - 1);
    g.DeleteRow(g.RowCount() - 1);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.GetCellText(2, 4), QStringLiteral("2:4"));
}

TEST(GridRows, DeletingARowMovesTheRowsBelowUpWithTheirColoursAndFlags) {
    GridData g;
    fill(g, 2, 4);
    g.CellAt(1, 2).SetColor(clAqua);
    g.SetRowSelected(2, true);
    g.SetRowSelected(1, true);
    EXPECT_EQ(g.SelectedRowCount(), 2);

    g.DeleteRow(1);
    EXPECT_EQ(column(g, 0), (QStringList{"0:0", "0:2", "0:3"}));
    EXPECT_EQ(column(g, 1), (QStringList{"1:0", "1:2", "1:3"}));
    EXPECT_EQ(g.CellAt(1, 1).Color(), clAqua);
    EXPECT_TRUE(g.RowSelected(1));
    EXPECT_EQ(g.SelectedRowCount(), 1);

    g.DeleteRow(3); // past the end: nothing
    g.DeleteRow(-1);
    EXPECT_EQ(g.RowCount(), 3);
}

TEST(GridRows, NewCellsAreEmptyOrTakeDefaultsAndColumnColours) {
    GridData g;
    GridColumn &t = g.AddColumn(ColumnKind::Text, QStringLiteral("t"));
    GridColumn &n = g.AddColumn(ColumnKind::Numeric, QStringLiteral("n"));
    GridColumn &b = g.AddColumn(ColumnKind::CheckBox, QStringLiteral("b"));
    EXPECT_EQ(n.DefaultValue(), QStringLiteral("0"));
    t.SetDefaultValue(QStringLiteral("?"));
    n.SetDefaultValue(QStringLiteral("5"));
    b.SetDefaultValue(QStringLiteral("true"));
    n.SetColor(clSilver);
    g.AddRows(1);
    EXPECT_EQ(g.GetCellText(0, 0), QString());
    EXPECT_EQ(g.CellAt(1, 0).AsInteger(), 0);
    EXPECT_FALSE(g.CellAt(2, 0).AsBoolean());
    EXPECT_EQ(g.CellAt(1, 0).Color(), clSilver);
    EXPECT_EQ(g.RowHeight(0), 16);
    EXPECT_FALSE(g.RowSelected(0));

    g.SetOptions(g.Options() | goUseDefaultValues);
    g.SetRowSize(20);
    g.AddRows(2);
    EXPECT_EQ(g.GetCellText(0, 2), QStringLiteral("?"));
    EXPECT_EQ(g.CellAt(1, 2).AsInteger(), 5);
    EXPECT_TRUE(g.CellAt(2, 2).AsBoolean());
    EXPECT_EQ(g.RowHeight(2), 20);

    // A column added to a grid with rows gets cells for them, in the grid's colour.
    g.SetColor(clSkyBlue);
    g.AddTextColumn(QStringLiteral("late"));
    EXPECT_EQ(g.GetCellText(3, 2), QStringLiteral(""));
    EXPECT_EQ(g.CellAt(3, 1).Color(), clSkyBlue);
}

TEST(GridRows, ClearRowsEmptiesRowsAndSelectionButKeepsColumns) {
    GridData g;
    fill(g, 3, 50);
    g.SetRowSelected(10, true);
    g.ClearRows();
    EXPECT_EQ(g.RowCount(), 0);
    EXPECT_EQ(g.SelectedRowCount(), 0);
    EXPECT_EQ(g.ColumnCount(), 3);
    g.AddRows(1);
    EXPECT_EQ(g.GetCellText(2, 0), QString());
    EXPECT_FALSE(g.RowSelected(0));
}

TEST(GridRows, RefillKeepsTheTextsOfTheRowsNamedAndNothingElse) {
    GridData g;
    fill(g, 2, 4);
    GridColumn &n = g.AddColumn(ColumnKind::Numeric, QStringLiteral("N"));
    for (int r = 0; r < 4; ++r) {
        g.CellAt(2, r).SetAsInteger(r + 1);
        g.CellAt(0, r).SetColor(clAqua);
    }
    n.SetColor(clSkyBlue);
    g.SetRowSelected(1, true);
    const QString kept = g.GetCellText(1, 3);
    g.RefillRows({3, -1, 0, 7}); // row 7 is none: a new row
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(column(g, 0), (QStringList{"0:3", "", "0:0", ""}));
    EXPECT_EQ(column(g, 1), (QStringList{"1:3", "", "1:0", ""}));
    EXPECT_TRUE(g.CellTextIs(1, 0, kept)); // the very string, not a copy
    EXPECT_FALSE(g.CellTextIs(1, 0, QString(kept.data(), kept.size())));
    EXPECT_FALSE(g.CellTextIs(2, 0, kept)); // not a text column
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(g.CellAt(2, r).AsInteger(), 0) << r;
        EXPECT_EQ(g.CellAt(0, r).Color(), g.Column(0).Color()) << r;
        EXPECT_EQ(g.CellAt(2, r).Color(), clSkyBlue) << r;
        EXPECT_FALSE(g.RowSelected(r)) << r;
    }
    EXPECT_EQ(g.SelectedRowCount(), 0);

    // Every row where it was: the texts stay, the rest starts anew all the same.
    g.CellAt(2, 1).SetAsInteger(5);
    g.CellAt(0, 2).SetColor(clAqua);
    g.SetRowSelected(3, true);
    const QString same = g.GetCellText(0, 2);
    g.RefillRows({0, 1, 2, 3});
    EXPECT_EQ(column(g, 0), (QStringList{"0:3", "", "0:0", ""}));
    EXPECT_TRUE(g.CellTextIs(0, 2, same));
    EXPECT_EQ(g.CellAt(2, 1).AsInteger(), 0);
    EXPECT_EQ(g.CellAt(0, 2).Color(), g.Column(0).Color());
    EXPECT_FALSE(g.RowSelected(3));
    EXPECT_EQ(g.SelectedRowCount(), 0);
    g.RefillRows({});
    EXPECT_EQ(g.RowCount(), 0);
}

TEST(GridRows, SelectedFlagsAreCountedOnce) {
    GridData g;
    fill(g, 1, 5);
    g.SetRowSelected(3, true);
    g.SetRowSelected(3, true);
    g.SetRowSelected(9, true); // no such row
    EXPECT_EQ(g.SelectedRowCount(), 1);
    g.SetRowSelected(3, false);
    g.SetRowSelected(3, false);
    EXPECT_EQ(g.SelectedRowCount(), 0);
    EXPECT_FALSE(g.RowSelected(-1));
}

TEST(GridColumns, MoveColumnIndexCarriesTheCells) {
    GridData g;
    fill(g, 7, 6);
    const QStringList five = column(g, 5);
    const QStringList one = column(g, 1);
    const int positionOfFive = g.Column(5).Position();
    g.MoveColumnIndex(5, 1);
    EXPECT_EQ(column(g, 1), five);
    EXPECT_EQ(column(g, 2), one);
    EXPECT_EQ(g.Column(1).Name(), QStringLiteral("n5"));
    EXPECT_EQ(g.Column(1).Index(), 1);
    // The display order is a separate order: the column keeps its place on screen.
    EXPECT_EQ(g.Column(1).Position(), positionOfFive);

    g.MoveColumnIndex(1, 7); // outside: nothing
    g.MoveColumnIndex(-1, 0);
    EXPECT_EQ(column(g, 1), five);
    g.MoveColumnIndex(1, 5);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(g.GetCellText(c, 3), QStringLiteral("%1:3").arg(c));
}

TEST(GridColumns, PositionsFormTheDisplayOrder) {
    GridData g;
    fill(g, 4, 1);
    g.MoveColumnPosition(0, 2);
    EXPECT_EQ(g.ColumnAtPosition(0).Name(), QStringLiteral("n1"));
    EXPECT_EQ(g.ColumnAtPosition(2).Name(), QStringLiteral("n0"));
    EXPECT_EQ(g.Column(0).Position(), 2);
    g.Column(3).SetPosition(0);
    EXPECT_EQ(g.ColumnAtPosition(0).Name(), QStringLiteral("n3"));
    EXPECT_EQ(g.ColumnAtPosition(3).Name(), QStringLiteral("n0"));
    // Cells are still addressed by the column order.
    EXPECT_EQ(g.GetCellText(3, 0), QStringLiteral("3:0"));
    g.MoveColumnPosition(1, 1);
    g.MoveColumnPosition(1, 4);
    EXPECT_EQ(g.ColumnAtPosition(1).Name(), QStringLiteral("n1"));
}

TEST(GridColumns, WidthNeverBelowEight) {
    GridData g;
    GridColumn &c = g.AddTextColumn(QStringLiteral("w"));
    for (auto [given, stored] :
         std::vector<std::pair<int, int>>{{3, 8}, {8, 8}, {-5, 8}, {0, 8}, {9, 9}, {262, 262}}) {
        c.SetWidth(given);
        EXPECT_EQ(c.Width(), stored) << given;
    }
}

TEST(GridColumns, ByNameFindsTheFirstExactMatch) {
    GridData g;
    g.AddTextColumn(QStringLiteral("a")).SetName(QStringLiteral("n1"));
    g.AddTextColumn(QStringLiteral("b")).SetName(QStringLiteral("n1"));
    g.AddTextColumn(QStringLiteral("c")).SetName(QStringLiteral("N2"));
    ASSERT_NE(g.ColumnByName(QStringLiteral("n1")), nullptr);
    EXPECT_EQ(g.ColumnByName(QStringLiteral("n1"))->Caption(), QStringLiteral("a"));
    EXPECT_EQ(g.ColumnByName(QStringLiteral("n2")), nullptr);
    EXPECT_EQ(g.ColumnByName(QString()), nullptr);
    g.ClearColumns();
    EXPECT_EQ(g.ColumnCount(), 0);
    EXPECT_EQ(g.ColumnByName(QStringLiteral("n1")), nullptr);
}

// ---- sorting ----

TEST(GridSort, SecondHeaderClickReversesUnchangedRows) {
    GridData g;
    g.AddTextColumn(QStringLiteral("key"));
    g.AddTextColumn(QStringLiteral("tag"));
    const char *rows[][2] = {{"b", "b1"}, {"a", "a1"}, {"b", "b2"}, {"a", "a2"}};
    for (auto &r : rows) {
        g.AddRows(1);
        g.SetCellText(0, g.RowCount() - 1, QString::fromLatin1(r[0]));
        g.SetCellText(1, g.RowCount() - 1, QString::fromLatin1(r[1]));
    }
    ASSERT_TRUE(g.HeaderClick(0));
    EXPECT_TRUE(g.Column(0).Sorted());
    EXPECT_EQ(g.Column(0).GetSortKind(), SortKind::Ascending);
    EXPECT_EQ(column(g, 1), (QStringList{"a1", "a2", "b1", "b2"}));

    // Same column again, nothing changed: the order is simply reversed, equal keys included.
    ASSERT_TRUE(g.HeaderClick(0));
    EXPECT_EQ(g.Column(0).GetSortKind(), SortKind::Descending);
    EXPECT_EQ(column(g, 1), (QStringList{"b2", "b1", "a2", "a1"}));

    ASSERT_TRUE(g.HeaderClick(0));
    EXPECT_EQ(column(g, 1), (QStringList{"a1", "a2", "b1", "b2"}));

    // After a change the rows are sorted anew.
    g.SetCellText(0, 0, QStringLiteral("a"));
    ASSERT_TRUE(g.HeaderClick(0));
    EXPECT_EQ(column(g, 1), (QStringList{"b1", "b2", "a1", "a2"}));
}

TEST(GridSort, OnlyOneColumnIsSortedAndUnsortableColumnsIgnoreClicks) {
    GridData g;
    fill(g, 3, 4);
    g.Column(2).RemoveOption(coCanSort);
    EXPECT_FALSE(g.HeaderClick(2));
    EXPECT_FALSE(g.Column(2).Sorted());
    EXPECT_FALSE(g.HeaderClick(9));

    g.Column(1).SetSortKind(SortKind::Descending);
    ASSERT_TRUE(g.HeaderClick(0));
    ASSERT_TRUE(g.HeaderClick(1));
    EXPECT_FALSE(g.Column(0).Sorted());
    EXPECT_TRUE(g.Column(1).Sorted());
    EXPECT_EQ(g.SortedColumn(), &g.Column(1));
    // A newly sorted column keeps the direction it had.
    EXPECT_EQ(column(g, 1), (QStringList{"1:3", "1:2", "1:1", "1:0"}));
}

TEST(GridSort, WholeRowsMoveButFlagsAndHeightsStay) {
    GridData g;
    fill(g, 3, 3);
    g.SetCellText(0, 0, QStringLiteral("z"));
    g.CellAt(2, 0).SetColor(clAqua);
    g.SetRowSelected(0, true);
    g.SetRowHeight(0, 30);
    g.SortRows(0, SortKind::Ascending);
    EXPECT_EQ(column(g, 0), (QStringList{"0:1", "0:2", "z"}));
    EXPECT_EQ(column(g, 2), (QStringList{"2:1", "2:2", "2:0"}));
    EXPECT_EQ(g.CellAt(2, 2).Color(), clAqua);
    EXPECT_EQ(g.CellAt(2, 0).Color(), clWindow);
    EXPECT_TRUE(g.RowSelected(0));
    EXPECT_EQ(g.RowHeight(0), 30);
}

struct SortCase {
    const char *name;
    ColumnKind kind;
    SortType type;
    QStringList input;
    QStringList ascending;
};
void PrintTo(const SortCase &c, std::ostream *os) {
    *os << c.name;
}

class SortTypes : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTypes, OrderRowsByTheColumnsSortType) {
    const SortCase &s = GetParam();
    GridData g;
    g.AddColumn(s.kind, QStringLiteral("key")).SetSortType(s.type);
    g.AddTextColumn(QStringLiteral("original row"));
    for (const QString &v : s.input) {
        g.AddRows(1);
        g.SetCellText(0, g.RowCount() - 1, v);
        g.CellAt(1, g.RowCount() - 1).SetAsInteger(g.RowCount() - 1);
    }
    const QStringList before = column(g, 0);
    g.SortRows(0, SortKind::Ascending);
    EXPECT_EQ(column(g, 0), s.ascending);
    // The second column travelled with its row.
    for (int r = 0; r < g.RowCount(); ++r)
        EXPECT_EQ(g.GetCellText(0, r), before[g.CellAt(1, r).AsInteger()]) << r;

    g.SetCellText(1, 0, g.GetCellText(1, 0)); // a change: the next sort is a real one
    g.SortRows(0, SortKind::Descending);
    QStringList descending = s.ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(column(g, 0), descending);
}

INSTANTIATE_TEST_SUITE_P(Grid, SortTypes,
                         ::testing::Values(SortCase{"AlphabeticByCharacterCodes",
                                                    ColumnKind::Text,
                                                    SortType::Alphabetic,
                                                    {"b", "B", "а", "Я", "a", "A"},
                                                    {"A", "B", "a", "b", "Я", "а"}},
                                           SortCase{"CaseInsensitiveLowersLatinOnly",
                                                    ColumnKind::Text,
                                                    SortType::CaseInsensitive,
                                                    {"b", "C", "a", "Б", "б"},
                                                    {"a", "b", "C", "Б", "б"}},
                                           SortCase{"NumericText",
                                                    ColumnKind::Text,
                                                    SortType::Numeric,
                                                    {"10", "9", "x", "100", "-1.5"},
                                                    {"x", "-1.5", "9", "10", "100"}},
                                           SortCase{"NumericColumn",
                                                    ColumnKind::Numeric,
                                                    SortType::Numeric,
                                                    {"10", "9", "100", "-1.5"},
                                                    {"-1.5", "9", "10", "100"}},
                                           SortCase{
                                               "DateText",
                                               ColumnKind::Text,
                                               SortType::Date,
                                               {"2024-01-02", "01.01.2024", "2023-12-31 23:59:59", "never"},
                                               {"never", "2023-12-31 23:59:59", "01.01.2024", "2024-01-02"}},
                                           SortCase{"BooleanCheckBox",
                                                    ColumnKind::CheckBox,
                                                    SortType::Boolean,
                                                    {"true", "false", "true"},
                                                    {"False", "True", "True"}},
                                           SortCase{"AddressText",
                                                    ColumnKind::Text,
                                                    SortType::IP,
                                                    {"10.0.0.10", "10.0.0.9", "9.255.0.1"},
                                                    {"9.255.0.1", "10.0.0.9", "10.0.0.10"}}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- change notification ----

struct Recorder : GridObserver {
    GridData *grid = nullptr;
    QStringList log;
    void gridRowsAppended(int first, int count) override {
        log << QStringLiteral("add %1 %2").arg(first).arg(count);
    }
    void gridRowsAboutToBeRemoved(int first, int count) override {
        log << QStringLiteral("remove? %1 %2 of %3").arg(first).arg(count).arg(grid->RowCount());
    }
    void gridRowsRemoved(int first, int count) override {
        log << QStringLiteral("removed %1 %2 of %3").arg(first).arg(count).arg(grid->RowCount());
    }
    void gridRowsAboutToBeReordered() override { log << QStringLiteral("sort?"); }
    void gridRowsReordered() override { log << QStringLiteral("sorted"); }
    void gridCellChanged(int col, int row) override { log << QStringLiteral("cell %1 %2").arg(col).arg(row); }
    void gridCellsChanged() override { log << QStringLiteral("cells"); }
};

TEST(GridObserver, HearsEveryChangeBeforeAndAfter) {
    GridData g;
    Recorder rec;
    rec.grid = &g;
    g.AddTextColumn(QStringLiteral("a"));
    g.AddObserver(&rec);
    g.AddRows(2);
    g.SetCellText(0, 1, QStringLiteral("x"));
    g.CellAt(0, 0).SetColor(clAqua);
    g.SetRowSelected(1, true);
    g.HeaderClick(0);
    g.DeleteRow(0);
    g.ClearRows();
    g.RemoveObserver(&rec);
    g.AddRows(1);
    EXPECT_EQ(rec.log,
              (QStringList{"add 0 2", "cell 0 1", "cell 0 0", "cell -1 1", "sort?", "sorted",
                           "remove? 0 1 of 2", "removed 0 1 of 1", "remove? 0 1 of 1", "removed 0 1 of 0"}));
}

// A fill writes the same cells as writing them one by one, and is heard once, when the
// outermost fill ends (also when it ends by an error).
TEST(GridObserver, FillIsHeardOnceAtItsEnd) {
    auto fillGrid = [](GridData &g, bool bulk) {
        g.AddTextColumn(QStringLiteral("a"));
        g.AddColumn(ColumnKind::Numeric, QStringLiteral("n"));
        g.AddRows(3);
        std::optional<GridFill> fill;
        if (bulk)
            fill.emplace(g);
        for (int r = 0; r < 3; ++r) {
            g.SetCellText(0, r, QStringLiteral("t%1").arg(r));
            g.CellAt(1, r).SetAsInteger(r * 10);
        }
        g.CellAt(0, 2).SetColor(clAqua);
        g.SetRowSelected(1, true);
    };
    GridData one, bulk;
    fillGrid(one, false);
    Recorder rec;
    rec.grid = &bulk;
    bulk.AddObserver(&rec);
    fillGrid(bulk, true);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(bulk.GetCellText(c, r), one.GetCellText(c, r));
            EXPECT_EQ(bulk.CellAt(c, r).Color(), one.CellAt(c, r).Color());
        }
        EXPECT_EQ(bulk.RowSelected(r), one.RowSelected(r));
    }
    EXPECT_EQ(rec.log.filter(QStringLiteral("cell")), QStringList{"cells"});

    rec.log.clear();
    {
        GridFill outer(bulk);
        {
            GridFill inner(bulk);
            bulk.SetCellText(0, 0, QStringLiteral("x"));
        }
        EXPECT_TRUE(rec.log.isEmpty());
        EXPECT_THROW(bulk.CellAt(1, 0).SetAsString(QStringLiteral("no number")), Error);
    }
    EXPECT_EQ(rec.log, QStringList{"cells"});
    bulk.SetCellText(0, 1, QStringLiteral("y")); // heard one by one again
    EXPECT_EQ(rec.log, (QStringList{"cells", "cell 0 1"}));

    // A fill that changed nothing is not heard; sorting after a fill sorts the filled values.
    rec.log.clear();
    { GridFill idle(bulk); }
    EXPECT_TRUE(rec.log.isEmpty());
    bulk.SortRows(1, SortKind::Descending);
    EXPECT_EQ(bulk.GetCellText(1, 0), QStringLiteral("20"));
}

} // namespace

// Writing the new texts while refilling: a cell given a text shows it, one not given keeps the text
// of the row it is kept from (or none); a kept cell given its very string keeps it, and the
// observers hear the rows removed and added as a refill tells them.
TEST(GridRows, RowWriterWritesEachRowOnceKeepingWhatItMay) {
    const struct {
        const char *name;
        std::vector<int> from;
    } cases[] = {
        {"same rows", {0, 1, 2, 3}},
        {"narrowed", {1, 3}},
        {"widened", {-1, 0, -1, 1, 2, 3, -1}},
        {"reordered", {3, 2, 1, 0}},
        {"a row named twice", {2, 2}},
        {"none kept", {-1, -1, -1}},
        {"emptied", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int n = int(c.from.size());
        GridData g;
        fill(g, 2, 4);
        g.AddColumn(ColumnKind::Numeric, QStringLiteral("N"));
        // Column 0 is given on every other row, column 1 on every row; row 0 gets the very string
        // of the row it keeps.
        std::vector<std::optional<QString>> given;
        QStringList want[2];
        std::vector<bool> taken(4, false);
        for (int r = 0; r < n; ++r)
            for (int col = 0; col < 2; ++col) {
                const int q = c.from[size_t(r)];
                if (col == 0 && r % 2 == 1) {
                    given.emplace_back();
                    // A row named twice keeps its texts once, in the first row naming it.
                    const bool keeps = q >= 0 && !taken[size_t(q)];
                    want[col] << (keeps ? QStringLiteral("0:%1").arg(q) : QString());
                } else {
                    given.emplace_back(r == 0 && q >= 0 ? g.GetCellText(col, q)
                                                        : QStringLiteral("new %1:%2").arg(col).arg(r));
                    want[col] << *given.back();
                }
                if (col == 1 && q >= 0)
                    taken[size_t(q)] = true;
            }
        Recorder rec;
        rec.grid = &g;
        g.AddObserver(&rec);
        {
            GridRowWriter w(g, c.from);
            for (int r = 0; r < n; ++r)
                for (int col = 1; col >= 0; --col)
                    if (const auto &t = given[size_t(r * 2 + col)])
                        w.setText(r, col, *t);
            w.setText(0, 2, QStringLiteral("not a text column"));
        } // finished by going out of scope
        g.RemoveObserver(&rec);
        ASSERT_EQ(g.RowCount(), n);
        EXPECT_EQ(column(g, 0), want[0]);
        EXPECT_EQ(column(g, 1), want[1]);
        EXPECT_EQ(column(g, 2), QStringList(n, QStringLiteral("0")));
        if (n > 0 && c.from[0] >= 0) {
            EXPECT_TRUE(g.CellTextIs(1, 0, *given[1]));
        }
        const bool inPlace = c.from == std::vector<int>{0, 1, 2, 3};
        QStringList heard{QStringLiteral("remove? 0 4 of 4"),
                          QStringLiteral("removed 0 4 of %1").arg(inPlace ? 4 : 0)};
        if (n > 0)
            heard << QStringLiteral("add 0 %1").arg(n);
        EXPECT_EQ(rec.log.mid(0, heard.size()), heard);
    }
}

namespace {

// A row's texts as an owner keeps them: "<name>.0", "<name>.1".
GridRowTexts rowTexts(const char *name) {
    auto block = std::make_shared<std::array<QString, 2>>();
    for (int f = 0; f < 2; ++f)
        (*block)[size_t(f)] = QStringLiteral("%1.%2").arg(QString::fromUtf8(name)).arg(f);
    return GridRowTexts(block, block->data());
}

} // namespace

// A column with a source field shows its row's texts until a text of its own is written, and the
// texts go with their rows through sorting, deleting and refilling, after their owner let go.
TEST(GridRows, SourceColumnsShowTheirRowsTexts) {
    GridData g;
    g.AddTextColumn(QStringLiteral("shown")).SetSourceField(1);
    g.AddTextColumn(QStringLiteral("own"));
    g.AddRows(3);
    {
        const char *names[] = {"b", "c", "a"};
        for (int r = 0; r < 3; ++r) {
            g.SetRowTexts(r, rowTexts(names[r]));
            g.SetCellText(1, r, QStringLiteral("own %1").arg(r));
        }
    } // the owner's blocks are gone; the grid still holds them
    EXPECT_EQ(column(g, 0), (QStringList{"b.1", "c.1", "a.1"}));
    EXPECT_EQ(g.CellAt(0, 2).AsString(), QStringLiteral("a.1"));
    EXPECT_TRUE(g.CellTextIs(0, 0, g.RowTexts(0).get()[1]));

    g.SetCellText(0, 1, QStringLiteral("written"));
    EXPECT_EQ(g.GetCellText(0, 1), QStringLiteral("written"));
    g.SortRows(0, SortKind::Ascending);
    EXPECT_EQ(column(g, 0), (QStringList{"a.1", "b.1", "written"}));
    EXPECT_EQ(column(g, 1), (QStringList{"own 2", "own 0", "own 1"}));
    g.SortRows(0, SortKind::Descending); // the reverse of the last sort
    EXPECT_EQ(column(g, 0), (QStringList{"written", "b.1", "a.1"}));
    g.SetRowTexts(0, rowTexts("d")); // new texts replace a cell's own
    EXPECT_EQ(g.GetCellText(0, 0), QStringLiteral("d.1"));
    g.DeleteRow(1);
    EXPECT_EQ(column(g, 0), (QStringList{"d.1", "a.1"}));

    // Refilling: a kept row keeps its texts and its own cells, a row given texts shows them.
    g.SetCellText(0, 1, QStringLiteral("mine"));
    {
        GridRowWriter w(g, {1, -1, 0});
        w.setRowTexts(1, rowTexts("e"));
        w.setRowTexts(2, rowTexts("f"));
        w.setText(2, 0, QStringLiteral("f own"));
    }
    EXPECT_EQ(column(g, 0), (QStringList{"mine", "e.1", "f own"}));
    EXPECT_EQ(column(g, 1), (QStringList{"own 2", "", "own 1"}));
    // The same rows again, in place: texts given anew show, the rest stays.
    {
        GridRowWriter w(g, {0, 1, 2});
        w.setRowTexts(0, g.RowTexts(0));
        w.setText(1, 0, QStringLiteral("e own"));
    }
    EXPECT_EQ(column(g, 0), (QStringList{"a.1", "e own", "f own"}));
    // Every row given texts and none its own, then one written and rows added.
    {
        GridRowWriter w(g, {2, 0});
        w.setRowTexts(0, rowTexts("g"));
        w.setRowTexts(1, rowTexts("h"));
    }
    EXPECT_EQ(column(g, 0), (QStringList{"g.1", "h.1"}));
    g.AddRows(1);
    g.CellAt(0, 2).SetAsInteger(7);
    EXPECT_EQ(column(g, 0), (QStringList{"g.1", "h.1", "7"}));
    EXPECT_EQ(column(g, 1), (QStringList{"own 1", "own 2", ""}));
}
