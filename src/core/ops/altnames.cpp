#include "altnames.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/namefold.h"
#include "catalog/schema.h"
#include "ops/titleops.h"

#include <sqlite3.h>

#include <optional>

namespace vq::ops {

namespace {

const QString kAltColumn = QStringLiteral("Альтернативное Название");

using ResetAfter = Statement::ResetAfter;

// The name as it is stored, or the reason it cannot be.
QString checkedName(const QString &name) {
    const QString text = name.trimmed();
    if (text.isEmpty())
        throw Error(msg::altNameEmpty());
    // A tab or line break would split the tool's rows; a NUL would cut the name where SQLite reads it.
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
            throw Error(msg::altNameControlCharacter());
    // Counted as the file's check counts: characters, not UTF-16 units.
    const qsizetype chars = text.toUcs4().size();
    if (chars > schema::kMaxTextLength)
        throw Error(msg::textTooLong(kAltColumn, schema::kMaxTextLength, chars));
    return text;
}

std::optional<qint64> titleOfAltName(Catalog &c, qint64 altId) {
    Statement &st =
        c.statement(QStringLiteral("SELECT \"Название_id\" FROM \"Alt_Ani_Name\" WHERE \"ID\" = ?"));
    ResetAfter done{st};
    st.bind(1, altId);
    if (!st.step())
        return std::nullopt;
    return sqlite3_column_int64(st.handle(), 0);
}

// Refuses `name` when the title already goes by it: its main name, or another name than `self`.
// Compared as the search compares names, since the search could not tell the two apart.
void refuseDuplicate(Catalog &c, qint64 titleId, const QString &name, qint64 self) {
    const QString folded = foldName(name);
    Statement &st = c.statement(QStringLiteral(
        "SELECT NULL, \"Название\" FROM \"Список\" WHERE \"ID\" = ?1 UNION ALL "
        "SELECT \"ID\", \"Альтернативное Название\" FROM \"Alt_Ani_Name\" WHERE \"Название_id\" = ?1"));
    ResetAfter done{st};
    st.bind(1, titleId);
    while (st.step()) {
        sqlite3_stmt *h = st.handle();
        const bool main = sqlite3_column_type(h, 0) == SQLITE_NULL;
        if (!main && sqlite3_column_int64(h, 0) == self)
            continue;
        const QString existing = st.text(1);
        if (foldName(existing.trimmed()) != folded)
            continue;
        throw Error(main ? msg::altNameIsMainName(existing) : msg::altNameTaken(existing));
    }
}

// Runs one write statement, its refusal told as the catalog's.
void write(Catalog &c, const QString &sql, const QVariantList &values,
           QString (*refused)(const QString &, const QString &, const QString &)) {
    Statement &st = c.statement(sql);
    ResetAfter done{st};
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values[i]);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(refused(schema::kAltNames, c.path(), e.message()));
    }
}

// A refusal found inside the transaction ends it with a commit of nothing: a rollback would drop
// every row the catalog has read.
template <typename F> auto checked(Catalog::Transaction &tx, F &&check) {
    try {
        return check();
    } catch (const Error &) {
        tx.commit();
        throw;
    }
}

} // namespace

std::vector<AltName> altNames(Catalog &c, qint64 titleId) {
    Catalog::ReadSnapshot snapshot(c);
    if (!titleExists(c, titleId))
        throw Error(msg::noTitleWithId(titleId));
    Statement &st =
        c.statement(QStringLiteral("SELECT \"ID\", \"Альтернативное Название\" FROM \"Alt_Ani_Name\" "
                                   "WHERE \"Название_id\" = ? ORDER BY \"ID\""));
    ResetAfter done{st};
    st.bind(1, titleId);
    std::vector<AltName> out;
    while (st.step())
        out.push_back({sqlite3_column_int64(st.handle(), 0), st.text(1)});
    return out;
}

qint64 addAltName(Catalog &c, qint64 titleId, const QString &name) {
    const QString text = checkedName(name);
    c.ensureWritable();
    Catalog::Transaction tx(c);
    checked(tx, [&] {
        if (!titleExists(c, titleId))
            throw Error(msg::noTitleWithId(titleId));
        refuseDuplicate(c, titleId, text, -1);
    });
    write(c,
          QStringLiteral(
              "INSERT INTO \"Alt_Ani_Name\" (\"Название_id\", \"Альтернативное Название\") VALUES (?, ?)"),
          {titleId, text}, msg::cannotStoreRow);
    const qint64 id = c.lastInsertId();
    tx.commit();
    // Rows read of the table before follow the file.
    c.reloadRow(schema::kAltNames, id, true);
    return id;
}

void renameAltName(Catalog &c, qint64 altId, const QString &name) {
    const QString text = checkedName(name);
    c.ensureWritable();
    Catalog::Transaction tx(c);
    checked(tx, [&] {
        const std::optional<qint64> title = titleOfAltName(c, altId);
        if (!title)
            throw Error(msg::noAltNameWithId(altId));
        refuseDuplicate(c, *title, text, altId);
    });
    write(c, QStringLiteral("UPDATE \"Alt_Ani_Name\" SET \"Альтернативное Название\" = ? WHERE \"ID\" = ?"),
          {text, altId}, msg::cannotStoreChange);
    tx.commit();
    c.reloadRow(schema::kAltNames, altId);
}

void deleteAltName(Catalog &c, qint64 altId) {
    c.ensureWritable();
    Catalog::Transaction tx(c);
    const qint64 title = checked(tx, [&] {
        const std::optional<qint64> t = titleOfAltName(c, altId);
        if (!t)
            throw Error(msg::noAltNameWithId(altId));
        return *t;
    });
    write(c, QStringLiteral("DELETE FROM \"Alt_Ani_Name\" WHERE \"ID\" = ?"), {altId}, msg::cannotDeleteRow);
    tx.commit();
    c.forgetRow(schema::kAltNames, altId, title);
}

} // namespace vq::ops
