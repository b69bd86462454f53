#include "xlsxreader.h"

#include "catalog/error.h"
#include "export/spreadsheetexport.h"
#include "export/xlsxfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

using namespace vq;
using vqtest::XlsxBook;

namespace {

const QString Purple = QStringLiteral("800080");
const int SheetWidths[10] = {35, 8, 8, 8, 15, 10, 10, 8, 8, 30};
const char *const Captions[10] = {"Название", "Тип",  "Серии",  "Объём",   "Длительность",
                                  "Качество", "Звук", "Sub In", "Sub Ext", "Комментарий"};

QString u8(const char *s) {
    return QString::fromUtf8(s);
}

TExportList title(const QString &name, const QString &episodes, const QString &comment = {}) {
    TExportList t;
    t.Title = name;
    t.TypeText = QStringLiteral("TV");
    t.EpisodeCount = episodes;
    t.SizeText = QStringLiteral("1,5 Gb");
    t.DurationText = QStringLiteral("05:00:00");
    t.QualityText = QStringLiteral("1920x1080");
    t.SoundText = QStringLiteral("Jap");
    t.SubInText = QStringLiteral("Rus");
    t.SubExtText = QStringLiteral("Eng");
    t.CommentText = comment;
    return t;
}

TitleTextsSource fromList(const std::vector<TExportList> &titles) {
    auto pos = std::make_shared<size_t>(0);
    return [titles, pos](TExportList &out) {
        if (*pos >= titles.size())
            return false;
        out = titles[(*pos)++];
        return true;
    };
}

const ExportTotals Totals{QStringLiteral("3"), QStringLiteral("42"), QStringLiteral("12,25 Gb"),
                          QStringLiteral("1d 02:03:04")};

// Width as the user sees it: the file stores the character width plus cell padding.
int shownWidth(const XlsxBook &book, int column) {
    return int(std::floor(book.column(column).width));
}

void expectHeaderFont(const XlsxBook &book, int row, int column) {
    const auto f = book.cellFont(row, column);
    EXPECT_TRUE(f.bold) << row << "," << column;
    EXPECT_EQ(f.size, 10) << row << "," << column;
    EXPECT_EQ(f.rgb, Purple) << row << "," << column;
}

void expectAllText(const XlsxBook &book) {
    for (auto [r, c] : book.filledCells()) {
        EXPECT_EQ(book.cell(r, c).type, QStringLiteral("s")) << r << "," << c;
        EXPECT_FALSE(book.cell(r, c).hasFormula) << r << "," << c;
    }
}

class SpreadsheetExport : public ::testing::Test {
protected:
    QString path(const QString &name = QStringLiteral("out.xlsx")) { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SpreadsheetExport, SummaryWritesEveryTitleAndTotalsOneRowBelow) {
    const std::vector<TExportList> titles = {
        title(u8("Ёлка и «ёж»"), QStringLiteral("12"), u8("хорошо")),
        title(QStringLiteral("=1+1"), QString()),
        title(QStringLiteral("A & <b>"), QStringLiteral("=SUM(A1:A2)"), QStringLiteral("0012")),
    };
    writeSummaryXlsx(path(), fromList(titles), Totals);
    const XlsxBook book(path());

    EXPECT_EQ(book.sheetNames(), QStringList{QStringLiteral("Anime List")});
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(book.text(1, n), u8(Captions[n - 1]));
        expectHeaderFont(book, 1, n);
        EXPECT_EQ(shownWidth(book, n), SheetWidths[n - 1]) << n;
        const auto columnFont = book.font(book.column(n).style);
        EXPECT_TRUE(columnFont.bold);
        EXPECT_EQ(columnFont.size, 10);
    }
    for (int r = 0; r < 3; ++r) {
        for (int n = 1; n <= 10; ++n) {
            const QString expected = exportText(titles[r], n - 1);
            EXPECT_EQ(book.text(r + 2, n), n == 3 ? QStringLiteral(" ") + expected : expected)
                << r << "," << n;
            if (!book.hasCell(r + 2, n)) {
                EXPECT_TRUE(expected.isEmpty());
                continue;
            }
            const auto f = book.cellFont(r + 2, n);
            EXPECT_TRUE(f.bold);
            EXPECT_EQ(f.size, 10);
            EXPECT_TRUE(f.rgb.isEmpty());
        }
    }
    EXPECT_EQ(book.text(3, 1), QStringLiteral("=1+1"));
    EXPECT_EQ(book.text(3, 3), QStringLiteral(" "));
    for (int n = 1; n <= 10; ++n)
        EXPECT_TRUE(book.text(5, n).isEmpty()) << n;

    EXPECT_EQ(book.text(6, 1), QStringLiteral("Всего:  3"));
    EXPECT_EQ(book.text(6, 2), QString());
    EXPECT_EQ(book.text(6, 3), QStringLiteral("42"));
    EXPECT_EQ(book.text(6, 4), QStringLiteral("12,25 Gb"));
    EXPECT_EQ(book.text(6, 5), QStringLiteral("1d 02:03:04"));
    for (int n : {1, 3, 4, 5})
        expectHeaderFont(book, 6, n);
    EXPECT_EQ(book.font(book.rowStyle(6)).rgb, Purple);
    EXPECT_FALSE(book.hasRowStyle(5));
    expectAllText(book);
}

TEST_F(SpreadsheetExport, EmptyCatalogPutsTotalsInRowThree) {
    writeSummaryXlsx(
        path(), fromList({}),
        {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0 Gb"), QStringLiteral("00:00:00")});
    const XlsxBook book(path());
    EXPECT_EQ(book.text(1, 1), QStringLiteral("Название"));
    for (int n = 1; n <= 10; ++n)
        EXPECT_FALSE(book.hasCell(2, n) && !book.cell(2, n).type.isEmpty()) << n;
    EXPECT_EQ(book.text(3, 1), QStringLiteral("Всего:  0"));
    EXPECT_EQ(book.text(3, 3), QStringLiteral("0"));
    expectHeaderFont(book, 3, 1);
    EXPECT_EQ(book.filledCells().size(), 14u);
}

TEST_F(SpreadsheetExport, SummaryCallsComeInTheFixedOrder) {
    SpreadsheetApplication app;
    QStringList log;
    app.setCallLog(&log);
    exportSummarySheet(app, fromList({title(QStringLiteral("A"), QStringLiteral("1"))}), Totals);

    QStringList expected = {
        "Visible=true", "Workbooks.Add(-4167)",       "Workbooks(1)", "WorkSheets(1)", "Name=Anime List",
        "Workbooks(1)", "WorkSheets(\"Anime List\")", "Columns"};
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("Columns(%1).ColumnWidth=%2").arg(n).arg(SheetWidths[n - 1]);
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("Columns(%1).Font.Bold=true").arg(n)
                 << QStringLiteral("Columns(%1).Font.Size=10").arg(n);
    expected << "Workbooks(1)"
             << "WorkSheets(\"Anime List\")"
             << "Rows"
             << "Rows(1).Font.Bold=true"
             << "Rows(1).Font.Color=8388736"
             << "Rows(1).Font.Size=10";
    expected << "Workbooks(1)"
             << "WorkSheets(\"Anime List\")";
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("cells(1,%1)=%2").arg(n).arg(u8(Captions[n - 1]));
    expected << "cells(2,1)=A"
             << "cells(2,2)=TV"
             << "cells(2,3)= 1"
             << "cells(2,4)=1,5 Gb"
             << "cells(2,5)=05:00:00"
             << "cells(2,6)=1920x1080"
             << "cells(2,7)=Jap"
             << "cells(2,8)=Rus"
             << "cells(2,9)=Eng"
             << "cells(2,10)=";
    expected << "Rows(4).Font.Bold=true"
             << "Rows(4).Font.Color=8388736"
             << "Rows(4).Font.Size=10" << QStringLiteral("cells(4,1)=Всего:  3") << "cells(4,3)=42"
             << "cells(4,4)=12,25 Gb"
             << "cells(4,5)=1d 02:03:04";
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(app.Visible());
}

namespace {

struct SelectionCase {
    const char *name;
    std::vector<int> chosen;
    int rows;
    // Expected per sheet column: caption, width, totals text.
    std::map<int, QString> captions;
    std::map<int, int> widths;
    std::map<int, QString> totals;
    int episodesSheetColumn; // 0 when the episodes column is not chosen
};

QString gridText(int column, int row) {
    if (column == 2)
        return row == 1 ? QString() : QStringLiteral("%1").arg(row + 10);
    return QStringLiteral("c%1r%2").arg(column).arg(row);
}

} // namespace

TEST_F(SpreadsheetExport, SelectionPacksChosenColumnsToTheLeft) {
    const ExportTotals sel{QStringLiteral("2"), QStringLiteral("7"), QStringLiteral("3,00 Gb"),
                           QStringLiteral("10:00:00")};
    const QString label = QStringLiteral("Всего:  2");
    std::map<int, QString> allCaptions, allTotals{{1, label}, {3, "7"}, {4, "3,00 Gb"}, {5, "10:00:00"}};
    std::map<int, int> allWidths;
    for (int n = 1; n <= 10; ++n) {
        allCaptions[n] = u8(Captions[n - 1]);
        allWidths[n] = SheetWidths[n - 1];
    }
    const std::vector<SelectionCase> cases = {
        {"all ten", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 2, allCaptions, allWidths, allTotals, 3},
        {"all ten, empty", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, allCaptions, allWidths, allTotals, 3},
        {"none", {}, 2, {}, {}, {}, 0},
        {"0, 5, 9",
         {0, 5, 9},
         2,
         {{1, u8("Название")}, {2, u8("Качество")}, {3, u8("Комментарий")}},
         {{1, 35}, {2, 10}, {3, 30}},
         {{1, label}},
         0},
        {"no title, no duration",
         {2, 3, 8},
         2,
         {{1, u8("Серии")}, {2, u8("Объём")}, {3, u8("Sub Ext")}},
         {{1, 8}, {2, 8}, {3, 8}},
         {{1, "7"}, {2, "3,00 Gb"}},
         1},
    };
    for (const auto &tc : cases) {
        SCOPED_TRACE(tc.name);
        ExportColumnChoice choice{};
        for (int i : tc.chosen)
            choice[i] = true;
        writeSelectionXlsx(path(), tc.rows, gridText, choice, sel);
        const XlsxBook book(path());
        EXPECT_EQ(book.sheetNames(), QStringList{QStringLiteral("Anime List")});

        std::map<std::pair<int, int>, QString> expected;
        for (const auto &[c, caption] : tc.captions)
            expected[{1, c}] = caption;
        for (int g = 0; g < tc.rows; ++g) {
            for (size_t k = 0; k < tc.chosen.size(); ++k) {
                const int i = tc.chosen[k];
                expected[{g + 2, int(k) + 1}] = (i == 2 ? QStringLiteral(" ") : QString()) + gridText(i, g);
            }
        }
        const int totalsRow = tc.rows + 2;
        for (const auto &[c, text] : tc.totals)
            expected[{totalsRow, c}] = text;

        std::map<std::pair<int, int>, QString> actual;
        for (auto ref : book.filledCells())
            actual[ref] = book.text(ref.first, ref.second);
        EXPECT_EQ(actual, expected);
        if (tc.episodesSheetColumn && tc.rows > 1) {
            EXPECT_EQ(book.text(3, tc.episodesSheetColumn), QStringLiteral(" "));
        }

        for (int n = 1; n <= 10; ++n) {
            if (tc.widths.count(n)) {
                EXPECT_EQ(shownWidth(book, n), tc.widths.at(n)) << n;
            } else {
                EXPECT_LT(book.column(n).width, 9.2) << n; // the default width
            }
            const auto columnFont = book.font(book.column(n).style);
            EXPECT_TRUE(columnFont.bold) << n;
            EXPECT_EQ(columnFont.size, 10) << n;
        }
        for (int row : {1, totalsRow}) {
            ASSERT_TRUE(book.hasRowStyle(row)) << row;
            const auto f = book.font(book.rowStyle(row));
            EXPECT_TRUE(f.bold);
            EXPECT_EQ(f.rgb, Purple);
            EXPECT_EQ(f.size, 10);
            for (int n = 1; n <= 10; ++n)
                expectHeaderFont(book, row, n);
        }
        for (int r = 2; r < totalsRow; ++r)
            EXPECT_FALSE(book.hasRowStyle(r)) << r;
        expectAllText(book);
    }
}

TEST_F(SpreadsheetExport, SelectionReadsTheGridByColumnOrder) {
    GridData grid;
    for (int i = 0; i < 10; ++i)
        grid.AddTextColumn(exportColumnCaption(i));
    grid.AddTextColumn(QStringLiteral("ID")).SetVisible(false);
    grid.AddRows(2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 11; ++c)
            grid.SetCellText(c, r, gridText(c, r));
    ExportColumnChoice choice{};
    choice[2] = choice[6] = true;
    writeSelectionXlsx(path(), grid, choice, Totals);
    const XlsxBook book(path());
    std::map<std::pair<int, int>, QString> actual,
        expected = {
            {{1, 1}, u8("Серии")}, {{1, 2}, u8("Звук")}, {{2, 1}, " 10"}, {{2, 2}, "c6r0"},
            {{3, 1}, " "},         {{3, 2}, "c6r1"},     {{4, 1}, "42"},
        };
    for (auto ref : book.filledCells())
        actual[ref] = book.text(ref.first, ref.second);
    EXPECT_EQ(actual, expected);
}

TEST_F(SpreadsheetExport, SelectionWithNoColumnSetsOnlyFonts) {
    SpreadsheetApplication app;
    QStringList log;
    app.setCallLog(&log);
    exportSelectionSheet(app, 1, gridText, ExportColumnChoice{}, Totals);
    QStringList expected = {
        "Visible=true", "Workbooks.Add(-4167)",       "Workbooks(1)", "WorkSheets(1)", "Name=Anime List",
        "Workbooks(1)", "WorkSheets(\"Anime List\")", "Columns"};
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("Columns(%1).Font.Bold=true").arg(n)
                 << QStringLiteral("Columns(%1).Font.Size=10").arg(n);
    expected << "Workbooks(1)"
             << "WorkSheets(\"Anime List\")"
             << "Rows"
             << "Rows(1).Font.Bold=true"
             << "Rows(1).Font.Color=8388736"
             << "Rows(1).Font.Size=10"
             << "Workbooks(1)"
             << "WorkSheets(\"Anime List\")"
             << "Rows(3).Font.Bold=true"
             << "Rows(3).Font.Color=8388736"
             << "Rows(3).Font.Size=10";
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(app.workbook(1).sheets.at(0).cells.empty());
}

TEST(SpreadsheetColours, WindowsColoursBecomeRgb) {
    const std::pair<int, std::uint32_t> cases[] = {
        {8388736, 0x800080},  {0x0000FF, 0xFF0000}, {0xFF0000, 0x0000FF},
        {0xF0CAA6, 0xA6CAF0}, {0x123456, 0x563412}, {0, 0},
    };
    for (auto [tcolor, rgb] : cases)
        EXPECT_EQ(tcolorToRgb(tcolor), rgb) << tcolor;
}

TEST_F(SpreadsheetExport, LaterFontSettingWinsWhereRowAndColumnCross) {
    SpreadsheetApplication app;
    app.Workbooks().Add(WorkbookOneSheet);
    SpreadsheetSheet sheet = app.Workbooks(1).WorkSheets(1);
    sheet.Rows(2).Font().setColor(0x0000FF); // red
    sheet.Rows(2).Font().setSize(14);
    sheet.Columns(2).Font().setSize(9);
    sheet.Columns(2).Font().setBold(true);
    sheet.Columns(3).Font().setSize(20);
    sheet.Rows(2).Font().setSize(11);
    sheet.Columns(4).Font().setSize(16);
    sheet.setCells(2, 2, QStringLiteral("x"));
    sheet.setCells(5, 2, QStringLiteral("y"));
    sheet.setCells(2, 5, QStringLiteral("z"));
    writeXlsx(app.workbook(1), path());
    const XlsxBook book(path());

    const struct {
        int row, column;
        bool bold;
        double size;
        const char *rgb;
    } expected[] = {
        {2, 2, true, 11, "FF0000"},  // the row's 11 came after the column's 9
        {2, 3, false, 11, "FF0000"}, // blank crossing cell: the row's 11 came after the column's 20
        {2, 4, false, 16, "FF0000"}, // blank crossing cell: the column's 16 came last
        {5, 2, true, 9, ""},         {2, 5, false, 11, "FF0000"},
    };
    for (const auto &e : expected) {
        const auto f = book.cellFont(e.row, e.column);
        EXPECT_EQ(f.bold, e.bold) << e.row << "," << e.column;
        EXPECT_EQ(f.size, e.size) << e.row << "," << e.column;
        EXPECT_EQ(f.rgb, QString::fromLatin1(e.rgb)) << e.row << "," << e.column;
    }
    EXPECT_EQ(book.sheetNames(), QStringList{QStringLiteral("Sheet1")});
}

TEST(SpreadsheetSurface, RefusesWhatTheSpreadsheetProgramWould) {
    const std::pair<const char *, std::function<void(SpreadsheetApplication &)>> cases[] = {
        {"no workbook yet", [](SpreadsheetApplication &a) { a.Workbooks(1); }},
        {"other template", [](SpreadsheetApplication &a) { a.Workbooks().Add(0); }},
        {"second workbook",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet);
             a.Workbooks(2);
         }},
        {"sheet 2", [](SpreadsheetApplication &a) { a.Workbooks().Add(WorkbookOneSheet).WorkSheets(2); }},
        {"unknown sheet",
         [](SpreadsheetApplication &a) { a.Workbooks().Add(WorkbookOneSheet).WorkSheets("Nope"); }},
        {"slash in name",
         [](SpreadsheetApplication &a) { a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).setName("a/b"); }},
        {"long name",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).setName(QString(32, 'x'));
         }},
        {"column 0",
         [](SpreadsheetApplication &a) { a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Columns(0); }},
        {"column past end",
         [](SpreadsheetApplication &a) { a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Columns(16385); }},
        {"row 0",
         [](SpreadsheetApplication &a) { a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Rows(0); }},
        {"cell row 0",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).setCells(0, 1, "x");
         }},
        {"negative colour",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Rows(1).Font().setColor(-1);
         }},
        {"system colour",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Rows(1).Font().setColor(0xFF00000F);
         }},
        {"size 0",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Columns(1).Font().setSize(0);
         }},
        {"width 256",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Columns(1).setColumnWidth(256);
         }},
        {"row width",
         [](SpreadsheetApplication &a) {
             a.Workbooks().Add(WorkbookOneSheet).WorkSheets(1).Rows(1).setColumnWidth(8);
         }},
    };
    for (const auto &[name, call] : cases) {
        SpreadsheetApplication app;
        EXPECT_THROW(call(app), vq::Error) << name;
    }
    SpreadsheetApplication app;
    auto sheet = app.Workbooks().Add(WorkbookOneSheet).WorkSheets(1);
    sheet.setName(QStringLiteral("Anime List"));
    EXPECT_EQ(app.Workbooks(1).WorkSheets(QStringLiteral("anime list")).Name(), QStringLiteral("Anime List"));
}

TEST_F(SpreadsheetExport, UnwritablePathReportsFileAndReason) {
    const QString existing = path(QStringLiteral("keep.xlsx"));
    writeSummaryXlsx(existing, fromList({title(QStringLiteral("Old"), "1")}), Totals);
    const QByteArray before = [&] {
        QFile f(existing);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
    const QString targets[] = {m_dir.filePath(QStringLiteral("missing/out.xlsx")),
                               m_dir.filePath(QStringLiteral("folder"))};
    for (const QString &target : targets) {
        try {
            writeSummaryXlsx(target, fromList({title(QStringLiteral("New"), "2")}), Totals);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const vq::Error &e) {
            const QString prefix = QStringLiteral("Не удаётся создать файл \"%1\". ").arg(target);
            EXPECT_TRUE(e.message().startsWith(prefix)) << e.message().toStdString();
            EXPECT_GT(e.message().size(), prefix.size()) << "no reason given";
        }
    }
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(SpreadsheetExport, ControlCharactersAndLongCatalogsRoundTrip) {
    std::vector<TExportList> titles;
    for (int i = 0; i < 1500; ++i)
        titles.push_back(title(QStringLiteral("T%1\tx").arg(i, 4, 10, QLatin1Char('0')), QString::number(i),
                               i == 7 ? QStringLiteral("bell\x07 end") : QStringLiteral("a_x0041_b")));
    writeSummaryXlsx(path(), fromList(titles), Totals);
    const XlsxBook book(path());
    for (int i : {0, 7, 999, 1499}) {
        EXPECT_EQ(book.text(i + 2, 1), titles[i].Title);
        EXPECT_EQ(book.text(i + 2, 3), QStringLiteral(" ") + QString::number(i));
    }
    EXPECT_EQ(book.text(9, 10), QStringLiteral("bell\x07 end"));
    EXPECT_EQ(book.text(10, 10), QStringLiteral("a_x0041_b")); // not read as an escaped character
    EXPECT_EQ(book.text(1503, 1), QStringLiteral("Всего:  3"));
}
