// Catalogs as each earlier version of the program made them open and come up to this version; a
// read-only one is read as it is, and one of a later version is refused untouched.
#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/schema.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vq;

namespace {

void run(const QString &path, const QStringList &statements) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    for (const QString &sql : statements)
        ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sql.toStdString() << ": " << sqlite3_errmsg(db);
    sqlite3_close(db);
}

QString one(const QString &path, const QString &sql) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    QString out;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

// Three titles, five episodes: written while the file had whatever triggers its version had.
const QStringList kRows = {
    QStringLiteral("INSERT INTO \"Список\"(\"ID\", \"Название\", \"NType\") VALUES (1, 'Akira', 2), "
                   "(2, 'Bebop', 3), (3, 'Empty', 4)"),
    QStringLiteral("INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\", \"Длительность\", "
                   "\"Ширина\", \"Высота\", \"Video_Codec_id\", \"Update\") VALUES "
                   "(1, '[Grp] Akira - 10v2.mkv', 100, 10, 640, 480, 1, '2026-01-01 10:00:00.000'), "
                   "(1, 'Akira - NCOP 1.mkv', 200, 20, 720, 480, 1, '2026-02-01 10:00:00.000'), "
                   "(2, 'b1.mkv', 300, 30, 640, 480, 2, '2026-03-01 10:00:00.000'), "
                   "(2, 'b2.mkv', 400, 40, 640, 480, 2, NULL), (2, 'b3.mkv', 500, NULL, 640, 480, 2, NULL)"),
};

struct Earlier {
    const char *what;
    QStringList (*make)();
};

// A file with volumes and locations but no digests of files (versions 4 and 5).
QStringList withPlaces(int version) {
    QStringList places = schema::placeStatements();
    places.removeIf([](const QString &sql) { return sql.contains(QLatin1String("Location_hash")); });
    return schema::seedStatements() + schema::sumStatements() + schema::filterIndexStatements() +
           schema::codecSumStatements() + schema::titleOrderStatements() + places +
           (version >= 5 ? QStringList{"ALTER TABLE \"Серии\" ADD COLUMN \"Number\" REAL",
                                       "ALTER TABLE \"Серии\" ADD COLUMN \"Number_last\" REAL",
                                       "ALTER TABLE \"Серии\" ADD COLUMN \"Kind\" INTEGER",
                                       "ALTER TABLE \"Серии\" ADD COLUMN \"Version\" INTEGER",
                                       "ALTER TABLE \"Серии\" ADD COLUMN \"Release_group\" TEXT"}
                         : QStringList()) +
           QStringList{QStringLiteral("PRAGMA user_version = %1").arg(version)} + kRows;
}

// The statements each earlier version ran to make its files (the seed's own part is unchanged).
const Earlier kEarlier[] = {
    {"first version, no kept sums", [] { return schema::seedStatements() + kRows; }},
    {"kept sums, no filter indexes",
     [] {
         return schema::seedStatements() + schema::sumStatements() + QStringList{"PRAGMA user_version = 2"} +
                kRows;
     }},
    {"filter indexes, no codec sums",
     [] {
         return schema::seedStatements() + schema::sumStatements() + schema::filterIndexStatements() +
                QStringList{"PRAGMA user_version = 2"} + kRows;
     }},
    {"codec sums (also what conversions made)",
     [] {
         return schema::seedStatements() + schema::sumStatements() + schema::filterIndexStatements() +
                schema::codecSumStatements() + QStringList{"PRAGMA user_version = 2"} + kRows;
     }},
    {"version 3, no locations",
     [] {
         return schema::seedStatements() + schema::sumStatements() + schema::filterIndexStatements() +
                schema::codecSumStatements() + schema::titleOrderStatements() +
                QStringList{"PRAGMA user_version = 3"} + kRows;
     }},
    {"version 4, no episode numbers", [] { return withPlaces(4); }},
    {"version 5, no digests nor sums per codec and month", [] { return withPlaces(5); }},
    {"version 2 whose sums another program dropped",
     [] { return schema::seedStatements() + QStringList{"PRAGMA user_version = 2"} + kRows; }},
};

QString earlierFile(const QTemporaryDir &dir, const Earlier &e) {
    const QString path = QDir(dir.path()).filePath(QString::fromUtf8(e.what) + QStringLiteral(".vdq"));
    QStringList sql{QStringLiteral("PRAGMA journal_mode = DELETE")};
    run(path, sql + e.make());
    return path;
}

// What the kept sums say, as one line per title and the totals.
QString sumsOf(const QString &path) {
    return one(path,
               QStringLiteral("SELECT group_concat(x, ' | ') FROM (SELECT \"ID\" || ':' || \"Count\" || ':' "
                              "|| \"Size\" || ':' || \"Long\" || ':' || ifnull(\"Max-Update\", '-') AS x "
                              "FROM \"Sum_title\" ORDER BY \"ID\")")) +
           QStringLiteral(" / ") +
           one(path,
               QStringLiteral("SELECT \"Count\" || ':' || \"Size\" || ':' || \"Long\" FROM \"Sum_all\"")) +
           QStringLiteral(" / ") + one(path, QStringLiteral("SELECT count(*) FROM \"Sum_ext\"")) +
           QStringLiteral(" / ") +
           one(path,
               QStringLiteral("SELECT group_concat(\"ID\" || ':' || \"Video_Codec_id\" || ':' || \"Count\") "
                              "FROM \"Sum_codec\"")) +
           QStringLiteral(" / ") +
           one(path, QStringLiteral(
                         "SELECT group_concat(x) FROM (SELECT \"ID\" || ':' || \"Video_Codec_id\" || ':' "
                         "|| ifnull(\"Month\", '-') || ':' || \"Count\" || ':' || \"Size\" AS x FROM "
                         "\"Sum_codec_month\" ORDER BY \"ID\", \"Month\")"));
}

const QString kExpectedSums = QStringLiteral("1:2:300.0:30:2026-02-01 10:00:00.000 | "
                                             "2:3:1200.0:70:2026-03-01 10:00:00.000 / 5:1500.0:100 / 3 / "
                                             "1:1:2,2:2:3 / 1:1:2026-01:1:100.0,1:1:2026-02:1:200.0,"
                                             "2:2:-:2:900.0,2:2:2026-03:1:300.0");

} // namespace

TEST(CatalogUpgrade, EveryEarlierFileOpensUpgradedWithItsData) {
    QTemporaryDir dir;
    for (const Earlier &e : kEarlier) {
        SCOPED_TRACE(e.what);
        const QString path = earlierFile(dir, e);
        {
            Catalog c(path);
            EXPECT_EQ(c.schemaVersion(), schema::kSchemaVersion);
            EXPECT_TRUE(c.hasSums());
            EXPECT_TRUE(c.hasCodecSums());
            EXPECT_EQ(c.titleCount(), 3);
            EXPECT_EQ(c.episodeCount(), 5);
        }
        EXPECT_EQ(one(path, QStringLiteral("PRAGMA user_version")), QString::number(schema::kSchemaVersion));
        EXPECT_EQ(sumsOf(path), kExpectedSums);
        EXPECT_EQ(one(path, QStringLiteral(
                                "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN "
                                "('Серии by name', 'Серии by video codec', 'Серии by title and update')")),
                  QStringLiteral("3"));
        // Episodes stored before get what their names say.
        EXPECT_EQ(
            one(path, QStringLiteral("SELECT group_concat(ifnull(\"Number\", '-') || ':' || \"Kind\" || ':' "
                                     "|| ifnull(\"Version\", '-') || ':' || ifnull(\"Release_group\", '-'), "
                                     "' ') FROM (SELECT * FROM \"Серии\" ORDER BY \"ID\")")),
            QStringLiteral("10.0:1:2:Grp 1.0:5:-:- -:0:-:- -:0:-:- -:0:-:-"));
        // The triggers are in place: another writer's episode is summed.
        run(path, {QStringLiteral("INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\") "
                                  "VALUES (3, 'e1.mkv', 7)")});
        EXPECT_EQ(one(path, QStringLiteral("SELECT \"Count\" || ':' || \"Size\" FROM \"Sum_all\"")),
                  QStringLiteral("6:1507.0"));
        // An episode another writer deletes takes its locations with it.
        run(path, {QStringLiteral("INSERT INTO \"Volume\"(\"Ident\") VALUES ('uuid:x')"),
                   QStringLiteral("INSERT INTO \"Location\"(\"Episode\", \"Volume\", \"Path\") "
                                  "SELECT max(\"ID\"), 1, 'a.mkv' FROM \"Серии\""),
                   QStringLiteral("DELETE FROM \"Серии\" WHERE \"Серия\" = 'e1.mkv'")});
        EXPECT_EQ(one(path, QStringLiteral("SELECT count(*) FROM \"Location\"")), QStringLiteral("0"));
    }
}

TEST(CatalogUpgrade, ReadOnlyEarlierFileIsReadAsItIs) {
    QTemporaryDir dir;
    for (const Earlier &e : kEarlier) {
        SCOPED_TRACE(e.what);
        const QString path = earlierFile(dir, e);
        const QByteArray before = test::fileBytes(path);
        {
            Catalog c(path, true);
            EXPECT_LT(c.schemaVersion(), schema::kSchemaVersion);
            // Sums where the file keeps none come from the connection's own tables.
            const TitleSums sums = c.titleSums({true, std::nullopt});
            ASSERT_EQ(sums.ids, (std::vector<qint64>{1, 2}));
            EXPECT_EQ(sums.sizeAt(1), 1200.0);
            EXPECT_EQ(sums.durationAt(0), 30.0);
            EXPECT_EQ(sums.combosOf(1).size(), 2u);
            EXPECT_EQ(c.episodeCount(), 5);
            // The digests and sums a file of its version lacks come from the connection's own tables.
            Statement st(c.handle(), QStringLiteral("SELECT count(*) FROM \"Location_hash\""));
            ASSERT_TRUE(st.step());
            EXPECT_EQ(st.text(0), QStringLiteral("0"));
            Statement &months =
                c.statement(QStringLiteral("SELECT total(\"Size\") FROM \"Sum_codec_month\""));
            ASSERT_TRUE(months.step());
            EXPECT_EQ(months.text(0), QStringLiteral("1500.0"));
            months.reset();
        }
        EXPECT_EQ(test::fileBytes(path), before);
    }
}

TEST(CatalogUpgrade, LaterVersionIsRefusedUntouched) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("future.vdq"));
    Catalog::createStarter(path);
    run(path, {QStringLiteral("PRAGMA journal_mode = DELETE"), kRows[0],
               QStringLiteral("PRAGMA user_version = %1").arg(schema::kSchemaVersion + 1)});
    const QByteArray before = test::fileBytes(path);
    for (const bool readOnly : {false, true}) {
        try {
            Catalog c(path, readOnly);
            ADD_FAILURE() << "opened, read-only " << readOnly;
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("более новой версией")))
                << e.message().toStdString();
        }
        EXPECT_EQ(test::fileBytes(path), before);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    }
}
