#pragma once

#include <QString>

// Every message the program itself shows or prints (errors, questions, reports) lives here, in
// Russian, so the window and the command-line tool say the same thing in the same words.
// Captions of controls stay with the controls. Keep each area's texts in its own section.
namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------

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

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// --- exports ----------------------------------------------------------------------------------

// --- list import --------------------------------------------------------------------------------
QString listNulByte(int lineNo);
QString listUndecodableLine(int lineNo);
QString listOddUtf16Length();

} // namespace vq::msg
