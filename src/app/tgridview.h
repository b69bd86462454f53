#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "gridview/griddata.h"

#include <QPalette>
#include <QTableView>
#include <QTimer>

#include <memory>

class QLineEdit;

namespace vq {

class GridModel;
class GridEditor;
class GridDelegate;

// Where the focus goes after an edit is accepted with Enter.
enum MoveDirection { mdNone, mdUp, mdDown, mdLeft, mdRight };

// The owner-filled grid: shows a GridData and adds the focused cell, keyboard and mouse
// navigation, in-place editing and the grid's events. The focused cell is the grid's own
// (CurrentCol, CurrentRow); Qt's current index only follows it for drawing.
//
// Structural changes are coalesced: rows appended while filling reach the view in one batch
// (when control returns to the event loop, or at once when an operation needs the view's
// geometry), and cell changes cause one repaint.
class TGridView : public QTableView, private GridObserver {
    Q_OBJECT

public:
    explicit TGridView(QWidget *parent = nullptr);
    ~TGridView() override;

    GridData &Data() { return *m_data; }
    const GridData &Data() const { return *m_data; }

    // Grid settings.
    GridOptions Options() const { return m_data->Options(); }
    void SetOptions(GridOptions o) { m_data->SetOptions(o); }
    int RowSize() const { return m_data->RowSize(); }
    // The design height; rows are never lower than the font needs (a larger font makes them higher).
    void SetRowSize(int px);
    // The height rows get: the design height or the font's, whichever is more.
    int ShownRowHeight() const;
    int HeaderSize() const { return m_headerSize; }
    void SetHeaderSize(int px);
    GridColor Color() const { return m_data->Color(); }
    void SetColor(GridColor c);
    GridColor GridLinesColor() const { return m_gridLinesColor; }
    void SetGridLinesColor(GridColor c);
    MoveDirection SelectionMoveDirection() const { return m_moveDirection; }
    void SetSelectionMoveDirection(MoveDirection d) { m_moveDirection = d; }
    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool on) { m_autoScroll = on; }

    // Columns.
    int ColumnCount() const { return m_data->ColumnCount(); }
    GridColumn &Column(int index) { return m_data->Column(index); }
    GridColumn *ColumnByName(const QString &name) { return m_data->ColumnByName(name); }
    GridColumn &AddColumn(ColumnKind kind, const QString &caption) {
        return m_data->AddColumn(kind, caption);
    }
    GridColumn &AddTextColumn(const QString &caption) { return m_data->AddTextColumn(caption); }
    void ClearColumns() { m_data->ClearColumns(); }
    void MoveColumnIndex(int from, int to) { m_data->MoveColumnIndex(from, to); }
    void MoveColumnPosition(int from, int to) { m_data->MoveColumnPosition(from, to); }

    // Rows and cells.
    int RowCount() const { return m_data->RowCount(); }
    void AddRows(int count) { m_data->AddRows(count); }
    void DeleteRow(int row) { m_data->DeleteRow(row); }
    void ClearRows() { m_data->ClearRows(); }
    QString GetCellText(int col, int row) const { return m_data->GetCellText(col, row); }
    void SetCellText(int col, int row, const QString &text) { m_data->SetCellText(col, row, text); }
    GridCell CellAt(int col, int row) { return m_data->CellAt(col, row); }
    bool RowSelected(int row) const { return m_data->RowSelected(row); }
    void SetRowSelected(int row, bool selected) { m_data->SetRowSelected(row, selected); }
    int SelectedRowCount() const { return m_data->SelectedRowCount(); }

    // Focus and scrolling.
    int CurrentRow() const { return m_row; }
    int CurrentCol() const { return m_col; }
    void MoveToCell(int col, int row, Qt::KeyboardModifiers shift = Qt::NoModifier);
    void SetCurrentRow(int row);
    // Puts the focus on `row` without a select-cell event: the window shows there the title that
    // is current already. -1: no row is current (the grid does not list it) until the next move.
    void PlaceCurrentRow(int row);
    void MakeRowVisible(int row);
    int TopRow();          // first visible row
    int VisibleRowCount(); // rows that fit wholly into the view, at least 1

    // In-place editing.
    void EditCell(int col, int row, const QString &text = QString());
    void AcceptEdit(); // store a changed text, then move by SelectionMoveDirection
    void CancelEdit();
    bool Editing() const { return m_editing; }
    // Called by an afterEdit handler that has placed the focus itself: the edit that is being
    // accepted does not move on by the selection move direction.
    void KeepPositionAfterEdit() { m_keepPosition = true; }
    int EditCol() const { return m_editCol; }
    int EditRow() const { return m_editRow; }
    QLineEdit *Editor() const;

    // Brings the view up to date with the data at once instead of at the next event loop turn.
    void Flush();

    QColor ResolveColor(GridColor c) const;
    // The text colour on a cell of `background`: the palette's, unless a fixed colour of the grid
    // (a mark, the recent highlight) would leave it unreadable, as light text on a dark palette is.
    QColor TextColorOn(GridColor background, bool highlighted) const;

    // More that a cell's tooltip says besides its cut text (empty: nothing more), asked when the
    // mouse rests on the cell.
    void SetToolTipSource(std::function<QString(int col, int row)> source) {
        m_toolTipSource = std::move(source);
    }

Q_SIGNALS:
    void selectCell(int col, int row);
    void deselectCell(int col, int row);
    void beforeEdit(int col, int row, bool &accept);
    void editText(int col, int row, const QString &value);
    void editAccept(int col, int row, const QString &value, bool &accept);
    void afterEdit(int col, int row, const QString &value);
    void sortColumn(int col, bool ascending);
    void headerClick(int col);
    void columnResize(int col);
    // Raised after the grid's own key handling (navigation, and F2 on a column with coEditing);
    // the event is ignored unless the grid used it.
    void keyDown(QKeyEvent *event);
    // Raised after a left or right press on a cell has moved the focus there.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    // Raised only for a left double click on a cell.
    void dblClick();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateEditorGeometries() override;

private:
    std::function<QString(int, int)> m_toolTipSource;
    friend class GridModel;
    friend class GridDelegate;
    bool highlighted(int col, int row) const;

    // GridObserver
    void gridRowsAppended(int first, int count) override;
    void gridRowsAboutToBeRemoved(int first, int count) override;
    void gridRowsRemoved(int first, int count) override;
    void gridRowsAboutToBeReordered() override;
    void gridRowsReordered() override;
    void gridColumnsAboutToChange() override;
    void gridColumnsChanged() override;
    void gridColumnLayoutChanged() override;
    void gridCellChanged(int col, int row) override;
    void gridCellsChanged() override;

    void scheduleFlush();
    void syncColumns();
    void syncCurrentIndex();
    void applyPalette();
    void pressAt(QMouseEvent *event);
    bool navigate(QKeyEvent *event);
    int nextVisibleColumn(int col, int step) const;
    void ensureRowVisible(int row);
    void setTopRow(int row);
    void moveBy(MoveDirection d);
    void finishEdit(bool store, bool move);
    bool canStore(int col, const QString &text) const;
    void onHeaderClicked(int logical);
    void onSectionResized(int logical, int oldSize, int newSize);
    void onSectionMoved(int logical, int oldVisual, int newVisual);

    std::unique_ptr<GridData> m_data;
    GridModel *m_model = nullptr;
    GridEditor *m_editor = nullptr;
    QPalette m_basePalette;

    int m_col = 0;
    int m_row = 0;
    int m_headerSize = 18;
    GridColor m_gridLinesColor = clBtnFace;
    MoveDirection m_moveDirection = mdDown;
    bool m_autoScroll = false;

    bool m_editing = false;
    bool m_keepPosition = false;
    std::optional<QStringList> m_focusBeforeReorder;
    // The rows shown when a click into the grid ended an edit, before its handlers rebuilt them.
    struct ShownRows {
        int top = 0;
        std::vector<QStringList> rows;
    };
    std::optional<ShownRows> m_rowsBeforeClick;
    QStringList rowTexts(int row) const;
    // The first row holding exactly these texts, -1 when none does.
    int findRowTexts(const QStringList &texts) const;
    int m_editCol = -1;
    int m_editRow = -1;

    QTimer m_clickEdit; // a click on the focused cell edits it unless a double click follows
    int m_clickEditCol = -1;
    int m_clickEditRow = -1;

    bool m_flushPending = false;
    bool m_repaintPending = false;
    bool m_syncing = false;
    bool m_focusRowWasSelected = false;
};

} // namespace vq
