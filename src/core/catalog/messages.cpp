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

namespace {
QString mdbQuoted(const QString &s) {
    return QStringLiteral("«%1»").arg(s);
}
// Russian plural of a count: 1 серия, 2 серии, 5 серий.
QString mdbCounted(qint64 n, const char *one, const char *few, const char *many) {
    const qint64 m10 = n % 10, m100 = n % 100;
    const char *w = (m10 == 1 && m100 != 11)                             ? one
                    : (m10 >= 2 && m10 <= 4 && (m100 < 12 || m100 > 14)) ? few
                                                                         : many;
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(w));
}
QString mdbEpisodes(qint64 n) {
    return mdbCounted(n, "серия", "серии", "серий");
}
QString mdbTitles(qint64 n) {
    return mdbCounted(n, "название", "названия", "названий");
}
} // namespace

QString mdbNoSuchFile(const QString &path) {
    return QStringLiteral("Файла %1 нет.").arg(mdbQuoted(path));
}
QString mdbNotAccessFile(const QString &path) {
    return QStringLiteral("Файл %1 — не каталог Access (.mdb): перенос невозможен.").arg(mdbQuoted(path));
}
QString mdbDamaged(const QString &path, const QString &detail) {
    return QStringLiteral("Каталог Access %1 повреждён (%2): перенос невозможен, новый каталог не создан.")
        .arg(mdbQuoted(path), detail);
}
QString mdbCannotRead(const QString &path, const QString &reason) {
    return QStringLiteral("Файл %1 не удаётся прочитать: %2").arg(mdbQuoted(path), reason);
}
QString mdbNotOurCatalog(const QString &path, const QString &missingTables) {
    return QStringLiteral("Файл %1 — база Access другой программы, а не каталог Vidoteq (нет таблиц: %2).")
        .arg(mdbQuoted(path), missingTables);
}
QString mdbMissingColumn(const QString &path, const QString &table, const QString &column) {
    return QStringLiteral("В таблице %1 файла %2 нет столбца %3: это не каталог Vidoteq.")
        .arg(mdbQuoted(table), mdbQuoted(path), mdbQuoted(column));
}
QString mdbUnexpectedType(const QString &path, const QString &table, const QString &column) {
    return QStringLiteral("Столбец %1 таблицы %2 файла %3 имеет неожиданный тип: это не каталог Vidoteq.")
        .arg(mdbQuoted(column), mdbQuoted(table), mdbQuoted(path));
}
QString mdbJet3(const QString &path) {
    return QStringLiteral("Файл %1 сохранён в формате Access 97 (Jet 3). Его тексты записаны в кодовой "
                          "странице Windows, которую файл не называет, и не перенеслись бы без искажений. "
                          "Сохраните его в Access в формате Access 2000 и повторите.")
        .arg(mdbQuoted(path));
}
QString mdbUnknownVersion(const QString &path, int version) {
    return QStringLiteral("Файл %1 — база Access неизвестной версии (%2): перенос невозможен.")
        .arg(mdbQuoted(path))
        .arg(version);
}
QString mdbTextTooLong(const QString &path, const QString &table, qint64 id, const QString &column) {
    return QStringLiteral("В файле %1 текст %2 строки %3 таблицы %4 длиннее 255 знаков: перенос невозможен.")
        .arg(mdbQuoted(path), mdbQuoted(column))
        .arg(id)
        .arg(mdbQuoted(table));
}
QString mdbTargetExists(const QString &path) {
    return QStringLiteral("Файл %1 уже есть; он не будет заменён. Выберите другое имя.").arg(mdbQuoted(path));
}
QString mdbTargetMissing() {
    return QStringLiteral("Не указано, куда сохранить новый каталог.");
}
QString mdbTargetIsSource(const QString &path) {
    return QStringLiteral("Каталог %1 нельзя перенести в самого себя: укажите новый файл .vdq.")
        .arg(mdbQuoted(path));
}
QString mdbCannotWrite(const QString &path, const QString &reason) {
    return QStringLiteral("Новый каталог %1 не удаётся записать: %2").arg(mdbQuoted(path), reason);
}
QString mdbTotalsDiffer(const QString &path) {
    return QStringLiteral("Итоги нового каталога %1 не сходятся со старыми: перенос отменён.")
        .arg(mdbQuoted(path));
}
QString mdbDetailCutShort() {
    return QStringLiteral("файл обрезан");
}
QString mdbDetailRowsMissing(const QString &table, qint64 expected, qint64 read) {
    return QStringLiteral("в таблице %1 прочитано %2 строк из %3")
        .arg(mdbQuoted(table))
        .arg(read)
        .arg(expected);
}
QString mdbDetailBadRow(const QString &table) {
    return QStringLiteral("испорчена строка таблицы %1").arg(mdbQuoted(table));
}
QString mdbDetailNoTables(const QString &tables) {
    return QStringLiteral("нет таблиц: %1").arg(tables);
}
QString mdbDetailNoCatalog() {
    return QStringLiteral("не читается список таблиц");
}

QString mdbOrphanTitleName(qint64 key) {
    return QStringLiteral("Удалённое название %1").arg(key);
}
QString mdbNoKeyTitleName() {
    return QStringLiteral("Серии без названия");
}
QString mdbPlaceholderType(qint64 key) {
    return QStringLiteral("Тип %1").arg(key);
}
QString mdbPlaceholderLanguage(qint64 key) {
    return QStringLiteral("Язык %1").arg(key);
}
QString mdbPlaceholderCodec(qint64 key) {
    return QStringLiteral("Кодек %1").arg(key);
}
QString mdbPlaceholderFormat(qint64 key) {
    return QStringLiteral("Формат %1").arg(key);
}

QString mdbSummary(qint64 titleCount, qint64 episodeCount, qint64 altNames, qint64 types, qint64 languages,
                   qint64 codecs, qint64 formats) {
    return QStringLiteral("Перенесено: %1, %2, альтернативных названий: %3, типов: %4, языков: %5, "
                          "кодеков: %6, форматов: %7.")
        .arg(mdbTitles(titleCount), mdbEpisodes(episodeCount))
        .arg(altNames)
        .arg(types)
        .arg(languages)
        .arg(codecs)
        .arg(formats);
}
QString mdbRepairOrphans(qint64 key, qint64 episodeCount, qint64 altNames, const QString &newTitle) {
    return QStringLiteral("Названия с ключом %1 нет (удалено): %2 и альтернативных названий: %3 — под новым "
                          "названием %4 (ID %1, тип 4).")
        .arg(key)
        .arg(mdbEpisodes(episodeCount))
        .arg(altNames)
        .arg(mdbQuoted(newTitle));
}
QString mdbRepairNoKey(qint64 episodeCount, qint64 newId, const QString &newTitle) {
    return QStringLiteral("Без ключа названия: %1 — под новым названием %2 (ID %3, тип 4).")
        .arg(mdbEpisodes(episodeCount), mdbQuoted(newTitle))
        .arg(newId);
}
QString mdbRepairNoType(qint64 titleCount) {
    return QStringLiteral("Без типа: %1 — записан тип 0.").arg(mdbTitles(titleCount));
}
QString mdbRepairType(qint64 key, qint64 titleCount, const QString &name) {
    return QStringLiteral("Типа %1 нет в таблице «Тип»: %2 — добавлен тип %1 %3.")
        .arg(key)
        .arg(mdbTitles(titleCount), mdbQuoted(name));
}
QString mdbRepairLanguage(qint64 key, qint64 episodeCount, const QString &name) {
    return QStringLiteral("Языка %1 нет в таблице «Sub»: %2 — добавлен язык %1 %3.")
        .arg(key)
        .arg(mdbEpisodes(episodeCount), mdbQuoted(name));
}
QString mdbRepairCodec(qint64 key, qint64 episodeCount, const QString &name) {
    return QStringLiteral("Кодека %1 нет в таблице «Codec»: %2 — добавлен кодек %1 %3.")
        .arg(key)
        .arg(mdbEpisodes(episodeCount), mdbQuoted(name));
}
QString mdbRepairFormat(qint64 key, qint64 episodeCount, const QString &name) {
    return QStringLiteral("Формата %1 нет в таблице «Format»: %2 — добавлен формат %1 %3.")
        .arg(key)
        .arg(mdbEpisodes(episodeCount), mdbQuoted(name));
}
QString mdbRepairNoColumn(const QString &table, const QString &column) {
    return QStringLiteral("В таблице %1 нет столбца %2: его значения оставлены пустыми.")
        .arg(mdbQuoted(table), mdbQuoted(column));
}
QString mdbNoRepairs() {
    return QStringLiteral("Исправлять ничего не пришлось.");
}

QString mdbSaveCaption() {
    return QStringLiteral("Куда сохранить перенесённый каталог");
}
QString mdbProgressText(const QString &path) {
    return QStringLiteral("Перенос каталога %1…").arg(mdbQuoted(path));
}
QString mdbDoneCaption() {
    return QStringLiteral("Каталог перенесён");
}
QString mdbDone(const QString &newPath, const QString &report) {
    return QStringLiteral("Новый каталог: %1\n\n%2").arg(mdbQuoted(newPath), report);
}

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

// --- titles, selection and pages --------------------------------------------------------------

QString titleNameEmpty() {
    return QStringLiteral("Название аниме не может быть пустым.");
}
QString noEpisodeWithId(qint64 id) {
    return QStringLiteral("В каталоге нет серии с ID %1.").arg(id);
}
QString deleteQuestionCaption() {
    return QStringLiteral("Вы уверены?");
}
QString deleteQuestion(const QString &name) {
    return QStringLiteral("Удалить ") + name + QStringLiteral(" ?");
}

} // namespace vq::msg
