// A title's other names through the real window: the list under the title list follows the
// current title, its keys and buttons write through core, and the search finds a title by them.
#include "window_fixture.h"

#include "browser/summary.h"
#include "catalog/messages.h"
#include "page_titles.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

using namespace vq;
using namespace vq::test;

namespace {

class AltNamesWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        akira = cat.addTitle(QStringLiteral("Akira"));
        bebop = cat.addTitle(QStringLiteral("Bebop"));
        cat.addTitle(QStringLiteral("Cowboy"));
        cat.addEpisode(bebop, {.name = QStringLiteral("b1"), .size = 10.0});
        cat.exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\" (\"Название_id\", \"Альтернативное Название\") "
                                "VALUES (%1, 'Акира')")
                     .arg(akira));
        zeta = two.addTitle(QStringLiteral("Zeta"));
        two.exec(QStringLiteral("INSERT INTO \"Alt_Ani_Name\" (\"Название_id\", \"Альтернативное Название\") "
                                "VALUES (%1, 'Зета')")
                     .arg(zeta));
    }

    TGridView &alt() { return *win->titlesPage()->GVAlt; }
    QStringList shown() { return column(alt(), 1); }
    QString stored(qint64 title) {
        return cat.scalar(
            QStringLiteral("SELECT group_concat(\"Альтернативное Название\", '|') FROM (SELECT * "
                           "FROM \"Alt_Ani_Name\" WHERE \"Название_id\" = %1 ORDER BY \"ID\")")
                .arg(title));
    }
    Step clickTitle(const char *name) {
        return {"click a title in the list", [this, name] {
                    win->setActivePage(TView_Base::TOsn);
                    TGridView &g = win->GV();
                    const int row = column(g, 1).indexOf(QString::fromUtf8(name));
                    ASSERT_GE(row, 0) << name;
                    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, rowCenter(g, row, 1));
                }};
    }
    Step altKey(const char *what, Qt::Key k, int row) {
        return {what, [this, k, row] {
                    alt().SetCurrentRow(row);
                    key(&alt(), k);
                }};
    }
    Step click(const char *what, QPushButton *button, std::function<void()> before = {}, QString error = {}) {
        return {what,
                [button, before] {
                    if (before)
                        before();
                    QTest::mouseClick(button, Qt::LeftButton);
                },
                error};
    }

    TempCatalog cat, two;
    qint64 akira = 0, bebop = 0, zeta = 0;
};

TEST_F(AltNamesWindow, NamesAreAddedEditedDeletedFoundAndGoWithTheirTitle) {
    ASSERT_TRUE(startOn(cat));
    TPageTitles &page = *win->titlesPage();
    EXPECT_EQ(page.PanelAlt->title(), QStringLiteral("Другие названия"));

    run({clickTitle("Bebop")});
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(page.BAltAdd->isEnabled());

    run({
        {"Insert adds a name, stored trimmed",
         [&] {
             dialogs.setNextText(QStringLiteral("  Ковбой Бибоп "));
             key(&alt(), Qt::Key_Insert);
         }},
        click("Добавить adds another", page.BAltAdd,
              [&] { dialogs.setNextText(QStringLiteral("Space Cowboy")); }),
    });
    EXPECT_EQ(stored(bebop), QStringLiteral("Ковбой Бибоп|Space Cowboy"));
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("Ковбой Бибоп"), QStringLiteral("Space Cowboy")}));
    EXPECT_EQ(alt().CurrentRow(), 1) << "the name added last is current";

    run({
        {"a refused name shows its reason",
         [&] {
             dialogs.setNextText(QStringLiteral("bebop"));
             QTest::mouseClick(page.BAltAdd, Qt::LeftButton);
         },
         msg::altNameIsMainName(QStringLiteral("Bebop"))},
        {"F2 edits the current name, offered as it is",
         [&] {
             dialogs.setNextText(QStringLiteral("Space Cowboy Bebop"));
             alt().SetCurrentRow(1);
             key(&alt(), Qt::Key_F2);
             ASSERT_EQ(dialogs.count(QStringLiteral("inputText")), 1);
             EXPECT_EQ(dialogs.calls().back().start, QStringLiteral("Space Cowboy"));
         }},
        {"Enter edits too; cancelled it changes nothing",
         [&] {
             dialogs.setNextText(std::nullopt);
             alt().SetCurrentRow(0);
             key(&alt(), Qt::Key_Return);
             EXPECT_EQ(dialogs.count(QStringLiteral("inputText")), 1);
         }},
        click(
            "Изменить to a name the title has is refused", page.BAltEdit,
            [&] { dialogs.setNextText(QStringLiteral("space cowboy bebop")); },
            msg::altNameTaken(QStringLiteral("Space Cowboy Bebop"))),
    });
    EXPECT_EQ(stored(bebop), QStringLiteral("Ковбой Бибоп|Space Cowboy Bebop"));

    run({
        altKey("Delete answered No keeps the name", Qt::Key_Delete, 0),
        {"Delete answered Yes deletes it",
         [&] {
             dialogs.setNextAnswer(Answer::Yes);
             key(&alt(), Qt::Key_Delete);
             EXPECT_EQ(dialogs.calls().back().text, msg::deleteQuestion(QStringLiteral("Ковбой Бибоп")));
         }},
    });
    EXPECT_EQ(stored(bebop), QStringLiteral("Space Cowboy Bebop"));
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Space Cowboy Bebop")});

    // The list follows the current title.
    run({clickTitle("Akira")});
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Акира")});
    run({clickTitle("Cowboy")});
    EXPECT_TRUE(shown().isEmpty());
    run({click("Удалить with no name does nothing", page.BAltDel), clickTitle("Bebop")});
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Space Cowboy Bebop")});

    // The search finds the title by its other name at once, and making it current shows them.
    run({{"search by the other name", [&] {
              win->setActivePage(TView_Base::Tns);
              QTest::keyClicks(win->EFound(), QStringLiteral("space"));
          }}});
    // The summary row says which name found it; the title list shows the title's own.
    EXPECT_EQ(column(win->GVSV(), gvsv::Title), QStringList{QStringLiteral("Bebop — Space Cowboy Bebop")});
    EXPECT_EQ(column(win->GV(), 1), QStringList{QStringLiteral("Bebop")});
    run({{"clear the search", [&] { win->EFound()->clear(); }}});
    EXPECT_EQ(win->GVSV().RowCount(), 3);

    // Another catalog: its title's names, then back.
    run({{"switch to the other catalog", [&] {
              dialogs.setNextFileName(two.path());
              QTest::mouseClick(win->Panel18(), Qt::LeftButton);
          }}});
    EXPECT_EQ(win->currentTitleId(), zeta);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Зета")});
    run({{"switch back",
          [&] {
              dialogs.setNextFileName(cat.path());
              QTest::mouseClick(win->Panel18(), Qt::LeftButton);
          }},
         clickTitle("Bebop")});
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Space Cowboy Bebop")});

    // Deleting the title deletes its names in the file; the list shows those of the title that
    // becomes current (the one before it: it was the second to last).
    run({{"Delete the title", [&] {
              dialogs.setNextAnswer(Answer::Yes);
              key(&win->GV(), Qt::Key_Delete);
          }}});
    EXPECT_EQ(
        cat.scalar(
            QStringLiteral("SELECT count(*) FROM \"Alt_Ani_Name\" WHERE \"Название_id\" = %1").arg(bebop)),
        QStringLiteral("0"));
    EXPECT_EQ(win->currentTitleId(), akira);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Акира")});
}

} // namespace
