#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vq::convert {

// What a conversion brought over (rows written, the rows it had to add included) and each repair
// it made, as the window and the command-line tool show them.
struct ConvertReport {
    QString newPath;
    qint64 titles = 0;
    qint64 episodes = 0;
    qint64 altNames = 0;
    qint64 types = 0;
    qint64 languages = 0;
    qint64 codecs = 0;
    qint64 formats = 0;
    QStringList repairs;

    QString summary() const;
    // The summary, then one line per repair (or a line saying there was none).
    QString text() const;
};

// Called now and then with the rows done and the rows to do; returning false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// An old Access catalog rather than one of ours: by its content, or by its name when it cannot be
// read (so that the conversion names what is wrong with it).
bool isOldCatalog(const QString &path);

// The default place of a converted catalog: the old file's folder and name, with ".vdq"
// ("name (2).vdq" and so on when that is taken).
QString convertedCatalogPath(const QString &oldPath);

// Limits of the process that reads the old file: libmdb can loop on a damaged one, taking ever more
// memory, so it reads in a worker process that these end.
struct ConvertOptions {
    QString program;             // empty: defaultConvertProgram()
    int timeLimitSeconds = 0;    // without a word from the reader; 0: convertTimeLimitSeconds()
    qint64 memoryLimitBytes = 0; // 0: 512 MiB
};

// Brings an old Access catalog over into a new catalog at `newPath`. The old file is only read, by
// a worker process within the limits of `options`. The new one is written under a temporary name
// beside `newPath` in one transaction and given its name when complete, never over an existing file
// or through a link. Every row keeps its ID; rows the new catalog's references would refuse are
// kept by adding what they refer to, and each such repair is reported. Nothing when cancelled (and
// nothing left behind); raises vq::Error naming the file when the old file cannot be brought over
// whole, the reader's limits included.
std::optional<ConvertReport> convertOldCatalog(const QString &oldPath, const QString &newPath,
                                               const Progress &progress = {},
                                               const ConvertOptions &options = {});

// The worker's side: converts in this process into `partPath`, an empty file made beside `newPath`
// (the name messages give). Nothing when `progress` cancels.
std::optional<ConvertReport> convertInto(const QString &oldPath, const QString &partPath,
                                         const QString &newPath, const Progress &progress);

} // namespace vq::convert
