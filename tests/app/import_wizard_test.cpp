#include "app/window_fixture.h"
#include "catalog/messages.h"
#include "page_service.h"
#include "tfmastera.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace vq;

namespace {

// The wizard on a real main window over a temporary catalog (see WindowTest).
class ImportWizardTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_cat.addTitle(QStringLiteral("Existing"));
        ASSERT_TRUE(startOn(m_cat));
        m_wizard = std::make_unique<TFMasterA>(*win);
    }
    void TearDown() override {
        m_wizard.reset();
        WindowTest::TearDown();
    }

    QString writeList(const QByteArray &bytes, const QString &name = QStringLiteral("list.txt")) {
        const QString path = QDir(m_cat.dir()).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }
    void open(const QString &path) {
        dialogs.setNextFileName(path);
        click(m_wizard->BOpen);
    }
    void click(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    // The titles of a catalog file in the order they were added.
    static QString titlesOf(const QString &catalog) {
        CatalogSession s;
        s.open(catalog);
        QStringList names;
        s.Name.setSort(QString());
        for (int r = 1; r <= s.Name.recordCount(); ++r) {
            s.Name.setRecNo(r);
            names << s.Name.asString(QStringLiteral("Название"));
        }
        return names.join(u',');
    }

    test::TempCatalog m_cat;
    std::unique_ptr<TFMasterA> m_wizard;
};

QStringList checked(const TFMasterA &w) {
    QStringList out;
    for (int i = 0; i < w.CLB->count(); ++i)
        if (w.CLB->item(i)->checkState() == Qt::Checked)
            out << QString::number(i);
    return out;
}

} // namespace

TEST_F(ImportWizardTest, CreationAndCheckRule) {
    TFMasterA &w = *m_wizard;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Мастер импорта списка"));
    EXPECT_TRUE(w.isModal());
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.BOpen->text(), QStringLiteral("Открыть"));
    EXPECT_EQ(w.BUpdate->text(), QStringLiteral("Обновить"));
    EXPECT_EQ(w.BToBase->text(), QStringLiteral("To Base"));
    ASSERT_EQ(w.CLB->count(), 5);
    EXPECT_EQ(w.CLB->item(3)->text(), QStringLiteral("Тип и Серии (если в одном поле)"));
    EXPECT_EQ(checked(w), (QStringList{"0", "1", "2", "4"}));
    EXPECT_TRUE(w.PBar->isHidden());
    EXPECT_EQ(w.PBar->orientation(), Qt::Vertical);

    w.CLB->item(3)->setCheckState(Qt::Checked);
    EXPECT_EQ(checked(w), (QStringList{"0", "3", "4"}));
    w.CLB->item(1)->setCheckState(Qt::Checked); // undone at once
    EXPECT_EQ(checked(w), (QStringList{"0", "3", "4"}));
    w.CLB->item(3)->setCheckState(Qt::Unchecked);
    w.CLB->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(checked(w), (QStringList{"0", "2", "4"}));
}

TEST_F(ImportWizardTest, EveryFieldItemShowsWhole) {
    TFMasterA &w = *m_wizard;
    w.show();
    QCoreApplication::processEvents();
    QListWidget *list = w.CLB;
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
    const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        SCOPED_TRACE(item->text().toStdString());
        EXPECT_LE(indicator + list->fontMetrics().horizontalAdvance(item->text()), list->viewport()->width());
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(item)));
    }
    // The preview keeps the room it had.
    EXPECT_GE(w.GV->width(), TFMasterA::FixedWidth - TFMasterA::LeftWidth - 60);
}

TEST_F(ImportWizardTest, OpenDialogAndFailedOpen) {
    TFMasterA &w = *m_wizard;
    open(writeList("A\tTV\t12\r\n\r\nB\tOVA\r\n"));
    ASSERT_EQ(dialogs.count(QStringLiteral("openFile")), 1);
    const auto &call = dialogs.calls().back();
    EXPECT_EQ(call.caption, QStringLiteral("Выберите файл для импорта"));
    EXPECT_TRUE(call.text.contains(QStringLiteral("*.txt")));
    EXPECT_EQ(call.text.count(QStringLiteral(";;")), 1); // two filters
    EXPECT_EQ(w.lines(), (QStringList{"A\tTV\t12", "", "B\tOVA"}));

    // Cancelled, then unreadable: the lines stay.
    click(w.BOpen);
    open(QDir(m_cat.dir()).filePath(QStringLiteral("missing.txt")));
    EXPECT_EQ(w.lines().size(), 3);
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains(QStringLiteral("missing.txt")));
    EXPECT_TRUE(TFMasterA::ImportFileName.endsWith(QStringLiteral("list.txt")));
}

TEST_F(ImportWizardTest, UpdateTwiceThenYes) {
    TFMasterA &w = *m_wizard;
    open(writeList("A\tTV\t12\nB\tOVA\n"));
    click(w.BUpdate);
    click(w.BUpdate);
    EXPECT_EQ(w.GV->RowCount(), 2);
    EXPECT_EQ(w.GV->ColumnCount(), 4);
    EXPECT_EQ(w.GV->Column(0).Width(), win->GVSV().Column(0).Width());
    EXPECT_EQ(w.GV->GetCellText(2, 1), QString());

    dialogs.setNextAnswer(Answer::Yes);
    click(w.BToBase);
    ASSERT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(u'\n').toStdString();
    const auto &ask = dialogs.calls().back();
    EXPECT_EQ(ask.kind, QStringLiteral("askYesNoCancel"));
    EXPECT_EQ(ask.text, QStringLiteral("Добавить в текущею базу?"));
    EXPECT_TRUE(ask.caption.isEmpty());
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing,A,B"));
    EXPECT_TRUE(w.PBar->isHidden());
    // The main window was refreshed: its summary lists the new titles.
    EXPECT_EQ(win->GVSV().RowCount(), 3);
}

TEST_F(ImportWizardTest, CancelAndEmptyListWriteNothing) {
    TFMasterA &w = *m_wizard;
    open(writeList(""));
    click(w.BUpdate);
    click(w.BToBase);
    EXPECT_EQ(dialogs.count(QStringLiteral("askYesNoCancel")), 0); // nothing to ask about

    open(writeList("A\tTV\t1\n"));
    click(w.BUpdate);
    dialogs.setNextAnswer(Answer::Cancel);
    click(w.BToBase);
    EXPECT_EQ(dialogs.count(QStringLiteral("askYesNoCancel")), 1);
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing"));
}

TEST_F(ImportWizardTest, NoMakesANewCatalogFirst) {
    TFMasterA &w = *m_wizard;
    open(writeList("X\tMovie\tnote\n"));
    w.CLB->item(3)->setCheckState(Qt::Checked);
    click(w.BUpdate);

    // Declining the open catalog and then cancelling the new one imports nothing anywhere.
    dialogs.setNextAnswer(Answer::No); // and the save dialog of the new catalog is cancelled
    click(w.BToBase);
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing"));
    EXPECT_EQ(win->session().path(), m_cat.path());

    // A name that is taken fails the new catalog: still nothing imported.
    QFile::copy(m_cat.path(), QDir(startDir()).filePath(QStringLiteral("taken.vdq")));
    dialogs.setNextAnswer(Answer::No);
    dialogs.setNextFileName(QDir(startDir()).filePath(QStringLiteral("taken.vdq")));
    click(w.BToBase);
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing"));

    dialogs.setNextAnswer(Answer::No);
    dialogs.setNextFileName(QDir(startDir()).filePath(QStringLiteral("2006")));
    click(w.BToBase);
    const QString made = QDir(startDir()).filePath(QStringLiteral("2006.vdq"));
    ASSERT_EQ(win->session().path(), made) << dialogs.errors().join(u'\n').toStdString();
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing"));
    CatalogSession s;
    s.open(made);
    ASSERT_EQ(s.Name.recordCount(), 1);
    s.Name.first();
    EXPECT_EQ(s.Name.asString(QStringLiteral("Название")), QStringLiteral("X"));
    EXPECT_EQ(s.Name.asInteger(QStringLiteral("NType")), 2);
    EXPECT_EQ(s.Name.asString(QStringLiteral("Количество серий")), QStringLiteral("1"));
    EXPECT_EQ(s.Name.asString(QStringLiteral("Комментарий")), QStringLiteral("note"));
}

TEST_F(ImportWizardTest, RefusedRowThenTheRest) {
    TFMasterA &w = *m_wizard;
    const QByteArray longName(300, 'x');
    open(writeList("A\tTV\t1\nB\tTV\t2\n" + longName + "\tTV\t3\nD\tTV\t4\n"));
    click(w.BUpdate);
    dialogs.setNextAnswer(Answer::Yes);
    click(w.BToBase);
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains(QStringLiteral("Строку 3")))
        << dialogs.errors().first().toStdString();
    EXPECT_TRUE(w.PBar->isHidden());
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing,A,B"));
    EXPECT_EQ(win->GVSV().RowCount(), 3);

    // The list mended and loaded again: the lines already in the catalog are not added twice.
    open(writeList("A\tTV\t1\nB\tTV\t2\nC\tTV\t3\nD\tTV\t4\n"));
    click(w.BUpdate);
    dialogs.setNextAnswer(Answer::Yes);
    click(w.BToBase);
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(titlesOf(m_cat.path()), QStringLiteral("Existing,A,B,C,D"));
}

TEST_F(ImportWizardTest, OpenedFromTheServicePage) {
    m_wizard.reset();
    QString caption;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        if (auto *w = qobject_cast<TFMasterA *>(QApplication::activeModalWidget())) {
            caption = w->windowTitle();
            modal = w->isModal();
            w->reject();
        }
    });
    click(win->servicePage()->BImportSp);
    EXPECT_EQ(caption, QStringLiteral("Мастер импорта списка"));
    EXPECT_TRUE(modal);
    EXPECT_EQ(win->findChildren<TFMasterA *>().size(), 0); // destroyed when it closed
}

TEST_F(ImportWizardTest, Utf16ListsAreReadAndANulByteKeepsTheLinesShown) {
    TFMasterA &w = *m_wizard;
    // "Аниме<TAB>TV" and "B" in UTF-16 BE with its mark.
    open(writeList(QByteArray("\xFE\xFF\x04\x10\x04\x3D\x04\x38\x04\x3C\x04\x35\0\t\0T\0V\0\n\0B", 22)));
    ASSERT_EQ(w.LB->count(), 2);
    EXPECT_EQ(w.LB->item(0)->text(), QStringLiteral("Аниме\tTV"));
    EXPECT_EQ(w.LB->item(1)->text(), QStringLiteral("B"));
    EXPECT_TRUE(dialogs.errors().isEmpty());

    open(writeList(QByteArray("C\nD\0E\n", 6), QStringLiteral("nul.txt")));
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(dialogs.errors().first(), msg::listNulByte(2));
    EXPECT_EQ(w.LB->count(), 2); // the list read before stays
    EXPECT_EQ(w.LB->item(1)->text(), QStringLiteral("B"));
}
