#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "gridview/griddata.h"
#include "support/temp_catalog.h"

#include <gtest/gtest.h>

using namespace vq;
using vq::test::EpisodeRow;
using vq::test::TempCatalog;
using vq::test::withoutKeptSums;

namespace {

TExportList textsOf(CatalogSession &s, qint64 id) {
    UpStat(s);
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), id));
    s.Name.setFiltered(true);
    TExportList out;
    GetExtParam(s, 1, out);
    return out;
}

EpisodeRow ep(int w, int h, int sound = 0, int subIn = 1, int subExt = 2) {
    return {.size = 1.0,
            .width = w,
            .height = h,
            .durationMs = 1000,
            .sound = sound,
            .subIn = subIn,
            .subExt = subExt};
}

} // namespace

TEST(GetExtParam, MarksTheColumnsThatDiffer) {
    TempCatalog t;
    t.exec(QStringLiteral("INSERT INTO \"Sub\"(\"ID\", \"Язык\") VALUES (20, 'jap'), (21, 'JAP')"));
    const qint64 q = t.addTitle(QStringLiteral("Quality"), QStringLiteral("3"), QStringLiteral("note"), 3);
    t.addEpisode(q, ep(1280, 720));
    t.addEpisode(q, ep(1280, 720));
    t.addEpisode(q, ep(720, 480));
    const qint64 c = t.addTitle(QStringLiteral("Case"));
    t.addEpisode(c, ep(640, 480, 20));
    t.addEpisode(c, ep(640, 480, 21));
    const qint64 e = t.addTitle(QStringLiteral("Nothing yet"), QStringLiteral("12"));
    CatalogSession s;
    s.open(t.path());

    const TExportList a = textsOf(s, q);
    EXPECT_EQ(a.Title, QStringLiteral("Quality"));
    EXPECT_EQ(a.TypeText, QStringLiteral("TV"));
    EXPECT_EQ(a.EpisodeCount, QStringLiteral("3"));
    EXPECT_EQ(a.CommentText, QStringLiteral("note"));
    // The first of the grouped rows is the smallest frame size: it is what follows the marker.
    EXPECT_EQ(a.QualityText, QStringLiteral("! 720x480"));
    EXPECT_EQ(a.SoundText, QStringLiteral("Японский"));
    EXPECT_EQ(a.SubInText, QStringLiteral("Русский"));
    EXPECT_EQ(a.SubExtText, QStringLiteral("Нет"));
    EXPECT_EQ(a.DurationText, QStringLiteral("00:00:03,000"));

    const TExportList b = textsOf(s, c);
    EXPECT_EQ(b.QualityText, QStringLiteral("640x480"));
    EXPECT_TRUE(b.SoundText.startsWith(QStringLiteral("! "))) << b.SoundText.toStdString();

    const TExportList none = textsOf(s, e);
    EXPECT_EQ(none.SizeText, QStringLiteral("  0 "));
    EXPECT_EQ(none.DurationText, QStringLiteral("00:00:00,000"));
    EXPECT_EQ(none.QualityText, QString());
    EXPECT_EQ(none.SoundText, QString());
    EXPECT_EQ(none.EpisodeCount, QStringLiteral("12"));
}

TEST(GetExtParam, MegabytesRoundHalfToEven) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Two and a half"));
    t.addEpisode(a, {.size = 2621440.0});
    const qint64 b = t.addTitle(QStringLiteral("Three and a half"));
    t.addEpisode(b, {.size = 3670016.0});
    CatalogSession s;
    s.open(t.path());
    EXPECT_EQ(textsOf(s, a).SizeText, QStringLiteral("  2 "));
    EXPECT_EQ(textsOf(s, b).SizeText, QStringLiteral("  4 "));
}

TEST(LoadGvSv, HighlightsTitlesChangedInTheLastFourteenDays) {
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    const struct {
        const char *name;
        QDateTime update;
        bool highlighted;
    } cases[] = {
        {"A exactly 14 days", now.addDays(-14), false},
        {"B 13 days 23 hours", now.addDays(-14).addSecs(3600), true},
        {"C two days ahead", now.addDays(2), true},
        {"D twenty days", now.addDays(-20), false},
    };
    // A few titles' sums are read one by one, many at once; an older read-only file sums in memory.
    const struct {
        const char *label;
        int fillers; // named to come before the cases
        bool withoutSums;
    } ways[] = {{"one by one", 0, false}, {"all at once", 40, false}, {"summed in memory", 40, true}};
    for (const auto &way : ways) {
        SCOPED_TRACE(way.label);
        TempCatalog t;
        for (int i = 0; i < way.fillers; ++i)
            t.addEpisode(t.addTitle(QStringLiteral("0 filler %1").arg(i)), {.update = now.addYears(-1)});
        for (const auto &c : cases)
            t.addEpisode(t.addTitle(QString::fromUtf8(c.name)), {.size = 1.0, .update = c.update});
        const qint64 selectedId = t.addTitle(QStringLiteral("E selected"));
        if (way.withoutSums)
            for (const QString &sql : withoutKeptSums())
                t.exec(sql);
        CatalogSession s;
        s.open(t.path(), way.withoutSums);
        ASSERT_EQ(s.catalog().hasSums(), !way.withoutSums);
        UpStat(s);
        s.Name.setFiltered(false);
        GridData grid;
        setupSummaryGrid(grid);
        TExportList texts;
        LoadGvSv(s, grid, texts, {selectedId}, now);
        const int at = way.fillers;
        ASSERT_EQ(grid.RowCount(), at + 5);
        for (int r = 0; r < 4; ++r) {
            const GridColor expected = cases[r].highlighted ? clSkyBlue : clSilver;
            for (int c = 0; c < grid.ColumnCount(); ++c)
                EXPECT_EQ(grid.CellAt(c, at + r).Color(), expected) << cases[r].name << " column " << c;
            EXPECT_FALSE(grid.CellAt(gvsv::Selected, at + r).AsBoolean());
            EXPECT_EQ(grid.GetCellText(gvsv::Size, at + r), QStringLiteral("  0 ")) << cases[r].name;
        }
        if (at > 0) {
            EXPECT_EQ(grid.CellAt(0, 0).Color(), clSilver);
        }
        // A rebuild shows the titles of the selection marked.
        EXPECT_TRUE(grid.CellAt(gvsv::Selected, at + 4).AsBoolean());
        EXPECT_EQ(grid.CellAt(0, at + 4).Color(), clAqua);
        EXPECT_EQ(grid.CellAt(gvsv::Id, at + 4).AsInteger(), int(selectedId));

        GridData gv, gv4;
        setupTitleGrid(gv);
        setupTitleGrid(gv4);
        LoadName(s, gv, &gv4, now);
        ASSERT_EQ(gv.RowCount(), at + 5);
        ASSERT_EQ(gv4.RowCount(), at + 5);
        EXPECT_EQ(gv.CellAt(1, at + 1).Color(), clSkyBlue);
        EXPECT_NE(gv.CellAt(0, at + 1).Color(), clSkyBlue); // only the title cell
        EXPECT_NE(gv.CellAt(1, at + 3).Color(), clSkyBlue);
        EXPECT_EQ(gv4.GetCellText(1, at + 2), gv.GetCellText(1, at + 2));
    }
}

TEST(UpStat, CountsEverythingWhateverTheFilters) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(a, {.size = 1073741824.0, .durationMs = 1500});
    t.addEpisode(a, {.size = 536870912.0, .durationMs = 2500});
    t.addTitle(QStringLiteral("Bebop"));
    CatalogSession s;
    s.open(t.path());
    s.Name.setFilter(Filter::prefix(QStringLiteral("Название"), QStringLiteral("B")));
    s.Name.setFiltered(true);
    const CatalogStats st = UpStat(s);
    EXPECT_EQ(st.LCount, QStringLiteral("2"));
    EXPECT_EQ(st.LCE, QStringLiteral("2"));
    EXPECT_EQ(st.LSize, QStringLiteral("1.5 Gb"));
    EXPECT_EQ(st.LTime, QStringLiteral("00:00:04,000"));
    EXPECT_TRUE(s.Name.isFiltered());
    EXPECT_EQ(s.Name.recordCount(), 1);

    SelTotals sel;
    EXPECT_EQ(sel.LVAni(), QStringLiteral("0"));
    EXPECT_EQ(sel.LVSize(), QStringLiteral("0 Gb"));
    EXPECT_EQ(sel.LVtime(), QStringLiteral("00:00:00,000"));
    sel.DurationSum = 2.5;
    EXPECT_EQ(sel.LVtime(), QStringLiteral("00:00:00,002"));
}
