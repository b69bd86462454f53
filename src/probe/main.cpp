// vidoteq-probe: the media probe in a process of its own, so that a file that hangs or crashes the
// library takes down only this worker. Reads one path a line on standard input, answers each on
// standard output; the intake starts and restarts these workers.
#include "medialib/libraryprobe.h"

int main() {
    return vq::runProbeWorker();
}
