#pragma once

#include "browser/summary.h"
#include "browser/titlefilter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace vq {

class Catalog;
class CatalogSession;

// What the filter bar offers: the keys and names the catalog holds, in the order shown.
struct FilterChoices {
    struct Item {
        qint64 key = 0;
        QString name;
        bool operator==(const Item &) const = default;
    };
    QList<Item> types, languages, videoCodecs, audioCodecs, formats;
    QList<std::pair<int, int>> frames; // the frame sizes episodes have, largest first
};
FilterChoices filterChoices(Catalog &catalog);

// The "at least this height" steps the frame field offers beside the exact sizes.
inline constexpr int kMinHeights[] = {480, 576, 720, 1080, 2160};

// Narrows `Список` to the titles `filter` passes; an empty filter switches its filter off.
// `narrowed` tells the caller whether a filter is in force.
struct Narrowing {
    FilterResult found;
    bool narrowed = false;
};
Narrowing narrowTitles(CatalogSession &session, const TitleFilter &filter,
                       const QDateTime &now = QDateTime::currentDateTime());

// The count, files, size and play time of the shown titles, as the totals texts write them.
QStringList shownTexts(const FilterResult &shown);

// "Показано N из M · …": what the filter shows beside the catalog's totals.
QString shownText(const Narrowing &shown, const CatalogStats &all);

} // namespace vq
