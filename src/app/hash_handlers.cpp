#include "hash_handlers.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "drives_handlers.h"
#include "errorguard.h"
#include "page_drives.h"
#include "tview_base.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

namespace vq {

namespace {
const QString kBackgroundKey = QStringLiteral("Hash/Background");

QTreeWidgetItem *fileItem(const places::LocationRow &r, const QString &named) {
    const QByteArray path = r.absolutePath.isEmpty() ? r.path : r.absolutePath;
    return new QTreeWidgetItem(
        QStringList{QFile::decodeName(path), r.volumeName, r.crc32, named, r.episodeName});
}
} // namespace

THashHandlers::THashHandlers(TView_Base &window) : QObject(&window), m_win(window), m_p(window.drivesPage()) {
    setObjectName(QStringLiteral("HashHandlers"));
    auto *box = new QWidget(window.statusBar());
    box->setObjectName(QStringLiteral("SBarHashing"));
    auto *lay = new QHBoxLayout(box);
    lay->setContentsMargins(0, 0, 0, 0);
    m_status = new QLabel(box);
    m_bar = new QProgressBar(box);
    m_bar->setRange(0, 1000);
    m_bar->setMaximumWidth(160);
    m_bar->setAccessibleName(QCoreApplication::translate("hash_handlers", "Суммы файлов"));
    m_cancel = new QPushButton(QCoreApplication::translate("hash_handlers", "Отмена"), box);
    m_cancel->setObjectName(QStringLiteral("BHashCancel"));
    lay->addWidget(m_status);
    lay->addWidget(m_bar);
    lay->addWidget(m_cancel);
    window.statusBar()->addPermanentWidget(box);
    box->setVisible(false);

    auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
    connect(m_cancel, &QPushButton::clicked, this, g([this] { cancel(); }));
    connect(m_p->BHash, &QPushButton::clicked, this,
            g([this] { start(m_win.drives().chosenVolume(), false); }));
    connect(m_p->BRecheck, &QPushButton::clicked, this, g([this] {
                m_showVerify = true;
                start(m_win.drives().chosenVolume(), true);
            }));
    connect(m_p->BVerify, &QPushButton::clicked, this, g([this] { BVerifyClick(); }));
    connect(m_p->BDuplicates, &QPushButton::clicked, this, g([this] { BDuplicatesClick(); }));
    m_p->CBHashBackground->setChecked(readBoolSetting(*openSettings(), kBackgroundKey, true));
    connect(m_p->CBHashBackground, &QCheckBox::toggled, this, g([this](bool on) {
                writeBoolSetting(*openSettings(), kBackgroundKey, on);
                if (on)
                    start(0, false);
                else
                    cancel();
            }));
}

THashHandlers::~THashHandlers() {
    stop();
}

bool THashHandlers::background() const {
    return m_p->CBHashBackground->isChecked();
}

void THashHandlers::catalogOpened() {
    stop();
    m_again = false;
    // A moment after the window is up, so that the plan's own connection does not slow the start.
    QTimer::singleShot(1500, this, ErrorGuard::wrap(&m_win, [this] {
                           CatalogSession &s = m_win.session();
                           if (background() && s.isOpen() && !s.isReadOnly())
                               start(0, false);
                       }));
}

void THashHandlers::changed(const ChangeNotice &notice) {
    // Files came (this window's intake, an attached folder, another process): read them. The
    // notices of our own digests plan once more after the run, and find nothing.
    CatalogSession &s = m_win.session();
    if ((notice.all || notice.episodes || notice.places) && background() && s.isOpen() && !s.isReadOnly())
        start(0, false);
}

void THashHandlers::start(qint64 volumeId, bool all) {
    CatalogSession &s = m_win.session();
    if (!s.isOpen() || s.isReadOnly())
        return;
    if (running()) {
        m_again = m_again || !all; // what came meanwhile is planned when this run ends
        return;
    }
    m_catalog = s.path();
    m_recheck = all;
    m_files = m_bytes = m_doneFiles = m_doneBytes = m_changed = m_failed = 0;
    const places::Mounts mounts = places::Mounts::current();
    // The plan reads every location of the volumes: on a connection and a thread of its own.
    m_planner = QThread::create([this, path = m_catalog, mounts, volumeId, all] {
        auto plan = std::make_unique<places::HashPlan>();
        try {
            Catalog c(path, true);
            *plan = places::planHashes(c, mounts, volumeId, all);
        } catch (...) {
            // An unreadable file plans nothing; the window's own catalog reports its errors.
        }
        m_plan = std::move(plan);
    });
    connect(m_planner, &QThread::finished, this, ErrorGuard::wrap(&m_win, [this] { planned(); }));
    m_status->setText(msg::hashProgress(0, 0, 0, 0));
    m_status->parentWidget()->setVisible(true);
    m_p->BRecheck->setEnabled(false);
    m_planner->start();
}

void THashHandlers::planned() {
    if (!m_planner)
        return;
    m_planner->wait();
    delete m_planner;
    m_planner = nullptr;
    std::unique_ptr<places::HashPlan> plan = std::move(m_plan);
    CatalogSession &s = m_win.session();
    if (!plan || plan->jobs.empty() || !s.isOpen() || s.path() != m_catalog) {
        stop();
        if (m_showVerify)
            showVerify();
        return;
    }
    m_files = qint64(plan->jobs.size());
    m_bytes = plan->bytes;
    m_lastNotice.start();
    QPointer<THashHandlers> self(this);
    m_runner = std::make_unique<places::HashRunner>([self](places::HashResult r) {
        QMetaObject::invokeMethod(
            self.data(),
            [self, r = std::move(r)] {
                if (self)
                    ErrorGuard::run(&self->m_win, [&] { self->fileDone(r); });
            },
            Qt::QueuedConnection);
    });
    m_runner->add(std::move(plan->jobs));
    showProgress();
}

void THashHandlers::fileDone(const places::HashResult &r) {
    if (!m_runner)
        return; // cancelled: what was read meanwhile is read again next time
    CatalogSession &s = m_win.session();
    if (!s.isOpen() || s.path() != m_catalog) {
        stop();
        return;
    }
    switch (places::storeDigest(s.catalog(), r)) {
    case places::Stored::Changed:
        ++m_changed;
        break;
    case places::Stored::Failed:
        ++m_failed;
        break;
    default:
        break;
    }
    ++m_doneFiles;
    m_doneBytes += r.job.size;
    showProgress();
    noticeNow(false);
    if (m_doneFiles < m_files)
        return;
    stop();
    noticeNow(true);
    if (m_showVerify)
        showVerify();
    if (std::exchange(m_again, false))
        start(0, false);
}

void THashHandlers::showProgress() {
    m_status->setText(msg::hashProgress(m_doneFiles, m_files, m_doneBytes, m_bytes));
    m_bar->setValue(m_bytes > 0 ? int(m_doneBytes * 1000 / m_bytes) : 0);
}

void THashHandlers::noticeNow(bool force) {
    // The pages learn of the digests now and then, not at each file.
    if (!force && m_lastNotice.isValid() && m_lastNotice.elapsed() < 2000)
        return;
    m_lastNotice.restart();
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    s.catalog().notePlacesChanged();
    s.catalog().deliverChanges();
}

void THashHandlers::stop() {
    if (m_runner) {
        m_runner->cancel();
        m_runner.reset();
    }
    if (m_planner) {
        m_planner->wait();
        delete m_planner;
        m_planner = nullptr;
    }
    m_plan.reset();
    m_status->parentWidget()->setVisible(false);
    m_p->BRecheck->setEnabled(true);
    Q_EMIT finished();
}

void THashHandlers::cancel() {
    m_again = false;
    m_showVerify = false;
    stop();
}

void THashHandlers::BVerifyClick() {
    m_showVerify = true;
    if (running())
        return; // shown when the queue ends
    start(m_win.drives().chosenVolume(), false);
    if (!running())
        showVerify();
}

void THashHandlers::showVerify() {
    m_showVerify = false;
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    const places::VerifyReport r =
        places::verifyNames(s.catalog(), places::Mounts::recent(), m_win.drives().chosenVolume());
    QTreeWidget &t = *m_p->TReport;
    t.clear();
    for (bool changed : {false, true}) {
        auto *head = new QTreeWidgetItem(
            QStringList{changed ? QCoreApplication::translate("hash_handlers", "Изменились после подсчёта")
                                : QCoreApplication::translate("hash_handlers", "Не совпадают с именем")});
        for (const places::VerifyEntry &e : r.files)
            if (e.changed == changed)
                head->addChild(fileItem(e.row, e.nameCrc));
        if (head->childCount() == 0)
            delete head;
        else
            t.addTopLevelItem(head);
    }
    t.expandAll();
    m_p->LStatus->setText(msg::verifySummary(r.withChecksum, r.match, r.mismatch, r.changed, r.pending));
}

void THashHandlers::BDuplicatesClick() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    QTreeWidget &t = *m_p->TReport;
    t.clear();
    const auto groups = places::duplicateGroups(s.catalog(), places::Mounts::recent());
    for (const places::DuplicateGroup &g : groups) {
        auto *head = new QTreeWidgetItem(QStringList{
            msg::duplicateGroupLine(qint64(g.locations.size()), g.size, msg::duplicateKind(g.acrossTitles)),
            QString(), places::crcHex(g.crc32)});
        for (const places::LocationRow &r : g.locations)
            head->addChild(fileItem(r, QString()));
        t.addTopLevelItem(head);
    }
    t.expandAll();
    m_p->LStatus->setText(groups.empty() ? msg::duplicatesNone() : QString());
}

} // namespace vq
