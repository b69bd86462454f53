// Bringing an 8,000-episode Access catalog over. libmdb cannot write, so the catalog is grown
// from the sample one: the data pages of Серии are appended again and again with new IDs, and
// the table's page map and row count follow. Only what a reader looks at is touched; the
// conversion checks the row count and every reference, so a wrong file would be refused.
#include "convert/convert.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

namespace {

void put32(QByteArray &b, qint64 at, quint32 v) {
    for (int k = 0; k < 4; ++k)
        b[at + k] = char((v >> (8 * k)) & 0xFF);
}

quint32 get(const QByteArray &b, qint64 at, int bytes) {
    quint32 v = 0;
    for (int k = bytes - 1; k >= 0; --k)
        v = (v << 8) | quint8(b[at + k]);
    return v;
}

// The sample grown to `copies` + 1 times its episodes; the episode count is returned.
qint64 growSample(const QString &sample, const QString &out, int copies) {
    MdbHandle *mdb = mdb_open(QFile::encodeName(sample).constData(), MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
        return -1;
    char table[] = "Серии";
    MdbTableDef *t = mdb_read_table_by_name(mdb, table, MDB_TABLE);
    if (!t)
        return -1;
    mdb_read_columns(t);
    mdb_rewind_table(t);
    std::set<quint32> pages;
    while (mdb_fetch_row(t))
        pages.insert(t->cur_phys_pg);
    const qint64 rows = t->num_rows;
    const quint32 tdef = quint32(t->entry->table_pg);
    // A reference map: its first page marks the table's pages from page 0 on.
    const bool refMap = t->map_sz >= 5 && t->usage_map[0] == 1;
    const quint32 mapPage = refMap ? quint32(mdb_get_int32(t->usage_map, 1)) : 0;
    const qint64 pageSize = mdb->fmt->pg_size, rowCountAt = mdb->fmt->row_count_offset,
                 rowsAt = mdb->fmt->tab_num_rows_offset;
    mdb_free_tabledef(t);
    mdb_close(mdb);
    if (!refMap)
        return -1;

    QFile f(sample);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    QByteArray b = f.readAll();
    for (int copy = 1; copy <= copies; ++copy) {
        for (quint32 p : pages) {
            QByteArray page = b.mid(p * pageSize, pageSize);
            const int n = int(get(page, rowCountAt, 2));
            for (int r = 0; r < n; ++r) {
                const quint32 off = get(page, rowCountAt + 2 + 2 * r, 2);
                if (off & 0x4000) // deleted
                    continue;
                const qint64 at = (off & 0x1FFF) + 2; // after the column count: ID, the first fixed column
                put32(page, at, get(page, at, 4) + quint32(copy) * 100000u);
            }
            const quint32 number = quint32(b.size() / pageSize);
            if (number >= (pageSize - 4) * 8)
                return -1;
            b += page;
            b[mapPage * pageSize + 4 + number / 8] =
                char(quint8(b[mapPage * pageSize + 4 + number / 8]) | (1u << (number % 8)));
        }
    }
    put32(b, tdef * pageSize + rowsAt, quint32(rows * (copies + 1)));
    QFile o(out);
    if (!o.open(QIODevice::WriteOnly) || o.write(b) != b.size())
        return -1;
    return rows * (copies + 1);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString sample =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VQ_LEGACY_DIR "/small.mdb");
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.mdb"));
    const qint64 episodes = growSample(sample, big, 38);
    if (episodes < 0) {
        std::fprintf(stderr, "bench_convert: cannot grow %s\n", qPrintable(sample));
        return 1;
    }
    auto timeOne = [&](const QString &in, int run, qint64 &converted) {
        const QString out = dir.filePath(QStringLiteral("out%1.vdq").arg(run));
        QElapsedTimer timer;
        timer.start();
        const auto report = vq::convert::convertOldCatalog(in, out);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        converted = report ? report->episodes : -1;
        QFile::remove(out);
        return ms;
    };
    try {
        std::vector<double> times;
        qint64 converted = 0;
        for (int run = 0; run < 5; ++run)
            times.push_back(timeOne(big, run, converted));
        std::sort(times.begin(), times.end());
        std::printf("convert: %lld episodes (%lld KiB .mdb): median %.1f ms, best %.1f ms over 5 runs\n",
                    static_cast<long long>(converted), static_cast<long long>(QFileInfo(big).size() / 1024),
                    times[2], times[0]);
        if (converted != episodes) {
            std::fprintf(stderr, "bench_convert: %lld of %lld episodes came over\n",
                         static_cast<long long>(converted), static_cast<long long>(episodes));
            return 1;
        }
        qint64 small = 0;
        std::vector<double> smallTimes;
        for (int run = 10; run < 15; ++run)
            smallTimes.push_back(timeOne(sample, run, small));
        std::sort(smallTimes.begin(), smallTimes.end());
        std::printf("convert: %lld episodes (the sample): median %.1f ms\n", static_cast<long long>(small),
                    smallTimes[2]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_convert: %s\n", e.what());
        return 1;
    }
    return 0;
}
