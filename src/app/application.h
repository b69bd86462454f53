#pragma once

class QCoreApplication;

namespace vq {

// What every start of the window does before the first widget: the names the settings and data
// folders are found by, and the language: the program's texts and Qt's own (Yes/No, file dialog,
// input box) in Russian or English, so that the whole window speaks one language. Returns false
// when a translation could not be loaded.
bool setUpApplication(QCoreApplication &app);

} // namespace vq
