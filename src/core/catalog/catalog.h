#pragma once

#include "tabledata.h"
#include "titleorder.h"
#include "titletexts.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vq {

// One combination of frame size, sound and subtitles among a title's episodes, as `Ext` groups them.
struct ExtCombo {
    enum Field { Width, Height, Sound, SubIn, SubExt, FieldCount };
    qint64 value[FieldCount] = {};
    quint8 nulls = 0; // bit f set: field f is null
    bool isNull(int f) const { return nulls & (1u << f); }
    bool operator==(const ExtCombo &) const = default;
};
inline size_t qHash(const ExtCombo &c, size_t seed = 0) {
    return qHashMulti(seed, c.value[0], c.value[1], c.value[2], c.value[3], c.value[4], c.nulls);
}
// The combination of `Ext`'s row `r`.
ExtCombo extCombo(const TableData &ext, int r);

// The titles' sums as `Rjk`, `Ext` and `Up_time` give them, in title ID order and without the
// titles' own columns: for a pass that only formats them.
struct TitleSums {
    std::vector<qint64> ids;
    std::vector<std::optional<double>> size, duration; // none where the query has none
    std::vector<std::optional<qint64>> maxUpdate;      // naive ms; empty unless asked for
    std::vector<qint64> comboIds;
    std::vector<ExtCombo> combos;
    // The index of `id` in `ids`, or -1.
    int find(qint64 id) const;
    // The sums at index `i` (none when negative), 0 where the query has none.
    double sizeAt(int i) const { return i < 0 ? 0.0 : size[size_t(i)].value_or(0.0); }
    double durationAt(int i) const { return i < 0 ? 0.0 : duration[size_t(i)].value_or(0.0); }
    std::span<const ExtCombo> combosOf(qint64 id) const;
};

// The catalog's own totals as the file keeps them.
struct CatalogTotals {
    qint64 files = 0;
    double sizeBytes = 0;
    double durationMs = 0;
};

// Every title's sums or only `title`'s, with each title's latest update when `updates` is set.
struct TitleSumsWanted {
    bool updates = false;
    std::optional<qint64> title;
    const std::vector<qint64> *titles = nullptr; // these titles only (any order)
};

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
    QString text(int col) const; // the column of the current row as text ("" for NULL)

    // Resets a kept statement when the reader is done, so that no read transaction stays open.
    struct ResetAfter {
        Statement &st;
        ~ResetAfter() { st.reset(); }
    };

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// What changed in the file: some titles (their own row, their episodes or their sums), or all of it
// (another process wrote, a change was rolled back, the file was read again).
struct ChangeNotice {
    bool all = false;
    QSet<qint64> titles;
    bool episodes = false; // some of those titles' episodes changed (not only their own rows)
    bool places = false;   // volumes or the files' locations changed (no title's sums did)
    bool isEmpty() const { return !all && titles.isEmpty() && !episodes && !places; }
    bool touches(qint64 id) const { return all || titles.contains(id); }
};

// One open catalog file: the SQLite connection and the rows read from it, shared by all data sets.
class Catalog {
public:
    // Opens an existing catalog. Anything that is not one is refused and left byte for byte as it was.
    // `readOnly` opens it for reading even where it could be written.
    // `titlesNow` reads the titles at once (a window shows them all); a command that shows a part
    // leaves them to be read when first asked for.
    explicit Catalog(const QString &path, bool readOnly = false, bool titlesNow = false);
    ~Catalog();
    Catalog(const Catalog &) = delete;
    Catalog &operator=(const Catalog &) = delete;

    // Makes a catalog with the schema and the starter lookup rows; never over an existing file.
    static void createStarter(const QString &path);
    // A new file is made under a temporary name in the folder it is meant for (made empty and held by
    // this process until publish or removeTemp, see partfile.h), then given its name in one step that
    // never replaces a file (nor follows a dangling link).
    static QString tempPathBeside(const QString &path);
    static void publish(const QString &tmp, const QString &path);
    static void removeTemp(const QString &tmp);
    static bool nameTaken(const QString &path);

    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }
    bool isReadOnly() const;
    // Whether the file keeps the episode sums itself (a read-only catalog made before they existed
    // gets them as temporary tables of the connection instead).
    bool hasSums() const { return m_hasSums; }
    // The file's schema version (a read-only older file keeps its own).
    int schemaVersion() const { return m_version; }
    // Whether the file keeps each title's codec and container combinations (`Sum_codec`).
    bool hasCodecSums() const { return m_hasCodecSums; }
    qint64 lastInsertId() const;

    // The rows of a table or stored query as they are now. Stored queries are computed from the
    // table rows already read, and recomputed only when those change.
    TablePtr table(const QString &name);
    // The episodes of one title, read through the index on the title when first asked for.
    TablePtr titleEpisodes(qint64 titleId);
    // The per-title sums, read from the kept sums when the file has them.
    TitleSums titleSums(const TitleSumsWanted &wanted = {});
    // All episode rows of the catalog, counted without reading them.
    qint64 episodeCount();
    // The names of the titles `ids`, in that order (empty for a key the catalog does not hold).
    std::vector<QString> titleNames(std::span<const qint64> ids);
    // The files, size and play time of the titles `ids` (ascending keys), as the kept sums say: by
    // key when they are few, else from every title's sums, read once and kept until they change.
    CatalogTotals totalsOf(const std::vector<qint64> &ids);
    // The titles whose latest episode was stored within `days` days of `nowNaiveMs`, before or after.
    QSet<qint64> titlesUpdatedWithin(qint64 nowNaiveMs, int days);
    CatalogTotals totals();
    // The number of titles, counted in the file unless they were read already.
    qint64 titleCount();
    bool readsTitlesNow() const { return m_titlesNow; }

    // What is derived from the catalog can be kept while these stay: the epoch changes whenever
    // everything read is dropped, a title's stamp whenever that title or its episodes change.
    quint64 epoch() const { return m_epoch; }
    quint64 titleStamp(qint64 titleId) const { return m_titleStamps.value(titleId, 0); }

    // Drops what was read when another process changed the file since; true when it did.
    bool checkExternalChanges();

    // The ten summary texts of each title, made from the file and kept per title.
    TitleTextCache &titleTexts() { return *m_texts; }
    // Every title's key in name order.
    TitleOrder &titleOrder() { return *m_order; }

    // Told of every change once it is in the file: when a write outside a transaction is done, when
    // the outermost transaction commits or rolls back, when a read snapshot that noticed another
    // process's change ends, or when deliverChanges() is called. Changes made while the listener
    // runs come in a later call.
    void setChangeListener(std::function<void(const ChangeNotice &)> listener);
    void deliverChanges();
    // Volumes or locations were written: told with the next delivery.
    void notePlacesChanged() { m_pending.places = true; }
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
    // `inserted` tells a new row from a changed one; `titleId` is the owner of a forgotten episode.
    void reloadRow(const QString &table, qint64 id, bool inserted = false);
    void forgetRow(const QString &table, qint64 id, std::optional<qint64> titleId = std::nullopt);

    // Groups writes into one transaction; rolls back (and forgets cached rows) unless committed.
    class Transaction {
    public:
        explicit Transaction(Catalog &catalog);
        ~Transaction();
        void commit();

    private:
        Catalog &m_catalog;
        bool m_done = false;
        bool m_savepoint = false; // inside a read snapshot or another transaction
    };

    // Everything read while it lives comes from one state of the file, whatever another process
    // commits meanwhile. Rows read before it are dropped if the file changed since.
    class ReadSnapshot {
    public:
        explicit ReadSnapshot(Catalog &catalog);
        ~ReadSnapshot();
        ReadSnapshot(const ReadSnapshot &) = delete;
        ReadSnapshot &operator=(const ReadSnapshot &) = delete;

    private:
        Catalog &m_catalog;
        bool m_began = false;
    };

private:
    void openFile(bool readOnly, bool immutable);
    void checkSchema();
    // Runs the statements in one write transaction; false (and nothing changed) when refused.
    // Brings an older file up to this program's version, when it can be written.
    void upgrade();
    // Whether the file keeps the sums itself; where it does not, they are made for this connection.
    void checkKept();
    TablePtr loadTable(const QString &name, qint64 titleId = -1);
    TablePtr loadSumQuery(const QString &name, qint64 titleId = -1);
    void patchSums(qint64 titleId);
    qint64 dataVersion() const;

    bool m_titlesNow = true;
    QString m_path;
    sqlite3 *m_db = nullptr;
    qint64 m_dataVersion = 0;
    QHash<QString, TablePtr> m_tables;
    // The stored queries as last read from the kept sums, until the next change.
    QHash<QString, TablePtr> m_queries;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
    QHash<qint64, TablePtr> m_titleEpisodes;
    int m_version = 0;
    bool m_hasSums = false;
    bool m_hasCodecSums = false;
    bool m_tempSums = false; // made for this connection, filled again when another process writes
    std::unique_ptr<TitleTextCache> m_texts;
    std::unique_ptr<TitleOrder> m_order;
    struct SumsById {
        quint64 epoch = 0;
        bool valid = false;
        std::vector<qint64> ids; // ascending
        std::vector<CatalogTotals> sums;
        QSet<qint64> stale;
    } m_sumsById;
    std::function<void(const ChangeNotice &)> m_listener;
    ChangeNotice m_pending;
    bool m_delivering = false;
    quint64 m_epoch = 0;
    quint64 m_stampCounter = 0;
    QHash<qint64, quint64> m_titleStamps;
};

} // namespace vq
