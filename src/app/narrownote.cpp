#include "narrownote.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vq {

TNarrowNote::TNarrowNote(QWidget *parent) : QWidget(parent) {
    auto *l = new QHBoxLayout(this);
    l->setContentsMargins(2, 1, 2, 1);
    l->setSpacing(4);
    LNote = new QLabel(this);
    LNote->setObjectName(QStringLiteral("LNarrowed"));
    // A narrow list cuts the line rather than growing the panel.
    LNote->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    BShowAll = new QPushButton(QStringLiteral("Показать все"), this);
    BShowAll->setObjectName(QStringLiteral("BShowAll"));
    BShowAll->setAutoDefault(false);
    l->addWidget(LNote, 1);
    l->addWidget(BShowAll);
    connect(BShowAll, &QPushButton::clicked, this, &TNarrowNote::showAll);
    setVisible(false);
}

void TNarrowNote::setNarrowed(bool narrowed, int shown, int all) {
    LNote->setText(QStringLiteral("Показано %1 из %2 (поиск или фильтр)").arg(shown).arg(all));
    LNote->setToolTip(LNote->text());
    setVisible(narrowed);
}

} // namespace vq
