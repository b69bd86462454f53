#include "page_titles.h"

#include "browser/summary.h"
#include "narrownote.h"
#include "tgridview.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace vq {

// The widths fit the default window with the desktop's font: with the title list at its default
// width, all seven columns and their captions show whole, the languages too.
const EpisodeColumn kEpisodeColumns[7] = {
    {"Серия", QT_TRANSLATE_NOOP("page_titles", "Серия"), 0, 35, "s2"},
    {"Size", QT_TRANSLATE_NOOP("page_titles", "Объём (байт)"), 1, 13, "s3"},
    {"Размеры", QT_TRANSLATE_NOOP("page_titles", "Размеры"), 2, 9, "s5"},
    {"Time", QT_TRANSLATE_NOOP("page_titles", "Длительность"), 2, 12, "s8"},
    {"Sound", QT_TRANSLATE_NOOP("page_titles", "Звук"), 2, 8, "s13"},
    {"Sub_In", "SubIn", 2, 7, "s14"},
    {"Sub_Ext", "SubExt", 2, 7, "s15"},
};

void setupEpisodeGrid(TGridView &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    grid.SetRowSize(16);
    grid.SetHeaderSize(18);
    for (const EpisodeColumn &c : kEpisodeColumns) {
        GridColumn &col = grid.AddTextColumn(QCoreApplication::translate("page_titles", c.caption));
        col.SetAlignment(c.align == 0   ? GridAlignment::Left
                         : c.align == 1 ? GridAlignment::Right
                                        : GridAlignment::Center);
        col.SetOptions(col.Options() & ~(coEditing | coCanSort | coCanClick));
    }
    GridColumn &id = grid.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    id.SetDefaultValue(QStringLiteral("0"));
    id.SetVisible(false);
}

TPageTitles::TPageTitles(QWidget *parent) : QWidget(parent) {
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setChildrenCollapsible(false);
    lay->addWidget(Splitter1);

    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *pl = new QVBoxLayout(Panel1);
    pl->setContentsMargins(0, 0, 0, 0);
    GV = new TGridView(Panel1);
    GV->setObjectName(QStringLiteral("GV"));
    setupTitleGrid(GV->Data());
    GV->SetRowSize(16);
    GV->SetAutoScroll(false);

    PanelAlt = new QGroupBox(QCoreApplication::translate("page_titles", "Другие названия"), Panel1);
    PanelAlt->setObjectName(QStringLiteral("PanelAlt"));
    auto *al = new QVBoxLayout(PanelAlt);
    al->setContentsMargins(4, 4, 4, 4);
    al->setSpacing(4);
    GVAlt = new TGridView(PanelAlt);
    GVAlt->setObjectName(QStringLiteral("GVAlt"));
    GridData &alt = GVAlt->Data();
    alt.SetOptions(goDissableColumnMoving | goGrid | goSelectFullRow);
    alt.SetRowSize(16);
    GridColumn &altId = alt.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    altId.SetDefaultValue(QStringLiteral("0"));
    altId.SetVisible(false);
    GridColumn &altName = alt.AddTextColumn(QCoreApplication::translate("page_titles", "Название"));
    altName.SetOptions(altName.Options() & ~(coEditing | coCanSort | coCanClick));
    // Five names show without scrolling; the title list keeps the rest of the panel.
    GVAlt->setFixedHeight(5 * 16 + 2 * GVAlt->frameWidth());
    al->addWidget(GVAlt);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    BAltAdd = new QPushButton(QCoreApplication::translate("page_titles", "Добавить"), PanelAlt);
    BAltAdd->setObjectName(QStringLiteral("BAltAdd"));
    BAltEdit = new QPushButton(QCoreApplication::translate("page_titles", "Изменить"), PanelAlt);
    BAltEdit->setObjectName(QStringLiteral("BAltEdit"));
    BAltDel = new QPushButton(QCoreApplication::translate("page_titles", "Удалить"), PanelAlt);
    BAltDel->setObjectName(QStringLiteral("BAltDel"));
    // The user may make the title list narrower than the buttons' captions.
    PanelAlt->setMinimumWidth(1);
    for (QPushButton *b : {BAltAdd, BAltEdit, BAltDel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(1);
        buttons->addWidget(b);
    }
    al->addLayout(buttons);
    PanelAlt->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    NarrowNote = new TNarrowNote(Panel1);
    pl->addWidget(NarrowNote);
    pl->addWidget(GV, 1);
    pl->addWidget(PanelAlt);

    auto *right = new QWidget(Splitter1);
    auto *rl = new QVBoxLayout(right);
    rl->setContentsMargins(0, 0, 0, 0);
    rl->setSpacing(0);
    Bar = new QWidget(right);
    Bar->setFixedHeight(25);
    LCBType = new QComboBox(Bar);
    LCBType->setObjectName(QStringLiteral("LCBType"));
    LCBType->setGeometry(0, 1, 97, 23);
    LCBType->setMaxVisibleItems(5);
    ECount = new QLineEdit(Bar);
    ECount->setObjectName(QStringLiteral("ECount"));
    ECount->setGeometry(104, 1, 89, 23);
    ESize = new QLineEdit(QStringLiteral("Size"), Bar);
    ESize->setObjectName(QStringLiteral("ESize"));
    ESize->setGeometry(208, 1, 169, 23);
    ESize->setReadOnly(true);
    ETime = new QLineEdit(QStringLiteral("Time"), Bar);
    ETime->setObjectName(QStringLiteral("ETime"));
    ETime->setGeometry(381, 1, 113, 23);
    ETime->setReadOnly(true);
    EKoment = new QLineEdit(Bar);
    EKoment->setObjectName(QStringLiteral("EKoment"));
    EKoment->setGeometry(502, 1, 265, 23);
    LGaps = new QLabel(Bar);
    LGaps->setObjectName(QStringLiteral("LGaps"));
    LGaps->setGeometry(775, 1, 300, 23);
    LGaps->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setTabOrder(LCBType, ECount);
    setTabOrder(ECount, EKoment);
    setTabOrder(EKoment, ESize);
    setTabOrder(ESize, ETime);
    rl->addWidget(Bar);
    DBGrid2 = new TGridView(right);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    setupEpisodeGrid(*DBGrid2);
    rl->addWidget(DBGrid2);
    // Where the chosen episode's file is, and what can be done with it.
    PlaceBar = new QWidget(right);
    auto *pb = new QHBoxLayout(PlaceBar);
    pb->setContentsMargins(2, 2, 2, 2);
    LPlace = new QLabel(PlaceBar);
    LPlace->setObjectName(QStringLiteral("LPlace"));
    LPlace->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LPlace->setWordWrap(true);
    BOpenFolder = new QPushButton(QCoreApplication::translate("page_titles", "Открыть папку"), PlaceBar);
    BOpenFolder->setObjectName(QStringLiteral("BOpenFolder"));
    BAttachFolder = new QPushButton(QCoreApplication::translate("page_titles", "Привязать папку…"), PlaceBar);
    BAttachFolder->setObjectName(QStringLiteral("BAttachFolder"));
    pb->addWidget(LPlace, 1);
    pb->addWidget(BOpenFolder);
    pb->addWidget(BAttachFolder);
    rl->addWidget(PlaceBar);

    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(right);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
}

} // namespace vq
