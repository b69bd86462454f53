#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "gridview/griddata.h"
#include "ops/selection.h"
#include "ops/summarysource.h"
#include "ops/titleops.h"
#include "ops/workspace.h"
#include "support/temp_catalog.h"

#include <gtest/gtest.h>

using namespace vq;
using vq::test::TempCatalog;

namespace {

class Ops : public ::testing::Test {
protected:
    void SetUp() override {
        vq::test::isolateSettings();
        akira = cat.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QStringLiteral("old"), 2);
        bebop = cat.addTitle(QStringLiteral("Bebop"));
        cat.addEpisode(akira, {.name = QStringLiteral("a1"), .size = 100.0, .durationMs = 1000});
        cat.addEpisode(bebop, {.name = QStringLiteral("b1"), .size = 10.0, .durationMs = 20});
        cat.addEpisode(bebop, {.name = QStringLiteral("b2"), .size = 30.0, .durationMs = 40});
        s.open(cat.path());
    }
    QString stored(const QString &column, qint64 id) {
        return cat.scalar(
            QStringLiteral("SELECT \"%1\" FROM \"Список\" WHERE \"ID\" = %2").arg(column).arg(id));
    }

    TempCatalog cat;
    CatalogSession s;
    qint64 akira = 0, bebop = 0;
};

TEST_F(Ops, TitlesAreMadeFoundChangedAndDeleted) {
    const qint64 made = ops::addTitle(s, QStringLiteral("Cowboy"));
    EXPECT_EQ(stored(QStringLiteral("Название"), made), QStringLiteral("Cowboy"));
    EXPECT_EQ(stored(QStringLiteral("NType"), made), QStringLiteral("4"));
    // A second title of the same name is found after the first.
    const qint64 twin = ops::addTitle(s, QStringLiteral("Cowboy"), 3);
    EXPECT_GT(twin, made);
    struct Find {
        const char *name;
        std::optional<qint64> id;
    };
    for (const Find &f : {Find{"Cowboy", made}, Find{"cowboy", std::nullopt}, Find{"Akira", akira},
                          Find{"Akir", std::nullopt}, Find{"", std::nullopt}})
        EXPECT_EQ(ops::findTitle(s, QString::fromUtf8(f.name)), f.id) << f.name;

    ops::renameTitle(s, akira, QStringLiteral("Akira 1988"));
    ops::setTitleField(s, akira, ops::TitleField::Type, 3);
    ops::setTitleField(s, akira, ops::TitleField::Count, QStringLiteral("2"));
    ops::setTitleField(s, akira, ops::TitleField::Comment, QStringLiteral("new"));
    EXPECT_EQ(stored(QStringLiteral("Название"), akira), QStringLiteral("Akira 1988"));
    EXPECT_EQ(stored(QStringLiteral("NType"), akira), QStringLiteral("3"));
    EXPECT_EQ(stored(QStringLiteral("Количество серий"), akira), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("Комментарий"), akira), QStringLiteral("new"));
    EXPECT_EQ(ops::titleField(s, akira, ops::TitleField::Comment).toString(), QStringLiteral("new"));

    ops::deleteTitle(s, bebop);
    EXPECT_FALSE(ops::titleExists(s, bebop));
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Серии\" WHERE \"Название\" = %1").arg(bebop)),
              QStringLiteral("0"));
    EXPECT_EQ(ops::titleAmounts(s, bebop).files, 0);
}

TEST_F(Ops, RefusedChangesRaiseAndLeaveNothingPending) {
    const auto refused = [&](auto &&f) {
        EXPECT_THROW(f(), Error);
        // Nothing stays half-written: the next operation works.
        ops::setTitleField(s, akira, ops::TitleField::Comment, QStringLiteral("after"));
        EXPECT_EQ(stored(QStringLiteral("Комментарий"), akira), QStringLiteral("after"));
    };
    refused([&] { ops::renameTitle(s, 9999, QStringLiteral("X")); });
    refused([&] { ops::renameTitle(s, akira, QStringLiteral("  ")); });
    refused([&] { ops::renameTitle(s, akira, QString(300, QLatin1Char('x'))); });
    refused([&] { ops::addTitle(s, QString()); });
    refused([&] { ops::deleteTitle(s, 9999); });
    refused([&] { ops::deleteEpisode(s, 9999); });
    refused([&] { ops::setTitleField(s, 9999, ops::TitleField::Count, QStringLiteral("1")); });
    EXPECT_EQ(stored(QStringLiteral("Название"), akira), QStringLiteral("Akira"));
}

TEST_F(Ops, DeletingAnEpisodeKeepsTheEpisodeFilter) {
    s.Series.setFilter(Filter::equals(QStringLiteral("Название"), bebop));
    s.Series.setFiltered(true);
    ASSERT_EQ(s.Series.recordCount(), 2);
    s.Series.first();
    const qint64 b1 = s.Series.asInteger(QStringLiteral("ID"));
    ops::deleteEpisode(s, b1);
    EXPECT_EQ(s.Series.recordCount(), 1);
    EXPECT_EQ(s.Series.asString(QStringLiteral("Серия")), QStringLiteral("b2"));
    EXPECT_EQ(ops::titleAmounts(s, bebop).sizeBytes, 30.0);
}

TEST_F(Ops, SelectionTotalsFollowTheCatalog) {
    ops::Workspace w(s);
    EXPECT_TRUE(w.selection().add(akira));
    EXPECT_FALSE(w.selection().add(akira));
    EXPECT_TRUE(w.selection().add(bebop));
    struct Totals {
        int titles, files;
        double size, time;
    };
    const auto expect = [&](Totals t, const char *step) {
        const SelTotals got = w.selectionTotals();
        EXPECT_EQ(got.TitleCount, t.titles) << step;
        EXPECT_EQ(got.FileCount, t.files) << step;
        EXPECT_EQ(got.SizeBytes, t.size) << step;
        EXPECT_EQ(got.DurationSum, t.time) << step;
    };
    expect({2, 3, 140.0, 1060.0}, "both");
    // Another process adds an episode; then a title goes.
    cat.addEpisode(akira, {.name = QStringLiteral("a2"), .size = 1.0, .durationMs = 1});
    expect({2, 4, 141.0, 1061.0}, "episode added elsewhere");
    w.setCurrentTitle(bebop);
    ops::deleteTitle(s, bebop);
    EXPECT_TRUE(w.followCatalog());
    EXPECT_EQ(w.currentTitle(), 0);
    EXPECT_EQ(w.selection().ids(), std::vector<qint64>{akira});
    expect({1, 2, 101.0, 1001.0}, "title deleted");
    EXPECT_FALSE(w.followCatalog());
    EXPECT_FALSE(w.selection().remove(bebop));
    EXPECT_TRUE(w.selection().remove(akira));
    expect({0, 0, 0.0, 0.0}, "emptied");
    w.selection().add(akira);
    w.setCurrentTitle(akira);
    w.catalogChanged();
    EXPECT_TRUE(w.selection().isEmpty());
    EXPECT_EQ(w.currentTitle(), 0);
}

TEST_F(Ops, SummaryWalkAndSelectionListReadTheCatalog) {
    ops::addTitle(s, QStringLiteral("Cowboy"));
    QStringList walked;
    {
        const auto next = ops::summaryTitles(s.catalog(), ops::titlesByName(s));
        TExportList t;
        while (next(t))
            walked << t.field(0);
    }
    EXPECT_EQ(walked, (QStringList{"Akira", "Bebop", "Cowboy"}));
    GridData grid;
    ops::fillSelectionGrid(s.catalog(), {bebop, akira}, grid);
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.GetCellText(0, 0), QStringLiteral("Bebop"));
    EXPECT_EQ(grid.GetCellText(2, 1), QStringLiteral("1"));
    EXPECT_EQ(grid.CellAt(10, 1).AsInteger(), akira);
    EXPECT_THROW(ops::fillSelectionGrid(s.catalog(), {9999}, grid), Error);
}

} // namespace
