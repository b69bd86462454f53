#include "titlefilter.h"

#include "episodegaps.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/namefold.h"
#include "catalog/schema.h"
#include "catalog/tabledata.h"
#include "places/hashing.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QVariantList>

#include <algorithm>
#include <iterator>
#include <limits>
#include <sqlite3.h>

namespace vq {

bool TitleFilter::isEmpty() const {
    // Every field but how the name matches, which narrows nothing without a name: a field added
    // later counts here without being listed.
    TitleFilter narrowing = *this;
    narrowing.anywhere = false;
    return narrowing == TitleFilter{};
}

namespace {

constexpr qint64 kDayMs = 86400000;

// Numbered parameters, so that one value can be named twice in a statement.
class Params {
public:
    QString add(const QVariant &v) {
        m_values << v;
        return QStringLiteral("?%1").arg(m_values.size());
    }
    void bindTo(Statement &st) const {
        for (int i = 0; i < m_values.size(); ++i)
            st.bind(i + 1, m_values[i]);
    }

private:
    QVariantList m_values;
};

// The files, size and play time of the titles found (ascending keys).
void addTotals(Catalog &catalog, FilterResult &out) {
    const CatalogTotals t = catalog.totalsOf(out.ids);
    out.files = int(std::min<qint64>(t.files, std::numeric_limits<int>::max()));
    out.sizeBytes = t.sizeBytes;
    out.durationMs = t.durationMs;
}

} // namespace

FilterResult applyTitleFilter(Catalog &catalog, const TitleFilter &f, const QDateTime &now) {
    if (f.sinceDays && *f.sinceDays < 0)
        throw Error(msg::filterBadDays(QString::number(*f.sinceDays)));
    if (f.minHeight && *f.minHeight < 0)
        throw Error(msg::filterBadHeight(QString::number(*f.minHeight)));

    // Each question gives its list of titles in key order, from an index of the titles or of the kept
    // sums (in the file, or made for the connection: Catalog::checkKept); the titles that pass are
    // those on every list. A list of every title costs one walk of an index, not a look-up per title.
    struct List {
        QString sql;
        Params params;
    };
    std::vector<List> lists;
    const bool byName = !f.name.isEmpty();
    // The title's own row: type, name, and what its sums say (none, or changed lately).
    {
        List own;
        Params &p = own.params;
        QStringList where;
        QString nameText, anywhere;
        if (byName) {
            nameText = p.add(f.name);
            anywhere = p.add(f.anywhere ? 1 : 0);
        }
        const QString mainMatch =
            QStringLiteral("vq_name_match(s.\"Название\", %1, %2)").arg(nameText, anywhere);
        if (f.type)
            where << QStringLiteral("s.\"NType\" = %1").arg(p.add(*f.type));
        if (f.empty)
            where << QStringLiteral("t.\"ID\" IS NULL");
        if (f.sinceDays) {
            const qint64 from = naiveMsFromDateTime(now) - qint64(*f.sinceDays) * kDayMs;
            where << QStringLiteral(
                         "s.\"ID\" IN (SELECT \"ID\" FROM \"Sum_title\" WHERE \"Max-Update\" >= %1)")
                         .arg(p.add(naiveMsToStorageText(from)));
        }
        if (byName)
            where << QStringLiteral("(%1 OR alt.aid IS NOT NULL)").arg(mainMatch);
        if (!where.isEmpty()) {
            own.sql = QStringLiteral("SELECT s.\"ID\"");
            if (byName)
                own.sql += QStringLiteral(", %1, alt.aid, alt.aname").arg(mainMatch);
            own.sql += QStringLiteral(" FROM \"Список\" s");
            if (byName)
                // One pass over the alternative names; a title's first matching one (by key) is shown.
                own.sql += QStringLiteral(" LEFT JOIN (SELECT \"Название_id\" AS tid, min(\"ID\") AS aid, "
                                          "\"Альтернативное Название\" AS aname FROM \"Alt_Ani_Name\" WHERE "
                                          "vq_name_match(\"Альтернативное Название\", %1, %2) GROUP BY "
                                          "\"Название_id\") alt ON alt.tid = s.\"ID\"")
                               .arg(nameText, anywhere);
            if (f.empty) // titles without sums: a look-up by key each, cheaper than asking for each
                own.sql += QStringLiteral(" LEFT JOIN \"Sum_title\" t ON t.\"ID\" = s.\"ID\"");
            own.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")) +
                       QStringLiteral(" ORDER BY s.\"ID\"");
            lists.push_back(std::move(own));
        }
    }
    // A title passes a media field when any of its episodes has the value.
    auto anyEpisode = [&](const char *table, const QStringList &conds, const QVariantList &values) {
        List l;
        QStringList bound;
        for (int i = 0; i < conds.size(); ++i)
            bound << conds[i].arg(l.params.add(values[i]));
        l.sql = QStringLiteral("SELECT DISTINCT \"ID\" FROM \"%1\" WHERE %2 ORDER BY \"ID\"")
                    .arg(QString::fromUtf8(table), bound.join(QStringLiteral(" AND ")));
        lists.push_back(std::move(l));
    };
    if (f.sound)
        anyEpisode("Sum_ext", {QStringLiteral("\"Звук\" = %1")}, {*f.sound});
    if (f.subIn)
        anyEpisode("Sum_ext", {QStringLiteral("\"Субтитры встроенные\" = %1")}, {*f.subIn});
    if (f.subExt)
        anyEpisode("Sum_ext", {QStringLiteral("\"Субтитры внешние\" = %1")}, {*f.subExt});
    if (f.frameWidth || f.frameHeight) {
        QStringList conds;
        QVariantList values;
        if (f.frameHeight) {
            conds << QStringLiteral("\"Высота\" = %1");
            values << *f.frameHeight;
        }
        if (f.frameWidth) {
            conds << QStringLiteral("\"Ширина\" = %1");
            values << *f.frameWidth;
        }
        anyEpisode("Sum_ext", conds, values);
    }
    if (f.minHeight)
        anyEpisode("Sum_ext", {QStringLiteral("\"Высота\" >= %1")}, {*f.minHeight});
    // Codecs and containers from the titles' kept combinations.
    if (f.videoCodec)
        anyEpisode("Sum_codec", {QStringLiteral("\"Video_Codec_id\" = %1")}, {*f.videoCodec});
    if (f.audioCodec)
        anyEpisode("Sum_codec", {QStringLiteral("\"Audio_Codec_id\" = %1")}, {*f.audioCodec});
    if (f.format)
        anyEpisode("Sum_codec", {QStringLiteral("\"Format_Pack_id\" = %1")}, {*f.format});
    // Worked out in code, not asked of SQL alone: the first lists.
    std::vector<std::vector<qint64> (*)(Catalog &)> computed;
    if (f.incomplete)
        computed.push_back(titlesWithGaps);
    if (f.duplicates)
        computed.push_back(places::titlesWithDuplicates);
    if (f.singleCopy)
        computed.push_back(places::titlesWithSingleCopy);
    if (lists.empty() && computed.empty()) // nothing narrows: every title
        lists.push_back({QStringLiteral("SELECT \"ID\" FROM \"Список\" ORDER BY \"ID\""), {}});

    FilterResult out;
    Catalog::ReadSnapshot snapshot(catalog);
    try {
        bool first = true;
        auto narrow = [&](std::vector<qint64> ids) {
            if (first) {
                out.ids = std::move(ids);
                first = false;
                return;
            }
            std::vector<qint64> both;
            std::set_intersection(out.ids.begin(), out.ids.end(), ids.begin(), ids.end(),
                                  std::back_inserter(both));
            out.ids = std::move(both);
        };
        for (auto titles : computed)
            narrow(titles(catalog));
        for (size_t i = 0; i < lists.size(); ++i) {
            Statement &st = catalog.statement(lists[i].sql);
            Statement::ResetAfter done{st};
            lists[i].params.bindTo(st);
            std::vector<qint64> ids;
            const bool own =
                i == 0 && computed.empty() && lists[i].sql.startsWith(QLatin1String("SELECT s."));
            while (st.step()) {
                sqlite3_stmt *h = st.handle();
                const qint64 id = sqlite3_column_int64(h, 0);
                ids.push_back(id);
                if (own && byName && sqlite3_column_int(h, 1) == 0 &&
                    sqlite3_column_type(h, 2) != SQLITE_NULL)
                    out.altNames.insert(id, st.text(3));
            }
            narrow(std::move(ids));
        }
        if (!out.altNames.isEmpty()) // a name of a title some other field let go
            for (auto it = out.altNames.begin(); it != out.altNames.end();)
                it = std::binary_search(out.ids.begin(), out.ids.end(), it.key()) ? std::next(it)
                                                                                  : out.altNames.erase(it);
        addTotals(catalog, out);
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    return out;
}

namespace {

// The key of the row of `table` whose key is `text` or whose name matches it, letter case and ё
// aside; the lowest key wins where names repeat.
std::optional<qint64> findKey(Catalog &catalog, const QString &table, const QString &nameColumn,
                              const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const qint64 key = t.toLongLong(&isNumber);
    Statement &st = catalog.statement(
        QStringLiteral("SELECT \"ID\", \"%1\" FROM \"%2\" ORDER BY \"ID\"").arg(nameColumn, table));
    const QString folded = foldName(t);
    std::optional<qint64> byName;
    std::optional<qint64> byKey;
    try {
        while (st.step()) {
            const qint64 id = sqlite3_column_int64(st.handle(), 0);
            if (isNumber && id == key)
                byKey = id;
            if (!byName && sqlite3_column_type(st.handle(), 1) != SQLITE_NULL &&
                foldName(st.text(1)) == folded)
                byName = id;
        }
    } catch (const Error &e) {
        st.reset();
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    st.reset();
    return byKey ? byKey : byName;
}

std::optional<QString> nameOfKey(Catalog &catalog, const QString &table, const QString &nameColumn,
                                 qint64 key) {
    Statement &st = catalog.statement(
        QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE \"ID\" = ?").arg(nameColumn, table));
    st.bind(1, key);
    std::optional<QString> out;
    if (st.step() && sqlite3_column_type(st.handle(), 0) != SQLITE_NULL)
        out = st.text(0);
    st.reset();
    return out;
}

} // namespace

std::optional<int> findType(Catalog &c, const QString &text) {
    const auto k = findKey(c, schema::kTypes, QStringLiteral("Тип"), text);
    return k ? std::optional<int>(int(*k)) : std::nullopt;
}

std::optional<qint64> findLanguage(Catalog &c, const QString &text) {
    return findKey(c, schema::kLanguages, QStringLiteral("Язык"), text);
}

std::optional<qint64> findCodec(Catalog &c, const QString &text) {
    return findKey(c, schema::kCodecs, QStringLiteral("Name"), text);
}

std::optional<qint64> findFormat(Catalog &c, const QString &text) {
    return findKey(c, schema::kFormats, QStringLiteral("Name"), text);
}

std::optional<std::pair<int, int>> parseFrameSize(const QString &text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,6})\\s*[xXхХ×*]\\s*(\\d{1,6})\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return std::pair{m.captured(1).toInt(), m.captured(2).toInt()};
}

namespace {

const QString kGroup = QStringLiteral("Filter/");

} // namespace

void saveTitleFilter(Settings &s, Catalog &c, const TitleFilter &f) {
    auto putName = [&](const char *key, const QString &table, const char *column, std::optional<qint64> v) {
        const QString k = kGroup + QString::fromUtf8(key);
        const std::optional<QString> name =
            v ? nameOfKey(c, table, QString::fromUtf8(column), *v) : std::optional<QString>();
        if (name)
            s.setValue(k, *name);
        else
            s.remove(k);
    };
    auto putInt = [&](const char *key, std::optional<int> v) {
        const QString k = kGroup + QString::fromUtf8(key);
        if (v)
            s.setValue(k, QString::number(*v));
        else
            s.remove(k);
    };
    putName("Type", schema::kTypes, "Тип", f.type ? std::optional<qint64>(*f.type) : std::nullopt);
    putName("Sound", schema::kLanguages, "Язык", f.sound);
    putName("SubIn", schema::kLanguages, "Язык", f.subIn);
    putName("SubExt", schema::kLanguages, "Язык", f.subExt);
    putName("VideoCodec", schema::kCodecs, "Name", f.videoCodec);
    putName("AudioCodec", schema::kCodecs, "Name", f.audioCodec);
    putName("Format", schema::kFormats, "Name", f.format);
    putInt("FrameWidth", f.frameWidth);
    putInt("FrameHeight", f.frameHeight);
    putInt("MinHeight", f.minHeight);
    putInt("Since", f.sinceDays);
    s.setValue(kGroup + QStringLiteral("Empty"), f.empty ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(kGroup + QStringLiteral("Incomplete"),
               f.incomplete ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(kGroup + QStringLiteral("Duplicates"),
               f.duplicates ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(kGroup + QStringLiteral("SingleCopy"),
               f.singleCopy ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(kGroup + QStringLiteral("Anywhere"), f.anywhere ? QStringLiteral("1") : QStringLiteral("0"));
}

TitleFilter loadTitleFilter(const Settings &s, Catalog &c) {
    TitleFilter f;
    auto text = [&](const char *key) { return s.value(kGroup + QString::fromUtf8(key)).toString(); };
    auto number = [&](const char *key, bool allowNegative) -> std::optional<int> {
        bool ok = false;
        const int n = text(key).trimmed().toInt(&ok);
        return ok && (allowNegative || n >= 0) ? std::optional<int>(n) : std::nullopt;
    };
    auto flag = [&](const char *key) { return text(key).trimmed() == QLatin1String("1"); };
    f.type = findType(c, text("Type"));
    f.sound = findLanguage(c, text("Sound"));
    f.subIn = findLanguage(c, text("SubIn"));
    f.subExt = findLanguage(c, text("SubExt"));
    f.videoCodec = findCodec(c, text("VideoCodec"));
    f.audioCodec = findCodec(c, text("AudioCodec"));
    f.format = findFormat(c, text("Format"));
    f.frameWidth = number("FrameWidth", false);
    f.frameHeight = number("FrameHeight", false);
    f.minHeight = number("MinHeight", false);
    f.sinceDays = number("Since", false);
    f.empty = flag("Empty");
    f.incomplete = flag("Incomplete");
    f.duplicates = flag("Duplicates");
    f.singleCopy = flag("SingleCopy");
    f.anywhere = flag("Anywhere");
    return f;
}

} // namespace vq
