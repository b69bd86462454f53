#include "page_drives.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vq {

TPageDrives::TPageDrives(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageDrives"));
    auto *lay = new QVBoxLayout(this);
    GDrives = new QTableWidget(0, kColumns, this);
    GDrives->setObjectName(QStringLiteral("GDrives"));
    GDrives->setHorizontalHeaderLabels({QCoreApplication::translate("page_drives", "Диск"),
                                        QCoreApplication::translate("page_drives", "Метка"),
                                        QCoreApplication::translate("page_drives", "Состояние"),
                                        QCoreApplication::translate("page_drives", "Файлов"),
                                        QCoreApplication::translate("page_drives", "Объём"),
                                        QCoreApplication::translate("page_drives", "Последняя проверка"),
                                        QCoreApplication::translate("page_drives", "Опознаётся по")});
    GDrives->setSelectionBehavior(QAbstractItemView::SelectRows);
    GDrives->setSelectionMode(QAbstractItemView::SingleSelection);
    GDrives->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GDrives->verticalHeader()->hide();
    GDrives->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GDrives->horizontalHeader()->setStretchLastSection(true);
    lay->addWidget(GDrives, 1);

    auto *buttons = new QHBoxLayout;
    BRename = new QPushButton(QCoreApplication::translate("page_drives", "Переименовать"), this);
    BCheck = new QPushButton(QCoreApplication::translate("page_drives", "Проверить файлы"), this);
    BForget = new QPushButton(QCoreApplication::translate("page_drives", "Забыть диск"), this);
    BRemoveMissing = new QPushButton(QCoreApplication::translate("page_drives", "Убрать ненайденные"), this);
    BCancel = new QPushButton(QCoreApplication::translate("page_drives", "Отмена"), this);
    BCancel->setEnabled(false);
    Progress = new QProgressBar(this);
    Progress->setVisible(false);
    for (QPushButton *b : {BRename, BCheck, BForget, BRemoveMissing, BCancel})
        buttons->addWidget(b);
    BRename->setObjectName(QStringLiteral("BRename"));
    BCheck->setObjectName(QStringLiteral("BCheck"));
    BForget->setObjectName(QStringLiteral("BForget"));
    BRemoveMissing->setObjectName(QStringLiteral("BRemoveMissing"));
    BCancel->setObjectName(QStringLiteral("BCancel"));
    buttons->addWidget(Progress, 1);
    lay->addLayout(buttons);
    LStatus = new QLabel(this);
    LStatus->setObjectName(QStringLiteral("LStatus"));
    LStatus->setWordWrap(true);
    lay->addWidget(LStatus);
}

} // namespace vq
