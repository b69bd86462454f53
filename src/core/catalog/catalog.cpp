#include "catalog.h"

#include "error.h"
#include "messages.h"
#include "migrations.h"
#include "namefold.h"
#include "partfile.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace vq {

namespace {

constexpr int kBusyTimeoutMs = 5000;

QString sqliteMessage(sqlite3 *db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

} // namespace

Statement::Statement(sqlite3 *db, const QString &sql) : m_db(db) {
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK)
        throw Error(msg::cannotRunQuery(sqliteMessage(db)));
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const QVariant &value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QDateTime: {
            const QByteArray t = naiveMsToStorageText(naiveMsFromDateTime(value.toDateTime())).toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throw Error(msg::cannotTakeValue(sqliteMessage(m_db)));
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString msg = sqliteMessage(m_db);
    sqlite3_reset(m_stmt);
    throw Error(msg);
}

QString Statement::text(int col) const {
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, col)),
                             sqlite3_column_bytes(m_stmt, col));
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

Catalog::Catalog(const QString &path, bool readOnly, bool titlesNow)
    : m_titlesNow(titlesNow), m_path(path), m_texts(std::make_unique<TitleTextCache>(*this)),
      m_order(std::make_unique<TitleOrder>(*this)) {
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists())
        throw Error(msg::catalogMissing(path));
    if (fi.isDir())
        throw Error(msg::catalogIsFolder(path));
    if (fi.size() == 0)
        throw Error(msg::catalogEmptyFile(path));
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw Error(msg::catalogUnreadable(path, f.errorString()));
        if (f.read(16) != QByteArray("SQLite format 3\0", 16))
            throw Error(msg::notACatalog(path));
    }
    // A file or folder we may not write into is opened read-only: WAL needs its -shm file beside
    // the catalog, so a read-only folder (a share, a disc) is read as an unchanging file.
    const bool writable = !readOnly && fi.isWritable() && QFileInfo(fi.absolutePath()).isWritable();
    try {
        openFile(!writable, false);
        try {
            checkSchema();
        } catch (const Error &) {
            if (writable)
                throw;
            sqlite3_close(m_db);
            m_db = nullptr;
            openFile(true, true);
            checkSchema();
        }
        exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        if (!isReadOnly()) {
            // Best effort: another process may hold the file; the catalog works in either mode.
            sqlite3_exec(m_db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
            sqlite3_exec(m_db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
            upgrade();
        }
        checkKept();
        m_dataVersion = dataVersion();
        invalidate();
        // Reading the main tables now surfaces a damaged file at once, with its name.
        if (titlesNow)
            table(schema::kTitles);
        else
            titleCount();
        table(schema::kTypes);
        table(schema::kLanguages);
    } catch (const Error &e) {
        m_statements.clear();
        m_tables.clear();
        m_queries.clear();
        sqlite3_close(m_db);
        m_db = nullptr;
        if (e.message().contains(path))
            throw;
        throw Error(msg::catalogCannotBeRead(path, e.message()));
    }
}

void Catalog::openFile(bool readOnly, bool immutable) {
    QByteArray uri = QUrl::fromLocalFile(QFileInfo(m_path).absoluteFilePath()).toEncoded();
    if (readOnly)
        uri += "?mode=ro";
    if (immutable)
        uri += "&immutable=1";
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    if (sqlite3_open_v2(uri.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString msg = sqliteMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error(msg::catalogCannotOpen(m_path, msg));
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    registerNameFunctions(m_db);
}

void Catalog::checkSchema() {
    // Nothing is written before every table and stored query has been found with its columns: a
    // look-alike file is refused as it is.
    QStringList missing = schema::tableNames() + schema::queryNames();
    // The kept tables a file has must be ours too: a look-alike's would be mistaken for sums.
    QStringList check = missing;
    {
        Statement st(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"));
        const QStringList kept = schema::sumTableNames()
                                 << schema::kCodecSums << schema::kCodecMonthSums << schema::kVolumeSums;
        while (st.step()) {
            const QString name = st.text(0);
            missing.removeAll(name);
            if (kept.contains(name))
                check << name;
        }
    }
    // A file without a number (made by hand with our tables) is read as the first version.
    m_version = std::max(1, schema::fileVersion(m_db));
    if (m_version > schema::kSchemaVersion)
        throw Error(msg::catalogTooNew(m_path, m_version, schema::kSchemaVersion));
    if (!missing.isEmpty())
        throw Error(msg::notACatalogMissing(m_path, missing.join(QStringLiteral(", "))));
    for (const QString &t : std::as_const(check)) {
        QStringList cols = schema::requiredColumns(t);
        Statement st(m_db, QStringLiteral("SELECT name FROM pragma_table_info(?)"));
        st.bind(1, t);
        while (st.step())
            cols.removeAll(st.text(0));
        if (!cols.isEmpty())
            throw Error(msg::notACatalogColumns(m_path, t, cols.join(QStringLiteral(", "))));
    }
}

void Catalog::upgrade() {
    if (!schema::needsUpgrade(m_db, m_version))
        return;
    // Another process holding the file gets its way: this connection reads what the file lacks
    // from temporary tables, and the upgrade waits for the next opening.
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    try {
        schema::upgrade(m_db);
        exec(QStringLiteral("COMMIT"));
        m_version = schema::kSchemaVersion;
    } catch (const Error &e) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw Error(msg::catalogCannotBeUpgraded(m_path, e.message()));
    }
}

void Catalog::checkKept() {
    const auto has = [this](const QString &table) {
        Statement st(m_db,
                     QStringLiteral("SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ?"));
        st.bind(1, table);
        return st.step();
    };
    m_hasSums = has(schema::kTitleSums) && has(schema::kExtSums) && has(schema::kAllSums);
    m_hasCodecSums = has(schema::kCodecSums);
    m_tempSums = false;
    if (!m_hasSums || !m_hasCodecSums || !has(schema::kCodecMonthSums) || !has(schema::kVolumeSums) ||
        !has(schema::kLocations) || !has(QStringLiteral("Location_hash"))) {
        try {
            m_tempSums = schema::deriveInTemp(m_db);
        } catch (const Error &e) {
            throw Error(msg::catalogCannotBeRead(m_path, e.message()));
        }
    }
}

Catalog::~Catalog() {
    m_statements.clear();
    m_tables.clear();
    m_queries.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Catalog::tempPathBeside(const QString &path) {
    return partfile::make(path);
}

void Catalog::removeTemp(const QString &tmp) {
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(tmp + QString::fromLatin1(suffix));
    partfile::release(tmp);
}

void Catalog::publish(const QString &tmp, const QString &path) {
    // A hard link never replaces anything, a dangling symbolic link included, and is atomic; where
    // the file system has none, a rename that refuses to replace does the same.
    const QByteArray from = QFile::encodeName(tmp), to = QFile::encodeName(path);
    int err = 0;
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        partfile::release(tmp);
        return;
    }
    err = errno;
    if (err != EEXIST &&
        ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        partfile::release(tmp);
        return;
    }
    if (err != EEXIST)
        err = errno;
    removeTemp(tmp);
    if (err == EEXIST)
        throw Error(msg::catalogFileExists(path));
    throw Error(msg::catalogCannotBeMade(path, QString::fromLocal8Bit(std::strerror(err))));
}

bool Catalog::nameTaken(const QString &path) {
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

void Catalog::createStarter(const QString &path) {
    if (nameTaken(path))
        throw Error(msg::catalogFileExists(path));
    // Made complete under a temporary name beside it, then given its name in one step.
    const QString tmp = tempPathBeside(path);
    sqlite3 *db = nullptr;
    const QByteArray native = QFile::encodeName(tmp);
    // The temporary file is made empty, and held, by tempPathBeside.
    const int rc = sqlite3_open_v2(native.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = sqliteMessage(db);
        sqlite3_close(db);
        removeTemp(tmp);
        throw Error(msg::catalogCannotBeMade(path, msg));
    }
    const auto refuse = [&](const QString &why) {
        sqlite3_close(db);
        removeTemp(tmp);
        throw Error(msg::catalogCannotBeMade(path, why));
    };
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        refuse(sqliteMessage(db));
    try {
        schema::createCatalog(db);
        for (const QString &sql : schema::starterRowStatements())
            if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                throw Error(sqliteMessage(db));
    } catch (const Error &e) {
        refuse(e.message());
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr) != SQLITE_OK)
        refuse(sqliteMessage(db));
    if (sqlite3_close(db) != SQLITE_OK) {
        removeTemp(tmp);
        throw Error(msg::catalogCannotBeMade(path, QStringLiteral("close")));
    }
    publish(tmp, path);
}

Statement &Catalog::statement(const QString &sql) {
    auto it = m_statements.find(sql);
    if (it == m_statements.end())
        it = m_statements.insert(sql, std::make_shared<Statement>(m_db, sql));
    (*it)->reset();
    return **it;
}

qint64 Catalog::lastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

bool Catalog::isReadOnly() const {
    return sqlite3_db_readonly(m_db, "main") == 1;
}

void Catalog::exec(const QString &sql) {
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        throw Error(msg::catalogRefusedChange(m_path, msg));
    }
}

void Catalog::ensureWritable() const {
    if (isReadOnly())
        throw Error(msg::catalogReadOnly(m_path));
}

void Catalog::fail(const QString &what) const {
    throw Error(msg::catalogFailure(what, m_path, sqliteMessage(m_db)));
}

qint64 Catalog::dataVersion() const {
    return schema::pragmaNumber(m_db, "data_version");
}

bool Catalog::checkExternalChanges() {
    const qint64 v = dataVersion();
    if (v == m_dataVersion)
        return false;
    m_dataVersion = v;
    if (m_tempSums) {
        try {
            schema::deriveInTemp(m_db);
        } catch (const Error &e) {
            throw Error(msg::catalogCannotBeRead(m_path, e.message()));
        }
    }
    invalidate();
    return true;
}

void Catalog::invalidate() {
    // Each catalog object starts its epochs apart from every other one.
    static quint64 epochs = 0;
    m_epoch = ++epochs;
    m_pending.all = true;
    m_pending.episodes = true;
    m_titleStamps.clear();
    m_tables.clear();
    m_queries.clear();
    m_titleEpisodes.clear();
    bumpChangeStamp();
}

TablePtr Catalog::table(const QString &name) {
    // A stored query is read from the sums the file keeps, again after each change: nothing is
    // summed here.
    const bool query = schema::isQuery(name);
    QHash<QString, TablePtr> &kept = query ? m_queries : m_tables;
    if (auto it = kept.constFind(name); it != kept.constEnd())
        return *it;
    TablePtr t = query ? loadSumQuery(name) : loadTable(name);
    kept.insert(name, t);
    return t;
}

namespace {

// A date-time column as stored (local wall-clock milliseconds); none for NULL or an unreadable text.
std::optional<qint64> columnNaiveMs(sqlite3_stmt *st, int col) {
    if (sqlite3_column_type(st, col) == SQLITE_NULL)
        return std::nullopt;
    return naiveMsFromStorageText(QString::fromUtf8(
        reinterpret_cast<const char *>(sqlite3_column_text(st, col)), sqlite3_column_bytes(st, col)));
}

void readColumn(TableData &t, sqlite3_stmt *st, int from, int r, int c) {
    if (sqlite3_column_type(st, from) == SQLITE_NULL)
        return;
    switch (t.column(c).type) {
    case FieldType::Integer:
        t.setInt(r, c, sqlite3_column_int64(st, from));
        break;
    case FieldType::Float:
        t.setReal(r, c, sqlite3_column_double(st, from));
        break;
    case FieldType::Text:
        t.setText(r, c,
                  QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, from)),
                                    sqlite3_column_bytes(st, from)));
        break;
    case FieldType::DateTime:
        if (auto ms = columnNaiveMs(st, from))
            t.setInt(r, c, *ms);
        break;
    }
}

void readInto(TableData &t, sqlite3_stmt *st, int r) {
    for (int c = 0; c < t.columnCount(); ++c)
        readColumn(t, st, c, r, c);
}

// Every column of the table's list; one that a read-only older file lacks reads as NULL.
QString selectSql(const QString &table, int fileVersion) {
    QStringList names;
    const auto cols = schema::tableColumns(table);
    for (int c = 0; c < int(cols.size()); ++c)
        names << (schema::columnSince(table, c) <= fileVersion
                      ? QStringLiteral("\"%1\"").arg(cols[size_t(c)].name)
                      : QStringLiteral("NULL"));
    return QStringLiteral("SELECT %1 FROM \"%2\"").arg(names.join(QStringLiteral(", ")), table);
}

} // namespace

TablePtr Catalog::loadTable(const QString &name, qint64 titleId) {
    const auto cols = schema::tableColumns(name);
    if (cols.empty())
        throw Error(msg::noTable(name));
    auto t = std::make_shared<TableData>(name, cols, schema::tableRefColumn(name));
    const QString where = titleId >= 0 ? QStringLiteral(" WHERE \"Название\" = ?1") : QString();
    try {
        {
            // Room for the rows there are: a stray high key must not cost memory.
            Statement count(m_db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(name) + where);
            if (titleId >= 0)
                count.bind(1, titleId);
            if (count.step())
                t->reserve(int(std::clamp<qint64>(sqlite3_column_int64(count.handle(), 0), 0, 50000000)));
        }
        Statement st(m_db, selectSql(name, m_version) + where + QStringLiteral(" ORDER BY \"ID\""));
        if (titleId >= 0)
            st.bind(1, titleId);
        t->beginBulkLoad();
        while (st.step())
            readInto(*t, st.handle(), t->appendRow());
        t->endBulkLoad();
    } catch (const Error &e) {
        throw Error(msg::tableUnreadable(name, m_path, e.message()));
    }
    t->touch();
    return t;
}

TablePtr Catalog::titleEpisodes(qint64 titleId) {
    if (auto it = m_titleEpisodes.constFind(titleId); it != m_titleEpisodes.constEnd())
        return *it;
    // Rows read now must not meet rows read before another process changed the file.
    checkExternalChanges();
    if (m_titleEpisodes.size() >= 256)
        m_titleEpisodes.clear();
    TablePtr t = loadTable(schema::kEpisodes, titleId);
    m_titleEpisodes.insert(titleId, t);
    return t;
}

qint64 Catalog::titleCount() {
    if (m_tables.contains(schema::kTitles))
        return table(schema::kTitles)->aliveRows();
    Statement &st = statement(QStringLiteral("SELECT count(*) FROM \"Список\""));
    const qint64 n = st.step() ? sqlite3_column_int64(st.handle(), 0) : 0;
    st.reset();
    return n;
}

CatalogTotals Catalog::totals() {
    Statement &st = statement(QStringLiteral("SELECT \"Count\", \"Size\", \"Long\" FROM \"Sum_all\""));
    Statement::ResetAfter done{st};
    CatalogTotals t;
    try {
        if (st.step()) {
            t.files = sqlite3_column_int64(st.handle(), 0);
            t.sizeBytes = sqlite3_column_double(st.handle(), 1);
            t.durationMs = sqlite3_column_double(st.handle(), 2);
        }
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_path, e.message()));
    }
    return t;
}

std::vector<QString> Catalog::titleNames(std::span<const qint64> ids) {
    QByteArray list = "[";
    for (const qint64 id : ids)
        list += QByteArray::number(id) + ',';
    if (list.size() > 1)
        list.chop(1);
    Statement &st =
        statement(QStringLiteral("SELECT k.key, s.\"Название\" FROM json_each(?1) k JOIN \"Список\" s ON "
                                 "s.\"ID\" = k.value"));
    Statement::ResetAfter done{st};
    st.bind(1, QString::fromLatin1(list + ']'));
    std::vector<QString> out(ids.size());
    try {
        while (st.step())
            out[size_t(sqlite3_column_int64(st.handle(), 0))] = st.text(1);
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_path, e.message()));
    }
    return out;
}

CatalogTotals Catalog::totalsOf(const std::vector<qint64> &ids) {
    CatalogTotals t;
    if (ids.empty())
        return t;
    const auto add = [&](sqlite3_stmt *st, CatalogTotals &into) {
        into.files += sqlite3_column_int64(st, 1);
        into.sizeBytes += sqlite3_column_double(st, 2);
        into.durationMs += sqlite3_column_double(st, 3);
    };
    const QString columns = QStringLiteral("SELECT \"ID\", \"Count\", \"Size\", \"Long\" FROM \"Sum_title\"");
    const auto idList = [](const auto &list) {
        QByteArray text = "[";
        for (const qint64 id : list)
            text += QByteArray::number(id) + ',';
        if (text.size() > 1)
            text.chop(1);
        return QString::fromLatin1(text + ']');
    };
    try {
        SumsById &kept = m_sumsById;
        if (kept.epoch != m_epoch) {
            kept = SumsById();
            kept.epoch = m_epoch;
        }
        if (!kept.valid && qint64(ids.size()) * 8 < titleCount()) {
            Statement &st =
                statement(columns + QStringLiteral(" WHERE \"ID\" IN (SELECT value FROM json_each(?1))"));
            Statement::ResetAfter done{st};
            st.bind(1, idList(ids));
            while (st.step())
                add(st.handle(), t);
            return t;
        }
        if (!kept.valid || kept.stale.size() > 1000) {
            kept.ids.clear();
            kept.sums.clear();
            Statement &st = statement(columns + QStringLiteral(" ORDER BY \"ID\""));
            Statement::ResetAfter done{st};
            while (st.step()) {
                kept.ids.push_back(sqlite3_column_int64(st.handle(), 0));
                add(st.handle(), kept.sums.emplace_back());
            }
            kept.valid = true;
            kept.stale.clear();
        }
        if (!kept.stale.isEmpty()) {
            // The titles changed since are read again by key.
            const std::vector<qint64> stale(kept.stale.cbegin(), kept.stale.cend());
            kept.stale.clear();
            for (const qint64 id : stale) {
                const auto at = std::lower_bound(kept.ids.begin(), kept.ids.end(), id);
                if (at != kept.ids.end() && *at == id) {
                    kept.sums.erase(kept.sums.begin() + (at - kept.ids.begin()));
                    kept.ids.erase(at);
                }
            }
            Statement &st =
                statement(columns + QStringLiteral(" WHERE \"ID\" IN (SELECT value FROM json_each(?1))"));
            Statement::ResetAfter done{st};
            st.bind(1, idList(stale));
            while (st.step()) {
                const qint64 id = sqlite3_column_int64(st.handle(), 0);
                const auto at = std::lower_bound(kept.ids.begin(), kept.ids.end(), id) - kept.ids.begin();
                kept.ids.insert(kept.ids.begin() + at, id);
                add(st.handle(), *kept.sums.insert(kept.sums.begin() + at, CatalogTotals()));
            }
        }
        auto k = kept.ids.cbegin();
        for (const qint64 id : ids) {
            k = std::lower_bound(k, kept.ids.cend(), id);
            if (k == kept.ids.cend())
                break;
            if (*k == id) {
                const CatalogTotals &s = kept.sums[size_t(k - kept.ids.cbegin())];
                t.files += s.files;
                t.sizeBytes += s.sizeBytes;
                t.durationMs += s.durationMs;
            }
        }
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_path, e.message()));
    }
    return t;
}

QSet<qint64> Catalog::titlesUpdatedWithin(qint64 nowNaiveMs, int days) {
    // From the index of the latest changes: the few recent titles, not every title's time.
    const qint64 span = qint64(days) * 86400000;
    Statement &st = statement(
        QStringLiteral("SELECT \"ID\" FROM \"Sum_title\" WHERE \"Max-Update\" > ?1 AND \"Max-Update\" < ?2"));
    Statement::ResetAfter done{st};
    st.bind(1, naiveMsToStorageText(nowNaiveMs - span));
    st.bind(2, naiveMsToStorageText(nowNaiveMs + span));
    QSet<qint64> out;
    try {
        while (st.step())
            out.insert(sqlite3_column_int64(st.handle(), 0));
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_path, e.message()));
    }
    return out;
}

qint64 Catalog::episodeCount() {
    Statement &st = statement(QStringLiteral("SELECT \"Count\" FROM \"Sum_all\""));
    const qint64 n = st.step() ? sqlite3_column_int64(st.handle(), 0) : 0;
    st.reset();
    return n;
}

namespace {

// Puts the row `id` of `name` as it is in the file into `t` (appending it), or drops it.
bool refreshRow(TableData &t, qint64 id, bool present, sqlite3_stmt *st) {
    int r = t.rowById(id);
    if (!present) {
        if (r >= 0) {
            t.kill(r);
            t.touch();
        }
        return false;
    }
    if (r < 0)
        r = t.appendRow();
    for (int col = 0; col < t.columnCount(); ++col)
        t.setNull(r, col);
    readInto(t, st, r);
    t.touch();
    return true;
}

} // namespace

void Catalog::reloadRow(const QString &name, qint64 id, bool inserted) {
    if (name == schema::kEpisodes)
        m_pending.episodes = true;
    Statement &st = statement(selectSql(name, m_version) + QStringLiteral(" WHERE \"ID\" = ?"));
    st.bind(1, id);
    const bool present = st.step();
    if (auto it = m_tables.find(name); it != m_tables.end())
        refreshRow(**it, id, present, st.handle());
    if (name == schema::kEpisodes) {
        const qint64 owner = present ? sqlite3_column_int64(st.handle(), 1) : -1;
        bool knewOld = inserted;
        QList<qint64> touched;
        for (auto it = m_titleEpisodes.begin(); it != m_titleEpisodes.end(); ++it) {
            TableData &t = **it;
            const int r = t.rowById(id);
            if (r >= 0) {
                knewOld = true;
                if (it.key() != owner)
                    touched << it.key();
            }
            if (it.key() == owner || r >= 0)
                refreshRow(t, id, present && it.key() == owner, st.handle());
        }
        st.reset();
        if (!knewOld) {
            // The row's former title is not known: read the sums again when next asked.
            m_queries.clear();
            bumpChangeStamp();
        }
        for (qint64 t : touched)
            patchSums(t);
        if (owner >= 0)
            patchSums(owner);
        return;
    }
    st.reset();
    if (name == schema::kTitles)
        patchSums(id); // the stored queries carry the title's texts
}

void Catalog::forgetRow(const QString &name, qint64 id, std::optional<qint64> titleId) {
    if (name == schema::kEpisodes || name == schema::kTitles)
        m_pending.episodes = true;
    if (auto it = m_tables.find(name); it != m_tables.end()) {
        const int r = (*it)->rowById(id);
        if (r >= 0)
            (*it)->kill(r);
        (*it)->touch();
    }
    if (name == schema::kEpisodes) {
        for (auto it = m_titleEpisodes.begin(); it != m_titleEpisodes.end(); ++it) {
            const int r = (*it)->rowById(id);
            if (r < 0)
                continue;
            if (!titleId)
                titleId = it.key();
            (*it)->kill(r);
            (*it)->touch();
        }
        if (titleId) {
            patchSums(*titleId);
        } else {
            m_queries.clear();
            bumpChangeStamp();
        }
    }
    if (name == schema::kTitles) {
        // The file deleted the title's episodes and alternative names with it.
        for (const QString &child : {schema::kEpisodes, schema::kAltNames}) {
            auto it = m_tables.find(child);
            if (it == m_tables.end())
                continue;
            const std::vector<int> rows = (*it)->rowsByRef(id);
            for (int r : rows)
                (*it)->kill(r);
            (*it)->touch();
        }
        m_titleEpisodes.remove(id);
        patchSums(id);
    }
}

void Catalog::copyTo(const QString &newPath) {
    // The one file it may write into is the empty temporary file made for it.
    if (!partfile::heldHere(newPath) && nameTaken(newPath))
        throw Error(msg::catalogFileExists(newPath));
    Statement st(m_db, QStringLiteral("VACUUM INTO ?"));
    st.bind(1, newPath);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeMade(newPath, e.message()));
    }
}

void Catalog::deleteAllTitles() {
    ensureWritable();
    Transaction tx(*this);
    // Summing out every episode one by one would take a while; the sums are made again from what
    // is left instead, in the same transaction, so no reader sees them wrong.
    for (const char *t : {"Sum_insert", "Sum_delete", "Sum_update"})
        exec(QStringLiteral("DROP TRIGGER \"%1\"").arg(QString::fromUtf8(t)));
    for (const QString &sql : schema::codecSumTriggerDrops())
        exec(sql);
    for (const QString &t : schema::codecMonthSumTriggerNames() + schema::volumeSumTriggerNames())
        exec(QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(t));
    exec(QStringLiteral("DELETE FROM \"Список\""));
    auto again = [this](const QStringList &fill, const QStringList &made) {
        for (const QString &sql : fill)
            exec(sql);
        for (const QString &sql : made)
            if (sql.startsWith(QLatin1String("CREATE TRIGGER")))
                exec(sql);
    };
    again(schema::sumFillStatements(), schema::sumStatements());
    again(schema::codecSumFillStatements(), schema::codecSumStatements());
    again(schema::codecMonthSumFillStatements(), schema::codecMonthSumStatements());
    again(schema::volumeSumFillStatements(), schema::volumeSumStatements());
    tx.commit();
    m_statements.clear();
    invalidate();
}

Catalog::Transaction::Transaction(Catalog &catalog) : m_catalog(catalog) {
    // Inside a read snapshot the change becomes a savepoint of it.
    m_savepoint = !sqlite3_get_autocommit(m_catalog.m_db);
    if (sqlite3_exec(m_catalog.m_db, m_savepoint ? "SAVEPOINT vq_change" : "BEGIN IMMEDIATE", nullptr,
                     nullptr, nullptr) != SQLITE_OK)
        m_catalog.fail(QStringLiteral("A change cannot begin"));
}

Catalog::Transaction::~Transaction() {
    if (!m_done) {
        if (m_savepoint)
            sqlite3_exec(m_catalog.m_db, "ROLLBACK TO vq_change; RELEASE vq_change", nullptr, nullptr,
                         nullptr);
        else
            sqlite3_exec(m_catalog.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_catalog.invalidate();
        m_catalog.deliverChanges();
    }
}

void Catalog::Transaction::commit() {
    if (sqlite3_exec(m_catalog.m_db, m_savepoint ? "RELEASE vq_change" : "COMMIT", nullptr, nullptr,
                     nullptr) != SQLITE_OK)
        m_catalog.fail(QStringLiteral("A change cannot be stored"));
    m_done = true;
    m_catalog.deliverChanges();
}

Catalog::ReadSnapshot::ReadSnapshot(Catalog &catalog) : m_catalog(catalog) {
    sqlite3 *db = m_catalog.m_db;
    if (!db || !sqlite3_get_autocommit(db))
        return;
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    m_began = true;
    // The snapshot is taken by the first read; take it now, then drop what was read before if the
    // file has changed since.
    sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    m_catalog.checkExternalChanges();
}

Catalog::ReadSnapshot::~ReadSnapshot() {
    sqlite3 *db = m_catalog.m_db;
    if (!m_began || !db || sqlite3_get_autocommit(db))
        return;
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_catalog.invalidate();
    }
    m_catalog.deliverChanges();
}

// ---- stored queries, computed from the rows already read ----

namespace {} // namespace

namespace {

std::vector<ColumnDef> queryColumns(const QString &name) {
    using F = FieldType;
    if (name == schema::kAllT)
        return {{QStringLiteral("Long"), F::Float}, {QStringLiteral("Size"), F::Float}};
    if (name == schema::kRjk)
        return {{QStringLiteral("ID"), F::Integer},
                {QStringLiteral("Sum-Объём(байт)"), F::Float},
                {QStringLiteral("Sum-Длительность"), F::Float},
                {QStringLiteral("Название"), F::Text}};
    if (name == schema::kUpTime)
        return {{QStringLiteral("ID"), F::Integer},
                {QStringLiteral("Max-Update"), F::DateTime},
                {QStringLiteral("Название"), F::Text}};
    if (name == schema::kExt)
        return {{QStringLiteral("ID"), F::Integer},
                {QStringLiteral("Название"), F::Text},
                {QStringLiteral("Количество серий"), F::Text},
                {QStringLiteral("Комментарий"), F::Text},
                {QStringLiteral("NType"), F::Integer},
                {QStringLiteral("Ширина"), F::Integer},
                {QStringLiteral("Высота"), F::Integer},
                {QStringLiteral("Звук"), F::Integer},
                {QStringLiteral("Субтитры встроенные"), F::Integer},
                {QStringLiteral("Субтитры внешние"), F::Integer},
                {QStringLiteral("Sum-Объём(байт)"), F::Float},
                {QStringLiteral("Sum-Длительность"), F::Float}};
    return {};
}

// The combination columns of `Sum_ext`, in the order of its index and of `Ext`'s rows.
const QString kSumExtKey = QStringLiteral(
    "x.\"Ширина\", x.\"Высота\", x.\"Звук\", x.\"Субтитры встроенные\", x.\"Субтитры внешние\"");

// A sum over no known value is NULL, as the view's SUM gives it.
const QString kSumSize = QStringLiteral("CASE WHEN x.\"Size_n\" > 0 THEN x.\"Size\" END");
const QString kSumDuration = QStringLiteral("CASE WHEN x.\"Long_n\" > 0 THEN x.\"Long\" END");

// What each stored query returns, read from the sums the file keeps (the same rows, in the same
// order, as the views give). `?1` narrows it to one title. The title's own texts are taken from
// the titles already read, not joined in again.
QString sumQuerySql(const QString &name, bool oneTitle) {
    const QString &size = kSumSize, &dur = kSumDuration;
    const QString where = oneTitle ? QStringLiteral(" WHERE x.\"ID\" = ?1") : QString();
    if (name == schema::kAllT)
        return QStringLiteral("SELECT %1, %2 FROM \"Sum_all\" x").arg(dur, size);
    if (name == schema::kRjk)
        return QStringLiteral("SELECT x.\"ID\", %1, %2 FROM \"Sum_title\" x%3 ORDER BY x.\"ID\"")
            .arg(size, dur, where);
    if (name == schema::kUpTime)
        return QStringLiteral("SELECT x.\"ID\", x.\"Max-Update\" FROM \"Sum_title\" x%1 ORDER BY x.\"ID\"")
            .arg(where);
    return QStringLiteral("SELECT x.\"ID\", %1, %2, %3 FROM \"Sum_ext\" x%4 ORDER BY x.\"ID\", %1")
        .arg(kSumExtKey, size, dur, where);
}

// Where each column of the sum query lands in the stored query's rows, and which title columns
// are copied in (query column, title column).
struct SumLayout {
    std::vector<int> target;
    std::vector<std::pair<int, int>> titleTexts;
};

const SumLayout &sumLayout(const QString &name) {
    static const SumLayout all{{0, 1}, {}};
    static const SumLayout rjk{{0, 1, 2}, {{3, 1}}};
    static const SumLayout up{{0, 1}, {{2, 1}}};
    static const SumLayout ext{{0, 5, 6, 7, 8, 9, 10, 11}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}};
    if (name == schema::kAllT)
        return all;
    if (name == schema::kRjk)
        return rjk;
    if (name == schema::kUpTime)
        return up;
    return ext;
}

} // namespace

TablePtr Catalog::loadSumQuery(const QString &name, qint64 titleId) {
    auto t = std::make_shared<TableData>(name, queryColumns(name), name == schema::kExt ? 0 : -1);
    const bool perTitle = name != schema::kAllT;
    const TablePtr titles = perTitle ? table(schema::kTitles) : TablePtr();
    const SumLayout &layout = sumLayout(name);
    Statement &st = statement(sumQuerySql(name, titleId >= 0));
    if (titleId >= 0)
        st.bind(1, titleId);
    try {
        t->beginBulkLoad();
        while (st.step()) {
            int tr = -1;
            if (perTitle) {
                // The views join the titles: sums of a title that is gone are not shown.
                tr = titles->rowById(sqlite3_column_int64(st.handle(), 0));
                if (tr < 0)
                    continue;
            }
            const int r = t->appendRow();
            for (size_t i = 0; i < layout.target.size(); ++i)
                readColumn(*t, st.handle(), int(i), r, layout.target[i]);
            for (const auto &[to, from] : layout.titleTexts) {
                if (titles->isNull(tr, from))
                    continue;
                if (t->column(to).type == FieldType::Text)
                    t->setText(r, to, titles->textAt(tr, from));
                else
                    t->setInt(r, to, titles->intAt(tr, from));
            }
        }
        t->endBulkLoad();
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_path, e.message()));
    }
    st.reset();
    t->touch();
    return t;
}

ExtCombo extCombo(const TableData &ext, int r) {
    constexpr int kFirst = 5; // `Ext`'s columns from "Ширина" on
    ExtCombo c;
    for (int f = 0; f < ExtCombo::FieldCount; ++f) {
        if (ext.isNull(r, kFirst + f))
            c.nulls |= quint8(1u << f);
        else
            c.value[f] = ext.intAt(r, kFirst + f);
    }
    return c;
}

int TitleSums::find(qint64 id) const {
    const auto it = std::lower_bound(ids.begin(), ids.end(), id);
    return it != ids.end() && *it == id ? int(it - ids.begin()) : -1;
}

std::span<const ExtCombo> TitleSums::combosOf(qint64 id) const {
    const auto [from, to] = std::equal_range(comboIds.begin(), comboIds.end(), id);
    return {combos.data() + (from - comboIds.begin()), size_t(to - from)};
}

TitleSums Catalog::titleSums(const TitleSumsWanted &wanted) {
    TitleSums out;
    // Straight from the kept sums: the combinations come from their index alone.
    try {
        const QString where = wanted.title ? QStringLiteral(" WHERE x.\"ID\" = ?1")
                              : wanted.titles
                                  ? QStringLiteral(" WHERE x.\"ID\" IN (SELECT value FROM json_each(?1))")
                                  : QString();
        QByteArray list;
        if (wanted.titles) {
            list = "[";
            for (const qint64 id : *wanted.titles)
                list += QByteArray::number(id) + ',';
            list.back() = ']';
            if (wanted.titles->empty())
                list = "[]";
        }
        Statement &sums =
            statement(QStringLiteral("SELECT x.\"ID\", %1, %2%3 FROM \"Sum_title\" x%4 ORDER BY x.\"ID\"")
                          .arg(kSumSize, kSumDuration,
                               wanted.updates ? QStringLiteral(", x.\"Max-Update\"") : QString(), where));
        Statement::ResetAfter resetSums{sums};
        if (wanted.title)
            sums.bind(1, *wanted.title);
        else if (wanted.titles)
            sums.bind(1, QString::fromLatin1(list));
        sqlite3_stmt *const st = sums.handle();
        const auto value = [&](int c) {
            return sqlite3_column_type(st, c) == SQLITE_NULL
                       ? std::nullopt
                       : std::optional<double>(sqlite3_column_double(st, c));
        };
        while (sums.step()) {
            out.ids.push_back(sqlite3_column_int64(st, 0));
            out.size.push_back(value(1));
            out.duration.push_back(value(2));
            if (wanted.updates)
                out.maxUpdate.push_back(columnNaiveMs(st, 3));
        }
        out.comboIds.reserve(out.ids.size());
        out.combos.reserve(out.ids.size());
        Statement &combos =
            statement(QStringLiteral("SELECT x.\"ID\", %1 FROM \"Sum_ext\" x%2 ORDER BY x.\"ID\", %1")
                          .arg(kSumExtKey, where));
        Statement::ResetAfter resetCombos{combos};
        if (wanted.title)
            combos.bind(1, *wanted.title);
        else if (wanted.titles)
            combos.bind(1, QString::fromLatin1(list));
        while (combos.step()) {
            ExtCombo c;
            for (int f = 0; f < ExtCombo::FieldCount; ++f) {
                if (sqlite3_column_type(combos.handle(), 1 + f) == SQLITE_NULL)
                    c.nulls |= quint8(1u << f);
                else
                    c.value[f] = sqlite3_column_int64(combos.handle(), 1 + f);
            }
            out.comboIds.push_back(sqlite3_column_int64(combos.handle(), 0));
            out.combos.push_back(c);
        }
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_path, e.message()));
    }
    return out;
}

void Catalog::patchSums(qint64 titleId) {
    m_titleStamps.insert(titleId, ++m_stampCounter);
    if (m_sumsById.valid)
        m_sumsById.stale.insert(titleId);
    m_queries.clear();
    m_pending.titles.insert(titleId);
}

void Catalog::setChangeListener(std::function<void(const ChangeNotice &)> listener) {
    m_listener = std::move(listener);
    m_pending = ChangeNotice();
}

void Catalog::deliverChanges() {
    // Only once the change is in the file, and never into a listener that is running.
    if (m_delivering || !m_db || !sqlite3_get_autocommit(m_db))
        return;
    m_delivering = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_delivering};
    while (!m_pending.isEmpty()) {
        const ChangeNotice notice = std::exchange(m_pending, ChangeNotice());
        m_order->follow(notice);
        if (m_listener)
            m_listener(notice);
    }
}

} // namespace vq
