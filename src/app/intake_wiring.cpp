// Connects the handlers of the page "Добавить новое".
#include "intake_handlers.h"
#include "tview_base.h"

namespace vq {

void TView_Base::wireIntake() {
    new TIntakeHandlers(*this);
}

void TView_Base::intakeTitlesChanged(const ChangeNotice &notice) {
    if (auto *h = findChild<TIntakeHandlers *>(QString(), Qt::FindDirectChildrenOnly))
        h->titlesChanged(notice);
}

void TView_Base::intakeCatalogChanged() {
    m_intakeSession.catalogChanged();
    if (auto *h = findChild<TIntakeHandlers *>(QString(), Qt::FindDirectChildrenOnly))
        h->catalogChanged();
}

} // namespace vq
