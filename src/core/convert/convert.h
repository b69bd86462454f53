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

// Brings an old Access catalog over into a new catalog at `newPath`. The old file is only read.
// The new one is written under a temporary name beside `newPath` in one transaction and moved
// into place when complete, never over an existing file. Every row keeps its ID; rows the new
// catalog's references would refuse are kept by adding what they refer to, and each such repair
// is reported. Nothing when cancelled (and nothing left behind); raises vq::Error naming the
// file when the old file cannot be brought over whole.
std::optional<ConvertReport> convertOldCatalog(const QString &oldPath, const QString &newPath,
                                               const Progress &progress = {});

} // namespace vq::convert
