#include "temp_catalog.h"

#include "catalog/catalog.h"
#include "catalog/tabledata.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <sqlite3.h>
#include <stdexcept>

namespace vq::test {

PlainMemoryForWorkers::PlainMemoryForWorkers()
    : m_saved(qgetenv("ASAN_OPTIONS")), m_had(qEnvironmentVariableIsSet("ASAN_OPTIONS")) {
    qputenv("ASAN_OPTIONS",
            m_saved + (m_saved.isEmpty() ? "" : ":") + "max_malloc_fill_size=0:quarantine_size_mb=16");
}

PlainMemoryForWorkers::~PlainMemoryForWorkers() {
    if (m_had)
        qputenv("ASAN_OPTIONS", m_saved);
    else
        qunsetenv("ASAN_OPTIONS");
}

QString isolateSettings() {
    static QTemporaryDir *dir = [] {
        auto *d = new QTemporaryDir();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->path());
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(d->path()).filePath(QStringLiteral("data"))));
        return d;
    }();
    return dir->path();
}

TempCatalog::TempCatalog() : m_path(QDir(m_dir.path()).filePath(QStringLiteral("test.vdq"))) {
    Catalog::createStarter(m_path);
}

TempCatalog::~TempCatalog() {
    if (m_db)
        sqlite3_close(m_db);
}

sqlite3 *TempCatalog::db() {
    if (!m_db) {
        sqlite3_open(QFile::encodeName(m_path).constData(), &m_db);
        sqlite3_busy_timeout(m_db, 5000);
        sqlite3_exec(m_db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    }
    return m_db;
}

void TempCatalog::exec(const QString &sql) {
    char *err = nullptr;
    if (sqlite3_exec(db(), sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "error";
        sqlite3_free(err);
        throw std::runtime_error(msg + " in: " + sql.toStdString());
    }
}

QString TempCatalog::scalar(const QString &sql) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db()));
    QString out;
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
        out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

namespace {

void bindText(sqlite3_stmt *st, int i, const QString &v) {
    const QByteArray b = v.toUtf8();
    sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

template <typename T> void bindOpt(sqlite3_stmt *st, int i, const std::optional<T> &v) {
    if (!v)
        sqlite3_bind_null(st, i);
    else if constexpr (std::is_same_v<T, double>)
        sqlite3_bind_double(st, i, *v);
    else
        sqlite3_bind_int64(st, i, qint64(*v));
}

} // namespace

qint64 TempCatalog::addTitle(const QString &name, const QString &count, const QString &comment, int type) {
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(
        db(),
        "INSERT INTO \"Список\"(\"Название\", \"Количество серий\", \"Комментарий\", \"NType\") "
        "VALUES (?, ?, ?, ?)",
        -1, &st, nullptr);
    bindText(st, 1, name);
    bindText(st, 2, count);
    bindText(st, 3, comment);
    sqlite3_bind_int(st, 4, type);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db()));
    return sqlite3_last_insert_rowid(db());
}

qint64 TempCatalog::addEpisode(qint64 titleId, const EpisodeRow &e) {
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(
        db(),
        "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\", \"Ширина\", \"Высота\", "
        "\"Длительность\", \"Звук\", \"Субтитры встроенные\", \"Субтитры внешние\", \"Update\") "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &st, nullptr);
    sqlite3_bind_int64(st, 1, titleId);
    bindText(st, 2, e.name);
    bindOpt(st, 3, e.size);
    bindOpt(st, 4, e.width);
    bindOpt(st, 5, e.height);
    bindOpt(st, 6, e.durationMs);
    bindOpt(st, 7, e.sound);
    bindOpt(st, 8, e.subIn);
    bindOpt(st, 9, e.subExt);
    if (e.update)
        bindText(st, 10, naiveMsToStorageText(naiveMsFromDateTime(*e.update)));
    else
        sqlite3_bind_null(st, 10);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db()));
    return sqlite3_last_insert_rowid(db());
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QStringList withoutKeptSums() {
    QStringList sql;
    for (const char *trigger : {"Sum_insert", "Sum_delete", "Sum_update", "Sum_codec_insert",
                                "Sum_codec_delete", "Sum_codec_update"})
        sql << QStringLiteral("DROP TRIGGER \"%1\"").arg(QString::fromUtf8(trigger));
    for (const char *table : {"Sum_title", "Sum_ext", "Sum_all", "Sum_codec"})
        sql << QStringLiteral("DROP TABLE \"%1\"").arg(QString::fromUtf8(table));
    for (const char *index :
         {"Серии by title and update", "Серии by video codec", "Серии by audio codec", "Серии by container"})
        sql << QStringLiteral("DROP INDEX \"%1\"").arg(QString::fromUtf8(index));
    return sql;
}

} // namespace vq::test
