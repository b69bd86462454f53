#include "page_stats.h"

#include "browser/summary.h"
#include "tgridview.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace vq {

namespace {
QGroupBox *statsBox(const QString &title, QLabel *values[4], QWidget *parent) {
    auto *box = new QGroupBox(title, parent);
    auto *g = new QGridLayout(box);
    const char *captions[4] = {
        QT_TRANSLATE_NOOP("page_stats", "Аниме:"), QT_TRANSLATE_NOOP("page_stats", "Файлов:"),
        QT_TRANSLATE_NOOP("page_stats", "Объём:"), QT_TRANSLATE_NOOP("page_stats", "Время:")};
    QFont big = box->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    for (int i = 0; i < 4; ++i) {
        auto *cap = new QLabel(QCoreApplication::translate("page_stats", captions[i]), box);
        cap->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        cap->setFont(big);
        values[i] = new QLabel(QStringLiteral("0"), box);
        values[i]->setFont(big);
        values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        g->addWidget(cap, i, 0);
        g->addWidget(values[i], i, 1);
    }
    g->setColumnStretch(1, 1);
    g->setRowStretch(4, 1);
    return box;
}
} // namespace

TPageStats::TPageStats(QWidget *parent) : QWidget(parent) {
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setChildrenCollapsible(false);
    lay->addWidget(Splitter);

    Panel6 = new QWidget(Splitter);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto *top = new QHBoxLayout(Panel6);
    QLabel *all[4];
    GBAll = statsBox(QCoreApplication::translate("page_stats", "Всего"), all, Panel6);
    LCount = all[0];
    LCE = all[1];
    LSize = all[2];
    LTime = all[3];
    QLabel *sel[4];
    GBSelected = statsBox(QCoreApplication::translate("page_stats", "Выбрано"), sel, Panel6);
    LVAni = sel[0];
    LVFile = sel[1];
    LVSize = sel[2];
    LVtime = sel[3];
    auto *buttons = new QHBoxLayout;
    BSToExcel = new QPushButton(QStringLiteral("To Excel"), GBSelected);
    BSToExcel->setObjectName(QStringLiteral("BSToExcel"));
    BSToHTML = new QPushButton(QStringLiteral("To HTML"), GBSelected);
    BSToHTML->setObjectName(QStringLiteral("BSToHTML"));
    BSet = new QPushButton(QStringLiteral("SetUp"), GBSelected);
    BSet->setObjectName(QStringLiteral("BSet"));
    buttons->addWidget(BSToExcel);
    buttons->addWidget(BSToHTML);
    buttons->addWidget(BSet);
    buttons->addStretch(1);
    static_cast<QGridLayout *>(GBSelected->layout())->addLayout(buttons, 5, 0, 1, 2);
    top->addWidget(GBAll, 1);
    top->addWidget(GBSelected, 1);
    ChartsHolder = new QWidget(Panel6);
    ChartsHolder->setObjectName(QStringLiteral("ChartsHolder"));
    auto *cl = new QVBoxLayout(ChartsHolder);
    cl->setContentsMargins(0, 0, 0, 0);
    top->addWidget(ChartsHolder, 2);

    GBList = new QGroupBox(QCoreApplication::translate("page_stats", "Выбранно:"), Splitter);
    auto *ll = new QVBoxLayout(GBList);
    // Narrow margins: the list's columns have the room the summary's have.
    ll->setContentsMargins(2, 2, 2, 2);
    GV3 = new TGridView(GBList);
    GV3->setObjectName(QStringLiteral("GV3"));
    setupSelectionGrid(GV3->Data());
    GV3->SetHeaderSize(18);
    GV3->SetRowSize(16);
    GV3->SetColor(clWindow);
    GV3->SetSelectionMoveDirection(mdDown);
    ll->addWidget(GV3);

    Splitter->addWidget(Panel6);
    Splitter->addWidget(GBList);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
}

} // namespace vq
