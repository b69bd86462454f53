#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

namespace vq {

class Catalog;
namespace places {
class Mounts;
}

// One bar or slice of a statistics chart: its files and bytes, and what it stands for.
struct ChartPoint {
    QString key;      // the name shown ("" when the episodes do not say: no codec, no frame, no date)
    qint64 id = 0;    // the key a click narrows by: type, codec or volume; 0 when none
    qint64 files = 0; // episodes (for drives: files found there)
    double bytes = 0; // their stored sizes
    int width = 0;    // byHeight: the exact frame (0 x 0 when unknown)
    int height = 0;
    bool online = false; // byDrive: mounted now
    bool known = true;   // false for the point of episodes that do not say (key "")
};

struct ChartSeries {
    std::vector<ChartPoint> byType;       // largest first
    std::vector<ChartPoint> byDrive;      // by name; only files whose drive is known
    std::vector<ChartPoint> byHeight;     // exact frames, by height then width; unknown first
    std::vector<ChartPoint> byVideoCodec; // largest first
    std::vector<ChartPoint> byMonth;      // "2025-12", every month from the first to the last
};

// Which series to read: a chart not seen need not be read.
enum ChartSet : unsigned {
    TypeSeries = 1,
    DriveSeries = 2,
    HeightSeries = 4,
    CodecSeries = 8,
    MonthSeries = 16,
    AllSeries = 31,
};

// The series of the whole catalog, or of the titles `shown` holds when it is given; those `wanted`
// names are read, the others left empty. Read from the kept sums (per title, per frame and
// languages, per video codec and month, per volume), never from the episodes or their locations,
// in one read transaction.
ChartSeries chartSeries(Catalog &catalog, const places::Mounts &mounts,
                        const std::vector<qint64> *shown = nullptr, unsigned wanted = AllSeries);

// "SD", "720p", "1080p" or "2160p": the class of a frame height; "" when unknown (0).
QString heightClass(int height);

} // namespace vq
