#pragma once

#include <functional>

class QWidget;

namespace vq {

class Dialogs;

// The one application-wide guard. Every handler that may fail runs inside it: a vq::Error or any
// other std::exception is shown in the dialogs' error box and the handler ends there; the window
// stays usable.
class ErrorGuard {
public:
    // The dialogs that show the errors; the window installs its own.
    static void install(Dialogs *dialogs);
    static Dialogs *dialogs();

    // Runs `f`; true when it finished without an error.
    static bool run(QWidget *parent, const std::function<void()> &f);

    // `f` wrapped for a signal connection.
    template <class F> static auto wrap(QWidget *parent, F f) {
        return
            [parent, f](auto &&...args) -> decltype(f(args...), void()) { run(parent, [&] { f(args...); }); };
    }
};

} // namespace vq
