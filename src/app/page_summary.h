#pragma once

#include <QWidget>

namespace vq {

class TGridView;

// Page 1 "Сводная таблица": the summary grid.
class TPageSummary : public QWidget {
    Q_OBJECT
public:
    explicit TPageSummary(QWidget *parent = nullptr);

    TGridView *GVSV = nullptr;
};

} // namespace vq
