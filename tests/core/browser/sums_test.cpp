// The sums the file keeps by triggers, read in place of every episode row.
#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/schema.h"
#include "gridview/griddata.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <thread>

using namespace vq;
using vq::test::EpisodeRow;
using vq::test::TempCatalog;
using vq::test::withoutKeptSums;

namespace {

QStringList rowsOf(sqlite3 *db, const QString &sql) {
    sqlite3_stmt *st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    QStringList rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList fields;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const int type = sqlite3_column_type(st, i);
            if (type == SQLITE_NULL)
                fields << QStringLiteral("NULL");
            else if (type == SQLITE_FLOAT || type == SQLITE_INTEGER)
                fields << QString::number(sqlite3_column_double(st, i), 'g', 17);
            else
                fields << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
        }
        rows << fields.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    return rows;
}

// Every row of a data set, fields as text ("NULL" for none), in its order.
QStringList dataSetRows(DataSet &ds, const QStringList &fields) {
    ds.close();
    ds.setFiltered(false);
    ds.open();
    QStringList rows;
    const int n = ds.recordCount();
    for (int r = 1; r <= n; ++r) {
        ds.setRecNo(r);
        QStringList f;
        for (const QString &name : fields) {
            const QVariant v = ds.value(name);
            if (!v.isValid() || v.isNull())
                f << QStringLiteral("NULL");
            else if (v.metaType().id() == QMetaType::QString)
                f << v.toString();
            else if (v.metaType().id() == QMetaType::QDateTime)
                f << naiveMsToStorageText(naiveMsFromDateTime(v.toDateTime()));
            else
                f << QString::number(v.toDouble(), 'g', 17);
        }
        rows << f.join(QLatin1Char('|'));
    }
    return rows;
}

// Every record's summary texts and ID, one line each in the data set's order: as GetExtParam
// gives them, and as a reader visiting the records in stored order gives them.
std::pair<QStringList, QStringList> summaryTwoWays(CatalogSession &s, int parts = 1) {
    auto line = [](const TExportList &t, qint64 id) {
        QStringList f;
        for (int i = 0; i < TExportList::FieldCount; ++i)
            f << t.field(i);
        return (f << QString::number(id)).join(QLatin1Char('|'));
    };
    QStringList expected;
    TExportList texts;
    for (int r = 1; r <= s.Name.recordCount(); ++r) {
        GetExtParam(s, r, texts);
        expected << line(texts, s.Name.asInteger(0));
    }
    std::vector<QString> visited(size_t(expected.size()));
    SummaryReader reader(s);
    std::vector<int> partOf(visited.size(), -1);
    reader.textsInStoredOrder(parts, [&](int part, int recNo, qint64 id, const TExportList &t) {
        QString &l = visited.at(size_t(recNo - 1));
        partOf.at(size_t(recNo - 1)) = part;
        EXPECT_TRUE(l.isEmpty()) << "record " << recNo << " visited twice";
        l = line(t, id);
    });
    // Each part a run of the stored order, the parts in turn: every part used when records allow.
    std::vector<std::pair<int, int>> stored;
    const std::vector<DataSet::RecordKey> keys = s.Name.recordKeys(0);
    for (size_t i = 0; i < partOf.size(); ++i)
        stored.emplace_back(keys.at(i).row, partOf[i]);
    std::sort(stored.begin(), stored.end());
    for (size_t i = 1; i < stored.size(); ++i)
        EXPECT_LE(stored[i - 1].second, stored[i].second) << "parts out of stored order";
    if (!stored.empty()) {
        EXPECT_EQ(stored.back().second, std::min(parts, int(stored.size())) - 1);
    }
    return {expected, QStringList(visited.begin(), visited.end())};
}

QString quotedList(const QStringList &cols) {
    QStringList q;
    for (const QString &c : cols)
        q << QStringLiteral("\"%1\"").arg(c);
    return q.join(QStringLiteral(", "));
}

const QStringList kRjk = {QStringLiteral("ID"), QStringLiteral("Sum-Объём(байт)"),
                          QStringLiteral("Sum-Длительность"), QStringLiteral("Название")};
const QStringList kExt = {QStringLiteral("ID"),
                          QStringLiteral("Название"),
                          QStringLiteral("Количество серий"),
                          QStringLiteral("Комментарий"),
                          QStringLiteral("NType"),
                          QStringLiteral("Ширина"),
                          QStringLiteral("Высота"),
                          QStringLiteral("Звук"),
                          QStringLiteral("Субтитры встроенные"),
                          QStringLiteral("Субтитры внешние"),
                          QStringLiteral("Sum-Объём(байт)"),
                          QStringLiteral("Sum-Длительность")};
const QStringList kAll = {QStringLiteral("Long"), QStringLiteral("Size")};
const QStringList kUp = {QStringLiteral("ID"), QStringLiteral("Max-Update"), QStringLiteral("Название")};

// The four stored queries as the program reads them must be what the views in the file give.
void expectQueriesMatchViews(const QString &path, const char *when, bool readOnly = false) {
    CatalogSession s;
    s.open(path, readOnly);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    // The view's row order of Ext within a title is the order of the grouped values.
    EXPECT_EQ(dataSetRows(s.RJk, kRjk),
              rowsOf(db, QStringLiteral("SELECT %1 FROM \"Rjk\"").arg(quotedList(kRjk))))
        << when;
    EXPECT_EQ(dataSetRows(s.Ext, kExt),
              rowsOf(db, QStringLiteral("SELECT %1 FROM \"Ext\"").arg(quotedList(kExt))))
        << when;
    EXPECT_EQ(dataSetRows(s.ADS, kAll),
              rowsOf(db, QStringLiteral("SELECT %1 FROM \"All t\"").arg(quotedList(kAll))))
        << when;
    QStringList up =
        rowsOf(db, QStringLiteral("SELECT \"ID\", \"Max-Update\", \"Название\" FROM \"Up_time\""));
    // The data set reads the stored text as a time and writes it back with milliseconds.
    for (QString &row : up) {
        QStringList f = row.split(QLatin1Char('|'));
        if (f[1] != QLatin1String("NULL"))
            f[1] = naiveMsToStorageText(*naiveMsFromStorageText(f[1]));
        row = f.join(QLatin1Char('|'));
    }
    EXPECT_EQ(dataSetRows(s.UpTime, kUp), up) << when;
    if (s.catalog().hasCodecSums()) {
        EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT * FROM \"Sum_codec\" ORDER BY 1, 2, 3, 4")),
                  rowsOf(db, QStringLiteral("SELECT \"Название\", \"Video_Codec_id\", \"Audio_Codec_id\", "
                                            "\"Format_Pack_id\", count(*) FROM \"Серии\" WHERE \"Название\" "
                                            "IS NOT NULL GROUP BY 1, 2, 3, 4 ORDER BY 1, 2, 3, 4")))
            << when;
    }
    EXPECT_EQ(s.catalog().episodeCount(),
              rowsOf(db, QStringLiteral("SELECT count(*) FROM \"Серии\"")).value(0).toLongLong())
        << when;
    sqlite3_close(db);
}

// Another program writing with plain SQL on its own connection.
struct OtherWriter {
    sqlite3 *db = nullptr;
    explicit OtherWriter(const QString &path, bool foreignKeys = true) {
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        if (foreignKeys)
            exec("PRAGMA foreign_keys = ON");
    }
    ~OtherWriter() { sqlite3_close(db); }
    void exec(const QString &sql) const {
        char *err = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << " in " << sql.toStdString();
        sqlite3_free(err);
    }
    void exec(const char *sql) const { exec(QString::fromUtf8(sql)); }
};

QString sqlValue(QRandomGenerator &rng, int nullChance, const QString &value) {
    return int(rng.bounded(100)) < nullChance ? QStringLiteral("NULL") : value;
}

QString randomEpisodeValues(QRandomGenerator &rng, qint64 title) {
    const int sizes[][2] = {{1280, 720}, {720, 480}, {1920, 1080}};
    const int fs = int(rng.bounded(3));
    const QString when = QStringLiteral("'2026-11-%1 10:%2:00'")
                             .arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0'))
                             .arg(rng.bounded(60), 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1, 'ep %2.mkv', %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13")
        .arg(title)
        .arg(rng.bounded(1000))
        .arg(sqlValue(rng, 10, QString::number(1e6 * (1 + rng.bounded(500)), 'f', 0)))
        .arg(sqlValue(rng, 10, QString::number(sizes[fs][0])))
        .arg(sqlValue(rng, 10, QString::number(sizes[fs][1])))
        .arg(sqlValue(rng, 10, QString::number(1000 * (1 + rng.bounded(3000)))))
        .arg(sqlValue(rng, 10, QString::number(rng.bounded(3))))
        .arg(sqlValue(rng, 10, QString::number(rng.bounded(2))))
        .arg(sqlValue(rng, 10, QString::number(rng.bounded(2))))
        .arg(sqlValue(rng, 15, when))
        .arg(sqlValue(rng, 10, QString::number(1 + rng.bounded(2))))
        .arg(sqlValue(rng, 10, QString::number(3 + rng.bounded(2))))
        .arg(sqlValue(rng, 10, QString::number(1 + rng.bounded(2))));
}

const QString kInsertEpisode =
    QStringLiteral("INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\", \"Ширина\", \"Высота\", "
                   "\"Длительность\", "
                   "\"Звук\", \"Субтитры встроенные\", \"Субтитры внешние\", \"Update\", \"Video_Codec_id\", "
                   "\"Audio_Codec_id\", \"Format_Pack_id\") VALUES (%1)");

} // namespace

TEST(KeptSums, TriggersFollowEveryWriterAsTheViewsDo) {
    TempCatalog t;
    QRandomGenerator rng(12);
    std::vector<qint64> titles;
    for (int i = 0; i < 8; ++i)
        titles.push_back(
            t.addTitle(QStringLiteral("Title %1").arg(i), QString::number(i), QStringLiteral("c"), 1));
    {
        OtherWriter w(t.path());
        const QStringList columns = {QStringLiteral("Название"),
                                     QStringLiteral("Объём (байт)"),
                                     QStringLiteral("Ширина"),
                                     QStringLiteral("Высота"),
                                     QStringLiteral("Длительность"),
                                     QStringLiteral("Звук"),
                                     QStringLiteral("Субтитры встроенные"),
                                     QStringLiteral("Субтитры внешние"),
                                     QStringLiteral("Update"),
                                     QStringLiteral("Серия"),
                                     QStringLiteral("Video_Codec_id"),
                                     QStringLiteral("Audio_Codec_id"),
                                     QStringLiteral("Format_Pack_id")};
        for (int step = 0; step < 600; ++step) {
            const int what = int(rng.bounded(10));
            const qint64 title = titles[rng.bounded(quint32(titles.size()))];
            if (what < 5) {
                w.exec(kInsertEpisode.arg(randomEpisodeValues(rng, title)));
            } else if (what < 8) {
                // One summed or grouped column changed, the owning title included.
                const QString col = columns[int(rng.bounded(columns.size()))];
                QString value = QString::number(rng.bounded(3));
                if (col == QStringLiteral("Название"))
                    value = QString::number(title);
                else if (col == QLatin1String("Update"))
                    value = QStringLiteral("'2026-12-%1 08:00:00'")
                                .arg(1 + rng.bounded(9), 2, 10, QLatin1Char('0'));
                else if (col == QStringLiteral("Серия"))
                    value = QStringLiteral("'renamed'");
                else if (rng.bounded(6) == 0)
                    value = QStringLiteral("NULL");
                w.exec(QStringLiteral(
                           "UPDATE \"Серии\" SET \"%1\" = %2 WHERE \"ID\" IN (SELECT \"ID\" FROM \"Серии\" "
                           "ORDER BY random() LIMIT 1)")
                           .arg(col, value));
            } else {
                w.exec("DELETE FROM \"Серии\" WHERE \"ID\" IN (SELECT \"ID\" FROM \"Серии\" ORDER BY "
                       "random() LIMIT 1)");
            }
        }
        // A title deleted with its episodes (the cascade), and one deleted by a writer without
        // foreign keys, whose episodes stay counted in the totals as the view counts them.
        w.exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = %1").arg(titles[0]));
        OtherWriter plain(t.path(), false);
        plain.exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = %1").arg(titles[1]));
        // Several rows in one statement.
        w.exec(QStringLiteral("UPDATE \"Серии\" SET \"Звук\" = 7 WHERE \"Название\" = %1").arg(titles[2]));
    }
    expectQueriesMatchViews(t.path(), "after random writes");
    // A title emptied by hand leaves every per-title query.
    t.exec(QStringLiteral("DELETE FROM \"Серии\" WHERE \"Название\" = %1").arg(titles[3]));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Sum_title\" WHERE \"ID\" = %1").arg(titles[3])),
              QStringLiteral("0"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Sum_ext\" WHERE \"ID\" = %1").arg(titles[3])),
              QStringLiteral("0"));
    expectQueriesMatchViews(t.path(), "after emptying a title");
    t.exec(QStringLiteral("DELETE FROM \"Серии\""));
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT \"Size\" || '/' || \"Long\" || '/' || \"Count\" FROM \"Sum_all\"")),
        QStringLiteral("0.0/0/0"));
    expectQueriesMatchViews(t.path(), "after emptying the catalog");
    // Every title deleted at once: the sums are made again, and their triggers work after it.
    t.exec(kInsertEpisode.arg(randomEpisodeValues(rng, titles[4])));
    Catalog(t.path()).deleteAllTitles();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Sum_codec\"")), QStringLiteral("0"));
    const qint64 again = t.addTitle(QStringLiteral("Again"), QStringLiteral("1"), QString(), 1);
    t.exec(kInsertEpisode.arg(randomEpisodeValues(rng, again)));
    expectQueriesMatchViews(t.path(), "after every title deleted and one added");
}

TEST(KeptSums, ProgramWritesKeepWhatIsReadRight) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    const qint64 b = t.addTitle(QStringLiteral("Bebop"));
    t.addEpisode(a, {.size = 100.0, .width = 640, .height = 480, .durationMs = 1000, .sound = 0});
    CatalogSession s;
    s.open(t.path());
    UpStat(s);
    // Appended through the data set narrowed to one title: the sums read before follow at once.
    s.Series.setFilter(Filter::equals(QStringLiteral("Название"), b));
    s.Series.setFiltered(true);
    for (int i = 0; i < 3; ++i) {
        s.Series.append();
        s.Series.setValue(QStringLiteral("Название"), b);
        s.Series.setValue(QStringLiteral("Серия"), QStringLiteral("b%1.mkv").arg(i));
        s.Series.setValue(QStringLiteral("Объём (байт)"), 10.0 * (i + 1));
        s.Series.setValue(QStringLiteral("Длительность"), 100 * (i + 1));
        s.Series.setValue(QStringLiteral("Ширина"), i == 2 ? 1280 : 720);
        s.Series.setValue(QStringLiteral("Высота"), i == 2 ? 720 : 480);
        s.Series.post();
    }
    EXPECT_EQ(s.Series.recordCount(), 3);
    s.RJk.setFilter(Filter::equals(QStringLiteral("ID"), b));
    s.RJk.setFiltered(true);
    EXPECT_EQ(s.RJk.asFloat(1), 60.0);
    EXPECT_EQ(s.RJk.asFloat(2), 600.0);
    s.Ext.setFilter(Filter::equals(QStringLiteral("ID"), b));
    s.Ext.setFiltered(true);
    EXPECT_EQ(s.Ext.recordCount(), 2);
    EXPECT_EQ(UpStat(s).files, 4);
    // Deleting the current episode and renaming the title.
    s.Series.first();
    s.Series.remove();
    EXPECT_EQ(s.RJk.asFloat(1), 50.0);
    EXPECT_EQ(UpStat(s).files, 3);
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), b));
    s.Name.setFiltered(true);
    s.Name.edit();
    s.Name.setValue(QStringLiteral("Название"), QStringLiteral("Cowboy Bebop"));
    s.Name.post();
    EXPECT_EQ(s.RJk.asString(3), QStringLiteral("Cowboy Bebop"));
    // Deleting a title takes its sums away.
    s.Name.remove();
    EXPECT_EQ(s.RJk.recordCount(), 0);
    const CatalogStats st = UpStat(s);
    EXPECT_EQ(st.files, 1);
    EXPECT_EQ(st.sizeBytes, 100.0);
    s.close();
    expectQueriesMatchViews(t.path(), "after the program's writes");
}

TEST(KeptSums, OlderCatalogGetsThemFilledAndReadOnlyOneIsSummedInMemory) {
    TempCatalog t;
    QRandomGenerator rng(7);
    for (int i = 0; i < 30; ++i) {
        const qint64 id = t.addTitle(QStringLiteral("%1 title").arg(QChar(u'A' + i % 26)), QString::number(i),
                                     QString(), 1 + i % 4);
        for (int k = 0, n = int(rng.bounded(6)); k < n; ++k)
            t.exec(kInsertEpisode.arg(randomEpisodeValues(rng, id)));
    }
    // The same catalog as made before the sums were kept.
    const QString old = QDir(t.dir()).filePath(QStringLiteral("old.vdq"));
    t.exec(QStringLiteral("VACUUM INTO '%1'").arg(old));
    {
        OtherWriter w(old);
        for (const QString &sql : withoutKeptSums())
            w.exec(sql);
    }
    EXPECT_FALSE(Catalog(old, true).hasCodecSums());
    auto summary = [](const QString &path, bool readOnly) {
        CatalogSession s;
        s.open(path, readOnly);
        EXPECT_EQ(s.catalog().hasSums(), !readOnly);
        const CatalogStats st = UpStat(s);
        QStringList out{st.LCount, st.LCE, st.LSize, st.LTime};
        s.Name.setFiltered(false);
        const auto [expected, read] = summaryTwoWays(s, 3);
        EXPECT_EQ(read, expected) << (readOnly ? "summed in memory" : "kept sums");
        return out + expected;
    };
    const QStringList inMemory = summary(old, true);
    EXPECT_EQ(summary(t.path(), false), inMemory);
    // Opened for writing, the older file gets its sums, filled from its episodes.
    EXPECT_EQ(summary(old, false), inMemory);
    expectQueriesMatchViews(old, "older catalog after it got its sums");
    EXPECT_TRUE(Catalog(old).hasCodecSums());
}

TEST(KeptSums, AReaderWhileAnotherProcessAddsAlwaysSeesOneState) {
    TempCatalog t;
    t.addTitle(QStringLiteral("Seed"));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        OtherWriter w(t.path());
        QRandomGenerator rng(3);
        for (int i = 0; !stop && i < 400; ++i) {
            w.exec("BEGIN IMMEDIATE");
            w.exec(QStringLiteral("INSERT INTO \"Список\"(\"Название\") VALUES ('W%1')").arg(i));
            const qint64 id = sqlite3_last_insert_rowid(w.db);
            for (int k = 0; k < 3; ++k)
                w.exec(kInsertEpisode.arg(randomEpisodeValues(rng, id)));
            if (i % 5 == 4)
                w.exec("DELETE FROM \"Серии\" WHERE \"ID\" IN (SELECT min(\"ID\") FROM \"Серии\")");
            w.exec("COMMIT");
        }
    });
    CatalogSession s;
    s.open(t.path());
    for (int round = 0; round < 60; ++round) {
        Catalog::ReadSnapshot snapshot(s.catalog());
        const CatalogStats st = UpStat(s);
        // Within one read the per-title sums add up to the totals, and the counts agree.
        s.RJk.setFiltered(false);
        double size = 0;
        for (int r = 1; r <= s.RJk.recordCount(); ++r) {
            s.RJk.setRecNo(r);
            size += s.RJk.asFloat(1);
        }
        ASSERT_DOUBLE_EQ(size, st.sizeBytes) << "round " << round;
        s.Name.setFiltered(false);
        ASSERT_EQ(st.titles, s.Name.recordCount());
        // The kept count is the number of rows this read sees.
        Statement count(s.catalog().handle(), QStringLiteral("SELECT count(*) FROM \"Серии\""));
        ASSERT_TRUE(count.step());
        ASSERT_EQ(st.files, sqlite3_column_int64(count.handle(), 0)) << "round " << round;
    }
    stop = true;
    writer.join();
    expectQueriesMatchViews(t.path(), "after the writer");
}

TEST(KeptSums, SummaryRowsKeepGetExtParamsTextsAcrossChanges) {
    TempCatalog t;
    t.exec(QStringLiteral(
        "INSERT INTO \"Sub\"(\"ID\", \"Язык\") VALUES (9, 'A language name longer than twenty')"));
    QRandomGenerator rng(5);
    std::vector<qint64> ids;
    for (int i = 0; i < 40; ++i) {
        ids.push_back(t.addTitle(QStringLiteral("%1 %2").arg(QChar(u'a' + i % 26)).arg(i), QString::number(i),
                                 i % 3 ? QString() : QStringLiteral("note"), i % 5));
        for (int k = 0, n = int(rng.bounded(5)); k < n; ++k)
            t.exec(kInsertEpisode.arg(randomEpisodeValues(rng, ids.back())));
    }
    t.exec(QStringLiteral("UPDATE \"Серии\" SET \"Звук\" = 9 WHERE \"ID\" % 7 = 0"));
    CatalogSession s;
    s.open(t.path());
    auto expectSame = [&](const char *when) {
        GridData grid;
        setupSummaryGrid(grid);
        TExportList last;
        UpStat(s); // every refresh opens the stored queries first
        s.Name.setFiltered(false);
        LoadGvSv(s, grid, last);
        ASSERT_EQ(grid.RowCount(), s.Name.recordCount()) << when;
        const auto [expected, read] = summaryTwoWays(s, 4);
        EXPECT_EQ(read, expected) << when;
        for (int r = 1; r <= s.Name.recordCount(); ++r) {
            TExportList texts;
            GetExtParam(s, r, texts);
            for (int c = 0; c < TExportList::FieldCount; ++c)
                EXPECT_EQ(grid.GetCellText(c, r - 1), texts.field(c))
                    << when << " row " << r << " column " << c;
        }
    };
    expectSame("first fill");
    expectSame("from what was kept");
    // The program's own changes: an episode added to one title, another title renamed, a third deleted.
    s.Series.setFilter(Filter::equals(QStringLiteral("Название"), ids[4]));
    s.Series.setFiltered(true);
    s.Series.append();
    s.Series.setValue(QStringLiteral("Название"), ids[4]);
    s.Series.setValue(QStringLiteral("Серия"), QStringLiteral("new.mkv"));
    s.Series.setValue(QStringLiteral("Объём (байт)"), 5e9);
    s.Series.setValue(QStringLiteral("Ширина"), 10000);
    s.Series.setValue(QStringLiteral("Высота"), 10000);
    s.Series.setValue(QStringLiteral("Звук"), 9);
    s.Series.post();
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), ids[5]));
    s.Name.setFiltered(true);
    s.Name.edit();
    s.Name.setValue(QStringLiteral("Название"), QStringLiteral("Renamed"));
    s.Name.setValue(QStringLiteral("NType"), 3);
    s.Name.post();
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), ids[6]));
    s.Name.remove();
    expectSame("after the program's changes");
    // Another process's change is seen at the next refresh.
    t.exec(
        QStringLiteral("UPDATE \"Серии\" SET \"Субтитры внешние\" = 9 WHERE \"Название\" = %1").arg(ids[7]));
    {
        Catalog::ReadSnapshot snapshot(s.catalog());
        expectSame("after another process's change");
    }
}
