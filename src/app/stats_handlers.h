#pragma once

#include "browser/summary.h"

#include <QObject>

class QKeyEvent;

namespace vq {

class TView_Base;
class TPageStats;

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
    // Forgets the selection: list, marks, totals.
    void clearSelection();
    // The selection list after a change of the catalog: deleted titles leave, the rest show
    // their texts as the summary has them now.
    void followSelection();

private:
    void connectAll();
    // Takes a title out of the selection: its row, its mark, its share of the totals.
    void removeFromSelection(qint64 id);

    TView_Base &m_win;
    TPageStats *m_p;
    CatalogStats m_stats;
};

} // namespace vq
