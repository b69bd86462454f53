#pragma once

#include "tabledata.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace vq {

class Catalog;

// A filter of a data set, with its value bound rather than pasted into a query text.
struct Filter {
    enum Kind { None, Equals, Prefix, Like, OneOf };
    Kind kind = None;
    QString field;
    qint64 number = 0;          // Equals
    QString text;               // Prefix: the name begins with it; Like: the whole name, letter case ignored
    std::vector<qint64> values; // OneOf: ascending

    static Filter equals(const QString &field, qint64 value) { return {Equals, field, value, {}, {}}; }
    static Filter prefix(const QString &field, const QString &text) { return {Prefix, field, 0, text, {}}; }
    static Filter like(const QString &field, const QString &text) { return {Like, field, 0, text, {}}; }
    // Passes when the field's value is in the list (sorted here if it is not already).
    static Filter oneOf(const QString &field, std::vector<qint64> sortedValues);
    // The expression as the data layer would have written it, for messages.
    QString expression() const;
    bool operator==(const Filter &o) const = default;
};

// A table or stored query of the open catalog, opened by name: filtered, sorted and positioned in
// memory over rows read once; changes are written through to the file at once.
class DataSet {
    struct FieldSpec;

public:
    enum State { Inactive, Browse, Edit, Insert };

    DataSet(Catalog *catalog, const QString &name);
    ~DataSet();
    DataSet(const DataSet &) = delete;
    DataSet &operator=(const DataSet &) = delete;

    const QString &name() const { return m_name; }
    void setCatalog(Catalog *catalog); // closes the data set
    Catalog *catalog() const { return m_catalog; }

    void open(); // re-opening a stored query recomputes it
    void close();
    bool isOpen() const { return m_state != Inactive; }
    State state() const { return m_state; }

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int index) const;
    int fieldIndex(const QString &name) const; // -1 when there is none

    void setFilter(const Filter &filter);
    const Filter &filter() const { return m_filter; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }
    // "Название ASC" and the like; an empty text sorts by the key.
    void setSort(const QString &sort);
    const QString &sort() const { return m_sortText; }

    int recordCount();
    bool isEmpty() { return recordCount() == 0; }
    void first();
    void last();
    void next();
    void prior();
    bool eof();
    int recNo();          // 1-based; 0 when there is no record
    void setRecNo(int n); // 1-based; out of range is clamped

    // Reading a field of the current record; a missing value reads as "" and 0.
    bool isNull(const QString &field);
    QString asString(const QString &field);
    qint64 asInteger(const QString &field);
    double asFloat(const QString &field);
    QDateTime asDateTime(const QString &field);
    QVariant value(const QString &field);
    QString asString(int field);
    qint64 asInteger(int field);
    double asFloat(int field);
    QDateTime asDateTime(int field);
    QVariant value(int field);
    // A date-time field as stored (local wall-clock milliseconds), without building a QDateTime.
    std::optional<qint64> asNaiveMs(int field);

    // Every record in the current order, as its row in the source table and an integer field:
    // for a caller that reads each record once, without moving the data set. Leaves the data set
    // where it was.
    struct RecordKey {
        int row;
        qint64 value;
    };
    std::vector<RecordKey> recordKeys(int field);

    // Fields of any row of the data set's table as asString reads them in browse mode, without
    // the data set: several threads may read at once while nothing changes the catalog. Holds the
    // tables it reads. Stored and looked-up fields only.
    class RowTexts {
    public:
        // `i` is the field's place in the list asked for.
        QString text(int row, int i) const;

    private:
        friend class DataSet;
        TablePtr m_table;
        std::vector<FieldSpec> m_fields;
        std::vector<TablePtr> m_lookups;
    };
    RowTexts rowTexts(std::initializer_list<int> fields);

    // Reads the data set's table now and gives back the sort its first read would do, as a task
    // that touches nothing but that table (empty where no sort is kept for the table): a caller
    // may run it on another thread while it reads something else of the catalog.
    std::function<void()> sortTask();

    void append();
    void edit();
    void setValue(const QString &field, const QVariant &value);
    void post();
    void cancel();
    void remove();

private:
    struct FieldSpec {
        enum Kind { Stored, Lookup, Size, Frame, PlayTime };
        QString name;
        Kind kind = Stored;
        int col = -1;
        int col2 = -1;
        int maxLen = 0;
        QString lookupTable;
    };

    static QString storedText(const TableData &t, const FieldSpec &f, const TableData *lookup, int r);
    const TablePtr &lookupTablePtr(const QString &name);
    void requireOpen() const;
    void requireWritable() const;
    void checkBrowse();
    void sync();
    bool readsOneTitle() const;
    TablePtr sourceTable();
    void rebuild();
    void ensureSorted();
    bool sortsNaturally() const;
    bool sortsByTableOrder(const TableData &t) const;
    int currentRow();
    bool passes(const TableData &t, int r) const;
    int fieldOrThrow(const QString &field) const;
    QVariant storedValue(int col);
    QVariant fieldValue(int field);
    FieldType fieldType(int field) const;
    QString lookupText(const QString &table, const QVariant &key);
    const TableData *lookupTable(const QString &name);
    // A stored field of `type` of the current record in browse mode, readable without a QVariant.
    bool directStored(int field, FieldType type, int &row, int &col);

    Catalog *m_catalog;
    QString m_name;
    bool m_query;
    std::vector<FieldSpec> m_fields;
    State m_state = Inactive;
    Filter m_filter;
    bool m_filtered = false;
    QString m_sortText;
    int m_sortCol = -1;
    bool m_sortDesc = false;

    TablePtr m_table;
    quint64 m_generation = 0;
    quint64 m_stamp = 0;
    bool m_viewValid = false;
    bool m_viewSorted = false;
    std::vector<int> m_rows;
    int m_pos = -1;
    int m_keepRow = -1;

    std::vector<std::pair<QString, TablePtr>> m_lookups;
    std::vector<QVariant> m_buffer;
    std::vector<char> m_modified;
};

} // namespace vq
