#include "schema.h"

#include <iterator>
#include <span>

namespace vq::schema {

QStringList tableNames() {
    return {kTitles, kEpisodes, kTypes, kLanguages, kCodecs, kFormats, kAltNames};
}

QStringList queryNames() {
    return {kRjk, kExt, kAllT, kUpTime};
}

bool isQuery(const QString &name) {
    return name == kRjk || name == kExt || name == kAllT || name == kUpTime;
}

namespace {

// One list per stored table: a column's name, its type in the program, and its declaration in the
// file. Texts marked limited get the length check.
struct ColumnSpec {
    const char *name;
    FieldType type;
    const char *decl;
    bool limited = false;
    int since = 1; // the schema version that added it: its migration adds it to older files
};

using F = FieldType;

const ColumnSpec kTitleSpec[] = {
    {"ID", F::Integer, "INTEGER PRIMARY KEY AUTOINCREMENT"},
    {"Название", F::Text, "TEXT", true},
    {"Количество серий", F::Text, "TEXT", true},
    {"Комментарий", F::Text, "TEXT", true},
    {"NType", F::Integer, "INTEGER NOT NULL DEFAULT 0 CHECK(\"NType\" BETWEEN 0 AND 65535)"},
};
static_assert(std::size(kTitleSpec) == kTitleColumns);

const ColumnSpec kEpisodeSpec[] = {
    {"ID", F::Integer, "INTEGER PRIMARY KEY AUTOINCREMENT"},
    {"Название", F::Integer, "INTEGER NOT NULL REFERENCES \"Список\"(\"ID\") ON DELETE CASCADE"},
    {"Серия", F::Text, "TEXT", true},
    {"Объём (байт)", F::Float, "REAL"},
    {"Ширина", F::Integer, "INTEGER"},
    {"Высота", F::Integer, "INTEGER"},
    {"Длительность", F::Integer, "INTEGER"},
    {"Звук", F::Integer, "INTEGER"},
    {"Субтитры встроенные", F::Integer, "INTEGER"},
    {"Субтитры внешние", F::Integer, "INTEGER"},
    {"Video_Codec_id", F::Integer, "INTEGER"},
    {"Audio_Codec_id", F::Integer, "INTEGER"},
    {"O_Bitrate", F::Integer, "INTEGER"},
    {"V_Bitrate", F::Integer, "INTEGER"},
    {"A_Bitrate", F::Integer, "INTEGER"},
    {"A_Hz", F::Integer, "INTEGER"},
    {"Format_Pack_id", F::Integer, "INTEGER"},
    {"Audio_Stream_Count", F::Integer, "INTEGER"},
    {"Update", F::DateTime, "TEXT"},
    {"Number", F::Float, "REAL", false, 5},
    {"Number_last", F::Float, "REAL", false, 5},
    {"Kind", F::Integer, "INTEGER", false, 5},
    {"Version", F::Integer, "INTEGER", false, 5},
    {"Release_group", F::Text, "TEXT", true, 5},
};
static_assert(std::size(kEpisodeSpec) == kEpisodeColumns);

const ColumnSpec kTypeSpec[] = {{"ID", F::Integer, "INTEGER PRIMARY KEY"}, {"Тип", F::Text, "TEXT", true}};
const ColumnSpec kLanguageSpec[] = {{"ID", F::Integer, "INTEGER PRIMARY KEY"},
                                    {"Язык", F::Text, "TEXT", true}};
// Codecs and containers are added as files bring them, so their keys are never reused.
const ColumnSpec kNameSpec[] = {{"ID", F::Integer, "INTEGER PRIMARY KEY AUTOINCREMENT"},
                                {"Name", F::Text, "TEXT", true}};
const ColumnSpec kAltNameSpec[] = {
    {"ID", F::Integer, "INTEGER PRIMARY KEY AUTOINCREMENT"},
    {"Название_id", F::Integer, "INTEGER REFERENCES \"Список\"(\"ID\") ON DELETE CASCADE"},
    {"Альтернативное Название", F::Text, "TEXT", true},
};

std::span<const ColumnSpec> columnSpecs(const QString &t) {
    if (t == kTitles)
        return kTitleSpec;
    if (t == kEpisodes)
        return kEpisodeSpec;
    if (t == kTypes)
        return kTypeSpec;
    if (t == kLanguages)
        return kLanguageSpec;
    if (t == kCodecs || t == kFormats)
        return kNameSpec;
    if (t == kAltNames)
        return kAltNameSpec;
    return {};
}

QString declaration(const ColumnSpec &c) {
    const QString name = QString::fromUtf8(c.name);
    QString col = QStringLiteral("\"%1\" %2").arg(name, QString::fromUtf8(c.decl));
    if (c.limited)
        col += QStringLiteral(" CHECK(length(\"%1\") <= %2)").arg(name).arg(kMaxTextLength);
    return col;
}

// The table as version 1 made it; later columns are added by their migrations.
QString createTable(const QString &t) {
    QStringList cols;
    for (const ColumnSpec &c : columnSpecs(t))
        if (c.since == 1)
            cols << declaration(c);
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t, cols.join(QStringLiteral(", ")));
}

} // namespace

std::vector<ColumnDef> tableColumns(const QString &t) {
    std::vector<ColumnDef> out;
    for (const ColumnSpec &c : columnSpecs(t))
        out.push_back({QString::fromUtf8(c.name), c.type});
    return out;
}

int columnSince(const QString &t, int column) {
    const auto specs = columnSpecs(t);
    return column >= 0 && size_t(column) < specs.size() ? specs[size_t(column)].since : 1;
}

QString columnDeclaration(const QString &t, int column) {
    const auto specs = columnSpecs(t);
    return column >= 0 && size_t(column) < specs.size() ? declaration(specs[size_t(column)]) : QString();
}

QString columnName(const QString &t, int column) {
    const auto specs = columnSpecs(t);
    return column >= 0 && size_t(column) < specs.size() ? QString::fromUtf8(specs[size_t(column)].name)
                                                        : QString();
}

int tableRefColumn(const QString &t) {
    if (t == kEpisodes || t == kAltNames)
        return 1;
    return -1;
}

namespace {

const char *const kFilterIndexed[][2] = {{"Серии by video codec", "Video_Codec_id"},
                                         {"Серии by audio codec", "Audio_Codec_id"},
                                         {"Серии by container", "Format_Pack_id"}};

} // namespace

QStringList filterIndexNames() {
    QStringList out;
    for (const auto &i : kFilterIndexed)
        out << QString::fromUtf8(i[0]);
    return out;
}

QStringList filterIndexStatements() {
    QStringList out;
    for (const auto &i : kFilterIndexed)
        out << QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"Серии\"(\"%2\", \"Название\")")
                   .arg(QString::fromUtf8(i[0]), QString::fromUtf8(i[1]));
    return out;
}

namespace {

// A title's combinations of codecs and container, matched for the episode row `r`.
QString codecMatch(const QString &r) {
    QStringList m{QStringLiteral("\"ID\" = %1.\"Название\"").arg(r)};
    for (const auto &i : kFilterIndexed)
        m << QStringLiteral("\"%1\" IS %2.\"%1\"").arg(QString::fromUtf8(i[1]), r);
    return m.join(QStringLiteral(" AND "));
}

QString codecChange(const QString &r, bool add) {
    const QString match = codecMatch(r);
    if (!add)
        return QStringLiteral("UPDATE \"Sum_codec\" SET \"Count\" = \"Count\" - 1 WHERE %1; "
                              "DELETE FROM \"Sum_codec\" WHERE %1 AND \"Count\" <= 0; ")
            .arg(match);
    QStringList cols, values;
    for (const auto &i : kFilterIndexed) {
        cols << QStringLiteral("\"%1\"").arg(QString::fromUtf8(i[1]));
        values << QStringLiteral("%1.\"%2\"").arg(r, QString::fromUtf8(i[1]));
    }
    return QStringLiteral(
               "INSERT INTO \"Sum_codec\"(\"ID\", %1) SELECT %2.\"Название\", %3 WHERE "
               "%2.\"Название\" IS NOT NULL AND NOT EXISTS (SELECT 1 FROM \"Sum_codec\" WHERE %4); "
               "UPDATE \"Sum_codec\" SET \"Count\" = \"Count\" + 1 WHERE %4; ")
        .arg(cols.join(QStringLiteral(", ")), r, values.join(QStringLiteral(", ")), match);
}

QString codecColumns() {
    QStringList cols;
    for (const auto &i : kFilterIndexed)
        cols << QStringLiteral("\"%1\"").arg(QString::fromUtf8(i[1]));
    return cols.join(QStringLiteral(", "));
}

} // namespace

QStringList codecSumStatements() {
    QStringList decl;
    for (const auto &i : kFilterIndexed)
        decl << QStringLiteral("\"%1\" INTEGER").arg(QString::fromUtf8(i[1]));
    const QString cols = codecColumns();
    return {
        QStringLiteral("CREATE TABLE \"Sum_codec\" (\"ID\" INTEGER NOT NULL, %1, \"Count\" INTEGER NOT NULL "
                       "DEFAULT 0)")
            .arg(decl.join(QStringLiteral(", "))),
        QStringLiteral("CREATE INDEX \"Sum_codec by key\" ON \"Sum_codec\"(\"ID\", %1)").arg(cols),
        QStringLiteral("CREATE TRIGGER \"Sum_codec_insert\" AFTER INSERT ON \"Серии\" BEGIN %1END")
            .arg(codecChange(QStringLiteral("new"), true)),
        QStringLiteral("CREATE TRIGGER \"Sum_codec_delete\" AFTER DELETE ON \"Серии\" BEGIN %1END")
            .arg(codecChange(QStringLiteral("old"), false)),
        QStringLiteral("CREATE TRIGGER \"Sum_codec_update\" AFTER UPDATE OF \"Название\", %1 ON \"Серии\" "
                       "BEGIN %2%3END")
            .arg(cols, codecChange(QStringLiteral("old"), false), codecChange(QStringLiteral("new"), true)),
    };
}

QStringList codecSumTriggerDrops() {
    QStringList out;
    for (const char *t : {"Sum_codec_insert", "Sum_codec_delete", "Sum_codec_update"})
        out << QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(QString::fromUtf8(t));
    return out;
}

namespace {

const QString kMonthOf = QStringLiteral("substr(%1.\"Update\", 1, 7)");

QString codecMonthChange(const QString &r, bool add) {
    const QString match =
        QStringLiteral("\"ID\" = %1.\"Название\" AND \"Video_Codec_id\" IS %1.\"Video_Codec_id\" "
                       "AND \"Month\" IS %2")
            .arg(r, kMonthOf.arg(r));
    const QString amounts = QStringLiteral("\"Count\" = \"Count\" %1 1, \"Size\" = \"Size\" %1 "
                                           "coalesce(%2.\"Объём (байт)\", 0.0)")
                                .arg(add ? QStringLiteral("+") : QStringLiteral("-"), r);
    if (!add)
        return QStringLiteral("UPDATE \"Sum_codec_month\" SET %1 WHERE %2; "
                              "DELETE FROM \"Sum_codec_month\" WHERE %2 AND \"Count\" <= 0; ")
            .arg(amounts, match);
    return QStringLiteral("INSERT INTO \"Sum_codec_month\"(\"ID\", \"Video_Codec_id\", \"Month\") SELECT "
                          "%1.\"Название\", %1.\"Video_Codec_id\", %2 WHERE %1.\"Название\" IS NOT NULL AND "
                          "NOT EXISTS (SELECT 1 FROM \"Sum_codec_month\" WHERE %3); "
                          "UPDATE \"Sum_codec_month\" SET %4 WHERE %3; ")
        .arg(r, kMonthOf.arg(r), match, amounts);
}

} // namespace

QStringList codecMonthSumTriggerNames() {
    return {QStringLiteral("Sum_codec_month_insert"), QStringLiteral("Sum_codec_month_delete"),
            QStringLiteral("Sum_codec_month_update")};
}

QStringList codecMonthSumStatements() {
    const QStringList t = codecMonthSumTriggerNames();
    return {
        // Month: the first seven characters of the stored time ("2025-12"), NULL when none is stored.
        QStringLiteral(
            "CREATE TABLE \"Sum_codec_month\" (\"ID\" INTEGER NOT NULL, \"Video_Codec_id\" INTEGER, "
            "\"Month\" TEXT, \"Count\" INTEGER NOT NULL DEFAULT 0, \"Size\" REAL NOT NULL DEFAULT 0.0)"),
        QStringLiteral("CREATE INDEX \"Sum_codec_month by key\" ON \"Sum_codec_month\"(\"ID\", "
                       "\"Video_Codec_id\", \"Month\")"),
        QStringLiteral("CREATE TRIGGER \"%1\" AFTER INSERT ON \"Серии\" BEGIN %2END")
            .arg(t[0], codecMonthChange(QStringLiteral("new"), true)),
        QStringLiteral("CREATE TRIGGER \"%1\" AFTER DELETE ON \"Серии\" BEGIN %2END")
            .arg(t[1], codecMonthChange(QStringLiteral("old"), false)),
        QStringLiteral("CREATE TRIGGER \"%1\" AFTER UPDATE OF \"Название\", \"Video_Codec_id\", "
                       "\"Объём (байт)\", \"Update\" ON \"Серии\" BEGIN %2%3END")
            .arg(t[2], codecMonthChange(QStringLiteral("old"), false),
                 codecMonthChange(QStringLiteral("new"), true)),
    };
}

QStringList codecMonthSumFillStatements() {
    return {
        QStringLiteral("DELETE FROM \"Sum_codec_month\""),
        QStringLiteral("INSERT INTO \"Sum_codec_month\"(\"ID\", \"Video_Codec_id\", \"Month\", \"Count\", "
                       "\"Size\") SELECT \"Название\", \"Video_Codec_id\", %1, count(*), "
                       "total(\"Объём (байт)\") FROM \"Серии\" WHERE \"Название\" IS NOT NULL GROUP BY "
                       "\"Название\", \"Video_Codec_id\", %1")
            .arg(kMonthOf.arg(QStringLiteral("\"Серии\"")))};
}

namespace {

// The title of a location's episode, for the location row `r`; NULL once the episode is gone (its
// share left with it, before it went).
QString titleOfLocation(const QString &r) {
    return QStringLiteral("(SELECT e.\"Название\" FROM \"Серии\" e WHERE e.\"ID\" = %1.\"Episode\")").arg(r);
}

// One location row `r` added to or taken from its title's sums on its volume.
QString volumeChange(const QString &r, bool add) {
    const QString title = titleOfLocation(r);
    const QString match = QStringLiteral("\"ID\" = %1 AND \"Volume\" = %2.\"Volume\"").arg(title, r);
    const QString amounts =
        QStringLiteral("\"Count\" = \"Count\" %1 1, \"Size\" = \"Size\" %1 coalesce(%2.\"Size\", 0)")
            .arg(add ? QStringLiteral("+") : QStringLiteral("-"), r);
    if (!add)
        return QStringLiteral("UPDATE \"Sum_volume\" SET %1 WHERE %2; "
                              "DELETE FROM \"Sum_volume\" WHERE %2 AND \"Count\" <= 0; ")
            .arg(amounts, match);
    return QStringLiteral(
               "INSERT INTO \"Sum_volume\"(\"ID\", \"Volume\") SELECT %1, %2.\"Volume\" WHERE %1 IS NOT "
               "NULL AND NOT EXISTS (SELECT 1 FROM \"Sum_volume\" WHERE %3); "
               "UPDATE \"Sum_volume\" SET %4 WHERE %3; ")
        .arg(title, r, match, amounts);
}

// All locations of the episode row `r` ("old" or "new") added to or taken from the title it names.
QString episodeVolumesChange(const QString &r, bool add) {
    const QString of =
        QStringLiteral("FROM \"Location\" l WHERE l.\"Episode\" = %1.\"ID\" AND l.\"Volume\" = "
                       "\"Sum_volume\".\"Volume\"")
            .arg(r);
    const QString sign = add ? QStringLiteral("+") : QStringLiteral("-");
    const QString where = QStringLiteral("\"ID\" = %1.\"Название\" AND \"Volume\" IN (SELECT \"Volume\" FROM "
                                         "\"Location\" WHERE \"Episode\" = %1.\"ID\")")
                              .arg(r);
    QString sql;
    if (add)
        sql += QStringLiteral(
                   "INSERT INTO \"Sum_volume\"(\"ID\", \"Volume\") SELECT DISTINCT %1.\"Название\", "
                   "l.\"Volume\" FROM \"Location\" l WHERE l.\"Episode\" = %1.\"ID\" AND %1.\"Название\" "
                   "IS NOT NULL AND NOT EXISTS (SELECT 1 FROM \"Sum_volume\" s WHERE s.\"ID\" = "
                   "%1.\"Название\" AND s.\"Volume\" = l.\"Volume\"); ")
                   .arg(r);
    sql +=
        QStringLiteral("UPDATE \"Sum_volume\" SET \"Count\" = \"Count\" %1 (SELECT count(*) %2), \"Size\" = "
                       "\"Size\" %1 (SELECT total(l.\"Size\") %2) WHERE %3; ")
            .arg(sign, of, where);
    if (!add)
        sql +=
            QStringLiteral("DELETE FROM \"Sum_volume\" WHERE \"ID\" = %1.\"Название\" AND \"Count\" <= 0; ")
                .arg(r);
    return sql;
}

} // namespace

QStringList volumeSumTriggerNames() {
    return {QStringLiteral("Sum_volume_insert"), QStringLiteral("Sum_volume_delete"),
            QStringLiteral("Sum_volume_update"), QStringLiteral("Sum_volume_episode_delete"),
            QStringLiteral("Sum_volume_episode_move")};
}

QStringList volumeSumStatements() {
    const QStringList t = volumeSumTriggerNames();
    const QString o = QStringLiteral("old"), n = QStringLiteral("new");
    return {
        QStringLiteral("CREATE TABLE \"Sum_volume\" (\"ID\" INTEGER NOT NULL, \"Volume\" INTEGER NOT NULL, "
                       "\"Count\" INTEGER NOT NULL DEFAULT 0, \"Size\" REAL NOT NULL DEFAULT 0.0)"),
        QStringLiteral("CREATE INDEX \"Sum_volume by key\" ON \"Sum_volume\"(\"ID\", \"Volume\")"),
        QStringLiteral("CREATE TRIGGER \"%1\" AFTER INSERT ON \"Location\" BEGIN %2END")
            .arg(t[0], volumeChange(n, true)),
        QStringLiteral("CREATE TRIGGER \"%1\" AFTER DELETE ON \"Location\" BEGIN %2END")
            .arg(t[1], volumeChange(o, false)),
        QStringLiteral(
            "CREATE TRIGGER \"%1\" AFTER UPDATE OF \"Episode\", \"Volume\", \"Size\" ON \"Location\" "
            "BEGIN %2%3END")
            .arg(t[2], volumeChange(o, false), volumeChange(n, true)),
        // Before: the episode's locations go after it (Location_episode_delete), when its title
        // can no longer be found from them.
        QStringLiteral("CREATE TRIGGER \"%1\" BEFORE DELETE ON \"Серии\" BEGIN %2END")
            .arg(t[3], episodeVolumesChange(o, false)),
        QStringLiteral("CREATE TRIGGER \"%1\" AFTER UPDATE OF \"Название\" ON \"Серии\" BEGIN %2%3END")
            .arg(t[4], episodeVolumesChange(o, false), episodeVolumesChange(n, true)),
    };
}

QStringList volumeSumFillStatements() {
    return {
        QStringLiteral("DELETE FROM \"Sum_volume\""),
        QStringLiteral("INSERT INTO \"Sum_volume\"(\"ID\", \"Volume\", \"Count\", \"Size\") SELECT "
                       "e.\"Название\", l.\"Volume\", count(*), total(l.\"Size\") FROM \"Location\" l JOIN "
                       "\"Серии\" e ON e.\"ID\" = l.\"Episode\" WHERE e.\"Название\" IS NOT NULL GROUP BY "
                       "e.\"Название\", l.\"Volume\"")};
}

QStringList titleOrderStatements() {
    return {
        QStringLiteral("CREATE TABLE \"Sort_title\" (\"ID\" INTEGER PRIMARY KEY, \"Rank\" INTEGER)"),
        QStringLiteral("CREATE INDEX \"Sort_title by rank\" ON \"Sort_title\"(\"Rank\", \"ID\")"),
        QStringLiteral("CREATE TABLE \"Sort_locale\" (\"Name\" TEXT)"),
        QStringLiteral(
            "CREATE TRIGGER \"Sort_title_insert\" AFTER INSERT ON \"Список\" BEGIN INSERT OR REPLACE "
            "INTO \"Sort_title\"(\"ID\", \"Rank\") VALUES (new.\"ID\", NULL); END"),
        QStringLiteral(
            "CREATE TRIGGER \"Sort_title_update\" AFTER UPDATE OF \"Название\", \"ID\" ON \"Список\" "
            "BEGIN DELETE FROM \"Sort_title\" WHERE \"ID\" = old.\"ID\"; INSERT OR REPLACE INTO "
            "\"Sort_title\"(\"ID\", \"Rank\") VALUES (new.\"ID\", NULL); END"),
        QStringLiteral("CREATE TRIGGER \"Sort_title_delete\" AFTER DELETE ON \"Список\" BEGIN DELETE FROM "
                       "\"Sort_title\" WHERE \"ID\" = old.\"ID\"; END"),
    };
}

QStringList titleOrderFillStatements() {
    return {QStringLiteral("DELETE FROM \"Sort_title\""), QStringLiteral("DELETE FROM \"Sort_locale\""),
            QStringLiteral("INSERT INTO \"Sort_title\"(\"ID\") SELECT \"ID\" FROM \"Список\"")};
}

QStringList placeTableNames() {
    return {kVolumes, kLocations, QStringLiteral("Location_hash")};
}

QStringList placeTriggerNames() {
    return {QStringLiteral("Location_episode_delete"), QStringLiteral("Location_hash_delete")};
}

QStringList placeStatements() {
    return {
        // Ident is what the volume is known by: "uuid:…" (the file system's UUID), "source:…" (a
        // network share's server and share) or "label:…" (label and size, for a file system
        // without a UUID). Times are milliseconds since the epoch, UTC.
        QStringLiteral("CREATE TABLE IF NOT EXISTS \"Volume\" (\"ID\" INTEGER PRIMARY KEY, "
                       "\"Ident\" TEXT NOT NULL UNIQUE, \"UUID\" TEXT, \"Label\" TEXT, \"FsType\" TEXT, "
                       "\"Bytes\" INTEGER, \"Name\" TEXT, \"MountPoint\" TEXT, \"LastSeen\" INTEGER, "
                       "\"LastCheck\" INTEGER)"),
        // Path: the file's path below the volume's root, its bytes exactly as the file system has
        // them. MTime in nanoseconds since the epoch. State: present, missing, changed, moved. Seen:
        // when the file was last found, written when its state changes (while it stays present,
        // its volume's LastCheck is later).
        QStringLiteral("CREATE TABLE IF NOT EXISTS \"Location\" (\"ID\" INTEGER PRIMARY KEY, "
                       "\"Episode\" INTEGER NOT NULL, \"Volume\" INTEGER NOT NULL REFERENCES "
                       "\"Volume\"(\"ID\") ON DELETE CASCADE, \"Path\" BLOB NOT NULL, \"Size\" INTEGER, "
                       "\"MTime\" INTEGER, \"Seen\" INTEGER, \"State\" TEXT NOT NULL DEFAULT 'present', "
                       "UNIQUE(\"Volume\", \"Path\"))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Location by episode\" ON \"Location\"(\"Episode\")"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS \"Location by size\" ON \"Location\"(\"Volume\", \"Size\")"),
        // A trigger, not a foreign key: writers that do not turn foreign keys on delete episodes too.
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS \"Location_episode_delete\" AFTER DELETE ON \"Серии\" "
                       "BEGIN DELETE FROM \"Location\" WHERE \"Episode\" = old.\"ID\"; END"),
        // A location's digests, of the state of the file (Size, MTime) they were read from: CRC32
        // as a number, ED2K 16 bytes. Hashed and Verified: when read, when last read again; Changed:
        // the last reading differed from the digest, which stays as the file was.
        QStringLiteral("CREATE TABLE IF NOT EXISTS \"Location_hash\" (\"Location\" INTEGER PRIMARY KEY, "
                       "\"Size\" INTEGER NOT NULL, \"MTime\" INTEGER NOT NULL, \"CRC32\" INTEGER NOT NULL, "
                       "\"ED2K\" BLOB NOT NULL, \"Hashed\" INTEGER, \"Verified\" INTEGER, "
                       "\"Changed\" INTEGER NOT NULL DEFAULT 0)"),
        // Duplicates are the groups of this index.
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS \"Location_hash by digest\" ON \"Location_hash\"(\"ED2K\", "
            "\"Size\")"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS \"Location_hash_delete\" AFTER DELETE ON \"Location\" "
                       "BEGIN DELETE FROM \"Location_hash\" WHERE \"Location\" = old.\"ID\"; END"),
    };
}

QStringList codecSumFillStatements() {
    const QString cols = codecColumns();
    return {QStringLiteral("DELETE FROM \"Sum_codec\""),
            QStringLiteral("INSERT INTO \"Sum_codec\"(\"ID\", %1, \"Count\") SELECT \"Название\", %1, "
                           "count(*) FROM \"Серии\" WHERE \"Название\" IS NOT NULL GROUP BY \"Название\", %1")
                .arg(cols)};
}

QStringList seedStatements() {
    return {
        QStringLiteral("PRAGMA application_id = 1447317809"),
        QStringLiteral("PRAGMA user_version = 1"),
        createTable(kTypes),
        createTable(kLanguages),
        createTable(kCodecs),
        createTable(kFormats),
        createTable(kTitles),
        createTable(kEpisodes),
        QStringLiteral("CREATE INDEX \"Серии by title\" ON \"Серии\"(\"Название\")"),
        createTable(kAltNames),
        QStringLiteral("CREATE INDEX \"Alt_Ani_Name by title\" ON \"Alt_Ani_Name\"(\"Название_id\")"),
        QStringLiteral("CREATE VIEW \"Rjk\" AS SELECT s.\"ID\" AS \"ID\", "
                       "SUM(e.\"Объём (байт)\") AS \"Sum-Объём(байт)\", "
                       "SUM(e.\"Длительность\") AS \"Sum-Длительность\", s.\"Название\" AS \"Название\" "
                       "FROM \"Список\" s JOIN \"Серии\" e ON e.\"Название\" = s.\"ID\" GROUP BY s.\"ID\""),
        QStringLiteral(
            "CREATE VIEW \"Ext\" AS SELECT s.\"ID\" AS \"ID\", s.\"Название\" AS \"Название\", "
            "s.\"Количество серий\" AS \"Количество серий\", s.\"Комментарий\" AS \"Комментарий\", "
            "s.\"NType\" AS \"NType\", e.\"Ширина\" AS \"Ширина\", e.\"Высота\" AS \"Высота\", "
            "e.\"Звук\" AS \"Звук\", e.\"Субтитры встроенные\" AS \"Субтитры встроенные\", "
            "e.\"Субтитры внешние\" AS \"Субтитры внешние\", "
            "SUM(e.\"Объём (байт)\") AS \"Sum-Объём(байт)\", "
            "SUM(e.\"Длительность\") AS \"Sum-Длительность\" "
            "FROM \"Список\" s JOIN \"Серии\" e ON e.\"Название\" = s.\"ID\" "
            "GROUP BY s.\"ID\", e.\"Ширина\", e.\"Высота\", e.\"Звук\", e.\"Субтитры встроенные\", "
            "e.\"Субтитры внешние\""),
        QStringLiteral("CREATE VIEW \"All t\" AS SELECT SUM(\"Длительность\") AS \"Long\", "
                       "SUM(\"Объём (байт)\") AS \"Size\" FROM \"Серии\""),
        QStringLiteral(
            "CREATE VIEW \"Up_time\" AS SELECT s.\"ID\" AS \"ID\", MAX(e.\"Update\") AS \"Max-Update\", "
            "s.\"Название\" AS \"Название\" "
            "FROM \"Список\" s JOIN \"Серии\" e ON e.\"Название\" = s.\"ID\" GROUP BY s.\"ID\""),
    };
}

namespace {

const char *const kExtKeys[] = {"Ширина", "Высота", "Звук", "Субтитры встроенные", "Субтитры внешние"};

// Statements that add the episode row `r` ("new" or "old") to the sums, or take it out of them.
QString sumChange(const QString &r, bool add) {
    const QString sign = add ? QStringLiteral("+") : QStringLiteral("-");
    const QString amounts = QStringLiteral("\"Count\" = \"Count\" %1 1, "
                                           "\"Size\" = \"Size\" %1 coalesce(%2.\"Объём (байт)\", 0.0), "
                                           "\"Size_n\" = \"Size_n\" %1 (%2.\"Объём (байт)\" IS NOT NULL), "
                                           "\"Long\" = \"Long\" %1 coalesce(%2.\"Длительность\", 0), "
                                           "\"Long_n\" = \"Long_n\" %1 (%2.\"Длительность\" IS NOT NULL)")
                                .arg(sign, r);
    QStringList extMatch{QStringLiteral("\"ID\" = %1.\"Название\"").arg(r)};
    QStringList extCols, extValues;
    for (const char *k : kExtKeys) {
        const QString c = QString::fromUtf8(k);
        extMatch << QStringLiteral("\"%1\" IS %2.\"%1\"").arg(c, r);
        extCols << QStringLiteral("\"%1\"").arg(c);
        extValues << QStringLiteral("%1.\"%2\"").arg(r, c);
    }
    const QString extWhere = extMatch.join(QStringLiteral(" AND "));
    QString sql;
    if (add) {
        sql += QStringLiteral("INSERT OR IGNORE INTO \"Sum_title\"(\"ID\") SELECT %1.\"Название\" "
                              "WHERE %1.\"Название\" IS NOT NULL; ")
                   .arg(r);
        sql += QStringLiteral("UPDATE \"Sum_title\" SET %1, \"Max-Update\" = CASE WHEN %2.\"Update\" IS NOT "
                              "NULL AND (\"Max-Update\" IS NULL OR %2.\"Update\" > \"Max-Update\") THEN "
                              "%2.\"Update\" ELSE \"Max-Update\" END WHERE \"ID\" = %2.\"Название\"; ")
                   .arg(amounts, r);
        sql +=
            QStringLiteral(
                "INSERT INTO \"Sum_ext\"(\"ID\", %1) SELECT %2.\"Название\", %3 WHERE "
                "%2.\"Название\" IS NOT NULL AND NOT EXISTS (SELECT 1 FROM \"Sum_ext\" WHERE %4); ")
                .arg(extCols.join(QStringLiteral(", ")), r, extValues.join(QStringLiteral(", ")), extWhere);
        sql += QStringLiteral("UPDATE \"Sum_ext\" SET %1 WHERE %2; ").arg(amounts, extWhere);
        sql += QStringLiteral("UPDATE \"Sum_all\" SET %1; ").arg(amounts);
    } else {
        // The latest change is looked up again (through the index) only when the row taken out held it.
        sql += QStringLiteral("UPDATE \"Sum_title\" SET %1, \"Max-Update\" = CASE WHEN %2.\"Update\" IS NOT "
                              "NULL AND %2.\"Update\" >= \"Max-Update\" THEN (SELECT max(e.\"Update\") FROM "
                              "\"Серии\" e WHERE e.\"Название\" = %2.\"Название\") ELSE \"Max-Update\" END "
                              "WHERE \"ID\" = %2.\"Название\"; ")
                   .arg(amounts, r);
        sql += QStringLiteral("DELETE FROM \"Sum_title\" WHERE \"ID\" = %1.\"Название\" AND \"Count\" <= 0; ")
                   .arg(r);
        sql += QStringLiteral("UPDATE \"Sum_ext\" SET %1 WHERE %2; ").arg(amounts, extWhere);
        sql += QStringLiteral("DELETE FROM \"Sum_ext\" WHERE %1 AND \"Count\" <= 0; ").arg(extWhere);
        sql += QStringLiteral("UPDATE \"Sum_all\" SET %1; ").arg(amounts);
        // An empty catalog starts again from exact zeros, whatever rounding the sums gathered.
        sql += QStringLiteral("UPDATE \"Sum_all\" SET \"Size\" = 0.0, \"Long\" = 0 WHERE \"Count\" = 0; ");
    }
    return sql;
}

const QString kAmountColumns =
    QStringLiteral("\"Count\" INTEGER NOT NULL DEFAULT 0, \"Size\" REAL NOT NULL DEFAULT 0.0, "
                   "\"Size_n\" INTEGER NOT NULL DEFAULT 0, \"Long\" NUMERIC NOT NULL DEFAULT 0, "
                   "\"Long_n\" INTEGER NOT NULL DEFAULT 0");

} // namespace

QStringList sumTableNames() {
    return {kTitleSums, kExtSums, kAllSums};
}

QStringList sumStatements() {
    QStringList extCols;
    for (const char *k : kExtKeys)
        extCols << QStringLiteral("\"%1\" INTEGER").arg(QString::fromUtf8(k));
    QStringList summed;
    for (const char *c : {"Название", "Объём (байт)", "Длительность", "Update"})
        summed << QStringLiteral("\"%1\"").arg(QString::fromUtf8(c));
    for (const char *k : kExtKeys)
        summed << QStringLiteral("\"%1\"").arg(QString::fromUtf8(k));
    return {
        QStringLiteral("CREATE TABLE \"Sum_title\" (\"ID\" INTEGER PRIMARY KEY, %1, \"Max-Update\" TEXT)")
            .arg(kAmountColumns),
        QStringLiteral("CREATE TABLE \"Sum_ext\" (\"ID\" INTEGER NOT NULL, %1, %2)")
            .arg(extCols.join(QStringLiteral(", ")), kAmountColumns),
        QStringLiteral("CREATE INDEX \"Sum_ext by key\" ON \"Sum_ext\"(\"ID\", \"Ширина\", \"Высота\", "
                       "\"Звук\", \"Субтитры встроенные\", \"Субтитры внешние\")"),
        QStringLiteral("CREATE TABLE \"Sum_all\" (\"ID\" INTEGER PRIMARY KEY CHECK(\"ID\" = 1), %1)")
            .arg(kAmountColumns),
        QStringLiteral("INSERT INTO \"Sum_all\"(\"ID\") VALUES (1)"),
        // The latest change of a title is found again from this index when the row that held it goes.
        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Серии by title and update\" ON \"Серии\"(\"Название\", "
                       "\"Update\")"),
        QStringLiteral("DROP TRIGGER IF EXISTS \"Sum_insert\""),
        QStringLiteral("DROP TRIGGER IF EXISTS \"Sum_delete\""),
        QStringLiteral("DROP TRIGGER IF EXISTS \"Sum_update\""),
        QStringLiteral("CREATE TRIGGER \"Sum_insert\" AFTER INSERT ON \"Серии\" BEGIN %1END")
            .arg(sumChange(QStringLiteral("new"), true)),
        QStringLiteral("CREATE TRIGGER \"Sum_delete\" AFTER DELETE ON \"Серии\" BEGIN %1END")
            .arg(sumChange(QStringLiteral("old"), false)),
        QStringLiteral("CREATE TRIGGER \"Sum_update\" AFTER UPDATE OF %1 ON \"Серии\" BEGIN %2%3END")
            .arg(summed.join(QStringLiteral(", ")), sumChange(QStringLiteral("old"), false),
                 sumChange(QStringLiteral("new"), true)),
    };
}

QStringList sumFillStatements() {
    QStringList keys;
    for (const char *k : kExtKeys)
        keys << QStringLiteral("\"%1\"").arg(QString::fromUtf8(k));
    const QString amounts =
        QStringLiteral("count(*), total(\"Объём (байт)\"), count(\"Объём (байт)\"), total(\"Длительность\"), "
                       "count(\"Длительность\")");
    const QString cols = QStringLiteral("\"Count\", \"Size\", \"Size_n\", \"Long\", \"Long_n\"");
    return {
        QStringLiteral("DELETE FROM \"Sum_title\""),
        QStringLiteral("DELETE FROM \"Sum_ext\""),
        QStringLiteral("INSERT INTO \"Sum_title\"(\"ID\", %1, \"Max-Update\") SELECT \"Название\", %2, "
                       "max(\"Update\") FROM \"Серии\" WHERE \"Название\" IS NOT NULL GROUP BY \"Название\"")
            .arg(cols, amounts),
        QStringLiteral("INSERT INTO \"Sum_ext\"(\"ID\", %1, %2) SELECT \"Название\", %1, %3 FROM \"Серии\" "
                       "WHERE \"Название\" IS NOT NULL GROUP BY \"Название\", %1")
            .arg(keys.join(QStringLiteral(", ")), cols, amounts),
        QStringLiteral("UPDATE \"Sum_all\" SET (%1) = (SELECT %2 FROM \"Серии\")").arg(cols, amounts),
    };
}

QStringList requiredColumns(const QString &t) {
    if (t == kRjk)
        return {QStringLiteral("ID"), QStringLiteral("Sum-Объём(байт)"), QStringLiteral("Sum-Длительность")};
    if (t == kExt)
        return {QStringLiteral("ID"),
                QStringLiteral("Ширина"),
                QStringLiteral("Высота"),
                QStringLiteral("Звук"),
                QStringLiteral("Субтитры встроенные"),
                QStringLiteral("Субтитры внешние")};
    if (t == kAllT)
        return {QStringLiteral("Long"), QStringLiteral("Size")};
    if (t == kUpTime)
        return {QStringLiteral("ID"), QStringLiteral("Max-Update")};
    if (t == kTitleSums)
        return {QStringLiteral("ID"),        QStringLiteral("Count"), QStringLiteral("Size"),
                QStringLiteral("Size_n"),    QStringLiteral("Long"),  QStringLiteral("Long_n"),
                QStringLiteral("Max-Update")};
    if (t == kExtSums) {
        QStringList c = requiredColumns(kExt);
        c << QStringLiteral("Count") << QStringLiteral("Size") << QStringLiteral("Size_n")
          << QStringLiteral("Long") << QStringLiteral("Long_n");
        return c;
    }
    if (t == kCodecSums) {
        QStringList c{QStringLiteral("ID")};
        for (const auto &i : kFilterIndexed)
            c << QString::fromUtf8(i[1]);
        return c << QStringLiteral("Count");
    }
    if (t == kCodecMonthSums)
        return {QStringLiteral("ID"), QStringLiteral("Video_Codec_id"), QStringLiteral("Month"),
                QStringLiteral("Count"), QStringLiteral("Size")};
    if (t == kVolumeSums)
        return {QStringLiteral("ID"), QStringLiteral("Volume"), QStringLiteral("Count"),
                QStringLiteral("Size")};
    if (t == kAllSums)
        return {QStringLiteral("Count"), QStringLiteral("Size"), QStringLiteral("Size_n"),
                QStringLiteral("Long"), QStringLiteral("Long_n")};
    QStringList c;
    for (const ColumnSpec &spec : columnSpecs(t))
        if (spec.since == 1)
            c << QString::fromUtf8(spec.name);
    return c;
}

QStringList starterRowStatements() {
    return {
        QStringLiteral(
            "INSERT INTO \"Тип\"(\"ID\", \"Тип\") VALUES (1, 'OVA'), (2, 'Movie'), (3, 'TV'), (4, 'Other')"),
        // Keys 0, 1 and 2 are what the intake page preselects for sound, embedded and external subtitles.
        QStringLiteral(
            "INSERT INTO \"Sub\"(\"ID\", \"Язык\") VALUES (0, 'Японский'), (1, 'Русский'), (2, 'Нет'), "
            "(3, 'Английский'), (4, 'Рус+Англ'), (5, 'Рус+Яп'), (6, 'Китайский'), (7, 'Корейский')"),
    };
}

} // namespace vq::schema
