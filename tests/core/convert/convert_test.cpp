#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"
#include "catalog/tabledata.h"
#include "convert/convert.h"
#include "convert/oldcatalog.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <set>

using namespace vq;

namespace {

const QString kLegacy = QStringLiteral(VQ_LEGACY_DIR);

QString legacy(const char *name) {
    return QDir(kLegacy).filePath(QString::fromUtf8(name));
}

QJsonObject readJson(const char *name) {
    QFile f(legacy(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return QJsonDocument::fromJson(f.readAll()).object();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One stored value read straight from SQLite, NULL kept apart from every text.
struct Cell {
    bool null = true;
    int type = SQLITE_NULL;
    qint64 i = 0;
    double d = 0;
    QString s;
};

using Rows = std::map<qint64, std::map<QString, Cell>>;

Rows readTable(const QString &path, const QString &table) {
    Rows out;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\"").arg(table).toUtf8();
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        std::map<QString, Cell> row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            Cell cell;
            cell.type = sqlite3_column_type(st, c);
            cell.null = cell.type == SQLITE_NULL;
            cell.i = sqlite3_column_int64(st, c);
            cell.d = sqlite3_column_double(st, c);
            cell.s = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
            row[QString::fromUtf8(sqlite3_column_name(st, c))] = cell;
        }
        out[row[QStringLiteral("ID")].i] = row;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

QStringList partFiles(const QString &dir) {
    return QDir(dir).entryList({QStringLiteral("*.part*")}, QDir::Files | QDir::Hidden);
}

class ConvertSmall : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_path = s_dir->filePath(QStringLiteral("small.vdq"));
        s_before = test::fileBytes(legacy("small.mdb"));
        s_report = convert::convertOldCatalog(legacy("small.mdb"), s_path).value();
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    static inline QTemporaryDir *s_dir = nullptr;
    static inline QString s_path;
    static inline QByteArray s_before;
    static inline convert::ConvertReport s_report;
};

} // namespace

// Every row of every table comes over field by field: the same IDs, texts with every character,
// empty texts empty and NULLs NULL, sizes as exact byte counts, dates to the millisecond.
TEST_F(ConvertSmall, EveryRowOfEveryTableAsWritten) {
    const QJsonObject expected = readJson("small.json");
    EXPECT_EQ(test::fileBytes(legacy("small.mdb")), s_before) << "the old file was changed";
    EXPECT_TRUE(partFiles(s_dir->path()).isEmpty());
    for (const QJsonValue tv : expected.value(QStringLiteral("tables")).toArray()) {
        const QJsonObject table = tv.toObject();
        const QString name = table.value(QStringLiteral("name")).toString();
        SCOPED_TRACE(name.toStdString());
        const Rows got = readTable(s_path, name);
        std::map<QString, QString> types;
        for (const QJsonValue c : table.value(QStringLiteral("columns")).toArray())
            types[c.toObject().value(QStringLiteral("name")).toString()] =
                c.toObject().value(QStringLiteral("type")).toString();
        std::set<qint64> ids;
        for (const QJsonValue rv : table.value(QStringLiteral("rows")).toArray()) {
            const QJsonObject row = rv.toObject();
            const qint64 id = row.value(QStringLiteral("ID")).toInteger();
            ids.insert(id);
            auto it = got.find(id);
            ASSERT_NE(it, got.end()) << "ID " << id;
            for (auto f = row.begin(); f != row.end(); ++f) {
                SCOPED_TRACE(QStringLiteral("ID %1, %2").arg(id).arg(f.key()).toStdString());
                ASSERT_TRUE(it->second.count(f.key()));
                const Cell &c = it->second.at(f.key());
                if (f.value().isNull()) {
                    EXPECT_TRUE(c.null);
                    continue;
                }
                ASSERT_FALSE(c.null);
                const QString type = types[f.key()];
                if (type == QLatin1String("TEXT")) {
                    EXPECT_EQ(c.type, SQLITE_TEXT);
                    EXPECT_EQ(c.s, f.value().toString());
                } else if (type == QLatin1String("SHORT_DATE_TIME")) {
                    const auto want = naiveMsFromStorageText(f.value().toString());
                    ASSERT_TRUE(want.has_value());
                    EXPECT_EQ(naiveMsFromStorageText(c.s), want) << c.s.toStdString();
                } else if (type == QLatin1String("DOUBLE")) {
                    // Compared as whole numbers: 12,003,057,761 must stay exactly that.
                    EXPECT_EQ(qint64(c.d), f.value().toInteger());
                    EXPECT_EQ(c.d, double(f.value().toInteger()));
                } else {
                    EXPECT_EQ(c.type, SQLITE_INTEGER);
                    EXPECT_EQ(c.i, f.value().toInteger());
                }
            }
        }
        // Nothing more than the rows the repairs add (the deleted title 17 comes back as one).
        std::set<qint64> extra;
        for (const auto &[id, row] : got)
            if (!ids.count(id))
                extra.insert(id);
        const std::map<QString, std::set<qint64>> repaired = {{schema::kTitles, {17}},
                                                              {schema::kTypes, {0}},
                                                              {schema::kLanguages, {9, 11}},
                                                              {schema::kCodecs, {40}}};
        const auto r = repaired.find(name);
        EXPECT_EQ(extra, r == repaired.end() ? std::set<qint64>{} : r->second);
    }
    // What the episodes' names say is read as an upgrade reads it: "Ковбой Бибоп - 01.avi" is 1.
    int numbered = 0;
    for (const auto &[id, row] : readTable(s_path, schema::kEpisodes)) {
        EXPECT_FALSE(row.at(QStringLiteral("Kind")).null) << id;
        numbered += !row.at(QStringLiteral("Number")).null;
    }
    EXPECT_GT(numbered, 0);
}

// The stored queries of the new catalog give what the old catalog's queries gave, for every
// title that came over as it was.
TEST_F(ConvertSmall, StoredQueriesAgree) {
    const QJsonObject expected = readJson("small.queries.json");
    std::set<qint64> oldTitles;
    for (const QJsonValue tv : readJson("small.json").value(QStringLiteral("tables")).toArray())
        if (tv.toObject().value(QStringLiteral("name")).toString() == schema::kTitles)
            for (const QJsonValue r : tv.toObject().value(QStringLiteral("rows")).toArray())
                oldTitles.insert(r.toObject().value(QStringLiteral("ID")).toInteger());

    Catalog catalog(s_path);
    for (const QString &query : schema::queryNames()) {
        SCOPED_TRACE(query.toStdString());
        TablePtr t = catalog.table(query);
        // Each row as a sorted text of its fields; numbers as whole numbers, dates as milliseconds.
        auto key = [](const QString &col, const QVariant &v) -> QString {
            if (!v.isValid() || v.isNull())
                return col + QStringLiteral("=NULL");
            if (col == QLatin1String("Max-Update")) {
                const auto ms = v.metaType().id() == QMetaType::QString
                                    ? naiveMsFromStorageText(v.toString())
                                    : std::optional<qint64>(v.toLongLong());
                return col + QLatin1Char('=') + QString::number(ms.value_or(-1));
            }
            if (v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::LongLong ||
                v.metaType().id() == QMetaType::Int)
                return col + QLatin1Char('=') + QString::number(qint64(v.toDouble()));
            return col + QLatin1Char('=') + v.toString();
        };
        std::multiset<QString> want, got;
        for (const QJsonValue rv : expected.value(query).toArray()) {
            QStringList fields;
            const QJsonObject o = rv.toObject();
            for (auto f = o.begin(); f != o.end(); ++f)
                fields << key(f.key(), f.value().toVariant());
            fields.sort();
            want.insert(fields.join(QLatin1Char('|')));
        }
        ASSERT_FALSE(want.empty());
        const int idCol = t->columnIndex(QStringLiteral("ID"));
        for (int r = 0; r < t->physicalRows(); ++r) {
            if (!t->alive(r) || (idCol >= 0 && !oldTitles.count(t->intAt(r, idCol))))
                continue;
            QStringList fields;
            for (int c = 0; c < t->columnCount(); ++c) {
                QVariant v = t->valueAt(r, c);
                if (t->column(c).type == FieldType::DateTime && !t->isNull(r, c))
                    v = t->intAt(r, c);
                fields << key(t->column(c).name, v);
            }
            fields.sort();
            got.insert(fields.join(QLatin1Char('|')));
        }
        EXPECT_EQ(got, want);
    }
    // The view in the file agrees with the totals too.
    const Rows all = readTable(s_path, schema::kAllT);
    ASSERT_EQ(all.size(), 1u);
}

// Rows the old catalog held against its own references are kept, the totals stay, and each
// repair is reported with its counts.
TEST_F(ConvertSmall, RepairsKeepEveryEpisodeAndAreReported) {
    const Rows titles = readTable(s_path, schema::kTitles);
    const Rows episodes = readTable(s_path, schema::kEpisodes);
    EXPECT_EQ(episodes.size(), 206u);
    EXPECT_EQ(s_report.episodes, 206);
    EXPECT_EQ(s_report.titles, 32);

    // The deleted title 17 comes back under its own key, so its episodes and its alternative name
    // refer to it again.
    ASSERT_TRUE(titles.count(17));
    EXPECT_EQ(titles.at(17).at(QStringLiteral("Название")).s, msg::mdbOrphanTitleName(17));
    EXPECT_EQ(titles.at(17).at(QStringLiteral("NType")).i, 4);
    for (qint64 id : {126, 127, 128})
        EXPECT_EQ(episodes.at(id).at(QStringLiteral("Название")).i, 17);
    EXPECT_EQ(readTable(s_path, schema::kAltNames).at(11).at(QStringLiteral("Название_id")).i, 17);
    // Keys that referred to no row keep their value and get a row of their own.
    EXPECT_EQ(titles.at(10).at(QStringLiteral("NType")).i, 0);
    EXPECT_EQ(readTable(s_path, schema::kTypes).at(0).at(QStringLiteral("Тип")).s,
              msg::mdbPlaceholderType(0));
    const Rows subs = readTable(s_path, schema::kLanguages);
    EXPECT_EQ(subs.at(9).at(QStringLiteral("Язык")).s, msg::mdbPlaceholderLanguage(9));
    EXPECT_EQ(subs.at(11).at(QStringLiteral("Язык")).s, msg::mdbPlaceholderLanguage(11));
    EXPECT_EQ(readTable(s_path, schema::kCodecs).at(40).at(QStringLiteral("Name")).s,
              msg::mdbPlaceholderCodec(40));

    const QStringList want = {
        msg::mdbRepairOrphans(17, 3, 1, msg::mdbOrphanTitleName(17)),
        msg::mdbRepairType(0, 1, msg::mdbPlaceholderType(0)),
        msg::mdbRepairLanguage(9, 1, msg::mdbPlaceholderLanguage(9)),
        msg::mdbRepairLanguage(11, 1, msg::mdbPlaceholderLanguage(11)),
        msg::mdbRepairCodec(40, 1, msg::mdbPlaceholderCodec(40)),
    };
    EXPECT_EQ(s_report.repairs, want);
    for (const QString &line : want)
        EXPECT_TRUE(s_report.text().contains(line));

    // The new catalog opens as any catalog does, and its references hold under enforced keys.
    Catalog catalog(s_path);
    TablePtr all = catalog.table(schema::kAllT);
    EXPECT_EQ(qint64(all->realAt(0, 0)), 326052847);
    EXPECT_EQ(qint64(all->realAt(0, 1)), 104265498216);
}

// What cannot be brought over whole is refused with a message naming the file, and nothing is made.
TEST(ConvertRefusal, BadInputMakesNothing) {
    const QByteArray mdb = test::fileBytes(legacy("small.mdb"));
    ASSERT_GT(mdb.size(), 16 * 4096);
    QByteArray cutInPage = mdb.left(mdb.size() - 1000);
    QByteArray cutAtPage = mdb.left(mdb.size() / 2 / 4096 * 4096);
    QByteArray noCatalog = mdb;
    noCatalog.replace(2 * 4096, 4 * 4096, QByteArray(4 * 4096, '\xA5'));
    QByteArray jet3 = mdb;
    jet3[0x14] = 0;
    QByteArray unknown = mdb;
    unknown[0x14] = 0x33;
    QByteArray otherProgram = mdb;
    for (const char *name : {"Список", "Серии", "Тип", "Sub", "Codec", "Format", "Alt_Ani_Name"}) {
        const QString n = QString::fromUtf8(name);
        const QString renamed = QLatin1Char('Q') + n.mid(1);
        otherProgram.replace(QByteArray(reinterpret_cast<const char *>(n.utf16()), n.size() * 2),
                             QByteArray(reinterpret_cast<const char *>(renamed.utf16()), renamed.size() * 2));
    }
    QByteArray sqlite;
    {
        test::TempCatalog c;
        sqlite = test::fileBytes(c.path());
    }
    struct Case {
        const char *what;
        QByteArray bytes;
        QString message; // the part that tells the kind of refusal
    };
    const std::vector<Case> cases = {
        {"empty file", QByteArray(), QStringLiteral("не каталог Access")},
        {"text file", QByteArray("ID\tНазвание\n1\tBebop\n"), QStringLiteral("не каталог Access")},
        {"a Vidoteq catalog", sqlite, QStringLiteral("не каталог Access")},
        {"cut inside a page", cutInPage, msg::mdbDetailCutShort()},
        {"cut at a page", cutAtPage, QStringLiteral("повреждён")},
        {"table list overwritten", noCatalog, QStringLiteral("повреждён")},
        {"Access 97", jet3, QStringLiteral("Access 97 (Jet 3)")},
        {"unknown version", unknown, QStringLiteral("неизвестной версии")},
        {"another program", otherProgram, QStringLiteral("другой программы")},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString in = dir.filePath(QStringLiteral("old.mdb"));
        const QString out = dir.filePath(QStringLiteral("new.vdq"));
        QFile::remove(in);
        writeFile(in, c.bytes);
        try {
            convert::convertOldCatalog(in, out);
            ADD_FAILURE() << "converted";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(in)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(c.message)) << e.message().toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(out));
        EXPECT_TRUE(partFiles(dir.path()).isEmpty()) << partFiles(dir.path()).join(' ').toStdString();
        EXPECT_EQ(test::fileBytes(in), c.bytes) << "the old file was changed";
    }
}

// Never in place, never over an existing file nor through a dangling link, and a cancelled run
// leaves nothing behind.
TEST(ConvertRefusal, TargetIsNeverReplaced) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("old.mdb"));
    ASSERT_TRUE(QFile::copy(legacy("small.mdb"), in));
    const QString existing = dir.filePath(QStringLiteral("taken.vdq"));
    writeFile(existing, "mine");
    const QString link = dir.filePath(QStringLiteral("link.vdq"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.vdq")), link));
    for (const QString &target : {existing, in, link}) {
        try {
            convert::convertOldCatalog(in, target);
            ADD_FAILURE() << "converted over " << target.toStdString();
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(target)) << e.message().toStdString();
        }
    }
    EXPECT_EQ(test::fileBytes(existing), QByteArray("mine"));
    EXPECT_EQ(test::fileBytes(in), test::fileBytes(legacy("small.mdb")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("gone.vdq"))));
    QFile::remove(link);

    const QString out = dir.filePath(QStringLiteral("new.vdq"));
    qint64 calls = 0, lastDone = -1, total = 0;
    const auto none = convert::convertOldCatalog(in, out, [&](qint64 done, qint64 all) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        total = all;
        return ++calls < 2;
    });
    EXPECT_FALSE(none.has_value());
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_TRUE(partFiles(dir.path()).isEmpty());

    // Let through, progress runs from the first rows to all of them.
    calls = 0;
    const auto done = convert::convertOldCatalog(in, out, [&](qint64 d, qint64 all) {
        ++calls;
        lastDone = d;
        total = all;
        return true;
    });
    ASSERT_TRUE(done.has_value());
    EXPECT_GT(calls, 1);
    EXPECT_EQ(lastDone, total);
    EXPECT_EQ(done->newPath, out);
    EXPECT_EQ(convert::convertedCatalogPath(in), dir.filePath(QStringLiteral("old.vdq")));
    writeFile(dir.filePath(QStringLiteral("old.vdq")), "taken");
    EXPECT_EQ(convert::convertedCatalogPath(in), dir.filePath(QStringLiteral("old (2).vdq")));
}

// Damage that makes libmdb loop while it reads the table list, taking ever more memory, ends at the
// reader's limits in a message naming the file; the good file converts within the same limits.
TEST(ConvertLimits, DamageThatLoopsTheLibraryEndsInAMessage) {
    const test::PlainMemoryForWorkers plain;
    const QByteArray good = test::fileBytes(legacy("small.mdb"));
    const struct {
        int byte;
        int flip;   // the bits flipped
        char value; // or the byte set, with no bits to flip
    } cases[] = {{97670, 1 << 2, 0}, {97476, 1 << 6, 0}, {97375, 0, '\xA5'}, {-1, 0, 0}};
    QTemporaryDir dir;
    const convert::ConvertOptions tight{QString(), 2, qint64(128) << 20};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.byte);
        QByteArray bytes = good;
        if (c.byte >= 0)
            bytes[c.byte] = c.flip ? char(bytes[c.byte] ^ c.flip) : c.value;
        const QString in = dir.filePath(QStringLiteral("old.mdb"));
        const QString out = dir.filePath(QStringLiteral("new.vdq"));
        QFile::remove(in);
        QFile::remove(out);
        writeFile(in, bytes);
        QElapsedTimer timer;
        timer.start();
        try {
            const auto r = convert::convertOldCatalog(in, out, {}, tight);
            EXPECT_EQ(c.byte, -1) << "converted";
            EXPECT_EQ(r->episodes, 206);
            EXPECT_LT(timer.elapsed(), 3000);
        } catch (const Error &e) {
            EXPECT_NE(c.byte, -1) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(in) && e.message().contains(QStringLiteral("повреждён")))
                << e.message().toStdString();
            EXPECT_FALSE(QFileInfo::exists(out));
        }
        EXPECT_LT(timer.elapsed(), 30000);
        EXPECT_TRUE(partFiles(dir.path()).isEmpty()) << partFiles(dir.path()).join(' ').toStdString();
    }
}

// The limits end any reader: one that loops without a word (the time without progress), one that
// reports progress for ever (its processor time), one that takes memory without end.
TEST(ConvertLimits, TheWorkersLimitsEndIt) {
    const QString program = QDir(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath())
                                .filePath(QStringLiteral("vq_convert_double"));
    const convert::ConvertOptions options{program, 1, qint64(256) << 20};
    const struct {
        const char *name;
        QString detail;
    } cases[] = {
        {"loop.mdb", msg::mdbDetailTimeLimit(1)},
        {"chatter.mdb", msg::mdbDetailTimeLimit(3)},
        {"alloc.mdb", msg::mdbDetailMemoryLimit(256)},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString in = dir.filePath(QString::fromUtf8(c.name));
        ASSERT_TRUE(QFile::copy(legacy("small.mdb"), in));
        const QString out = dir.filePath(QStringLiteral("new.vdq"));
        QElapsedTimer timer;
        timer.start();
        try {
            convert::convertOldCatalog(in, out, {}, options);
            ADD_FAILURE() << "converted";
        } catch (const Error &e) {
            EXPECT_EQ(e.message().toStdString(), msg::mdbDamaged(in, c.detail).toStdString());
        }
        EXPECT_LT(timer.elapsed(), 20000);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
            << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
        QFile::remove(in);
    }
}

// What the open dialog hands over is converted when it is an Access file, or named like one and
// unreadable (so the conversion says what is wrong); a catalog of ours is opened whatever its name.
TEST(ConvertRefusal, WhatCountsAsAnOldCatalog) {
    QTemporaryDir dir;
    QByteArray sqlite;
    {
        test::TempCatalog c;
        sqlite = test::fileBytes(c.path());
    }
    const struct {
        const char *name;
        QByteArray bytes;
        bool old;
    } cases[] = {
        {"renamed.vdq", test::fileBytes(legacy("small.mdb")), true},
        {"ours.mdb", sqlite, false},
        {"ours.vdq", sqlite, false},
        {"junk.MDB", "junk", true},
        {"junk.accdb", "junk", true},
        {"junk.txt", "junk", false},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::fromUtf8(c.name));
        writeFile(path, c.bytes);
        EXPECT_EQ(convert::isOldCatalog(path), c.old) << c.name;
    }
}

// An Access 2007 (.accdb) file that libmdb reads with the catalog's tables converts like any.
TEST(ConvertRefusal, AccdbWithTheSameTablesConverts) {
    QByteArray bytes = test::fileBytes(legacy("small.mdb"));
    bytes.replace(4, 16, QByteArray("Standard ACE DB\0", 16));
    bytes[0x14] = 2;
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("old.accdb"));
    writeFile(in, bytes);
    EXPECT_TRUE(convert::looksLikeAccessFile(in));
    const auto r = convert::convertOldCatalog(in, dir.filePath(QStringLiteral("new.vdq")));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->episodes, 206);
}

// A character outside the BMP (a surrogate pair in the file) comes over whole, not as "??".
TEST(ConvertTexts, CharactersOutsideTheBmpStayWhole) {
    const QString was = QStringLiteral("Ковбой Бибоп OST");
    const QString now = QStringLiteral("😀вбой Бибоп OST"); // the same number of UTF-16 units
    ASSERT_EQ(was.size(), now.size());
    QByteArray bytes = test::fileBytes(legacy("small.mdb"));
    const QByteArray from(reinterpret_cast<const char *>(was.utf16()), was.size() * 2);
    ASSERT_EQ(bytes.count(from), 1);
    bytes.replace(from, QByteArray(reinterpret_cast<const char *>(now.utf16()), now.size() * 2));
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("emoji.mdb"));
    writeFile(in, bytes);
    const QString out = dir.filePath(QStringLiteral("emoji.vdq"));
    ASSERT_TRUE(convert::convertOldCatalog(in, out).has_value());
    EXPECT_EQ(readTable(out, schema::kTitles).at(2).at(QStringLiteral("Название")).s, now);
}

// A catalog of an older version that lacks a column converts with that column empty and says so;
// one that lacks a key or a reference cannot be brought over true and is refused by name.
TEST(ConvertColumns, MissingColumns) {
    struct Case {
        QString column;
        bool converts;
    };
    const std::vector<Case> cases = {{QStringLiteral("Update"), true},
                                     {QStringLiteral("Название_id"), false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.column.toStdString());
        const QString renamed = QLatin1Char('Q') + c.column.mid(1);
        QByteArray bytes = test::fileBytes(legacy("small.mdb"));
        const QByteArray from(reinterpret_cast<const char *>(c.column.utf16()), c.column.size() * 2);
        ASSERT_GT(bytes.count(from), 0);
        bytes.replace(from, QByteArray(reinterpret_cast<const char *>(renamed.utf16()), renamed.size() * 2));
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("old.mdb"));
        const QString out = dir.filePath(QStringLiteral("new.vdq"));
        writeFile(in, bytes);
        if (!c.converts) {
            try {
                convert::convertOldCatalog(in, out);
                ADD_FAILURE() << "converted";
            } catch (const Error &e) {
                EXPECT_TRUE(e.message().contains(in) && e.message().contains(c.column))
                    << e.message().toStdString();
            }
            EXPECT_FALSE(QFileInfo::exists(out));
            continue;
        }
        const auto r = convert::convertOldCatalog(in, out);
        ASSERT_TRUE(r.has_value());
        EXPECT_TRUE(r->repairs.contains(msg::mdbRepairNoColumn(schema::kEpisodes, c.column)));
        const Rows episodes = readTable(out, schema::kEpisodes);
        EXPECT_EQ(episodes.size(), 206u);
        for (const auto &[id, row] : episodes)
            EXPECT_TRUE(row.at(c.column).null) << id;
    }
}
