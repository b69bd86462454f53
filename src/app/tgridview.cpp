#include "tgridview.h"

#include <cmath>

#include <QAbstractTableModel>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace vq {

namespace {
constexpr GridColor clHighlight = static_cast<GridColor>(0xFF00000Du);
constexpr GridColor clWindowText = static_cast<GridColor>(0xFF000008u);

Qt::Alignment toQt(GridAlignment a, GridVerticalAlignment v) {
    Qt::Alignment h = Qt::AlignLeft;
    if (a == GridAlignment::Right)
        h = Qt::AlignRight;
    else if (a == GridAlignment::Center)
        h = Qt::AlignHCenter;
    Qt::Alignment vert = Qt::AlignVCenter;
    if (v == GridVerticalAlignment::Top)
        vert = Qt::AlignTop;
    else if (v == GridVerticalAlignment::Bottom)
        vert = Qt::AlignBottom;
    return h | vert;
}
} // namespace

// The table model over GridData. It publishes appended rows in batches: rowCount() is what the
// view has been told, which may lag behind the data while the program fills the grid.
class GridModel : public QAbstractTableModel {
public:
    GridModel(TGridView *view, GridData &data) : QAbstractTableModel(view), m_view(view), m_data(data) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_cols;
    }

    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override {
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

    int publishedRows() const { return m_rows; }

    // Tells the view about rows appended since the last call; returns whether there were any.
    bool publish() {
        const int n = m_data.RowCount();
        if (n <= m_rows)
            return false;
        beginInsertRows(QModelIndex(), m_rows, n - 1);
        m_rows = n;
        endInsertRows();
        return true;
    }

    void aboutToRemove(int first, int count) {
        if (first == 0 && count == m_data.RowCount()) {
            m_reset = true;
            beginResetModel();
            return;
        }
        publish();
        beginRemoveRows(QModelIndex(), first, first + count - 1);
    }
    void removed() {
        m_rows = m_data.RowCount();
        if (m_reset) {
            m_reset = false;
            endResetModel();
        } else
            endRemoveRows();
    }
    // A reset rather than a layout change: for a layout change the views store and restore
    // every row of their headers, which costs more than the sort on large grids. The section
    // counts stay, so column widths and order survive.
    void aboutToReorder() { beginResetModel(); }
    void reordered() {
        m_rows = m_data.RowCount();
        endResetModel();
    }
    void columnsAboutToChange() { beginResetModel(); }
    void columnsChanged() {
        m_rows = m_data.RowCount();
        m_cols = m_data.ColumnCount();
        endResetModel();
    }
    void headersChanged() {
        if (m_cols > 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
    }

private:
    TGridView *m_view;
    GridData &m_data;
    int m_rows = 0;
    int m_cols = 0;
    bool m_reset = false;
};

QVariant GridModel::data(const QModelIndex &index, int role) const {
    const int r = index.row(), c = index.column();
    if (!m_data.ValidCell(c, r))
        return QVariant();
    const GridColumn &col = m_data.Column(c);
    GridCell cell = const_cast<GridData &>(m_data).CellAt(c, r);
    switch (role) {
    case Qt::DisplayRole:
        if (col.Kind() == ColumnKind::CheckBox)
            return QVariant();
        return cell.AsString();
    case Qt::CheckStateRole:
        if (col.Kind() != ColumnKind::CheckBox)
            return QVariant();
        return cell.AsBoolean() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQt(col.Alignment(), col.VerticalAlignment()));
    case Qt::BackgroundRole:
        return QBrush(m_view->ResolveColor(m_view->highlighted(c, r) ? clHighlight : cell.Color()));
    case Qt::ForegroundRole:
        return QBrush(m_view->TextColorOn(cell.Color(), m_view->highlighted(c, r)));
    case Qt::ToolTipRole: {
        // A text cut by its column shows whole when the mouse rests on it.
        if (col.Kind() == ColumnKind::CheckBox)
            return QVariant();
        const QString text = cell.AsString();
        const int room = m_view->columnWidth(c) - 6;
        const QString more = m_view->m_toolTipSource ? m_view->m_toolTipSource(c, r) : QString();
        if (text.isEmpty() || QFontMetrics(m_view->font()).horizontalAdvance(text) <= room)
            return more.isEmpty() ? QVariant() : QVariant(more);
        return more.isEmpty() ? text : text + QLatin1Char('\n') + more;
    }
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_data.ColumnCount())
        return QVariant();
    const GridColumn &col = m_data.Column(section);
    if (role == Qt::DisplayRole)
        return col.Caption();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(toQt(col.Alignment(), GridVerticalAlignment::Middle));
    return QVariant();
}

// Paints a cell straight from the grid's data: its colour, then one line of text cut with an
// ellipsis. The standard delegate lays every cell's text out in full, which makes a screenful
// of a wide grid several times slower to draw.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(TGridView *view, GridData &data) : QStyledItemDelegate(view), m_view(view), m_data(data) {}

    void paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &index) const override {
        const int r = index.row(), c = index.column();
        if (!m_data.ValidCell(c, r))
            return;
        const GridColumn &col = m_data.Column(c);
        GridCell cell = m_data.CellAt(c, r);
        const bool hl = m_view->highlighted(c, r);
        p->fillRect(opt.rect, m_view->ResolveColor(hl ? clHighlight : cell.Color()));
        const Qt::Alignment align = toQt(col.Alignment(), col.VerticalAlignment());
        if (col.Kind() == ColumnKind::CheckBox) {
            QStyleOptionViewItem box(opt);
            const int side = std::min(opt.rect.height(), 13);
            const QRect area = opt.rect.adjusted(2, 0, -2, 0);
            box.rect = QStyle::alignedRect(opt.direction, align, QSize(side, side), area);
            box.state = (opt.state & QStyle::State_Enabled) |
                        (cell.AsBoolean() ? QStyle::State_On : QStyle::State_Off);
            m_view->style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, p, m_view);
        } else {
            const QString text = cell.AsString();
            if (!text.isEmpty()) {
                const QRect area = opt.rect.adjusted(3, 0, -3, 0);
                const QString shown = col.GetWrapKind() == WrapKind::Ellipsis
                                          ? opt.fontMetrics.elidedText(text, Qt::ElideRight, area.width())
                                          : text;
                p->setPen(m_view->TextColorOn(cell.Color(), hl));
                p->drawText(area, int(align) | Qt::TextSingleLine, shown);
            }
        }
        if ((opt.state & QStyle::State_HasFocus) && m_view->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.backgroundColor = m_view->ResolveColor(hl ? clHighlight : cell.Color());
            m_view->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, m_view);
        }
    }

private:
    TGridView *m_view;
    GridData &m_data;
};

// The in-place editor. It keeps every key it gets, so that arrows typed into it never reach
// the grid's navigation.
class GridEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onAccept;
    std::function<void()> onCancel;
    std::function<void(Qt::FocusReason)> onFocusLost;

protected:
    void keyPressEvent(QKeyEvent *e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            if (onAccept)
                onAccept();
        } else if (e->key() == Qt::Key_Escape) {
            if (onCancel)
                onCancel();
        } else
            QLineEdit::keyPressEvent(e);
        e->accept();
    }
    void focusOutEvent(QFocusEvent *e) override {
        QLineEdit::focusOutEvent(e);
        if (onFocusLost)
            onFocusLost(e->reason());
    }
};

TGridView::TGridView(QWidget *parent) : QTableView(parent), m_data(std::make_unique<GridData>()) {
    m_basePalette = palette();
    m_model = new GridModel(this, *m_data);
    setModel(m_model);
    setItemDelegate(new GridDelegate(this, *m_data));
    m_data->AddObserver(this);

    setSelectionMode(QAbstractItemView::NoSelection);
    // Row behaviour makes a header press leave Qt's current index alone.
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    QAbstractItemView::setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setFocusPolicy(Qt::StrongFocus);

    QHeaderView *vh = verticalHeader();
    vh->setSectionResizeMode(QHeaderView::Fixed);
    vh->setMinimumSectionSize(1);
    vh->setDefaultSectionSize(ShownRowHeight());
    vh->setSectionsClickable(false);
    vh->setFixedWidth(12);

    QHeaderView *hh = horizontalHeader();
    hh->setSectionsClickable(true);
    hh->setHighlightSections(false);
    hh->setMinimumSectionSize(GridColumn::MinWidth);
    hh->setDefaultSectionSize(64);
    hh->setStretchLastSection(false);
    hh->setFixedHeight(m_headerSize);
    connect(hh, &QHeaderView::sectionClicked, this, &TGridView::onHeaderClicked);
    connect(hh, &QHeaderView::sectionResized, this, &TGridView::onSectionResized);
    connect(hh, &QHeaderView::sectionMoved, this, &TGridView::onSectionMoved);

    m_clickEdit.setSingleShot(true);
    connect(&m_clickEdit, &QTimer::timeout, this, [this] {
        if (m_clickEditCol == m_col && m_clickEditRow == m_row && m_data->ValidCell(m_col, m_row) &&
            m_data->Column(m_col).HasOption(coEditing))
            EditCell(m_col, m_row);
    });

    applyPalette();
    syncColumns();
}

TGridView::~TGridView() {
    // The editor would report losing the focus while the grid is half destroyed.
    m_editing = false;
    if (m_editor) {
        m_editor->onAccept = nullptr;
        m_editor->onCancel = nullptr;
        m_editor->onFocusLost = nullptr;
        delete m_editor;
        m_editor = nullptr;
    }
    m_data->RemoveObserver(this);
    // The model reads the data; it must go before the data does.
    setModel(nullptr);
    delete m_model;
    m_model = nullptr;
}

QColor TGridView::ResolveColor(GridColor c) const {
    if (!IsSystemColor(c))
        return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    switch (c & 0xFF) {
    case 0x05:
        return m_basePalette.color(QPalette::Base);
    case 0x08:
        return m_basePalette.color(QPalette::Text);
    case 0x0D:
        return m_basePalette.color(QPalette::Highlight);
    case 0x0E:
        return m_basePalette.color(QPalette::HighlightedText);
    case 0x0F:
        return m_basePalette.color(QPalette::Button);
    case 0x12:
        return m_basePalette.color(QPalette::ButtonText);
    default:
        return m_basePalette.color(QPalette::Window);
    }
}

void TGridView::applyPalette() {
    QPalette p = palette();
    p.setColor(QPalette::Base, ResolveColor(m_data->Color()));
    // The common styles draw a table's grid lines in the Mid colour.
    p.setColor(QPalette::Mid, ResolveColor(m_gridLinesColor));
    setPalette(p);
}

void TGridView::SetRowSize(int px) {
    m_data->SetRowSize(px);
    verticalHeader()->setDefaultSectionSize(ShownRowHeight());
}

int TGridView::ShownRowHeight() const {
    // The line with room for accents above capitals (Ё) and a pixel of the grid line.
    const QFontMetrics fm(font());
    return std::max(m_data->RowSize(), fm.height() + 2);
}

void TGridView::changeEvent(QEvent *event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(ShownRowHeight());
}

namespace {
double luminance(const QColor &c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double contrast(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

QColor TGridView::TextColorOn(GridColor background, bool highlighted) const {
    if (highlighted)
        return ResolveColor(clHighlightText);
    const QColor text = ResolveColor(clWindowText);
    if (IsSystemColor(background))
        return text; // the palette's own pair
    const QColor fill = ResolveColor(background);
    if (contrast(text, fill) >= 4.5)
        return text;
    return contrast(Qt::black, fill) >= contrast(Qt::white, fill) ? QColor(Qt::black) : QColor(Qt::white);
}

void TGridView::SetHeaderSize(int px) {
    m_headerSize = px;
    horizontalHeader()->setFixedHeight(px);
}

void TGridView::SetColor(GridColor c) {
    m_data->SetColor(c);
    applyPalette();
}

void TGridView::SetGridLinesColor(GridColor c) {
    m_gridLinesColor = c;
    applyPalette();
}

QLineEdit *TGridView::Editor() const {
    return m_editor;
}

// ---- coalesced updates ----

void TGridView::scheduleFlush() {
    if (m_flushPending)
        return;
    m_flushPending = true;
    QMetaObject::invokeMethod(
        this, [this] { Flush(); }, Qt::QueuedConnection);
}

void TGridView::Flush() {
    m_flushPending = false;
    if (m_model->publish())
        executeDelayedItemsLayout();
    if (m_repaintPending) {
        m_repaintPending = false;
        viewport()->update();
    }
}

void TGridView::gridRowsAppended(int, int) {
    scheduleFlush();
}

void TGridView::gridRowsAboutToBeRemoved(int first, int count) {
    CancelEdit();
    m_focusRowWasSelected = m_row >= 0 && m_data->RowSelected(m_row);
    if (m_row >= first + count)
        m_focusRowWasSelected = false; // the focus keeps its row; nothing to repair
    m_model->aboutToRemove(first, count);
}

void TGridView::gridRowsRemoved(int first, int count) {
    m_model->removed();
    const int n = m_data->RowCount();
    // The focus follows its row; when its row went away it stays at the place of the removal.
    if (m_row >= first + count)
        m_row -= count;
    else if (m_row >= first)
        m_row = first;
    if (m_row >= 0) // no current row stays none
        m_row = std::clamp(m_row, 0, std::max(n - 1, 0));
    // In a whole-row grid the selected flag marks the focused row: keep it so after a removal.
    if (m_focusRowWasSelected && n > 0 && m_data->HasOption(goSelectFullRow) &&
        !m_data->HasOption(goMultiSelect) && m_data->SelectedRowCount() == 0)
        m_data->SetRowSelected(std::max(m_row, 0), true);
    m_focusRowWasSelected = false;
    syncCurrentIndex();
    viewport()->update();
}

QStringList TGridView::rowTexts(int row) const {
    QStringList out;
    for (int c = 0; c < m_data->ColumnCount(); ++c)
        out.append(m_data->GetCellText(c, row));
    return out;
}

int TGridView::findRowTexts(const QStringList &texts) const {
    for (int r = 0; r < m_data->RowCount(); ++r)
        if (rowTexts(r) == texts)
            return r;
    return -1;
}

void TGridView::gridRowsAboutToBeReordered() {
    CancelEdit();
    m_focusBeforeReorder.reset();
    if (m_row >= 0 && m_row < m_data->RowCount())
        m_focusBeforeReorder = rowTexts(m_row);
    m_model->aboutToReorder();
}

void TGridView::gridRowsReordered() {
    m_model->reordered();
    // The focus stays on its row, wherever the sort put it: the highlighted row is the one the
    // window treats as current.
    if (m_focusBeforeReorder) {
        const int row = findRowTexts(*m_focusBeforeReorder);
        m_focusBeforeReorder.reset();
        if (row >= 0 && row != m_row) {
            if (m_data->HasOption(goSelectFullRow) && !m_data->HasOption(goMultiSelect) &&
                m_data->RowSelected(m_row) && !m_data->RowSelected(row)) {
                m_data->SetRowSelected(m_row, false);
                m_data->SetRowSelected(row, true);
            }
            m_row = row;
        }
    }
    syncColumns();
    syncCurrentIndex();
    viewport()->update();
}

void TGridView::gridColumnsAboutToChange() {
    CancelEdit();
    m_model->columnsAboutToChange();
}

void TGridView::gridColumnsChanged() {
    m_model->columnsChanged();
    m_col = std::clamp(m_col, 0, std::max(m_data->ColumnCount() - 1, 0));
    syncColumns();
    syncCurrentIndex();
}

void TGridView::gridColumnLayoutChanged() {
    syncColumns();
    viewport()->update();
}

void TGridView::gridCellChanged(int, int row) {
    // Rows the view has not been told about yet are painted when they are published.
    if (m_repaintPending || row >= m_model->publishedRows())
        return;
    m_repaintPending = true;
    scheduleFlush();
}

void TGridView::gridCellsChanged() {
    if (m_repaintPending || m_model->publishedRows() == 0)
        return;
    m_repaintPending = true;
    scheduleFlush();
}

void TGridView::syncColumns() {
    m_syncing = true;
    const GridData &d = *m_data;
    QHeaderView *hh = horizontalHeader();
    hh->setVisible(d.HasOption(goHeader));
    verticalHeader()->setVisible(d.HasOption(goIndicator));
    setShowGrid(d.HasOption(goGrid));
    hh->setSectionsMovable(!d.HasOption(goDissableColumnMoving));
    const int n = std::min(d.ColumnCount(), hh->count());
    for (int i = 0; i < n; ++i) {
        const GridColumn &c = d.Column(i);
        if (hh->sectionSize(i) != c.Width() && c.Visible())
            hh->resizeSection(i, c.Width());
        if (hh->isSectionHidden(i) == c.Visible())
            hh->setSectionHidden(i, !c.Visible());
    }
    for (int pos = 0; pos < n; ++pos) {
        const int logical = d.ColumnAtPosition(pos).Index();
        const int visual = hh->visualIndex(logical);
        if (visual != pos)
            hh->moveSection(visual, pos);
    }
    const GridColumn *sorted = nullptr;
    for (int i = 0; i < n; ++i)
        if (d.Column(i).Sorted())
            sorted = &d.Column(i);
    if (sorted) {
        hh->setSortIndicatorShown(true);
        hh->setSortIndicator(sorted->Index(), sorted->GetSortKind() == SortKind::Ascending
                                                  ? Qt::AscendingOrder
                                                  : Qt::DescendingOrder);
    } else
        hh->setSortIndicatorShown(false);
    m_model->headersChanged();
    m_syncing = false;
}

void TGridView::syncCurrentIndex() {
    if (!selectionModel())
        return;
    if (m_row >= 0 && m_row < m_model->publishedRows() && m_col < m_model->columnCount())
        selectionModel()->setCurrentIndex(m_model->index(m_row, m_col), QItemSelectionModel::NoUpdate);
    else
        selectionModel()->clearCurrentIndex();
}

QModelIndex TGridView::moveCursor(CursorAction, Qt::KeyboardModifiers) {
    // Qt's own cursor moves (e.g. on focus-in) land on the grid's focused cell.
    if (m_row >= 0 && m_row < m_model->publishedRows() && m_col < m_model->columnCount())
        return m_model->index(m_row, m_col);
    return QModelIndex();
}

// ---- header ----

void TGridView::onHeaderClicked(int logical) {
    Q_EMIT headerClick(logical);
    if (m_data->HeaderClick(logical))
        Q_EMIT sortColumn(logical, m_data->Column(logical).GetSortKind() == SortKind::Ascending);
}

void TGridView::onSectionResized(int logical, int, int newSize) {
    if (m_syncing || logical >= m_data->ColumnCount() || newSize == 0)
        return; // hiding a section resizes it to 0; that is not a width
    m_data->Column(logical).SetWidth(newSize);
    Q_EMIT columnResize(logical);
}

void TGridView::onSectionMoved(int, int oldVisual, int newVisual) {
    if (m_syncing)
        return;
    m_data->MoveColumnPosition(oldVisual, newVisual);
}

// ---- focus ----

bool TGridView::highlighted(int col, int row) const {
    if (m_data->Column(col).HasOption(coDontHighlight))
        return false;
    if (m_data->RowSelected(row))
        return true;
    return !m_data->HasOption(goSelectFullRow) && col == m_col && row == m_row;
}

void TGridView::MoveToCell(int col, int row, Qt::KeyboardModifiers) {
    Flush();
    // The editor belongs to the cell being left; its handlers may change the grid.
    if (m_editing && (col != m_editCol || row != m_editRow))
        finishEdit(canStore(m_editCol, m_editor->text()), false);
    const int rows = m_data->RowCount();
    col = std::clamp(col, 0, std::max(m_data->ColumnCount() - 1, 0));
    row = std::clamp(row, 0, std::max(rows - 1, 0));
    if (col != m_col || row != m_row) {
        m_clickEdit.stop();
        Q_EMIT deselectCell(m_col, m_row);
    }
    const int former = m_row;
    m_col = col;
    m_row = row;
    syncCurrentIndex();
    if (m_autoScroll)
        ensureRowVisible(row);
    viewport()->update();
    if (rows == 0)
        return;
    if (m_data->HasOption(goSelectFullRow) && !m_data->HasOption(goMultiSelect)) {
        if (m_data->SelectedRowCount() > (m_data->RowSelected(former) ? 1 : 0)) {
            for (int r = 0; r < rows; ++r) // a stray flag, e.g. set by the program
                m_data->SetRowSelected(r, false);
        } else
            m_data->SetRowSelected(former, false);
        m_data->SetRowSelected(row, true);
    }
    Q_EMIT selectCell(col, row);
}

void TGridView::SetCurrentRow(int row) {
    if (row < 0 || row >= m_data->RowCount())
        return;
    MoveToCell(m_col, row);
}

void TGridView::PlaceCurrentRow(int row) {
    Flush();
    if (row >= m_data->RowCount())
        row = -1;
    if (row == m_row && (row < 0 || !m_data->HasOption(goSelectFullRow) || m_data->RowSelected(row)))
        return;
    if (m_editing && row != m_editRow)
        CancelEdit();
    if (m_data->HasOption(goSelectFullRow) && !m_data->HasOption(goMultiSelect)) {
        if (m_row >= 0 && m_row < m_data->RowCount())
            m_data->SetRowSelected(m_row, false);
        if (m_data->SelectedRowCount() > 0)
            for (int r = 0; r < m_data->RowCount(); ++r)
                m_data->SetRowSelected(r, false);
        if (row >= 0)
            m_data->SetRowSelected(row, true);
    }
    m_row = row;
    syncCurrentIndex();
    viewport()->update();
}

int TGridView::TopRow() {
    Flush();
    return verticalScrollBar()->value();
}

int TGridView::VisibleRowCount() {
    Flush();
    const int h = verticalHeader()->defaultSectionSize();
    return std::max(1, h > 0 ? viewport()->height() / h : 1);
}

void TGridView::setTopRow(int row) {
    verticalScrollBar()->setValue(std::max(row, 0));
}

void TGridView::ensureRowVisible(int row) {
    const int top = TopRow();
    const int count = VisibleRowCount();
    if (row < top)
        setTopRow(row);
    else if (row > top + count - 1)
        setTopRow(row - count + 1);
}

void TGridView::MakeRowVisible(int row) {
    Flush();
    if (row < 0 || row >= m_data->RowCount())
        return;
    const int top = TopRow();
    if (row < top || row > top + VisibleRowCount() - 1)
        setTopRow(row);
}

int TGridView::nextVisibleColumn(int col, int step) const {
    const GridData &d = *m_data;
    if (col < 0 || col >= d.ColumnCount())
        return -1;
    for (int pos = d.Column(col).Position() + step; pos >= 0 && pos < d.ColumnCount(); pos += step)
        if (d.ColumnAtPosition(pos).Visible())
            return d.ColumnAtPosition(pos).Index();
    return -1;
}

void TGridView::moveBy(MoveDirection dir) {
    const int rows = m_data->RowCount();
    if (rows == 0)
        return;
    int col = m_col, row = m_row;
    switch (dir) {
    case mdNone:
        return;
    case mdUp:
        row = row - 1;
        break;
    case mdDown:
        row = row + 1;
        break;
    case mdLeft:
        col = nextVisibleColumn(col, -1);
        break;
    case mdRight:
        col = nextVisibleColumn(col, 1);
        break;
    }
    if (row < 0 || row >= rows || col < 0)
        return;
    MoveToCell(col, row);
    ensureRowVisible(m_row);
}

bool TGridView::navigate(QKeyEvent *e) {
    const int rows = m_data->RowCount();
    const int key = e->key();
    const bool nav = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                     key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End ||
                     key == Qt::Key_Left || key == Qt::Key_Right;
    if (!nav)
        return false;
    if (rows == 0)
        return true;
    Flush();
    const int page = VisibleRowCount();
    const int top = TopRow();
    const int bottom = std::min(top + page - 1, rows - 1);
    int row = m_row, col = m_col;
    switch (key) {
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, rows - 1);
        break;
    case Qt::Key_PageUp:
        row = row > top ? top : std::max(row - page, 0);
        break;
    case Qt::Key_PageDown:
        row = row < bottom ? bottom : std::min(row + page, rows - 1);
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = rows - 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int next = nextVisibleColumn(col, key == Qt::Key_Left ? -1 : 1);
        if (next >= 0)
            col = next;
        break;
    }
    }
    if (row == m_row && col == m_col)
        return true;
    MoveToCell(col, row, e->modifiers());
    if (key == Qt::Key_PageUp && m_row < TopRow())
        setTopRow(m_row);
    else if (key == Qt::Key_PageDown && m_row > TopRow() + page - 1)
        setTopRow(m_row - page + 1);
    else
        ensureRowVisible(m_row);
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && m_data->ValidCell(m_col, m_row) &&
        m_data->Column(m_col).Visible())
        scrollTo(m_model->index(m_row, m_col), QAbstractItemView::EnsureVisible);
    return true;
}

// ---- input ----

void TGridView::keyPressEvent(QKeyEvent *event) {
    bool used = navigate(event);
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier &&
        m_data->ValidCell(m_col, m_row) && m_data->Column(m_col).HasOption(coEditing)) {
        EditCell(m_col, m_row);
        used = true;
    }
    event->setAccepted(used);
    Q_EMIT keyDown(event);
}

void TGridView::pressAt(QMouseEvent *event) {
    const Qt::MouseButton button = event->button();
    const QPoint pos = event->position().toPoint();
    const bool pick = button == Qt::LeftButton || button == Qt::RightButton;
    // A click that ends an edit: the accepted text may rebuild and re-sort the rows, so the
    // clicked row is found again by its texts afterwards.
    std::optional<QStringList> clicked;
    if (m_rowsBeforeClick && pick) {
        const int shownRow = rowAt(pos.y()) - TopRow();
        if (rowAt(pos.y()) >= 0 && shownRow >= 0 && shownRow < int(m_rowsBeforeClick->rows.size()))
            clicked = m_rowsBeforeClick->rows[size_t(shownRow)];
    }
    m_rowsBeforeClick.reset();
    if (m_editing && pick) {
        const QModelIndex idx = indexAt(pos);
        if (idx.isValid())
            clicked = rowTexts(idx.row());
        finishEdit(true, false);
        if (m_editing)
            return; // the editor kept a text the cell cannot hold
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    bool onFocusedCell = false;
    if (pick) {
        Flush();
        const QModelIndex idx = indexAt(pos);
        int row = idx.row();
        if (clicked) {
            row = findRowTexts(*clicked);
            if (row < 0)
                return; // the clicked row is gone: nothing is picked by mistake
        }
        if (idx.isValid()) {
            onFocusedCell = idx.column() == m_col && row == m_row;
            MoveToCell(idx.column(), row, event->modifiers());
        }
    }
    Q_EMIT mouseDown(button, event->modifiers(), pos);
    if (button == Qt::LeftButton && onFocusedCell && event->type() == QEvent::MouseButtonPress &&
        m_data->ValidCell(m_col, m_row) && m_data->Column(m_col).HasOption(coEditing)) {
        m_clickEditCol = m_col;
        m_clickEditRow = m_row;
        m_clickEdit.start(QApplication::doubleClickInterval());
    }
}

void TGridView::mousePressEvent(QMouseEvent *event) {
    pressAt(event);
    event->accept();
}

void TGridView::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second press of a double click is a press as well.
    m_clickEdit.stop();
    pressAt(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT dblClick();
    event->accept();
}

void TGridView::mouseMoveEvent(QMouseEvent *event) {
    event->accept();
}
void TGridView::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
}

// ---- editing ----

void TGridView::EditCell(int col, int row, const QString &text) {
    if (m_editing && m_editCol == col && m_editRow == row)
        return;
    if (!m_data->ValidCell(col, row) || !m_data->Column(col).HasOption(coEditing))
        return;
    bool accept = true;
    Q_EMIT beforeEdit(col, row, accept);
    if (!accept)
        return;
    if (m_editing)
        finishEdit(true, false);
    // The handlers may have changed the grid.
    if (!m_data->ValidCell(col, row) || !m_data->Column(col).HasOption(coEditing))
        return;
    Flush();
    if (!m_editor) {
        m_editor = new GridEditor(viewport());
        m_editor->setFrame(false);
        m_editor->hide();
        m_editor->onAccept = [this] { AcceptEdit(); };
        m_editor->onCancel = [this] { CancelEdit(); };
        m_editor->onFocusLost = [this](Qt::FocusReason reason) {
            // A popup or another window taking the focus leaves the edit open.
            if (!m_editing || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
                return;
            if (reason == Qt::MouseFocusReason &&
                (QApplication::focusWidget() == this || QApplication::focusWidget() == viewport())) {
                // A click into the grid: its press comes after the rows are rebuilt.
                ShownRows shown;
                shown.top = TopRow();
                const int end = std::min(m_data->RowCount(), shown.top + VisibleRowCount() + 1);
                for (int r = shown.top; r < end; ++r)
                    shown.rows.push_back(rowTexts(r));
                m_rowsBeforeClick = std::move(shown);
                QTimer::singleShot(0, this, [this] { m_rowsBeforeClick.reset(); });
            }
            // Leaving keeps the typed text when the cell can hold it.
            finishEdit(canStore(m_editCol, m_editor->text()), false);
        };
        connect(m_editor, &QLineEdit::textEdited, this, [this](const QString &value) {
            if (m_editing)
                Q_EMIT editText(m_editCol, m_editRow, value);
        });
    }
    const GridColumn &c = m_data->Column(col);
    m_editing = true;
    m_editCol = col;
    m_editRow = row;
    m_editor->setText(text.isEmpty() ? m_data->GetCellText(col, row) : text);
    m_editor->setAlignment(toQt(c.Alignment(), c.VerticalAlignment()));
    QPalette p = m_editor->palette();
    p.setColor(QPalette::Base, ResolveColor(m_data->CellAt(col, row).Color()));
    m_editor->setPalette(p);
    m_editor->setFont(font());
    if (c.HasOption(coEditorAutoSelect))
        m_editor->selectAll();
    else
        m_editor->deselect();
    m_editor->setGeometry(visualRect(m_model->index(row, col)));
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

bool TGridView::canStore(int col, const QString &text) const {
    if (!m_data->ValidCell(col, 0) || m_data->Column(col).Kind() == ColumnKind::Text)
        return true;
    GridData scratch;
    scratch.AddColumn(m_data->Column(col).Kind(), QString());
    scratch.AddRows(1);
    try {
        scratch.SetCellText(0, 0, text);
    } catch (const Error &) {
        return false;
    }
    return true;
}

void TGridView::finishEdit(bool store, bool move) {
    if (!m_editing)
        return;
    const int col = m_editCol, row = m_editRow;
    const QString text = m_editor->text();
    if (store && m_data->ValidCell(col, row) && !canStore(col, text)) {
        // A text the cell cannot hold (a number column given letters): keep the editor open so
        // nothing typed is lost; Escape drops it.
        QApplication::beep();
        m_editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_editing = false;
    m_editCol = m_editRow = -1;
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
    if (store && m_data->ValidCell(col, row) && text != m_data->GetCellText(col, row)) {
        bool accept = true;
        Q_EMIT editAccept(col, row, text, accept);
        if (accept && m_data->ValidCell(col, row)) {
            m_data->SetCellText(col, row, text);
            Q_EMIT afterEdit(col, row, text);
        }
    }
    const bool keep = std::exchange(m_keepPosition, false);
    if (move && !keep)
        moveBy(m_moveDirection);
}

void TGridView::AcceptEdit() {
    finishEdit(true, true);
}
void TGridView::CancelEdit() {
    finishEdit(false, false);
}

void TGridView::updateEditorGeometries() {
    QTableView::updateEditorGeometries();
    if (m_editing && m_editor && m_editCol < m_model->columnCount() && m_editRow < m_model->publishedRows())
        m_editor->setGeometry(visualRect(m_model->index(m_editRow, m_editCol)));
}

} // namespace vq
