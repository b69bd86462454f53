// Bringing an old Access catalog of the Windows version over into a new catalog.
#include "cli.h"

#include "convert/convert.h"

#include <QFileInfo>

namespace vq::cli {

namespace {

int cmdConvert(Context &c) {
    const QStringList args = c.positional(2, 2);
    const auto report = convert::convertOldCatalog(args.at(0), args.at(1));
    if (!report) // only a progress callback cancels, and the tool passes none
        return 1;
    // The new catalog's path is the result; what was carried over and repaired goes with the
    // other remarks, on standard error.
    c.out << QFileInfo(report->newPath).absoluteFilePath() << '\n';
    c.err << report->text() << '\n';
    c.err.flush();
    return 0;
}

const Command convert("convert", "convert OLD.mdb NEW.vdq", cmdConvert);

} // namespace

} // namespace vq::cli
