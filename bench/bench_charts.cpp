// The statistics page's charts on a large catalog:
//   bench_charts [catalog.vdq] [titles] [episodes]
// The catalog is generated when the file does not exist (default 20,000 titles, 400,000 episodes);
// an existing one is upgraded when opened, so pass a copy. Figures are medians of the processor
// time of the process, each measured in turn with its floor:
// - the series read from the kept sums (chartSeries), whole catalog and a filter's titles;
// - every chart drawn and painted (grabbed) once the page is shown: the floor is the page's boxes
//   ("Всего", UpStat) recomputed;
// - a change of the filter bar with the charts shown and following it: the floor is the same
//   change with the charts on a page not shown.
#include "bench_clock.h"
#include "catalog_generator.h"

#include "browser/chartseries.h"
#include "dialogs.h"
#include "filter_bar.h"
#include "page_stats.h"
#include "page_summary.h"
#include "places/mounts.h"
#include "stats_charts.h"
#include "stats_handlers.h"
#include "summary_handlers.h"
#include "tview_base.h"

#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using vq::bench::measure;
using vq::bench::Paired;
using vq::bench::paired;
using vq::bench::Sample;

void report(const char *what, const Paired &p, const char *floor, double limitMs) {
    std::printf("%-44s cpu %7.2f ms  wall %7.2f ms | floor (%s) cpu %7.2f ms: %.2fx  (limit %.0f ms) %s\n",
                what, p.subject.cpu, p.subject.wall, floor, p.floor.cpu, p.cpuRatio, limitMs,
                p.subject.cpu <= limitMs ? "ok" : "MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    int titles = 0, episodes = 0;
    const QString path =
        vq::bench::benchCatalog(argc, argv, QStringLiteral("bench_charts"), titles, episodes);
    vq::rememberCatalogPath(path);
    vq::ScriptedDialogs dialogs;
    vq::TView_Base win(dialogs);
    if (!win.FormCreate())
        return 1;
    win.resize(1400, 900);
    win.show();
    QCoreApplication::processEvents();
    vq::Catalog &catalog = win.session().catalog();
    std::printf("catalog %s: %lld titles, %lld episodes\n", qPrintable(path), catalog.titleCount(),
                catalog.episodeCount());
    const int runs = 9;
    const auto upStat = [&] { return measure([&] { win.stats().UpStat(); }); };

    // The series alone.
    const vq::places::Mounts mounts = vq::places::Mounts::current();
    report("chartSeries, whole catalog",
           paired(runs, upStat, [&] { return measure([&] { vq::chartSeries(catalog, mounts); }); }), "UpStat",
           50);
    vq::TitleFilter type;
    type.type = 3;
    const std::vector<qint64> shown = vq::applyTitleFilter(catalog, type).ids;
    std::printf("  (a filter's titles: %zu)\n", shown.size());
    report("chartSeries, a filter's titles",
           paired(runs, upStat, [&] { return measure([&] { vq::chartSeries(catalog, mounts, &shown); }); }),
           "UpStat", 50);

    // The page shown for the first time: the charts made and drawn.
    const Sample first = measure([&] {
        win.setActivePage(vq::TView_Base::Stat);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    });
    vq::TStatsCharts *charts = win.statsPage()->Charts;
    if (!charts) {
        std::printf("the charts were not made\n");
        return 1;
    }
    std::printf("%-44s cpu %7.2f ms  wall %7.2f ms (once)\n", "page first shown: charts made and drawn",
                first.cpu, first.wall);
    // Each chart read, drawn, laid out and painted when its tab is picked after a change of the
    // catalog; then all five in turn.
    const char *names[vq::TStatsCharts::ChartCount] = {"type", "drive", "frame", "video codec", "month"};
    const auto pick = [&](int c) {
        charts->Tabs->setCurrentIndex(c);
        QCoreApplication::processEvents(); // the chart lays itself out and is painted
    };
    for (int c = 0; c < vq::TStatsCharts::ChartCount; ++c) {
        const int before = (c + 1) % vq::TStatsCharts::ChartCount;
        report((std::string("chart tab picked: ") + names[c]).c_str(),
               paired(runs, upStat,
                      [&] {
                          pick(before);
                          win.stats().chartsChanged();
                          return measure([&] { pick(c); });
                      }),
               "UpStat", 50);
    }
    report("every chart read, drawn and painted",
           paired(runs, upStat,
                  [&] {
                      pick(vq::TStatsCharts::ChartCount - 1);
                      return measure([&] {
                          win.stats().chartsChanged();
                          for (int c = 0; c < vq::TStatsCharts::ChartCount; ++c)
                              pick(c);
                      });
                  }),
           "UpStat", 50);

    // VQ_BENCH_CHARTS_PNG=FOLDER: each chart as drawn, to look at.
    if (const QString dir = qEnvironmentVariable("VQ_BENCH_CHARTS_PNG"); !dir.isEmpty())
        for (int c = 0; c < vq::TStatsCharts::ChartCount; ++c) {
            charts->Tabs->setCurrentIndex(c);
            charts->view(vq::TStatsCharts::Chart(c))
                ->grab()
                .save(QStringLiteral("%1/chart%2.png").arg(dir).arg(c));
        }

    // A change of the filter bar, the charts following it, shown and hidden in turn.
    charts->CBShownOnly->setChecked(true);
    QComboBox *box = win.summaryPage()->FilterBar->CFType;
    int flip = 0;
    const auto change = [&] {
        return measure([&] {
            box->setCurrentIndex((++flip % 2) ? std::min(3, box->count() - 1) : 0);
            QCoreApplication::processEvents();
        });
    };
    const Paired withCharts = paired(
        runs,
        [&] {
            win.setActivePage(vq::TView_Base::Tns);
            QCoreApplication::processEvents();
            const Sample s = change();
            win.setActivePage(vq::TView_Base::Stat);
            QCoreApplication::processEvents();
            return s;
        },
        [&] {
            const Sample s = change();
            return s;
        });
    report("filter change, charts shown and following", withCharts, "charts not shown", 30 + 20);
    std::printf("  charts' share of a filter change: %.2f ms (limit 20 ms) %s\n",
                withCharts.subject.cpu - withCharts.floor.cpu,
                withCharts.subject.cpu - withCharts.floor.cpu <= 20 ? "ok" : "MISSED");
    return 0;
}
