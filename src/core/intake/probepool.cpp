#include "probepool.h"

#include "catalog/messages.h"
#include "catalog/settings.h"
#include "intake/probewire.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace vq {

namespace {

const QString kTimeLimitKey = QStringLiteral("Intake/ProbeTimeLimit");

QString programFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

} // namespace

ProbeTimeLimit probeTimeLimit() {
    // A day is more than any file needs; in milliseconds it still fits the timer's int.
    constexpr int kDefault = 30, kLeast = 1, kMost = 86400;
    auto s = openSettings();
    if (!s->contains(kTimeLimitKey)) {
        writeIntSetting(*s, kTimeLimitKey, kDefault);
        s->sync();
    }
    const QString written = s->value(kTimeLimitKey).toString().trimmed();
    ProbeTimeLimit limit;
    bool asWritten = false;
    if (const std::optional<qint64> n = parseInt64(written)) {
        limit.seconds = int(std::clamp<qint64>(*n, kLeast, kMost));
        asWritten = limit.seconds == *n;
    } else {
        // Digits beyond any number are a very long limit all the same.
        static const QRegularExpression digits(QStringLiteral("^\\+?[0-9]+$"));
        limit.seconds = digits.match(written).hasMatch() ? kMost : kDefault;
    }
    if (!asWritten)
        limit.note = msg::probeTimeLimitSetting(kTimeLimitKey, written, kLeast, kMost, limit.seconds);
    return limit;
}

int probeTimeLimitSeconds() {
    return probeTimeLimit().seconds;
}

QString defaultProbeProgram() {
    const QByteArray env = qgetenv("VIDOTEQ_PROBE");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    return QDir(programFolder()).filePath(QStringLiteral("vidoteq-probe"));
}

int defaultProbeWorkers() {
    return std::max(2, QThread::idealThreadCount());
}

ProbePool::ProbePool(const Options &options, QObject *parent)
    : QObject(parent), m_program(options.program.isEmpty() ? defaultProbeProgram() : options.program),
      m_timeLimitMs(options.timeLimitMs) {
    if (m_timeLimitMs <= 0) {
        const ProbeTimeLimit limit = probeTimeLimit();
        m_timeLimitMs = limit.seconds * 1000;
        m_timeLimitNote = limit.note;
    }
    const int n = options.workers > 0 ? options.workers : defaultProbeWorkers();
    for (int i = 0; i < n; ++i) {
        auto w = std::make_unique<Worker>();
        w->deadline = new QTimer(this);
        w->deadline->setSingleShot(true);
        Worker *raw = w.get();
        connect(w->deadline, &QTimer::timeout, this, [this, raw] { onTimeLimit(*raw); });
        m_workers.push_back(std::move(w));
    }
}

ProbePool::~ProbePool() {
    // Idle workers end when their input does; a busy one is stopped.
    for (auto &w : m_workers)
        if (w->process) {
            w->process->disconnect(this);
            if (!w->jobs.empty())
                w->process->kill();
            else
                w->process->closeWriteChannel();
        }
    for (auto &w : m_workers)
        if (w->process) {
            if (!w->process->waitForFinished(1000)) {
                w->process->kill();
                w->process->waitForFinished(1000);
            }
            delete w->process;
        }
}

int ProbePool::pending() const {
    int n = int(m_queue.size());
    for (const auto &w : m_workers)
        n += int(w->jobs.size());
    return n;
}

quint64 ProbePool::probe(const QByteArray &path, Done done, bool urgent) {
    const quint64 ticket = m_nextTicket++;
    if (urgent)
        m_queue.push_front({ticket, path, std::move(done)});
    else
        m_queue.push_back({ticket, path, std::move(done)});
    dispatch();
    return ticket;
}

void ProbePool::abandon(const std::vector<quint64> &tickets) {
    auto listed = [&](quint64 t) { return std::find(tickets.begin(), tickets.end(), t) != tickets.end(); };
    m_queue.erase(
        std::remove_if(m_queue.begin(), m_queue.end(), [&](const Job &j) { return listed(j.ticket); }),
        m_queue.end());
    for (auto &w : m_workers) {
        const bool holdsOne =
            std::any_of(w->jobs.begin(), w->jobs.end(), [&](const Job &j) { return listed(j.ticket); });
        if (!holdsOne)
            continue;
        // The worker may be deep in an abandoned file: stopped, and what else it held goes back.
        w->deadline->stop();
        for (auto it = w->jobs.rbegin(); it != w->jobs.rend(); ++it)
            if (!listed(it->ticket))
                m_queue.push_front(std::move(*it));
        w->jobs.clear();
        dropProcess(*w);
    }
    dispatch();
}

size_t ProbePool::depth() const {
    // Each worker holds the file it is on and enough after it that it never waits for this thread,
    // which stores rows meanwhile and, with every core probing, may wait a while for a core itself.
    // Short files need many ahead; long ones two, so that a clicked file waits for little.
    constexpr double kAheadMs = 50;
    constexpr size_t kMost = 16;
    if (m_probeMs < 0)
        return 2;
    return std::clamp(size_t(kAheadMs / std::max(m_probeMs, 0.5)) + 1, size_t(2), kMost);
}

void ProbePool::beginFirst(Worker &w) {
    w.deadline->start(m_timeLimitMs);
    w.onFirst.start();
}

void ProbePool::dispatch() {
    const size_t ahead = depth();
    for (size_t round = 0; round < ahead; ++round)
        for (auto &w : m_workers) {
            if (m_queue.empty())
                return;
            if (w->jobs.size() > round)
                continue;
            Job job = std::move(m_queue.front());
            m_queue.pop_front();
            send(*w, std::move(job));
        }
}

void ProbePool::startProcess(Worker &w) {
    auto *p = new QProcess(this);
    p->setProgram(m_program);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->setStandardErrorFile(QProcess::nullDevice());
    Worker *raw = &w;
    connect(p, &QProcess::readyReadStandardOutput, this, [this, raw] { onOutput(*raw); });
    connect(p, &QProcess::finished, this, [this, raw, p](int code, QProcess::ExitStatus status) {
        onGone(*raw, status == QProcess::CrashExit ? p->errorString() : QStringLiteral("exit %1").arg(code),
               false);
    });
    connect(p, &QProcess::errorOccurred, this, [this, raw, p](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        // Handled from the event loop: a start that fails at once must not answer inside probe().
        const QString how = p->errorString();
        QTimer::singleShot(0, this, [this, raw, p, how] {
            if (raw->process == p)
                onGone(*raw, how, true);
        });
    });
    w.process = p;
    w.buffer.clear();
    w.fresh = true;
    p->start(QIODevice::ReadWrite);
}

void ProbePool::send(Worker &w, Job job) {
    if (!w.process)
        startProcess(w);
    w.process->write(encodeProbeRequest(job.path));
    w.jobs.push_back(std::move(job));
    if (w.jobs.size() == 1)
        beginFirst(w);
}

void ProbePool::onOutput(Worker &w) {
    if (!w.process)
        return;
    w.buffer += w.process->readAllStandardOutput();
    qsizetype eol;
    while (w.process && (eol = w.buffer.indexOf('\n')) >= 0) {
        const QByteArray line = w.buffer.left(eol);
        w.buffer.remove(0, eol + 1);
        if (w.jobs.empty())
            continue;
        if (std::optional<ProbeResult> r = decodeProbeAnswer(line)) {
            finishFirst(w, *r, false);
        } else {
            ProbeResult garbled;
            garbled.status = ProbeStatus::Crashed;
            garbled.detail = QString::fromUtf8(line.left(80));
            finishFirst(w, garbled, true);
        }
    }
}

void ProbePool::onTimeLimit(Worker &w) {
    if (w.jobs.empty())
        return;
    ProbeResult r;
    r.status = ProbeStatus::TimeLimit;
    r.detail = QString::number((m_timeLimitMs + 999) / 1000);
    finishFirst(w, r, true);
}

void ProbePool::onGone(Worker &w, const QString &how, bool failedToStart) {
    if (w.jobs.empty()) {
        dropProcess(w);
        return;
    }
    ProbeResult r;
    r.status = failedToStart ? ProbeStatus::WorkerMissing : ProbeStatus::Crashed;
    r.detail = failedToStart ? msg::probeWorkerMissing(m_program, how) : how;
    finishFirst(w, r, true);
}

void ProbePool::finishFirst(Worker &w, const ProbeResult &result, bool workerLost) {
    w.deadline->stop();
    if (!workerLost && !w.fresh) {
        const double ms = double(w.onFirst.nsecsElapsed()) / 1e6;
        m_probeMs = m_probeMs < 0 ? ms : 0.8 * m_probeMs + 0.2 * ms;
    }
    w.fresh = false;
    Job job = std::move(w.jobs.front());
    w.jobs.pop_front();
    if (workerLost) {
        dropProcess(w);
        // The file the worker was lost on is the one answered; the next one it held is tried again.
        for (auto it = w.jobs.rbegin(); it != w.jobs.rend(); ++it)
            m_queue.push_front(std::move(*it));
        w.jobs.clear();
    } else if (!w.jobs.empty()) {
        beginFirst(w);
    }
    // The next files go out before this answer is handled, so the workers never wait on the caller.
    dispatch();
    if (job.done)
        job.done(result);
}

void ProbePool::dropProcess(Worker &w) {
    if (!w.process)
        return;
    QProcess *p = w.process;
    w.process = nullptr;
    w.buffer.clear();
    p->disconnect(this);
    if (p->state() == QProcess::NotRunning) {
        p->deleteLater();
        return;
    }
    connect(p, &QProcess::finished, p, &QObject::deleteLater);
    p->kill();
}

} // namespace vq
