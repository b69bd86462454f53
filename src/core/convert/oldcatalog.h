#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace vq::convert {

// One value as the old file holds it. Date-times are local wall-clock milliseconds since
// 1970-01-01 (no zone), the way the new catalog keeps them.
struct OldValue {
    enum Kind { Null, Int, Real, Text, Time };
    Kind kind = Null;
    qint64 i = 0;
    double d = 0;
    QString s;
    bool isNull() const { return kind == Null; }
};

// True when the file begins like an Access database (Jet 3, Jet 4 or ACE), whatever its name.
bool looksLikeAccessFile(const QString &path);

class OldTable;

// libmdb reports what it stumbles on with its own lines on standard error; while one of these
// lives they go nowhere, so a damaged file gives the one clear message of its refusal.
class LibraryQuiet {
public:
    LibraryQuiet();
    ~LibraryQuiet();
    LibraryQuiet(const LibraryQuiet &) = delete;
    LibraryQuiet &operator=(const LibraryQuiet &) = delete;

private:
    int m_saved = -1;
};

// An Access catalog of the Windows version, opened read-only through libmdb. The constructor
// refuses, with a message naming the file, anything it cannot read completely and exactly.
class OldCatalogFile {
public:
    explicit OldCatalogFile(const QString &path);
    ~OldCatalogFile();
    OldCatalogFile(const OldCatalogFile &) = delete;
    OldCatalogFile &operator=(const OldCatalogFile &) = delete;

    const QString &path() const { return m_path; }
    QStringList tableNames() const { return m_tables; }
    bool hasTable(const QString &name) const;

    // Reads `columns` of a table in their stored order; a column the table lacks reads as NULL
    // (OldTable::hasColumn tells). Column names match without regard to case, as Access does.
    std::unique_ptr<OldTable> open(const QString &table, const QStringList &columns);

private:
    friend class OldTable;

    // libmdb reports what it stumbles on with its own lines on standard error; while one of these
    // lives they go nowhere, so a damaged file gives the one clear message of its refusal.
    class LibraryQuiet {
    public:
        LibraryQuiet();
        ~LibraryQuiet();
        LibraryQuiet(const LibraryQuiet &) = delete;
        LibraryQuiet &operator=(const LibraryQuiet &) = delete;

    private:
        int m_saved = -1;
    };
    QString m_path;
    QStringList m_tables;
    struct Handle;
    std::unique_ptr<Handle> m_h;
};

class OldTable {
public:
    ~OldTable();
    OldTable(const OldTable &) = delete;
    OldTable &operator=(const OldTable &) = delete;

    const QString &name() const { return m_name; }
    // Rows the table's definition says it holds; reading fewer is damage.
    qint64 rowCount() const { return m_rowCount; }
    bool hasColumn(int i) const { return m_cols[size_t(i)].index >= 0; }
    // The next row, false after the last one. Raises vq::Error on damage.
    bool next();
    const OldValue &value(int i) const { return m_values[size_t(i)]; }

private:
    friend class OldCatalogFile;
    OldTable(OldCatalogFile &file, void *def, QString name);
    void decode(int i, const void *field);

    struct Col {
        int index = -1; // in the table definition
        int type = 0;
    };
    OldCatalogFile &m_file;
    void *m_def; // MdbTableDef
    QString m_name;
    qint64 m_rowCount = 0;
    qint64 m_read = 0;
    std::vector<Col> m_cols;
    std::vector<OldValue> m_values;
};

} // namespace vq::convert
