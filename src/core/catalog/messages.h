#pragma once

#include <QString>

// Every message the program itself shows or prints (errors, questions, reports) lives here, in
// Russian, so the window and the command-line tool say the same thing in the same words.
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

// --- intake: scan, probe, adding episodes -------------------------------------------------------

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// --- exports ----------------------------------------------------------------------------------

// --- list import --------------------------------------------------------------------------------

} // namespace vq::msg
