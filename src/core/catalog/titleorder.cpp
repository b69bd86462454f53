#include "titleorder.h"

#include "catalog.h"
#include "error.h"
#include "messages.h"
#include "schema.h"
#include "tabledata.h"

#include <sqlite3.h>

#include <algorithm>
#include <thread>

namespace vq {

namespace {

// Places are spread apart, so that a title placed later finds room between two others.
constexpr qint64 kGap = qint64(1) << 24;
// More titles without a place than this are cheaper put in order all at once.
constexpr size_t kPlaceOneByOne = 2000;

QString text(sqlite3_stmt *st, int col) {
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)),
                             sqlite3_column_bytes(st, col));
}

// The places are written in a transaction of their own, or inside the read that asked for them (a
// refresh reads in one transaction); nothing is written where the file cannot take them now.
class OrderWrite {
public:
    explicit OrderWrite(Catalog &c) : m_c(c) {
        if (c.isReadOnly())
            return;
        m_savepoint = !sqlite3_get_autocommit(c.handle());
        m_open = sqlite3_exec(c.handle(), m_savepoint ? "SAVEPOINT vq_order" : "BEGIN IMMEDIATE", nullptr,
                              nullptr, nullptr) == SQLITE_OK;
    }
    ~OrderWrite() {
        if (m_open)
            sqlite3_exec(m_c.handle(), m_savepoint ? "ROLLBACK TO vq_order; RELEASE vq_order" : "ROLLBACK",
                         nullptr, nullptr, nullptr);
    }
    OrderWrite(const OrderWrite &) = delete;
    OrderWrite &operator=(const OrderWrite &) = delete;
    bool open() const { return m_open; }
    void commit() {
        if (m_open && sqlite3_exec(m_c.handle(), m_savepoint ? "RELEASE vq_order" : "COMMIT", nullptr,
                                   nullptr, nullptr) == SQLITE_OK)
            m_open = false;
    }

private:
    Catalog &m_c;
    bool m_savepoint = false;
    bool m_open = false;
};

} // namespace

const std::vector<qint64> &TitleOrder::ids() {
    if (!m_valid || m_epoch != m_catalog.epoch()) {
        load();
        return m_ids;
    }
    if (m_touched.isEmpty())
        return m_ids;
    const std::vector<qint64> touched(m_touched.cbegin(), m_touched.cend());
    m_touched.clear();
    if (touched.size() > kPlaceOneByOne) {
        load();
        return m_ids;
    }
    // Each changed title leaves its place and takes the one the file keeps for it, or a new one.
    std::vector<qint64> unplaced;
    for (const qint64 id : touched) {
        const auto at = std::find(m_ids.begin(), m_ids.end(), id);
        if (at != m_ids.end()) {
            m_ranks.erase(m_ranks.begin() + (at - m_ids.begin()));
            m_ids.erase(at);
        }
        std::optional<qint64> rank;
        bool exists = false;
        if (m_inFile) {
            Statement &st =
                m_catalog.statement(QStringLiteral("SELECT \"Rank\" FROM \"Sort_title\" WHERE \"ID\" = ?"));
            Statement::ResetAfter done{st};
            st.bind(1, id);
            exists = st.step();
            if (exists && sqlite3_column_type(st.handle(), 0) != SQLITE_NULL)
                rank = sqlite3_column_int64(st.handle(), 0);
        }
        if (rank) {
            const auto p = std::upper_bound(m_ranks.begin(), m_ranks.end(), *rank) - m_ranks.begin();
            m_ranks.insert(m_ranks.begin() + p, *rank);
            m_ids.insert(m_ids.begin() + p, id);
        } else if (exists || !m_inFile) {
            unplaced.push_back(id);
        }
    }
    place(unplaced);
    return m_ids;
}

std::vector<qint64> TitleOrder::ids(const std::vector<qint64> &only) {
    const std::vector<qint64> &all = ids();
    std::vector<qint64> out;
    out.reserve(only.size());
    if (only.empty())
        return out;
    // Keys are mostly dense: one mark per key, looked at in one walk of the order.
    const qint64 top = only.back();
    if (only.front() >= 0 && top < qint64(all.size()) * 8 + 4096) {
        std::vector<char> in(size_t(top) + 1);
        for (const qint64 id : only)
            in[size_t(id)] = 1;
        for (const qint64 id : all)
            if (id >= 0 && id <= top && in[size_t(id)])
                out.push_back(id);
        return out;
    }
    for (const qint64 id : all)
        if (std::binary_search(only.begin(), only.end(), id))
            out.push_back(id);
    return out;
}

void TitleOrder::follow(const ChangeNotice &notice) {
    if (notice.all)
        m_valid = false;
    else
        for (const qint64 id : notice.titles)
            m_touched.insert(id);
}

bool TitleOrder::placesInFile() {
    Statement st(m_catalog.handle(),
                 QStringLiteral("SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ?"));
    st.bind(1, schema::kOrderLocale);
    if (!st.step())
        return false;
    Statement locale(m_catalog.handle(), QStringLiteral("SELECT \"Name\" FROM main.\"Sort_locale\""));
    return locale.step() && locale.text(0) == nameOrderLocale();
}

void TitleOrder::load() {
    m_epoch = m_catalog.epoch();
    m_valid = true;
    m_touched.clear();
    m_ids.clear();
    m_ranks.clear();
    try {
        m_inFile = placesInFile();
        if (!m_inFile) {
            // Made in another locale, or never: put in order here, and kept where the file takes it.
            sortInMemory(true);
            return;
        }
        Statement st(m_catalog.handle(),
                     QStringLiteral("SELECT \"ID\", \"Rank\" FROM \"Sort_title\" WHERE \"Rank\" IS "
                                    "NOT NULL ORDER BY \"Rank\", \"ID\""));
        while (st.step()) {
            m_ids.push_back(sqlite3_column_int64(st.handle(), 0));
            m_ranks.push_back(sqlite3_column_int64(st.handle(), 1));
        }
        std::vector<qint64> unplaced;
        Statement none(m_catalog.handle(),
                       QStringLiteral("SELECT \"ID\" FROM \"Sort_title\" WHERE \"Rank\" IS NULL"));
        while (none.step())
            unplaced.push_back(sqlite3_column_int64(none.handle(), 0));
        if (unplaced.size() > kPlaceOneByOne)
            sortInMemory(true);
        else
            place(unplaced);
    } catch (const Error &e) {
        m_valid = false;
        throw Error(msg::catalogCannotBeRead(m_catalog.path(), e.message()));
    }
}

std::optional<QString> TitleOrder::nameOf(qint64 id) {
    Statement &st =
        m_catalog.statement(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = ?"));
    Statement::ResetAfter done{st};
    st.bind(1, id);
    if (!st.step())
        return std::nullopt;
    return text(st.handle(), 0);
}

void TitleOrder::sortInMemory(bool store) {
    std::vector<qint64> ids;
    std::vector<QString> names;
    {
        Statement st(m_catalog.handle(),
                     QStringLiteral("SELECT \"ID\", \"Название\" FROM \"Список\" ORDER BY \"ID\""));
        while (st.step()) {
            ids.push_back(sqlite3_column_int64(st.handle(), 0));
            names.push_back(text(st.handle(), 1));
        }
    }
    // The collation keys are most of the cost; a second thread makes half of them, each with a
    // collator of its own.
    std::vector<std::optional<QCollatorSortKey>> keys(ids.size());
    const auto fill = [&](size_t from, size_t to) {
        const QCollator collator = makeNameCollator();
        for (size_t i = from; i < to; ++i)
            keys[i].emplace(collator.sortKey(names[i]));
    };
    const size_t half = ids.size() / 2;
    if (ids.size() > 20000 && std::thread::hardware_concurrency() > 1) {
        std::thread other(fill, half, ids.size());
        fill(0, half);
        other.join();
    } else {
        fill(0, ids.size());
    }
    std::vector<size_t> order(ids.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // Equal names keep the order of their keys.
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return keys[a]->compare(*keys[b]) < 0; });
    m_ids.resize(ids.size());
    m_ranks.resize(ids.size());
    for (size_t i = 0; i < order.size(); ++i) {
        m_ids[i] = ids[order[i]];
        m_ranks[i] = qint64(i + 1) * kGap;
    }
    if (!store)
        return;
    OrderWrite write(m_catalog);
    if (!write.open())
        return;
    try {
        Statement st(m_catalog.handle(),
                     QStringLiteral("INSERT OR REPLACE INTO \"Sort_title\"(\"ID\", \"Rank\") VALUES (?, ?)"));
        for (size_t i = 0; i < m_ids.size(); ++i) {
            st.bind(1, m_ids[i]);
            st.bind(2, m_ranks[i]);
            st.step();
            st.reset();
        }
        m_catalog.exec(QStringLiteral("DELETE FROM \"Sort_locale\""));
        Statement locale(m_catalog.handle(),
                         QStringLiteral("INSERT INTO \"Sort_locale\"(\"Name\") VALUES (?)"));
        locale.bind(1, nameOrderLocale());
        locale.step();
        write.commit();
        m_inFile = true;
    } catch (const Error &) {
        // Another program holds the file, or it refused: the order stands in memory this time.
    }
}

void TitleOrder::place(const std::vector<qint64> &titles) {
    if (titles.empty())
        return;
    const QCollator collator = makeNameCollator();
    std::optional<OrderWrite> writing;
    if (m_inFile)
        writing.emplace(m_catalog);
    const bool write = writing && writing->open();
    bool renumber = false;
    try {
        for (const qint64 id : titles) {
            const std::optional<QString> name = nameOf(id);
            if (!name)
                continue; // gone meanwhile
            // Where it goes: after every title whose name comes before it, or is equal with a lower key.
            size_t lo = 0, hi = m_ids.size();
            while (lo < hi) {
                const size_t mid = (lo + hi) / 2;
                const int c = collator.compare(nameOf(m_ids[mid]).value_or(QString()), *name);
                if (c < 0 || (c == 0 && m_ids[mid] < id))
                    lo = mid + 1;
                else
                    hi = mid;
            }
            const qint64 before = lo > 0 ? m_ranks[lo - 1] : 0;
            const qint64 after = lo < m_ranks.size() ? m_ranks[lo] : before + 2 * kGap;
            if (after - before < 2) {
                renumber = true;
                break;
            }
            const qint64 rank = before + (after - before) / 2;
            m_ids.insert(m_ids.begin() + qsizetype(lo), id);
            m_ranks.insert(m_ranks.begin() + qsizetype(lo), rank);
            if (write) {
                Statement &st = m_catalog.statement(
                    QStringLiteral("UPDATE \"Sort_title\" SET \"Rank\" = ? WHERE \"ID\" = ?"));
                Statement::ResetAfter done{st};
                st.bind(1, rank);
                st.bind(2, id);
                st.step();
            }
        }
        if (write)
            writing->commit();
    } catch (const Error &) {
        // Not written: the places stand in memory and are made again next time.
    }
    writing.reset();
    // No room left between two places: every title gets a new one.
    if (renumber)
        sortInMemory(true);
}

} // namespace vq
