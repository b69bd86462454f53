#pragma once

#include "convert.h"

// The conversion's worker process, vidoteq-convert: it reads the old file through libmdb (and writes
// the new catalog), so that a damaged file that makes the library loop or take ever more memory is
// ended by the limits set on the process, and the caller gets a message instead of a hang.
namespace vq::convert {

// The worker program next to the running program; the environment variable VIDOTEQ_CONVERT names
// another one (a test double, an installed copy elsewhere).
QString defaultConvertProgram();

// "TimeLimit" of the settings group "Convert": the seconds the reader may go without a word, 10 when
// not set, 1 to 86,400.
int convertTimeLimitSeconds();

// Runs the worker on `oldPath`, writing into `partPath`, and hands its progress on; the callback is
// also called while the worker is silent, so that a window stays live and can cancel. Nothing when
// cancelled. Raises vq::Error naming the old file when the worker fails or a limit ends it.
std::optional<ConvertReport> runConvertWorker(const QString &oldPath, const QString &partPath,
                                              const QString &newPath, const Progress &progress,
                                              const ConvertOptions &options);

// The worker's exit status when an allocation failed: the memory limit, not a crash.
inline constexpr int kOutOfMemoryExit = 3;

// Makes a failed allocation, glib's (an abort) or C++'s, end the process with kOutOfMemoryExit.
void prepareConvertWorker();

// The worker program: vidoteq-convert OLD PART NEW. Answers on standard output, one JSON object a
// line: {"done", "total"} now and then, then {"report"} or {"error"}.
int convertWorkerMain(int argc, char **argv);

} // namespace vq::convert
