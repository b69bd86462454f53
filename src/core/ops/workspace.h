#pragma once

#include "selection.h"

namespace vq {

class CatalogSession;

namespace ops {

// The state that ties a user's steps together: the current title and the selection. It belongs
// to the catalog it was made in, so it is forgotten when another catalog is opened or made, and
// it drops what the catalog no longer holds after every change.
class Workspace {
public:
    explicit Workspace(CatalogSession &session) : m_session(session) {}

    CatalogSession &session() { return m_session; }

    // 0 when no title is current.
    qint64 currentTitle() const { return m_current; }
    void setCurrentTitle(qint64 id) { m_current = id; }

    Selection &selection() { return m_selection; }
    const Selection &selection() const { return m_selection; }
    SelTotals selectionTotals() { return m_selection.totals(m_session); }

    // Another catalog is open: nothing of the previous one is current or selected.
    void catalogChanged();
    // After a change of the catalog: a deleted title is no longer current nor selected. True when
    // the selection lost a title.
    bool followCatalog();

private:
    CatalogSession &m_session;
    qint64 m_current = 0;
    Selection m_selection;
};

} // namespace ops
} // namespace vq
