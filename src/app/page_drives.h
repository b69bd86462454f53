#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace vq {

// Page 5 "Диски": the drives files were added from, online or not, and what can be done to one.
class TPageDrives : public QWidget {
    Q_OBJECT
public:
    explicit TPageDrives(QWidget *parent = nullptr);

    enum Column { cName, cLabel, cState, cFiles, cBytes, cLastCheck, cIdentity, kColumns };
    QTableWidget *GDrives = nullptr; // a row per volume; the volume's key in cName's Qt::UserRole
    QPushButton *BRename = nullptr;
    QPushButton *BCheck = nullptr;
    QPushButton *BForget = nullptr;
    QPushButton *BRemoveMissing = nullptr;
    QPushButton *BCancel = nullptr;
    QProgressBar *Progress = nullptr;
    QLabel *LStatus = nullptr;
    // The files' digests: read now, the names' checksums, every file read again, equal files.
    QCheckBox *CBHashBackground = nullptr;
    QPushButton *BHash = nullptr;
    QPushButton *BVerify = nullptr;
    QPushButton *BRecheck = nullptr;
    QPushButton *BDuplicates = nullptr;
    QTreeWidget *TReport = nullptr; // the mismatched and changed files, or the groups of equal ones
};

} // namespace vq
