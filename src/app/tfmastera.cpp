#include "tfmastera.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "dialogs.h"
#include "errorguard.h"
#include "tgridview.h"
#include "tview_base.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vq {

QString TFMasterA::ImportFileName;

TFMasterA::TFMasterA(TView_Base &main) : QDialog(&main), m_main(main) {
    setObjectName(QStringLiteral("FMasterA"));
    setWindowTitle(QCoreApplication::translate("tfmastera", "Мастер импорта списка"));
    setModal(true);
    setFixedSize(FixedWidth, FixedHeight);

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    BOpen = new QPushButton(QCoreApplication::translate("tfmastera", "Открыть"), left);
    BUpdate = new QPushButton(QCoreApplication::translate("tfmastera", "Обновить"), left);
    BToBase = new QPushButton(QStringLiteral("To Base"), left);
    CLB = new QListWidget(left);
    LB = new QListWidget(left);
    BOpen->setObjectName(QStringLiteral("BOpen"));
    BUpdate->setObjectName(QStringLiteral("BUpdate"));
    BToBase->setObjectName(QStringLiteral("BToBase"));
    CLB->setObjectName(QStringLiteral("CLB"));
    LB->setObjectName(QStringLiteral("LB"));
    for (QPushButton *b : {BOpen, BUpdate, BToBase}) {
        b->setAutoDefault(false);
        leftLayout->addWidget(b);
    }
    leftLayout->addWidget(CLB);
    leftLayout->addWidget(LB, 1);

    PBar = new QProgressBar(this);
    PBar->setObjectName(QStringLiteral("PBar"));
    PBar->setOrientation(Qt::Vertical);
    PBar->setTextVisible(false);
    PBar->setFixedWidth(16);
    PBar->hide();
    GV = new TGridView(this);
    GV->setObjectName(QStringLiteral("GV"));
    GV->SetOptions(goGrid | goHeader);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(left);
    layout->addWidget(PBar);
    layout->addWidget(GV, 1);

    FormCreate();
    fitCheckList(left);

    connect(BOpen, &QPushButton::clicked, this, ErrorGuard::wrap(this, [this] { BOpenClick(); }));
    connect(BUpdate, &QPushButton::clicked, this, ErrorGuard::wrap(this, [this] { BUpdateClick(); }));
    connect(BToBase, &QPushButton::clicked, this, ErrorGuard::wrap(this, [this] { BToBaseClick(); }));
    connect(CLB, &QListWidget::itemChanged, this, &TFMasterA::CLBClickCheck);
}

void TFMasterA::fitCheckList(QWidget *left) {
    // The items are cut by nothing in the desktop's font: the left panel, and the dialog with it,
    // grow for the longest, and the list is as high as its items.
    int width = 0;
    int height = 0;
    for (int i = 0; i < CLB->count(); ++i) {
        const QSize hint = CLB->sizeHintForIndex(CLB->model()->index(i, 0));
        width = std::max(width, hint.width());
        height += hint.height();
    }
    const int frame = 2 * CLB->frameWidth();
    const int leftWidth = std::max(LeftWidth, width + frame);
    left->setFixedWidth(leftWidth);
    CLB->setFixedHeight(std::max(5 * 20, height) + frame);
    setFixedSize(FixedWidth + leftWidth - LeftWidth, FixedHeight);
}

void TFMasterA::showModal(TView_Base &main) {
    TFMasterA form(main);
    form.exec();
}

void TFMasterA::FormCreate() {
    const QStringList texts = wizardItemTexts();
    const WizardChecks initial = defaultWizardChecks();
    for (int i = 0; i < wizard::ItemCount; ++i) {
        auto *item = new QListWidgetItem(texts[i], CLB);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(initial[size_t(i)] ? Qt::Checked : Qt::Unchecked);
    }
}

void TFMasterA::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TFMasterA::CLBClickCheck(QListWidgetItem *) {
    if (m_applyingRule)
        return;
    WizardChecks c = checks();
    applyCheckRule(c);
    m_applyingRule = true;
    for (int i = 0; i < wizard::ItemCount; ++i)
        setChecked(i, c[size_t(i)]);
    m_applyingRule = false;
}

WizardChecks TFMasterA::checks() const {
    WizardChecks c{};
    for (int i = 0; i < wizard::ItemCount; ++i)
        c[size_t(i)] = CLB->item(i)->checkState() == Qt::Checked;
    return c;
}

void TFMasterA::setChecked(int item, bool on) {
    QListWidgetItem *it = CLB->item(item);
    const Qt::CheckState state = on ? Qt::Checked : Qt::Unchecked;
    if (it->checkState() != state)
        it->setCheckState(state);
}

QStringList TFMasterA::lines() const {
    QStringList out;
    out.reserve(LB->count());
    for (int i = 0; i < LB->count(); ++i)
        out << LB->item(i)->text();
    return out;
}

void TFMasterA::BOpenClick() {
    const QString path =
        m_main.dialogs().openFile(this, QCoreApplication::translate("tfmastera", "Выберите файл для импорта"),
                                  ImportFileName, QStringLiteral("Text file (*.txt);;Any text file (*)"));
    if (path.isEmpty())
        return;
    // Read first: a file that cannot be read leaves the list as it was.
    const QStringList read = readListFile(path);
    ImportFileName = path;
    LB->setUpdatesEnabled(false);
    LB->clear();
    LB->addItems(read);
    LB->setUpdatesEnabled(true);
}

void TFMasterA::BUpdateClick() {
    m_previewLines = lines();
    buildPreview(GV->Data(), checks(), m_main.GVSV().Data(), m_previewLines);
}

void TFMasterA::BToBaseClick() {
    const int rows = GV->RowCount();
    if (rows == 0)
        return;
    const Answer answer = m_main.dialogs().askYesNoCancel(this, QString(), msg::importIntoThisCatalog());
    if (answer == Answer::Cancel)
        return;
    CatalogSession &session = m_main.session();
    if (answer == Answer::No) {
        // The user declined the open catalog: without a new one there is nothing to import into.
        const QString declined = session.path();
        m_main.BNewBaseClick();
        if (!session.isOpen() || session.path() == declined)
            return;
    }
    if (!session.isOpen())
        throw Error(msg::noCatalogOpen());
    m_main.postPendingTitleEdit();

    // After a refused row, the lines before it are in this catalog already.
    int first = 0;
    if (session.path() == m_doneCatalog && m_previewLines.size() == rows &&
        m_previewLines.mid(0, m_doneLines.size()) == m_doneLines)
        first = int(m_doneLines.size());

    PBar->setRange(0, rows);
    PBar->setValue(first);
    PBar->show();
    PBar->repaint();
    struct HideBar {
        QProgressBar *bar;
        ~HideBar() { bar->hide(); }
    } hideBar{PBar};
    const int step = std::max(1, rows / 100);
    const ImportResult r = importPreviewRows(session, GV->Data(), checks(), first, [&](int done, int) {
        if (done % step == 0) {
            PBar->setValue(first + done);
            PBar->repaint();
        }
    });
    PBar->setValue(first + r.imported);
    m_main.UpDateAll(true);
    if (r.ok()) {
        m_doneLines.clear();
        m_doneCatalog.clear();
        return;
    }
    if (m_previewLines.size() == rows) {
        m_doneLines = m_previewLines.mid(0, r.failedRow);
        m_doneCatalog = session.path();
    }
    throw Error(refusedRowMessage(r.failedRow + 1, r.failedRow, r.error) +
                msg::listNextStart(r.failedRow + 1));
}

} // namespace vq
