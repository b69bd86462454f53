#pragma once

#include "browser/chartseries.h"

#include <QWidget>

class QCheckBox;
class QTabWidget;

class QChart;
class QChartView;

namespace vq {

// The charts of the page "Статистика": where the space goes by type, drive, frame and codec, and
// how the collection grew month by month. It only draws what it is given (core's chartSeries) and
// reports clicks; the page's handlers decide what to read and what a click narrows.
class TStatsCharts : public QWidget {
    Q_OBJECT
public:
    explicit TStatsCharts(QWidget *parent = nullptr);

    // Draws the charts `which` names (ChartSet) from `series`; the others stay as they were.
    void draw(const ChartSeries &series, unsigned which = AllSeries);
    // The series of the chart in sight.
    unsigned shownSeries() const;
    const ChartSeries &drawn() const { return m_series; }

    enum Chart { ByType, ByDrive, ByHeight, ByVideoCodec, ByMonth, ChartCount };
    QChartView *view(Chart c) const { return m_views[c]; }

    QCheckBox *CBShownOnly = nullptr; // "только показанные": the charts follow the filter bar
    QTabWidget *Tabs = nullptr;

Q_SIGNALS:
    void shownOnlyToggled();
    void chartShown(); // another chart's tab was picked
    void typeClicked(qint64 type);
    void frameClicked(int width, int height);
    void videoCodecClicked(qint64 codec);

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawType();
    void drawDrives();
    void drawHeights();
    void drawCodecs();
    void drawMonths();
    // The desktop's palette and font on a chart and its axes.
    void applyLook(QChart *chart);
    void clear(QChart *chart);
    QString pointText(const ChartPoint &p) const;

    QChartView *m_views[ChartCount] = {};
    ChartSeries m_series;
};

} // namespace vq
