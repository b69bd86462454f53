// Reading release names at collection scale:
//   bench_names [names]
// Generates `names` release names (400,000 by default) in the ways releases are named (fansub
// brackets, scene dots, underscores, Cyrillic, seasons, specials, batches, movies) and measures the
// CPU time of reading them all, the median of five runs, beside a floor measured in the same run:
// each name copied and cut into its blank- and bracket-separated words. Target: under 1 s.
#include "intake/releasename.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double medianCpuMs(int runs, const std::function<void()> &op) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double start = cpuMs();
        op();
        ms.push_back(cpuMs() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

std::vector<QString> generate(int count) {
    const QStringList titles = {
        "Sousou no Frieren",
        "Mob Psycho 100",
        "Steins;Gate 0",
        "86 Eighty-Six",
        "Kaiju No. 8",
        "Re:Zero kara Hajimeru Isekai Seikatsu",
        "Kimetsu no Yaiba - Hashira Geiko-hen",
        "One Piece",
        "Shingeki no Kyojin The Final Season",
        "Spy x Family",
        "Kusuriya no Hitorigoto",
        "Dandadan",
        "Магическая битва",
        "Атака титанов",
        "Клинок, рассекающий демонов",
        "Ковбой Бибоп",
        "Cowboy Bebop",
        "Made in Abyss",
        "Bocchi the Rock!",
        "Yuru Camp△",
        "3-gatsu no Lion",
        "Tensei shitara Slime Datta Ken",
        "Boku no Hero Academia",
        "Vinland Saga",
        "Gintama'",
    };
    const QStringList groups = {"SubsPlease", "Erai-raws",    "Judas",  "ASW",       "EMBER",
                                "Anime Time", "AniLibria.TV", "Commie", "Coalgirls", "Beatrice-Raws"};
    const QStringList tails = {"(1080p)",         "[1080p][HEVC x265 10bit][Multi-Subs]",
                               "[BD 1080p FLAC]", "(BD 1920x1080 x265-10Bit FLAC)",
                               "[WEBRip 1080p]",  "[720p]"};
    std::vector<QString> names;
    names.reserve(size_t(count));
    uint32_t seed = 12345;
    auto pick = [&](const QStringList &list) -> const QString & {
        seed = seed * 1664525u + 1013904223u;
        return list[int((seed >> 8) % uint32_t(list.size()))];
    };
    for (int i = 0; i < count; ++i) {
        const QString &title = pick(titles);
        const QString ep = QString::number(1 + i % 24).rightJustified(2, u'0');
        const QString crc =
            QString::number(0x10000000u + uint32_t(i) * 2654435761u % 0xE0000000u, 16).toUpper();
        QString dotted = title;
        dotted.replace(u' ', u'.');
        QString underscored = title;
        underscored.replace(u' ', u'_');
        switch (i % 10) {
        case 0:
        case 1:
        case 2:
            names.push_back(
                QStringLiteral("[%1] %2 - %3 %4 [%5].mkv").arg(pick(groups), title, ep, pick(tails), crc));
            break;
        case 3:
            names.push_back(QStringLiteral("%1.S02E%2.1080p.WEB-DL.AAC2.0.H.264-GRP.mkv").arg(dotted, ep));
            break;
        case 4:
            names.push_back(
                QStringLiteral("[%1]_%2_-_%3_[720p][AAC].mp4").arg(pick(groups), underscored, ep));
            break;
        case 5:
            names.push_back(
                QStringLiteral("[%1] %2 2nd Season - %3v2 %4.mkv").arg(pick(groups), title, ep, pick(tails)));
            break;
        case 6:
            names.push_back(
                QStringLiteral("[%1] %2 - NCOP%3 [BD 1080p].mkv").arg(pick(groups), title, ep.right(1)));
            break;
        case 7:
            names.push_back(QStringLiteral("[%1] %2 (01-%3) %4").arg(pick(groups), title, ep, pick(tails)));
            break;
        case 8:
            names.push_back(QStringLiteral("%1 (20%2) %3.mkv").arg(title, ep, pick(tails)));
            break;
        default:
            names.push_back(QStringLiteral("%1 - %2 - Episode Name %3.mkv").arg(title, ep, pick(tails)));
            break;
        }
    }
    return names;
}

// The floor: each name copied and cut into words at blanks, underscores and brackets.
size_t splitWords(const std::vector<QString> &names) {
    size_t words = 0;
    for (const QString &name : names) {
        const QString copy(name.constData(), name.size());
        bool inWord = false;
        for (QChar c : copy) {
            const bool sep = c == u' ' || c == u'_' || c == u'[' || c == u']' || c == u'(' || c == u')';
            words += !sep && !inWord;
            inWord = !sep;
        }
    }
    return words;
}

} // namespace

int main(int argc, char **argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400000;
    const std::vector<QString> names = generate(count);
    qsizetype chars = 0;
    for (const QString &n : names)
        chars += n.size();
    std::printf("%d names, %.1f characters each on average\n", count, double(chars) / double(count));

    size_t words = 0, titled = 0, numbered = 0;
    const double floorMs = medianCpuMs(5, [&] { words = splitWords(names); });
    const double readMs = medianCpuMs(5, [&] {
        titled = numbered = 0;
        for (const QString &n : names) {
            const vq::ReleaseName r = vq::readReleaseName(n);
            titled += !r.title.isEmpty();
            numbered += !r.episode.isEmpty();
        }
    });
    std::printf("floor (copy and cut into %zu words)  %8.1f ms CPU\n", words, floorMs);
    std::printf("readReleaseName                      %8.1f ms CPU  (%.0f ns a name, %.1f x the floor; "
                "target: 1000 ms)\n",
                readMs, readMs * 1e6 / count, readMs / floorMs);
    std::printf("names with a title: %zu, with an episode: %zu\n", titled, numbered);
    return 0;
}
