// The export handlers of the window: HTML pages of the summary and the selection, spreadsheets of
// the whole catalog and of the selection, and the column chooser of the selection exports.
#include "tview_base.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "dialogs.h"
#include "export/htmlexport.h"
#include "export/spreadsheetexport.h"
#include "page_stats.h"
#include "tgridview.h"
#include "tselform.h"

#include <QDesktopServices>
#include <QDir>
#include <QSettings>
#include <QUrl>

namespace vq {

namespace {

ExportTotals labelTotals(QLabel *titles, QLabel *files, QLabel *size, QLabel *duration) {
    return {titles->text(), files->text(), size->text(), duration->text()};
}

// The summary spreadsheet walks every title through `Список`, `Rjk` and `Ext`; the title editors
// and the selection totals work on whatever those point at, so they are put back afterwards onto
// the title the window shows, also when the export fails half-way.
class CurrentTitleKeeper {
public:
    explicit CurrentTitleKeeper(CatalogSession &s) : m_s(s) {
        DataSet &name = s.Name;
        m_id = name.recordCount() > 0 ? name.asInteger(0) : 0;
        m_name = {name.filter(), name.isFiltered(), name.sort()};
        m_rjk = {s.RJk.filter(), s.RJk.isFiltered(), s.RJk.sort()};
        m_ext = {s.Ext.filter(), s.Ext.isFiltered(), s.Ext.sort()};
    }
    ~CurrentTitleKeeper() {
        try {
            restore();
        } catch (...) {
            // The export's own error is the one the user sees.
        }
    }
    CurrentTitleKeeper(const CurrentTitleKeeper &) = delete;
    CurrentTitleKeeper &operator=(const CurrentTitleKeeper &) = delete;

    void restore() {
        if (m_done)
            return;
        m_done = true;
        DataSet &name = m_s.Name;
        m_name.apply(name);
        if (m_id != 0 && !(name.recordCount() > 0 && name.asInteger(0) == m_id)) {
            const int n = name.recordCount();
            for (int r = 1; r <= n; ++r) {
                name.setRecNo(r);
                if (name.asInteger(0) == m_id)
                    break;
            }
        }
        for (auto [set, state] : {std::pair{&m_s.RJk, &m_rjk}, std::pair{&m_s.Ext, &m_ext}}) {
            if (!set->isOpen())
                continue;
            state->apply(*set);
            set->first();
        }
    }

private:
    struct State {
        Filter filter;
        bool filtered = false;
        QString sort;
        void apply(DataSet &set) const {
            set.setSort(sort);
            set.setFilter(filter);
            set.setFiltered(filtered);
        }
    };
    CatalogSession &m_s;
    qint64 m_id = 0;
    State m_name, m_rjk, m_ext;
    bool m_done = false;
};

// Hands a written spreadsheet to the desktop; when nothing opens it the user learns where it is.
void openSpreadsheet(TView_Base &window, const QString &path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        window.dialogs().inform(&window, QString(),
                                msg::spreadsheetNotOpened(QDir::toNativeSeparators(path)));
}

} // namespace

void TView_Base::BToHtMLClick() {
    TPageStats *st = statsPage();
    const ExportTotals totals = labelTotals(st->LCount, st->LCE, st->LSize, st->LTime);
    GridData &grid = GVSV().Data();
    // The separator and totals rows leave again even when the page cannot be written.
    SummaryHtmlRows rows(grid, totals);
    GenerateHTML(grid, QDir(StartDir()).filePath(SummaryHtmlFileName));
    m_dialogs.inform(this, QString(), msg::fileCreated(SummaryHtmlFileName));
    rows.remove();
}

void TView_Base::BSToHTMLClick() {
    TPageStats *st = statsPage();
    const ExportTotals totals = labelTotals(st->LVAni, st->LVFile, st->LVSize, st->LVtime);
    GridData &grid = GV3().Data();
    {
        // Rows, column order, display order and visibility come back exactly, on failure too.
        SelectionHtmlLayout layout(grid, m_exportColumnChoice, totals);
        GenerateHTML(grid, QDir(StartDir()).filePath(SelectionHtmlFileName));
        layout.restore();
    }
    m_dialogs.inform(this, QString(), msg::fileCreated(SelectionHtmlFileName));
}

void TView_Base::BToExlClick() {
    if (!m_session.isOpen())
        throw Error(msg::noCatalogOpen());
    // A typed change of the current title belongs in the sheet.
    postPendingTitleEdit();
    TPageStats *st = statsPage();
    const ExportTotals totals = labelTotals(st->LCount, st->LCE, st->LSize, st->LTime);
    const QString path = newSpreadsheetExportPath();
    {
        CurrentTitleKeeper keep(m_session);
        DataSet &name = m_session.Name;
        name.setFiltered(false);
        name.setSort(CatalogSession::titleSort());
        name.first();
        const int count = name.recordCount();
        m_session.Ext.close();
        m_session.Ext.open();
        if (!m_session.RJk.isOpen())
            m_session.RJk.open();
        int recNo = 0;
        writeSummaryXlsx(
            path,
            [&](TExportList &title) {
                if (recNo >= count)
                    return false;
                GetExtParam(m_session, ++recNo, title);
                return true;
            },
            totals);
        keep.restore();
    }
    openSpreadsheet(*this, path);
}

void TView_Base::BSToExcelClick() {
    TPageStats *st = statsPage();
    const ExportTotals totals = labelTotals(st->LVAni, st->LVFile, st->LVSize, st->LVtime);
    const QString path = newSpreadsheetExportPath();
    writeSelectionXlsx(path, GV3().Data(), m_exportColumnChoice, totals);
    openSpreadsheet(*this, path);
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
