#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
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

// Where a grid that holds titles' keys gets their texts, a few rows at a time as they are shown.
class TitleTextSource {
public:
    virtual ~TitleTextSource() = default;
    // The texts of each key, in order (null for a key the catalog does not hold).
    virtual void titleTexts(std::span<const qint64> keys, std::vector<TitleTextBlock> &out) = 0;
};

// The catalog's one source of those texts, by title: each title's are made once, from the title's
// row and its kept sums read by key, and kept while neither the title nor its episodes change (the
// catalog's stamps); all are dropped when the file changed under them. Owned by the Catalog.
class TitleTextCache {
public:
    explicit TitleTextCache(Catalog &catalog) : m_catalog(catalog) {}
    ~TitleTextCache();

    // The texts of `id` as the file holds them now.
    TitleTexts of(qint64 id);
    // Makes the texts of every title of `ids` that lacks them, reading only those titles (every
    // title's sums once when there are many, or taken from `sums`, every title's as read just now);
    // the formatting runs on `parts` threads (see partsFor).
    void prepare(std::span<const qint64> ids, int parts = 1, const TitleSums *sums = nullptr);
    void blocks(std::span<const qint64> ids, std::vector<TitleTextBlock> &out);
    // The texts of `ids` (ascending keys) made as prepare() makes them, but handed to `visit`
    // instead of kept: for one pass over many titles. `visit` is called from `parts` threads at once,
    // for one part at a time each, with the index of the title in `ids`; a title the catalog does not
    // hold is not visited.
    using Visit = std::function<void(int part, size_t index, const TitleTexts &texts)>;
    void format(std::span<const qint64> ids, int parts, const Visit &visit);
    // How many threads are worth formatting `titles` titles at once.
    static int partsFor(qsizetype titles);
    void clear();

private:
    struct Slot {
        TitleTexts entry;
        quint64 stamp = 0;
    };
    bool current(qint64 id) const;
    Catalog &m_catalog;
    quint64 m_epoch = 0;
    std::unordered_map<qint64, Slot> m_slots;
};

} // namespace vq
