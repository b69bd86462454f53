#include "gridview/griddata.h"
#include "catalog/messages.h"
#include "gridview/gridconvert.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace vq {

using namespace gridconvert;

// ---- GridColumn ----

GridColumn::GridColumn(GridData *grid, ColumnKind kind) : m_grid(grid), m_kind(kind) {
    switch (kind) {
    case ColumnKind::Text:
        m_sortType = SortType::Alphabetic;
        break;
    case ColumnKind::Numeric:
        m_sortType = SortType::Numeric;
        m_defaultValue = QStringLiteral("0");
        break;
    case ColumnKind::CheckBox:
        m_sortType = SortType::Boolean;
        m_defaultValue = QStringLiteral("false");
        break;
    }
}

int GridColumn::Index() const {
    return m_grid->indexOf(this);
}
int GridColumn::Position() const {
    return m_grid->positionOf(this);
}
void GridColumn::SetPosition(int position) {
    m_grid->MoveColumnPosition(Position(), position);
}
void GridColumn::layoutChanged() {
    m_grid->columnLayoutChanged();
}

void GridColumn::SetCaption(const QString &caption) {
    if (m_caption == caption)
        return;
    m_caption = caption;
    layoutChanged();
}

void GridColumn::SetWidth(int width) {
    width = std::max(width, MinWidth);
    if (m_width == width)
        return;
    m_width = width;
    layoutChanged();
}

void GridColumn::SetAlignment(GridAlignment a) {
    if (m_alignment == a)
        return;
    m_alignment = a;
    layoutChanged();
}

void GridColumn::SetVerticalAlignment(GridVerticalAlignment a) {
    if (m_vAlignment == a)
        return;
    m_vAlignment = a;
    layoutChanged();
}

void GridColumn::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    layoutChanged();
}

void GridColumn::SetOptions(ColumnOptions o) {
    if (m_options == o)
        return;
    m_options = o;
    layoutChanged();
}

void GridColumn::SetSorted(bool sorted) {
    if (sorted)
        m_grid->sortedSet(this);
    else if (m_sorted) {
        m_sorted = false;
        layoutChanged();
    }
}

void GridColumn::SetSortKind(SortKind k) {
    if (m_sortKind == k)
        return;
    m_sortKind = k;
    layoutChanged();
}

void GridColumn::SetWrapKind(WrapKind w) {
    if (m_wrapKind == w)
        return;
    m_wrapKind = w;
    layoutChanged();
}

// ---- GridData ----

GridData::GridData() = default;
GridData::~GridData() = default;

void GridData::AddObserver(GridObserver *o) {
    if (o && std::find(m_observers.begin(), m_observers.end(), o) == m_observers.end())
        m_observers.push_back(o);
}

void GridData::RemoveObserver(GridObserver *o) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), o), m_observers.end());
}

void GridData::SetOptions(GridOptions o) {
    if (m_options == o)
        return;
    m_options = o;
    columnLayoutChanged();
}

int GridData::indexOf(const GridColumn *c) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].get() == c)
            return static_cast<int>(i);
    return -1;
}

int GridData::positionOf(const GridColumn *c) const {
    for (size_t i = 0; i < m_display.size(); ++i)
        if (m_display[i] == c)
            return static_cast<int>(i);
    return -1;
}

void GridData::columnLayoutChanged() {
    for (GridObserver *o : m_observers)
        o->gridColumnLayoutChanged();
}

void GridData::sortedSet(GridColumn *c) {
    for (auto &col : m_columns)
        col->m_sorted = col.get() == c;
    columnLayoutChanged();
}

void GridData::cellChanged(int col, int row) {
    m_changedSinceSort = true;
    notifyCell(col, row);
}

void GridData::notifyCell(int col, int row) {
    if (m_fillDepth > 0) {
        m_filledCells = true;
        return;
    }
    for (GridObserver *o : m_observers)
        o->gridCellChanged(col, row);
}

void GridData::EndFill() {
    if (m_fillDepth == 0 || --m_fillDepth > 0 || !m_filledCells)
        return;
    m_filledCells = false;
    for (GridObserver *o : m_observers)
        o->gridCellsChanged();
}

GridColumn *GridData::ColumnByName(const QString &name) {
    for (auto &c : m_columns)
        if (c->m_name == name)
            return c.get();
    return nullptr;
}

void GridData::initCells(GridColumn &c, int first, int count) {
    const auto n = static_cast<size_t>(first + count);
    const bool useDefaults = HasOption(goUseDefaultValues);
    c.m_colors.resize(n, c.m_color);
    switch (c.m_kind) {
    case ColumnKind::Text:
        if (c.m_sourceField >= 0 && c.m_text.empty() && !useDefaults)
            break; // no text of its own yet
        c.m_text.resize(n, useDefaults ? c.m_defaultValue : QString());
        c.m_own.resize(n, 0);
        break;
    case ColumnKind::Numeric:
        c.m_number.resize(n, useDefaults ? tryFloat(c.m_defaultValue).value_or(0.0) : 0.0);
        break;
    case ColumnKind::CheckBox:
        c.m_flag.resize(n, useDefaults && tryBoolean(c.m_defaultValue).value_or(false) ? 1 : 0);
        break;
    }
}

GridColumn &GridData::AddColumn(ColumnKind kind, const QString &caption) {
    for (GridObserver *o : m_observers)
        o->gridColumnsAboutToChange();
    auto col = std::unique_ptr<GridColumn>(new GridColumn(this, kind));
    col->m_caption = caption;
    col->m_color = m_color;
    initCells(*col, 0, m_rowCount);
    GridColumn &ref = *col;
    m_columns.push_back(std::move(col));
    m_display.push_back(&ref);
    for (GridObserver *o : m_observers)
        o->gridColumnsChanged();
    return ref;
}

void GridData::ClearColumns() {
    for (GridObserver *o : m_observers)
        o->gridColumnsAboutToChange();
    m_display.clear();
    m_columns.clear();
    m_lastSortColumn = nullptr;
    m_changedSinceSort = true;
    for (GridObserver *o : m_observers)
        o->gridColumnsChanged();
}

namespace {
template <typename T> void moveItem(std::vector<T> &v, int from, int to) {
    auto f = v.begin() + from, t = v.begin() + to;
    if (from < to)
        std::rotate(f, f + 1, t + 1);
    else
        std::rotate(t, f, f + 1);
}
} // namespace

void GridData::MoveColumnIndex(int from, int to) {
    const int n = ColumnCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    for (GridObserver *o : m_observers)
        o->gridColumnsAboutToChange();
    moveItem(m_columns, from, to);
    for (GridObserver *o : m_observers)
        o->gridColumnsChanged();
}

void GridData::MoveColumnPosition(int from, int to) {
    const int n = ColumnCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    moveItem(m_display, from, to);
    columnLayoutChanged();
}

void GridData::growRows(int count) {
    if (count <= 0)
        return;
    const int first = m_rowCount;
    for (auto &c : m_columns)
        initCells(*c, first, count);
    const auto n = static_cast<size_t>(first + count);
    m_rowTexts.resize(n);
    m_rowHeights.resize(n, m_rowSize);
    m_rowSelected.resize(n, 0);
    m_rowCount += count;
    m_changedSinceSort = true;
}

void GridData::AddRows(int count) {
    if (count <= 0)
        return;
    const int first = m_rowCount;
    growRows(count);
    for (GridObserver *o : m_observers)
        o->gridRowsAppended(first, count);
}

void GridData::DeleteRow(int row) {
    if (row < 0 || row >= m_rowCount)
        return;
    for (GridObserver *o : m_observers)
        o->gridRowsAboutToBeRemoved(row, 1);
    for (auto &c : m_columns) {
        c->m_colors.erase(c->m_colors.begin() + row);
        if (!c->m_text.empty())
            c->m_text.erase(c->m_text.begin() + row);
        if (!c->m_own.empty())
            c->m_own.erase(c->m_own.begin() + row);
        if (!c->m_number.empty())
            c->m_number.erase(c->m_number.begin() + row);
        if (!c->m_flag.empty())
            c->m_flag.erase(c->m_flag.begin() + row);
    }
    if (m_rowSelected[static_cast<size_t>(row)])
        --m_selectedCount;
    m_rowTexts.erase(m_rowTexts.begin() + row);
    m_rowHeights.erase(m_rowHeights.begin() + row);
    m_rowSelected.erase(m_rowSelected.begin() + row);
    --m_rowCount;
    m_changedSinceSort = true;
    for (GridObserver *o : m_observers)
        o->gridRowsRemoved(row, 1);
}

void GridData::RefillRows(const std::vector<int> &from) {
    GridRowWriter(*this, from).finish();
}

GridRowWriter::GridRowWriter(GridData &grid, std::vector<int> from) : m_grid(grid), m_from(std::move(from)) {
    const int n = int(m_from.size());
    m_inPlace = n == grid.m_rowCount;
    for (int r = 0; m_inPlace && r < n; ++r)
        m_inPlace = m_from[size_t(r)] == r;
    if (m_inPlace) {
        // Every row stays where it was: its texts stay in place and the rest starts anew, so a
        // refill that changes nothing moves no string.
        for (GridObserver *o : grid.m_observers)
            o->gridRowsAboutToBeRemoved(0, n);
        grid.resetCellsKeepingTexts();
        for (GridObserver *o : grid.m_observers)
            o->gridRowsRemoved(0, n);
        if (n > 0)
            for (GridObserver *o : grid.m_observers)
                o->gridRowsAppended(0, n);
        return;
    }
    // The old texts are taken out, and the grid is left empty until the new rows go in.
    m_columns.resize(grid.m_columns.size());
    const bool useDefaults = grid.HasOption(goUseDefaultValues);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        GridColumn &c = *grid.m_columns[i];
        if (c.m_kind != ColumnKind::Text)
            continue;
        Column &w = m_columns[i];
        w.text = true;
        w.empty = useDefaults ? c.m_defaultValue : QString();
        w.old.swap(c.m_text);
        w.oldOwn.swap(c.m_own);
        w.sparse = c.m_sourceField >= 0 && w.old.empty() && !useDefaults;
        if (!w.sparse) {
            w.fresh.reserve(size_t(n));
            w.own.reserve(size_t(n));
        }
        if (c.m_sourceField >= 0)
            m_sourced.push_back(i);
    }
    m_oldRowTexts.swap(grid.m_rowTexts);
    m_rowTexts.reserve(size_t(n));
    grid.ClearRows();
}

GridRowWriter::~GridRowWriter() {
    finish();
}

void GridRowWriter::padTo(Column &c, size_t rows) {
    if (c.sparse)
        return;
    while (c.fresh.size() < rows) {
        const int q = m_from[c.fresh.size()];
        if (q >= 0 && size_t(q) < c.old.size()) {
            c.fresh.push_back(std::move(c.old[size_t(q)]));
            c.own.push_back(c.oldOwn[size_t(q)]);
        } else {
            c.fresh.push_back(c.empty);
            c.own.push_back(0);
        }
    }
}

void GridRowWriter::padRowTextsTo(size_t rows) {
    while (m_rowTexts.size() < rows) {
        const int q = m_from[m_rowTexts.size()];
        m_rowTexts.push_back(q >= 0 && size_t(q) < m_oldRowTexts.size() ? std::move(m_oldRowTexts[size_t(q)])
                                                                        : GridRowTexts());
    }
}

void GridRowWriter::setText(int row, int col, const QString &text) {
    if (m_done || row < 0 || size_t(row) >= m_from.size() || col < 0 || col >= m_grid.ColumnCount() ||
        m_grid.Column(col).m_kind != ColumnKind::Text)
        return;
    const auto r = size_t(row);
    if (m_inPlace) {
        GridColumn &column = m_grid.Column(col);
        if (column.m_own.empty() || !column.m_own[r] || !column.m_text[r].isSharedWith(text)) {
            m_grid.setOwnText(column, r, text);
            m_grid.cellChanged(col, row);
        }
        return;
    }
    Column &c = m_columns[size_t(col)];
    if (c.sparse) { // its first text of its own: every row gets a cell
        c.sparse = false;
        c.fresh.reserve(m_from.size());
        c.own.reserve(m_from.size());
    }
    if (c.fresh.size() > r) { // written before
        c.fresh[r] = text;
        c.own[r] = 1;
        return;
    }
    padTo(c, r);
    const int q = m_from[r];
    if (q >= 0 && size_t(q) < c.old.size() && c.old[size_t(q)].isSharedWith(text))
        c.fresh.push_back(std::move(c.old[size_t(q)]));
    else
        c.fresh.push_back(text);
    c.own.push_back(1);
}

void GridRowWriter::setRowTexts(int row, const GridRowTexts &texts) {
    if (m_done || row < 0 || size_t(row) >= m_from.size())
        return;
    const auto r = size_t(row);
    if (m_inPlace) {
        m_grid.SetRowTexts(row, texts);
        return;
    }
    padRowTextsTo(r);
    if (m_rowTexts.size() > r)
        m_rowTexts[r] = texts;
    else
        m_rowTexts.push_back(texts);
    // The row's source columns show them, not what the row held before.
    for (const size_t i : m_sourced) {
        Column &c = m_columns[i];
        if (c.sparse)
            continue;
        padTo(c, r);
        if (c.fresh.size() > r) {
            c.fresh[r] = c.empty;
            c.own[r] = 0;
        } else {
            c.fresh.push_back(c.empty);
            c.own.push_back(0);
        }
    }
}

void GridRowWriter::finish() {
    if (m_done)
        return;
    m_done = true;
    if (m_inPlace)
        return;
    const int n = int(m_from.size());
    // The new texts go in first, so that growing the rows writes no text a second time.
    for (size_t i = 0; i < m_columns.size(); ++i) {
        Column &c = m_columns[i];
        if (!c.text)
            continue;
        padTo(c, size_t(n));
        GridColumn &column = *m_grid.m_columns[i];
        // A source column whose cells all show their rows' texts again holds no strings.
        if (column.m_sourceField >= 0 && !m_grid.HasOption(goUseDefaultValues) &&
            std::find(c.own.begin(), c.own.end(), 1) == c.own.end()) {
            c.fresh = {};
            c.own = {};
        }
        column.m_text.swap(c.fresh);
        column.m_own.swap(c.own);
        c.old = {};
    }
    padRowTextsTo(size_t(n));
    m_grid.m_rowTexts.swap(m_rowTexts);
    m_oldRowTexts = {};
    m_grid.growRows(n);
    if (n > 0)
        for (GridObserver *o : m_grid.m_observers)
            o->gridRowsAppended(0, n);
}

const QString &GridData::emptyText() {
    static const QString empty;
    return empty;
}

void GridData::setOwnText(GridColumn &c, size_t row, const QString &text) {
    if (c.m_text.size() < static_cast<size_t>(m_rowCount)) {
        c.m_text.resize(static_cast<size_t>(m_rowCount));
        c.m_own.resize(static_cast<size_t>(m_rowCount), 0);
    }
    c.m_text[row] = text;
    c.m_own[row] = 1;
}

void GridData::SetRowSource(TitleTextSource *source, int keyColumn) {
    m_rowSource = source;
    m_keyColumn = keyColumn;
}

void GridData::ForgetRowTexts() {
    std::fill(m_rowTexts.begin(), m_rowTexts.end(), GridRowTexts());
    // The source columns show the source's texts again, not a text a cell was given.
    for (auto &c : m_columns)
        if (c->m_kind == ColumnKind::Text && c->m_sourceField >= 0) {
            c->m_text.clear();
            c->m_own.clear();
        }
    if (m_fillDepth > 0)
        m_filledCells = true;
    else
        for (GridObserver *o : m_observers)
            o->gridCellsChanged();
}

void GridData::fetchRowTexts(size_t row) const {
    // The rows from this one on that have no texts yet, in one question: a screenful, or a walk
    // through the rows, costs a few look-ups instead of one per row.
    constexpr size_t kRows = 256;
    const size_t end = std::min(m_rowTexts.size(), row + kRows);
    const GridColumn &keys = *m_columns[static_cast<size_t>(m_keyColumn)];
    std::vector<size_t> rows;
    std::vector<qint64> ids;
    for (size_t r = row; r < end; ++r)
        if (!m_rowTexts[r]) {
            rows.push_back(r);
            ids.push_back(qint64(keys.m_number[r]));
        }
    std::vector<GridRowTexts> texts;
    m_rowSource->titleTexts(ids, texts);
    // A key without texts shows empty cells, and is not asked again until the next fill.
    static const std::shared_ptr<const std::array<QString, 32>> none =
        std::make_shared<std::array<QString, 32>>();
    for (size_t i = 0; i < rows.size(); ++i)
        m_rowTexts[rows[i]] = i < texts.size() && texts[i] ? texts[i] : GridRowTexts(none, none->data());
}

void GridData::SetRowTexts(int row, GridRowTexts texts) {
    if (row < 0 || row >= m_rowCount)
        return;
    const auto r = static_cast<size_t>(row);
    bool changed = m_rowTexts[r] != texts;
    m_rowTexts[r] = std::move(texts);
    for (int col = 0; col < ColumnCount(); ++col) {
        GridColumn &c = Column(col);
        if (c.m_kind != ColumnKind::Text || c.m_sourceField < 0 || c.m_own.empty() || !c.m_own[r])
            continue;
        c.m_own[r] = 0;
        c.m_text[r] = QString();
        changed = true;
    }
    if (changed)
        cellChanged(-1, row);
}

void GridData::resetCellsKeepingTexts() {
    const bool useDefaults = HasOption(goUseDefaultValues);
    for (auto &cp : m_columns) {
        GridColumn &c = *cp;
        std::fill(c.m_colors.begin(), c.m_colors.end(), c.m_color);
        if (c.m_kind == ColumnKind::Numeric)
            std::fill(c.m_number.begin(), c.m_number.end(),
                      useDefaults ? tryFloat(c.m_defaultValue).value_or(0.0) : 0.0);
        else if (c.m_kind == ColumnKind::CheckBox)
            std::fill(c.m_flag.begin(), c.m_flag.end(),
                      useDefaults && tryBoolean(c.m_defaultValue).value_or(false) ? 1 : 0);
    }
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), m_rowSize);
    std::fill(m_rowSelected.begin(), m_rowSelected.end(), 0);
    m_selectedCount = 0;
    m_changedSinceSort = true;
}

bool GridData::CellTextIs(int col, int row, const QString &text) const {
    if (!ValidCell(col, row))
        return false;
    const GridColumn &c = Column(col);
    return c.m_kind == ColumnKind::Text && textOf(c, size_t(row)).isSharedWith(text);
}

double GridData::NumberAt(int col, int row) const {
    const GridColumn &c = Column(col);
    if (c.m_kind == ColumnKind::Numeric)
        return c.m_number[size_t(row)];
    return GridCell(const_cast<GridData *>(this), col, row).AsFloat();
}

void GridData::ClearRows() {
    const int n = m_rowCount;
    if (n > 0)
        for (GridObserver *o : m_observers)
            o->gridRowsAboutToBeRemoved(0, n);
    // clear() keeps the capacity: the program rebuilds its tables from nothing on every search.
    for (auto &c : m_columns) {
        c->m_colors.clear();
        c->m_text.clear();
        c->m_own.clear();
        c->m_number.clear();
        c->m_flag.clear();
    }
    m_rowTexts.clear();
    m_rowHeights.clear();
    m_rowSelected.clear();
    m_selectedCount = 0;
    m_rowCount = 0;
    m_changedSinceSort = true;
    if (n > 0)
        for (GridObserver *o : m_observers)
            o->gridRowsRemoved(0, n);
}

bool GridData::RowSelected(int row) const {
    return row >= 0 && row < m_rowCount && m_rowSelected[static_cast<size_t>(row)] != 0;
}

void GridData::SetRowSelected(int row, bool selected) {
    if (row < 0 || row >= m_rowCount)
        return;
    std::uint8_t &flag = m_rowSelected[static_cast<size_t>(row)];
    if ((flag != 0) == selected)
        return;
    flag = selected ? 1 : 0;
    m_selectedCount += selected ? 1 : -1;
    notifyCell(-1, row);
}

namespace {
Error outOfBounds(int col, int row) {
    return Error(msg::cellOutOfBounds(col, row));
}
} // namespace

QString GridData::GetCellText(int col, int row) const {
    if (!ValidCell(col, row))
        throw outOfBounds(col, row);
    return const_cast<GridData *>(this)->CellAt(col, row).AsString();
}

void GridData::SetCellText(int col, int row, const QString &text) {
    if (!ValidCell(col, row))
        throw outOfBounds(col, row);
    CellAt(col, row).SetAsString(text);
}

// ---- Sorting ----

GridColumn *GridData::SortedColumn() {
    for (auto &c : m_columns)
        if (c->m_sorted)
            return c.get();
    return nullptr;
}

bool GridData::HeaderClick(int col) {
    if (col < 0 || col >= ColumnCount())
        return false;
    GridColumn &c = Column(col);
    if (!c.HasOption(coCanSort))
        return false;
    SortKind kind = c.m_sortKind;
    if (c.m_sorted)
        kind = kind == SortKind::Ascending ? SortKind::Descending : SortKind::Ascending;
    SortRows(col, kind);
    return true;
}

namespace {

constexpr double kNoValue = -std::numeric_limits<double>::infinity();

double finiteOr(double v) {
    return std::isnan(v) ? kNoValue : v;
}

// Case-insensitive order lowers the Latin letters A to Z only and compares character codes.
inline char16_t foldUnit(char16_t u, bool fold) {
    return fold && u >= u'A' && u <= u'Z' ? u + 32 : u;
}

int compareText(const QString &a, const QString &b, bool fold) {
    if (!fold)
        return QString::compare(a, b, Qt::CaseSensitive);
    const qsizetype n = std::min(a.size(), b.size());
    const QChar *pa = a.constData(), *pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldUnit(pa[i].unicode(), true), y = foldUnit(pb[i].unicode(), true);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// The first four UTF-16 units, the first in the high bits; missing units count as 0, so a
// shorter text sorts before its continuations as in the full comparison.
std::uint64_t textPrefix(const QString &s, bool fold) {
    std::uint64_t key = 0;
    const QChar *p = s.constData();
    for (qsizetype i = 0; i < 4; ++i)
        key = (key << 16) | (i < s.size() ? foldUnit(p[i].unicode(), fold) : 0u);
    return key;
}

// A dotted address as one number, so that 10.0.0.9 sorts before 10.0.0.10.
double dottedKey(const QString &s) {
    const QStringList parts = s.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return kNoValue;
    double key = 0;
    for (const QString &p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || v < 0 || v > 255)
            return kNoValue;
        key = key * 256 + v;
    }
    return key;
}

template <typename T, typename V> void permute(std::vector<T> &v, const std::vector<V> &order) {
    if (v.empty())
        return;
    std::vector<T> out;
    out.reserve(v.size());
    for (V i : order)
        out.push_back(std::move(v[static_cast<size_t>(i)]));
    v.swap(out);
}

template <typename T> void reverseAll(std::vector<T> &v) {
    std::reverse(v.begin(), v.end());
}

} // namespace

void GridData::SortRows(int col, SortKind kind) {
    if (col < 0 || col >= ColumnCount())
        return;
    GridColumn &c = Column(col);
    const bool wasSorted = c.m_sorted;
    const SortKind wasKind = c.m_sortKind;
    for (auto &other : m_columns)
        other->m_sorted = other.get() == &c;
    c.m_sortKind = kind;
    if (!wasSorted || wasKind != kind)
        columnLayoutChanged();

    const bool sameColumn = m_lastSortColumn == &c && !m_changedSinceSort;
    if (m_rowCount < 2 || (sameColumn && kind == m_lastSortKind)) {
        m_lastSortColumn = &c;
        m_lastSortKind = kind;
        m_changedSinceSort = false;
        return;
    }

    for (GridObserver *o : m_observers)
        o->gridRowsAboutToBeReordered();

    if (sameColumn) {
        // Nothing changed since the last sort by this column: the other direction is the reverse.
        for (auto &x : m_columns) {
            reverseAll(x->m_colors);
            reverseAll(x->m_text);
            reverseAll(x->m_own);
            reverseAll(x->m_number);
            reverseAll(x->m_flag);
        }
        reverseAll(m_rowTexts);
    } else {
        std::vector<int> order(static_cast<size_t>(m_rowCount));
        std::iota(order.begin(), order.end(), 0);
        const bool desc = kind == SortKind::Descending;
        auto sortBy = [&](auto less) {
            if (desc)
                std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
            else
                std::stable_sort(order.begin(), order.end(), less);
        };
        const SortType type = c.m_sortType;
        const bool textual = type == SortType::Alphabetic || type == SortType::CaseInsensitive;
        if (textual) {
            std::vector<QString> converted;
            std::vector<const QString *> k(static_cast<size_t>(m_rowCount));
            if (c.m_kind != ColumnKind::Text) {
                converted.reserve(static_cast<size_t>(m_rowCount));
                for (int r = 0; r < m_rowCount; ++r)
                    converted.push_back(CellAt(col, r).AsString());
            }
            for (size_t r = 0; r < k.size(); ++r)
                k[r] = c.m_kind == ColumnKind::Text ? &textOf(c, r) : &converted[r];
            const bool fold = type == SortType::CaseInsensitive;
            // Most comparisons are decided by the first four characters, packed into one number;
            // only ties read the strings themselves.
            struct Entry {
                std::uint64_t prefix;
                int row;
            };
            std::vector<Entry> entries(static_cast<size_t>(m_rowCount));
            for (int r = 0; r < m_rowCount; ++r)
                entries[static_cast<size_t>(r)] = {textPrefix(*k[size_t(r)], fold), r};
            auto less = [&k, fold](const Entry &a, const Entry &b) {
                if (a.prefix != b.prefix)
                    return a.prefix < b.prefix;
                return compareText(*k[size_t(a.row)], *k[size_t(b.row)], fold) < 0;
            };
            if (desc)
                std::stable_sort(entries.begin(), entries.end(),
                                 [&](const Entry &a, const Entry &b) { return less(b, a); });
            else
                std::stable_sort(entries.begin(), entries.end(), less);
            for (size_t i = 0; i < entries.size(); ++i)
                order[i] = entries[i].row;
        } else if (c.m_kind == ColumnKind::Numeric && type != SortType::Boolean && type != SortType::IP) {
            const double *k = c.m_number.data();
            std::vector<double> keys(k, k + m_rowCount);
            for (double &v : keys)
                v = finiteOr(v);
            const double *kk = keys.data();
            sortBy([kk](int a, int b) { return kk[a] < kk[b]; });
        } else {
            std::vector<double> keys(static_cast<size_t>(m_rowCount));
            for (int r = 0; r < m_rowCount; ++r) {
                const auto i = static_cast<size_t>(r);
                double key = kNoValue;
                switch (c.m_kind) {
                case ColumnKind::CheckBox:
                    key = type == SortType::IP ? kNoValue : c.m_flag[i];
                    break;
                case ColumnKind::Numeric:
                    key = type == SortType::Boolean ? (c.m_number[i] != 0.0 ? 1 : 0) : kNoValue;
                    break;
                case ColumnKind::Text: {
                    const QString &s = textOf(c, i);
                    if (type == SortType::Numeric)
                        key = tryFloat(s).value_or(kNoValue);
                    else if (type == SortType::Date) {
                        const auto d = tryDateTime(s);
                        key = d ? dayNumber(*d) : kNoValue;
                    } else if (type == SortType::Boolean)
                        key = tryBoolean(s).value_or(false) ? 1 : 0;
                    else
                        key = dottedKey(s);
                    break;
                }
                }
                keys[i] = finiteOr(key);
            }
            const double *kk = keys.data();
            sortBy([kk](int a, int b) { return kk[a] < kk[b]; });
        }
        for (auto &x : m_columns) {
            permute(x->m_colors, order);
            permute(x->m_text, order);
            permute(x->m_own, order);
            permute(x->m_number, order);
            permute(x->m_flag, order);
        }
        permute(m_rowTexts, order);
    }
    m_lastSortColumn = &c;
    m_lastSortKind = kind;
    m_changedSinceSort = false;
    for (GridObserver *o : m_observers)
        o->gridRowsReordered();
}

} // namespace vq
