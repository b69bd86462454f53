#pragma once

#include "places/check.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;

namespace vq {

class TPageDrives;
class TView_Base;

// The drives page: the volumes as the catalog has them, and their check, which reads the file
// system on another thread while the window goes on.
class TDrivesHandlers : public QObject {
    Q_OBJECT
public:
    explicit TDrivesHandlers(TView_Base &window);
    ~TDrivesHandlers() override;

    // The list again from the catalog, the chosen volume kept; only while the page is on screen.
    void fill();
    void pageShown();
    // 0 when none is chosen.
    qint64 chosenVolume() const;
    bool checking() const { return m_thread != nullptr; }

    void BCheckClick(); // the chosen volume, or every one when none is chosen
    void BCancelClick();
    void BRenameClick();
    void BForgetClick();
    void BRemoveMissingClick(); // after a question

private:
    void checkProgress(qint64 done, qint64 total);
    void checkDone();
    void stopCheck();

    TView_Base &m_win;
    TPageDrives *m_p;
    std::unique_ptr<places::CheckPlan> m_plan;
    places::CheckOutcome m_outcome;
    std::atomic<bool> m_cancel{false};
    QThread *m_thread = nullptr;
    QString m_checkedCatalog;
    bool m_stale = true;
};

} // namespace vq
