#include "summary.h"

#include "catalog/catalogsession.h"
#include "catalog/formats.h"
#include "catalog/parallel.h"
#include "catalog/schema.h"
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

#include <QCoreApplication>

namespace vq {

namespace {

struct ColumnSpec {
    const char *caption;
    GridAlignment align;
    int width;
};

const ColumnSpec kSummaryColumns[10] = {
    {QT_TRANSLATE_NOOP("Summary", "Название"), GridAlignment::Left, 262},
    {QT_TRANSLATE_NOOP("Summary", "Тип"), GridAlignment::Center, 73},
    {QT_TRANSLATE_NOOP("Summary", "Серии"), GridAlignment::Center, 73},
    {QT_TRANSLATE_NOOP("Summary", "Объём"), GridAlignment::Right, 67},
    {QT_TRANSLATE_NOOP("Summary", "Длительность"), GridAlignment::Center, 108},
    {QT_TRANSLATE_NOOP("Summary", "Качество"), GridAlignment::Center, 80},
    {QT_TRANSLATE_NOOP("Summary", "Звук"), GridAlignment::Center, 80},
    {QT_TRANSLATE_NOOP("Summary", "Sub In"), GridAlignment::Center, 62},
    {QT_TRANSLATE_NOOP("Summary", "Sub Ext"), GridAlignment::Center, 62},
    {QT_TRANSLATE_NOOP("Summary", "Комментарий"), GridAlignment::Left, 186},
};

void addTextColumns(GridData &grid) {
    for (const ColumnSpec &c : kSummaryColumns) {
        GridColumn &col = grid.AddTextColumn(QCoreApplication::translate("Summary", c.caption));
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
    GridColumn &sel = grid.AddColumn(ColumnKind::CheckBox, QCoreApplication::translate("Summary", "Выбрано"));
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
    GridColumn &title = grid.AddTextColumn(QCoreApplication::translate("Summary", "Название"));
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
    using namespace schema;
    const QString numberField = columnName(kEpisodes, eNumber),
                  lastField = columnName(kEpisodes, eNumberLast), kindField = columnName(kEpisodes, eKind),
                  versionField = columnName(kEpisodes, eVersion), groupField = columnName(kEpisodes, eGroup);
    std::vector<EpisodeTexts> out(size_t(episodes.recordCount()));
    for (int r = 0; r < int(out.size()); ++r) {
        episodes.setRecNo(r + 1);
        out[size_t(r)].id = episodes.asInteger(0);
        EpisodeTexts &e = out[size_t(r)];
        for (int c = 0; c < 7; ++c)
            e.texts[size_t(c)] = episodes.asString(fields[c]);
        if (!episodes.isNull(numberField)) {
            e.number = episodes.asFloat(numberField);
            e.numberLast = episodes.isNull(lastField) ? e.number : episodes.asFloat(lastField);
        }
        e.kind = int(episodes.asInteger(kindField));
        e.version = int(episodes.asInteger(versionField));
        e.group = episodes.asString(groupField);
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

SummaryReader::SummaryReader(CatalogSession &s) : m_s(s), m_order(s.shownTitles()) {}

SummaryReader::~SummaryReader() = default;

int SummaryReader::partsFor(qsizetype records) {
    return TitleTextCache::partsFor(records);
}

void SummaryReader::textsInStoredOrder(int parts, const Visit &visit) {
    // The titles by key, the order they are stored in; each is visited with its place in name order.
    std::vector<std::pair<qint64, int>> byKey(m_order.size());
    for (size_t i = 0; i < byKey.size(); ++i)
        byKey[i] = {m_order[i], int(i)};
    std::sort(byKey.begin(), byKey.end());
    std::vector<qint64> keys(byKey.size());
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = byKey[i].first;
    // The catalog's own texts, made for this pass and not kept: a reader shows each title once.
    m_s.catalog().titleTexts().format(keys, parts, [&](int part, size_t index, const TitleTexts &texts) {
        TExportList t;
        for (int f = 0; f < TExportList::FieldCount; ++f)
            t.field(f) = texts.field(f);
        visit(part, byKey[index].second + 1, byKey[index].first, t);
    });
}

QString titleWithOtherName(const QString &title, const QString &otherName) {
    return title + QStringLiteral(" — ") + otherName;
}

namespace {

// The rows of `grid` a refill to `keys` keeps: all, in place, when the grid already lists these
// titles in this order (a refresh), else none.
std::vector<int> keptRows(const GridData &grid, int idColumn, const std::vector<qint64> &keys) {
    std::vector<int> from(keys.size(), -1);
    if (grid.RowCount() != int(keys.size()))
        return from;
    for (int q = 0; q < grid.RowCount(); ++q)
        if (qint64(grid.NumberAt(idColumn, q)) != keys[size_t(q)])
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
    // Keys only: each grid asks the catalog for the texts of the rows it shows, when it shows them.
    const std::vector<qint64> keys = s.shownTitles();
    const int n = int(keys.size());
    const QSet<qint64> recent = s.catalog().titlesUpdatedWithin(naiveMsFromDateTime(now), kRecentDays);
    const int idColumn[3] = {gvsv::Id, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (!all[i])
            continue;
        GridData &g = *all[i];
        GridRowWriter(g, keptRows(g, idColumn[i], keys)).finish();
        g.SetRowSource(&s, idColumn[i]);
        g.ForgetRowTexts();
    }
    // What is not text goes in once the rows are there.
    for (int r = 0; r < n; ++r) {
        const qint64 id = keys[size_t(r)];
        const bool isRecent = !recent.isEmpty() && recent.contains(id);
        if (grids.gvsv)
            markSummaryRow(*grids.gvsv, r, id, isRecent, selected);
        if (grids.gv) {
            grids.gv->CellAt(0, r).SetAsInteger(int(id));
            if (isRecent)
                grids.gv->CellAt(1, r).SetColor(clSkyBlue);
        }
        if (grids.gv4)
            grids.gv4->CellAt(0, r).SetAsInteger(int(id));
    }
    TitleTextCache &texts = s.catalog().titleTexts();
    // A title found only by another of its names shows that name beside its own.
    if (grids.gvsv && otherNames && !otherNames->isEmpty())
        for (int r = 0; r < n; ++r)
            if (const auto other = otherNames->constFind(keys[size_t(r)]); other != otherNames->cend())
                grids.gvsv->SetCellText(
                    gvsv::Title, r, titleWithOtherName(texts.of(keys[size_t(r)]).field(gvsv::Title), *other));
    if (grids.exportList && grids.gvsv && n > 0) {
        const TitleTexts last = texts.of(keys.back());
        for (int f = 0; f < TExportList::FieldCount; ++f)
            grids.exportList->field(f) = last.field(f);
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
