#include "summarysource.h"

#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "gridview/griddata.h"

#include <QSettings>

namespace vq::ops {

void CurrentTitleKeeper::State::apply(DataSet &set) const {
    set.setSort(sort);
    set.setFilter(filter);
    set.setFiltered(filtered);
}

CurrentTitleKeeper::CurrentTitleKeeper(CatalogSession &s) : m_s(s) {
    DataSet &name = s.Name;
    m_id = name.recordCount() > 0 ? name.asInteger(0) : 0;
    m_name = {name.filter(), name.isFiltered(), name.sort()};
    m_rjk = {s.RJk.filter(), s.RJk.isFiltered(), s.RJk.sort()};
    m_ext = {s.Ext.filter(), s.Ext.isFiltered(), s.Ext.sort()};
}

CurrentTitleKeeper::~CurrentTitleKeeper() {
    try {
        restore();
    } catch (...) {
        // The walk's own error is the one the user sees.
    }
}

void CurrentTitleKeeper::restore() {
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

std::function<bool(TExportList &)> summaryTitles(CatalogSession &s, const std::vector<qint64> *only) {
    DataSet &name = s.Name;
    name.setFiltered(false);
    if (only) {
        name.setFilter(Filter::oneOf(QStringLiteral("ID"), *only));
        name.setFiltered(true);
    }
    name.setSort(CatalogSession::titleSort());
    name.first();
    // The stored queries as they are now, not as a previous walk left them.
    s.Ext.close();
    s.Ext.open();
    if (!s.RJk.isOpen())
        s.RJk.open();
    const int count = name.recordCount();
    return [&s, count, recNo = 0](TExportList &title) mutable {
        if (recNo >= count)
            return false;
        GetExtParam(s, ++recNo, title);
        return true;
    };
}

void fillSelectionGrid(CatalogSession &s, const std::vector<qint64> &ids, GridData &grid) {
    setupSelectionGrid(grid);
    TExportList texts;
    for (const qint64 id : ids) {
        s.Name.setFiltered(false);
        s.Name.setFilter(Filter::equals(QStringLiteral("ID"), id));
        s.Name.setFiltered(true);
        if (s.Name.recordCount() == 0)
            throw Error(msg::noTitleWithId(id));
        s.Series.setFilter(Filter::equals(QStringLiteral("Название"), id));
        s.Series.setFiltered(true);
        GetExtParam(s, 1, texts);
        grid.AddRows(1);
        const int row = grid.RowCount() - 1;
        for (int c = 0; c < TExportList::FieldCount; ++c)
            grid.SetCellText(c, row, texts.field(c));
        grid.CellAt(gv3::IdColumn, row).SetAsInteger(int(id));
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
