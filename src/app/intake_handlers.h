#pragma once

#include "catalog/catalog.h"
#include "intake/episodes.h"
#include "intake/folderscan.h"
#include "intake/mediaprobe.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QFileSystemModel;
class QKeyEvent;

namespace vq {

class TView_Base;
class TPageIntake;
class IntakeRun;
class ProbePool;

// The handlers of the page "Добавить новое": folder scan, probe, title choice and adding episodes.
// The window owns one (a child object made by wireIntake); the state it works on is the window's.
class TIntakeHandlers : public QObject {
    Q_OBJECT
public:
    explicit TIntakeHandlers(TView_Base &window);
    ~TIntakeHandlers() override;

    // ---- folder scan ----
    // The folder selected in the tree; empty when nothing is.
    QString selectedFolder() const;
    // Shows `folder` selected in the tree (expanding its parents).
    void selectFolder(const QString &folder);
    // Expands the parents of `folder` (and the folder itself when `expand`) and keeps it in view
    // while the tree is still being read, until the user clicks or types in the tree.
    void revealFolder(const QString &folder, bool makeCurrent, bool expand = false);
    void See();
    void BSeeClick();
    void STVClick();
    void STVKeyDown(int key);
    // Re-reads the folder tree from its root, keeping the selected folder.
    void refreshTree();
    void LB1Click();
    // Lists dropped folders (as the scan lists a folder, the page's boxes applying) and files; one
    // folder is also selected in the tree. False when nothing could be listed.
    bool showDropped(const QList<QByteArray> &paths);

    // ---- probe ----
    // Probes `name` (an entry of the file list) through the workers; the page shows the answer when it
    // comes. `nativePath` is the file system's name of the file; empty: the entry in the current folder.
    void OpenAVI(const QString &name, const QByteArray &nativePath = QByteArray());
    // True while a probe of a clicked file is out.
    bool probing() const { return m_clickTicket != 0; }
    // The texts of the last probe (what the page shows).
    const ProbePage &probePage() const { return m_page; }

    // ---- titles ----
    void ENewAniClick();
    void ENewAniExit();
    void ENewAniKeyDown(int key);
    void GV4SelectCell(int ACol, int ARow);
    void GV4KeyDown(QKeyEvent *event);
    void GV4AfterEdit(int ACol, int ARow);
    void ESnameKeyDown(int key);
    // The intake page's title: chosen by key, made current for every page, its name and episodes shown.
    void chooseTitle(qint64 id);
    void showChosenTitle();
    // After a change of the catalog: the chosen title's name and episodes as they are now.
    void titlesChanged(const ChangeNotice &notice);

    // ---- adding ----
    // What the page adds to a probe: the three languages, the box and the typed frame size.
    StoreChoice storeChoice() const;
    void BAddClick();
    void BAddAllClick();
    void BCancelClick();
    // Another catalog is open: no title is chosen and no file shown.
    void catalogChanged();
    // True while "Добавить всё" runs.
    bool adding() const;
    // The workers (made on first use).
    ProbePool &pool();
    // Progress positions shown by the last "Добавить всё", in order (for the record of a run).
    const QList<int> &progressSeen() const { return m_progressSeen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectAll();
    void applyReveal();
    void treeChanged();
    void watchFolderModel(QFileSystemModel *model);
    void showProbe();
    void afterAdding();
    // Says so when no title is chosen (and clears a name that no longer stands for one).
    void requireTitle();
    void runFinished();
    void setRunning(bool running);

    TView_Base &m_win;
    TPageIntake *m_p;
    ProbePage m_page;
    struct Reveal {
        QString folder;
        bool makeCurrent = false;
        bool expand = false;
    } m_reveal;
    QTimer m_revealTimer;
    QList<int> m_progressSeen;
    QTimer m_barTimer;
    std::pair<int, int> m_barAt{0, 0}; // the position and maximum the bar is to show
    // The file system's name of the file the page shows.
    QByteArray m_shownPath;
    QString m_scannedFolder; // the folder the file list shows; names without a path are found there
    quint64 m_clickTicket = 0;
    // The pool outlives the run that uses it.
    std::unique_ptr<ProbePool> m_pool;
    std::unique_ptr<IntakeRun> m_run;
    // The title the scanned folder's names propose, and the title it matched (0: none); offered
    // as another name once, when the user picks another title.
    QString m_proposed;
    qint64 m_proposedMatch = 0;
    QString m_proposedInBox;                  // put into the new-title box: selected when the box is entered
    QString m_proposalFolder, m_proposalName; // the folder last proposed for, and what it proposed
    void proposeTitle(const QString &folder, const QList<ListedFile> &listed);
    void offerOtherName(qint64 picked);
};

} // namespace vq
