#include "page_summary.h"

#include "browser/summary.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vq {

TPageSummary::TPageSummary(QWidget *parent) : QWidget(parent) {
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    GVSV = new TGridView(this);
    GVSV->setObjectName(QStringLiteral("GVSV"));
    setupSummaryGrid(GVSV->Data());
    GVSV->SetHeaderSize(18);
    GVSV->SetRowSize(16);
    GVSV->SetColor(clSilver);
    GVSV->SetGridLinesColor(clBtnFace);
    GVSV->SetSelectionMoveDirection(mdDown);
    GVSV->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    GVSV->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lay->addWidget(GVSV);
}

// ---- operations of the summary table ----

void TView_Base::LoadGvSv() {
    if (!m_session.isOpen())
        return;
    vq::LoadGvSv(m_session, GVSV().Data(), m_exportList, m_work.selection().idSet());
}

void TView_Base::EFoundChange() {
    if (!m_session.isOpen())
        return;
    // Both lists come from one state of the file.
    m_session.postPendingEdits();
    Catalog::ReadSnapshot snapshot(m_session.catalog());
    DataSet &name = m_session.Name;
    name.setFiltered(false);
    const QString text = m_eFound->text();
    if (!text.isEmpty()) {
        name.setFilter(Filter::prefix(QStringLiteral("Название"), text));
        name.setFiltered(true);
    }
    LoadName();
    LoadGvSv();
    selectSummaryRow(0);
}

namespace {
int findId(TGridView &grid, int col, qint64 id) {
    GridData &d = grid.Data();
    const int n = d.RowCount();
    for (int r = 0; r < n; ++r)
        if (d.CellAt(col, r).AsInteger() == id)
            return r;
    return -1;
}
} // namespace

int TView_Base::SeeingRed(qint64 id) {
    return findId(GV(), 0, id);
}
int TView_Base::SeeingSV(qint64 id) {
    return findId(GVSV(), gvsv::Id, id);
}
int TView_Base::SeeingG3(qint64 id) {
    return findId(GV3(), gv3::IdColumn, id);
}

void TView_Base::selectSummaryRow(int row) {
    TGridView &g = GVSV();
    if (row < 0 || row >= g.RowCount())
        return;
    g.SetCurrentRow(row); // reports the row even when it was current already
}

void TView_Base::GVSVSelectCell(int, int ARow) {
    TGridView &g = GVSV();
    if (ARow < 0 || ARow >= g.RowCount())
        return;
    const qint64 id = g.CellAt(gvsv::Id, ARow).AsInteger();
    const int row = SeeingRed(id);
    if (row >= 0)
        GV().MoveToCell(1, row);
    else
        makeTitleCurrent(id); // the title list is narrowed by a search and does not show it
    if (g.Column(gvsv::Title).HasOption(coEditing))
        g.Column(gvsv::Title).RemoveOption(coEditing);
}

void TView_Base::GVSVKeyDown(QKeyEvent *event) {
    TGridView &g = GVSV();
    const int key = event->key();
    if (key == Qt::Key_F2) {
        if (g.RowCount() == 0)
            return;
        g.Column(gvsv::Title).AddOption(coEditing);
        g.EditCell(gvsv::Title, g.CurrentRow());
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        showPage(TOsn);
    const bool keypadPlus = key == Qt::Key_Plus && (event->modifiers() & Qt::KeypadModifier);
    if (key == Qt::Key_Control || key == Qt::Key_Insert || keypadPlus)
        SelIOClick();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        GVKNF(key, g, gvsv::Title);
}

void TView_Base::GVSVMouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        SelIOClick();
}

void TView_Base::GVSVDblClick() {
    showPage(TOsn);
}

void TView_Base::GVSVAfterEdit(int ACol, int ARow, const QString &) {
    EditName(GVSV(), ACol, ARow, gvsv::Id);
}

} // namespace vq
