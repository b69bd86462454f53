// The window as a desktop program: menus and their keys, recent catalogs, a catalog handed over,
// save dialogs, drops, the letter jump under another layout, names for a screen reader.
#include "app/window_fixture.h"
#include "catalog/schema.h"
#include "page_intake.h"
#include "page_stats.h"
#include "page_summary.h"
#include "page_titles.h"
#include "stats_handlers.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <cmath>

namespace vq {
namespace {

class DesktopWindow : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        akira = cat.addTitle(QStringLiteral("Akira"));
        cat.addEpisode(akira, {.name = QStringLiteral("Akira.mkv"), .size = 1e6});
        cat.addTitle(QStringLiteral("Bebop"));
        cat.addTitle(QStringLiteral("Ёлка"));
    }
    // Presses a key chord on the window as the keyboard would.
    void chord(QKeySequence keys) {
        win->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(win.get()));
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : win.get();
        QTest::keySequence(target, keys);
        QCoreApplication::processEvents();
    }
    QStringList recentShown() {
        QStringList out;
        for (QAction *a : win->recentMenu()->actions())
            out << a->data().toString();
        return out;
    }

    test::TempCatalog cat, other;
    qint64 akira = 0;
};

TEST_F(DesktopWindow, KeysOfTheMenus) {
    ASSERT_TRUE(startOn(cat));
    ASSERT_TRUE(win->menuBar()->isVisible() || win->menuBar()->isNativeMenuBar());
    QStringList menus;
    for (QAction *a : win->menuBar()->actions())
        menus << a->text().remove(u'&');
    EXPECT_EQ(menus, (QStringList{"Файл", "Правка", "Справка"}));

    // Ctrl+O asks for a catalog and opens the one chosen.
    dialogs.setNextFileName(other.path());
    chord(QKeySequence::Open);
    EXPECT_EQ(dialogs.count(QStringLiteral("openFile")), 1);
    EXPECT_EQ(win->session().path(), other.path());
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(u'\n').toStdString();

    // Ctrl+F goes to the search box from any page.
    win->setActivePage(TView_Base::Stat);
    win->GV3().setFocus();
    chord(QKeySequence::Find);
    EXPECT_EQ(QApplication::focusWidget(), win->EFound());

    // About names the catalog and its schema version.
    dialogs.clear();
    win->findChild<QAction *>(QStringLiteral("ActAbout"))->trigger();
    ASSERT_EQ(dialogs.count(QStringLiteral("inform")), 1);
    const QString about = dialogs.calls().back().text;
    EXPECT_TRUE(about.contains(other.path())) << about.toStdString();
    EXPECT_TRUE(about.contains(QString::number(schema::kSchemaVersion))) << about.toStdString();
    EXPECT_TRUE(about.contains(QStringLiteral(VQ_VERSION))) << about.toStdString();

    // Ctrl+Q ends the program as closing the window does.
    EXPECT_FALSE(win->Panel18()->toolTip().isEmpty());
    chord(QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_FALSE(win->isVisible());
}

TEST_F(DesktopWindow, RecentCatalogsKeepTheLastTenLatestFirst) {
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(recentShown(), QStringList{cat.path()});
    std::vector<std::unique_ptr<test::TempCatalog>> more;
    for (int i = 0; i < 11; ++i) {
        more.push_back(std::make_unique<test::TempCatalog>());
        win->openCatalogFile(more.back()->path());
    }
    QStringList expected;
    for (int i = 10; i >= 1; --i)
        expected << more[size_t(i)]->path();
    EXPECT_EQ(recentShown(), expected);
    EXPECT_EQ(recentCatalogPaths(), expected); // kept in the settings for the next start

    // Opening one again moves it to the top; the menu's item opens it.
    QAction *fifth = win->recentMenu()->actions().at(4);
    const QString path = fifth->data().toString();
    fifth->trigger();
    EXPECT_EQ(win->session().path(), path);
    EXPECT_EQ(recentShown().first(), path);
    EXPECT_EQ(recentShown().size(), 10);
    EXPECT_EQ(recentShown().count(path), 1);
}

TEST_F(DesktopWindow, ACatalogHandedOverOpensAndANonCatalogIsRefused) {
    QFile junk(QDir(startDir()).filePath(QStringLiteral("junk.vdq")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a catalog");
    junk.close();
    const struct {
        const char *what;
        QString given;
        QString opened;
        bool error;
    } cases[] = {
        {"a catalog", other.path(), other.path(), false},
        {"a file that is no catalog", junk.fileName(), cat.path(), true},
        {"a missing file", startDir() + QStringLiteral("/none.vdq"), cat.path(), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        closeWindow();
        dialogs.clear();
        rememberCatalogPath(cat.path());
        win = std::make_unique<test::TestView>(dialogs);
        win->setGivenCatalog(c.given);
        ASSERT_TRUE(win->FormCreate());
        EXPECT_EQ(win->session().path(), c.opened);
        EXPECT_EQ(dialogs.errors().size(), c.error ? 1 : 0) << dialogs.errors().join(u'\n').toStdString();
        if (c.error) {
            EXPECT_TRUE(dialogs.errors().first().contains(c.given)) << dialogs.errors().first().toStdString();
        }
        EXPECT_EQ(win->GV().RowCount(), c.opened == cat.path() ? 3 : 0);
    }
    EXPECT_EQ(junk.size(), qint64(strlen("not a catalog"))); // left as it was
}

TEST_F(DesktopWindow, SaveDialogsSayWhereAndOfferTheFile) {
    ASSERT_TRUE(startOn(cat));
    win->viewerKnown = false; // the sheets are not handed to a program: the message names them
    win->GVSV().SetCurrentRow(0);
    win->stats().SelIOClick(); // a selection to export
    const QString target = QDir(startDir()).filePath(QStringLiteral("out"));
    QDir().mkpath(target);
    const struct {
        const char *what;
        std::function<void()> click;
        QString proposed;
        QString answer; // typed without the suffix where the suffix is the proposal's
        QString written;
    } cases[] = {
        {"summary page", [this] { QTest::mouseClick(win->BToHtML(), Qt::LeftButton); }, "AnimeList.html",
         target + "/Сводка", target + "/Сводка.html"},
        {"selection page", [this] { QTest::mouseClick(win->statsPage()->BSToHTML, Qt::LeftButton); },
         "SelAnime.html", target + "/sel.html", target + "/sel.html"},
        {"summary sheet", [this] { QTest::mouseClick(win->BToExl(), Qt::LeftButton); }, "AnimeList.xlsx",
         target + "/all", target + "/all.xlsx"},
        {"selection sheet", [this] { QTest::mouseClick(win->statsPage()->BSToExcel, Qt::LeftButton); },
         "SelAnime.xlsx", target + "/mine.xlsx", target + "/mine.xlsx"},
        {"new catalog", [this] { win->BNewBaseClick(); }, "vidoteq.vdq", target + "/2027",
         target + "/2027.vdq"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        // Cancelled: nothing is written.
        c.click();
        ASSERT_EQ(dialogs.count(QStringLiteral("saveFile")), 1);
        EXPECT_EQ(dialogs.calls().front().start, QDir(startDir()).filePath(c.proposed));
        EXPECT_FALSE(QFileInfo::exists(c.written));
        // Answered: the file is where the user said, and the message names its full path.
        dialogs.clear();
        dialogs.setNextFileName(c.answer);
        c.click();
        EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(u'\n').toStdString();
        EXPECT_TRUE(QFileInfo(c.written).isFile());
        const bool named = std::any_of(dialogs.calls().begin(), dialogs.calls().end(), [&](const auto &call) {
            return call.kind != QLatin1String("saveFile") && call.text.contains(c.written);
        });
        EXPECT_TRUE(named);
    }
    EXPECT_EQ(win->session().path(), target + "/2027.vdq");            // the new catalog is the open one
    EXPECT_EQ(QDir(startDir()).entryList(QDir::Files), QStringList()); // nothing lands unasked

    // An existing page is replaced only when the user says so.
    const QString page = target + "/sel.html";
    const QDateTime before = QFileInfo(page).lastModified();
    dialogs.clear();
    dialogs.setNextFileName(page);
    QTest::mouseClick(win->statsPage()->BSToHTML, Qt::LeftButton);
    ASSERT_EQ(dialogs.count(QStringLiteral("askYesNo")), 1);
    EXPECT_TRUE(dialogs.calls().back().text.contains(page));
    EXPECT_EQ(QFileInfo(page).lastModified(), before);
}

TEST_F(DesktopWindow, SaveDialogsStartInTheDocumentsFolderWhereStartDirIsNotWritable) {
    ASSERT_TRUE(startOn(cat));
    const QString start = win->StartDir();
    QDir(start).removeRecursively(); // gone, as a folder the program may not write to
    dialogs.clear();
    QTest::mouseClick(win->BToHtML(), Qt::LeftButton);
    ASSERT_EQ(dialogs.count(QStringLiteral("saveFile")), 1);
    EXPECT_EQ(QFileInfo(dialogs.calls().front().start).path(), saveStartFolder(start));
    EXPECT_NE(saveStartFolder(start), start);
    EXPECT_TRUE(QFileInfo(saveStartFolder(start)).isDir());
    QDir().mkpath(start);
}

TEST_F(DesktopWindow, ADroppedFolderIsListedOnTheIntakePage) {
    ASSERT_TRUE(startOn(cat));
    const QString folder = QDir(startDir()).filePath(QStringLiteral("Bebop"));
    QDir().mkpath(folder);
    for (const char *n : {"01.mkv", "02.webm", "notes.txt"}) {
        QFile f(QDir(folder).filePath(QString::fromUtf8(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString loose = QDir(startDir()).filePath(QStringLiteral("extra.m2ts"));
    QFile(loose).open(QIODevice::WriteOnly);
    const struct {
        const char *what;
        QStringList dropped;
        QStringList listed;
    } cases[] = {
        {"a folder", {folder}, {"01.mkv", "02.webm"}},
        {"a folder and a file", {folder, loose}, {"Bebop/01.mkv", "Bebop/02.webm", "extra.m2ts"}},
        {"a file that is no video", {QDir(folder).filePath(QStringLiteral("notes.txt"))}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        win->setActivePage(TView_Base::Tns);
        dialogs.clear();
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &p : c.dropped)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        const QPoint at = win->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(win.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(win.get(), &drop);
        QStringList shown;
        for (int i = 0; i < win->intakePage()->LB1->count(); ++i)
            shown << win->intakePage()->LB1->item(i)->text();
        EXPECT_EQ(win->ActivePage(), TView_Base::TabNewA);
        if (c.listed.isEmpty()) {
            EXPECT_EQ(dialogs.errors().size(), 1);
        } else {
            EXPECT_EQ(shown, c.listed);
            EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(u'\n').toStdString();
        }
    }
}

TEST_F(DesktopWindow, LetterJumpGoesByTheKeysPlaceOnAnyLayout) {
    ASSERT_TRUE(startOn(cat));
    TGridView &gv = win->GV();
    gv.MoveToCell(1, 2);
    gv.setFocus();
    // The key where a Russian layout has "И" and a US one "B", as X11 reports it: its own letter,
    // the Cyrillic keysym and the place of the key.
    const struct {
        const char *what;
        int key;
        QString text;
        quint32 scanCode, virtualKey;
        const char *lands;
    } cases[] = {
        {"Russian layout, key B", 0x418, QStringLiteral("и"), 56, 0x6c9, "Bebop"},
        {"Russian layout, key A", 0x424, QStringLiteral("ф"), 38, 0x6c6, "Akira"},
        {"Latin layout, key B", Qt::Key_B, QStringLiteral("b"), 56, 'b', "Bebop"},
        {"a key that is no letter", Qt::Key_1, QStringLiteral("1"), 10, '1', "Bebop"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier, c.scanCode, c.virtualKey, 0, c.text);
        QCoreApplication::sendEvent(&gv, &press);
        EXPECT_EQ(gv.GetCellText(1, gv.CurrentRow()), QString::fromUtf8(c.lands));
    }
}

TEST_F(DesktopWindow, RowsFollowTheFontAndMarkedCellsStayReadable) {
    ASSERT_TRUE(startOn(cat));
    TGridView &gv = win->GV();
    for (int points : {6, 11, 16}) {
        QFont f = gv.font();
        f.setPointSize(points);
        gv.setFont(f);
        const int need = QFontMetrics(f).height() + 2;
        EXPECT_EQ(gv.rowHeight(0), std::max(16, need)) << points << " pt";
    }

    QPalette light, dark;
    light.setColor(QPalette::Text, Qt::black);
    light.setColor(QPalette::Base, Qt::white);
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    const QPalette before = QApplication::palette();
    for (const QPalette &p : {light, dark}) {
        QApplication::setPalette(p);
        TGridView grid;
        for (GridColor mark : {clSkyBlue, clAqua, clSilver, clWhite}) {
            const QColor fill = grid.ResolveColor(mark);
            const QColor text = grid.TextColorOn(mark, false);
            const auto lum = [](const QColor &c) {
                const auto ch = [](double v) {
                    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
                };
                return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
            };
            const double ratio =
                (std::max(lum(fill), lum(text)) + 0.05) / (std::min(lum(fill), lum(text)) + 0.05);
            EXPECT_GE(ratio, 4.5) << fill.name().toStdString() << " " << text.name().toStdString();
            EXPECT_EQ(fill, QColor(mark & 0xFF, (mark >> 8) & 0xFF, (mark >> 16) & 0xFF)); // the hue stays
        }
        // The palette's own cells keep the palette's own pair.
        EXPECT_EQ(grid.TextColorOn(clWindow, false), p.color(QPalette::Text));
    }
    QApplication::setPalette(before);
}

// Every control of every page has a name a screen reader can read; the grids give their cells.
TEST_F(DesktopWindow, EveryControlHasAnAccessibleName) {
    ASSERT_TRUE(startOn(cat));
    QAccessible::setActive(true);
    QStringList nameless;
    for (int page = 0; page < TView_Base::PageCount; ++page) {
        win->setActivePage(page);
        QCoreApplication::processEvents();
        for (QWidget *w : win->findChildren<QWidget *>()) {
            const bool control = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) ||
                                 qobject_cast<QAbstractItemView *>(w) || qobject_cast<QAbstractButton *>(w) ||
                                 qobject_cast<QTabWidget *>(w) || qobject_cast<QAbstractSpinBox *>(w);
            if (!control)
                continue;
            // Qt's own parts of a composite control (a grid's header and editor, a box's list) go
            // with it.
            bool part = false;
            for (QWidget *up = w->parentWidget(); up && !part; up = up->parentWidget())
                part = qobject_cast<QAbstractItemView *>(up) || qobject_cast<QComboBox *>(up) ||
                       qobject_cast<QAbstractSpinBox *>(up);
            if (part || w->inherits("QComboBoxPrivateContainer"))
                continue;
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            const QString name = a ? a->text(QAccessible::Name).trimmed() : QString();
            if (name.isEmpty())
                nameless << w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
        }
    }
    nameless.removeDuplicates();
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join(u'\n').toStdString();

    // The grid's cells are the table's cells for assistive technologies.
    TGridView &gv = win->GV();
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&gv);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->rowCount(), gv.RowCount());
    for (int r = 0; r < gv.RowCount(); ++r) {
        QAccessibleInterface *cell = table->tableInterface()->cellAt(r, 1);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), gv.GetCellText(1, r));
    }
    QAccessible::setActive(false);
}

} // namespace
} // namespace vq
