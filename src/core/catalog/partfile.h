#pragma once

#include <QByteArray>
#include <QString>

// A new catalog is made under a hidden name beside its final one, ".NAME.XXXX.part", and given its
// name when complete. A process killed meanwhile (kill -9, a power cut) cannot remove its part, and
// SQLite's journals beside it: so each part is locked by the process that makes it for as long as it
// lives, and the parts nobody holds are removed the next time a part is made in that folder.
namespace vq::partfile {

// Makes an empty part beside `finalPath`, locked by this process until release(), after removing the
// stale parts of that folder. Raises vq::Error naming `finalPath` when the folder refuses it.
QString make(const QString &finalPath);

// Whether this process made `part` with make() and holds it still.
bool heldHere(const QString &part);

// Lets go of a part made by make(); its files are the caller's to rename or remove first.
void release(const QString &part);

// Removes the parts of `folder` (and their journals) that no living process holds.
void removeStale(const QByteArray &folder);

// True for a name a part or one of its journals has.
bool isPartName(const QByteArray &name);

} // namespace vq::partfile
