// A test double of vidoteq-convert: the real worker, except that an old file whose name contains
// "loop" makes it spin without a word, "chatter" spin while reporting progress, and "alloc" take
// memory without end through glib, as a looping libmdb does.
#include "convert/convertworker.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>
#include <glib.h>

int main(int argc, char **argv) {
    const QByteArray old = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const QByteArray name = old.mid(old.lastIndexOf('/') + 1);
    vq::convert::prepareConvertWorker();
    volatile unsigned long spins = 0;
    if (name.contains("loop"))
        for (;;)
            spins = spins + 1;
    if (name.contains("chatter"))
        for (;;) {
            for (int i = 0; i < 1000000; ++i)
                spins = spins + 1;
            std::printf("{\"done\":1,\"total\":2}\n");
            std::fflush(stdout);
        }
    if (name.contains("alloc"))
        for (;;)
            std::memset(g_malloc(1 << 20), 1, 1 << 20);
    return vq::convert::convertWorkerMain(argc, argv);
}
