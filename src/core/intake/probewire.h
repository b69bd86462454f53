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

} // namespace vq
