#include "namefold.h"

#include <sqlite3.h>

#include <vector>

namespace vq {

namespace {

constexpr char32_t kYo = 0x0451; // ё, what Ё folds to
constexpr char32_t kYe = 0x0435; // е

inline char32_t foldCodePoint(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    const char32_t f = QChar::toCaseFolded(c);
    return f == kYo ? kYe : f;
}

// Appends the folded name to `out`; the buffer is reused from row to row.
void foldInto(QStringView name, std::vector<char16_t> &out) {
    out.clear();
    out.reserve(size_t(name.size()));
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), name[i + 1].unicode());
            ++i;
        }
        const char32_t f = foldCodePoint(c);
        if (QChar::requiresSurrogates(f)) {
            out.push_back(QChar::highSurrogate(f));
            out.push_back(QChar::lowSurrogate(f));
        } else {
            out.push_back(char16_t(f));
        }
    }
}

void nameMatchFunction(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    // The text is the same for every row of a query: folded once and kept with the statement.
    auto *folded = static_cast<QString *>(sqlite3_get_auxdata(ctx, 1));
    if (!folded) {
        const auto *t = static_cast<const char16_t *>(sqlite3_value_text16(argv[1]));
        const qsizetype bytes = t ? sqlite3_value_bytes16(argv[1]) : 0;
        auto *fresh = new QString(foldName(QStringView(t, bytes / 2)));
        sqlite3_set_auxdata(ctx, 1, fresh, [](void *p) { delete static_cast<QString *>(p); });
        folded = static_cast<QString *>(sqlite3_get_auxdata(ctx, 1));
        if (!folded) { // SQLite could not keep it and has freed it already
            sqlite3_result_error_nomem(ctx);
            return;
        }
    }
    const auto *name = static_cast<const char16_t *>(sqlite3_value_text16(argv[0]));
    if (!name) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    const qsizetype len = sqlite3_value_bytes16(argv[0]) / 2;
    sqlite3_result_int(ctx, nameMatches(QStringView(name, len), *folded, sqlite3_value_int(argv[2]) != 0));
}

} // namespace

QString foldName(QStringView name) {
    std::vector<char16_t> buf;
    foldInto(name, buf);
    return QString(reinterpret_cast<const QChar *>(buf.data()), qsizetype(buf.size()));
}

bool nameMatches(QStringView name, QStringView foldedText, bool anywhere) {
    if (foldedText.isEmpty())
        return true;
    thread_local std::vector<char16_t> buf;
    foldInto(name, buf);
    const QStringView folded(buf.data(), qsizetype(buf.size()));
    return anywhere ? folded.contains(foldedText) : folded.startsWith(foldedText);
}

void registerNameFunctions(sqlite3 *db) {
    sqlite3_create_function_v2(db, "vq_name_match", 3, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                               nameMatchFunction, nullptr, nullptr, nullptr);
}

} // namespace vq
