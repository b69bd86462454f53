#pragma once

#include "browser/exportlist.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

namespace vq {

class Catalog;
class CatalogSession;
class GridData;

namespace ops {

// Every title of the catalog in name order, whatever the lists show.
std::vector<qint64> titlesByName(CatalogSession &session);

// The titles `ids` one by one, in that order, as the summary spreadsheet writes them: every call
// fills the next title's texts (the catalog's own, by key), false after the last. The catalog must
// outlive the source.
std::function<bool(TExportList &)> summaryTitles(Catalog &catalog, std::vector<qint64> ids);

// The selection list as the window shows it: each title's ten summary texts and its ID, in the
// order given; a comment the user typed into the list (`comments`, by title) stands instead of the
// title's own. Titles the catalog does not have raise vq::Error.
void fillSelectionGrid(Catalog &catalog, const std::vector<qint64> &ids, GridData &grid,
                       const QHash<qint64, QString> *comments = nullptr);

// The widths of the ten text columns the window saved under `group` ("gvsv" for the summary,
// "gv3" for the selection list); a column never saved keeps its default.
void applySavedWidths(GridData &grid, const QString &group);

} // namespace ops
} // namespace vq
