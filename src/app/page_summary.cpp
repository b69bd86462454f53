#include "page_summary.h"

#include "browser/summary.h"
#include "filter_bar.h"
#include "tgridview.h"

#include <QVBoxLayout>

namespace vq {

TPageSummary::TPageSummary(QWidget *parent) : QWidget(parent) {
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    FilterBar = new TFilterBar(this);
    lay->addWidget(FilterBar);
    GVSV = new TGridView(this);
    GVSV->setObjectName(QStringLiteral("GVSV"));
    setupSummaryGrid(GVSV->Data());
    GVSV->SetHeaderSize(18);
    GVSV->SetRowSize(16);
    GVSV->SetColor(clSilver);
    GVSV->SetGridLinesColor(clBtnFace);
    GVSV->SetSelectionMoveDirection(mdDown);
    GVSV->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    GVSV->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lay->addWidget(GVSV);
}

} // namespace vq
