#pragma once

#include "browser/exportlist.h"
#include "catalog/dataset.h"

#include <functional>
#include <vector>

namespace vq {

class CatalogSession;
class GridData;

namespace ops {

// The summary walks titles through `Список`, `Rjk` and `Ext`; the window's title editors and
// totals work on whatever those point at, so they are put back onto the title that was current,
// also when the walk fails half-way.
class CurrentTitleKeeper {
public:
    explicit CurrentTitleKeeper(CatalogSession &session);
    ~CurrentTitleKeeper();
    CurrentTitleKeeper(const CurrentTitleKeeper &) = delete;
    CurrentTitleKeeper &operator=(const CurrentTitleKeeper &) = delete;
    void restore();

private:
    struct State {
        Filter filter;
        bool filtered = false;
        QString sort;
        void apply(DataSet &set) const;
    };
    CatalogSession &m_s;
    qint64 m_id = 0;
    State m_name, m_rjk, m_ext;
    bool m_done = false;
};

// The summary's titles one by one, by name, as the summary spreadsheet writes them: every call
// fills the next title's texts, false after the last. The session must outlive the source; keep
// a CurrentTitleKeeper around the walk when the window's current title matters. With `only`, the
// titles of that list (ascending keys) alone, as a filter shows them.
std::function<bool(TExportList &)> summaryTitles(CatalogSession &session,
                                                 const std::vector<qint64> *only = nullptr);

// The selection list as the window shows it: each title's ten summary texts and its ID, in the
// order given. Titles the catalog does not have raise vq::Error.
void fillSelectionGrid(CatalogSession &session, const std::vector<qint64> &ids, GridData &grid);

// The widths of the ten text columns the window saved under `group` ("gvsv" for the summary,
// "gv3" for the selection list); a column never saved keeps its default.
void applySavedWidths(GridData &grid, const QString &group);

} // namespace ops
} // namespace vq
