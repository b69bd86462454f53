// The window as a desktop program: the menu bar, recent catalogs, a catalog handed over by the
// desktop, save dialogs that say where, and folders or files dropped onto the window.
#include "tview_base.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "convert/convert.h"
#include "dialogs.h"
#include "errorguard.h"
#include "intake_handlers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>

namespace vq {

void TView_Base::buildMenus() {
    auto g = [this](auto f) { return ErrorGuard::wrap(this, f); };
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QCoreApplication::translate("desktop_wiring", "&Файл"));
    QAction *open = file->addAction(QCoreApplication::translate("desktop_wiring", "&Открыть каталог…"), this,
                                    g([this] { Panel18Click(); }));
    open->setShortcut(QKeySequence::Open);
    open->setObjectName(QStringLiteral("ActOpen"));
    m_recentMenu = file->addMenu(QCoreApplication::translate("desktop_wiring", "&Недавние каталоги"));
    m_recentMenu->setObjectName(QStringLiteral("MenuRecent"));
    file->addSeparator();
    file->addAction(QCoreApplication::translate("desktop_wiring", "Новая &База…"), this,
                    g([this] { BNewBaseClick(); }))
        ->setObjectName(QStringLiteral("ActNewBase"));
    file->addAction(QCoreApplication::translate("desktop_wiring", "&Перенести каталог Access…"), this,
                    g([this] { ConvertMenuClick(); }))
        ->setObjectName(QStringLiteral("ActConvert"));
    QMenu *exports = file->addMenu(QCoreApplication::translate("desktop_wiring", "&Экспорт"));
    exports->addAction(QStringLiteral("To &Excel…"), this, g([this] { BToExlClick(); }));
    exports->addAction(QStringLiteral("To &HTML…"), this, g([this] { BToHtMLClick(); }));
    file->addSeparator();
    QAction *quit =
        file->addAction(QCoreApplication::translate("desktop_wiring", "В&ыход"), this, [this] { close(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setObjectName(QStringLiteral("ActQuit"));

    QMenu *edit = bar->addMenu(QCoreApplication::translate("desktop_wiring", "&Правка"));
    QAction *find = edit->addAction(QCoreApplication::translate("desktop_wiring", "&Найти"), this, [this] {
        m_eFound->setFocus(Qt::ShortcutFocusReason);
        m_eFound->selectAll();
    });
    find->setShortcut(QKeySequence::Find);
    find->setObjectName(QStringLiteral("ActFind"));

    QMenu *help = bar->addMenu(QCoreApplication::translate("desktop_wiring", "&Справка"));
    help->addAction(QCoreApplication::translate("desktop_wiring", "&О программе"), this,
                    g([this] { AboutClick(); }))
        ->setObjectName(QStringLiteral("ActAbout"));

    // The path panel is a mouse target; the menu is the keyboard's way to the same command.
    m_panel18->setToolTip(
        QCoreApplication::translate("desktop_wiring", "Щелчок — открыть другой каталог (Ctrl+O)"));
    setAcceptDrops(true);
    fillRecentMenu();
    nameControls();
}

void TView_Base::fillRecentMenu() {
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const QStringList recent = recentCatalogPaths();
    int n = 0;
    for (const QString &path : recent) {
        // The number is the menu's key: the first ten items are reached by 1 .. 9 and 0.
        const QString label = QStringLiteral("&%1 %2").arg(++n % 10).arg(QDir::toNativeSeparators(path));
        QAction *item = m_recentMenu->addAction(label);
        item->setData(path);
        connect(item, &QAction::triggered, this,
                [this, path] { ErrorGuard::run(this, [&] { openCatalogFile(path); }); });
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}

void TView_Base::openCatalogFile(const QString &path) {
    OpenBase(false, path);
    UpDateAll(true);
}

void TView_Base::ConvertMenuClick() {
    const QString old = m_dialogs.openFile(
        this, msg::convertChooseCaption(), m_lastDialogPath,
        QCoreApplication::translate("desktop_wiring", "Каталог Access (*.mdb);;Все файлы (*)"));
    if (old.isEmpty())
        return;
    const QString made = ConvertOldCatalog(old);
    if (!made.isEmpty())
        openCatalogFile(made);
}

void TView_Base::AboutClick() {
    const bool open = m_session.isOpen();
    m_dialogs.inform(this, msg::aboutCaption(),
                     msg::aboutText(QStringLiteral(VQ_VERSION), open ? m_session.path() : QString(),
                                    open ? m_session.catalog().schemaVersion() : 0));
}

QString TView_Base::askSavePath(const QString &caption, const QString &proposedName, const QString &filter,
                                bool mayReplace) {
    const QString start = QDir(saveStartFolder(m_startDir)).filePath(proposedName);
    QString path = m_dialogs.saveFile(this, caption, start, filter);
    if (path.isEmpty())
        return path;
    const QString suffix = QFileInfo(proposedName).suffix();
    if (QFileInfo(path).suffix().isEmpty() && !suffix.isEmpty())
        path += QLatin1Char('.') + suffix;
    path = QFileInfo(path).absoluteFilePath();
    if (mayReplace && QFileInfo(path).isFile() &&
        !m_dialogs.askYesNo(this, caption, msg::replaceExistingFile(QDir::toNativeSeparators(path))))
        return QString();
    return path;
}

void TView_Base::offerToOpen(const QString &path) {
    if (m_dialogs.askYesNo(this, QString(), msg::fileSavedOpenIt(QDir::toNativeSeparators(path))))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// ---- names for assistive technologies ----

namespace {

// Controls whose purpose no caption beside them says.
struct ControlName {
    const char *object;
    const char *name;
};
constexpr ControlName kControlNames[] = {
    {"EFound", QT_TRANSLATE_NOOP("desktop_wiring", "Поиск по названию")},
    {"Panel18", QT_TRANSLATE_NOOP("desktop_wiring", "Открытый каталог")},
    {"PageControl1", QT_TRANSLATE_NOOP("desktop_wiring", "Страницы")},
    {"GV", QT_TRANSLATE_NOOP("desktop_wiring", "Список аниме")},
    {"DBGrid2", QT_TRANSLATE_NOOP("desktop_wiring", "Серии аниме")},
    {"GVSV", QT_TRANSLATE_NOOP("desktop_wiring", "Сводная таблица")},
    {"GV3", QT_TRANSLATE_NOOP("desktop_wiring", "Выбранные аниме")},
    {"GV4", QT_TRANSLATE_NOOP("desktop_wiring", "Аниме для новых серий")},
    {"GDrives", QT_TRANSLATE_NOOP("desktop_wiring", "Диски")},
    {"DBGrid1", QT_TRANSLATE_NOOP("desktop_wiring", "Серии выбранного аниме")},
    {"ENewAni", QT_TRANSLATE_NOOP("desktop_wiring", "Название нового аниме")},
    {"STV", QT_TRANSLATE_NOOP("desktop_wiring", "Папки")},
    {"LB1", QT_TRANSLATE_NOOP("desktop_wiring", "Файлы папки")},
    {"PBAdd", QT_TRANSLATE_NOOP("desktop_wiring", "Ход добавления")},
    {"GVAlt", QT_TRANSLATE_NOOP("desktop_wiring", "Другие названия")},
    {"LCBType", QT_TRANSLATE_NOOP("desktop_wiring", "Тип")},
    {"ECount", QT_TRANSLATE_NOOP("desktop_wiring", "Число серий")},
    {"EKoment", QT_TRANSLATE_NOOP("desktop_wiring", "Комментарий")},
    {"ESize", QT_TRANSLATE_NOOP("desktop_wiring", "Объём серий")},
    {"ETime", QT_TRANSLATE_NOOP("desktop_wiring", "Время серий")},
    {"qt_menubar_ext_button", QT_TRANSLATE_NOOP("desktop_wiring", "Другие меню")},
};

bool isControl(const QWidget *w) {
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QAbstractButton *>(w) ||
           qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QProgressBar *>(w) ||
           qobject_cast<const QTabWidget *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w);
}

// The caption a grid of captions and fields puts in the first column of the control's row.
QString rowCaption(const QWidget *w) {
    const QWidget *parent = w->parentWidget();
    const auto *grid = parent ? qobject_cast<const QGridLayout *>(parent->layout()) : nullptr;
    if (!grid)
        return {};
    const int at = grid->indexOf(w);
    if (at < 0)
        return {};
    int row = 0, col = 0, rowSpan = 0, colSpan = 0;
    grid->getItemPosition(at, &row, &col, &rowSpan, &colSpan);
    for (int c = col - 1; c >= 0; --c) {
        const QLayoutItem *item = grid->itemAtPosition(row, c);
        if (const auto *label = item ? qobject_cast<const QLabel *>(item->widget()) : nullptr) {
            QString text = label->text();
            text.remove(QLatin1Char('&'));
            if (text.endsWith(QLatin1Char(':')))
                text.chop(1);
            if (!text.trimmed().isEmpty() && text != QLatin1String("X"))
                return text.trimmed();
        }
    }
    return {};
}

} // namespace

void TView_Base::nameControls() {
    for (QWidget *w : findChildren<QWidget *>()) {
        if (!isControl(w) || !w->accessibleName().isEmpty())
            continue;
        // Buttons and boxes with a caption of their own are named by it.
        if (const auto *b = qobject_cast<const QAbstractButton *>(w); b && !b->text().isEmpty())
            continue;
        QString name;
        for (const ControlName &c : kControlNames)
            if (w->objectName() == QLatin1String(c.object))
                name = QCoreApplication::translate("desktop_wiring", c.name);
        if (name.isEmpty())
            name = rowCaption(w);
        if (name.isEmpty())
            name = w->toolTip();
        if (const auto *e = qobject_cast<const QLineEdit *>(w); e && name.isEmpty())
            name = e->placeholderText();
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
    m_panel18->setAccessibleDescription(m_panel18->toolTip());
}

// ---- drops ----

namespace {
QList<QByteArray> droppedPaths(const QMimeData *data) {
    QList<QByteArray> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            paths << QFile::encodeName(url.toLocalFile());
    return paths;
}
} // namespace

void TView_Base::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TView_Base::dropEvent(QDropEvent *event) {
    const QList<QByteArray> paths = droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    ErrorGuard::run(this, [&] { dropPaths(paths); });
}

void TView_Base::dropPaths(const QList<QByteArray> &paths) {
    auto *h = findChild<TIntakeHandlers *>(QString(), Qt::FindDirectChildrenOnly);
    if (!h)
        return;
    setActivePage(TabNewA);
    if (!h->showDropped(paths))
        throw Error(msg::dropHoldsNoFiles());
}

} // namespace vq
