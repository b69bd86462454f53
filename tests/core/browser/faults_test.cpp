// Files the catalog must survive: read-only ones, look-alikes, odd keys and values, new files made
// while something else happens.
#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/formats.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <thread>
#include <unistd.h>

using namespace vq;
using vq::test::TempCatalog;

namespace {

void sql(const QString &path, const char *statements) {
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    char *err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

// Makes `path` unwritable for this process, root included; undone when the guard goes.
class Unwritable {
public:
    explicit Unwritable(const QString &path, bool folder) : m_path(path) {
        QFile::setPermissions(path, folder ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
        if (getuid() == 0)
            m_ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        m_folder = folder;
    }
    ~Unwritable() {
        if (getuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        QFile::setPermissions(m_path, m_folder ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               : QFile::ReadOwner | QFile::WriteOwner);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = true;
    bool m_folder = false;
};

QStringList summaryTexts(CatalogSession &s) {
    const CatalogStats st = UpStat(s);
    QStringList out{st.LCount, st.LCE, st.LSize, st.LTime};
    s.Name.setFiltered(false);
    TExportList texts;
    for (int r = 1; r <= s.Name.recordCount(); ++r) {
        GetExtParam(s, r, texts);
        out << texts.DurationText << texts.SizeText;
    }
    return out;
}

void expectWriteRefused(CatalogSession &s) {
    s.Name.first();
    try {
        s.Name.edit();
        s.Name.setValue(QStringLiteral("Название"), QStringLiteral("Other"));
        s.Name.post();
        ADD_FAILURE() << "wrote into a read-only catalog";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("только для чтения"))) << e.message().toStdString();
    }
    s.Name.cancel();
}

} // namespace

TEST(CatalogFaults, TotalsReadAgainAfterAnotherProcessWrote) {
    // The totals have no key: reading them again once the file changed must start at their row.
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(a, {.size = 5.0, .durationMs = 10});
    CatalogSession s;
    s.open(t.path());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(UpStat(s).sizeBytes, 5.0 * (i + 1));
        t.addEpisode(a, {.size = 5.0, .durationMs = 10});
    }
}

TEST(CatalogFaults, ReadOnlyFileWithJournalFilesLeftBeside) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(a, {.size = 1048576.0, .durationMs = 3000});
    // A first run leaves -wal and -shm behind (it still holds the file open).
    t.exec(QStringLiteral("INSERT INTO \"Список\"(\"Название\") VALUES ('Bebop')"));
    ASSERT_TRUE(QFile::exists(t.path() + QStringLiteral("-wal")));
    Unwritable lock(t.path(), false);
    if (!lock.ok())
        GTEST_SKIP() << "no way to make a file read-only for root here";
    const QByteArray before = test::fileBytes(t.path());
    for (int run = 0; run < 3; ++run) {
        CatalogSession s;
        s.open(t.path());
        EXPECT_TRUE(s.isReadOnly());
        const QStringList texts = summaryTexts(s);
        EXPECT_EQ(texts.value(0), QStringLiteral("2"));
        EXPECT_EQ(texts.value(1), QStringLiteral("1"));
        expectWriteRefused(s);
    }
    EXPECT_EQ(test::fileBytes(t.path()), before);
}

TEST(CatalogFaults, CatalogInReadOnlyFolderOpensReadOnly) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("disc.vdq"));
    Catalog::createStarter(path);
    sql(path, "INSERT INTO \"Список\"(\"Название\") VALUES ('Akira');"
              "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\") VALUES (1, 'a.mkv', 2048)");
    ASSERT_FALSE(QFile::exists(path + QStringLiteral("-shm")));
    const QByteArray before = test::fileBytes(path);
    {
        Unwritable lock(dir.path(), true);
        if (!lock.ok())
            GTEST_SKIP() << "no way to make a folder read-only for root here";
        CatalogSession s;
        s.open(path);
        EXPECT_TRUE(s.isReadOnly());
        EXPECT_EQ(summaryTexts(s).mid(0, 2), (QStringList{QStringLiteral("1"), QStringLiteral("1")}));
        s.Series.setFilter(Filter::equals(QStringLiteral("Название"), 1));
        s.Series.setFiltered(true);
        EXPECT_EQ(s.Series.recordCount(), 1);
        expectWriteRefused(s);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-shm")));
    }
    EXPECT_EQ(test::fileBytes(path), before);
}

TEST(CatalogFaults, LookAlikeFilesAreRefusedUnchanged) {
    QTemporaryDir dir;
    struct Case {
        const char *name;
        const char *sql;
    };
    const Case cases[] = {
        // Our table and view names, other columns: the names would show as data.
        {"other columns",
         "CREATE TABLE \"Список\"(a, b); CREATE TABLE \"Серии\"(a, b); CREATE TABLE \"Тип\"(a);"
         "CREATE TABLE \"Sub\"(a); CREATE TABLE \"Codec\"(a); CREATE TABLE \"Format\"(a);"
         "CREATE TABLE \"Alt_Ani_Name\"(a); CREATE VIEW \"Rjk\" AS SELECT 1; CREATE VIEW \"Ext\" AS SELECT 1;"
         "CREATE VIEW \"All t\" AS SELECT 1; CREATE VIEW \"Up_time\" AS SELECT 1;"
         "INSERT INTO \"Список\" VALUES ('Количество серий', 'x')"},
        {"a catalog missing a column", "ALTER TABLE \"Серии\" DROP COLUMN \"A_Hz\""},
        {"a view missing a column", "DROP VIEW \"All t\"; CREATE VIEW \"All t\" AS SELECT 1 AS \"Long\""},
        {"broken sums", "DROP TRIGGER \"Sum_insert\"; DROP TABLE \"Sum_all\"; CREATE TABLE \"Sum_all\"(x)"},
    };
    for (const Case &c : cases) {
        const QString path = QDir(dir.path()).filePath(QString::fromUtf8(c.name) + QStringLiteral(".vdq"));
        if (QString::fromUtf8(c.name) == QLatin1String("other columns")) {
            sql(path, c.sql);
        } else {
            Catalog::createStarter(path);
            sql(path, "PRAGMA journal_mode = DELETE");
            sql(path, c.sql);
        }
        const QByteArray before = test::fileBytes(path);
        try {
            CatalogSession s;
            s.open(path);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(path)) << c.name << ": " << e.message().toStdString();
        }
        EXPECT_EQ(test::fileBytes(path), before) << c.name;
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal"))) << c.name;
    }
}

TEST(CatalogFaults, HighKeysCostNoMemory) {
    TempCatalog t;
    for (qint64 id : {qint64(9999999), std::numeric_limits<qint64>::max()}) {
        t.exec(QStringLiteral("INSERT INTO \"Список\"(\"ID\", \"Название\") VALUES (%1, 'stray')").arg(id));
        t.exec(QStringLiteral("INSERT INTO \"Серии\"(\"ID\", \"Название\", \"Серия\", \"Объём (байт)\") "
                              "VALUES (%1, %1, 'e', 1048576)")
                   .arg(id));
        CatalogSession s;
        s.open(t.path());
        EXPECT_LE(s.catalog().table(QStringLiteral("Список"))->capacity(), 4096) << id;
        EXPECT_EQ(summaryTexts(s).mid(0, 2).join(QLatin1Char(' ')),
                  id == 9999999 ? QStringLiteral("1 1") : QStringLiteral("2 2"));
        s.Series.setFilter(Filter::equals(QStringLiteral("Название"), id));
        s.Series.setFiltered(true);
        EXPECT_EQ(s.Series.recordCount(), 1);
        EXPECT_LE(s.catalog().titleEpisodes(id)->capacity(), 4096);
    }
}

TEST(CatalogFaults, LongPlayTimesAndHugeSizesShowTrueNumbers) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Long"));
    // 3 000 000 000 ms: past the 596 hours of 32-bit milliseconds.
    t.addEpisode(a, {.size = 1e308, .durationMs = 2000000000});
    t.addEpisode(a, {.size = 0.0, .durationMs = 1000000000});
    CatalogSession s;
    s.open(t.path());
    QLocale::setDefault(QLocale::c());
    const CatalogStats st = UpStat(s);
    EXPECT_EQ(st.LTime, QStringLiteral("833:20:00,000"));
    EXPECT_FALSE(st.LSize.contains(QLatin1Char('-'))) << st.LSize.toStdString();
    EXPECT_TRUE(st.LSize.startsWith(QStringLiteral("931322574615478"))) << st.LSize.toStdString();
    TExportList texts;
    s.Name.setFiltered(false);
    GetExtParam(s, 1, texts);
    EXPECT_EQ(texts.DurationText, QStringLiteral("833:20:00,000"));
    EXPECT_FALSE(texts.SizeText.contains(QLatin1Char('-'))) << texts.SizeText.toStdString();
    EXPECT_TRUE(texts.SizeText.startsWith(QStringLiteral(" 95 367 431 640 625")))
        << texts.SizeText.toStdString();
}

TEST(CatalogFaults, NewCatalogAppearsOnlyWhenCompleteAndNeverOverAFile) {
    TempCatalog t;
    t.addTitle(QStringLiteral("Akira"));
    CatalogSession s;
    s.open(t.path());
    const QString target = QDir(t.dir()).filePath(QStringLiteral("2006.vdq"));
    // A half-made file of an earlier, stopped run has a name of its own: a retry still works.
    QFile stale(QDir(t.dir()).filePath(QStringLiteral(".2006.vdq.old.part")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    s.makeNewCatalog(target);
    EXPECT_EQ(s.path(), target);
    EXPECT_EQ(s.Name.recordCount(), 0);
    const QStringList left = QDir(t.dir()).entryList({QStringLiteral("*.part*")}, QDir::Hidden | QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral(".2006.vdq.old.part")});
    // A second one under the same name, or through a dangling link, is refused; nothing changes.
    const QByteArray before = test::fileBytes(target);
    EXPECT_THROW(s.makeNewCatalog(target), Error);
    EXPECT_EQ(test::fileBytes(target), before);
    const QString link = QDir(t.dir()).filePath(QStringLiteral("link.vdq"));
    const QString missing = QDir(t.dir()).filePath(QStringLiteral("nowhere.vdq"));
    ASSERT_TRUE(QFile::link(missing, link));
    EXPECT_THROW(s.makeNewCatalog(link), Error);
    EXPECT_THROW(Catalog::createStarter(link), Error);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(QDir(t.dir()).entryList({QStringLiteral("*.part*")}, QDir::Hidden | QDir::Files).size(), 1);
}

TEST(CatalogFaults, TwoInitsAtOnceMakeExactlyOneCatalog) {
    QTemporaryDir dir;
    for (int pair = 0; pair < 20; ++pair) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("c%1.vdq").arg(pair));
        std::atomic<int> made{0}, refused{0};
        auto init = [&] {
            try {
                Catalog::createStarter(path);
                ++made;
            } catch (const Error &) {
                ++refused;
            }
        };
        std::thread a(init), b(init);
        a.join();
        b.join();
        EXPECT_EQ(made.load(), 1) << pair;
        EXPECT_EQ(refused.load(), 1) << pair;
        EXPECT_NO_THROW(Catalog c(path)) << pair;
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.part*")}, QDir::Hidden | QDir::Files).size(), 0);
}
