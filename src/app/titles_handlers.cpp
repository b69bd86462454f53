#include "titles_handlers.h"

#include "browser/episodegaps.h"
#include "browser/summary.h"
#include "catalog/error.h"
#include "catalog/formats.h"
#include "catalog/messages.h"
#include "dialogs.h"
#include "errorguard.h"
#include "letterkey.h"
#include "ops/altnames.h"
#include "ops/attach.h"
#include "page_titles.h"
#include "places/hashing.h"
#include "places/locations.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

namespace vq {

TTitlesHandlers::TTitlesHandlers(TView_Base &window)
    : QObject(&window), m_win(window), m_p(window.titlesPage()) {
    setObjectName(QStringLiteral("TitlesHandlers"));
    connectAll();
}

void TTitlesHandlers::connectAll() {
    auto g = [this](auto f) { return ErrorGuard::wrap(&m_win, f); };
    TGridView *gv = m_p->GV;
    connect(gv, &TGridView::selectCell, this, g([this](int c, int r) { GVSelectCell(c, r); }));
    connect(gv, &TGridView::keyDown, this, g([this](QKeyEvent *e) { GVKeyDown(e); }));
    connect(gv, &TGridView::afterEdit, this,
            g([this](int c, int r, const QString &v) { GVAfterEdit(c, r, v); }));

    TGridView *dbgrid2 = m_p->DBGrid2;
    TGridView *dbgrid1 = &m_win.DBGrid1();
    connect(dbgrid2, &TGridView::keyDown, this,
            g([this, dbgrid2](QKeyEvent *e) { DBGrid1KeyDown(*dbgrid2, e); }));
    connect(dbgrid1, &TGridView::keyDown, this,
            g([this, dbgrid1](QKeyEvent *e) { DBGrid1KeyDown(*dbgrid1, e); }));
    connect(dbgrid2, &TGridView::selectCell, this, g([this](int, int) { showEpisodePlace(); }));
    connect(dbgrid2, &TGridView::dblClick, this, g([this, dbgrid2] { playEpisode(*dbgrid2); }));
    connect(dbgrid1, &TGridView::dblClick, this, g([this, dbgrid1] { playEpisode(*dbgrid1); }));
    connect(m_p->BOpenFolder, &QPushButton::clicked, this, g([this] { BOpenFolderClick(); }));
    connect(m_p->BAttachFolder, &QPushButton::clicked, this, g([this] { BAttachFolderClick(); }));

    // What the user picks or types is stored at once, each change as it is made; the lists show it
    // from the catalog's change notice.
    connect(m_p->LCBType, &QComboBox::activated, this, g([this](int) { DS2DataChange(); }));
    connect(m_p->ECount, &QLineEdit::textEdited, this, g([this](const QString &) { ECountChange(); }));
    connect(m_p->EKoment, &QLineEdit::textEdited, this, g([this](const QString &) { EKomentChange(); }));
    // A wheel over the type box changes the title's type only when the user is in the box.
    m_p->LCBType->setFocusPolicy(Qt::StrongFocus);

    for (QWidget *w : {static_cast<QWidget *>(m_p->LCBType), static_cast<QWidget *>(m_p->ECount),
                       static_cast<QWidget *>(m_p->EKoment)})
        w->installEventFilter(this);

    connect(m_p->BAltAdd, &QPushButton::clicked, this, g([this] { BAltAddClick(); }));
    connect(m_p->BAltEdit, &QPushButton::clicked, this, g([this] { BAltEditClick(); }));
    connect(m_p->BAltDel, &QPushButton::clicked, this, g([this] { BAltDelClick(); }));
    connect(m_p->GVAlt, &TGridView::keyDown, this, g([this](QKeyEvent *e) { GVAltKeyDown(e); }));
    connect(m_p->GVAlt, &TGridView::dblClick, this, g([this] { BAltEditClick(); }));
    m_p->GVAlt->installEventFilter(this);
}

bool TTitlesHandlers::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (watched == m_p->LCBType && type == QEvent::Wheel && !m_p->LCBType->hasFocus()) {
        event->ignore(); // the page scrolls, the type stays
        return true;
    }
    if (watched == m_p->GVAlt && type == QEvent::Resize)
        m_p->GVAlt->Column(1).SetWidth(std::max(40, m_p->GVAlt->width() - 24)); // the names fill the list
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) &&
        (watched == m_p->LCBType || watched == m_p->ECount || watched == m_p->EKoment)) {
        if (type == QEvent::FocusIn)
            CBTypeEnter();
        else if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            CBTypeExit();
    }
    return QObject::eventFilter(watched, event);
}

void TTitlesHandlers::LoadName() {
    CatalogSession &s = m_win.session();
    if (!s.isOpen())
        return;
    vq::LoadName(s, m_p->GV->Data(), &m_win.GV4().Data());
}

void TTitlesHandlers::LoadSeries() {
    CatalogSession &s = m_win.session();
    const qint64 id = m_win.currentTitleId();
    if (!s.isOpen() || id == 0)
        return;
    // Everything by the title's key, from one state of the file.
    Catalog::ReadSnapshot snapshot(s.catalog());
    const std::optional<ops::TitleRecord> record = ops::titleRecord(s.catalog(), id);
    if (!record) {
        clearCurrentTitle();
        return;
    }
    fillEpisodeGrid(*m_p->DBGrid2, titleEpisodeTexts(s.catalog(), id));
    const TitleSums sums = s.catalog().titleSums({false, id});
    const int i = sums.find(id);
    const std::optional<double> size = i < 0 ? std::nullopt : sums.size[size_t(i)];
    // A title without episodes has no sums: no digits to group.
    m_p->ESize->setText(GroupDigits(size ? plainNumberText(*size) : QString()));
    m_p->ETime->setText(FormatPlayTime(roundHalfEven(sums.durationAt(i))));
    showTitleDetails(*record);
    LoadAltNames();
    showEpisodePlace();
}

void TTitlesHandlers::fillEpisodeGrid(TGridView &grid, const std::vector<EpisodeTexts> &rows) {
    const int current = grid.CurrentRow();
    grid.ClearRows();
    grid.AddRows(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < 7; ++c)
            grid.SetCellText(c, r, rows[size_t(r)].texts[size_t(c)]);
        grid.CellAt(kEpisodeIdColumn, r).SetAsInteger(int(rows[size_t(r)].id));
    }
    if (!rows.empty())
        grid.PlaceCurrentRow(std::clamp(current, 0, int(rows.size()) - 1));
}

void TTitlesHandlers::fillTypeList() {
    QComboBox *box = m_p->LCBType;
    box->clear();
    DataSet &types = m_win.session().ADoType;
    if (!types.isOpen())
        types.open();
    const int n = types.recordCount();
    for (int r = 1; r <= n; ++r) {
        types.setRecNo(r);
        box->addItem(types.asString(1), types.asInteger(0));
    }
    // The first item is no title's type: the box shows a type only once a title is current.
    box->setCurrentIndex(-1);
}

void TTitlesHandlers::showTitleDetails(const std::optional<ops::TitleRecord> &record) {
    const bool has = record.has_value();
    m_p->LCBType->setEnabled(has);
    m_p->ECount->setEnabled(has);
    m_p->EKoment->setEnabled(has);
    m_p->LGaps->clear();
    if (!has) {
        m_p->LCBType->setCurrentIndex(-1);
        m_p->ECount->clear();
        m_p->EKoment->clear();
        return;
    }
    m_p->LCBType->setCurrentIndex(record->type ? m_p->LCBType->findData(*record->type) : -1);
    if (const std::vector<int> missing = titleMissingEpisodes(m_win.session().catalog(), record->id);
        !missing.empty())
        m_p->LGaps->setText(msg::episodesMissing(missingList(missing)));
    // What the user is typing is what the file holds already: the box is left as it is.
    if (m_p->ECount->text() != record->count)
        m_p->ECount->setText(record->count);
    if (m_p->EKoment->text() != record->comment) {
        m_p->EKoment->setText(record->comment);
        // A long comment is read from its beginning.
        m_p->EKoment->setCursorPosition(0);
    }
}

void TTitlesHandlers::clearCurrentTitle() {
    m_win.workspace().setCurrentTitle(0);
    m_p->DBGrid2->ClearRows();
    m_p->ESize->clear();
    m_p->ETime->clear();
    showTitleDetails(std::nullopt);
    LoadAltNames();
    showEpisodePlace();
}

void TTitlesHandlers::LoadAltNames(qint64 selectId) {
    TGridView &g = *m_p->GVAlt;
    g.ClearRows();
    CatalogSession &s = m_win.session();
    const qint64 title = m_win.currentTitleId();
    // A title another program deleted meanwhile simply has no names to show.
    const bool has = title != 0 && ops::titleExists(s, title);
    for (QPushButton *b : {m_p->BAltAdd, m_p->BAltEdit, m_p->BAltDel})
        b->setEnabled(has);
    if (!has)
        return;
    const std::vector<ops::AltName> names = ops::altNames(s, title);
    g.AddRows(int(names.size()));
    int current = 0;
    for (int r = 0; r < int(names.size()); ++r) {
        g.CellAt(0, r).SetAsInteger(int(names[size_t(r)].id));
        g.SetCellText(1, r, names[size_t(r)].name);
        if (names[size_t(r)].id == selectId)
            current = r;
    }
    if (!names.empty()) {
        g.SetCurrentRow(current);
        g.MakeRowVisible(current);
    }
}

QString TTitlesHandlers::currentTitleName() {
    const std::optional<ops::TitleRecord> r =
        ops::titleRecord(m_win.session().catalog(), m_win.currentTitleId());
    return r ? r->name : QString();
}

qint64 TTitlesHandlers::currentAltId() const {
    TGridView &g = *m_p->GVAlt;
    const int row = g.CurrentRow();
    return row >= 0 && row < g.RowCount() ? g.CellAt(0, row).AsInteger() : 0;
}

void TTitlesHandlers::BAltAddClick() {
    const qint64 title = m_win.currentTitleId();
    if (title == 0)
        return;
    const std::optional<QString> name =
        m_win.dialogs().inputText(&m_win, msg::altNameAddCaption(), msg::altNamePrompt(currentTitleName()));
    if (!name)
        return;
    const qint64 id = ops::addAltName(m_win.session(), title, *name);
    LoadAltNames(id);
}

void TTitlesHandlers::BAltEditClick() {
    const qint64 id = currentAltId();
    if (id == 0 || m_win.currentTitleId() == 0)
        return;
    TGridView &g = *m_p->GVAlt;
    const std::optional<QString> name =
        m_win.dialogs().inputText(&m_win, msg::altNameEditCaption(), msg::altNamePrompt(currentTitleName()),
                                  g.GetCellText(1, g.CurrentRow()));
    if (!name)
        return;
    ops::renameAltName(m_win.session(), id, *name);
    LoadAltNames(id);
}

void TTitlesHandlers::BAltDelClick() {
    const qint64 id = currentAltId();
    if (id == 0)
        return;
    TGridView &g = *m_p->GVAlt;
    const int row = g.CurrentRow();
    if (!m_win.dialogs().askYesNo(&m_win, msg::deleteQuestionCaption(),
                                  msg::deleteQuestion(g.GetCellText(1, row))))
        return;
    ops::deleteAltName(m_win.session(), id);
    // The name after the deleted one becomes current, or the one before it at the end.
    const qint64 next = row + 1 < g.RowCount() ? g.CellAt(0, row + 1).AsInteger()
                        : row > 0              ? g.CellAt(0, row - 1).AsInteger()
                                               : 0;
    LoadAltNames(next);
}

void TTitlesHandlers::GVAltKeyDown(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Insert:
        BAltAddClick();
        break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BAltEditClick();
        break;
    case Qt::Key_Delete:
        BAltDelClick();
        break;
    default:
        break;
    }
}

void TTitlesHandlers::GVSelectCell(int, int ARow) {
    TGridView &g = *m_p->GV;
    if (!m_win.session().isOpen() || ARow < 0 || ARow >= g.RowCount())
        return;
    m_win.makeTitleCurrent(g.CellAt(0, ARow).AsInteger());
    g.MakeRowVisible(ARow);
    if (g.Column(1).HasOption(coEditing))
        g.Column(1).RemoveOption(coEditing);
}

void TTitlesHandlers::GVKeyDown(QKeyEvent *event) {
    TGridView &g = *m_p->GV;
    const int key = event->key();
    if (key == Qt::Key_F2) {
        m_win.BeginTitleRename(g);
        return;
    }
    const int k = g.CurrentRow();
    CatalogSession &s = m_win.session();
    if (key == Qt::Key_Delete && s.isOpen() && k >= 0 && k < g.RowCount()) {
        const qint64 id = g.CellAt(0, k).AsInteger();
        if (m_win.dialogs().askYesNo(&m_win, msg::deleteQuestionCaption(),
                                     msg::deleteQuestion(g.GetCellText(1, k)))) {
            ops::deleteTitle(s, id);
            m_win.UpDateAll(true);
            if (g.RowCount() > 0)
                g.PlaceCurrentRow(std::min(k, g.RowCount() - 1));
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
    if (const int letter = letterKey(event))
        m_win.GVKNF(letter, g, 1);
}

void TTitlesHandlers::GVAfterEdit(int ACol, int ARow, const QString &) {
    m_win.EditName(*m_p->GV, ACol, ARow, 0);
}

qint64 TTitlesHandlers::chosenEpisode(TGridView &grid) const {
    const int row = grid.CurrentRow();
    if (!m_win.session().isOpen() || row < 0 || row >= grid.RowCount())
        return 0;
    return grid.CellAt(kEpisodeIdColumn, row).AsInteger();
}

void TTitlesHandlers::showEpisodePlace() {
    const qint64 episode = chosenEpisode(*m_p->DBGrid2);
    QString text;
    if (episode != 0) {
        Catalog &c = m_win.session().catalog();
        text = places::placeText(places::episodeLocations(c, episode, places::Mounts::recent()));
        if (const int copies = places::episodeCopyCount(c, episode); copies > 0)
            text += QLatin1Char('\n') + msg::episodeCopies(copies);
    }
    m_p->LPlace->setText(text);
    m_p->BOpenFolder->setEnabled(episode != 0);
    m_p->BAttachFolder->setEnabled(m_win.currentTitleId() != 0);
}

void TTitlesHandlers::openEpisodeFile(TGridView &grid, bool folder) {
    const qint64 episode = chosenEpisode(grid);
    if (episode == 0)
        return;
    const places::OpenTarget t =
        places::fileToOpen(m_win.session().catalog(), episode, places::Mounts::current());
    if (t.path.isEmpty())
        throw Error(t.error);
    const QString path = QFile::decodeName(t.path);
    m_win.dialogs().openUrl(QUrl::fromLocalFile(folder ? QFileInfo(path).path() : path));
}

void TTitlesHandlers::playEpisode(TGridView &grid) {
    openEpisodeFile(grid, false);
}

void TTitlesHandlers::BOpenFolderClick() {
    openEpisodeFile(*m_p->DBGrid2, true);
}

void TTitlesHandlers::BAttachFolderClick() {
    const qint64 title = m_win.currentTitleId();
    if (title == 0 || !m_win.session().isOpen())
        return;
    const QString folder = m_win.dialogs().chooseFolder(&m_win, m_p->BAttachFolder->text(), m_win.StartDir());
    if (folder.isEmpty())
        return;
    char *real = ::realpath(QFile::encodeName(folder).constData(), nullptr);
    if (!real)
        throw Error(msg::folderNotFound(folder));
    const QByteArray native(real);
    free(real);
    const ops::AttachReport r =
        ops::attachFolder(m_win.session().catalog(), title, native, places::Mounts::current());
    QStringList lines{msg::attachSummary(int(r.matched.size()), int(r.ambiguous.size()),
                                         int(r.leftEpisodes.size()), int(r.leftFiles.size()))};
    for (const auto &[episode, file] : r.matched)
        lines << episode + QStringLiteral(" → ") + file;
    for (const QString &e : r.ambiguous)
        lines << e + QStringLiteral(": ?");
    m_win.dialogs().inform(&m_win, m_p->BAttachFolder->text(), lines.join(QLatin1Char('\n')));
}

void TTitlesHandlers::DBGrid1KeyDown(TGridView &grid, QKeyEvent *event) {
    CatalogSession &s = m_win.session();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && s.isOpen()) {
        playEpisode(grid);
        return;
    }
    if (event->key() != Qt::Key_Delete || !s.isOpen())
        return;
    const int row = grid.CurrentRow();
    if (row < 0 || row >= grid.RowCount())
        return;
    // The episode of the row, by its key: the grid shows one title's episodes, whichever page.
    const qint64 episodeId = grid.CellAt(kEpisodeIdColumn, row).AsInteger();
    if (!m_win.dialogs().askYesNo(&m_win, msg::deleteQuestionCaption(),
                                  msg::deleteQuestion(grid.GetCellText(0, row))))
        return;
    ops::deleteEpisode(s, episodeId);
    if (grid.RowCount() > 0)
        grid.PlaceCurrentRow(std::min(row, grid.RowCount() - 1));
}

void TTitlesHandlers::writeTitleField(ops::TitleField field, const QVariant &value) {
    const qint64 id = m_win.currentTitleId();
    if (id == 0)
        return;
    CatalogSession &s = m_win.session();
    try {
        ops::setTitleField(s, id, field, value);
    } catch (const Error &) {
        // Another program may have deleted the title: the pages show what the file holds now,
        // and the error box says why the typing was not stored.
        if (s.catalog().checkExternalChanges() || !ops::titleExists(s, id)) {
            s.catalog().invalidate();
            s.catalog().deliverChanges();
        }
        throw;
    }
}

void TTitlesHandlers::DS2DataChange() {
    writeTitleField(ops::TitleField::Type, m_p->LCBType->currentData());
}
void TTitlesHandlers::ECountChange() {
    writeTitleField(ops::TitleField::Count, m_p->ECount->text());
}
void TTitlesHandlers::EKomentChange() {
    writeTitleField(ops::TitleField::Comment, m_p->EKoment->text());
}
void TTitlesHandlers::CBTypeEnter() {
    m_detailEditing = true;
}
void TTitlesHandlers::CBTypeExit() {
    m_detailEditing = false;
}

} // namespace vq
