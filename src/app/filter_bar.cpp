#include "filter_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QSpinBox>

namespace vq {

namespace {

QString anyChoice() {
    return QCoreApplication::translate("filter_bar", "все");
}

QComboBox *makeBox(QWidget *parent, const char *name) {
    auto *b = new QComboBox(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    b->setMinimumContentsLength(6);
    b->setMaxVisibleItems(20);
    return b;
}

void fillKeys(QComboBox *box, const QList<FilterChoices::Item> &items) {
    const QString before = box->currentIndex() > 0 ? box->currentText() : QString();
    box->clear();
    box->addItem(anyChoice());
    for (const FilterChoices::Item &i : items)
        box->addItem(i.name, i.key);
    const int at = before.isEmpty() ? -1 : box->findText(before);
    box->setCurrentIndex(at > 0 ? at : 0);
}

template <typename T> std::optional<T> keyOf(const QComboBox *box) {
    const QVariant v = box->currentData();
    return v.isValid() ? std::optional<T>(T(v.toLongLong())) : std::nullopt;
}

void selectKey(QComboBox *box, std::optional<qint64> key) {
    const int at = key ? box->findData(*key) : -1;
    box->setCurrentIndex(at > 0 ? at : 0);
}

} // namespace

TFilterBar::TFilterBar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FilterBar"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    CFType = makeBox(this, "CFType");
    CFSound = makeBox(this, "CFSound");
    CFSubIn = makeBox(this, "CFSubIn");
    CFSubExt = makeBox(this, "CFSubExt");
    CFFrame = makeBox(this, "CFFrame");
    CFVideo = makeBox(this, "CFVideo");
    CFAudio = makeBox(this, "CFAudio");
    CFFormat = makeBox(this, "CFFormat");
    const std::pair<const char *, QComboBox *> fields[] = {
        {QT_TRANSLATE_NOOP("filter_bar", "Тип"), CFType},
        {QT_TRANSLATE_NOOP("filter_bar", "Звук"), CFSound},
        {QT_TRANSLATE_NOOP("filter_bar", "Субт. встр."), CFSubIn},
        {QT_TRANSLATE_NOOP("filter_bar", "Субт. внеш."), CFSubExt},
        {QT_TRANSLATE_NOOP("filter_bar", "Кадр"), CFFrame},
        {QT_TRANSLATE_NOOP("filter_bar", "Видео"), CFVideo},
        {QT_TRANSLATE_NOOP("filter_bar", "Аудио"), CFAudio},
        {QT_TRANSLATE_NOOP("filter_bar", "Контейнер"), CFFormat}};
    int column = 0;
    for (const auto &[caption, box] : fields) {
        auto *label = new QLabel(QCoreApplication::translate("filter_bar", caption), this);
        label->setBuddy(box);
        const int row = column / 4;
        const int at = (column % 4) * 2;
        grid->addWidget(label, row, at, Qt::AlignRight);
        grid->addWidget(box, row, at + 1);
        ++column;
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_quiet)
                Q_EMIT changed();
        });
    }
    auto *tail = new QHBoxLayout;
    tail->setSpacing(6);
    auto *daysLabel = new QLabel(QCoreApplication::translate("filter_bar", "Добавлены за дней"), this);
    EFDays = new QSpinBox(this);
    EFDays->setObjectName(QStringLiteral("EFDays"));
    EFDays->setRange(0, 36500);
    EFDays->setSpecialValueText(anyChoice());
    daysLabel->setBuddy(EFDays);
    CBEmpty = new QCheckBox(QCoreApplication::translate("filter_bar", "Без серий"), this);
    CBEmpty->setObjectName(QStringLiteral("CBEmpty"));
    CBIncomplete = new QCheckBox(QCoreApplication::translate("filter_bar", "неполные"), this);
    CBIncomplete->setObjectName(QStringLiteral("CBIncomplete"));
    CBIncomplete->setToolTip(QCoreApplication::translate(
        "filter_bar", "Аниме, у которых по номерам в именах файлов не хватает серий"));
    CBDuplicates = new QCheckBox(QCoreApplication::translate("filter_bar", "есть дубликаты"), this);
    CBDuplicates->setObjectName(QStringLiteral("CBDuplicates"));
    CBDuplicates->setToolTip(QCoreApplication::translate(
        "filter_bar", "Аниме, у которых серия хранится в двух местах или тот же файл есть у другой серии"));
    CBSingleCopy = new QCheckBox(QCoreApplication::translate("filter_bar", "одна копия"), this);
    CBSingleCopy->setObjectName(QStringLiteral("CBSingleCopy"));
    CBSingleCopy->setToolTip(
        QCoreApplication::translate("filter_bar", "Аниме, у которых есть серия только на одном диске"));
    CBAnywhere = new QCheckBox(QCoreApplication::translate("filter_bar", "в любом месте"), this);
    CBAnywhere->setObjectName(QStringLiteral("CBAnywhere"));
    CBAnywhere->setToolTip(QCoreApplication::translate(
        "filter_bar", "Искать текст поиска в любом месте названия, а не только в начале"));
    BFClear = new QPushButton(QCoreApplication::translate("filter_bar", "Сбросить"), this);
    BFClear->setObjectName(QStringLiteral("BFClear"));
    tail->addWidget(daysLabel);
    tail->addWidget(EFDays);
    tail->addWidget(CBEmpty);
    tail->addWidget(CBIncomplete);
    tail->addWidget(CBAnywhere);
    tail->addWidget(BFClear);
    tail->addStretch(1);
    grid->addLayout(tail, 2, 0, 1, 8);
    LShown = new QLabel(this);
    LShown->setObjectName(QStringLiteral("LShown"));
    LShown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A narrow window cuts the line rather than growing past the screen.
    LShown->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // The copies' filters share the last row with the count: the row above is full at 800 pixels.
    auto *last = new QHBoxLayout;
    last->setSpacing(6);
    last->addWidget(CBDuplicates);
    last->addWidget(CBSingleCopy);
    last->addWidget(LShown, 1);
    grid->addLayout(last, 3, 0, 1, 8);
    for (int c = 1; c < 8; c += 2)
        grid->setColumnStretch(c, 1);

    auto report = [this] {
        if (!m_quiet)
            Q_EMIT changed();
    };
    connect(EFDays, &QSpinBox::valueChanged, this, report);
    connect(CBEmpty, &QCheckBox::toggled, this, report);
    connect(CBIncomplete, &QCheckBox::toggled, this, report);
    connect(CBDuplicates, &QCheckBox::toggled, this, report);
    connect(CBSingleCopy, &QCheckBox::toggled, this, report);
    connect(CBAnywhere, &QCheckBox::toggled, this, report);
    connect(BFClear, &QPushButton::clicked, this, [this] {
        const bool wasEmpty = filter() == TitleFilter{}; // every field at rest, how names match too
        setFilter(TitleFilter{});
        if (!wasEmpty)
            Q_EMIT changed();
    });
}

void TFilterBar::fill(const FilterChoices &c) {
    m_quiet = true;
    fillKeys(CFType, c.types);
    fillKeys(CFSound, c.languages);
    fillKeys(CFSubIn, c.languages);
    fillKeys(CFSubExt, c.languages);
    fillKeys(CFVideo, c.videoCodecs);
    fillKeys(CFAudio, c.audioCodecs);
    fillKeys(CFFormat, c.formats);
    const QVariant frame = CFFrame->currentData();
    CFFrame->clear();
    CFFrame->addItem(anyChoice());
    for (const int h : kMinHeights)
        CFFrame->addItem(QCoreApplication::translate("filter_bar", "от %1p").arg(h), QPoint(0, h));
    for (const auto &[w, h] : c.frames)
        CFFrame->addItem(QStringLiteral("%1x%2").arg(w).arg(h), QPoint(w, h));
    const int at = frame.isValid() ? CFFrame->findData(frame) : -1;
    CFFrame->setCurrentIndex(at > 0 ? at : 0);
    m_quiet = false;
}

TitleFilter TFilterBar::filter() const {
    TitleFilter f;
    f.type = keyOf<int>(CFType);
    f.sound = keyOf<qint64>(CFSound);
    f.subIn = keyOf<qint64>(CFSubIn);
    f.subExt = keyOf<qint64>(CFSubExt);
    f.videoCodec = keyOf<qint64>(CFVideo);
    f.audioCodec = keyOf<qint64>(CFAudio);
    f.format = keyOf<qint64>(CFFormat);
    if (const QVariant v = CFFrame->currentData(); v.isValid()) {
        const QPoint p = v.toPoint();
        if (p.x() == 0) {
            f.minHeight = p.y();
        } else {
            f.frameWidth = p.x();
            f.frameHeight = p.y();
        }
    }
    if (EFDays->value() > 0)
        f.sinceDays = EFDays->value();
    f.empty = CBEmpty->isChecked();
    f.incomplete = CBIncomplete->isChecked();
    f.duplicates = CBDuplicates->isChecked();
    f.singleCopy = CBSingleCopy->isChecked();
    f.anywhere = CBAnywhere->isChecked();
    return f;
}

void TFilterBar::setFilter(const TitleFilter &f) {
    m_quiet = true;
    selectKey(CFType, f.type ? std::optional<qint64>(*f.type) : std::nullopt);
    selectKey(CFSound, f.sound);
    selectKey(CFSubIn, f.subIn);
    selectKey(CFSubExt, f.subExt);
    selectKey(CFVideo, f.videoCodec);
    selectKey(CFAudio, f.audioCodec);
    selectKey(CFFormat, f.format);
    int frame = -1;
    if (f.frameWidth && f.frameHeight)
        frame = CFFrame->findData(QPoint(*f.frameWidth, *f.frameHeight));
    else if (f.minHeight)
        frame = CFFrame->findData(QPoint(0, *f.minHeight));
    CFFrame->setCurrentIndex(frame > 0 ? frame : 0);
    EFDays->setValue(f.sinceDays.value_or(0));
    CBEmpty->setChecked(f.empty);
    CBIncomplete->setChecked(f.incomplete);
    CBDuplicates->setChecked(f.duplicates);
    CBSingleCopy->setChecked(f.singleCopy);
    CBAnywhere->setChecked(f.anywhere);
    m_quiet = false;
}

void TFilterBar::setShown(const QString &text) {
    LShown->setText(text);
}

} // namespace vq
