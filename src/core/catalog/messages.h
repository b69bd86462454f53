#pragma once

#include <QString>

// Every message the program itself shows or prints (errors, questions, reports) lives here, in
// Russian, so the window and the command-line tool say the same thing in the same words.
// Captions of controls stay with the controls. Keep each area's texts in its own section.
namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------

// --- intake: scan, probe, adding episodes -------------------------------------------------------

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// --- exports ----------------------------------------------------------------------------------

// --- list import --------------------------------------------------------------------------------

} // namespace vq::msg
