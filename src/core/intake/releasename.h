#pragma once

#include <QString>
#include <QStringList>

namespace vq {

// What a release name says its file holds besides a plain episode.
enum class ReleaseKind { None, Episode, Ova, Special, Movie, Opening, Ending, Preview };

// The stable English word of a kind for the tool's output: "", "episode", "ova", "special", "movie",
// "opening", "ending", "preview".
QString releaseKindWord(ReleaseKind kind);

// What a file's name tells of it. Whatever the name does not say stays empty.
struct ReleaseName {
    QString title;
    QString episode;                      // as written: "01", "12.5", "01-02" (a range joined by "-")
    double firstEpisode = -1;             // the numbers of `episode`; -1 when there is none
    double lastEpisode = -1;              // equals firstEpisode unless a range
    QString version;                      // "2" of "01v2"
    QString season;                       // "2" of "S02E05", "2nd Season", "Season 2", "ТВ-2"
    ReleaseKind kind = ReleaseKind::None; // Episode when a number is read and nothing says otherwise
    QString group;                        // the release group, never taken for the title
    QString resolution;                   // "1080p", "1920x1080", "4K" as written
    QStringList videoTerms;               // as written: "x264", "HEVC", "10bit"
    QStringList audioTerms;               // "FLAC", "AAC2.0", "Dual Audio"
    QString source;                       // BD, WEB, DVD, TV, LD or VHS, whichever word the name uses for it
    QString year;
    QString crc32; // the last bracketed group of exactly 8 hex digits, upper case
    QString episodeTitle;
};

// Reads a release name such as "[Group] Title - 01v2 (1080p) [ABCD1234].mkv". `folderName` (the
// folder's name or path) gives the title, and the season or kind a folder such as "Season 2" or
// "Specials" says, when the file's own name has no title ("Title/01.mkv"); a path in `fileName` does the
// same. Pure and thread-safe.
ReleaseName readReleaseName(const QString &fileName, const QString &folderName = {});

} // namespace vq
