#include "browser/titlefilter.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"
#include "ops/altnames.h"
#include "ops/titleops.h"
#include "support/temp_catalog.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vq;
using ops::AltName;
using vq::test::TempCatalog;

namespace {

// The message a refused call raised; empty when it went through.
QString refusal(const std::function<void()> &f) {
    try {
        f();
    } catch (const Error &e) {
        return e.message();
    }
    return QString();
}

class AltNames : public ::testing::Test {
protected:
    void SetUp() override {
        vq::test::isolateSettings();
        akira = cat.addTitle(QStringLiteral("Akira"));
        bebop = cat.addTitle(QStringLiteral("Bebop"));
        cat.addEpisode(bebop, {.name = QStringLiteral("b1"), .size = 10.0});
        s.open(cat.path());
    }
    // What the file holds for a title, in key order.
    QString stored(qint64 title) {
        return cat.scalar(
            QStringLiteral("SELECT group_concat(\"Альтернативное Название\", '|') FROM (SELECT * "
                           "FROM \"Alt_Ani_Name\" WHERE \"Название_id\" = %1 ORDER BY \"ID\")")
                .arg(title));
    }
    QString count() { return cat.scalar(QStringLiteral("SELECT count(*) FROM \"Alt_Ani_Name\"")); }

    TempCatalog cat;
    CatalogSession s;
    qint64 akira = 0, bebop = 0;
};

TEST_F(AltNames, AddedRenamedAndDeletedInTheFile) {
    const qint64 first = ops::addAltName(s, akira, QStringLiteral("  アキラ "));
    const qint64 second = ops::addAltName(s, akira, QStringLiteral("Акира"));
    // Another title's name is no duplicate of this one's.
    const qint64 third = ops::addAltName(s, akira, QStringLiteral("Bebop"));
    ops::addAltName(s, bebop, QStringLiteral("Ковбой Бибоп"));
    EXPECT_EQ(stored(akira), QStringLiteral("アキラ|Акира|Bebop"));
    EXPECT_EQ(ops::altNames(s, akira), (std::vector<AltName>{{first, QStringLiteral("アキラ")},
                                                             {second, QStringLiteral("Акира")},
                                                             {third, QStringLiteral("Bebop")}}));

    // A rename keeps the name's place; the same name in other letter case is its own to change.
    ops::renameAltName(s, first, QStringLiteral("Akira 1988"));
    ops::renameAltName(s, second, QStringLiteral("АКИРА"));
    EXPECT_EQ(stored(akira), QStringLiteral("Akira 1988|АКИРА|Bebop"));

    ops::deleteAltName(s, third);
    EXPECT_EQ(stored(akira), QStringLiteral("Akira 1988|АКИРА"));
    EXPECT_EQ(refusal([&] { ops::deleteAltName(s, third); }), msg::noAltNameWithId(third));
    EXPECT_EQ(stored(bebop), QStringLiteral("Ковбой Бибоп"));
}

TEST_F(AltNames, RefusedNamesChangeNothing) {
    const qint64 kept = ops::addAltName(s, akira, QStringLiteral("Ёлка"));
    const qint64 other = ops::addAltName(s, akira, QStringLiteral("Second"));
    const QString longest(schema::kMaxTextLength, QLatin1Char('x'));
    const QString tooLong = longest + QLatin1Char('x');
    // Characters beyond the BMP count once each, as the file's check counts them.
    QString wide;
    for (int i = 0; i < schema::kMaxTextLength; ++i)
        wide += QStringLiteral("😀");
    struct Case {
        const char *what;
        qint64 title;
        QString name;
        QString expected; // the message; empty when the name is taken
    };
    const Case cases[] = {
        {"empty", akira, QString(), msg::altNameEmpty()},
        {"blanks", akira, QStringLiteral(" \t "), msg::altNameEmpty()},
        {"tab inside", akira, QStringLiteral("a\tb"), msg::altNameControlCharacter()},
        {"line break", akira, QStringLiteral("a\nb"), msg::altNameControlCharacter()},
        {"nul", akira, QStringLiteral("a") + QChar(0) + QStringLiteral("b"), msg::altNameControlCharacter()},
        {"too long", akira, tooLong,
         msg::textTooLong(QStringLiteral("Альтернативное Название"), schema::kMaxTextLength, tooLong.size())},
        {"main name", akira, QStringLiteral("Akira"), msg::altNameIsMainName(QStringLiteral("Akira"))},
        {"main name, other case", akira, QStringLiteral(" aKIRA "),
         msg::altNameIsMainName(QStringLiteral("Akira"))},
        {"its other name, ё as е", akira, QStringLiteral("ЕЛКА"), msg::altNameTaken(QStringLiteral("Ёлка"))},
        {"no such title", 9999, QStringLiteral("Anything"), msg::noTitleWithId(9999)},
        {"longest", akira, longest, QString()},
        {"longest in wide characters", akira, wide, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString before = stored(akira);
        const QString said = refusal([&] { ops::addAltName(s, c.title, c.name); });
        EXPECT_EQ(said, c.expected);
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(stored(akira), before);
            // A rename is held to the same rules.
            if (c.title == akira) {
                EXPECT_EQ(refusal([&] { ops::renameAltName(s, other, c.name); }), c.expected);
            }
        }
    }
    EXPECT_EQ(ops::altNames(s, akira).back().name, wide);
    EXPECT_EQ(refusal([&] { ops::renameAltName(s, other, QStringLiteral("ёлка")); }),
              msg::altNameTaken(QStringLiteral("Ёлка")));
    EXPECT_EQ(refusal([&] { ops::renameAltName(s, 9999, QStringLiteral("X")); }), msg::noAltNameWithId(9999));
    EXPECT_EQ(refusal([&] { ops::altNames(s, 9999); }), msg::noTitleWithId(9999));
    EXPECT_EQ(ops::altNames(s, akira).front(), (AltName{kept, QStringLiteral("Ёлка")}));
}

TEST_F(AltNames, GoWithTheirTitle) {
    struct Case {
        const char *how;
        std::function<void(qint64)> deleteTitle;
    };
    const Case cases[] = {
        {"the program's delete", [&](qint64 id) { ops::deleteTitle(s, id); }},
        {"raw SQL",
         [&](qint64 id) { cat.exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = %1").arg(id)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        const qint64 title = ops::addTitle(s, QStringLiteral("Doomed"));
        const qint64 alt = ops::addAltName(s, title, QStringLiteral("Обречённый"));
        ops::addAltName(s, akira, QStringLiteral("Stays"));
        c.deleteTitle(title);
        EXPECT_EQ(
            cat.scalar(QStringLiteral("SELECT count(*) FROM \"Alt_Ani_Name\" WHERE \"Название_id\" = %1")
                           .arg(title)),
            QStringLiteral("0"));
        EXPECT_EQ(refusal([&] { ops::altNames(s, title); }), msg::noTitleWithId(title));
        EXPECT_EQ(refusal([&] { ops::renameAltName(s, alt, QStringLiteral("X")); }),
                  msg::noAltNameWithId(alt));
        EXPECT_EQ(stored(akira), QStringLiteral("Stays"));
        ops::deleteAltName(s, ops::altNames(s, akira).front().id);
    }
}

TEST_F(AltNames, SearchAndKeptRowsSeeEachChangeAtOnce) {
    Catalog &c = s.catalog();
    const TablePtr rows = c.table(schema::kAltNames);
    const auto found = [&](const char *text) {
        TitleFilter f;
        f.name = QString::fromUtf8(text);
        return applyTitleFilter(c, f).ids;
    };
    // The rows read before the change, patched rather than read again.
    const auto keptNames = [&] {
        QStringList out;
        const TablePtr t = c.table(schema::kAltNames);
        EXPECT_EQ(t, rows);
        for (int r = 0; r < t->physicalRows(); ++r)
            if (t->alive(r))
                out << t->textAt(r, 2);
        return out;
    };
    const qint64 alt = ops::addAltName(s, bebop, QStringLiteral("Cowboy"));
    EXPECT_EQ(found("cow"), std::vector<qint64>{bebop});
    EXPECT_EQ(keptNames(), QStringList{QStringLiteral("Cowboy")});
    ops::renameAltName(s, alt, QStringLiteral("Space cowboy"));
    EXPECT_TRUE(found("cow").empty());
    EXPECT_EQ(found("spa"), std::vector<qint64>{bebop});
    EXPECT_EQ(keptNames(), QStringList{QStringLiteral("Space cowboy")});
    // A refusal writes nothing and keeps what was read.
    const quint64 epoch = c.epoch();
    EXPECT_FALSE(refusal([&] { ops::addAltName(s, bebop, QStringLiteral("space COWBOY")); }).isEmpty());
    EXPECT_EQ(c.epoch(), epoch);
    ops::deleteAltName(s, alt);
    EXPECT_TRUE(found("spa").empty());
    EXPECT_TRUE(keptNames().isEmpty());
}

TEST_F(AltNames, ReadOnlyCatalogIsReadNotWritten) {
    const qint64 alt = ops::addAltName(s, akira, QStringLiteral("Kept"));
    s.close();
    s.open(cat.path(), true);
    const QString refused = msg::catalogReadOnly(cat.path());
    EXPECT_EQ(refusal([&] { ops::addAltName(s, akira, QStringLiteral("New")); }), refused);
    EXPECT_EQ(refusal([&] { ops::renameAltName(s, alt, QStringLiteral("New")); }), refused);
    EXPECT_EQ(refusal([&] { ops::deleteAltName(s, alt); }), refused);
    EXPECT_EQ(ops::altNames(s, akira), (std::vector<AltName>{{alt, QStringLiteral("Kept")}}));
    EXPECT_EQ(count(), QStringLiteral("1"));
}

} // namespace
