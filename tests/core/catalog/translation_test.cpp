#include "catalog/language.h"
#include "catalog/messages.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace vq;
using lang::Language;

namespace {

const QString kSource = QStringLiteral(VQ_SOURCE_DIR);

void needApp() {
    static int argc = 1;
    static char name[] = "test_catalog";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // kept to the end of the program, as the translators are
}

// One message of the catalogue.
struct Entry {
    QString context, source;
    QStringList translations; // one, or the plural forms
    bool unfinished = false;
};

std::vector<Entry> readCatalogue(const QString &path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&f);
    std::vector<Entry> out;
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            out.push_back({context, {}, {}, false});
        } else if (xml.name() == QLatin1String("source")) {
            out.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QStringView type = xml.attributes().value(QLatin1String("type"));
            out.back().unfinished = type == QLatin1String("unfinished") ||
                                    type == QLatin1String("vanished") || type == QLatin1String("obsolete");
            if (xml.attributes().value(QLatin1String("numerus")).isEmpty()) {
                // A plain translation; the plural forms are read as their own elements.
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                out.back().translations << text;
            }
        } else if (xml.name() == QLatin1String("numerusform")) {
            out.back().translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

bool hasCyrillic(QStringView s) {
    for (QChar c : s)
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
            return true;
    return false;
}

// A C++ string literal's text, escapes read as the compiler reads the common ones.
QString unescape(QStringView body) {
    QString out;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != u'\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        const QChar e = body[++i];
        out += e == u'n' ? QChar(u'\n') : e == u't' ? QChar(u'\t') : e;
    }
    return out;
}

// The string literals of a source file that hold Cyrillic, adjacent ones joined, comments skipped;
// each with the text just before it (to see whether it is a translation's argument).
struct Literal {
    int line;
    QString text, before;
};

std::vector<Literal> cyrillicLiterals(const QString &code) {
    std::vector<Literal> out;
    qsizetype i = 0;
    const qsizetype n = code.size();
    auto skipString = [&](QChar quote) {
        qsizetype j = i + 1;
        while (j < n && code[j] != quote)
            j += code[j] == u'\\' ? 2 : 1;
        return j;
    };
    while (i < n) {
        if (code.mid(i, 2) == QLatin1String("//")) {
            i = code.indexOf(u'\n', i);
            i = i < 0 ? n : i;
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            i = code.indexOf(QLatin1String("*/"), i) + 2;
        } else if (code[i] == u'\'') {
            i = skipString(u'\'') + 1;
        } else if (code[i] == u'"') {
            const qsizetype start = i;
            QString text;
            while (true) {
                const qsizetype end = skipString(u'"');
                text += unescape(QStringView(code).mid(i + 1, end - i - 1));
                qsizetype k = end + 1;
                while (k < n && code[k].isSpace())
                    ++k;
                i = k;
                if (k >= n || code[k] != u'"')
                    break;
            }
            if (hasCyrillic(text)) {
                const qsizetype from = qMax<qsizetype>(0, start - 120);
                out.push_back({int(code.left(start).count(u'\n')) + 1, text, code.mid(from, start - from)});
            }
        } else {
            ++i;
        }
    }
    return out;
}

QString codeOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The files that declare what a catalog stores (tables, columns, indexes, the starter rows, the data
// sets' fields) and the release-name reader's vocabulary: their Cyrillic is data, and so is any use of
// those names elsewhere.
const char *const kDataFiles[] = {"src/core/catalog/schema.cpp", "src/core/catalog/migrations.cpp",
                                  "src/core/catalog/dataset.cpp", "src/core/intake/releasewords.h"};
// Patterns that match Cyrillic in what they read, not texts shown: file, literal.
const std::pair<const char *, const char *> kPatterns[] = {
    {"src/core/intake/releasename.cpp", "-й"},
    {"src/core/intake/releasename.cpp", "й"},
    {"src/core/browser/titlefilter.cpp", "^\\s*(\\d{1,6})\\s*[xXхХ×*]\\s*(\\d{1,6})\\s*$"},
};

} // namespace

TEST(Language, FromTheLocaleName) {
    const std::pair<const char *, Language> cases[] = {
        {"en_US.UTF-8", Language::English}, {"de_DE@euro", Language::English}, {"fr", Language::English},
        {"ru_RU.UTF-8", Language::Russian}, {"ru", Language::Russian},         {"C.UTF-8", Language::Russian},
        {"C", Language::Russian},           {"POSIX", Language::Russian},      {"", Language::Russian},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(lang::fromLocaleName(name), expected) << name;
}

TEST(Language, ForcedByTheEnvironmentThenTheSettingThenTheLocale) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    struct Case {
        const char *env, *setting, *lcAll;
        Language expected;
    } cases[] = {
        {"", "", "en_GB.UTF-8", Language::English},     {"", "auto", "ru_RU.UTF-8", Language::Russian},
        {"", "ru", "en_GB.UTF-8", Language::Russian},   {"", "EN", "C.UTF-8", Language::English},
        {"ru", "en", "en_GB.UTF-8", Language::Russian}, {"en", "ru", "C.UTF-8", Language::English},
        {"bogus", "bogus", "de_DE", Language::English},
    };
    const QByteArray savedEnv = qgetenv("VIDOTEQ_LANGUAGE"), savedAll = qgetenv("LC_ALL");
    for (const Case &c : cases) {
        qputenv("VIDOTEQ_LANGUAGE", c.env);
        qputenv("LC_ALL", c.lcAll);
        settings.setValue(QLatin1String(lang::kSettingKey), QString::fromUtf8(c.setting));
        EXPECT_EQ(lang::chosen(settings), c.expected) << c.env << " " << c.setting << " " << c.lcAll;
    }
    qputenv("VIDOTEQ_LANGUAGE", savedEnv);
    qputenv("LC_ALL", savedAll);
}

TEST(Language, MessagesFollowTheInstalledLanguage) {
    needApp();
    ASSERT_TRUE(lang::install(Language::English));
    EXPECT_EQ(msg::catalogOpenedReadOnly(QStringLiteral("a.vdq")),
              QStringLiteral("Catalog “a.vdq” is open read-only."));
    EXPECT_EQ(msg::notAnInteger(QStringLiteral("x")), QStringLiteral("'x' is not an integer"));
    // Counted words: English has one and many, Russian one, few and many.
    EXPECT_EQ(msg::mdbSummary(1, 21, 0, 0, 0, 0, 0),
              QStringLiteral("Brought over: 1 title, 21 episodes, other names: 0, types: 0, languages: 0, "
                             "codecs: 0, formats: 0."));
    ASSERT_TRUE(lang::install(Language::Russian));
    EXPECT_TRUE(msg::mdbSummary(1, 21, 0, 0, 0, 0, 0)
                    .startsWith(QStringLiteral("Перенесено: 1 название, 21 серия, ")));
    EXPECT_TRUE(
        msg::mdbSummary(2, 5, 0, 0, 0, 0, 0).startsWith(QStringLiteral("Перенесено: 2 названия, 5 серий, ")));
    EXPECT_EQ(msg::catalogOpenedReadOnly(QStringLiteral("a.vdq")),
              QStringLiteral("Каталог «a.vdq» открыт только для чтения."));
}

// Every message has a finished English text with the same placeholders, and no English text is
// left in Cyrillic (a catalog's names in a message come from the catalog, not from here).
TEST(Translations, TheEnglishCatalogueIsComplete) {
    const std::vector<Entry> entries = readCatalogue(kSource + QStringLiteral("/translations/vidoteq_en.ts"));
    ASSERT_GT(entries.size(), 300u);
    static const QRegularExpression placeholder(QStringLiteral("%(\\d|n)"));
    auto placeholders = [](const QString &s) {
        QStringList out;
        for (auto it = placeholder.globalMatch(s); it.hasNext();)
            out << it.next().captured();
        out.sort();
        out.removeDuplicates();
        return out;
    };
    for (const Entry &e : entries) {
        const std::string where = (e.context + QStringLiteral(": ") + e.source).toStdString();
        EXPECT_FALSE(e.unfinished) << where;
        ASSERT_FALSE(e.translations.isEmpty()) << where;
        for (const QString &t : e.translations) {
            EXPECT_FALSE(t.isEmpty()) << where;
            EXPECT_EQ(placeholders(t), placeholders(e.source)) << where;
            // The only Cyrillic an English text may keep is a catalog's own table name.
            QString rest = t;
            rest.remove(QStringLiteral("«Тип»")).remove(QStringLiteral("“Тип”"));
            EXPECT_FALSE(hasCyrillic(rest)) << where;
        }
    }
}

// What lupdate would find: every Cyrillic literal in the code is a translated text of the catalogue
// (in its context when the code names one), or a stored name (table, column, starter row).
TEST(Translations, EveryTextOfTheCodeIsInTheCatalogue) {
    QSet<QString> sources, keyed;
    for (const Entry &e : readCatalogue(kSource + QStringLiteral("/translations/vidoteq_en.ts"))) {
        sources.insert(e.source);
        keyed.insert(e.context + u'\x1f' + e.source);
    }
    // The names: a literal of those files as a whole, or what is quoted in it (SQL).
    QStringList dataNames;
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]+)\"|'([^']+)'"));
    for (const char *file : kDataFiles) {
        for (const Literal &l : cyrillicLiterals(codeOf(kSource + u'/' + QLatin1String(file)))) {
            if (!l.text.contains(u'"') && !l.text.contains(u'\''))
                dataNames << l.text;
            for (auto q = quoted.globalMatch(l.text); q.hasNext();) {
                const QRegularExpressionMatch m = q.next();
                dataNames << m.captured(1) + m.captured(2);
            }
        }
    }
    // Longest first, so that "Альтернативное Название" goes before "Название".
    std::sort(dataNames.begin(), dataNames.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    static const QRegularExpression context(
        QStringLiteral("(?:translate|QT_TRANSLATE_NOOP|QT_TRANSLATE_N_NOOP)\\(\\s*\"([^\"]*)\",\\s*$"));

    int seen = 0;
    QDirIterator it(kSource + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(kSource.size() + 1);
        if (std::any_of(std::begin(kDataFiles), std::end(kDataFiles),
                        [&](const char *f) { return rel == f; }))
            continue;
        for (const Literal &l : cyrillicLiterals(codeOf(path))) {
            ++seen;
            const std::string where =
                (rel + u':' + QString::number(l.line) + QStringLiteral(": ") + l.text).toStdString();
            const QRegularExpressionMatch m = context.match(l.before);
            if (m.hasMatch()) {
                EXPECT_TRUE(keyed.contains(m.captured(1) + u'\x1f' + l.text))
                    << "not in the catalogue: " << where;
                continue;
            }
            if (std::any_of(std::begin(kPatterns), std::end(kPatterns), [&](const auto &p) {
                    return rel == QLatin1String(p.first) && l.text == QString::fromUtf8(p.second);
                }))
                continue;
            QString rest = l.text;
            for (const QString &name : dataNames)
                rest.remove(name);
            EXPECT_FALSE(hasCyrillic(rest)) << "a text not passed through the translations: " << where;
        }
    }
    EXPECT_GT(seen, 300); // the scan found the code's texts at all
}
