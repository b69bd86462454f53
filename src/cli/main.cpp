#include "catalog/language.h"
#include "catalog/settings.h"
#include "cli.h"
#include "intake/filenames.h"

#include <QCoreApplication>
#include <QSettings>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Vidoteq"));
    // The tool speaks the window's language: VIDOTEQ_LANGUAGE, the setting, then the locale.
    vq::lang::install(vq::lang::chosen(*vq::openSettings()));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Qt's own arguments turn bytes that are not UTF-8 into replacement marks; a file named by such
    // bytes must stay that file.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << vq::argumentText(QByteArray(argv[i]));
    return vq::cli::run(args, out, err);
}
