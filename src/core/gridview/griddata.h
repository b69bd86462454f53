#pragma once

#include "catalog/error.h"
#include "catalog/titletexts.h"

#include <QDateTime>
#include <QString>

#include <array>

#include <cstdint>
#include <memory>
#include <vector>

namespace vq {

// Colours are 24-bit RGB written 0xBBGGRR (low byte red). Values with the top byte 0xFF name a
// system colour that the widget resolves from its palette; core code keeps them as they are.
using GridColor = int;
constexpr GridColor clBlack = 0x000000;
constexpr GridColor clWhite = 0xFFFFFF;
constexpr GridColor clSilver = 0xC0C0C0;
constexpr GridColor clSkyBlue = 0xF0CAA6;
constexpr GridColor clAqua = 0xFFFF00;
constexpr GridColor clHighlightText = static_cast<GridColor>(0xFF00000Eu);
constexpr GridColor clWindow = static_cast<GridColor>(0xFF000005u);
constexpr GridColor clBtnFace = static_cast<GridColor>(0xFF00000Fu);
inline bool IsSystemColor(GridColor c) {
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u;
}

enum class ColumnKind { Text, Numeric, CheckBox };
enum class GridAlignment { Left, Right, Center };
enum class GridVerticalAlignment { Top, Middle, Bottom };
enum class SortKind { Ascending, Descending };
enum class SortType { Alphabetic, Boolean, CaseInsensitive, Numeric, Date, IP };
enum class WrapKind { None, Ellipsis, WordWrap };

// Column options (a set, combine with |).
using ColumnOptions = unsigned;
constexpr ColumnOptions coAutoSize = 1u << 0;
constexpr ColumnOptions coCanClick = 1u << 1;
constexpr ColumnOptions coCanSort = 1u << 2;
constexpr ColumnOptions coEditing = 1u << 3;
constexpr ColumnOptions coCanInput = 1u << 4;
constexpr ColumnOptions coEditorAutoSelect = 1u << 5;
constexpr ColumnOptions coFixedSize = 1u << 6;
constexpr ColumnOptions coImageForIcon = 1u << 7;
constexpr ColumnOptions coDontHighlight = 1u << 8;
constexpr ColumnOptions coPublicUsing = 1u << 9;
constexpr ColumnOptions coSearchColumn = 1u << 10;
constexpr ColumnOptions coShowTextFitHint = 1u << 11;
constexpr ColumnOptions coTextForCaption = 1u << 12;

// Grid options (a set, combine with |).
using GridOptions = unsigned;
constexpr GridOptions goCanHideColumn = 1u << 0;
constexpr GridOptions goDissableColumnMoving = 1u << 1;
constexpr GridOptions goFooter = 1u << 2;
constexpr GridOptions goGrid = 1u << 3;
constexpr GridOptions goHeader = 1u << 4;
constexpr GridOptions goIndicator = 1u << 5;
constexpr GridOptions goInput = 1u << 6;
constexpr GridOptions goMultiSelect = 1u << 7;
constexpr GridOptions goSelectFullRow = 1u << 8;
constexpr GridOptions goUseDefaultValues = 1u << 9;

class GridData;

// A row's texts kept by their owner and shown without copies: an array of strings that no one
// changes while it is shared. A text column with a source field shows that element of its row's
// texts, until a text of its own is written into the cell.
using GridRowTexts = TitleTextBlock;

// Told about every change of a GridData, so a view can coalesce its repaints. Rows are only
// ever appended at the end; removals and reorders are announced before they happen.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void gridRowsAppended(int /*first*/, int /*count*/) {}
    virtual void gridRowsAboutToBeRemoved(int /*first*/, int /*count*/) {}
    virtual void gridRowsRemoved(int /*first*/, int /*count*/) {}
    virtual void gridRowsAboutToBeReordered() {}
    virtual void gridRowsReordered() {}
    // Columns added, removed, or moved in the column order (cells move with them).
    virtual void gridColumnsAboutToChange() {}
    virtual void gridColumnsChanged() {}
    // Width, visibility, display position, caption, alignment, options or sort state of a column.
    virtual void gridColumnLayoutChanged() {}
    // Value or colour of one cell, or a row's selected flag (col == -1).
    virtual void gridCellChanged(int /*col*/, int /*row*/) {}
    // Values or colours of any number of cells, written in one fill.
    virtual void gridCellsChanged() {}
};

class GridColumn {
public:
    GridColumn(const GridColumn &) = delete;
    GridColumn &operator=(const GridColumn &) = delete;

    ColumnKind Kind() const { return m_kind; }
    int Index() const;    // place in the column order
    int Position() const; // place in the display order
    void SetPosition(int position);

    const QString &Name() const { return m_name; } // component name, may be empty
    void SetName(const QString &name) { m_name = name; }
    const QString &Caption() const { return m_caption; } // Header.Caption
    void SetCaption(const QString &caption);
    int Width() const { return m_width; }
    void SetWidth(int width); // never below 8 pixels
    int DefaultWidth() const { return m_defaultWidth; }
    void SetDefaultWidth(int width) { m_defaultWidth = width; }
    GridAlignment Alignment() const { return m_alignment; }
    void SetAlignment(GridAlignment a);
    GridVerticalAlignment VerticalAlignment() const { return m_vAlignment; }
    void SetVerticalAlignment(GridVerticalAlignment a);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    GridColor Color() const { return m_color; } // colour given to each new cell
    void SetColor(GridColor c) { m_color = c; }
    const QString &DefaultValue() const { return m_defaultValue; }
    void SetDefaultValue(const QString &v) { m_defaultValue = v; }
    ColumnOptions Options() const { return m_options; }
    void SetOptions(ColumnOptions o);
    bool HasOption(ColumnOptions o) const { return (m_options & o) == o; }
    void AddOption(ColumnOptions o) { SetOptions(m_options | o); }
    void RemoveOption(ColumnOptions o) { SetOptions(m_options & ~o); }
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted); // sorting one column clears the others' flag
    SortKind GetSortKind() const { return m_sortKind; }
    void SetSortKind(SortKind k);
    SortType GetSortType() const { return m_sortType; }
    void SetSortType(SortType t) { m_sortType = t; }
    WrapKind GetWrapKind() const { return m_wrapKind; }
    void SetWrapKind(WrapKind w);
    // The element of the rows' texts this text column shows (-1: none, the cells hold their own).
    int SourceField() const { return m_sourceField; }
    void SetSourceField(int field) { m_sourceField = field; }

    static constexpr int MinWidth = 8;

private:
    friend class GridData;
    friend class GridCell;
    friend class GridRowWriter;
    GridColumn(GridData *grid, ColumnKind kind);
    void layoutChanged();

    GridData *m_grid;
    ColumnKind m_kind;
    QString m_name;
    QString m_caption;
    int m_width = 64;
    int m_defaultWidth = 64;
    GridAlignment m_alignment = GridAlignment::Left;
    GridVerticalAlignment m_vAlignment = GridVerticalAlignment::Middle;
    bool m_visible = true;
    GridColor m_color = clWindow;
    QString m_defaultValue;
    ColumnOptions m_options = coCanClick | coCanSort;
    bool m_sorted = false;
    SortKind m_sortKind = SortKind::Ascending;
    SortType m_sortType = SortType::Alphabetic;
    WrapKind m_wrapKind = WrapKind::Ellipsis;
    int m_sourceField = -1;

    // The column's cells, indexed by row; only the vector of the column's kind is used.
    // Text columns: the cells' own texts. A column with a source field keeps them empty until a
    // cell gets a text of its own, so the rows' texts cost no string per cell.
    std::vector<QString> m_text;
    std::vector<std::uint8_t> m_own; // the cell holds a text of its own
    std::vector<double> m_number;
    std::vector<std::uint8_t> m_flag;
    std::vector<GridColor> m_colors;
};

// A light reference to one cell: (grid, column, row). It stays valid while the grid keeps that
// address; it holds no cell data itself. Every kind answers every accessor, converting as
// needed; a text that does not convert raises vq::Error.
class GridCell {
public:
    GridCell(GridData *grid, int col, int row) : m_grid(grid), m_col(col), m_row(row) {}

    ColumnKind Kind() const;
    int Col() const { return m_col; }
    int Row() const { return m_row; }

    QString AsString() const;
    void SetAsString(const QString &v);
    int AsInteger() const;
    void SetAsInteger(int v);
    double AsFloat() const;
    void SetAsFloat(double v);
    bool AsBoolean() const;
    void SetAsBoolean(bool v);
    QDateTime AsDateTime() const;
    void SetAsDateTime(const QDateTime &v);
    GridColor Color() const;
    void SetColor(GridColor c);

private:
    GridColumn &column() const;
    GridData *m_grid;
    int m_col;
    int m_row;
};

// The grid's own data: columns in two orders, rows with height and selected flag, typed and
// coloured cells, header-click sorting. Addresses are (column, row), both from 0, in the column
// order.
class GridData {
public:
    GridData();
    ~GridData();
    GridData(const GridData &) = delete;
    GridData &operator=(const GridData &) = delete;

    void AddObserver(GridObserver *o);
    void RemoveObserver(GridObserver *o);

    // Grid-wide settings.
    GridOptions Options() const { return m_options; }
    void SetOptions(GridOptions o);
    bool HasOption(GridOptions o) const { return (m_options & o) == o; }
    int RowSize() const { return m_rowSize; } // height given to new rows
    void SetRowSize(int px) { m_rowSize = px; }
    GridColor Color() const { return m_color; } // given to new columns
    void SetColor(GridColor c) { m_color = c; }

    // Columns.
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    GridColumn &Column(int index) { return *m_columns[static_cast<size_t>(index)]; }
    const GridColumn &Column(int index) const { return *m_columns[static_cast<size_t>(index)]; }
    GridColumn &ColumnAtPosition(int position) { return *m_display[static_cast<size_t>(position)]; }
    const GridColumn &ColumnAtPosition(int position) const {
        return *m_display[static_cast<size_t>(position)];
    }
    GridColumn *ColumnByName(const QString &name); // first exact match, or nullptr
    GridColumn &AddColumn(ColumnKind kind, const QString &caption);
    GridColumn &AddTextColumn(const QString &caption) { return AddColumn(ColumnKind::Text, caption); }
    void ClearColumns();
    void MoveColumnIndex(int from, int to);
    void MoveColumnPosition(int from, int to);

    // Rows.
    int RowCount() const { return m_rowCount; }
    void AddRows(int count);
    void DeleteRow(int row);
    void ClearRows();
    // The rows anew, as ClearRows and AddRows(from.size()) leave them, except that row r keeps the
    // texts of the old row from[r] where that is a row (moved, not copied). A refill then writes
    // only the texts that differ, and a grid of many rows shown again costs little.
    // GridRowWriter does the same while writing the new texts in the same pass.
    void RefillRows(const std::vector<int> &from);
    // Whether the text cell holds this very string (not merely equal text); no copy is made.
    bool CellTextIs(int col, int row, const QString &text) const;
    // The texts a row's source fields show (none for a new row).
    const GridRowTexts &RowTexts(int row) const { return m_rowTexts[static_cast<size_t>(row)]; }
    void SetRowTexts(int row, GridRowTexts texts);
    // A grid of keys: the rows' texts come from `source` by the value of `keyColumn` (a numeric
    // column), asked for a few rows at a time when a cell of a source column is first read; null
    // stops. ForgetRowTexts makes every row ask again (the keys stay), and drops the texts the
    // source columns' cells were given.
    void SetRowSource(TitleTextSource *source, int keyColumn);
    void ForgetRowTexts();
    // The key column of a grid of keys, -1 for a grid that holds its texts.
    int KeyColumn() const { return m_rowSource ? m_keyColumn : -1; }
    // A cell's value as a number, read without a cell reference (not range-checked).
    double NumberAt(int col, int row) const;
    int RowHeight(int row) const { return m_rowHeights[static_cast<size_t>(row)]; }
    void SetRowHeight(int row, int px) { m_rowHeights[static_cast<size_t>(row)] = px; }
    bool RowSelected(int row) const;
    void SetRowSelected(int row, bool selected);
    int SelectedRowCount() const { return m_selectedCount; }

    // Cells.
    QString GetCellText(int col, int row) const;                           // range-checked
    void SetCellText(int col, int row, const QString &text);               // range-checked
    GridCell CellAt(int col, int row) { return GridCell(this, col, row); } // not checked
    // Filling many rows: between BeginFill and EndFill cell writes tell the observers nothing,
    // and EndFill tells them once. Fills nest.
    void BeginFill() { ++m_fillDepth; }
    void EndFill();
    bool ValidCell(int col, int row) const {
        return col >= 0 && col < ColumnCount() && row >= 0 && row < m_rowCount;
    }

    // Sorting. HeaderClick applies the header-click rule to a column with coCanSort and returns
    // whether it sorted. SortRows sorts by a column in a direction; it reverses the rows instead
    // when the same column was sorted last in the other direction and no cell changed since.
    bool HeaderClick(int col);
    void SortRows(int col, SortKind kind);
    GridColumn *SortedColumn();

private:
    friend class GridRowWriter;
    // Rows appended without telling the observers.
    void growRows(int count);
    // Every cell but the texts as a new row has it; tells the observers nothing.
    void resetCellsKeepingTexts();
    friend class GridColumn;
    friend class GridCell;
    // The text a text cell shows: its own, or its row's source field.
    const QString &textOf(const GridColumn &c, size_t row) const {
        if (c.m_sourceField >= 0 && (c.m_own.empty() || !c.m_own[row])) {
            if (!m_rowTexts[row] && m_rowSource)
                fetchRowTexts(row);
            if (const GridRowTexts &t = m_rowTexts[row])
                return t.get()[c.m_sourceField];
            if (c.m_text.empty())
                return emptyText();
        }
        return c.m_text[row];
    }
    static const QString &emptyText();
    void setOwnText(GridColumn &c, size_t row, const QString &text);
    void columnLayoutChanged();
    void sortedSet(GridColumn *c);
    void cellChanged(int col, int row); // a value changed
    void notifyCell(int col, int row);  // only the look changed
    void initCells(GridColumn &c, int first, int count);
    int indexOf(const GridColumn *c) const;
    int positionOf(const GridColumn *c) const;

    std::vector<std::unique_ptr<GridColumn>> m_columns; // column order
    std::vector<GridColumn *> m_display;                // display order
    std::vector<GridObserver *> m_observers;
    int m_rowCount = 0;
    // Filled from the source as rows are read, when there is one.
    mutable std::vector<GridRowTexts> m_rowTexts;
    TitleTextSource *m_rowSource = nullptr;
    int m_keyColumn = -1;
    void fetchRowTexts(size_t row) const;
    std::vector<int> m_rowHeights;
    std::vector<std::uint8_t> m_rowSelected;
    int m_selectedCount = 0;
    GridOptions m_options = goHeader;
    int m_rowSize = 16;
    GridColor m_color = clWindow;

    // What the last sort did, for the reversal rule.
    const GridColumn *m_lastSortColumn = nullptr;
    SortKind m_lastSortKind = SortKind::Ascending;
    bool m_changedSinceSort = true;

    int m_fillDepth = 0;
    bool m_filledCells = false;
};

// Refills a grid's rows as RefillRows does, with new texts given row by row in the same pass: each
// text cell is then written once, where a refill followed by cell writes would write it twice and
// read it once more. Rows are written in ascending order; a cell not given keeps the text it
// would keep after RefillRows. The grid must not be used until finish(), which tells the observers
// as RefillRows does (the destructor finishes too); cells that are not texts are written after it.
class GridRowWriter {
public:
    GridRowWriter(GridData &grid, std::vector<int> from);
    ~GridRowWriter();
    GridRowWriter(const GridRowWriter &) = delete;
    GridRowWriter &operator=(const GridRowWriter &) = delete;

    // Row `row`'s text in text column `col`, of its own: the old string is kept where it is this
    // very one.
    void setText(int row, int col, const QString &text);
    // Row `row`'s texts for the source fields; given before the row's own texts, as it leaves the
    // row's source columns showing them.
    void setRowTexts(int row, const GridRowTexts &texts);
    void finish();

private:
    struct Column {
        bool text = false;
        bool sparse = false;      // a source column that holds no text of its own yet
        QString empty;            // what a new row holds
        std::vector<QString> old; // the rows before, moved out
        std::vector<std::uint8_t> oldOwn;
        std::vector<QString> fresh;
        std::vector<std::uint8_t> own;
    };
    void padTo(Column &c, size_t rows);
    void padRowTextsTo(size_t rows);

    GridData &m_grid;
    std::vector<int> m_from;
    std::vector<GridRowTexts> m_oldRowTexts, m_rowTexts;
    // Every row where it was: texts are written in place.
    bool m_inPlace = false;
    bool m_done = false;
    std::vector<Column> m_columns;
    std::vector<size_t> m_sourced; // the text columns with a source field
};

// Keeps a fill open for its lifetime, so an error on the way still ends it.
class GridFill {
public:
    explicit GridFill(GridData &grid) : m_grid(grid) { m_grid.BeginFill(); }
    ~GridFill() { m_grid.EndFill(); }
    GridFill(const GridFill &) = delete;
    GridFill &operator=(const GridFill &) = delete;

private:
    GridData &m_grid;
};

} // namespace vq
