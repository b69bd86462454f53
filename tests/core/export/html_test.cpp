#include "browser/summary.h"
#include "catalog/error.h"
#include "export/htmlexport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vq;

namespace {

QString u8(const char *s) {
    return QString::fromUtf8(s);
}

struct ColumnSpec {
    const char *caption;
    GridAlignment alignment;
    int width;
};

const ColumnSpec TenColumns[10] = {
    {"Название", GridAlignment::Left, 262},       {"Тип", GridAlignment::Center, 73},
    {"Серии", GridAlignment::Center, 73},         {"Объём", GridAlignment::Right, 67},
    {"Длительность", GridAlignment::Center, 108}, {"Качество", GridAlignment::Center, 80},
    {"Звук", GridAlignment::Center, 80},          {"Sub In", GridAlignment::Center, 62},
    {"Sub Ext", GridAlignment::Center, 62},       {"Комментарий", GridAlignment::Left, 186},
};

void addTenColumns(GridData &grid, bool named) {
    for (int i = 0; i < 10; ++i) {
        GridColumn &c = grid.AddTextColumn(u8(TenColumns[i].caption));
        c.SetAlignment(TenColumns[i].alignment);
        c.SetWidth(TenColumns[i].width);
        if (named)
            c.SetName(QStringLiteral("n%1").arg(i));
    }
}

// The summary grid as the window lays it out: ten texts, the hidden selection mark and ID.
void makeSummaryGrid(GridData &grid) {
    addTenColumns(grid, false);
    grid.AddColumn(ColumnKind::CheckBox, u8("Выбрано")).SetVisible(false);
    grid.AddColumn(ColumnKind::Numeric, QStringLiteral("ID")).SetVisible(false);
}

// The selection grid: ten texts and the hidden ID, named n0 .. n10.
void makeSelectionGrid(GridData &grid) {
    addTenColumns(grid, true);
    GridColumn &id = grid.AddTextColumn(QStringLiteral("ID"));
    id.SetName(QStringLiteral("n10"));
    id.SetVisible(false);
}

void addRow(GridData &grid, const QStringList &texts, int id) {
    grid.AddRows(1);
    const int r = grid.RowCount() - 1;
    for (int c = 0; c < texts.size(); ++c)
        grid.SetCellText(c, r, texts[c]);
    grid.SetCellText(grid.ColumnCount() - 1, r, QString::number(id));
}

const QStringList RowA = {u8("Ёлка & <ёж>"), "TV",  "12",  "1,50 Gb", "05:00:00",
                          "1920x1080",       "Jap", "Rus", "",        u8("\"хорошо\"")};
const QStringList RowB = {"Zeta", "OVA", "", "0,70 Gb", "01:00:00", "640x480", "Eng", "", "Eng", ""};
const ExportTotals Totals{"2", "14", "2,20 Gb", "06:00:00"};

const QDateTime Clock(QDate(2024, 3, 5), QTime(14, 7, 9));
const QLocale Russian(QLocale::Russian, QLocale::Russia);

QStringList readLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<unreadable>")};
    const QString text = QString::fromUtf8(f.readAll());
    if (!text.endsWith(QStringLiteral("\r\n")))
        return {QStringLiteral("<no CR LF at the end>")};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

QStringList pageStart(const QString &timestamp) {
    return {"<html>",
            "<head>",
            "<meta charset=\"utf-8\">",
            "<title>Anime list - " + timestamp + "</title>",
            "<style>",
            "td{background-color: #ffffff; color: #000000;  font-family: Verdana, Tahoma, Arial, Helvetica, "
            "sans-serif; font-size: 10px}",
            "</style>",
            "</head>",
            "<body>",
            "<table width=\"100%\" cellspacing=\"0\" cellpading=\"1\" border=\"1\" style=\"border-collapse: "
            "collapse; border: 1px solid #666666\">"};
}

QString headerCell(const char *align, int width, const QString &caption) {
    return QStringLiteral("<td align=\"%1\" width=\"%2\"> <b>%3 </b> </td>")
        .arg(QLatin1String(align))
        .arg(width)
        .arg(caption);
}

QString dataCell(const char *align, int width, const QString &text) {
    return QStringLiteral("<td align=\"%1\" width=\"%2\">%3</td>")
        .arg(QLatin1String(align))
        .arg(width)
        .arg(text);
}

const char *const Aligns[10] = {"Left",   "Center", "Center", "Right",  "Center",
                                "Center", "Center", "Center", "Center", "Left"};

// Lines of one table row with the given columns (indexes into the ten) and texts, already escaped.
QStringList rowLines(const std::vector<int> &columns, const QStringList &texts) {
    QStringList lines{"<tr>"};
    for (size_t k = 0; k < columns.size(); ++k)
        lines << dataCell(Aligns[columns[k]], TenColumns[columns[k]].width, texts.value(int(k)));
    lines << "</tr>";
    return lines;
}

QStringList headerLines(const std::vector<int> &columns) {
    QStringList lines{"<tr>"};
    for (int i : columns)
        lines << headerCell(Aligns[i], TenColumns[i].width, u8(TenColumns[i].caption));
    lines << "</tr>";
    return lines;
}

QStringList pick(const QStringList &texts, const std::vector<int> &columns) {
    QStringList out;
    for (int i : columns)
        out << texts.value(i);
    return out;
}

const std::vector<int> AllTen = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

// Everything of a grid an export must leave as it found it.
struct GridSnapshot {
    QStringList columnOrder, displayOrder, visible, widths, cells;
    int rows = 0;
    bool operator==(const GridSnapshot &) const = default;
};

GridSnapshot snapshot(const GridData &grid) {
    GridSnapshot s;
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        s.columnOrder << grid.Column(i).Caption();
        s.displayOrder << grid.ColumnAtPosition(i).Caption();
        s.visible << (grid.Column(i).Visible() ? "1" : "0");
        s.widths << QString::number(grid.Column(i).Width());
    }
    s.rows = grid.RowCount();
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColumnCount(); ++c)
            s.cells << grid.GetCellText(c, r);
    return s;
}

class HtmlExport : public ::testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST(HtmlTimestamp, ShortDateThenLongTimeUnlessMidnight) {
    const struct {
        QDateTime now;
        QLocale locale;
        const char *expected;
    } cases[] = {
        {Clock, Russian, "05.03.2024 14:07:09"},
        {QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0)), Russian, "05.03.2024"},
        {QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0, 500)), Russian, "05.03.2024"},
        {QDateTime(QDate(2024, 3, 5), QTime(0, 0, 1)), Russian, "05.03.2024 00:00:01"},
        {Clock, QLocale(QLocale::English, QLocale::UnitedStates), "3/5/24 2:07:09 PM"},
        {Clock, QLocale(QLocale::German, QLocale::Germany), "05.03.24 14:07:09"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(htmlTimestamp(c.now, c.locale), u8(c.expected)) << c.locale.name().toStdString();
}

TEST_F(HtmlExport, SummaryPageLineByLine) {
    GridData grid;
    makeSummaryGrid(grid);
    addRow(grid, RowA, 7);
    addRow(grid, RowB, 9);
    const GridSnapshot before = snapshot(grid);

    exportSummaryHtml(grid, path(SummaryHtmlFileName), Totals, Clock, Russian);

    QStringList expected = pageStart("05.03.2024 14:07:09");
    expected << headerLines(AllTen);
    expected << rowLines(AllTen, {u8("Ёлка &amp; &lt;ёж&gt;"), "TV", "12", "1,50 Gb", "05:00:00", "1920x1080",
                                  "Jap", "Rus", "", u8("&quot;хорошо&quot;")});
    expected << rowLines(AllTen, RowB);
    expected << rowLines(AllTen, {});
    expected << rowLines(AllTen, {u8("Всего:  2"), "", "14", "2,20 Gb", "06:00:00"});
    expected << "</table>"
             << "</body></html>";
    EXPECT_EQ(readLines(path(SummaryHtmlFileName)), expected);
    EXPECT_EQ(snapshot(grid), before);
}

TEST_F(HtmlExport, EmptySummaryStillHasSeparatorAndTotals) {
    GridData grid;
    makeSummaryGrid(grid);
    exportSummaryHtml(grid, path(SummaryHtmlFileName), {"0", "0", "0,00 Gb", "00:00:00"}, Clock, Russian);
    QStringList expected = pageStart("05.03.2024 14:07:09");
    expected << headerLines(AllTen) << rowLines(AllTen, {})
             << rowLines(AllTen, {u8("Всего:  0"), "", "0", "0,00 Gb", "00:00:00"}) << "</table>"
             << "</body></html>";
    EXPECT_EQ(readLines(path(SummaryHtmlFileName)), expected);
    EXPECT_EQ(grid.RowCount(), 0);
}

TEST_F(HtmlExport, ExportsOnlyTheLeadingRunOfVisibleColumnsWithCurrentWidths) {
    GridData grid;
    makeSummaryGrid(grid);
    addRow(grid, RowB, 1);
    grid.Column(0).SetWidth(300);
    grid.Column(3).SetVisible(false); // columns after it are left out even though visible
    grid.MoveColumnPosition(0, 2);    // the display order does not matter
    GenerateHTML(grid, path("x.html"), Clock, Russian);
    const QStringList lines = readLines(path("x.html"));
    const QStringList header = lines.mid(10, 5);
    EXPECT_EQ(header, QStringList({"<tr>", headerCell("Left", 300, u8("Название")),
                                   headerCell("Center", 73, u8("Тип")), headerCell("Center", 73, u8("Серии")),
                                   "</tr>"}));
    EXPECT_EQ(lines.mid(15, 5),
              QStringList({"<tr>", dataCell("Left", 300, "Zeta"), dataCell("Center", 73, "OVA"),
                           dataCell("Center", 73, ""), "</tr>"}));
    EXPECT_EQ(lines.size(), 22);
}

TEST_F(HtmlExport, FileIsUtf8AndTextCannotInjectMarkup) {
    GridData grid;
    makeSummaryGrid(grid);
    grid.Column(1).SetCaption(QStringLiteral("<i>Type</i>"));
    addRow(grid, {u8("Мой сосед Тоторо"), "<script>alert(1)</script>"}, 1);
    GenerateHTML(grid, path("x.html"), Clock, Russian);
    QFile f(path("x.html"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains(u8("Мой сосед Тоторо").toUtf8()));
    EXPECT_FALSE(bytes.contains("<script>"));
    EXPECT_FALSE(bytes.contains("<i>"));
    EXPECT_TRUE(bytes.contains("&lt;script&gt;alert(1)&lt;/script&gt;"));
    EXPECT_TRUE(bytes.contains("<b>&lt;i&gt;Type&lt;/i&gt; </b>"));
}

TEST_F(HtmlExport, TwiceInARowReplacesTheFileAndLeavesTheGrid) {
    GridData grid;
    makeSummaryGrid(grid);
    addRow(grid, RowA, 1);
    const GridSnapshot before = snapshot(grid);
    exportSummaryHtml(grid, path(SummaryHtmlFileName), Totals, Clock, Russian);
    const QStringList first = readLines(path(SummaryHtmlFileName));
    exportSummaryHtml(grid, path(SummaryHtmlFileName), Totals, Clock.addSecs(61), Russian);
    const QStringList second = readLines(path(SummaryHtmlFileName));
    EXPECT_EQ(second.at(3), "<title>Anime list - 05.03.2024 14:08:10</title>");
    EXPECT_EQ(first.mid(4), second.mid(4));
    EXPECT_EQ(snapshot(grid), before);

    GridData sel;
    makeSelectionGrid(sel);
    addRow(sel, RowA, 1);
    sel.Column(9).SetWidth(250);
    const GridSnapshot selBefore = snapshot(sel);
    ExportColumnChoice choice{};
    choice[1] = choice[4] = choice[9] = true;
    exportSelectionHtml(sel, path(SelectionHtmlFileName), choice, Totals, Clock, Russian);
    const QStringList selFirst = readLines(path(SelectionHtmlFileName));
    exportSelectionHtml(sel, path(SelectionHtmlFileName), choice, Totals, Clock, Russian);
    EXPECT_EQ(readLines(path(SelectionHtmlFileName)), selFirst);
    EXPECT_EQ(snapshot(sel), selBefore);
    EXPECT_EQ(sel.ColumnByName("n9")->Index(), 9);
}

TEST_F(HtmlExport, SelectionKeepsChosenColumnsWithTotalsAtTheirPlaces) {
    const struct {
        const char *name;
        std::vector<int> chosen;
        QStringList totals; // totals row texts, by exported column
    } cases[] = {
        {"all ten", AllTen, {u8("Всего:  2"), "", "14", "2,20 Gb", "06:00:00", "", "", "", "", ""}},
        {"none", {}, {}},
        {"0, 5, 9", {0, 5, 9}, {u8("Всего:  2"), "", ""}},
        {"without duration", {0, 1, 2, 3, 5}, {u8("Всего:  2"), "", "14", "2,20 Gb", ""}},
        {"without title", {2, 3, 4, 8}, {"14", "2,20 Gb", "06:00:00", ""}},
        {"only comment", {9}, {""}},
    };
    for (const auto &tc : cases) {
        SCOPED_TRACE(tc.name);
        GridData grid;
        makeSelectionGrid(grid);
        addRow(grid, RowA, 7);
        addRow(grid, RowB, 9);
        const GridSnapshot before = snapshot(grid);
        ExportColumnChoice choice{};
        for (int i : tc.chosen)
            choice[i] = true;

        exportSelectionHtml(grid, path(SelectionHtmlFileName), choice, Totals, Clock, Russian);

        QStringList expected = pageStart("05.03.2024 14:07:09");
        expected << headerLines(tc.chosen);
        QStringList escapedA = RowA;
        escapedA[0] = u8("Ёлка &amp; &lt;ёж&gt;");
        escapedA[9] = u8("&quot;хорошо&quot;");
        expected << rowLines(tc.chosen, pick(escapedA, tc.chosen))
                 << rowLines(tc.chosen, pick(RowB, tc.chosen));
        expected << rowLines(tc.chosen, {}) << rowLines(tc.chosen, tc.totals);
        expected << "</table>"
                 << "</body></html>";
        const QStringList lines = readLines(path(SelectionHtmlFileName));
        EXPECT_EQ(lines, expected);
        if (tc.chosen.empty()) {
            EXPECT_EQ(lines.mid(10, 2), QStringList({"<tr>", "</tr>"}));
        }
        if (!choice[0]) {
            EXPECT_FALSE(lines.join('\n').contains(u8("Всего:")));
        }
        if (!choice[4]) {
            EXPECT_FALSE(lines.join('\n').contains("06:00:00"));
        }
        EXPECT_EQ(snapshot(grid), before);
    }
}

TEST_F(HtmlExport, SelectionRestoresAnUnusualLayoutExactly) {
    GridData grid;
    makeSelectionGrid(grid);
    addRow(grid, RowA, 7);
    grid.MoveColumnPosition(3, 7);
    grid.MoveColumnPosition(10, 0);
    grid.Column(6).SetVisible(false);
    grid.MoveColumnIndex(4, 1);
    const GridSnapshot before = snapshot(grid);
    ExportColumnChoice choice{};
    choice[2] = choice[5] = choice[8] = true;
    exportSelectionHtml(grid, path(SelectionHtmlFileName), choice, Totals, Clock, Russian);
    EXPECT_EQ(snapshot(grid), before);
}

TEST_F(HtmlExport, FailedWriteReportsFileAndLeavesGridAsItWas) {
    const QString bad = path("missing/AnimeList.html");
    const QString expectedStart = QStringLiteral("Не удаётся создать файл \"%1\". ").arg(bad);

    GridData summary;
    makeSummaryGrid(summary);
    addRow(summary, RowA, 1);
    const GridSnapshot summaryBefore = snapshot(summary);
    try {
        exportSummaryHtml(summary, bad, Totals, Clock, Russian);
        ADD_FAILURE() << "no error";
    } catch (const vq::Error &e) {
        EXPECT_TRUE(e.message().startsWith(expectedStart)) << e.message().toStdString();
        EXPECT_GT(e.message().size(), expectedStart.size());
    }
    EXPECT_EQ(snapshot(summary), summaryBefore);

    GridData sel;
    makeSelectionGrid(sel);
    addRow(sel, RowB, 1);
    const GridSnapshot selBefore = snapshot(sel);
    ExportColumnChoice choice{};
    choice[3] = choice[7] = true;
    EXPECT_THROW(exportSelectionHtml(sel, bad, choice, Totals, Clock, Russian), vq::Error);
    EXPECT_EQ(snapshot(sel), selBefore);
    EXPECT_FALSE(QFile::exists(bad));
}

TEST(HtmlLayout, ColumnsAreRearrangedForTheTimeOfTheExport) {
    GridData grid;
    makeSelectionGrid(grid);
    addRow(grid, RowA, 7);
    ExportColumnChoice choice{};
    choice[0] = choice[5] = choice[9] = true;
    {
        SelectionHtmlLayout layout(grid, choice, Totals);
        QStringList names, positions;
        for (int i = 0; i < grid.ColumnCount(); ++i) {
            names << grid.Column(i).Name();
            positions << grid.ColumnAtPosition(i).Name();
        }
        const QStringList expected = {"n0", "n5", "n9", "n1", "n2", "n3", "n4", "n6", "n7", "n8", "n10"};
        EXPECT_EQ(names, expected);
        EXPECT_EQ(positions, expected);
        EXPECT_EQ(exportedColumnCount(grid), 3);
        EXPECT_EQ(grid.RowCount(), 3);
        EXPECT_EQ(grid.GetCellText(1, 0), "1920x1080"); // cells moved with their column
        EXPECT_EQ(grid.GetCellText(0, 2), u8("Всего:  2"));
    } // the destructor restores, as after a failure
    EXPECT_EQ(grid.Column(5).Name(), "n5");
    EXPECT_EQ(exportedColumnCount(grid), 10);
    EXPECT_EQ(grid.RowCount(), 1);
}

TEST_F(HtmlExport, WindowGridsExportTheTenColumnsAlike) {
    GridData summary, selection;
    setupSummaryGrid(summary);
    setupSelectionGrid(selection);
    addRow(summary, RowB, 3);
    addRow(selection, RowB, 3);
    exportSummaryHtml(summary, path(SummaryHtmlFileName), Totals, Clock, Russian);
    exportSelectionHtml(selection, path(SelectionHtmlFileName), allExportColumns(), Totals, Clock, Russian);
    const QStringList summaryLines = readLines(path(SummaryHtmlFileName));
    EXPECT_EQ(summaryLines.mid(10, 12), headerLines(AllTen));
    EXPECT_EQ(readLines(path(SelectionHtmlFileName)), summaryLines);
}
