// The window at its default size with no saved settings, over a catalog long enough that every
// list scrolls: nothing of a grid is out of sight or cut.
#include "window_fixture.h"

#include "browser/summary.h"
#include "page_titles.h"
#include "stats_handlers.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionHeader>

using namespace vq;
using namespace vq::test;

namespace {

class Layout : public WindowTest {
protected:
    // 80 titles, the first with 60 episodes in Japanese with Russian subtitles.
    void fill(TempCatalog &cat) {
        for (int i = 0; i < 80; ++i) {
            const qint64 id = cat.addTitle(QStringLiteral("Title %1").arg(i, 2, 10, QLatin1Char('0')),
                                           QStringLiteral("26"), QStringLiteral("comment"), 3);
            if (i > 0)
                continue;
            for (int e = 0; e < 60; ++e) {
                EpisodeRow row;
                row.name =
                    QStringLiteral("[Group] Title 00 - %1 [1080p].mkv").arg(e + 1, 2, 10, QLatin1Char('0'));
                row.size = 1234567890.0;
                row.width = 1920;
                row.height = 1080;
                row.durationMs = 23 * 60 * 1000 + 40 * 1000;
                row.sound = 0;  // Японский
                row.subIn = 1;  // Русский
                row.subExt = 1; // Русский
                cat.addEpisode(id, row);
            }
        }
    }
};

// The width a header section needs to show its caption whole, as the style measures it.
int headerNeed(TGridView &g, int col) {
    QHeaderView *h = g.horizontalHeader();
    QStyleOptionHeader opt;
    opt.initFrom(h);
    opt.section = col;
    opt.text = g.Column(col).Caption();
    return h->style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), h).width();
}

} // namespace

TEST_F(Layout, DefaultWindowShowsEveryColumnAndHeaderWhole) {
    TempCatalog cat;
    fill(cat);
    ASSERT_TRUE(startOn(cat));
    ASSERT_EQ(win->size(), QSize(1090, 876));
    // Half of the titles in the selection, so that its list scrolls too.
    win->GVSV().SetCurrentRow(0);
    for (int i = 0; i < 40; ++i)
        win->stats().SelIOClick();
    win->GVSV().SetCurrentRow(0);
    ASSERT_EQ(win->GV3().RowCount(), 40);
    // The intake page's episodes are those of the title chosen there.
    win->GV4().MoveToCell(1, 0);

    struct Case {
        const char *name;
        int page;
        TGridView *grid;
    };
    const Case cases[] = {
        {"GV", TView_Base::TOsn, &win->GV()},      {"DBGrid2", TView_Base::TOsn, &win->DBGrid2()},
        {"GVSV", TView_Base::Tns, &win->GVSV()},   {"GV3", TView_Base::Stat, &win->GV3()},
        {"GV4", TView_Base::TabNewA, &win->GV4()}, {"DBGrid1", TView_Base::TabNewA, &win->DBGrid1()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        win->setActivePage(c.page);
        QCoreApplication::processEvents();
        TGridView &g = *c.grid;
        ASSERT_TRUE(g.isVisible());
        ASSERT_GT(g.RowCount(), 0);
        EXPECT_TRUE(g.verticalScrollBar()->isVisible()) << "the list was meant to scroll";
        EXPECT_LE(g.horizontalHeader()->length(), g.viewport()->width());
        EXPECT_FALSE(g.horizontalScrollBar()->isVisible());
        for (int col = 0; col < g.ColumnCount(); ++col) {
            if (!g.Column(col).Visible())
                continue;
            EXPECT_LE(headerNeed(g, col), g.Column(col).Width()) << g.Column(col).Caption().toStdString();
        }
    }

    // The languages of the summary show whole: a cut text would have a tooltip.
    TGridView &sv = win->GVSV();
    const int row = win->SeeingSV(win->GV().CellAt(0, 0).AsInteger());
    ASSERT_GE(row, 0);
    const int columns[] = {gvsv::Sound, gvsv::SubIn, gvsv::SubExt};
    for (int col : columns) {
        const QModelIndex index = sv.model()->index(row, col);
        EXPECT_FALSE(sv.model()->data(index).toString().isEmpty()) << col;
        EXPECT_FALSE(sv.model()->data(index, Qt::ToolTipRole).isValid())
            << sv.model()->data(index).toString().toStdString();
    }
    EXPECT_EQ(sv.GetCellText(gvsv::SubIn, row), QStringLiteral("Русский"));
}

TEST_F(Layout, SavedWidthsStillWin) {
    TempCatalog cat;
    fill(cat);
    setSetting(QStringLiteral("gvsv/s7"), QStringLiteral("40"));
    setSetting(QStringLiteral("Series/s14"), QStringLiteral("4"));
    setSetting(QStringLiteral("Series/s2"), QStringLiteral("45"));
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(win->GVSV().Column(gvsv::SubIn).Width(), 40);
    EXPECT_EQ(win->seriesWidths()[0], 45);
    EXPECT_EQ(win->seriesWidths()[5], 4);
    const int cw = QFontMetrics(win->DBGrid2().font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(win->DBGrid2().Column(5).Width(), 4 * cw + 4);
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("gvsv/s7")), QStringLiteral("40"));
    EXPECT_EQ(setting(QStringLiteral("Series/s2")), QStringLiteral("45"));
}
