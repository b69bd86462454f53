#pragma once

#include <QCoreApplication>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QObject;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTreeView;

namespace vq {

class TGridView;
class TNarrowNote;

// Page 3 "Добавить новое": laid out here; the intake handlers are connected by wireIntake().
class TPageIntake : public QWidget {
    Q_OBJECT
public:
    explicit TPageIntake(QWidget *parent = nullptr);
    ~TPageIntake() override;

Q_SIGNALS:
    // Sent while the page is still whole, before its controls go: watchers let go of them here.
    void aboutToBeDestroyed();

public:
    QSplitter *SplitterMain = nullptr;  // left part | Panel8
    QSplitter *SplitterLeft = nullptr;  // Panel14 over the lower part
    QSplitter *SplitterLower = nullptr; // Panel13 | probe panel
    QSplitter *SplitterRight = nullptr; // Panel9 over the file list

    QWidget *Panel14 = nullptr; // episode grid; its height is the setting s6
    TGridView *DBGrid1 = nullptr;
    QWidget *Panel13 = nullptr; // new title box over the title list; its width is the setting s7
    QLineEdit *ENewAni = nullptr;
    TGridView *GV4 = nullptr;
    TNarrowNote *NarrowNote = nullptr; // above GV4 while a search or filter narrows it

    QWidget *ProbePanel = nullptr;
    QLineEdit *ESname = nullptr;
    QLineEdit *EName = nullptr;
    QLineEdit *ELong = nullptr;
    QLineEdit *EDSize = nullptr;
    QLineEdit *EWidth = nullptr;
    QLineEdit *EHeigth = nullptr;
    QLineEdit *ECodec = nullptr;
    QLabel *LRate = nullptr;
    QComboBox *CSound = nullptr;
    QLabel *LSCount = nullptr;
    QComboBox *CSub_In = nullptr;
    QComboBox *CSub_Ext = nullptr;
    QPushButton *BAdd = nullptr;
    QPushButton *BAddAll = nullptr;
    QPushButton *BCancel = nullptr; // "Отмена": shown while "Добавить всё" runs
    QCheckBox *CAgain = nullptr;    // store files the title holds already
    QProgressBar *PBAdd = nullptr;

    QWidget *Panel8 = nullptr; // folder tree over file list; its width is the setting s2
    QWidget *Panel9 = nullptr; // folder tree; its height is the setting s3
    QTreeView *STV = nullptr;
    QFileSystemModel *FolderModel = nullptr;
    QCheckBox *CAvi = nullptr;        // "AVI"
    QCheckBox *CSubFolders = nullptr; // "С подпапками": the list holds the subfolders' files too
    QPushButton *BSee = nullptr;
    QListWidget *LB1 = nullptr;

    // The folder tree's model, rooted at "/", folders only (hidden ones too). F5 makes a new one.
    static QFileSystemModel *makeFolderModel(QObject *parent);
    // Whether folder models made from now on watch for changes; with watching off (or the
    // system's watch limit used up) only F5 shows a change.
    static void setWatchFolders(bool watch);
    // Shows `model` in the tree (the old model goes once the events in hand are done).
    void setFolderModel(QFileSystemModel *model);

    static QString newTitlePlaceholder() {
        return QCoreApplication::translate("page_intake", "...Добавить новое аниме...");
    }
};

} // namespace vq
