#pragma once

#include "intake/mediaprobe.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QProcess;
class QTimer;

namespace vq {

// The time limit of one probe in seconds: "ProbeTimeLimit" of the settings group "Intake", 30 when
// it is not set (it is then written, so that the user finds it), 1 to 86,400. A value outside is
// taken as the nearest end, and one that is no number as 30; `note` then says so.
struct ProbeTimeLimit {
    int seconds = 30;
    QString note;
};
ProbeTimeLimit probeTimeLimit();
int probeTimeLimitSeconds();

// The probe program next to the running program ("vidoteq-probe"); the environment variable
// VIDOTEQ_PROBE names another one (a test double, an installed copy elsewhere).
QString defaultProbeProgram();
// As many workers as cores, at least 2.
int defaultProbeWorkers();

// Worker processes that probe files away from the caller's thread: a file that hangs the library
// past the time limit, or crashes it, costs one worker, which is restarted for the next file. Answers
// arrive through the caller's event loop, on the thread that made the pool.
struct ProbePoolOptions {
    QString program;     // empty: defaultProbeProgram()
    int workers = 0;     // 0: defaultProbeWorkers()
    int timeLimitMs = 0; // 0: probeTimeLimit()
};

class ProbePool : public QObject {
    Q_OBJECT
public:
    using Options = ProbePoolOptions;
    using Done = std::function<void(const ProbeResult &)>;

    explicit ProbePool(const Options &options, QObject *parent = nullptr);
    explicit ProbePool(QObject *parent = nullptr) : ProbePool(Options(), parent) {}
    ~ProbePool() override;

    // Queues a probe of `path`; `done` is called once with its answer, never from inside probe().
    // An `urgent` probe (a file the user clicked) goes before the files already queued. Returns a
    // ticket for abandon().
    quint64 probe(const QByteArray &path, Done done, bool urgent = false);
    // Forgets the probes of these tickets: queued ones are dropped, a worker busy with one is stopped.
    // Their `done` is never called.
    void abandon(const std::vector<quint64> &tickets);

    int workerCount() const { return int(m_workers.size()); }
    int timeLimitMs() const { return m_timeLimitMs; }
    // Why the setting was not taken as written; empty when it was (or the options gave the limit).
    const QString &timeLimitNote() const { return m_timeLimitNote; }
    const QString &program() const { return m_program; }
    // Probes queued or in hand.
    int pending() const;

private:
    struct Job {
        quint64 ticket = 0;
        QByteArray path;
        Done done;
    };
    struct Worker {
        QProcess *process = nullptr;
        QTimer *deadline = nullptr; // runs for the first job, the one the worker is on
        QElapsedTimer onFirst;      // since the worker began the first job
        bool fresh = false;         // on the first job of the process: its time is the program's start too
        QByteArray buffer;
        std::deque<Job> jobs; // sent, in the order the answers come
    };

    void dispatch();
    // How many files each worker is given ahead.
    size_t depth() const;
    void beginFirst(Worker &w);
    void send(Worker &w, Job job);
    void startProcess(Worker &w);
    void onOutput(Worker &w);
    void onTimeLimit(Worker &w);
    void onGone(Worker &w, const QString &how, bool failedToStart);
    // Ends the worker's first job with `result`; the other jobs it holds go back to the queue when
    // the worker is lost with it.
    void finishFirst(Worker &w, const ProbeResult &result, bool workerLost);
    void dropProcess(Worker &w);

    QString m_program;
    QString m_timeLimitNote;
    int m_timeLimitMs;
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::deque<Job> m_queue;
    quint64 m_nextTicket = 1;
    double m_probeMs = -1; // a running mean of the time one probe takes; -1 before the first answer
};

} // namespace vq
