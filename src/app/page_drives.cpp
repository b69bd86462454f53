#include "page_drives.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
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

    auto *sums = new QHBoxLayout;
    BHash = new QPushButton(QCoreApplication::translate("page_drives", "Посчитать суммы"), this);
    BHash->setToolTip(QCoreApplication::translate(
        "page_drives", "Прочитать файлы без CRC32 и ed2k; каждый диск читается одним потоком"));
    BVerify = new QPushButton(QCoreApplication::translate("page_drives", "Сверить с именами"), this);
    BVerify->setToolTip(QCoreApplication::translate(
        "page_drives", "Сравнить CRC32 файлов с суммами в квадратных скобках в их именах"));
    BRecheck = new QPushButton(QCoreApplication::translate("page_drives", "Перепроверить"), this);
    BRecheck->setToolTip(QCoreApplication::translate(
        "page_drives", "Прочитать все файлы заново и сравнить с сохранёнными суммами"));
    BDuplicates = new QPushButton(QCoreApplication::translate("page_drives", "Одинаковые файлы"), this);
    CBHashBackground =
        new QCheckBox(QCoreApplication::translate("page_drives", "Считать суммы в фоне"), this);
    CBHashBackground->setToolTip(QCoreApplication::translate(
        "page_drives", "Считать суммы новых файлов сразу после добавления и при открытии каталога"));
    const std::pair<QWidget *, const char *> named[] = {{BHash, "BHash"},
                                                        {BVerify, "BVerify"},
                                                        {BRecheck, "BRecheck"},
                                                        {BDuplicates, "BDuplicates"},
                                                        {CBHashBackground, "CBHashBackground"}};
    for (const auto &[w, name] : named) {
        w->setObjectName(QLatin1String(name));
        sums->addWidget(w);
    }
    sums->addStretch(1);
    lay->addLayout(sums);
    TReport = new QTreeWidget(this);
    TReport->setObjectName(QStringLiteral("TReport"));
    TReport->setAccessibleName(QCoreApplication::translate("page_drives", "Результат сверки"));
    TReport->setHeaderLabels({QCoreApplication::translate("page_drives", "Файл"),
                              QCoreApplication::translate("page_drives", "Диск"), QStringLiteral("CRC32"),
                              QCoreApplication::translate("page_drives", "В имени"),
                              QCoreApplication::translate("page_drives", "Серия")});
    TReport->setRootIsDecorated(true);
    TReport->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lay->addWidget(TReport, 1);
}

} // namespace vq
