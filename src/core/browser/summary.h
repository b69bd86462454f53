#pragma once

#include "catalog/catalog.h"
#include "exportlist.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace vq {

class CatalogSession;
class DataSet;
class GridData;

// Column layout of the summary GVSV, the title lists GV/GV4 and the selection list GV3.
namespace gvsv {
enum Column {
    Title = 0,
    Type,
    Episodes,
    Size,
    Duration,
    Quality,
    Sound,
    SubIn,
    SubExt,
    Comment,
    Selected,
    Id
};
constexpr int ColumnCount = 12;
} // namespace gvsv
namespace gv3 {
constexpr int CommentColumn = 9;
constexpr int IdColumn = 10;
} // namespace gv3

constexpr int kRecentDays = 14;

void setupSummaryGrid(GridData &grid);
void setupTitleGrid(GridData &grid);
void setupSelectionGrid(GridData &grid);

// The ten texts of the title `id`, as the catalog keeps them (Catalog::titleTexts): every list,
// export and the tool read the same ones.
void GetExtParam(Catalog &catalog, qint64 id, TExportList &out);
// The same for the title at 1-based record `recNo` of `Список` as it is narrowed and sorted now;
// leaves `Список` on that record.
void GetExtParam(CatalogSession &session, int recNo, TExportList &out);

// The same texts for every record of `Список`, for callers that only show them: made where
// missing from the per-title sums read once when the reader is made. Leaves `Список` where it was.
class SummaryReader {
public:
    explicit SummaryReader(CatalogSession &session);
    ~SummaryReader();
    // `part` is the run of records being visited, `recNo` the record's place in the data set's order.
    using Visit = std::function<void(int part, int recNo, qint64 id, const TExportList &texts)>;
    // How many parts are worth formatting `records` records at once.
    static int partsFor(qsizetype records);
    // The texts of every record, visited in the order the titles are stored, not the data set's:
    // reading the titles and their sums in order is several times faster than at a random place
    // per record. The records are split into `parts` runs formatted at once, each on a thread of
    // its own: `visit` is called from several threads at once, but for one part at a time.
    void textsInStoredOrder(int parts, const Visit &visit);

    // How many records there are.
    size_t records() const { return m_order.size(); }

private:
    CatalogSession &m_s;
    std::vector<qint64> m_order; // the records in name order
};

// A title's episodes as the episode grids and the tool's `episodes` show them, in name order: each
// row's key and its seven texts (name, size, frame, play time, sound, embedded and external
// subtitles). Read by the title's key alone.
struct EpisodeTexts {
    qint64 id = 0;
    std::array<QString, 7> texts;
    // What the file's name says: number -1 and version 0 when it says none; kind a ReleaseKind.
    double number = -1;
    double numberLast = -1;
    int kind = 0;
    int version = 0;
    QString group;
};
std::vector<EpisodeTexts> titleEpisodeTexts(Catalog &catalog, qint64 titleId);

// Whether a title whose episodes last changed at `maxUpdate` counts as recently updated.
bool updatedRecently(const QDateTime &maxUpdate, const QDateTime &now);
bool updatedRecently(std::optional<qint64> maxUpdateNaiveMs, qint64 nowNaiveMs);

// The grids one fill writes; any may be missing.
struct ListGrids {
    GridData *gvsv = nullptr;
    GridData *gv = nullptr;
    GridData *gv4 = nullptr;
    TExportList *exportList = nullptr; // given the texts of the summary's last row
};
// Rebuilds the summary and the title lists from the titles `Список` passes, in one pass.
void LoadLists(CatalogSession &session, const ListGrids &grids, const QSet<qint64> &selected = {},
               const QDateTime &now = QDateTime::currentDateTime(),
               const QHash<qint64, QString> *otherNames = nullptr);

// Rebuilds the summary from the titles `Список` passes. Titles in `selected` are shown marked
// (aqua, "Выбрано" true), so a rebuild never loses the selection marks.
// A title found only through another of its names shows that name beside its own.
void LoadGvSv(CatalogSession &session, GridData &gvsv, TExportList &exportList,
              const QSet<qint64> &selected = {}, const QDateTime &now = QDateTime::currentDateTime(),
              const QHash<qint64, QString> *otherNames = nullptr);
QString titleWithOtherName(const QString &title, const QString &otherName);

// Rebuilds the two title lists from the titles `Список` passes.
void LoadName(CatalogSession &session, GridData &gv, GridData *gv4,
              const QDateTime &now = QDateTime::currentDateTime());

// The texts of the "Всего" box.
struct CatalogStats {
    int titles = 0;
    int files = 0;
    double sizeBytes = 0;
    double durationMs = 0;
    QString LCount, LCE, LSize, LTime;
};
// The four totals texts (titles, files, size, play time) as the "Всего" box writes them.
QStringList totalsTexts(qint64 titles, qint64 files, double sizeBytes, double durationMs);
// Re-opens `All t`, `Rjk` and `Ext` (read when next asked), counts all titles and reads the
// catalog's totals as the file keeps them.
CatalogStats UpStat(CatalogSession &session);

// Running totals of the selection set.
struct SelTotals {
    int TitleCount = 0;
    int FileCount = 0;
    double SizeBytes = 0;
    double DurationSum = 0;
    void clear() { *this = SelTotals(); }
    QString LVAni() const;
    QString LVFile() const;
    QString LVSize() const;
    QString LVtime() const;
};

} // namespace vq
