#include "catalog/settings.h"
#include "page_service.h"
#include "page_titles.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QFontMetrics>
#include <QSettings>
#include <QTabWidget>

namespace vq {

namespace {
const char *const kPanelKeys[7] = {"View/s1", "View/s2", "View/s3", "View/s4",
                                   "View/s5", "View/s6", "View/s7"};
const int kPanelDefaults[7] = {300, 296, 360, 337, -1, 224, 300};

int charWidth(const QWidget &w) {
    return std::max(1, QFontMetrics(w.font()).horizontalAdvance(QLatin1Char('0')));
}
} // namespace

// Episode grid widths are kept in characters; the grids show them in pixels.
void TView_Base::applySeriesWidths() {
    for (TGridView *g : {&DBGrid2(), &DBGrid1()}) {
        const int cw = charWidth(*g);
        for (int c = 0; c < 7; ++c)
            g->Column(c).SetWidth(m_seriesWidths[size_t(c)] * cw + 4);
    }
}

// The two grids share the widths: a column dragged on either page is the one kept.
void TView_Base::readSeriesWidths() {
    for (int c = 0; c < 7; ++c) {
        for (TGridView *g : {&DBGrid1(), &DBGrid2()}) {
            const int cw = charWidth(*g);
            const int chars = std::max(1, (g->Column(c).Width() - 4 + cw / 2) / cw);
            if (g->Column(c).Width() != m_seriesWidths[size_t(c)] * cw + 4) {
                m_seriesWidths[size_t(c)] = chars;
                break;
            }
        }
    }
}

void TView_Base::loadparam() {
    auto s = openSettings();
    const int width = readIntSetting(*s, QStringLiteral("View/Width"), 1090);
    const int height = readIntSetting(*s, QStringLiteral("View/Heigth"), 876);
    const int left = readIntSetting(*s, QStringLiteral("View/Left"), 174);
    const int top = readIntSetting(*s, QStringLiteral("View/Top"), 119);
    resize(width, height);
    move(left, top);
    for (int i = 0; i < 7; ++i) {
        int def = kPanelDefaults[i];
        if (i == 4) {
            const int pageWidth = m_pages->currentWidget() && m_pages->currentWidget()->width() > 0
                                      ? m_pages->currentWidget()->width()
                                      : width;
            def = pageWidth / 2 - 1;
        }
        setPanelSize(i, readIntSetting(*s, QString::fromLatin1(kPanelKeys[i]), def));
    }
    const int state = readIntSetting(*s, QStringLiteral("View/WinState"), 0);
    setWindowState(state == 2 ? Qt::WindowMaximized : state == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
    setActivePage(readIntSetting(*s, QStringLiteral("View/ActivePage"), 0));

    for (int n = 0; n < 10; ++n) {
        m_exportColumnChoice[size_t(n)] = readBoolSetting(*s, QStringLiteral("SelForm/sl%1").arg(n), true);
        GridColumn &sv = GVSV().Column(n);
        sv.SetWidth(readIntSetting(*s, QStringLiteral("gvsv/s%1").arg(n), sv.DefaultWidth()));
        GridColumn &g3 = GV3().Column(n);
        g3.SetWidth(readIntSetting(*s, QStringLiteral("gv3/s%1").arg(n), g3.DefaultWidth()));
    }
    for (int c = 0; c < 7; ++c)
        m_seriesWidths[size_t(c)] =
            readIntSetting(*s, QStringLiteral("Series/") + QString::fromLatin1(kEpisodeColumns[c].setting),
                           kEpisodeColumns[c].chars);
    applySeriesWidths();

    const QSize screen = screenSize();
    if (screen.width() < width || screen.height() < height)
        setWindowState(Qt::WindowMaximized);
}

void TView_Base::saveparam() {
    auto s = openSettings();
    const Qt::WindowStates st = windowState();
    const bool minimized = st & Qt::WindowMinimized;
    const bool maximized = st & (Qt::WindowMaximized | Qt::WindowFullScreen);
    if (!minimized && !maximized) {
        writeIntSetting(*s, QStringLiteral("View/Width"), width());
        writeIntSetting(*s, QStringLiteral("View/Heigth"), height());
        writeIntSetting(*s, QStringLiteral("View/Left"), x());
        writeIntSetting(*s, QStringLiteral("View/Top"), y());
    }
    for (int i = 0; i < 7; ++i)
        writeIntSetting(*s, QString::fromLatin1(kPanelKeys[i]), panelSize(i));
    writeIntSetting(*s, QStringLiteral("View/WinState"), minimized ? 1 : maximized ? 2 : 0);
    writeIntSetting(*s, QStringLiteral("View/ActivePage"), ActivePage());

    for (int n = 0; n < 10; ++n) {
        writeBoolSetting(*s, QStringLiteral("SelForm/sl%1").arg(n), m_exportColumnChoice[size_t(n)]);
        writeIntSetting(*s, QStringLiteral("gvsv/s%1").arg(n), GVSV().Column(n).Width());
        writeIntSetting(*s, QStringLiteral("gv3/s%1").arg(n), GV3().Column(n).Width());
    }
    readSeriesWidths();
    for (int c = 0; c < 7; ++c)
        writeIntSetting(*s, QStringLiteral("Series/") + QString::fromLatin1(kEpisodeColumns[c].setting),
                        m_seriesWidths[size_t(c)]);
    s->sync();
    // The filter is kept by the names the catalog gives its keys: a catalog that cannot be read
    // now loses only this part of the settings.
    m_summaryHandlers->saveFilter(*s);
    s->sync();
}

} // namespace vq
