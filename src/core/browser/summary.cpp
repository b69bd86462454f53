#include "summary.h"

#include "catalog/catalogsession.h"
#include "catalog/formats.h"
#include "catalog/parallel.h"
#include "catalog/tabledata.h"
#include "gridview/griddata.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <numeric>
#include <thread>
#include <vector>

namespace vq {

namespace {

struct ColumnSpec {
    const char *caption;
    GridAlignment align;
    int width;
};

const ColumnSpec kSummaryColumns[10] = {
    {"Название", GridAlignment::Left, 262},       {"Тип", GridAlignment::Center, 73},
    {"Серии", GridAlignment::Center, 73},         {"Объём", GridAlignment::Right, 67},
    {"Длительность", GridAlignment::Center, 108}, {"Качество", GridAlignment::Center, 80},
    {"Звук", GridAlignment::Center, 80},          {"Sub In", GridAlignment::Center, 62},
    {"Sub Ext", GridAlignment::Center, 62},       {"Комментарий", GridAlignment::Left, 186},
};

void addTextColumns(GridData &grid) {
    for (const ColumnSpec &c : kSummaryColumns) {
        GridColumn &col = grid.AddTextColumn(QString::fromUtf8(c.caption));
        col.SetAlignment(c.align);
        col.SetWidth(c.width);
        col.SetDefaultWidth(c.width);
        col.SetOptions(col.Options() & ~coEditing);
        col.SetSortType(SortType::Alphabetic);
    }
}

} // namespace

void setupSummaryGrid(GridData &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    grid.SetRowSize(16);
    grid.SetColor(clSilver);
    addTextColumns(grid);
    // The texts come from the kept summary, column n from its n-th text.
    for (int c = 0; c < TExportList::FieldCount; ++c)
        grid.Column(c).SetSourceField(c);
    GridColumn &sel = grid.AddColumn(ColumnKind::CheckBox, QStringLiteral("Выбрано"));
    sel.SetDefaultValue(QStringLiteral("false"));
    sel.SetWidth(80);
    sel.SetVisible(false);
    sel.SetSortType(SortType::Boolean);
    GridColumn &id = grid.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    id.SetDefaultValue(QStringLiteral("0"));
    id.SetWidth(80);
    id.SetVisible(false);
    id.SetSortType(SortType::Numeric);
    for (int c = 0; c < grid.ColumnCount(); ++c)
        grid.Column(c).SetColor(clSilver);
}

void setupTitleGrid(GridData &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goIndicator);
    grid.SetRowSize(16);
    GridColumn &id = grid.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    id.SetDefaultValue(QStringLiteral("0"));
    id.SetWidth(80);
    id.SetVisible(false);
    GridColumn &title = grid.AddTextColumn(QStringLiteral("Название"));
    title.SetSourceField(gvsv::Title); // a title's texts as the summary keeps them
    title.SetWidth(262);
    title.SetOptions(title.Options() & ~coEditing);
}

void setupSelectionGrid(GridData &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    grid.SetRowSize(16);
    grid.SetColor(clWindow);
    addTextColumns(grid);
    // The titles' own texts, by key; a comment typed into the list is the cell's own.
    for (int c = 0; c < TExportList::FieldCount; ++c)
        grid.Column(c).SetSourceField(c);
    GridColumn &id = grid.AddTextColumn(QStringLiteral("ID"));
    id.SetWidth(80);
    id.SetVisible(false);
    for (int c = 0; c < grid.ColumnCount(); ++c)
        grid.Column(c).SetName(QStringLiteral("n%1").arg(c));
    grid.Column(gv3::CommentColumn).AddOption(coEditing);
}

void GetExtParam(Catalog &catalog, qint64 id, TExportList &out) {
    const TitleTexts &t = catalog.titleTexts().of(id);
    for (int f = 0; f < TExportList::FieldCount; ++f)
        out.field(f) = t.field(f);
}

void GetExtParam(CatalogSession &s, int recNo, TExportList &out) {
    s.Name.setRecNo(recNo);
    GetExtParam(s.catalog(), s.Name.asInteger(0), out);
}

std::vector<EpisodeTexts> titleEpisodeTexts(Catalog &catalog, qint64 titleId) {
    // A data set of its own over the title's episodes: it formats them, and no view shares it.
    DataSet episodes(&catalog, QStringLiteral("Серии"));
    episodes.setFilter(Filter::equals(QStringLiteral("Название"), titleId));
    episodes.setFiltered(true);
    episodes.setSort(CatalogSession::episodeSort());
    episodes.open();
    static const char *const kFields[7] = {"Серия", "Size", "Размеры", "Time", "Sound", "Sub_In", "Sub_Ext"};
    int fields[7];
    for (int c = 0; c < 7; ++c)
        fields[c] = episodes.fieldIndex(QString::fromUtf8(kFields[c]));
    std::vector<EpisodeTexts> out(size_t(episodes.recordCount()));
    for (int r = 0; r < int(out.size()); ++r) {
        episodes.setRecNo(r + 1);
        out[size_t(r)].id = episodes.asInteger(0);
        for (int c = 0; c < 7; ++c)
            out[size_t(r)].texts[size_t(c)] = episodes.asString(fields[c]);
    }
    return out;
}

bool updatedRecently(const QDateTime &maxUpdate, const QDateTime &now) {
    if (!maxUpdate.isValid())
        return false;
    const double spanDays =
        std::fabs(double(naiveMsFromDateTime(now) - naiveMsFromDateTime(maxUpdate))) / 86400000.0;
    return spanDays < double(kRecentDays);
}

bool updatedRecently(std::optional<qint64> maxUpdate, qint64 now) {
    return maxUpdate && std::fabs(double(now - *maxUpdate)) / 86400000.0 < double(kRecentDays);
}

SummaryReader::SummaryReader(CatalogSession &s) : m_s(s) {
    // The name order is worked out on another thread while the sums are read: at 100,000 titles
    // each is a good part of the pass.
    std::vector<std::function<void()>> tasks{[&] { m_sums = s.catalog().titleSums({true, std::nullopt}); }};
    if (std::function<void()> sort = s.Name.sortTask())
        tasks.push_back(std::move(sort));
    runAtOnce(tasks);
}

SummaryReader::~SummaryReader() = default;

int SummaryReader::partsFor(qsizetype records) {
    return TitleTextCache::partsFor(records);
}

void SummaryReader::textsInStoredOrder(int parts, const Visit &visit) {
    const std::vector<DataSet::RecordKey> keys = m_s.Name.recordKeys(0);
    int rows = 0;
    for (const DataSet::RecordKey &k : keys)
        rows = std::max(rows, k.row + 1);
    std::vector<int> recordAt(size_t(rows), -1); // by row of the table
    for (size_t i = 0; i < keys.size(); ++i)
        recordAt[size_t(keys[i].row)] = int(i);
    std::vector<int> order; // records by row
    order.reserve(keys.size());
    std::vector<qint64> ids;
    ids.reserve(keys.size());
    for (const int i : recordAt)
        if (i >= 0) {
            order.push_back(i);
            ids.push_back(keys[size_t(i)].value);
        }
    parts = std::clamp(parts, 1, std::max(1, int(order.size())));
    // The catalog's own texts, made where missing from the sums read with the order.
    TitleTextCache &texts = m_s.catalog().titleTexts();
    texts.prepare(ids, parts, m_sums ? &*m_sums : nullptr);
    std::vector<const TitleTexts *> entries(ids.size());
    for (size_t k = 0; k < ids.size(); ++k)
        entries[k] = &texts.of(ids[k]);
    std::vector<std::function<void()>> tasks;
    for (int part = 0; part < parts; ++part)
        tasks.push_back([&, part] {
            TExportList t;
            const size_t from = order.size() * size_t(part) / size_t(parts);
            const size_t to = order.size() * size_t(part + 1) / size_t(parts);
            for (size_t k = from; k < to; ++k) {
                for (int f = 0; f < TExportList::FieldCount; ++f)
                    t.field(f) = entries[k]->field(f);
                visit(part, order[k] + 1, ids[k], t);
            }
        });
    runAtOnce(tasks);
}

QString titleWithOtherName(const QString &title, const QString &otherName) {
    return title + QStringLiteral(" — ") + otherName;
}

namespace {

// The rows of `grid` a refill to `keys` keeps: all, in place, when the grid already lists these
// titles in this order (a refresh), else none. Every row is given its texts anew, so only rows in
// place save anything (nothing moves, no cell changes).
std::vector<int> keptRows(const GridData &grid, int idColumn, const std::vector<DataSet::RecordKey> &keys) {
    std::vector<int> from(keys.size(), -1);
    if (grid.RowCount() != int(keys.size()))
        return from;
    for (int q = 0; q < grid.RowCount(); ++q)
        if (qint64(grid.NumberAt(idColumn, q)) != keys[size_t(q)].value)
            return from;
    std::iota(from.begin(), from.end(), 0);
    return from;
}

// A summary row's ID, selected mark and colour: recently updated titles and selected ones stand out.
void markSummaryRow(GridData &gvsv, int r, qint64 id, bool recent, const QSet<qint64> &selected) {
    gvsv.CellAt(gvsv::Id, r).SetAsInteger(int(id));
    GridColor color = clSilver;
    bool paint = false;
    if (recent) {
        color = clSkyBlue;
        paint = true;
    }
    if (!selected.isEmpty() && selected.contains(id)) {
        gvsv.CellAt(gvsv::Selected, r).SetAsBoolean(true);
        color = clAqua;
        paint = true;
    }
    if (paint)
        for (int c = 0; c < gvsv.ColumnCount(); ++c)
            gvsv.CellAt(c, r).SetColor(color);
}

} // namespace

void LoadLists(CatalogSession &s, const ListGrids &grids, const QSet<qint64> &selected, const QDateTime &now,
               const QHash<qint64, QString> *otherNames) {
    std::optional<GridFill> fills[3];
    GridData *all[3] = {grids.gvsv, grids.gv, grids.gv4};
    for (int i = 0; i < 3; ++i)
        if (all[i])
            fills[i].emplace(*all[i]);
    const qint64 nowMs = naiveMsFromDateTime(now);
    const std::vector<DataSet::RecordKey> keys = s.Name.recordKeys(0);
    const int n = int(keys.size());
    std::optional<GridRowWriter> summary, names, names4;
    if (grids.gvsv)
        summary.emplace(*grids.gvsv, keptRows(*grids.gvsv, gvsv::Id, keys));
    if (grids.gv)
        names.emplace(*grids.gv, keptRows(*grids.gv, 0, keys));
    if (grids.gv4)
        names4.emplace(*grids.gv4, keptRows(*grids.gv4, 0, keys));
    // The catalog's texts of every title shown, made where the title changed since.
    TitleTextCache &texts = s.catalog().titleTexts();
    {
        std::vector<qint64> ids(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            ids[i] = keys[i].value;
        texts.prepare(ids, TitleTextCache::partsFor(qsizetype(ids.size())));
    }
    std::vector<char> recent(static_cast<size_t>(n));
    // One pass for every grid: a title's texts are fetched from memory once, not once per grid.
    for (int r = 0; r < n; ++r) {
        const qint64 id = keys[size_t(r)].value;
        const TitleTexts &e = texts.of(id);
        recent[size_t(r)] = updatedRecently(e.maxUpdate, nowMs);
        if (summary) {
            summary->setRowTexts(r, e.texts);
            if (otherNames)
                if (const auto other = otherNames->constFind(id); other != otherNames->cend())
                    summary->setText(r, gvsv::Title, titleWithOtherName(e.field(gvsv::Title), *other));
            if (grids.exportList && r == n - 1)
                for (int f = 0; f < TExportList::FieldCount; ++f)
                    grids.exportList->field(f) = e.field(f);
        }
        if (names)
            names->setRowTexts(r, e.texts);
        if (names4)
            names4->setRowTexts(r, e.texts);
    }
    for (auto *w : {&summary, &names, &names4})
        if (*w)
            (*w)->finish();
    // What is not text goes in once the rows are there.
    for (int r = 0; r < n; ++r) {
        const qint64 id = keys[size_t(r)].value;
        if (grids.gvsv)
            markSummaryRow(*grids.gvsv, r, id, recent[size_t(r)], selected);
        if (grids.gv) {
            grids.gv->CellAt(0, r).SetAsInteger(int(id));
            if (recent[size_t(r)])
                grids.gv->CellAt(1, r).SetColor(clSkyBlue);
        }
        if (grids.gv4)
            grids.gv4->CellAt(0, r).SetAsInteger(int(id));
    }
}

void LoadGvSv(CatalogSession &s, GridData &gvsv, TExportList &exportList, const QSet<qint64> &selected,
              const QDateTime &now, const QHash<qint64, QString> *otherNames) {
    LoadLists(s, ListGrids{&gvsv, nullptr, nullptr, &exportList}, selected, now, otherNames);
}

void LoadName(CatalogSession &s, GridData &gv, GridData *gv4, const QDateTime &now) {
    LoadLists(s, ListGrids{nullptr, &gv, gv4, nullptr}, {}, now);
}

QStringList totalsTexts(qint64 titles, qint64 files, double sizeBytes, double durationMs) {
    return {QString::number(titles), QString::number(files), gigabyteText(sizeBytes),
            FormatPlayTime(roundHalfEven(durationMs))};
}

CatalogStats UpStat(CatalogSession &s) {
    // The stored queries show the catalog as it is now when next read (opening reads nothing yet).
    for (DataSet *q : {&s.ADS, &s.RJk, &s.Ext}) {
        q->close();
        q->open();
    }
    Catalog &c = s.catalog();
    CatalogStats st;
    // All titles, counted without putting them in order; the files and their totals as the file
    // keeps them, not by reading every episode.
    st.titles = int(std::min<qint64>(c.titleCount(), std::numeric_limits<int>::max()));
    const CatalogTotals all = c.totals();
    st.files = int(std::min<qint64>(all.files, std::numeric_limits<int>::max()));
    st.durationMs = all.durationMs;
    st.sizeBytes = all.sizeBytes;
    const QStringList texts = totalsTexts(st.titles, st.files, st.sizeBytes, st.durationMs);
    st.LCount = texts[0];
    st.LCE = texts[1];
    st.LSize = texts[2];
    st.LTime = texts[3];
    return st;
}

QString SelTotals::LVAni() const {
    return QString::number(TitleCount);
}
QString SelTotals::LVFile() const {
    return QString::number(FileCount);
}
QString SelTotals::LVSize() const {
    return gigabyteText(SizeBytes);
}
QString SelTotals::LVtime() const {
    return FormatPlayTime(roundHalfEven(DurationSum));
}

} // namespace vq
