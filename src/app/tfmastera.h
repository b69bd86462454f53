#pragma once

#include "import/listimport.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

namespace vq {

class TGridView;
class TView_Base;

// "Мастер импорта списка": reads a text file of titles, splits its lines into the checked fields,
// previews them and adds them to the catalog of the main window.
class TFMasterA : public QDialog {
    Q_OBJECT
public:
    // The design size; the dialog is wider when the desktop's font needs a wider check list.
    static constexpr int FixedWidth = 780;
    static constexpr int FixedHeight = 480;
    static constexpr int LeftWidth = 230;

    explicit TFMasterA(TView_Base &main);

    // Creates the wizard, shows it modally and destroys it when it closes.
    static void showModal(TView_Base &main);

    // The name of the last list loaded; kept for the run of the program.
    static QString ImportFileName;

    QPushButton *BOpen = nullptr;
    QPushButton *BUpdate = nullptr;
    QPushButton *BToBase = nullptr;
    QListWidget *CLB = nullptr; // which fields the lines hold
    QListWidget *LB = nullptr;  // the raw lines
    QProgressBar *PBar = nullptr;
    TGridView *GV = nullptr; // the preview

    // The handlers; each raises vq::Error on failure (the buttons run them inside the error guard).
    void BOpenClick();
    void BUpdateClick();
    void BToBaseClick();

    WizardChecks checks() const;
    void setChecked(int item, bool on);
    QStringList lines() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void fitCheckList(QWidget *left);
    void CLBClickCheck(QListWidgetItem *item);

    TView_Base &m_main;
    bool m_applyingRule = false;
    // After a refused row: the lines of the list before it are in the catalog at m_doneCatalog,
    // so the next import into that catalog starts after them.
    QStringList m_doneLines;
    QString m_doneCatalog;
    // The lines the preview rows were made from.
    QStringList m_previewLines;
};

} // namespace vq
