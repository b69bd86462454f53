#pragma once

#include "tabledata.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace vq {

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value); // 1-based, as SQLite counts
    bool step();                                 // true while a row is there
    void reset();
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// One open catalog file: the SQLite connection and the rows read from it, shared by all data sets.
class Catalog {
public:
    // Opens an existing catalog. Anything that is not one is refused and left byte for byte as it was.
    explicit Catalog(const QString &path);
    ~Catalog();
    Catalog(const Catalog &) = delete;
    Catalog &operator=(const Catalog &) = delete;

    // Makes a catalog with the schema and the starter lookup rows; never over an existing file.
    static void createStarter(const QString &path);

    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }
    bool isReadOnly() const;
    qint64 lastInsertId() const;

    // The rows of a table or stored query as they are now. Stored queries are computed from the
    // table rows already read, and recomputed only when those change.
    TablePtr table(const QString &name);

    // Drops what was read when another process changed the file since; true when it did.
    bool checkExternalChanges();
    // Forget everything read (after a rolled-back transaction, say).
    void invalidate();

    // Writes. Each raises vq::Error naming the catalog when SQLite refuses.
    void exec(const QString &sql);
    // A prepared statement kept for the life of the connection (reset before it is handed out).
    Statement &statement(const QString &sql);
    void ensureWritable() const;
    [[noreturn]] void fail(const QString &what) const;

    // Consistent copy of the whole file made by SQLite, never over an existing file.
    void copyTo(const QString &newPath);
    // Deletes every title (their episodes and alternative names go with them) in one transaction.
    void deleteAllTitles();

    // Re-reads one row of a table after the program wrote it (the cache follows the file).
    void reloadRow(const QString &table, qint64 id);
    void forgetRow(const QString &table, qint64 id);

    // Groups writes into one transaction; rolls back (and forgets cached rows) unless committed.
    class Transaction {
    public:
        explicit Transaction(Catalog &catalog);
        ~Transaction();
        void commit();

    private:
        Catalog &m_catalog;
        bool m_done = false;
    };

private:
    TablePtr loadTable(const QString &name);
    TablePtr computeQuery(const QString &name);
    qint64 dataVersion() const;

    QString m_path;
    sqlite3 *m_db = nullptr;
    qint64 m_dataVersion = 0;
    QHash<QString, TablePtr> m_tables;
    struct QueryCache {
        TablePtr data;
        quint64 titlesGeneration = 0;
        quint64 episodesGeneration = 0;
    };
    QHash<QString, QueryCache> m_queries;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
};

} // namespace vq
