// "Добавить всё" at collection scale, in the window, on a large catalog:
//   bench_intake [catalog.vdq] [files]
// or `vidoteq-cli add` of the same clips into an empty catalog and into copies of larger ones, each
// in a fresh process and each after its floor, the files probed one after another in this process:
//   bench_intake --cli-add [--files N] [--rounds R] CATALOG...
// Makes short clips with ffmpeg (mostly Matroska and MPEG-4), copies them to `files` names (400 by
// default) and measures, in one run:
//   - the files probed one after another in this process with the library at its default depth;
//   - "Добавить всё" through the window, from the click to the last row stored, with the longest
//     wait of the event loop meanwhile;
//   - how long "Отмена" takes to stop a second run.
// The catalog is generated when the file does not exist (20,000 titles, 400,000 episodes) and copied,
// so the benchmark never changes it.

#include "bench_clock.h"
#include "catalog_generator.h"
#include "cli.h"

#include "catalog/settings.h"
#include "dialogs.h"
#include "intake/mediaprobe.h"
#include "intake/probepool.h"
#include "intake_handlers.h"
#include "medialib/libraryprobe.h"
#include "page_intake.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

struct Clip {
    const char *name;
    QStringList args;
};

// Half a minute each at a small frame size: short files, with enough in them for the depth to matter.
QList<Clip> clips() {
    const QStringList h264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
    return {
        {"a.mkv", h264 + QStringList{"-c:a", "aac"}},
        {"b.mp4", h264 + QStringList{"-c:a", "aac"}},
        {"c.mkv", QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame"}},
        {"d.mp4", h264 + QStringList{"-c:a", "aac", "-movflags", "+faststart"}},
        {"e.mkv", h264 + QStringList{"-c:a", "libvorbis"}},
        {"f.mp4", QStringList{"-c:v", "mpeg4", "-c:a", "aac"}},
        {"g.avi", QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame"}},
        {"h.mkv", h264 + QStringList{"-c:a", "aac"}},
    };
}

bool makeClips(const QString &dir, QStringList &made) {
    for (const Clip &c : clips()) {
        const QString out = QDir(dir).filePath(QString::fromLatin1(c.name));
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("ffmpeg"),
                QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                            "testsrc=size=320x240:rate=25:duration=30", "-f", "lavfi", "-i",
                            "sine=frequency=440:sample_rate=44100:duration=30"} +
                    c.args + QStringList{out});
        if (!p.waitForFinished(300000) || p.exitCode() != 0) {
            std::printf("ffmpeg failed on %s: %s\n", c.name, p.readAll().constData());
            return false;
        }
        made << out;
    }
    return true;
}

// Copies the clips to `count` names in `dir`, in turn.
QStringList fill(const QString &dir, const QStringList &sources, int count, const QString &prefix) {
    QDir().mkpath(dir);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QFileInfo src(sources[i % sources.size()]);
        const QString name =
            QStringLiteral("%1 %2 - %3").arg(prefix).arg(i + 1, 3, 10, QLatin1Char('0')).arg(src.fileName());
        QFile::copy(src.filePath(), QDir(dir).filePath(name));
        names << QDir(dir).filePath(name);
    }
    return names;
}

// Waits in the event loop, measuring the longest time between two turns of it.
// `afterFirst` tells whether the first row is stored: the first append of this data layer grows the
// whole in-memory episode table once, which is measured on its own.
struct LoopWatch {
    QElapsedTimer sinceTick;
    qint64 longestGapNs = 0, longestAfterFirstNs = 0;
    std::function<bool()> afterFirst;
    QTimer timer;
    LoopWatch() {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 gap = sinceTick.nsecsElapsed();
            longestGapNs = std::max(longestGapNs, gap);
            if (afterFirst && afterFirst())
                longestAfterFirstNs = std::max(longestAfterFirstNs, gap);
            sinceTick.start();
        });
    }
    void start() {
        longestGapNs = longestAfterFirstNs = 0;
        sinceTick.start();
        timer.start();
    }
    void stop() { timer.stop(); }
};

// Waits in the event loop without spinning: the thread sleeps between events, as the window's does.
bool waitFor(const std::function<bool()> &done, int timeoutMs) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer t;
    t.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || t.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(1);
    loop.exec();
    return done();
}

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Processor time of the child processes that have ended and been waited for.
double childrenCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto ms = [](const timeval &tv) { return double(tv.tv_sec) * 1e3 + double(tv.tv_usec) / 1e3; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

// Episodes in the file, through a connection of its own.
int rowsStored(const QString &path) {
    sqlite3 *db = nullptr;
    int n = -1;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM \"Серии\"", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

// ---- `vidoteq-cli add` into catalogs of several sizes ----

// One add, in this fresh process, as the tool runs it: "add WALL SELF WORKERS HWM RC" on the last
// line; SELF is this process's processor time, WORKERS the probe workers'.
int addChild(const QString &catalog, const QString &folder) {
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const double workers0 = childrenCpuMs();
    const double c0 = vq::bench::processCpuMs(), w0 = vq::bench::wallMs();
    const int rc = vq::cli::run({QStringLiteral("--catalog"), catalog, QStringLiteral("add"),
                                 QStringLiteral("--title"), QStringLiteral("Bench add"), folder},
                                out, err);
    const double self = vq::bench::processCpuMs() - c0, wall = vq::bench::wallMs() - w0;
    if (rc != 0)
        std::fprintf(stderr, "add: %s\n", qPrintable(errText));
    std::printf("add %.3f %.3f %.3f %ld %d\n", wall, self, childrenCpuMs() - workers0,
                vq::bench::statusKb("VmHWM:"), rc);
    return 0;
}

struct AddRun {
    double wall = 0, self = 0, workers = 0;
    long hwmKb = 0;
    int stored = 0;
    bool ok = false;
};

AddRun runAdd(const QString &catalog, const QString &folder) {
    AddRun a;
    const int before = rowsStored(catalog);
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--add-child"), catalog, folder});
    if (!p.waitForFinished(3600000) || p.exitCode() != 0)
        return a;
    const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split('\n').last().split(' ');
    if (f.size() != 6 || f[0] != "add" || f[5] != "0")
        return a;
    a = {
        f[1].toDouble(), f[2].toDouble(), f[3].toDouble(), f[4].toLong(), rowsStored(catalog) - before, true};
    return a;
}

// The floor: the same files probed one after another in this process, at the library's default depth.
vq::bench::Sample serialProbe(const QStringList &files,
                              vq::ParseDepth depth = vq::ParseDepth::LibraryDefault) {
    return vq::bench::measure([&] {
        for (const QString &f : files)
            vq::probeMedia(QFile::encodeName(f), depth);
    });
}

// bench_intake --cli-add [--files N] [--rounds R] CATALOG...: the add of N clips (400) into an empty
// catalog and into a copy of each CATALOG, each run after its floor, R rounds (3).
int cliAddBench(const QStringList &args) {
    int count = 400, rounds = 3;
    QStringList catalogs;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--files") && i + 1 < args.size())
            count = std::max(10, args[++i].toInt());
        else if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else
            catalogs << args[i];
    }
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());
    std::printf("making the clips with ffmpeg...\n");
    QStringList sources;
    if (!makeClips(tmp.path(), sources))
        return 1;
    const QString folder = QDir(tmp.path()).filePath(QStringLiteral("season"));
    const QStringList files = fill(folder, sources, count, QStringLiteral("Episode"));
    for (const QString &f : files) {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
            in.readAll();
    }
    const QString empty = QDir(tmp.path()).filePath(QStringLiteral("empty.vdq"));
    vq::Catalog::createStarter(empty);
    catalogs.prepend(empty);
    struct Size {
        qint64 titles = 0, episodes = 0;
    };
    std::vector<Size> sizes;
    for (const QString &c : catalogs) {
        vq::Catalog cat(c, true, false);
        sizes.push_back({cat.titleCount(), cat.episodeCount()});
    }
    const QString copy = QDir(tmp.path()).filePath(QStringLiteral("run.vdq"));
    std::vector<std::vector<AddRun>> runs(size_t(catalogs.size()));
    std::vector<std::vector<vq::bench::Sample>> floors(size_t(catalogs.size())),
        chosen(size_t(catalogs.size()));
    for (int r = 0; r < rounds; ++r)
        for (int k = 0; k < catalogs.size(); ++k) {
            vq::Catalog::removeTemp(copy);
            QFile::remove(copy);
            if (!QFile::copy(catalogs[k], copy)) {
                std::printf("cannot copy %s\n", qPrintable(catalogs[k]));
                return 1;
            }
            rowsStored(copy); // read once: the copy in the page cache for both
            floors[size_t(k)].push_back(serialProbe(files));
            chosen[size_t(k)].push_back(serialProbe(files, vq::ParseDepth::Chosen));
            const AddRun a = runAdd(copy, folder);
            if (!a.ok || a.stored != count) {
                std::printf("the add into %s failed (%d stored)\n", qPrintable(catalogs[k]), a.stored);
                return 1;
            }
            runs[size_t(k)].push_back(a);
        }
    QFile::remove(copy);

    using vq::bench::median;
    double loads[3] = {0, 0, 0};
    if (FILE *f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf %lf %lf", &loads[0], &loads[1], &loads[2]) != 3)
            loads[0] = -1;
        std::fclose(f);
    }
    std::printf("\n%d short clips, %d rounds, load average %.2f on %d cores; medians of each figure and of "
                "the ratios of each pair\n",
                count, rounds, loads[0], QThread::idealThreadCount());
    std::printf("floor: the files probed one after another in this process at the library's default depth; "
                "beside it the same at the depth the tool's probe chooses\n");
    const auto pick = [](const std::vector<AddRun> &v, double AddRun::*m) {
        std::vector<double> x;
        for (const AddRun &a : v)
            x.push_back(a.*m);
        return median(x);
    };
    bool allOk = true;
    for (size_t k = 0; k < runs.size(); ++k) {
        std::vector<double> fw, fc, cw, ratio, ratioChosen, vsEmptyWall, vsEmptyCpu, hwm;
        for (size_t r = 0; r < runs[k].size(); ++r) {
            const AddRun &a = runs[k][r];
            const vq::bench::Sample &f = floors[k][r];
            fw.push_back(f.wall), fc.push_back(f.cpu);
            ratio.push_back(a.wall / f.wall);
            cw.push_back(chosen[k][r].wall);
            ratioChosen.push_back(a.wall / chosen[k][r].wall);
            hwm.push_back(double(a.hwmKb) / 1024);
            const AddRun &e = runs[0][r];
            vsEmptyWall.push_back(a.wall / e.wall);
            vsEmptyCpu.push_back((a.self + a.workers) / (e.self + e.workers));
        }
        const double rt = median(ratio);
        const bool timeOk = rt <= 0.5;
        std::printf("add into %lld titles / %lld episodes:\n", sizes[k].titles, sizes[k].episodes);
        std::printf(
            "  wall %9.1f ms  (floor %9.1f ms, cpu %9.1f ms): %.2fx the serial probe (limit 0.5) %s\n",
            pick(runs[k], &AddRun::wall), median(fw), median(fc), rt, timeOk ? "ok" : "MISSED");
        std::printf("  against the serial probe at the chosen depth (wall %.1f ms): %.2fx\n", median(cw),
                    median(ratioChosen));
        // What the run needs of the processor: the workers share the cores, the tool's thread stores.
        const int cores = std::min(vq::defaultProbeWorkers(), QThread::idealThreadCount());
        const double bound = std::max(pick(runs[k], &AddRun::self), pick(runs[k], &AddRun::workers) / cores);
        std::printf("  cpu: the tool's process %.1f ms, the probe workers %.1f ms (on %d free cores at least "
                    "%.1f ms, %.2fx the floor's cpu); peak memory %.1f MB\n",
                    pick(runs[k], &AddRun::self), pick(runs[k], &AddRun::workers), cores, bound,
                    bound / median(fc), median(hwm));
        allOk = allOk && timeOk;
        if (k == 0)
            continue;
        std::vector<double> emptyHwm;
        for (const AddRun &e : runs[0])
            emptyHwm.push_back(double(e.hwmKb) / 1024);
        const double memLimit = 1.2 * median(emptyHwm) + 30;
        const bool againstOk = median(vsEmptyWall) <= 1.3 && median(vsEmptyCpu) <= 1.3;
        const bool memOk = median(hwm) <= memLimit;
        std::printf("  against the add into the empty catalog: wall %.2fx, cpu (tool and workers) %.2fx "
                    "(limit 1.3) %s; memory %.1f MB (limit %.1f MB) %s\n",
                    median(vsEmptyWall), median(vsEmptyCpu), againstOk ? "ok" : "MISSED", median(hwm),
                    memLimit, memOk ? "ok" : "MISSED");
        allOk = allOk && againstOk && memOk;
    }
    return allOk ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 3 && qstrcmp(argv[1], "--add-child") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
        QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
        return addChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
    if (argc > 1 && qstrcmp(argv[1], "--cli-add") == 0)
        return cliAddBench(QCoreApplication::arguments().mid(2));
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());

    const QString big = argc > 1
                            ? QString::fromLocal8Bit(argv[1])
                            : QDir(QDir::tempPath()).filePath(QStringLiteral("vq-bench-20000-400000.vdq"));
    const int count = argc > 2 ? std::max(10, std::atoi(argv[2])) : 400;
    if (!QFileInfo::exists(big)) {
        std::printf("generating %s...\n", qPrintable(big));
        vq::bench::generateCatalog(big, 20000, 400000);
    }
    const QString catalog = QDir(tmp.path()).filePath(QStringLiteral("intake.vdq"));
    if (!QFile::copy(big, catalog)) {
        std::printf("cannot copy %s\n", qPrintable(big));
        return 1;
    }

    std::printf("making the clips with ffmpeg...\n");
    QStringList sources;
    if (!makeClips(tmp.path(), sources))
        return 1;
    const QString folder = QDir(tmp.path()).filePath(QStringLiteral("season"));
    const QStringList files = fill(folder, sources, count, QStringLiteral("Episode"));
    const QString folder2 = QDir(tmp.path()).filePath(QStringLiteral("season 2"));
    fill(folder2, sources, count, QStringLiteral("Other"));
    // Every file read once, so that both ways find them in the page cache.
    for (const QString &f : files) {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
            in.readAll();
    }

    // One after another, in this process, at the library's default depth.
    QElapsedTimer t;
    double cpu = threadCpuMs();
    t.start();
    int probed = 0;
    for (const QString &f : files)
        probed += vq::probeMedia(QFile::encodeName(f), vq::ParseDepth::LibraryDefault).ok() ? 1 : 0;
    const double serialMs = t.nsecsElapsed() / 1e6, serialCpu = threadCpuMs() - cpu;
    // The same at the chosen depth, for the share of the two gains.
    cpu = threadCpuMs();
    t.restart();
    for (const QString &f : files)
        vq::probeMedia(QFile::encodeName(f));
    const double serialChosenMs = t.nsecsElapsed() / 1e6, serialChosenCpu = threadCpuMs() - cpu;

    // Through the workers alone, nothing stored: what the pool costs beyond the probes.
    double poolMs = 0, poolWorkersCpu = childrenCpuMs();
    int workers = 0;
    {
        vq::ProbePool pool;
        workers = pool.workerCount();
        QEventLoop loop;
        int left = int(files.size());
        t.restart();
        for (const QString &f : files)
            pool.probe(QFile::encodeName(f), [&](const vq::ProbeResult &) {
                if (--left == 0)
                    loop.quit();
            });
        loop.exec();
        poolMs = t.nsecsElapsed() / 1e6;
    }
    poolWorkersCpu = childrenCpuMs() - poolWorkersCpu; // the workers are reaped with their pool

    vq::rememberCatalogPath(catalog);
    vq::ScriptedDialogs dialogs;
    int titles = 0, episodesBefore = 0, stored = 0;
    double runMs = 0, runMainCpu = 0, runWorkersCpu = 0, gapMs = 0, gapAfterFirstMs = 0, closingMs = 0;
    {
        auto win = std::make_unique<vq::TView_Base>(dialogs);
        if (!win->FormCreate())
            return 1;
        win->show();
        win->setActivePage(vq::TView_Base::TabNewA);
        QCoreApplication::processEvents();
        auto *h = win->findChild<vq::TIntakeHandlers *>();
        vq::TPageIntake *page = win->intakePage();
        titles = win->GV4().RowCount();
        episodesBefore = rowsStored(catalog);

        h->selectFolder(folder);
        h->See();
        win->GV4().MoveToCell(1, titles / 2);
        runWorkersCpu = childrenCpuMs();
        h->OpenAVI(QFileInfo(files.first()).fileName());
        if (!waitFor([&] { return !h->probing(); }, 30000) || page->EName->text().isEmpty()) {
            std::printf("the first probe never came: %s\n", qPrintable(dialogs.errors().join(u';')));
            return 1;
        }

        LoopWatch watch;
        // Progress positions come from the second row on; the first one marks the second row stored.
        watch.afterFirst = [&] { return !h->progressSeen().isEmpty() && h->progressSeen().last() >= 1; };
        watch.start();
        cpu = threadCpuMs();
        t.restart();
        QMetaObject::invokeMethod(page->BAddAll, "click", Qt::QueuedConnection);
        waitFor([&] { return h->adding(); }, 5000);
        waitFor([&] { return !h->adding(); }, 600000);
        runMs = t.nsecsElapsed() / 1e6;
        runMainCpu = threadCpuMs() - cpu;
        watch.stop();
        gapMs = watch.longestGapNs / 1e6;
        gapAfterFirstMs = watch.longestAfterFirstNs / 1e6;
        t.restart();
        waitFor(
            [&] {
                return dialogs.count(QStringLiteral("inform")) + dialogs.count(QStringLiteral("showError")) >
                       0;
            },
            600000);
        closingMs = t.nsecsElapsed() / 1e6;
        stored = rowsStored(catalog) - episodesBefore;
        win->close();
    }
    runWorkersCpu = childrenCpuMs() - runWorkersCpu;

    // Cancel: a second folder in a second window, stopped once a quarter of it is stored.
    double cancelMs = 0, cancelReachedMs = 0;
    bool nothingAfter = false;
    {
        auto win = std::make_unique<vq::TView_Base>(dialogs);
        if (!win->FormCreate())
            return 1;
        win->show();
        win->setActivePage(vq::TView_Base::TabNewA);
        QCoreApplication::processEvents();
        auto *h = win->findChild<vq::TIntakeHandlers *>();
        vq::TPageIntake *page = win->intakePage();
        h->selectFolder(folder2);
        h->See();
        win->GV4().MoveToCell(1, titles / 3);
        h->OpenAVI(page->LB1->item(0)->text());
        waitFor([&] { return !h->probing(); }, 30000);
        QMetaObject::invokeMethod(page->BAddAll, "click", Qt::QueuedConnection);
        waitFor([&] { return h->adding(); }, 5000);
        waitFor([&] { return h->progressSeen().size() > count / 4; }, 600000);
        QElapsedTimer c;
        // Connected after the window's handler: runs once the handler has stopped the run.
        double stoppedMs = -1;
        QObject::connect(page->BCancel, &QPushButton::clicked, page, [&] {
            if (!h->adding())
                stoppedMs = c.nsecsElapsed() / 1e6;
        });
        c.start();
        QMetaObject::invokeMethod(page->BCancel, "click", Qt::QueuedConnection);
        waitFor([&] { return !h->adding(); }, 10000);
        cancelMs = stoppedMs;
        // Then the window refreshes its lists, as after any run.
        waitFor([&] { return dialogs.count(QStringLiteral("inform")) >= 2; }, 10000);
        cancelReachedMs = c.nsecsElapsed() / 1e6;
        const int atCancel = rowsStored(catalog);
        waitFor([] { return false; }, 500);
        nothingAfter = rowsStored(catalog) == atCancel;
    }

    double loads[3] = {0, 0, 0};
    if (FILE *f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf %lf %lf", &loads[0], &loads[1], &loads[2]) != 3)
            loads[0] = -1;
        std::fclose(f);
    }
    const int cores = QThread::idealThreadCount();
    const double ratio = runMs / serialMs;
    // What the run needs of the processor: the workers share the cores, the window's thread stores.
    const double boundMs = std::max(runMainCpu, runWorkersCpu / std::min(workers, cores));
    std::printf("\ncatalog: %d titles, %d episodes before the run; load average %.2f on %d cores\n", titles,
                episodesBefore, loads[0], cores);
    std::printf("files: %d short clips (%lld kinds, mostly Matroska and MPEG-4), %d workers\n", count,
                static_cast<long long>(sources.size()), workers);
    std::printf("                                            wall        processor\n");
    std::printf("probed one after another, default depth:  %9.1f ms %9.1f ms (%d answered)\n", serialMs,
                serialCpu, probed);
    std::printf("probed one after another, chosen depth:   %9.1f ms %9.1f ms\n", serialChosenMs,
                serialChosenCpu);
    std::printf("probed through the workers, nothing stored: %7.1f ms %9.1f ms in the workers\n", poolMs,
                poolWorkersCpu);
    std::printf("\"Добавить всё\", click to last row stored:  %9.1f ms, %d rows: %.2f x the serial probes "
                "(limit 0.35) %s\n",
                runMs, stored, ratio, ratio <= 0.35 ? "ok" : "SLOW");
    std::printf("  processor: window thread %.1f ms, workers %.1f ms; on %d free cores that is %.1f ms, "
                "%.2f x the serial probes' processor time\n",
                runMainCpu, runWorkersCpu, std::min(workers, cores), boundMs, boundMs / serialCpu);
    std::printf("longest wait of the event loop meanwhile:  %9.1f ms (limit 50) %s\n", gapMs,
                gapMs <= 50 ? "ok" : "SLOW");
    std::printf("  the same after the first row is stored:  %9.1f ms (limit 50) %s\n", gapAfterFirstMs,
                gapAfterFirstMs <= 50 ? "ok" : "SLOW");
    std::printf("closing refresh and message after it:      %9.1f ms\n", closingMs);
    std::printf(
        "\"Отмена\" to the run stopped:               %9.1f ms (limit 200) %s; nothing stored after: %s\n",
        cancelMs, cancelMs <= 200 ? "ok" : "SLOW", nothingAfter ? "yes" : "NO");
    std::printf("  and with the refresh of the window's lists after it: %.1f ms\n", cancelReachedMs);
    return ratio <= 0.35 && gapMs <= 50 && cancelMs >= 0 && cancelMs <= 200 && nothingAfter && stored == count
               ? 0
               : 1;
}
