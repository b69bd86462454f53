#include "titletexts.h"

#include "catalog.h"
#include "formats.h"
#include "parallel.h"
#include "schema.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <deque>
#include <thread>

namespace vq {

const QString &TitleTexts::field(int f) const {
    static const QString none;
    return texts ? texts.get()[f] : none;
}

namespace {

// The summary's columns (see titletexts.h).
enum { fTitle, fType, fEpisodes, fSize, fDuration, fQuality, fSound, fSubIn, fSubExt, fComment };

QString cut(const QString &text, int length) {
    return text.size() <= length ? text : text.left(length);
}

QString lookedUp(const TableData &lookup, const ExtCombo &c, int f, int length) {
    if (c.isNull(f))
        return QString();
    const int lr = lookup.rowById(c.value[f]);
    return lr < 0 || lookup.isNull(lr, 1) ? QString() : cut(lookup.textAt(lr, 1), length);
}

// The four texts of each combination (quality, sound, embedded and external subtitles), made once
// for a pass: titles share few combinations.
class ComboTexts {
public:
    using Texts = std::array<QString, 4>;
    explicit ComboTexts(const TableData &subs) : m_subs(subs) {}
    const Texts &of(const ExtCombo &c) {
        if (const auto it = m_index.constFind(c); it != m_index.cend())
            return **it;
        using F = ExtCombo::Field;
        const auto number = [&](int f) { return c.isNull(f) ? QString() : QString::number(c.value[f]); };
        const Texts &t = m_texts.emplace_back(Texts{
            cut(frameSizeText(number(F::Width), number(F::Height)), 20), lookedUp(m_subs, c, F::Sound, 20),
            lookedUp(m_subs, c, F::SubIn, 20), lookedUp(m_subs, c, F::SubExt, 20)});
        m_index.insert(c, &t);
        return t;
    }

private:
    const TableData &m_subs;
    QHash<ExtCombo, const Texts *> m_index;
    std::deque<Texts> m_texts;
};

// Texts that many titles share (type, counts, quality, languages) are kept once: a fill then copies
// strings whose counters are already at hand, and a big catalog costs one string per distinct text.
class Sharer {
public:
    void share(QString &text, int field) {
        if (text.isEmpty())
            return;
        QString &previous = m_last[size_t(field)];
        if (text == previous) {
            text = previous;
            return;
        }
        const auto it = m_shared.constFind(text);
        if (it != m_shared.cend())
            text = *it;
        else
            m_shared.insert(text);
        previous = text;
    }

private:
    QSet<QString> m_shared;
    TitleTextArray m_last;
};

// The size, play time and the four combination texts, marked "! " where the combinations differ.
void sumTexts(ComboTexts &combos, double size, double duration, std::span<const ExtCombo> list,
              TitleTextArray &t) {
    t[fSize] = megabyteText(size);
    t[fDuration] = FormatPlayTime(roundHalfEven(duration));
    if (list.empty()) {
        for (int f = fQuality; f <= fSubExt; ++f)
            t[size_t(f)].clear();
        return;
    }
    const ComboTexts::Texts &first = combos.of(list[0]);
    bool differs[4] = {false, false, false, false};
    for (const ExtCombo &c : list.subspan(1)) {
        const ComboTexts::Texts &row = combos.of(c);
        for (int i = 0; i < 4; ++i)
            differs[i] = differs[i] || row[size_t(i)] != first[size_t(i)];
    }
    for (int i = 0; i < 4; ++i)
        t[size_t(fQuality + i)] = differs[i] ? QStringLiteral("! ") + first[size_t(i)] : first[size_t(i)];
}

} // namespace

// What one pass reads once: the tables and the sums of the titles it makes texts for.
struct TitleTextCache::Pass {
    TablePtr titles, types, subs;
    const TitleSums *sums = nullptr;

    void make(int row, qint64 id, quint64 stamp, Slot &slot, ComboTexts &combos, Sharer &sharer) const {
        using namespace schema;
        auto block = std::make_shared<TitleTextArray>();
        TitleTextArray &t = *block;
        const TableData &s = *titles;
        t[fTitle] = s.textAt(row, tName);
        t[fEpisodes] = s.textAt(row, tEpisodeCount);
        t[fComment] = s.textAt(row, tComment);
        if (!s.isNull(row, tType)) {
            const int tr = types->rowById(s.intAt(row, tType));
            if (tr >= 0 && !types->isNull(tr, 1))
                t[fType] = cut(types->textAt(tr, 1), 5);
        }
        const int i = sums->find(id);
        sumTexts(combos, sums->sizeAt(i), sums->durationAt(i), sums->combosOf(id), t);
        for (int f : {fType, fEpisodes, fQuality, fSound, fSubIn, fSubExt, fComment})
            sharer.share(t[size_t(f)], f);
        slot.entry.texts = TitleTextBlock(block, block->data());
        slot.entry.maxUpdate = i < 0 ? std::nullopt : sums->maxUpdate[size_t(i)];
        slot.entry.id = id;
        slot.stamp = stamp;
        slot.valid = true;
    }
};

TitleTextCache::~TitleTextCache() = default;

void TitleTextCache::clear() {
    m_slots.clear();
    m_slots.shrink_to_fit();
}

int TitleTextCache::partsFor(qsizetype titles) {
    // A thread costs more than formatting a few thousand titles.
    const unsigned cores = std::thread::hardware_concurrency();
    return titles < 4096 || cores < 2 ? 1 : int(std::min(cores, 4u));
}

bool TitleTextCache::current(const Slot &s, qint64 id) const {
    return s.valid && s.entry.id == id && s.stamp == m_catalog.titleStamp(id);
}

TitleTextCache::Slot *TitleTextCache::slotFor(qint64 id) {
    const TablePtr titles = m_catalog.table(schema::kTitles);
    const int r = titles->rowById(id);
    if (r < 0)
        return nullptr;
    if (m_slots.size() <= size_t(r))
        m_slots.resize(std::max(size_t(titles->capacity()), size_t(r) + 1));
    return &m_slots[size_t(r)];
}

const TitleTexts &TitleTextCache::of(qint64 id) {
    if (m_epoch != m_catalog.epoch())
        prepare({}, 1);
    const Slot *s = slotFor(id);
    if (!s)
        return m_none;
    if (!current(*s, id)) {
        const qint64 one[1] = {id};
        prepare(one, 1);
        s = slotFor(id);
    }
    return s->entry;
}

void TitleTextCache::prepare(std::span<const qint64> ids, int parts, const TitleSums *given) {
    if (m_epoch != m_catalog.epoch()) {
        // The file was read again: nothing kept describes it any more.
        clear();
        m_epoch = m_catalog.epoch();
    }
    Pass pass;
    pass.titles = m_catalog.table(schema::kTitles);
    const TableData &titles = *pass.titles;
    if (m_slots.size() < size_t(titles.capacity()))
        m_slots.resize(size_t(titles.capacity()));
    struct Missing {
        int row;
        qint64 id;
        quint64 stamp;
    };
    std::vector<Missing> missing;
    for (const qint64 id : ids) {
        const int r = titles.rowById(id);
        if (r < 0 || current(m_slots[size_t(r)], id))
            continue;
        missing.push_back({r, id, m_catalog.titleStamp(id)});
    }
    if (missing.empty())
        return;
    pass.types = m_catalog.table(schema::kTypes);
    pass.subs = m_catalog.table(schema::kLanguages);
    // Each read of one title's sums is two look-ups in the file; a few dozen cost as much as
    // reading every title's at once.
    constexpr size_t kOneByOne = 32;
    if (missing.size() <= kOneByOne && !given) {
        ComboTexts combos(*pass.subs);
        Sharer sharer;
        for (const Missing &m : missing) {
            const TitleSums sums = m_catalog.titleSums({true, m.id});
            pass.sums = &sums;
            pass.make(m.row, m.id, m.stamp, m_slots[size_t(m.row)], combos, sharer);
        }
        return;
    }
    std::optional<TitleSums> all;
    if (!given)
        all = m_catalog.titleSums({true, std::nullopt});
    pass.sums = given ? given : &*all;
    parts = std::clamp(parts, 1, int(missing.size()));
    std::vector<std::function<void()>> tasks;
    for (int part = 0; part < parts; ++part)
        tasks.push_back([&, part] {
            // Each part writes its own slots and keeps its own memo.
            ComboTexts combos(*pass.subs);
            Sharer sharer;
            const size_t from = missing.size() * size_t(part) / size_t(parts);
            const size_t to = missing.size() * size_t(part + 1) / size_t(parts);
            for (size_t k = from; k < to; ++k)
                pass.make(missing[k].row, missing[k].id, missing[k].stamp, m_slots[size_t(missing[k].row)],
                          combos, sharer);
        });
    runAtOnce(tasks);
}

} // namespace vq
