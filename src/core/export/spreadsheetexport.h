#pragma once

#include "export/exportcolumns.h"
#include "export/spreadsheet.h"
#include "gridview/griddata.h"

#include <functional>

namespace vq {

inline const QString ExportSheetName = QStringLiteral("Anime List");
// Font colour of the header and totals rows (TColor).
inline constexpr int ExportHeaderColor = 8388736;

// Gives the next title's texts in catalog order; false when there are no more.
using TitleTextsSource = std::function<bool(TExportList &title)>;
// Text of the selection grid's cell (column, row), column in the grid's column order.
using GridTextSource = std::function<QString(int column, int row)>;

// The whole catalog into a new sheet: captions, one row per title, one empty row, then the totals
// of the whole catalog ("Всего" box).
void exportSummarySheet(SpreadsheetApplication &app, const TitleTextsSource &nextTitle,
                        const ExportTotals &totals);

// The selection grid's rows, chosen columns only and packed to the left, the selection's totals
// ("Выбрано" box) right under the data.
void exportSelectionSheet(SpreadsheetApplication &app, int rowCount, const GridTextSource &cellText,
                          const ExportColumnChoice &choice, const ExportTotals &totals);

// The selection grid itself as the source: its cells (column, row) in column order.
void exportSelectionSheet(SpreadsheetApplication &app, const GridData &grid, const ExportColumnChoice &choice,
                          const ExportTotals &totals);

// The same, written to an .xlsx file at path. Throws vq::Error.
void writeSummaryXlsx(const QString &path, const TitleTextsSource &nextTitle, const ExportTotals &totals);
void writeSelectionXlsx(const QString &path, int rowCount, const GridTextSource &cellText,
                        const ExportColumnChoice &choice, const ExportTotals &totals);
void writeSelectionXlsx(const QString &path, const GridData &grid, const ExportColumnChoice &choice,
                        const ExportTotals &totals);

// The names the window proposes for the spreadsheets of the summary and of the selection.
inline const QString SummarySheetFileName = QStringLiteral("AnimeList.xlsx");
inline const QString SelectionSheetFileName = QStringLiteral("SelAnime.xlsx");

} // namespace vq
