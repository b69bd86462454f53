#include "page_intake.h"

#include "browser/summary.h"
#include "narrownote.h"
#include "page_titles.h"
#include "tgridview.h"

#include <QAbstractFileIconProvider>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace vq {

namespace {
bool g_watchFolders = true;

QLabel *caption(const char *text, QWidget *parent) {
    auto *l = new QLabel(QCoreApplication::translate("page_intake", text), parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}
QLineEdit *edit(const char *name, QWidget *parent, bool readOnly = true) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(readOnly);
    return e;
}
} // namespace

TPageIntake::~TPageIntake() {
    Q_EMIT aboutToBeDestroyed();
}

QFileSystemModel *TPageIntake::makeFolderModel(QObject *parent) {
    auto *model = new QFileSystemModel(parent);
    // Folders need no theme icons, and the theme's icon cache then outlives nothing at exit.
    static struct NoIcons : QAbstractFileIconProvider {
        QIcon icon(IconType) const override { return {}; }
        QIcon icon(const QFileInfo &) const override { return {}; }
    } noIcons;
    model->setIconProvider(&noIcons);
    model->setOption(QFileSystemModel::DontWatchForChanges, !g_watchFolders);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    model->setRootPath(QStringLiteral("/"));
    return model;
}

void TPageIntake::setWatchFolders(bool watch) {
    g_watchFolders = watch;
}

void TPageIntake::setFolderModel(QFileSystemModel *model) {
    QFileSystemModel *old = FolderModel;
    QItemSelectionModel *oldSelection = STV->selectionModel();
    STV->setModel(model);
    delete oldSelection;
    STV->setRootIndex(model->index(QStringLiteral("/")));
    for (int c = 1; c < model->columnCount(); ++c)
        STV->hideColumn(c);
    FolderModel = model;
    if (old)
        old->deleteLater();
}

TPageIntake::TPageIntake(QWidget *parent) : QWidget(parent) {
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    SplitterMain = new QSplitter(Qt::Horizontal, this);
    SplitterMain->setChildrenCollapsible(false);
    lay->addWidget(SplitterMain);

    // Left part: episodes above, title list and probe panel below.
    SplitterLeft = new QSplitter(Qt::Vertical, SplitterMain);
    SplitterLeft->setChildrenCollapsible(false);
    Panel14 = new QWidget(SplitterLeft);
    Panel14->setObjectName(QStringLiteral("Panel14"));
    auto *l14 = new QVBoxLayout(Panel14);
    l14->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new TGridView(Panel14);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    setupEpisodeGrid(*DBGrid1);
    l14->addWidget(DBGrid1);

    SplitterLower = new QSplitter(Qt::Horizontal, SplitterLeft);
    SplitterLower->setChildrenCollapsible(false);
    Panel13 = new QWidget(SplitterLower);
    Panel13->setObjectName(QStringLiteral("Panel13"));
    auto *l13 = new QVBoxLayout(Panel13);
    l13->setContentsMargins(0, 0, 0, 0);
    l13->setSpacing(0);
    ENewAni = new QLineEdit(newTitlePlaceholder(), Panel13);
    ENewAni->setObjectName(QStringLiteral("ENewAni"));
    GV4 = new TGridView(Panel13);
    GV4->setObjectName(QStringLiteral("GV4"));
    setupTitleGrid(GV4->Data());
    GV4->SetRowSize(16);
    NarrowNote = new TNarrowNote(Panel13);
    l13->addWidget(ENewAni);
    l13->addWidget(NarrowNote);
    l13->addWidget(GV4);

    // The probe panel scrolls rather than holding the whole window at its height.
    auto *probeScroll = new QScrollArea(SplitterLower);
    probeScroll->setWidgetResizable(true);
    probeScroll->setFrameShape(QFrame::NoFrame);
    ProbePanel = new QWidget;
    ProbePanel->setObjectName(QStringLiteral("ProbePanel"));
    auto *g = new QGridLayout(ProbePanel);
    int row = 0;
    ESname = edit("ESname", ProbePanel);
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Аниме:"), ProbePanel), row, 0);
    g->addWidget(ESname, row++, 1, 1, 3);
    EName = edit("EName", ProbePanel);
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Серия:"), ProbePanel), row, 0);
    g->addWidget(EName, row++, 1, 1, 3);
    ELong = edit("ELong", ProbePanel);
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Время:"), ProbePanel), row, 0);
    g->addWidget(ELong, row++, 1, 1, 3);
    EDSize = edit("EDSize", ProbePanel);
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Объём:"), ProbePanel), row, 0);
    g->addWidget(EDSize, row++, 1, 1, 3);
    EWidth = edit("EWidth", ProbePanel, false);
    EHeigth = edit("EHeigth", ProbePanel, false);
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Размеры:"), ProbePanel), row, 0);
    g->addWidget(EWidth, row, 1);
    auto *x = new QLabel(QStringLiteral("X"), ProbePanel);
    x->setAlignment(Qt::AlignCenter);
    g->addWidget(x, row, 2);
    g->addWidget(EHeigth, row++, 3);
    ECodec = edit("ECodec", ProbePanel);
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Кодеки:"), ProbePanel), row, 0);
    g->addWidget(ECodec, row++, 1, 1, 3);
    LRate = new QLabel(ProbePanel);
    LRate->setObjectName(QStringLiteral("LRate"));
    g->addWidget(LRate, row++, 1, 1, 3);
    CSound = new QComboBox(ProbePanel);
    CSound->setObjectName(QStringLiteral("CSound"));
    LSCount = new QLabel(ProbePanel);
    LSCount->setObjectName(QStringLiteral("LSCount"));
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Звук:"), ProbePanel), row, 0);
    g->addWidget(CSound, row, 1);
    g->addWidget(LSCount, row++, 2, 1, 2);
    CSub_In = new QComboBox(ProbePanel);
    CSub_In->setObjectName(QStringLiteral("CSub_In"));
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Sub In:"), ProbePanel), row, 0);
    g->addWidget(CSub_In, row++, 1);
    CSub_Ext = new QComboBox(ProbePanel);
    CSub_Ext->setObjectName(QStringLiteral("CSub_Ext"));
    g->addWidget(caption(QT_TRANSLATE_NOOP("page_intake", "Sub Ext:"), ProbePanel), row, 0);
    g->addWidget(CSub_Ext, row++, 1);
    auto *buttons = new QHBoxLayout;
    BAdd = new QPushButton(QCoreApplication::translate("page_intake", "Добавить"), ProbePanel);
    BAdd->setObjectName(QStringLiteral("BAdd"));
    BAddAll = new QPushButton(QCoreApplication::translate("page_intake", "Добавить всё"), ProbePanel);
    BAddAll->setObjectName(QStringLiteral("BAddAll"));
    BCancel = new QPushButton(QCoreApplication::translate("page_intake", "Отмена"), ProbePanel);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    BCancel->hide();
    buttons->addWidget(BAdd);
    buttons->addWidget(BAddAll);
    buttons->addWidget(BCancel);
    buttons->addStretch(1);
    g->addLayout(buttons, row++, 1, 1, 3);
    CAgain =
        new QCheckBox(QCoreApplication::translate("page_intake", "Добавлять и уже добавленные"), ProbePanel);
    CAgain->setObjectName(QStringLiteral("CAgain"));
    CAgain->setToolTip(QCoreApplication::translate(
        "page_intake", "Файл с тем же именем и размером, что уже есть у этого аниме, "
                       "добавляется ещё раз"));
    g->addWidget(CAgain, row++, 1, 1, 3);
    PBAdd = new QProgressBar(ProbePanel);
    PBAdd->setObjectName(QStringLiteral("PBAdd"));
    PBAdd->hide();
    g->addWidget(PBAdd, row++, 0, 1, 4);
    g->setRowStretch(row, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    probeScroll->setWidget(ProbePanel);

    // Right part: folder tree over the file list.
    Panel8 = new QWidget(SplitterMain);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    auto *l8 = new QVBoxLayout(Panel8);
    l8->setContentsMargins(0, 0, 0, 0);
    SplitterRight = new QSplitter(Qt::Vertical, Panel8);
    SplitterRight->setChildrenCollapsible(false);
    l8->addWidget(SplitterRight);
    Panel9 = new QWidget(SplitterRight);
    Panel9->setObjectName(QStringLiteral("Panel9"));
    auto *l9 = new QVBoxLayout(Panel9);
    l9->setContentsMargins(0, 0, 0, 0);
    STV = new QTreeView(Panel9);
    STV->setObjectName(QStringLiteral("STV"));
    STV->header()->hide();
    setFolderModel(makeFolderModel(this));
    l9->addWidget(STV);
    auto *files = new QWidget(SplitterRight);
    auto *lf = new QVBoxLayout(files);
    lf->setContentsMargins(0, 0, 0, 0);
    auto *fileBar = new QHBoxLayout;
    CAvi = new QCheckBox(QStringLiteral("AVI"), files);
    CAvi->setObjectName(QStringLiteral("CAvi"));
    CAvi->setChecked(true);
    BSee = new QPushButton(QCoreApplication::translate("page_intake", "Обновить"), files);
    BSee->setObjectName(QStringLiteral("BSee"));
    CSubFolders = new QCheckBox(QCoreApplication::translate("page_intake", "С подпапками"), files);
    CSubFolders->setObjectName(QStringLiteral("CSubFolders"));
    fileBar->addWidget(CAvi);
    fileBar->addWidget(CSubFolders);
    fileBar->addStretch(1);
    fileBar->addWidget(BSee);
    lf->addLayout(fileBar);
    LB1 = new QListWidget(files);
    LB1->setObjectName(QStringLiteral("LB1"));
    LB1->setSortingEnabled(true);
    lf->addWidget(LB1);

    SplitterMain->setStretchFactor(0, 1);
    SplitterMain->setStretchFactor(1, 0);
    SplitterLeft->setStretchFactor(0, 0);
    SplitterLeft->setStretchFactor(1, 1);
    SplitterLower->setStretchFactor(0, 0);
    SplitterLower->setStretchFactor(1, 1);
    SplitterRight->setStretchFactor(0, 0);
    SplitterRight->setStretchFactor(1, 1);
}

} // namespace vq
