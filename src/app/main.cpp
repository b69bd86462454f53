#include "application.h"
#include "dialogs.h"
#include "tview_base.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstring>

namespace {

// vidoteq [FILE]: the desktop hands a catalog over (%f); --help and --version as every program has.
void describe(QCommandLineParser &parser) {
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Vidoteq: каталог аниме и видеофайлов их серий."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QCoreApplication::translate("main", "каталог (.vdq), который открыть"),
                                 QStringLiteral("[FILE]"));
}

// Help and version are printed without a display, as on a terminal over ssh.
bool onlyPrints(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        for (const char *o : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], o) == 0)
                return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv) {
    if (onlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        vq::setUpApplication(app); // the help in the window's language
        QCoreApplication::setApplicationName(QStringLiteral("vidoteq"));
        QCoreApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
        QCommandLineParser parser;
        describe(parser);
        parser.process(app); // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    vq::setUpApplication(app);
    QCoreApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    vq::QtDialogs dialogs;
    vq::TView_Base window(dialogs);
    if (!parser.positionalArguments().isEmpty())
        window.setGivenCatalog(QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath());
    if (!window.FormCreate())
        return 0; // no catalog chosen at start-up
    window.show();
    return app.exec();
}
