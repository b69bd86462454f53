#include "page_service.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vq {

TPageService::TPageService(QWidget *parent) : QWidget(parent) {
    auto *lay = new QVBoxLayout(this);
    GBService = new QGroupBox(QCoreApplication::translate("page_service", "Сервисные функции"), this);
    auto *gl = new QHBoxLayout(GBService);
    BNewBase = new QPushButton(QCoreApplication::translate("page_service", "Новая База"), GBService);
    BNewBase->setObjectName(QStringLiteral("BNewBase"));
    BNewBase->setToolTip(QCoreApplication::translate("page_service", "Создать новый файл Vidoteq"));
    BImportSp =
        new QPushButton(QCoreApplication::translate("page_service", "Мастер Импорта Списка"), GBService);
    BImportSp->setObjectName(QStringLiteral("BImportSp"));
    gl->addWidget(BNewBase);
    gl->addWidget(BImportSp);
    gl->addStretch(1);
    lay->addWidget(GBService);
    auto *below = new QHBoxLayout;
    Panel19 = new QWidget(this);
    Panel19->setObjectName(QStringLiteral("Panel19"));
    Panel20 = new QWidget(this);
    Panel20->setObjectName(QStringLiteral("Panel20"));
    below->addWidget(Panel19);
    below->addWidget(Panel20);
    Panel19->hide();
    Panel20->hide();
    lay->addLayout(below);
    lay->addStretch(1);
}

} // namespace vq
