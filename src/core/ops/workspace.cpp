#include "workspace.h"

#include "catalog/catalogsession.h"
#include "titleops.h"

namespace vq::ops {

void Workspace::catalogChanged() {
    m_current = 0;
    m_selection.clear();
}

bool Workspace::followCatalog() {
    if (!m_session.isOpen()) {
        catalogChanged();
        return true;
    }
    if (m_current != 0 && !titleExists(m_session, m_current))
        m_current = 0;
    return m_selection.prune(m_session);
}

} // namespace vq::ops
