#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vq {

// Above a title list that the search box or the filter bar narrows: says so, with a button that
// shows every title again. Hidden while nothing narrows.
class TNarrowNote : public QWidget {
    Q_OBJECT
public:
    explicit TNarrowNote(QWidget *parent = nullptr);
    // `shown` titles of `all` are listed; nothing narrows when `narrowed` is false.
    void setNarrowed(bool narrowed, int shown, int all);

    QLabel *LNote = nullptr;
    QPushButton *BShowAll = nullptr;

Q_SIGNALS:
    void showAll();
};

} // namespace vq
