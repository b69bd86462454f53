#include "export/spreadsheetexport.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "export/xlsxfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vq {

namespace {

// The opening both exports share: a visible program with a new one-sheet workbook named for the
// export; returns the sheet's columns collection.
SpreadsheetRanges openSheet(SpreadsheetApplication &app) {
    app.setVisible(true);
    app.Workbooks().Add(WorkbookOneSheet);
    app.Workbooks(1).WorkSheets(1).setName(ExportSheetName);
    return app.Workbooks(1).WorkSheets(ExportSheetName).Columns();
}

void setBoldTen(const SpreadsheetRanges &columns) {
    for (int n = 1; n <= ExportColumnCount; ++n) {
        columns(n).Font().setBold(true);
        columns(n).Font().setSize(10);
    }
}

void setHeaderStyle(const SpreadsheetRanges &rows, int row) {
    rows(row).Font().setBold(true);
    rows(row).Font().setColor(ExportHeaderColor);
    rows(row).Font().setSize(10);
}

QString cellValue(int column, const QString &text) {
    return column == ExportEpisodesColumn ? QStringLiteral(" ") + text : text;
}

} // namespace

void exportSummarySheet(SpreadsheetApplication &app, const TitleTextsSource &nextTitle,
                        const ExportTotals &totals) {
    const SpreadsheetRanges columns = openSheet(app);
    for (int n = 1; n <= ExportColumnCount; ++n)
        columns(n).setColumnWidth(exportSpreadsheetWidth(n - 1));
    setBoldTen(columns);
    const SpreadsheetRanges rows = app.Workbooks(1).WorkSheets(ExportSheetName).Rows();
    setHeaderStyle(rows, 1);
    SpreadsheetSheet sheet = app.Workbooks(1).WorkSheets(ExportSheetName);
    for (int n = 1; n <= ExportColumnCount; ++n)
        sheet.setCells(1, n, exportColumnCaption(n - 1));

    int count = 0;
    TExportList title;
    while (nextTitle(title)) {
        ++count;
        for (int n = 1; n <= ExportColumnCount; ++n)
            sheet.setCells(count + 1, n, cellValue(n - 1, exportText(title, n - 1)));
    }

    const int totalsRow = count + 3;
    setHeaderStyle(rows, totalsRow);
    sheet.setCells(totalsRow, ExportTitleColumn + 1, totalsLabel(totals.titles));
    sheet.setCells(totalsRow, ExportEpisodesColumn + 1, totals.files);
    sheet.setCells(totalsRow, ExportSizeColumn + 1, totals.size);
    sheet.setCells(totalsRow, ExportDurationColumn + 1, totals.duration);
}

void exportSelectionSheet(SpreadsheetApplication &app, int rowCount, const GridTextSource &cellText,
                          const ExportColumnChoice &choice, const ExportTotals &totals) {
    // Sheet column (1-based) of each chosen column: the chosen ones packed to the left in order.
    std::array<int, ExportColumnCount> sheetColumn = packedColumnIndexes(choice);
    for (int &c : sheetColumn)
        ++c;

    const SpreadsheetRanges columns = openSheet(app);
    for (int i = 0; i < ExportColumnCount; ++i) {
        if (choice[i])
            columns(sheetColumn[i]).setColumnWidth(exportSpreadsheetWidth(i));
    }
    setBoldTen(columns);
    const SpreadsheetRanges rows = app.Workbooks(1).WorkSheets(ExportSheetName).Rows();
    setHeaderStyle(rows, 1);
    SpreadsheetSheet sheet = app.Workbooks(1).WorkSheets(ExportSheetName);
    for (int i = 0; i < ExportColumnCount; ++i) {
        if (choice[i])
            sheet.setCells(1, sheetColumn[i], exportColumnCaption(i));
    }

    for (int g = 0; g < rowCount; ++g) {
        for (int i = 0; i < ExportColumnCount; ++i) {
            if (choice[i])
                sheet.setCells(g + 2, sheetColumn[i], cellValue(i, cellText(i, g)));
        }
    }

    const int totalsRow = rowCount + 2;
    setHeaderStyle(rows, totalsRow);
    if (choice[ExportTitleColumn])
        sheet.setCells(totalsRow, sheetColumn[ExportTitleColumn], totalsLabel(totals.titles));
    if (choice[ExportEpisodesColumn])
        sheet.setCells(totalsRow, sheetColumn[ExportEpisodesColumn], totals.files);
    if (choice[ExportSizeColumn])
        sheet.setCells(totalsRow, sheetColumn[ExportSizeColumn], totals.size);
    if (choice[ExportDurationColumn])
        sheet.setCells(totalsRow, sheetColumn[ExportDurationColumn], totals.duration);
}

void exportSelectionSheet(SpreadsheetApplication &app, const GridData &grid, const ExportColumnChoice &choice,
                          const ExportTotals &totals) {
    exportSelectionSheet(
        app, grid.RowCount(), [&grid](int column, int row) { return grid.GetCellText(column, row); }, choice,
        totals);
}

void writeSelectionXlsx(const QString &path, const GridData &grid, const ExportColumnChoice &choice,
                        const ExportTotals &totals) {
    SpreadsheetApplication app;
    exportSelectionSheet(app, grid, choice, totals);
    writeXlsx(app.workbook(1), path);
}

void writeSummaryXlsx(const QString &path, const TitleTextsSource &nextTitle, const ExportTotals &totals) {
    SpreadsheetApplication app;
    exportSummarySheet(app, nextTitle, totals);
    writeXlsx(app.workbook(1), path);
}

void writeSelectionXlsx(const QString &path, int rowCount, const GridTextSource &cellText,
                        const ExportColumnChoice &choice, const ExportTotals &totals) {
    SpreadsheetApplication app;
    exportSelectionSheet(app, rowCount, cellText, choice, totals);
    writeXlsx(app.workbook(1), path);
}

} // namespace vq
