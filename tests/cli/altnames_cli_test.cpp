// The tool's alt-names end to end: a title's other names listed, added, renamed and removed, and
// what it says to calls that name nothing or break the rules.
#include "catalog/messages.h"
#include "cli.h"
#include "support/cli_run.h"
#include "support/temp_catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vq;
using vq::test::CliRun;
using vq::test::runCli;
using vq::test::TempCatalog;

namespace {

class AltNamesCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::isolateSettings();
        akira = t.addTitle(QStringLiteral("Akira"));
        bebop = t.addTitle(QStringLiteral("Cowboy Bebop"));
    }
    CliRun alt(qint64 title, const QStringList &rest = {}) {
        return runCli(QStringList{QStringLiteral("--catalog"), t.path(), QStringLiteral("alt-names"),
                                  QStringLiteral("--title-id"), QString::number(title)} +
                      rest);
    }
    QString stored() {
        return t.scalar(
            QStringLiteral("SELECT group_concat(\"Название_id\" || ':' || \"Альтернативное Название\", "
                           "'|') FROM (SELECT * FROM \"Alt_Ani_Name\" ORDER BY \"ID\")"));
    }

    TempCatalog t;
    qint64 akira = 0, bebop = 0;
};

TEST_F(AltNamesCli, ListAddRenameRemove) {
    CliRun r = alt(bebop, {QStringLiteral("add"), QStringLiteral(" Ковбой Бибоп ")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const qint64 first = r.out.section(QLatin1Char('\t'), 0, 0).toLongLong();
    EXPECT_EQ(r.out, QStringLiteral("%1\tКовбой Бибоп\n").arg(first));
    r = alt(bebop, {QStringLiteral("add"), QStringLiteral("カウボーイビバップ")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const qint64 second = r.out.section(QLatin1Char('\t'), 0, 0).toLongLong();
    EXPECT_GT(second, first);

    r = alt(bebop);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QStringLiteral("%1\tКовбой Бибоп\n%2\tカウボーイビバップ\n").arg(first).arg(second));
    EXPECT_TRUE(r.err.isEmpty());
    r = alt(bebop, {QStringLiteral("--json")});
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 2) << r.out.toStdString();
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("ID")].toInteger(), first);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("Альтернативное Название")].toString(),
              QStringLiteral("Ковбой Бибоп"));
    EXPECT_EQ(alt(akira, {QStringLiteral("--json")}).out.trimmed(), QStringLiteral("[\n]"));

    r = alt(bebop, {QStringLiteral("rename"), QString::number(first), QStringLiteral("Космический ковбой")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = alt(bebop, {QStringLiteral("remove"), QString::number(second)});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(stored(), QStringLiteral("%1:Космический ковбой").arg(bebop));

    // The title search finds the title by the name the tool gave it.
    r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("titles"), QStringLiteral("--search"),
                QStringLiteral("косм")});
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Cowboy Bebop\t"))) << r.out.toStdString();
}

TEST_F(AltNamesCli, BadCallsChangeNothingAndSaySo) {
    const qint64 own = alt(akira, {QStringLiteral("add"), QStringLiteral("AKIRA 1988")})
                           .out.section(QLatin1Char('\t'), 0, 0)
                           .toLongLong();
    ASSERT_GT(own, 0);
    const QString before = stored();
    const QString id = QString::number(own);
    struct Case {
        const char *what;
        qint64 title;
        QStringList rest;
        int status;
        QString says; // for an error: the message after the tool's name
    };
    const Case cases[] = {
        {"no such title", 4242, {}, 1, msg::noTitleWithId(4242)},
        {"add to no such title",
         4242,
         {QStringLiteral("add"), QStringLiteral("X")},
         1,
         msg::noTitleWithId(4242)},
        {"empty name", akira, {QStringLiteral("add"), QStringLiteral("  ")}, 1, msg::altNameEmpty()},
        {"line break",
         akira,
         {QStringLiteral("add"), QStringLiteral("a\nb")},
         1,
         msg::altNameControlCharacter()},
        {"main name",
         akira,
         {QStringLiteral("add"), QStringLiteral("akira")},
         1,
         msg::altNameIsMainName(QStringLiteral("Akira"))},
        {"its name twice",
         akira,
         {QStringLiteral("add"), QStringLiteral("Akira 1988")},
         1,
         msg::altNameTaken(QStringLiteral("AKIRA 1988"))},
        {"too long",
         akira,
         {QStringLiteral("add"), QString(300, QLatin1Char('x'))},
         1,
         msg::textTooLong(QStringLiteral("Альтернативное Название"), 255, 300)},
        {"another title's name",
         bebop,
         {QStringLiteral("rename"), id, QStringLiteral("X")},
         1,
         msg::altNameNotOfTitle(own, bebop)},
        {"remove from another title",
         bebop,
         {QStringLiteral("remove"), id},
         1,
         msg::altNameNotOfTitle(own, bebop)},
        {"no such name",
         akira,
         {QStringLiteral("remove"), QStringLiteral("999")},
         1,
         msg::altNameNotOfTitle(999, akira)},
        {"rename to the main name",
         akira,
         {QStringLiteral("rename"), id, QStringLiteral("Akira")},
         1,
         msg::altNameIsMainName(QStringLiteral("Akira"))},
        {"alt id not a number", akira, {QStringLiteral("remove"), QStringLiteral("one")}, 2, {}},
        {"unknown action", akira, {QStringLiteral("erase"), id}, 2, {}},
        {"add without a name", akira, {QStringLiteral("add")}, 2, {}},
        {"rename without a name", akira, {QStringLiteral("rename"), id}, 2, {}},
        {"json with a write",
         akira,
         {QStringLiteral("--json"), QStringLiteral("add"), QStringLiteral("Y")},
         2,
         {}},
        {"unknown option", akira, {QStringLiteral("--force")}, 2, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun r = alt(c.title, c.rest);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        if (c.status == 1)
            EXPECT_EQ(r.err, QStringLiteral("vidoteq-cli: ") + c.says + QLatin1Char('\n'));
        else
            EXPECT_TRUE(r.err.contains(QStringLiteral("alt-names --title-id ID"))) << r.err.toStdString();
        EXPECT_EQ(stored(), before);
    }
    // Without a title, or with one that is no number, the ID is named.
    CliRun r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("alt-names")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("vidoteq-cli: команде alt-names нужен --title-id ID\n")));
    r = runCli({QStringLiteral("--catalog"), t.path(), QStringLiteral("alt-names"),
                QStringLiteral("--title-id"), QStringLiteral("7x")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("vidoteq-cli: '7x' — не номер аниме\n")));
    // The tool's help lists the command.
    EXPECT_TRUE(runCli({QStringLiteral("--help")}).out.contains(QStringLiteral("alt-names --title-id ID")));
}

TEST_F(AltNamesCli, ReadOnlyCatalogListsButRefusesWrites) {
    alt(akira, {QStringLiteral("add"), QStringLiteral("Kept")});
    t.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    const QString cat = t.path();
    QFile::setPermissions(cat, QFile::ReadOwner);
    const bool root = getuid() == 0;
    if (root && QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), cat}) != 0) {
        QFile::setPermissions(cat, QFile::ReadOwner | QFile::WriteOwner);
        GTEST_SKIP() << "no way to make a file read-only for root here";
    }
    const QByteArray before = test::fileBytes(cat);
    const CliRun list = alt(akira);
    const CliRun add = alt(akira, {QStringLiteral("add"), QStringLiteral("New")});
    if (root)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), cat});
    QFile::setPermissions(cat, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.out.endsWith(QStringLiteral("\tKept\n"))) << list.out.toStdString();
    EXPECT_EQ(list.err, msg::catalogOpenedReadOnly(cat) + QLatin1Char('\n'));
    EXPECT_EQ(add.status, 1);
    EXPECT_EQ(add.err, QStringLiteral("vidoteq-cli: ") + msg::catalogReadOnly(cat) + QLatin1Char('\n'));
    EXPECT_EQ(test::fileBytes(cat), before);
}

} // namespace
