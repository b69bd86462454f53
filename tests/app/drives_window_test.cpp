// Files on a real drive through the window: a folder attached to an old title, the episode played,
// the drive unplugged and checked, plugged in elsewhere, a file deleted and the missing one removed.
#include "window_fixture.h"

#include "catalog/messages.h"
#include "drives_handlers.h"
#include "filter_bar.h"
#include "hash_handlers.h"
#include "page_drives.h"
#include "page_summary.h"
#include "page_titles.h"
#include "places/mounts.h"
#include "support/loopfs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace vq;
using namespace vq::test;

namespace {

class DrivesWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (const QString why = LoopVolume::whyNot(QStringLiteral("ext4")); !why.isEmpty())
            GTEST_SKIP() << why.toStdString();
        try {
            drive = std::make_unique<LoopVolume>(QStringLiteral("ext4"), QStringLiteral("SHELF"));
            drive->plugIn();
        } catch (const std::runtime_error &e) {
            GTEST_SKIP() << "no drive can be made here: " << e.what();
        }
        QDir().mkpath(drive->mountPoint() + QStringLiteral("/Show"));
        for (const char *n : {"e1.mkv", "e2.mkv"}) {
            QFile f(drive->mountPoint() + QStringLiteral("/Show/") + QLatin1String(n));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(100, 'x'));
        }
        show = cat.addTitle(QStringLiteral("Show"));
        for (const char *n : {"e1.mkv", "e2.mkv"})
            cat.addEpisode(show, {.name = QLatin1String(n), .size = 100.0});
    }
    void TearDown() override {
        WindowTest::TearDown();
        places::Mounts::forget();
    }

    TPageTitles &page() { return *win->titlesPage(); }
    TPageDrives &drives() { return *win->drivesPage(); }
    QString place() { return page().LPlace->text(); }
    Step clickTitle() {
        return {"click the title", [this] {
                    win->setActivePage(TView_Base::TOsn);
                    QTest::mouseClick(win->GV().viewport(), Qt::LeftButton, {}, rowCenter(win->GV(), 0, 1));
                }};
    }
    Step enterOn(int row, QString error = {}) {
        return {"Enter on an episode",
                [this, row] {
                    win->DBGrid2().SetCurrentRow(row);
                    key(&win->DBGrid2(), Qt::Key_Return);
                },
                error};
    }
    Step check() {
        return {"check the files", [this] {
                    places::Mounts::forget();
                    QTest::mouseClick(drives().BCheck, Qt::LeftButton);
                    QTRY_VERIFY_WITH_TIMEOUT(!win->drives().checking(), 10000);
                    QCoreApplication::processEvents();
                }};
    }

    TempCatalog cat;
    std::unique_ptr<LoopVolume> drive;
    qint64 show = 0;
};

} // namespace

TEST_F(DrivesWindow, AttachPlayUnplugCheckAndRemoveMissing) {
    ASSERT_TRUE(startOn(cat));
    run({clickTitle()});
    EXPECT_EQ(place(), msg::placeUnknown());

    run({{"attach the folder", [this] {
              dialogs.setNextFileName(drive->mountPoint() + QStringLiteral("/Show"));
              QTest::mouseClick(page().BAttachFolder, Qt::LeftButton);
          }}});
    EXPECT_TRUE(place().startsWith(QStringLiteral("Диск «SHELF» (подключён), папка /Show: на месте")))
        << place().toStdString();
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Location\"")), QStringLiteral("2"));

    run({enterOn(1)});
    ASSERT_EQ(dialogs.count(QStringLiteral("openUrl")), 1);
    EXPECT_EQ(dialogs.calls().back().text,
              QUrl::fromLocalFile(drive->mountPoint() + QStringLiteral("/Show/e2.mkv")).toString());

    win->setActivePage(TView_Base::TabDrives);
    ASSERT_EQ(drives().GDrives->rowCount(), 1);
    EXPECT_EQ(drives().GDrives->item(0, TPageDrives::cState)->text(), msg::placeOnline());

    // Unplugged: the episodes stay, the check says offline, and playing names the drive.
    drive->unplug();
    run({check()});
    EXPECT_EQ(drives().LStatus->text(), msg::checkSummary(0, 0, 0, 0, 2));
    EXPECT_EQ(drives().GDrives->item(0, TPageDrives::cState)->text(), msg::placeOffline());
    EXPECT_EQ(win->DBGrid2().RowCount(), 2);
    run({enterOn(0, msg::driveNotConnected(QStringLiteral("SHELF")))});

    // Elsewhere, with one file gone: found by its identity, the gone one missing and then removed.
    drive->plugIn();
    ASSERT_TRUE(QFile::remove(drive->mountPoint() + QStringLiteral("/Show/e1.mkv")));
    run({check()});
    EXPECT_EQ(drives().LStatus->text(), msg::checkSummary(1, 0, 1, 0, 0));
    run({{"remove the missing", [this] {
              dialogs.setNextAnswer(Answer::Yes);
              QTest::mouseClick(drives().BRemoveMissing, Qt::LeftButton);
          }}});
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT group_concat(\"Серия\") FROM \"Серии\"")),
              QStringLiteral("e2.mkv"));
    EXPECT_EQ(column(win->DBGrid2(), 0), QStringList{QStringLiteral("e2.mkv")});
    run({enterOn(0)});
    EXPECT_EQ(dialogs.calls().back().text,
              QUrl::fromLocalFile(drive->mountPoint() + QStringLiteral("/Show/e2.mkv")).toString());

    // Started again on the drives page: the list is there at once.
    closeWindow();
    ASSERT_TRUE(startOn(cat));
    ASSERT_EQ(win->ActivePage(), TView_Base::TabDrives);
    EXPECT_EQ(drives().GDrives->rowCount(), 1);
}

TEST_F(DrivesWindow, DigestsReadInTheBackgroundShowCopiesAndEqualFiles) {
    ASSERT_TRUE(startOn(cat));
    run({clickTitle(), {"attach the folder", [this] {
                            dialogs.setNextFileName(drive->mountPoint() + QStringLiteral("/Show"));
                            QTest::mouseClick(page().BAttachFolder, Qt::LeftButton);
                        }}});
    // Both files hold the same bytes: each episode is there twice once the queue has read them.
    QTRY_COMPARE_WITH_TIMEOUT(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Location_hash\"")),
                              QStringLiteral("2"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!win->hashes().running(), 10000);
    run({enterOn(0)});
    EXPECT_TRUE(place().endsWith(msg::episodeCopies(2))) << place().toStdString();

    run({{"only titles stored twice", [this] {
              win->setActivePage(TView_Base::Tns);
              QTest::mouseClick(win->summaryPage()->FilterBar->CBDuplicates, Qt::LeftButton);
          }}});
    EXPECT_EQ(column(win->GV(), 1), QStringList{QStringLiteral("Show")});

    win->setActivePage(TView_Base::TabDrives);
    run({{"equal files", [this] { QTest::mouseClick(drives().BDuplicates, Qt::LeftButton); }}});
    ASSERT_EQ(drives().TReport->topLevelItemCount(), 1);
    EXPECT_EQ(drives().TReport->topLevelItem(0)->childCount(), 2);
    run({{"read every file again", [this] { QTest::mouseClick(drives().BRecheck, Qt::LeftButton); }}});
    QTRY_VERIFY_WITH_TIMEOUT(!win->hashes().running(), 10000);
    EXPECT_EQ(drives().LStatus->text(), msg::verifySummary(0, 0, 0, 0, 0));
}
