#include "intakesession.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "intake/probepool.h"
#include "titleops.h"

#include <QEventLoop>

#include <sqlite3.h>

namespace vq::ops {

namespace {

QString titleNameOf(CatalogSession &s, qint64 id) {
    Statement &st =
        s.catalog().statement(QStringLiteral("SELECT \"Название\" FROM \"Список\" WHERE \"ID\" = ?"));
    st.bind(1, id);
    QString name;
    if (st.step()) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st.handle(), 0));
        name = text ? QString::fromUtf8(text, sqlite3_column_bytes(st.handle(), 0)) : QString();
    }
    st.reset();
    return name;
}

// Every answer before anything is written: the write lock is then held for the stores alone.
std::vector<std::optional<ProbeResult>> probeAll(ProbePool &pool, const QList<ListedFile> &entries) {
    std::vector<std::optional<ProbeResult>> results(size_t(entries.size()));
    QEventLoop loop;
    int left = int(entries.size());
    for (int i = 0; i < entries.size(); ++i)
        pool.probe(entries[i].path, [&, i](const ProbeResult &r) {
            results[size_t(i)] = r;
            if (--left == 0)
                loop.quit();
        });
    if (left > 0)
        loop.exec();
    return results;
}

} // namespace

void IntakeSession::catalogChanged() {
    m_record = TVVF();
    ++m_generation;
}

bool IntakeSession::followCatalog() {
    if (m_record.TitleId == 0)
        return false;
    if (m_session.isOpen() && titleExists(m_session, m_record.TitleId))
        return false;
    forgetTitle();
    return true;
}

void IntakeSession::requireTitle() {
    if (!m_session.isOpen() || m_record.TitleId == 0)
        throw Error(msg::intakeNoTitleChosen());
    // Deleted on another page since it was chosen: the file must not go to a missing title.
    if (followCatalog())
        throw Error(msg::intakeNoTitleChosen());
}

void IntakeSession::storeOne(const StoreChoice &choice) {
    requireTitle();
    if (!hasRecord())
        throw Error(msg::intakeNoFileProbed());
    postPendingTitleEdit(m_session);
    AddToBase(m_session, m_record, choice);
}

std::unique_ptr<IntakeRun> IntakeSession::makeRun(ProbePool &pool, QList<ListedFile> entries,
                                                  RunSettings settings) {
    requireTitle();
    postPendingTitleEdit(m_session);
    m_runGeneration = m_generation;
    return std::make_unique<IntakeRun>(m_session, pool, std::move(entries), m_record, std::move(settings));
}

bool IntakeSession::takeRunResult(const IntakeRun &run) {
    if (!run.storedAny() || m_runGeneration != m_generation)
        return false;
    const qint32 title = m_record.TitleId;
    m_record = run.lastEpisode();
    m_record.TitleId = title;
    return true;
}

bool languageExists(CatalogSession &s, qint64 key) {
    Statement &st = s.catalog().statement(QStringLiteral("SELECT 1 FROM \"Sub\" WHERE \"ID\" = ?"));
    st.bind(1, key);
    const bool found = st.step();
    st.reset();
    return found;
}

AddOutcome addFiles(CatalogSession &s, ProbePool &pool, AddRequest request) {
    if (request.titleName.has_value() == request.titleId.has_value())
        throw Error(msg::intakeNoTitleChosen());
    if (request.entries.isEmpty())
        throw Error(msg::intakeNoVideoFiles(QString()));
    request.settings.probed = probeAll(pool, request.entries);

    AddOutcome out;
    Catalog &catalog = s.catalog();
    Catalog::Transaction transaction(catalog);
    // Another add may have finished while this one waited for the lock.
    catalog.checkExternalChanges();
    if (request.titleId) {
        if (!titleExists(s, *request.titleId))
            throw Error(msg::noTitleWithId(*request.titleId));
        out.titleId = *request.titleId;
        out.titleName = titleNameOf(s, out.titleId);
    } else {
        out.titleName = *request.titleName;
        const std::optional<qint64> found = findTitle(s, out.titleName);
        out.titleMade = !found;
        out.titleId = found ? *found : addTitle(s, out.titleName);
    }

    TVVF episode;
    episode.TitleId = qint32(out.titleId);
    IntakeRun run(s, pool, request.entries, episode, request.settings);
    out.report = runToEnd(run);
    if (out.report.stored > 0) {
        transaction.commit();
        out.kept = true;
    } else if (out.titleMade) {
        // Rolled back with the rest.
        out.titleMade = false;
        out.titleId = 0;
    }
    return out;
}

} // namespace vq::ops
