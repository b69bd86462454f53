#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace vq {

// The video extensions the file list shows while the "AVI" box is checked, in search order.
// Today's containers follow the old list; audio-only ones (mka) stay out, the box means video files.
inline constexpr std::array<const char *, 24> ExtensionList = {
    "mp4", "avi", "mkv", "vob",  "ogm",  "mpeg", "mpg", "mpgv", "mpv", "m1v", "m2v", "wmv",
    "mov", "rm",  "dat", "rmvb", "webm", "m2ts", "mts", "ts",   "m4v", "flv", "ogv", "3gp"};

// True for a path the folder tree may hand to the scan: a real file-system folder, not a virtual node.
bool isScannableFolder(const QString &path);

// True when `name` ends in "." plus one of ExtensionList, in any letter case.
bool hasVideoExtension(const QString &name);

// Lists the bare names of `folder` for the file list: with `videoOnly` the files and subfolders whose
// extension is in ExtensionList, otherwise every file and subfolder (hidden ones too). Never "." or
// "..", each name once, sorted case-insensitively in the user's locale; entries that are neither
// regular files nor folders (fifos, sockets, devices, broken links) are left out.
// The process's current directory is left alone (dialogs and exports would follow it); every entry
// carries its own absolute path instead. A folder that cannot be read gives an empty list.
QStringList See(const QString &folder, bool videoOnly);

// One entry of the file list.
struct ListedFile {
    QString shown;   // as the list shows it: the bare name, or the path below the scanned folder
    QByteArray path; // the absolute path as the file system has it: names need not be UTF-8
    bool operator==(const ListedFile &) const = default;
};

// The scan behind See, with the file system's own names kept: a name that is not UTF-8 (Windows-1251
// names from old discs) is shown as fileNameTextAmong reads it and found by `path`.
// With `recursive` every subfolder follows its folder's own entries, in the same order, each entry
// shown as its path below `folder`; a folder reached twice (through a link) is read once.
// A folder whose own name is not UTF-8 is found by its text as shown, as findNativePath finds it.
QList<ListedFile> scanFolder(const QString &folder, bool videoOnly, bool recursive = false);
// The same for a folder named by the file system's own bytes (an absolute path).
QList<ListedFile> scanNativeFolder(QByteArray folder, bool videoOnly, bool recursive = false);

// The file system's own name of `path`, a path as typed or as handed over in text: when the text
// names nothing, the one name of its folder that this program shows as this text, or that Qt shows
// so (replacement marks for the bytes that are not UTF-8), is taken instead. Empty when there is no
// such entry, or more than one: a file is never taken for another.
QByteArray findNativePath(const QString &path);

} // namespace vq
