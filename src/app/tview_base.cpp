#include "tview_base.h"

#include "catalog/messages.h"

#include "catalog/error.h"
#include "catalog/settings.h"
#include "convert/convert.h"
#include "dialogs.h"
#include "drives_handlers.h"
#include "errorguard.h"
#include "hash_handlers.h"
#include "page_drives.h"
#include "page_intake.h"
#include "page_service.h"
#include "page_stats.h"
#include "page_summary.h"
#include "page_titles.h"
#include "stats_handlers.h"
#include "summary_handlers.h"
#include "tgridview.h"
#include "titles_handlers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace vq {

void TClickPanel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

TView_Base::TView_Base(Dialogs &dialogs, QWidget *parent) : QMainWindow(parent), m_dialogs(dialogs) {
    ErrorGuard::install(&m_dialogs);
    m_exportColumnChoice.fill(true);
    for (int c = 0; c < 7; ++c)
        m_seriesWidths[size_t(c)] = kEpisodeColumns[c].chars;
    m_panelSizes = {300, 296, 360, 337, 0, 224, 300};
    buildWindow();
    connectHandlers();
    buildMenus();
    applySeriesWidths();
    m_statsHandlers->VstatUpDate();
    wireIntake();
    m_session.setChangeListener([this](const ChangeNotice &notice) { UpDateAll(notice); });
    watchCatalog();
}

void TView_Base::watchCatalog() {
    // SQLite tells whether another connection wrote since the last look: one cheap question a second.
    m_watch = new QTimer(this);
    m_watch->setInterval(1000);
    connect(m_watch, &QTimer::timeout, this, ErrorGuard::wrap(this, [this] {
                if (!m_session.isOpen() || m_starting || QApplication::activeModalWidget())
                    return;
                if (m_session.catalog().checkExternalChanges())
                    m_session.catalog().deliverChanges();
            }));
    m_watch->start();
}

TView_Base::~TView_Base() {
    // Handler objects that other areas hang on the window watch its controls; they go before the
    // controls do, so none of them sees a control that is half destroyed.
    const QObjectList kids = children();
    for (QObject *o : kids)
        if (!o->isWidgetType() && !qobject_cast<QLayout *>(o))
            delete o;
    m_summaryHandlers = nullptr;
    m_titlesHandlers = nullptr;
    m_statsHandlers = nullptr;
    m_drivesHandlers = nullptr;
    m_hashHandlers = nullptr;
    if (ErrorGuard::dialogs() == &m_dialogs)
        ErrorGuard::install(nullptr);
}

TGridView &TView_Base::GV() {
    return *m_titles->GV;
}
TGridView &TView_Base::GV4() {
    return *m_intake->GV4;
}
TGridView &TView_Base::GVSV() {
    return *m_summary->GVSV;
}
TGridView &TView_Base::GV3() {
    return *m_stats->GV3;
}
TGridView &TView_Base::DBGrid1() {
    return *m_intake->DBGrid1;
}
TGridView &TView_Base::DBGrid2() {
    return *m_titles->DBGrid2;
}

void TView_Base::buildWindow() {
    setWindowTitle(QStringLiteral("Vidoteq"));
    resize(1090, 876);
    auto *central = new QWidget(this);
    auto *cl = new QVBoxLayout(central);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->setSpacing(0);

    m_panel3 = new QWidget(central);
    m_panel3->setObjectName(QStringLiteral("Panel3"));
    m_panel3->setFixedHeight(24);
    auto *bar = new QHBoxLayout(m_panel3);
    bar->setContentsMargins(8, 1, 0, 1);
    bar->setSpacing(0);
    m_eFound = new QLineEdit(m_panel3);
    m_eFound->setObjectName(QStringLiteral("EFound"));
    m_eFound->setFixedSize(281, 22);
    m_bToExl = new QPushButton(QStringLiteral("To Excel"), m_panel3);
    m_bToExl->setObjectName(QStringLiteral("BToExl"));
    m_bToExl->setFixedSize(75, 22);
    m_bToHtML = new QPushButton(QStringLiteral("To HTML"), m_panel3);
    m_bToHtML->setObjectName(QStringLiteral("BToHtML"));
    m_bToHtML->setFixedSize(75, 22);
    m_panel18 = new TClickPanel(m_panel3);
    m_panel18->setObjectName(QStringLiteral("Panel18"));
    m_panel18->setFixedHeight(22);
    m_panel18->setMinimumWidth(120);
    m_panel18->setMaximumWidth(426);
    m_panel18->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_panel18->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel18->setAlignment(Qt::AlignCenter);
    m_panel18->setCursor(Qt::PointingHandCursor);
    bar->addWidget(m_eFound);
    bar->addSpacing(304 - 8 - 281);
    bar->addWidget(m_bToExl);
    bar->addSpacing(392 - 304 - 75);
    bar->addWidget(m_bToHtML);
    bar->addStretch(1);
    bar->addWidget(m_panel18);
    cl->addWidget(m_panel3);

    m_pages = new QTabWidget(central);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setTabPosition(QTabWidget::South);
    m_titles = new TPageTitles;
    m_summary = new TPageSummary;
    m_stats = new TPageStats;
    m_intake = new TPageIntake;
    m_service = new TPageService;
    m_drives = new TPageDrives;
    m_pages->addTab(m_titles, QCoreApplication::translate("tview_base", "Информация по сериям"));
    m_pages->addTab(m_summary, QCoreApplication::translate("tview_base", "Сводная таблица"));
    m_pages->addTab(m_stats, QCoreApplication::translate("tview_base", "Статистика"));
    m_pages->addTab(m_intake, QCoreApplication::translate("tview_base", "Добавить новое"));
    m_pages->addTab(m_service, QCoreApplication::translate("tview_base", "Дополнительно"));
    m_pages->addTab(m_drives, QCoreApplication::translate("tview_base", "Диски"));
    cl->addWidget(m_pages, 1);
    setCentralWidget(central);

    m_sbarPanel = new QLabel(QCoreApplication::translate("tview_base", "Всего:"), this);
    m_sbarPanel->setObjectName(QStringLiteral("SBar"));
    m_sbarPanel->setFixedWidth(150);
    statusBar()->addWidget(m_sbarPanel);
    statusBar()->setSizeGripEnabled(true);

    for (QWidget *w : {static_cast<QWidget *>(m_titles->Panel1), static_cast<QWidget *>(m_intake->Panel13)})
        w->installEventFilter(this);
    for (QSplitter *s : {m_titles->Splitter1, m_intake->SplitterMain, m_intake->SplitterRight,
                         m_stats->Splitter, m_intake->SplitterLeft, m_intake->SplitterLower})
        s->installEventFilter(this);
}

void TView_Base::connectHandlers() {
    auto g = [this](auto f) { return ErrorGuard::wrap(this, f); };

    connect(m_panel18, &TClickPanel::clicked, this, g([this] { Panel18Click(); }));
    m_summaryHandlers = new TSummaryHandlers(*this);
    m_titlesHandlers = new TTitlesHandlers(*this);
    m_statsHandlers = new TStatsHandlers(*this);
    m_drivesHandlers = new TDrivesHandlers(*this);
    m_hashHandlers = new THashHandlers(*this);
    connect(m_bToExl, &QPushButton::clicked, this, g([this] { BToExlClick(); }));
    connect(m_bToHtML, &QPushButton::clicked, this, g([this] { BToHtMLClick(); }));
    connect(m_service->BNewBase, &QPushButton::clicked, this, g([this] { BNewBaseClick(); }));
    connect(m_service->BImportSp, &QPushButton::clicked, this, g([this] { BImportSpClick(); }));
    connect(m_pages, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            m_noActivePage = false;
    });
    // A page picked with the keyboard counts as much as a click on its tab.
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && !m_starting)
            m_noActivePage = false;
        if (index == TabDrives)
            ErrorGuard::run(this, [this] { m_drivesHandlers->pageShown(); });
    });
}

bool TView_Base::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize || type == QEvent::Show) {
        if (watched == m_titles->Panel1 && type == QEvent::Resize)
            Panel1Resize();
        else if (watched == m_intake->Panel13 && type == QEvent::Resize)
            Panel13Resize();
        else if (auto *s = qobject_cast<QSplitter *>(watched)) {
            // A splitter gets its stored size once it is shown with a size of its own to divide.
            if (!s->property("vqApplied").toBool() && s->isVisible() && s->width() > 0 && s->height() > 0) {
                s->setProperty("vqApplied", true);
                applyPanelSizes(s);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- panel sizes ----

namespace {
struct SplitterSlot {
    QSplitter *splitter;
    int index;
};
} // namespace

static SplitterSlot slotOf(TView_Base *w, int i) {
    switch (i) {
    case 0:
        return {w->titlesPage()->Splitter1, 0};
    case 1:
        return {w->intakePage()->SplitterMain, 1};
    case 2:
        return {w->intakePage()->SplitterRight, 0};
    case 3:
        return {w->statsPage()->Splitter, 0};
    case 5:
        return {w->intakePage()->SplitterLeft, 0};
    case 6:
        return {w->intakePage()->SplitterLower, 0};
    default:
        return {nullptr, 0};
    }
}

int TView_Base::panelSize(int index) const {
    if (index == 4)
        return m_service->Panel19->width();
    const SplitterSlot s = slotOf(const_cast<TView_Base *>(this), index);
    if (s.splitter && s.splitter->property("vqApplied").toBool())
        return s.splitter->sizes().value(s.index);
    return m_panelSizes[size_t(index)];
}

void TView_Base::setPanelSize(int index, int px) {
    if (index < 0 || index >= 7)
        return;
    if (index == 4) {
        m_service->Panel19->resize(px, m_service->Panel19->height());
        return;
    }
    m_panelSizes[size_t(index)] = px;
    applyPanelSizes(slotOf(this, index).splitter);
}

// Only the splitter named: the others may have been dragged since their sizes were applied.
void TView_Base::applyPanelSizes(QSplitter *only) {
    for (int i = 0; i < 7; ++i) {
        const SplitterSlot s = slotOf(this, i);
        if (!s.splitter || s.splitter != only || !s.splitter->property("vqApplied").toBool())
            continue;
        QList<int> sizes = s.splitter->sizes();
        int total = 0;
        for (int v : sizes)
            total += v;
        if (total <= 0 || sizes.size() != 2)
            continue;
        const int want = std::clamp(m_panelSizes[size_t(i)], 0, total);
        sizes[s.index] = want;
        sizes[1 - s.index] = total - want;
        s.splitter->setSizes(sizes);
        m_panelSizes[size_t(i)] = s.splitter->sizes().value(s.index);
    }
}

void TView_Base::Panel1Resize() {
    // The grid fills the panel.
    GV().Column(1).SetWidth(m_titles->Panel1->width() - 38);
}

void TView_Base::Panel13Resize() {
    // ENewAni spans the panel through the layout, so it is always as wide as GV4.
    GV4().Column(1).SetWidth(m_intake->Panel13->width() - 38);
}

// ---- lookups that span pages ----

namespace {
int findId(TGridView &grid, int col, qint64 id) {
    GridData &d = grid.Data();
    const int n = d.RowCount();
    for (int r = 0; r < n; ++r)
        if (d.CellAt(col, r).AsInteger() == id)
            return r;
    return -1;
}
} // namespace

int TView_Base::SeeingRed(qint64 id) {
    return findId(GV(), 0, id);
}
int TView_Base::SeeingSV(qint64 id) {
    return findId(GVSV(), gvsv::Id, id);
}
int TView_Base::SeeingG3(qint64 id) {
    return findId(GV3(), gv3::IdColumn, id);
}

// ---- the current title, for every page ----

void TView_Base::LoadSeries() {
    m_titlesHandlers->LoadSeries();
}

qint64 TView_Base::currentTitleId() {
    // The title the page shows, also while a search that matches nothing leaves `Список` empty.
    return m_session.isOpen() ? m_work.currentTitle() : 0;
}

void TView_Base::makeTitleCurrent(qint64 id) {
    // A title the search or the filter hides is shown again with all the others: the page and its
    // list must show the one title the user's keys act on.
    if (id != 0 && SeeingRed(id) < 0 && m_session.isOpen() && ops::titleExists(m_session, id))
        m_summaryHandlers->showAllTitles();
    const bool changed = id != m_work.currentTitle();
    m_work.setCurrentTitle(id);
    m_titlesHandlers->LoadSeries();
    placeRows(changed);
}

void TView_Base::placeRows(bool reveal) {
    const qint64 current = currentTitleId();
    const auto place = [reveal](TGridView &g, int row) {
        g.PlaceCurrentRow(row);
        if (reveal && row >= 0)
            g.MakeRowVisible(row);
    };
    place(GV(), current ? SeeingRed(current) : -1);
    place(GVSV(), current ? SeeingSV(current) : -1);
    const qint64 chosen = m_intakeSession.chosenTitle();
    int chosenRow = -1;
    for (int r = 0; chosen && r < GV4().RowCount(); ++r)
        if (GV4().CellAt(0, r).AsInteger() == chosen) {
            chosenRow = r;
            break;
        }
    place(GV4(), chosenRow);
    place(GV3(), current ? SeeingG3(current) : -1);
}

void TView_Base::BeginTitleRename(TGridView &grid) {
    if (grid.RowCount() == 0)
        return;
    grid.Column(1).AddOption(coEditing);
    grid.EditCell(1, grid.CurrentRow());
}

void TView_Base::GVKNF(int key, TGridView &grid, int col) {
    const int n = grid.RowCount();
    if (n == 0)
        return;
    const QChar ch(key & 0xFF);
    const int s = grid.CurrentRow() < n - 1 ? grid.CurrentRow() : 0;
    const auto found = [&](int row) {
        grid.SetCurrentRow(row);
        grid.MakeRowVisible(grid.CurrentRow());
    };
    // Rows s+1 .. wrapping .. s; on a one-row grid that examines the row itself.
    if (const int keyColumn = grid.Data().KeyColumn(); keyColumn >= 0 && m_session.isOpen()) {
        // A list of keys: the names are asked for a few thousand rows at a time, not made into
        // every row's texts on the way.
        constexpr int kChunk = 4096;
        for (int i = 1; i <= n; i += kChunk) {
            std::vector<int> rows;
            std::vector<qint64> keys;
            for (int k = i; k < i + kChunk && k <= n; ++k) {
                rows.push_back((s + k) % n);
                keys.push_back(qint64(grid.Data().NumberAt(keyColumn, rows.back())));
            }
            const std::vector<QString> names = m_session.catalog().titleNames(keys);
            for (size_t k = 0; k < rows.size(); ++k)
                if (!names[k].isEmpty() && names[k].at(0) == ch)
                    return found(rows[k]);
        }
        return;
    }
    for (int i = 1; i <= n; ++i) {
        const int row = (s + i) % n;
        const QString text = grid.GetCellText(col, row);
        if (!text.isEmpty() && text.at(0) == ch)
            return found(row);
    }
}

void TView_Base::EditName(TGridView &grid, int ACol, int ARow, int IdCol) {
    if (!m_session.isOpen() || !grid.Data().ValidCell(ACol, ARow))
        return;
    const qint64 id = grid.CellAt(IdCol, ARow).AsInteger();
    renameTitleTo(grid, id, grid.GetCellText(ACol, ARow));
}

void TView_Base::renameTitleTo(TGridView &grid, qint64 id, const QString &text) {
    // The renamed title stays current; Enter's move to the next row is for ordinary cell edits.
    grid.KeepPositionAfterEdit();
    try {
        ops::renameTitle(m_session, id, text);
    } catch (...) {
        // The refused name leaves the cell: the lists show the catalog's name again.
        UpDateAll(ChangeNotice{.all = true, .titles = {}, .episodes = false});
        throw;
    }
    UpDateAll(true);
    makeTitleCurrent(id);
    placeRows(true);
    // The edit is over: the title column is read-only again, as a move to another row leaves it.
    grid.Column(&grid == &GVSV() ? int(gvsv::Title) : 1).RemoveOption(coEditing);
}

void TView_Base::postPendingTitleEdit() {
    if (m_session.isOpen())
        ops::postPendingTitleEdit(m_session);
}

// ---- pages ----

int TView_Base::ActivePage() const {
    return m_noActivePage ? -1 : m_pages->currentIndex();
}

void TView_Base::setActivePage(int page) {
    if (page < 0 || page >= PageCount) {
        m_noActivePage = true;
        return;
    }
    m_noActivePage = false;
    m_pages->setCurrentIndex(page);
}

QSize TView_Base::screenSize() const {
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1 << 20, 1 << 20);
}

// ---- lifecycle ----

bool TView_Base::FormCreate() {
    m_starting = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_starting};

    ErrorGuard::run(this, [this] { loadparam(); });
    m_startDir = QDir::currentPath();
    try {
        ErrorGuard::run(this, [this] {
            OpenBase(true);
            // The first views come from one state of the file, whatever another process writes.
            Catalog::ReadSnapshot snapshot(m_session.catalog());
            m_session.ADoType.open();
            m_titlesHandlers->fillTypeList();
            m_statsHandlers->UpStat();
            m_session.Name.setSort(CatalogSession::titleSort());
            m_summaryHandlers->fillFilterBar();
            m_summaryHandlers->restoreFilter(*openSettings());
            m_summaryHandlers->narrowTitles(false);
            m_summaryHandlers->loadLists();
            m_session.Series.setSort(CatalogSession::episodeSort());
            m_titlesHandlers->LoadSeries();
            // The title list shows the current title from the start, not only after a click.
            if (GV().RowCount() > 0)
                GV().MoveToCell(1, 0);
            fillLanguageLists();
            m_statsHandlers->VstatUpDate();
            m_drivesHandlers->pageShown(); // the window may open on the drives page
            m_hashHandlers->catalogOpened();
        });
    } catch (const StartupCancelled &) {
        return false;
    }
    return true;
}

void TView_Base::FormClose() {
    if (m_closed)
        return;
    m_closed = true;
    ErrorGuard::run(this, [this] { saveparam(); });
    // A typed change of the current title is stored, not lost with the window.
    ErrorGuard::run(this, [this] { postPendingTitleEdit(); });
    ErrorGuard::run(this, [this] { m_session.close(); });
}

void TView_Base::closeEvent(QCloseEvent *event) {
    FormClose();
    event->accept();
}

void TView_Base::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    m_shownOnce = true;
}

void TView_Base::UpDateAll(bool Full) {
    if (!m_session.isOpen())
        return;
    UpDateAll(ChangeNotice{.all = true, .titles = {}, .episodes = true});
    if (Full) {
        if (!m_eFound->text().isEmpty())
            m_eFound->clear(); // runs EFoundChange
        m_summaryHandlers->selectSummaryRow(0);
    }
}

void TView_Base::UpDateAll(const ChangeNotice &notice) {
    if (!m_session.isOpen() || notice.isEmpty())
        return;
    m_hashHandlers->changed(notice);
    if (notice.all || notice.places) {
        m_drivesHandlers->fill();
        m_titlesHandlers->showEpisodePlace();
    }
    // Only where files are changed: no title's row or sums did.
    if (!notice.all && notice.titles.isEmpty() && !notice.episodes)
        return;
    // One read of the file for the whole refresh: a change another process makes meanwhile shows
    // at the next refresh, never half in this one.
    m_session.postPendingEdits();
    Catalog::ReadSnapshot snapshot(m_session.catalog());
    m_statsHandlers->UpStat();
    // The bar offers what the titles have now; what it showed and no title has goes.
    if (notice.all || notice.episodes)
        m_summaryHandlers->fillFilterBar();
    m_summaryHandlers->narrowTitles(true);
    m_summaryHandlers->loadLists();
    m_statsHandlers->followSelection();
    const qint64 current = m_work.currentTitle();
    if (current != 0 && !ops::titleExists(m_session, current))
        m_titlesHandlers->clearCurrentTitle();
    else if (current != 0 && notice.touches(current))
        m_titlesHandlers->LoadSeries();
    intakeTitlesChanged(notice);
    placeRows();
    m_statsHandlers->chartsChanged();
}

void TView_Base::fillLanguageLists() {
    DataSet &subs = m_session.TSub;
    if (!subs.isOpen())
        subs.open();
    QComboBox *boxes[3] = {m_intake->CSound, m_intake->CSub_In, m_intake->CSub_Ext};
    for (QComboBox *b : boxes)
        b->clear();
    const int n = subs.recordCount();
    const int lang = subs.fieldIndex(QStringLiteral("Язык"));
    for (int r = 1; r <= n; ++r) {
        subs.setRecNo(r);
        for (QComboBox *b : boxes)
            b->addItem(subs.asString(lang >= 0 ? lang : 1), subs.asInteger(0));
    }
    for (int i = 0; i < 3; ++i)
        boxes[i]->setCurrentIndex(boxes[i]->findData(i));
}

// ---- catalogs ----

QString TView_Base::askCatalogFile() {
    const QString chosen = m_dialogs.openFile(
        this, QCoreApplication::translate("tview_base", "Укажите файл базы"), m_lastDialogPath,
        QCoreApplication::translate("tview_base", "Файл Vidoteq (*.vdq);;Каталог Access (*.mdb);;"
                                                  "Все файлы (*)"));
    if (!chosen.isEmpty())
        m_lastDialogPath = chosen;
    return chosen;
}

void TView_Base::OpenBase(bool UseSaved, const QString &chosen) {
    QString path = chosen;
    const QString given = std::exchange(m_givenCatalog, QString());
    if (UseSaved && !given.isEmpty()) {
        // A file handed over by the desktop or the command line: refused like any other
        // non-catalog, and then the remembered catalog opens as without it.
        try {
            OpenBase(false, given);
            return;
        } catch (const Error &e) {
            m_dialogs.showError(this, e.message());
        }
    }
    if (UseSaved) {
        path = rememberedCatalogPath();
        if (path.isEmpty()) {
            // First start: nothing remembered, so the program makes its own first catalog.
            const QString starter = starterCatalogPath();
            if (!QFileInfo::exists(starter)) {
                QDir().mkpath(QFileInfo(starter).absolutePath());
                Catalog::createStarter(starter);
            }
            path = starter;
        }
        if (!QFileInfo(path).isFile())
            path.clear();
    }
    if (path.isEmpty() && chosen.isEmpty()) {
        path = askCatalogFile();
        if (!path.isEmpty() && convert::isOldCatalog(path))
            path = ConvertOldCatalog(path);
        if (path.isEmpty()) {
            if (UseSaved && m_starting && !m_session.isOpen())
                throw StartupCancelled{};
            return; // cancelled: the open catalog stays as it was
        }
    }

    postPendingTitleEdit();
    const QString previous = m_session.isOpen() ? m_session.path() : QString();
    m_panel18->setText(path);
    try {
        m_session.open(path);
    } catch (...) {
        // A refused file leaves the open catalog open; the panel shows what is open.
        if (m_session.isOpen())
            m_panel18->setText(m_session.path());
        throw;
    }
    rememberCatalogPath(path);
    showCatalogPath();
    fillRecentMenu();
    if (!UseSaved || previous != path) {
        // The selection belongs to the catalog it was made in; its rows come in name order.
        GVSV().ClearRows();
        if (GridColumn *sorted = GVSV().Data().SortedColumn())
            sorted->SetSorted(false);
        m_statsHandlers->clearSelection();
    }
    m_titlesHandlers->clearCurrentTitle();
    intakeCatalogChanged();
    m_session.Name.setFiltered(false);
    m_session.Name.setSort(CatalogSession::titleSort());
    m_session.Series.setSort(CatalogSession::episodeSort());
    if (!m_starting) {
        m_hashHandlers->catalogOpened();
        // A catalog opened later needs its lookup lists too.
        m_session.ADoType.open();
        m_titlesHandlers->fillTypeList();
        fillLanguageLists();
        m_summaryHandlers->fillFilterBar();
    }
}

void TView_Base::showCatalogPath() {
    if (!m_session.isOpen())
        return;
    // A catalog on a read-only disc or share is browsed, and says so where its path is shown.
    const bool ro = m_session.isReadOnly();
    m_panel18->setText(m_session.path() + (ro ? msg::readOnlyMark() : QString()));
    auto *note = statusBar()->findChild<QLabel *>(QStringLiteral("SBarReadOnly"));
    if (!note) {
        note = new QLabel(statusBar());
        note->setObjectName(QStringLiteral("SBarReadOnly"));
        statusBar()->addPermanentWidget(note);
    }
    note->setText(ro ? msg::catalogOpenedReadOnly(m_session.path()) : QString());
    note->setVisible(ro);
}

void TView_Base::Panel18Click() {
    OpenBase(false);
    UpDateAll(true);
}

void TView_Base::BNewBaseClick() {
    if (!m_session.isOpen())
        throw Error(msg::noCatalogToCopy());
    const QString newPath =
        askSavePath(msg::saveNewCatalogCaption(), QStringLiteral("vidoteq.vdq"),
                    QCoreApplication::translate("tview_base", "Файл Vidoteq (*.vdq)"), false);
    if (newPath.isEmpty())
        return;
    if (QFileInfo::exists(newPath))
        throw Error(msg::newCatalogExists(QDir::toNativeSeparators(newPath)));
    postPendingTitleEdit();
    m_session.makeNewCatalog(newPath);
    rememberCatalogPath(newPath);
    showCatalogPath();
    GVSV().ClearRows();
    m_statsHandlers->clearSelection();
    m_titlesHandlers->clearCurrentTitle();
    intakeCatalogChanged();
    m_session.Name.setSort(CatalogSession::titleSort());
    m_session.Series.setSort(CatalogSession::episodeSort());
    m_summaryHandlers->fillFilterBar();
    fillRecentMenu();
    UpDateAll(true);
    m_dialogs.inform(this, QString(), msg::newCatalogMade(QDir::toNativeSeparators(newPath)));
}

} // namespace vq
