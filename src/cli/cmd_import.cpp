// Importing a list of titles, as the window's import wizard does.
#include "cli.h"

#include "browser/summary.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "gridview/griddata.h"
#include "import/listimport.h"

#include <QDir>

namespace vq::cli {

namespace {

WizardChecks parseFields(const QString &text) {
    static const QStringList names = {QStringLiteral("title"), QStringLiteral("type"),
                                      QStringLiteral("episodes"), QStringLiteral("type+episodes"),
                                      QStringLiteral("comment")};
    WizardChecks checks{};
    for (const QString &f : text.split(u',', Qt::SkipEmptyParts)) {
        const int item = int(names.indexOf(f.trimmed()));
        if (item < 0)
            throw UsageError(msg::usageUnknownField(f, names.join(u',')));
        checks[size_t(item)] = true;
    }
    if (checks[wizard::TypeAndEpisodes] && (checks[wizard::Type] || checks[wizard::Episodes]))
        throw UsageError(
            msg::usageNotTogether(QStringLiteral("type+episodes"), QStringLiteral("type, episodes")));
    return checks;
}

int cmdImportList(Context &c) {
    const auto fields = c.takeOption(QStringLiteral("--fields"));
    const auto newCatalog = c.takeOption(QStringLiteral("--new-catalog"));
    const QString file = c.positional(1, 1).first();
    const WizardChecks checks = fields ? parseFields(*fields) : defaultWizardChecks();
    if (newCatalog && newCatalog->isEmpty())
        throw UsageError(msg::usageNewCatalogNeedsName());

    const QStringList lines = readListFile(file);
    GridData summary, preview;
    setupSummaryGrid(summary);
    buildPreview(preview, checks, summary, lines);

    CatalogSession &s = c.session();
    if (newCatalog) {
        const QString newPath = CatalogSession::newCatalogPath(QDir::currentPath(), *newCatalog);
        s.makeNewCatalog(newPath);
        rememberCatalogPath(newPath);
    }
    const ImportResult r = importPreviewRows(s, preview, checks);
    if (!r.ok())
        throw Error(refusedRowMessage(r.failedRow + 1, r.imported, r.error));
    c.printTsv({QString::number(r.imported), s.path()});
    return 0;
}

const Command
    importList("import-list",
               "import-list FILE [--fields title,type,episodes,type+episodes,comment] [--new-catalog NAME]",
               cmdImportList);

} // namespace

} // namespace vq::cli
