#include "intake/releasename.h"

#include "intake/releasewords.h"

#include <algorithm>
#include <array>

// How a name is read:
//  1. The extension goes; the rest is cut into words and bracketed groups. Blanks and "_" part words;
//     a name with neither is parted by its dots ("Title.S02E05.1080p"), save the dots of "5.1",
//     "12.5" and "H.264".
//  2. Each word is told by its form (numbers, ranges, resolutions, S02E05, 1x05, "第5話") or by the
//     word table (releasewords.h); a word glued to a number ("Ep05", "NCOP1", "S2", "ТВ-2") by the
//     table's meaning of the word beside a number. Neighbours then join: "Season 2", "2nd Season",
//     "5 серия", "01 ~ 12", "05 v2", "Dual Audio".
//  3. A leading bracketed group that is not a technical term is the release group. The title runs from
//     there to the first word that is not a title's: a term, a marker, a bracket, a year.
//  4. The episode is, in this order: a marked one ("Ep 5", "S01E05", "OVA 2"), a number after " - ",
//     the number that ends the title's words or follows the season that ends them, a bracket holding
//     only a number, a number that starts the name. Words after it up to the next term are the
//     episode's title.
//  5. What is left says the terms, the kind, the season, the year; the last bracketed 8 hex digits are
//     the CRC. A name that gives no title takes it from its folder.

namespace vq {

namespace {

using namespace releasewords;

constexpr int MaxChars = 1024; // a longer name is read up to here
constexpr int MaxTokens = 96;
constexpr int MaxBracketTokens = 24;

// A stretch of the name (names are read up to MaxChars, so 16 bits hold it: tokens stay small).
struct Span {
    int16_t s = 0, n = 0;
    Span() = default;
    Span(int start, int length) : s(int16_t(start)), n(int16_t(length)) {}
};

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isHex(QChar c) {
    const char16_t u = c.unicode();
    return isDigit(c) || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// `w` ends with the lower-case ASCII `tail`, in any letter case.
bool endsWithAscii(QStringView w, std::string_view tail) {
    if (size_t(w.size()) < tail.size())
        return false;
    const qsizetype from = w.size() - qsizetype(tail.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if ((w[from + qsizetype(i)].unicode() | 0x20) != char16_t(tail[i]))
            return false;
    return true;
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode() | 0x20;
    return u >= u'a' && u <= u'z';
}

// ---- The word table, looked up without allocating.

constexpr int FoldMax = 32;

char16_t foldChar(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 32);
    if (c >= 0x410 && c <= 0x42F) // А-Я
        return char16_t(c + 0x20);
    if (c == 0x401) // Ё
        return 0x451;
    return c;
}

struct Folded {
    char16_t c[FoldMax];
    int n = 0;
    std::u16string_view view() const { return {c, size_t(n)}; }
};

bool fold(QStringView w, Folded &f) {
    if (w.isEmpty() || w.size() >= FoldMax)
        return false;
    f.n = int(w.size());
    for (int i = 0; i < f.n; ++i)
        f.c[i] = foldChar(w[i].unicode());
    return true;
}

uint32_t hashOf(std::u16string_view text) {
    uint32_t h = 2166136261u;
    for (char16_t c : text)
        h = (h ^ c) * 16777619u;
    return h;
}

class WordTable {
public:
    WordTable() {
        for (const Word &w : Words) {
            uint32_t i = hashOf(w.text) & (Size - 1);
            while (m_slots[i])
                i = (i + 1) & (Size - 1);
            m_slots[i] = &w;
        }
    }
    const Word *find(QStringView text) const {
        Folded f;
        return fold(text, f) ? find(f.view()) : nullptr;
    }
    const Word *find(std::u16string_view folded) const {
        for (uint32_t i = hashOf(folded) & (Size - 1);; i = (i + 1) & (Size - 1)) {
            const Word *w = m_slots[i];
            if (!w || w->text == folded)
                return w;
        }
    }

private:
    static constexpr uint32_t Size = 1024;
    static_assert(std::size(Words) < Size / 2);
    std::array<const Word *, Size> m_slots{};
};

const WordTable &table() {
    static const WordTable t;
    return t;
}

// ---- Tokens.

enum class Cls : uint8_t {
    Plain,       // a word of a title
    Number,      // 05, 12.5, 05v2, 01-12: may be the episode
    TitleNumber, // the 2 of "Part 2": belongs to the title
    Ordinal,     // 2nd
    Term,        // a technical term
    Marker,      // a season, episode, kind or volume marker
    Version,     // v2 on its own
    End,         // END, FINAL
    Dash,
    Tilde,
    Other, // " / " before the title in another language
    Bracket,
    Consumed, // joined to its neighbour ("2" of "Season 2")
};

struct Num {
    Span first, last, version; // last.n == 0: no range
    bool yearLike = false;
};

struct Fact {
    Role role;
    uint16_t value;
    Span span;
};

enum class BKind : uint8_t { Unknown, Terms, Crc };

struct Tok {
    Span span; // the word; a bracket's content
    Cls cls = Cls::Plain;
    bool weak = false;
    bool hasNum = false;     // `num` holds an episode number
    bool explicitEp = false; // ... that the name marks as one ("Ep 5", "S01E05", "OVA 2")
    BKind bracket = BKind::Unknown;
    uint8_t nFacts = 0;
    uint16_t bracketFacts = 0, nBracketFacts = 0; // a bracket's in Reader::m_bracketFacts
    uint16_t ordinal = 0;
    const Word *word = nullptr;
    Num num;
    Fact facts[3];

    void add(Role role, uint16_t value, Span span = {}) {
        if (nFacts < std::size(facts))
            facts[nFacts++] = {role, value, span};
    }
};

// Tokens are filled as they are read; the buffer is not cleared first, which would cost more than the
// reading of a short name.
template <class T, int N> struct Uninitialized {
    Uninitialized() {}
    union {
        T t[N];
    };
};

// A fact of a bracket's words, kept from reading the bracket until it is applied.
struct BracketFact {
    Fact fact;
    bool weak;
};

// A word that may stand in a title: a plain word, a number that belongs to the title, an ordinal,
// an END that follows no episode ("The End of Evangelion").
bool isPlainish(Cls c) {
    return c == Cls::Plain || c == Cls::TitleNumber || c == Cls::Ordinal || c == Cls::End;
}

// Shared, so that each name's source costs no allocation.
const QString &sourceText(uint16_t index) {
    static const std::array<QString, std::size(Sources)> texts = [] {
        std::array<QString, std::size(Sources)> t;
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = QStringView(Sources[i]).toString();
        return t;
    }();
    return texts[index];
}

class Reader {
public:
    // What is read: a file's name with its extension taken off, a name without one (a release's, a
    // batch's), or a folder's.
    enum What { File, Name, Folder };
    Reader(QStringView s, What what) : s(s.left(MaxChars)), m_what(what), m_folder(what == Folder) {}
    ReleaseName read();

private:
    QStringView at(Span sp) const { return s.mid(sp.s, sp.n); }
    int value(Span sp) const;
    double number(Span sp) const;

    bool partsAtDot(int i) const;
    void classifyChars();
    int closer(int i) const;
    int tokenize(Span range, Tok *toks, int max, bool bracketContent) const;

    bool readNumber(int &i, int end, Span &out) const;
    void readVersion(int &i, int end, Span &out) const;
    bool readNum(int &i, int end, Num &num, bool letters) const;
    bool isResolution(QStringView w) const;
    bool isChannels(QStringView w) const;
    bool isAudioWithChannels(QStringView w) const;
    Tok classify(Span sp, bool lastWord) const;
    void numbered(Tok &t, Role role, uint8_t value, const Num &num) const;
    bool partIsTerm(Span sp, Tok &t) const;
    void join(Tok *toks, int n) const;

    void readBracket(Tok &t);
    void applyFact(const Fact &f, bool weak);
    void apply(const Tok &t, bool strongOnly);
    void applyBracket(const Tok &t, bool strongOnly);
    QString joined(const Tok *toks, int from, int to) const;
    int nextUsed(int i) const;
    bool isCornerBracket(const Tok &t) const;
    bool stops(int i) const;
    bool cleanAfter(int i) const;
    bool bareEpisode(const Tok &t) const;

    QStringView s;
    What m_what;
    bool m_folder;
    bool m_dots = false; // the name is parted by dots
    uint8_t m_cc[MaxChars];
    Uninitialized<Tok, MaxTokens> m_buffer;
    Tok *m_toks = m_buffer.t;
    Uninitialized<BracketFact, 4 * MaxTokens> m_bracketFactBuffer;
    BracketFact *m_bracketFacts = m_bracketFactBuffer.t;
    int m_nBracketFacts = 0;
    int m_n = 0;
    ReleaseName r;
    bool m_kindSet = false;
    bool m_sourceWeak = false;
    // The terms as read, made texts once at the end.
    static constexpr int MaxTerms = 12;
    Span m_terms[2][MaxTerms];
    int m_nTerms[2] = {0, 0};
    void addTerm(int list, Span sp);
    QStringList terms(int list) const;
};

int Reader::value(Span sp) const {
    int v = 0;
    for (int i = sp.s; i < sp.s + sp.n && isDigit(s[i]); ++i)
        v = v * 10 + (s[i].unicode() - u'0');
    return v;
}

double Reader::number(Span sp) const {
    double v = 0, scale = 0;
    for (int i = sp.s; i < sp.s + sp.n; ++i) {
        if (s[i] == u'.') {
            scale = 1;
            continue;
        }
        const int d = s[i].unicode() - u'0';
        if (scale > 0)
            v += d * (scale /= 10);
        else
            v = v * 10 + d;
    }
    return v;
}

// ---- Cutting into words.

// Whether a dot parts words where dots do: not those of "5.1", "12.5" and "H.264".
bool Reader::partsAtDot(int i) const {
    const bool digitBefore = i > 0 && isDigit(s[i - 1]);
    const bool digitAfter = i + 1 < s.size() && isDigit(s[i + 1]);
    if (digitBefore && digitAfter && (i + 2 >= s.size() || !isDigit(s[i + 2])))
        return false;
    if (digitAfter && i > 0 && (s[i - 1] == u'H' || s[i - 1] == u'h') && (i < 2 || !s[i - 2].isLetter()))
        return false;
    return true;
}

char16_t closing(char16_t open) {
    switch (open) {
    case u'[':
        return u']';
    case u'(':
        return u')';
    case u'{':
        return u'}';
    case 0x3010: // 【
        return 0x3011;
    case 0xFF08: // （
        return 0xFF09;
    case 0x300C: // 「
        return 0x300D;
    case 0x300E: // 『
        return 0x300F;
    default:
        return 0;
    }
}

// The index of the bracket that closes the one at `i`, or -1.
int Reader::closer(int i) const {
    const char16_t open = s[i].unicode(), close = closing(open);
    if (!close)
        return -1;
    int depth = 0;
    for (int j = i; j < s.size(); ++j) {
        if (s[j] == open)
            ++depth;
        else if (s[j] == close && --depth == 0)
            return j;
    }
    return -1;
}

enum CharClass : uint8_t { Blank = 1, Dot = 2, Open = 4, Close = 8, Comma = 16, Plus = 32 };

// Each character's part in cutting the name, once, and whether dots part its words.
void Reader::classifyChars() {
    static constexpr auto ascii = [] {
        std::array<uint8_t, 128> a{};
        a[' '] = a['_'] = a['\t'] = Blank;
        a['.'] = Dot;
        a['['] = a['('] = a['{'] = Open;
        a[']'] = a[')'] = a['}'] = Close;
        a[','] = a['|'] = a['/'] = Comma;
        a['+'] = Plus;
        return a;
    }();
    uint8_t seen = 0;
    for (int i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        uint8_t c = 0;
        if (u < 128)
            c = ascii[u];
        else if (u == 0x3000)
            c = Blank;
        else if (u == 0x3010 || u == 0xFF08 || u == 0x300C || u == 0x300E)
            c = Open;
        else if (u == 0x3011 || u == 0xFF09 || u == 0x300D || u == 0x300F)
            c = Close;
        seen |= c;
        m_cc[i] = c;
    }
    m_dots = (seen & Dot) && !(seen & Blank);
}

int Reader::tokenize(Span range, Tok *toks, int max, bool bracketContent) const {
    int n = 0;
    const int end = range.s + range.n;
    // Within brackets "," "+" "|" "/" part terms too, and dots where nothing else does ("BD.1080p.FLAC").
    bool dots = m_dots;
    if (bracketContent) {
        uint8_t seen = 0;
        for (int i = range.s; i < end; ++i)
            seen |= m_cc[i];
        dots = (seen & Dot) && !(seen & (Blank | Comma));
    }
    auto separator = [&](int i) {
        const uint8_t c = m_cc[i];
        if (!c)
            return false;
        if (c & Blank)
            return true;
        if (c & Dot)
            return dots && partsAtDot(i);
        // The "+" of "DD+" and "HDR10+" is the term's.
        if (c & Plus)
            return bracketContent && !(i > range.s && s[i - 1].isLetterOrNumber() &&
                                       (i + 1 == end || !s[i + 1].isLetterOrNumber()));
        if (c & Comma)
            return bracketContent;
        // A closing bracket that closes nothing.
        return (c & Close) && !bracketContent;
    };
    for (int i = range.s; i < end && n < max;) {
        if (separator(i)) {
            ++i;
            continue;
        }
        if (!bracketContent && (m_cc[i] & Open)) {
            if (const int j = closer(i); j > 0) {
                toks[n] = Tok{};
                toks[n].span = {i + 1, j - i - 1};
                toks[n++].cls = Cls::Bracket;
                i = j + 1;
                continue;
            }
        }
        int j = i + 1;
        while (j < end && !separator(j) && (bracketContent || !(m_cc[j] & Open) || closer(j) < 0))
            ++j;
        toks[n] = Tok{};
        toks[n++].span = {i, j - i};
        i = j;
    }
    return n;
}

// ---- Telling a word.

// 1 to 4 digits, then maybe ".5": an episode number.
bool Reader::readNumber(int &i, int end, Span &out) const {
    int j = i;
    while (j < end && isDigit(s[j]))
        ++j;
    if (j == i || j - i > 4)
        return false;
    if (j + 1 < end && s[j] == u'.' && isDigit(s[j + 1])) {
        int k = j + 1;
        while (k < end && isDigit(s[k]))
            ++k;
        if (k - j - 1 <= 2)
            j = k;
    }
    out = {i, j - i};
    i = j;
    return true;
}

void Reader::readVersion(int &i, int end, Span &out) const {
    if (i + 1 < end && (s[i] == u'v' || s[i] == u'V') && isDigit(s[i + 1])) {
        int j = i + 1;
        while (j < end && isDigit(s[j]) && j - i <= 2)
            ++j;
        out = {i + 1, j - i - 1};
        i = j;
    }
}

// A number, maybe a range ("01-12", "01~12", with `letters` "E01-E12"), each maybe with a version.
bool Reader::readNum(int &i, int end, Num &num, bool letters) const {
    if (!readNumber(i, end, num.first))
        return false;
    readVersion(i, end, num.version);
    if (i + 1 < end && (s[i] == u'-' || s[i] == u'~' || s[i] == u'+' || s[i] == QChar(0x2013) ||
                        (letters && (s[i].unicode() | 0x20) == u'e'))) {
        int j = i + 1;
        for (int k = 0; k < 2 && j < end && letters && isAsciiLetter(s[j]); ++k)
            ++j;
        Span last;
        if (readNumber(j, end, last) && number(last) >= number(num.first)) {
            num.last = last;
            i = j;
            readVersion(i, end, num.version);
        }
    }
    num.yearLike = num.first.n == 4 && !num.version.n && value(num.first) >= 1940 && value(num.first) <= 2039;
    return true;
}

// 1080p, 720i, 1080p60, 1920x1080, 4K.
bool Reader::isResolution(QStringView w) const {
    int d = 0;
    while (d < w.size() && isDigit(w[d]))
        ++d;
    if (d == 1 && w.size() == 2 && (w[1] == u'K' || w[1] == u'k'))
        return w[0] == u'2' || w[0] == u'4' || w[0] == u'8';
    if (d < 3 || d > 4 || d == w.size())
        return false;
    const char16_t c = w[d].unicode() | 0x20;
    if (c == u'p' || c == u'i') {
        int e = d + 1;
        while (e < w.size() && isDigit(w[e]))
            ++e;
        return e == w.size() && e - d - 1 <= 3;
    }
    if (c == u'x' || w[d] == QChar(0xD7)) {
        int e = d + 1;
        while (e < w.size() && isDigit(w[e]))
            ++e;
        return e == w.size() && (e - d - 1 == 3 || e - d - 1 == 4);
    }
    return false;
}

// 2.0, 5.1, 7.1, 2ch, 5.1ch.
bool Reader::isChannels(QStringView w) const {
    const bool ch = endsWithAscii(w, "ch");
    if (ch)
        w.chop(2);
    if (w.size() == 1)
        return ch && isDigit(w[0]) && w[0] != u'0';
    return w.size() == 3 && isDigit(w[0]) && w[1] == u'.' && isDigit(w[2]) && w[0] != u'0' && w[2] <= u'1';
}

void Reader::numbered(Tok &t, Role role, uint8_t value, const Num &num) const {
    switch (role) {
    case Role::Episode:
        t.cls = Cls::Marker;
        t.hasNum = t.explicitEp = true;
        t.num = num;
        break;
    case Role::Kind:
        t.cls = Cls::Marker;
        t.weak = false;
        t.add(Role::Kind, value);
        t.hasNum = t.explicitEp = true;
        t.num = num;
        break;
    case Role::Season:
        t.cls = Cls::Marker;
        t.weak = false;
        t.nFacts = 0; // "TV-2" is a season, not a source
        t.add(Role::Season, uint16_t(this->value(num.first)));
        break;
    case Role::Volume:
        t.cls = Cls::Marker;
        break;
    case Role::TitleNumber:
        t.cls = Cls::TitleNumber;
        break;
    case Role::Version:
        t.cls = Cls::Version;
        t.num.version = num.first;
        t.add(Role::Version, uint16_t(this->value(num.first)));
        break;
    default:
        break;
    }
}

// A part of a hyphenated word ("HEVC" of "HEVC-10bit") that is a technical term: its fact goes to `t`.
bool Reader::partIsTerm(Span sp, Tok &t) const {
    const QStringView w = at(sp);
    if (isResolution(w)) {
        t.add(Role::Resolution, 0, sp);
        return true;
    }
    if (isChannels(w) || isAudioWithChannels(w)) {
        t.add(Role::Audio, 0, sp);
        return true;
    }
    const Word *word = table().find(w);
    if (!word || word->role < Role::Video || word->role > Role::Noise)
        return false;
    t.add(word->role, word->value, sp);
    return true;
}

// "AAC2.0", "DDP5.1", "FLACx2": an audio term with its channels.
bool Reader::isAudioWithChannels(QStringView w) const {
    int p = 0;
    while (p < w.size() && w[p].isLetter())
        ++p;
    if (p == 0 || p == w.size())
        return false;
    const Word *audio = table().find(w.left(p));
    if (!audio || audio->role != Role::Audio)
        return false;
    const QStringView rest = w.mid(p);
    return isChannels(rest) || ((rest[0] == u'x' || rest[0] == u'X') && rest.size() == 2 && isDigit(rest[1]));
}

Tok Reader::classify(Span sp, bool lastWord) const {
    Tok t;
    t.span = sp;
    const QStringView w = at(sp);
    const int b = sp.s, e = sp.s + sp.n;
    const char16_t c0 = w[0].unicode();
    if (w.size() <= 2 && (c0 == u'-' || c0 == 0x2013 || c0 == 0x2014) && (w.size() == 1 || w[1] == u'-')) {
        t.cls = Cls::Dash;
        return t;
    }
    if (w.size() == 1 && (c0 == u'~' || c0 == 0xFF5E)) {
        t.cls = Cls::Tilde;
        return t;
    }
    if (w.size() == 1 && (c0 == u'/' || c0 == 0xFF0F)) {
        t.cls = Cls::Other;
        return t;
    }
    if (isDigit(w[0])) {
        if (w.size() == 3 && isChannels(w)) {
            t.cls = Cls::Term;
            t.weak = true;
            t.add(Role::Audio, 0, sp);
            return t;
        }
        int i = b;
        Num num;
        if (readNum(i, e, num, false) && i == e) {
            t.cls = Cls::Number;
            t.hasNum = !num.yearLike;
            t.num = num;
            return t;
        }
        if (isResolution(w)) {
            t.cls = Cls::Term;
            t.add(Role::Resolution, 0, sp);
            return t;
        }
        if (isChannels(w)) {
            t.cls = Cls::Term;
            t.weak = true;
            t.add(Role::Audio, 0, sp);
            return t;
        }
        int d = 0;
        while (d < w.size() && isDigit(w[d]))
            ++d;
        // 1x05: season and episode.
        if (d <= 2 && d + 1 < w.size() && (w[d] == u'x' || w[d] == u'X')) {
            int j = b + d + 1;
            num = {};
            if (readNum(j, e, num, false) && j == e && num.first.n >= 2 && num.first.n <= 3) {
                t.cls = Cls::Marker;
                t.add(Role::Season, uint16_t(value({b, d})));
                t.hasNum = t.explicitEp = true;
                t.num = num;
                return t;
            }
            num = {};
        }
        const QStringView rest = w.mid(d);
        // 5話, 5话, 5集.
        if (rest.size() == 1 &&
            (rest[0] == QChar(0x8A71) || rest[0] == QChar(0x8BDD) || rest[0] == QChar(0x96C6))) {
            t.cls = Cls::Marker;
            t.hasNum = t.explicitEp = true;
            t.num.first = {b, d};
            return t;
        }
        // 2nd, 3rd, 2-й.
        if (d <= 2 && ((rest.size() == 2 && (endsWithAscii(rest, "st") || endsWithAscii(rest, "nd") ||
                                             endsWithAscii(rest, "rd") || endsWithAscii(rest, "th"))) ||
                       rest == u"-й" || rest == u"й")) {
            t.cls = Cls::Ordinal;
            t.ordinal = uint16_t(value({b, d}));
            return t;
        }
        if (endsWithAscii(w, "fps") &&
            std::all_of(w.begin(), w.end() - 3, [](QChar c) { return isDigit(c) || c == u'.'; })) {
            t.cls = Cls::Term;
            t.add(Role::Video, 0, sp);
            return t;
        }
    }
    // #5; 第5話.
    if ((c0 == u'#' || c0 == 0x7B2C) && w.size() > 1) {
        int i = b + 1;
        Num num;
        if (readNum(i, e, num, false) &&
            (i == e || (c0 == 0x7B2C && i + 1 == e &&
                        (s[i] == QChar(0x8A71) || s[i] == QChar(0x8BDD) || s[i] == QChar(0x96C6))))) {
            t.cls = Cls::Marker;
            t.hasNum = t.explicitEp = true;
            t.num = num;
            return t;
        }
    }
    // S2, S02, S02E05, S01E01-E12, S01E01E02.
    if ((c0 == u'S' || c0 == u's') && w.size() > 1 && isDigit(w[1])) {
        int i = b + 1;
        while (i < e && isDigit(s[i]) && i - b <= 2)
            ++i;
        const Span season{b + 1, i - b - 1};
        Num num;
        if (i == e || ((s[i] == u'E' || s[i] == u'e') && (++i, readNum(i, e, num, true)) && i == e)) {
            t.cls = Cls::Marker;
            t.add(Role::Season, uint16_t(value(season)));
            if (num.first.n) {
                t.hasNum = t.explicitEp = true;
                t.num = num;
            }
            return t;
        }
    }
    const Word *word = table().find(w);
    if (word) {
        t.word = word;
        t.weak = word->flags & Weak;
        switch (word->role) {
        case Role::Video:
        case Role::Audio:
        case Role::Source:
        case Role::Noise:
            t.cls = Cls::Term;
            t.add(word->role, word->value, sp);
            break;
        case Role::Kind:
        case Role::KindPrefix:
            t.cls = Cls::Marker;
            t.add(Role::Kind, word->value);
            break;
        case Role::End:
            t.cls = Cls::End;
            break;
        case Role::Ordinal:
            t.cls = Cls::Ordinal;
            t.ordinal = word->value;
            break;
        default:
            break;
        }
        return t;
    }
    // A word glued to a number: "Ep05", "NCOP1v2", "OVA2", "Vol.1", "ТВ-2", "v2".
    int p = 0;
    while (p < w.size() && w[p].isLetter())
        ++p;
    if (p > 0 && p < w.size()) {
        int q = p;
        if ((w[q] == u'.' || w[q] == u'-') && q + 1 < w.size())
            ++q;
        if (isDigit(w[q])) {
            Folded f;
            const Word *prefix = fold(w.left(q), f) ? table().find(f.view()) : nullptr;
            if (!prefix && q > p)
                prefix = table().find(w.left(p));
            Num num;
            int i = b + q;
            if (prefix && prefix->numbered != Role::None && readNum(i, e, num, true) && i == e) {
                t.word = prefix;
                numbered(t, prefix->numbered, prefix->value, num);
                return t;
            }
            if (isAudioWithChannels(w)) {
                t.cls = Cls::Term;
                t.add(Role::Audio, 0, sp);
                return t;
            }
            // "BD1080p", "WEB720p".
            if (const Word *source = table().find(w.left(p));
                source && source->role == Role::Source && isResolution(w.mid(p))) {
                t.cls = Cls::Term;
                t.add(Role::Source, source->value);
                t.add(Role::Resolution, 0, {b + p, sp.n - p});
                return t;
            }
        } else if (isAudioWithChannels(w)) {
            t.cls = Cls::Term;
            t.add(Role::Audio, 0, sp);
            return t;
        }
    }
    // Hyphenated terms: "HEVC-10bit"; at the end of a name, "x264-GROUP" names the group.
    if (w.size() > 2 && std::find(w.begin() + 1, w.end(), u'-') != w.end()) {
        Tok parts;
        int from = b, terms = 0, count = 0;
        Span lastPart;
        for (int i = b; i <= e; ++i) {
            if (i < e && s[i] != u'-')
                continue;
            const Span part{from, i - from};
            from = i + 1;
            if (!part.n)
                continue;
            ++count;
            lastPart = part;
            if (partIsTerm(part, parts))
                ++terms;
            else if (i < e)
                break;
        }
        if (terms > 0 && terms == count) {
            parts.cls = Cls::Term;
            parts.span = sp;
            return parts;
        }
        if (lastWord && terms > 0 && terms == count - 1 && from > e) {
            parts.cls = Cls::Term;
            parts.span = sp;
            parts.nFacts = std::min<uint8_t>(parts.nFacts, uint8_t(std::size(parts.facts) - 1));
            parts.add(Role::Group, 0, lastPart);
            return parts;
        }
    }
    return t;
}

bool pairMatches(std::u16string_view a, std::u16string_view b, const Pair &p) {
    return a == p.first && b == p.second;
}

// Neighbours that are read together: "Season 2", "2nd Season", "01 ~ 12", "05 v2", "Dual Audio".
void Reader::join(Tok *toks, int n) const {
    for (int i = 0; i < n; ++i) {
        Tok &t = toks[i];
        if (t.cls == Cls::Consumed || t.cls == Cls::Bracket)
            continue;
        Tok *next = i + 1 < n && toks[i + 1].cls != Cls::Bracket ? &toks[i + 1] : nullptr;
        if (!next)
            continue;
        if (t.word && (t.word->flags & PairFirst) &&
            (next->cls == Cls::Plain || next->cls == Cls::Term || next->cls == Cls::Marker)) {
            Folded a, b;
            if (fold(at(t.span), a) && fold(at(next->span), b)) {
                const Pair *match = nullptr;
                for (const Pair &p : Pairs)
                    if (pairMatches(a.view(), b.view(), p))
                        match = &p;
                if (match) {
                    const Span both{t.span.s, next->span.s + next->span.n - t.span.s};
                    t = Tok{};
                    t.span = both;
                    t.cls = match->role == Role::Kind ? Cls::Marker : Cls::Term;
                    t.add(match->role, match->value, t.span);
                    next->cls = Cls::Consumed;
                    continue;
                }
            }
        }
        if (t.word && t.word->numbered != Role::None && t.word->numbered != Role::Version &&
            (t.cls == Cls::Plain || t.cls == Cls::Marker || t.cls == Cls::Term) && !t.hasNum &&
            next->cls == Cls::Number && (!next->num.yearLike || t.word->numbered == Role::TitleNumber)) {
            numbered(t, t.word->numbered, t.word->value, next->num);
            next->cls = t.word->numbered == Role::TitleNumber ? Cls::TitleNumber : Cls::Consumed;
            continue;
        }
        if (((t.cls == Cls::Number && !t.num.last.n) || t.cls == Cls::Ordinal) && next->word &&
            (next->word->flags & Postfix) && next->cls == Cls::Plain) {
            const Num num = t.num;
            if (next->word->numbered == Role::Season)
                next->add(Role::Season, t.cls == Cls::Ordinal ? t.ordinal : uint16_t(value(num.first)));
            else if (t.cls == Cls::Number)
                next->hasNum = next->explicitEp = true, next->num = num;
            else
                continue;
            next->cls = Cls::Marker;
            t.cls = Cls::Consumed;
            ++i; // "2 сезон 12 серия": the 12 is not the season's
            continue;
        }
        if (t.cls == Cls::Number || t.hasNum) {
            if (t.cls == Cls::Number && next->cls == Cls::Tilde && i + 2 < n &&
                toks[i + 2].cls == Cls::Number && number(toks[i + 2].num.first) >= number(t.num.first)) {
                t.num.last = toks[i + 2].num.first;
                t.num.yearLike = false;
                t.hasNum = true;
                next->cls = toks[i + 2].cls = Cls::Consumed;
            } else if (next->cls == Cls::Version && !t.num.version.n) {
                t.num.version = next->num.version;
                next->cls = Cls::Consumed;
            } else if (next->cls == Cls::End) {
                next->cls = Cls::Consumed;
            } else if (next->word && next->word->role == Role::Of && i + 2 < n &&
                       toks[i + 2].cls == Cls::Number) {
                next->cls = toks[i + 2].cls = Cls::Consumed; // "05 из 26": the count of episodes
            }
        }
    }
}

// ---- Brackets.

// Tells a bracket: the CRC, a group or title (it holds plain words), or terms (maybe a number).
void Reader::readBracket(Tok &t) {
    const QStringView w = at(t.span).trimmed();
    if (w.size() == 8 && std::all_of(w.begin(), w.end(), isHex)) {
        t.bracket = BKind::Crc;
        return;
    }
    Uninitialized<Tok, MaxBracketTokens> buffer;
    Tok *toks = buffer.t;
    int n = tokenize(t.span, toks, MaxBracketTokens, true);
    for (int i = 0; i < n; ++i)
        toks[i] = classify(toks[i].span, i == n - 1);
    join(toks, n);
    t.bracket = n ? BKind::Terms : BKind::Unknown;
    t.bracketFacts = uint16_t(m_nBracketFacts);
    const int room = 4 * MaxTokens;
    auto keep = [&](const Fact &f, bool weak) {
        if (m_nBracketFacts < room)
            m_bracketFacts[m_nBracketFacts++] = {f, weak};
    };
    for (int i = 0; i < n; ++i) {
        const Tok &x = toks[i];
        if (x.cls == Cls::Consumed)
            continue;
        if ((isPlainish(x.cls) && x.cls != Cls::End) || x.cls == Cls::Dash)
            t.bracket = BKind::Unknown;
        if (x.hasNum && !t.hasNum) {
            t.hasNum = true;
            t.num = x.num;
        }
        for (int k = 0; k < x.nFacts; ++k)
            keep(x.facts[k], x.weak);
        if (x.cls == Cls::Number && x.num.yearLike)
            keep({Role::Year, 0, x.num.first}, false);
        if (x.num.version.n)
            keep({Role::Version, uint16_t(value(x.num.version)), {}}, false);
    }
    t.nBracketFacts = uint16_t(m_nBracketFacts - t.bracketFacts);
    if (t.bracket != BKind::Terms)
        t.hasNum = false;
}

void Reader::apply(const Tok &t, bool strongOnly) {
    if (t.cls == Cls::Consumed || (strongOnly && t.weak))
        return;
    if (t.cls == Cls::Number && t.num.yearLike && r.year.isEmpty())
        r.year = at(t.num.first).toString();
    for (int i = 0; i < t.nFacts; ++i)
        applyFact(t.facts[i], t.weak);
}

void Reader::applyFact(const Fact &f, bool weak) {
    switch (f.role) {
    case Role::Video:
    case Role::Audio:
        addTerm(f.role == Role::Video ? 0 : 1, f.span);
        break;
    case Role::Source:
        // "(TV)" marks a series more often than a broadcast: a plain source word gives way.
        if (r.source.isEmpty() || (m_sourceWeak && !weak)) {
            r.source = sourceText(f.value);
            m_sourceWeak = weak;
        }
        break;
    case Role::Resolution:
        if (r.resolution.isEmpty())
            r.resolution = at(f.span).toString();
        break;
    case Role::Kind:
        if (!m_kindSet)
            r.kind = ReleaseKind(f.value), m_kindSet = true;
        break;
    case Role::Season:
        if (r.season.isEmpty())
            r.season = QString::number(f.value);
        break;
    case Role::Version:
        if (r.version.isEmpty())
            r.version = QString::number(f.value);
        break;
    case Role::Group:
        if (r.group.isEmpty())
            r.group = at(f.span).toString();
        break;
    case Role::Year:
        if (r.year.isEmpty())
            r.year = at(f.span).toString();
        break;
    default:
        break;
    }
}

void Reader::addTerm(int list, Span sp) {
    const QStringView text = at(sp);
    for (int i = 0; i < m_nTerms[list]; ++i)
        if (text.compare(at(m_terms[list][i]), Qt::CaseInsensitive) == 0)
            return;
    if (m_nTerms[list] < MaxTerms)
        m_terms[list][m_nTerms[list]++] = sp;
}

QStringList Reader::terms(int list) const {
    QStringList out;
    out.reserve(m_nTerms[list]);
    for (int i = 0; i < m_nTerms[list]; ++i)
        out.append(at(m_terms[list][i]).toString());
    return out;
}

void Reader::applyBracket(const Tok &t, bool strongOnly) {
    if (t.bracket == BKind::Crc) {
        r.crc32 = at(t.span).trimmed().toString().toUpper();
        return;
    }
    for (int i = t.bracketFacts; i < t.bracketFacts + t.nBracketFacts; ++i)
        if (!strongOnly || !m_bracketFacts[i].weak)
            applyFact(m_bracketFacts[i].fact, m_bracketFacts[i].weak);
}

// ---- The title and the episode.

QString Reader::joined(const Tok *toks, int from, int to) const {
    // Built in place: a title is read for every name.
    char16_t text[MaxChars + MaxTokens];
    int n = 0;
    for (int i = from; i < to; ++i) {
        if (toks[i].cls == Cls::Consumed)
            continue;
        if (n > 0)
            text[n++] = u' ';
        const char16_t *word = s.utf16() + toks[i].span.s;
        std::copy(word, word + toks[i].span.n, text + n);
        n += toks[i].span.n;
    }
    // Dashes and punctuation left over from the separators: "Title -", "Title:".
    auto loose = [](char16_t c) {
        return c == u'-' || c == u',' || c == u':' || c == u';' || c == u'~' || c == u'|' || c == u' ' ||
               c == u'+' || c == u'&' || c == u'/' || c == 0x2013 || c == 0x2014 || c == 0xFF5E;
    };
    int a = 0;
    while (a < n && loose(text[a]))
        ++a;
    while (n > a && loose(text[n - 1]))
        --n;
    return QString(reinterpret_cast<const QChar *>(text + a), n - a);
}

bool Reader::isCornerBracket(const Tok &t) const {
    const char16_t open = t.span.s > 0 ? s[t.span.s - 1].unicode() : 0;
    return t.cls == Cls::Bracket && (open == 0x300C || open == 0x300E);
}

int Reader::nextUsed(int i) const {
    for (++i; i < m_n; ++i)
        if (m_toks[i].cls != Cls::Consumed)
            return i;
    return m_n;
}

// Whether token `i` ends a title: a term or marker, unless it is an ordinary word that a plain word
// follows ("Special A", "Dual! Parallel").
bool Reader::stops(int i) const {
    const Tok &t = m_toks[i];
    switch (t.cls) {
    case Cls::Bracket:
    case Cls::Version:
    case Cls::Other:
        return true;
    case Cls::Term:
    case Cls::Marker: {
        if (!t.weak)
            return true;
        const int j = nextUsed(i);
        return j >= m_n || !isPlainish(m_toks[j].cls);
    }
    case Cls::Number:
        if (t.num.yearLike) {
            const int j = nextUsed(i);
            return j >= m_n ||
                   (m_toks[j].cls != Cls::Dash && !isPlainish(m_toks[j].cls) && m_toks[j].cls != Cls::Number);
        }
        return false;
    default:
        return false;
    }
}

// Nothing of a title follows token `i`: the number before it stands alone.
bool Reader::cleanAfter(int i) const {
    const int j = nextUsed(i);
    return j >= m_n || m_toks[j].cls == Cls::Dash || stops(j);
}

// A number at the end of a title's words that is taken for the episode: "05", "7", "01-12"; not the
// "0" of "Steins;Gate 0", nor a folder's or batch's "100" of "Mob Psycho 100" (a video file's "100"
// is its episode, "[Group] One Piece 1000 [1080p].mkv").
bool Reader::bareEpisode(const Tok &t) const {
    if (t.cls != Cls::Number || t.num.yearLike)
        return false;
    if (t.num.last.n)
        return true;
    if (m_folder)
        return false;
    const QStringView d = at(t.num.first);
    if (d.size() >= 2 && d[0] == u'0')
        return true;
    if (d.size() >= 3)
        return m_what == File;
    return !(d.size() == 1 && d[0] == u'0');
}

ReleaseName Reader::read() {
    classifyChars();

    m_n = tokenize({0, int(s.size())}, m_toks, MaxTokens, false);
    int lastWord = -1;
    for (int i = 0; i < m_n; ++i)
        if (m_toks[i].cls != Cls::Bracket)
            lastWord = i;
    for (int i = 0; i < m_n; ++i) {
        if (m_toks[i].cls == Cls::Bracket)
            readBracket(m_toks[i]);
        else
            m_toks[i] = classify(m_toks[i].span, i == lastWord);
    }
    join(m_toks, m_n);

    // The group leads in brackets.
    int start = 0, groupAt = -1;
    if (m_n > 0 && m_toks[0].cls == Cls::Bracket && m_toks[0].bracket == BKind::Unknown) {
        groupAt = 0;
        r.group = at(m_toks[0].span).trimmed().toString();
    }
    while (start < m_n && (m_toks[start].cls == Cls::Bracket || m_toks[start].cls == Cls::Dash))
        ++start;
    const int firstWord = start;
    if (start < m_n && m_toks[start].word && m_toks[start].word->role == Role::KindPrefix)
        apply(m_toks[start++], false);

    // A year right at the start is a title's ("1983 Title"): a year ends only a title begun.
    int end = start;
    while (end < m_n && !(stops(end) && !(end == start && m_toks[end].cls == Cls::Number)))
        ++end;

    // The episode.
    int ep = -1, dashBefore = -1;
    for (int i = start; i < m_n && ep < 0; ++i)
        if (m_toks[i].explicitEp && m_toks[i].cls != Cls::Bracket)
            ep = i;
    if (ep < 0) {
        int first = -1;
        for (int i = start; i + 1 < m_n; ++i) {
            if (m_toks[i].cls != Cls::Dash || m_toks[i + 1].cls != Cls::Number || !m_toks[i + 1].hasNum)
                continue;
            if (m_folder && !m_toks[i + 1].num.last.n)
                continue;
            if (first < 0)
                first = i;
            if (cleanAfter(i + 1)) {
                first = i;
                break;
            }
        }
        if (first >= 0)
            ep = first + 1, dashBefore = first;
    }
    // The number that ends the title's words, or follows the season that ends them ("Title S2 05").
    for (int i = end - 1; i > start && ep < 0; --i)
        if (bareEpisode(m_toks[i]) && cleanAfter(i))
            ep = i;
    if (ep < 0 && end < m_n && m_toks[end].cls == Cls::Marker && !m_toks[end].hasNum && m_toks[end].nFacts &&
        m_toks[end].facts[0].role == Role::Season) {
        const int j = nextUsed(end);
        if (j < m_n && m_toks[j].cls == Cls::Number && m_toks[j].hasNum && cleanAfter(j))
            ep = j;
    }
    int epBracket = -1;
    if (ep < 0) {
        for (int i = groupAt + 1; i < m_n && epBracket < 0; ++i)
            if (m_toks[i].cls == Cls::Bracket && m_toks[i].hasNum && (!m_folder || m_toks[i].num.last.n))
                epBracket = i;
    }
    if (ep < 0 && epBracket < 0 && start < m_n && start == firstWord && m_toks[start].cls == Cls::Number &&
        m_toks[start].hasNum && !m_folder && cleanAfter(start))
        ep = start;
    if (ep >= 0 && ep < end)
        end = ep;
    if (dashBefore >= 0 && dashBefore < end)
        end = dashBefore;

    const Tok *epTok = ep >= 0 ? &m_toks[ep] : epBracket >= 0 ? &m_toks[epBracket] : nullptr;
    if (epTok) {
        const Num &num = epTok->num;
        r.episode = at(num.first).toString();
        r.firstEpisode = r.lastEpisode = number(num.first);
        if (num.last.n) {
            r.episode += u'-';
            r.episode += at(num.last);
            r.lastEpisode = number(num.last);
        }
        if (num.version.n)
            r.version = QString::number(value(num.version));
    }

    // The episode's own title: after the episode (or a kind such as "Movie"), up to the next term.
    int anchor = ep;
    if (anchor < 0 && epBracket < 0)
        for (int i = end; i < m_n && anchor < 0; ++i)
            if (m_toks[i].cls == Cls::Marker && m_toks[i].nFacts && m_toks[i].facts[0].role == Role::Kind)
                anchor = i;
    int epTitleFrom = m_n, epTitleTo = m_n;
    if (anchor >= 0) {
        int i = anchor + 1;
        while (i < m_n && (m_toks[i].cls == Cls::Consumed || m_toks[i].cls == Cls::Dash))
            ++i;
        int j = i;
        while (j < m_n && !stops(j) && !m_toks[j].explicitEp)
            ++j;
        epTitleFrom = i, epTitleTo = j;
        r.episodeTitle = joined(m_toks, i, j);
        // 第01話「Name」: the title in corner brackets.
        if (i == j && i < m_n && isCornerBracket(m_toks[i])) {
            r.episodeTitle = at(m_toks[i].span).trimmed().toString();
            epTitleTo = i + 1;
        }
    }

    r.title = joined(m_toks, start, end);
    if (ep >= 0)
        apply(m_toks[ep], false); // the episode's own marks come first: "S02E05", "OVA 2"
    for (int i = 0; i < m_n; ++i) {
        if ((i >= start && i < end) || (i >= epTitleFrom && i < epTitleTo) || i == groupAt || i == ep)
            continue;
        if (m_toks[i].cls == Cls::Bracket)
            applyBracket(m_toks[i], m_toks[i].bracket == BKind::Unknown);
        else
            apply(m_toks[i], false);
    }

    // A title in brackets before any other word: "[Group][Title][01][1080p]".
    if (r.title.isEmpty()) {
        for (int i = groupAt + 1; i < firstWord; ++i) {
            if (m_toks[i].cls != Cls::Bracket || m_toks[i].bracket != BKind::Unknown)
                continue;
            Reader inner(at(m_toks[i].span), m_what);
            const ReleaseName in = inner.read();
            r.title = in.title;
            if (r.episode.isEmpty() && !in.episode.isEmpty()) {
                r.episode = in.episode;
                r.firstEpisode = in.firstEpisode;
                r.lastEpisode = in.lastEpisode;
            }
            break;
        }
    }
    // A group in the last brackets: "Title - 05 [1080p][Group]".
    if (r.group.isEmpty() && m_n > 1 && m_toks[m_n - 1].cls == Cls::Bracket &&
        m_toks[m_n - 1].bracket == BKind::Unknown && !isCornerBracket(m_toks[m_n - 1])) {
        const QStringView g = at(m_toks[m_n - 1].span).trimmed();
        if (!g.isEmpty() && !g.contains(u' ') && g != r.title)
            r.group = g.toString();
    }
    if (r.kind == ReleaseKind::None && epTok)
        r.kind = ReleaseKind::Episode;
    if (m_nTerms[0])
        r.videoTerms = terms(0);
    if (m_nTerms[1])
        r.audioTerms = terms(1);
    return std::move(r);
}

// The name without a known extension.
QStringView withoutExtension(QStringView name) {
    qsizetype dot = name.size() - 1;
    while (dot > 0 && name.size() - dot <= 6 && name[dot] != u'.')
        --dot;
    if (dot <= 0 || name[dot] != u'.')
        return name;
    Folded f;
    if (!fold(name.mid(dot + 1), f))
        return name;
    for (std::u16string_view e : Extensions)
        if (f.view() == e)
            return name.left(dot);
    return name;
}

} // namespace

QString releaseKindWord(ReleaseKind kind) {
    switch (kind) {
    case ReleaseKind::None:
        return {};
    case ReleaseKind::Episode:
        return QStringLiteral("episode");
    case ReleaseKind::Ova:
        return QStringLiteral("ova");
    case ReleaseKind::Special:
        return QStringLiteral("special");
    case ReleaseKind::Movie:
        return QStringLiteral("movie");
    case ReleaseKind::Opening:
        return QStringLiteral("opening");
    case ReleaseKind::Ending:
        return QStringLiteral("ending");
    case ReleaseKind::Preview:
        return QStringLiteral("preview");
    }
    return {};
}

ReleaseName readReleaseName(const QString &fileName, const QString &folderName) {
    QStringView name = fileName;
    QStringView folder = folderName;
    // A path: the file's folder is the fallback. " / " between blanks parts a title's names instead.
    qsizetype slash = name.size() - 1;
    while (slash >= 0 && (name[slash] != u'/' || (slash > 0 && slash + 1 < name.size() &&
                                                  name[slash - 1] == u' ' && name[slash + 1] == u' ')))
        --slash;
    if (slash >= 0) {
        folder = name.left(slash);
        name = name.mid(slash + 1);
    }
    const QStringView bare = withoutExtension(name);
    ReleaseName r = Reader(bare, bare.size() < name.size() ? Reader::File : Reader::Name).read();
    const bool fileKind = r.kind != ReleaseKind::None && r.kind != ReleaseKind::Episode;
    if (folder.isEmpty() || (!r.title.isEmpty() && !r.season.isEmpty() && fileKind))
        return r;
    // The folder, then its parent ("Title/Season 2/01.mkv"), say what the file's own name does not.
    for (int tries = 0; tries < 2 && !folder.isEmpty(); ++tries) {
        const qsizetype slash = folder.lastIndexOf(u'/');
        const QStringView part = folder.mid(slash + 1);
        folder = slash >= 0 ? folder.left(slash) : QStringView();
        if (part.isEmpty()) {
            --tries;
            continue;
        }
        const ReleaseName f = Reader(part, Reader::Folder).read();
        if (r.season.isEmpty())
            r.season = f.season;
        if (f.title.isEmpty() && !fileKind && f.kind != ReleaseKind::None && f.kind != ReleaseKind::Episode)
            r.kind = f.kind;
        if (!f.title.isEmpty()) {
            if (r.title.isEmpty())
                r.title = f.title;
            break;
        }
    }
    return r;
}

} // namespace vq
