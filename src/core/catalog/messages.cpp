#include "messages.h"

namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------
QString catalogReadOnly(const QString &path) {
    return QStringLiteral("Каталог «%1» открыт только для чтения: изменение не сохранено.").arg(path);
}
QString catalogOpenedReadOnly(const QString &path) {
    return QStringLiteral("Каталог «%1» открыт только для чтения.").arg(path);
}
QString readOnlyMark() {
    return QStringLiteral(" (только чтение)");
}
QString notACatalogColumns(const QString &path, const QString &table, const QString &columns) {
    return QStringLiteral("Файл «%1» не является каталогом Vidoteq: в «%2» нет столбцов %3. Файл не изменён.")
        .arg(path, table, columns);
}
QString catalogFileExists(const QString &path) {
    return QStringLiteral("Файл «%1» уже существует; новый каталог поверх него не создан.").arg(path);
}
QString catalogCannotBeMade(const QString &path, const QString &why) {
    return QStringLiteral("Каталог «%1» не удалось создать: %2").arg(path, why);
}
QString catalogCannotBeRead(const QString &path, const QString &why) {
    return QStringLiteral("Каталог «%1» не удалось прочитать: %2").arg(path, why);
}
QString valueOutOfRange() {
    return QStringLiteral("вне диапазона");
}

// --- intake: scan, probe, adding episodes -------------------------------------------------------

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// --- exports ----------------------------------------------------------------------------------

// --- list import --------------------------------------------------------------------------------

} // namespace vq::msg
