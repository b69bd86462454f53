#pragma once

#include <QWidget>

namespace vq {

class TFilterBar;
class TGridView;

// Page 1 "Сводная таблица": the filter bar and the summary grid.
class TPageSummary : public QWidget {
    Q_OBJECT
public:
    explicit TPageSummary(QWidget *parent = nullptr);

    TFilterBar *FilterBar = nullptr;
    TGridView *GVSV = nullptr;
};

} // namespace vq
