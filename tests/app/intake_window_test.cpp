#include "window_fixture.h"

#include "catalog/messages.h"
#include "catalog/settings.h"
#include "intake/mediaprobe.h"
#include "intake_handlers.h"
#include "medialib/libraryprobe.h"
#include "page_intake.h"
#include "support/media.h"
#include "support/rawfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTreeView>

#include <cstdio>

using namespace vq;
using namespace vq::test;

namespace {

class IntakeWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(m_files.isValid());
    }

    // Starts on `cat` with page 3 showing.
    void open(TempCatalog &cat) {
        ASSERT_TRUE(startOn(cat));
        win->setActivePage(TView_Base::TabNewA);
        QCoreApplication::processEvents();
        page = win->intakePage();
        h = win->findChild<TIntakeHandlers *>();
        ASSERT_NE(h, nullptr);
    }

    // A folder of its own under the test's temporary folder.
    QString folder(const QString &name) {
        const QString path = QDir(m_files.path()).filePath(name);
        QDir().mkpath(path);
        return path;
    }
    static void touch(const QString &dir, const QString &name, const QByteArray &bytes = {}) {
        QFile f(QDir(dir).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Copies test clips into `dir`; returns the samples as they are named there.
    static QList<MediaSample> copyClips(const QString &dir, std::initializer_list<Sample> which) {
        QList<MediaSample> out;
        for (Sample id : which) {
            MediaSample s = testMedia()[id];
            const QString to = QDir(dir).filePath(s.name);
            EXPECT_TRUE(QFile::copy(s.path, to)) << to.toStdString();
            s.folder = dir;
            s.path = to;
            out << s;
        }
        return out;
    }

    // Waits until `dir`'s row is laid out in the tree's view and stays put, looking the row up again
    // on each try (the model reads folders in the background and may replace an entry).
    // With `scroll` false the window alone must bring the row into view.
    QModelIndex waitShown(const QString &dir, bool scroll = true) {
        QTreeView *tree = page->STV;
        QModelIndex target;
        auto underPointer = [&] {
            target = page->FolderModel->index(dir);
            if (!target.isValid())
                return false;
            if (scroll)
                tree->scrollTo(target);
            QTest::qWait(20);
            const QRect r = tree->visualRect(target);
            return r.isValid() && tree->viewport()->rect().contains(r.center()) &&
                   tree->indexAt(r.center()) == target;
        };
        // Slow under sanitizers and load; a time-out must fail the test here, not later and elsewhere.
        bool shown = false;
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(underPointer(), 15000);
            shown = true;
        }();
        EXPECT_TRUE(shown) << "the folder tree never showed " << dir.toStdString();
        return shown ? target : QModelIndex();
    }
    // Shows `dir` in the tree and clicks it, as the user does.
    void clickFolder(const QString &dir) {
        h->selectFolder(dir);
        const QModelIndex target = waitShown(dir);
        ASSERT_TRUE(target.isValid());
        QTest::mouseClick(page->STV->viewport(), Qt::LeftButton, {}, page->STV->visualRect(target).center());
        QCoreApplication::processEvents();
        ASSERT_EQ(h->selectedFolder(), dir);
    }
    void pressF5() {
        page->STV->setFocus();
        QTest::keyRelease(page->STV, Qt::Key_F5);
        QCoreApplication::processEvents();
    }
    void clickFile(const QString &name) {
        QListWidget *lb = page->LB1;
        const QList<QListWidgetItem *> found = lb->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        lb->scrollToItem(found.first());
        QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(found.first()).center());
        waitForProbe();
    }
    // The probe of a clicked file runs in a worker; the page shows it when the answer comes.
    void waitForProbe() {
        bool done = false;
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(!h->probing(), 30000);
            done = true;
        }();
        ASSERT_TRUE(done) << "the probe never answered";
    }
    // Presses "Добавить всё" and waits for the closing message.
    void addAll() {
        const int before =
            dialogs.count(QStringLiteral("inform")) + dialogs.count(QStringLiteral("showError"));
        QTest::mouseClick(page->BAddAll, Qt::LeftButton);
        bool done = false;
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(
                dialogs.count(QStringLiteral("inform")) + dialogs.count(QStringLiteral("showError")) > before,
                60000);
            done = true;
        }();
        ASSERT_TRUE(done) << "the run never ended";
        EXPECT_FALSE(h->adding());
    }
    QString lastMessage() const { return dialogs.calls().empty() ? QString() : dialogs.calls().back().text; }
    void clickTitle(const QString &title) {
        TGridView &g = win->GV4();
        for (int r = 0; r < g.RowCount(); ++r)
            if (g.GetCellText(1, r) == title) {
                g.MoveToCell(1, r);
                return;
            }
        FAIL() << "no title " << title.toStdString();
    }
    QStringList files() const {
        QStringList out;
        for (int i = 0; i < page->LB1->count(); ++i)
            out << page->LB1->item(i)->text();
        return out;
    }
    QStringList pageTexts() const {
        return {page->EName->text(),   page->ELong->text(),  page->EDSize->text(), page->EWidth->text(),
                page->EHeigth->text(), page->ECodec->text(), page->LRate->text(),  page->LSCount->text()};
    }
    static QStringList texts(const ProbePage &p) {
        return {p.EName, p.ELong, p.EDSize, p.EWidth, p.EHeigth, p.ECodec, p.LRate, p.LSCount};
    }
    // Stored episodes, one "name|title|width|height|size|sound|subIn|subExt" line each, by name.
    static QStringList stored(TempCatalog &cat) {
        const QString rows = cat.scalar(QStringLiteral(
            "SELECT group_concat(line, ';') FROM (SELECT \"Серия\" || '|' || \"Название\" || '|' || "
            "\"Ширина\" || '|' || "
            "\"Высота\" || '|' || CAST(\"Объём (байт)\" AS INTEGER) || '|' || \"Звук\" || '|' || "
            "\"Субтитры встроенные\" || '|' || \"Субтитры внешние\" AS line FROM \"Серии\" ORDER BY "
            "\"Серия\")"));
        return rows.isEmpty() ? QStringList() : rows.split(u';');
    }
    static QString line(const MediaSample &s, qint64 title, int width = -1) {
        return QStringLiteral("%1|%2|%3|%4|%5|0|1|2")
            .arg(s.name)
            .arg(title)
            .arg(width < 0 ? s.width : width)
            .arg(s.height)
            .arg(s.sizeBytes);
    }

    TPageIntake *page = nullptr;
    TIntakeHandlers *h = nullptr;

private:
    QTemporaryDir m_files;
};

TEST_F(IntakeWindow, ScanFollowsTheBoxAndTheTree) {
    TempCatalog cat;
    open(cat);
    const QString dir = folder(QStringLiteral("scan"));
    for (const char *n : {"b.mkv", "a.AVI", "c.txt"})
        touch(dir, QString::fromUtf8(n));
    QDir(dir).mkdir(QStringLiteral("x"));

    EXPECT_TRUE(page->CAvi->isChecked());
    clickFolder(dir);
    EXPECT_EQ(files(), QStringList({"a.AVI", "b.mkv"}));
    const QString startedIn = QDir::currentPath();
    EXPECT_NE(startedIn, dir); // the scan leaves the process's folder alone

    page->CAvi->setChecked(false);
    QTest::mouseClick(page->BSee, Qt::LeftButton);
    EXPECT_EQ(files(), QStringList({"a.AVI", "b.mkv", "c.txt", "x"}));

    // F5 reads the tree again and rescans what is selected.
    touch(dir, QStringLiteral("B2.avi"));
    QFileSystemModel *before = page->FolderModel;
    pressF5();
    EXPECT_NE(page->FolderModel, before);
    EXPECT_EQ(h->selectedFolder(), dir);
    EXPECT_EQ(files(), QStringList({"a.AVI", "b.mkv", "B2.avi", "c.txt", "x"}));

    // An empty folder lists nothing.
    const QString empty = folder(QStringLiteral("empty"));
    pressF5();
    clickFolder(empty);
    EXPECT_EQ(h->selectedFolder(), empty);
    EXPECT_TRUE(files().isEmpty()) << files().join(u' ').toStdString();
    EXPECT_EQ(QDir::currentPath(), startedIn);
    EXPECT_EQ(dialogs.count(QStringLiteral("showError")), 0);
}

// Without file watching (the system's watch limit used up), only F5 can show a folder made since
// the tree was read; F5 must keep the user's place while it reads everything again.
TEST_F(IntakeWindow, F5ShowsNewFoldersAndKeepsTheFolderTreePlace) {
    TPageIntake::setWatchFolders(false);
    struct Restore {
        ~Restore() { TPageIntake::setWatchFolders(true); }
    } restore;
    TempCatalog cat;
    open(cat);
    const QString dir = folder(QStringLiteral("deep/er/scan"));
    QDir(dir).mkdir(QStringLiteral("inner"));
    clickFolder(dir);
    page->STV->expand(page->STV->currentIndex());
    const QString later = folder(QStringLiteral("deep/er/scan/later"));
    touch(later, QStringLiteral("ep01.mkv"));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        QFileSystemModel *before = page->FolderModel;
        pressF5();
        ASSERT_NE(page->FolderModel, before);
        EXPECT_EQ(page->FolderModel->iconProvider(), before->iconProvider());
        EXPECT_EQ(page->FolderModel->filter(), before->filter());
        EXPECT_EQ(page->FolderModel->rootPath(), QStringLiteral("/"));
        EXPECT_TRUE(page->FolderModel->testOption(QFileSystemModel::DontWatchForChanges));
        EXPECT_EQ(h->selectedFolder(), dir);
        const QModelIndex current = waitShown(dir, false);
        ASSERT_TRUE(current.isValid());
        EXPECT_EQ(page->STV->currentIndex(), current);
        EXPECT_TRUE(page->STV->isExpanded(current));
    }
    clickFolder(later);
    EXPECT_EQ(files(), QStringList({"ep01.mkv"}));
}

// The home folder starts expanded and in view, its parents open above it.
TEST_F(IntakeWindow, TheHomeFolderIsExpandedAndVisibleAtStart) {
    const QString home = folder(QStringLiteral("home/collector"));
    QDir(home).mkdir(QStringLiteral("Anime"));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    struct Restore {
        QByteArray home;
        ~Restore() { qputenv("HOME", home); }
    } restore{oldHome};
    TempCatalog cat;
    open(cat);
    const QModelIndex index = waitShown(home, false);
    ASSERT_TRUE(index.isValid());
    EXPECT_TRUE(page->STV->isExpanded(index));
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        EXPECT_TRUE(page->STV->isExpanded(up)) << page->FolderModel->filePath(up).toStdString();
    EXPECT_TRUE(h->selectedFolder().isEmpty());
}

TEST_F(IntakeWindow, ClickProbesTheFileIntoTheRecordAndThePage) {
    TempCatalog cat;
    open(cat);
    const QString dir = folder(QStringLiteral("probe"));
    const QList<MediaSample> clips = copyClips(dir, {Sample::Mp4, Sample::Avi, Sample::NoVideo});
    QDir(dir).mkdir(QStringLiteral("zero.avi")); // listed, but the library cannot size a folder
    clickFolder(dir);
    ASSERT_EQ(files().size(), 4);

    for (const MediaSample &s : clips) {
        SCOPED_TRACE(s.name.toStdString());
        clickFile(s.name);
        TVVF expected;
        ProbePage expectedPage;
        OpenAVI(s.name, expected, expectedPage, dir);
        expected.TitleId = win->CurrentEpisode().TitleId;
        // The record knows where the file is, for the location it is stored with.
        expected.SourcePath = QFile::encodeName(QDir(dir).filePath(s.name));
        EXPECT_EQ(win->CurrentEpisode(), expected);
        EXPECT_EQ(pageTexts(), texts(expectedPage));
        EXPECT_EQ(win->CurrentEpisode().Width, s.width);
        EXPECT_EQ(win->CurrentEpisode().SizeBytes, s.sizeBytes);
        EXPECT_EQ(page->ECodec->text(), s.videoCodec + QStringLiteral(" || ") + s.audioCodec);
    }

    // A folder with a video name: one error naming it, and the page and record still describe the last file.
    const QStringList shown = pageTexts();
    const TVVF before = win->CurrentEpisode();
    clickFile(QStringLiteral("zero.avi"));
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(dialogs.errors().first(), msg::probeIsAFolder(QStringLiteral("zero.avi")));
    EXPECT_EQ(pageTexts(), shown);
    EXPECT_EQ(win->CurrentEpisode(), before);
}

TEST_F(IntakeWindow, NewTitleFromTheEditAbovePlaceholderRules) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Alpha"));
    cat.addTitle(QStringLiteral("Omega"));
    open(cat);
    QLineEdit *e = page->ENewAni;
    const QString placeholder = QStringLiteral("...Добавить новое аниме...");
    EXPECT_EQ(e->text(), placeholder);

    // Focus empties the placeholder; leaving empty brings it back; leaving with text keeps it.
    e->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(e->text(), QString());
    page->LB1->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(e->text(), placeholder);
    e->setFocus();
    QTest::keyClicks(e, QStringLiteral("draft"));
    page->LB1->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(e->text(), QStringLiteral("draft"));

    // Enter on an empty or blank name makes nothing.
    for (const QString &blank : {QString(), QStringLiteral("   ")}) {
        e->setFocus();
        e->setText(blank);
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Список\"")), QStringLiteral("2"));
    }

    e->setText(QStringLiteral("Mid's 100%"));
    QTest::keyClick(e, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(
        cat.scalar(QStringLiteral("SELECT \"NType\" FROM \"Список\" WHERE \"Название\" = 'Mid''s 100%'")),
        QStringLiteral("4"));
    // The focus stays in the edit: empty for the next name, the placeholder once it is left.
    EXPECT_EQ(e->text(), QString());
    const QStringList expected = {"Alpha", "Mid's 100%", "Omega"};
    EXPECT_EQ(column(win->GV4(), 1), expected);
    EXPECT_EQ(column(win->GV(), 1), expected);
    EXPECT_EQ(win->GV4().CurrentRow(), 1);
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Mid's 100%"));
    EXPECT_EQ(QString::number(win->CurrentEpisode().TitleId),
              cat.scalar(QStringLiteral("SELECT \"ID\" FROM \"Список\" WHERE \"NType\" = 4")));
    EXPECT_EQ(dialogs.count(QStringLiteral("showError")), 0);
    page->LB1->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(e->text(), placeholder);
}

TEST_F(IntakeWindow, AddAllStoresEveryFileShownFirstFileAsShown) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Alpha"));
    const qint64 beta = cat.addTitle(QStringLiteral("Beta"));
    open(cat);
    const QString dir = folder(QStringLiteral("three"));
    const QList<MediaSample> clips = copyClips(dir, {Sample::Mkv, Sample::Avi, Sample::Mpg});
    clickFolder(dir);
    const QStringList listed = files();
    ASSERT_EQ(listed.size(), 3);
    clickTitle(QStringLiteral("Beta"));
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Beta"));
    EXPECT_EQ(win->CurrentEpisode().TitleId, beta);
    EXPECT_EQ(win->GV().CurrentRow(), 1);

    // The first listed file is shown, with a typed width the unchecked box takes.
    clickFile(listed.first());
    page->CAvi->setChecked(false);
    page->EWidth->setText(QStringLiteral("720"));
    addAll();

    EXPECT_EQ(dialogs.count(QStringLiteral("showError")), 0) << dialogs.errors().join(u'\n').toStdString();
    EXPECT_EQ(lastMessage(), msg::intakeRunStored(3, 3));
    EXPECT_EQ(h->progressSeen(), QList<int>({0, 1, 2}));
    EXPECT_FALSE(page->PBAdd->isVisible());
    QStringList expected;
    for (const MediaSample &s : clips)
        expected << line(s, beta, s.name == listed.first() ? 720 : -1);
    expected.sort();
    EXPECT_EQ(stored(cat), expected);
    EXPECT_EQ(win->DBGrid1().RowCount(), 3);
    EXPECT_EQ(page->EName->text(), listed.last());
}

TEST_F(IntakeWindow, AddTakesTheTypedFrameSizeOnlyWithTheBoxUnchecked) {
    struct Case {
        bool box;
        int storedWidth; // -1: the probed one
    } const cases[] = {{true, -1}, {false, 720}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.box);
        TempCatalog cat;
        const qint64 id = cat.addTitle(QStringLiteral("Alpha"));
        open(cat);
        const QString dir = folder(QStringLiteral("one%1").arg(c.box));
        const MediaSample clip = copyClips(dir, {Sample::Mp4}).first();
        clickFolder(dir);
        clickTitle(QStringLiteral("Alpha"));
        clickFile(clip.name);
        page->CAvi->setChecked(c.box);
        page->EWidth->setText(QStringLiteral("720"));
        QTest::mouseClick(page->BAdd, Qt::LeftButton);
        EXPECT_EQ(stored(cat), QStringList{line(clip, id, c.storedWidth)});
        EXPECT_EQ(win->DBGrid1().RowCount(), 1);
        closeWindow();
    }
}

TEST_F(IntakeWindow, NoTitleSaysSoAndNoFileAddsNothing) {
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    const QString dir = folder(QStringLiteral("some"));
    const MediaSample clip = copyClips(dir, {Sample::Mkv}).first();
    clickFolder(dir);

    auto pressBoth = [&] {
        QTest::mouseClick(page->BAdd, Qt::LeftButton);
        QTest::mouseClick(page->BAddAll, Qt::LeftButton);
    };
    clickFile(clip.name); // a file but no title
    pressBoth();
    EXPECT_TRUE(stored(cat).isEmpty());
    EXPECT_EQ(dialogs.errors(), QStringList(2, msg::intakeNoTitleChosen()));
    dialogs.clear();

    closeWindow();
    open(cat);
    clickTitle(QStringLiteral("Alpha")); // a title but no file
    h->selectFolder(dir);
    h->See();
    ASSERT_EQ(files().size(), 1);
    pressBoth();
    EXPECT_TRUE(stored(cat).isEmpty());
    EXPECT_FALSE(page->PBAdd->isVisible());
    // "Добавить всё" says what it needs instead of doing nothing in silence.
    EXPECT_EQ(dialogs.errors(), QStringList{msg::addAllNeedsFiles()});
}

TEST_F(IntakeWindow, AddAllGoesPastWhatItCannotStoreAndListsTheReasons) {
    TempCatalog cat;
    const qint64 id = cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    const QString dir = folder(QStringLiteral("broken"));
    const QList<MediaSample> clips = copyClips(dir, {Sample::Mkv, Sample::Mp4});
    QDir(dir).mkdir(QStringLiteral("a sub.avi")); // listed first, and no file
    touch(dir, QStringLiteral("gone.mkv"));
    clickFolder(dir);
    clickTitle(QStringLiteral("Alpha"));
    clickFile(clips[0].name);
    QFile::remove(QDir(dir).filePath(QStringLiteral("gone.mkv"))); // vanishes after the scan
    addAll();

    QStringList expected = {line(clips[0], id), line(clips[1], id)};
    expected.sort();
    EXPECT_EQ(stored(cat), expected);
    ASSERT_EQ(dialogs.errors().size(), 1);
    const QString report = dialogs.errors().first();
    EXPECT_TRUE(report.startsWith(msg::intakeRunStored(2, 4))) << report.toStdString();
    EXPECT_TRUE(report.contains(msg::probeIsAFolder(QStringLiteral("a sub.avi")))) << report.toStdString();
    EXPECT_TRUE(report.contains(msg::probeNoSuchFile(QStringLiteral("gone.mkv")))) << report.toStdString();
    EXPECT_FALSE(page->PBAdd->isVisible());
    EXPECT_FALSE(page->BCancel->isVisible());
    EXPECT_EQ(win->DBGrid1().RowCount(), 2);
    // "Добавить" afterwards stores what the page shows, not the unreadable file.
    EXPECT_EQ(win->CurrentEpisode().FileName, page->EName->text());
}

TEST_F(IntakeWindow, ASameNamedFirstFileOfAnotherFolderIsProbedForItself) {
    TempCatalog cat;
    const qint64 id = cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    const QString one = folder(QStringLiteral("one")), two = folder(QStringLiteral("two"));
    const MediaSample shown = copyClips(one, {Sample::Mkv}).first();
    // The same name in the other folder, with other content.
    MediaSample other = testMedia()[Sample::Mov];
    ASSERT_TRUE(QFile::copy(other.path, QDir(two).filePath(shown.name)));
    other.name = shown.name;
    clickFolder(one);
    clickTitle(QStringLiteral("Alpha"));
    clickFile(shown.name);
    clickFolder(two);
    addAll();
    EXPECT_EQ(stored(cat), QStringList{line(other, id)});
}

TEST_F(IntakeWindow, AFolderAddedTwiceAddsNothingUnlessAsked) {
    TempCatalog cat;
    const qint64 id = cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    const QString dir = folder(QStringLiteral("twice"));
    const QList<MediaSample> clips = copyClips(dir, {Sample::Mkv, Sample::Avi});
    clickFolder(dir);
    clickTitle(QStringLiteral("Alpha"));
    clickFile(clips[0].name);
    addAll();
    ASSERT_EQ(stored(cat).size(), 2);
    addAll();
    EXPECT_EQ(stored(cat).size(), 2);
    EXPECT_EQ(dialogs.count(QStringLiteral("showError")), 0);
    EXPECT_TRUE(lastMessage().contains(msg::intakeRunSkippedTwice(2))) << lastMessage().toStdString();
    EXPECT_TRUE(lastMessage().startsWith(msg::intakeRunStored(0, 2)));
    page->CAgain->setChecked(true);
    addAll();
    EXPECT_EQ(stored(cat).size(), 4);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT group_concat(DISTINCT \"Название\") FROM \"Серии\"")),
              QString::number(id));
}

TEST_F(IntakeWindow, SubfoldersAndNamesThatAreNotUtf8) {
    TempCatalog cat;
    const qint64 id = cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    const QString dir = folder(QStringLiteral("tree"));
    const MediaSample top = copyClips(dir, {Sample::Mkv}).first();
    QDir(dir).mkdir(QStringLiteral("Season 2"));
    const MediaSample inner =
        copyClips(QDir(dir).filePath(QStringLiteral("Season 2")), {Sample::Mp4}).first();
    // A name from an old disc that is not UTF-8: read as Windows-1251.
    const QByteArray raw = QFile::encodeName(dir) + "/caf\xE9.avi";
    const RawFileGuard gone(raw);
    {
        QFile in(testMedia()[Sample::Avi].path);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        FILE *out = std::fopen(raw.constData(), "wb");
        ASSERT_NE(out, nullptr);
        const QByteArray bytes = in.readAll();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
        std::fclose(out);
    }
    const QString odd = QStringLiteral("cafй.avi");

    page->CSubFolders->setChecked(true);
    clickFolder(dir);
    EXPECT_EQ(files(), (QStringList{odd, top.name, QStringLiteral("Season 2/") + inner.name}));
    clickTitle(QStringLiteral("Alpha"));
    clickFile(odd);
    EXPECT_EQ(page->EName->text(), odd);
    EXPECT_EQ(win->CurrentEpisode().SizeBytes, testMedia()[Sample::Avi].sizeBytes);
    addAll();
    MediaSample avi = testMedia()[Sample::Avi];
    avi.name = odd;
    QStringList expected = {line(avi, id), line(top, id), line(inner, id)};
    expected.sort();
    EXPECT_EQ(stored(cat), expected);
    EXPECT_EQ(dialogs.count(QStringLiteral("showError")), 0) << dialogs.errors().join(u'\n').toStdString();
}

TEST_F(IntakeWindow, CancelKeepsWhatWasStoredAndAHangingClickEndsInAMessage) {
    // The test double of the probe program: "slow" files take half a second, "hang" ones never end.
    qputenv("VIDOTEQ_PROBE",
            QFile::encodeName(
                QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double"))));
    openSettings()->setValue(QStringLiteral("Intake/ProbeTimeLimit"), QStringLiteral("1"));
    struct Restore {
        ~Restore() {
            qunsetenv("VIDOTEQ_PROBE");
            openSettings()->remove(QStringLiteral("Intake/ProbeTimeLimit"));
        }
    } restore;
    TempCatalog cat;
    cat.addTitle(QStringLiteral("Alpha"));
    open(cat);
    const QString dir = folder(QStringLiteral("slow"));
    for (int i = 1; i <= 8; ++i)
        ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path,
                                QDir(dir).filePath(QStringLiteral("slow %1.mkv").arg(i))));
    ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, QDir(dir).filePath(QStringLiteral("z hang.mkv"))));
    clickFolder(dir);
    clickTitle(QStringLiteral("Alpha"));

    // A click on a file that hangs the library: the window answers, and after the time limit says so.
    QElapsedTimer t;
    t.start();
    clickFile(QStringLiteral("z hang.mkv"));
    EXPECT_GE(t.elapsed(), 900);
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(dialogs.errors().first(), msg::probeTimeLimit(QStringLiteral("z hang.mkv"), 1));

    clickFile(QStringLiteral("slow 1.mkv"));
    ASSERT_EQ(page->EName->text(), QStringLiteral("slow 1.mkv"));
    QTest::mouseClick(page->BAddAll, Qt::LeftButton);
    EXPECT_TRUE(page->BCancel->isVisible());
    EXPECT_TRUE(page->PBAdd->isVisible());
    EXPECT_FALSE(page->BAddAll->isEnabled());
    // Wait for a stored file beyond the shown one, then cancel.
    QTRY_VERIFY_WITH_TIMEOUT(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\"")).toInt() >= 2,
                             20000);
    QTest::mouseClick(page->BCancel, Qt::LeftButton);
    EXPECT_FALSE(h->adding());
    const int kept = cat.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\"")).toInt();
    EXPECT_LT(kept, 9);
    QTRY_VERIFY_WITH_TIMEOUT(dialogs.count(QStringLiteral("inform")) == 1, 5000);
    EXPECT_TRUE(lastMessage().contains(msg::intakeRunCancelled())) << lastMessage().toStdString();
    EXPECT_TRUE(lastMessage().startsWith(msg::intakeRunStored(kept, 9)));
    QTest::qWait(1200); // nothing is stored after the cancel
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\"")).toInt(), kept);
    EXPECT_FALSE(page->BCancel->isVisible());
    EXPECT_TRUE(page->BAddAll->isEnabled());
}

TEST_F(IntakeWindow, TitleListKeys) {
    TempCatalog cat;
    for (const char *t : {"Alpha", "Bravo", "Beta", "Delta", "Echo"})
        cat.addTitle(QString::fromUtf8(t));
    open(cat);
    TGridView &g = win->GV4();
    clickTitle(QStringLiteral("Alpha"));

    // Letters step through the titles that begin with them.
    key(&g, Qt::Key_B);
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Beta"));
    key(&g, Qt::Key_B);
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(win->GV().CurrentRow(), 2);

    // F2 opens the name for editing until another title is chosen.
    key(&g, Qt::Key_F2);
    EXPECT_TRUE(g.Column(1).HasOption(coEditing));
    g.CancelEdit();
    clickTitle(QStringLiteral("Delta"));
    EXPECT_FALSE(g.Column(1).HasOption(coEditing));

    // Delete asks; No keeps the title, Yes removes it and focuses the row that moved up.
    dialogs.setNextAnswer(Answer::No);
    key(&g, Qt::Key_Delete);
    ASSERT_EQ(dialogs.count(QStringLiteral("askYesNo")), 1);
    EXPECT_EQ(dialogs.calls().back().caption, QStringLiteral("Вы уверены?"));
    EXPECT_EQ(dialogs.calls().back().text, QStringLiteral("Удалить Delta ?"));
    EXPECT_EQ(column(g, 1).size(), 5);
    clickTitle(QStringLiteral("Beta"));
    dialogs.setNextAnswer(Answer::Yes);
    key(&g, Qt::Key_Delete);
    EXPECT_EQ(column(g, 1), QStringList({"Alpha", "Bravo", "Delta", "Echo"}));
    EXPECT_EQ(g.CurrentRow(), 1);
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Bravo"));
    // The second-to-last title: the one above it becomes current.
    clickTitle(QStringLiteral("Delta"));
    dialogs.setNextAnswer(Answer::Yes);
    key(&g, Qt::Key_Delete);
    EXPECT_EQ(column(g, 1), QStringList({"Alpha", "Bravo", "Echo"}));
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(dialogs.count(QStringLiteral("showError")), 0);
}

} // namespace

// A scanned folder's names propose a title: a match is chosen (the files still wait for "Добавить
// всё"), else the name waits in the new-title box; picking another title offers the name as one of
// its other names, once.
TEST_F(IntakeWindow, TheFolderProposesATitle) {
    TempCatalog cat;
    const qint64 steins = cat.addTitle(QStringLiteral("Steins;Gate 0"));
    const qint64 beta = cat.addTitle(QStringLiteral("Beta"));
    open(cat);
    const QString known = folder(QStringLiteral("known"));
    touch(known, QStringLiteral("[Grp] STEINS GATE 0 - 01 [1080p].mkv"));
    clickFolder(known);
    EXPECT_EQ(win->intakeSession().chosenTitle(), steins);
    EXPECT_EQ(page->ESname->text(), QStringLiteral("Steins;Gate 0"));
    EXPECT_EQ(win->GV4().GetCellText(0, win->GV4().CurrentRow()).toLongLong(), steins);
    EXPECT_EQ(cat.scalar(QStringLiteral("SELECT count(*) FROM \"Серии\"")), QStringLiteral("0"));

    const QString fresh = folder(QStringLiteral("fresh"));
    touch(fresh, QStringLiteral("[Grp] Brand New Show - 01.mkv"));
    clickFolder(fresh);
    EXPECT_EQ(page->ENewAni->text(), QStringLiteral("Brand New Show"));
    dialogs.setNextAnswer(Answer::Yes);
    clickTitle(QStringLiteral("Beta"));
    EXPECT_EQ(lastMessage(), msg::otherNameOffer(QStringLiteral("Brand New Show"), QStringLiteral("Beta")));
    EXPECT_EQ(cat.scalar(
                  QStringLiteral("SELECT group_concat(\"Название_id\" || ':' || \"Альтернативное Название\") "
                                 "FROM \"Alt_Ani_Name\"")),
              QStringLiteral("%1:Brand New Show").arg(beta));
    // Asked once a scan: another pick asks nothing more.
    const size_t asked = dialogs.calls().size();
    clickTitle(QStringLiteral("Steins;Gate 0"));
    EXPECT_EQ(dialogs.calls().size(), asked);
}
