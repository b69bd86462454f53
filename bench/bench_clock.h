#pragma once

// Timing on a shared, noisy machine: the processor time of this process (all its threads) beside
// the wall time, and a subject measured in turn with its floor, so that both see the same load.

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vq::bench {

inline double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

inline double wallMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Sample {
    double cpu = 0, wall = 0;
};

inline Sample measure(const std::function<void()> &op) {
    const double c = processCpuMs(), w = wallMs();
    op();
    return {processCpuMs() - c, wallMs() - w};
}

// The processor time of the children waited for so far.
inline double childrenCpuMs() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return (double(r.ru_utime.tv_sec) + double(r.ru_stime.tv_sec)) * 1e3 +
           (double(r.ru_utime.tv_usec) + double(r.ru_stime.tv_usec)) / 1e3;
}

// Runs a program (a floor such as find or rhash) with its output thrown away: its CPU and wall time.
inline Sample runChild(std::vector<const char *> argv) {
    argv.push_back(nullptr);
    const double c = childrenCpuMs(), w = wallMs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        execvp(argv[0], const_cast<char *const *>(argv.data()));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {childrenCpuMs() - c, wallMs() - w};
}

inline double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Medians of a subject and of its floor, run in turn, and the median of the ratios of each pair.
struct Paired {
    Sample subject, floor;
    double cpuRatio = 0, wallRatio = 0;
};

inline Paired paired(int runs, const std::function<Sample()> &floor, const std::function<Sample()> &subject) {
    std::vector<double> sc, sw, fc, fw, rc, rw;
    for (int i = 0; i < runs; ++i) {
        const Sample f = floor();
        const Sample s = subject();
        fc.push_back(f.cpu), fw.push_back(f.wall), sc.push_back(s.cpu), sw.push_back(s.wall);
        rc.push_back(s.cpu / std::max(f.cpu, 1e-3));
        rw.push_back(s.wall / std::max(f.wall, 1e-3));
    }
    return {{median(sc), median(sw)}, {median(fc), median(fw)}, median(rc), median(rw)};
}

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:").
inline long statusKb(const char *key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    return 0;
}

} // namespace vq::bench
