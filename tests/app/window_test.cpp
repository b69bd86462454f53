#include "window_fixture.h"

#include "page_intake.h"
#include "page_service.h"
#include "page_stats.h"
#include "page_titles.h"
#include "stats_handlers.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>

using namespace vq;
using namespace vq::test;

namespace {

class Window : public WindowTest {};

// Every value a close must leave behind, as text.
QStringList closedKeys() {
    QStringList keys = {"View/Width", "View/Heigth",   "View/Left",
                        "View/Top",   "View/WinState", "View/ActivePage"};
    for (int i = 1; i <= 7; ++i)
        keys << QStringLiteral("View/s%1").arg(i);
    for (int n = 0; n < 10; ++n)
        keys << QStringLiteral("SelForm/sl%1").arg(n) << QStringLiteral("gvsv/s%1").arg(n)
             << QStringLiteral("gv3/s%1").arg(n);
    for (const char *s : {"s2", "s3", "s5", "s8", "s13", "s14", "s15"})
        keys << QStringLiteral("Series/") + QLatin1String(s);
    return keys;
}

} // namespace

TEST_F(Window, FirstStartMakesTheStarterCatalogAndUsesTheDefaults) {
    ASSERT_TRUE(start());
    EXPECT_EQ(dialogs.count(QStringLiteral("openFile")), 0);
    const QString starter = starterCatalogPath();
    EXPECT_TRUE(QFileInfo::exists(starter));
    EXPECT_EQ(rememberedCatalogPath(), starter);
    EXPECT_EQ(win->Panel18()->text(), starter);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Vidoteq"));
    EXPECT_EQ(win->size(), QSize(1090, 876));
    EXPECT_EQ(win->pos(), QPoint(174, 119));
    EXPECT_EQ(win->windowState(), Qt::WindowNoState);
    EXPECT_EQ(win->ActivePage(), 0);
    for (bool chosen : win->ExportColumnChoice())
        EXPECT_TRUE(chosen);
    EXPECT_EQ(win->GVSV().Column(4).Width(), 108);
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 0"));
    // The five pages and the drives, tabs at the bottom.
    QTabWidget *pages = win->PageControl1();
    ASSERT_EQ(pages->count(), 6);
    EXPECT_EQ(pages->tabPosition(), QTabWidget::South);
    const QStringList captions = {"Информация по сериям", "Сводная таблица", "Статистика",
                                  "Добавить новое",       "Дополнительно",   "Диски"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pages->tabText(i), captions[i]);
    // The intake page's languages are preselected on the keys 0, 1 and 2.
    EXPECT_EQ(win->intakePage()->CSound->currentData().toInt(), 0);
    EXPECT_EQ(win->intakePage()->CSub_In->currentData().toInt(), 1);
    EXPECT_EQ(win->intakePage()->CSub_Ext->currentData().toInt(), 2);

    closeWindow();
    for (const QString &k : closedKeys()) {
        auto s = settings();
        const QVariant v = s->value(k);
        EXPECT_TRUE(v.isValid()) << k.toStdString();
        EXPECT_EQ(v.typeId(), QMetaType::QString) << k.toStdString();
    }
    EXPECT_EQ(setting(QStringLiteral("View/Heigth")), QStringLiteral("876"));
    EXPECT_EQ(setting(QStringLiteral("View/Left")), QStringLiteral("174"));
    EXPECT_EQ(setting(QStringLiteral("View/WinState")), QStringLiteral("0"));
    EXPECT_EQ(setting(QStringLiteral("SelForm/sl3")), QStringLiteral("1"));
    EXPECT_EQ(setting(QStringLiteral("gv3/s9")), QStringLiteral("186"));
    EXPECT_EQ(setting(QStringLiteral("Series/s2")), QStringLiteral("35"));
    EXPECT_EQ(setting(QStringLiteral("Series/s14")), QStringLiteral("7"));
    EXPECT_EQ(setting(QStringLiteral("View/s1")), QStringLiteral("300"));
    EXPECT_FALSE(settings()->contains(QStringLiteral("SelForm/Left")));
}

TEST_F(Window, MissingRememberedCatalogAsksAndACancelEndsTheStart) {
    rememberCatalogPath(startDir() + QStringLiteral("/gone.vdq"));
    EXPECT_FALSE(start());
    ASSERT_EQ(dialogs.count(QStringLiteral("openFile")), 1);
    const auto &call = dialogs.calls().front();
    EXPECT_EQ(call.caption, QStringLiteral("Укажите файл базы"));
    EXPECT_TRUE(call.text.contains(QStringLiteral("Файл Vidoteq (*.vdq)")));
    EXPECT_EQ(rememberedCatalogPath(), startDir() + QStringLiteral("/gone.vdq"));
    win.reset(); // never shown, nothing saved
    EXPECT_FALSE(settings()->contains(QStringLiteral("View/Width")));
}

TEST_F(Window, MissingRememberedCatalogOpensTheChosenFile) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Akira"));
    rememberCatalogPath(startDir() + QStringLiteral("/gone.vdq"));
    dialogs.setNextFileName(cat.path());
    ASSERT_TRUE(start());
    EXPECT_EQ(win->Panel18()->text(), cat.path());
    EXPECT_EQ(rememberedCatalogPath(), cat.path());
    EXPECT_EQ(column(win->GV(), 1), QStringList{QStringLiteral("Akira")});
    // StartDir is taken before the dialog could move the current folder.
    EXPECT_EQ(win->StartDir(), startDir());
}

TEST_F(Window, RememberedCatalogOpensWithoutAsking) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Bebop"));
    cat.addTitle(QStringLiteral("Akira"));
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(dialogs.calls().size(), 0u);
    EXPECT_EQ(win->Panel18()->text(), cat.path());
    EXPECT_EQ(column(win->GV(), 1), (QStringList{"Akira", "Bebop"}));
    EXPECT_EQ(column(win->GVSV(), 0), (QStringList{"Akira", "Bebop"}));
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 2"));
    EXPECT_EQ(win->currentTitleId(), win->GV().CellAt(0, 0).AsInteger());
}

TEST_F(Window, RefusedCatalogAtStartKeepsTheWindowUp) {
    const QString junk = startDir() + QStringLiteral("/junk.vdq");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a catalog");
    }
    rememberCatalogPath(junk);
    ASSERT_TRUE(start());
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(win->Panel18()->text(), junk);
    EXPECT_FALSE(win->session().isOpen());
    EXPECT_EQ(test::fileBytes(junk), QByteArray("not a catalog"));

    // The path panel still works.
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Akira"));
    dialogs.setNextFileName(cat.path());
    QTest::mouseClick(win->Panel18(), Qt::LeftButton);
    EXPECT_TRUE(win->session().isOpen());
    EXPECT_EQ(column(win->GVSV(), 0), QStringList{QStringLiteral("Akira")});
    EXPECT_EQ(rememberedCatalogPath(), cat.path());
}

TEST_F(Window, StoredGeometryAndOversizedWindows) {
    struct Case {
        int width, height;
        QSize screen;
        bool maximised;
    };
    const Case cases[] = {
        {2000, 800, {1280, 1024}, true},
        {1000, 1100, {1280, 1024}, true},
        {1280, 1024, {1280, 1024}, false},
        {900, 700, {1280, 1024}, false},
    };
    TempCatalog cat;
    for (const Case &c : cases) {
        setSetting(QStringLiteral("View/Width"), QString::number(c.width));
        setSetting(QStringLiteral("View/Heigth"), QString::number(c.height));
        setSetting(QStringLiteral("View/Left"), QStringLiteral("10"));
        setSetting(QStringLiteral("View/Top"), QStringLiteral("20"));
        setSetting(QStringLiteral("View/WinState"), QStringLiteral("0"));
        screen = c.screen;
        ASSERT_TRUE(startOn(cat));
        EXPECT_EQ(bool(win->windowState() & Qt::WindowMaximized), c.maximised) << c.width << "x" << c.height;
        if (!c.maximised) {
            EXPECT_EQ(win->size(), QSize(c.width, c.height));
            EXPECT_EQ(win->pos(), QPoint(10, 20));
        }
        closeWindow();
    }
}

TEST_F(Window, ClosingMaximisedKeepsTheNormalGeometry) {
    TempCatalog cat;
    setSetting(QStringLiteral("View/Width"), QStringLiteral("900"));
    setSetting(QStringLiteral("View/Heigth"), QStringLiteral("700"));
    ASSERT_TRUE(startOn(cat));
    win->showMaximized();
    QCoreApplication::processEvents();
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("View/WinState")), QStringLiteral("2"));
    EXPECT_EQ(setting(QStringLiteral("View/Width")), QStringLiteral("900"));
    EXPECT_EQ(setting(QStringLiteral("View/Heigth")), QStringLiteral("700"));
    EXPECT_FALSE(settings()->contains(QStringLiteral("View/Left")));

    // The next start restores that geometry and then maximises.
    ASSERT_TRUE(startOn(cat));
    EXPECT_TRUE(win->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(win->normalGeometry().size(), QSize(900, 700));
}

TEST_F(Window, SettingValuesAreReadByTheTextRules) {
    struct Case {
        const char *key;
        const char *stored;
        std::function<QVariant(TView_Base &)> read;
        QVariant expected;
    };
    auto choice = [](int n) {
        return [n](TView_Base &w) { return QVariant(w.ExportColumnChoice()[size_t(n)]); };
    };
    auto page = [](TView_Base &w) { return QVariant(w.ActivePage()); };
    auto gvsv0 = [](TView_Base &w) { return QVariant(w.GVSV().Column(0).Width()); };
    auto width = [](TView_Base &w) { return QVariant(w.width()); };
    auto s1 = [](TView_Base &w) { return QVariant(w.panelSize(0)); };
    const Case cases[] = {
        {"SelForm/sl3", "0", choice(3), false}, {"SelForm/sl3", "7", choice(3), true},
        {"SelForm/sl3", "no", choice(3), true}, {"SelForm/sl0", "-1", choice(0), true},
        {"View/ActivePage", "2", page, 2},      {"View/ActivePage", "5", page, 5},
        {"View/ActivePage", "6", page, -1},     {"View/ActivePage", "-3", page, -1},
        {"View/ActivePage", "x", page, 0},      {"gvsv/s0", "300", gvsv0, 300},
        {"gvsv/s0", "3 0 0", gvsv0, 262},       {"View/Width", "1e3", width, 1090},
        {"View/Width", " 1000 ", width, 1000},  {"View/s1", "250", s1, 250},
    };
    TempCatalog cat;
    for (const Case &c : cases) {
        setSetting(QString::fromLatin1(c.key), QString::fromLatin1(c.stored));
        ASSERT_TRUE(startOn(cat));
        EXPECT_EQ(c.read(*win), c.expected) << c.key << " = " << c.stored;
        closeWindow();
        settings()->remove(QString::fromLatin1(c.key));
    }
}

TEST_F(Window, ValueOfAnotherKindGivesItsDefault) {
    TempCatalog cat;
    {
        auto s = settings();
        s->setValue(QStringLiteral("View/Width"), QStringList{"1", "2"});
        s->setValue(QStringLiteral("gv3/s1"), QRect(1, 2, 3, 4));
        s->sync();
    }
    ASSERT_TRUE(startOn(cat));
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(win->width(), 1090);
    EXPECT_EQ(win->GV3().Column(1).Width(), 73);
}

TEST_F(Window, NoActivePageIsStoredBackAsMinusOneUntilAPageIsPicked) {
    TempCatalog cat;
    setSetting(QStringLiteral("View/ActivePage"), QStringLiteral("9"));
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(win->ActivePage(), -1);
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("View/ActivePage")), QStringLiteral("-1"));

    ASSERT_TRUE(startOn(cat));
    win->setActivePage(3);
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("View/ActivePage")), QStringLiteral("3"));
}

TEST_F(Window, PanelSizesSurviveARestart) {
    TempCatalog cat;
    ASSERT_TRUE(startOn(cat));
    win->setPanelSize(0, 240);
    win->setActivePage(2);
    QCoreApplication::processEvents();
    win->setPanelSize(3, 250);
    closeWindow();
    EXPECT_EQ(setting(QStringLiteral("View/s1")), QStringLiteral("240"));
    EXPECT_EQ(setting(QStringLiteral("View/s4")), QStringLiteral("250"));
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(win->ActivePage(), 2);
    EXPECT_EQ(win->panelSize(3), 250);
}

TEST_F(Window, TitleColumnsFollowTheirPanels) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Akira"));
    ASSERT_TRUE(startOn(cat));
    win->setPanelSize(0, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(win->titlesPage()->Panel1->width(), 100);
    EXPECT_EQ(win->GV().Column(1).Width(), 62);

    win->setActivePage(TView_Base::TabNewA);
    QCoreApplication::processEvents();
    win->setPanelSize(6, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(win->GV4().Column(1).Width(), 162);
    EXPECT_EQ(win->intakePage()->ENewAni->width(), 200);
}

TEST_F(Window, PathPanelCancelChangesNothingButRefreshes) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Akira"));
    cat.addTitle(QStringLiteral("Bebop"));
    ASSERT_TRUE(startOn(cat));
    win->GVSV().SetCurrentRow(0);
    win->stats().SelIOClick();
    ASSERT_EQ(win->GV3().RowCount(), 1);
    cat.addTitle(QStringLiteral("Cowboy")); // another program changes the file meanwhile

    QTest::mouseClick(win->Panel18(), Qt::LeftButton);
    EXPECT_EQ(dialogs.count(QStringLiteral("openFile")), 1);
    EXPECT_EQ(win->Panel18()->text(), cat.path());
    EXPECT_EQ(rememberedCatalogPath(), cat.path());
    EXPECT_EQ(win->GV3().RowCount(), 1);
    EXPECT_EQ(win->selTotals().TitleCount, 1);
    EXPECT_EQ(column(win->GVSV(), 0), (QStringList{"Akira", "Bebop", "Cowboy"}));
    EXPECT_TRUE(win->GVSV().CellAt(10, 0).AsBoolean()); // still marked after the refresh
}

TEST_F(Window, PathPanelSwitchEmptiesTheSelection) {
    TempCatalog one, two;
    one.addTitle(QStringLiteral("Akira"));
    two.addTitle(QStringLiteral("Monster"));
    two.addTitle(QStringLiteral("Naruto"));
    ASSERT_TRUE(startOn(one));
    win->stats().SelIOClick();
    ASSERT_EQ(win->selTotals().TitleCount, 1);

    dialogs.setNextFileName(two.path());
    QTest::mouseClick(win->Panel18(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(win->Panel18()->text(), two.path());
    EXPECT_EQ(rememberedCatalogPath(), two.path());
    EXPECT_EQ(win->GV3().RowCount(), 0);
    EXPECT_EQ(win->selTotals().TitleCount, 0);
    EXPECT_EQ(win->statsPage()->LVAni->text(), QStringLiteral("0"));
    EXPECT_EQ(column(win->GVSV(), 0), (QStringList{"Monster", "Naruto"}));
    EXPECT_EQ(column(win->GV(), 1), (QStringList{"Monster", "Naruto"}));
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 2"));
    // The dialog starts from the file chosen last.
    dialogs.setNextFileName(QString());
    QTest::mouseClick(win->Panel18(), Qt::LeftButton);
    EXPECT_EQ(dialogs.calls().back().start, two.path());
}

TEST_F(Window, PathPanelRefusedFileKeepsTheOpenCatalog) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Akira"));
    ASSERT_TRUE(startOn(cat));
    win->stats().SelIOClick();
    const QString junk = startDir() + QStringLiteral("/junk.vdq");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("junk");
    }
    for (const QString &bad : {junk, startDir() + QStringLiteral("/typed-but-missing.vdq")}) {
        dialogs.setNextFileName(bad);
        QTest::mouseClick(win->Panel18(), Qt::LeftButton);
        EXPECT_EQ(dialogs.errors().size(), 1) << bad.toStdString();
        dialogs.clear();
        EXPECT_TRUE(win->session().isOpen());
        EXPECT_EQ(win->session().path(), cat.path());
        EXPECT_EQ(win->Panel18()->text(), cat.path());
        EXPECT_EQ(rememberedCatalogPath(), cat.path());
        EXPECT_EQ(win->GV3().RowCount(), 1);
        EXPECT_EQ(column(win->GVSV(), 0), QStringList{QStringLiteral("Akira")});
    }
    EXPECT_FALSE(QFileInfo::exists(startDir() + QStringLiteral("/typed-but-missing.vdq")));
}

TEST_F(Window, NewCatalogAsksWhereAndCopiesTheOpenOne) {
    TempCatalog cat;
    cat.exec(QStringLiteral("INSERT INTO \"Sub\"(\"ID\", \"Язык\") VALUES (30, 'Клингонский')"));
    const qint64 a = cat.addTitle(QStringLiteral("Akira"));
    cat.addEpisode(a, {.size = 100.0});
    ASSERT_TRUE(startOn(cat));
    win->stats().SelIOClick();

    // Cancel does nothing.
    QTest::mouseClick(win->servicePage()->BNewBase, Qt::LeftButton);
    ASSERT_EQ(dialogs.count(QStringLiteral("saveFile")), 1);
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("Куда сохранить новую базу"));
    EXPECT_EQ(dialogs.calls()[0].start, startDir() + QStringLiteral("/vidoteq.vdq"));
    EXPECT_EQ(QDir(startDir()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(win->session().path(), cat.path());

    dialogs.setNextFileName(startDir() + QStringLiteral("/2006"));
    QTest::mouseClick(win->servicePage()->BNewBase, Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(';').toStdString();
    const QString made = startDir() + QStringLiteral("/2006.vdq");
    EXPECT_TRUE(QFileInfo::exists(made));
    EXPECT_EQ(win->session().path(), made);
    EXPECT_EQ(rememberedCatalogPath(), made);
    EXPECT_EQ(win->Panel18()->text(), made);
    EXPECT_EQ(win->GVSV().RowCount(), 0);
    EXPECT_EQ(win->GV().RowCount(), 0);
    EXPECT_EQ(win->GV3().RowCount(), 0);
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 0"));
    EXPECT_EQ(win->intakePage()->CSound->findText(QStringLiteral("Клингонский")) >= 0, true);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Список\"")), QStringLiteral("1"));
}

TEST_F(Window, NewCatalogNeverOverwritesAFile) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Akira"));
    const QString existing = startDir() + QStringLiteral("/old.vdq");
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    ASSERT_TRUE(startOn(cat));
    for (const QString &name : {QStringLiteral("old"), QStringLiteral("old.vdq")}) {
        dialogs.setNextFileName(startDir() + u'/' + name);
        QTest::mouseClick(win->servicePage()->BNewBase, Qt::LeftButton);
        EXPECT_EQ(dialogs.errors().size(), 1) << name.toStdString();
        dialogs.clear();
        EXPECT_EQ(win->session().path(), cat.path());
        EXPECT_EQ(rememberedCatalogPath(), cat.path());
        EXPECT_EQ(column(win->GVSV(), 0), QStringList{QStringLiteral("Akira")});
    }
    EXPECT_EQ(test::fileBytes(existing), QByteArray("keep me"));
}

TEST_F(Window, TopBarAndPagesHoldTheirControls) {
    TempCatalog cat;
    ASSERT_TRUE(startOn(cat));
    EXPECT_EQ(win->Panel3()->height(), 24);
    EXPECT_EQ(win->EFound()->geometry().left(), 8);
    EXPECT_EQ(win->EFound()->width(), 281);
    EXPECT_EQ(win->BToExl()->geometry().left(), 304);
    EXPECT_EQ(win->BToHtML()->geometry().left(), 392);
    EXPECT_EQ(win->Panel18()->width(), 426);
    EXPECT_EQ(win->Panel18()->geometry().right(), win->Panel3()->width() - 1);
    EXPECT_EQ(win->SBarPanel()->width(), 150);
    EXPECT_EQ(win->servicePage()->BNewBase->toolTip(), QStringLiteral("Создать новый файл Vidoteq"));
    EXPECT_TRUE(win->servicePage()->Panel19->isHidden());
    EXPECT_TRUE(win->intakePage()->PBAdd->isHidden());
    EXPECT_EQ(win->GV3().Column(10).Name(), QStringLiteral("n10"));
}

TEST_F(Window, FitsASmallScreen) {
    TempCatalog cat;
    ASSERT_TRUE(startOn(cat));
    const QSize min = win->minimumSizeHint();
    EXPECT_LE(min.width(), 800) << min.width();
    EXPECT_LE(min.height(), 600) << min.height();
}

// Qt's own buttons and dialogs speak the window's language, whatever the desktop's locale.
TEST_F(Window, QtsOwnTextsAreRussian) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vidoteq"), QStringLiteral("Вы уверены?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const struct {
        QMessageBox::StandardButton button;
        const char *text;
    } cases[] = {{QMessageBox::Yes, "&Да"}, {QMessageBox::No, "&Нет"}, {QMessageBox::Cancel, "Отмена"}};
    for (const auto &c : cases)
        EXPECT_EQ(box.button(c.button)->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Открыть"));
}
