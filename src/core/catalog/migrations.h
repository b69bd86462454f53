#pragma once

#include <QString>
#include <QtGlobal>

struct sqlite3;

namespace vq {
struct ReleaseName;
}

// How a catalog file of any earlier version becomes one of the current version (schema.h,
// kSchemaVersion). Each step is one function; every step checks what the file holds before it
// makes anything, so a file that another program changed by hand is mended too.
namespace vq::schema {

// A pragma that answers one number (user_version, data_version); 0 when it cannot be read.
qint64 pragmaNumber(sqlite3 *db, const char *pragma);
// The file's PRAGMA user_version.
int fileVersion(sqlite3 *db);
// Whether the file lacks anything the current version keeps.
bool needsUpgrade(sqlite3 *db, int version);
// Brings the file up to the current version inside the caller's write transaction, the version
// number included. Throws vq::Error with SQLite's words when a step is refused.
void upgrade(sqlite3 *db);
// For a file that is not written (read-only, or held by another program): the tables the current
// version keeps and the file lacks are made as temporary tables of the connection, filled from the
// episodes, so every reader asks the same SQL of every file. True when any was made.
bool deriveInTemp(sqlite3 *db);
// What an episode's row keeps of its file's name: numbers -1 and version 0 when none.
struct EpisodeFacts {
    double number = -1;
    double numberLast = -1;
    int kind = 0; // ReleaseKind
    int version = 0;
    QString group;
};
EpisodeFacts episodeFacts(const ReleaseName &read);
// Reads the names of the episodes whose facts were never read (Kind NULL), inside the caller's
// transaction: the upgrade, and a conversion, which writes the old rows as they were.
void fillEpisodeNumbers(sqlite3 *db);
// The schema of a new catalog, inside the caller's transaction: version 1, then every step.
void createCatalog(sqlite3 *db);

} // namespace vq::schema
