#pragma once

#include "catalog/catalogsession.h"

#include <QString>
#include <vector>

namespace vq::ops {

// The other names a title is known by (Alt_Ani_Name). They go with the title when it is deleted
// (the file cascades), and the title search finds a title by any of them.
struct AltName {
    qint64 id = 0;
    QString name;
    bool operator==(const AltName &) const = default;
};

// A title's other names in the order they were added. Raises vq::Error when there is no such title.
std::vector<AltName> altNames(Catalog &catalog, qint64 titleId);

// Each write is one transaction and raises vq::Error, changing nothing, when the name is refused:
// empty once trimmed, longer than a text column holds, holding control characters, or the same
// as the title's main name or another of its names (letter case and ё/е aside, as the search
// compares them). The name is stored trimmed.
qint64 addAltName(Catalog &catalog, qint64 titleId, const QString &name);
void renameAltName(Catalog &catalog, qint64 altId, const QString &name);
void deleteAltName(Catalog &catalog, qint64 altId);

inline std::vector<AltName> altNames(CatalogSession &s, qint64 titleId) {
    return altNames(s.catalog(), titleId);
}
inline qint64 addAltName(CatalogSession &s, qint64 titleId, const QString &name) {
    return addAltName(s.catalog(), titleId, name);
}
inline void renameAltName(CatalogSession &s, qint64 altId, const QString &name) {
    renameAltName(s.catalog(), altId, name);
}
inline void deleteAltName(CatalogSession &s, qint64 altId) {
    deleteAltName(s.catalog(), altId);
}

} // namespace vq::ops
