#include "selection.h"

#include "titleops.h"

#include <algorithm>

namespace vq::ops {

bool Selection::add(qint64 id) {
    if (id <= 0 || m_set.contains(id))
        return false;
    m_ids.push_back(id);
    m_set.insert(id);
    return true;
}

bool Selection::remove(qint64 id) {
    if (!m_set.remove(id))
        return false;
    m_comments.remove(id);
    m_ids.erase(std::remove(m_ids.begin(), m_ids.end(), id), m_ids.end());
    return true;
}

void Selection::clear() {
    m_ids.clear();
    m_set.clear();
    m_comments.clear();
}

void Selection::setComment(qint64 id, const QString &text) {
    if (m_set.contains(id))
        m_comments.insert(id, text);
}

bool Selection::prune(CatalogSession &session) {
    bool any = false;
    for (size_t i = m_ids.size(); i-- > 0;) {
        if (!titleExists(session, m_ids[i])) {
            m_set.remove(m_ids[i]);
            m_comments.remove(m_ids[i]);
            m_ids.erase(m_ids.begin() + std::ptrdiff_t(i));
            any = true;
        }
    }
    return any;
}

SelTotals Selection::totals(CatalogSession &session) const {
    SelTotals t;
    for (const qint64 id : m_ids) {
        const Amounts a = titleAmounts(session, id);
        t.TitleCount += 1;
        t.FileCount += a.files;
        t.SizeBytes += a.sizeBytes;
        t.DurationSum += a.durationMs;
    }
    return t;
}

} // namespace vq::ops
