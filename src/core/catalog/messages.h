#pragma once

#include <QString>

// Every message the program itself shows or prints (errors, questions, reports) lives here, in
// Russian, so the window and the command-line tool say the same thing in the same words.
// Captions of controls stay with the controls. Keep each area's texts in its own section.
namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------

// Values that are not what their field or cell takes ("'abc' не является целым числом").
QString notAnInteger(const QString &text);
QString notANumber(const QString &text);
QString notABoolean(const QString &text);
QString notADateTime(const QString &text);

QString noCatalogRemembered();
QString noTitleWithId(qint64 id);

// --- intake: scan, probe, adding episodes -------------------------------------------------------

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// Refusals: each names the file; nothing is made.
QString mdbNoSuchFile(const QString &path);
QString mdbNotAccessFile(const QString &path);
QString mdbDamaged(const QString &path, const QString &detail);
QString mdbCannotRead(const QString &path, const QString &reason);
QString mdbNotOurCatalog(const QString &path, const QString &missingTables);
QString mdbMissingColumn(const QString &path, const QString &table, const QString &column);
QString mdbUnexpectedType(const QString &path, const QString &table, const QString &column);
QString mdbJet3(const QString &path);
QString mdbUnknownVersion(const QString &path, int version);
QString mdbTextTooLong(const QString &path, const QString &table, qint64 id, const QString &column);
QString mdbTargetExists(const QString &path);
QString mdbTargetMissing();
QString mdbTargetIsSource(const QString &path);
QString mdbCannotWrite(const QString &path, const QString &reason);
QString mdbTotalsDiffer(const QString &path);
// What libmdb's damage looks like, for mdbDamaged.
QString mdbDetailCutShort();
QString mdbDetailRowsMissing(const QString &table, qint64 expected, qint64 read);
QString mdbDetailBadRow(const QString &table);
QString mdbDetailNoCatalog();
QString mdbDetailNoTables(const QString &tables);

// Names given to rows made so that every kept row still refers to something.
QString mdbOrphanTitleName(qint64 key);
QString mdbNoKeyTitleName();
QString mdbPlaceholderType(qint64 key);
QString mdbPlaceholderLanguage(qint64 key);
QString mdbPlaceholderCodec(qint64 key);
QString mdbPlaceholderFormat(qint64 key);

// The report: what came over, and one line per repair with its counts.
QString mdbSummary(qint64 titles, qint64 episodes, qint64 altNames, qint64 types, qint64 languages,
                   qint64 codecs, qint64 formats);
QString mdbRepairOrphans(qint64 key, qint64 episodes, qint64 altNames, const QString &newTitle);
QString mdbRepairNoKey(qint64 episodes, qint64 newId, const QString &newTitle);
QString mdbRepairNoType(qint64 titles);
QString mdbRepairType(qint64 key, qint64 titles, const QString &name);
QString mdbRepairLanguage(qint64 key, qint64 episodes, const QString &name);
QString mdbRepairCodec(qint64 key, qint64 episodes, const QString &name);
QString mdbRepairFormat(qint64 key, qint64 episodes, const QString &name);
QString mdbRepairNoColumn(const QString &table, const QString &column);
QString mdbNoRepairs();

// The window's dialogs.
QString mdbSaveCaption();
QString mdbProgressText(const QString &path);
QString mdbDoneCaption();
QString mdbDone(const QString &newPath, const QString &report);

// --- exports ----------------------------------------------------------------------------------

QString cannotCreateFile(const QString &path, const QString &reason);
QString cannotCreateFolder(const QString &folder);
QString outOfMemory();
QString fileCreated(const QString &name);
QString spreadsheetNotOpened(const QString &path);

// --- grid ---------------------------------------------------------------------------------------

QString cellOutOfBounds(int col, int row);

// --- list import --------------------------------------------------------------------------------

// --- titles, selection and pages --------------------------------------------------------------

QString titleNameEmpty();
QString noEpisodeWithId(qint64 id);
QString deleteQuestionCaption();
QString deleteQuestion(const QString &name);

} // namespace vq::msg
