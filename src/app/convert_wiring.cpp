// The window's side of bringing an old Access catalog over: where to save, progress, the report.
#include "tview_base.h"

#include "catalog/messages.h"
#include "convert/convert.h"
#include "dialogs.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace vq {

QString TView_Base::ConvertOldCatalog(const QString &oldPath) {
    const QString target =
        m_dialogs.saveFile(this, msg::mdbSaveCaption(), convert::convertedCatalogPath(oldPath),
                           QCoreApplication::translate("convert_wiring", "Файл Vidoteq (*.vdq)"));
    if (target.isEmpty())
        return QString();
    QProgressDialog progress(msg::mdbProgressText(oldPath),
                             QCoreApplication::translate("convert_wiring", "Отмена"), 0, 1, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setValue(0);
    const auto report = convert::convertOldCatalog(oldPath, target, [&progress](qint64 done, qint64 total) {
        // The bar counts in thousandths so that any catalog size fits its int range. The reader runs
        // in a process of its own; this is called while it is silent too, so the window stays live.
        progress.setMaximum(1000);
        progress.setValue(total > 0 ? int(done * 1000 / total) : 0);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.close();
    if (!report)
        return QString();
    m_lastDialogPath = report->newPath; // the open dialog comes back to the catalog in use
    m_dialogs.inform(this, msg::mdbDoneCaption(), msg::mdbDone(report->newPath, report->text()));
    return report->newPath;
}

} // namespace vq
