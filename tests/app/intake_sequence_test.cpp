// Sequences of use of the page "Добавить новое" through the real window: each test is a table of
// steps (keys and clicks), then what the catalog holds and what the page shows.
#include "window_fixture.h"

#include "catalog/messages.h"
#include "intake_handlers.h"
#include "page_intake.h"
#include "page_service.h"
#include "support/media.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

#include <sqlite3.h>

using namespace vq;
using namespace vq::test;

namespace {

// One value from the catalog file at `path`, as text.
QString scalarAt(const QString &path, const QString &sql) {
    sqlite3 *db = nullptr;
    QString out;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

// Episodes of a catalog file as "title name|file", by file name.
QStringList episodesAt(const QString &path) {
    const QString rows =
        scalarAt(path, QStringLiteral(
                           "SELECT group_concat(line, ';') FROM (SELECT t.\"Название\" || '|' || e.\"Серия\" "
                           "AS line FROM \"Серии\" e JOIN \"Список\" t ON t.\"ID\" = e.\"Название\" "
                           "ORDER BY line)"));
    return rows.isEmpty() ? QStringList() : rows.split(u';');
}

QString episodeCountAt(const QString &path) {
    return scalarAt(path, QStringLiteral("SELECT count(*) FROM \"Серии\""));
}

class IntakeSequence : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(m_files.isValid());
        clip = testMedia()[Sample::Mkv];
        ASSERT_TRUE(QFile::copy(clip.path, QDir(m_files.path()).filePath(clip.name)));
    }

    void open(TempCatalog &cat) {
        ASSERT_TRUE(startOn(cat));
        win->setActivePage(TView_Base::TabNewA);
        QCoreApplication::processEvents();
        page = win->intakePage();
        h = win->findChild<TIntakeHandlers *>();
        ASSERT_NE(h, nullptr);
    }

    // ---- steps ----
    Step listAndClickTheFile() {
        return {"list the folder and click its file", [this] {
                    h->selectFolder(m_files.path());
                    h->See();
                    QListWidget *lb = page->LB1;
                    ASSERT_EQ(lb->count(), 1);
                    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {},
                                      lb->visualItemRect(lb->item(0)).center());
                    bool done = false;
                    [&] {
                        QTRY_VERIFY_WITH_TIMEOUT(!h->probing(), 30000);
                        done = true;
                    }();
                    ASSERT_TRUE(done) << "the probe never answered";
                    ASSERT_EQ(page->EName->text(), clip.name);
                }};
    }
    Step clickTitle(const QString &name) {
        return {"click a title in the page's list", [this, name] {
                    TGridView &g = win->GV4();
                    const int row = column(g, 1).indexOf(name);
                    ASSERT_GE(row, 0) << name.toStdString();
                    QTest::mouseClick(g.viewport(), Qt::LeftButton, {},
                                      g.visualRect(g.model()->index(row, 1)).center());
                }};
    }
    Step pressAdd(const QString &error = {}) {
        return {"press Добавить", [this] { QTest::mouseClick(page->BAdd, Qt::LeftButton); }, error};
    }
    Step pressAddAll(const QString &error = {}) {
        return {"press Добавить всё", [this] { QTest::mouseClick(page->BAddAll, Qt::LeftButton); }, error};
    }
    Step typeNewTitle(const QString &name) {
        return {"type a new title and Enter", [this, name] {
                    QLineEdit *e = page->ENewAni;
                    if (!e->hasFocus()) {
                        e->setFocus();
                        QCoreApplication::processEvents();
                    }
                    QTest::keyClicks(e, name);
                    QTest::keyClick(e, Qt::Key_Return);
                }};
    }
    Step openCatalog(const QString &path) {
        return {"click the path panel, pick another catalog", [this, path] {
                    dialogs.setNextFileName(path);
                    QTest::mouseClick(win->Panel18(), Qt::LeftButton);
                }};
    }
    Step newCatalog(const QString &name) {
        return {"Новая База", [this, name] {
                    win->setActivePage(TView_Base::TabServ);
                    dialogs.setNextFileName(QDir(win->StartDir()).filePath(name + QStringLiteral(".vdq")));
                    QTest::mouseClick(win->servicePage()->BNewBase, Qt::LeftButton);
                    win->setActivePage(TView_Base::TabNewA);
                }};
    }

    MediaSample clip;
    TPageIntake *page = nullptr;
    TIntakeHandlers *h = nullptr;

private:
    QTemporaryDir m_files;
};

// The chosen title belongs to the catalog it was chosen in: the same key names another title (or
// none) in the next one.
TEST_F(IntakeSequence, AnotherCatalogForgetsTheChosenTitleAndTheProbedFile) {
    struct Case {
        const char *name;
        bool makeNew; // "Новая База" instead of opening another file
    } const cases[] = {{"another catalog opened", false}, {"a new catalog made", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempCatalog first, second;
        first.addTitle(QStringLiteral("Alpha"));
        first.addTitle(QStringLiteral("Beta"));
        // The same keys, other titles.
        second.addTitle(QStringLiteral("Xeno"));
        second.addTitle(QStringLiteral("Yoru"));
        open(first);
        const QString newName = QStringLiteral("fresh%1").arg(int(c.makeNew));
        const QString next =
            c.makeNew ? QDir(win->StartDir()).filePath(newName + QStringLiteral(".vdq")) : second.path();
        run({
            listAndClickTheFile(),
            clickTitle(QStringLiteral("Beta")),
            c.makeNew ? newCatalog(newName) : openCatalog(second.path()),
        });
        ASSERT_EQ(win->session().path(), next);
        EXPECT_EQ(page->ESname->text(), QString());
        EXPECT_EQ(page->EName->text(), QString());
        EXPECT_EQ(win->CurrentEpisode().TitleId, 0);
        run({pressAdd(msg::intakeNoTitleChosen()), pressAddAll(msg::intakeNoTitleChosen())});
        EXPECT_EQ(episodeCountAt(next), QStringLiteral("0"));
        EXPECT_EQ(episodeCountAt(first.path()), QStringLiteral("0"));

        // Chosen again in the new catalog, the file goes where the page says.
        const QString title = c.makeNew ? QStringLiteral("Zed") : QStringLiteral("Yoru");
        run({c.makeNew ? typeNewTitle(title) : clickTitle(title)});
        EXPECT_EQ(page->ESname->text(), title);
        run({listAndClickTheFile(), pressAdd()});
        EXPECT_EQ(episodesAt(next), QStringList{title + u'|' + clip.name});
        EXPECT_EQ(episodeCountAt(first.path()), QStringLiteral("0"));
        closeWindow();
    }
}

TEST_F(IntakeSequence, AChosenTitleDeletedOnTheFirstPageTakesNoFile) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Alpha"));
    const qint64 beta = cat.addTitle(QStringLiteral("Beta"));
    open(cat);
    run({
        listAndClickTheFile(),
        clickTitle(QStringLiteral("Beta")),
        {"delete Beta on the first page, Yes",
         [&] {
             win->setActivePage(TView_Base::TOsn);
             win->GV().MoveToCell(1, column(win->GV(), 1).indexOf(QStringLiteral("Beta")));
             dialogs.setNextAnswer(Answer::Yes);
             key(&win->GV(), Qt::Key_Delete);
             win->setActivePage(TView_Base::TabNewA);
         }},
        pressAdd(msg::intakeNoTitleChosen()),
    });
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Список\" WHERE \"ID\" = %1").arg(beta)),
              QStringLiteral("0"));
    EXPECT_EQ(episodeCountAt(cat.path()), QStringLiteral("0"));
    EXPECT_EQ(page->ESname->text(), QString());
    // The page still works: another title takes the file.
    run({clickTitle(QStringLiteral("Alpha")), pressAdd()});
    EXPECT_EQ(episodesAt(cat.path()), QStringList{QStringLiteral("Alpha|") + clip.name});
}

TEST_F(IntakeSequence, TitlesTypedOneAfterAnotherKeepTheirNames) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    QLineEdit *e = page->ENewAni;
    run({typeNewTitle(QStringLiteral("First"))});
    // The focus stays in the edit, so it stays empty for the next name.
    EXPECT_TRUE(e->hasFocus());
    EXPECT_EQ(e->text(), QString());
    EXPECT_EQ(page->ESname->text(), QStringLiteral("First"));
    run({typeNewTitle(QStringLiteral("Second"))});
    EXPECT_EQ(e->text(), QString());
    const QStringList expected = {"Alpha", "First", "Second"};
    EXPECT_EQ(column(win->GV4(), 1), expected);
    EXPECT_EQ(
        cat.scalar(QStringLiteral("SELECT group_concat(\"Название\", '|') FROM (SELECT \"Название\" FROM "
                                  "\"Список\" ORDER BY \"ID\")")),
        QStringLiteral("Alpha|First|Second"));
    // Leaving it empty brings the placeholder back.
    run({{"focus the file list", [&] {
              page->LB1->setFocus();
              QCoreApplication::processEvents();
          }}});
    EXPECT_EQ(e->text(), TPageIntake::newTitlePlaceholder());
}

} // namespace
