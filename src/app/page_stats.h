#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QSplitter;

namespace vq {

class TGridView;
class TStatsCharts;

// Page 2 "Статистика": totals of the catalog and of the selection, and the selection list.
class TPageStats : public QWidget {
    Q_OBJECT
public:
    explicit TPageStats(QWidget *parent = nullptr);

    QSplitter *Splitter = nullptr;
    QWidget *Panel6 = nullptr;       // upper part; its height is the setting s4
    QGroupBox *GBAll = nullptr;      // "Всего"
    QGroupBox *GBSelected = nullptr; // "Выбрано"
    QLabel *LCount = nullptr;
    QLabel *LCE = nullptr;
    QLabel *LSize = nullptr;
    QLabel *LTime = nullptr;
    QLabel *LVAni = nullptr;
    QLabel *LVFile = nullptr;
    QLabel *LVSize = nullptr;
    QLabel *LVtime = nullptr;
    QPushButton *BSToExcel = nullptr;
    QPushButton *BSToHTML = nullptr;
    QPushButton *BSet = nullptr;
    // Beside the boxes: the charts, made the first time the page is shown (TStatsHandlers).
    QWidget *ChartsHolder = nullptr;
    TStatsCharts *Charts = nullptr;
    QGroupBox *GBList = nullptr; // "Выбранно:"
    TGridView *GV3 = nullptr;
};

} // namespace vq
