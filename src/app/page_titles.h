#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;

namespace vq {

class TGridView;
class TNarrowNote;

// Page 0 "Информация по сериям": the title list on the left, the current title's editors and
// episodes on the right.
class TPageTitles : public QWidget {
    Q_OBJECT
public:
    explicit TPageTitles(QWidget *parent = nullptr);

    QSplitter *Splitter1 = nullptr;
    QWidget *Panel1 = nullptr;         // holds GV; its width is the setting s1
    TNarrowNote *NarrowNote = nullptr; // above GV while a search or filter narrows it
    TGridView *GV = nullptr;
    // Under the title list: the current title's other names (hidden ID, name).
    QGroupBox *PanelAlt = nullptr;
    TGridView *GVAlt = nullptr;
    QPushButton *BAltAdd = nullptr;
    QPushButton *BAltEdit = nullptr;
    QPushButton *BAltDel = nullptr;
    QWidget *Bar = nullptr; // 25 px: LCBType, ECount, ESize, ETime, EKoment
    QComboBox *LCBType = nullptr;
    QLineEdit *ECount = nullptr;
    QLineEdit *ESize = nullptr;
    QLineEdit *ETime = nullptr;
    QLineEdit *EKoment = nullptr;
    QLabel *LGaps = nullptr; // the episodes the title lacks, by the numbers of its files' names
    TGridView *DBGrid2 = nullptr;
    // Under the episodes: the chosen episode's drive, folder and state; its folder; a folder attached.
    QWidget *PlaceBar = nullptr;
    QLabel *LPlace = nullptr;
    QPushButton *BOpenFolder = nullptr;
    QPushButton *BAttachFolder = nullptr;
};

// The seven columns of the episode grids (pages 0 and 3): data-set field, caption, alignment,
// display width in characters, and the settings value name of the width.
struct EpisodeColumn {
    const char *field;
    const char *caption;
    int align; // 0 left, 1 right, 2 centre
    int chars;
    const char *setting;
};
extern const EpisodeColumn kEpisodeColumns[7];
// After them, hidden: the episode's key, by which a row is deleted.
constexpr int kEpisodeIdColumn = 7;
void setupEpisodeGrid(TGridView &grid);

} // namespace vq
