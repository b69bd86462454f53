#include "namefold.h"

#include <sqlite3.h>

#include <string>
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

// One code point of UTF-8 text; a byte that starts no valid sequence reads as U+FFFD, as Qt
// decodes it.
char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end) {
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int more = 0;
    char32_t c = 0, least = 0;
    if ((b & 0xE0) == 0xC0) {
        more = 1, c = b & 0x1F, least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        more = 2, c = b & 0x0F, least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        more = 3, c = b & 0x07, least = 0x10000;
    } else {
        return 0xFFFD;
    }
    const unsigned char *q = p;
    for (int i = 0; i < more; ++i, ++q) {
        if (q == end || (*q & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (*q & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0xFFFD;
    p = q;
    return c;
}

// The search text, folded, as code points: kept with the statement for all its rows.
struct FoldedText {
    std::u32string points;
};

// Compares the stored UTF-8 bytes as they are: a name is neither converted nor copied, and a
// start that differs stops at its first letter.
bool matchesUtf8(const unsigned char *p, const unsigned char *end, const std::u32string &text,
                 bool anywhere) {
    if (text.empty())
        return true;
    if (!anywhere) {
        for (const char32_t t : text)
            if (p == end || foldCodePoint(nextCodePoint(p, end)) != t)
                return false;
        return true;
    }
    thread_local std::u32string folded;
    folded.clear();
    while (p != end)
        folded.push_back(foldCodePoint(nextCodePoint(p, end)));
    return folded.find(text) != std::u32string::npos;
}

void nameMatchFunction(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    auto *folded = static_cast<FoldedText *>(sqlite3_get_auxdata(ctx, 1));
    if (!folded) {
        const auto *t = static_cast<const char16_t *>(sqlite3_value_text16(argv[1]));
        const qsizetype bytes = t ? sqlite3_value_bytes16(argv[1]) : 0;
        auto *fresh = new FoldedText{foldName(QStringView(t, bytes / 2)).toStdU32String()};
        sqlite3_set_auxdata(ctx, 1, fresh, [](void *p) { delete static_cast<FoldedText *>(p); });
        folded = static_cast<FoldedText *>(sqlite3_get_auxdata(ctx, 1));
        if (!folded) { // SQLite could not keep it and has freed it already
            sqlite3_result_error_nomem(ctx);
            return;
        }
    }
    const auto *name = sqlite3_value_text(argv[0]);
    if (!name) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    const int bytes = sqlite3_value_bytes(argv[0]);
    sqlite3_result_int(ctx, matchesUtf8(name, name + bytes, folded->points, sqlite3_value_int(argv[2]) != 0));
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
    sqlite3_create_function_v2(db, "vq_name_match", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               nameMatchFunction, nullptr, nullptr, nullptr);
}

} // namespace vq
