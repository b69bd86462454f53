#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vq {

class Catalog;

namespace ops {

// A name as titles are matched by release names: letter case folded, ё as е, every character that
// is not a letter or a digit (punctuation, "_", ".") a blank, blanks run together.
QString titleKey(QStringView name);

// The title most of the files' names give (the folder's name stands in for a file's name that
// gives none), spelled as the first of them gives it; empty when no name gives one. Ties go to the
// title met first.
QString proposedTitle(const QStringList &fileNames, const QString &folderName = {});

// The catalog's title whose name or one of whose other names has the key of `name`; the lowest key
// when several have. `otherName` is the other name matched, empty when the title's own name did.
struct TitleMatch {
    qint64 id = 0;
    QString otherName;
};
std::optional<TitleMatch> matchTitle(Catalog &catalog, const QString &name);

// Whether `proposed` is worth offering as another name of the title the user picked instead: it
// is not already the title's name or one of its other names (by key).
bool offersOtherName(Catalog &catalog, qint64 titleId, const QString &proposed);

} // namespace ops
} // namespace vq
