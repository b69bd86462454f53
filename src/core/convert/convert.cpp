#include "convert.h"

#include "convertworker.h"
#include "emptycatalog.h"
#include "oldcatalog.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/migrations.h"
#include "catalog/schema.h"
#include "catalog/tabledata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace vq::convert {

namespace {

struct Cancelled {};

const QString kId = QStringLiteral("ID");
const QString kTitleRef = QStringLiteral("Название"); // in Серии: the title's key
const QString kAltRef = QStringLiteral("Название_id");
const QString kNType = QStringLiteral("NType");
const QStringList kLanguageRefs = {QStringLiteral("Звук"), QStringLiteral("Субтитры встроенные"),
                                   QStringLiteral("Субтитры внешние")};
const QStringList kCodecRefs = {QStringLiteral("Video_Codec_id"), QStringLiteral("Audio_Codec_id")};
const QString kFormatRef = QStringLiteral("Format_Pack_id");
constexpr qint64 kPlaceholderType = 4; // the neutral "other" type new titles get
constexpr qint64 kProgressEvery = 512; // rows between reports, at most

using Row = std::vector<OldValue>;

// The tables of the Windows version's catalog and their columns, as its files hold them: what
// is carried over, whatever the new catalog keeps beside them.
const std::vector<std::pair<QString, QStringList>> &oldTables() {
    static const std::vector<std::pair<QString, QStringList>> tables = {
        {schema::kTitles,
         {kId, QStringLiteral("Название"), QStringLiteral("Количество серий"), QStringLiteral("Комментарий"),
          kNType}},
        {schema::kEpisodes,
         {kId, kTitleRef, QStringLiteral("Серия"), QStringLiteral("Объём (байт)"), QStringLiteral("Ширина"),
          QStringLiteral("Высота"), QStringLiteral("Длительность"), kLanguageRefs[0], kLanguageRefs[1],
          kLanguageRefs[2], kCodecRefs[0], kCodecRefs[1], QStringLiteral("O_Bitrate"),
          QStringLiteral("V_Bitrate"), QStringLiteral("A_Bitrate"), QStringLiteral("A_Hz"), kFormatRef,
          QStringLiteral("Audio_Stream_Count"), QStringLiteral("Update")}},
        {schema::kTypes, {kId, QStringLiteral("Тип")}},
        {schema::kLanguages, {kId, QStringLiteral("Язык")}},
        {schema::kCodecs, {kId, QStringLiteral("Name")}},
        {schema::kFormats, {kId, QStringLiteral("Name")}},
        {schema::kAltNames, {kId, kAltRef, QStringLiteral("Альтернативное Название")}},
    };
    return tables;
}

QStringList columnNames(const QString &table) {
    for (const auto &[name, columns] : oldTables())
        if (name == table)
            return columns;
    return {};
}

// How the new catalog stores a column; a date-time is kept as text in its own form.
ColumnDef newColumn(const QString &table, const QString &column) {
    for (const ColumnDef &c : schema::tableColumns(table))
        if (c.name == column)
            return c;
    return {column, column == QLatin1String("Update") ? FieldType::DateTime : FieldType::Integer};
}

// A table read whole: the small ones (titles, lookups, alternative names).
struct WholeTable {
    QStringList columns;
    std::vector<Row> rows;
    std::set<qint64> ids;
};

// The new file, made empty beside its final name by the caller, and its one connection. The caller
// names it when complete, or removes it.
class NewFile {
public:
    NewFile(const QString &partPath, const QString &finalPath) : m_final(finalPath) {
        const QByteArray native = QFile::encodeName(partPath);
        if (sqlite3_open_v2(native.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            const QString why = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory");
            sqlite3_close(m_db);
            m_db = nullptr;
            throw Error(msg::mdbCannotWrite(finalPath, why));
        }
    }
    ~NewFile() {
        if (m_db)
            sqlite3_close(m_db);
    }
    sqlite3 *db() const { return m_db; }

    void exec(const char *sql) {
        char *err = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
            sqlite3_free(err);
            throw Error(msg::mdbCannotWrite(m_final, why));
        }
    }
    [[noreturn]] void fail() const {
        throw Error(msg::mdbCannotWrite(m_final, QString::fromUtf8(sqlite3_errmsg(m_db))));
    }

    // Closes the finished file.
    void close() {
        if (sqlite3_close(m_db) != SQLITE_OK)
            fail();
        m_db = nullptr;
    }

private:
    QString m_final;
    sqlite3 *m_db = nullptr;
};

// One prepared INSERT of every stored column of a table.
class Inserter {
public:
    Inserter(NewFile &file, const QString &oldPath, const QString &table)
        : m_file(file), m_oldPath(oldPath), m_table(table) {
        for (const QString &name : columnNames(table))
            m_defs.push_back(newColumn(table, name));
        QStringList cols, marks;
        for (const ColumnDef &c : m_defs) {
            cols << QStringLiteral("\"%1\"").arg(c.name);
            marks << QStringLiteral("?");
        }
        const QByteArray sql =
            QStringLiteral("INSERT INTO \"%1\"(%2) VALUES (%3)")
                .arg(table, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))
                .toUtf8();
        if (sqlite3_prepare_v2(file.db(), sql.constData(), int(sql.size()), &m_st, nullptr) != SQLITE_OK)
            file.fail();
    }
    ~Inserter() { sqlite3_finalize(m_st); }

    void insert(const Row &row) {
        for (size_t c = 0; c < m_defs.size(); ++c)
            bind(int(c) + 1, row[c], m_defs[c], row[0].i);
        if (const int rc = sqlite3_step(m_st); rc != SQLITE_DONE) {
            sqlite3_reset(m_st);
            // Two rows with one key, say: the old file's table is not what Access keeps.
            if ((rc & 0xFF) == SQLITE_CONSTRAINT)
                throw Error(msg::mdbDamaged(m_oldPath, msg::mdbDetailBadRow(m_table)));
            m_file.fail();
        }
        sqlite3_reset(m_st);
    }

private:
    void bindText(int i, const QString &s) {
        const QByteArray b = s.toUtf8();
        // A non-null pointer even for "": an empty text must not become NULL.
        sqlite3_bind_text(m_st, i, b.isNull() ? "" : b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }

    void bind(int i, const OldValue &v, const ColumnDef &def, qint64 id) {
        switch (v.kind) {
        case OldValue::Null:
            sqlite3_bind_null(m_st, i);
            return;
        case OldValue::Int:
            if (def.type == FieldType::Text)
                bindText(i, QString::number(v.i));
            else
                sqlite3_bind_int64(m_st, i, v.i);
            return;
        case OldValue::Real:
            if (def.type == FieldType::Text) {
                bindText(i, QString::number(v.d, 'g', 17));
            } else if (std::nearbyint(v.d) == v.d && std::fabs(v.d) < 9.0e15) {
                // Sizes were kept as Double; a whole number goes over as the exact byte count.
                sqlite3_bind_int64(m_st, i, qint64(v.d));
            } else if (def.type == FieldType::Integer) {
                sqlite3_bind_int64(m_st, i, std::llround(v.d));
            } else {
                sqlite3_bind_double(m_st, i, v.d);
            }
            return;
        case OldValue::Text:
            if (v.s.size() > schema::kMaxTextLength && v.s.toUcs4().size() > schema::kMaxTextLength)
                throw Error(msg::mdbTextTooLong(m_oldPath, m_table, id, def.name));
            bindText(i, v.s);
            return;
        case OldValue::Time:
            if (def.type == FieldType::DateTime)
                bindText(i, naiveMsToStorageText(v.i));
            else
                sqlite3_bind_int64(m_st, i, v.i);
            return;
        }
    }

    NewFile &m_file;
    QString m_oldPath;
    QString m_table;
    std::vector<ColumnDef> m_defs;
    sqlite3_stmt *m_st = nullptr;
};

// The key a referring column holds, whatever number type the old file gave the column.
std::optional<qint64> keyOf(const OldValue &v) {
    switch (v.kind) {
    case OldValue::Int:
        return v.i;
    case OldValue::Real:
        if (std::isfinite(v.d) && std::fabs(v.d) < 9.0e15)
            return std::llround(v.d);
        return std::nullopt;
    case OldValue::Text: {
        bool ok = false;
        const qint64 k = v.s.trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(k) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

OldValue intValue(qint64 v) {
    OldValue o;
    o.kind = OldValue::Int;
    o.i = v;
    return o;
}

OldValue textValue(const QString &s) {
    OldValue o;
    o.kind = OldValue::Text;
    o.s = s;
    return o;
}

class Converter {
public:
    Converter(const QString &oldPath, const QString &partPath, const QString &newPath,
              const Progress &progress)
        : m_old(oldPath), m_oldPath(oldPath), m_partPath(partPath), m_newPath(newPath), m_progress(progress) {
    }

    ConvertReport run();

private:
    void checkTables();
    WholeTable readWhole(const QString &table, bool required);
    std::unique_ptr<OldTable> openTable(const QString &table, const QStringList &columns, bool noteMissing);
    void scanEpisodes();
    void planRepairs();
    void write();
    void tick(qint64 rows);

    OldCatalogFile m_old;
    QString m_oldPath, m_partPath, m_newPath;
    const Progress &m_progress;
    ConvertReport m_report;

    WholeTable m_types, m_languages, m_codecs, m_formats, m_titles, m_altNames;
    qint64 m_episodeRows = 0;
    // Keys episodes and alternative names refer to, with how many rows refer to each.
    std::map<qint64, qint64> m_episodeTitleRefs, m_altTitleRefs, m_languageRefs, m_codecRefs, m_formatRefs;
    qint64 m_noKeyEpisodes = 0;
    qint64 m_noTypeTitles = 0;
    qint64 m_noKeyTitleId = 0;
    std::vector<Row> m_extraTitles, m_extraTypes, m_extraLanguages, m_extraCodecs, m_extraFormats;

    qint64 m_done = 0, m_total = 0, m_sinceTick = 0, m_tickEvery = 1;
    double m_sizeSum = 0, m_durationSum = 0;
};

void Converter::checkTables() {
    QStringList missing;
    for (const auto &[t, columns] : oldTables())
        if (t != schema::kAltNames && !m_old.hasTable(t))
            missing << t;
    if (missing.isEmpty())
        return;
    // Some of the tables but not all: a catalog whose table list was damaged.
    if (missing.size() < qsizetype(oldTables().size()) - 1)
        throw Error(msg::mdbDamaged(m_oldPath, msg::mdbDetailNoTables(missing.join(QStringLiteral(", ")))));
    throw Error(msg::mdbNotOurCatalog(m_oldPath, missing.join(QStringLiteral(", "))));
}

std::unique_ptr<OldTable> Converter::openTable(const QString &table, const QStringList &columns,
                                               bool noteMissing) {
    auto t = m_old.open(table, columns);
    // Without its key (or its reference) a row cannot be brought over true.
    const QStringList required = {kId, table == schema::kEpisodes   ? kTitleRef
                                       : table == schema::kAltNames ? kAltRef
                                                                    : QString()};
    for (int i = 0; i < columns.size(); ++i) {
        if (t->hasColumn(i))
            continue;
        if (required.contains(columns[i]))
            throw Error(msg::mdbMissingColumn(m_oldPath, table, columns[i]));
        if (noteMissing)
            m_report.repairs << msg::mdbRepairNoColumn(table, columns[i]);
    }
    return t;
}

WholeTable Converter::readWhole(const QString &table, bool required) {
    WholeTable w;
    w.columns = columnNames(table);
    if (!required && !m_old.hasTable(table))
        return w;
    auto t = openTable(table, w.columns, true);
    while (t->next()) {
        Row r(size_t(w.columns.size()));
        for (int c = 0; c < w.columns.size(); ++c)
            r[size_t(c)] = t->value(c);
        if (r[0].kind != OldValue::Int)
            throw Error(msg::mdbDamaged(m_oldPath, msg::mdbDetailBadRow(table)));
        w.ids.insert(r[0].i);
        w.rows.push_back(std::move(r));
    }
    return w;
}

void Converter::scanEpisodes() {
    const QStringList cols = QStringList{kTitleRef} + kLanguageRefs + kCodecRefs + QStringList{kFormatRef};
    auto t = openTable(schema::kEpisodes, QStringList{kId} + cols, false);
    m_episodeRows = t->rowCount();
    m_total = m_titles.rows.size() + m_altNames.rows.size() + 2 * m_episodeRows;
    // About two hundred steps, however small or large the catalog.
    m_tickEvery = std::clamp<qint64>(m_total / 200, 1, kProgressEvery);
    while (t->next()) {
        if (const auto title = keyOf(t->value(1)); !title)
            ++m_noKeyEpisodes;
        else if (!m_titles.ids.count(*title))
            ++m_episodeTitleRefs[*title];
        auto count = [&](int c, const WholeTable &lookup, std::map<qint64, qint64> &missing) {
            if (const auto k = keyOf(t->value(c)); k && !lookup.ids.count(*k))
                ++missing[*k];
        };
        for (int c = 2; c <= 4; ++c)
            count(c, m_languages, m_languageRefs);
        for (int c = 5; c <= 6; ++c)
            count(c, m_codecs, m_codecRefs);
        count(7, m_formats, m_formatRefs);
        tick(1);
    }
}

void Converter::planRepairs() {
    const int titleCols = int(m_titles.columns.size());
    const int typeCol = int(m_titles.columns.indexOf(kNType));
    auto newTitle = [&](qint64 id, const QString &name) {
        Row r(static_cast<size_t>(titleCols));
        r[0] = intValue(id);
        r[1] = textValue(name);
        r[size_t(typeCol)] = intValue(kPlaceholderType);
        m_extraTitles.push_back(std::move(r));
    };

    // Titles deleted in the old program while their episodes or alternative names stayed.
    for (const Row &a : m_altNames.rows)
        if (const auto ref = keyOf(a[1]); ref && !m_titles.ids.count(*ref))
            ++m_altTitleRefs[*ref];
    std::map<qint64, std::pair<qint64, qint64>> orphans; // key -> episodes, alternative names
    for (const auto &[key, n] : m_episodeTitleRefs)
        orphans[key].first = n;
    for (const auto &[key, n] : m_altTitleRefs)
        orphans[key].second = n;
    for (const auto &[key, counts] : orphans) {
        const QString name = msg::mdbOrphanTitleName(key);
        newTitle(key, name);
        m_report.repairs << msg::mdbRepairOrphans(key, counts.first, counts.second, name);
    }
    qint64 maxKey = m_titles.ids.empty() ? 0 : *m_titles.ids.rbegin();
    if (!orphans.empty())
        maxKey = std::max(maxKey, orphans.rbegin()->first);
    if (m_noKeyEpisodes > 0) {
        m_noKeyTitleId = maxKey + 1;
        newTitle(m_noKeyTitleId, msg::mdbNoKeyTitleName());
        m_report.repairs << msg::mdbRepairNoKey(m_noKeyEpisodes, m_noKeyTitleId, msg::mdbNoKeyTitleName());
    }

    // Types the titles name without a row in Тип (type 0 among them).
    std::map<qint64, qint64> typeRefs;
    for (Row &r : m_titles.rows) {
        OldValue &t = r[size_t(typeCol)];
        if (!keyOf(t)) {
            t = intValue(0);
            ++m_noTypeTitles;
        }
        if (const qint64 k = *keyOf(t); !m_types.ids.count(k))
            ++typeRefs[k];
    }
    if (m_noTypeTitles > 0)
        m_report.repairs << msg::mdbRepairNoType(m_noTypeTitles);
    if (!m_extraTitles.empty() && !m_types.ids.count(kPlaceholderType))
        typeRefs[kPlaceholderType] += qint64(m_extraTitles.size());

    auto lookupRows = [](std::vector<Row> &out, const std::map<qint64, qint64> &refs, auto nameOf,
                         auto repairOf, QStringList &repairs) {
        for (const auto &[key, n] : refs) {
            const QString name = nameOf(key);
            out.push_back({intValue(key), textValue(name)});
            repairs << repairOf(key, n, name);
        }
    };
    lookupRows(m_extraTypes, typeRefs, msg::mdbPlaceholderType, msg::mdbRepairType, m_report.repairs);
    lookupRows(m_extraLanguages, m_languageRefs, msg::mdbPlaceholderLanguage, msg::mdbRepairLanguage,
               m_report.repairs);
    lookupRows(m_extraCodecs, m_codecRefs, msg::mdbPlaceholderCodec, msg::mdbRepairCodec, m_report.repairs);
    lookupRows(m_extraFormats, m_formatRefs, msg::mdbPlaceholderFormat, msg::mdbRepairFormat,
               m_report.repairs);
}

void Converter::tick(qint64 rows) {
    m_done += rows;
    m_sinceTick += rows;
    if (m_sinceTick < m_tickEvery && m_done < m_total)
        return;
    m_sinceTick = 0;
    if (m_progress && !m_progress(std::min(m_done, m_total), m_total))
        throw Cancelled{};
}

void Converter::write() {
    NewFile file(m_partPath, m_newPath);
    file.exec("BEGIN");
    applyCatalogSchema(file.db());

    auto writeAll = [&](const QString &table, const std::vector<Row> &rows, const std::vector<Row> &extra,
                        qint64 &count) {
        Inserter ins(file, m_oldPath, table);
        for (const Row &r : rows) {
            ins.insert(r);
            if (table == schema::kTitles || table == schema::kAltNames)
                tick(1);
        }
        for (const Row &r : extra)
            ins.insert(r);
        count = qint64(rows.size() + extra.size());
    };
    writeAll(schema::kTypes, m_types.rows, m_extraTypes, m_report.types);
    writeAll(schema::kLanguages, m_languages.rows, m_extraLanguages, m_report.languages);
    writeAll(schema::kCodecs, m_codecs.rows, m_extraCodecs, m_report.codecs);
    writeAll(schema::kFormats, m_formats.rows, m_extraFormats, m_report.formats);
    writeAll(schema::kTitles, m_titles.rows, m_extraTitles, m_report.titles);
    writeAll(schema::kAltNames, m_altNames.rows, {}, m_report.altNames);

    const QStringList cols = columnNames(schema::kEpisodes);
    const int titleCol = int(cols.indexOf(kTitleRef));
    const int sizeCol = int(cols.indexOf(QStringLiteral("Объём (байт)")));
    const int durCol = int(cols.indexOf(QStringLiteral("Длительность")));
    {
        auto t = openTable(schema::kEpisodes, cols, true);
        Inserter ins(file, m_oldPath, schema::kEpisodes);
        Row r(size_t(cols.size()));
        while (t->next()) {
            for (int c = 0; c < cols.size(); ++c)
                r[size_t(c)] = t->value(c);
            if (r[0].kind != OldValue::Int)
                throw Error(msg::mdbDamaged(m_oldPath, msg::mdbDetailBadRow(schema::kEpisodes)));
            if (!keyOf(r[size_t(titleCol)]))
                r[size_t(titleCol)] = intValue(m_noKeyTitleId);
            if (sizeCol >= 0) {
                const OldValue &s = r[size_t(sizeCol)];
                if (s.kind == OldValue::Real && !std::isfinite(s.d))
                    throw Error(msg::mdbDamaged(m_oldPath, msg::mdbDetailBadRow(schema::kEpisodes)));
                m_sizeSum += s.kind == OldValue::Real ? s.d : s.kind == OldValue::Int ? double(s.i) : 0.0;
            }
            if (durCol >= 0) {
                const OldValue &d = r[size_t(durCol)];
                m_durationSum += d.kind == OldValue::Int ? double(d.i) : d.kind == OldValue::Real ? d.d : 0.0;
            }
            ins.insert(r);
            ++m_report.episodes;
            tick(1);
        }
    }

    // The old rows are written as they were; what their names say is read as an upgrade would.
    try {
        schema::fillEpisodeNumbers(file.db());
    } catch (const Error &) {
        file.fail();
    }

    // The new catalog must hold what the old one did, and refer to nothing it lacks.
    {
        sqlite3_stmt *st = nullptr;
        const QByteArray sql =
            QStringLiteral("SELECT count(*), total(\"Объём (байт)\"), total(\"Длительность\") FROM \"Серии\"")
                .toUtf8();
        if (sqlite3_prepare_v2(file.db(), sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            file.fail();
        const bool ok = sqlite3_step(st) == SQLITE_ROW;
        const qint64 n = ok ? sqlite3_column_int64(st, 0) : -1;
        const double size = ok ? sqlite3_column_double(st, 1) : -1,
                     dur = ok ? sqlite3_column_double(st, 2) : -1;
        sqlite3_finalize(st);
        auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b)); };
        if (n != m_report.episodes || !near(size, m_sizeSum) || !near(dur, m_durationSum))
            throw Error(msg::mdbTotalsDiffer(m_newPath));
        if (sqlite3_prepare_v2(file.db(), "PRAGMA foreign_key_check", -1, &st, nullptr) != SQLITE_OK)
            file.fail();
        const bool broken = sqlite3_step(st) == SQLITE_ROW;
        sqlite3_finalize(st);
        if (broken)
            throw Error(msg::mdbTotalsDiffer(m_newPath));
    }
    file.exec("COMMIT");
    file.close();
}

ConvertReport Converter::run() {
    checkTables();
    m_types = readWhole(schema::kTypes, true);
    m_languages = readWhole(schema::kLanguages, true);
    m_codecs = readWhole(schema::kCodecs, true);
    m_formats = readWhole(schema::kFormats, true);
    m_titles = readWhole(schema::kTitles, true);
    m_altNames = readWhole(schema::kAltNames, false);
    scanEpisodes();
    planRepairs();
    write();
    if (m_progress)
        m_progress(m_total, m_total);
    m_report.newPath = m_newPath;
    return m_report;
}

} // namespace

QString ConvertReport::summary() const {
    return msg::mdbSummary(titles, episodes, altNames, types, languages, codecs, formats);
}

QString ConvertReport::text() const {
    QStringList lines{summary()};
    if (repairs.isEmpty())
        lines << msg::mdbNoRepairs();
    lines += repairs;
    return lines.join(QLatin1Char('\n'));
}

bool isOldCatalog(const QString &path) {
    if (looksLikeAccessFile(path))
        return true;
    {
        // One of ours, whatever it is called.
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16))
            return false;
    }
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("mdb"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("accdb"), Qt::CaseInsensitive) == 0;
}

QString convertedCatalogPath(const QString &oldPath) {
    const QFileInfo fi(oldPath);
    QString path = fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".vdq"));
    // Converted once already: the next free name, so the default never points at a taken file.
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = fi.dir().filePath(QStringLiteral("%1 (%2).vdq").arg(fi.completeBaseName()).arg(n));
    return path;
}

std::optional<ConvertReport> convertInto(const QString &oldPath, const QString &partPath,
                                         const QString &newPath, const Progress &progress) {
    try {
        const LibraryQuiet quiet;
        Converter c(oldPath, partPath, newPath, progress);
        return c.run();
    } catch (const Cancelled &) {
        return std::nullopt;
    }
}

std::optional<ConvertReport> convertOldCatalog(const QString &oldPath, const QString &newPath,
                                               const Progress &progress, const ConvertOptions &options) {
    if (newPath.isEmpty())
        throw Error(msg::mdbTargetMissing());
    // A dangling symbolic link is a taken name too: the catalog would be written through it.
    if (Catalog::nameTaken(newPath)) {
        const QFileInfo target(newPath);
        if (target.exists() && target.canonicalFilePath() == QFileInfo(oldPath).canonicalFilePath())
            throw Error(msg::mdbTargetIsSource(oldPath));
        throw Error(msg::mdbTargetExists(newPath));
    }
    const QString part = Catalog::tempPathBeside(newPath);
    try {
        std::optional<ConvertReport> report = runConvertWorker(oldPath, part, newPath, progress, options);
        if (!report) {
            Catalog::removeTemp(part);
            return std::nullopt;
        }
        Catalog::publish(part, newPath);
        report->newPath = newPath;
        return report;
    } catch (...) {
        Catalog::removeTemp(part);
        throw;
    }
}

} // namespace vq::convert
