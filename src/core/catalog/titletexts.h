#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace vq {

class Catalog;
struct TitleSums;

// The ten texts a title shows in the summary, the title lists, the selection and the exports, in
// the summary's column order: name, type, episode count, size (megabytes), play time, quality,
// sound, embedded and external subtitles, comment.
constexpr int kTitleTextCount = 10;
using TitleTextArray = std::array<QString, kTitleTextCount>;
// Shared and never changed once made: a view holds the pointer, not a copy of the texts.
using TitleTextBlock = std::shared_ptr<const QString>;

struct TitleTexts {
    TitleTextBlock texts;            // null for a title the catalog does not hold
    std::optional<qint64> maxUpdate; // the latest episode's `Update`, naive milliseconds
    qint64 id = 0;
    const QString &field(int f) const;
};

// The catalog's one source of those texts, by title: each title's are made once and kept while
// neither the title nor its episodes change (the catalog's stamps), and all are dropped when the
// file changed under it. Owned by the Catalog; not shared between threads except inside prepare().
class TitleTextCache {
public:
    explicit TitleTextCache(Catalog &catalog) : m_catalog(catalog) {}
    ~TitleTextCache();

    // The texts of `id` as the file holds them now.
    const TitleTexts &of(qint64 id);
    // Makes the texts of every title of `ids` that lacks them: the sums are read once for all of
    // them when there are many (or taken from `sums`, every title's as read just now), and the
    // formatting runs on `parts` threads (see partsFor).
    void prepare(std::span<const qint64> ids, int parts = 1, const TitleSums *sums = nullptr);
    // How many threads are worth formatting `titles` titles at once.
    static int partsFor(qsizetype titles);
    void clear();

private:
    struct Pass;
    struct Slot {
        TitleTexts entry;
        quint64 stamp = 0;
        bool valid = false;
    };
    Slot *slotFor(qint64 id);
    bool current(const Slot &s, qint64 id) const;
    Catalog &m_catalog;
    quint64 m_epoch = 0;
    std::vector<Slot> m_slots; // by the title's row of the titles table
    TitleTexts m_none;
};

} // namespace vq
