#include "migrations.h"

#include "error.h"
#include "intake/releasename.h"
#include "parallel.h"
#include "schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <thread>

namespace vq::schema {

namespace {

void run(sqlite3 *db, const QString &sql) {
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw Error(msg);
    }
}

void run(sqlite3 *db, const QStringList &statements) {
    for (const QString &sql : statements)
        run(db, sql);
}

bool has(sqlite3 *db, const char *type, const QString &name, const char *where = "main") {
    const QByteArray sql =
        QByteArray("SELECT 1 FROM ") + where + ".sqlite_master WHERE type = ?1 AND name = ?2";
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
    const QByteArray n = name.toUtf8();
    sqlite3_bind_text(st, 1, type, -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 2, n.constData(), int(n.size()), SQLITE_STATIC);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return found;
}

bool hasColumn(sqlite3 *db, const QString &table, const QString &column) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2", -1, &st, nullptr) !=
        SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
    const QByteArray t = table.toUtf8(), c = column.toUtf8();
    sqlite3_bind_text(st, 1, t.constData(), int(t.size()), SQLITE_STATIC);
    sqlite3_bind_text(st, 2, c.constData(), int(c.size()), SQLITE_STATIC);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return found;
}

// A group of derived tables and the triggers that keep them: all there, or made again together.
struct Kept {
    QStringList tables, triggers;
    QStringList (*make)();
    QStringList (*fill)();
};

const Kept &keptSums() {
    static const Kept k{
        sumTableNames(),
        {QStringLiteral("Sum_insert"), QStringLiteral("Sum_delete"), QStringLiteral("Sum_update")},
        sumStatements,
        sumFillStatements};
    return k;
}

const Kept &keptCodecs() {
    static const Kept k{{kCodecSums},
                        {QStringLiteral("Sum_codec_insert"), QStringLiteral("Sum_codec_delete"),
                         QStringLiteral("Sum_codec_update")},
                        codecSumStatements,
                        codecSumFillStatements};
    return k;
}

const Kept &keptCodecMonths() {
    static const Kept k{
        {kCodecMonthSums}, codecMonthSumTriggerNames(), codecMonthSumStatements, codecMonthSumFillStatements};
    return k;
}

const Kept &keptVolumes() {
    static const Kept k{{kVolumeSums}, volumeSumTriggerNames(), volumeSumStatements, volumeSumFillStatements};
    return k;
}

const Kept &keptOrder() {
    static const Kept k{{kTitleOrder, kOrderLocale},
                        {QStringLiteral("Sort_title_insert"), QStringLiteral("Sort_title_update"),
                         QStringLiteral("Sort_title_delete")},
                        titleOrderStatements,
                        titleOrderFillStatements};
    return k;
}

bool complete(sqlite3 *db, const Kept &k) {
    for (const QString &t : k.tables)
        if (!has(db, "table", t))
            return false;
    for (const QString &t : k.triggers)
        if (!has(db, "trigger", t))
            return false;
    return true;
}

void ensure(sqlite3 *db, const Kept &k) {
    if (complete(db, k))
        return;
    // Made again from the episodes: a half-kept group would be summed wrong from here on.
    for (const QString &t : k.triggers)
        run(db, QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(t));
    for (const QString &t : k.tables)
        run(db, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(t));
    run(db, k.make());
    run(db, k.fill());
}

// Other writers' look-ups by file name (the intake's "stored under another title too") use it.
const QString kNameIndex = QStringLiteral("Серии by name");

const QString kUpdateIndex = QStringLiteral("Серии by title and update");

// The numbered episodes title by title: the filter of titles with gaps walks it once.
const QString kNumberIndex = QStringLiteral("Серии by number");

// The filter bar's questions answered from an index each, not by reading a whole kept table: the
// titles with a value (sound, a subtitle language, a frame, a codec, a container, a type) and those
// changed since a day.
const char *const kLookupIndexes[][3] = {
    {"Sum_ext by sound", "Sum_ext", "\"Звук\", \"ID\""},
    {"Sum_ext by embedded subtitles", "Sum_ext", "\"Субтитры встроенные\", \"ID\""},
    {"Sum_ext by external subtitles", "Sum_ext", "\"Субтитры внешние\", \"ID\""},
    {"Sum_ext by frame", "Sum_ext", "\"Высота\", \"Ширина\", \"ID\""},
    {"Sum_codec by video codec", "Sum_codec", "\"Video_Codec_id\", \"ID\""},
    {"Sum_codec by audio codec", "Sum_codec", "\"Audio_Codec_id\", \"ID\""},
    {"Sum_codec by container", "Sum_codec", "\"Format_Pack_id\", \"ID\""},
    {"Sum_title by update", "Sum_title", "\"Max-Update\""},
    {"Список by type", "Список", "\"NType\""},
};

QStringList plainIndexes() {
    QStringList out = filterIndexStatements();
    out << QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"Серии\"(\"Серия\")").arg(kNameIndex);
    for (const auto &i : kLookupIndexes)
        out << QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"%2\"(%3)")
                   .arg(QString::fromUtf8(i[0]), QString::fromUtf8(i[1]), QString::fromUtf8(i[2]));
    // Last: version 2 makes it alone (see toVersion2).
    out << QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"Серии\"(\"Название\", \"Update\")")
               .arg(kUpdateIndex);
    return out;
}

QStringList indexNames() {
    QStringList out = filterIndexNames() << kNameIndex << kUpdateIndex << kNumberIndex;
    for (const auto &i : kLookupIndexes)
        out << QString::fromUtf8(i[0]);
    return out;
}

// Columns whose list entry names `version`: added to a file made before it.
void addColumns(sqlite3 *db, int version) {
    for (const QString &table : tableNames()) {
        const auto columns = tableColumns(table);
        for (int c = 0; c < int(columns.size()); ++c)
            if (columnSince(table, c) == version && !hasColumn(db, table, columns[size_t(c)].name))
                run(db, QStringLiteral("ALTER TABLE \"%1\" ADD COLUMN %2")
                            .arg(table, columnDeclaration(table, c)));
    }
}

// Version 2: the episodes' sums kept by triggers.
void toVersion2(sqlite3 *db) {
    ensure(db, keptSums());
    run(db, plainIndexes().last());
}

// Version 3: the indexes of the filters and of file names, each title's codec and container
// combinations, and each title's place in name order.
void toVersion3(sqlite3 *db) {
    ensure(db, keptCodecs());
    ensure(db, keptOrder());
    run(db, plainIndexes());
}

// Version 4: the volumes files were added from and each episode's locations on them. Episodes of
// earlier files have none: their place is unknown until a folder is attached.
void toVersion4(sqlite3 *db) {
    run(db, placeStatements());
}

// Version 5: each episode's number, kind, release version and group, read from its stored name.
void toVersion5(sqlite3 *db) {
    fillEpisodeNumbers(db);
    run(db,
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"Серии\"(\"Kind\", \"Название\", \"Number\", "
                       "\"Number_last\")")
            .arg(kNumberIndex));
}

// Version 6: each title's files and bytes per video codec and month, and its located files per
// volume, which the charts draw; the files' digests (`Location_hash`), read in the background after
// the upgrade.
void toVersion6(sqlite3 *db) {
    run(db, placeStatements());
    ensure(db, keptCodecMonths());
    ensure(db, keptVolumes());
}

bool hasPlaces(sqlite3 *db) {
    for (const QString &t : placeTableNames())
        if (!has(db, "table", t))
            return false;
    for (const QString &t : placeTriggerNames())
        if (!has(db, "trigger", t))
            return false;
    return has(db, "index", QStringLiteral("Location_hash by digest"));
}

struct Step {
    int to;
    void (*apply)(sqlite3 *);
};
const Step kSteps[] = {{2, toVersion2}, {3, toVersion3}, {4, toVersion4}, {5, toVersion5}, {6, toVersion6}};
static_assert(std::size(kSteps) == kSchemaVersion - 1, "one step per version");

// A statement of a derived table for the connection's temporary schema; empty for what a
// temporary copy does without (triggers, indexes of the file's own tables).
QString inTemp(const QString &sql) {
    if (sql.startsWith(QLatin1String("CREATE TABLE ")))
        return QStringLiteral("CREATE TEMP TABLE ") + sql.mid(13);
    if (sql.startsWith(QLatin1String("CREATE INDEX \"Sum_")))
        return QStringLiteral("CREATE INDEX temp.") + sql.mid(13);
    if (sql.startsWith(QLatin1String("INSERT")))
        return sql;
    return QString();
}

} // namespace

qint64 pragmaNumber(sqlite3 *db, const char *pragma) {
    sqlite3_stmt *st = nullptr;
    qint64 v = 0;
    if (sqlite3_prepare_v2(db, (QByteArray("PRAGMA ") + pragma).constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return v;
}

int fileVersion(sqlite3 *db) {
    return int(pragmaNumber(db, "user_version"));
}

bool needsUpgrade(sqlite3 *db, int version) {
    if (version < kSchemaVersion || !complete(db, keptSums()) || !complete(db, keptCodecs()) ||
        !complete(db, keptOrder()) || !complete(db, keptCodecMonths()) || !complete(db, keptVolumes()) ||
        !hasPlaces(db) || !hasColumn(db, kEpisodes, columnName(kEpisodes, eKind)))
        return true;
    for (const QString &i : indexNames())
        if (!has(db, "index", i))
            return true;
    return false;
}

void upgrade(sqlite3 *db) {
    // Every step checks the file itself, whatever its number: a file may lack what the number
    // promises (another program dropped a table).
    for (const Step &s : kSteps) {
        addColumns(db, s.to);
        s.apply(db);
    }
    run(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
}

bool deriveInTemp(sqlite3 *db) {
    bool made = false;
    for (const Kept *k : {&keptSums(), &keptCodecs(), &keptCodecMonths()}) {
        bool inFile = true;
        for (const QString &t : k->tables)
            inFile = inFile && has(db, "table", t);
        if (inFile)
            continue;
        for (const QString &t : k->tables)
            run(db, QStringLiteral("DROP TABLE IF EXISTS temp.\"%1\"").arg(t));
        for (const QString &sql : k->make())
            if (const QString t = inTemp(sql); !t.isEmpty())
                run(db, t);
        run(db, k->fill());
        made = true;
    }
    // No locations are known in a file of an earlier version; empty tables answer so.
    for (const QString &sql : placeStatements())
        if (sql.startsWith(QLatin1String("CREATE TABLE IF NOT EXISTS \"")) &&
            !has(db, "table", sql.section(QLatin1Char('"'), 1, 1)))
            run(db, QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS ") + sql.mid(27));
    // After the locations: their sums per volume are made from them.
    if (!has(db, "table", kVolumeSums)) {
        run(db, QStringLiteral("DROP TABLE IF EXISTS temp.\"%1\"").arg(kVolumeSums));
        for (const QString &sql : keptVolumes().make())
            if (const QString t = inTemp(sql); !t.isEmpty())
                run(db, t);
        run(db, keptVolumes().fill());
        made = true;
    }
    return made;
}

namespace {

struct NameRow {
    qint64 id = 0;
    QString name;
    ReleaseName read;
};

void bindNumber(sqlite3_stmt *st, int at, double n) {
    if (n >= 0)
        sqlite3_bind_double(st, at, n);
    else
        sqlite3_bind_null(st, at);
}

} // namespace

void fillEpisodeNumbers(sqlite3 *db) {
    // A batch at a time by key, so that a catalog of millions of episodes holds only one batch of
    // names; the names of a batch are read on every core.
    constexpr int kBatch = 65536;
    sqlite3_stmt *select = nullptr, *update = nullptr;
    const auto prepare = [&](const char *sql, sqlite3_stmt **st) {
        if (sqlite3_prepare_v2(db, sql, -1, st, nullptr) != SQLITE_OK)
            throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
    };
    struct Finalize {
        sqlite3_stmt *&a, *&b;
        ~Finalize() {
            sqlite3_finalize(a);
            sqlite3_finalize(b);
        }
    } finalize{select, update};
    prepare("SELECT \"ID\", \"Серия\" FROM \"Серии\" WHERE \"ID\" > ?1 AND \"Kind\" IS NULL ORDER BY "
            "\"ID\" LIMIT ?2",
            &select);
    prepare("UPDATE \"Серии\" SET \"Number\" = ?2, \"Number_last\" = ?3, \"Kind\" = ?4, \"Version\" = ?5, "
            "\"Release_group\" = ?6 WHERE \"ID\" = ?1",
            &update);
    const int threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    std::vector<NameRow> rows;
    qint64 after = std::numeric_limits<qint64>::min();
    for (;;) {
        rows.clear();
        sqlite3_bind_int64(select, 1, after);
        sqlite3_bind_int(select, 2, kBatch);
        int rc;
        while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
            NameRow r;
            r.id = sqlite3_column_int64(select, 0);
            r.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(select, 1)),
                                       sqlite3_column_bytes(select, 1));
            rows.push_back(std::move(r));
        }
        sqlite3_reset(select);
        if (rc != SQLITE_DONE)
            throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
        if (rows.empty())
            return;
        after = rows.back().id;
        std::vector<std::function<void()>> tasks;
        const size_t part = (rows.size() + size_t(threads) - 1) / size_t(threads);
        for (size_t from = 0; from < rows.size(); from += part)
            tasks.push_back([&rows, from, to = std::min(rows.size(), from + part)] {
                for (size_t i = from; i < to; ++i)
                    rows[i].read = readReleaseName(rows[i].name);
            });
        runAtOnce(tasks);
        for (const NameRow &r : rows) {
            const EpisodeFacts f = episodeFacts(r.read);
            sqlite3_bind_int64(update, 1, r.id);
            bindNumber(update, 2, f.number);
            bindNumber(update, 3, f.numberLast);
            sqlite3_bind_int(update, 4, f.kind);
            if (f.version > 0)
                sqlite3_bind_int(update, 5, f.version);
            else
                sqlite3_bind_null(update, 5);
            const QByteArray group = f.group.toUtf8();
            if (group.isEmpty())
                sqlite3_bind_null(update, 6);
            else
                sqlite3_bind_text(update, 6, group.constData(), int(group.size()), SQLITE_TRANSIENT);
            rc = sqlite3_step(update);
            sqlite3_reset(update);
            if (rc != SQLITE_DONE)
                throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
        }
    }
}

EpisodeFacts episodeFacts(const ReleaseName &r) {
    EpisodeFacts f;
    f.number = r.firstEpisode;
    f.numberLast = r.lastEpisode;
    f.kind = int(r.kind);
    f.version = r.version.toInt();
    // The stored column takes what a text column of the catalog takes.
    f.group = r.group.size() > kMaxTextLength ? r.group.left(kMaxTextLength) : r.group;
    return f;
}

void createCatalog(sqlite3 *db) {
    run(db, seedStatements());
    upgrade(db);
}

} // namespace vq::schema
