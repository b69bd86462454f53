#include "intakerun.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "intake/probepool.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <sqlite3.h>

namespace vq {

namespace {

// Time the run may hold the event loop while storing, before it lets other events through.
constexpr int kStoreSliceMs = 20;

QString columnText(sqlite3_stmt *st, int col) {
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(st, col)) : QString();
}

} // namespace

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
}

IntakeRun::~IntakeRun() {
    if (!m_tickets.empty())
        m_pool.abandon(m_tickets);
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
    Q_EMIT progress(0, n - 1);
    // The probes go out first: the workers start while the catalog is asked what it holds.
    for (int k = 0; k < n; ++k) {
        if (k == 0 && m_settings.firstIsShown) {
            ProbeResult shown;
            shown.media = m_base;
            m_results[0] = shown;
            continue;
        }
        QPointer<IntakeRun> self(this);
        m_tickets.push_back(m_pool.probe(m_entries[k].path, [self, k](const ProbeResult &r) {
            if (!self || !self->m_running)
                return;
            self->m_results[k] = r;
            self->storeReady();
        }));
    }
    try {
        readStored();
    } catch (const Error &e) {
        end(e.message());
        return;
    }
    storeReady();
}

void IntakeRun::readStored() {
    sqlite3 *db = m_catalog->handle();
    {
        Statement &title = m_catalog->statement(QStringLiteral("SELECT 1 FROM \"Список\" WHERE \"ID\" = ?"));
        title.bind(1, m_base.TitleId);
        const bool found = title.step();
        title.reset();
        if (!found)
            throw Error(msg::intakeNoSuchTitle(m_base.TitleId));
    }
    QJsonArray names;
    QSet<QString> seen;
    for (const ListedFile &f : m_entries) {
        const QString name = bareName(f.shown);
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    const QByteArray json = QJsonDocument(names).toJson(QJsonDocument::Compact);
    // Only the rows named like a listed file: the catalog may hold millions of episodes.
    sqlite3_stmt *st = nullptr;
    const char *sql = "SELECT \"Название\", \"Серия\", CAST(\"Объём (байт)\" AS INTEGER) FROM \"Серии\" "
                      "WHERE \"Серия\" IN (SELECT value FROM json_each(?1))";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        m_catalog->fail(QStringLiteral("SELECT \"Серии\""));
    sqlite3_bind_text(st, 1, json.constData(), int(json.size()), SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        m_known.insert({columnText(st, 1), sqlite3_column_int64(st, 2)}, sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        m_catalog->fail(QStringLiteral("SELECT \"Серии\""));
}

QString IntakeRun::titleName(qint64 id) {
    auto it = m_titleNames.find(id);
    if (it != m_titleNames.end())
        return *it;
    Statement &st =
        m_catalog->statement(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = ?"));
    st.bind(1, id);
    QString name = st.step() ? columnText(st.handle(), 0) : QString::number(id);
    st.reset();
    m_titleNames.insert(id, name);
    return name;
}

void IntakeRun::storeReady() {
    if (!m_running || m_storeQueued)
        return;
    QElapsedTimer slice;
    slice.start();
    const int n = int(m_entries.size());
    while (m_running && m_next < n) {
        auto it = m_results.find(m_next);
        if (it == m_results.end())
            return;
        if (slice.elapsed() >= kStoreSliceMs) {
            // The rest in a later turn of the event loop, so the window keeps answering.
            m_storeQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_storeQueued = false;
                storeReady();
            });
            return;
        }
        if (!m_session.isOpen() || &m_session.catalog() != m_catalog) {
            end(msg::intakeCatalogChanged());
            return;
        }
        const ProbeResult result = std::move(it->second);
        m_results.erase(it);
        const int index = m_next++;
        storeOne(index, result);
        if (index > 0)
            Q_EMIT progress(index, n - 1);
    }
    if (m_running && m_next >= n)
        end();
}

void IntakeRun::storeOne(int index, const ProbeResult &result) {
    const ListedFile &entry = m_entries[index];
    if (!result.ok()) {
        if (result.status == ProbeStatus::WorkerMissing) {
            end(result.detail);
            return;
        }
        m_report.problems.append(
            {entry.shown, probeFailureMessage(entry.shown, result),
             result.status != ProbeStatus::IsAFolder && result.status != ProbeStatus::NotRegular});
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
    const QPair<QString, qint64> key{episode.FileName, episode.SizeBytes};
    const QList<qint64> holders = m_known.values(key);
    if (!m_settings.again && holders.contains(qint64(m_base.TitleId))) {
        m_report.skippedTwice << entry.shown;
        return;
    }
    try {
        AddToBase(m_session, episode, choice);
    } catch (const Error &e) {
        m_report.problems.append({entry.shown, msg::intakeNotStored(entry.shown, e.message()), true});
        return;
    }
    ++m_report.stored;
    m_last = episode;
    QStringList others;
    for (qint64 t : holders)
        if (t != m_base.TitleId) {
            const QString name = titleName(t);
            if (!others.contains(name))
                others << name;
        }
    if (!others.isEmpty())
        m_report.elsewhere.append({entry.shown, others});
    m_known.insert(key, m_base.TitleId);
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
    if (!stopped.isEmpty())
        m_report.stopped = stopped;
    m_pool.abandon(m_tickets);
    m_tickets.clear();
    m_results.clear();
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
