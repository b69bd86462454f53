#include "titletexts.h"

#include "catalog.h"
#include "error.h"
#include "formats.h"
#include "messages.h"
#include "parallel.h"
#include "schema.h"

#include <sqlite3.h>

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

namespace {

// A title's own fields, as `Список` holds them.
struct TitleRow {
    qint64 id = 0;
    QString name, count, comment;
    std::optional<qint64> type;
};

// Reads the rows of `ids` (all titles when `ids` is null), in key order.
std::vector<TitleRow> readTitleRows(Catalog &catalog, const std::vector<qint64> *ids) {
    std::vector<TitleRow> rows;
    QString sql =
        QStringLiteral("SELECT \"ID\", \"Название\", \"Количество серий\", \"Комментарий\", \"NType\" "
                       "FROM \"Список\"");
    if (ids)
        sql += QStringLiteral(" WHERE \"ID\" IN (SELECT value FROM json_each(?1))");
    Statement &st = catalog.statement(sql + QStringLiteral(" ORDER BY \"ID\""));
    Statement::ResetAfter done{st};
    if (ids) {
        QByteArray list = "[";
        for (const qint64 id : *ids)
            list += QByteArray::number(id) + ',';
        if (list.size() > 1)
            list.chop(1);
        st.bind(1, QString::fromLatin1(list + ']'));
    }
    rows.reserve(ids ? ids->size() : 0);
    while (st.step()) {
        TitleRow r;
        r.id = sqlite3_column_int64(st.handle(), 0);
        r.name = st.text(1);
        r.count = st.text(2);
        r.comment = st.text(3);
        if (sqlite3_column_type(st.handle(), 4) != SQLITE_NULL)
            r.type = sqlite3_column_int64(st.handle(), 4);
        rows.push_back(std::move(r));
    }
    return rows;
}

// What one pass reads once: the lookup tables and the sums of the titles it makes texts for.
struct Pass {
    TablePtr types, subs;
    const TitleSums *sums = nullptr;

    // Fills `t` with the title's texts; its latest update.
    std::optional<qint64> fill(const TitleRow &row, ComboTexts &combos, Sharer *sharer,
                               TitleTextArray &t) const {
        t[fTitle] = row.name;
        t[fEpisodes] = row.count;
        t[fComment] = row.comment;
        t[fType].clear();
        if (row.type) {
            const int tr = types->rowById(*row.type);
            if (tr >= 0 && !types->isNull(tr, 1))
                t[fType] = cut(types->textAt(tr, 1), 5);
        }
        const int i = sums->find(row.id);
        sumTexts(combos, sums->sizeAt(i), sums->durationAt(i), sums->combosOf(row.id), t);
        if (sharer)
            for (int f : {fType, fEpisodes, fQuality, fSound, fSubIn, fSubExt, fComment})
                sharer->share(t[size_t(f)], f);
        return i < 0 || sums->maxUpdate.empty() ? std::nullopt : sums->maxUpdate[size_t(i)];
    }

    TitleTexts make(const TitleRow &row, ComboTexts &combos, Sharer *sharer) const {
        auto block = std::make_shared<TitleTextArray>();
        TitleTexts out;
        out.maxUpdate = fill(row, combos, sharer, *block);
        out.texts = TitleTextBlock(block, block->data());
        out.id = row.id;
        return out;
    }
};

} // namespace

TitleTextCache::~TitleTextCache() = default;

void TitleTextCache::clear() {
    m_slots.clear();
}

int TitleTextCache::partsFor(qsizetype titles) {
    // A thread costs more than formatting a few thousand titles.
    const unsigned cores = std::thread::hardware_concurrency();
    return titles < 4096 || cores < 2 ? 1 : int(std::min(cores, 4u));
}

bool TitleTextCache::current(qint64 id) const {
    const auto it = m_slots.find(id);
    return it != m_slots.end() && it->second.stamp == m_catalog.titleStamp(id);
}

TitleTexts TitleTextCache::of(qint64 id) {
    if (m_epoch != m_catalog.epoch() || !current(id)) {
        const qint64 one[1] = {id};
        prepare(one);
    }
    const auto it = m_slots.find(id);
    return it != m_slots.end() ? it->second.entry : TitleTexts();
}

void TitleTextCache::blocks(std::span<const qint64> ids, std::vector<TitleTextBlock> &out) {
    prepare(ids);
    out.clear();
    out.reserve(ids.size());
    for (const qint64 id : ids) {
        const auto it = m_slots.find(id);
        out.push_back(it != m_slots.end() ? it->second.entry.texts : TitleTextBlock());
    }
}

void TitleTextCache::format(std::span<const qint64> ids, int parts, const Visit &visit) {
    const std::vector<qint64> wanted(ids.begin(), ids.end());
    // Every title in one pass when most are asked for, else each by key.
    const bool all = wanted.size() * 2 > size_t(m_catalog.titleCount());
    Pass pass;
    pass.types = m_catalog.table(schema::kTypes);
    pass.subs = m_catalog.table(schema::kLanguages);
    std::vector<TitleRow> rows;
    TitleSums sums;
    try {
        rows = readTitleRows(m_catalog, all ? nullptr : &wanted);
        sums = m_catalog.titleSums({true, std::nullopt, all ? nullptr : &wanted});
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_catalog.path(), e.message()));
    }
    pass.sums = &sums;
    // Both lists are in key order: each row meets its place among the titles asked for.
    std::vector<std::pair<const TitleRow *, size_t>> work;
    work.reserve(wanted.size());
    size_t k = 0;
    for (const TitleRow &r : rows) {
        while (k < wanted.size() && wanted[k] < r.id)
            ++k;
        if (k < wanted.size() && wanted[k] == r.id)
            work.emplace_back(&r, k);
    }
    parts = std::clamp(parts, 1, std::max(1, int(work.size())));
    std::vector<std::function<void()>> tasks;
    for (int part = 0; part < parts; ++part)
        tasks.push_back([&, part] {
            // Nothing is kept, so nothing is worth sharing.
            ComboTexts combos(*pass.subs);
            const size_t from = work.size() * size_t(part) / size_t(parts);
            const size_t to = work.size() * size_t(part + 1) / size_t(parts);
            // One array for the part, filled anew for each title: the visit takes what it needs.
            TitleTextArray texts;
            TitleTexts view;
            view.texts = TitleTextBlock(std::shared_ptr<void>(), texts.data());
            for (size_t i = from; i < to; ++i) {
                view.maxUpdate = pass.fill(*work[i].first, combos, nullptr, texts);
                view.id = work[i].first->id;
                visit(part, work[i].second, view);
            }
        });
    runAtOnce(tasks);
}

void TitleTextCache::prepare(std::span<const qint64> ids, int parts, const TitleSums *given) {
    if (m_epoch != m_catalog.epoch()) {
        // The file was read again: nothing kept describes it any more.
        clear();
        m_epoch = m_catalog.epoch();
    }
    std::vector<qint64> missing;
    for (const qint64 id : ids)
        if (!current(id))
            missing.push_back(id);
    if (missing.empty())
        return;
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
    // Past a few thousand titles, reading every title in one pass costs less than looking each up.
    constexpr size_t kReadAll = 20000;
    const bool all = given || missing.size() > kReadAll;
    std::vector<quint64> stamps(missing.size());
    for (size_t i = 0; i < missing.size(); ++i)
        stamps[i] = m_catalog.titleStamp(missing[i]);
    Pass pass;
    pass.types = m_catalog.table(schema::kTypes);
    pass.subs = m_catalog.table(schema::kLanguages);
    std::vector<TitleRow> rows;
    std::optional<TitleSums> sums;
    try {
        rows = readTitleRows(m_catalog, all ? nullptr : &missing);
        if (!given)
            sums = m_catalog.titleSums({true, std::nullopt, all ? nullptr : &missing});
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(m_catalog.path(), e.message()));
    }
    pass.sums = given ? given : &*sums;
    if (all) // the rows of the titles asked for
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](const TitleRow &r) {
                                      return !std::binary_search(missing.begin(), missing.end(), r.id);
                                  }),
                   rows.end());
    std::vector<TitleTexts> made(rows.size());
    parts = std::clamp(parts, 1, std::max(1, int(rows.size())));
    std::vector<std::function<void()>> tasks;
    for (int part = 0; part < parts; ++part)
        tasks.push_back([&, part] {
            // Each part keeps its own memo.
            ComboTexts combos(*pass.subs);
            Sharer sharer;
            const size_t from = rows.size() * size_t(part) / size_t(parts);
            const size_t to = rows.size() * size_t(part + 1) / size_t(parts);
            for (size_t k = from; k < to; ++k)
                made[k] = pass.make(rows[k], combos, &sharer);
        });
    runAtOnce(tasks);
    m_slots.reserve(m_slots.size() + made.size());
    for (TitleTexts &t : made) {
        const size_t i = size_t(std::lower_bound(missing.begin(), missing.end(), t.id) - missing.begin());
        m_slots[t.id] = Slot{std::move(t), stamps[i]};
    }
}

} // namespace vq
