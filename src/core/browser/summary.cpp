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

namespace {

// The texts of a title's summary row, kept while neither the title nor its episodes change: a
// refresh or a search then costs the rows shown, not the catalog read and formatted again.
// The texts are one shared block, in the order of the summary's columns: the grids show them from
// there, so a refill copies one pointer per row instead of ten strings.
struct SummaryEntry {
    GridRowTexts texts;
    const QString &field(int f) const { return texts.get()[f]; }
    std::optional<qint64> maxUpdate;
    quint64 stamp = 0;
    qint64 id = 0;
    bool valid = false;
};

// Entries are found by their title's row of `Список`, so a fill reads them without hashing. They
// are laid out in the order they were first shown (name order, as a fill walks them), so that a
// fill reads memory in order instead of at a random place per row.
// Texts that many titles share (type, counts, quality, sound) are kept once: filling a grid then
// copies strings whose counters are already at hand instead of one cold string per cell.
struct SummaryCache {
    quint64 epoch = 0;
    std::vector<int> slotOf; // by row of `Список`; -1 for none yet
    std::vector<SummaryEntry> entries;
    QSet<QString> shared;
    // Gives every title of `keys` its place, so that entries stay where they are during a pass.
    void placeAll(const std::vector<DataSet::RecordKey> &keys) {
        size_t rows = slotOf.size(), missing = 0;
        for (const DataSet::RecordKey &k : keys)
            rows = std::max(rows, size_t(k.row) + 1);
        slotOf.resize(rows, -1);
        for (const DataSet::RecordKey &k : keys)
            missing += slotOf[size_t(k.row)] < 0;
        if (entries.size() + missing > entries.capacity())
            entries.reserve(std::max(entries.size() + missing, entries.capacity() * 2));
        for (const DataSet::RecordKey &k : keys)
            if (int &slot = slotOf[size_t(k.row)]; slot < 0) {
                slot = int(entries.size());
                entries.emplace_back();
            }
    }
    SummaryEntry &at(int row) { return entries[size_t(slotOf[size_t(row)])]; }
    // The last text kept for each field: titles in name order mostly repeat it, and comparing is
    // cheaper than hashing.
    std::array<QString, TExportList::FieldCount> last;
    void clear() {
        slotOf.clear();
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

QString lookedUp(const TableData &lookup, const ExtCombo &c, int f, int length) {
    if (c.isNull(f))
        return QString();
    const int lr = lookup.rowById(c.value[f]);
    return lr < 0 || lookup.isNull(lr, 1) ? QString() : cut(lookup.textAt(lr, 1), length);
}

// The four texts of each combination (quality, sound, embedded and external subtitles), made once
// for a pass: titles share few combinations.
class ComboTexts {
public:
    using Texts = std::array<QString, 4>;
    explicit ComboTexts(TablePtr subs) : m_subs(std::move(subs)) {}
    // Stays valid for the life of this object.
    const Texts &of(const ExtCombo &c);

private:
    TablePtr m_subs;
    QHash<ExtCombo, const Texts *> m_index;
    std::deque<Texts> m_texts;
};

const ComboTexts::Texts &ComboTexts::of(const ExtCombo &c) {
    if (const auto it = m_index.constFind(c); it != m_index.cend())
        return **it;
    using F = ExtCombo::Field;
    const auto number = [&](int f) { return c.isNull(f) ? QString() : QString::number(c.value[f]); };
    const TableData &subs = *m_subs;
    const Texts &t = m_texts.emplace_back(
        Texts{cut(frameSizeText(number(F::Width), number(F::Height)), 20), lookedUp(subs, c, F::Sound, 20),
              lookedUp(subs, c, F::SubIn, 20), lookedUp(subs, c, F::SubExt, 20)});
    m_index.insert(c, &t);
    return t;
}

// The title's own fields of `Список` a summary row shows: name, type, episode count, comment.
DataSet::RowTexts titleFields(DataSet &name) {
    return name.rowTexts({1, 2, 3, 4});
}

void titleTexts(const DataSet::RowTexts &names, int row, TExportList &t) {
    t.Title = names.text(row, 0);
    t.TypeText = names.text(row, 1);
    t.EpisodeCount = names.text(row, 2);
    t.CommentText = names.text(row, 3);
}

// The sums one pass of the window over the titles reads. A pass that computes the texts of a few
// titles reads each one's sums by itself; one that computes many reads every title's at once.
class PassSums {
public:
    explicit PassSums(CatalogSession &s)
        : combos(s.catalog().table(QStringLiteral("Sub"))), names(titleFields(s.Name)),
          m_catalog(s.catalog()) {}
    struct Of {
        double size = 0, duration = 0;
        std::span<const ExtCombo> combos; // valid until the next call
        std::optional<qint64> maxUpdate;
    };
    Of of(qint64 id);
    ComboTexts combos;
    const DataSet::RowTexts names;

private:
    Catalog &m_catalog;
    int m_oneByOne = 0;
    std::optional<TitleSums> m_all;
    TitleSums m_one;
};

PassSums::Of PassSums::of(qint64 id) {
    // Each read of one title is two lookups in the file; a few dozen cost as much as reading all.
    constexpr int kOneByOne = 32;
    if (!m_all && ++m_oneByOne > kOneByOne)
        m_all = m_catalog.titleSums({true, std::nullopt});
    if (!m_all)
        m_one = m_catalog.titleSums({true, id});
    const TitleSums &sums = m_all ? *m_all : m_one;
    const int i = sums.find(id);
    return {sums.sizeAt(i), sums.durationAt(i), sums.combosOf(id),
            i < 0 ? std::nullopt : sums.maxUpdate[size_t(i)]};
}

// The same texts as GetExtParam gives, from a title's sums and combinations.
void sumTexts(ComboTexts &combos, double size, double duration, std::span<const ExtCombo> list,
              TExportList &t) {
    t.SizeText = megabyteText(size);
    t.DurationText = FormatPlayTime(roundHalfEven(duration));
    QString *out[4] = {&t.QualityText, &t.SoundText, &t.SubInText, &t.SubExtText};
    if (list.empty()) {
        for (QString *o : out)
            *o = QString();
        return;
    }
    const ComboTexts::Texts &first = combos.of(list[0]);
    bool differs[4] = {false, false, false, false};
    for (const ExtCombo &c : list.subspan(1)) {
        const ComboTexts::Texts &row = combos.of(c);
        for (int i = 0; i < 4; ++i)
            differs[i] = differs[i] || row[size_t(i)] != first[size_t(i)];
    }
    for (int i = 0; i < 4; ++i)
        *out[i] = differs[i] ? QStringLiteral("! ") + first[size_t(i)] : first[size_t(i)];
}

// Read from the rows and the sums, not the stored queries: no filter is set and no data set moved
// for each title.
void computeTexts(PassSums &sums, int row, qint64 id, TExportList &t, std::optional<qint64> &maxUpdate) {
    titleTexts(sums.names, row, t);
    const PassSums::Of of = sums.of(id);
    sumTexts(sums.combos, of.size, of.duration, of.combos, t);
    maxUpdate = of.maxUpdate;
}

SummaryCache &currentCache(Catalog &catalog) {
    SummaryCache &cache = summaryCache();
    if (cache.epoch != catalog.epoch()) {
        cache.clear();
        cache.epoch = catalog.epoch();
    }
    return cache;
}

// The entry of the title `id` at `row` of `Список`; the row has its place.
// `sums` is made at the first entry that needs computing: a pass over kept entries reads no sums.
const SummaryEntry &summaryEntry(CatalogSession &s, SummaryCache &cache, std::optional<PassSums> &sums,
                                 int row, qint64 id) {
    const quint64 stamp = s.catalog().titleStamp(id);
    SummaryEntry &e = cache.at(row);
    if (e.valid && e.id == id && e.stamp == stamp)
        return e;
    SummaryEntry fresh;
    if (!sums)
        sums.emplace(s);
    TExportList t;
    computeTexts(*sums, row, id, t, fresh.maxUpdate);
    for (int field :
         {gvsv::Type, gvsv::Episodes, gvsv::Quality, gvsv::Sound, gvsv::SubIn, gvsv::SubExt, gvsv::Comment})
        cache.share(t.field(field), field);
    auto block = std::make_shared<std::array<QString, TExportList::FieldCount>>();
    for (int f = 0; f < TExportList::FieldCount; ++f)
        (*block)[size_t(f)] = std::move(t.field(f));
    fresh.texts = GridRowTexts(block, block->data());
    fresh.stamp = stamp;
    fresh.id = id;
    fresh.valid = true;
    e = std::move(fresh);
    return e;
}

} // namespace

// What a reader formats its titles from.
struct SummaryReader::Sums {
    explicit Sums(Catalog &catalog) : sums(catalog.titleSums()), subs(catalog.table(QStringLiteral("Sub"))) {}
    TitleSums sums;
    TablePtr subs;
};

SummaryReader::SummaryReader(CatalogSession &s) : m_s(s) {
    // The name order is worked out on another thread while the sums are read: at 100,000 titles
    // each is a good part of the pass.
    std::vector<std::function<void()>> tasks{[&] { m_sums = std::make_unique<Sums>(s.catalog()); }};
    if (std::function<void()> sort = s.Name.sortTask())
        tasks.push_back(std::move(sort));
    runAtOnce(tasks);
}

SummaryReader::~SummaryReader() = default;

int SummaryReader::partsFor(qsizetype records) {
    // A thread costs more than formatting a few thousand titles.
    const unsigned cores = std::thread::hardware_concurrency();
    return records < 4096 || cores < 2 ? 1 : int(std::min(cores, 4u));
}

void SummaryReader::textsInStoredOrder(int parts, const Visit &visit) {
    const std::vector<DataSet::RecordKey> keys = m_s.Name.recordKeys(0);
    const DataSet::RowTexts names = titleFields(m_s.Name);
    int rows = 0;
    for (const DataSet::RecordKey &k : keys)
        rows = std::max(rows, k.row + 1);
    std::vector<int> recordAt(size_t(rows), -1); // by row of the table
    for (size_t i = 0; i < keys.size(); ++i)
        recordAt[size_t(keys[i].row)] = int(i);
    std::vector<int> order; // records by row
    order.reserve(keys.size());
    for (const int i : recordAt)
        if (i >= 0)
            order.push_back(i);
    parts = std::clamp(parts, 1, std::max(1, int(order.size())));
    const TitleSums &sums = m_sums->sums;
    std::vector<std::function<void()>> tasks;
    for (int part = 0; part < parts; ++part)
        tasks.push_back([&, part] {
            ComboTexts combos(m_sums->subs); // its memo is not shared between threads
            TExportList t;
            const size_t from = order.size() * size_t(part) / size_t(parts);
            const size_t to = order.size() * size_t(part + 1) / size_t(parts);
            for (size_t k = from; k < to; ++k) {
                const DataSet::RecordKey &key = keys[size_t(order[k])];
                titleTexts(names, key.row, t);
                const int i = sums.find(key.value);
                sumTexts(combos, sums.sizeAt(i), sums.durationAt(i), sums.combosOf(key.value), t);
                visit(part, order[k] + 1, key.value, t);
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
    s.UpTime.open();
    s.Name.first();
    const std::vector<DataSet::RecordKey> keys = s.Name.recordKeys(0);
    const int n = int(keys.size());
    std::optional<GridRowWriter> summary, names, names4;
    if (grids.gvsv)
        summary.emplace(*grids.gvsv, keptRows(*grids.gvsv, gvsv::Id, keys));
    if (grids.gv)
        names.emplace(*grids.gv, keptRows(*grids.gv, 0, keys));
    if (grids.gv4)
        names4.emplace(*grids.gv4, keptRows(*grids.gv4, 0, keys));
    SummaryCache &cache = currentCache(s.catalog());
    cache.placeAll(keys);
    std::optional<PassSums> sums;
    std::vector<char> recent(static_cast<size_t>(n));
    // One pass for every grid: a title's texts are fetched from memory once, not once per grid.
    for (int r = 0; r < n; ++r) {
        const qint64 id = keys[size_t(r)].value;
        const SummaryEntry &e = summaryEntry(s, cache, sums, keys[size_t(r)].row, id);
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
