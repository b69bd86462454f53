#pragma once

#include <QWidget>

class QGroupBox;
class QPushButton;

namespace vq {

// Page 4 "Дополнительно": service functions.
class TPageService : public QWidget {
    Q_OBJECT
public:
    explicit TPageService(QWidget *parent = nullptr);

    QGroupBox *GBService = nullptr; // "Сервисные функции"
    QPushButton *BNewBase = nullptr;
    QPushButton *BImportSp = nullptr;
    QWidget *Panel19 = nullptr; // never shown; its width is the setting s5
    QWidget *Panel20 = nullptr; // never shown
};

} // namespace vq
