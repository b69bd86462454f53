#include "titleops.h"

#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"

#include <sqlite3.h>

namespace vq::ops {

namespace {

QString fieldName(TitleField f) {
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

// Positions `Список` on the title; false when the catalog has no such title.
bool seekTitle(DataSet &name, qint64 id) {
    if (name.state() == DataSet::Edit || name.state() == DataSet::Insert)
        name.post();
    name.setFiltered(false);
    name.setFilter(Filter::equals(QStringLiteral("ID"), id));
    name.setFiltered(true);
    name.first();
    return name.recordCount() > 0;
}

void requireTitle(DataSet &name, qint64 id) {
    if (!seekTitle(name, id))
        throw Error(msg::noTitleWithId(id));
}

// One change of the current record of `set`, nothing left pending when the catalog refuses.
template <typename F> void writeRecord(DataSet &set, bool append, F &&fill) {
    if (append)
        set.append();
    else
        set.edit();
    try {
        fill();
        set.post();
    } catch (...) {
        set.cancel();
        throw;
    }
}

using ResetAfter = Statement::ResetAfter;

} // namespace

qint64 addTitle(CatalogSession &s, const QString &name, qint64 type) {
    if (name.trimmed().isEmpty())
        throw Error(msg::titleNameEmpty());
    DataSet &list = s.Name;
    if (list.state() == DataSet::Edit || list.state() == DataSet::Insert)
        list.post();
    list.setFiltered(false);
    writeRecord(list, true, [&] {
        list.setValue(QStringLiteral("Название"), name);
        list.setValue(QStringLiteral("NType"), type);
    });
    const qint64 id = list.asInteger(QStringLiteral("ID"));
    seekTitle(list, id);
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

void renameTitle(CatalogSession &s, qint64 id, const QString &name) {
    // Positioned first, so that a refused name can be shown back from the title's record.
    requireTitle(s.Name, id);
    if (name.trimmed().isEmpty())
        throw Error(msg::titleNameEmpty());
    writeRecord(s.Name, false, [&] { s.Name.setValue(QStringLiteral("Название"), name); });
}

void deleteTitle(CatalogSession &s, qint64 id) {
    requireTitle(s.Name, id);
    s.Name.remove();
    // The episodes went with the title in the file; the episode data set must not show them.
    if (s.Series.isOpen())
        s.Series.open();
}

void setTitleField(CatalogSession &s, qint64 id, TitleField field, const QVariant &value) {
    requireTitle(s.Name, id);
    writeRecord(s.Name, false, [&] { s.Name.setValue(fieldName(field), value); });
}

QVariant titleField(CatalogSession &s, qint64 id, TitleField field) {
    requireTitle(s.Name, id);
    return s.Name.value(fieldName(field));
}

void deleteEpisode(CatalogSession &s, qint64 episodeId) {
    DataSet &series = s.Series;
    if (!series.isOpen())
        series.open();
    const Filter before = series.filter();
    const bool filtered = series.isFiltered();
    series.setFiltered(false);
    series.setFilter(Filter::equals(QStringLiteral("ID"), episodeId));
    series.setFiltered(true);
    const bool found = series.recordCount() > 0;
    std::optional<Error> failure;
    if (found) {
        try {
            series.remove();
        } catch (const Error &e) {
            failure = e;
        }
    }
    series.setFiltered(false);
    series.setFilter(before);
    series.setFiltered(filtered);
    if (failure)
        throw *failure;
    if (!found)
        throw Error(msg::noEpisodeWithId(episodeId));
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
