#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/partfile.h"
#include "catalog/schema.h"
#include "catalog/settings.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vq;
using vq::test::TempCatalog;

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Opening must fail with a message naming the file, and leave the file as it was.
void expectRefused(const QString &path, const char *what) {
    const QByteArray before = test::fileBytes(path);
    try {
        Catalog c(path);
        ADD_FAILURE() << what << ": opened";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(path)) << what << ": " << e.message().toStdString();
    }
    EXPECT_EQ(test::fileBytes(path), before) << what;
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal"))) << what;
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal"))) << what;
}

} // namespace

TEST(CatalogOpen, RefusesWhatIsNotACatalog) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("cover.png"));
    writeFile(png, QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x'));
    const QString text = dir.filePath(QStringLiteral("notes.vdq"));
    writeFile(text, "Naruto\tTV\t220\n");
    const QString empty = dir.filePath(QStringLiteral("empty.vdq"));
    writeFile(empty, QByteArray());
    const QString foreign = dir.filePath(QStringLiteral("other.sqlite"));
    {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(foreign).constData(), &db);
        sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    TempCatalog good;
    const QString truncated = dir.filePath(QStringLiteral("truncated.vdq"));
    {
        // A real catalog with enough rows to span many pages, cut in half.
        for (int i = 0; i < 300; ++i)
            good.addTitle(QStringLiteral("Title %1 with a long enough name to fill pages").arg(i));
        good.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        const QByteArray whole = test::fileBytes(good.path());
        writeFile(truncated, whole.left(whole.size() / 2));
    }
    expectRefused(png, "png");
    expectRefused(text, "text");
    expectRefused(empty, "empty");
    expectRefused(foreign, "sqlite without catalog tables");
    expectRefused(truncated, "truncated");

    for (const QString &path : {dir.path(), dir.filePath(QStringLiteral("missing.vdq")), QString()}) {
        EXPECT_THROW(Catalog c(path), Error) << path.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.vdq"))));
}

TEST(CatalogOpen, StarterCatalogHasLookupRows) {
    TempCatalog t;
    CatalogSession s;
    s.open(t.path());
    s.ADoType.open();
    EXPECT_EQ(s.ADoType.recordCount(), 4);
    for (int id = 1; id <= 4; ++id) {
        s.ADoType.setFilter(Filter::equals(QStringLiteral("ID"), id));
        s.ADoType.setFiltered(true);
        ASSERT_EQ(s.ADoType.recordCount(), 1) << id;
        EXPECT_FALSE(s.ADoType.asString(QStringLiteral("Тип")).isEmpty());
        EXPECT_LE(s.ADoType.asString(QStringLiteral("Тип")).size(), 5);
    }
    s.TSub.open();
    for (int id = 0; id <= 2; ++id) {
        s.TSub.setFilter(Filter::equals(QStringLiteral("ID"), id));
        s.TSub.setFiltered(true);
        EXPECT_EQ(s.TSub.recordCount(), 1) << id;
    }
    EXPECT_THROW(Catalog::createStarter(t.path()), Error);
}

TEST(CatalogOpen, ReadOnlyFileReadsButRefusesWrites) {
    TempCatalog t;
    t.addTitle(QStringLiteral("Akira"));
    t.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    QFile::setPermissions(t.path(), QFile::ReadOwner | QFile::ReadUser);
    // Root writes files whatever their mode; the immutable flag stops it too.
    const bool immutable = getuid() == 0;
    if (immutable && QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), t.path()}) != 0)
        GTEST_SKIP() << "no way to make a file read-only for root here";
    // Whatever happens below, the temporary folder must stay removable.
    const std::unique_ptr<const QString, void (*)(const QString *)> unlock(
        immutable ? &t.path() : nullptr, [](const QString *p) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), *p});
        });
    {
        CatalogSession s;
        s.open(t.path());
        EXPECT_EQ(s.Name.recordCount(), 1);
        s.Name.first();
        try {
            s.Name.edit();
            s.Name.setValue(QStringLiteral("Название"), QStringLiteral("Other"));
            s.Name.post();
            ADD_FAILURE() << "wrote into a read-only file";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("только для чтения")))
                << e.message().toStdString();
        }
        s.Name.cancel();
    }
    QFile::setPermissions(t.path(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT \"Название\" FROM \"Список\"")), QStringLiteral("Akira"));
}

TEST(CatalogOpen, WriteWaitsForAnotherWriterThenFails) {
    TempCatalog t;
    const qint64 id = t.addTitle(QStringLiteral("Akira"));
    CatalogSession s;
    s.open(t.path());
    t.exec(QStringLiteral("BEGIN IMMEDIATE"));
    t.exec(QStringLiteral("UPDATE \"Список\" SET \"Комментарий\" = 'held' WHERE \"ID\" = %1").arg(id));
    s.Name.first();
    s.Name.edit();
    s.Name.setValue(QStringLiteral("Комментарий"), QStringLiteral("mine"));
    try {
        s.Name.post();
        ADD_FAILURE() << "posted while another process held the file";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("locked"))) << e.message().toStdString();
    }
    t.exec(QStringLiteral("ROLLBACK"));
    s.Name.cancel();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT \"Комментарий\" FROM \"Список\"")), QString());
}

TEST(CatalogSessionTest, RefusedFileKeepsTheOpenCatalog) {
    TempCatalog t;
    t.addTitle(QStringLiteral("Akira"));
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.vdq"));
    writeFile(bad, "not a catalog");
    CatalogSession s;
    s.open(t.path());
    EXPECT_THROW(s.open(bad), Error);
    ASSERT_TRUE(s.isOpen());
    EXPECT_EQ(s.path(), t.path());
    EXPECT_EQ(s.Name.recordCount(), 1);
}

TEST(CatalogSessionTest, NewCatalogIsACopyWithoutTitles) {
    TempCatalog t;
    const qint64 a = t.addTitle(QStringLiteral("Akira"));
    t.addEpisode(a, {.size = 100.0});
    t.exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\"(\"Название_id\", \"Альтернативное Название\") VALUES "
                          "(%1, 'アキラ')")
               .arg(a));
    t.exec(QStringLiteral("INSERT INTO \"Codec\"(\"Name\") VALUES ('AAC LC')"));
    CatalogSession s;
    s.open(t.path());
    QTemporaryDir dir;
    const QString target = CatalogSession::newCatalogPath(dir.path(), QStringLiteral("2006"));
    EXPECT_EQ(target, dir.filePath(QStringLiteral("2006.vdq")));
    s.makeNewCatalog(target);
    EXPECT_EQ(s.path(), target);
    EXPECT_EQ(s.Name.recordCount(), 0);
    s.Series.setFiltered(false);
    EXPECT_EQ(s.Series.recordCount(), 0);
    s.Codec.open();
    EXPECT_EQ(s.Codec.recordCount(), 1);
    s.ADoType.open();
    EXPECT_EQ(s.ADoType.recordCount(), 4);
    // The source is untouched.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\"")), QStringLiteral("1"));

    // Never over an existing file, and the open catalog keeps its titles.
    const QByteArray before = test::fileBytes(t.path());
    CatalogSession other;
    other.open(target);
    EXPECT_THROW(other.makeNewCatalog(t.path()), Error);
    s.close();
    other.close();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\"")), QStringLiteral("1"));
    EXPECT_THROW(CatalogSession::newCatalogPath(dir.path(), QStringLiteral("../escape")), Error);
}

TEST(Settings, RememberedPathAndTextValues) {
    test::isolateSettings();
    rememberCatalogPath(QStringLiteral("/some/where.vdq"));
    EXPECT_EQ(rememberedCatalogPath(), QStringLiteral("/some/where.vdq"));
    auto s = openSettings();
    writeIntSetting(*s, QStringLiteral("View/Width"), 1000);
    EXPECT_EQ(s->value(QStringLiteral("View/Width")).toString(), QStringLiteral("1000"));
    s->setValue(QStringLiteral("View/Left"), QStringLiteral("abc"));
    EXPECT_EQ(readIntSetting(*s, QStringLiteral("View/Left"), 174), 174);
    EXPECT_EQ(readIntSetting(*s, QStringLiteral("View/Missing"), 7), 7);
    s->setValue(QStringLiteral("SelForm/sl3"), QStringLiteral("0"));
    s->setValue(QStringLiteral("SelForm/sl4"), QStringLiteral("5"));
    s->setValue(QStringLiteral("SelForm/sl5"), QStringLiteral("yes"));
    EXPECT_FALSE(readBoolSetting(*s, QStringLiteral("SelForm/sl3"), true));
    EXPECT_TRUE(readBoolSetting(*s, QStringLiteral("SelForm/sl4"), false));
    EXPECT_TRUE(readBoolSetting(*s, QStringLiteral("SelForm/sl5"), true));
}

// The file's columns, the loader's and the named positions come from one list: a column added to
// or moved in it must show in all three alike.
TEST(CatalogSchema, FileLoaderAndPositionsAgree) {
    TempCatalog t;
    for (const QString &table : schema::tableNames()) {
        const std::vector<ColumnDef> cols = schema::tableColumns(table);
        ASSERT_FALSE(cols.empty()) << table.toStdString();
        const QString count =
            t.scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info('%1')").arg(table));
        EXPECT_EQ(count.toInt(), int(cols.size())) << table.toStdString();
        for (size_t i = 0; i < cols.size(); ++i) {
            const QString where =
                QStringLiteral(" FROM pragma_table_info('%1') WHERE cid = %2").arg(table).arg(i);
            EXPECT_EQ(t.scalar(QStringLiteral("SELECT name") + where), cols[i].name) << table.toStdString();
            const QString declared = t.scalar(QStringLiteral("SELECT type") + where);
            const char *expected = cols[i].type == FieldType::Integer ? "INTEGER"
                                   : cols[i].type == FieldType::Float ? "REAL"
                                                                      : "TEXT";
            EXPECT_EQ(declared, QLatin1String(expected))
                << table.toStdString() << " " << cols[i].name.toStdString();
        }
    }

    const qint64 id = t.addTitle(QStringLiteral("Akira"), QStringLiteral("12"), QStringLiteral("note"), 3);
    t.addEpisode(id, {.name = QStringLiteral("01.mkv"),
                      .size = 1234.0,
                      .width = 640,
                      .height = 480,
                      .durationMs = 777,
                      .sound = 1,
                      .subIn = 2,
                      .subExt = 0});
    Catalog c(t.path());
    const TablePtr titles = c.table(schema::kTitles);
    const int tr = titles->rowById(id);
    ASSERT_GE(tr, 0);
    EXPECT_EQ(titles->textAt(tr, schema::tName), QStringLiteral("Akira"));
    EXPECT_EQ(titles->textAt(tr, schema::tEpisodeCount), QStringLiteral("12"));
    EXPECT_EQ(titles->textAt(tr, schema::tComment), QStringLiteral("note"));
    EXPECT_EQ(titles->intAt(tr, schema::tType), 3);
    const TablePtr episodes = c.titleEpisodes(id);
    ASSERT_EQ(episodes->aliveRows(), 1);
    const int er = episodes->rowsByRef(id).front();
    EXPECT_EQ(episodes->intAt(er, schema::eTitle), id);
    EXPECT_EQ(episodes->textAt(er, schema::eEpisode), QStringLiteral("01.mkv"));
    EXPECT_EQ(episodes->realAt(er, schema::eSize), 1234.0);
    EXPECT_EQ(episodes->intAt(er, schema::eWidth), 640);
    EXPECT_EQ(episodes->intAt(er, schema::eHeight), 480);
    EXPECT_EQ(episodes->intAt(er, schema::eDuration), 777);
    EXPECT_EQ(episodes->intAt(er, schema::eSound), 1);
    EXPECT_EQ(episodes->intAt(er, schema::eSubIn), 2);
    EXPECT_EQ(episodes->intAt(er, schema::eSubExt), 0);
}

// What the next new catalog clears from its folder: temporary files nobody holds and their journals,
// never one still being made, nor any other file.
TEST(PartFiles, OnlyWhatNobodyHoldsIsRemoved) {
    QTemporaryDir dir;
    const QString live = partfile::make(dir.filePath(QStringLiteral("a.vdq")));
    const QString liveName = QFileInfo(live).fileName();
    const QStringList stale = {
        QStringLiteral(".b.vdq.0a1b2c3d.part"), QStringLiteral(".b.vdq.0a1b2c3d.part-wal"),
        QStringLiteral(".b.vdq.0a1b2c3d.part-shm"), QStringLiteral(".c.vdq.zz09zz09zz09z.part-journal")};
    const QStringList kept = {QStringLiteral(".hidden"),         QStringLiteral("d.part"),
                              QStringLiteral(".e.vdq.part"),     QStringLiteral(".f.vdq.0A1B2C3D.part"),
                              liveName + QStringLiteral("-wal"), liveName};
    for (const QString &name : stale + kept)
        writeFile(dir.filePath(name), "x");
    partfile::removeStale(QFile::encodeName(dir.path()));
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QStringList want = kept;
    left.sort();
    want.sort();
    EXPECT_EQ(left.join(' ').toStdString(), want.join(' ').toStdString());
    Catalog::removeTemp(live);
}
