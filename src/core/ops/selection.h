#pragma once

#include "browser/summary.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

namespace vq {

class CatalogSession;

namespace ops {

// The titles a user picked for the selection exports, in the order picked. The totals are read
// from the catalog whenever asked, so they follow deleted titles and changed episodes.
class Selection {
public:
    // False when the title is selected already.
    bool add(qint64 id);
    // False when it was not selected.
    bool remove(qint64 id);
    bool contains(qint64 id) const { return m_set.contains(id); }
    void clear();
    // A comment typed into the selection list: the list and its exports show it instead of the
    // title's own, for as long as the title stays selected. Nothing is written to the catalog.
    void setComment(qint64 id, const QString &text);
    const QHash<qint64, QString> &comments() const { return m_comments; }
    bool isEmpty() const { return m_ids.empty(); }
    const std::vector<qint64> &ids() const { return m_ids; }
    const QSet<qint64> &idSet() const { return m_set; }

    // Drops the titles the catalog no longer has; true when any went.
    bool prune(CatalogSession &session);
    // The totals of the titles as the catalog holds them now (prune first).
    SelTotals totals(CatalogSession &session) const;

private:
    std::vector<qint64> m_ids;
    QSet<qint64> m_set;
    QHash<qint64, QString> m_comments;
};

} // namespace ops
} // namespace vq
