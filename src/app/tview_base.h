#pragma once

#include "browser/exportlist.h"
#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "export/exportcolumns.h"
#include "intake/mediaprobe.h"
#include "ops/intakesession.h"
#include "ops/titleops.h"
#include "ops/workspace.h"

#include <QLabel>
#include <QMainWindow>
#include <QSet>
#include <QTimer>

#include <array>

class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace vq {

class Dialogs;
class TGridView;
class TPageTitles;
class TPageSummary;
class TPageStats;
class TPageIntake;
class TPageService;
class TPageDrives;
class TDrivesHandlers;
class THashHandlers;
class TSummaryHandlers;
class TTitlesHandlers;
class TStatsHandlers;

// The path panel of the top bar: shows the open catalog's path, a click switches catalogs.
class TClickPanel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Its design width when the bar has room; it gives way on a narrow window.
    QSize sizeHint() const override { return {426, 22}; }
Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Thrown when the user cancels the open dialog at start-up with no catalog to fall back on.
struct StartupCancelled {};

// The main window: owns the catalog session, every grid and the program-wide state, the
// lifecycle and the operations that span pages. Each page is its own widget class, and its
// handlers are their own object (summary(), ...), made with the window.
class TView_Base : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int PageCount = 6;
    enum Page { TOsn = 0, Tns = 1, Stat = 2, TabNewA = 3, TabServ = 4, TabDrives = 5 };

    explicit TView_Base(Dialogs &dialogs, QWidget *parent = nullptr);
    ~TView_Base() override;

    // ---- lifecycle ----
    // The creation sequence. False when the user cancelled the open dialog at start-up: the
    // program then ends without showing the window.
    bool FormCreate();
    // The close sequence; runs once (closing the window runs it).
    void FormClose();
    // After a change of titles (Full: the search box is emptied and the first summary row's title
    // becomes current, as after opening a catalog) or of episodes.
    void UpDateAll(bool Full);
    // The one reaction to core's notice of a change (own or another process's): every grid and
    // page reads again, by key, what it shows.
    void UpDateAll(const ChangeNotice &notice);
    // Puts the grids' current rows on the keys: GV and GVSV on the current title, GV4 on the intake
    // page's chosen title, GV3 on the current title where it is selected. `reveal` scrolls to them.
    void placeRows(bool reveal = false);
    // `chosen`: a catalog already chosen (a recent one, one handed over), instead of the dialog.
    void OpenBase(bool UseSaved, const QString &chosen = QString());
    // An Access catalog chosen in the open dialog: asks where to save, converts with a progress
    // bar and reports the repairs. The new catalog's path, empty when the user cancelled.
    QString ConvertOldCatalog(const QString &oldPath);
    void Panel18Click();
    void showCatalogPath();
    void BNewBaseClick();
    void loadparam();
    void saveparam();
    void Panel1Resize();
    void Panel13Resize();

    // ---- handlers of the pages ----
    TSummaryHandlers &summary() { return *m_summaryHandlers; }
    TTitlesHandlers &titles() { return *m_titlesHandlers; }
    TStatsHandlers &stats() { return *m_statsHandlers; }
    TDrivesHandlers &drives() { return *m_drivesHandlers; }
    THashHandlers &hashes() { return *m_hashHandlers; }

    // ---- operations that span pages ----
    // Row of a title in a grid, -1 when the grid does not list it.
    int SeeingRed(qint64 id);
    int SeeingSV(qint64 id);
    int SeeingG3(qint64 id);
    // Fills the episode grids and the editors for the current row of `Name`.
    void LoadSeries();
    // F2 in a title list: the title column becomes editable and its editor opens on the current row.
    void BeginTitleRename(TGridView &grid);
    // A letter key in a title list: the next row whose title starts with it becomes current.
    void GVKNF(int key, TGridView &grid, int col);
    void EditName(TGridView &grid, int ACol, int ARow, int IdCol);
    // Stores `text` as the title's name, then shows it current in `grid` (the grid it was typed in).
    void renameTitleTo(TGridView &grid, qint64 id, const QString &text);
    // Makes the title current for every page, by its key; the lists show it where they list it.
    void makeTitleCurrent(qint64 id);
    // Writes a typed but unposted change of the current title to the catalog.
    void postPendingTitleEdit();
    // The ID of the current title, 0 when there is none.
    qint64 currentTitleId();

    // ---- handlers owned by other areas (exports_wiring.cpp, intake_wiring.cpp, import_wiring.cpp) ----
    void BToExlClick();
    // The totals row of the summary exports: the shown titles' (all titles' when nothing narrows).
    ExportTotals summaryExportTotals();
    void BToHtMLClick();
    void BSToExcelClick();
    void BSToHTMLClick();
    void BSetClick();
    void BImportSpClick();
    // Connects the intake page's handlers; runs once at the end of construction.
    void wireIntake();
    // Another catalog is open: the intake page forgets its chosen title and probed file.
    void intakeCatalogChanged();
    // After a change: the intake page shows its chosen title's name and episodes as they are now.
    void intakeTitlesChanged(const ChangeNotice &notice);

    // ---- the desktop: menus, files handed over, saving, drops (desktop_wiring.cpp) ----
    // The catalog named on the command line; opened at start-up instead of the remembered one.
    void setGivenCatalog(const QString &path) { m_givenCatalog = path; }
    // Opens a catalog chosen in the menu and shows it on every page.
    void openCatalogFile(const QString &path);
    void ConvertMenuClick();
    void AboutClick();
    QMenu *recentMenu() const { return m_recentMenu; }
    // Asks where to save, starting in StartDir (or the documents folder); empty when cancelled or
    // when the user would not replace an existing file.
    QString askSavePath(const QString &caption, const QString &proposedName, const QString &filter,
                        bool mayReplace = true);
    // Names the new file and offers to show it with the desktop's program for it.
    void offerToOpen(const QString &path);
    // Dropped folders and files: the intake page lists them.
    void dropPaths(const QList<QByteArray> &paths);

    // ---- state ----
    CatalogSession &session() { return m_session; }
    Dialogs &dialogs() { return m_dialogs; }
    const QString &StartDir() const { return m_startDir; }
    TExportList &exportList() { return m_exportList; }
    TVVF &CurrentEpisode() { return m_intakeSession.record(); }
    // The intake page's probed file and chosen title.
    ops::IntakeSession &intakeSession() { return m_intakeSession; }
    // The selection's totals as the catalog holds them now.
    vq::SelTotals selTotals() { return m_session.isOpen() ? m_work.selectionTotals() : SelTotals(); }
    // The current title and the selection.
    ops::Workspace &workspace() { return m_work; }
    std::array<bool, 10> &ExportColumnChoice() { return m_exportColumnChoice; }
    const QSet<qint64> &selectedIds() const { return m_work.selection().idSet(); }
    // Display widths in characters of the episode grids' seven columns.
    std::array<int, 7> &seriesWidths() { return m_seriesWidths; }

    // ---- controls ----
    TPageTitles *titlesPage() const { return m_titles; }
    TPageSummary *summaryPage() const { return m_summary; }
    TPageStats *statsPage() const { return m_stats; }
    TPageIntake *intakePage() const { return m_intake; }
    TPageService *servicePage() const { return m_service; }
    TPageDrives *drivesPage() const { return m_drives; }
    TGridView &GV();
    TGridView &GV4();
    TGridView &GVSV();
    TGridView &GV3();
    TGridView &DBGrid1();
    TGridView &DBGrid2();
    QWidget *Panel3() const { return m_panel3; }
    QLineEdit *EFound() const { return m_eFound; }
    QPushButton *BToExl() const { return m_bToExl; }
    QPushButton *BToHtML() const { return m_bToHtML; }
    TClickPanel *Panel18() const { return m_panel18; }
    QLabel *SBarPanel() const { return m_sbarPanel; }
    QTabWidget *PageControl1() const { return m_pages; }
    // The active page, -1 when none is (a stored page outside 0..4).
    int ActivePage() const;
    void setActivePage(int page);

    // The seven splitter-controlled panel sizes, s1 to s7 (index 0 to 6).
    int panelSize(int index) const;
    void setPanelSize(int index, int px);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // The size of the screen the window is measured against; tests give their own.
    virtual QSize screenSize() const;
    // Whether the desktop names a program for spreadsheets; false when it says there is none.
    // xdg-open reports success even then, so the user would be told nothing.
    virtual bool spreadsheetViewerKnown() const;

private:
    void buildWindow();
    void connectHandlers();
    void applyPanelSizes(QSplitter *only);
    void fillLanguageLists();
    void applySeriesWidths();
    // Looks for another process's change of the catalog now and then.
    void watchCatalog();
    void readSeriesWidths();
    QString askCatalogFile();
    void openSpreadsheet(const QString &path);
    void buildMenus();
    void fillRecentMenu();
    // Accessible names for the controls that have none (buttons and boxes name themselves).
    void nameControls();

    Dialogs &m_dialogs;
    CatalogSession m_session;
    ops::Workspace m_work{m_session};

    QString m_startDir;
    TExportList m_exportList;
    ops::IntakeSession m_intakeSession{m_session};
    std::array<bool, 10> m_exportColumnChoice{};
    std::array<int, 7> m_seriesWidths{};
    std::array<int, 7> m_panelSizes{};
    bool m_noActivePage = false;
    bool m_starting = false;
    bool m_closed = false;
    bool m_shownOnce = false;
    QTimer *m_watch = nullptr;
    QString m_lastDialogPath;
    QString m_givenCatalog;
    QMenu *m_recentMenu = nullptr;

    QWidget *m_panel3 = nullptr;
    QLineEdit *m_eFound = nullptr;
    QPushButton *m_bToExl = nullptr;
    QPushButton *m_bToHtML = nullptr;
    TClickPanel *m_panel18 = nullptr;
    QLabel *m_sbarPanel = nullptr;
    QTabWidget *m_pages = nullptr;
    TPageTitles *m_titles = nullptr;
    TPageSummary *m_summary = nullptr;
    TPageStats *m_stats = nullptr;
    TPageIntake *m_intake = nullptr;
    TPageService *m_service = nullptr;
    TPageDrives *m_drives = nullptr;
    TSummaryHandlers *m_summaryHandlers = nullptr;
    TTitlesHandlers *m_titlesHandlers = nullptr;
    TStatsHandlers *m_statsHandlers = nullptr;
    TDrivesHandlers *m_drivesHandlers = nullptr;
    THashHandlers *m_hashHandlers = nullptr;
};

} // namespace vq
