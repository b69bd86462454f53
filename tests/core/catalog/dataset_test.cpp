#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "support/temp_catalog.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vq;
using vq::test::EpisodeRow;
using vq::test::TempCatalog;

namespace {

QStringList names(DataSet &ds, const QString &field = QStringLiteral("Название")) {
    QStringList out;
    const int n = ds.recordCount();
    for (int i = 1; i <= n; ++i) {
        ds.setRecNo(i);
        out << ds.asString(field);
    }
    return out;
}

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *n : {"Naruto", "naruto shippuden", "Nana", "O'Brien", "100% Love", "Under_score",
                              "Берсерк", "берег", "Ёлка", "Ель", "Яблоко"})
            ids << t.addTitle(QString::fromUtf8(n));
        s.open(t.path());
    }
    void search(const QString &prefix) {
        s.Name.setFilter(Filter::prefix(QStringLiteral("Название"), prefix));
        s.Name.setFiltered(true);
    }
    TempCatalog t;
    CatalogSession s;
    QList<qint64> ids;
};

} // namespace

TEST_F(DataSetTest, PrefixSearchIsLiteralAndIgnoresCase) {
    const struct {
        const char *prefix;
        QStringList expected;
    } cases[] = {
        {"Na", {QStringLiteral("Nana"), QStringLiteral("Naruto"), QStringLiteral("naruto shippuden")}},
        {"NARUTO", {QStringLiteral("Naruto"), QStringLiteral("naruto shippuden")}},
        {"O'", {QStringLiteral("O'Brien")}},
        {"100%", {QStringLiteral("100% Love")}},
        {"%", {}},
        {"Under_", {QStringLiteral("Under_score")}},
        {"_", {}},
        {"бер", {QStringLiteral("берег"), QStringLiteral("Берсерк")}},
        {"БЕРС", {QStringLiteral("Берсерк")}},
        {"zzz", {}},
    };
    for (const auto &c : cases) {
        search(QString::fromUtf8(c.prefix));
        EXPECT_EQ(names(s.Name), c.expected) << c.prefix;
    }
    s.Name.setFiltered(false);
    EXPECT_EQ(s.Name.recordCount(), ids.size());
    // Switching the filter on again keeps it.
    s.Name.setFiltered(true);
    EXPECT_EQ(s.Name.recordCount(), 0);
}

TEST_F(DataSetTest, NamesSortByLocaleIgnoringCase) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    s.open(t.path()); // the order is decided by the locale in force
    search(QStringLiteral("Е"));
    QStringList e = names(s.Name);
    search(QStringLiteral("Ё"));
    e += names(s.Name);
    s.Name.setFiltered(false);
    const QStringList all = names(s.Name);
    // Ёлка sorts among the Е words, before Яблоко.
    EXPECT_LT(all.indexOf(QStringLiteral("Ёлка")), all.indexOf(QStringLiteral("Яблоко")));
    EXPECT_LT(all.indexOf(QStringLiteral("Ель")), all.indexOf(QStringLiteral("Яблоко")));
    EXPECT_LT(all.indexOf(QStringLiteral("берег")), all.indexOf(QStringLiteral("Берсерк")));
    EXPECT_LT(all.indexOf(QStringLiteral("Nana")), all.indexOf(QStringLiteral("naruto shippuden")));
    QLocale::setDefault(QLocale::c());
}

// A catalog large enough that its collation keys are made on two threads sorts as one collator
// compares the names, equal names staying in the order of their rows.
TEST(DataSetLarge, ManyNamesSortAsTheCollatorComparesThem) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TempCatalog t;
    const QStringList stems = {QStringLiteral("Ёлка"),   QStringLiteral("ель"),   QStringLiteral("Ель"),
                               QStringLiteral("Naruto"), QStringLiteral("nana"),  QStringLiteral("Берсерк"),
                               QStringLiteral("берег"),  QStringLiteral("Яблоко")};
    t.exec(QStringLiteral("BEGIN"));
    QStringList inserted;
    quint32 x = 12345;
    for (int i = 0; i < 9000; ++i) {
        x = x * 1103515245u + 12345u;
        // Many equal names, so that the stable order of equal keys is checked too.
        const QString name = stems[int((x >> 8) % quint32(stems.size()))] + QString::number((x >> 16) % 300);
        t.addTitle(name);
        inserted << name;
    }
    t.exec(QStringLiteral("COMMIT"));
    CatalogSession s;
    s.open(t.path());
    s.Name.setSort(CatalogSession::titleSort());
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList expected = inserted;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    EXPECT_EQ(names(s.Name), expected);
    QLocale::setDefault(QLocale::c());
}

// The keys read in one pass are the records as moving through them gives, filtered or not, and
// the data set stays where it was.
TEST_F(DataSetTest, RecordKeysFollowTheCurrentOrder) {
    for (const QString &prefix :
         {QString(), QStringLiteral("na"), QStringLiteral("Б"), QStringLiteral("zz")}) {
        SCOPED_TRACE(prefix.toStdString());
        s.Name.setFiltered(false);
        if (!prefix.isEmpty())
            search(prefix);
        const int n = s.Name.recordCount();
        if (n > 1)
            s.Name.setRecNo(2);
        const int at = s.Name.recNo();
        const std::vector<DataSet::RecordKey> keys = s.Name.recordKeys(0);
        EXPECT_EQ(s.Name.recNo(), at);
        ASSERT_EQ(int(keys.size()), n);
        for (int i = 1; i <= n; ++i) {
            s.Name.setRecNo(i);
            EXPECT_EQ(keys[size_t(i - 1)].value, s.Name.asInteger(0));
        }
        // A field that is not a stored integer reads as asInteger reads it.
        const std::vector<DataSet::RecordKey> counts = s.Name.recordKeys(3);
        for (int i = 1; i <= n; ++i) {
            s.Name.setRecNo(i);
            EXPECT_EQ(counts[size_t(i - 1)].value, s.Name.asInteger(3));
        }
    }
}

TEST_F(DataSetTest, PositionsAndEmptyValues) {
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), ids[2]));
    s.Name.setFiltered(true);
    ASSERT_EQ(s.Name.recordCount(), 1);
    EXPECT_EQ(s.Name.recNo(), 1);
    EXPECT_EQ(s.Name.asString(1), QStringLiteral("Nana"));
    EXPECT_EQ(s.Name.asString(QStringLiteral("Type")), QString()); // NType 0: no such type
    EXPECT_EQ(s.Name.asInteger(QStringLiteral("NType")), 0);
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), 999999));
    EXPECT_EQ(s.Name.recordCount(), 0);
    EXPECT_EQ(s.Name.recNo(), 0);
    EXPECT_EQ(s.Name.asString(1), QString());
    EXPECT_EQ(s.Name.asInteger(0), 0);
    EXPECT_EQ(s.Name.asFloat(0), 0.0);
    EXPECT_THROW(s.Name.asString(QStringLiteral("NoSuchField")), Error);
    s.Name.setFiltered(false);
    s.Name.setRecNo(1000);
    EXPECT_EQ(s.Name.recNo(), int(ids.size()));
    s.Name.first();
    EXPECT_EQ(s.Name.recNo(), 1);
}

TEST_F(DataSetTest, WritesGoThroughAtOnce) {
    s.Name.setFiltered(false);
    s.Name.append();
    s.Name.setValue(QStringLiteral("Название"), QStringLiteral("Akira"));
    s.Name.setValue(QStringLiteral("NType"), 2);
    s.Name.post();
    const qint64 id = s.Name.asInteger(0);
    EXPECT_EQ(s.Name.asString(QStringLiteral("Type")), QStringLiteral("Movie"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = %1").arg(id)),
              QStringLiteral("Akira"));

    s.Name.edit();
    s.Name.setValue(QStringLiteral("Комментарий"), QStringLiteral("смотрю"));
    // Moving posts a pending edit.
    s.Name.first();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT \"Комментарий\" FROM \"Список\" WHERE \"ID\" = %1").arg(id)),
              QStringLiteral("смотрю"));

    const int before = s.Name.recordCount();
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), id));
    s.Name.setFiltered(true);
    s.Name.remove();
    s.Name.setFiltered(false);
    EXPECT_EQ(s.Name.recordCount(), before - 1);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"ID\" = %1").arg(id)),
              QStringLiteral("0"));
}

// The limit counts characters, as the message says and the file's own check does: an emoji is one.
TEST_F(DataSetTest, OverlongTextIsRefusedAndNothingStored) {
    const QString emoji = QStringLiteral("😀");
    const struct {
        QString text;
        qsizetype chars; // 0: stored
    } cases[] = {
        {QString(255, QLatin1Char('a')), 0},
        {emoji.repeated(255), 0},
        {QString(256, QLatin1Char('b')), 256},
        {emoji.repeated(256), 256},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chars);
        s.Name.append();
        s.Name.setValue(QStringLiteral("Название"), c.text);
        try {
            s.Name.post();
            EXPECT_EQ(c.chars, 0) << "stored";
        } catch (const Error &e) {
            EXPECT_EQ(e.message().toStdString(),
                      msg::textTooLong(QStringLiteral("Название"), 255, c.chars).toStdString());
            s.Name.cancel();
        }
        EXPECT_EQ(
            t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"Название\" = '%1'").arg(c.text)),
            c.chars == 0 ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

TEST_F(DataSetTest, DeletingATitleDeletesItsEpisodes) {
    t.addEpisode(ids[0], {.size = 10.0});
    t.addEpisode(ids[0], {.size = 20.0});
    t.addEpisode(ids[1], {.size = 5.0});
    s.open(t.path());
    s.Series.setFiltered(false);
    EXPECT_EQ(s.Series.recordCount(), 3);
    s.Name.setFilter(Filter::equals(QStringLiteral("ID"), ids[0]));
    s.Name.setFiltered(true);
    s.Name.remove();
    EXPECT_EQ(s.Series.recordCount(), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\"")), QStringLiteral("1"));
    s.ADS.open();
    EXPECT_EQ(s.ADS.asFloat(QStringLiteral("Size")), 5.0);
}

TEST_F(DataSetTest, ReopeningSeesChangesOfAnotherProcess) {
    s.RJk.open();
    EXPECT_EQ(s.RJk.recordCount(), 0);
    t.addEpisode(ids[3], {.size = 1000.0, .durationMs = 60000});
    s.RJk.close();
    s.RJk.open();
    EXPECT_EQ(s.RJk.recordCount(), 1);
    EXPECT_EQ(s.RJk.asFloat(QStringLiteral("Sum-Объём(байт)")), 1000.0);
    s.Series.setFiltered(false);
    EXPECT_EQ(s.Series.recordCount(), 1);
}

TEST_F(DataSetTest, EpisodesOfATitleSortedByName) {
    for (const char *n : {"b 02.mkv", "A 01.mkv", "c 03.mkv"})
        t.addEpisode(ids[0], {.name = QString::fromUtf8(n)});
    t.addEpisode(ids[1], {.name = QStringLiteral("other.mkv")});
    s.open(t.path());
    s.Series.setFilter(Filter::equals(QStringLiteral("Название"), ids[0]));
    s.Series.setFiltered(true);
    EXPECT_EQ(
        names(s.Series, QStringLiteral("Серия")),
        (QStringList{QStringLiteral("A 01.mkv"), QStringLiteral("b 02.mkv"), QStringLiteral("c 03.mkv")}));
    // Deleting the middle record makes the next one current; deleting the last, the one before.
    s.Series.setRecNo(2);
    s.Series.remove();
    EXPECT_EQ(s.Series.asString(QStringLiteral("Серия")), QStringLiteral("c 03.mkv"));
    s.Series.remove();
    EXPECT_EQ(s.Series.asString(QStringLiteral("Серия")), QStringLiteral("A 01.mkv"));
}

TEST_F(DataSetTest, StoredQueriesAreReadOnly) {
    s.RJk.open();
    EXPECT_THROW(s.RJk.append(), Error);
    s.Codec.open();
    s.Codec.append();
    s.Codec.setValue(QStringLiteral("Name"), QStringLiteral("AAC LC"));
    s.Codec.post();
    s.Codec.setFilter(Filter::like(QStringLiteral("Name"), QStringLiteral("aac lc")));
    s.Codec.setFiltered(true);
    EXPECT_EQ(s.Codec.recordCount(), 1);
    s.Codec.setFilter(Filter::like(QStringLiteral("Name"), QStringLiteral("AAC")));
    EXPECT_EQ(s.Codec.recordCount(), 0);
}

// A list of keys lets through exactly the titles it names, in name order, also a title another
// program stored again under a key below the others.
TEST_F(DataSetTest, AListOfKeysLetsThroughTheTitlesItNames) {
    t.exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"ID\" = %1").arg(ids[0]));
    t.exec(QStringLiteral("INSERT INTO \"Список\"(\"ID\", \"Название\", \"NType\") VALUES (%1, 'Akira', 1)")
               .arg(ids[0]));
    s.Name.close();
    s.Name.open();
    const struct {
        std::vector<qint64> keys;
        QStringList shown;
    } cases[] = {
        {{ids[0], ids[2], ids[6]}, {"Akira", "Nana", "Берсерк"}},
        {{ids[0]}, {"Akira"}},
        {{ids[10], 999999}, {"Яблоко"}},
        {{}, {}},
    };
    for (const auto &c : cases) {
        s.Name.setFilter(Filter::oneOf(QStringLiteral("ID"), c.keys));
        s.Name.setFiltered(true);
        EXPECT_EQ(names(s.Name), c.shown) << c.keys.size();
    }
}
