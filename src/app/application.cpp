#include "application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vq {

bool setUpApplication(QCoreApplication &app) {
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
    // The desktop finds the menu entry and its icon by this name.
    if (qobject_cast<QGuiApplication *>(&app))
        QGuiApplication::setDesktopFileName(QStringLiteral("org.morvik.Vidoteq"));
    // The program's own texts are Russian whatever the desktop's language, so Qt's must be too.
    auto *qt = new QTranslator(&app);
    if (!qt->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

} // namespace vq
