#include "titleguess.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/namefold.h"
#include "intake/releasename.h"
#include "ops/altnames.h"
#include "ops/titleops.h"

#include <QHash>
#include <sqlite3.h>

namespace vq::ops {

QString titleKey(QStringView name) {
    const QString folded = foldName(name);
    QString out;
    out.reserve(folded.size());
    bool blank = true; // no blank at the start
    for (const QChar ch : folded) {
        if (ch.isLetterOrNumber()) {
            out += ch;
            blank = false;
        } else if (!blank) {
            out += QLatin1Char(' ');
            blank = true;
        }
    }
    if (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

QString proposedTitle(const QStringList &fileNames, const QString &folderName) {
    QHash<QString, int> counts;
    QHash<QString, QString> spelling;
    QString best;
    int bestCount = 0;
    QStringList order;
    for (const QString &f : fileNames) {
        const QString title = readReleaseName(f, folderName).title;
        const QString key = titleKey(title);
        if (key.isEmpty())
            continue;
        if (!spelling.contains(key)) {
            spelling.insert(key, title);
            order << key;
        }
        ++counts[key];
    }
    for (const QString &key : order)
        if (counts.value(key) > bestCount) {
            best = key;
            bestCount = counts.value(key);
        }
    return best.isEmpty() ? QString() : spelling.value(best);
}

std::optional<TitleMatch> matchTitle(Catalog &catalog, const QString &name) {
    const QString key = titleKey(name);
    if (key.isEmpty())
        return std::nullopt;
    // Only names holding the key's longest word are read and compared whole.
    QString word;
    for (const QString &w : key.split(QLatin1Char(' ')))
        if (w.size() > word.size())
            word = w;
    std::optional<TitleMatch> found;
    try {
        Catalog::ReadSnapshot snapshot(catalog);
        for (const bool other : {false, true}) {
            Statement &st = catalog.statement(
                other ? QStringLiteral(
                            "SELECT \"Название_id\", \"Альтернативное Название\" FROM \"Alt_Ani_Name\" "
                            "WHERE \"Название_id\" IS NOT NULL AND "
                            "vq_name_match(\"Альтернативное Название\", ?1, 1) ORDER BY \"Название_id\"")
                      : QStringLiteral("SELECT \"ID\", \"Название\" FROM \"Список\" WHERE "
                                       "vq_name_match(\"Название\", ?1, 1) ORDER BY \"ID\""));
            Statement::ResetAfter done{st};
            st.bind(1, word);
            while (st.step()) {
                const QString candidate = st.text(1);
                if (titleKey(candidate) != key)
                    continue;
                const qint64 id = sqlite3_column_int64(st.handle(), 0);
                found = TitleMatch{id, other ? candidate : QString()}; // the lowest key: rows come by key
                break;
            }
            if (found) // a title's own name wins over another title's other name
                break;
        }
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    return found;
}

bool offersOtherName(Catalog &catalog, qint64 titleId, const QString &proposed) {
    const QString key = titleKey(proposed);
    const std::optional<TitleRecord> title = titleRecord(catalog, titleId);
    if (key.isEmpty() || !title || titleKey(title->name) == key)
        return false;
    for (const AltName &a : altNames(catalog, titleId))
        if (titleKey(a.name) == key)
            return false;
    return true;
}

} // namespace vq::ops
