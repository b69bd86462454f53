#pragma once

#include "intake/mediaprobe.h"

#include <QByteArray>

#include <optional>

namespace vq {

// What the intake and its probe workers say to each other, one line each way per file: the path as
// the file system has it (any bytes), and the probe's answer.
QByteArray encodeProbeRequest(const QByteArray &path);
std::optional<QByteArray> decodeProbeRequest(QByteArray line);
QByteArray encodeProbeAnswer(const ProbeResult &result);
std::optional<ProbeResult> decodeProbeAnswer(const QByteArray &line);

// The worker's loop: reads requests from standard input until it ends, answers each on standard
// output. Returns the process's exit status.
int runProbeWorker();

} // namespace vq
