#pragma once

#include "tabledata.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vq::schema {

// Names of the catalog's tables and stored queries, as they stand in the file.
inline const QString kTitles = QStringLiteral("Список");
inline const QString kEpisodes = QStringLiteral("Серии");
inline const QString kTypes = QStringLiteral("Тип");
inline const QString kLanguages = QStringLiteral("Sub");
inline const QString kCodecs = QStringLiteral("Codec");
inline const QString kFormats = QStringLiteral("Format");
inline const QString kAltNames = QStringLiteral("Alt_Ani_Name");
inline const QString kRjk = QStringLiteral("Rjk");
inline const QString kExt = QStringLiteral("Ext");
inline const QString kAllT = QStringLiteral("All t");
inline const QString kUpTime = QStringLiteral("Up_time");
// Sums of the episodes kept in the file by triggers: per title, per title and media combination,
// and over the whole catalog.
inline const QString kTitleSums = QStringLiteral("Sum_title");
inline const QString kExtSums = QStringLiteral("Sum_ext");
inline const QString kCodecSums = QStringLiteral("Sum_codec");
inline const QString kAllSums = QStringLiteral("Sum_all");
// Files and bytes per title, video codec and month stored: what the statistics charts draw.
inline const QString kCodecMonthSums = QStringLiteral("Sum_codec_month");
// Files and bytes of each title's locations per volume: the charts' space by drive.
inline const QString kVolumeSums = QStringLiteral("Sum_volume");
// Each title's place in name order (the user's locale), kept by the program: triggers clear a title's
// place when any writer adds or renames it, and the program places it again (TitleOrder).
inline const QString kTitleOrder = QStringLiteral("Sort_title");
inline const QString kOrderLocale = QStringLiteral("Sort_locale");
// The drives files were added from, and where each episode's file (or its copies) is on them.
inline const QString kVolumes = QStringLiteral("Volume");
inline const QString kLocations = QStringLiteral("Location");

// Texts longer than this are refused (the columns are declared text(50), real titles are longer).
constexpr int kMaxTextLength = 255;

// The version of the files this program makes (PRAGMA user_version). A file of an earlier version is
// brought up to it when it is opened (migrations.cpp); one of a later version is refused.
constexpr int kSchemaVersion = 6;

QStringList tableNames();
QStringList queryNames();
bool isQuery(const QString &name);

// Positions of the stored tables' columns, in the order of their lists in schema.cpp (the CREATE
// statements, the loader and every reader by position take them from there).
enum TitleColumn : int { tID, tName, tEpisodeCount, tComment, tType, kTitleColumns };
enum EpisodeColumn : int {
    eID,
    eTitle,
    eEpisode,
    eSize,
    eWidth,
    eHeight,
    eDuration,
    eSound,
    eSubIn,
    eSubExt,
    eVideoCodec,
    eAudioCodec,
    eOBitrate,
    eVBitrate,
    eABitrate,
    eAHz,
    eFormatPack,
    eAudioStreams,
    eUpdate,
    // What the episode's file name says (version 5): its number (the first and last of a range),
    // its kind (ReleaseKind; 0 when the name says nothing, NULL when not read yet), release version
    // and group.
    eNumber,
    eNumberLast,
    eKind,
    eVersion,
    eGroup,
    kEpisodeColumns
};

// Stored columns of a table in the order they are selected, and the column grouped by index.
std::vector<ColumnDef> tableColumns(const QString &table);
// The version whose migration added the column (1: the catalog's own columns).
int columnSince(const QString &table, int column);
// Its declaration in the file, for the migration that adds it.
QString columnDeclaration(const QString &table, int column);
// The name of one stored column.
QString columnName(const QString &table, int column);
int tableRefColumn(const QString &table);

// The statements of a version 1 catalog: the catalog's own tables, indexes and stored queries. The
// migrations bring it to the current version (schema::createCatalog).
QStringList seedStatements();
QStringList starterRowStatements();

// The sum tables, their triggers and index, and the statements that fill them from the episodes
// (for a catalog made before they existed).
QStringList sumStatements();
QStringList sumFillStatements();
QStringList sumTableNames();

// Indexes that answer the title filters on codecs and containers without reading every episode.
QStringList filterIndexStatements();
QStringList filterIndexNames();
// Each title's combinations of video codec, audio codec and container with their episode counts,
// kept by triggers, so the filters on them read a small table instead of the episodes' index.
QStringList codecSumStatements();
QStringList codecSumFillStatements();
// Drops the triggers of `Sum_codec`, wherever they are.
QStringList codecSumTriggerDrops();
// Each title's files and bytes per video codec and per month stored (`Update`), kept by triggers,
// so the statistics charts never read the episodes.
QStringList codecMonthSumStatements();
QStringList codecMonthSumFillStatements();
QStringList codecMonthSumTriggerNames();
// Each title's located files and their bytes per volume, kept by triggers on `Location` and on
// `Серии` (an episode deleted or given to another title takes its files' share with it).
QStringList volumeSumStatements();
QStringList volumeSumFillStatements();
QStringList volumeSumTriggerNames();
// The titles' kept places in name order, their triggers, and the statements that list every title
// without a place yet.
QStringList titleOrderStatements();
QStringList titleOrderFillStatements();
// The volumes and the episodes' locations on them, with their indexes and the trigger that takes
// an episode's locations with it when any writer deletes the episode.
QStringList placeStatements();
QStringList placeTableNames();
QStringList placeTriggerNames();

// The columns each table and stored query must have; a file lacking one is not a catalog of ours.
// A table needs its version 1 columns: later ones come with the migrations.
QStringList requiredColumns(const QString &tableOrQuery);

} // namespace vq::schema
