#include "stats_handlers.h"

#include "browser/chartseries.h"
#include "browser/summary.h"
#include "errorguard.h"
#include "filter_bar.h"
#include "ops/summarysource.h"
#include "page_stats.h"
#include "page_summary.h"
#include "places/mounts.h"
#include "stats_charts.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vq {

TStatsHandlers::TStatsHandlers(TView_Base &window)
    : QObject(&window), m_win(window), m_p(window.statsPage()) {
    setObjectName(QStringLiteral("StatsHandlers"));
    connectAll();
    m_p->installEventFilter(this);
}

bool TStatsHandlers::eventFilter(QObject *watched, QEvent *event) {
    // Right after the page shows, so that neither the window's start nor the page's first paint
    // waits for the charts.
    if (watched == m_p && event->type() == QEvent::Show)
        QTimer::singleShot(0, this, ErrorGuard::wrap(&m_win, [this] { showCharts(); }));
    return QObject::eventFilter(watched, event);
}

TStatsCharts *TStatsHandlers::charts() const {
    return m_p->Charts;
}

void TStatsHandlers::showCharts() {
    if (!m_p->isVisible())
        return;
    if (!m_p->Charts) {
        auto *c = new TStatsCharts(m_p->ChartsHolder);
        m_p->ChartsHolder->layout()->addWidget(c);
        m_p->Charts = c;
        auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
        connect(c, &TStatsCharts::shownOnlyToggled, this, g([this] { chartsChanged(); }));
        connect(c, &TStatsCharts::chartShown, this, g([this] { drawCharts(); }));
        TFilterBar *bar = m_win.summaryPage()->FilterBar;
        connect(c, &TStatsCharts::typeClicked, this, g([this, bar](qint64 t) { narrowTo(bar->CFType, t); }));
        connect(c, &TStatsCharts::videoCodecClicked, this,
                g([this, bar](qint64 k) { narrowTo(bar->CFVideo, k); }));
        connect(c, &TStatsCharts::frameClicked, this,
                g([this, bar](int w, int h) { narrowTo(bar->CFFrame, QPoint(w, h)); }));
        c->show();
    }
    drawCharts();
}

void TStatsHandlers::chartsChanged(bool shownOnly) {
    TStatsCharts *c = m_p->Charts;
    if (shownOnly && !(c && c->CBShownOnly->isChecked()))
        return;
    m_staleCharts = AllSeries;
    if (c && c->isVisible())
        drawCharts();
}

void TStatsHandlers::drawCharts() {
    // Only the chart in sight is read and drawn; the others when their tab is picked.
    TStatsCharts *c = m_p->Charts;
    if (!c || !c->isVisible())
        return;
    const unsigned want = c->shownSeries() & m_staleCharts;
    if (!want)
        return;
    m_staleCharts &= ~want;
    CatalogSession &s = m_win.session();
    if (!s.isOpen()) {
        c->draw(ChartSeries{}, want);
        return;
    }
    const Narrowing &shown = m_win.summary().shown();
    const bool only = c->CBShownOnly->isChecked() && shown.narrowed;
    c->draw(chartSeries(s.catalog(), places::Mounts::recent(), only ? &shown.found.ids : nullptr, want),
            want);
}

void TStatsHandlers::narrowTo(QComboBox *field, const QVariant &value) {
    // The field's change reports itself to the summary's handlers, which narrow the lists (and,
    // while the charts follow them, the charts too).
    const int at = field->findData(value);
    if (at > 0)
        field->setCurrentIndex(at);
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
    connect(gv3, &TGridView::afterEdit, this,
            g([this](int c, int r, const QString &) { GV3AfterEdit(c, r); }));
}

void TStatsHandlers::UpStat() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    m_stats = vq::UpStat(s);
    const CatalogStats &st = m_stats;
    m_win.SBarPanel()->setText(QCoreApplication::translate("stats_handlers", "Всего: ") + st.LCount);
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
    m_win.workspace().selection().clear();
    m_p->GV3->ClearRows();
    TGridView &sv = m_win.GVSV();
    for (int r = 0; r < sv.RowCount(); ++r)
        if (sv.CellAt(gvsv::Selected, r).AsBoolean())
            markSummaryRow(sv.CellAt(gvsv::Id, r).AsInteger(), false);
    VstatUpDate();
}

void TStatsHandlers::markSummaryRow(qint64 id, bool selected) {
    TGridView &sv = m_win.GVSV();
    const int row = m_win.SeeingSV(id);
    if (row < 0)
        return;
    sv.CellAt(gvsv::Selected, row).SetAsBoolean(selected);
    for (int c = 0; c < sv.ColumnCount(); ++c)
        sv.CellAt(c, row).SetColor(selected ? clAqua : clSilver);
}

void TStatsHandlers::fillSelection() {
    ops::Selection &sel = m_win.workspace().selection();
    ops::fillSelectionGrid(m_win.session().catalog(), sel.ids(), m_p->GV3->Data(), &sel.comments());
}

void TStatsHandlers::SelIOClick() {
    TGridView &sv = m_win.GVSV();
    const int r = sv.CurrentRow();
    if (!m_win.session().isOpen() || r < 0 || r >= sv.RowCount())
        return;
    const qint64 id = sv.CellAt(gvsv::Id, r).AsInteger();
    if (m_win.workspace().selection().contains(id)) {
        removeFromSelection(id);
        return;
    }
    AddToG3();
    sv.SetCurrentRow(sv.CurrentRow() + 1);
    sv.MakeRowVisible(sv.CurrentRow());
}

void TStatsHandlers::AddToG3() {
    TGridView &sv = m_win.GVSV();
    const int r = sv.CurrentRow();
    if (r < 0 || r >= sv.RowCount())
        return;
    const qint64 id = sv.CellAt(gvsv::Id, r).AsInteger();
    if (!m_win.workspace().selection().add(id))
        return;
    markSummaryRow(id, true);
    fillSelection();
    m_win.placeRows();
    VstatUpDate();
}

void TStatsHandlers::DelFromG3() {
    removeFromSelection(m_win.currentTitleId());
}

void TStatsHandlers::removeFromSelection(qint64 id) {
    if (id == 0 || !m_win.workspace().selection().remove(id))
        return; // not in the selection: nothing to remove, no other row touched
    markSummaryRow(id, false);
    fillSelection();
    m_win.placeRows();
    VstatUpDate();
}

void TStatsHandlers::followSelection() {
    if (!m_win.session().isOpen())
        return;
    m_win.workspace().followCatalog();
    fillSelection();
    VstatUpDate();
}

void TStatsHandlers::GV3AfterEdit(int ACol, int ARow) {
    TGridView &g3 = *m_p->GV3;
    if (ACol != gv3::CommentColumn || ARow < 0 || ARow >= g3.RowCount())
        return;
    m_win.workspace().selection().setComment(g3.CellAt(gv3::IdColumn, ARow).AsInteger(),
                                             g3.GetCellText(ACol, ARow));
}

void TStatsHandlers::GV3SelectCell(int, int ARow) {
    TGridView &g3 = *m_p->GV3;
    if (ARow < 0 || ARow >= g3.RowCount())
        return;
    m_win.makeTitleCurrent(g3.CellAt(gv3::IdColumn, ARow).AsInteger());
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
            g3.SetCurrentRow(std::min(row, g3.RowCount() - 1));
    }
}

void TStatsHandlers::GV3DblClick() {
    m_win.setActivePage(TView_Base::TOsn);
}

} // namespace vq
