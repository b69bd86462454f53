#pragma once

#include "places/hashing.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace vq {

class TPageDrives;
class TView_Base;
struct ChangeNotice;

// The files' digests in the window: the queue read in the background (planned on a thread of its
// own, read one thread per device, each digest written here as it comes), its progress and
// "Отмена" in the status bar, and the drives page's checksums and equal files.
class THashHandlers : public QObject {
    Q_OBJECT
public:
    explicit THashHandlers(TView_Base &window);
    ~THashHandlers() override;

    // A catalog was opened, or files came: the queue starts when reading in the background is on.
    void catalogOpened();
    void changed(const ChangeNotice &notice);
    // Reads the files of one volume (0: all) that have no digest of their state; every file with `all`.
    void start(qint64 volumeId, bool all);
    void cancel();
    bool running() const { return m_planner != nullptr || m_runner != nullptr; }

    void BVerifyClick();
    void BDuplicatesClick();

Q_SIGNALS:
    void finished(); // the queue ran out or was cancelled

private:
    bool background() const;
    void planned();
    void fileDone(const places::HashResult &r);
    void stop();
    void showProgress();
    void noticeNow(bool force);
    void showVerify();

    TView_Base &m_win;
    TPageDrives *m_p;
    QLabel *m_status = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
    QThread *m_planner = nullptr;
    std::unique_ptr<places::HashPlan> m_plan;
    std::unique_ptr<places::HashRunner> m_runner;
    QString m_catalog;
    bool m_recheck = false, m_again = false, m_showVerify = false;
    qint64 m_files = 0, m_bytes = 0, m_doneFiles = 0, m_doneBytes = 0, m_changed = 0, m_failed = 0;
    QElapsedTimer m_lastNotice;
};

} // namespace vq
