// The titles' name order is kept in the file and follows every writer: titles another program adds
// or renames take their places, and a file put in order in another locale is put in order again.
#include "catalog/catalog.h"
#include "support/temp_catalog.h"

#include <QCollator>
#include <gtest/gtest.h>

#include <functional>

using namespace vq;
using vq::test::TempCatalog;

namespace {

// The names of the catalog's titles in its kept order.
QStringList ordered(Catalog &c) {
    QStringList names;
    for (const qint64 id : c.titleOrder().ids())
        names << c.titleTexts().of(id).field(0);
    return names;
}

QStringList sortedByLocale(QStringList names) {
    const QCollator collator = makeNameCollator();
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
}

} // namespace

TEST(TitleOrder, FollowsEveryWriterAndEveryOpening) {
    TempCatalog t;
    QStringList names = {"Naruto", "akira", "Ёлка", "Евангелион", "Bebop", "Жёлтый", "bleach"};
    for (const QString &n : names)
        t.addTitle(n);
    struct Step {
        const char *what;
        std::function<void()> change; // another program's write, while the catalog is open
        bool reopen;
    };
    const Step steps[] = {
        {"as made", [] {}, false},
        {"added by another program",
         [&] {
             t.addTitle(QStringLiteral("Cowboy"));
             names << QStringLiteral("Cowboy");
         },
         false},
        {"renamed by another program",
         [&] {
             t.exec(
                 QStringLiteral("UPDATE \"Список\" SET \"Название\" = 'Зеро' WHERE \"Название\" = 'Naruto'"));
             names.replace(names.indexOf(QStringLiteral("Naruto")), QStringLiteral("Зеро"));
         },
         false},
        {"deleted by another program",
         [&] {
             t.exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"Название\" = 'Bebop'"));
             names.removeAll(QStringLiteral("Bebop"));
         },
         true},
        {"put in order in another locale",
         [&] {
             t.exec(QStringLiteral("UPDATE \"Sort_locale\" SET \"Name\" = 'xx_XX'; UPDATE \"Sort_title\" SET "
                                   "\"Rank\" = 7 - \"ID\" * 3"));
         },
         true},
    };
    auto c = std::make_unique<Catalog>(t.path());
    for (const Step &s : steps) {
        SCOPED_TRACE(s.what);
        s.change();
        if (s.reopen)
            c = std::make_unique<Catalog>(t.path());
        else
            c->checkExternalChanges();
        EXPECT_EQ(ordered(*c), sortedByLocale(names));
    }
    // What the program placed is kept: a read-only opening reads the same order from the file.
    c.reset();
    Catalog readOnly(t.path(), true);
    EXPECT_EQ(ordered(readOnly), sortedByLocale(names));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Sort_title\" WHERE \"Rank\" IS NULL")), "0");
}
