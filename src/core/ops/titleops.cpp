#include "titleops.h"

#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"

#include <sqlite3.h>

namespace vq::ops {

namespace {

QString columnOf(TitleField f) {
    switch (f) {
    case TitleField::Type:
        return QStringLiteral("NType");
    case TitleField::Count:
        return QStringLiteral("Количество серий");
    case TitleField::Comment:
        break;
    }
    return QStringLiteral("Комментарий");
}

using ResetAfter = Statement::ResetAfter;

void checkLength(const QString &column, const QString &text) {
    // Characters, as the message says, not UTF-16 units.
    const qsizetype chars = text.size() > schema::kMaxTextLength ? text.toUcs4().size() : text.size();
    if (chars > schema::kMaxTextLength)
        throw Error(msg::textTooLong(column, schema::kMaxTextLength, chars));
}

// One column of one title, by its key; the title must exist.
void changeTitle(Catalog &c, qint64 id, const QString &column, const QVariant &value) {
    c.ensureWritable();
    if (value.metaType().id() == QMetaType::QString)
        checkLength(column, value.toString());
    Statement &st =
        c.statement(QStringLiteral("UPDATE \"Список\" SET \"%1\" = ? WHERE \"ID\" = ?").arg(column));
    ResetAfter done{st};
    st.bind(1, value);
    st.bind(2, id);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotStoreChange(schema::kTitles, c.path(), e.message()));
    }
    if (sqlite3_changes(c.handle()) == 0)
        throw Error(msg::noTitleWithId(id));
    c.reloadRow(schema::kTitles, id);
    c.deliverChanges();
}

QString columnText(sqlite3_stmt *st, int col) {
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)),
                             sqlite3_column_bytes(st, col));
}

} // namespace

qint64 addTitle(CatalogSession &s, const QString &name, qint64 type) {
    if (name.trimmed().isEmpty())
        throw Error(msg::titleNameEmpty());
    Catalog &c = s.catalog();
    c.ensureWritable();
    checkLength(QStringLiteral("Название"), name);
    Statement &st =
        c.statement(QStringLiteral("INSERT INTO \"Список\" (\"Название\", \"NType\") VALUES (?, ?)"));
    ResetAfter done{st};
    st.bind(1, name);
    st.bind(2, type);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotStoreRow(schema::kTitles, c.path(), e.message()));
    }
    const qint64 id = c.lastInsertId();
    c.reloadRow(schema::kTitles, id, true);
    c.deliverChanges();
    return id;
}

std::optional<qint64> findTitle(CatalogSession &s, const QString &name) {
    Statement &st = s.catalog().statement(
        QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"Название\" = ? ORDER BY \"ID\" LIMIT 1"));
    ResetAfter done{st};
    st.bind(1, name);
    if (!st.step())
        return std::nullopt;
    return sqlite3_column_int64(st.handle(), 0);
}

bool titleExists(Catalog &c, qint64 id) {
    Statement &st = c.statement(QStringLiteral("SELECT 1 FROM \"Список\" WHERE \"ID\" = ?"));
    ResetAfter done{st};
    st.bind(1, id);
    return st.step();
}

bool titleExists(CatalogSession &s, qint64 id) {
    return titleExists(s.catalog(), id);
}

std::optional<TitleRecord> titleRecord(Catalog &c, qint64 id) {
    Statement &st = c.statement(QStringLiteral("SELECT \"Название\", \"Количество серий\", \"Комментарий\", "
                                               "\"NType\" FROM \"Список\" WHERE \"ID\" = ?"));
    ResetAfter done{st};
    st.bind(1, id);
    if (!st.step())
        return std::nullopt;
    TitleRecord r;
    r.id = id;
    r.name = columnText(st.handle(), 0);
    r.count = columnText(st.handle(), 1);
    r.comment = columnText(st.handle(), 2);
    if (sqlite3_column_type(st.handle(), 3) != SQLITE_NULL)
        r.type = sqlite3_column_int64(st.handle(), 3);
    return r;
}

void renameTitle(CatalogSession &s, qint64 id, const QString &name) {
    if (name.trimmed().isEmpty()) {
        if (!titleExists(s, id))
            throw Error(msg::noTitleWithId(id));
        throw Error(msg::titleNameEmpty());
    }
    changeTitle(s.catalog(), id, QStringLiteral("Название"), name);
}

void deleteTitle(CatalogSession &s, qint64 id) {
    Catalog &c = s.catalog();
    c.ensureWritable();
    Statement &st = c.statement(QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = ?"));
    ResetAfter done{st};
    st.bind(1, id);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotDeleteRow(schema::kTitles, c.path(), e.message()));
    }
    if (sqlite3_changes(c.handle()) == 0)
        throw Error(msg::noTitleWithId(id));
    // The file deleted the title's episodes and alternative names with it.
    c.forgetRow(schema::kTitles, id);
    if (s.Series.isOpen())
        s.Series.open();
    c.deliverChanges();
}

void setTitleField(CatalogSession &s, qint64 id, TitleField field, const QVariant &value) {
    changeTitle(s.catalog(), id, columnOf(field), value);
}

QVariant titleField(CatalogSession &s, qint64 id, TitleField field) {
    const std::optional<TitleRecord> r = titleRecord(s.catalog(), id);
    if (!r)
        throw Error(msg::noTitleWithId(id));
    switch (field) {
    case TitleField::Type:
        return r->type ? QVariant(*r->type) : QVariant();
    case TitleField::Count:
        return r->count;
    case TitleField::Comment:
        break;
    }
    return r->comment;
}

void deleteEpisode(CatalogSession &s, qint64 episodeId) {
    Catalog &c = s.catalog();
    c.ensureWritable();
    std::optional<qint64> owner;
    {
        Statement &st = c.statement(QStringLiteral("SELECT \"Название\" FROM \"Серии\" WHERE \"ID\" = ?"));
        ResetAfter done{st};
        st.bind(1, episodeId);
        if (!st.step())
            throw Error(msg::noEpisodeWithId(episodeId));
        if (sqlite3_column_type(st.handle(), 0) != SQLITE_NULL)
            owner = sqlite3_column_int64(st.handle(), 0);
    }
    Statement &st = c.statement(QStringLiteral("DELETE FROM \"Серии\" WHERE \"ID\" = ?"));
    ResetAfter done{st};
    st.bind(1, episodeId);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotDeleteRow(schema::kEpisodes, c.path(), e.message()));
    }
    c.forgetRow(schema::kEpisodes, episodeId, owner);
    c.deliverChanges();
}

void postPendingTitleEdit(CatalogSession &s) {
    DataSet &name = s.Name;
    if (name.state() == DataSet::Edit || name.state() == DataSet::Insert)
        name.post();
}

Amounts titleAmounts(CatalogSession &s, qint64 id) {
    Statement &st = s.catalog().statement(
        QStringLiteral("SELECT COUNT(*), TOTAL(\"Объём (байт)\"), TOTAL(\"Длительность\") FROM \"Серии\" "
                       "WHERE \"Название\" = ?"));
    ResetAfter done{st};
    st.bind(1, id);
    Amounts a;
    if (st.step()) {
        a.files = sqlite3_column_int(st.handle(), 0);
        a.sizeBytes = sqlite3_column_double(st.handle(), 1);
        a.durationMs = sqlite3_column_double(st.handle(), 2);
    }
    return a;
}

} // namespace vq::ops
