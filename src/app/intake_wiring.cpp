// Connects the handlers of the page "Добавить новое".
#include "intake_handlers.h"
#include "tview_base.h"

namespace vq {

void TView_Base::wireIntake() {
    new TIntakeHandlers(*this);
}

} // namespace vq
