#include "intake_handlers.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "dialogs.h"
#include "errorguard.h"
#include "intake/filenames.h"
#include "intake/folderscan.h"
#include "intake/intakerun.h"
#include "intake/probepool.h"
#include "letterkey.h"
#include "ops/altnames.h"
#include "ops/intakesession.h"
#include "ops/titleguess.h"
#include "ops/titleops.h"
#include "page_intake.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "titles_handlers.h"
#include "tview_base.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

namespace vq {

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

std::optional<qint32> chosenKey(const QComboBox *box) {
    if (box->currentIndex() < 0)
        return std::nullopt;
    bool ok = false;
    const int key = box->currentData().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return key;
}

int rowOfId(TGridView &grid, qint64 id) {
    for (int r = 0; r < grid.RowCount(); ++r)
        if (grid.CellAt(0, r).AsInteger() == id)
            return r;
    return -1;
}

} // namespace

TIntakeHandlers::TIntakeHandlers(TView_Base &window)
    : QObject(&window), m_win(window), m_p(window.intakePage()) {
    setObjectName(QStringLiteral("IntakeHandlers"));
    connectAll();
    m_revealTimer.setSingleShot(true);
    m_revealTimer.setInterval(0);
    connect(&m_revealTimer, &QTimer::timeout, this, &TIntakeHandlers::applyReveal);
    m_barTimer.setSingleShot(true);
    m_barTimer.setInterval(0);
    connect(&m_barTimer, &QTimer::timeout, this, [this] {
        if (!m_p)
            return;
        m_p->PBAdd->setMaximum(m_barAt.second);
        m_p->PBAdd->setValue(m_barAt.first);
    });
    watchFolderModel(m_p->FolderModel);
    revealFolder(QDir::homePath(), false, true);
}

TIntakeHandlers::~TIntakeHandlers() {
    // The run lets go of the workers before they go.
    m_run.reset();
    m_pool.reset();
}

ProbePool &TIntakeHandlers::pool() {
    if (!m_pool)
        m_pool = std::make_unique<ProbePool>();
    return *m_pool;
}

void TIntakeHandlers::connectAll() {
    auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
    // The scan already gives the user's case-insensitive order; the list's own sort would not.
    m_p->LB1->setSortingEnabled(false);

    connect(m_p->BSee, &QPushButton::clicked, this, g([this] { BSeeClick(); }));
    connect(m_p->STV, &QTreeView::pressed, this, [this] { m_reveal = {}; });
    connect(m_p->STV->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_reveal = {}; });
    connect(m_p->STV, &QTreeView::clicked, this, g([this](const QModelIndex &) { STVClick(); }));
    connect(m_p->LB1, &QListWidget::itemClicked, this, g([this](QListWidgetItem *) { LB1Click(); }));
    TGridView *gv4 = m_p->GV4;
    connect(gv4, &TGridView::selectCell, this, g([this](int c, int r) { GV4SelectCell(c, r); }));
    connect(gv4, &TGridView::keyDown, this, g([this](QKeyEvent *e) { GV4KeyDown(e); }));
    connect(gv4, &TGridView::afterEdit, this,
            g([this](int c, int r, const QString &) { GV4AfterEdit(c, r); }));
    connect(m_p->BAdd, &QPushButton::clicked, this, g([this] { BAddClick(); }));
    connect(m_p->BAddAll, &QPushButton::clicked, this, g([this] { BAddAllClick(); }));
    connect(m_p->BCancel, &QPushButton::clicked, this, g([this] { BCancelClick(); }));

    m_p->STV->installEventFilter(this);
    m_p->ENewAni->installEventFilter(this);
    m_p->ESname->installEventFilter(this);
    // Focus and key events still arrive while the page tears its controls down.
    connect(m_p, &TPageIntake::aboutToBeDestroyed, this, [this] {
        // Nothing is stored into a window that is going.
        if (m_run)
            m_run->cancel();
        m_run.reset();
        m_p->STV->removeEventFilter(this);
        m_p->ENewAni->removeEventFilter(this);
        m_p->ESname->removeEventFilter(this);
        m_p = nullptr;
    });
}

bool TIntakeHandlers::eventFilter(QObject *watched, QEvent *event) {
    if (!m_p)
        return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (watched == m_p->STV && type == QEvent::KeyRelease) {
        auto *k = static_cast<QKeyEvent *>(event);
        // A held key scans once, when it is finally let go.
        if (!k->isAutoRepeat()) {
            m_reveal = {};
            ErrorGuard::run(&m_win, [&] { STVKeyDown(k->key()); });
        }
    } else if (watched == m_p->ENewAni) {
        if (type == QEvent::FocusIn)
            ENewAniClick();
        else if (type == QEvent::FocusOut)
            ENewAniExit();
        else if (type == QEvent::KeyPress)
            ErrorGuard::run(&m_win, [&] { ENewAniKeyDown(static_cast<QKeyEvent *>(event)->key()); });
    } else if (watched == m_p->ESname && type == QEvent::KeyPress) {
        ErrorGuard::run(&m_win, [&] { ESnameKeyDown(static_cast<QKeyEvent *>(event)->key()); });
    }
    return QObject::eventFilter(watched, event);
}

// ---- folder scan ----

QString TIntakeHandlers::selectedFolder() const {
    const QModelIndex index = m_p->STV->currentIndex();
    return index.isValid() ? m_p->FolderModel->filePath(index) : QString();
}

void TIntakeHandlers::selectFolder(const QString &folder) {
    revealFolder(folder, true);
}

void TIntakeHandlers::revealFolder(const QString &folder, bool makeCurrent, bool expand) {
    m_reveal = {folder, makeCurrent, expand};
    applyReveal();
}

void TIntakeHandlers::applyReveal() {
    if (!m_p || m_reveal.folder.isEmpty())
        return;
    QTreeView *tree = m_p->STV;
    const QModelIndex index = m_p->FolderModel->index(m_reveal.folder);
    if (!index.isValid())
        return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        tree->expand(up);
    if (m_reveal.expand)
        tree->expand(index);
    if (m_reveal.makeCurrent && tree->currentIndex() != index)
        tree->setCurrentIndex(index);
    // An expanded folder goes to the top, so that what it holds is in view below it.
    tree->scrollTo(index,
                   m_reveal.expand ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

void TIntakeHandlers::treeChanged() {
    // Rows above the folder arrive and are sorted as their folders are read: keep it in view
    // until the user acts. One pass once the events in hand are done.
    if (!m_reveal.folder.isEmpty() && !m_revealTimer.isActive())
        m_revealTimer.start();
}

void TIntakeHandlers::See() {
    m_p->LB1->clear();
    const QString folder = selectedFolder();
    if (!isScannableFolder(folder))
        return;
    m_scannedFolder = folder;
    const QList<ListedFile> listed =
        scanFolder(folder, m_p->CAvi->isChecked(), m_p->CSubFolders->isChecked());
    m_p->LB1->setUpdatesEnabled(false);
    for (const ListedFile &f : listed) {
        auto *item = new QListWidgetItem(f.shown, m_p->LB1);
        // The text may carry replacement marks; the file is found by the file system's own name.
        item->setData(Qt::UserRole, f.path);
    }
    m_p->LB1->setUpdatesEnabled(true);
    proposeTitle(folder, listed);
}

void TIntakeHandlers::proposeTitle(const QString &folder, const QList<ListedFile> &listed) {
    CatalogSession &s = m_win.session();
    QStringList names;
    for (const ListedFile &f : listed)
        names << f.shown;
    const QString proposed = ops::proposedTitle(names, folder);
    // The same folder read again (F5, the tree's own refresh) keeps what the user did with it.
    if (folder == m_proposalFolder && proposed == m_proposalName)
        return;
    m_proposalFolder = folder;
    m_proposalName = proposed;
    m_proposed.clear();
    m_proposedMatch = 0;
    // A run in progress keeps the title it was started for on the page.
    if (proposed.isEmpty() || !s.isOpen() || adding())
        return;
    // A match is chosen and shown; nothing is added until the user adds the files.
    if (const std::optional<ops::TitleMatch> m = ops::matchTitle(s.catalog(), proposed)) {
        if (rowOfId(m_win.GV4(), m->id) < 0)
            m_win.summary().showAllTitles();
        chooseTitle(m->id);
        m_proposedMatch = m->id;
    } else if (!m_p->ENewAni->hasFocus()) {
        // Ready for Enter, which makes the title.
        m_p->ENewAni->setText(proposed);
        m_proposedInBox = proposed;
    }
    m_proposed = proposed;
}

void TIntakeHandlers::offerOtherName(qint64 picked) {
    const QString proposed = std::exchange(m_proposed, QString());
    CatalogSession &s = m_win.session();
    if (proposed.isEmpty() || picked == m_proposedMatch ||
        !ops::offersOtherName(s.catalog(), picked, proposed))
        return;
    const std::optional<ops::TitleRecord> title = ops::titleRecord(s.catalog(), picked);
    if (title && m_win.dialogs().askYesNo(&m_win, msg::otherNameOfferCaption(),
                                          msg::otherNameOffer(proposed, title->name)))
        ops::addAltName(s, picked, proposed);
}

bool TIntakeHandlers::showDropped(const QList<QByteArray> &paths) {
    QList<ListedFile> listed;
    QStringList folders;
    for (const QByteArray &path : paths) {
        const QFileInfo info(QFile::decodeName(path));
        if (info.isDir())
            folders << QFileInfo(pathText(path)).absoluteFilePath();
    }
    const bool oneFolder = folders.size() == 1 && paths.size() == 1;
    for (const QByteArray &path : paths) {
        const QString text = QFileInfo(pathText(path)).absoluteFilePath();
        if (QFileInfo(QFile::decodeName(path)).isDir()) {
            // Several folders: each entry says which folder it is in.
            const QString prefix = oneFolder ? QString() : QFileInfo(text).fileName() + QLatin1Char('/');
            for (ListedFile f :
                 scanNativeFolder(path, m_p->CAvi->isChecked(), m_p->CSubFolders->isChecked())) {
                f.shown.prepend(prefix);
                listed << f;
            }
        } else if (QFileInfo(QFile::decodeName(path)).isFile() &&
                   (!m_p->CAvi->isChecked() || hasVideoExtension(text))) {
            listed << ListedFile{QFileInfo(text).fileName(), path};
        }
    }
    if (listed.isEmpty() && !oneFolder)
        return false;
    if (oneFolder)
        selectFolder(folders.first());
    m_scannedFolder = oneFolder ? folders.first() : QString();
    m_p->LB1->clear();
    for (const ListedFile &f : listed)
        (new QListWidgetItem(f.shown, m_p->LB1))->setData(Qt::UserRole, f.path);
    m_p->LB1->setFocus();
    return true;
}

void TIntakeHandlers::BSeeClick() {
    See();
}

void TIntakeHandlers::STVClick() {
    if (isScannableFolder(selectedFolder()))
        See();
}

void TIntakeHandlers::STVKeyDown(int key) {
    if (key == Qt::Key_F5)
        refreshTree();
    STVClick();
}

void TIntakeHandlers::refreshTree() {
    // The model caches what it has read and may have missed a change (no watching, or a listing
    // that was taken just before the change); a fresh model reads every folder again.
    const QString keep = selectedFolder();
    const bool wasExpanded = !keep.isEmpty() && m_p->STV->isExpanded(m_p->STV->currentIndex());
    watchFolderModel(TPageIntake::makeFolderModel(m_p));
    if (!keep.isEmpty())
        revealFolder(keep, true, wasExpanded);
}

void TIntakeHandlers::watchFolderModel(QFileSystemModel *model) {
    if (model != m_p->FolderModel)
        m_p->setFolderModel(model);
    connect(model, &QFileSystemModel::directoryLoaded, this, &TIntakeHandlers::treeChanged);
    connect(model, &QFileSystemModel::rowsInserted, this, &TIntakeHandlers::treeChanged);
    connect(model, &QFileSystemModel::layoutChanged, this, &TIntakeHandlers::treeChanged);
}

void TIntakeHandlers::LB1Click() {
    const QListWidgetItem *item = m_p->LB1->currentItem();
    if (!item || !item->isSelected())
        return;
    OpenAVI(item->text(), item->data(Qt::UserRole).toByteArray());
}

// ---- probe ----

void TIntakeHandlers::OpenAVI(const QString &name, const QByteArray &nativePath) {
    const QByteArray path =
        nativePath.isEmpty() ? QFile::encodeName(QDir(m_scannedFolder).filePath(name)) : nativePath;
    ProbePool &workers = pool();
    if (m_clickTicket)
        workers.abandon({m_clickTicket}); // only the last click counts
    m_clickTicket = workers.probe(
        path,
        [this, name, path](const ProbeResult &result) {
            m_clickTicket = 0;
            if (!m_p)
                return;
            ErrorGuard::run(&m_win, [&] {
                TVVF &episode = m_win.CurrentEpisode();
                const QString shown = episode.FileName;
                try {
                    applyProbe(name, result, episode, m_page);
                    episode.SourcePath = path;
                } catch (...) {
                    // The page still shows the previous file; the record must name that file too, or
                    // "Добавить" would store the unreadable file under the previous file's values.
                    episode.FileName = shown;
                    throw;
                }
                m_shownPath = path;
                showProbe();
            });
        },
        /*urgent=*/true);
}

void TIntakeHandlers::showProbe() {
    m_p->EName->setText(m_page.EName);
    m_p->ELong->setText(m_page.ELong);
    m_p->EDSize->setText(m_page.EDSize);
    m_p->EWidth->setText(m_page.EWidth);
    m_p->EHeigth->setText(m_page.EHeigth);
    m_p->ECodec->setText(m_page.ECodec);
    m_p->LRate->setText(m_page.LRate);
    m_p->LSCount->setText(m_page.LSCount);
}

// ---- titles ----

void TIntakeHandlers::ENewAniClick() {
    if (m_p->ENewAni->text() == TPageIntake::newTitlePlaceholder())
        m_p->ENewAni->clear();
    // The proposed name is taken with Enter or typed over, once the click has placed the cursor.
    if (!m_proposedInBox.isEmpty() && m_p->ENewAni->text() == m_proposedInBox)
        QTimer::singleShot(0, m_p->ENewAni, [e = m_p->ENewAni] { e->selectAll(); });
}

void TIntakeHandlers::ENewAniExit() {
    if (m_p->ENewAni->text().isEmpty())
        m_p->ENewAni->setText(TPageIntake::newTitlePlaceholder());
}

void TIntakeHandlers::ENewAniKeyDown(int key) {
    if (!isEnter(key))
        return;
    const QString text = m_p->ENewAni->text();
    // A nameless title could only be found again by its empty row.
    if (text.trimmed().isEmpty() || text == TPageIntake::newTitlePlaceholder())
        return;
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    m_win.postPendingTitleEdit();
    const qint64 id = ops::addTitle(s, text);
    // The placeholder only shows in an edit nobody is typing in: the next name starts empty.
    if (m_p->ENewAni->hasFocus())
        m_p->ENewAni->clear();
    else
        m_p->ENewAni->setText(TPageIntake::newTitlePlaceholder());
    m_win.UpDateAll(true);
    // A new title is always listed and chosen, whatever the filter bar would hide.
    if (rowOfId(m_win.GV4(), id) < 0)
        m_win.summary().showAllTitles();
    chooseTitle(id);
}

void TIntakeHandlers::chooseTitle(qint64 id) {
    m_win.intakeSession().chooseTitle(id);
    m_win.makeTitleCurrent(id);
    showChosenTitle();
    m_win.placeRows(true);
}

void TIntakeHandlers::showChosenTitle() {
    if (!m_p)
        return;
    CatalogSession &s = m_win.session();
    const qint64 id = m_win.intakeSession().chosenTitle();
    const std::optional<ops::TitleRecord> r =
        s.isOpen() && id != 0 ? ops::titleRecord(s.catalog(), id) : std::nullopt;
    if (!r) {
        // Episodes must not go to a title the catalog no longer has.
        m_win.intakeSession().forgetTitle();
        m_p->ESname->clear();
        m_win.DBGrid1().ClearRows();
        return;
    }
    m_p->ESname->setText(r->name);
    TTitlesHandlers::fillEpisodeGrid(m_win.DBGrid1(), titleEpisodeTexts(s.catalog(), id));
}

void TIntakeHandlers::titlesChanged(const ChangeNotice &notice) {
    const qint64 id = m_win.intakeSession().chosenTitle();
    if (id != 0 && notice.touches(id))
        showChosenTitle();
    else if (id != 0 && !ops::titleExists(m_win.session(), id))
        showChosenTitle();
}

void TIntakeHandlers::GV4SelectCell(int, int ARow) {
    TGridView &gv4 = m_win.GV4();
    if (!m_win.session().isOpen() || ARow < 0 || ARow >= gv4.RowCount())
        return;
    const qint64 picked = gv4.CellAt(0, ARow).AsInteger();
    chooseTitle(picked);
    offerOtherName(picked);
    if (gv4.Column(1).HasOption(coEditing))
        gv4.Column(1).RemoveOption(coEditing);
}

void TIntakeHandlers::GV4KeyDown(QKeyEvent *event) {
    TGridView &g = m_win.GV4();
    const int key = event->key();
    if (key == Qt::Key_F2) {
        m_win.BeginTitleRename(g);
        return;
    }
    CatalogSession &s = m_win.session();
    const int r = g.CurrentRow();
    if (key == Qt::Key_Delete && s.isOpen() && r >= 0 && r < g.RowCount()) {
        // The highlighted row's title, by its key.
        const qint64 id = g.CellAt(0, r).AsInteger();
        if (!m_win.dialogs().askYesNo(&m_win, msg::deleteQuestionCaption(),
                                      msg::deleteQuestion(g.GetCellText(1, r))))
            return;
        ops::deleteTitle(s, id);
        m_win.UpDateAll(true);
        const int rows = g.RowCount();
        if (rows == 0)
            return;
        g.MoveToCell(1, std::max(0, r < rows - 1 ? r : r - 1));
        g.MakeRowVisible(std::min(r, rows - 1));
        return;
    }
    if (const int letter = letterKey(event))
        m_win.GVKNF(letter, g, 1);
}

void TIntakeHandlers::GV4AfterEdit(int ACol, int ARow) {
    m_win.EditName(m_win.GV4(), ACol, ARow, 0);
}

void TIntakeHandlers::ESnameKeyDown(int key) {
    if (!isEnter(key))
        return;
    // The chosen title, by its key, or nothing: never a row that happens to be highlighted.
    const qint64 id = m_win.intakeSession().chosenTitle();
    if (id == 0 || !m_win.session().isOpen())
        return;
    m_win.renameTitleTo(m_win.GV4(), id, m_p->ESname->text());
    showChosenTitle();
}

// ---- adding ----

StoreChoice TIntakeHandlers::storeChoice() const {
    StoreChoice c;
    c.soundId = chosenKey(m_p->CSound);
    c.subInId = chosenKey(m_p->CSub_In);
    c.subExtId = chosenKey(m_p->CSub_Ext);
    c.videoOnly = m_p->CAvi->isChecked();
    c.widthText = m_p->EWidth->text();
    c.heightText = m_p->EHeigth->text();
    return c;
}

void TIntakeHandlers::afterAdding() {
    // The catalog's notice refreshed every page; the page's grid shows the title stored into, its
    // newest row current.
    showChosenTitle();
    TGridView &grid = m_win.DBGrid1();
    if (grid.RowCount() > 0) {
        grid.SetCurrentRow(grid.RowCount() - 1);
        grid.MakeRowVisible(grid.CurrentRow());
    }
}

void TIntakeHandlers::requireTitle() {
    try {
        m_win.intakeSession().requireTitle();
    } catch (const Error &) {
        m_p->ESname->clear(); // what it showed is no title of this catalog
        throw;
    }
}

void TIntakeHandlers::catalogChanged() {
    if (!m_p)
        return;
    m_p->ESname->clear();
    m_win.DBGrid1().ClearRows();
    m_page = ProbePage();
    m_shownPath.clear();
    showProbe();
    // What the files proposed was matched against the other catalog.
    if (!m_proposedInBox.isEmpty() && m_p->ENewAni->text() == m_proposedInBox && !m_p->ENewAni->hasFocus())
        m_p->ENewAni->setText(TPageIntake::newTitlePlaceholder());
    m_proposed.clear();
    m_proposedInBox.clear();
    m_proposedMatch = 0;
    m_proposalFolder.clear();
    m_proposalName.clear();
}

void TIntakeHandlers::BAddClick() {
    if (adding() || !m_win.session().isOpen())
        return;
    requireTitle();
    if (m_p->EName->text().isEmpty())
        return;
    m_win.intakeSession().storeOne(storeChoice());
    afterAdding();
    m_p->LB1->setFocus();
}

bool TIntakeHandlers::adding() const {
    return m_run && m_run->isRunning();
}

void TIntakeHandlers::setRunning(bool running) {
    m_barTimer.stop();
    m_p->BAdd->setEnabled(!running);
    m_p->BAddAll->setEnabled(!running);
    m_p->BCancel->setVisible(running);
    m_p->PBAdd->setVisible(running);
}

void TIntakeHandlers::BAddAllClick() {
    QListWidget *list = m_p->LB1;
    if (adding() || !m_win.session().isOpen())
        return;
    requireTitle();
    // Without a file listed and clicked there is nothing to go on: say what to do.
    if (m_p->EName->text().isEmpty() || list->count() == 0)
        throw Error(msg::addAllNeedsFiles());
    QList<ListedFile> entries;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        QByteArray path = item->data(Qt::UserRole).toByteArray();
        if (path.isEmpty())
            path = QFile::encodeName(QDir(m_scannedFolder).filePath(item->text()));
        entries << ListedFile{item->text(), path};
    }
    RunSettings settings;
    settings.choice = storeChoice();
    settings.again = m_p->CAgain->isChecked();
    const TVVF &shown = m_win.CurrentEpisode();
    // What the page shows of the first file (a typed frame size too) is what gets stored.
    settings.firstIsShown = shown.FileName == bareName(entries[0].shown) &&
                            (m_shownPath.isEmpty() || m_shownPath == entries[0].path);

    QProgressBar *bar = m_p->PBAdd;
    bar->setRange(0, int(entries.size()) - 1);
    bar->setValue(0);
    m_progressSeen.clear();
    m_run = m_win.intakeSession().makeRun(pool(), entries, settings);
    connect(m_run.get(), &IntakeRun::progress, this, [this](int position, int maximum) {
        m_progressSeen << position;
        m_barAt = {position, maximum};
        // The bar paints itself at once on each step: once per turn of the event loop is enough.
        if (!m_barTimer.isActive())
            m_barTimer.start();
    });
    connect(m_run.get(), &IntakeRun::finished, this, [this] {
        // Handled once the run has left its own call.
        QTimer::singleShot(0, this, [this] { ErrorGuard::run(&m_win, [this] { runFinished(); }); });
    });
    setRunning(true);
    m_run->start();
}

void TIntakeHandlers::BCancelClick() {
    if (adding())
        m_run->cancel();
}

void TIntakeHandlers::runFinished() {
    if (!m_run || m_run->isRunning() || !m_p)
        return;
    std::unique_ptr<IntakeRun> run = std::move(m_run);
    setRunning(false);
    const IntakeReport &report = run->report();
    if (m_win.intakeSession().takeRunResult(*run)) {
        // The page shows the last stored file, as it did when each file was probed on the page.
        m_page = probePageTexts(m_win.CurrentEpisode());
        m_shownPath = run->lastPath();
        showProbe();
        afterAdding();
    }
    if (!report.stopped.isEmpty() || report.failed() > 0)
        m_win.dialogs().showError(&m_win, report.summaryText());
    else
        m_win.dialogs().inform(&m_win, msg::intakeRunCaption(), report.summaryText());
}

} // namespace vq
