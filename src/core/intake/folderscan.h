#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace vq {

// The video extensions the file list shows while the "AVI" box is checked, in search order.
inline constexpr std::array<const char *, 16> ExtensionList = {"mp4", "avi",  "mkv", "vob", "ogm", "mpeg",
                                                               "mpg", "mpgv", "mpv", "m1v", "m2v", "wmv",
                                                               "mov", "rm",   "dat", "rmvb"};

// True for a path the folder tree may hand to the scan: a real file-system folder, not a virtual node.
bool isScannableFolder(const QString &path);

// True when `name` ends in "." plus one of ExtensionList, in any letter case.
bool hasVideoExtension(const QString &name);

// Lists the bare names of `folder` for the file list: with `videoOnly` the files and subfolders whose
// extension is in ExtensionList, otherwise every file and subfolder (hidden ones too). Never "." or
// "..", each name once, sorted case-insensitively in the user's locale; entries that are neither
// regular files nor folders (fifos, sockets, devices, broken links) are left out.
// When anything is listed, `folder` becomes the process's current directory, because the probe finds
// the listed names through it; an empty result leaves the current directory alone. A folder that
// cannot be read gives an empty list. Throws vq::Error when the folder cannot be made current.
QStringList See(const QString &folder, bool videoOnly);

} // namespace vq
