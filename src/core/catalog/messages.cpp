#include "messages.h"

namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------

namespace {
QString quoted(const QString &text) {
    return u'\'' + text + u'\'';
}
} // namespace

QString notAnInteger(const QString &text) {
    return quoted(text) + QStringLiteral(" не является целым числом");
}

QString notANumber(const QString &text) {
    return quoted(text) + QStringLiteral(" не является числом");
}

QString notABoolean(const QString &text) {
    return quoted(text) + QStringLiteral(" не является логическим значением");
}

QString notADateTime(const QString &text) {
    return quoted(text) + QStringLiteral(" не является датой и временем");
}

QString noCatalogRemembered() {
    return QStringLiteral("Каталог не запомнен: укажите его с --catalog ФАЙЛ.");
}

QString noTitleWithId(qint64 id) {
    return QStringLiteral("В каталоге нет аниме с ID %1.").arg(id);
}

// --- intake: scan, probe, adding episodes -------------------------------------------------------

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// --- exports ----------------------------------------------------------------------------------

QString cannotCreateFile(const QString &path, const QString &reason) {
    return QStringLiteral("Не удаётся создать файл \"%1\". %2").arg(path, reason);
}

QString cannotCreateFolder(const QString &folder) {
    return QStringLiteral("Не удаётся создать папку \"%1\".").arg(folder);
}

QString outOfMemory() {
    return QStringLiteral("Не хватает памяти.");
}

QString fileCreated(const QString &name) {
    return QStringLiteral("Создан файл ") + name;
}

QString spreadsheetNotOpened(const QString &path) {
    return QStringLiteral("Таблица сохранена в файл %1, но открыть её нечем.").arg(path);
}

// --- grid ---------------------------------------------------------------------------------------

QString cellOutOfBounds(int col, int row) {
    return QStringLiteral("Ячейка (%1, %2) вне таблицы").arg(col).arg(row);
}

// --- list import --------------------------------------------------------------------------------

} // namespace vq::msg
