// Times the window's browser operations on a large catalog:
//   bench_window [catalog.vdq] [titles] [episodes] [--rounds N]
// The catalog is generated when the file does not exist (default 20,000 titles, 400,000 episodes).
// The start to the first paint is measured in fresh processes of this program, in turn with a bare
// window's (`bench_window --start bare|empty|FILE` is one of them): the processor time from before
// the window is made to its first paint, and the memory then. Each operation after it is timed in
// processor time of the whole process (the fills use two threads), the wall time beside it.

#include "bench_clock.h"
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
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using vq::bench::processCpuMs;
using vq::bench::statusKb;
using vq::bench::wallMs;

struct Figure {
    double cpu = 0, wall = 0, worstCpu = 0;
};

Figure timeIt(int runs, const std::function<void(int)> &prepare, const std::function<void(int)> &op) {
    std::vector<double> cpu, wall;
    for (int i = 0; i < runs; ++i) {
        if (prepare) {
            prepare(i);
            QCoreApplication::processEvents();
        }
        const double c = processCpuMs(), w = wallMs();
        op(i);
        QCoreApplication::processEvents(); // the view catches up with the data
        cpu.push_back(processCpuMs() - c);
        wall.push_back(wallMs() - w);
    }
    return {vq::bench::median(cpu), vq::bench::median(wall), *std::max_element(cpu.begin(), cpu.end())};
}

// One line per figure, the same for every run, so that two builds' runs can be set side by side.
void report(const std::string &what, const Figure &f, double limit) {
    std::printf("%-46s cpu %8.2f ms  wall %8.2f ms  worst cpu %8.2f ms  (limit %.0f ms) %s\n", what.c_str(),
                f.cpu, f.wall, f.worstCpu, limit,
                f.worstCpu <= limit ? "ok" : (f.cpu <= limit ? "median ok" : "MISSED"));
    std::fflush(stdout);
}

// Waits for the first paint of `w` after show().
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget *w) { w->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// When main() began, for the wall time of a start.
double g_mainWall = 0;

// One start, in this fresh process: "start CPU PART WALL RSS TITLES" on the last line. CPU is the
// process's processor time at the first paint, everything since the program was loaded included;
// PART is the share from before the window is made on; WALL runs from main().
int startChild(const QString &what) {
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());
    const double c0 = processCpuMs();
    int titles = 0;
    std::unique_ptr<QMainWindow> keep;
    std::unique_ptr<vq::ScriptedDialogs> dialogs;
    if (what == QLatin1String("bare")) {
        keep = std::make_unique<QMainWindow>();
        keep->resize(800, 600);
    } else {
        vq::rememberCatalogPath(what);
        dialogs = std::make_unique<vq::ScriptedDialogs>();
        auto win = std::make_unique<vq::TView_Base>(*dialogs);
        if (!win->FormCreate())
            return 1;
        titles = win->GVSV().RowCount();
        keep = std::move(win);
    }
    PaintWatch watch(keep.get());
    keep->show();
    for (int i = 0; i < 1000 && !watch.painted; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double cpu = processCpuMs(), part = cpu - c0, wall = wallMs() - g_mainWall;
    if (!watch.painted || (dialogs && !dialogs->errors().isEmpty())) {
        std::printf("no first paint%s\n",
                    dialogs ? qPrintable(dialogs->errors().join(QLatin1Char(';'))) : "");
        return 1;
    }
    std::printf("start %.3f %.3f %.3f %ld %d\n", cpu, part, wall, statusKb("VmRSS:"), titles);
    return 0;
}

struct Start {
    double cpu = 0, part = 0, wall = 0;
    long rssKb = 0;
    int titles = 0;
    bool ok = false;
};

Start runStart(const QString &what) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start"), what});
    Start s;
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return s;
    const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
    const QList<QByteArray> f = lines.last().split(' ');
    if (f.size() == 6 && f[0] == "start")
        s = {f[1].toDouble(), f[2].toDouble(), f[3].toDouble(), f[4].toLong(), f[5].toInt(), true};
    return s;
}

} // namespace

int main(int argc, char **argv) {
    g_mainWall = wallMs();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
    if (argc > 2 && qstrcmp(argv[1], "--start") == 0)
        return startChild(QString::fromLocal8Bit(argv[2]));
    int rounds = 5;
    bool stepsOnly = false; // for profiling: the user's steps alone, without the start and the figures
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (qstrcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (qstrcmp(argv[i], "--steps-only") == 0)
            stepsOnly = true;
        else
            args.push_back(argv[i]);
    }
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());

    int titles = 0, episodes = 0;
    const QString path =
        vq::bench::benchCatalog(int(args.size()), args.data(), QStringLiteral("vq-bench"), titles, episodes);
    const QString empty = QDir(tmp.path()).filePath(QStringLiteral("empty.vdq"));
    vq::Catalog::createStarter(empty);

    // The start, each in a fresh process: a bare window (the floor), the window on the catalog, the
    // window on an empty catalog (the floor of the memory), in turn.
    if (!stepsOnly) {
        std::vector<double> cpu, part, wall, bareCpu, barePart, bareWall, ratio, kbPerTitle;
        std::vector<double> rss, rssEmpty;
        int shown = 0;
        for (int r = 0; r < rounds; ++r) {
            const Start bare = runStart(QStringLiteral("bare"));
            const Start big = runStart(path);
            const Start none = runStart(empty);
            if (!bare.ok || !big.ok || !none.ok) {
                std::printf("a start failed\n");
                return 1;
            }
            shown = big.titles;
            cpu.push_back(big.cpu), part.push_back(big.part), wall.push_back(big.wall);
            bareCpu.push_back(bare.cpu), barePart.push_back(bare.part), bareWall.push_back(bare.wall);
            ratio.push_back(big.cpu / std::max(bare.cpu, 0.001));
            rss.push_back(double(big.rssKb)), rssEmpty.push_back(double(none.rssKb));
            kbPerTitle.push_back(double(big.rssKb - none.rssKb) / std::max(1, big.titles));
        }
        using vq::bench::median;
        std::printf("catalog %s: %d titles, %.1f MB\n", qPrintable(path), shown,
                    double(QFileInfo(path).size()) / 1048576.0);
        // The targets: 5x at 20,000 titles, 15x at 300,000.
        const double limit = shown <= 20000 ? 5 : (shown >= 300000 ? 15 : 0);
        const double r = median(ratio);
        std::printf(
            "%-46s cpu %8.2f ms  wall %8.2f ms  floor (a bare window) cpu %.2f ms, wall %.2f ms: %.2fx",
            "window start to first paint", median(cpu), median(wall), median(bareCpu), median(bareWall), r);
        if (limit > 0)
            std::printf("  (limit %.0fx) %s\n", limit, r <= limit ? "ok" : "MISSED");
        else
            std::printf("  (no target between 20,000 and 300,000 titles)\n");
        std::printf("  of which from the window's making on: %.2f ms (a bare window's %.2f ms)\n",
                    median(part), median(barePart));
        const double perTitle = median(kbPerTitle) * 1024;
        std::printf("%-46s %.1f MB, on an empty catalog %.1f MB: %.0f bytes a title (limit 1024) %s\n",
                    "window memory after start", median(rss) / 1024, median(rssEmpty) / 1024, perTitle,
                    perTitle <= 1024 ? "ok" : "MISSED");
        std::fflush(stdout);
    }
    // For the start alone.
    if (qEnvironmentVariableIsSet("VQ_BENCH_START_ONLY"))
        return 0;

    vq::rememberCatalogPath(path);
    vq::ScriptedDialogs dialogs;
    vq::TView_Base win(dialogs);
    if (!win.FormCreate())
        return 1;
    win.show();
    QCoreApplication::processEvents();
    std::printf("episodes %lld\n", win.session().isOpen() ? win.session().catalog().episodeCount() : 0);
    if (!dialogs.errors().isEmpty()) {
        std::printf("error: %s\n", qPrintable(dialogs.errors().join(QLatin1Char(';'))));
        return 1;
    }

    // What a user does in the search box and the filter bar, in this order, each step on the state
    // the one before left: each under 100 ms at any size. First, on the window just opened.
    {
        vq::TFilterBar &bar = *win.summaryPage()->FilterBar;
        struct Step {
            const char *what;
            std::function<void()> op;
        };
        const std::vector<Step> steps = {
            {"type \"N\"", [&] { win.EFound()->setText(QStringLiteral("N")); }},
            {"type \"Na\"", [&] { win.EFound()->setText(QStringLiteral("Na")); }},
            {"erase the search", [&] { win.EFound()->clear(); }},
            {"pick a type", [&] { bar.CFType->setCurrentIndex(1); }},
            {"pick a sound", [&] { bar.CFSound->setCurrentIndex(1); }},
            {"clear the filter (its reset button)", [&] { bar.BFClear->click(); }},
        };
        std::vector<std::vector<double>> cpu(steps.size()), wall(steps.size());
        for (int r = 0; r < 5; ++r)
            for (size_t k = 0; k < steps.size(); ++k) {
                const double c = processCpuMs(), w = wallMs();
                steps[k].op();
                QCoreApplication::processEvents();
                cpu[k].push_back(processCpuMs() - c);
                wall[k].push_back(wallMs() - w);
            }
        for (size_t k = 0; k < steps.size(); ++k)
            report(std::string("step: ") + steps[k].what,
                   {vq::bench::median(cpu[k]), vq::bench::median(wall[k]),
                    *std::max_element(cpu[k].begin(), cpu[k].end())},
                   100);
    }

    if (stepsOnly)
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
        // Named, not a structured binding: clang 14 does not let a lambda capture one.
        for (const auto &entry : boxes) {
            const char *what = entry.first;
            QComboBox *box = entry.second;
            if (box->count() < 2)
                continue;
            const int item = box == bar.CFFrame ? std::max(1, box->findText(QStringLiteral("от 720p"))) : 1;
            report(std::string("filter: ") + what + " set",
                   timeIt(
                       6, [&](int) { box->setCurrentIndex(0); }, [&](int) { box->setCurrentIndex(item); }),
                   30);
            report(std::string("filter: ") + what + " cleared",
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
