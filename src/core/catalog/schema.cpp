#include "schema.h"

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

std::vector<ColumnDef> tableColumns(const QString &t) {
    using F = FieldType;
    if (t == kTitles)
        return {{QStringLiteral("ID"), F::Integer},
                {QStringLiteral("Название"), F::Text},
                {QStringLiteral("Количество серий"), F::Text},
                {QStringLiteral("Комментарий"), F::Text},
                {QStringLiteral("NType"), F::Integer}};
    if (t == kEpisodes)
        return {{QStringLiteral("ID"), F::Integer},
                {QStringLiteral("Название"), F::Integer},
                {QStringLiteral("Серия"), F::Text},
                {QStringLiteral("Объём (байт)"), F::Float},
                {QStringLiteral("Ширина"), F::Integer},
                {QStringLiteral("Высота"), F::Integer},
                {QStringLiteral("Длительность"), F::Integer},
                {QStringLiteral("Звук"), F::Integer},
                {QStringLiteral("Субтитры встроенные"), F::Integer},
                {QStringLiteral("Субтитры внешние"), F::Integer},
                {QStringLiteral("Video_Codec_id"), F::Integer},
                {QStringLiteral("Audio_Codec_id"), F::Integer},
                {QStringLiteral("O_Bitrate"), F::Integer},
                {QStringLiteral("V_Bitrate"), F::Integer},
                {QStringLiteral("A_Bitrate"), F::Integer},
                {QStringLiteral("A_Hz"), F::Integer},
                {QStringLiteral("Format_Pack_id"), F::Integer},
                {QStringLiteral("Audio_Stream_Count"), F::Integer},
                {QStringLiteral("Update"), F::DateTime}};
    if (t == kTypes)
        return {{QStringLiteral("ID"), F::Integer}, {QStringLiteral("Тип"), F::Text}};
    if (t == kLanguages)
        return {{QStringLiteral("ID"), F::Integer}, {QStringLiteral("Язык"), F::Text}};
    if (t == kCodecs || t == kFormats)
        return {{QStringLiteral("ID"), F::Integer}, {QStringLiteral("Name"), F::Text}};
    if (t == kAltNames)
        return {{QStringLiteral("ID"), F::Integer},
                {QStringLiteral("Название_id"), F::Integer},
                {QStringLiteral("Альтернативное Название"), F::Text}};
    return {};
}

int tableRefColumn(const QString &t) {
    if (t == kEpisodes || t == kAltNames)
        return 1;
    return -1;
}

QStringList createStatements() {
    const QString len = QStringLiteral(" CHECK(length(%1) <= 255)");
    auto text = [&](const char *col) {
        return QStringLiteral("\"%1\" TEXT").arg(QString::fromUtf8(col)) +
               len.arg(QStringLiteral("\"%1\"").arg(QString::fromUtf8(col)));
    };
    return {
        QStringLiteral("PRAGMA application_id = 1447317809"),
        QStringLiteral("PRAGMA user_version = 1"),
        QStringLiteral("CREATE TABLE \"Тип\" (\"ID\" INTEGER PRIMARY KEY, %1)").arg(text("Тип")),
        QStringLiteral("CREATE TABLE \"Sub\" (\"ID\" INTEGER PRIMARY KEY, %1)").arg(text("Язык")),
        QStringLiteral("CREATE TABLE \"Codec\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, %1)")
            .arg(text("Name")),
        QStringLiteral("CREATE TABLE \"Format\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, %1)")
            .arg(text("Name")),
        QStringLiteral("CREATE TABLE \"Список\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, %1, %2, %3, "
                       "\"NType\" INTEGER NOT NULL DEFAULT 0 CHECK(\"NType\" BETWEEN 0 AND 65535))")
            .arg(text("Название"), text("Количество серий"), text("Комментарий")),
        QStringLiteral(
            "CREATE TABLE \"Серии\" ("
            "\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, "
            "\"Название\" INTEGER NOT NULL REFERENCES \"Список\"(\"ID\") ON DELETE CASCADE, "
            "%1, \"Объём (байт)\" REAL, \"Ширина\" INTEGER, \"Высота\" INTEGER, "
            "\"Длительность\" INTEGER, \"Звук\" INTEGER, \"Субтитры встроенные\" INTEGER, "
            "\"Субтитры внешние\" INTEGER, \"Video_Codec_id\" INTEGER, \"Audio_Codec_id\" INTEGER, "
            "\"O_Bitrate\" INTEGER, \"V_Bitrate\" INTEGER, \"A_Bitrate\" INTEGER, \"A_Hz\" INTEGER, "
            "\"Format_Pack_id\" INTEGER, \"Audio_Stream_Count\" INTEGER, \"Update\" TEXT)")
            .arg(text("Серия")),
        QStringLiteral("CREATE INDEX \"Серии by title\" ON \"Серии\"(\"Название\")"),
        QStringLiteral("CREATE TABLE \"Alt_Ani_Name\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "\"Название_id\" INTEGER REFERENCES \"Список\"(\"ID\") ON DELETE CASCADE, %1)")
            .arg(text("Альтернативное Название")),
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
