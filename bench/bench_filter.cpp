// The title filters on a large catalog: the time of one filter change (applyTitleFilter) for each
// field and a few combinations, and the tool's `titles` with and without a filter:
//   bench_filter [catalog.vdq] [titles] [episodes]
// The catalog is generated when the file does not exist (default 20,000 titles, 400,000 episodes);
// a fifth of the episodes get another codec and container and a tenth of the titles an
// alternative name, so that the filters have something to tell apart.
#include "browser/titlefilter.h"
#include "catalog/catalog.h"
#include "catalog_generator.h"
#include "cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
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

void diversify(const QString &path) {
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(
        db,
        "BEGIN;"
        "INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (3, 'DivX'), (4, 'MPEG-2 Audio layer 3');"
        "INSERT INTO \"Format\"(\"ID\", \"Name\") VALUES (2, 'AVI');"
        "UPDATE \"Серии\" SET \"Video_Codec_id\" = 3, \"Audio_Codec_id\" = 4, \"Format_Pack_id\" = 2 "
        "WHERE \"Название\" % 5 = 0;"
        "INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") "
        "SELECT \"ID\", 'Альтернатива ' || \"ID\" FROM \"Список\" WHERE \"ID\" % 10 = 3;"
        "COMMIT",
        nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

double cliMs(const QStringList &args) {
    return medianMs(5, [&] {
        QString out, err;
        QTextStream o(&out), e(&err);
        if (vq::cli::run(args, o, e) != 0)
            std::fprintf(stderr, "%s\n", qPrintable(err));
    });
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    int titles = 0, episodes = 0;
    const QString path =
        vq::bench::benchCatalog(argc, argv, QStringLiteral("bench_filter"), titles, episodes, diversify);
    vq::Catalog catalog(path, false, false); // opening for writing adds the filter indexes if missing
    std::printf("catalog %s: %lld titles, %lld episodes\n", qPrintable(path), catalog.titleCount(),
                catalog.episodeCount());

    using vq::TitleFilter;
    struct Case {
        const char *what;
        std::function<void(TitleFilter &)> set;
    };
    const std::vector<Case> cases = {
        {"type", [](TitleFilter &f) { f.type = 3; }},
        {"sound", [](TitleFilter &f) { f.sound = 1; }},
        {"embedded subtitles", [](TitleFilter &f) { f.subIn = 1; }},
        {"external subtitles", [](TitleFilter &f) { f.subExt = 1; }},
        {"frame 1280x720", [](TitleFilter &f) { f.frameWidth = 1280, f.frameHeight = 720; }},
        {"height at least 720", [](TitleFilter &f) { f.minHeight = 720; }},
        {"video codec (80% of episodes)", [](TitleFilter &f) { f.videoCodec = 1; }},
        {"video codec (20% of episodes)", [](TitleFilter &f) { f.videoCodec = 3; }},
        {"audio codec", [](TitleFilter &f) { f.audioCodec = 4; }},
        {"container", [](TitleFilter &f) { f.format = 2; }},
        {"within 30 days", [](TitleFilter &f) { f.sinceDays = 30; }},
        {"no episodes", [](TitleFilter &f) { f.empty = true; }},
        {"name start \"na\"", [](TitleFilter &f) { f.name = QStringLiteral("na"); }},
        {"name start \"ел\" (ё)", [](TitleFilter &f) { f.name = QStringLiteral("ел"); }},
        {"name anywhere \"bebop\"",
         [](TitleFilter &f) { f.name = QStringLiteral("bebop"), f.anywhere = true; }},
        {"alternative name", [](TitleFilter &f) { f.name = QStringLiteral("альтернатива 1"); }},
        {"sound + height >= 720 + recent",
         [](TitleFilter &f) { f.sound = 1, f.minHeight = 720, f.sinceDays = 30; }},
        {"AVI in DivX", [](TitleFilter &f) { f.format = 2, f.videoCodec = 3; }},
        {"every field",
         [](TitleFilter &f) {
             f.type = 3, f.sound = 0, f.subIn = 1, f.subExt = 2, f.frameWidth = 1280, f.frameHeight = 720;
             f.minHeight = 480, f.videoCodec = 1, f.audioCodec = 2, f.format = 1, f.sinceDays = 365;
             f.name = QStringLiteral("a"), f.anywhere = true;
         }},
    };
    std::printf("%-36s %9s %8s  (target: 30 ms per change with the grid)\n", "applyTitleFilter", "median",
                "titles");
    double worst = 0;
    for (const Case &c : cases) {
        TitleFilter f;
        c.set(f);
        size_t n = 0;
        const double ms = medianMs(7, [&] { n = vq::applyTitleFilter(catalog, f).ids.size(); });
        worst = std::max(worst, ms);
        std::printf("%-36s %6.2f ms %8zu\n", c.what, ms, n);
    }
    std::printf("%-36s %6.2f ms\n", "worst", worst);

    const QStringList base = {QStringLiteral("--catalog"), path, QStringLiteral("titles")};
    std::printf("vidoteq-cli titles                   %6.1f ms\n", cliMs(base));
    std::printf("vidoteq-cli titles --sound 1         %6.1f ms\n",
                cliMs(base + QStringList{QStringLiteral("--sound"), QStringLiteral("1")}));
    std::printf("vidoteq-cli titles --search na       %6.1f ms\n",
                cliMs(base + QStringList{QStringLiteral("--search"), QStringLiteral("na")}));
    return 0;
}
