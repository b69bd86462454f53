#include "stats_handlers.h"

#include "browser/summary.h"
#include "errorguard.h"
#include "page_stats.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace vq {

TStatsHandlers::TStatsHandlers(TView_Base &window)
    : QObject(&window), m_win(window), m_p(window.statsPage()) {
    setObjectName(QStringLiteral("StatsHandlers"));
    connectAll();
}

void TStatsHandlers::connectAll() {
    auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
    // The selection's exports are the window's, beside the ones of the whole summary.
    connect(m_p->BSToExcel, &QPushButton::clicked, this, g([this] { m_win.BSToExcelClick(); }));
    connect(m_p->BSToHTML, &QPushButton::clicked, this, g([this] { m_win.BSToHTMLClick(); }));
    connect(m_p->BSet, &QPushButton::clicked, this, g([this] { m_win.BSetClick(); }));

    TGridView *gv3 = m_p->GV3;
    connect(gv3, &TGridView::selectCell, this, g([this](int c, int r) { GV3SelectCell(c, r); }));
    connect(gv3, &TGridView::keyDown, this, g([this](QKeyEvent *e) { GV3KeyDown(e); }));
    connect(gv3, &TGridView::dblClick, this, g([this] { GV3DblClick(); }));
}

void TStatsHandlers::UpStat() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    m_stats = vq::UpStat(s);
    const CatalogStats &st = m_stats;
    m_win.SBarPanel()->setText(QStringLiteral("Всего: ") + st.LCount);
    m_p->LCount->setText(st.LCount);
    m_p->LCE->setText(st.LCE);
    m_p->LSize->setText(st.LSize);
    m_p->LTime->setText(st.LTime);
}

void TStatsHandlers::VstatUpDate() {
    const SelTotals t = m_win.selTotals();
    m_p->LVAni->setText(t.LVAni());
    m_p->LVFile->setText(t.LVFile());
    m_p->LVSize->setText(t.LVSize());
    m_p->LVtime->setText(t.LVtime());
}

void TStatsHandlers::clearSelection() {
    m_p->GV3->ClearRows();
    m_win.workspace().selection().clear();
    TGridView &sv = m_win.GVSV();
    for (int r = 0; r < sv.RowCount(); ++r)
        if (sv.CellAt(gvsv::Selected, r).AsBoolean()) {
            sv.CellAt(gvsv::Selected, r).SetAsBoolean(false);
            for (int c = 0; c < sv.ColumnCount(); ++c)
                sv.CellAt(c, r).SetColor(clSilver);
        }
    VstatUpDate();
}

void TStatsHandlers::SelIOClick() {
    TGridView &sv = m_win.GVSV();
    const int r = sv.CurrentRow();
    if (!m_win.session().isOpen() || r < 0 || r >= sv.RowCount())
        return;
    const qint64 id = sv.CellAt(gvsv::Id, r).AsInteger();
    if (sv.CellAt(gvsv::Selected, r).AsBoolean() || m_win.workspace().selection().contains(id)) {
        removeFromSelection(id);
        return;
    }
    for (int c = 0; c < sv.ColumnCount(); ++c)
        sv.CellAt(c, r).SetColor(clAqua);
    sv.CellAt(gvsv::Selected, r).SetAsBoolean(true);
    AddToG3();
    sv.SetCurrentRow(sv.CurrentRow() + 1);
    sv.MakeRowVisible(sv.CurrentRow());
}

void TStatsHandlers::AddToG3() {
    TGridView &sv = m_win.GVSV();
    TGridView &g3 = *m_p->GV3;
    const int r = sv.CurrentRow();
    if (r < 0 || r >= sv.RowCount())
        return;
    const qint64 id = sv.CellAt(gvsv::Id, r).AsInteger();
    if (!m_win.workspace().selection().add(id))
        return;
    g3.AddRows(1);
    const int s = g3.RowCount() - 1;
    for (int c = 0; c <= sv.ColumnCount() - 3; ++c)
        g3.SetCellText(c, s, sv.GetCellText(c, r));
    g3.SetCellText(gvsv::Title, s, m_win.summary().ownTitle(r));
    g3.CellAt(gv3::IdColumn, s).SetAsInteger(int(id));
    VstatUpDate();
}

void TStatsHandlers::DelFromG3() {
    removeFromSelection(m_win.currentTitleId());
}

void TStatsHandlers::removeFromSelection(qint64 id) {
    const int g3row = m_win.SeeingG3(id);
    if (id == 0 || !m_win.workspace().selection().remove(id))
        return; // not in the selection: nothing to remove, no other row touched
    TGridView &sv = m_win.GVSV();
    const int svrow = m_win.SeeingSV(id);
    if (svrow >= 0) {
        for (int c = 0; c < sv.ColumnCount(); ++c)
            sv.CellAt(c, svrow).SetColor(clSilver);
        sv.CellAt(gvsv::Selected, svrow).SetAsBoolean(false);
    }
    if (g3row >= 0)
        m_p->GV3->DeleteRow(g3row);
    VstatUpDate();
}

void TStatsHandlers::followSelection() {
    if (!m_win.session().isOpen())
        return;
    m_win.workspace().followCatalog();
    TGridView &g3 = *m_p->GV3;
    TGridView &sv = m_win.GVSV();
    for (int r = g3.RowCount() - 1; r >= 0; --r) {
        const qint64 id = g3.CellAt(gv3::IdColumn, r).AsInteger();
        if (!m_win.workspace().selection().contains(id)) {
            g3.DeleteRow(r);
            continue;
        }
        const int s = m_win.SeeingSV(id);
        if (s >= 0) {
            for (int c = 0; c <= sv.ColumnCount() - 3; ++c)
                g3.SetCellText(c, r, sv.GetCellText(c, s));
            g3.SetCellText(gvsv::Title, r, m_win.summary().ownTitle(s));
        }
    }
    VstatUpDate();
}

void TStatsHandlers::GV3SelectCell(int, int ARow) {
    TGridView &g3 = *m_p->GV3;
    if (ARow < 0 || ARow >= g3.RowCount())
        return;
    const qint64 id = g3.CellAt(gv3::IdColumn, ARow).AsInteger();
    const int row = m_win.SeeingRed(id);
    if (row >= 0)
        m_win.GV().MoveToCell(1, row);
    else
        m_win.makeTitleCurrent(id);
}

void TStatsHandlers::GV3KeyDown(QKeyEvent *event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        m_win.setActivePage(TView_Base::TOsn);
    TGridView &g3 = *m_p->GV3;
    const int row = g3.CurrentRow();
    if (key == Qt::Key_Delete && g3.SelectedRowCount() > 0 && row >= 0 && row < g3.RowCount()) {
        // The highlighted row's title goes, and the row highlighted next becomes current, so
        // that the next Delete removes it.
        removeFromSelection(g3.CellAt(gv3::IdColumn, row).AsInteger());
        if (g3.RowCount() > 0)
            GV3SelectCell(0, g3.CurrentRow());
    }
}

void TStatsHandlers::GV3DblClick() {
    m_win.setActivePage(TView_Base::TOsn);
}

} // namespace vq
