#include "filterview.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"

#include <sqlite3.h>

namespace vq {

namespace {

// Runs `sql` and hands each row to `row`; the statement is reset whatever happens.
template <typename Row> void eachRow(Catalog &catalog, const QString &sql, Row row) {
    Statement &st = catalog.statement(sql);
    try {
        while (st.step())
            row(st);
    } catch (const Error &e) {
        st.reset();
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    st.reset();
}

QList<FilterChoices::Item> items(Catalog &catalog, const QString &sql) {
    QList<FilterChoices::Item> out;
    eachRow(catalog, sql, [&](const Statement &st) {
        if (sqlite3_column_type(st.handle(), 1) != SQLITE_NULL)
            out.append({sqlite3_column_int64(st.handle(), 0), st.text(1)});
    });
    return out;
}

bool hasIndex(Catalog &catalog, const QString &name) {
    bool found = false;
    eachRow(catalog,
            QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = '%1'")
                .arg(QString(name).replace(QLatin1Char('\''), QStringLiteral("''"))),
            [&](const Statement &) { found = true; });
    return found;
}

// The codecs (or containers) the episodes use: one index step per distinct key, so a catalog of
// millions of episodes costs no more than its few dozen codecs. Without the index (a read-only
// catalog from before it) every name is offered instead of reading all episodes.
QList<FilterChoices::Item> usedNames(Catalog &catalog, const QString &table, const QString &column,
                                     const QString &index) {
    if (!hasIndex(catalog, index))
        return items(catalog,
                     QStringLiteral("SELECT \"ID\", \"Name\" FROM \"%1\" ORDER BY \"Name\" COLLATE NOCASE")
                         .arg(table));
    return items(catalog,
                 QStringLiteral("WITH RECURSIVE used(k) AS (SELECT min(\"%1\") FROM \"Серии\" UNION ALL "
                                "SELECT (SELECT min(\"%1\") FROM \"Серии\" WHERE \"%1\" > used.k) FROM used "
                                "WHERE used.k IS NOT NULL) "
                                "SELECT c.\"ID\", c.\"Name\" FROM used JOIN \"%2\" c ON c.\"ID\" = used.k "
                                "ORDER BY c.\"Name\" COLLATE NOCASE")
                     .arg(column, table));
}

} // namespace

FilterChoices filterChoices(Catalog &catalog) {
    Catalog::ReadSnapshot snapshot(catalog);
    FilterChoices c;
    c.types = items(catalog,
                    QStringLiteral("SELECT \"ID\", \"Тип\" FROM \"%1\" ORDER BY \"ID\"").arg(schema::kTypes));
    c.languages =
        items(catalog,
              QStringLiteral("SELECT \"ID\", \"Язык\" FROM \"%1\" ORDER BY \"ID\"").arg(schema::kLanguages));
    const QStringList indexes = schema::filterIndexNames();
    c.videoCodecs = usedNames(catalog, schema::kCodecs, QStringLiteral("Video_Codec_id"), indexes.value(0));
    c.audioCodecs = usedNames(catalog, schema::kCodecs, QStringLiteral("Audio_Codec_id"), indexes.value(1));
    c.formats = usedNames(catalog, schema::kFormats, QStringLiteral("Format_Pack_id"), indexes.value(2));
    // The kept combinations are a few per title.
    const QString source = QStringLiteral("\"Sum_ext\"");
    eachRow(catalog,
            QStringLiteral("SELECT DISTINCT \"Ширина\", \"Высота\" FROM %1 WHERE \"Ширина\" > 0 AND "
                           "\"Высота\" > 0 ORDER BY \"Высота\" DESC, \"Ширина\" DESC")
                .arg(source),
            [&](const Statement &st) {
                c.frames.append({sqlite3_column_int(st.handle(), 0), sqlite3_column_int(st.handle(), 1)});
            });
    return c;
}

Narrowing narrowTitles(CatalogSession &s, const TitleFilter &filter, const QDateTime &now) {
    Narrowing out;
    DataSet &name = s.Name;
    name.setFiltered(false);
    s.setShownTitles(std::nullopt);
    if (filter.isEmpty())
        return out;
    out.found = applyTitleFilter(s.catalog(), filter, now);
    out.narrowed = true;
    s.setShownTitles(out.found.ids);
    // `Список` shows the same titles to whoever reads it (nothing reads it for the lists).
    name.setFilter(Filter::oneOf(QStringLiteral("ID"), out.found.ids));
    name.setFiltered(true);
    return out;
}

QStringList shownTexts(const FilterResult &r) {
    return totalsTexts(qint64(r.ids.size()), r.files, r.sizeBytes, r.durationMs);
}

QString shownText(const Narrowing &shown, const CatalogStats &all) {
    const QStringList total{all.LCount, all.LCE, all.LSize, all.LTime};
    const QStringList part = shown.narrowed ? shownTexts(shown.found) : total;
    return msg::filterShown(part, total);
}

} // namespace vq
