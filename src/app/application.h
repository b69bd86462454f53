#pragma once

class QCoreApplication;

namespace vq {

// What every start of the window does before the first widget: the names the settings and data
// folders are found by, and Qt's own Russian texts (Yes/No, file dialog, input box), so that the
// whole window speaks one language. Returns false when Qt's translations are not installed.
bool setUpApplication(QCoreApplication &app);

} // namespace vq
