// The catalog's own reads and writes on a large catalog, beside SQLite's own grouping queries over
// the same file in the same run:
//   bench_catalog [catalog.vdq] [titles] [episodes]
// The catalog is generated when the file does not exist (default 20,000 titles, 400,000 episodes).
#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog_generator.h"
#include "cli.h"
#include "gridview/griddata.h"
#include "intake/episodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()> &op) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        op();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

long peakRssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// SQLite grouping every episode, as the stored views do: the yardstick of the run.
double referenceOnce(const QString &path) {
    return medianMs(1, [&] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        for (const char *sql : {"SELECT * FROM \"Rjk\"", "SELECT * FROM \"Ext\"", "SELECT * FROM \"Up_time\"",
                                "SELECT * FROM \"All t\""}) {
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW) {
            }
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
    });
}

void runCli(const QStringList &args) {
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    if (vq::cli::run(args, out, err) != 0)
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.join(QLatin1Char(' '))), qPrintable(errText));
}

// The machine is shared: each run of a command is paired with a run of the reference, so that
// both see the same load, and the ratio is the median of the pairs.
struct Paired {
    double ms = 0, ratio = 0;
};

Paired pairedCliMs(const QString &path, const QStringList &args, int runs = 7) {
    std::vector<double> ms, ratios;
    for (int i = 0; i < runs; ++i) {
        const double ref = referenceOnce(path);
        QElapsedTimer t;
        t.start();
        runCli(args);
        const double m = double(t.nsecsElapsed()) / 1e6;
        ms.push_back(m);
        ratios.push_back(m / ref);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(ratios.begin(), ratios.end());
    return {ms[ms.size() / 2], ratios[ratios.size() / 2]};
}

void row(const char *what, const Paired &p, const char *target, bool ok) {
    std::printf("%-44s %9.2f ms  %5.3fx  target %-10s %s\n", what, p.ms, p.ratio, target,
                ok ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    int titles = 0, episodes = 0;
    const QString path = vq::bench::benchCatalog(argc, argv, QStringLiteral("vq-bench"), titles, episodes);
    qint64 biggest = 0;
    int biggestCount = 0;
    {
        vq::CatalogSession s;
        s.open(path);
        episodes = int(s.catalog().episodeCount());
        std::printf("catalog %s: %d titles, %d episodes, %.1f MB\n", qPrintable(path), s.Name.recordCount(),
                    episodes, double(QFileInfo(path).size()) / 1048576.0);
        // The title with the most episodes, from the kept sums.
        vq::Statement st(
            s.catalog().handle(),
            QStringLiteral("SELECT \"ID\", \"Count\" FROM \"Sum_title\" ORDER BY \"Count\" DESC LIMIT 1"));
        if (st.step()) {
            biggest = sqlite3_column_int64(st.handle(), 0);
            biggestCount = sqlite3_column_int(st.handle(), 1);
        }
    }
    std::vector<double> refs;
    for (int i = 0; i < 5; ++i)
        refs.push_back(referenceOnce(path));
    std::sort(refs.begin(), refs.end());
    std::printf("%-44s %9.2f ms  (SQLite grouping every episode; each figure below is paired with it)\n",
                "reference", refs[refs.size() / 2]);
    const QStringList cat = {QStringLiteral("--catalog"), path};
    const bool large = episodes >= 1000000;
    const Paired titlesRun = pairedCliMs(path, cat + QStringList{QStringLiteral("titles")});
    row("vidoteq-cli titles", titlesRun, large ? "<= 400 ms" : "<= 0.25x",
        large ? titlesRun.ms <= 400 : titlesRun.ratio <= 0.25);
    {
        // Where the time of `titles` goes.
        QElapsedTimer t;
        t.start();
        vq::CatalogSession s;
        s.open(path);
        const double openMs = double(t.nsecsElapsed()) / 1e6;
        vq::UpStat(s);
        const double statMs = double(t.nsecsElapsed()) / 1e6 - openMs;
        s.Name.setFiltered(false);
        // The sums are read while the names are sorted.
        vq::SummaryReader reader(s);
        const int n = s.Name.recordCount();
        const double readMs = double(t.nsecsElapsed()) / 1e6 - openMs - statMs;
        const int parts = vq::SummaryReader::partsFor(n);
        std::vector<qsizetype> charsOf(static_cast<size_t>(parts));
        reader.textsInStoredOrder(parts, [&](int part, int, qint64, const vq::TExportList &texts) {
            charsOf[size_t(part)] += texts.Title.size();
        });
        const qsizetype chars = std::accumulate(charsOf.begin(), charsOf.end(), qsizetype(0));
        std::printf(
            "  titles: open %.1f ms, totals %.1f ms, sums and order %.1f ms, %d titles' texts %.1f ms "
            "(%lld characters of names)\n",
            openMs, statMs, readMs, n, double(t.nsecsElapsed()) / 1e6 - openMs - statMs - readMs,
            qint64(chars));
    }
    {
        // The window's first fill: the lists and the summary from a catalog just opened.
        QElapsedTimer t;
        t.start();
        vq::CatalogSession s;
        s.open(path);
        const double openMs = double(t.nsecsElapsed()) / 1e6;
        vq::UpStat(s);
        s.Name.setFiltered(false);
        vq::GridData gv, gv4, sv;
        vq::setupTitleGrid(gv);
        vq::setupTitleGrid(gv4);
        vq::setupSummaryGrid(sv);
        t.restart();
        vq::LoadName(s, gv, &gv4);
        const double nameMs = double(t.nsecsElapsed()) / 1e6;
        t.restart();
        vq::TExportList el;
        vq::LoadGvSv(s, sv, el);
        const double svMs = double(t.nsecsElapsed()) / 1e6;
        t.restart();
        vq::LoadName(s, gv, &gv4);
        vq::LoadGvSv(s, sv, el);
        std::printf("  first fill: open %.1f ms, title lists %.1f ms, summary %.1f ms; again %.1f ms\n",
                    openMs, nameMs, svMs, double(t.nsecsElapsed()) / 1e6);
    }
    const Paired statsRun = pairedCliMs(path, cat + QStringList{QStringLiteral("stats")});
    row("vidoteq-cli stats", statsRun, "<= 30 ms", statsRun.ms <= 30);
    const Paired episodesRun =
        pairedCliMs(path, cat + QStringList{QStringLiteral("episodes"), QStringLiteral("--title-id"),
                                            QString::number(biggest)});
    std::printf("(episodes of title %lld: %d)\n", biggest, biggestCount);
    row("vidoteq-cli episodes --title-id", episodesRun, "<= 30 ms", episodesRun.ms <= 30);

    {
        // Storing probed files into a copy of the catalog: the cost of AddToBase alone.
        const QString copy = path + QStringLiteral(".store-bench");
        vq::Catalog::removeTemp(copy);
        {
            vq::CatalogSession s;
            s.open(path);
            s.catalog().copyTo(copy);
        }
        vq::CatalogSession s;
        s.open(copy);
        vq::UpStat(s);
        s.Name.setFilter(vq::Filter::equals(QStringLiteral("ID"), biggest));
        s.Name.setFiltered(true);
        s.Series.setFilter(vq::Filter::equals(QStringLiteral("Название"), biggest));
        s.Series.setFiltered(true);
        s.Series.recordCount();
        vq::TVVF ep;
        ep.TitleId = qint32(biggest);
        ep.SizeBytes = 350000000;
        ep.DurationMs = 1420000;
        ep.Width = 1280;
        ep.Height = 720;
        ep.VideoCodec = QStringLiteral("V_MPEG4/ISO/AVC");
        ep.AudioCodec = QStringLiteral("AAC LC");
        ep.ContainerFormat = QStringLiteral("Matroska");
        ep.AudioStreamCount = 1;
        vq::StoreChoice choice;
        choice.soundId = 0;
        choice.subInId = 1;
        choice.subExtId = 2;
        choice.widthText = QStringLiteral("1280");
        choice.heightText = QStringLiteral("720");
        int k = 0;
        const double storeMs = medianMs(40, [&] {
            ep.FileName = QStringLiteral("bench %1.mkv").arg(++k);
            vq::AddToBase(s, ep, choice);
        });
        std::printf("%-44s %9.2f ms         target %-10s %s\n", "storing one probed file (AddToBase)",
                    storeMs, "<= 2 ms", storeMs <= 2 ? "ok" : "MISSED");
        s.close();
        vq::Catalog::removeTemp(copy);
    }
    std::printf("peak memory of this process: %.1f MB\n", double(peakRssKb()) / 1024.0);
    return 0;
}
