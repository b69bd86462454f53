#include "page_stats.h"

#include "browser/summary.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace vq {

namespace {
QGroupBox *statsBox(const QString &title, QLabel *values[4], QWidget *parent) {
    auto *box = new QGroupBox(title, parent);
    auto *g = new QGridLayout(box);
    const char *captions[4] = {"Аниме:", "Файлов:", "Объём:", "Время:"};
    QFont big = box->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    for (int i = 0; i < 4; ++i) {
        auto *cap = new QLabel(QString::fromUtf8(captions[i]), box);
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
    GBAll = statsBox(QStringLiteral("Всего"), all, Panel6);
    LCount = all[0];
    LCE = all[1];
    LSize = all[2];
    LTime = all[3];
    QLabel *sel[4];
    GBSelected = statsBox(QStringLiteral("Выбрано"), sel, Panel6);
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

    GBList = new QGroupBox(QStringLiteral("Выбранно:"), Splitter);
    auto *ll = new QVBoxLayout(GBList);
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

// ---- operations of the statistics page and the selection set ----

void TView_Base::UpStat() {
    if (!m_session.isOpen())
        return;
    const CatalogStats st = vq::UpStat(m_session);
    m_sbarPanel->setText(QStringLiteral("Всего: ") + st.LCount);
    m_stats->LCount->setText(st.LCount);
    m_stats->LCE->setText(st.LCE);
    m_stats->LSize->setText(st.LSize);
    m_stats->LTime->setText(st.LTime);
}

void TView_Base::VstatUpDate() {
    const SelTotals t = selTotals();
    m_stats->LVAni->setText(t.LVAni());
    m_stats->LVFile->setText(t.LVFile());
    m_stats->LVSize->setText(t.LVSize());
    m_stats->LVtime->setText(t.LVtime());
}

void TView_Base::clearSelection() {
    GV3().ClearRows();
    m_work.selection().clear();
    TGridView &sv = GVSV();
    for (int r = 0; r < sv.RowCount(); ++r)
        if (sv.CellAt(gvsv::Selected, r).AsBoolean()) {
            sv.CellAt(gvsv::Selected, r).SetAsBoolean(false);
            for (int c = 0; c < sv.ColumnCount(); ++c)
                sv.CellAt(c, r).SetColor(clSilver);
        }
    VstatUpDate();
}

void TView_Base::SelIOClick() {
    TGridView &sv = GVSV();
    const int r = sv.CurrentRow();
    if (!m_session.isOpen() || r < 0 || r >= sv.RowCount())
        return;
    const qint64 id = sv.CellAt(gvsv::Id, r).AsInteger();
    if (sv.CellAt(gvsv::Selected, r).AsBoolean() || m_work.selection().contains(id)) {
        removeFromSelection(id);
        return;
    }
    for (int c = 0; c < sv.ColumnCount(); ++c)
        sv.CellAt(c, r).SetColor(clAqua);
    sv.CellAt(gvsv::Selected, r).SetAsBoolean(true);
    AddToG3();
    sv.SetCurrentRow(sv.CurrentRow() + 1);
    sv.MakeRowVisible(sv.CurrentRow());
}

void TView_Base::AddToG3() {
    TGridView &sv = GVSV();
    TGridView &g3 = GV3();
    const int r = sv.CurrentRow();
    if (r < 0 || r >= sv.RowCount())
        return;
    const qint64 id = sv.CellAt(gvsv::Id, r).AsInteger();
    if (!m_work.selection().add(id))
        return;
    g3.AddRows(1);
    const int s = g3.RowCount() - 1;
    for (int c = 0; c <= sv.ColumnCount() - 3; ++c)
        g3.SetCellText(c, s, sv.GetCellText(c, r));
    g3.CellAt(gv3::IdColumn, s).SetAsInteger(int(id));
    VstatUpDate();
}

void TView_Base::DelFromG3() {
    removeFromSelection(currentTitleId());
}

void TView_Base::removeFromSelection(qint64 id) {
    const int g3row = SeeingG3(id);
    if (id == 0 || !m_work.selection().remove(id))
        return; // not in the selection: nothing to remove, no other row touched
    TGridView &sv = GVSV();
    const int svrow = SeeingSV(id);
    if (svrow >= 0) {
        for (int c = 0; c < sv.ColumnCount(); ++c)
            sv.CellAt(c, svrow).SetColor(clSilver);
        sv.CellAt(gvsv::Selected, svrow).SetAsBoolean(false);
    }
    if (g3row >= 0)
        GV3().DeleteRow(g3row);
    VstatUpDate();
}

void TView_Base::followSelection() {
    if (!m_session.isOpen())
        return;
    m_work.followCatalog();
    TGridView &g3 = GV3();
    TGridView &sv = GVSV();
    for (int r = g3.RowCount() - 1; r >= 0; --r) {
        const qint64 id = g3.CellAt(gv3::IdColumn, r).AsInteger();
        if (!m_work.selection().contains(id)) {
            g3.DeleteRow(r);
            continue;
        }
        const int s = SeeingSV(id);
        if (s >= 0)
            for (int c = 0; c <= sv.ColumnCount() - 3; ++c)
                g3.SetCellText(c, r, sv.GetCellText(c, s));
    }
    VstatUpDate();
}

void TView_Base::GV3SelectCell(int, int ARow) {
    TGridView &g3 = GV3();
    if (ARow < 0 || ARow >= g3.RowCount())
        return;
    const qint64 id = g3.CellAt(gv3::IdColumn, ARow).AsInteger();
    const int row = SeeingRed(id);
    if (row >= 0)
        GV().MoveToCell(1, row);
    else
        makeTitleCurrent(id);
}

void TView_Base::GV3KeyDown(QKeyEvent *event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        showPage(TOsn);
    TGridView &g3 = GV3();
    const int row = g3.CurrentRow();
    if (key == Qt::Key_Delete && g3.SelectedRowCount() > 0 && row >= 0 && row < g3.RowCount()) {
        // The highlighted row's title goes, and the row highlighted next becomes current, so
        // that the next Delete removes it.
        removeFromSelection(g3.CellAt(gv3::IdColumn, row).AsInteger());
        if (g3.RowCount() > 0)
            GV3SelectCell(0, g3.CurrentRow());
    }
}

void TView_Base::GV3DblClick() {
    showPage(TOsn);
}

} // namespace vq
