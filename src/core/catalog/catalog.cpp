#include "catalog.h"

#include "error.h"
#include "schema.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <unordered_map>

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
        throw Error(QStringLiteral("The catalog cannot run a query: %1").arg(sqliteMessage(db)));
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
        throw Error(QStringLiteral("The catalog cannot take a value: %1").arg(sqliteMessage(m_db)));
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

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

Catalog::Catalog(const QString &path) : m_path(path) {
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists())
        throw Error(QStringLiteral("The catalog file \"%1\" does not exist.").arg(path));
    if (fi.isDir())
        throw Error(QStringLiteral("\"%1\" is a folder, not a Vidoteq catalog file.").arg(path));
    if (fi.size() == 0)
        throw Error(QStringLiteral("The file \"%1\" is empty: it is not a Vidoteq catalog.").arg(path));
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw Error(
                QStringLiteral("The catalog file \"%1\" cannot be read: %2").arg(path, f.errorString()));
        if (f.read(16) != QByteArray("SQLite format 3\0", 16))
            throw Error(QStringLiteral("The file \"%1\" is not a Vidoteq catalog.").arg(path));
    }
    const QByteArray native = QFile::encodeName(path);
    if (sqlite3_open_v2(native.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        const QString msg = sqliteMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error(QStringLiteral("The catalog \"%1\" cannot be opened: %2").arg(path, msg));
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    try {
        QStringList missing = schema::tableNames() + schema::queryNames();
        {
            Statement st(m_db,
                         QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"));
            while (st.step())
                missing.removeAll(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.handle(), 0))));
        }
        if (!missing.isEmpty())
            throw Error(QStringLiteral("The file \"%1\" is not a Vidoteq catalog (it has no %2).")
                            .arg(path, missing.join(QStringLiteral(", "))));
        exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        if (!isReadOnly()) {
            // Best effort: another process may hold the file; the catalog works in either mode.
            sqlite3_exec(m_db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
            sqlite3_exec(m_db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
        }
        m_dataVersion = dataVersion();
        // Reading the main tables now surfaces a damaged file at once, with its name.
        table(schema::kTitles);
        table(schema::kEpisodes);
        table(schema::kTypes);
        table(schema::kLanguages);
    } catch (const Error &e) {
        sqlite3_close(m_db);
        m_db = nullptr;
        if (e.message().contains(path))
            throw;
        throw Error(QStringLiteral("The catalog \"%1\" cannot be read: %2").arg(path, e.message()));
    }
}

Catalog::~Catalog() {
    m_statements.clear();
    m_tables.clear();
    m_queries.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Catalog::createStarter(const QString &path) {
    if (QFileInfo::exists(path))
        throw Error(
            QStringLiteral("A file named \"%1\" exists already; no new catalog was made over it.").arg(path));
    sqlite3 *db = nullptr;
    const QByteArray native = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(
        native.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
    auto cleanUp = [&] {
        sqlite3_close(db);
        QFile::remove(path);
    };
    if (rc != SQLITE_OK) {
        const QString msg = sqliteMessage(db);
        sqlite3_close(db);
        throw Error(QStringLiteral("The catalog \"%1\" cannot be made: %2").arg(path, msg));
    }
    QStringList statements = schema::createStatements();
    statements.prepend(QStringLiteral("BEGIN"));
    statements += schema::starterRowStatements();
    statements += QStringLiteral("COMMIT");
    statements += QStringLiteral("PRAGMA journal_mode = WAL");
    for (const QString &sql : statements) {
        char *err = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(err ? err : "unknown error");
            sqlite3_free(err);
            cleanUp();
            throw Error(QStringLiteral("The catalog \"%1\" cannot be made: %2").arg(path, msg));
        }
    }
    sqlite3_close(db);
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
        throw Error(QStringLiteral("The catalog \"%1\" refused a change: %2").arg(m_path, msg));
    }
}

void Catalog::ensureWritable() const {
    if (isReadOnly())
        throw Error(
            QStringLiteral("The catalog \"%1\" is read-only: the change cannot be stored.").arg(m_path));
}

void Catalog::fail(const QString &what) const {
    throw Error(QStringLiteral("%1 in the catalog \"%2\": %3").arg(what, m_path, sqliteMessage(m_db)));
}

qint64 Catalog::dataVersion() const {
    sqlite3_stmt *st = nullptr;
    qint64 v = 0;
    if (sqlite3_prepare_v2(m_db, "PRAGMA data_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return v;
}

bool Catalog::checkExternalChanges() {
    const qint64 v = dataVersion();
    if (v == m_dataVersion)
        return false;
    m_dataVersion = v;
    invalidate();
    return true;
}

void Catalog::invalidate() {
    m_tables.clear();
    m_queries.clear();
    bumpChangeStamp();
}

TablePtr Catalog::table(const QString &name) {
    if (schema::isQuery(name))
        return computeQuery(name);
    auto it = m_tables.constFind(name);
    if (it != m_tables.constEnd())
        return *it;
    TablePtr t = loadTable(name);
    m_tables.insert(name, t);
    return t;
}

namespace {

void readInto(TableData &t, sqlite3_stmt *st, int r) {
    for (int c = 0; c < t.columnCount(); ++c) {
        const int type = sqlite3_column_type(st, c);
        if (type == SQLITE_NULL)
            continue;
        switch (t.column(c).type) {
        case FieldType::Integer:
            t.setInt(r, c, sqlite3_column_int64(st, c));
            break;
        case FieldType::Float:
            t.setReal(r, c, sqlite3_column_double(st, c));
            break;
        case FieldType::Text:
            t.setText(r, c,
                      QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                        sqlite3_column_bytes(st, c)));
            break;
        case FieldType::DateTime: {
            const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                                   sqlite3_column_bytes(st, c));
            if (auto ms = naiveMsFromStorageText(text))
                t.setInt(r, c, *ms);
            break;
        }
        }
    }
}

QString selectSql(const QString &table, const std::vector<ColumnDef> &cols) {
    QStringList names;
    for (const auto &c : cols)
        names << QStringLiteral("\"%1\"").arg(c.name);
    return QStringLiteral("SELECT %1 FROM \"%2\"").arg(names.join(QStringLiteral(", ")), table);
}

} // namespace

TablePtr Catalog::loadTable(const QString &name) {
    const auto cols = schema::tableColumns(name);
    if (cols.empty())
        throw Error(QStringLiteral("The catalog has no table \"%1\".").arg(name));
    auto t = std::make_shared<TableData>(name, cols, schema::tableRefColumn(name));
    try {
        {
            Statement top(m_db, QStringLiteral("SELECT max(\"ID\") FROM \"%1\"").arg(name));
            if (top.step())
                t->reserve(int(std::clamp<qint64>(sqlite3_column_int64(top.handle(), 0), 0, 10000000)));
        }
        Statement st(m_db, selectSql(name, cols) + QStringLiteral(" ORDER BY \"ID\""));
        t->beginBulkLoad();
        while (st.step())
            readInto(*t, st.handle(), t->appendRow());
        t->endBulkLoad();
    } catch (const Error &e) {
        throw Error(QStringLiteral("The table \"%1\" of the catalog \"%2\" cannot be read: %3")
                        .arg(name, m_path, e.message()));
    }
    t->touch();
    return t;
}

void Catalog::reloadRow(const QString &name, qint64 id) {
    auto it = m_tables.find(name);
    if (it == m_tables.end())
        return;
    TableData &t = **it;
    Statement &st =
        statement(selectSql(name, schema::tableColumns(name)) + QStringLiteral(" WHERE \"ID\" = ?"));
    st.bind(1, id);
    int r = t.rowById(id);
    if (!st.step()) {
        st.reset();
        if (r >= 0)
            t.kill(r);
        t.touch();
        return;
    }
    if (r < 0)
        r = t.appendRow();
    for (int c = 0; c < t.columnCount(); ++c)
        t.setNull(r, c);
    readInto(t, st.handle(), r);
    st.reset();
    t.touch();
}

void Catalog::forgetRow(const QString &name, qint64 id) {
    if (auto it = m_tables.find(name); it != m_tables.end()) {
        const int r = (*it)->rowById(id);
        if (r >= 0)
            (*it)->kill(r);
        (*it)->touch();
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
    }
}

void Catalog::copyTo(const QString &newPath) {
    if (QFileInfo::exists(newPath))
        throw Error(
            QStringLiteral("A file named \"%1\" exists already; the new catalog was not made.").arg(newPath));
    Statement st(m_db, QStringLiteral("VACUUM INTO ?"));
    st.bind(1, newPath);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(QStringLiteral("The new catalog \"%1\" cannot be made: %2").arg(newPath, e.message()));
    }
}

void Catalog::deleteAllTitles() {
    ensureWritable();
    Transaction tx(*this);
    exec(QStringLiteral("DELETE FROM \"Список\""));
    tx.commit();
    m_tables.remove(schema::kTitles);
    m_tables.remove(schema::kEpisodes);
    m_tables.remove(schema::kAltNames);
    bumpChangeStamp();
}

Catalog::Transaction::Transaction(Catalog &catalog) : m_catalog(catalog) {
    if (sqlite3_exec(m_catalog.m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        m_catalog.fail(QStringLiteral("A change cannot begin"));
}

Catalog::Transaction::~Transaction() {
    if (!m_done) {
        sqlite3_exec(m_catalog.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_catalog.invalidate();
    }
}

void Catalog::Transaction::commit() {
    if (sqlite3_exec(m_catalog.m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        m_catalog.fail(QStringLiteral("A change cannot be stored"));
    m_done = true;
}

// ---- stored queries, computed from the rows already read ----

namespace {

constexpr qint64 kNullKey = std::numeric_limits<qint64>::min();

struct ExtKey {
    qint64 v[6];
    bool operator==(const ExtKey &o) const { return std::equal(std::begin(v), std::end(v), std::begin(o.v)); }
};

struct ExtKeyHash {
    size_t operator()(const ExtKey &k) const {
        size_t h = 1469598103934665603ULL;
        for (qint64 x : k.v)
            h = (h ^ size_t(x)) * 1099511628211ULL;
        return h;
    }
};

struct Sums {
    double size = 0, duration = 0;
    bool hasSize = false, hasDuration = false;
    void add(const TableData &e, int r, int sizeCol, int durCol) {
        if (!e.isNull(r, sizeCol)) {
            size += e.realAt(r, sizeCol);
            hasSize = true;
        }
        if (!e.isNull(r, durCol)) {
            duration += double(e.intAt(r, durCol));
            hasDuration = true;
        }
    }
    void write(TableData &t, int r, int sizeCol, int durCol) const {
        if (hasSize)
            t.setReal(r, sizeCol, size);
        if (hasDuration)
            t.setReal(r, durCol, duration);
    }
};

} // namespace

TablePtr Catalog::computeQuery(const QString &name) {
    TablePtr titles = table(schema::kTitles);
    TablePtr episodes = table(schema::kEpisodes);
    QueryCache &cache = m_queries[name];
    if (cache.data && cache.titlesGeneration == titles->generation() &&
        cache.episodesGeneration == episodes->generation())
        return cache.data;

    const TableData &s = *titles;
    const TableData &e = *episodes;
    enum {
        eTitle = 1,
        eSize = 3,
        eWidth = 4,
        eHeight = 5,
        eDur = 6,
        eSound = 7,
        eSubIn = 8,
        eSubExt = 9,
        eUpdate = 18
    };
    enum { sName = 1, sCount = 2, sComment = 3, sType = 4 };
    using F = FieldType;
    TablePtr out;
    // The per-title queries join: a title without episodes gives no row.
    auto forEachTitleWithEpisodes = [&](auto &&visit) {
        for (int tr = 0; tr < s.physicalRows(); ++tr) {
            if (!s.alive(tr))
                continue;
            const qint64 id = s.intAt(tr, 0);
            const std::vector<int> &rows = e.rowsByRef(id);
            if (!rows.empty())
                visit(tr, id, rows);
        }
    };

    if (name == schema::kAllT) {
        out = std::make_shared<TableData>(name, std::vector<ColumnDef>{{QStringLiteral("Long"), F::Float},
                                                                       {QStringLiteral("Size"), F::Float}});
        Sums sums;
        for (int r = 0; r < e.physicalRows(); ++r)
            if (e.alive(r))
                sums.add(e, r, eSize, eDur);
        const int row = out->appendRow();
        if (sums.hasDuration)
            out->setReal(row, 0, sums.duration);
        if (sums.hasSize)
            out->setReal(row, 1, sums.size);
    } else if (name == schema::kRjk || name == schema::kUpTime) {
        const bool rjk = name == schema::kRjk;
        if (rjk)
            out = std::make_shared<TableData>(
                name, std::vector<ColumnDef>{{QStringLiteral("ID"), F::Integer},
                                             {QStringLiteral("Sum-Объём(байт)"), F::Float},
                                             {QStringLiteral("Sum-Длительность"), F::Float},
                                             {QStringLiteral("Название"), F::Text}});
        else
            out = std::make_shared<TableData>(
                name, std::vector<ColumnDef>{{QStringLiteral("ID"), F::Integer},
                                             {QStringLiteral("Max-Update"), F::DateTime},
                                             {QStringLiteral("Название"), F::Text}});
        forEachTitleWithEpisodes([&](int tr, qint64 id, const std::vector<int> &rows) {
            const int row = out->appendRow();
            out->setInt(row, 0, id);
            if (rjk) {
                Sums sums;
                for (int r : rows)
                    sums.add(e, r, eSize, eDur);
                sums.write(*out, row, 1, 2);
                if (!s.isNull(tr, sName))
                    out->setText(row, 3, s.textAt(tr, sName));
            } else {
                bool has = false;
                qint64 latest = 0;
                for (int r : rows)
                    if (!e.isNull(r, eUpdate) && (!has || e.intAt(r, eUpdate) > latest)) {
                        latest = e.intAt(r, eUpdate);
                        has = true;
                    }
                if (has)
                    out->setInt(row, 1, latest);
                if (!s.isNull(tr, sName))
                    out->setText(row, 2, s.textAt(tr, sName));
            }
        });
    } else if (name == schema::kExt) {
        out = std::make_shared<TableData>(
            name,
            std::vector<ColumnDef>{{QStringLiteral("ID"), F::Integer},
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
                                   {QStringLiteral("Sum-Длительность"), F::Float}},
            0);
        const int keyCols[5] = {eWidth, eHeight, eSound, eSubIn, eSubExt};
        std::unordered_map<ExtKey, Sums, ExtKeyHash> groups;
        forEachTitleWithEpisodes([&](int tr, qint64 id, const std::vector<int> &rows) {
            groups.clear();
            for (int r : rows) {
                ExtKey k{{id, 0, 0, 0, 0, 0}};
                for (int i = 0; i < 5; ++i)
                    k.v[i + 1] = e.isNull(r, keyCols[i]) ? kNullKey : e.intAt(r, keyCols[i]);
                groups[k].add(e, r, eSize, eDur);
            }
            // The same order as the stored view: by the grouped values, missing ones first.
            std::vector<const std::pair<const ExtKey, Sums> *> ordered;
            ordered.reserve(groups.size());
            for (const auto &g : groups)
                ordered.push_back(&g);
            std::sort(ordered.begin(), ordered.end(), [](auto *a, auto *b) {
                return std::lexicographical_compare(std::begin(a->first.v), std::end(a->first.v),
                                                    std::begin(b->first.v), std::end(b->first.v));
            });
            for (const auto *g : ordered) {
                const int row = out->appendRow();
                out->setInt(row, 0, id);
                for (int c = 1; c <= 3; ++c)
                    if (!s.isNull(tr, c))
                        out->setText(row, c, s.textAt(tr, c));
                if (!s.isNull(tr, sType))
                    out->setInt(row, 4, s.intAt(tr, sType));
                for (int i = 0; i < 5; ++i)
                    if (g->first.v[i + 1] != kNullKey)
                        out->setInt(row, 5 + i, g->first.v[i + 1]);
                g->second.write(*out, row, 10, 11);
            }
        });
    } else {
        throw Error(QStringLiteral("The catalog has no stored query \"%1\".").arg(name));
    }
    Q_UNUSED(sCount);
    Q_UNUSED(sComment);
    out->touch();
    cache.data = out;
    cache.titlesGeneration = titles->generation();
    cache.episodesGeneration = episodes->generation();
    return out;
}

} // namespace vq
