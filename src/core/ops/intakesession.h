#pragma once

#include "intake/episodes.h"
#include "intake/folderscan.h"
#include "intake/intakerun.h"
#include "intake/mediaprobe.h"

#include <QStringList>
#include <memory>
#include <optional>

namespace vq {

class CatalogSession;
class ProbePool;

namespace ops {

// The intake page's state between the user's steps (the probed file, the chosen title) and its
// two stores. Both belong to the catalog they were made in: another catalog forgets them.
class IntakeSession {
public:
    explicit IntakeSession(CatalogSession &session) : m_session(session) {}

    // The probed file as the page shows it; its TitleId is the chosen title.
    TVVF &record() { return m_record; }
    const TVVF &record() const { return m_record; }
    bool hasRecord() const { return !m_record.FileName.isEmpty(); }

    // 0 when no title is chosen.
    qint64 chosenTitle() const { return m_record.TitleId; }
    void chooseTitle(qint64 id) { m_record.TitleId = qint32(id); }
    void forgetTitle() { m_record.TitleId = 0; }

    // Another catalog is open (or made): nothing chosen or probed is kept, and a run that began on
    // the previous one hands nothing back.
    void catalogChanged();
    // After titles changed: a chosen title the catalog no longer holds is forgotten; true when it was.
    bool followCatalog();

    // Refuses with a message for the user when episodes have no title to go to.
    void requireTitle();

    // "Добавить": the probed file as one episode of the chosen title.
    void storeOne(const StoreChoice &choice);

    // "Добавить всё": a run over `entries` for the chosen title (not started). The rows are committed
    // a few at a time, each few before the window waits again, so that the window never holds a write
    // lock while it waits for the workers.
    std::unique_ptr<IntakeRun> makeRun(ProbePool &pool, QList<ListedFile> entries, RunSettings settings);
    // What a finished run leaves on the page: its last stored file, under the title chosen now.
    // False when it stored nothing or began on another catalog.
    bool takeRunResult(const IntakeRun &run);

private:
    CatalogSession &m_session;
    TVVF m_record;
    quint64 m_generation = 0;
    quint64 m_runGeneration = 0;
};

bool languageExists(CatalogSession &session, qint64 key);

// What the command-line tool's add asks for: a title by exact name (made, type 4, when there is
// none) or by ID, and the files.
struct AddRequest {
    std::optional<QString> titleName;
    std::optional<qint64> titleId;
    QList<ListedFile> entries;
    RunSettings settings;
};

struct AddOutcome {
    IntakeReport report;
    qint64 titleId = 0; // 0: the title was to be made, and was not
    QString titleName;
    bool titleMade = false; // made by this add, and kept
    bool kept = false;      // anything was written
};

// Probes every entry first, then finds or makes the title and stores the files in one write
// transaction: two adds naming the same new title at once make it once (the second waits and finds
// it), and an add that stores nothing leaves nothing, not even the title it made.
AddOutcome addFiles(CatalogSession &session, ProbePool &pool, AddRequest request);

} // namespace ops
} // namespace vq
