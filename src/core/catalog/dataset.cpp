#include "dataset.h"

#include "catalog.h"
#include "error.h"
#include "formats.h"
#include "messages.h"
#include "schema.h"

#include <QLocale>
#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vq {

Filter Filter::oneOf(const QString &field, std::vector<qint64> sortedValues) {
    if (!std::is_sorted(sortedValues.begin(), sortedValues.end()))
        std::sort(sortedValues.begin(), sortedValues.end());
    Filter f{OneOf, field, 0, {}, {}};
    f.values = std::move(sortedValues);
    return f;
}

QString Filter::expression() const {
    switch (kind) {
    case OneOf: {
        // A long list is shown by its length: the message is for a person.
        QStringList shown;
        for (size_t i = 0; i < values.size() && i < 10; ++i)
            shown << QString::number(values[i]);
        if (values.size() > 10)
            shown << QStringLiteral("… (%1)").arg(values.size());
        return QStringLiteral("%1 in (%2)").arg(field, shown.join(QStringLiteral(", ")));
    }
    case Equals:
        return QStringLiteral("%1 = %2").arg(field).arg(number);
    case Prefix:
        return QStringLiteral("%1 like '%2%'").arg(field, text);
    case Like:
        return QStringLiteral("%1 like '%2'").arg(field, text);
    case None:
        break;
    }
    return QString();
}

DataSet::DataSet(Catalog *catalog, const QString &name)
    : m_catalog(catalog), m_name(name), m_query(schema::isQuery(name)) {
    using K = FieldSpec::Kind;
    auto stored = [&](const QString &n, int col) { m_fields.push_back({n, K::Stored, col, -1, 0, {}}); };
    auto lookup = [&](const QString &n, int col, const QString &table, int len) {
        m_fields.push_back({n, K::Lookup, col, -1, len, table});
    };
    if (name == schema::kTitles) {
        using namespace schema;
        auto col = [&](int c) { stored(columnName(kTitles, c), c); };
        col(tID);
        col(tName);
        lookup(QStringLiteral("Type"), tType, kTypes, 5);
        col(tEpisodeCount);
        col(tComment);
        col(tType);
    } else if (name == schema::kEpisodes) {
        using namespace schema;
        auto col = [&](int c) { stored(columnName(kEpisodes, c), c); };
        col(eID);
        col(eTitle);
        col(eEpisode);
        m_fields.push_back({QStringLiteral("Size"), K::Size, eSize, -1, 20, {}});
        col(eSize);
        m_fields.push_back({QStringLiteral("Размеры"), K::Frame, eWidth, eHeight, 10, {}});
        col(eWidth);
        col(eHeight);
        m_fields.push_back({QStringLiteral("Time"), K::PlayTime, eDuration, -1, 20, {}});
        col(eDuration);
        col(eSound);
        col(eSubIn);
        col(eSubExt);
        lookup(QStringLiteral("Sound"), eSound, kLanguages, 10);
        lookup(QStringLiteral("Sub_In"), eSubIn, kLanguages, 10);
        lookup(QStringLiteral("Sub_Ext"), eSubExt, kLanguages, 10);
        for (int c = eVideoCodec; c < kEpisodeColumns; ++c)
            col(c);
    } else if (name == schema::kExt) {
        const QStringList first = {
            QStringLiteral("ID"),          QStringLiteral("Название"), QStringLiteral("Количество серий"),
            QStringLiteral("Комментарий"), QStringLiteral("NType"),    QStringLiteral("Ширина")};
        for (int i = 0; i < first.size(); ++i)
            stored(first[i], i);
        m_fields.push_back({QStringLiteral("RZm"), K::Frame, 5, 6, 20, {}});
        stored(QStringLiteral("Высота"), 6);
        stored(QStringLiteral("Звук"), 7);
        stored(QStringLiteral("Субтитры встроенные"), 8);
        stored(QStringLiteral("Субтитры внешние"), 9);
        stored(QStringLiteral("Sum-Объём(байт)"), 10);
        stored(QStringLiteral("Sum-Длительность"), 11);
        lookup(QStringLiteral("Sound"), 7, schema::kLanguages, 20);
        lookup(QStringLiteral("Sub_IN"), 8, schema::kLanguages, 20);
        lookup(QStringLiteral("Sub_Ext"), 9, schema::kLanguages, 20);
    } else if (name == schema::kRjk) {
        stored(QStringLiteral("ID"), 0);
        stored(QStringLiteral("Sum-Объём(байт)"), 1);
        stored(QStringLiteral("Sum-Длительность"), 2);
        stored(QStringLiteral("Название"), 3);
    } else if (name == schema::kUpTime) {
        stored(QStringLiteral("ID"), 0);
        stored(QStringLiteral("Max-Update"), 1);
        stored(QStringLiteral("Название"), 2);
    } else if (name == schema::kAllT) {
        stored(QStringLiteral("Long"), 0);
        stored(QStringLiteral("Size"), 1);
    } else {
        const auto cols = schema::tableColumns(name);
        if (cols.empty())
            throw Error(msg::noTableOrQuery(name));
        for (size_t i = 0; i < cols.size(); ++i)
            stored(cols[i].name, int(i));
    }
}

DataSet::~DataSet() = default;

void DataSet::setCatalog(Catalog *catalog) {
    // The old connection may already be gone: drop the state without touching it.
    m_state = Inactive;
    m_table.reset();
    m_viewValid = false;
    m_buffer.clear();
    m_catalog = catalog;
}

QString DataSet::fieldName(int index) const {
    if (index < 0 || index >= fieldCount())
        throw Error(msg::noFieldNumber(m_name, index));
    return m_fields[size_t(index)].name;
}

int DataSet::fieldIndex(const QString &name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name == name)
            return int(i);
    return -1;
}

int DataSet::fieldOrThrow(const QString &field) const {
    const int i = fieldIndex(field);
    if (i < 0)
        throw Error(msg::noField(m_name, field));
    return i;
}

void DataSet::requireOpen() const {
    if (m_state == Inactive || !m_catalog)
        throw Error(msg::dataSetNotOpen(m_name));
}

void DataSet::requireWritable() const {
    requireOpen();
    if (m_query)
        throw Error(msg::queryReadOnly(m_name));
    m_catalog->ensureWritable();
}

void DataSet::open() {
    if (!m_catalog)
        throw Error(msg::noCatalogOpen());
    if (m_state == Edit || m_state == Insert)
        post();
    m_catalog->checkExternalChanges();
    m_state = Browse;
    m_table.reset();
    m_viewValid = false;
    m_keepRow = -1;
    m_pos = -1;
    // Opening reads nothing that is not used: a stored query is read when its rows are asked
    // for, the whole episode set only when it is walked, the titles of a catalog opened without
    // them when first asked for.
    const bool later = m_query || (m_name == schema::kEpisodes && !readsOneTitle()) ||
                       (m_name == schema::kTitles && !m_catalog->readsTitlesNow());
    if (!later)
        sync();
}

void DataSet::close() {
    if (m_state == Edit || m_state == Insert)
        post();
    m_state = Inactive;
    m_table.reset();
    m_viewValid = false;
    m_rows.clear();
    m_pos = -1;
}

void DataSet::checkBrowse() {
    requireOpen();
    if (m_state == Edit || m_state == Insert)
        post();
}

void DataSet::setFilter(const Filter &filter) {
    if (m_state == Edit || m_state == Insert)
        post();
    if (filter.kind != Filter::None)
        fieldOrThrow(filter.field);
    m_filter = filter;
    m_viewValid = false;
    m_keepRow = -1;
}

void DataSet::setFiltered(bool on) {
    if (m_state == Edit || m_state == Insert)
        post();
    if (m_filtered == on)
        return;
    m_filtered = on;
    m_viewValid = false;
    m_keepRow = -1;
}

void DataSet::setSort(const QString &sort) {
    if (m_state == Edit || m_state == Insert)
        post();
    QString field = sort.trimmed();
    bool desc = false;
    if (field.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive)) {
        desc = true;
        field.chop(5);
    } else if (field.endsWith(QLatin1String(" ASC"), Qt::CaseInsensitive)) {
        field.chop(4);
    }
    field = field.trimmed();
    int col = -1;
    if (!field.isEmpty()) {
        const int f = fieldOrThrow(field);
        if (m_fields[size_t(f)].kind != FieldSpec::Stored)
            throw Error(msg::cannotSortBy(m_name, field));
        col = m_fields[size_t(f)].col;
    }
    m_sortText = sort;
    m_sortCol = col;
    m_sortDesc = desc;
    m_viewValid = false;
    m_keepRow = currentRow();
}

bool DataSet::passes(const TableData &t, int r) const {
    if (!t.alive(r))
        return false;
    if (!m_filtered || m_filter.kind == Filter::None)
        return true;
    const FieldSpec &f = m_fields[size_t(fieldIndex(m_filter.field))];
    if (f.kind != FieldSpec::Stored) {
        // Filters on computed fields compare their text.
        return false;
    }
    const int c = f.col;
    switch (m_filter.kind) {
    case Filter::Equals:
        if (t.isNull(r, c))
            return false;
        if (t.column(c).type == FieldType::Float)
            return t.realAt(r, c) == double(m_filter.number);
        return t.intAt(r, c) == m_filter.number;
    case Filter::Prefix:
        return !t.isNull(r, c) && t.textAt(r, c).startsWith(m_filter.text, Qt::CaseInsensitive);
    case Filter::Like:
        return !t.isNull(r, c) && t.textAt(r, c).compare(m_filter.text, Qt::CaseInsensitive) == 0;
    case Filter::OneOf:
        if (t.isNull(r, c) || t.column(c).type != FieldType::Integer)
            return false;
        return std::binary_search(m_filter.values.begin(), m_filter.values.end(), t.intAt(r, c));
    case Filter::None:
        break;
    }
    return true;
}

namespace {

// Which live rows hold one of `values` (ascending) in column `c`. Keys mostly ascend with the rows,
// so one forward walk through the values serves; a key out of order is searched for.
std::vector<char> rowsWithValues(const TableData &t, int c, const std::vector<qint64> &values) {
    std::vector<char> in(size_t(t.physicalRows()), 0);
    auto at = values.begin();
    qint64 previous = std::numeric_limits<qint64>::min();
    for (int r = 0; r < t.physicalRows(); ++r) {
        if (!t.alive(r) || t.isNull(r, c))
            continue;
        const qint64 v = t.intAt(r, c);
        if (v < previous)
            at = values.begin();
        previous = v;
        while (at != values.end() && *at < v)
            ++at;
        in[size_t(r)] = at != values.end() && *at == v;
    }
    return in;
}

} // namespace

bool DataSet::readsOneTitle() const {
    return m_name == schema::kEpisodes && m_filtered && m_filter.kind == Filter::Equals &&
           m_filter.field == QStringLiteral("Название");
}

TablePtr DataSet::sourceTable() {
    // A title's episodes are read by themselves; the whole set only when it is walked unfiltered.
    if (readsOneTitle())
        return m_catalog->titleEpisodes(m_filter.number);
    return m_catalog->table(m_name);
}

void DataSet::sync() {
    requireOpen();
    if (m_viewValid && m_table && m_stamp == changeStamp())
        return;
    // Nothing anywhere changed since the table was taken: it is still the one (only the episode
    // set depends on the filter).
    TablePtr t = m_table && m_stamp == changeStamp() && m_name != schema::kEpisodes ? m_table : sourceTable();
    if (t != m_table || t->generation() != m_generation) {
        if (m_viewValid && m_table && m_pos >= 0 && m_pos < int(m_rows.size()) && t == m_table)
            m_keepRow = m_rows[size_t(m_pos)];
        else if (t != m_table && m_table && m_viewValid && m_pos >= 0 && m_pos < int(m_rows.size()) &&
                 m_table->columnCount() > 0 && m_table->column(0).type == FieldType::Integer &&
                 t->columnCount() > 0 && t->column(0).type == FieldType::Integer &&
                 !m_table->isNull(m_rows[size_t(m_pos)], 0)) {
            // The file was read again: find the same record by its key (a query without a key,
            // such as the totals, simply starts again at its first row).
            const int r = t->rowById(m_table->intAt(m_rows[size_t(m_pos)], 0));
            m_keepRow = r;
        }
        m_table = t;
        m_generation = t->generation();
        m_viewValid = false;
    }
    if (!m_viewValid)
        rebuild();
    if (m_stamp != changeStamp())
        m_lookups.clear();
    m_stamp = changeStamp();
}

const TablePtr &DataSet::lookupTablePtr(const QString &name) {
    // Kept until the next change anywhere in the catalog (sync clears them).
    for (const auto &[n, t] : m_lookups)
        if (n == name)
            return t;
    m_lookups.emplace_back(name, m_catalog->table(name));
    return m_lookups.back().second;
}

const TableData *DataSet::lookupTable(const QString &name) {
    return lookupTablePtr(name).get();
}

DataSet::RowTexts DataSet::rowTexts(std::initializer_list<int> fields) {
    checkBrowse();
    sync();
    RowTexts out;
    out.m_table = m_table;
    for (const int field : fields) {
        const FieldSpec &f = m_fields.at(size_t(field));
        const bool stored = f.kind == FieldSpec::Stored && m_table->column(f.col).type != FieldType::DateTime;
        if (!stored && f.kind != FieldSpec::Lookup)
            throw std::logic_error("rowTexts reads stored and looked-up fields only");
        out.m_fields.push_back(f);
        out.m_lookups.push_back(f.kind == FieldSpec::Lookup ? lookupTablePtr(f.lookupTable) : TablePtr());
    }
    return out;
}

QString DataSet::RowTexts::text(int row, int i) const {
    return storedText(*m_table, m_fields[size_t(i)], m_lookups[size_t(i)].get(), row);
}

void DataSet::rebuild() {
    const TableData &t = *m_table;
    const int oldPos = m_pos;
    m_rows.clear();
    m_viewSorted = false;
    const bool filtering = m_filtered && m_filter.kind != Filter::None;
    int filterCol = -1;
    if (filtering) {
        const FieldSpec &f = m_fields[size_t(fieldIndex(m_filter.field))];
        if (f.kind == FieldSpec::Stored)
            filterCol = f.col;
    }
    if (filtering && m_filter.kind == Filter::Equals && filterCol == 0 && t.refColumn() != 0) {
        const int r = t.rowById(m_filter.number);
        if (r >= 0 && t.alive(r))
            m_rows.push_back(r);
    } else if (filtering && m_filter.kind == Filter::Equals && filterCol >= 0 && filterCol == t.refColumn()) {
        for (int r : t.rowsByRef(m_filter.number))
            if (t.alive(r))
                m_rows.push_back(r);
    } else if (sortsByTableOrder(t)) {
        m_rows.reserve(size_t(filtering ? 64 : t.aliveRows()));
        const std::vector<int> &sorted = t.sortedRows(m_sortCol);
        if (filtering && m_filter.kind == Filter::OneOf && filterCol >= 0 &&
            t.column(filterCol).type == FieldType::Integer) {
            // The rows a list of keys lets through, marked in one walk in row order: walking the
            // name order instead would look each key up at a random place.
            const std::vector<char> in = rowsWithValues(t, filterCol, m_filter.values);
            for (int r : sorted)
                if (in[size_t(r)])
                    m_rows.push_back(r);
        } else {
            for (int r : sorted)
                if (passes(t, r))
                    m_rows.push_back(r);
        }
        if (m_sortDesc)
            std::reverse(m_rows.begin(), m_rows.end());
        m_viewSorted = true;
    } else {
        for (int r = 0; r < t.physicalRows(); ++r)
            if (passes(t, r))
                m_rows.push_back(r);
    }
    if (m_sortCol < 0)
        m_viewSorted = true;
    m_viewValid = true;
    if (m_rows.empty()) {
        m_pos = -1;
    } else if (m_keepRow >= 0) {
        ensureSorted();
        auto it = std::find(m_rows.begin(), m_rows.end(), m_keepRow);
        m_pos = it != m_rows.end() ? int(it - m_rows.begin()) : std::clamp(oldPos, 0, int(m_rows.size()) - 1);
    } else {
        m_pos = 0;
    }
    m_keepRow = -1;
}

// A text order the table keeps for every data set on it (up to a size where sorting only the rows
// shown is cheaper).
bool DataSet::sortsByTableOrder(const TableData &t) const {
    return m_sortCol >= 0 && t.column(m_sortCol).type == FieldType::Text && !sortsNaturally();
}

// Episodes by their names sort in natural order: the kind (episodes first, names that say nothing
// last), then the number, then the name, so that 2 comes before 10.
bool DataSet::sortsNaturally() const {
    return m_name == schema::kEpisodes && m_sortCol == schema::eEpisode;
}

namespace {

int kindRank(const TableData &t, int r) {
    const qint64 k = t.isNull(r, schema::eKind) ? 0 : t.intAt(r, schema::eKind);
    return k > 0 ? int(k) : std::numeric_limits<int>::max();
}

bool naturallyBefore(const TableData &t, int a, int b) {
    using namespace schema;
    if (const int ka = kindRank(t, a), kb = kindRank(t, b); ka != kb)
        return ka < kb;
    const bool na = t.isNull(a, eNumber), nb = t.isNull(b, eNumber);
    if (na != nb)
        return nb;
    if (!na && t.realAt(a, eNumber) != t.realAt(b, eNumber))
        return t.realAt(a, eNumber) < t.realAt(b, eNumber);
    return t.sortKey(a, eEpisode).compare(t.sortKey(b, eEpisode)) < 0;
}

} // namespace

std::function<void()> DataSet::sortTask() {
    requireOpen();
    TablePtr t = sourceTable();
    if (!sortsByTableOrder(*t))
        return {};
    return [t, c = m_sortCol] { t->sortedRows(c); };
}

void DataSet::ensureSorted() {
    if (m_viewSorted)
        return;
    const TableData &t = *m_table;
    const int c = m_sortCol;
    if (sortsNaturally()) {
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [&](int a, int b) { return naturallyBefore(t, a, b); });
    } else if (t.column(c).type == FieldType::Text) {
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [&](int a, int b) { return t.sortKey(a, c).compare(t.sortKey(b, c)) < 0; });
    } else {
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](int a, int b) {
            if (t.isNull(a, c) != t.isNull(b, c))
                return t.isNull(a, c);
            if (t.column(c).type == FieldType::Float)
                return t.realAt(a, c) < t.realAt(b, c);
            return t.intAt(a, c) < t.intAt(b, c);
        });
    }
    if (m_sortDesc)
        std::reverse(m_rows.begin(), m_rows.end());
    m_viewSorted = true;
}

std::vector<DataSet::RecordKey> DataSet::recordKeys(int field) {
    checkBrowse();
    sync();
    ensureSorted();
    std::vector<RecordKey> keys;
    keys.reserve(m_rows.size());
    int r = -1, c = -1;
    if (directStored(field, FieldType::Integer, r, c)) {
        for (int row : m_rows)
            keys.push_back({row, m_table->isNull(row, c) ? 0 : m_table->intAt(row, c)});
        return keys;
    }
    const int pos = m_pos;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        m_pos = int(i);
        keys.push_back({m_rows[i], asInteger(field)});
    }
    m_pos = pos;
    return keys;
}

int DataSet::recordCount() {
    requireOpen();
    if (m_state == Insert)
        return int(m_rows.size()) + 1;
    sync();
    return int(m_rows.size());
}

void DataSet::first() {
    checkBrowse();
    sync();
    ensureSorted();
    m_pos = m_rows.empty() ? -1 : 0;
}

void DataSet::last() {
    checkBrowse();
    sync();
    ensureSorted();
    m_pos = int(m_rows.size()) - 1;
}

void DataSet::next() {
    checkBrowse();
    sync();
    ensureSorted();
    if (m_pos + 1 < int(m_rows.size()))
        ++m_pos;
    else if (!m_rows.empty())
        m_pos = int(m_rows.size()); // past the end: eof
}

void DataSet::prior() {
    checkBrowse();
    sync();
    ensureSorted();
    if (m_pos > 0)
        --m_pos;
}

bool DataSet::eof() {
    requireOpen();
    sync();
    return m_rows.empty() || m_pos >= int(m_rows.size());
}

int DataSet::recNo() {
    requireOpen();
    sync();
    return m_pos >= 0 && m_pos < int(m_rows.size()) ? m_pos + 1 : 0;
}

void DataSet::setRecNo(int n) {
    checkBrowse();
    sync();
    ensureSorted();
    if (m_rows.empty()) {
        m_pos = -1;
        return;
    }
    m_pos = std::clamp(n, 1, int(m_rows.size())) - 1;
}

int DataSet::currentRow() {
    if (m_state == Inactive || !m_viewValid || !m_table)
        return -1;
    ensureSorted();
    return m_pos >= 0 && m_pos < int(m_rows.size()) ? m_rows[size_t(m_pos)] : -1;
}

QVariant DataSet::storedValue(int col) {
    if (m_state == Edit || m_state == Insert)
        return m_buffer[size_t(col)];
    sync();
    const int r = currentRow();
    if (r < 0)
        return QVariant();
    return m_table->valueAt(r, col);
}

QString DataSet::lookupText(const QString &table, const QVariant &key) {
    if (!key.isValid() || key.isNull())
        return QString();
    const TableData *t = lookupTable(table);
    const int r = t->rowById(key.toLongLong());
    return r >= 0 && t->alive(r) ? t->textAt(r, 1) : QString();
}

FieldType DataSet::fieldType(int field) const {
    const FieldSpec &f = m_fields[size_t(field)];
    if (f.kind != FieldSpec::Stored)
        return FieldType::Text;
    if (m_table)
        return m_table->column(f.col).type;
    return FieldType::Text;
}

QVariant DataSet::fieldValue(int field) {
    requireOpen();
    if (field < 0 || field >= fieldCount())
        throw Error(msg::noFieldNumber(m_name, field));
    sync();
    const FieldSpec &f = m_fields[size_t(field)];
    QString text;
    switch (f.kind) {
    case FieldSpec::Stored:
        return storedValue(f.col);
    case FieldSpec::Lookup:
        text = lookupText(f.lookupTable, storedValue(f.col));
        break;
    case FieldSpec::Size: {
        const QVariant v = storedValue(f.col);
        if (v.isNull())
            return QVariant();
        text = GroupDigits(plainNumberText(v.toDouble()));
        break;
    }
    case FieldSpec::Frame: {
        if (currentRow() < 0 && m_state == Browse)
            return QVariant();
        const QVariant w = storedValue(f.col), h = storedValue(f.col2);
        text = frameSizeText(w.isNull() ? QString() : QString::number(w.toLongLong()),
                             h.isNull() ? QString() : QString::number(h.toLongLong()));
        break;
    }
    case FieldSpec::PlayTime:
        if (currentRow() < 0 && m_state == Browse)
            return QVariant();
        text = FormatPlayTime(storedValue(f.col).toLongLong());
        break;
    }
    if (f.maxLen > 0 && text.size() > f.maxLen)
        text.truncate(f.maxLen);
    return text;
}

QVariant DataSet::value(int field) {
    return fieldValue(field);
}
QVariant DataSet::value(const QString &field) {
    return fieldValue(fieldOrThrow(field));
}

bool DataSet::isNull(const QString &field) {
    const QVariant v = value(field);
    return !v.isValid() || v.isNull();
}

bool DataSet::directStored(int field, FieldType type, int &row, int &col) {
    if (m_state != Browse || field < 0 || field >= fieldCount() || !m_catalog)
        return false;
    sync();
    const FieldSpec &f = m_fields[size_t(field)];
    if (f.kind != FieldSpec::Stored || m_table->column(f.col).type != type)
        return false;
    row = currentRow();
    col = f.col;
    return true;
}

// A stored or looked-up field of row `r` (none when negative), as asString gives it; `lookup` is
// the field's lookup table. Reads nothing but the two tables.
QString DataSet::storedText(const TableData &t, const FieldSpec &f, const TableData *lookup, int r) {
    if (r < 0 || t.isNull(r, f.col))
        return QString();
    if (f.kind == FieldSpec::Lookup) {
        const int lr = lookup->rowById(t.intAt(r, f.col));
        if (lr < 0 || lookup->isNull(lr, 1))
            return QString();
        const QString &lookedUp = lookup->textAt(lr, 1);
        return lookedUp.size() <= f.maxLen ? lookedUp : lookedUp.left(f.maxLen);
    }
    switch (t.column(f.col).type) {
    case FieldType::Integer:
        return QString::number(t.intAt(r, f.col));
    case FieldType::Float:
        return plainNumberText(t.realAt(r, f.col));
    case FieldType::Text:
        return t.textAt(r, f.col);
    case FieldType::DateTime:
        break;
    }
    return QString();
}

// Stored and looked-up fields of a record in browse mode are read straight from the rows, without
// a QVariant: the summary reads a dozen fields of every title on every refresh.
QString DataSet::asString(int field) {
    if (m_state == Browse && field >= 0 && field < fieldCount() && m_catalog) {
        sync();
        const FieldSpec &f = m_fields[size_t(field)];
        if (f.kind == FieldSpec::Lookup)
            return storedText(*m_table, f, lookupTable(f.lookupTable), currentRow());
        if (f.kind == FieldSpec::Stored && m_table->column(f.col).type != FieldType::DateTime)
            return storedText(*m_table, f, nullptr, currentRow());
    }
    const QVariant v = fieldValue(field);
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::Double:
        return plainNumberText(v.toDouble());
    case QMetaType::QDateTime:
        return QLocale().toString(v.toDateTime(), QLocale::ShortFormat);
    default:
        return v.toString();
    }
}

qint64 DataSet::asInteger(int field) {
    int r = -1, c = -1;
    if (directStored(field, FieldType::Integer, r, c))
        return r < 0 || m_table->isNull(r, c) ? 0 : m_table->intAt(r, c);
    const QVariant v = fieldValue(field);
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.metaType().id() == QMetaType::Double)
        return roundHalfEven(v.toDouble());
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return 0;
        bool ok = false;
        const qint64 n = s.toLongLong(&ok);
        if (!ok)
            throw Error(msg::notAnInteger(v.toString()));
        return n;
    }
    return v.toLongLong();
}

double DataSet::asFloat(int field) {
    int r = -1, c = -1;
    if (directStored(field, FieldType::Float, r, c))
        return r < 0 || m_table->isNull(r, c) ? 0.0 : m_table->realAt(r, c);
    const QVariant v = fieldValue(field);
    if (!v.isValid() || v.isNull())
        return 0.0;
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return 0.0;
        bool ok = false;
        double d = s.toDouble(&ok);
        if (!ok)
            d = QLocale().toDouble(s, &ok);
        if (!ok)
            throw Error(msg::notANumber(v.toString()));
        return d;
    }
    return v.toDouble();
}

QDateTime DataSet::asDateTime(int field) {
    const QVariant v = fieldValue(field);
    if (!v.isValid() || v.isNull())
        return QDateTime();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (auto ms = naiveMsFromStorageText(v.toString()))
        return dateTimeFromNaiveMs(*ms);
    throw Error(msg::notADateTime(v.toString()));
}

std::optional<qint64> DataSet::asNaiveMs(int field) {
    int r = -1, c = -1;
    if (!directStored(field, FieldType::DateTime, r, c)) {
        const QDateTime dt = asDateTime(field);
        return dt.isValid() ? std::optional<qint64>(naiveMsFromDateTime(dt)) : std::nullopt;
    }
    if (r < 0 || m_table->isNull(r, c))
        return std::nullopt;
    return m_table->intAt(r, c);
}

QString DataSet::asString(const QString &field) {
    return asString(fieldOrThrow(field));
}
qint64 DataSet::asInteger(const QString &field) {
    return asInteger(fieldOrThrow(field));
}
double DataSet::asFloat(const QString &field) {
    return asFloat(fieldOrThrow(field));
}
QDateTime DataSet::asDateTime(const QString &field) {
    return asDateTime(fieldOrThrow(field));
}

void DataSet::append() {
    checkBrowse();
    requireWritable();
    if (m_name == schema::kEpisodes && !readsOneTitle()) {
        // A row appended to the unfiltered episodes needs their columns, not their rows.
        m_table =
            std::make_shared<TableData>(m_name, schema::tableColumns(m_name), schema::tableRefColumn(m_name));
        m_viewValid = false;
    } else {
        sync();
    }
    m_buffer.assign(size_t(m_table->columnCount()), QVariant());
    m_modified.assign(m_buffer.size(), 0);
    m_state = Insert;
}

void DataSet::edit() {
    checkBrowse();
    requireWritable();
    sync();
    const int r = currentRow();
    if (r < 0)
        throw Error(msg::noRecordToEdit(m_name));
    m_buffer.resize(size_t(m_table->columnCount()));
    for (int c = 0; c < m_table->columnCount(); ++c)
        m_buffer[size_t(c)] = m_table->valueAt(r, c);
    m_modified.assign(m_buffer.size(), 0);
    m_state = Edit;
}

void DataSet::setValue(const QString &field, const QVariant &value) {
    requireOpen();
    if (m_state != Edit && m_state != Insert)
        throw Error(msg::notEditing(m_name));
    const FieldSpec &f = m_fields[size_t(fieldOrThrow(field))];
    if (f.kind != FieldSpec::Stored || f.col == 0)
        throw Error(msg::fieldReadOnly(field));
    m_buffer[size_t(f.col)] = value;
    m_modified[size_t(f.col)] = 1;
}

void DataSet::post() {
    requireOpen();
    if (m_state != Edit && m_state != Insert)
        return;
    const TableData &t = *m_table;
    QStringList cols;
    QVariantList values;
    for (int c = 1; c < t.columnCount(); ++c) {
        if (!m_modified[size_t(c)])
            continue;
        QVariant v = m_buffer[size_t(c)];
        const ColumnDef &def = t.column(c);
        if (def.type == FieldType::Text && !v.isNull()) {
            // Characters, as the message says and the file's check counts, not UTF-16 units.
            const QString text = v.toString();
            if (text.size() > schema::kMaxTextLength) {
                const qsizetype chars = QStringView(text).toUcs4().size();
                if (chars > schema::kMaxTextLength)
                    throw Error(msg::textTooLong(def.name, schema::kMaxTextLength, chars));
            }
        }
        if ((def.type == FieldType::Integer || def.type == FieldType::Float) && v.isValid() && !v.isNull() &&
            v.metaType().id() == QMetaType::QString) {
            bool ok = false;
            const QString s = v.toString().trimmed();
            if (s.isEmpty()) {
                v = QVariant();
            } else if (def.type == FieldType::Integer) {
                v = s.toLongLong(&ok);
                if (!ok)
                    throw Error(msg::notAnInteger(s));
            } else {
                v = s.toDouble(&ok);
                if (!ok)
                    throw Error(msg::notANumber(s));
            }
        }
        cols << def.name;
        values << v;
    }
    qint64 id = 0;
    if (m_state == Insert) {
        QStringList quoted, marks;
        for (const QString &c : cols) {
            quoted << QStringLiteral("\"%1\"").arg(c);
            marks << QStringLiteral("?");
        }
        const QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(m_name)
                                           : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                                 .arg(m_name, quoted.join(QStringLiteral(", ")),
                                                      marks.join(QStringLiteral(", ")));
        Statement &st = m_catalog->statement(sql);
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        try {
            st.step();
        } catch (const Error &e) {
            throw Error(msg::cannotStoreRow(m_name, m_catalog->path(), e.message()));
        }
        id = m_catalog->lastInsertId();
    } else {
        id = m_buffer[0].toLongLong();
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString &c : cols)
                sets << QStringLiteral("\"%1\" = ?").arg(c);
            Statement &st = m_catalog->statement(QStringLiteral("UPDATE \"%1\" SET %2 WHERE \"ID\" = ?")
                                                     .arg(m_name, sets.join(QStringLiteral(", "))));
            for (int i = 0; i < values.size(); ++i)
                st.bind(i + 1, values[i]);
            st.bind(int(values.size()) + 1, id);
            try {
                st.step();
            } catch (const Error &e) {
                throw Error(msg::cannotStoreChange(m_name, m_catalog->path(), e.message()));
            }
        }
    }
    const bool inserted = m_state == Insert;
    m_state = Browse;
    m_buffer.clear();
    m_catalog->reloadRow(m_name, id, inserted);
    if (m_name == schema::kEpisodes && !readsOneTitle()) {
        // The whole set is read again only when it is walked.
        m_table.reset();
        m_viewValid = false;
        m_rows.clear();
        m_pos = -1;
        m_catalog->deliverChanges();
        return;
    }
    TablePtr table = sourceTable();
    const int r = table->rowById(id);
    m_table = table;
    m_generation = table->generation();
    m_keepRow = r;
    m_viewValid = false;
    rebuild();
    if (r >= 0 && (m_pos < 0 || m_rows[size_t(m_pos)] != r) && !passes(*table, r)) {
        // A record that the filter does not pass stays current until the data set moves.
        m_rows.insert(m_rows.begin() + std::max(0, m_pos), r);
        m_pos = std::max(0, m_pos);
    }
    m_catalog->deliverChanges();
}

void DataSet::cancel() {
    if (m_state == Edit || m_state == Insert) {
        m_state = Browse;
        m_buffer.clear();
    }
}

void DataSet::remove() {
    checkBrowse();
    requireWritable();
    sync();
    const int r = currentRow();
    if (r < 0)
        throw Error(msg::noRecordToDelete(m_name));
    const qint64 id = m_table->intAt(r, 0);
    Statement &st = m_catalog->statement(QStringLiteral("DELETE FROM \"%1\" WHERE \"ID\" = ?").arg(m_name));
    st.bind(1, id);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotDeleteRow(m_name, m_catalog->path(), e.message()));
    }
    const int pos = m_pos;
    std::optional<qint64> owner;
    if (m_table->refColumn() > 0 && !m_table->isNull(r, m_table->refColumn()))
        owner = m_table->intAt(r, m_table->refColumn());
    m_catalog->forgetRow(m_name, id, owner);
    sync();
    // The record after the deleted one becomes current, or the one before it at the end.
    m_pos = m_rows.empty() ? -1 : std::min(pos, int(m_rows.size()) - 1);
    m_catalog->deliverChanges();
}

} // namespace vq
