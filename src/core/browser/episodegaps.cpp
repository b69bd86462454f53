#include "episodegaps.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <sqlite3.h>

namespace vq {

namespace {

// A run longer than any real title's count is a misread name ("Show - 1-9999"): not taken as one.
constexpr int kLongestRun = 5000;

std::optional<int> countOf(const QString &text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n > 0 && n <= kLongestRun ? std::optional<int>(n) : std::nullopt;
}

// SQLite keeps kind as an integer; episodes are ReleaseKind::Episode.
constexpr int kEpisodeKind = 1;

} // namespace

std::vector<int> missingEpisodes(const QString &countText,
                                 const std::vector<std::pair<double, double>> &numbers) {
    std::vector<int> seen;
    for (const auto &[first, last] : numbers) {
        const double from = std::ceil(first), to = std::floor(std::max(first, last));
        if (from < 1 || to > kLongestRun || to - from > kLongestRun)
            continue;
        for (int n = int(from); n <= int(to); ++n)
            seen.push_back(n);
    }
    if (seen.empty())
        return {};
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    const int highest = seen.back();
    const std::optional<int> count = countOf(countText);
    int from = 1, to = highest;
    if (count) {
        to = std::max(*count, highest);
        from = to - *count + 1;
    }
    std::vector<int> missing;
    auto it = std::lower_bound(seen.begin(), seen.end(), from);
    for (int n = from; n <= to; ++n) {
        if (it != seen.end() && *it == n)
            ++it;
        else
            missing.push_back(n);
    }
    return missing;
}

std::vector<int> titleMissingEpisodes(Catalog &catalog, qint64 titleId) {
    if (catalog.schemaVersion() < 5)
        return {}; // a read-only older file keeps no numbers
    std::vector<std::pair<double, double>> numbers;
    QString count;
    try {
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT \"Number\", coalesce(\"Number_last\", \"Number\") FROM \"Серии\" WHERE \"Название\" = ?1 "
            "AND \"Kind\" = ?2 AND \"Number\" IS NOT NULL"));
        Statement::ResetAfter done{st};
        st.bind(1, titleId);
        st.bind(2, kEpisodeKind);
        while (st.step())
            numbers.emplace_back(sqlite3_column_double(st.handle(), 0),
                                 sqlite3_column_double(st.handle(), 1));
        Statement &c = catalog.statement(
            QStringLiteral("SELECT \"Количество серий\" FROM \"Список\" WHERE \"ID\" = ?1"));
        Statement::ResetAfter doneCount{c};
        c.bind(1, titleId);
        if (c.step())
            count = c.text(0);
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    return missingEpisodes(count, numbers);
}

std::vector<qint64> titlesWithGaps(Catalog &catalog) {
    std::vector<qint64> out;
    if (catalog.schemaVersion() < 5)
        return out;
    try {
        Catalog::ReadSnapshot snapshot(catalog);
        // The counts that are numbers, then the numbered episodes title by title from their index.
        QHash<qint64, QString> counts;
        {
            Statement &st =
                catalog.statement(QStringLiteral("SELECT \"ID\", \"Количество серий\" FROM \"Список\" WHERE "
                                                 "\"Количество серий\" GLOB '*[0-9]*'"));
            Statement::ResetAfter done{st};
            while (st.step())
                counts.insert(sqlite3_column_int64(st.handle(), 0), st.text(1));
        }
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT \"Название\", \"Number\", coalesce(\"Number_last\", \"Number\") FROM \"Серии\" WHERE "
            " \"Kind\" = ?1 AND \"Number\" IS NOT NULL ORDER BY \"Название\""));
        Statement::ResetAfter done{st};
        st.bind(1, kEpisodeKind);
        std::vector<std::pair<double, double>> numbers;
        qint64 title = 0;
        bool any = false;
        const auto close = [&] {
            if (any && !missingEpisodes(counts.value(title), numbers).empty())
                out.push_back(title);
            numbers.clear();
        };
        while (st.step()) {
            sqlite3_stmt *h = st.handle();
            const qint64 id = sqlite3_column_int64(h, 0);
            if (!any || id != title) {
                close();
                title = id;
                any = true;
            }
            numbers.emplace_back(sqlite3_column_double(h, 1), sqlite3_column_double(h, 2));
        }
        close();
    } catch (const Error &e) {
        throw Error(msg::catalogCannotBeRead(catalog.path(), e.message()));
    }
    return out;
}

QString missingList(const std::vector<int> &missing) {
    QStringList parts;
    for (size_t i = 0; i < missing.size();) {
        size_t j = i;
        while (j + 1 < missing.size() && missing[j + 1] == missing[j] + 1)
            ++j;
        if (j - i >= 2)
            parts << QStringLiteral("%1-%2").arg(missing[i]).arg(missing[j]);
        else
            for (size_t k = i; k <= j; ++k)
                parts << QString::number(missing[k]);
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace vq
