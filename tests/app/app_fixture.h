#pragma once

#include "application.h"

#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

namespace vq::test {

namespace detail {
inline QApplication *&ownedApp() {
    static QApplication *app = nullptr;
    return app;
}

// Deletes the test program's QApplication after the last test, while Qt is still whole, so that
// its font and platform caches are released (a leak checker would report them otherwise).
class AppEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        delete ownedApp();
        ownedApp() = nullptr;
    }
};

// The offscreen platform says the first for every top-level window, and a CI machine has no
// runtime folder: lines that would hide a real warning of a failing test.
inline QtMessageHandler &previousHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}
inline void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message.startsWith(QLatin1String("This plugin does not support propagateSizeHints()")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    previousHandler()(type, context, message);
}

inline const bool appEnvironmentRegistered = (::testing::AddGlobalTestEnvironment(new AppEnvironment), true);
} // namespace detail

// The one QApplication of a test program, made on first use and kept until all tests have run.
// Widget tests call this before creating any widget; the default platform is offscreen.
inline QApplication &App() {
    if (auto *existing = qobject_cast<QApplication *>(QCoreApplication::instance()))
        return *existing;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    static int argc = 1;
    static char arg0[] = "vidoteq-test";
    static char *argv[] = {arg0, nullptr};
    detail::previousHandler() = qInstallMessageHandler(detail::quietHandler);
    detail::ownedApp() = new QApplication(argc, argv);
    setUpApplication(*detail::ownedApp());
    return *detail::ownedApp();
}

} // namespace vq::test
