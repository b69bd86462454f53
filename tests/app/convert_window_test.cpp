#include "window_fixture.h"

#include "catalog/messages.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

using namespace vq;
using namespace vq::test;

namespace {

class ConvertWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(m_old.isValid());
        // A name with blanks and Cyrillic, as a Windows user's files have.
        mdb = m_old.filePath(QStringLiteral("Мой каталог.mdb"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VQ_LEGACY_DIR "/small.mdb"), mdb));
        converted = m_old.filePath(QStringLiteral("Мой каталог.vdq"));
        catalog.addTitle(QStringLiteral("Akira"));
        ASSERT_TRUE(startOn(catalog));
        dialogs.clear();
    }

    // The click on the path panel that switches catalogs.
    void clickPathPanel() {
        QTest::mouseClick(win->Panel18(), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    const ScriptedDialogs::Call *call(const QString &kind) const {
        for (const auto &c : dialogs.calls())
            if (c.kind == kind)
                return &c;
        return nullptr;
    }

    void expectStillOnTheOldCatalog() {
        EXPECT_EQ(win->session().path(), catalog.path());
        EXPECT_EQ(win->Panel18()->text(), catalog.path());
        EXPECT_EQ(rememberedCatalogPath(), catalog.path());
        EXPECT_EQ(win->GVSV().RowCount(), 1);
    }

    TempCatalog catalog;
    QString mdb, converted;

private:
    QTemporaryDir m_old;
};

} // namespace

// Choosing an Access catalog asks where to save (beside it, same name, .vdq), converts, reports
// every repair in the closing message and opens the new catalog.
TEST_F(ConvertWindow, AnAccessCatalogIsConvertedThenOpened) {
    const QByteArray before = fileBytes(mdb);
    dialogs.setNextFileName(mdb);
    dialogs.setNextFileName(converted);
    // The conversion lets events through for its progress bar; this one looks for the bar.
    int progressMaximum = 0;
    QTimer::singleShot(0, win.get(), [&] {
        for (auto *p : win->findChildren<QProgressDialog *>())
            if (p->isVisible())
                progressMaximum = p->maximum();
    });
    clickPathPanel();
    EXPECT_GT(progressMaximum, 0);
    EXPECT_TRUE(win->findChildren<QProgressDialog *>().isEmpty());

    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join('\n').toStdString();
    const auto *open = call(QStringLiteral("openFile"));
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->text.contains(QStringLiteral("Каталог Access (*.mdb)"))) << open->text.toStdString();
    const auto *save = call(QStringLiteral("saveFile"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->caption, msg::mdbSaveCaption());
    EXPECT_EQ(save->start, converted);

    const auto *done = call(QStringLiteral("inform"));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->caption, msg::mdbDoneCaption());
    EXPECT_TRUE(done->text.contains(converted));
    for (const QString &line : {msg::mdbRepairOrphans(17, 3, 1, msg::mdbOrphanTitleName(17)),
                                msg::mdbRepairType(0, 1, msg::mdbPlaceholderType(0)),
                                msg::mdbRepairCodec(40, 1, msg::mdbPlaceholderCodec(40))})
        EXPECT_TRUE(done->text.contains(line)) << done->text.toStdString();

    EXPECT_EQ(fileBytes(mdb), before);
    EXPECT_EQ(win->session().path(), converted);
    EXPECT_EQ(win->Panel18()->text(), converted);
    EXPECT_EQ(rememberedCatalogPath(), converted);
    // 31 titles of the old catalog and the one that holds the deleted title's episodes.
    EXPECT_EQ(win->GVSV().RowCount(), 32);
    EXPECT_EQ(win->SBarPanel()->text(), QStringLiteral("Всего: 32"));
}

// Cancelling where to save, a file that cannot be converted (one that makes the reading library loop
// too), and a name that is taken all leave the open catalog open and make no file; the refusals say why.
TEST_F(ConvertWindow, CancelledOrRefusedLeavesTheOpenCatalog) {
    QByteArray loops = fileBytes(mdb);
    loops[97670] = char(loops[97670] ^ (1 << 2));
    const PlainMemoryForWorkers plain;
    openSettings()->setValue(QStringLiteral("Convert/TimeLimit"), QStringLiteral("2"));
    struct Case {
        const char *what;
        QByteArray content; // written over the .mdb first when not empty
        bool taken;         // the target exists already
        bool answerSave;
        QString error; // a part of the error box; empty: no error box
    };
    const std::vector<Case> cases = {
        {"save cancelled", {}, false, false, {}},
        {"not an Access file", "just text", false, true, QStringLiteral("не каталог Access")},
        {"target taken", {}, true, true, QStringLiteral("уже есть")},
        {"damaged", loops, false, true, QStringLiteral("повреждён")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        if (!c.content.isEmpty()) {
            QFile f(mdb);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.content);
        }
        if (c.taken) {
            QFile f(converted);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("mine");
        }
        dialogs.setNextFileName(mdb);
        if (c.answerSave)
            dialogs.setNextFileName(converted);
        clickPathPanel();

        const QStringList errors = dialogs.errors();
        if (c.error.isEmpty()) {
            EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        } else {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_TRUE(errors.first().contains(c.error)) << errors.first().toStdString();
        }
        EXPECT_EQ(dialogs.count(QStringLiteral("inform")), 0);
        if (c.taken)
            EXPECT_EQ(fileBytes(converted), QByteArray("mine"));
        else
            EXPECT_FALSE(QFileInfo::exists(converted));
        expectStillOnTheOldCatalog();
        QFile::remove(converted);
    }
    openSettings()->remove(QStringLiteral("Convert/TimeLimit"));
}
