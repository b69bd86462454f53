#pragma once

#include "browser/summary.h"
#include "ops/titleops.h"

#include <QObject>

class QKeyEvent;

namespace vq {

class TView_Base;
class TPageTitles;
class TGridView;

// The handlers of the page "Информация по сериям": the title list, the current title's editors
// and the episode grids (the intake page's episode grid shares the Delete key). The window owns
// one; the state it works on is the window's.
class TTitlesHandlers : public QObject {
    Q_OBJECT
public:
    explicit TTitlesHandlers(TView_Base &window);

    void LoadName();
    void LoadSeries();
    // The type list of the editors, from the catalog's types.
    void fillTypeList();
    // Nothing is current: no episodes, no totals, the editors empty and disabled.
    void clearCurrentTitle();
    void GVSelectCell(int ACol, int ARow);
    void GVKeyDown(QKeyEvent *event);
    void GVAfterEdit(int ACol, int ARow, const QString &value);
    // Delete key of the two episode grids (DBGrid2 on page 0, DBGrid1 on page 3).
    void DBGrid1KeyDown(TGridView &grid, QKeyEvent *event); // Delete; Enter plays
    // The chosen episode's drive, folder and state under the episodes.
    void showEpisodePlace();
    // Hands the episode's file to the desktop's player; an error names the drive that is not in.
    void playEpisode(TGridView &grid);
    void BOpenFolderClick();
    void BAttachFolderClick();
    // A type picked, an episode count or a comment typed: stored into the current title at once.
    void DS2DataChange();
    void ECountChange();
    void EKomentChange();
    // An episode grid shows `rows`, its current row kept where it was.
    static void fillEpisodeGrid(TGridView &grid, const std::vector<EpisodeTexts> &rows);
    void CBTypeEnter();
    void CBTypeExit();
    // The current title's other names under the title list; `selectId` becomes the current row.
    void LoadAltNames(qint64 selectId = 0);
    void BAltAddClick();  // Insert
    void BAltEditClick(); // F2, Enter
    void BAltDelClick();  // Delete, after a question
    void GVAltKeyDown(QKeyEvent *event);
    // True while one of the editors has the focus.
    bool DetailEditing() const { return m_detailEditing; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectAll();
    qint64 chosenEpisode(TGridView &grid) const;
    // The episode's file, or its folder, handed to the desktop.
    void openEpisodeFile(TGridView &grid, bool folder);
    void showTitleDetails(const std::optional<ops::TitleRecord> &record);
    void writeTitleField(ops::TitleField field, const QVariant &value);
    // The ID and name of GVAlt's current row; 0 when it has none.
    qint64 currentAltId() const;
    QString currentTitleName();

    TView_Base &m_win;
    TPageTitles *m_p;
    bool m_detailEditing = false;
};

} // namespace vq
