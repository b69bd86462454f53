#include "chartseries.h"

#include "catalog/catalog.h"
#include "places/locations.h"

#include <sqlite3.h>

#include <QDate>
#include <QHash>

#include <algorithm>

namespace vq {

namespace {

QString idList(const std::vector<qint64> &ids) {
    QByteArray text = "[";
    for (const qint64 id : ids)
        text += QByteArray::number(id) + ',';
    if (text.size() > 1)
        text.chop(1);
    return QString::fromLatin1(text + ']');
}

// Runs `sql` (whose ?1, when it has one, is the shown titles' list) and hands each row over.
template <typename Row> void read(Catalog &catalog, const QString &sql, const QString *ids, Row row) {
    Statement &st = catalog.statement(sql);
    Statement::ResetAfter done{st};
    if (ids)
        st.bind(1, *ids);
    while (st.step())
        row(st);
}

qint64 int64(const Statement &st, int col) {
    return sqlite3_column_int64(st.handle(), col);
}
double real(const Statement &st, int col) {
    return sqlite3_column_double(st.handle(), col);
}
bool isNull(const Statement &st, int col) {
    return sqlite3_column_type(st.handle(), col) == SQLITE_NULL;
}

void largestFirst(std::vector<ChartPoint> &points) {
    std::stable_sort(points.begin(), points.end(), [](const ChartPoint &a, const ChartPoint &b) {
        return a.bytes != b.bytes ? a.bytes > b.bytes : a.key < b.key;
    });
}

// The months between the first and the last with nothing added are there too, at zero, so that a
// chart of the collection's growth shows the pauses.
void fillMonths(std::vector<ChartPoint> &months) {
    std::vector<ChartPoint> out;
    for (ChartPoint &p : months) {
        if (!out.empty() && out.back().known) {
            const QDate last = QDate::fromString(out.back().key + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
            const QDate next = QDate::fromString(p.key + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
            // At most a century of gaps: a mistyped year must not make a million bars.
            if (last.isValid() && next.isValid() && last.daysTo(next) < 36600)
                for (QDate m = last.addMonths(1); m < next; m = m.addMonths(1)) {
                    ChartPoint gap;
                    gap.key = m.toString(QStringLiteral("yyyy-MM"));
                    out.push_back(gap);
                }
        }
        out.push_back(std::move(p));
    }
    months = std::move(out);
}

} // namespace

QString heightClass(int height) {
    if (height <= 0)
        return QString();
    if (height < 720)
        return QStringLiteral("SD");
    if (height < 1080)
        return QStringLiteral("720p");
    if (height < 2160)
        return QStringLiteral("1080p");
    return QStringLiteral("2160p");
}

ChartSeries chartSeries(Catalog &catalog, const places::Mounts &mounts, const std::vector<qint64> *shown) {
    ChartSeries out;
    if (shown && shown->empty())
        return out;
    Catalog::ReadSnapshot snapshot(catalog);
    const QString list = shown ? idList(*shown) : QString();
    const QString *ids = shown ? &list : nullptr;
    const auto where = [&](const char *column) {
        return ids ? QStringLiteral(" WHERE %1 IN (SELECT value FROM json_each(?1))").arg(QLatin1String(column))
                   : QString();
    };

    read(catalog,
         QStringLiteral("SELECT s.\"NType\", t.\"Тип\", sum(k.\"Count\"), total(k.\"Size\") FROM \"Sum_title\" k "
                        "JOIN \"Список\" s ON s.\"ID\" = k.\"ID\" LEFT JOIN \"Тип\" t ON t.\"ID\" = s.\"NType\"%1 "
                        "GROUP BY s.\"NType\"")
             .arg(where("k.\"ID\"")),
         ids, [&](const Statement &st) {
             ChartPoint p;
             p.id = int64(st, 0);
             p.known = !isNull(st, 1);
             p.key = st.text(1);
             p.files = int64(st, 2);
             p.bytes = real(st, 3);
             out.byType.push_back(p);
         });
    largestFirst(out.byType);

    read(catalog,
         QStringLiteral("SELECT \"Ширина\", \"Высота\", sum(\"Count\"), total(\"Size\") FROM \"Sum_ext\"%1 "
                        "GROUP BY \"Высота\", \"Ширина\" ORDER BY \"Высота\", \"Ширина\"")
             .arg(where("\"ID\"")),
         ids, [&](const Statement &st) {
             ChartPoint p;
             p.known = !isNull(st, 0) && !isNull(st, 1) && int64(st, 1) > 0;
             if (p.known) {
                 p.width = int(int64(st, 0));
                 p.height = int(int64(st, 1));
                 p.key = QStringLiteral("%1x%2").arg(p.width).arg(p.height);
             }
             p.files = int64(st, 2);
             p.bytes = real(st, 3);
             // Frames nobody could read (none stored, or 0) are one point, first.
             if (!p.known && !out.byHeight.empty() && !out.byHeight.front().known) {
                 out.byHeight.front().files += p.files;
                 out.byHeight.front().bytes += p.bytes;
             } else if (!p.known) {
                 out.byHeight.insert(out.byHeight.begin(), p);
             } else {
                 out.byHeight.push_back(p);
             }
         });

    read(catalog,
         QStringLiteral("SELECT k.\"Video_Codec_id\", c.\"Name\", sum(k.\"Count\"), total(k.\"Size\") FROM "
                        "\"Sum_codec_month\" k LEFT JOIN \"Codec\" c ON c.\"ID\" = k.\"Video_Codec_id\"%1 "
                        "GROUP BY k.\"Video_Codec_id\"")
             .arg(where("k.\"ID\"")),
         ids, [&](const Statement &st) {
             ChartPoint p;
             p.known = !isNull(st, 0);
             p.id = p.known ? int64(st, 0) : 0;
             p.key = st.text(1);
             p.files = int64(st, 2);
             p.bytes = real(st, 3);
             out.byVideoCodec.push_back(p);
         });
    largestFirst(out.byVideoCodec);

    read(catalog,
         QStringLiteral("SELECT \"Month\", sum(\"Count\"), total(\"Size\") FROM \"Sum_codec_month\"%1 "
                        "GROUP BY \"Month\" ORDER BY \"Month\"")
             .arg(where("\"ID\"")),
         ids, [&](const Statement &st) {
             ChartPoint p;
             p.known = !isNull(st, 0);
             p.key = st.text(0);
             p.files = int64(st, 1);
             p.bytes = real(st, 2);
             out.byMonth.push_back(p);
         });
    fillMonths(out.byMonth);

    // Locations are per file, not kept as sums: the whole catalog reads the index of sizes per
    // volume; the shown titles go from their episodes (by title) to their locations (by episode).
    QHash<qint64, std::pair<qint64, double>> perVolume;
    read(catalog,
         ids ? QStringLiteral("SELECT l.\"Volume\", count(*), total(l.\"Size\") FROM json_each(?1) t JOIN "
                              "\"Серии\" e ON e.\"Название\" = t.value JOIN \"Location\" l ON l.\"Episode\" = "
                              "e.\"ID\" GROUP BY l.\"Volume\"")
             : QStringLiteral("SELECT \"Volume\", count(*), total(\"Size\") FROM \"Location\" GROUP BY \"Volume\""),
         ids, [&](const Statement &st) { perVolume.insert(int64(st, 0), {int64(st, 1), real(st, 2)}); });
    if (!perVolume.isEmpty())
        for (const places::VolumeRow &v : places::volumes(catalog, mounts, false)) {
            const auto found = perVolume.constFind(v.id);
            if (found == perVolume.cend())
                continue;
            ChartPoint p;
            p.id = v.id;
            p.key = v.shownName();
            p.online = v.online;
            p.files = found->first;
            p.bytes = found->second;
            out.byDrive.push_back(p);
        }
    std::stable_sort(out.byDrive.begin(), out.byDrive.end(),
                     [](const ChartPoint &a, const ChartPoint &b) { return a.key < b.key; });
    return out;
}

} // namespace vq
