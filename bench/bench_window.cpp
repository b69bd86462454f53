// Times the window's browser operations on a large catalog:
//   bench_window [catalog.vdq] [titles] [episodes]
// The catalog is generated when the file does not exist (default 20,000 titles, 400,000 episodes).

#include "catalog_generator.h"

#include "catalog/settings.h"
#include "dialogs.h"
#include "filter_bar.h"
#include "page_stats.h"
#include "page_summary.h"
#include "stats_handlers.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "titles_handlers.h"
#include "tview_base.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figure {
    double median = 0, worst = 0;
};

Figure timeIt(int runs, const std::function<void(int)> &prepare, const std::function<void(int)> &op) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare(i);
        QElapsedTimer t;
        t.start();
        op(i);
        QCoreApplication::processEvents(); // the view catches up with the data
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

void report(const char *what, const Figure &f, double limit) {
    std::printf("%-46s median %8.2f ms  worst %8.2f ms  (limit %.0f ms) %s\n", what, f.median, f.worst, limit,
                f.worst <= limit ? "ok" : (f.median <= limit ? "median ok" : "SLOW"));
}

long statusKb(const char *key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());

    int titles = 0, episodes = 0;
    const QString path = vq::bench::benchCatalog(argc, argv, QStringLiteral("vq-bench"), titles, episodes);
    vq::rememberCatalogPath(path);

    // A bare window shown and painted, as the yardstick of this machine at this moment.
    double bareMs = 0;
    {
        QElapsedTimer b;
        b.start();
        QMainWindow bare;
        bare.resize(800, 600);
        bare.show();
        QCoreApplication::processEvents();
        bareMs = double(b.nsecsElapsed()) / 1e6;
    }
    vq::ScriptedDialogs dialogs;
    vq::TView_Base win(dialogs);
    QElapsedTimer start;
    start.start();
    if (!win.FormCreate())
        return 1;
    win.show();
    QCoreApplication::processEvents();
    const qint64 startMs = start.elapsed();
    std::printf("catalog %s: %d titles, %lld episodes, %.1f MB\n", qPrintable(path), win.GVSV().RowCount(),
                win.session().isOpen() ? win.session().catalog().episodeCount() : 0,
                double(QFileInfo(path).size()) / 1048576.0);
    std::printf("%-46s %8lld ms  (limit 200 ms) %s; a bare window %.0f ms here (%.1fx)\n",
                "window start to first paint", startMs, startMs <= 200 ? "ok" : "SLOW", bareMs,
                double(startMs) / std::max(bareMs, 0.001));
    const double rssMb = double(statusKb("VmRSS:")) / 1024.0;
    std::printf("%-46s %8.1f MB  (limit 80 MB) %s\n", "window memory after start", rssMb,
                rssMb <= 80 ? "ok" : "BIG");
    if (!dialogs.errors().isEmpty()) {
        std::printf("error: %s\n", qPrintable(dialogs.errors().join(QLatin1Char(';'))));
        return 1;
    }
    // For profiling the start alone.
    if (qEnvironmentVariableIsSet("VQ_BENCH_START_ONLY"))
        return 0;

    report("  UpStat", timeIt(5, nullptr, [&](int) { win.stats().UpStat(); }), 300);
    report("  LoadName",
           timeIt(5, nullptr,
                  [&](int) {
                      win.session().Name.setFiltered(false);
                      win.titles().LoadName();
                  }),
           300);
    report("  LoadGvSv",
           timeIt(5, nullptr,
                  [&](int) {
                      win.session().Name.setFiltered(false);
                      win.summary().LoadGvSv();
                  }),
           300);
    {
        vq::GridData plain;
        vq::setupSummaryGrid(plain);
        vq::TExportList el;
        report("  LoadGvSv into a grid without a view",
               timeIt(5, nullptr,
                      [&](int) {
                          win.session().Name.setFiltered(false);
                          vq::LoadGvSv(win.session(), plain, el, win.selectedIds());
                      }),
               300);
        vq::GridData a, b;
        vq::setupTitleGrid(a);
        vq::setupTitleGrid(b);
        report("  LoadName into grids without a view",
               timeIt(5, nullptr,
                      [&](int) {
                          win.session().Name.setFiltered(false);
                          vq::LoadName(win.session(), a, &b);
                      }),
               300);
    }
    report("UpDateAll(true)", timeIt(7, nullptr, [&](int) { win.UpDateAll(true); }), 150);

    const QStringList first = {QStringLiteral("B"), QStringLiteral("N"), QStringLiteral("Е"),
                               QStringLiteral("A")};
    report("EFound: first letter typed",
           timeIt(
               8, [&](int) { win.EFound()->clear(); },
               [&](int i) { win.EFound()->setText(first[i % first.size()]); }),
           50);
    report("EFound: second letter typed",
           timeIt(
               8, [&](int i) { win.EFound()->setText(first[i % first.size()]); },
               [&](int i) { win.EFound()->setText(first[i % first.size()] + QStringLiteral("e")); }),
           50);
    report("EFound: text removed (all titles again)",
           timeIt(
               5, [&](int) { win.EFound()->setText(QStringLiteral("Na")); },
               [&](int) { win.EFound()->clear(); }),
           50);

    // Each field of the filter bar set and cleared again, the grids refilled each time.
    {
        win.EFound()->clear();
        vq::TFilterBar &bar = *win.summaryPage()->FilterBar;
        const std::pair<const char *, QComboBox *> boxes[] = {{"type", bar.CFType},
                                                              {"sound", bar.CFSound},
                                                              {"embedded subtitles", bar.CFSubIn},
                                                              {"external subtitles", bar.CFSubExt},
                                                              {"frame (at least 720)", bar.CFFrame},
                                                              {"video codec", bar.CFVideo},
                                                              {"audio codec", bar.CFAudio},
                                                              {"container", bar.CFFormat}};
        for (const auto &[what, box] : boxes) {
            if (box->count() < 2)
                continue;
            const int item = box == bar.CFFrame ? std::max(1, box->findText(QStringLiteral("от 720p"))) : 1;
            report((std::string("filter: ") + what + " set").c_str(),
                   timeIt(
                       6, [&](int) { box->setCurrentIndex(0); }, [&](int) { box->setCurrentIndex(item); }),
                   30);
            report((std::string("filter: ") + what + " cleared").c_str(),
                   timeIt(
                       6, [&](int) { box->setCurrentIndex(item); }, [&](int) { box->setCurrentIndex(0); }),
                   30);
            box->setCurrentIndex(0);
        }
        report("filter: added within 30 days",
               timeIt(
                   6, [&](int) { bar.EFDays->setValue(0); }, [&](int) { bar.EFDays->setValue(30); }),
               30);
        bar.EFDays->setValue(0);
        report(
            "filter: no episodes",
            timeIt(
                6, [&](int) { bar.CBEmpty->setChecked(false); }, [&](int) { bar.CBEmpty->setChecked(true); }),
            30);
        bar.CBEmpty->setChecked(false);
        report("filter: sound and a search letter",
               timeIt(
                   6,
                   [&](int) {
                       bar.CFSound->setCurrentIndex(1);
                       win.EFound()->clear();
                   },
                   [&](int i) { win.EFound()->setText(first[i % first.size()]); }),
               30);
        win.EFound()->clear();
        bar.setFilter(vq::TitleFilter{});
        win.summary().FilterChange();
    }

    // Titles with the most episodes (200 each on the default catalog).
    vq::TGridView &gv = win.GV();
    std::vector<std::pair<int, int>> sized; // (episodes, GV row)
    {
        vq::DataSet &name = win.session().Name;
        (void)name;
        for (int r = 0; r < gv.RowCount(); r += std::max(1, gv.RowCount() / 400)) {
            gv.MoveToCell(1, r);
            sized.push_back({win.DBGrid2().RowCount(), r});
        }
        std::sort(sized.rbegin(), sized.rend());
    }
    std::printf("largest sampled title: %d episodes\n", sized.empty() ? 0 : sized.front().first);
    report("GVSelectCell + LoadSeries (largest titles)",
           timeIt(20, nullptr,
                  [&](int i) {
                      gv.MoveToCell(1, sized[size_t(i) % std::min<size_t>(sized.size(), 10)].second);
                  }),
           20);

    vq::TGridView &sv = win.GVSV();
    report("selection toggle (add, then next row)",
           timeIt(
               20, [&](int i) { sv.SetCurrentRow(100 + 2 * i); }, [&](int) { win.stats().SelIOClick(); }),
           10);
    report("selection toggle (remove)",
           timeIt(
               20, [&](int i) { sv.SetCurrentRow(100 + 2 * i); }, [&](int) { win.stats().SelIOClick(); }),
           10);
    std::printf("%-46s %8.1f MB\n", "window peak memory", double(statusKb("VmHWM:")) / 1024.0);
    win.close();
    return 0;
}
