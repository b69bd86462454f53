#pragma once

#include <QApplication>
#include <QByteArray>

namespace vq::test {

// The one QApplication of a test program, made on first use and kept to the end of the run.
// Widget tests call this before creating any widget; the default platform is offscreen.
inline QApplication &App()
{
    if (auto *existing = qobject_cast<QApplication *>(QCoreApplication::instance()))
        return *existing;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    static int argc = 1;
    static char arg0[] = "vidoteq-test";
    static char *argv[] = {arg0, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace vq::test
