#include "page_titles.h"

#include "catalog/formats.h"
#include "catalog/messages.h"
#include "dialogs.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace vq {

const EpisodeColumn kEpisodeColumns[7] = {
    {"Серия", "Серия", 0, 45, "s2"},    {"Size", "Объём (байт)", 1, 13, "s3"},
    {"Размеры", "Размеры", 2, 9, "s5"}, {"Time", "Длительность", 2, 14, "s8"},
    {"Sound", "Звук", 2, 8, "s13"},     {"Sub_In", "SubIn", 2, 4, "s14"},
    {"Sub_Ext", "SubExt", 2, 4, "s15"},
};

void setupEpisodeGrid(TGridView &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    grid.SetRowSize(16);
    grid.SetHeaderSize(18);
    for (const EpisodeColumn &c : kEpisodeColumns) {
        GridColumn &col = grid.AddTextColumn(QString::fromUtf8(c.caption));
        col.SetAlignment(c.align == 0   ? GridAlignment::Left
                         : c.align == 1 ? GridAlignment::Right
                                        : GridAlignment::Center);
        col.SetOptions(col.Options() & ~(coEditing | coCanSort | coCanClick));
    }
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
    pl->addWidget(GV);

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
    setTabOrder(LCBType, ECount);
    setTabOrder(ECount, EKoment);
    setTabOrder(EKoment, ESize);
    setTabOrder(ESize, ETime);
    rl->addWidget(Bar);
    DBGrid2 = new TGridView(right);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    setupEpisodeGrid(*DBGrid2);
    rl->addWidget(DBGrid2);

    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(right);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
}

// ---- operations of the title and episode page ----

void TView_Base::LoadName() {
    if (!m_session.isOpen())
        return;
    vq::LoadName(m_session, GV().Data(), &GV4().Data());
}

qint64 TView_Base::currentTitleId() {
    // The title the page shows, also while a search that matches nothing leaves `Список` empty.
    return m_session.isOpen() ? m_work.currentTitle() : 0;
}

void TView_Base::LoadSeries() {
    if (!m_session.isOpen() || m_session.Name.recordCount() == 0)
        return;
    const qint64 id = m_session.Name.asInteger(0);
    m_work.setCurrentTitle(id);
    m_session.Series.setFilter(Filter::equals(QStringLiteral("Название"), id));
    m_session.Series.setFiltered(true);
    DataSet &rjk = m_session.RJk;
    if (!rjk.isOpen())
        rjk.open();
    rjk.setFilter(Filter::equals(QStringLiteral("ID"), id));
    rjk.setFiltered(true);
    rjk.first();
    TPageTitles *p = m_titles;
    // A title without episodes has no sums: no digits to group.
    p->ESize->setText(
        GroupDigits(rjk.isNull(rjk.fieldName(1)) ? QString() : plainNumberText(rjk.asFloat(1))));
    p->ETime->setText(FormatPlayTime(roundHalfEven(rjk.asFloat(2))));
    fillEpisodeGrids();
    showTitleDetails();
}

void TView_Base::fillEpisodeGrids() {
    DataSet &series = m_session.Series;
    const int n = series.recordCount();
    int fields[7];
    for (int c = 0; c < 7; ++c)
        fields[c] = series.fieldIndex(QString::fromUtf8(kEpisodeColumns[c].field));
    TGridView *grids[2] = {&DBGrid2(), &DBGrid1()};
    for (TGridView *g : grids) {
        g->ClearRows();
        g->AddRows(n);
    }
    for (int r = 0; r < n; ++r) {
        series.setRecNo(r + 1);
        for (int c = 0; c < 7; ++c) {
            const QString text = series.asString(fields[c]);
            for (TGridView *g : grids)
                g->SetCellText(c, r, text);
        }
    }
    if (n > 0)
        series.first();
}

void TView_Base::showTitleDetails() {
    TPageTitles *p = m_titles;
    DataSet &name = m_session.Name;
    const bool has = m_session.isOpen() && name.recordCount() > 0;
    p->LCBType->setEnabled(has);
    p->ECount->setEnabled(has);
    p->EKoment->setEnabled(has);
    if (!has) {
        p->LCBType->setCurrentIndex(-1);
        p->ECount->clear();
        p->EKoment->clear();
        return;
    }
    p->LCBType->setCurrentIndex(p->LCBType->findData(name.asInteger(QStringLiteral("NType"))));
    DS2DataChange();
    p->ECount->setText(name.asString(3));
    p->EKoment->setText(name.asString(4));
    // A long comment is read from its beginning.
    p->EKoment->setCursorPosition(0);
}

void TView_Base::clearCurrentTitle() {
    m_work.setCurrentTitle(0);
    DBGrid2().ClearRows();
    DBGrid1().ClearRows();
    m_titles->ESize->clear();
    m_titles->ETime->clear();
    showTitleDetails();
}

void TView_Base::makeTitleCurrent(qint64 id) {
    DataSet &name = m_session.Name;
    name.setFiltered(false);
    name.setFilter(Filter::equals(QStringLiteral("ID"), id));
    name.setFiltered(true);
    name.first();
    LoadSeries();
}

void TView_Base::GVSelectCell(int, int ARow) {
    TGridView &g = GV();
    if (!m_session.isOpen() || ARow < 0 || ARow >= g.RowCount())
        return;
    makeTitleCurrent(g.CellAt(0, ARow).AsInteger());
    g.MakeRowVisible(ARow);
    if (g.Column(1).HasOption(coEditing))
        g.Column(1).RemoveOption(coEditing);
}

void TView_Base::BeginTitleRename(TGridView &grid) {
    if (grid.RowCount() == 0)
        return;
    grid.Column(1).AddOption(coEditing);
    grid.EditCell(1, grid.CurrentRow());
}

void TView_Base::GVKeyDown(QKeyEvent *event) {
    TGridView &g = GV();
    const int key = event->key();
    if (key == Qt::Key_F2) {
        BeginTitleRename(g);
        return;
    }
    const int k = g.CurrentRow();
    if (key == Qt::Key_Delete && m_session.isOpen() && k >= 0 && k < g.RowCount()) {
        const qint64 id = g.CellAt(0, k).AsInteger();
        if (m_dialogs.askYesNo(this, msg::deleteQuestionCaption(),
                               msg::deleteQuestion(g.GetCellText(1, k)))) {
            ops::deleteTitle(m_session, id);
            UpDateAll(true);
            const int rows = g.RowCount();
            if (rows == 0) {
                // The only title is gone: nothing is current.
                clearCurrentTitle();
            } else {
                g.MoveToCell(1, std::max(0, k < rows - 1 ? k : k - 1));
                g.MakeRowVisible(std::min(k, rows - 1));
            }
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        GVKNF(key, g, 1);
}

void TView_Base::GVAfterEdit(int ACol, int ARow, const QString &) {
    EditName(GV(), ACol, ARow, 0);
}

void TView_Base::GVKNF(int key, TGridView &grid, int col) {
    const int n = grid.RowCount();
    if (n == 0)
        return;
    const QChar ch(key & 0xFF);
    const int s = grid.CurrentRow() < n - 1 ? grid.CurrentRow() : 0;
    // Rows s+1 .. wrapping .. s; on a one-row grid that examines the row itself.
    for (int i = 1; i <= n; ++i) {
        const int row = (s + i) % n;
        const QString text = grid.GetCellText(col, row);
        if (!text.isEmpty() && text.at(0) == ch) {
            grid.SetCurrentRow(row);
            grid.MakeRowVisible(grid.CurrentRow());
            return;
        }
    }
}

void TView_Base::EditName(TGridView &grid, int ACol, int ARow, int IdCol) {
    if (!m_session.isOpen() || !grid.Data().ValidCell(ACol, ARow))
        return;
    const qint64 id = grid.CellAt(IdCol, ARow).AsInteger();
    const QString text = grid.GetCellText(ACol, ARow);
    DataSet &name = m_session.Name;
    if (!ops::titleExists(m_session, id))
        return;
    try {
        ops::renameTitle(m_session, id, text);
    } catch (...) {
        // The refused name leaves the cell; nothing of it stays pending.
        grid.SetCellText(ACol, ARow, name.asString(1));
        throw;
    }
    UpDateAll(true);
    makeTitleCurrent(id);
    // The renamed title stays current; Enter's move to the next row is for ordinary cell edits.
    grid.KeepPositionAfterEdit();
    const int i = IdCol == gvsv::Id        ? SeeingSV(id)
                  : IdCol == gv3::IdColumn ? SeeingG3(id)
                                           : [&] {
                                                 for (int r = 0; r < grid.RowCount(); ++r)
                                                     if (grid.CellAt(IdCol, r).AsInteger() == id)
                                                         return r;
                                                 return -1;
                                             }();
    if (i >= 0)
        grid.SetCurrentRow(i);
    grid.MakeRowVisible(grid.CurrentRow());
}

void TView_Base::DBGrid1KeyDown(TGridView &grid, QKeyEvent *event) {
    if (event->key() != Qt::Key_Delete || !m_session.isOpen())
        return;
    DataSet &series = m_session.Series;
    const int row = grid.CurrentRow();
    if (series.recordCount() == 0 || row < 0 || row >= series.recordCount())
        return;
    series.setRecNo(row + 1);
    const qint64 episodeId = series.asInteger(QStringLiteral("ID"));
    if (!m_dialogs.askYesNo(this, msg::deleteQuestionCaption(),
                            msg::deleteQuestion(series.asString(QStringLiteral("Серия")))))
        return;
    ops::deleteEpisode(m_session, episodeId);
    UpDateAll(false);
    // The episode grids follow the data set; the two totals wait for the next LoadSeries.
    fillEpisodeGrids();
    if (grid.RowCount() > 0)
        grid.SetCurrentRow(std::min(row, grid.RowCount() - 1));
}

void TView_Base::writeTitleField(ops::TitleField field, const QVariant &value) {
    const qint64 id = currentTitleId();
    if (id == 0)
        return;
    ops::setTitleField(m_session, id, field, value);
}

void TView_Base::postPendingTitleEdit() {
    if (m_session.isOpen())
        ops::postPendingTitleEdit(m_session);
}

void TView_Base::mirrorIntoSummary(int column, const QString &text) {
    if (!m_detailEditing)
        return;
    // The row of the title being edited, which is the one GV shows current unless a search
    // left GV without it.
    const qint64 id = currentTitleId();
    if (id == 0)
        return;
    const int row = SeeingSV(id);
    if (row >= 0)
        GVSV().SetCellText(column, row, text);
}

void TView_Base::DS2DataChange() {
    mirrorIntoSummary(gvsv::Type, m_titles->LCBType->currentText());
}
void TView_Base::ECountChange() {
    mirrorIntoSummary(gvsv::Episodes, m_titles->ECount->text());
}
void TView_Base::EKomentChange() {
    mirrorIntoSummary(gvsv::Comment, m_titles->EKoment->text());
}
void TView_Base::CBTypeEnter() {
    m_detailEditing = true;
}
void TView_Base::CBTypeExit() {
    m_detailEditing = false;
}

} // namespace vq
