// The export buttons and the column chooser of a real window over a temporary catalog.
#include "app/window_fixture.h"
#include "catalog/formats.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "dialogs.h"
#include "page_stats.h"
#include "stats_handlers.h"
#include "support/temp_catalog.h"
#include "tgridview.h"
#include "tselform.h"
#include "tview_base.h"

// The spreadsheet reader of the export tests, built into this program too.
#include "core/export/xlsxreader.cpp"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

using namespace vq;

namespace {

// Stands in for the desktop's spreadsheet program: remembers what it was asked to open.
class FileOpener : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

// Scripted answers, plus a look at the window at the moment a message is shown. A save dialog
// with no scripted answer takes the name it proposes, as Enter does.
class WatchingDialogs : public ScriptedDialogs {
public:
    std::function<void()> onInform;
    void inform(QWidget *parent, const QString &caption, const QString &text) override {
        ScriptedDialogs::inform(parent, caption, text);
        if (onInform)
            onInform();
    }
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override {
        const bool yes = ScriptedDialogs::askYesNo(parent, caption, text);
        if (onInform)
            onInform();
        return yes;
    }
    QString saveFile(QWidget *parent, const QString &caption, const QString &startPath,
                     const QString &filter) override {
        const QString chosen = ScriptedDialogs::saveFile(parent, caption, startPath, filter);
        return chosen.isEmpty() ? startPath : chosen;
    }
};

// Everything of a grid that an export may touch and must give back.
struct GridState {
    QStringList columns; // caption, position, visibility and width of each column in column order
    QStringList cells;
    bool operator==(const GridState &) const = default;
};

GridState stateOf(TGridView &g) {
    GridState s;
    for (int c = 0; c < g.ColumnCount(); ++c) {
        const GridColumn &col = g.Column(c);
        s.columns << QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(col.Caption(), col.Name())
                         .arg(col.Position())
                         .arg(col.Visible())
                         .arg(col.Width());
    }
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColumnCount(); ++c)
            s.cells << g.GetCellText(c, r);
    return s;
}

QString readText(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// The window of the shared fixture, but with dialogs that let a test look at the window while a
// message is open.
class ExportWindow : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opener, "open");
        akira = cat.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QStringLiteral("классика"), 2);
        cat.addEpisode(akira, {.name = QStringLiteral("Akira.mkv"),
                               .size = 734003200.0,
                               .width = 1920,
                               .height = 1080,
                               .durationMs = 7440000,
                               .sound = 0,
                               .subIn = 1,
                               .subExt = 2});
        bebop = cat.addTitle(QStringLiteral("Bebop <&> Бибоп"), QStringLiteral("26"), QString(), 3);
        for (int e = 1; e <= 3; ++e)
            cat.addEpisode(bebop, {.name = QStringLiteral("Bebop%1.avi").arg(e),
                                   .size = 367001600.0,
                                   .width = 640,
                                   .height = 480,
                                   .durationMs = 1440000});
        cowboy = cat.addTitle(QStringLiteral("Cowboy"));
        rememberCatalogPath(cat.path());
        win = std::make_unique<test::TestView>(watching);
        win->screen = screen;
        ASSERT_TRUE(win->FormCreate());
        win->show();
        QCoreApplication::processEvents();
        window = win.get();
        watching.clear();
    }

    void TearDown() override {
        WindowTest::TearDown();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }

    QString inStartDir(const QString &name) const { return QDir(startDir()).filePath(name); }

    // Puts the titles of the given summary rows into the selection, as the toggle key does.
    void select(std::initializer_list<int> rows) {
        for (int r : rows) {
            window->GVSV().SetCurrentRow(r);
            window->stats().SelIOClick();
        }
    }

    test::TempCatalog cat;
    WatchingDialogs watching;
    FileOpener opener;
    TView_Base *window = nullptr;
    qint64 akira = 0, bebop = 0, cowboy = 0;
};

TEST_F(ExportWindow, SummaryHtmlWritesPageWithTotalsAndGivesTheRowsBack) {
    TGridView &sv = window->GVSV();
    ASSERT_EQ(sv.RowCount(), 3);
    const GridState before = stateOf(sv);
    int rowsWhileShown = -1;
    watching.onInform = [&] { rowsWhileShown = sv.RowCount(); };

    QTest::mouseClick(window->BToHtML(), Qt::LeftButton);

    ASSERT_TRUE(watching.errors().isEmpty()) << watching.errors().join('\n').toStdString();
    ASSERT_EQ(watching.count(QStringLiteral("askYesNo")), 1);
    EXPECT_EQ(watching.calls().back().text,
              msg::fileSavedOpenIt(inStartDir(QStringLiteral("AnimeList.html"))));
    EXPECT_EQ(watching.calls().back().caption, QString());
    EXPECT_EQ(rowsWhileShown, 5); // the separator and the totals are there while the message is open
    EXPECT_EQ(stateOf(sv), before);

    const QString page = readText(inStartDir(QStringLiteral("AnimeList.html")));
    ASSERT_FALSE(page.isEmpty());
    EXPECT_TRUE(page.contains(QStringLiteral(">Bebop &lt;&amp;&gt; Бибоп</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral(">Всего:  3</td>")));
    const TPageStats *st = window->statsPage();
    EXPECT_TRUE(page.contains(QStringLiteral(">%1</td>").arg(st->LCE->text())))
        << st->LCE->text().toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral(">%1</td>").arg(st->LSize->text())));
    EXPECT_TRUE(page.contains(QStringLiteral(">%1</td>").arg(st->LTime->text())));
    // Three titles, the separator and the totals: five data rows and the header.
    EXPECT_EQ(page.count(QStringLiteral("<tr>")), 6);
}

TEST_F(ExportWindow, SelectionHtmlUsesTheChoiceAndLeavesTheListExactlyAsItWas) {
    select({0, 1});
    TGridView &g3 = window->GV3();
    ASSERT_EQ(g3.RowCount(), 2);
    g3.Column(0).SetWidth(300); // a widened column stays widened
    window->ExportColumnChoice() = {true, false, false, false, false, true, false, false, false, true};
    const GridState before = stateOf(g3);
    GridState whileShown;
    watching.onInform = [&] { whileShown = stateOf(g3); };

    QTest::mouseClick(window->statsPage()->BSToHTML, Qt::LeftButton);

    ASSERT_TRUE(watching.errors().isEmpty()) << watching.errors().join('\n').toStdString();
    ASSERT_EQ(watching.count(QStringLiteral("askYesNo")), 1);
    EXPECT_EQ(watching.calls().back().text,
              msg::fileSavedOpenIt(inStartDir(QStringLiteral("SelAnime.html"))));
    EXPECT_EQ(stateOf(g3), before);
    EXPECT_EQ(whileShown, before); // restored before the message, as the page is already written

    const QString page = readText(inStartDir(QStringLiteral("SelAnime.html")));
    const QStringList header = {
        QStringLiteral("<td align=\"Left\" width=\"300\"> <b>Название </b> </td>"),
        QStringLiteral("<td align=\"Center\" width=\"80\"> <b>Качество </b> </td>"),
        QStringLiteral("<td align=\"Left\" width=\"186\"> <b>Комментарий </b> </td>")};
    EXPECT_TRUE(page.contains(QStringLiteral("<tr>\r\n") + header.join(QStringLiteral("\r\n")) +
                              QStringLiteral("\r\n</tr>")))
        << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("<b>Тип </b>")));
    EXPECT_TRUE(page.contains(QStringLiteral(">Всего:  2</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral(">1920x1080</td>")));
    EXPECT_FALSE(page.contains(window->statsPage()->LVtime->text())); // the duration is not chosen
}

// A page that cannot be written: the error box names the file, no success message, grids as before.
TEST_F(ExportWindow, WriteFailureShowsTheErrorAndKeepsTheGrids) {
    select({1});
    window->ExportColumnChoice() = {false, true, true, false, true, false, false, true, false, false};
    struct Case {
        const char *what;
        bool selection;
        const char *answer; // the path typed into the save dialog, below the start folder
        std::function<void(const QString &path)> block;
    };
    const Case cases[] = {
        {"a folder in the way of the summary page", false, "AnimeList.html",
         [](const QString &p) { QDir().mkpath(p); }},
        {"a folder in the way of the selection page", true, "SelAnime.html",
         [](const QString &p) { QDir().mkpath(p); }},
        {"a file where the folder should be", false, "blocker/AnimeList.html",
         [this](const QString &) {
             QFile(inStartDir(QStringLiteral("blocker"))).open(QIODevice::WriteOnly);
         }},
        {"a file where the folder should be, selection", true, "blocker/SelAnime.html",
         [this](const QString &) {
             QFile(inStartDir(QStringLiteral("blocker"))).open(QIODevice::WriteOnly);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = inStartDir(QString::fromUtf8(c.answer));
        c.block(path);
        TGridView &grid = c.selection ? window->GV3() : window->GVSV();
        const GridState before = stateOf(grid);
        watching.clear();
        watching.setNextFileName(path);

        QTest::mouseClick(c.selection ? window->statsPage()->BSToHTML : window->BToHtML(), Qt::LeftButton);

        ASSERT_EQ(watching.errors().size(), 1);
        EXPECT_EQ(watching.count(QStringLiteral("askYesNo")), 0);
        EXPECT_TRUE(watching.errors().first().startsWith(
            QStringLiteral("Не удаётся создать файл \"%1\". ").arg(path)))
            << watching.errors().first().toStdString();
        EXPECT_GT(watching.errors().first().size(),
                  QStringLiteral("Не удаётся создать файл \"%1\". ").arg(path).size());
        EXPECT_EQ(watching.count(QStringLiteral("inform")), 0);
        EXPECT_EQ(stateOf(grid), before);
        QDir().mkpath(startDir());
        QDir(path).removeRecursively();
    }
}

// Runs the chooser through the "SetUp" button; `act` works on the open window, then closes it.
void runChooser(TView_Base &window, const std::function<void(TSelForm &)> &act) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<TSelForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        ran = true;
        act(*form);
        if (form->isVisible())
            form->close();
    });
    QTest::mouseClick(window.statsPage()->BSet, Qt::LeftButton);
    EXPECT_TRUE(ran);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

QPoint savedChooserPosition() {
    const auto s = openSettings();
    return {readIntSetting(*s, QStringLiteral("SelForm/Left"), -1),
            readIntSetting(*s, QStringLiteral("SelForm/Top"), -1)};
}

TEST_F(ExportWindow, ChooserTakesTheTicksOverOnEveryClose) {
    const ExportColumnChoice pattern = {true, false, true, false, true, false, true, false, true, false};
    window->ExportColumnChoice() = pattern;

    // Closed by the close box without touching anything: the choice as it was.
    runChooser(*window, [&](TSelForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Export List:"));
        ASSERT_EQ(f.CLS->count(), 10);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(f.CLS->item(i)->text(), exportColumnCaption(i));
            EXPECT_EQ(f.CLS->item(i)->checkState() == Qt::Checked, pattern[size_t(i)]) << i;
        }
        EXPECT_EQ(f.BApple->text(), QStringLiteral("Ok"));
        EXPECT_EQ(f.BSelAll->text(), QStringLiteral("Выбрать всё"));
    });
    EXPECT_EQ(window->ExportColumnChoice(), pattern);

    // Every tick taken off, then "Ok": nothing left to export.
    runChooser(*window, [](TSelForm &f) {
        for (int i = 0; i < 10; ++i)
            f.CLS->item(i)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(f.BApple, Qt::LeftButton);
    });
    EXPECT_EQ(window->ExportColumnChoice(), ExportColumnChoice{});

    // "Выбрать всё" and the close box keep all ten.
    runChooser(*window, [](TSelForm &f) { QTest::mouseClick(f.BSelAll, Qt::LeftButton); });
    EXPECT_EQ(window->ExportColumnChoice(), allExportColumns());

    // "Выбрать всё" never takes a tick off; Escape still takes the ticks over.
    window->ExportColumnChoice() = pattern;
    runChooser(*window, [](TSelForm &f) {
        QTest::mouseClick(f.BSelAll, Qt::LeftButton);
        f.CLS->item(3)->setCheckState(Qt::Unchecked);
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    ExportColumnChoice expected = allExportColumns();
    expected[3] = false;
    EXPECT_EQ(window->ExportColumnChoice(), expected);
}

TEST_F(ExportWindow, ChooserPositionIsReadAndSaved) {
    {
        const auto s = openSettings();
        s->remove(QStringLiteral("SelForm/Left"));
        s->remove(QStringLiteral("SelForm/Top"));
    }
    QPoint shown;
    runChooser(*window, [&](TSelForm &f) { shown = f.pos(); });
    EXPECT_EQ(shown, QPoint(201, 132));
    EXPECT_EQ(savedChooserPosition(), QPoint(201, 132));

    // Saved on a monitor left of the main one that is no longer there: used as stored.
    {
        const auto s = openSettings();
        writeIntSetting(*s, QStringLiteral("SelForm/Left"), -1500);
        writeIntSetting(*s, QStringLiteral("SelForm/Top"), 40);
    }
    runChooser(*window, [&](TSelForm &f) { shown = f.pos(); });
    EXPECT_EQ(shown, QPoint(-1500, 40));
    EXPECT_EQ(savedChooserPosition(), QPoint(-1500, 40));
}

TEST_F(ExportWindow, SummarySpreadsheetKeepsTheCurrentTitle) {
    window->makeTitleCurrent(bebop);
    ASSERT_EQ(window->currentTitleId(), bebop);
    const ops::Amounts amountsBefore = ops::titleAmounts(window->session(), window->currentTitleId());

    QTest::mouseClick(window->BToExl(), Qt::LeftButton);

    ASSERT_TRUE(watching.errors().isEmpty()) << watching.errors().join('\n').toStdString();
    EXPECT_EQ(watching.count(QStringLiteral("inform")), 0); // no message on success
    EXPECT_EQ(window->currentTitleId(), bebop);
    EXPECT_EQ(window->GV().CurrentRow(), window->SeeingRed(bebop)); // still shown current
    const ops::Amounts amountsAfter = ops::titleAmounts(window->session(), window->currentTitleId());
    EXPECT_EQ(amountsAfter.files, amountsBefore.files);
    EXPECT_EQ(amountsAfter.sizeBytes, amountsBefore.sizeBytes);

    // A toggle afterwards counts the current title's own amounts.
    window->GVSV().SetCurrentRow(window->SeeingSV(bebop));
    window->stats().SelIOClick();
    EXPECT_EQ(window->statsPage()->LVFile->text(), QStringLiteral("3"));

    ASSERT_EQ(opener.opened.size(), 1);
    const QString file = opener.opened.first().toLocalFile();
    vqtest::XlsxBook book(file);
    EXPECT_EQ(book.sheetNames(), QStringList{QStringLiteral("Anime List")});
    EXPECT_EQ(book.text(2, 1), QStringLiteral("Akira"));
    EXPECT_EQ(book.text(3, 1), QStringLiteral("Bebop <&> Бибоп"));
    EXPECT_EQ(book.text(3, 3), QStringLiteral(" 26"));
    EXPECT_EQ(book.text(6, 1), QStringLiteral("Всего:  3"));
    EXPECT_EQ(book.text(6, 3), window->statsPage()->LCE->text());
}

TEST_F(ExportWindow, SummaryExportsOfASearchTotalTheTitlesWritten) {
    window->EFound()->setText(QStringLiteral("B"));
    ASSERT_EQ(window->GVSV().RowCount(), 1);
    const QStringList totals = {QStringLiteral("Всего:  1"), QStringLiteral("3"),
                                gigabyteText(3 * 367001600.0), FormatPlayTime(3 * 1440000)};
    QTest::mouseClick(window->BToHtML(), Qt::LeftButton);
    const QString page = readText(inStartDir(QStringLiteral("AnimeList.html")));
    EXPECT_FALSE(page.contains(QStringLiteral(">Akira</td>")));
    QTest::mouseClick(window->BToExl(), Qt::LeftButton);
    ASSERT_TRUE(watching.errors().isEmpty()) << watching.errors().join('\n').toStdString();
    ASSERT_EQ(opener.opened.size(), 1);
    vqtest::XlsxBook book(opener.opened.first().toLocalFile());
    EXPECT_EQ(book.text(2, 1), QStringLiteral("Bebop <&> Бибоп"));
    for (int i = 0; i < totals.size(); ++i) {
        EXPECT_TRUE(page.contains(QStringLiteral(">%1</td>").arg(totals[i]))) << totals[i].toStdString();
        EXPECT_EQ(book.text(4, i == 0 ? 1 : i + 2), totals[i]);
    }
}

TEST_F(ExportWindow, SelectionSpreadsheetReadsTheListWithTheChosenColumns) {
    select({0, 2});
    window->GV3().SetCellText(9, 1, QStringLiteral("правка в списке"));
    window->ExportColumnChoice() = {true, false, false, false, false, true, false, false, false, true};

    QTest::mouseClick(window->statsPage()->BSToExcel, Qt::LeftButton);

    ASSERT_TRUE(watching.errors().isEmpty()) << watching.errors().join('\n').toStdString();
    ASSERT_EQ(opener.opened.size(), 1);
    vqtest::XlsxBook book(opener.opened.first().toLocalFile());
    EXPECT_EQ(book.text(1, 1), QStringLiteral("Название"));
    EXPECT_EQ(book.text(1, 2), QStringLiteral("Качество"));
    EXPECT_EQ(book.text(1, 3), QStringLiteral("Комментарий"));
    EXPECT_EQ(book.text(2, 1), QStringLiteral("Akira"));
    EXPECT_EQ(book.text(3, 1), QStringLiteral("Cowboy"));
    EXPECT_EQ(book.text(3, 3), QStringLiteral("правка в списке"));
    EXPECT_EQ(book.text(4, 1), QStringLiteral("Всего:  2"));
    for (const auto &[row, column] : book.filledCells())
        EXPECT_TRUE(row < 4 || column == 1) << row << "," << column; // only the titles total is chosen
}

TEST_F(ExportWindow, ASpreadsheetNothingCanShowIsNamedAndNoOtherFileGoes) {
    // Earlier workbooks, however old, are the user's files: an export never removes them.
    const QString folder = inStartDir(QStringLiteral("sheets"));
    QDir().mkpath(folder);
    for (const char *name : {"AnimeList-20200101-000000.xlsx", "Notes.xlsx"}) {
        QFile f(QDir(folder).filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime);
    }
    const QString made = QDir(folder).filePath(QStringLiteral("mine.xlsx"));
    watching.setNextFileName(made);
    win->viewerKnown = false;
    QTest::mouseClick(window->BToExl(), Qt::LeftButton);
    ASSERT_TRUE(watching.errors().isEmpty()) << watching.errors().join('\n').toStdString();
    EXPECT_TRUE(opener.opened.isEmpty());
    ASSERT_EQ(watching.count(QStringLiteral("inform")), 1);
    EXPECT_TRUE(watching.calls().back().text.contains(QDir::toNativeSeparators(made)))
        << watching.calls().back().text.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{"AnimeList-20200101-000000.xlsx", "mine.xlsx", "Notes.xlsx"}));
}

} // namespace

#include "export_window_test.moc"
