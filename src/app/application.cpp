#include "application.h"

#include "catalog/language.h"
#include "catalog/settings.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSettings>

namespace vq {

bool setUpApplication(QCoreApplication &app) {
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
    // The desktop finds the menu entry and its icon by this name.
    if (qobject_cast<QGuiApplication *>(&app))
        QGuiApplication::setDesktopFileName(QStringLiteral("org.morvik.Vidoteq"));
    // Qt's own file dialog, not the desktop's: the desktop's speaks the desktop's language, which
    // the setting may have overruled, and mixed the two.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The window, Qt's own dialogs and the messages speak one language: the setting's, or the
    // desktop's.
    auto settings = openSettings();
    return lang::install(lang::chosen(*settings));
}

} // namespace vq
