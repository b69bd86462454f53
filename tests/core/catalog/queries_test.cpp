// The stored queries computed in memory must answer what the views in the file answer.
#include "catalog/catalogsession.h"
#include "support/temp_catalog.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vq;
using vq::test::EpisodeRow;
using vq::test::TempCatalog;

namespace {

// Every row of a view as text, in the order the view gives.
QStringList viewRows(const QString &path, const QString &view, const QStringList &cols) {
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QStringList quoted;
    for (const QString &c : cols)
        quoted << QStringLiteral("\"%1\"").arg(c);
    const QByteArray sql =
        QStringLiteral("SELECT %1 FROM \"%2\"").arg(quoted.join(QStringLiteral(", ")), view).toUtf8();
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    QStringList rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList fields;
        for (int i = 0; i < cols.size(); ++i) {
            if (sqlite3_column_type(st, i) == SQLITE_NULL)
                fields << QString();
            else if (sqlite3_column_type(st, i) == SQLITE_FLOAT ||
                     sqlite3_column_type(st, i) == SQLITE_INTEGER)
                fields << QString::number(sqlite3_column_double(st, i), 'g', 15);
            else
                fields << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
        }
        rows << fields.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

QStringList dataSetRows(DataSet &ds, const QStringList &cols) {
    QStringList rows;
    ds.close();
    ds.open();
    ds.setFiltered(false);
    for (int i = 1; i <= ds.recordCount(); ++i) {
        ds.setRecNo(i);
        QStringList fields;
        for (const QString &c : cols) {
            const QVariant v = ds.value(c);
            if (v.isNull())
                fields << QString();
            else if (v.metaType().id() == QMetaType::QDateTime)
                fields << v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
            else if (v.metaType().id() == QMetaType::QString)
                fields << v.toString();
            else
                fields << QString::number(v.toDouble(), 'g', 15);
        }
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

TEST(StoredQueries, MatchTheViewsInTheFile) {
    TempCatalog t;
    const QDateTime d1(QDate(2026, 11, 1), QTime(10, 0));
    const QDateTime d2(QDate(2026, 11, 20), QTime(8, 30, 15, 250));
    const qint64 a = t.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QStringLiteral("c"), 2);
    const qint64 b = t.addTitle(QStringLiteral("Bebop"), QStringLiteral("26"), QString(), 3);
    t.addTitle(QStringLiteral("Empty title"));
    t.addEpisode(a, {.size = 700e6,
                     .width = 1280,
                     .height = 720,
                     .durationMs = 1000,
                     .sound = 0,
                     .subIn = 1,
                     .subExt = 2,
                     .update = d1});
    t.addEpisode(b, {.size = 1.0,
                     .width = 1280,
                     .height = 720,
                     .durationMs = 10,
                     .sound = 0,
                     .subIn = 1,
                     .subExt = 2,
                     .update = d2});
    t.addEpisode(b, {.size = 2.0,
                     .width = 720,
                     .height = 480,
                     .durationMs = 20,
                     .sound = 0,
                     .subIn = 1,
                     .subExt = 2,
                     .update = d1});
    t.addEpisode(
        b,
        {.size = 3.0, .width = 1280, .height = 720, .durationMs = 30, .sound = 3, .subIn = 1, .subExt = 2});
    t.addEpisode(b, {.size = 4.0}); // nothing known but the size
    CatalogSession s;
    s.open(t.path());

    const QStringList rjk = {QStringLiteral("ID"), QStringLiteral("Sum-Объём(байт)"),
                             QStringLiteral("Sum-Длительность"), QStringLiteral("Название")};
    EXPECT_EQ(dataSetRows(s.RJk, rjk), viewRows(t.path(), QStringLiteral("Rjk"), rjk));
    const QStringList ext = {QStringLiteral("ID"),
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
    EXPECT_EQ(dataSetRows(s.Ext, ext), viewRows(t.path(), QStringLiteral("Ext"), ext));
    const QStringList all = {QStringLiteral("Long"), QStringLiteral("Size")};
    EXPECT_EQ(dataSetRows(s.ADS, all), viewRows(t.path(), QStringLiteral("All t"), all));
    const QStringList up = {QStringLiteral("ID"), QStringLiteral("Max-Update"), QStringLiteral("Название")};
    QStringList viewUp = viewRows(t.path(), QStringLiteral("Up_time"), up);
    EXPECT_EQ(dataSetRows(s.UpTime, up), viewUp);

    // Title b: three frame-size/language combinations plus the unknown one; the title without
    // episodes has no row anywhere.
    s.Ext.setFilter(Filter::equals(QStringLiteral("ID"), b));
    s.Ext.setFiltered(true);
    EXPECT_EQ(s.Ext.recordCount(), 4);
    s.RJk.setFilter(Filter::equals(QStringLiteral("ID"), 3));
    s.RJk.setFiltered(true);
    EXPECT_EQ(s.RJk.recordCount(), 0);
    EXPECT_EQ(s.RJk.asFloat(1), 0.0);
}

TEST(ComputedColumns, EpisodeTextsAndCuts) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(a, {.name = QStringLiteral("a.mkv"),
                     .size = 4700000000.0,
                     .width = 640,
                     .height = 480,
                     .durationMs = 3723456,
                     .sound = 0,
                     .subIn = 1,
                     .subExt = 99});
    t.addEpisode(a, {.name = QStringLiteral("b.mkv"), .width = 10000, .height = 10000});
    t.exec(
        QStringLiteral("INSERT INTO \"Sub\"(\"ID\", \"Язык\") VALUES (50, 'Очень длинное название языка')"));
    t.addEpisode(a, {.name = QStringLiteral("c.mkv"), .sound = 50});
    CatalogSession s;
    s.open(t.path());
    s.Series.setFilter(Filter::equals(QStringLiteral("Название"), a));
    s.Series.setFiltered(true);
    ASSERT_EQ(s.Series.recordCount(), 3);
    s.Series.setRecNo(1);
    EXPECT_EQ(s.Series.asString(QStringLiteral("Size")), QStringLiteral("  4 700 000 000 "));
    EXPECT_EQ(s.Series.asString(QStringLiteral("Размеры")), QStringLiteral("640x480"));
    EXPECT_EQ(s.Series.asString(QStringLiteral("Time")), QStringLiteral("01:02:03,456"));
    EXPECT_EQ(s.Series.asString(QStringLiteral("Sound")), QStringLiteral("Японский"));
    EXPECT_EQ(s.Series.asString(QStringLiteral("Sub_Ext")), QString()); // key 99 is not in Sub
    s.Series.setRecNo(2);
    EXPECT_EQ(s.Series.asString(QStringLiteral("Размеры")), QStringLiteral("10000x1000")); // cut to 10
    EXPECT_EQ(s.Series.asString(QStringLiteral("Size")), QString());
    EXPECT_EQ(s.Series.asString(QStringLiteral("Time")), QStringLiteral("00:00:00,000"));
    s.Series.setRecNo(3);
    EXPECT_EQ(s.Series.asString(QStringLiteral("Размеры")), QStringLiteral("x"));
    EXPECT_EQ(s.Series.asString(QStringLiteral("Sound")), QStringLiteral("Очень длин"));
    s.Ext.open();
    s.Ext.setFilter(Filter::equals(QStringLiteral("ID"), a));
    s.Ext.setFiltered(true);
    bool sawBig = false, sawLong = false;
    for (int i = 1; i <= s.Ext.recordCount(); ++i) {
        s.Ext.setRecNo(i);
        sawBig = sawBig || s.Ext.asString(QStringLiteral("RZm")) == QStringLiteral("10000x10000");
        sawLong = sawLong || s.Ext.asString(QStringLiteral("Sound")) == QStringLiteral("Очень длинное назва");
    }
    EXPECT_TRUE(sawBig);
    // Ext's language texts are cut at 20 characters.
    EXPECT_FALSE(sawLong);
}
