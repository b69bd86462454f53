// The title filters against what the episodes themselves say, read with plain SQL.
#include "browser/filterview.h"
#include "browser/titlefilter.h"
#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/namefold.h"
#include "catalog/tabledata.h"
#include "gridview/griddata.h"
#include "support/temp_catalog.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <set>

using namespace vq;
using vq::test::TempCatalog;
using vq::test::withoutKeptSums;

namespace {

QString sqlText(const QString &s) {
    return QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// The catalog's rows as the test reads them itself.
struct Episode {
    qint64 title;
    int w, h, sound, subIn, subExt, vcodec, acodec, format;
    qint64 updateMs;
    double size;
    qint64 duration;
};
struct World {
    std::map<qint64, std::pair<int, QString>> titles;       // id: type, name
    std::multimap<qint64, std::pair<qint64, QString>> alts; // title: (alt id, name)
    std::vector<Episode> episodes;
};

// An oracle written apart from the code under test: names folded with QString's own case folding.
QString refFold(const QString &s) {
    return s.toCaseFolded().replace(QChar(0x0451), QChar(0x0435));
}

bool refMatch(const QString &name, const QString &text, bool anywhere) {
    const QString n = refFold(name), t = refFold(text);
    return anywhere ? n.contains(t) : n.startsWith(t);
}

std::vector<qint64> expected(const World &w, const TitleFilter &f, qint64 nowMs, FilterResult *totals) {
    std::vector<qint64> out;
    for (const auto &[id, t] : w.titles) {
        std::vector<const Episode *> eps;
        for (const Episode &e : w.episodes)
            if (e.title == id)
                eps.push_back(&e);
        auto any = [&](const std::function<bool(const Episode &)> &p) {
            return std::any_of(eps.begin(), eps.end(), [&](const Episode *e) { return p(*e); });
        };
        if (f.type && t.first != *f.type)
            continue;
        if (f.empty && !eps.empty())
            continue;
        if (f.sinceDays &&
            !any([&](const Episode &e) { return e.updateMs >= nowMs - *f.sinceDays * 86400000LL; }))
            continue;
        if (f.sound && !any([&](const Episode &e) { return e.sound == *f.sound; }))
            continue;
        if (f.subIn && !any([&](const Episode &e) { return e.subIn == *f.subIn; }))
            continue;
        if (f.subExt && !any([&](const Episode &e) { return e.subExt == *f.subExt; }))
            continue;
        if (f.frameWidth &&
            !any([&](const Episode &e) { return e.w == *f.frameWidth && e.h == *f.frameHeight; }))
            continue;
        if (f.minHeight && !any([&](const Episode &e) { return e.h >= *f.minHeight; }))
            continue;
        if (f.videoCodec && !any([&](const Episode &e) { return e.vcodec == *f.videoCodec; }))
            continue;
        if (f.audioCodec && !any([&](const Episode &e) { return e.acodec == *f.audioCodec; }))
            continue;
        if (f.format && !any([&](const Episode &e) { return e.format == *f.format; }))
            continue;
        if (!f.name.isEmpty() && !refMatch(t.second, f.name, f.anywhere)) {
            auto [a, b] = w.alts.equal_range(id);
            bool found = false;
            for (auto it = a; it != b && !found; ++it)
                found = refMatch(it->second.second, f.name, f.anywhere);
            if (!found)
                continue;
        }
        out.push_back(id);
        if (totals) {
            totals->files += int(eps.size());
            for (const Episode *e : eps) {
                totals->sizeBytes += e->size;
                totals->durationMs += double(e->duration);
            }
        }
    }
    return out;
}

class TitleFilterTest : public ::testing::Test {
protected:
    static constexpr qint64 kNowMs = 1796000000000LL; // a fixed "now", 2026
    TempCatalog t;
    World w;
    QDateTime now = dateTimeFromNaiveMs(kNowMs);

    void SetUp() override {
        t.exec(QStringLiteral(
            "INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (1, 'V_MPEG4/ISO/AVC'), (2, 'DivX'), "
            "(3, 'AAC LC'), (4, 'MPEG-2 Audio layer 3')"));
        t.exec(QStringLiteral(
            "INSERT INTO \"Format\"(\"ID\", \"Name\") VALUES (1, 'Matroska'), (2, 'AVI'), (3, 'MPEG-4')"));
        const QStringList words = {
            QStringLiteral("Евангелион"), QStringLiteral("ёлка"),        QStringLiteral("ЁЖИК"),
            QStringLiteral("Akira"),      QStringLiteral("akira"),       QStringLiteral("O'Brien"),
            QStringLiteral("100% Love"),  QStringLiteral("1000 Cranes"), QStringLiteral("a_b"),
            QStringLiteral("axb"),        QStringLiteral("Σίσυφος"),     QStringLiteral("Елена")};
        const int sizes[][2] = {{640, 480}, {720, 480}, {1280, 720}, {1920, 1080}};
        QRandomGenerator rng(4242);
        t.exec(QStringLiteral("BEGIN"));
        for (int i = 0; i < 160; ++i) {
            const QString name = words[i % words.size()] + QStringLiteral(" %1").arg(i);
            const int type = int(rng.bounded(5));
            const qint64 id = t.addTitle(name, QString(), QString(), type);
            w.titles[id] = {type, name};
            if (i % 5 == 0) {
                const QString alt = words[(i + 3) % words.size()] + QStringLiteral(" alt");
                t.exec(QStringLiteral(
                           "INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") "
                           "VALUES (%1, %2)")
                           .arg(id)
                           .arg(sqlText(alt)));
                w.alts.insert({id, {0, alt}});
            }
            const int n = i % 9 == 0 ? 0 : 1 + int(rng.bounded(6));
            for (int k = 0; k < n; ++k) {
                Episode e{};
                e.title = id;
                const int fs = int(rng.bounded(4));
                e.w = sizes[fs][0];
                e.h = sizes[fs][1];
                e.sound = int(rng.bounded(4));
                e.subIn = int(rng.bounded(3));
                e.subExt = int(rng.bounded(3));
                e.vcodec = 1 + int(rng.bounded(2));
                e.acodec = 3 + int(rng.bounded(2));
                e.format = 1 + int(rng.bounded(3));
                e.updateMs = kNowMs - qint64(rng.bounded(40 * 24)) * 3600000LL;
                e.size = 1e8 + double(rng.bounded(100000));
                e.duration = 1000 + rng.bounded(5000);
                t.exec(QStringLiteral(
                           "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\", \"Ширина\", "
                           "\"Высота\", \"Длительность\", \"Звук\", \"Субтитры встроенные\", "
                           "\"Субтитры внешние\", \"Video_Codec_id\", \"Audio_Codec_id\", "
                           "\"Format_Pack_id\", \"Update\") VALUES (%1, 'e', %2, %3, %4, %5, %6, %7, "
                           "%8, %9, %10, %11, '%12')")
                           .arg(id)
                           .arg(e.size, 0, 'f', 0)
                           .arg(e.w)
                           .arg(e.h)
                           .arg(e.duration)
                           .arg(e.sound)
                           .arg(e.subIn)
                           .arg(e.subExt)
                           .arg(e.vcodec)
                           .arg(e.acodec)
                           .arg(e.format)
                           .arg(naiveMsToStorageText(e.updateMs)));
                w.episodes.push_back(e);
            }
        }
        t.exec(QStringLiteral("COMMIT"));
    }

    static TitleFilter frame(int wd, int ht) {
        TitleFilter f;
        f.frameWidth = wd;
        f.frameHeight = ht;
        return f;
    }

    std::vector<std::pair<const char *, TitleFilter>> cases() const {
        std::vector<std::pair<const char *, TitleFilter>> c;
        auto add = [&](const char *label, auto set) {
            TitleFilter f;
            set(f);
            c.emplace_back(label, f);
        };
        add("type", [](TitleFilter &f) { f.type = 3; });
        add("type 0", [](TitleFilter &f) { f.type = 0; });
        add("sound", [](TitleFilter &f) { f.sound = 1; });
        add("sub in", [](TitleFilter &f) { f.subIn = 2; });
        add("sub ext", [](TitleFilter &f) { f.subExt = 0; });
        add("frame", [](TitleFilter &f) { f = frame(1280, 720); });
        add("frame none", [](TitleFilter &f) { f = frame(1280, 480); });
        add("min height", [](TitleFilter &f) { f.minHeight = 720; });
        add("video codec", [](TitleFilter &f) { f.videoCodec = 2; });
        add("audio codec", [](TitleFilter &f) { f.audioCodec = 4; });
        add("format", [](TitleFilter &f) { f.format = 2; });
        add("since 7", [](TitleFilter &f) { f.sinceDays = 7; });
        add("since 0", [](TitleFilter &f) { f.sinceDays = 0; });
        add("empty", [](TitleFilter &f) { f.empty = true; });
        add("empty and sound", [](TitleFilter &f) {
            f.empty = true;
            f.sound = 1;
        });
        add("sound, min height", [](TitleFilter &f) {
            f.sound = 1;
            f.minHeight = 720;
        });
        add("avi in divx", [](TitleFilter &f) {
            f.format = 2;
            f.videoCodec = 2;
        });
        add("no ext subs, recent, type", [](TitleFilter &f) {
            f.subExt = 2;
            f.sinceDays = 10;
            f.type = 1;
        });
        add("name and codec", [](TitleFilter &f) {
            f.name = QStringLiteral("ак");
            f.audioCodec = 3;
        });
        add("everything", [](TitleFilter &f) {
            f = frame(1920, 1080);
            f.sound = 0;
            f.subIn = 1;
            f.subExt = 1;
            f.minHeight = 480;
            f.videoCodec = 1;
            f.audioCodec = 3;
            f.format = 1;
            f.sinceDays = 30;
            f.name = QStringLiteral("е");
        });
        // Names: letter case in several alphabets, ё as е, alternative names, literal wildcards.
        add("cyrillic prefix", [](TitleFilter &f) { f.name = QStringLiteral("ЕВАН"); });
        add("yo as ye", [](TitleFilter &f) { f.name = QStringLiteral("елк"); });
        add("ye as yo", [](TitleFilter &f) { f.name = QStringLiteral("Ёлен"); });
        add("latin case", [](TitleFilter &f) { f.name = QStringLiteral("AKI"); });
        add("greek case", [](TitleFilter &f) { f.name = QStringLiteral("ΣΊΣ"); });
        add("apostrophe", [](TitleFilter &f) { f.name = QStringLiteral("o'b"); });
        add("percent", [](TitleFilter &f) { f.name = QStringLiteral("100%"); });
        add("underscore", [](TitleFilter &f) { f.name = QStringLiteral("a_b"); });
        add("anywhere", [](TitleFilter &f) {
            f.name = QStringLiteral("ЖИК 1");
            f.anywhere = true;
        });
        add("alt only", [](TitleFilter &f) {
            f.name = QStringLiteral("alt");
            f.anywhere = true;
        });
        add("sql text", [](TitleFilter &f) { f.name = QStringLiteral("x'); DROP TABLE \"Список\"; --"); });
        return c;
    }
};

TEST_F(TitleFilterTest, EachFieldAndCombinationsAgreeWithTheEpisodes) {
    Catalog catalog(t.path());
    for (const auto &[label, f] : cases()) {
        FilterResult want;
        const std::vector<qint64> ids = expected(w, f, kNowMs, &want);
        const FilterResult got = applyTitleFilter(catalog, f, now);
        EXPECT_EQ(got.ids, ids) << label;
        EXPECT_EQ(got.files, want.files) << label;
        EXPECT_DOUBLE_EQ(got.sizeBytes, want.sizeBytes) << label;
        EXPECT_DOUBLE_EQ(got.durationMs, want.durationMs) << label;
    }
    // The cases are not vacuous: most of them select some titles but not all.
    int between = 0;
    for (const auto &[label, f] : cases()) {
        const size_t n = expected(w, f, kNowMs, nullptr).size();
        between += n > 0 && n < w.titles.size();
    }
    EXPECT_GE(between, 20);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\"")), QStringLiteral("160"));
}

TEST_F(TitleFilterTest, PlainSqlCountsOfSingleFields) {
    Catalog catalog(t.path());
    const struct {
        const char *where;
        TitleFilter filter;
    } rows[] = {
        {"\"Звук\" = 2",
         [] {
             TitleFilter f;
             f.sound = 2;
             return f;
         }()},
        {"\"Высота\" >= 720",
         [] {
             TitleFilter f;
             f.minHeight = 720;
             return f;
         }()},
        {"\"Format_Pack_id\" = 3",
         [] {
             TitleFilter f;
             f.format = 3;
             return f;
         }()},
        {"\"Ширина\" = 720 AND \"Высота\" = 480", frame(720, 480)},
    };
    for (const auto &r : rows) {
        const QString where = QString::fromUtf8(r.where);
        const FilterResult got = applyTitleFilter(catalog, r.filter, now);
        EXPECT_EQ(
            QString::number(got.ids.size()),
            t.scalar(
                QStringLiteral("SELECT count(DISTINCT \"Название\") FROM \"Серии\" WHERE %1").arg(where)))
            << r.where;
        EXPECT_EQ(QString::number(got.files),
                  t.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\" WHERE \"Название\" IN (SELECT "
                                          "\"Название\" FROM \"Серии\" WHERE %1)")
                               .arg(where)))
            << r.where;
    }
}

TEST_F(TitleFilterTest, AlternativeNamesAreReportedOnlyWhenTheMainNameMisses) {
    Catalog catalog(t.path());
    TitleFilter f;
    f.name = QStringLiteral("akira");
    const FilterResult r = applyTitleFilter(catalog, f, now);
    ASSERT_FALSE(r.ids.empty());
    int viaAlt = 0;
    for (qint64 id : r.ids) {
        const QString &main = w.titles.at(id).second;
        if (refMatch(main, f.name, false)) {
            EXPECT_FALSE(r.altNames.contains(id)) << main.toStdString();
        } else {
            ASSERT_TRUE(r.altNames.contains(id)) << main.toStdString();
            EXPECT_TRUE(refMatch(r.altNames.value(id), f.name, false));
            ++viaAlt;
        }
    }
    EXPECT_GT(viaAlt, 0);
}

TEST_F(TitleFilterTest, ReadOnlyCatalogWithoutSumsGivesTheSameAnswers) {
    std::vector<FilterResult> before;
    {
        Catalog withSums(t.path());
        for (const auto &[label, f] : cases())
            before.push_back(applyTitleFilter(withSums, f, now));
    }
    for (const QString &sql : withoutKeptSums())
        t.exec(sql);
    Catalog readOnly(t.path(), true);
    ASSERT_FALSE(readOnly.hasSums());
    ASSERT_FALSE(readOnly.hasCodecSums());
    size_t i = 0;
    for (const auto &[label, f] : cases()) {
        const FilterResult r = applyTitleFilter(readOnly, f, now);
        EXPECT_EQ(r.ids, before[i].ids) << label;
        EXPECT_EQ(r.files, before[i].files) << label;
        EXPECT_DOUBLE_EQ(r.sizeBytes, before[i].sizeBytes) << label;
        EXPECT_EQ(r.altNames, before[i].altNames) << label;
        ++i;
    }
    // Opened for writing, the catalog gets its sums and the codec indexes back.
    { Catalog writable(t.path()); }
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN "
                                "('Серии by video codec', 'Серии by audio codec', 'Серии by container')")),
        QStringLiteral("3"));
}

TEST_F(TitleFilterTest, RefusesNegativeCounts) {
    Catalog catalog(t.path());
    TitleFilter f;
    f.sinceDays = -1;
    EXPECT_THROW(applyTitleFilter(catalog, f, now), Error);
    f = TitleFilter();
    f.minHeight = -5;
    EXPECT_THROW(applyTitleFilter(catalog, f, now), Error);
    EXPECT_TRUE(TitleFilter().isEmpty());
    f = TitleFilter();
    f.anywhere = true;
    EXPECT_TRUE(f.isEmpty());
}

TEST_F(TitleFilterTest, LookupsByKeyOrName) {
    Catalog catalog(t.path());
    EXPECT_EQ(findLanguage(catalog, QStringLiteral("русский")), 1);
    EXPECT_EQ(findLanguage(catalog, QStringLiteral(" 3 ")), 3);
    EXPECT_EQ(findLanguage(catalog, QStringLiteral("99")), std::nullopt);
    EXPECT_EQ(findLanguage(catalog, QStringLiteral("Klingon")), std::nullopt);
    EXPECT_EQ(findType(catalog, QStringLiteral("tv")), 3);
    EXPECT_EQ(findType(catalog, QString()), std::nullopt);
    EXPECT_EQ(findCodec(catalog, QStringLiteral("divx")), 2);
    EXPECT_EQ(findCodec(catalog, QStringLiteral("DivX'")), std::nullopt);
    EXPECT_EQ(findFormat(catalog, QStringLiteral("avi")), 2);
    EXPECT_EQ(parseFrameSize(QStringLiteral("1280x720")), (std::pair{1280, 720}));
    EXPECT_EQ(parseFrameSize(QStringLiteral("640 × 480")), (std::pair{640, 480}));
    for (const char *bad : {"1280", "x720", "axb", "1280x-720", "", "12.5x7"})
        EXPECT_EQ(parseFrameSize(QString::fromUtf8(bad)), std::nullopt) << bad;
}

TEST_F(TitleFilterTest, SettingsKeepNamesAndDropWhatAnotherCatalogLacks) {
    QTemporaryDir dir;
    QSettings s(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    Catalog catalog(t.path());
    TitleFilter f = frame(1280, 720);
    f.type = 3;
    f.sound = 1;
    f.subExt = 2;
    f.videoCodec = 2;
    f.format = 2;
    f.minHeight = 480;
    f.sinceDays = 14;
    f.empty = true;
    f.anywhere = true;
    saveTitleFilter(s, catalog, f);
    EXPECT_EQ(s.value(QStringLiteral("Filter/VideoCodec")).toString(), QStringLiteral("DivX"));
    EXPECT_EQ(loadTitleFilter(s, catalog), f);

    // Another catalog numbers its codecs otherwise and has no AVI.
    TempCatalog other;
    other.exec(QStringLiteral("INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (7, 'divx')"));
    Catalog second(other.path());
    const TitleFilter g = loadTitleFilter(s, second);
    EXPECT_EQ(g.videoCodec, 7);
    EXPECT_EQ(g.format, std::nullopt);
    EXPECT_EQ(g.sound, 1);

    // Cleared fields do not come back.
    saveTitleFilter(s, catalog, TitleFilter());
    EXPECT_EQ(loadTitleFilter(s, catalog), TitleFilter());
}

TEST_F(TitleFilterTest, DataSetShowsTheFilteredTitlesInNameOrder) {
    CatalogSession s;
    s.open(t.path());
    TitleFilter f;
    f.sound = 3;
    const FilterResult r = applyTitleFilter(s.catalog(), f, now);
    s.Name.setFilter(Filter::oneOf(QStringLiteral("ID"), r.ids));
    s.Name.setFiltered(true);
    ASSERT_EQ(s.Name.recordCount(), int(r.ids.size()));
    std::set<qint64> seen;
    for (int i = 1; i <= s.Name.recordCount(); ++i) {
        s.Name.setRecNo(i);
        seen.insert(s.Name.asInteger(0));
    }
    EXPECT_EQ(seen, std::set<qint64>(r.ids.begin(), r.ids.end()));
    // The list may come unsorted; it is sorted for the look-ups.
    s.Name.setFilter(Filter::oneOf(QStringLiteral("ID"), {r.ids.back(), r.ids.front()}));
    EXPECT_EQ(s.Name.recordCount(), r.ids.size() > 1 ? 2 : 1);
}

TEST_F(TitleFilterTest, ChoicesOfferWhatTheEpisodesUse) {
    t.exec(QStringLiteral("INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (9, 'Unused')"));
    t.exec(QStringLiteral("INSERT INTO \"Format\"(\"ID\", \"Name\") VALUES (9, 'OGM')"));
    auto names = [](const QList<FilterChoices::Item> &items) {
        QStringList out;
        for (const auto &i : items)
            out << i.name;
        return out;
    };
    std::set<std::pair<int, int>> frames;
    for (const Episode &e : w.episodes)
        frames.insert({e.h, e.w});
    QList<std::pair<int, int>> wantFrames;
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
        wantFrames.append({it->second, it->first});
    const QStringList allCodecs{"AAC LC", "DivX", "MPEG-2 Audio layer 3", "Unused", "V_MPEG4/ISO/AVC"};
    for (const bool readOnly : {false, true}) {
        if (readOnly)
            for (const char *sql : {"DROP TABLE \"Sum_title\"", "DROP TABLE \"Sum_ext\"",
                                    "DROP INDEX \"Серии by video codec\""})
                t.exec(QString::fromUtf8(sql));
        Catalog catalog(t.path(), readOnly);
        const FilterChoices c = filterChoices(catalog);
        EXPECT_EQ(c.frames, wantFrames) << readOnly;
        EXPECT_EQ(c.types.size(), 4) << readOnly;
        EXPECT_EQ(c.languages.size(), 8) << readOnly;
        // Without its index the video field offers every codec rather than read every episode.
        EXPECT_EQ(names(c.videoCodecs), readOnly ? allCodecs : (QStringList{"DivX", "V_MPEG4/ISO/AVC"}));
        EXPECT_EQ(names(c.audioCodecs), (QStringList{"AAC LC", "MPEG-2 Audio layer 3"})) << readOnly;
        EXPECT_EQ(names(c.formats), (QStringList{"AVI", "Matroska", "MPEG-4"})) << readOnly;
    }
}

TEST_F(TitleFilterTest, NarrowingShowsTheFoundTitlesAndCountsThem) {
    CatalogSession s;
    s.open(t.path());
    TitleFilter f;
    f.sound = 1;
    f.minHeight = 720;
    FilterResult want;
    const std::vector<qint64> ids = expected(w, f, kNowMs, &want);
    const Narrowing n = narrowTitles(s, f, now);
    ASSERT_TRUE(n.narrowed);
    std::vector<qint64> shown;
    for (int r = 1; r <= s.Name.recordCount(); ++r) {
        s.Name.setRecNo(r);
        shown.push_back(s.Name.asInteger(0));
    }
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, ids);
    const CatalogStats all = UpStat(s);
    EXPECT_EQ(shownText(n, all),
              QStringLiteral("Показано %1 из 160 · файлов %2 из %3 · %4 из %5 · %6 из %7")
                  .arg(ids.size())
                  .arg(want.files)
                  .arg(w.episodes.size())
                  .arg(shownTexts(n.found).value(2), all.LSize, shownTexts(n.found).value(3), all.LTime));
    // An empty filter shows everything and says so with the catalog's own totals.
    const Narrowing none = narrowTitles(s, TitleFilter{}, now);
    EXPECT_FALSE(none.narrowed);
    EXPECT_FALSE(s.Name.isFiltered());
    EXPECT_EQ(shownText(none, all).section(QStringLiteral(" · "), 0, 1),
              QStringLiteral("Показано 160 из 160 · файлов %1 из %1").arg(w.episodes.size()));
}

// A grid refilled over and over, keeping the rows it showed before, shows exactly what a grid
// filled from nothing shows, whatever changed in between.
TEST_F(TitleFilterTest, RefilledGridsShowWhatAFreshFillShows) {
    CatalogSession s;
    s.open(t.path());
    UpStat(s);
    GridData kept, keptGv, keptGv4;
    setupSummaryGrid(kept);
    setupTitleGrid(keptGv);
    setupTitleGrid(keptGv4);
    auto cells = [](GridData &g) {
        QStringList out;
        for (int r = 0; r < g.RowCount(); ++r)
            for (int c = 0; c < g.ColumnCount(); ++c)
                out << QStringLiteral("%1|%2").arg(g.GetCellText(c, r)).arg(int(g.CellAt(c, r).Color()));
        return out;
    };
    const qint64 someId = w.titles.begin()->first;
    QSet<qint64> selected;
    const std::vector<std::pair<const char *, std::function<void(TitleFilter &)>>> steps = {
        {"everything", [](TitleFilter &) {}},
        {"sound", [](TitleFilter &f) { f.sound = 1; }},
        {"sound and frame",
         [](TitleFilter &f) {
             f.sound = 1;
             f.minHeight = 720;
         }},
        {"everything again", [](TitleFilter &) {}},
        {"renamed and re-counted by another program",
         [&](TitleFilter &) {
             t.exec(QStringLiteral("UPDATE \"Список\" SET \"Название\" = 'Zz renamed' WHERE \"ID\" = %1")
                        .arg(someId));
             t.exec(QStringLiteral("DELETE FROM \"Серии\" WHERE \"Название\" = %1").arg(someId));
         }},
        {"a title selected", [&](TitleFilter &) { selected.insert(someId); }},
        {"the same titles, the selection cleared", [&](TitleFilter &) { selected.clear(); }},
        {"the lists no longer alike",
         [&](TitleFilter &) {
             if (keptGv4.RowCount() > 1)
                 keptGv4.DeleteRow(1);
         }},
        {"the summary sorted by size and narrowed",
         [&](TitleFilter &f) {
             kept.SortRows(gvsv::Size, SortKind::Descending);
             f.sound = 1;
         }},
        {"a title added by another program, everything",
         [&](TitleFilter &) {
             t.exec(QStringLiteral("INSERT INTO \"Список\"(\"Название\", \"NType\") VALUES ('Aa new', 1)"));
         }},
        {"name", [](TitleFilter &f) { f.name = QStringLiteral("е"); }},
        {"nothing passes", [](TitleFilter &f) { f.name = QStringLiteral("no such title"); }},
        {"everything at last", [](TitleFilter &) {}},
    };
    for (const auto &[label, make] : steps) {
        TitleFilter f;
        make(f);
        Catalog::ReadSnapshot snapshot(s.catalog());
        UpStat(s);
        const Narrowing n = narrowTitles(s, f, now);
        TExportList last;
        // The window's one pass over all three.
        LoadLists(s, ListGrids{&kept, &keptGv, &keptGv4, &last}, selected, now, &n.found.altNames);
        GridData fresh, freshGv, freshGv4;
        setupSummaryGrid(fresh);
        setupTitleGrid(freshGv);
        setupTitleGrid(freshGv4);
        LoadGvSv(s, fresh, last, selected, now, &n.found.altNames);
        LoadName(s, freshGv, &freshGv4, now);
        EXPECT_EQ(cells(kept), cells(fresh)) << label;
        EXPECT_EQ(cells(keptGv), cells(freshGv)) << label;
        EXPECT_EQ(cells(keptGv4), cells(freshGv4)) << label;
        EXPECT_EQ(kept.RowCount(), s.Name.recordCount()) << label;
    }
    EXPECT_TRUE(cells(kept).join(u' ').contains(QStringLiteral("Zz renamed")));
    EXPECT_TRUE(cells(kept).join(u' ').contains(QStringLiteral("Aa new")));
}

TEST(NameFold, EveryAlphabetAndYo) {
    const struct {
        const char *name, *text;
        bool anywhere, match;
    } rows[] = {
        {"Ёжик в тумане", "ежик", false, true},
        {"ежик", "ЁЖ", false, true},
        {"Straße", "STRASSE", false, false},
        {"ΣΊΣΥΦΟΣ", "σίσυφοσ", false, true},
        {"Akira", "kira", false, false},
        {"Akira", "KIRA", true, true},
        {"Akira", "", false, true},
        {"", "a", false, false},
        {"Éclair", "éc", false, true},
        {"a%b", "a%", false, true},
        {"axb", "a_", false, false},
    };
    for (const auto &r : rows)
        EXPECT_EQ(nameMatches(QString::fromUtf8(r.name), foldName(QString::fromUtf8(r.text)), r.anywhere),
                  r.match)
            << r.name << " / " << r.text;
}

// The SQL function reads the stored UTF-8 itself: letters outside the first plane and bytes that
// are no text must compare as Qt reads them.
TEST(NameFold, SqlFunctionOnStoredBytes) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    registerNameFunctions(db);
    const struct {
        QByteArray name;
        const char *text;
        bool anywhere, match;
    } rows[] = {
        {"\xF0\x90\x90\x80"
         "bc",
         "\xF0\x90\x90\xA8"
         "B",
         false, true}, // Deseret capital and small letter
        {"x\xF0\x90\x90\x80", "\xF0\x90\x90\xA8", true, true},
        {"Ab\xFF\xFE"
         "cd",
         "ab", false, true},
        {"Ab\xFF\xFE"
         "cd",
         "CD", true, true},
        {"\xC3", "\xC3\xA9", false, false},                                    // cut short
        {"\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0", "\xD0\xB5\xD0\xBB", false, true}, // Ёлка / ел
        {"", "", false, true},
    };
    for (const auto &r : rows) {
        sqlite3_stmt *st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT vq_name_match(CAST(?1 AS TEXT), ?2, ?3)", -1, &st, nullptr),
                  SQLITE_OK);
        sqlite3_bind_blob(st, 1, r.name.constData(), int(r.name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, r.text, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, r.anywhere ? 1 : 0);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(st, 0) != 0, r.match) << r.name.toHex().constData() << " / " << r.text;
        // The same answer as the comparison of names Qt has decoded.
        EXPECT_EQ(nameMatches(QString::fromUtf8(r.name), foldName(QString::fromUtf8(r.text)), r.anywhere),
                  r.match)
            << r.name.toHex().constData();
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

} // namespace
