#include "cli.h"
#include "support/temp_catalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace vq;
using vq::test::TempCatalog;

namespace {

struct CliResult {
    int status;
    QString out, err;
};

CliResult importCli(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = vq::cli::run(args, o, e);
    return {status, out, err};
}

QString writeList(const QString &dir, const QByteArray &bytes) {
    static int n = 0;
    const QString path = QDir(dir).filePath(QStringLiteral("list%1.txt").arg(++n));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Restores the current folder, which --new-catalog makes its file in.
struct InFolder {
    explicit InFolder(const QString &dir) : old(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~InFolder() { QDir::setCurrent(old); }
    QString old;
};

} // namespace

TEST(ImportCli, FieldsAndValues) {
    test::isolateSettings();
    TempCatalog t;
    t.addTitle(QStringLiteral("Old"));
    struct Case {
        const char *name;
        QStringList extra;
        QByteArray list;
        QString expected; // title|type|episodes|comment of the new rows, by ID
    } const cases[] = {
        {"default fields, Windows-1251",
         {},
         QByteArray("\xC0\xEA\xE8\xF0\xE0\tMovie\t1\t\xEA\xEB\xE0\xF1\xF1\xE8\xEA\xE0\r\nB\tOVA\r\n"),
         QStringLiteral("Акира|2|1|классика;B|1||")},
        {"type and episodes in one field",
         {QStringLiteral("--fields"), QStringLiteral("title,type+episodes,comment")},
         QByteArray("X\tMovie\tnote\nY\tTV26\n"),
         QStringLiteral("X|2|1|note;Y|3|26|")},
        {"title only, UTF-8 with a byte-order mark",
         {QStringLiteral("--fields"), QStringLiteral("title")},
         QByteArray("\xEF\xBB\xBF") + QStringLiteral("Ёлка\tTV").toUtf8(),
         QStringLiteral("Ёлка|4||")},
    };
    for (const Case &c : cases) {
        t.exec(QStringLiteral("DELETE FROM \"Список\" WHERE \"Название\" <> 'Old'"));
        const QString list = writeList(t.dir(), c.list);
        const CliResult r = importCli(
            QStringList{QStringLiteral("--catalog"), t.path(), QStringLiteral("import-list"), list} +
            c.extra);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err.toStdString();
        const int rows = int(c.expected.count(u';')) + 1;
        EXPECT_EQ(r.out, QStringLiteral("%1\t%2\n").arg(rows).arg(t.path())) << c.name;
        EXPECT_EQ(t.scalar(QStringLiteral(
                      "SELECT group_concat(\"Название\" || '|' || \"NType\" || '|' || "
                      "ifnull(\"Количество серий\", '') || '|' || ifnull(\"Комментарий\", ''), ';') "
                      "FROM (SELECT * FROM \"Список\" WHERE \"Название\" <> 'Old' ORDER BY \"ID\")")),
                  c.expected)
            << c.name;
    }
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"Название\" = 'Old'")),
              QStringLiteral("1"));
}

TEST(ImportCli, RefusedRowAndBadCalls) {
    test::isolateSettings();
    TempCatalog t;
    const QString list = writeList(t.dir(), "A\tTV\t1\n" + QByteArray(300, 'x') + "\tTV\t2\nC\tTV\t3\n");
    CliResult r = importCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("import-list"), list});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Строку 2"))) << r.err.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT group_concat(\"Название\") FROM \"Список\"")),
              QStringLiteral("A"));

    struct Bad {
        QStringList args;
        int status;
    } const bad[] = {
        {{QStringLiteral("import-list")}, 2},
        {{QStringLiteral("import-list"), list, QStringLiteral("--fields"), QStringLiteral("title,year")}, 2},
        {{QStringLiteral("import-list"), list, QStringLiteral("--fields"),
          QStringLiteral("type,type+episodes")},
         2},
        {{QStringLiteral("import-list"), list, QStringLiteral("--new-catalog"), QString()}, 2},
        {{QStringLiteral("import-list"), QDir(t.dir()).filePath(QStringLiteral("none.txt"))}, 1},
    };
    for (const Bad &b : bad) {
        r = importCli(QStringList{QStringLiteral("--catalog"), t.path()} + b.args);
        EXPECT_EQ(r.status, b.status) << b.args.join(u' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\"")), QStringLiteral("1"));
}

TEST(ImportCli, NewCatalog) {
    test::isolateSettings();
    TempCatalog t;
    t.addTitle(QStringLiteral("Kept"));
    InFolder here(t.dir());
    const QString list = writeList(t.dir(), "N1\tTV\t12\nN2\tOVA\t2\n");
    CliResult r = importCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("import-list"), list,
                             QStringLiteral("--new-catalog"), QStringLiteral("2006")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString made = QDir(t.dir()).filePath(QStringLiteral("2006.vdq"));
    ASSERT_TRUE(QFileInfo::exists(made));
    EXPECT_TRUE(r.out.contains(QStringLiteral("2006.vdq")));
    // The new catalog holds the list only; the open one is untouched.
    r = importCli({QStringLiteral("--catalog"), made, QStringLiteral("titles")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(u'\n'), 2);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("N1\t")));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT group_concat(\"Название\") FROM \"Список\"")),
              QStringLiteral("Kept"));

    // A name that is taken makes no catalog, and nothing goes into the one that is open.
    r = importCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("import-list"), list,
                   QStringLiteral("--new-catalog"), QStringLiteral("2006")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT group_concat(\"Название\") FROM \"Список\"")),
              QStringLiteral("Kept"));
}

TEST(ImportCli, Utf16ListsAndNulBytes) {
    test::isolateSettings();
    TempCatalog t;
    // "Ёлка<TAB>TV12" and "B<TAB>OVA" in UTF-16 LE with its mark, CR LF after each.
    const QByteArray utf16("\xFF\xFE\x01\x04\x3B\x04\x3A\x04\x30\x04\t\0T\0V\0"
                           "1\0"
                           "2\0\r\0\n\0B\0\t\0O\0V\0A\0\r\0\n\0",
                           38);
    const CliResult r = importCli(
        {QStringLiteral("--catalog"), t.path(), QStringLiteral("import-list"), writeList(t.dir(), utf16)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT group_concat(\"Название\" || '|' || \"NType\" || '|' || "
                                      "\"Количество серий\", ';') FROM \"Список\"")),
              QStringLiteral("Ёлка|3|;B|1|"));

    // A NUL byte: refused with its line, nothing imported.
    const CliResult nul = importCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("import-list"),
                                     writeList(t.dir(), QByteArray("C\tTV\nD\0\tTV\n", 10))});
    EXPECT_EQ(nul.status, 1);
    EXPECT_TRUE(nul.err.contains(QStringLiteral("Строка 2"))) << nul.err.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT count(*) FROM \"Список\"")), QStringLiteral("2"));
}
