#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

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
};

} // namespace vq
