#include "summary_handlers.h"

#include "browser/episodegaps.h"
#include "browser/summary.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "errorguard.h"
#include "filter_bar.h"
#include "letterkey.h"
#include "narrownote.h"
#include "page_intake.h"
#include "page_summary.h"
#include "page_titles.h"
#include "stats_handlers.h"
#include "tgridview.h"
#include "titles_handlers.h"
#include "tview_base.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace vq {

TSummaryHandlers::TSummaryHandlers(TView_Base &window)
    : QObject(&window), m_win(window), m_p(window.summaryPage()) {
    setObjectName(QStringLiteral("SummaryHandlers"));
    connectAll();
}

void TSummaryHandlers::connectAll() {
    auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
    connect(m_win.EFound(), &QLineEdit::textChanged, this, g([this](const QString &) { EFoundChange(); }));
    connect(m_p->FilterBar, &TFilterBar::changed, this, g([this] { FilterChange(); }));
    TGridView *gvsv = m_p->GVSV;
    connect(gvsv, &TGridView::selectCell, this, g([this](int c, int r) { GVSVSelectCell(c, r); }));
    connect(gvsv, &TGridView::keyDown, this, g([this](QKeyEvent *e) { GVSVKeyDown(e); }));
    connect(gvsv, &TGridView::mouseDown, this,
            g([this](Qt::MouseButton b, Qt::KeyboardModifiers, const QPoint &) { GVSVMouseDown(b); }));
    connect(gvsv, &TGridView::dblClick, this, g([this] { GVSVDblClick(); }));
    // The episodes cell says which episodes the title lacks; a failed read only loses the hint.
    gvsv->SetToolTipSource([this](int c, int r) -> QString {
        if (c != gvsv::Episodes || !m_win.session().isOpen())
            return {};
        try {
            const qint64 id = m_p->GVSV->GetCellText(gvsv::Id, r).toLongLong();
            const std::vector<int> missing = titleMissingEpisodes(m_win.session().catalog(), id);
            return missing.empty() ? QString() : msg::episodesMissing(missingList(missing));
        } catch (const Error &) {
            return {};
        }
    });
    connect(gvsv, &TGridView::afterEdit, this,
            g([this](int c, int r, const QString &v) { GVSVAfterEdit(c, r, v); }));
    for (TNarrowNote *note : {m_win.titlesPage()->NarrowNote, m_win.intakePage()->NarrowNote})
        connect(note, &TNarrowNote::showAll, this, g([this] { showAllTitles(); }));
}

void TSummaryHandlers::showAllTitles() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    const QSignalBlocker quiet(m_win.EFound());
    m_win.EFound()->clear();
    m_p->FilterBar->setFilter(TitleFilter{});
    FilterChange();
}

void TSummaryHandlers::LoadGvSv() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    vq::LoadGvSv(s, m_p->GVSV->Data(), m_win.exportList(), m_win.selectedIds(), QDateTime::currentDateTime(),
                 m_shown.narrowed ? &m_shown.found.altNames : nullptr);
    showShown();
}

void TSummaryHandlers::loadLists(bool keepSort) {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    GridData &sv = m_p->GVSV->Data();
    const GridColumn *sorted = sv.SortedColumn();
    const int sortCol = sorted && keepSort ? sorted->Index() : -1;
    const SortKind sortKind = sorted ? sorted->GetSortKind() : SortKind::Ascending;
    vq::LoadLists(s, ListGrids{&sv, &m_win.GV().Data(), &m_win.GV4().Data(), &m_win.exportList()},
                  m_win.selectedIds(), QDateTime::currentDateTime(),
                  m_shown.narrowed ? &m_shown.found.altNames : nullptr);
    if (sortCol >= 0)
        sv.SortRows(sortCol, sortKind);
    else if (GridColumn *c = sv.SortedColumn())
        c->SetSorted(false); // the rows are in name order: no arrow says otherwise
    showShown();
}

void TSummaryHandlers::EFoundChange() {
    FilterChange();
}

void TSummaryHandlers::FilterChange() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    // Both lists come from one state of the file.
    s.postPendingEdits();
    Catalog::ReadSnapshot snapshot(s.catalog());
    narrowTitles(true);
    loadLists(false);
    selectSummaryRow(0);
    m_win.placeRows(true);
    m_win.stats().chartsChanged(true);
}

void TSummaryHandlers::narrowTitles(bool withSearch) {
    TitleFilter f = m_p->FilterBar->filter();
    if (withSearch)
        f.name = m_win.EFound()->text();
    m_shown = vq::narrowTitles(m_win.session(), f);
}

void TSummaryHandlers::fillFilterBar() {
    CatalogSession &s = m_win.session();
    if (s.isOpen())
        m_p->FilterBar->fill(filterChoices(s.catalog()));
}

void TSummaryHandlers::restoreFilter(const Settings &settings) {
    CatalogSession &s = m_win.session();
    if (s.isOpen())
        m_p->FilterBar->setFilter(loadTitleFilter(settings, s.catalog()));
}

void TSummaryHandlers::saveFilter(Settings &settings) {
    CatalogSession &s = m_win.session();
    if (s.isOpen())
        saveTitleFilter(settings, s.catalog(), m_p->FilterBar->filter());
}

void TSummaryHandlers::showShown() {
    const CatalogStats &all = m_win.stats().catalogStats();
    m_p->FilterBar->setShown(shownText(m_shown, all));
    // The title lists of the other pages say so too, with a way back to every title.
    const int shown = m_shown.narrowed ? int(m_shown.found.ids.size()) : all.titles;
    for (TNarrowNote *note : {m_win.titlesPage()->NarrowNote, m_win.intakePage()->NarrowNote})
        note->setNarrowed(m_shown.narrowed, shown, all.titles);
}

QString TSummaryHandlers::ownTitle(int row) const {
    TGridView &g = *m_p->GVSV;
    QString title = g.GetCellText(gvsv::Title, row);
    const auto other = m_shown.found.altNames.constFind(g.CellAt(gvsv::Id, row).AsInteger());
    if (other != m_shown.found.altNames.cend()) {
        const QString suffix = titleWithOtherName(QString(), *other);
        if (title.endsWith(suffix))
            title.chop(suffix.size());
    }
    return title;
}

const std::vector<qint64> *TSummaryHandlers::shownIds() const {
    return m_shown.narrowed ? &m_shown.found.ids : nullptr;
}

void TSummaryHandlers::selectSummaryRow(int row) {
    TGridView &g = *m_p->GVSV;
    if (row < 0 || row >= g.RowCount())
        return;
    g.SetCurrentRow(row);
}

void TSummaryHandlers::GVSVSelectCell(int, int ARow) {
    TGridView &g = *m_p->GVSV;
    if (ARow < 0 || ARow >= g.RowCount())
        return;
    m_win.makeTitleCurrent(g.CellAt(gvsv::Id, ARow).AsInteger());
    if (g.Column(gvsv::Title).HasOption(coEditing))
        g.Column(gvsv::Title).RemoveOption(coEditing);
}

void TSummaryHandlers::GVSVKeyDown(QKeyEvent *event) {
    TGridView &g = *m_p->GVSV;
    const int key = event->key();
    if (key == Qt::Key_F2) {
        if (g.RowCount() == 0)
            return;
        // A row found through another name is renamed from its own name; the row keeps showing
        // both until a new name is stored.
        const int row = g.CurrentRow();
        if (row < 0)
            return;
        g.Column(gvsv::Title).AddOption(coEditing);
        g.EditCell(gvsv::Title, row, ownTitle(row));
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        m_win.setActivePage(TView_Base::TOsn);
    const bool keypadPlus = key == Qt::Key_Plus && (event->modifiers() & Qt::KeypadModifier);
    if (key == Qt::Key_Control || key == Qt::Key_Insert || keypadPlus)
        m_win.stats().SelIOClick();
    if (const int letter = letterKey(event))
        m_win.GVKNF(letter, g, gvsv::Title);
}

void TSummaryHandlers::GVSVMouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        m_win.stats().SelIOClick();
}

void TSummaryHandlers::GVSVDblClick() {
    m_win.setActivePage(TView_Base::TOsn);
}

void TSummaryHandlers::GVSVAfterEdit(int ACol, int ARow, const QString &) {
    m_win.EditName(*m_p->GVSV, ACol, ARow, gvsv::Id);
}

} // namespace vq
