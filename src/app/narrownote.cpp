#include "narrownote.h"

#include <QCoreApplication>
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
    BShowAll = new QPushButton(QCoreApplication::translate("narrownote", "Показать все"), this);
    BShowAll->setObjectName(QStringLiteral("BShowAll"));
    BShowAll->setAutoDefault(false);
    l->addWidget(LNote, 1);
    l->addWidget(BShowAll);
    connect(BShowAll, &QPushButton::clicked, this, &TNarrowNote::showAll);
    setVisible(false);
}

void TNarrowNote::setNarrowed(bool narrowed, int shown, int all) {
    LNote->setText(QCoreApplication::translate("narrownote", "Показано %1 из %2").arg(shown).arg(all));
    // The line is short for a narrow list; the tooltip says why not every title is there.
    LNote->setToolTip(QCoreApplication::translate("narrownote", "Список сужен поиском или фильтром"));
    setVisible(narrowed);
}

} // namespace vq
