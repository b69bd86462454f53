#include "summary.h"

#include "catalog/catalogsession.h"
#include "catalog/formats.h"
#include "catalog/tabledata.h"
#include "gridview/griddata.h"

#include <array>
#include <cmath>
#include <limits>
#include <numeric>
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
    GridColumn &id = grid.AddTextColumn(QStringLiteral("ID"));
    id.SetWidth(80);
    id.SetVisible(false);
    for (int c = 0; c < grid.ColumnCount(); ++c)
        grid.Column(c).SetName(QStringLiteral("n%1").arg(c));
    grid.Column(gv3::CommentColumn).AddOption(coEditing);
}

void GetExtParam(CatalogSession &s, int recNo, TExportList &out) {
    DataSet &name = s.Name;
    name.setRecNo(recNo);
    out.Title = name.asString(1);
    out.TypeText = name.asString(2);
    out.EpisodeCount = name.asString(3);
    const qint64 id = name.asInteger(0);

    s.RJk.setFilter(Filter::equals(QStringLiteral("ID"), id));
    s.RJk.setFiltered(true);
    s.RJk.first();
    out.SizeText = megabyteText(s.RJk.asFloat(1));
    // Summed and shown in 64 bits: a long series runs past the 596 hours of 32-bit milliseconds.
    out.DurationText = FormatPlayTime(roundHalfEven(s.RJk.asFloat(2)));

    DataSet &ext = s.Ext;
    ext.setFilter(Filter::equals(QStringLiteral("ID"), id));
    ext.setFiltered(true);
    ext.first();
    // The field layout of Ext is fixed: look the positions up once.
    static const int kRZm = ext.fieldIndex(QStringLiteral("RZm")),
                     kSound = ext.fieldIndex(QStringLiteral("Sound")),
                     kSubIn = ext.fieldIndex(QStringLiteral("Sub_IN")),
                     kSubExt = ext.fieldIndex(QStringLiteral("Sub_Ext"));
    out.QualityText = ext.asString(kRZm);
    out.SoundText = ext.asString(kSound);
    out.SubInText = ext.asString(kSubIn);
    out.SubExtText = ext.asString(kSubExt);
    out.CommentText = name.asString(4);

    const int n = ext.recordCount();
    bool differs[4] = {false, false, false, false};
    for (int r = 2; r <= n; ++r) {
        ext.setRecNo(r);
        differs[0] = differs[0] || ext.asString(kRZm) != out.QualityText;
        differs[1] = differs[1] || ext.asString(kSound) != out.SoundText;
        differs[2] = differs[2] || ext.asString(kSubIn) != out.SubInText;
        differs[3] = differs[3] || ext.asString(kSubExt) != out.SubExtText;
    }
    QString *marked[4] = {&out.QualityText, &out.SoundText, &out.SubInText, &out.SubExtText};
    for (int i = 0; i < 4; ++i)
        if (differs[i])
            marked[i]->prepend(QStringLiteral("! "));
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

// The stored queries one pass over the titles reads, looked up once for the pass.
struct SummaryTables {
    explicit SummaryTables(Catalog &catalog)
        : rjk(catalog.table(QStringLiteral("Rjk"))), ext(catalog.table(QStringLiteral("Ext"))),
          subs(catalog.table(QStringLiteral("Sub"))), up(catalog.table(QStringLiteral("Up_time"))) {}
    TablePtr rjk, ext, subs, up;
};

namespace {

// The texts of a title's summary row, kept while neither the title nor its episodes change: a
// refresh or a search then costs the rows shown, not the catalog read and formatted again.
struct SummaryEntry {
    TExportList texts;
    std::optional<qint64> maxUpdate;
    quint64 stamp = 0;
    qint64 id = 0;
    bool valid = false;
};

// Entries sit at their title's row of `Список`, so a fill reads them in one pass without hashing.
// Texts that many titles share (type, counts, quality, sound) are kept once: filling a grid then
// copies strings whose counters are already at hand instead of one cold string per cell.
struct SummaryCache {
    quint64 epoch = 0;
    std::vector<SummaryEntry> entries;
    QSet<QString> shared;
    // The last text kept for each field: titles in name order mostly repeat it, and comparing is
    // cheaper than hashing.
    std::array<QString, TExportList::FieldCount> last;
    void clear() {
        entries.clear();
        shared.clear();
        last = {};
    }
    void share(QString &text, int field) {
        if (text.isEmpty())
            return;
        QString &previous = last[size_t(field)];
        if (text == previous) {
            text = previous;
            return;
        }
        const auto it = shared.constFind(text);
        if (it != shared.cend())
            text = *it;
        else
            shared.insert(text);
        previous = text;
    }
};

SummaryCache &summaryCache() {
    static SummaryCache cache;
    return cache;
}

QString cut(const QString &text, int length) {
    return text.size() <= length ? text : text.left(length);
}

QString lookedUp(const TableData &lookup, const TableData &t, int r, int c, int length) {
    if (t.isNull(r, c))
        return QString();
    const int lr = lookup.rowById(t.intAt(r, c));
    return lr < 0 || lookup.isNull(lr, 1) ? QString() : cut(lookup.textAt(lr, 1), length);
}

// The same texts as GetExtParam gives, read straight from the stored queries' rows: no filter is
// set and no data set moved for each title.
void computeTexts(CatalogSession &s, const SummaryTables &tables, qint64 id, SummaryEntry &e,
                  bool withUpdate = true) {
    TExportList &t = e.texts;
    t.Title = s.Name.asString(1);
    t.TypeText = s.Name.asString(2);
    t.EpisodeCount = s.Name.asString(3);
    t.CommentText = s.Name.asString(4);
    const TablePtr &rjk = tables.rjk;
    const int rr = rjk->rowById(id);
    const double size = rr >= 0 && !rjk->isNull(rr, 1) ? rjk->realAt(rr, 1) : 0.0;
    const double duration = rr >= 0 && !rjk->isNull(rr, 2) ? rjk->realAt(rr, 2) : 0.0;
    t.SizeText = megabyteText(size);
    t.DurationText = FormatPlayTime(roundHalfEven(duration));

    const TablePtr &ext = tables.ext;
    const TablePtr &subs = tables.subs;
    enum { eWidth = 5, eHeight = 6, eSound = 7, eSubIn = 8, eSubExt = 9 };
    auto texts = [&](int r) {
        const TableData &x = *ext;
        return std::array<QString, 4>{
            cut(frameSizeText(x.isNull(r, eWidth) ? QString() : QString::number(x.intAt(r, eWidth)),
                              x.isNull(r, eHeight) ? QString() : QString::number(x.intAt(r, eHeight))),
                20),
            lookedUp(*subs, x, r, eSound, 20), lookedUp(*subs, x, r, eSubIn, 20),
            lookedUp(*subs, x, r, eSubExt, 20)};
    };
    std::array<QString, 4> first;
    bool differs[4] = {false, false, false, false};
    bool any = false;
    for (int r : ext->rowsByRef(id)) {
        if (!ext->alive(r))
            continue;
        const std::array<QString, 4> row = texts(r);
        if (!any) {
            first = row;
            any = true;
            continue;
        }
        for (int i = 0; i < 4; ++i)
            differs[i] = differs[i] || row[size_t(i)] != first[size_t(i)];
    }
    QString *out[4] = {&t.QualityText, &t.SoundText, &t.SubInText, &t.SubExtText};
    for (int i = 0; i < 4; ++i)
        *out[i] = differs[i] ? QStringLiteral("! ") + first[size_t(i)] : first[size_t(i)];

    if (!withUpdate)
        return;
    const TablePtr &up = tables.up;
    const int ur = up->rowById(id);
    if (ur >= 0 && !up->isNull(ur, 1))
        e.maxUpdate = up->intAt(ur, 1);
}

SummaryCache &currentCache(Catalog &catalog) {
    SummaryCache &cache = summaryCache();
    if (cache.epoch != catalog.epoch()) {
        cache.clear();
        cache.epoch = catalog.epoch();
    }
    return cache;
}

// The entry of the title `id` at `row` of `Список`, shown at record `recNo`.
// `tables` is looked up at the first entry that needs computing: a pass over kept entries reads
// no stored query.
const SummaryEntry &summaryEntry(CatalogSession &s, SummaryCache &cache, std::optional<SummaryTables> &tables,
                                 int recNo, int row, qint64 id) {
    const quint64 stamp = s.catalog().titleStamp(id);
    if (size_t(row) >= cache.entries.size())
        cache.entries.resize(size_t(row) + 1);
    SummaryEntry &e = cache.entries[size_t(row)];
    if (e.valid && e.id == id && e.stamp == stamp)
        return e;
    SummaryEntry fresh;
    s.Name.setRecNo(recNo);
    if (!tables)
        tables.emplace(s.catalog());
    computeTexts(s, *tables, id, fresh);
    TExportList &t = fresh.texts;
    for (int field :
         {gvsv::Type, gvsv::Episodes, gvsv::Quality, gvsv::Sound, gvsv::SubIn, gvsv::SubExt, gvsv::Comment})
        cache.share(t.field(field), field);
    fresh.stamp = stamp;
    fresh.id = id;
    fresh.valid = true;
    e = std::move(fresh);
    return e;
}

} // namespace

SummaryReader::SummaryReader(CatalogSession &s)
    : m_s(s), m_tables(std::make_unique<SummaryTables>(s.catalog())) {}

SummaryReader::~SummaryReader() = default;

void SummaryReader::texts(int recNo, TExportList &out) {
    m_s.Name.setRecNo(recNo);
    SummaryEntry e;
    computeTexts(m_s, *m_tables, m_s.Name.asInteger(0), e, false);
    out = std::move(e.texts);
}

QString titleWithOtherName(const QString &title, const QString &otherName) {
    return title + QStringLiteral(" — ") + otherName;
}

namespace {

// The rows of `grid` before a refill that hold each title of `keys`, or -1.
std::vector<int> keptRows(const GridData &grid, int idColumn, const std::vector<DataSet::RecordKey> &keys) {
    std::vector<int> from(keys.size(), -1);
    const int old = grid.RowCount();
    if (old == 0 || keys.empty())
        return from;
    // A refresh mostly shows the same titles in the same rows: no lookup is needed then.
    bool same = old == int(keys.size());
    for (int q = 0; same && q < old; ++q)
        same = qint64(grid.NumberAt(idColumn, q)) == keys[size_t(q)].value;
    if (same) {
        std::iota(from.begin(), from.end(), 0);
        return from;
    }
    QHash<qint64, int> at;
    at.reserve(old);
    for (int q = 0; q < old; ++q)
        at.insert(qint64(grid.NumberAt(idColumn, q)), q);
    for (size_t r = 0; r < keys.size(); ++r)
        if (const auto it = at.constFind(keys[r].value); it != at.cend())
            from[r] = *it;
    return from;
}

// Whether two grids list the same titles in the same rows (the two title lists mostly do).
bool sameIds(const GridData &a, int aColumn, const GridData &b, int bColumn) {
    if (a.RowCount() != b.RowCount())
        return false;
    for (int r = 0; r < a.RowCount(); ++r)
        if (a.NumberAt(aColumn, r) != b.NumberAt(bColumn, r))
            return false;
    return true;
}

// Writes the text unless the cell holds that very string already (kept from the row before).
void putText(GridData &grid, int col, int row, const QString &text) {
    if (!grid.CellTextIs(col, row, text))
        grid.SetCellText(col, row, text);
}

void putSummaryRow(GridData &gvsv, int r, const SummaryEntry &e, qint64 id, bool recent,
                   const QSet<qint64> &selected, const QHash<qint64, QString> *otherNames) {
    for (int c = 0; c < TExportList::FieldCount; ++c)
        putText(gvsv, c, r, e.texts.field(c));
    if (otherNames)
        if (const auto other = otherNames->constFind(id); other != otherNames->cend())
            gvsv.SetCellText(gvsv::Title, r, titleWithOtherName(e.texts.Title, *other));
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
    s.UpTime.open();
    s.Name.first();
    const std::vector<DataSet::RecordKey> keys = s.Name.recordKeys(0);
    const int n = int(keys.size());
    // Narrowing or refreshing many rows then copies few strings.
    if (grids.gvsv)
        grids.gvsv->RefillRows(keptRows(*grids.gvsv, gvsv::Id, keys));
    if (grids.gv || grids.gv4) {
        GridData &first = grids.gv ? *grids.gv : *grids.gv4;
        const bool same = grids.gv && grids.gv4 && sameIds(*grids.gv, 0, *grids.gv4, 0);
        const std::vector<int> from = keptRows(first, 0, keys);
        first.RefillRows(from);
        if (grids.gv && grids.gv4)
            grids.gv4->RefillRows(same ? from : keptRows(*grids.gv4, 0, keys));
    }
    SummaryCache &cache = currentCache(s.catalog());
    std::optional<SummaryTables> tables;
    // One pass for every grid: a title's texts are fetched from memory once, not once per grid.
    for (int r = 0; r < n; ++r) {
        const qint64 id = keys[size_t(r)].value;
        const SummaryEntry &e = summaryEntry(s, cache, tables, r + 1, keys[size_t(r)].row, id);
        const bool recent = updatedRecently(e.maxUpdate, nowMs);
        if (grids.gvsv) {
            putSummaryRow(*grids.gvsv, r, e, id, recent, selected, otherNames);
            if (grids.exportList && r == n - 1)
                *grids.exportList = e.texts;
        }
        if (grids.gv) {
            grids.gv->CellAt(0, r).SetAsInteger(int(id));
            putText(*grids.gv, 1, r, e.texts.Title);
            if (recent)
                grids.gv->CellAt(1, r).SetColor(clSkyBlue);
        }
        if (grids.gv4) {
            grids.gv4->CellAt(0, r).SetAsInteger(int(id));
            putText(*grids.gv4, 1, r, e.texts.Title);
        }
    }
    s.Name.first();
    s.UpTime.close();
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
    s.ADS.close();
    s.RJk.close();
    s.Ext.close();
    s.ADS.open();
    s.RJk.open();
    s.Ext.open();
    CatalogStats st;
    // All titles, counted without putting them in order.
    st.titles = int(std::min<qint64>(s.catalog().titleCount(), std::numeric_limits<int>::max()));
    // Counted from the sums the file keeps, not by reading every episode.
    st.files = int(std::min<qint64>(s.catalog().episodeCount(), std::numeric_limits<int>::max()));
    st.durationMs = s.ADS.asFloat(0);
    st.sizeBytes = s.ADS.asFloat(1);
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

TitleAmounts currentTitleAmounts(CatalogSession &s) {
    TitleAmounts a;
    a.files = s.Series.recordCount();
    a.sizeBytes = s.RJk.asFloat(1);
    a.durationMs = s.RJk.asFloat(2);
    return a;
}

} // namespace vq
