#pragma once

#include "places/mounts.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace vq {
class Catalog;
}

namespace vq::ops {

// What attaching a folder to a title found: the episodes matched to a file, by name and size; the
// names that fit more than one episode or file; and what is left on either side.
struct AttachReport {
    std::vector<std::pair<QString, QString>> matched; // episode, file's path
    QStringList ambiguous, leftEpisodes, leftFiles;
};

// Matches the files of `folder` (an absolute path, and its subfolders) to the episodes of the title
// by name and size and stores their locations in one transaction, with nothing probed. An episode
// keeps the locations it had: the file becomes one more copy.
AttachReport attachFolder(Catalog &catalog, qint64 titleId, const QByteArray &folder,
                          const places::Mounts &mounts);

} // namespace vq::ops
