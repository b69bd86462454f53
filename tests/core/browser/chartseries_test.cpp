// The charts' series against the episodes and locations themselves, summed with plain SQL.
#include "browser/chartseries.h"
#include "catalog/catalog.h"
#include "places/mounts.h"
#include "support/temp_catalog.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vq;
using vq::test::EpisodeRow;
using vq::test::TempCatalog;

namespace {

// "key|files|bytes" per point, sorted, one a line; months without files left out (the series
// fills them in).
std::string lines(const std::vector<ChartPoint> &points) {
    QStringList out;
    for (const ChartPoint &p : points)
        if (p.files > 0)
            out << QStringLiteral("%1|%2|%3").arg(p.key).arg(p.files).arg(p.bytes, 0, 'f', 0);
    out.sort();
    return out.join(QLatin1Char('\n')).toStdString();
}

// The same from an independent GROUP BY whose rows are key, files, bytes.
std::string expected(TempCatalog &t, const QString &sql) {
    const QStringList rows = t.scalar(QStringLiteral("SELECT group_concat(k || '|' || f || '|' || "
                                                     "printf('%.0f', b), char(10)) FROM (%1)")
                                          .arg(sql))
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList out = rows;
    out.sort();
    return out.join(QLatin1Char('\n')).toStdString();
}

struct Step {
    const char *what;
    QStringList sql; // run on the file as any writer would
};

} // namespace

TEST(ChartSeries, FollowEpisodesThroughChanges) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("A"), {}, {}, 3);
    const qint64 b = t.addTitle(QStringLiteral("B"), {}, {}, 2);
    const qint64 c = t.addTitle(QStringLiteral("C"), {}, {}, 3);
    t.addTitle(QStringLiteral("Empty"), {}, {}, 1);
    t.exec(QStringLiteral("INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (1, 'AVC'), (2, 'HEVC')"));
    const auto at = [](const char *iso) { return QDateTime::fromString(QLatin1String(iso), Qt::ISODate); };
    const struct {
        qint64 title;
        double size;
        int w, h;
        const char *when;
        int codec;
    } eps[] = {
        {a, 700e6, 1920, 1080, "2024-01-05T10:00:00", 1}, {a, 650e6, 1920, 1080, "2024-01-20T10:00:00", 1},
        {a, 300e6, 1280, 720, "2024-04-02T10:00:00", 2},  {b, 4e9, 3840, 2160, "2024-04-03T10:00:00", 2},
        {b, 1e8, 640, 480, "2023-11-30T23:59:59", 0},     {c, 2e8, 0, 0, "2024-02-01T00:00:00", 1}};
    for (const auto &e : eps) {
        EpisodeRow r;
        r.size = e.size;
        if (e.w > 0) {
            r.width = e.w;
            r.height = e.h;
        }
        r.update = at(e.when);
        const qint64 id = t.addEpisode(e.title, r);
        if (e.codec)
            t.exec(QStringLiteral("UPDATE \"Серии\" SET \"Video_Codec_id\" = %1 WHERE \"ID\" = %2")
                       .arg(e.codec)
                       .arg(id));
    }
    t.exec(QStringLiteral(
        "INSERT INTO \"Volume\"(\"ID\", \"Ident\", \"Label\") VALUES (1, 'uuid:x', 'Archive'), "
        "(2, 'uuid:y', 'Backup')"));
    t.exec(
        QStringLiteral("INSERT INTO \"Location\"(\"Episode\", \"Volume\", \"Path\", \"Size\") SELECT \"ID\", "
                       "1 + (\"ID\" % 2), CAST('f' || \"ID\" AS BLOB), \"Объём (байт)\" FROM \"Серии\""));

    const Step steps[] = {
        {"as made", {}},
        {"a size, a codec and a date edited, each alone",
         {QStringLiteral("UPDATE \"Серии\" SET \"Объём (байт)\" = 123456789 WHERE \"Объём (байт)\" = 700e6"),
          QStringLiteral("UPDATE \"Серии\" SET \"Video_Codec_id\" = 2 WHERE \"Объём (байт)\" = 650e6"),
          QStringLiteral(
              "UPDATE \"Серии\" SET \"Update\" = '2024-06-01 12:00:00.000' WHERE \"Высота\" = 2160")}},
        {"an episode moved to another title",
         {QStringLiteral("UPDATE \"Серии\" SET \"Название\" = %1 WHERE \"Высота\" = 720").arg(c)}},
        {"a file found on the other drive, another's place forgotten",
         {QStringLiteral(
              "UPDATE \"Location\" SET \"Volume\" = 3 - \"Volume\", \"Size\" = 5 WHERE \"Episode\" = "
              "(SELECT min(\"ID\") FROM \"Серии\")"),
          QStringLiteral(
              "DELETE FROM \"Location\" WHERE \"Episode\" = (SELECT max(\"ID\") FROM \"Серии\")")}},
        {"an episode and a title deleted",
         {QStringLiteral("DELETE FROM \"Серии\" WHERE \"Высота\" = 480"),
          QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = %1").arg(b)}},
    };
    const QString byTitle = QStringLiteral(" WHERE e.\"Название\" IN (%1, %2)").arg(a).arg(c);
    const places::Mounts none = places::Mounts::fromTable(QByteArray());
    for (const Step &step : steps) {
        for (const QString &sql : step.sql)
            t.exec(sql);
        Catalog catalog(t.path());
        const std::vector<qint64> shown{a, c};
        for (const std::vector<qint64> *ids : {static_cast<const std::vector<qint64> *>(nullptr), &shown}) {
            SCOPED_TRACE(std::string(step.what) + (ids ? ", shown titles" : ", whole catalog"));
            const QString w = ids ? byTitle : QString();
            const ChartSeries s = chartSeries(catalog, none, ids);
            const struct {
                const char *name;
                const std::vector<ChartPoint> &points;
                QString sql;
            } charts[] = {
                {"type", s.byType,
                 QStringLiteral(
                     "SELECT coalesce(ty.\"Тип\", '') k, count(*) f, total(e.\"Объём (байт)\") b FROM "
                     "\"Серии\" e JOIN \"Список\" s ON s.\"ID\" = e.\"Название\" LEFT JOIN \"Тип\" ty ON "
                     "ty.\"ID\" = s.\"NType\"%1 GROUP BY s.\"NType\"")
                     .arg(w)},
                {"frame", s.byHeight,
                 QStringLiteral(
                     "SELECT CASE WHEN coalesce(e.\"Высота\", 0) > 0 THEN e.\"Ширина\" || 'x' || "
                     "e.\"Высота\" ELSE '' END k, count(*) f, total(e.\"Объём (байт)\") b FROM \"Серии\" "
                     "e%1 GROUP BY k")
                     .arg(w)},
                {"codec", s.byVideoCodec,
                 QStringLiteral(
                     "SELECT coalesce(c.\"Name\", '') k, count(*) f, total(e.\"Объём (байт)\") b FROM "
                     "\"Серии\" e LEFT JOIN \"Codec\" c ON c.\"ID\" = e.\"Video_Codec_id\"%1 GROUP BY "
                     "e.\"Video_Codec_id\"")
                     .arg(w)},
                {"month", s.byMonth,
                 QStringLiteral(
                     "SELECT coalesce(substr(e.\"Update\", 1, 7), '') k, count(*) f, total(e.\"Объём "
                     "(байт)\") b FROM \"Серии\" e%1 GROUP BY k")
                     .arg(w)},
                {"drive", s.byDrive,
                 QStringLiteral(
                     "SELECT v.\"Label\" k, count(*) f, total(l.\"Size\") b FROM \"Location\" l JOIN "
                     "\"Volume\" v ON v.\"ID\" = l.\"Volume\" JOIN \"Серии\" e ON e.\"ID\" = "
                     "l.\"Episode\"%1 GROUP BY v.\"ID\"")
                     .arg(w)},
            };
            for (const auto &chart : charts)
                EXPECT_EQ(lines(chart.points), expected(t, chart.sql)) << chart.name;
            for (const ChartPoint &p : s.byDrive)
                EXPECT_FALSE(p.online) << "no volume is mounted here";
        }
    }
}

TEST(ChartSeries, MonthsWithoutFilesAreThereAtZero) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("A"));
    for (const char *when : {"2023-11-02T10:00:00", "2024-02-10T10:00:00"}) {
        EpisodeRow r;
        r.size = 1e6;
        r.update = QDateTime::fromString(QLatin1String(when), Qt::ISODate);
        t.addEpisode(a, r);
    }
    Catalog catalog(t.path());
    const ChartSeries s = chartSeries(catalog, places::Mounts::fromTable(QByteArray()));
    QStringList months;
    for (const ChartPoint &p : s.byMonth)
        months << QStringLiteral("%1:%2").arg(p.key).arg(p.files);
    EXPECT_EQ(months.join(QLatin1Char(' ')), QStringLiteral("2023-11:1 2023-12:0 2024-01:0 2024-02:1"));
    // Nothing shown: nothing drawn, not the whole catalog.
    const std::vector<qint64> noTitles;
    EXPECT_TRUE(chartSeries(catalog, places::Mounts::fromTable(QByteArray()), &noTitles).byMonth.empty());
}
