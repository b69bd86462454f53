#include "window_fixture.h"

#include "filter_bar.h"
#include "page_stats.h"
#include "page_summary.h"
#include "stats_charts.h"
#include "stats_handlers.h"
#include "summary_handlers.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

using namespace vq;
using namespace vq::test;

namespace {

class StatsCharts : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        cat.exec(QStringLiteral("INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (1, 'AVC'), (2, 'HEVC')"));
        const struct {
            const char *name;
            int type, codec, count;
        } titles[] = {{"Акира", 2, 1, 3}, {"Бибоп", 3, 2, 1}, {"Ёлка", 3, 1, 2}};
        for (const auto &t : titles) {
            const qint64 id = cat.addTitle(QString::fromUtf8(t.name), {}, {}, t.type);
            for (int i = 0; i < t.count; ++i) {
                const qint64 ep = cat.addEpisode(id, {.size = 1e9, .width = 1920, .height = 1080});
                cat.exec(QStringLiteral("UPDATE \"Серии\" SET \"Video_Codec_id\" = %1 WHERE \"ID\" = %2")
                             .arg(t.codec)
                             .arg(ep));
            }
        }
    }

    // The codec chart's bars by name, as drawn: files per codec.
    QStringList codecBars() {
        const std::vector<ChartPoint> &points = charts().drawn().byVideoCodec;
        QStringList out;
        for (const ChartPoint &p : points)
            out << QStringLiteral("%1:%2").arg(p.key).arg(p.files);
        return out;
    }
    TStatsCharts &charts() { return *win->statsPage()->Charts; }

    TempCatalog cat;
};

TEST_F(StatsCharts, MadeWhenShownAndAClickOnABarNarrowsTheBar) {
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(win->statsPage()->Charts, nullptr) << "nothing of the charts at the window's start";
    win->setActivePage(TView_Base::Stat);
    QCoreApplication::processEvents();
    ASSERT_NE(win->statsPage()->Charts, nullptr);
    charts().Tabs->setCurrentWidget(charts().view(TStatsCharts::ByVideoCodec));
    QCoreApplication::processEvents();
    EXPECT_EQ(codecBars(), (QStringList{QStringLiteral("AVC:5"), QStringLiteral("HEVC:1")}));

    charts().CBShownOnly->setChecked(true);
    QChartView *view = charts().view(TStatsCharts::ByVideoCodec);
    QChart *chart = view->chart();
    auto *bars = qobject_cast<QAbstractBarSeries *>(chart->series().value(0));
    ASSERT_NE(bars, nullptr);
    // The middle of HEVC's bar (the second, one file long), where the user would click.
    const QPointF inChart = chart->mapToPosition(QPointF(0.5, 1), bars);
    const QPoint at = view->mapFromScene(chart->mapToScene(inChart));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();

    EXPECT_EQ(win->summaryPage()->FilterBar->CFVideo->currentText(), QStringLiteral("HEVC"));
    EXPECT_EQ(win->summary().shown().found.ids.size(), 1u);
    EXPECT_EQ(codecBars(), QStringList{QStringLiteral("HEVC:1")}) << "the charts follow what is shown";
    charts().CBShownOnly->setChecked(false);
    EXPECT_EQ(codecBars(), (QStringList{QStringLiteral("AVC:5"), QStringLiteral("HEVC:1")}));
}

} // namespace
