// Grid speed on a summary-sized table: 20,000 rows of 12 columns (ten texts, a hidden check box,
// a hidden numeric ID), filled one AddRows(1) at a time with the widget shown, cleared, and
// sorted by header clicks. Each figure includes the repaint that follows (the event loop runs
// once). Prints the median and best of several runs in milliseconds.
#include "tgridview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace vq;

namespace {

constexpr int kRows = 20000;
constexpr int kRuns = 7;

struct Source {
    std::vector<QString> texts; // kRows * 10
};

Source makeSource() {
    QRandomGenerator rng(20240);
    const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyz ");
    const QString cyr = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя ");
    const QString types[] = {"TV", "OVA", "Movie", "Спешл"};
    const QString langs[] = {"Японский", "Русский", "Английский", ""};
    const QString sizes[] = {"1280x720", "1920x1080", "! 720x480", "640x480"};
    Source s;
    s.texts.reserve(kRows * 10);
    for (int r = 0; r < kRows; ++r) {
        QString title;
        const QString &alphabet = rng.bounded(2) ? latin : cyr;
        const int len = 8 + rng.bounded(30);
        for (int i = 0; i < len; ++i)
            title += alphabet.at(rng.bounded(alphabet.size()));
        title[0] = title[0].toUpper();
        s.texts.push_back(title);
        s.texts.push_back(types[rng.bounded(4)]);
        s.texts.push_back(QString::number(1 + rng.bounded(52)));
        s.texts.push_back(QString::number(rng.bounded(90000)));
        s.texts.push_back(QStringLiteral("%1:%2:%3")
                              .arg(rng.bounded(30))
                              .arg(rng.bounded(60), 2, 10, QLatin1Char('0'))
                              .arg(rng.bounded(60), 2, 10, QLatin1Char('0')));
        s.texts.push_back(sizes[rng.bounded(4)]);
        s.texts.push_back(langs[rng.bounded(4)]);
        s.texts.push_back(langs[rng.bounded(4)]);
        s.texts.push_back(langs[rng.bounded(4)]);
        s.texts.push_back(rng.bounded(3) ? QString() : QStringLiteral("комментарий %1").arg(r));
    }
    return s;
}

void setUpSummaryGrid(TGridView &g) {
    g.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    g.SetColor(clSilver);
    const char *captions[] = {"Название", "Тип",  "Серии",  "Объём",   "Длительность",
                              "Качество", "Звук", "Sub In", "Sub Ext", "Комментарий"};
    const int widths[] = {262, 73, 73, 67, 108, 80, 80, 54, 62, 186};
    for (int c = 0; c < 10; ++c)
        g.AddTextColumn(QString::fromUtf8(captions[c])).SetWidth(widths[c]);
    GridColumn &sel = g.AddColumn(ColumnKind::CheckBox, QStringLiteral("Выбрано"));
    sel.SetVisible(false);
    GridColumn &id = g.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    id.SetVisible(false);
}

// The summary table's rebuild: one row at a time, ten texts, the ID, every seventh row sky blue.
void fill(TGridView &g, const Source &s) {
    for (int r = 0; r < kRows; ++r) {
        g.AddRows(1);
        const int row = g.RowCount() - 1;
        const QString *t = &s.texts[static_cast<size_t>(r) * 10];
        for (int c = 0; c < 10; ++c)
            g.SetCellText(c, row, t[c]);
        g.CellAt(11, row).SetAsInteger(r + 1);
        if (r % 7 == 0)
            for (int c = 0; c < 12; ++c)
                g.CellAt(c, row).SetColor(clSkyBlue);
    }
}

// Wall time, and the CPU time of this thread: on a busy machine the second shows the work
// without the time spent waiting for a core.
struct Figure {
    double median, best, cpuMedian, cpuBest;
};

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

Figure measure(const std::function<void()> &prepare, const std::function<void()> &work) {
    std::vector<double> ms, cpu;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        QElapsedTimer t;
        const double c0 = threadCpuMs();
        t.start();
        work();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {ms[ms.size() / 2], ms.front(), cpu[cpu.size() / 2], cpu.front()};
}

void print(const char *what, Figure f, double limit) {
    std::printf("%-56s wall median %7.2f best %7.2f | cpu median %7.2f best %7.2f ms (limit %.0f)\n", what,
                f.median, f.best, f.cpuMedian, f.cpuBest, limit);
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    const Source source = makeSource();

    TGridView grid;
    setUpSummaryGrid(grid);
    grid.resize(1090, 700);
    grid.show();
    QCoreApplication::processEvents();

    // Everything up to the first paint counts: publishing the rows and drawing them.
    auto settle = [&] {
        grid.SetCurrentRow(0);
        grid.MakeRowVisible(0);
        QCoreApplication::processEvents();
    };

    std::printf("grid: %d rows x %d columns, widget shown (platform %s), %d runs each\n", kRows,
                grid.ColumnCount(), qPrintable(QGuiApplication::platformName()), kRuns);

    print("one screen repainted (for comparison)",
          measure(
              [&] {
                  grid.ClearRows();
                  fill(grid, source);
                  settle();
              },
              [&] {
                  grid.viewport()->update();
                  QCoreApplication::processEvents();
              }),
          0);
    print("fill one AddRows(1) at a time, cells set, first paint",
          measure(
              [&] {
                  grid.ClearRows();
                  QCoreApplication::processEvents();
              },
              [&] {
                  fill(grid, source);
                  settle();
              }),
          100);

    print("ClearRows of the filled grid (and its repaint)",
          measure(
              [&] {
                  grid.ClearRows();
                  fill(grid, source);
                  settle();
              },
              [&] {
                  grid.ClearRows();
                  QCoreApplication::processEvents();
              }),
          20);

    QHeaderView *hh = grid.horizontalHeader();
    auto freshGrid = [&] {
        grid.ClearRows();
        fill(grid, source);
        settle();
        grid.Column(0).SetSorted(false);
    };
    auto click = [&](int col) {
        Q_EMIT hh->sectionClicked(col);
        QCoreApplication::processEvents();
    };

    print("header click: sort title column (alphabetic)", measure(freshGrid, [&] { click(0); }), 50);
    print("header click again: reverse",
          measure(
              [&] {
                  freshGrid();
                  click(0);
              },
              [&] { click(0); }),
          50);
    print("header click after a cell change: descending sort anew",
          measure(
              [&] {
                  freshGrid();
                  click(0);
                  grid.SetCellText(1, 5, QStringLiteral("TV"));
              },
              [&] { click(0); }),
          50);
    grid.Column(0).SetSortType(SortType::CaseInsensitive);
    print("header click: sort title column (case-insensitive)", measure(freshGrid, [&] { click(0); }), 50);
    grid.Column(0).SetSortType(SortType::Alphabetic);
    grid.Column(3).SetSortType(SortType::Numeric);
    print("header click: sort a text column numerically", measure(freshGrid, [&] { click(3); }), 50);
    print("header click: sort hidden numeric ID column", measure(freshGrid, [&] { click(11); }), 50);
    return 0;
}
