// The title a folder's file names propose, and the catalog's title it matches.
#include "catalog/catalog.h"
#include "ops/titleguess.h"
#include "support/temp_catalog.h"

#include <gtest/gtest.h>

using namespace vq;
using vq::test::TempCatalog;

TEST(TitleGuess, MostCommonTitleOfTheNames) {
    struct Case {
        const char *what;
        QStringList names;
        const char *folder, *proposed;
    };
    const Case cases[] = {
        {"most files win, spelled as the first",
         {"[A] Show Name - 01.mkv", "Show.Name.S01E02.mkv", "[B] Other - 01.mkv", "show_name_-_03.mkv"},
         "",
         "Show Name"},
        {"the folder for names without a title", {"01.mkv", "02.mkv"}, "/d/Ёлки Season 2", "Ёлки"},
        {"a tie goes to the first", {"[A] One - 01.mkv", "[A] Two - 01.mkv"}, "", "One"},
        {"nothing to read", {"01.mkv"}, "", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ops::proposedTitle(c.names, QString::fromUtf8(c.folder)), QString::fromUtf8(c.proposed))
            << c.what;
}

TEST(TitleGuess, MatchesOwnAndOtherNamesHoweverWritten) {
    TempCatalog t;
    const qint64 steins = t.addTitle(QStringLiteral("Steins;Gate 0"));
    const qint64 yolki = t.addTitle(QStringLiteral("Ёлки"));
    const qint64 mob = t.addTitle(QStringLiteral("Моб Психо"));
    const qint64 mob2 = t.addTitle(QStringLiteral("Mob Psycho 100 II"));
    t.exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") VALUES "
                          "(%1, 'Mob Psycho 100'), (%2, 'Steins Gate Zero')")
               .arg(mob)
               .arg(mob2));
    Catalog c(t.path());
    struct Case {
        const char *name;
        qint64 id;
        const char *otherName;
    };
    const Case cases[] = {
        {"STEINS GATE 0", steins, ""},
        {"steins_gate.0", steins, ""},
        {"елки", yolki, ""},
        {"Mob.Psycho.100", mob, "Mob Psycho 100"},
        {"Mob Psycho 100 II", mob2, ""},
        {"Steins Gate", 0, ""},
        {"Mob", 0, ""},
        {"...", 0, ""},
    };
    for (const Case &k : cases) {
        const auto m = ops::matchTitle(c, QString::fromUtf8(k.name));
        EXPECT_EQ(m ? m->id : 0, k.id) << k.name;
        EXPECT_EQ(m ? m->otherName : QString(), QString::fromUtf8(k.otherName)) << k.name;
    }
}
