#pragma once

// Runs the command-line tool in this process and keeps what it printed.

#include "cli.h"

#include <QStringList>
#include <QTextStream>

namespace vq::test {

struct CliRun {
    int status;
    QString out, err;
};

inline CliRun runCli(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = vq::cli::run(args, o, e);
    return {status, out, err};
}

} // namespace vq::test
