#pragma once

#include <QString>
#include <QStringList>

// Every message the program itself shows or prints (errors, questions, reports) lives here, in
// Russian, so the window and the command-line tool say the same thing in the same words. Each goes
// through the translations (context "vq::msg"): English comes from translations/vidoteq_en.ts.
// Captions of controls stay with the controls. Keep each area's texts in its own section.
namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------
QString catalogReadOnly(const QString &path);       // a write refused
QString catalogOpenedReadOnly(const QString &path); // the status bar and the tool's note
QString readOnlyMark();                             // after the path on the path panel
QString notACatalogColumns(const QString &path, const QString &table, const QString &columns);
QString catalogFileExists(const QString &path);
QString catalogCannotBeMade(const QString &path, const QString &why);
QString catalogCannotBeRead(const QString &path, const QString &why);
QString valueOutOfRange();

// Values that are not what their field or cell takes ("'abc' не является целым числом").
QString notAnInteger(const QString &text);
QString notANumber(const QString &text);
QString notABoolean(const QString &text);
QString notADateTime(const QString &text);

QString noCatalogRemembered();
QString noTitleWithId(qint64 id);

// --- intake: scan, probe, adding episodes -------------------------------------------------------
QString intakeCannotEnterFolder(const QString &folder, const QString &reason);
// `file` is the entry as the file list shows it.
QString probeNoSuchFile(const QString &file);
QString probeIsAFolder(const QString &file);
QString probeNotARegularFile(const QString &file);
QString probeUnreadable(const QString &file, const QString &reason);
QString probeNoSize(const QString &file, const QString &answer);
QString probeTimeLimit(const QString &file, int seconds);
QString probeCrashed(const QString &file, const QString &how);
QString probeWorkerMissing(const QString &program, const QString &reason);
// The time limit setting as written could not be taken; `taken` seconds are used instead.
QString probeTimeLimitSetting(const QString &key, const QString &written, int least, int most, int taken);
QString intakeNotStored(const QString &file, const QString &reason);
QString intakeCatalogChanged();
QString intakeBadJobs(const QString &text);
QString intakeNoSuchTitle(qint64 id);
// The closing report of an "add all" run.
QString intakeRunCaption();
QString intakeRunStored(int stored, int listed);
QString intakeRunCancelled();
QString intakeRunSkippedTwice(int count);
QString intakeRunElsewhereHeader(int count);
QString intakeRunElsewhere(const QString &file, const QString &titles);
QString intakeRunProblemsHeader(int count);
QString intakeRunMore(int count);
QString intakeRunFailed(int failed, int listed);
// "Добавить" and "Добавить всё" before a title is chosen (or after it went).
QString intakeNoTitleChosen();
QString intakeNoFileProbed();
QString intakeNoSuchLanguage(qint64 key);
// Folders given to the tool in which the scan lists nothing.
QString intakeNoVideoFiles(const QString &folders);
// The tool's report of an add, line by line.
QString addReportStored(int stored, int listed, const QString &title, qint64 id);
QString addReportTitleMade(const QString &title, qint64 id);
QString addReportTitleNotMade(const QString &title);
QString addReportAlreadyStored(const QString &file);
QString addReportAlsoUnder(const QString &file, const QString &titles);
QString addReportSkipped(const QString &reason);
QString addReportEmptyFolder(const QString &folder);

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
// The reading was stopped by its limits, or ended without an answer.
QString mdbDetailTimeLimit(int seconds);
QString mdbDetailMemoryLimit(qint64 megabytes);
QString mdbDetailReaderStopped(const QString &how);
// The conversion's worker program cannot be started.
QString mdbWorkerMissing(const QString &program, const QString &reason);

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
QString listNulByte(int lineNo);
QString listUndecodableLine(int lineNo);
QString listOddUtf16Length();

// --- catalog: data sets and the file (checked while opening, reading, storing) ------------------
QString noCatalogOpen();
QString badCatalogName(const QString &name);
QString noTableOrQuery(const QString &name);
QString noTable(const QString &name);
QString noQuery(const QString &name);
QString noFieldNumber(const QString &set, int index);
QString noField(const QString &set, const QString &field);
QString dataSetNotOpen(const QString &set);
QString queryReadOnly(const QString &set);
QString cannotSortBy(const QString &set, const QString &field);
QString noRecordToEdit(const QString &set);
QString noRecordToDelete(const QString &set);
QString notEditing(const QString &set);
QString fieldReadOnly(const QString &field);
QString textTooLong(const QString &field, int most, qsizetype given);
QString cannotStoreRow(const QString &set, const QString &path, const QString &why);
QString cannotStoreChange(const QString &set, const QString &path, const QString &why);
QString cannotDeleteRow(const QString &set, const QString &path, const QString &why);
QString cannotRunQuery(const QString &why);
QString cannotTakeValue(const QString &why);
QString catalogMissing(const QString &path);
QString catalogIsFolder(const QString &path);
QString catalogEmptyFile(const QString &path);
QString catalogUnreadable(const QString &path, const QString &why);
QString notACatalog(const QString &path);
QString notACatalogMissing(const QString &path, const QString &missing);
// A file made by a later version of the program, which this one cannot read without harm.
QString catalogTooNew(const QString &path, int version, int ours);
QString catalogCannotBeUpgraded(const QString &path, const QString &why);
QString catalogCannotOpen(const QString &path, const QString &why);
QString catalogRefusedChange(const QString &path, const QString &why);
QString catalogFailure(const QString &what, const QString &path, const QString &why);
QString tableUnreadable(const QString &table, const QString &path, const QString &why);
// A language box with nothing chosen when a file is stored.
QString noLanguageChosen();
QString noCp1251Converter();

// --- the spreadsheet's automation surface ------------------------------------------------------
QString badSheetName(const QString &name);
QString badFontSize(double size);
QString badFontColour(qint64 colour);
QString widthOnRow(int row);
QString badColumnWidth(double width);
QString rangeOutsideSheet(bool row, int index);
QString sheetExists(const QString &name);
QString cellOutsideSheet(int row, int column);
QString cellTextTooLong(int row, int column);
QString noSheet(const QString &which);
QString badTemplate(int kind);
QString noWorkbook(int index);

// --- questions and reports of the window ---------------------------------------------------------
QString noCatalogToCopy();
QString newCatalogExists(const QString &path);
QString importIntoThisCatalog();
QString listRowRefused(int lineNo, int before, const QString &reason);
QString listNextStart(int lineNo);

// --- title filters ------------------------------------------------------------------------------
// What the user typed that names nothing in this catalog, or is no value of the field.
QString filterNoSuchType(const QString &text);
QString filterNoSuchLanguage(const QString &text);
QString filterNoSuchCodec(const QString &text);
QString filterNoSuchFormat(const QString &text);
QString filterBadFrame(const QString &text);
QString filterBadHeight(const QString &text);
QString filterBadDays(const QString &text);
// The filter bar's count: four texts (titles, files, size, time) shown beside the catalog's four.
QString filterShown(const QStringList &shown, const QStringList &all);

// --- titles, selection and pages --------------------------------------------------------------

QString titleNameEmpty();
QString noEpisodeWithId(qint64 id);
QString deleteQuestionCaption();
QString deleteQuestion(const QString &name);

// --- alternative names of a title ---------------------------------------------------------------
QString altNameEmpty();
QString altNameControlCharacter();
// The title's own name or one of its other names is already `existing`, as the search reads them.
QString altNameIsMainName(const QString &existing);
QString altNameTaken(const QString &existing);
QString noAltNameWithId(qint64 id);
QString altNameNotOfTitle(qint64 altId, qint64 titleId);
// The window's box for typing a name.
QString altNameAddCaption();
QString altNameEditCaption();
QString altNamePrompt(const QString &title);

// --- where files are: drives and locations -----------------------------------------------------
// An episode with no stored location.
QString placeUnknown();
QString episodePlaceUnknown(const QString &episode);
QString driveNotConnected(const QString &name);
QString folderNotFound(const QString &folder);
QString noVolumeWithId(qint64 id);
QString fileNotFoundOnDrive(const QString &path);
QString sureQuestion();
// The title page's line for the chosen episode's file: drive, its state, the folder, the file's state.
QString placeLine(const QString &drive, bool online, const QString &folder, const QString &state);
QString placeOnline();
QString placeOffline();
// A state word (present, missing, ...) as the window says it.
QString placeState(const QString &word);
// The check's result in one line: counts of present, changed, missing, moved, offline files.
QString checkSummary(qint64 present, qint64 changed, qint64 missing, qint64 moved, qint64 offline);
QString checkProgress(qint64 done, qint64 total);
QString removeMissingQuestion(qint64 missing);
QString forgetVolumeQuestion(const QString &name, qint64 files);
QString attachSummary(int matched, int ambiguous, int leftEpisodes, int leftFiles);
QString renameVolumePrompt(const QString &name);
// How a volume is known again (places::IdentKind: UUID, share, label and size, mount point).
QString volumeIdentity(int kind);

// --- desktop conventions: command-line usage, menus, save dialogs ---------------------------------
QString usageOptionNeedsValue(const QString &option);
QString usageOptionTakesNoValue(const QString &option);
QString usageUnknownOption(const QString &option);
QString usageWrongArgumentCount();
QString usageNoCommand();
QString usageUnknownCommand(const QString &command);
QString usageHeader(); // the first lines of --help, before the commands
QString usageCommandNeeds(const QString &command, const QString &what);
QString usageNotATitleId(const QString &text);
QString usageNotAnAltNameId(const QString &text);
QString usageNotAWholeNumber(const QString &option, const QString &text);
QString usageNotTogether(const QString &one, const QString &other);
QString usageNewCatalogNeedsName();
QString usageOutputNeedsName();
QString usageTitleNeedsName();
QString usageUnknownAction(const QString &command, const QString &action);
QString usageWrongArgumentCountOf(const QString &what);
QString usageJsonOnlyForList();
QString usageBadSelection(const QString &text);
QString usageBadColumns(const QString &text);
QString usageColumnsNeedSelection();
QString usageUnknownField(const QString &field, const QString &fields);
QString saveHtmlCaption();
QString saveSpreadsheetCaption();
QString saveNewCatalogCaption();
QString fileSavedOpenIt(const QString &path); // the question after an export
QString replaceExistingFile(const QString &path);
QString newCatalogMade(const QString &path);
QString convertChooseCaption();
QString aboutCaption();
QString aboutText(const QString &version, const QString &catalogPath, int schemaVersion);
QString dropHoldsNoFiles();
QString addAllNeedsFiles(); // "Добавить всё" with no file listed or clicked

// --- episode numbers read from file names ---------------------------------------------------------
// The episodes a title lacks ("нет: 7, 12"), on the title page and in the summary's tooltip.
QString episodesMissing(const QString &list);
// The tool's add --guess-title: where the files of a folder (or a file) went, or that their names
// give no title.
QString guessFiledUnder(const QString &where, const QString &title, qint64 id, const QString &otherName);
QString guessNoTitle(const QString &where);
// The intake page: the name the files propose, offered as another name of the title picked instead.
QString otherNameOfferCaption();
QString otherNameOffer(const QString &proposed, const QString &title);

// --- files' digests: hashing, the names' checksums, duplicates ------------------------------------
QString fileChangedWhileRead();
// The queue's progress: files and bytes done of those planned.
QString hashProgress(qint64 files, qint64 ofFiles, qint64 bytes, qint64 ofBytes);
QString hashSummary(qint64 hashed, qint64 same, qint64 changed, qint64 failed, qint64 offline);
QString verifySummary(qint64 withChecksum, qint64 match, qint64 mismatch, qint64 changed, qint64 pending);
// A duplicate group: copies of one title, or files of different titles.
QString duplicateKind(bool acrossTitles);
QString duplicateGroupLine(qint64 files, qint64 bytes, const QString &kind);
QString duplicatesNone();
// The title page's place line: how many copies of the chosen episode are known.
QString episodeCopies(int copies);

} // namespace vq::msg
