#pragma once

// A real main window over a temporary catalog and temporary settings, with scripted dialogs,
// under the offscreen platform. Page tests of every area can derive from WindowTest.

#include "app/app_fixture.h"
#include "catalog/settings.h"
#include "dialogs.h"
#include "support/temp_catalog.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace vq::test {

// The window measured against a screen the test chooses (the offscreen screen is small).
class TestView : public TView_Base {
public:
    using TView_Base::TView_Base;
    QSize screen{1920, 1200};
    bool viewerKnown = true;

protected:
    QSize screenSize() const override { return screen; }
    bool spreadsheetViewerKnown() const override { return viewerKnown; }
};

// One user's step of a sequence, and the one error box it must show (none when empty).
struct Step {
    const char *what;
    std::function<void()> act;
    QString error = {};
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
        QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
        ASSERT_TRUE(m_home.isValid());
        QStandardPaths::setTestModeEnabled(false);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           m_home.filePath(QStringLiteral("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        m_oldDir = QDir::currentPath();
        QDir().mkpath(startDir());
        QDir::setCurrent(startDir());
    }

    void TearDown() override {
        closeWindow();
        QDir::setCurrent(m_oldDir);
    }

    QString startDir() const { return m_home.filePath(QStringLiteral("start")); }

    std::unique_ptr<QSettings> settings() { return openSettings(); }
    void setSetting(const QString &key, const QString &value) {
        auto s = settings();
        s->setValue(key, value);
        s->sync();
    }
    QString setting(const QString &key) { return settings()->value(key).toString(); }

    // Builds the window and runs its creation sequence; shows it when the sequence keeps it.
    bool start() {
        win = std::make_unique<TestView>(dialogs);
        win->screen = screen;
        const bool kept = win->FormCreate();
        if (kept) {
            win->show();
            QCoreApplication::processEvents();
        }
        return kept;
    }

    // Starts on `catalog` as the remembered catalog.
    bool startOn(const TempCatalog &catalog) {
        rememberCatalogPath(catalog.path());
        return start();
    }

    void closeWindow() {
        if (!win)
            return;
        win->close();
        win.reset();
    }

    // Grids and the texts of their rows.
    static QStringList column(TGridView &g, int col) {
        QStringList out;
        for (int r = 0; r < g.RowCount(); ++r)
            out << g.GetCellText(col, r);
        return out;
    }
    static QPoint rowCenter(TGridView &g, int row, int col) {
        return g.visualRect(g.model()->index(row, col)).center();
    }
    // Runs the steps in order, the events of each handled before the next; stops at the first
    // step whose error boxes are not the ones it expects.
    void run(const std::vector<Step> &steps) {
        for (const Step &s : steps) {
            dialogs.clear();
            s.act();
            QCoreApplication::processEvents();
            const QStringList errors = dialogs.errors();
            if (s.error.isEmpty())
                ASSERT_TRUE(errors.isEmpty()) << s.what << ": " << errors.join(u'\n').toStdString();
            else
                ASSERT_EQ(errors, QStringList{s.error}) << s.what;
        }
    }
    void key(QWidget *w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        w->setFocus();
        QTest::keyClick(w, k, m);
        QCoreApplication::processEvents();
    }

    ScriptedDialogs dialogs;
    QSize screen{1920, 1200};
    std::unique_ptr<TestView> win;

private:
    QTemporaryDir m_home;
    QString m_oldDir;
};

} // namespace vq::test
