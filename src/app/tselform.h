#pragma once

#include "export/exportcolumns.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vq {

// "Export List:": the modal chooser of the columns the selection exports write. It works on the
// window's choice itself and takes the ticks over whenever it closes, by "Ok" or the close box.
class TSelForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int DefaultLeft = 201;
    static constexpr int DefaultTop = 132;

    explicit TSelForm(ExportColumnChoice &choice, QWidget *parent = nullptr);

    QListWidget *CLS = nullptr;
    QPushButton *BApple = nullptr;  // "Ok"
    QPushButton *BSelAll = nullptr; // "Выбрать всё"

    void done(int result) override;

private:
    void FormCreate();
    void BSelAllClick();
    void FormClose();

    ExportColumnChoice &m_choice;
};

} // namespace vq
