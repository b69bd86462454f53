#pragma once

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
    void EFoundChange();
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
};

} // namespace vq
