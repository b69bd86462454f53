#pragma once

#include "browser/chartseries.h"
#include "browser/summary.h"

#include <QObject>

class QComboBox;
class QKeyEvent;

namespace vq {

class TView_Base;
class TPageStats;
class TStatsCharts;

// The handlers of the page "Статистика": the totals of the catalog and of the selection, and the
// selection set (toggled from the summary, listed in GV3). The window owns one; the state it
// works on is the window's.
class TStatsHandlers : public QObject {
    Q_OBJECT
public:
    explicit TStatsHandlers(TView_Base &window);

    void UpStat();
    // The totals the last UpStat counted.
    const CatalogStats &catalogStats() const { return m_stats; }
    void VstatUpDate();
    void SelIOClick();
    void AddToG3();
    void DelFromG3();
    void GV3SelectCell(int ACol, int ARow);
    void GV3KeyDown(QKeyEvent *event);
    void GV3DblClick();
    // A comment typed into the list stays with the title's row (not stored in the catalog).
    void GV3AfterEdit(int ACol, int ARow);
    // Forgets the selection: list, marks, totals.
    void clearSelection();
    // The selection list after a change of the catalog: deleted titles leave, the rest show
    // their texts as the catalog has them now (and the comments typed into the list).
    void followSelection();
    // Fills the list from the selection's keys.
    void fillSelection();

    // The charts: after a change of the catalog, or of what the lists show (`shownOnly`: matters
    // only while the charts follow the filter bar). Drawn at once while they are seen, else the
    // next time the page is shown.
    void chartsChanged(bool shownOnly = false);
    // Makes the charts (the first time) and draws them if anything changed since.
    void showCharts();
    TStatsCharts *charts() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectAll();
    void drawCharts();
    // A click on a chart's bar or slice: the filter bar's field set to it.
    void narrowTo(QComboBox *field, const QVariant &value);
    // Takes a title out of the selection: its row, its mark, its share of the totals.
    void removeFromSelection(qint64 id);
    // The summary row of `id` marked as selected or not.
    void markSummaryRow(qint64 id, bool selected);

    TView_Base &m_win;
    TPageStats *m_p;
    CatalogStats m_stats;
    unsigned m_staleCharts = AllSeries; // ChartSet: the charts to read again when seen
};

} // namespace vq
