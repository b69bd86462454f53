#pragma once

#include "export/exportcolumns.h"
#include "gridview/griddata.h"

#include <QDateTime>
#include <QLocale>

#include <vector>

namespace vq {

inline const QString SummaryHtmlFileName = QStringLiteral("AnimeList.html");
inline const QString SelectionHtmlFileName = QStringLiteral("SelAnime.html");

// "Left", "Right" or "Center".
QString alignmentWord(GridAlignment alignment);

// The date in the locale's short format, then, unless the time is exactly midnight, a blank and
// the time in the locale's long format (without a time zone).
QString htmlTimestamp(const QDateTime &now, const QLocale &locale);

// How many columns the page shows: the leading run of visible columns in column order.
int exportedColumnCount(const GridData &grid);

// The page for the grid, every line ended by CR LF, texts HTML-escaped.
QString htmlPage(const GridData &grid, const QDateTime &now, const QLocale &locale);

// Writes htmlPage as UTF-8 to path, replacing the file. Throws vq::Error (msg::cannotCreateFile).
void GenerateHTML(const GridData &grid, const QString &path,
                  const QDateTime &now = QDateTime::currentDateTime(), const QLocale &locale = QLocale());

// The summary grid for the time of its export: an empty separator row and the totals row of the
// whole catalog appended; remove() (or the destructor, when writing failed) takes them out again.
class SummaryHtmlRows {
public:
    SummaryHtmlRows(GridData &grid, const ExportTotals &totals);
    ~SummaryHtmlRows() { remove(); }
    SummaryHtmlRows(const SummaryHtmlRows &) = delete;
    SummaryHtmlRows &operator=(const SummaryHtmlRows &) = delete;
    void remove();

private:
    GridData &m_grid;
    int m_rowCount;
    bool m_active = true;
};

// The selection grid for the time of its export: the chosen of its first ten columns moved to the
// front in both orders, the unchosen ones hidden, the separator and totals rows appended.
// restore() (or the destructor) puts rows, column order, display order and visibility back
// exactly as they were.
class SelectionHtmlLayout {
public:
    SelectionHtmlLayout(GridData &grid, const ExportColumnChoice &choice, const ExportTotals &totals);
    ~SelectionHtmlLayout() { restore(); }
    SelectionHtmlLayout(const SelectionHtmlLayout &) = delete;
    SelectionHtmlLayout &operator=(const SelectionHtmlLayout &) = delete;
    void restore();

private:
    GridData &m_grid;
    int m_rowCount;
    std::vector<GridColumn *> m_columnOrder;
    std::vector<GridColumn *> m_displayOrder;
    std::vector<bool> m_visible; // by original column index
    bool m_active = true;
};

// The whole exports without the window: write the page of the summary or selection grid to path
// and leave the grid as it was, also when writing fails.
void exportSummaryHtml(GridData &grid, const QString &path, const ExportTotals &totals,
                       const QDateTime &now = QDateTime::currentDateTime(),
                       const QLocale &locale = QLocale());
void exportSelectionHtml(GridData &grid, const QString &path, const ExportColumnChoice &choice,
                         const ExportTotals &totals, const QDateTime &now = QDateTime::currentDateTime(),
                         const QLocale &locale = QLocale());

} // namespace vq
