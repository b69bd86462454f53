#pragma once

#include "intake/mediaprobe.h"

#include <QByteArray>
#include <QString>

// The media library itself, linked only into what probes in this process: the probe workers, the
// tests and the benchmarks. The window and the tool probe through the workers and so never load it.
namespace vq {

// Probes the file at `path` (the file system's bytes) in this process. Checks first that it is a
// regular file that can be read, so that a folder, a fifo or a vanished file never reaches the library.
ProbeResult probeMedia(const QByteArray &path, ParseDepth depth = ParseDepth::Chosen);

// Probes the file `name` in `folder`, or in the process's current directory when `folder` is empty
// (the folder scan made it the scanned folder), in this process, and fills `episode` and `page`.
// `name` may be a path relative to the folder (a file of a subfolder); `episode.FileName` gets its bare
// name. `nativePath`, when given, is the file system's own name of the file (for names that are not
// UTF-8); otherwise the path is made from the texts. On failure throws vq::Error naming the file and the
// reason; `episode.FileName` then already names the new file while every other field and the page keep
// the previous probe's values.
void OpenAVI(const QString &name, TVVF &episode, ProbePage &page, const QString &folder = QString(),
             const QByteArray &nativePath = QByteArray());

// The worker's loop: reads requests from standard input until it ends, answers each on standard
// output. Returns the process's exit status.
int runProbeWorker();

} // namespace vq
