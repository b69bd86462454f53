#pragma once

#include "intake/episodes.h"
#include "intake/folderscan.h"
#include "intake/mediaprobe.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vq {

class Catalog;
class CatalogSession;
class DataSet;
class ProbePool;

// What an "add all" run did, for its closing message and the tool's output.
struct IntakeReport {
    struct Elsewhere {
        QString entry;      // as the list shows it
        QStringList titles; // the other titles that hold a file of that name and size
    };
    struct Problem {
        QString entry;
        QString message;     // names the file and the reason
        bool isError = true; // false for an entry that is simply no file of its own (a folder)
    };
    int listed = 0;
    int stored = 0;
    QStringList skippedTwice; // already stored under the title with the same name and size
    QList<Elsewhere> elsewhere;
    QList<Problem> problems;
    bool cancelled = false;
    QString stopped; // why the run ended before the end of the list, when something else than the user did

    int failed() const;
    // The closing message: counts, then the files stored elsewhere too and every reason, at most
    // `maxLines` of each list.
    QString summaryText(int maxLines = 20) const;
};

// How the files of a run are stored.
struct RunSettings {
    StoreChoice choice;
    bool again = false;        // store a file even when the title has it already
    bool firstIsShown = false; // entry 0 is the file the page shows: stored as shown, without a probe
    // Answers already in hand, by entry: those entries are not probed again.
    std::vector<std::optional<ProbeResult>> probed;
};

// "Добавить всё": probes the entries through the worker pool and stores them as episodes of
// `episode.TitleId` with the same choices, in list order, on the thread that runs it, so that the
// window keeps answering while the workers probe. An entry that cannot be probed or stored is
// reported and the run goes on; a file the title already holds under the same name and size is
// skipped unless `again`. The rows in hand are stored a few at a time, each few in one transaction
// that ends before the window gets the event loop back, so that a cancelled or stopped run keeps what
// it stored and a run cut short by a crash leaves whole rows only.
class IntakeRun : public QObject {
    Q_OBJECT
public:
    IntakeRun(CatalogSession &session, ProbePool &pool, QList<ListedFile> entries, const TVVF &episode,
              RunSettings settings, QObject *parent = nullptr);
    ~IntakeRun() override;

    void start();
    // Stops after the file being stored; what is stored stays. The probes in hand are dropped.
    void cancel();
    bool isRunning() const { return m_running; }
    const IntakeReport &report() const { return m_report; }
    // The last stored file's record and page texts; `stored()` false when nothing was stored.
    bool storedAny() const { return m_report.stored > 0; }
    const TVVF &lastEpisode() const { return m_last; }
    // The file system's name of that file.
    const QByteArray &lastPath() const { return m_lastPath; }
    ProbePage lastPage() const { return probePageTexts(m_last); }

Q_SIGNALS:
    // 0 .. entries - 1: 0 when the run starts, then k once entry k is dealt with.
    void progress(int position, int maximum);
    void finished();

private:
    struct Stored {
        qint64 title;
        QString name;
        qint64 size;
    };
    void readStored();
    void lookElsewhere();
    void collectElsewhere();
    // Rows stored in this turn, counted once their transaction is stored.
    struct Batch {
        int stored = 0;
        QList<std::pair<QString, QPair<QString, qint64>>> keys;
        std::optional<std::pair<TVVF, QByteArray>> last;
        QString stop; // the run cannot go on (no worker program)
    };
    // A store of the answers in hand, soon: at once when every answer left is in.
    void storeSoon();
    void storeReady();
    void storeOne(int index, const ProbeResult &result, Batch &batch);
    void end(const QString &stopped = QString());
    QString titleName(qint64 id);
    // The catalog the run began on is still the open one.
    bool sameCatalog() const;

    CatalogSession &m_session;
    ProbePool &m_pool;
    Catalog *m_catalog = nullptr;
    QString m_catalogPath;
    QList<ListedFile> m_entries;
    TVVF m_base;
    TVVF m_last;
    QByteArray m_lastPath;
    RunSettings m_settings;
    IntakeReport m_report;
    bool m_running = false;
    QTimer m_storeTimer;
    int m_next = 0;
    std::map<int, ProbeResult> m_results;
    std::vector<quint64> m_tickets;
    // Names and sizes of the title's files, with those stored by this run.
    QSet<QPair<QString, qint64>> m_known;
    // The stored entries with their names and sizes, for the files other titles hold too.
    QList<std::pair<QString, QPair<QString, qint64>>> m_storedKeys;
    QHash<qint64, QString> m_titleNames;
    // The other titles' files named like a listed file are looked up on a connection of its own, in a
    // thread: that means reading every episode row, which would hold the window.
    struct Elsewhere;
    std::shared_ptr<Elsewhere> m_elsewhere;
};

// Runs `run` to its end in a local event loop (the command-line tool) and returns its report.
IntakeReport runToEnd(IntakeRun &run);

} // namespace vq
