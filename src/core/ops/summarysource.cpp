#include "summarysource.h"

#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "gridview/griddata.h"

#include <QSettings>

namespace vq::ops {

std::vector<qint64> titlesByName(CatalogSession &s) {
    return s.catalog().titleOrder().ids();
}

std::function<bool(TExportList &)> summaryTitles(Catalog &catalog, std::vector<qint64> ids) {
    return [&catalog, ids = std::move(ids), next = size_t(0)](TExportList &title) mutable {
        if (next >= ids.size())
            return false;
        GetExtParam(catalog, ids[next++], title);
        return true;
    };
}

void fillSelectionGrid(Catalog &catalog, const std::vector<qint64> &ids, GridData &grid,
                       const QHash<qint64, QString> *comments) {
    TitleTextCache &texts = catalog.titleTexts();
    texts.prepare(ids);
    std::vector<TitleTextBlock> rows;
    for (const qint64 id : ids) {
        TitleTextBlock t = texts.of(id).texts;
        if (!t)
            throw Error(msg::noTitleWithId(id));
        rows.push_back(std::move(t));
    }
    if (grid.ColumnCount() != gv3::IdColumn + 1)
        setupSelectionGrid(grid);
    GridFill fill(grid);
    grid.ClearRows();
    grid.AddRows(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        // The row shows the catalog's texts; only a comment of the user's own is the row's.
        grid.SetRowTexts(r, rows[size_t(r)]);
        grid.CellAt(gv3::IdColumn, r).SetAsInteger(int(ids[size_t(r)]));
        if (comments)
            if (const auto c = comments->constFind(ids[size_t(r)]); c != comments->cend())
                grid.SetCellText(gv3::CommentColumn, r, *c);
    }
}

void applySavedWidths(GridData &grid, const QString &group) {
    const std::unique_ptr<QSettings> s = openSettings();
    for (int n = 0; n < TExportList::FieldCount && n < grid.ColumnCount(); ++n) {
        GridColumn &col = grid.Column(n);
        col.SetWidth(readIntSetting(*s, QStringLiteral("%1/s%2").arg(group).arg(n), col.DefaultWidth()));
    }
}

} // namespace vq::ops
