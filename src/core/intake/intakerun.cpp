#include "intakerun.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/dataset.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"
#include "intake/probepool.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <sqlite3.h>

#include <mutex>
#include <thread>

namespace vq {

namespace {

// Time the run may hold the event loop while storing, before it commits and lets other events through.
constexpr int kStoreSliceMs = 15;
// How long an answer may wait for the ones after it. Short files are answered every millisecond or
// two: stored as they come, each would cost a transaction, a refresh of the episode view and a turn
// of the event loop of its own, taking from the workers the processor time they probe with.
constexpr int kGatherMs = 10;

QString columnText(sqlite3_stmt *st, int col) {
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(st, col)) : QString();
}

} // namespace

struct IntakeRun::Elsewhere {
    std::thread thread;
    std::mutex lock;
    sqlite3 *db = nullptr; // while the thread reads: for an interrupt
    bool interrupted = false;
    QMultiHash<QPair<QString, qint64>, qint64> holders; // name and size -> title
    ~Elsewhere() {
        if (thread.joinable())
            thread.join();
    }
    void interrupt() {
        std::lock_guard guard(lock);
        interrupted = true;
        if (db)
            sqlite3_interrupt(db);
    }
};

int IntakeReport::failed() const {
    int n = 0;
    for (const Problem &p : problems)
        n += p.isError ? 1 : 0;
    return n;
}

QString IntakeReport::summaryText(int maxLines) const {
    QStringList lines;
    lines << msg::intakeRunStored(stored, listed);
    if (cancelled)
        lines << msg::intakeRunCancelled();
    if (!stopped.isEmpty())
        lines << stopped;
    if (!skippedTwice.isEmpty())
        lines << msg::intakeRunSkippedTwice(int(skippedTwice.size()));
    auto capped = [&](qsizetype count, auto &&line) {
        for (qsizetype i = 0; i < count && i < maxLines; ++i)
            lines << QStringLiteral("  ") + line(i);
        if (count > maxLines)
            lines << QStringLiteral("  ") + msg::intakeRunMore(int(count - maxLines));
    };
    if (!elsewhere.isEmpty()) {
        lines << msg::intakeRunElsewhereHeader(int(elsewhere.size()));
        capped(elsewhere.size(), [&](qsizetype i) {
            return msg::intakeRunElsewhere(elsewhere[i].entry,
                                           elsewhere[i].titles.join(QStringLiteral(", ")));
        });
    }
    if (!problems.isEmpty()) {
        lines << msg::intakeRunProblemsHeader(int(problems.size()));
        capped(problems.size(), [&](qsizetype i) { return problems[i].message; });
    }
    return lines.join(QLatin1Char('\n'));
}

IntakeRun::IntakeRun(CatalogSession &session, ProbePool &pool, QList<ListedFile> entries, const TVVF &episode,
                     RunSettings settings, QObject *parent)
    : QObject(parent), m_session(session), m_pool(pool), m_entries(std::move(entries)), m_base(episode),
      m_last(episode), m_settings(std::move(settings)) {
    m_report.listed = int(m_entries.size());
    m_storeTimer.setSingleShot(true);
    connect(&m_storeTimer, &QTimer::timeout, this, &IntakeRun::storeReady);
}

IntakeRun::~IntakeRun() {
    if (!m_tickets.empty())
        m_pool.abandon(m_tickets);
    if (m_elsewhere)
        m_elsewhere->interrupt();
}

void IntakeRun::start() {
    if (m_running)
        return;
    m_running = true;
    const int n = int(m_entries.size());
    if (n == 0) {
        end();
        return;
    }
    if (!m_session.isOpen()) {
        end(msg::intakeCatalogChanged());
        return;
    }
    m_catalog = &m_session.catalog();
    m_catalogPath = m_session.path();
    Q_EMIT progress(0, n - 1);
    // The probes go out first: the workers start while the catalog is asked what it holds.
    for (int k = 0; k < n; ++k) {
        if (k == 0 && m_settings.firstIsShown) {
            ProbeResult shown;
            shown.media = m_base;
            m_results[0] = shown;
            continue;
        }
        if (size_t(k) < m_settings.probed.size() && m_settings.probed[size_t(k)]) {
            m_results[k] = *m_settings.probed[size_t(k)];
            continue;
        }
        QPointer<IntakeRun> self(this);
        m_tickets.push_back(m_pool.probe(m_entries[k].path, [self, k](const ProbeResult &r) {
            if (!self || !self->m_running)
                return;
            self->m_results[k] = r;
            self->storeSoon();
        }));
    }
    try {
        readStored();
    } catch (const Error &e) {
        end(e.message());
        return;
    }
    lookElsewhere();
    storeSoon();
}

void IntakeRun::readStored() {
    {
        Statement &title = m_catalog->statement(QStringLiteral("SELECT 1 FROM \"Список\" WHERE \"ID\" = ?"));
        title.bind(1, m_base.TitleId);
        const bool found = title.step();
        title.reset();
        if (!found)
            throw Error(msg::intakeNoSuchTitle(m_base.TitleId));
    }
    // The title's own episodes: a few hundred rows at most, found through the index by title.
    Statement &st = m_catalog->statement(QStringLiteral(
        "SELECT \"Серия\", CAST(\"Объём (байт)\" AS INTEGER) FROM \"Серии\" WHERE \"Название\" = ?"));
    st.bind(1, m_base.TitleId);
    while (st.step())
        m_known.insert({columnText(st.handle(), 0), sqlite3_column_int64(st.handle(), 1)});
    st.reset();
}

void IntakeRun::lookElsewhere() {
    QJsonArray names;
    QSet<QString> seen;
    for (const ListedFile &f : m_entries) {
        const QString name = bareName(f.shown);
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    auto state = std::make_shared<Elsewhere>();
    m_elsewhere = state;
    const QByteArray path = QFile::encodeName(m_catalog->path());
    const QByteArray json = QJsonDocument(names).toJson(QJsonDocument::Compact);
    const qint64 title = m_base.TitleId;
    Elsewhere *raw = state.get();
    state->thread = std::thread([raw, path, json, title] {
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return;
        }
        sqlite3_busy_timeout(db, 5000);
        {
            std::lock_guard guard(raw->lock);
            if (raw->interrupted) {
                sqlite3_close(db);
                return;
            }
            raw->db = db;
        }
        QMultiHash<QPair<QString, qint64>, qint64> found;
        sqlite3_stmt *st = nullptr;
        const char *sql = "SELECT \"Название\", \"Серия\", CAST(\"Объём (байт)\" AS INTEGER) FROM \"Серии\" "
                          "WHERE \"Название\" <> ?1 AND \"Серия\" IN (SELECT value FROM json_each(?2))";
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
            sqlite3_bind_int64(st, 1, title);
            sqlite3_bind_text(st, 2, json.constData(), int(json.size()), SQLITE_STATIC);
            while (sqlite3_step(st) == SQLITE_ROW)
                found.insert({columnText(st, 1), sqlite3_column_int64(st, 2)}, sqlite3_column_int64(st, 0));
        }
        sqlite3_finalize(st);
        std::lock_guard guard(raw->lock);
        raw->db = nullptr;
        sqlite3_close(db);
        raw->holders = std::move(found);
    });
}

void IntakeRun::collectElsewhere() {
    if (!m_elsewhere)
        return;
    std::shared_ptr<Elsewhere> state = std::move(m_elsewhere);
    if (state->thread.joinable())
        state->thread.join();
    for (const auto &[entry, key] : m_storedKeys) {
        QStringList titles;
        for (qint64 t : state->holders.values(key)) {
            const QString name = titleName(t);
            if (!titles.contains(name))
                titles << name;
        }
        if (!titles.isEmpty())
            m_report.elsewhere.append({entry, titles});
    }
}

bool IntakeRun::sameCatalog() const {
    return m_catalog && m_session.isOpen() && &m_session.catalog() == m_catalog &&
           m_session.path() == m_catalogPath;
}

QString IntakeRun::titleName(qint64 id) {
    auto it = m_titleNames.find(id);
    if (it != m_titleNames.end())
        return *it;
    if (!sameCatalog())
        return QString::number(id);
    Statement &st =
        m_catalog->statement(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = ?"));
    st.bind(1, id);
    QString name = st.step() ? columnText(st.handle(), 0) : QString::number(id);
    st.reset();
    m_titleNames.insert(id, name);
    return name;
}

void IntakeRun::storeSoon() {
    if (!m_running)
        return;
    const bool allIn = qsizetype(m_results.size()) >= m_entries.size() - m_next;
    if (allIn)
        m_storeTimer.start(0);
    else if (!m_storeTimer.isActive())
        m_storeTimer.start(kGatherMs);
}

void IntakeRun::storeReady() {
    if (!m_running)
        return;
    const int n = int(m_entries.size());
    if (m_next < n && m_results.find(m_next) == m_results.end())
        return;
    if (m_next < n) {
        if (!sameCatalog()) {
            end(msg::intakeCatalogChanged());
            return;
        }
        QElapsedTimer slice;
        slice.start();
        const int from = m_next;
        Batch batch;
        {
            // When the change cannot begin (another program is writing), each row tries on its own, as
            // a single store would, and says why it was not stored.
            std::optional<Catalog::Transaction> transaction;
            try {
                transaction.emplace(*m_catalog);
            } catch (const Error &) {
            }
            while (m_next < n && batch.stop.isEmpty() && slice.elapsed() < kStoreSliceMs) {
                auto it = m_results.find(m_next);
                if (it == m_results.end())
                    break;
                const ProbeResult result = std::move(it->second);
                m_results.erase(it);
                storeOne(m_next++, result, batch);
            }
            if (transaction) {
                try {
                    transaction->commit();
                } catch (const Error &e) {
                    // Rolled back as the transaction goes: none of these rows is stored.
                    for (const auto &[entry, key] : std::as_const(batch.keys)) {
                        if (!m_settings.again)
                            m_known.remove(key);
                        m_report.problems.append({entry, msg::intakeNotStored(entry, e.message()), true});
                    }
                    const QString stop = batch.stop;
                    batch = Batch();
                    batch.stop = stop;
                }
            }
        }
        m_report.stored += batch.stored;
        m_storedKeys += batch.keys;
        if (batch.last) {
            m_last = batch.last->first;
            m_lastPath = batch.last->second;
        }
        if (batch.stored > 0) {
            try {
                refreshEpisodeView(m_session);
            } catch (const Error &) {
                // The rows are stored; the view is read again when the window next shows it.
            }
        }
        for (int k = std::max(from, 1); k < m_next; ++k)
            Q_EMIT progress(k, n - 1);
        if (!batch.stop.isEmpty()) {
            end(batch.stop);
            return;
        }
    }
    if (!m_running)
        return;
    if (m_next >= n)
        end();
    else if (m_results.find(m_next) != m_results.end())
        m_storeTimer.start(0); // the slice ran out: the rest in a later turn of the event loop
}

void IntakeRun::storeOne(int index, const ProbeResult &result, Batch &batch) {
    const ListedFile &entry = m_entries[index];
    if (!result.ok()) {
        if (result.status == ProbeStatus::WorkerMissing) {
            batch.stop = result.detail;
            return;
        }
        // A folder among the entries is simply no file; a fifo or a device named as one is a failure.
        m_report.problems.append(
            {entry.shown, probeFailureMessage(entry.shown, result), result.status != ProbeStatus::IsAFolder});
        return;
    }
    TVVF episode = m_base;
    StoreChoice choice = m_settings.choice;
    if (index == 0 && m_settings.firstIsShown) {
        episode = m_base;
    } else {
        takeProbe(episode, result.media);
        episode.FileName = bareName(entry.shown);
        // The probe writes its frame size into the page's edits, which an unchecked box reads.
        const ProbePage page = probePageTexts(episode);
        choice.widthText = page.EWidth;
        choice.heightText = page.EHeigth;
    }
    episode.SourcePath = entry.path;
    const QPair<QString, qint64> key{episode.FileName, episode.SizeBytes};
    if (!m_settings.again && m_known.contains(key)) {
        m_report.skippedTwice << entry.shown;
        return;
    }
    try {
        appendEpisode(m_session, episode, choice);
    } catch (const Error &e) {
        m_report.problems.append({entry.shown, msg::intakeNotStored(entry.shown, e.message()), true});
        return;
    }
    ++batch.stored;
    batch.last.emplace(episode, entry.path);
    m_known.insert(key);
    batch.keys.append({entry.shown, key});
}

void IntakeRun::cancel() {
    if (!m_running)
        return;
    m_report.cancelled = true;
    end();
}

void IntakeRun::end(const QString &stopped) {
    if (!m_running)
        return;
    m_running = false;
    m_storeTimer.stop();
    if (!stopped.isEmpty())
        m_report.stopped = stopped;
    m_pool.abandon(m_tickets);
    m_tickets.clear();
    m_results.clear();
    // A cut-short run does not wait for the whole catalog to be read.
    if (m_elsewhere && (m_report.cancelled || !m_report.stopped.isEmpty()))
        m_elsewhere->interrupt();
    collectElsewhere();
    Q_EMIT finished();
}

IntakeReport runToEnd(IntakeRun &run) {
    QEventLoop loop;
    QObject::connect(&run, &IntakeRun::finished, &loop, &QEventLoop::quit);
    run.start();
    if (run.isRunning())
        loop.exec();
    return run.report();
}

} // namespace vq
