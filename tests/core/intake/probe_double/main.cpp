// A test double of vidoteq-probe: speaks its protocol and probes for real, except that a file whose
// name contains "hang" never gets an answer, "crash" takes the process down as a crashing library
// would, "slow" waits half a second first, and "garble" gets an answer that is no answer.
#include "intake/probewire.h"
#include "medialib/libraryprobe.h"

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

int main() {
    std::string line;
    int c;
    for (;;) {
        line.clear();
        while ((c = std::fgetc(stdin)) != EOF && c != '\n')
            line.push_back(char(c));
        if (c == EOF && line.empty())
            return 0;
        const auto path = vq::decodeProbeRequest(QByteArray::fromStdString(line));
        const QByteArray name = path ? path->mid(path->lastIndexOf('/') + 1) : QByteArray();
        if (name.contains("hang"))
            for (;;)
                ::pause();
        if (name.contains("crash"))
            std::raise(SIGSEGV);
        if (name.contains("slow"))
            ::usleep(500000);
        QByteArray answer;
        if (name.contains("garble"))
            answer = "{not an answer\n";
        else
            answer = vq::encodeProbeAnswer(path ? vq::probeMedia(*path)
                                                : vq::ProbeResult{vq::ProbeStatus::NoSuchFile, {}, {}});
        std::fwrite(answer.constData(), 1, size_t(answer.size()), stdout);
        std::fflush(stdout);
    }
}
