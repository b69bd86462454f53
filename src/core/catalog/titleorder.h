#pragma once

#include <QSet>
#include <QtGlobal>

#include <QString>

#include <optional>
#include <vector>

namespace vq {

class Catalog;
struct ChangeNotice;

// Every title's key in name order (the user's locale, letter case aside), without reading every
// title where the file keeps their places (`Sort_title`): a title another program added or renamed
// has no place there, and is placed among the others when the order is next asked for. A file that
// cannot be written, or whose places were made in another locale, is put in order in memory.
class TitleOrder {
public:
    explicit TitleOrder(Catalog &catalog) : m_catalog(catalog) {}

    const std::vector<qint64> &ids();
    // The titles of `only` (ascending keys) in name order.
    std::vector<qint64> ids(const std::vector<qint64> &only);
    // What changed since: those titles are placed again when the order is next asked for.
    void follow(const ChangeNotice &notice);

private:
    void load();
    bool placesInFile();
    void sortInMemory(bool store);
    void place(const std::vector<qint64> &titles);
    std::optional<QString> nameOf(qint64 id);

    Catalog &m_catalog;
    std::vector<qint64> m_ids, m_ranks; // the ranks where the file keeps them
    bool m_valid = false;
    bool m_inFile = false;
    quint64 m_epoch = 0;
    QSet<qint64> m_touched;
};

} // namespace vq
