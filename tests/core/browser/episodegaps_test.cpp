// The episodes a title lacks, by the numbers its files' names give.
#include "browser/episodegaps.h"
#include "browser/titlefilter.h"
#include "catalog/catalog.h"
#include "support/temp_catalog.h"

#include <gtest/gtest.h>

using namespace vq;
using vq::test::TempCatalog;

TEST(EpisodeGaps, MissingNumbers) {
    struct Case {
        const char *what, *count;
        std::vector<std::pair<double, double>> numbers;
        const char *missing;
    };
    const Case cases[] = {
        {"count given", "13", {{1, 1}, {2, 2}, {3, 6}, {8, 11}, {13, 13}}, "7, 12"},
        {"highest seen, no count", "", {{1, 1}, {3, 3}, {9, 9}}, "2, 4-8"},
        {"count not a number", "12+OVA", {{1, 1}, {3, 3}}, "2"},
        {"v1 and v2 or two groups of one episode", "3", {{1, 1}, {2, 2}, {2, 2}, {3, 3}, {3, 3}}, ""},
        {"a batch covers its range", "4", {{1, 4}}, ""},
        {"a half episode is none", "", {{1, 1}, {2.5, 2.5}, {3, 3}}, "2"},
        {"numbered on from the first season", "12", {{13, 18}, {20, 24}}, "19"},
        {"count above what is seen", "5", {{1, 3}}, "4, 5"},
        {"nothing numbered", "12", {}, ""},
        {"a misread huge range is not taken", "", {{1, 1}, {2, 999999}}, ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(missingList(missingEpisodes(QString::fromUtf8(c.count), c.numbers)),
                  QString::fromUtf8(c.missing))
            << c.what;
    }
}

// Read from the file: only episodes count, the filter lists exactly the titles that lack one.
TEST(EpisodeGaps, TitlesAndFilterFromTheFile) {
    TempCatalog t;
    const qint64 full = t.addTitle(QStringLiteral("Full"), QStringLiteral("2"));
    const qint64 holes = t.addTitle(QStringLiteral("Holes"));
    const qint64 counted = t.addTitle(QStringLiteral("Counted"), QStringLiteral("3"));
    t.addTitle(QStringLiteral("Empty"), QStringLiteral("3"));
    for (const char *n : {"Full - 01v2.mkv", "[A] Full - 01.mkv", "[B] Full - 02.mkv", "Full - NCOP 5.mkv"})
        t.addEpisode(full, {.name = QString::fromUtf8(n)});
    for (const char *n : {"Holes - 01.mkv", "Holes - 04.mkv", "Holes OVA 2.mkv"})
        t.addEpisode(holes, {.name = QString::fromUtf8(n)});
    t.addEpisode(counted, {.name = QStringLiteral("Counted - 02.mkv")});
    // Stored by a writer that reads no names: the upgrade reads them.
    t.exec(QStringLiteral("UPDATE \"Серии\" SET \"Kind\" = NULL"));
    t.exec(QStringLiteral("PRAGMA user_version = 4"));
    Catalog c(t.path());
    EXPECT_EQ(missingList(titleMissingEpisodes(c, full)), QString());
    EXPECT_EQ(missingList(titleMissingEpisodes(c, holes)), QStringLiteral("2, 3"));
    EXPECT_EQ(missingList(titleMissingEpisodes(c, counted)), QStringLiteral("1, 3"));
    EXPECT_EQ(titlesWithGaps(c), (std::vector<qint64>{holes, counted}));
    TitleFilter f;
    f.incomplete = true;
    f.type = 0;
    EXPECT_EQ(applyTitleFilter(c, f).ids, (std::vector<qint64>{holes, counted}));
}
