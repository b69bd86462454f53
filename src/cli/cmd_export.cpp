// The exports without the window: the summary (every title) or a selection of titles, as an HTML
// page or a spreadsheet file.
#include "cli.h"

#include "browser/summary.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "export/htmlexport.h"
#include "export/spreadsheetexport.h"
#include "gridview/griddata.h"
#include "ops/selection.h"
#include "ops/summarysource.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <optional>
#include <vector>

namespace vq::cli {

namespace {

enum class Format { Html, Xlsx };

std::vector<qint64> parseIds(const QString &text) {
    std::vector<qint64> ids;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const qint64 id = part.trimmed().toLongLong(&ok);
        if (!ok || id <= 0)
            throw UsageError(msg::usageBadSelection(text));
        // A title named twice is one title of the selection: listed once, as the totals count it.
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    }
    return ids;
}

ExportColumnChoice parseColumns(const QString &text) {
    ExportColumnChoice choice{};
    if (text.trimmed().isEmpty())
        return choice; // no column chosen
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int column = part.trimmed().toInt(&ok);
        if (!ok || column < 0 || column >= ExportColumnCount)
            throw UsageError(msg::usageBadColumns(text));
        choice[size_t(column)] = true;
    }
    return choice;
}

// The choice the window would use: the one it saved, every column when it never did.
ExportColumnChoice rememberedColumns() {
    const std::unique_ptr<QSettings> s = openSettings();
    ExportColumnChoice choice{};
    for (int n = 0; n < ExportColumnCount; ++n)
        choice[size_t(n)] = readBoolSetting(*s, QStringLiteral("SelForm/sl%1").arg(n), true);
    return choice;
}

int runExport(Context &c, Format format) {
    const std::optional<QString> selection = c.takeOption(QStringLiteral("--selection"));
    const std::optional<QString> columns = c.takeOption(QStringLiteral("--columns"));
    const QString out = c.positional(1, 1).first();
    if (out.isEmpty())
        throw UsageError(msg::usageOutputNeedsName());
    if (columns && !selection)
        throw UsageError(msg::usageColumnsNeedSelection());
    const std::vector<qint64> ids = selection ? parseIds(*selection) : std::vector<qint64>();
    const ExportColumnChoice choice = columns ? parseColumns(*columns) : rememberedColumns();

    CatalogSession &s = c.session();
    const CatalogStats stats = UpStat(s);

    if (selection) {
        GridData grid;
        ops::fillSelectionGrid(s.catalog(), ids, grid);
        ops::applySavedWidths(grid, QStringLiteral("gv3"));
        ops::Selection chosen;
        for (const qint64 id : ids)
            chosen.add(id);
        const SelTotals sel = chosen.totals(s);
        if (format == Format::Html)
            exportSelectionHtml(grid, out, choice, selectionTotals(sel));
        else
            writeSelectionXlsx(out, grid, choice, selectionTotals(sel));
    } else {
        s.Name.setFiltered(false);
        s.Name.setSort(CatalogSession::titleSort());
        if (format == Format::Html) {
            GridData grid;
            setupSummaryGrid(grid);
            ops::applySavedWidths(grid, QStringLiteral("gvsv"));
            TExportList texts;
            LoadGvSv(s, grid, texts);
            exportSummaryHtml(grid, out, catalogTotals(stats));
        } else {
            writeSummaryXlsx(out, ops::summaryTitles(s.catalog(), ops::titlesByName(s)),
                             catalogTotals(stats));
        }
    }
    c.out << QFileInfo(out).absoluteFilePath() << '\n';
    return 0;
}

int cmdExportHtml(Context &c) {
    return runExport(c, Format::Html);
}
int cmdExportXlsx(Context &c) {
    return runExport(c, Format::Xlsx);
}

const Command exportHtml("export-html",
                         "export-html OUT [--selection ID,ID,...] [--columns N,N,...]  the summary or the "
                         "selection as an HTML page (columns 0-9; default: the window's choice)",
                         cmdExportHtml);
const Command exportXlsx("export-xlsx",
                         "export-xlsx OUT [--selection ID,ID,...] [--columns N,N,...]  the same as a "
                         "spreadsheet file",
                         cmdExportXlsx);

} // namespace

} // namespace vq::cli
