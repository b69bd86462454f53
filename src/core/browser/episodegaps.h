#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace vq {

class Catalog;

// The episodes a title lacks, by the numbers its files' names say (kind "episode" only; a range
// covers each of its numbers, a fractional number none). The numbers run from 1 to the title's
// episode count when that is a number, else to the highest number seen; a count smaller than the
// highest number seen moves the run to end there (a second season numbered on: 13 to 24 of 12).
// Several files of one number (v1 and v2, two groups) are one episode. Nothing is missing from a
// title none of whose names gives a number.
std::vector<int> missingEpisodes(const QString &countText,
                                 const std::vector<std::pair<double, double>> &numbers);

// The same for a stored title, read by its key.
std::vector<int> titleMissingEpisodes(Catalog &catalog, qint64 titleId);

// The titles some episode is missing from, ascending: one walk of the episodes' number index.
std::vector<qint64> titlesWithGaps(Catalog &catalog);

// "7, 12", runs of three or more as "3-5"; empty for none.
QString missingList(const std::vector<int> &missing);

} // namespace vq
