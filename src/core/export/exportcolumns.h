#pragma once

#include <QString>

#include <array>

#include "browser/exportlist.h"

namespace vq {

struct CatalogStats;
struct SelTotals;

inline constexpr int ExportColumnCount = 10;

// Column indexes of the ten summary columns that the exports treat specially.
inline constexpr int ExportTitleColumn = 0;
inline constexpr int ExportEpisodesColumn = 2;
inline constexpr int ExportSizeColumn = 3;
inline constexpr int ExportDurationColumn = 4;

// Which of the ten summary columns the selection exports write; index i is summary column i.
using ExportColumnChoice = std::array<bool, ExportColumnCount>;

inline ExportColumnChoice allExportColumns() {
    ExportColumnChoice choice;
    choice.fill(true);
    return choice;
}

// Caption of summary column i (0..9), as in the sheet's header row and the column chooser.
QString exportColumnCaption(int column);

// Width of summary column i in the spreadsheet, in character units.
int exportSpreadsheetWidth(int column);

// Text number i (0..9) of a title's record, in column order.
QString exportText(const TExportList &title, int column);

// The texts of a totals box ("Всего" or "Выбрано"): titles, files, size, duration.
struct ExportTotals {
    QString titles;
    QString files;
    QString size;
    QString duration;
};

// The "Всего" box's texts (whole catalog) and the "Выбрано" box's texts (selection).
ExportTotals catalogTotals(const CatalogStats &stats);
ExportTotals selectionTotals(const SelTotals &totals);

// Label of the totals row in the title column: the word, a colon, two blanks, the number of titles.
QString totalsLabel(const QString &titleCount);

// Index each column moves to when only the chosen columns are kept, packed to the left in their
// order: the number of chosen columns before it.
std::array<int, ExportColumnCount> packedColumnIndexes(const ExportColumnChoice &choice);

int chosenColumnCount(const ExportColumnChoice &choice);

} // namespace vq
