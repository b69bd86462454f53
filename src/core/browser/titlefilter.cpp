#include "titlefilter.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/namefold.h"
#include "catalog/schema.h"
#include "catalog/tabledata.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QVariantList>
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

} // namespace

FilterResult applyTitleFilter(Catalog &catalog, const TitleFilter &f, const QDateTime &now) {
    if (f.sinceDays && *f.sinceDays < 0)
        throw Error(msg::filterBadDays(QString::number(*f.sinceDays)));
    if (f.minHeight && *f.minHeight < 0)
        throw Error(msg::filterBadHeight(QString::number(*f.minHeight)));

    // Every catalog has the kept sums: in the file, or made for the connection (Catalog::checkKept).
    const QString titleSums = QStringLiteral("\"Sum_title\"");
    const QString extSums = QStringLiteral("\"Sum_ext\"");
    const QString extTitle = QStringLiteral("\"ID\"");

    Params p;
    const bool byName = !f.name.isEmpty();
    QString nameText, anywhere;
    if (byName) {
        nameText = p.add(f.name);
        anywhere = p.add(f.anywhere ? 1 : 0);
    }
    const QString mainMatch = QStringLiteral("vq_name_match(s.\"Название\", %1, %2)").arg(nameText, anywhere);

    QString sql = QStringLiteral("SELECT s.\"ID\", t.\"Count\", t.\"Size\", t.\"Long\"");
    if (byName)
        sql += QStringLiteral(", %1, alt.aid, alt.aname").arg(mainMatch);
    sql += QStringLiteral(" FROM \"Список\" s LEFT JOIN %1 t ON t.\"ID\" = s.\"ID\"").arg(titleSums);
    if (byName)
        // One pass over the alternative names; a title's first matching one (by key) is shown.
        sql +=
            QStringLiteral(" LEFT JOIN (SELECT \"Название_id\" AS tid, min(\"ID\") AS aid, "
                           "\"Альтернативное Название\" AS aname FROM \"Alt_Ani_Name\" WHERE "
                           "vq_name_match(\"Альтернативное Название\", %1, %2) GROUP BY \"Название_id\") alt "
                           "ON alt.tid = s.\"ID\"")
                .arg(nameText, anywhere);

    // Cheap tests first: the title's own row, its sums, then the episodes.
    QStringList where;
    if (f.type)
        where << QStringLiteral("s.\"NType\" = %1").arg(p.add(*f.type));
    if (f.empty)
        where << QStringLiteral("t.\"ID\" IS NULL");
    if (f.sinceDays) {
        const qint64 from = naiveMsFromDateTime(now) - qint64(*f.sinceDays) * kDayMs;
        where << QStringLiteral("t.\"Max-Update\" >= %1").arg(p.add(naiveMsToStorageText(from)));
    }
    if (byName)
        where << QStringLiteral("(%1 OR alt.aid IS NOT NULL)").arg(mainMatch);
    auto anyEpisode = [&](const QStringList &conds) {
        where << QStringLiteral("s.\"ID\" IN (SELECT %1 FROM %2 WHERE %3)")
                     .arg(extTitle, extSums, conds.join(QStringLiteral(" AND ")));
    };
    if (f.sound)
        anyEpisode({QStringLiteral("\"Звук\" = %1").arg(p.add(*f.sound))});
    if (f.subIn)
        anyEpisode({QStringLiteral("\"Субтитры встроенные\" = %1").arg(p.add(*f.subIn))});
    if (f.subExt)
        anyEpisode({QStringLiteral("\"Субтитры внешние\" = %1").arg(p.add(*f.subExt))});
    if (f.frameWidth || f.frameHeight) {
        QStringList frame;
        if (f.frameWidth)
            frame << QStringLiteral("\"Ширина\" = %1").arg(p.add(*f.frameWidth));
        if (f.frameHeight)
            frame << QStringLiteral("\"Высота\" = %1").arg(p.add(*f.frameHeight));
        anyEpisode(frame);
    }
    if (f.minHeight)
        anyEpisode({QStringLiteral("\"Высота\" >= %1").arg(p.add(*f.minHeight))});
    // Codecs and containers from the titles' kept combinations. Alone, a field reads its list of
    // titles once; beside other fields it is asked only of the titles they let through.
    const bool codecsAlone = where.isEmpty();
    auto episodeHas = [&](const char *column, qint64 key) {
        const QString c = QString::fromUtf8(column), k = p.add(key);
        if (codecsAlone)
            where << QStringLiteral("s.\"ID\" IN (SELECT \"ID\" FROM \"Sum_codec\" WHERE \"%1\" = %2)")
                         .arg(c, k);
        else
            where << QStringLiteral(
                         "EXISTS (SELECT 1 FROM \"Sum_codec\" c WHERE c.\"ID\" = s.\"ID\" AND c.\"%1\" = %2)")
                         .arg(c, k);
    };
    if (f.videoCodec)
        episodeHas("Video_Codec_id", *f.videoCodec);
    if (f.audioCodec)
        episodeHas("Audio_Codec_id", *f.audioCodec);
    if (f.format)
        episodeHas("Format_Pack_id", *f.format);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY s.\"ID\"");

    FilterResult out;
    Catalog::ReadSnapshot snapshot(catalog);
    Statement &st = catalog.statement(sql);
    p.bindTo(st);
    try {
        while (st.step()) {
            sqlite3_stmt *h = st.handle();
            const qint64 id = sqlite3_column_int64(h, 0);
            out.ids.push_back(id);
            out.files += sqlite3_column_int(h, 1);
            out.sizeBytes += sqlite3_column_double(h, 2);
            out.durationMs += sqlite3_column_double(h, 3);
            if (byName && sqlite3_column_int(h, 4) == 0 && sqlite3_column_type(h, 5) != SQLITE_NULL)
                out.altNames.insert(id, st.text(6));
        }
    } catch (const Error &e) {
        st.reset();
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    st.reset();
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
    f.anywhere = flag("Anywhere");
    return f;
}

} // namespace vq
