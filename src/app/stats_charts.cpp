#include "stats_charts.h"

#include "catalog/formats.h"

#include <QAbstractAxis>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QEvent>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

namespace vq {

namespace {

constexpr double kGb = 1024.0 * 1024.0 * 1024.0;

// More bars than this in one chart are summed into the last, so that each stays readable.
constexpr int kMostBars = 16;

// The largest points, and the rest as one ("прочие") when there are too many to read.
std::vector<ChartPoint> readable(const std::vector<ChartPoint> &points, const QString &rest) {
    if (int(points.size()) <= kMostBars)
        return points;
    std::vector<ChartPoint> out(points.begin(), points.begin() + (kMostBars - 1));
    ChartPoint others;
    others.key = rest;
    others.known = false;
    for (auto p = points.begin() + (kMostBars - 1); p != points.end(); ++p) {
        others.files += p->files;
        others.bytes += p->bytes;
    }
    out.push_back(others);
    return out;
}

// A value axis of whole numbers. Few ticks: every label is a text item of its own to lay out, and
// a narrow chart cannot show many anyway.
QValueAxis *valueAxis(const QString &title) {
    auto *a = new QValueAxis;
    a->setTitleText(title);
    a->setLabelFormat(QStringLiteral("%.0f"));
    a->setTickCount(4);
    return a;
}

} // namespace

TStatsCharts::TStatsCharts(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StatsCharts"));
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    CBShownOnly = new QCheckBox(QCoreApplication::translate("stats_charts", "только показанные"), this);
    CBShownOnly->setObjectName(QStringLiteral("CBShownOnly"));
    CBShownOnly->setToolTip(QCoreApplication::translate(
        "stats_charts", "Диаграммы только по аниме, которые показывают фильтр и поиск"));
    lay->addWidget(CBShownOnly);
    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("ChartTabs"));
    Tabs->setDocumentMode(true);
    // Made after the window named its controls: named here for screen readers.
    Tabs->setAccessibleName(QCoreApplication::translate("stats_charts", "Диаграммы"));
    lay->addWidget(Tabs, 1);
    const QString captions[ChartCount] = {QCoreApplication::translate("stats_charts", "По типам"),
                                          QCoreApplication::translate("stats_charts", "По дискам"),
                                          QCoreApplication::translate("stats_charts", "По кадру"),
                                          QCoreApplication::translate("stats_charts", "Видеокодеки"),
                                          QCoreApplication::translate("stats_charts", "По месяцам")};
    const char *names[ChartCount] = {"ChartType", "ChartDrive", "ChartHeight", "ChartCodec", "ChartMonth"};
    for (int c = 0; c < ChartCount; ++c) {
        auto *chart = new QChart;
        chart->setMargins(QMargins(2, 2, 2, 2));
        chart->setBackgroundRoundness(0);
        m_views[c] = new QChartView(chart, Tabs);
        m_views[c]->setObjectName(QString::fromLatin1(names[c]));
        // Bars are rectangles: smoothing is for the slices and lines, where it costs less.
        m_views[c]->setRenderHint(QPainter::Antialiasing, c == ByType || c == ByMonth);
        m_views[c]->setAccessibleName(captions[c]);
        Tabs->addTab(m_views[c], captions[c]);
        applyLook(chart);
    }
    connect(CBShownOnly, &QCheckBox::toggled, this, [this] { Q_EMIT shownOnlyToggled(); });
    connect(Tabs, &QTabWidget::currentChanged, this, [this] { Q_EMIT chartShown(); });
}

void TStatsCharts::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        for (QChartView *v : m_views)
            applyLook(v->chart());
        draw(m_series);
    }
}

unsigned TStatsCharts::shownSeries() const {
    static constexpr unsigned kOf[ChartCount] = {TypeSeries, DriveSeries, HeightSeries, CodecSeries,
                                                 MonthSeries};
    const int at = Tabs->currentIndex();
    return at >= 0 && at < ChartCount ? kOf[at] : 0u;
}

void TStatsCharts::applyLook(QChart *chart) {
    const QPalette pal = palette();
    // The desktop's own colours and font: a light or dark series palette to match, then its
    // background, text and font over it.
    chart->setTheme(pal.color(QPalette::Window).lightness() < 128 ? QChart::ChartThemeDark
                                                                  : QChart::ChartThemeLight);
    chart->setBackgroundBrush(pal.brush(QPalette::Window));
    chart->setDropShadowEnabled(false); // a blurred shadow costs more to paint than the chart
    chart->setBackgroundPen(Qt::NoPen);
    chart->setTitleBrush(pal.brush(QPalette::WindowText));
    chart->setTitleFont(font());
    chart->legend()->setFont(font());
    chart->legend()->setLabelColor(pal.color(QPalette::WindowText));
    for (QAbstractAxis *a : chart->axes()) {
        a->setLabelsFont(font());
        a->setLabelsBrush(pal.brush(QPalette::WindowText));
        a->setTitleFont(font());
        a->setTitleBrush(pal.brush(QPalette::WindowText));
        a->setGridLineColor(pal.color(QPalette::Mid));
        a->setLinePenColor(pal.color(QPalette::Mid));
    }
}

void TStatsCharts::clear(QChart *chart) {
    chart->removeAllSeries();
    for (QAbstractAxis *a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
}

QString TStatsCharts::pointText(const ChartPoint &p) const {
    return QCoreApplication::translate("stats_charts", "%1: файлов %2, %3")
        .arg(p.key)
        .arg(p.files)
        .arg(gigabyteText(p.bytes));
}

void TStatsCharts::draw(const ChartSeries &series, unsigned which) {
    // Points the episodes say nothing of carry a name the user can read.
    const QString unknown = QCoreApplication::translate("stats_charts", "неизвестно");
    const auto take = [&](const std::vector<ChartPoint> &from, std::vector<ChartPoint> &into) {
        if (&from != &into)
            into = from;
        for (ChartPoint &p : into)
            if (p.key.isEmpty())
                p.key = unknown;
    };
    const struct {
        unsigned set;
        const std::vector<ChartPoint> &from;
        std::vector<ChartPoint> &into;
        void (TStatsCharts::*draw)();
        Chart chart;
    } charts[] = {
        {TypeSeries, series.byType, m_series.byType, &TStatsCharts::drawType, ByType},
        {DriveSeries, series.byDrive, m_series.byDrive, &TStatsCharts::drawDrives, ByDrive},
        {HeightSeries, series.byHeight, m_series.byHeight, &TStatsCharts::drawHeights, ByHeight},
        {CodecSeries, series.byVideoCodec, m_series.byVideoCodec, &TStatsCharts::drawCodecs, ByVideoCodec},
        {MonthSeries, series.byMonth, m_series.byMonth, &TStatsCharts::drawMonths, ByMonth},
    };
    for (const auto &c : charts)
        if (which & c.set) {
            take(c.from, c.into);
            (this->*c.draw)();
            applyLook(m_views[c.chart]->chart());
        }
}

void TStatsCharts::drawType() {
    QChart *chart = m_views[ByType]->chart();
    clear(chart);
    auto *pie = new QPieSeries;
    double all = 0;
    for (const ChartPoint &p : m_series.byType)
        all += p.bytes;
    for (size_t i = 0; i < m_series.byType.size(); ++i) {
        const ChartPoint &p = m_series.byType[i];
        QPieSlice *s = pie->append(p.key, p.bytes);
        s->setProperty("vqPoint", int(i));
        s->setLabelVisible(all > 0 && p.bytes / all >= 0.03);
        s->setLabel(QStringLiteral("%1 (%2)").arg(p.key, gigabyteText(p.bytes)));
    }
    connect(pie, &QPieSeries::clicked, this, [this](QPieSlice *s) {
        const ChartPoint &p = m_series.byType.at(size_t(s->property("vqPoint").toInt()));
        if (p.known)
            Q_EMIT typeClicked(p.id);
    });
    connect(pie, &QPieSeries::hovered, this, [this](QPieSlice *s, bool on) {
        if (on)
            QToolTip::showText(QCursor::pos(),
                               pointText(m_series.byType.at(size_t(s->property("vqPoint").toInt()))));
    });
    chart->addSeries(pie);
    chart->setTitle(QCoreApplication::translate("stats_charts", "Объём по типам"));
    chart->legend()->setVisible(false);
}

void TStatsCharts::drawDrives() {
    QChart *chart = m_views[ByDrive]->chart();
    clear(chart);
    const std::vector<ChartPoint> points =
        readable(m_series.byDrive, QCoreApplication::translate("stats_charts", "прочие"));
    auto *online = new QBarSet(QCoreApplication::translate("stats_charts", "подключён"));
    auto *offline = new QBarSet(QCoreApplication::translate("stats_charts", "не подключён"));
    QStringList names;
    for (const ChartPoint &p : points) {
        names << p.key;
        *online << (p.online ? p.bytes / kGb : 0.0);
        *offline << (p.online ? 0.0 : p.bytes / kGb);
    }
    auto *bars = new QHorizontalStackedBarSeries;
    bars->append(online);
    bars->append(offline);
    connect(bars, &QAbstractBarSeries::hovered, this, [this, points](bool on, int i, QBarSet *) {
        if (on && i >= 0 && i < int(points.size()))
            QToolTip::showText(QCursor::pos(), pointText(points[size_t(i)]));
    });
    chart->addSeries(bars);
    auto *y = new QBarCategoryAxis;
    y->append(names);
    auto *x = valueAxis(QCoreApplication::translate("stats_charts", "Гб"));
    chart->addAxis(y, Qt::AlignLeft);
    chart->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(x);
    bars->attachAxis(y);
    x->applyNiceNumbers();
    chart->setTitle(points.empty() ? QCoreApplication::translate("stats_charts",
                                                                 "Объём по дискам: места файлов не известны")
                                   : QCoreApplication::translate("stats_charts", "Объём по дискам"));
    chart->legend()->setVisible(!points.empty());
}

void TStatsCharts::drawHeights() {
    QChart *chart = m_views[ByHeight]->chart();
    clear(chart);
    // One column per class of height; each exact frame is its part of the column.
    QStringList classes;
    for (const ChartPoint &p : m_series.byHeight) {
        const QString c = p.known ? heightClass(p.height) : p.key;
        if (!classes.contains(c))
            classes << c;
    }
    auto *bars = new QStackedBarSeries;
    for (size_t i = 0; i < m_series.byHeight.size(); ++i) {
        const ChartPoint &p = m_series.byHeight[i];
        auto *set = new QBarSet(p.key);
        set->setProperty("vqPoint", int(i));
        const QString c = p.known ? heightClass(p.height) : p.key;
        for (const QString &k : std::as_const(classes))
            *set << (k == c ? double(p.files) : 0.0);
        bars->append(set);
    }
    connect(bars, &QAbstractBarSeries::clicked, this, [this](int, QBarSet *set) {
        const ChartPoint &p = m_series.byHeight.at(size_t(set->property("vqPoint").toInt()));
        if (p.known)
            Q_EMIT frameClicked(p.width, p.height);
    });
    connect(bars, &QAbstractBarSeries::hovered, this, [this](bool on, int, QBarSet *set) {
        if (on)
            QToolTip::showText(QCursor::pos(),
                               pointText(m_series.byHeight.at(size_t(set->property("vqPoint").toInt()))));
    });
    chart->addSeries(bars);
    auto *x = new QBarCategoryAxis;
    x->append(classes);
    auto *y = valueAxis(QCoreApplication::translate("stats_charts", "Файлов"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    y->applyNiceNumbers();
    chart->setTitle(QCoreApplication::translate("stats_charts", "Файлы по кадру"));
    chart->legend()->setVisible(m_series.byHeight.size() <= size_t(kMostBars));
    chart->legend()->setAlignment(Qt::AlignRight);
}

void TStatsCharts::drawCodecs() {
    QChart *chart = m_views[ByVideoCodec]->chart();
    clear(chart);
    const std::vector<ChartPoint> points =
        readable(m_series.byVideoCodec, QCoreApplication::translate("stats_charts", "прочие"));
    auto *set = new QBarSet(QCoreApplication::translate("stats_charts", "Файлов"));
    QStringList names;
    for (const ChartPoint &p : points) {
        names << p.key;
        *set << double(p.files);
    }
    auto *bars = new QHorizontalStackedBarSeries;
    bars->append(set);
    connect(bars, &QAbstractBarSeries::clicked, this, [this, points](int i, QBarSet *) {
        if (i >= 0 && i < int(points.size()) && points[size_t(i)].known)
            Q_EMIT videoCodecClicked(points[size_t(i)].id);
    });
    connect(bars, &QAbstractBarSeries::hovered, this, [this, points](bool on, int i, QBarSet *) {
        if (on && i >= 0 && i < int(points.size()))
            QToolTip::showText(QCursor::pos(), pointText(points[size_t(i)]));
    });
    chart->addSeries(bars);
    auto *y = new QBarCategoryAxis;
    y->append(names);
    auto *x = valueAxis(QCoreApplication::translate("stats_charts", "Файлов"));
    chart->addAxis(y, Qt::AlignLeft);
    chart->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(x);
    bars->attachAxis(y);
    x->applyNiceNumbers();
    chart->setTitle(QCoreApplication::translate("stats_charts", "Видеокодеки"));
    chart->legend()->setVisible(false);
}

void TStatsCharts::drawMonths() {
    QChart *chart = m_views[ByMonth]->chart();
    clear(chart);
    auto *files = new QLineSeries;
    files->setName(QCoreApplication::translate("stats_charts", "Файлов"));
    auto *space = new QLineSeries;
    space->setName(QCoreApplication::translate("stats_charts", "Гб"));
    double mostFiles = 0, mostGb = 0;
    QDateTime first, last;
    for (const ChartPoint &p : m_series.byMonth) {
        const QDateTime at(QDate::fromString(p.key + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd")),
                           QTime(0, 0));
        if (!at.isValid())
            continue; // no date stored: it has no place on a time line
        if (!first.isValid())
            first = at;
        last = at;
        files->append(double(at.toMSecsSinceEpoch()), double(p.files));
        space->append(double(at.toMSecsSinceEpoch()), p.bytes / kGb);
        mostFiles = std::max(mostFiles, double(p.files));
        mostGb = std::max(mostGb, p.bytes / kGb);
    }
    chart->addSeries(files);
    chart->addSeries(space);
    auto *x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("MM.yyyy"));
    x->setTickCount(4);
    if (first.isValid())
        x->setRange(first, first == last ? first.addMonths(1) : last);
    auto *yFiles = valueAxis(QCoreApplication::translate("stats_charts", "Файлов"));
    yFiles->setRange(0, std::max(1.0, mostFiles * 1.05));
    auto *yGb = valueAxis(QCoreApplication::translate("stats_charts", "Гб"));
    yGb->setRange(0, std::max(1.0, mostGb * 1.05));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(yFiles, Qt::AlignLeft);
    chart->addAxis(yGb, Qt::AlignRight);
    files->attachAxis(x);
    files->attachAxis(yFiles);
    space->attachAxis(x);
    space->attachAxis(yGb);
    chart->setTitle(QCoreApplication::translate("stats_charts", "Добавлено по месяцам"));
    chart->legend()->setVisible(true);
}

} // namespace vq
