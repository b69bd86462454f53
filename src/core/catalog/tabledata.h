#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace vq {

enum class FieldType { Integer, Float, Text, DateTime };

struct ColumnDef {
    QString name;
    FieldType type;
};

// Names are put in order by the user's locale, letter case aside: the locale's name, and a collator
// (one per thread) that compares them so.
QString nameOrderLocale();
QCollator makeNameCollator();

// Grows whenever any table's rows change or cached rows are dropped: a data set whose stamp is
// current needs no look at the catalog at all.
quint64 changeStamp();
void bumpChangeStamp();

// Date-times are kept as local wall-clock milliseconds since 1970-01-01 00:00 (no zone), as the
// catalog stores them; that keeps spans and maxima exact and loading cheap.
qint64 naiveMsFromDateTime(const QDateTime &dt);
QDateTime dateTimeFromNaiveMs(qint64 ms);
QString naiveMsToStorageText(qint64 ms);
std::optional<qint64> naiveMsFromStorageText(QStringView text);
qint64 naiveNowMs();

// The rows of one table or stored query, column by column, shared by every data set opened on it.
// Deleted rows stay as tombstones so row numbers held by data sets remain valid.
class TableData {
public:
    TableData(QString name, std::vector<ColumnDef> columns, int refColumn = -1);

    const QString &name() const { return m_name; }
    int columnCount() const { return int(m_cols.size()); }
    const ColumnDef &column(int c) const { return m_defs[size_t(c)]; }
    int columnIndex(const QString &name) const;

    int physicalRows() const { return m_count; }
    int capacity() const { return int(m_alive.size()); }
    int aliveRows() const { return m_aliveCount; }
    bool alive(int r) const { return m_alive[size_t(r)] != 0; }

    bool isNull(int r, int c) const { return m_cols[size_t(c)].null[size_t(r)] != 0; }
    qint64 intAt(int r, int c) const { return m_cols[size_t(c)].i[size_t(r)]; }
    double realAt(int r, int c) const { return m_cols[size_t(c)].d[size_t(r)]; }
    const QString &textAt(int r, int c) const { return m_cols[size_t(c)].s[size_t(r)]; }
    QVariant valueAt(int r, int c) const;

    int appendRow();
    void reserve(int rows);
    void setNull(int r, int c);
    void setInt(int r, int c, qint64 v);
    void setReal(int r, int c, double v);
    void setText(int r, int c, const QString &v);
    void kill(int r);
    // While loading, the indexes are built once at the end instead of row by row.
    void beginBulkLoad() { m_bulk = true; }
    void endBulkLoad();

    // Column 0 is the key: unique for tables and for Rjk/Up_time.
    int rowById(qint64 id) const;
    // Rows grouped by a second integer column (the owning title of an episode, the ID of Ext rows).
    int refColumn() const { return m_refCol; }
    const std::vector<int> &rowsByRef(qint64 key) const;

    quint64 generation() const { return m_generation; }
    void touch();

    // Locale-aware, case-insensitive order of a text column.
    const QCollatorSortKey &sortKey(int r, int c) const;
    const std::vector<int> &sortedRows(int c) const;

private:
    struct Column {
        std::vector<qint64> i;
        std::vector<double> d;
        std::vector<QString> s;
        std::vector<char> null;
    };
    void indexRow(int r, bool add);
    void markSortDirty(int r);
    void applySortChanges() const;
    void growTo(size_t capacity);

    QString m_name;
    std::vector<ColumnDef> m_defs;
    std::vector<Column> m_cols;
    // Column vectors grow in blocks; rows at m_count and above are not in use yet.
    std::vector<char> m_alive;
    int m_count = 0;
    bool m_bulk = false;
    int m_aliveCount = 0;
    int m_refCol = -1;
    // Keys arrive in ascending order (read by key, new rows numbered upwards), so the key column
    // itself is the index; a hash is built only if a key ever arrives out of order.
    bool m_idsSorted = true;
    QHash<qint64, int> m_byId;
    QHash<qint64, std::vector<int>> m_byRef;
    // Episodes of one title mostly arrive together: the last group looked up, until the next insert.
    qint64 m_lastRefKey = 0;
    std::vector<int> *m_lastRefRows = nullptr;
    quint64 m_generation = 0;
    mutable QHash<int, std::vector<std::optional<QCollatorSortKey>>> m_sortKeys;
    void fillSortKeys(std::vector<std::optional<QCollatorSortKey>> &keys, const std::vector<int> &rows,
                      int c) const;
    // Kept in order as rows change, never sorted again from the start.
    mutable QHash<int, std::vector<int>> m_sorted;
    mutable std::vector<int> m_sortDirty;
};

using TablePtr = std::shared_ptr<TableData>;

} // namespace vq
