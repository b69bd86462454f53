#pragma once

#include "catalog/settings.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace vq {

class Catalog;

// What the filter bar and the tool's options narrow the title list by. Unset fields narrow nothing.
struct TitleFilter {
    std::optional<int> type;                      // Список.NType
    std::optional<qint64> sound, subIn, subExt;   // language keys (Sub.ID)
    std::optional<int> frameWidth, frameHeight;   // exact frame; set together
    std::optional<int> minHeight;                 // frame height at least
    std::optional<qint64> videoCodec, audioCodec; // codec keys
    std::optional<qint64> format;                 // container key
    std::optional<int> sinceDays;                 // episodes stored (Update) within N days
    bool empty = false;                           // titles without episodes
    bool incomplete = false;                      // titles some numbered episode is missing from
    bool duplicates = false;                      // titles with an episode stored twice
    bool singleCopy = false;                      // titles with an episode on one drive only
    QString name;                                 // search text: the start of any of the title's names
    bool anywhere = false;                        // the search text anywhere in a name
    bool isEmpty() const;                         // nothing narrows the list
    bool operator==(const TitleFilter &) const = default;
};

struct FilterResult {
    std::vector<qint64> ids;         // titles that pass, ascending
    QHash<qint64, QString> altNames; // a title found by name only through an alternative name: that name
    int files = 0;
    double sizeBytes = 0;
    double durationMs = 0; // totals of the passing titles
};

// One read (one read transaction) against the kept sums (Sum_title, Sum_ext) and indexes; falls
// back to Серии where a read-only catalog has no sums. Every value bound, never pasted into SQL.
// A title passes a media field when any of its episodes has that value; fields combine with AND.
// "Within N days" counts from `now` back N times 24 hours. A negative day count or height is
// refused with vq::Error.
FilterResult applyTitleFilter(Catalog &catalog, const TitleFilter &filter,
                              const QDateTime &now = QDateTime::currentDateTime());

// Lookups from what a user types (a key number or a name, case-insensitive) to a key; nullopt when
// unknown. Used by the tool's options and to restore a saved filter.
std::optional<int> findType(Catalog &, const QString &text);
std::optional<qint64> findLanguage(Catalog &, const QString &text);
std::optional<qint64> findCodec(Catalog &, const QString &text);
std::optional<qint64> findFormat(Catalog &, const QString &text);

// "1280x720" (or with X, ×, *) as a width and a height; nullopt for anything else.
std::optional<std::pair<int, int>> parseFrameSize(const QString &text);

// The filter's state in the settings (group "Filter"), by names rather than keys, so it survives
// another catalog. The search text itself is not kept: the search box starts empty.
void saveTitleFilter(Settings &, Catalog &, const TitleFilter &);
TitleFilter loadTitleFilter(const Settings &, Catalog &); // unknown names are dropped

} // namespace vq
