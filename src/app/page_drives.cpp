#include "page_drives.h"

#include <QCheckBox>
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
    GDrives->setHorizontalHeaderLabels({QStringLiteral("Диск"), QStringLiteral("Метка"),
                                        QStringLiteral("Состояние"), QStringLiteral("Файлов"),
                                        QStringLiteral("Объём"), QStringLiteral("Последняя проверка"),
                                        QStringLiteral("Опознаётся по")});
    GDrives->setSelectionBehavior(QAbstractItemView::SelectRows);
    GDrives->setSelectionMode(QAbstractItemView::SingleSelection);
    GDrives->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GDrives->verticalHeader()->hide();
    GDrives->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GDrives->horizontalHeader()->setStretchLastSection(true);
    lay->addWidget(GDrives, 1);

    auto *buttons = new QHBoxLayout;
    BRename = new QPushButton(QStringLiteral("Переименовать"), this);
    BCheck = new QPushButton(QStringLiteral("Проверить файлы"), this);
    BForget = new QPushButton(QStringLiteral("Забыть диск"), this);
    BRemoveMissing = new QPushButton(QStringLiteral("Убрать ненайденные"), this);
    BCancel = new QPushButton(QStringLiteral("Отмена"), this);
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
    BHash = new QPushButton(QStringLiteral("Посчитать суммы"), this);
    BHash->setToolTip(QStringLiteral("Прочитать файлы без CRC32 и ed2k; каждый диск читается одним потоком"));
    BVerify = new QPushButton(QStringLiteral("Сверить с именами"), this);
    BVerify->setToolTip(QStringLiteral("Сравнить CRC32 файлов с суммами в квадратных скобках в их именах"));
    BRecheck = new QPushButton(QStringLiteral("Перепроверить"), this);
    BRecheck->setToolTip(QStringLiteral("Прочитать все файлы заново и сравнить с сохранёнными суммами"));
    BDuplicates = new QPushButton(QStringLiteral("Одинаковые файлы"), this);
    CBHashBackground = new QCheckBox(QStringLiteral("Считать суммы в фоне"), this);
    CBHashBackground->setToolTip(
        QStringLiteral("Считать суммы новых файлов сразу после добавления и при открытии каталога"));
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
    TReport->setAccessibleName(QStringLiteral("Результат сверки"));
    TReport->setHeaderLabels({QStringLiteral("Файл"), QStringLiteral("Диск"), QStringLiteral("CRC32"),
                              QStringLiteral("В имени"), QStringLiteral("Серия")});
    TReport->setRootIsDecorated(true);
    TReport->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lay->addWidget(TReport, 1);
}

} // namespace vq
