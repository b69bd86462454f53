#pragma once

#include "browser/filterview.h"
#include "catalog/settings.h"

#include <QObject>

class QKeyEvent;

namespace vq {

class TView_Base;
class TPageSummary;

// The handlers of the page "Сводная таблица" and of the search box above the pages, which narrows
// the summary and the title lists together. The window owns one; the state it works on is the
// window's.
class TSummaryHandlers : public QObject {
    Q_OBJECT
public:
    explicit TSummaryHandlers(TView_Base &window);

    void LoadGvSv();
    // The summary and both title lists in one pass (what LoadName and LoadGvSv do one by one).
    // `keepSort`: a summary the user sorted by a column stays sorted by it; otherwise the rows are
    // in name order and no column shows a sort arrow.
    void loadLists(bool keepSort = true);
    // Every title shown again: the search box and the filter bar emptied.
    void showAllTitles();
    void EFoundChange();
    // A field of the filter bar changed: the same narrowing as a change of the search text.
    void FilterChange();
    // Narrows `Список` by the bar and, with `withSearch`, by the search box too.
    void narrowTitles(bool withSearch);
    // The bar's choices from the open catalog; what was chosen stays where it still exists.
    void fillFilterBar();
    void restoreFilter(const Settings &settings);
    void saveFilter(Settings &settings);
    // "Показано …" for the titles the last narrowing left.
    void showShown();
    // The title of a summary row by its own name, without the other name that found it.
    QString ownTitle(int row) const;
    // The titles shown when a filter is in force; nullptr when every title is.
    const std::vector<qint64> *shownIds() const;
    const Narrowing &shown() const { return m_shown; }
    // Makes `row` current; it is reported even when it was current already.
    void selectSummaryRow(int row);
    void GVSVSelectCell(int ACol, int ARow);
    void GVSVKeyDown(QKeyEvent *event);
    void GVSVMouseDown(Qt::MouseButton button);
    void GVSVDblClick();
    void GVSVAfterEdit(int ACol, int ARow, const QString &value);

private:
    void connectAll();

    TView_Base &m_win;
    TPageSummary *m_p;
    Narrowing m_shown;
};

} // namespace vq
