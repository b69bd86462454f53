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

// --- exports ----------------------------------------------------------------------------------

QString cannotCreateFile(const QString &path, const QString &reason);
QString cannotCreateFolder(const QString &folder);
QString outOfMemory();
QString fileCreated(const QString &name);
QString spreadsheetNotOpened(const QString &path);

// --- grid ---------------------------------------------------------------------------------------

QString cellOutOfBounds(int col, int row);

// --- list import --------------------------------------------------------------------------------

} // namespace vq::msg
