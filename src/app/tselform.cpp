#include "tselform.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>

namespace vq {

TSelForm::TSelForm(ExportColumnChoice &choice, QWidget *parent) : QDialog(parent), m_choice(choice) {
    setObjectName(QStringLiteral("SelForm"));
    setWindowTitle(QStringLiteral("Export List:"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(219, 268);

    CLS = new QListWidget(this);
    CLS->setObjectName(QStringLiteral("CLS"));
    CLS->setGeometry(0, 0, 219, 225);
    for (int i = 0; i < ExportColumnCount; ++i) {
        auto *item = new QListWidgetItem(exportColumnCaption(i), CLS);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setSizeHint(QSize(0, 16));
    }

    auto *panel = new QWidget(this);
    panel->setGeometry(0, 225, 219, 268 - 225);
    BApple = new QPushButton(QStringLiteral("Ok"), panel);
    BApple->setObjectName(QStringLiteral("BApple"));
    BApple->setGeometry(12, 8, 75, 25);
    BApple->setDefault(true);
    BSelAll = new QPushButton(QCoreApplication::translate("tselform", "Выбрать всё"), panel);
    BSelAll->setObjectName(QStringLiteral("BSelAll"));
    BSelAll->setGeometry(112, 8, 97, 25);

    connect(BApple, &QPushButton::clicked, this, &QDialog::accept);
    connect(BSelAll, &QPushButton::clicked, this, &TSelForm::BSelAllClick);
    FormCreate();
}

void TSelForm::FormCreate() {
    for (int i = 0; i < ExportColumnCount; ++i)
        CLS->item(i)->setCheckState(m_choice[size_t(i)] ? Qt::Checked : Qt::Unchecked);
}

void TSelForm::BSelAllClick() {
    for (int i = 0; i < ExportColumnCount; ++i)
        CLS->item(i)->setCheckState(Qt::Checked);
}

void TSelForm::FormClose() {
    for (int i = 0; i < ExportColumnCount; ++i)
        m_choice[size_t(i)] = CLS->item(i)->checkState() == Qt::Checked;
}

void TSelForm::done(int result) {
    // Every way out (Ok, the close box, Escape) ends here, so the ticks are always taken over.
    FormClose();
    QDialog::done(result);
}

} // namespace vq
