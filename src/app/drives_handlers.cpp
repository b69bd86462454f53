#include "drives_handlers.h"

#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/formats.h"
#include "catalog/messages.h"
#include "dialogs.h"
#include "errorguard.h"
#include "page_drives.h"
#include "tview_base.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>

namespace vq {

TDrivesHandlers::TDrivesHandlers(TView_Base &window)
    : QObject(&window), m_win(window), m_p(window.drivesPage()) {
    setObjectName(QStringLiteral("DrivesHandlers"));
    auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
    connect(m_p->BCheck, &QPushButton::clicked, this, g([this] { BCheckClick(); }));
    connect(m_p->BCancel, &QPushButton::clicked, this, g([this] { BCancelClick(); }));
    connect(m_p->BRename, &QPushButton::clicked, this, g([this] { BRenameClick(); }));
    connect(m_p->BForget, &QPushButton::clicked, this, g([this] { BForgetClick(); }));
    connect(m_p->BRemoveMissing, &QPushButton::clicked, this, g([this] { BRemoveMissingClick(); }));
}

void TDrivesHandlers::pageShown() {
    if (m_stale)
        fill();
}

TDrivesHandlers::~TDrivesHandlers() {
    stopCheck();
}

void TDrivesHandlers::stopCheck() {
    if (!m_thread)
        return;
    m_cancel = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void TDrivesHandlers::fill() {
    // Counting each volume's files reads its part of the locations: only for the page on screen.
    CatalogSession &s = m_win.session();
    if (m_win.PageControl1()->currentWidget() != m_p || !s.isOpen()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    const qint64 chosen = chosenVolume();
    QTableWidget &g = *m_p->GDrives;
    g.setRowCount(0);
    const auto rows = places::volumes(s.catalog(), places::Mounts::recent());
    g.setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const places::VolumeRow &v = rows[size_t(r)];
        const QString texts[] = {
            v.shownName(),
            v.label,
            v.online ? msg::placeOnline() : msg::placeOffline(),
            GroupDigits(QString::number(v.files)),
            GroupDigits(QString::number(v.bytes)),
            v.lastCheck == 0
                ? QString()
                : QDateTime::fromMSecsSinceEpoch(v.lastCheck).toString(QStringLiteral("dd.MM.yyyy hh:mm")),
            msg::volumeIdentity(int(v.kind))};
        for (int c = 0; c < TPageDrives::kColumns; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            if (c == TPageDrives::cFiles || c == TPageDrives::cBytes)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g.setItem(r, c, item);
        }
        g.item(r, TPageDrives::cName)->setData(Qt::UserRole, v.id);
        if (v.id == chosen)
            g.selectRow(r);
    }
}

qint64 TDrivesHandlers::chosenVolume() const {
    const QTableWidget &g = *m_p->GDrives;
    const QList<QTableWidgetItem *> sel = g.selectedItems();
    if (sel.isEmpty())
        return 0;
    const QTableWidgetItem *name = g.item(sel.first()->row(), TPageDrives::cName);
    return name ? name->data(Qt::UserRole).toLongLong() : 0;
}

void TDrivesHandlers::BCheckClick() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen() || m_thread)
        return;
    m_plan = std::make_unique<places::CheckPlan>(
        places::planCheck(s.catalog(), places::Mounts::current(), chosenVolume()));
    m_checkedCatalog = s.path();
    m_cancel = false;
    m_outcome = {};
    m_p->Progress->setRange(0, int(std::min<qint64>(m_plan->files(), INT_MAX)));
    m_p->Progress->setValue(0);
    m_p->Progress->setVisible(true);
    m_p->BCancel->setEnabled(true);
    m_p->BCheck->setEnabled(false);
    m_p->LStatus->setText(msg::checkProgress(0, m_plan->files()));
    // The file system is read on its own thread; the catalog is written here when it is done.
    m_thread = QThread::create([this] {
        m_outcome = places::runCheck(*m_plan, false, [this](qint64 done, qint64 total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { checkProgress(done, total); }, Qt::QueuedConnection);
            return !m_cancel.load();
        });
    });
    connect(m_thread, &QThread::finished, this, ErrorGuard::wrap(&m_win, [this] { checkDone(); }));
    m_thread->start();
}

void TDrivesHandlers::checkProgress(qint64 done, qint64 total) {
    if (!m_thread)
        return;
    m_p->Progress->setValue(int(std::min<qint64>(done, INT_MAX)));
    m_p->LStatus->setText(msg::checkProgress(done, total));
}

void TDrivesHandlers::checkDone() {
    stopCheck();
    m_p->Progress->setVisible(false);
    m_p->BCancel->setEnabled(false);
    m_p->BCheck->setEnabled(true);
    const std::unique_ptr<places::CheckPlan> plan = std::move(m_plan);
    CatalogSession &s = m_win.session();
    // Another catalog opened meanwhile: what was found belongs to the one that was checked.
    if (!plan || m_outcome.cancelled || !s.isOpen() || s.path() != m_checkedCatalog) {
        m_p->LStatus->clear();
        return;
    }
    const places::CheckReport r = places::applyCheck(s.catalog(), *plan, m_outcome);
    s.catalog().deliverChanges();
    m_p->LStatus->setText(msg::checkSummary(r.present, r.changed, r.missing, r.moved, r.offline));
}

void TDrivesHandlers::BCancelClick() {
    m_cancel = true;
}

void TDrivesHandlers::BRenameClick() {
    const qint64 id = chosenVolume();
    CatalogSession &s = m_win.session();
    if (id == 0 || !s.isOpen())
        return;
    const auto v = places::volume(s.catalog(), id, places::Mounts::recent());
    if (!v)
        return;
    const auto name = m_win.dialogs().inputText(&m_win, m_p->BRename->text(),
                                                msg::renameVolumePrompt(v->shownName()), v->shownName());
    if (name)
        places::renameVolume(s.catalog(), id, *name);
}

void TDrivesHandlers::BForgetClick() {
    const qint64 id = chosenVolume();
    CatalogSession &s = m_win.session();
    if (id == 0 || !s.isOpen() || m_thread)
        return;
    const auto v = places::volume(s.catalog(), id, places::Mounts::recent());
    if (!v || !m_win.dialogs().askYesNo(&m_win, m_p->BForget->text(),
                                        msg::forgetVolumeQuestion(v->shownName(), v->files)))
        return;
    places::forgetVolume(s.catalog(), id);
}

void TDrivesHandlers::BRemoveMissingClick() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen() || m_thread)
        return;
    const qint64 id = chosenVolume();
    qint64 missing = 0;
    for (const places::VolumeRow &v : places::volumes(s.catalog(), places::Mounts::recent()))
        if (id == 0 || v.id == id)
            missing += places::missingCount(s.catalog(), v.id);
    if (missing == 0 ||
        !m_win.dialogs().askYesNo(&m_win, m_p->BRemoveMissing->text(), msg::removeMissingQuestion(missing)))
        return;
    places::removeMissing(s.catalog(), id);
}

} // namespace vq
