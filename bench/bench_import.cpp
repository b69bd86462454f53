// Importing a 20,000-line list into a 20,000-title catalog, then the refresh the window runs.
#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog/settings.h"
#include "catalog_generator.h"
#include "dialogs.h"
#include "gridview/griddata.h"
#include "import/listimport.h"
#include "tfmastera.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QDir::temp().filePath(QStringLiteral("vidoteq-bench-20k.vdq"));
    if (!QFileInfo::exists(source))
        vq::bench::generateCatalog(source, 20000, 400000);
    QTemporaryDir dir;
    // The window remembers its catalog: keep that out of the user's settings.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
    QStandardPaths::setTestModeEnabled(true);
    const QString path = dir.filePath(QStringLiteral("import.vdq"));
    const QString windowPath = dir.filePath(QStringLiteral("window.vdq"));
    QFile::copy(source, path);
    QFile::copy(source, windowPath);

    const int lines = 20000;
    QByteArray text;
    const char *types[] = {"TV", "OVA", "Movie", "Special", ""};
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("Импорт %1\t%2\t%3\tкомментарий %1\r\n")
                    .arg(i)
                    .arg(QString::fromLatin1(types[i % 5]))
                    .arg(1 + i % 52)
                    .toUtf8();

    vq::CatalogSession s;
    s.open(path);
    vq::GridData summary, preview, gv, gv4;
    vq::setupSummaryGrid(summary);
    vq::setupTitleGrid(gv);
    vq::setupTitleGrid(gv4);
    vq::TExportList texts;
    vq::UpStat(s);
    vq::LoadGvSv(s, summary, texts);
    vq::LoadName(s, gv, &gv4);
    std::printf("catalog: %d titles, %d episodes\n", s.Name.recordCount(), s.Series.recordCount());

    QElapsedTimer t;
    t.start();
    const QStringList list = vq::splitListLines(vq::decodeListText(text));
    vq::buildPreview(preview, vq::defaultWizardChecks(), summary, list);
    const qint64 previewMs = t.elapsed();
    int lastProgress = 0;
    const vq::ImportResult r = vq::importPreviewRows(s, preview, vq::defaultWizardChecks(), 0,
                                                     [&](int done, int) { lastProgress = done; });
    const qint64 importMs = t.elapsed();
    // The refresh with titles reloaded.
    vq::UpStat(s);
    s.Name.setFiltered(false);
    vq::LoadGvSv(s, summary, texts);
    vq::LoadName(s, gv, &gv4);
    const qint64 totalMs = t.elapsed();
    if (!r.ok() || r.imported != lines || lastProgress != lines || summary.RowCount() != 20000 + lines) {
        std::printf("import went wrong: %d imported, summary %d rows, %s\n", r.imported, summary.RowCount(),
                    qPrintable(r.error));
        return 1;
    }
    std::printf("read + preview of %d lines: %lld ms\n", lines, previewMs);
    std::printf("import of %d lines: %lld ms\n", lines, importMs - previewMs);
    std::printf("refresh (statistics, summary, title lists) of %d titles: %lld ms\n", summary.RowCount(),
                totalMs - importMs);
    std::printf("core: list import into a 20,000-title catalog, refresh included: %lld ms\n", totalMs);

    // The same through the window: the wizard's "Обновить" and "To Base", answered Yes, and the
    // main window's full refresh.
    const QString listPath = dir.filePath(QStringLiteral("list.txt"));
    {
        QFile f(listPath);
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }
    vq::rememberCatalogPath(windowPath);
    QDir::setCurrent(dir.path());
    vq::ScriptedDialogs dialogs;
    vq::TView_Base window(dialogs);
    if (!window.FormCreate())
        return 1;
    vq::TFMasterA wizard(window);
    dialogs.setNextFileName(listPath);
    wizard.BOpenClick();
    t.restart();
    wizard.BUpdateClick();
    dialogs.setNextAnswer(vq::Answer::Yes);
    wizard.BToBaseClick();
    const qint64 windowMs = t.elapsed();
    if (window.GVSV().RowCount() != 20000 + lines || !dialogs.errors().isEmpty()) {
        std::printf("window import went wrong: summary %d rows\n", window.GVSV().RowCount());
        return 1;
    }
    std::printf("window: preview + import of %d lines into 20,000 titles, window refresh included: %lld ms\n",
                lines, windowMs);
    window.FormClose();
    return 0;
}
