// The export handlers of the window: HTML pages of the summary and the selection, spreadsheets of
// the whole catalog and of the selection, and the column chooser of the selection exports.
#include "tview_base.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "dialogs.h"
#include "export/htmlexport.h"
#include "export/spreadsheetexport.h"
#include "ops/summarysource.h"
#include "page_stats.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "tselform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace vq {

namespace {

ExportTotals labelTotals(QLabel *titles, QLabel *files, QLabel *size, QLabel *duration) {
    return {titles->text(), files->text(), size->text(), duration->text()};
}

// The titles the summary shows, in its rows' order (a sort by a column too).
std::vector<qint64> summaryRowIds(TGridView &gvsv) {
    std::vector<qint64> ids;
    ids.reserve(size_t(gvsv.RowCount()));
    for (int r = 0; r < gvsv.RowCount(); ++r)
        ids.push_back(qint64(gvsv.Data().NumberAt(gvsv::Id, r)));
    return ids;
}

} // namespace

// The totals under a summary export: of the titles it writes, those the summary shows.
ExportTotals TView_Base::summaryExportTotals() {
    if (const Narrowing &shown = m_summaryHandlers->shown(); shown.narrowed) {
        const QStringList t = shownTexts(shown.found);
        return {t.value(0), t.value(1), t.value(2), t.value(3)};
    }
    TPageStats *st = statsPage();
    return labelTotals(st->LCount, st->LCE, st->LSize, st->LTime);
}

bool TView_Base::spreadsheetViewerKnown() const {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true; // nothing to ask: the opener itself has to tell
    QProcess query;
    query.start(xdgMime,
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

// Hands a written spreadsheet to the desktop; when nothing can show it the user learns where it is.
void TView_Base::openSpreadsheet(const QString &path) {
    if (!spreadsheetViewerKnown() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        m_dialogs.inform(this, QString(), msg::spreadsheetNotOpened(QDir::toNativeSeparators(path)));
}

namespace {
QString htmlFilter() {
    return QCoreApplication::translate("exports_wiring", "Страница HTML (*.html *.htm)");
}
QString sheetFilter() {
    return QCoreApplication::translate("exports_wiring", "Таблица Excel (*.xlsx)");
}
} // namespace

void TView_Base::BToHtMLClick() {
    const QString path = askSavePath(msg::saveHtmlCaption(), SummaryHtmlFileName, htmlFilter());
    if (path.isEmpty())
        return;
    const ExportTotals totals = summaryExportTotals();
    GridData &grid = GVSV().Data();
    // The separator and totals rows leave again even when the page cannot be written.
    SummaryHtmlRows rows(grid, totals);
    GenerateHTML(grid, path);
    offerToOpen(path);
    rows.remove();
}

void TView_Base::BSToHTMLClick() {
    const QString path = askSavePath(msg::saveHtmlCaption(), SelectionHtmlFileName, htmlFilter());
    if (path.isEmpty())
        return;
    TPageStats *st = statsPage();
    const ExportTotals totals = labelTotals(st->LVAni, st->LVFile, st->LVSize, st->LVtime);
    GridData &grid = GV3().Data();
    {
        // Rows, column order, display order and visibility come back exactly, on failure too.
        SelectionHtmlLayout layout(grid, m_exportColumnChoice, totals);
        GenerateHTML(grid, path);
        layout.restore();
    }
    offerToOpen(path);
}

void TView_Base::BToExlClick() {
    if (!m_session.isOpen())
        throw Error(msg::noCatalogOpen());
    // A typed change of the current title belongs in the sheet.
    postPendingTitleEdit();
    // The workbook is the user's file, kept where it was saved.
    const QString path = askSavePath(msg::saveSpreadsheetCaption(), SummarySheetFileName, sheetFilter());
    if (path.isEmpty())
        return;
    const ExportTotals totals = summaryExportTotals();
    writeSummaryXlsx(path, ops::summaryTitles(m_session.catalog(), summaryRowIds(GVSV())), totals);
    openSpreadsheet(path);
}

void TView_Base::BSToExcelClick() {
    TPageStats *st = statsPage();
    const QString path = askSavePath(msg::saveSpreadsheetCaption(), SelectionSheetFileName, sheetFilter());
    if (path.isEmpty())
        return;
    const ExportTotals totals = labelTotals(st->LVAni, st->LVFile, st->LVSize, st->LVtime);
    writeSelectionXlsx(path, GV3().Data(), m_exportColumnChoice, totals);
    openSpreadsheet(path);
}

void TView_Base::BSetClick() {
    const std::unique_ptr<QSettings> settings = openSettings();
    TSelForm form(m_exportColumnChoice, this);
    form.move(readIntSetting(*settings, QStringLiteral("SelForm/Left"), TSelForm::DefaultLeft),
              readIntSetting(*settings, QStringLiteral("SelForm/Top"), TSelForm::DefaultTop));
    form.exec();
    writeIntSetting(*settings, QStringLiteral("SelForm/Left"), form.x());
    writeIntSetting(*settings, QStringLiteral("SelForm/Top"), form.y());
}

} // namespace vq
