#pragma once

#include "browser/filterview.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vq {

// The filter bar above the summary table: one field per question a collector asks of the catalog.
// It only holds the choices; the summary's handlers narrow the titles when it reports a change.
class TFilterBar : public QWidget {
    Q_OBJECT
public:
    explicit TFilterBar(QWidget *parent = nullptr);

    // Offers what `choices` holds; a choice made before stays where the new catalog has its name.
    void fill(const FilterChoices &choices);
    // The fields as a filter; the search text is the search box's, not the bar's.
    TitleFilter filter() const;
    // Shows `f` without reporting a change; values the choices do not hold are left unset.
    void setFilter(const TitleFilter &f);
    void setShown(const QString &text);

    QComboBox *CFType = nullptr;
    QComboBox *CFSound = nullptr;
    QComboBox *CFSubIn = nullptr;
    QComboBox *CFSubExt = nullptr;
    QComboBox *CFFrame = nullptr; // exact sizes, and "от N" for a height at least N
    QComboBox *CFVideo = nullptr;
    QComboBox *CFAudio = nullptr;
    QComboBox *CFFormat = nullptr;
    QSpinBox *EFDays = nullptr; // 0: any time
    QCheckBox *CBEmpty = nullptr;
    QCheckBox *CBIncomplete = nullptr;
    QCheckBox *CBDuplicates = nullptr;
    QCheckBox *CBSingleCopy = nullptr;
    QCheckBox *CBAnywhere = nullptr;
    QPushButton *BFClear = nullptr;
    QLabel *LShown = nullptr;

Q_SIGNALS:
    void changed();

private:
    bool m_quiet = false;
};

} // namespace vq
