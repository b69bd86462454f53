#include "tabledata.h"

#include <thread>

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace vq {

namespace {
QLocale nameLocale() {
    QLocale locale;
    // The C locale compares code points with letter case; the root collation of English does not.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}
} // namespace

QString nameOrderLocale() {
    return nameLocale().name();
}

QCollator makeNameCollator() {
    QCollator collator(nameLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

namespace {

qint64 daysFromCivil(qint64 y, unsigned m, unsigned d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

constexpr qint64 kDayMs = 86400000;
constexpr qint64 kJulianDayOfEpoch = 2440588;

QCollator &nameCollator() {
    static QString localeName;
    static QCollator collator;
    if (nameOrderLocale() != localeName) {
        localeName = nameOrderLocale();
        collator = makeNameCollator();
    }
    return collator;
}

int digits(QStringView t, qsizetype pos, int n) {
    int v = 0;
    for (int k = 0; k < n; ++k) {
        const QChar c = t[pos + k];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}

const std::vector<int> kNoRows;

} // namespace

qint64 naiveMsFromDateTime(const QDateTime &dt) {
    const QDate d = dt.date();
    return (d.toJulianDay() - kJulianDayOfEpoch) * kDayMs + dt.time().msecsSinceStartOfDay();
}

QDateTime dateTimeFromNaiveMs(qint64 ms) {
    qint64 days = ms / kDayMs;
    qint64 rest = ms % kDayMs;
    if (rest < 0) {
        rest += kDayMs;
        --days;
    }
    return QDateTime(QDate::fromJulianDay(days + kJulianDayOfEpoch),
                     QTime::fromMSecsSinceStartOfDay(int(rest)));
}

qint64 naiveNowMs() {
    return naiveMsFromDateTime(QDateTime::currentDateTime());
}

QString naiveMsToStorageText(qint64 ms) {
    return dateTimeFromNaiveMs(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

std::optional<qint64> naiveMsFromStorageText(QStringView t) {
    // Fast path for what the program writes: "yyyy-MM-dd HH:mm:ss[.zzz]" (a 'T' is accepted too).
    if (t.size() >= 19 && t[4] == QLatin1Char('-') && t[7] == QLatin1Char('-') &&
        (t[10] == QLatin1Char(' ') || t[10] == QLatin1Char('T')) && t[13] == QLatin1Char(':') &&
        t[16] == QLatin1Char(':')) {
        const int y = digits(t, 0, 4), mo = digits(t, 5, 2), d = digits(t, 8, 2);
        const int h = digits(t, 11, 2), mi = digits(t, 14, 2), s = digits(t, 17, 2);
        int z = 0;
        if (t.size() >= 23 && t[19] == QLatin1Char('.'))
            z = digits(t, 20, 3);
        if (y >= 0 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h >= 0 && h < 24 && mi >= 0 && mi < 60 &&
            s >= 0 && s < 62 && z >= 0)
            return daysFromCivil(y, unsigned(mo), unsigned(d)) * kDayMs + ((h * 60 + mi) * 60 + s) * 1000LL +
                   z;
    }
    QDateTime dt = QDateTime::fromString(t.toString(), Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(t.toString(), Qt::ISODate);
    if (!dt.isValid())
        return std::nullopt;
    return naiveMsFromDateTime(dt);
}

TableData::TableData(QString name, std::vector<ColumnDef> columns, int refColumn)
    : m_name(std::move(name)), m_defs(std::move(columns)), m_cols(m_defs.size()), m_refCol(refColumn) {
    touch();
}

int TableData::columnIndex(const QString &name) const {
    for (size_t c = 0; c < m_defs.size(); ++c)
        if (m_defs[c].name == name)
            return int(c);
    return -1;
}

QVariant TableData::valueAt(int r, int c) const {
    if (isNull(r, c))
        return QVariant();
    switch (m_defs[size_t(c)].type) {
    case FieldType::Integer:
        return QVariant(intAt(r, c));
    case FieldType::Float:
        return QVariant(realAt(r, c));
    case FieldType::Text:
        return QVariant(textAt(r, c));
    case FieldType::DateTime:
        return QVariant(dateTimeFromNaiveMs(intAt(r, c)));
    }
    return QVariant();
}

int TableData::appendRow() {
    const int r = m_count;
    if (size_t(r) >= m_alive.size())
        growTo(std::max<size_t>(1024, m_alive.size() * 2));
    m_alive[size_t(r)] = 1;
    ++m_count;
    ++m_aliveCount;
    markSortDirty(r);
    return r;
}

void TableData::endBulkLoad() {
    m_bulk = false;
    m_sorted.clear();
    m_sortDirty.clear();
    m_byId.clear();
    m_byRef.clear();
    m_lastRefRows = nullptr;
    m_idsSorted = true;
    for (int r = 0; r < m_count; ++r)
        if (alive(r))
            indexRow(r, true);
}

void TableData::growTo(size_t capacity) {
    if (capacity <= m_alive.size())
        return;
    for (size_t c = 0; c < m_cols.size(); ++c) {
        Column &col = m_cols[c];
        col.null.resize(capacity, 1);
        switch (m_defs[c].type) {
        case FieldType::Integer:
        case FieldType::DateTime:
            col.i.resize(capacity, 0);
            break;
        case FieldType::Float:
            col.d.resize(capacity, 0.0);
            break;
        case FieldType::Text:
            col.s.resize(capacity);
            break;
        }
    }
    m_alive.resize(capacity, 0);
    for (auto &keys : m_sortKeys)
        keys.resize(capacity);
}

int TableData::rowById(qint64 id) const {
    if (m_refCol == 0 || m_cols.empty() || m_defs[0].type != FieldType::Integer)
        return -1;
    if (!m_idsSorted)
        return m_byId.value(id, -1);
    const auto &ids = m_cols[0].i;
    const auto end = ids.begin() + m_count;
    auto it = std::lower_bound(ids.begin(), end, id);
    if (it == end || *it != id)
        return -1;
    const int r = int(it - ids.begin());
    return alive(r) && !isNull(r, 0) ? r : -1;
}

void TableData::reserve(int rows) {
    growTo(size_t(std::max(rows, 0)));
}

void TableData::indexRow(int r, bool add) {
    if (m_refCol != 0 && !isNull(r, 0) && m_defs[0].type == FieldType::Integer) {
        const qint64 id = intAt(r, 0);
        if (m_idsSorted && add) {
            // Still ascending when this key is above every earlier live or dead key before it.
            for (int p = r - 1; p >= 0; --p) {
                if (isNull(p, 0))
                    continue;
                if (intAt(p, 0) >= id) {
                    m_idsSorted = false;
                    for (int q = 0; q < physicalRows(); ++q)
                        if (q != r && alive(q) && !isNull(q, 0))
                            m_byId.insert(intAt(q, 0), q);
                }
                break;
            }
        }
        if (!m_idsSorted) {
            if (add)
                m_byId.insert(id, r);
            else if (m_byId.value(id, -1) == r)
                m_byId.remove(id);
        }
    }
    if (m_refCol >= 0 && !isNull(r, m_refCol)) {
        const qint64 key = intAt(r, m_refCol);
        if (!m_lastRefRows || m_lastRefKey != key) {
            m_lastRefRows = &m_byRef[key]; // may rehash: the cached group is taken anew
            m_lastRefKey = key;
        }
        auto &rows = *m_lastRefRows;
        if (add)
            rows.push_back(r);
        else
            rows.erase(std::remove(rows.begin(), rows.end(), r), rows.end());
    }
}

void TableData::setNull(int r, int c) {
    const bool indexed = !m_bulk && (c == 0 || c == m_refCol) && alive(r);
    if (indexed)
        indexRow(r, false);
    m_cols[size_t(c)].null[size_t(r)] = 1;
    if (m_defs[size_t(c)].type == FieldType::Text) {
        m_cols[size_t(c)].s[size_t(r)].clear();
        if (auto it = m_sortKeys.find(c); it != m_sortKeys.end())
            (*it)[size_t(r)].reset();
        markSortDirty(r);
    }
    if (indexed)
        indexRow(r, true);
}

void TableData::setInt(int r, int c, qint64 v) {
    const bool indexed = !m_bulk && (c == 0 || c == m_refCol) && alive(r);
    if (indexed)
        indexRow(r, false);
    m_cols[size_t(c)].i[size_t(r)] = v;
    m_cols[size_t(c)].null[size_t(r)] = 0;
    if (indexed)
        indexRow(r, true);
}

void TableData::setReal(int r, int c, double v) {
    m_cols[size_t(c)].d[size_t(r)] = v;
    m_cols[size_t(c)].null[size_t(r)] = 0;
}

void TableData::setText(int r, int c, const QString &v) {
    m_cols[size_t(c)].s[size_t(r)] = v;
    m_cols[size_t(c)].null[size_t(r)] = 0;
    if (auto it = m_sortKeys.find(c); it != m_sortKeys.end())
        (*it)[size_t(r)].reset();
    markSortDirty(r);
}

void TableData::kill(int r) {
    if (!alive(r))
        return;
    indexRow(r, false);
    m_alive[size_t(r)] = 0;
    --m_aliveCount;
    markSortDirty(r);
}

const std::vector<int> &TableData::rowsByRef(qint64 key) const {
    auto it = m_byRef.constFind(key);
    return it == m_byRef.constEnd() ? kNoRows : *it;
}

namespace {
quint64 g_stamp = 0;
}

quint64 changeStamp() {
    return g_stamp;
}
void bumpChangeStamp() {
    ++g_stamp;
}

void TableData::touch() {
    m_generation = ++g_stamp;
}

const QCollatorSortKey &TableData::sortKey(int r, int c) const {
    auto it = m_sortKeys.find(c);
    if (it == m_sortKeys.end())
        it = m_sortKeys.insert(c, std::vector<std::optional<QCollatorSortKey>>(m_alive.size()));
    auto &slot = (*it)[size_t(r)];
    if (!slot)
        slot.emplace(nameCollator().sortKey(textAt(r, c)));
    return *slot;
}

namespace {

// A large sort's keys and comparisons are split between two threads; a small one is not worth one.
bool worthTwoThreads(size_t items) {
    return items >= 4096 && std::thread::hardware_concurrency() >= 2;
}

} // namespace

const std::vector<int> &TableData::sortedRows(int c) const {
    auto it = m_sorted.find(c);
    if (it != m_sorted.end()) {
        if (!m_sortDirty.empty())
            applySortChanges();
        return *it;
    }
    std::vector<int> rows;
    rows.reserve(size_t(m_aliveCount));
    for (int r = 0; r < physicalRows(); ++r)
        if (alive(r))
            rows.push_back(r);
    auto keysIt = m_sortKeys.find(c);
    if (keysIt == m_sortKeys.end())
        keysIt = m_sortKeys.insert(c, std::vector<std::optional<QCollatorSortKey>>(m_alive.size()));
    std::vector<std::optional<QCollatorSortKey>> &keys = *keysIt;
    fillSortKeys(keys, rows, c);
    const auto less = [&](int a, int b) { return keys[size_t(a)]->compare(*keys[size_t(b)]) < 0; };
    if (worthTwoThreads(rows.size())) {
        // Each half sorted by a thread of its own, then merged: equal names keep their order.
        const auto mid = rows.begin() + std::ptrdiff_t(rows.size() / 2);
        std::thread worker([&] { std::stable_sort(mid, rows.end(), less); });
        std::stable_sort(rows.begin(), mid, less);
        worker.join();
        std::inplace_merge(rows.begin(), mid, rows.end(), less);
    } else {
        std::stable_sort(rows.begin(), rows.end(), less);
    }
    return *m_sorted.insert(c, std::move(rows));
}

void TableData::fillSortKeys(std::vector<std::optional<QCollatorSortKey>> &keys, const std::vector<int> &rows,
                             int c) const {
    std::vector<int> missing;
    for (int r : rows)
        if (!keys[size_t(r)])
            missing.push_back(r);
    // The collation keys are most of a large sort's cost; a second thread halves it. Each thread
    // has a collator of its own: one instance is not to be shared between threads.
    const size_t half = missing.size() / 2;
    auto fill = [&](QCollator collator, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            const int r = missing[i];
            keys[size_t(r)].emplace(collator.sortKey(textAt(r, c)));
        }
    };
    const QCollator &shared = nameCollator();
    if (!worthTwoThreads(missing.size())) {
        fill(shared, 0, missing.size());
        return;
    }
    QCollator other(shared.locale());
    other.setCaseSensitivity(shared.caseSensitivity());
    other.setNumericMode(shared.numericMode());
    other.setIgnorePunctuation(shared.ignorePunctuation());
    std::thread worker(fill, other, half, missing.size());
    fill(shared, 0, half);
    worker.join();
}

void TableData::markSortDirty(int r) {
    if (!m_sorted.isEmpty())
        m_sortDirty.push_back(r);
}

void TableData::applySortChanges() const {
    // A changed row leaves its place and goes to its new one: the order of equal names stays that
    // of the rows, as a stable sort gives it.
    std::sort(m_sortDirty.begin(), m_sortDirty.end());
    m_sortDirty.erase(std::unique(m_sortDirty.begin(), m_sortDirty.end()), m_sortDirty.end());
    for (auto it = m_sorted.begin(); it != m_sorted.end(); ++it) {
        const int c = it.key();
        std::vector<int> &rows = *it;
        auto less = [&](int a, int b) {
            const int k = sortKey(a, c).compare(sortKey(b, c));
            return k != 0 ? k < 0 : a < b;
        };
        for (int r : m_sortDirty) {
            auto pos = std::find(rows.begin(), rows.end(), r);
            if (pos != rows.end())
                rows.erase(pos);
            if (alive(r))
                rows.insert(std::lower_bound(rows.begin(), rows.end(), r, less), r);
        }
    }
    m_sortDirty.clear();
}

} // namespace vq
