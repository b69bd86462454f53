// Probe cost against the library's bare open and queries on the same files.
// Usage: bench_probe [FILE...]; without files it makes the test clips with ffmpeg first.

#include "catalog/error.h"
#include "intake/mediaprobe.h"
#include "medialib/libraryprobe.h"

#include <MediaInfo/MediaInfo.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <vector>

// The benchmark is not a test program, so it takes the clip maker's source rather than its library
// (which brings a test main with it).
#include "../tests/support/media.cpp"

namespace {

// Exactly the library work one probe needs: the same names, including the current names that stand in
// for the old ones this library leaves empty.
void bareProbe(const std::wstring &path) {
    using namespace MediaInfoLib;
    MediaInfo mi;
    mi.Option(L"Legacy", L"1");
    const bool opened = (mi.Open(path) & 0xFF) == 1;
    mi.Get(Stream_General, 0, L"FileSize");
    if (opened) {
        auto ask = [&](stream_t kind, const wchar_t *name, const wchar_t *current = nullptr) {
            if (mi.Get(kind, 0, name).empty() && current)
                mi.Get(kind, 0, current);
        };
        ask(Stream_Video, L"Codec", L"Format");
        ask(Stream_Audio, L"Codec/String", L"Format/String");
        ask(Stream_General, L"Format");
        ask(Stream_General, L"OveralBitRate", L"OverallBitRate");
        ask(Stream_Video, L"BitRate");
        ask(Stream_Audio, L"BitRate");
        ask(Stream_Audio, L"SamplingRate");
        ask(Stream_Video, L"Width");
        ask(Stream_Video, L"Height");
        if (!mi.Get(Stream_General, 0, L"AudioCount").empty())
            ask(Stream_General, L"PlayTime/String3", L"Duration/String3");
    }
    mi.Close();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The fastest run: what the work costs when nothing else on the machine gets in the way.
double fastest(const std::vector<double> &v) {
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double cpuMicros() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

} // namespace

int main(int argc, char **argv) {
    // The bare calls need a UTF-8 character set for non-ASCII names; the probe sets its own.
    std::setlocale(LC_ALL, "C.UTF-8");

    QStringList files;
    for (int i = 1; i < argc; ++i)
        files << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    if (files.isEmpty()) {
        std::printf("making the test clips with ffmpeg...\n");
        for (const auto &s : vq::test::testMedia().samples)
            if (s.sizeBytes > 0)
                files << s.path;
    }

    std::printf(
        "Times in microseconds. CPU: time this thread spent working (user + system), which other load\n"
        "on the machine hardly moves; wall: elapsed time.\n\n");
    std::printf("%-32s %12s %21s %21s %21s %8s %5s\n", "", "", "CPU, fastest run", "CPU, median run",
                "wall, median run", "", "");
    std::printf("%-32s %12s %10s %10s %10s %10s %10s %10s %8s %5s\n", "file", "bytes", "bare", "probe",
                "bare", "probe", "bare", "probe", "extra", "runs");
    double worstExtra = -1e9, sumBare = 0, sumProbe = 0;
    for (const QString &path : files) {
        const QFileInfo info(path);
        const std::wstring wide = path.toStdWString();
        std::vector<double> bareCpu, probeCpu, bareWall, probeWall;
        vq::TVVF episode;
        vq::ProbePage page;
        QElapsedTimer total, t;
        total.start();
        // Alternate the two so that disk cache and other load treat them alike; at least 20 runs each,
        // then until two seconds have gone.
        for (int run = 0; run < 20 || (total.elapsed() < 2000 && run < 2000); ++run) {
            double c = cpuMicros();
            t.start();
            bareProbe(wide);
            bareWall.push_back(t.nsecsElapsed() / 1000.0);
            bareCpu.push_back(cpuMicros() - c);
            c = cpuMicros();
            t.start();
            try {
                vq::OpenAVI(info.fileName(), episode, page, info.absolutePath());
            } catch (const vq::Error &) {
            }
            probeWall.push_back(t.nsecsElapsed() / 1000.0);
            probeCpu.push_back(cpuMicros() - c);
        }
        const double b = fastest(bareCpu), p = fastest(probeCpu);
        sumBare += b;
        sumProbe += p;
        worstExtra = std::max(worstExtra, p - b);
        std::printf("%s %12lld %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %8.1f %5zu\n",
                    info.fileName().leftJustified(32, QLatin1Char(' '), true).toLocal8Bit().constData(),
                    static_cast<long long>(info.size()), b, p, median(bareCpu), median(probeCpu),
                    median(bareWall), median(probeWall), p - b, bareCpu.size());
    }
    std::printf("\nfiles: %lld; fastest CPU runs summed: bare %.1f us, probe %.1f us; largest extra %.1f us "
                "(allowed 1000 us)\n",
                static_cast<long long>(files.size()), sumBare, sumProbe, worstExtra);
    // "Добавить всё" on a large catalog is measured by bench_intake.
    return worstExtra <= 1000 ? 0 : 1;
}
