#include "errorguard.h"

#include "catalog/error.h"
#include "dialogs.h"

#include <QString>
#include <exception>

namespace vq {

namespace {
Dialogs *g_dialogs = nullptr;
int g_depth = 0;
} // namespace

void ErrorGuard::install(Dialogs *dialogs) {
    g_dialogs = dialogs;
}
Dialogs *ErrorGuard::dialogs() {
    return g_dialogs;
}

bool ErrorGuard::run(QWidget *parent, const std::function<void()> &f) {
    // A handler that runs another handler (a programmatic row change firing a select event)
    // lets the error travel up, so the outer handler ends too and the error is shown once.
    if (g_depth > 0) {
        f();
        return true;
    }
    struct Depth {
        Depth() { ++g_depth; }
        ~Depth() { --g_depth; }
    };
    QString message;
    try {
        Depth d;
        f();
        return true;
    } catch (const Error &e) {
        message = e.message();
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    }
    if (g_dialogs)
        g_dialogs->showError(parent, message);
    return false;
}

} // namespace vq
