// Opens the list import wizard.
#include "tfmastera.h"
#include "tview_base.h"

namespace vq {

void TView_Base::BImportSpClick() {
    TFMasterA::showModal(*this);
}

} // namespace vq
