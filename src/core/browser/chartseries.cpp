#include "chartseries.h"

#include "catalog/catalog.h"
#include "places/locations.h"

#include <sqlite3.h>

#include <QDate>
#include <QHash>
#include <QSet>

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

constexpr int kOtherMonth = -2;

// "2025-12" as 202512 without making a text of it (thousands of rows are read); -1 for none,
// kOtherMonth for a text of another form.
int monthKey(const Statement &st, int col) {
    const auto *t = sqlite3_column_text(st.handle(), col);
    if (!t)
        return -1;
    if (sqlite3_column_bytes(st.handle(), col) != 7 || t[4] != '-')
        return kOtherMonth;
    int key = 0;
    for (int i : {0, 1, 2, 3, 5, 6}) {
        if (t[i] < '0' || t[i] > '9')
            return kOtherMonth;
        key = key * 10 + (t[i] - '0');
    }
    return key;
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
            const QDate last =
                QDate::fromString(out.back().key + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
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

ChartSeries chartSeries(Catalog &catalog, const places::Mounts &mounts, const std::vector<qint64> *shown,
                        unsigned wanted) {
    ChartSeries out;
    if (shown && shown->empty())
        return out;
    Catalog::ReadSnapshot snapshot(catalog);
    const QString list = shown ? idList(*shown) : QString();
    const QString *ids = shown ? &list : nullptr;
    const auto where = [&](const char *column) {
        return ids ? QStringLiteral(" WHERE %1 IN (SELECT value FROM json_each(?1))")
                         .arg(QLatin1String(column))
                   : QString();
    };

    // Each kept table is read once, row by row, and summed here: a GROUP BY would sort what a
    // hash of a few keys gathers in one pass.
    struct Sum {
        qint64 files = 0;
        double bytes = 0;
        void add(const Statement &st, int at) {
            files += int64(st, at);
            bytes += real(st, at + 1);
        }
    };

    if (wanted & TypeSeries) {
        QHash<qint64, Sum> perType;
        read(catalog,
             QStringLiteral(
                 "SELECT s.\"NType\", k.\"Count\", k.\"Size\" FROM \"Sum_title\" k JOIN \"Список\" s ON "
                 "s.\"ID\" = k.\"ID\"%1")
                 .arg(where("k.\"ID\"")),
             ids, [&](const Statement &st) { perType[int64(st, 0)].add(st, 1); });
        QHash<qint64, QString> typeNames;
        read(catalog, QStringLiteral("SELECT \"ID\", \"Тип\" FROM \"Тип\""), nullptr,
             [&](const Statement &st) { typeNames.insert(int64(st, 0), st.text(1)); });
        for (auto t = perType.cbegin(); t != perType.cend(); ++t) {
            ChartPoint p;
            p.id = t.key();
            p.known = typeNames.contains(t.key());
            p.key = typeNames.value(t.key());
            p.files = t->files;
            p.bytes = t->bytes;
            out.byType.push_back(p);
        }
        largestFirst(out.byType);
    }

    if (wanted & HeightSeries) {
        QHash<std::pair<int, int>, Sum> perFrame;
        read(catalog,
             QStringLiteral("SELECT \"Ширина\", \"Высота\", \"Count\", \"Size\" FROM \"Sum_ext\"%1")
                 .arg(where("\"ID\"")),
             ids, [&](const Statement &st) {
                 // Frames nobody could read (none stored, or 0) are one point, 0 x 0.
                 const bool known = !isNull(st, 0) && !isNull(st, 1) && int64(st, 1) > 0;
                 perFrame[known ? std::pair(int(int64(st, 0)), int(int64(st, 1))) : std::pair(0, 0)].add(st,
                                                                                                         2);
             });
        for (auto f = perFrame.cbegin(); f != perFrame.cend(); ++f) {
            ChartPoint p;
            p.known = f.key().second > 0;
            if (p.known) {
                p.width = f.key().first;
                p.height = f.key().second;
                p.key = QStringLiteral("%1x%2").arg(p.width).arg(p.height);
            }
            p.files = f->files;
            p.bytes = f->bytes;
            out.byHeight.push_back(p);
        }
        std::sort(out.byHeight.begin(), out.byHeight.end(), [](const ChartPoint &a, const ChartPoint &b) {
            return std::pair(a.height, a.width) < std::pair(b.height, b.width);
        });
    }

    // One read for the codecs and the months; a codec key of -1 stands for none.
    if (wanted & (CodecSeries | MonthSeries)) {
        QHash<qint64, Sum> perCodec;
        QHash<int, Sum> perMonth;          // year * 100 + month; -1 when no date is stored
        QHash<QString, Sum> perOtherMonth; // a stored date of another form, as it is
        read(catalog,
             QStringLiteral(
                 "SELECT \"Video_Codec_id\", \"Count\", \"Size\", \"Month\" FROM \"Sum_codec_month\"%1")
                 .arg(where("\"ID\"")),
             ids, [&](const Statement &st) {
                 perCodec[isNull(st, 0) ? -1 : int64(st, 0)].add(st, 1);
                 const int month = monthKey(st, 3);
                 if (month == kOtherMonth)
                     perOtherMonth[st.text(3)].add(st, 1);
                 else
                     perMonth[month].add(st, 1);
             });
        QHash<qint64, QString> codecNames;
        if (!perCodec.isEmpty())
            read(catalog, QStringLiteral("SELECT \"ID\", \"Name\" FROM \"Codec\""), nullptr,
                 [&](const Statement &st) { codecNames.insert(int64(st, 0), st.text(1)); });
        for (auto c = perCodec.cbegin(); c != perCodec.cend(); ++c) {
            ChartPoint p;
            p.known = c.key() >= 0;
            p.id = p.known ? c.key() : 0;
            p.key = codecNames.value(c.key());
            p.files = c->files;
            p.bytes = c->bytes;
            out.byVideoCodec.push_back(p);
        }
        largestFirst(out.byVideoCodec);
        for (auto m = perMonth.cbegin(); m != perMonth.cend(); ++m) {
            ChartPoint p;
            p.known = m.key() >= 0;
            if (p.known)
                p.key = QStringLiteral("%1-%2")
                            .arg(m.key() / 100, 4, 10, QLatin1Char('0'))
                            .arg(m.key() % 100, 2, 10, QLatin1Char('0'));
            p.files = m->files;
            p.bytes = m->bytes;
            out.byMonth.push_back(p);
        }
        for (auto m = perOtherMonth.cbegin(); m != perOtherMonth.cend(); ++m) {
            ChartPoint p;
            p.key = m.key();
            p.files = m->files;
            p.bytes = m->bytes;
            out.byMonth.push_back(p);
        }
        std::sort(out.byMonth.begin(), out.byMonth.end(),
                  [](const ChartPoint &a, const ChartPoint &b) { return a.key < b.key; });
        fillMonths(out.byMonth);
    }

    if (wanted & DriveSeries) {
        QHash<qint64, Sum> perVolume;
        read(catalog,
             QStringLiteral("SELECT \"Volume\", \"Count\", \"Size\" FROM \"Sum_volume\"%1")
                 .arg(where("\"ID\"")),
             ids, [&](const Statement &st) { perVolume[int64(st, 0)].add(st, 1); });
        if (!perVolume.isEmpty())
            for (const places::VolumeRow &v : places::volumes(catalog, mounts, false)) {
                const auto found = perVolume.constFind(v.id);
                if (found == perVolume.cend() || found->files <= 0)
                    continue;
                ChartPoint p;
                p.id = v.id;
                p.key = v.shownName();
                p.online = v.online;
                p.files = found->files;
                p.bytes = found->bytes;
                out.byDrive.push_back(p);
            }
    }
    std::stable_sort(out.byDrive.begin(), out.byDrive.end(),
                     [](const ChartPoint &a, const ChartPoint &b) { return a.key < b.key; });
    return out;
}

} // namespace vq
