#include "application.h"
#include "dialogs.h"
#include "tview_base.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    vq::setUpApplication(app);
    vq::QtDialogs dialogs;
    vq::TView_Base window(dialogs);
    if (!window.FormCreate())
        return 0; // no catalog chosen at start-up
    window.show();
    return app.exec();
}
