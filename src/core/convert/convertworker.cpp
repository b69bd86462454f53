#include "convertworker.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define VQ_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VQ_ADDRESS_SANITIZER 1
#endif
#endif

namespace vq::convert {

namespace {

constexpr qint64 kDefaultMemory = qint64(512) << 20;
constexpr int kDefaultTimeLimit = 10;
constexpr int kMostSeconds = 86400;
// Processor time a good file needs is well under a second per MiB; this is many times that.
constexpr qint64 kCpuSecondsPerMiB = 2;
constexpr int kPollMs = 50;
constexpr int kHeartbeatMs = 100;

QString programFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QJsonObject reportJson(const ConvertReport &r) {
    return {{QStringLiteral("titles"), double(r.titles)},
            {QStringLiteral("episodes"), double(r.episodes)},
            {QStringLiteral("altNames"), double(r.altNames)},
            {QStringLiteral("types"), double(r.types)},
            {QStringLiteral("languages"), double(r.languages)},
            {QStringLiteral("codecs"), double(r.codecs)},
            {QStringLiteral("formats"), double(r.formats)},
            {QStringLiteral("repairs"), QJsonArray::fromStringList(r.repairs)}};
}

ConvertReport reportFrom(const QJsonObject &o) {
    ConvertReport r;
    r.titles = o.value(QStringLiteral("titles")).toInteger();
    r.episodes = o.value(QStringLiteral("episodes")).toInteger();
    r.altNames = o.value(QStringLiteral("altNames")).toInteger();
    r.types = o.value(QStringLiteral("types")).toInteger();
    r.languages = o.value(QStringLiteral("languages")).toInteger();
    r.codecs = o.value(QStringLiteral("codecs")).toInteger();
    r.formats = o.value(QStringLiteral("formats")).toInteger();
    for (const QJsonValue v : o.value(QStringLiteral("repairs")).toArray())
        r.repairs << v.toString();
    return r;
}

void say(const QJsonObject &o) {
    const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

// Resident memory of a process, -1 when it cannot be read.
qint64 residentBytes(qint64 pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lld/statm", static_cast<long long>(pid));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    char buf[128] = {};
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    long long size = 0, resident = 0;
    if (n <= 0 || std::sscanf(buf, "%lld %lld", &size, &resident) != 2)
        return -1;
    return resident * ::sysconf(_SC_PAGESIZE);
}

void outOfMemory() {
    ::_exit(kOutOfMemoryExit);
}

// glib aborts (or traps) when an allocation fails, often before any handler of its own is reached: it
// needs memory for that too. Either with more than half the address space limit taken is that.
void onAbort(int signal) {
    rlimit space{};
    if (::getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY) {
        char buf[64] = {};
        const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
        const ssize_t n = fd >= 0 ? ::read(fd, buf, sizeof buf - 1) : -1;
        if (fd >= 0)
            ::close(fd);
        unsigned long long pages = 0;
        for (ssize_t i = 0; i < n && buf[i] >= '0' && buf[i] <= '9'; ++i)
            pages = pages * 10 + unsigned(buf[i] - '0');
        if (pages * unsigned(::sysconf(_SC_PAGESIZE)) > space.rlim_cur / 2)
            ::_exit(kOutOfMemoryExit);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

QString defaultConvertProgram() {
    const QByteArray env = qgetenv("VIDOTEQ_CONVERT");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    return QDir(programFolder()).filePath(QStringLiteral("vidoteq-convert"));
}

int convertTimeLimitSeconds() {
    auto s = openSettings();
    return std::clamp(readIntSetting(*s, QStringLiteral("Convert/TimeLimit"), kDefaultTimeLimit), 1,
                      kMostSeconds);
}

std::optional<ConvertReport> runConvertWorker(const QString &oldPath, const QString &partPath,
                                              const QString &newPath, const Progress &progress,
                                              const ConvertOptions &options) {
    const QString program = options.program.isEmpty() ? defaultConvertProgram() : options.program;
    const int seconds = options.timeLimitSeconds > 0 ? options.timeLimitSeconds : convertTimeLimitSeconds();
    const qint64 memory = options.memoryLimitBytes > 0 ? options.memoryLimitBytes : kDefaultMemory;
    const qint64 mib = (QFileInfo(oldPath).size() + (qint64(1) << 20) - 1) >> 20;
    const rlim_t cpu = rlim_t(seconds + kCpuSecondsPerMiB * mib);

    QProcess worker;
    worker.setProgram(program);
    worker.setArguments({oldPath, partPath, newPath});
    worker.setStandardInputFile(QProcess::nullDevice());
    worker.setStandardErrorFile(QProcess::nullDevice());
    worker.setChildProcessModifier([cpu, memory] {
        // Between fork and exec: system calls only.
        const rlimit time{cpu, cpu + 1}, none{0, 0};
        ::setrlimit(RLIMIT_CPU, &time);
        ::setrlimit(RLIMIT_CORE, &none);
#ifndef VQ_ADDRESS_SANITIZER
        // The sanitizer reserves far more address space than this; its build is held by the watch below.
        const rlimit space{rlim_t(memory), rlim_t(memory)};
        ::setrlimit(RLIMIT_AS, &space);
#else
        (void)memory;
#endif
        // A caller killed outright takes its worker along.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    worker.start(QIODevice::ReadOnly);
    if (!worker.waitForStarted(-1))
        throw Error(msg::mdbWorkerMissing(program, worker.errorString()));

    enum class Cut { None, Cancelled, Time, Memory } cut = Cut::None;
    qint64 done = 0, total = 0;
    std::optional<ConvertReport> report;
    QString error;
    QByteArray buffer;
    QElapsedTimer quiet, sinceCall;
    quiet.start();
    sinceCall.start();
    auto call = [&] {
        sinceCall.restart();
        if (progress && !progress(done, total))
            cut = Cut::Cancelled;
    };
    auto take = [&] {
        buffer += worker.readAllStandardOutput();
        qsizetype eol;
        while (cut == Cut::None && (eol = buffer.indexOf('\n')) >= 0) {
            const QJsonObject o = QJsonDocument::fromJson(buffer.left(eol)).object();
            buffer.remove(0, eol + 1);
            if (o.contains(QStringLiteral("done"))) {
                // Only progress counts as a word: a library printing in a loop is still a loop.
                quiet.restart();
                done = o.value(QStringLiteral("done")).toInteger();
                total = o.value(QStringLiteral("total")).toInteger();
                call();
            } else if (o.contains(QStringLiteral("report"))) {
                report = reportFrom(o.value(QStringLiteral("report")).toObject());
            } else if (o.contains(QStringLiteral("error"))) {
                error = o.value(QStringLiteral("error")).toString();
            }
        }
    };
    for (;;) {
        if (worker.state() != QProcess::NotRunning)
            worker.waitForReadyRead(kPollMs);
        take();
        if (cut != Cut::None || worker.state() == QProcess::NotRunning)
            break;
        // Once every row is read, only SQLite's commit and checks are left: no word for a while
        // then is a slow disc, not a loop.
        const bool reading = total == 0 || done < total;
        if (reading && quiet.elapsed() > qint64(seconds) * 1000)
            cut = Cut::Time;
        else if (residentBytes(worker.processId()) > memory)
            cut = Cut::Memory;
        else if (sinceCall.elapsed() >= kHeartbeatMs)
            call();
        if (cut != Cut::None)
            break;
    }
    if (worker.state() != QProcess::NotRunning) {
        worker.kill();
        worker.waitForFinished(-1);
    }
    take();
    const bool crashed = worker.exitStatus() == QProcess::CrashExit;
    const int code = worker.exitCode(); // the signal, when it crashed
    switch (cut) {
    case Cut::Cancelled:
        return std::nullopt;
    case Cut::Time:
        throw Error(msg::mdbDamaged(oldPath, msg::mdbDetailTimeLimit(seconds)));
    case Cut::Memory:
        throw Error(msg::mdbDamaged(oldPath, msg::mdbDetailMemoryLimit(memory >> 20)));
    case Cut::None:
        break;
    }
    if (!crashed && code == 0 && report)
        return report;
    if (!error.isEmpty())
        throw Error(error);
    if (!crashed && code == kOutOfMemoryExit)
        throw Error(msg::mdbDamaged(oldPath, msg::mdbDetailMemoryLimit(memory >> 20)));
    if (crashed && (code == SIGXCPU || code == SIGKILL))
        throw Error(msg::mdbDamaged(oldPath, msg::mdbDetailTimeLimit(int(cpu))));
    throw Error(
        msg::mdbDamaged(oldPath, msg::mdbDetailReaderStopped(crashed ? QStringLiteral("signal %1").arg(code)
                                                                     : QStringLiteral("exit %1").arg(code))));
}

void prepareConvertWorker() {
    std::set_new_handler(outOfMemory);
    struct sigaction action {};
    action.sa_handler = onAbort;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGABRT, &action, nullptr);
    ::sigaction(SIGTRAP, &action, nullptr);
}

int convertWorkerMain(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vidoteq-convert OLD.mdb PART NEW.vdq\n");
        return 2;
    }
    prepareConvertWorker();
    const QString oldPath = QFile::decodeName(argv[1]);
    try {
        const auto report = convertInto(
            oldPath, QFile::decodeName(argv[2]), QFile::decodeName(argv[3]), [](qint64 done, qint64 total) {
                say({{QStringLiteral("done"), double(done)}, {QStringLiteral("total"), double(total)}});
                return true;
            });
        say({{QStringLiteral("report"), reportJson(*report)}});
        return 0;
    } catch (const Error &e) {
        say({{QStringLiteral("error"), e.message()}});
        return 1;
    }
}

} // namespace vq::convert
