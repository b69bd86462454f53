#include "messages.h"
#include "language.h"

#include <QCoreApplication>
#include <QHash>

namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------
QString catalogReadOnly(const QString &path) {
    return QCoreApplication::translate("vq::msg",
                                       "Каталог «%1» открыт только для чтения: изменение не сохранено.")
        .arg(path);
}
QString catalogOpenedReadOnly(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Каталог «%1» открыт только для чтения.").arg(path);
}
QString readOnlyMark() {
    return QCoreApplication::translate("vq::msg", " (только чтение)");
}
QString notACatalogColumns(const QString &path, const QString &table, const QString &columns) {
    return QCoreApplication::translate(
               "vq::msg", "Файл «%1» не является каталогом Vidoteq: в «%2» нет столбцов %3. Файл не изменён.")
        .arg(path, table, columns);
}
QString catalogFileExists(const QString &path) {
    return QCoreApplication::translate("vq::msg",
                                       "Файл «%1» уже существует; новый каталог поверх него не создан.")
        .arg(path);
}
QString catalogCannotBeMade(const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Каталог «%1» не удалось создать: %2").arg(path, why);
}
QString catalogCannotBeRead(const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Каталог «%1» не удалось прочитать: %2").arg(path, why);
}
QString valueOutOfRange() {
    return QCoreApplication::translate("vq::msg", "вне диапазона");
}

namespace {
QString quoted(const QString &text) {
    return u'\'' + text + u'\'';
}
} // namespace

QString notAnInteger(const QString &text) {
    return quoted(text) + QCoreApplication::translate("vq::msg", " не является целым числом");
}

QString notANumber(const QString &text) {
    return quoted(text) + QCoreApplication::translate("vq::msg", " не является числом");
}

QString notABoolean(const QString &text) {
    return quoted(text) + QCoreApplication::translate("vq::msg", " не является логическим значением");
}

QString notADateTime(const QString &text) {
    return quoted(text) + QCoreApplication::translate("vq::msg", " не является датой и временем");
}

QString noCatalogRemembered() {
    return QCoreApplication::translate("vq::msg", "Каталог не запомнен: укажите его с --catalog ФАЙЛ.");
}

QString noTitleWithId(qint64 id) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет аниме с ID %1.").arg(id);
}

// --- intake: scan, probe, adding episodes -------------------------------------------------------

QString intakeCannotEnterFolder(const QString &folder, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "Не удалось перейти в папку '%1': %2").arg(folder, reason);
}

QString probeNoSuchFile(const QString &file) {
    return QCoreApplication::translate("vq::msg", "%1: нет такого файла").arg(file);
}

QString probeIsAFolder(const QString &file) {
    return QCoreApplication::translate("vq::msg", "%1: это папка, а не файл").arg(file);
}

QString probeNotARegularFile(const QString &file) {
    return QCoreApplication::translate("vq::msg", "%1: это не обычный файл").arg(file);
}

QString probeUnreadable(const QString &file, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "%1: файл не читается (%2)").arg(file, reason);
}

QString probeNoSize(const QString &file, const QString &answer) {
    return QCoreApplication::translate("vq::msg",
                                       "%1: библиотека MediaInfo не назвала размер файла (ответ «%2»)")
        .arg(file, answer);
}

QString probeTimeLimit(const QString &file, int seconds) {
    return QCoreApplication::translate("vq::msg", "%1: проверка не закончилась за %2 с и прервана")
        .arg(file)
        .arg(seconds);
}

QString probeTimeLimitSetting(const QString &key, const QString &written, int least, int most, int taken) {
    return QCoreApplication::translate(
               "vq::msg", "Настройка %1 = «%2» вне пределов %3–%4 с: проверка файла ограничена %5 с.")
        .arg(key, written)
        .arg(least)
        .arg(most)
        .arg(taken);
}

QString probeCrashed(const QString &file, const QString &how) {
    return QCoreApplication::translate("vq::msg",
                                       "%1: библиотека MediaInfo аварийно завершилась на этом файле (%2)")
        .arg(file, how);
}

QString probeWorkerMissing(const QString &program, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "Не удалось запустить программу проверки файлов «%1»: %2")
        .arg(program, reason);
}

QString intakeNotStored(const QString &file, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "%1: не добавлен в базу: %2").arg(file, reason);
}

QString intakeCatalogChanged() {
    return QCoreApplication::translate("vq::msg", "Открыта другая база: добавление остановлено.");
}

QString intakeBadJobs(const QString &text) {
    return QCoreApplication::translate("vq::msg",
                                       "--jobs: «%1» — не число рабочих процессов (нужно 1 или больше)")
        .arg(text);
}

QString intakeNoSuchTitle(qint64 id) {
    return QCoreApplication::translate("vq::msg", "Нет аниме с ID %1.").arg(id);
}

QString intakeRunCaption() {
    return QCoreApplication::translate("vq::msg", "Добавление файлов");
}

QString intakeRunStored(int stored, int listed) {
    return QCoreApplication::translate("vq::msg", "Добавлено файлов: %1 из %2.").arg(stored).arg(listed);
}

QString intakeRunCancelled() {
    return QCoreApplication::translate("vq::msg", "Добавление отменено; добавленное сохранено.");
}

QString intakeRunSkippedTwice(int count) {
    return QCoreApplication::translate("vq::msg",
                                       "Пропущено уже добавленных к этому аниме (то же имя и размер): %1.")
        .arg(count);
}

QString intakeRunElsewhereHeader(int count) {
    return QCoreApplication::translate(
               "vq::msg", "Добавлены, хотя файл с тем же именем и размером есть у другого аниме: %1")
        .arg(count);
}

QString intakeRunElsewhere(const QString &file, const QString &titles) {
    return QCoreApplication::translate("vq::msg", "%1 (также у: %2)").arg(file, titles);
}

QString intakeRunProblemsHeader(int count) {
    return QCoreApplication::translate("vq::msg", "Пропущено с причиной: %1").arg(count);
}

QString intakeRunMore(int count) {
    return QCoreApplication::translate("vq::msg", "… и ещё %1").arg(count);
}

QString intakeRunFailed(int failed, int listed) {
    return QCoreApplication::translate("vq::msg", "Не удалось добавить файлов: %1 из %2.")
        .arg(failed)
        .arg(listed);
}

QString intakeNoTitleChosen() {
    return QCoreApplication::translate("vq::msg",
                                       "Не выбрано аниме: выберите его в списке или создайте новое.");
}

QString intakeNoFileProbed() {
    return QCoreApplication::translate("vq::msg", "Не выбран файл: щёлкните файл в списке.");
}

QString intakeNoSuchLanguage(qint64 key) {
    return QCoreApplication::translate("vq::msg", "Нет языка с ключом %1.").arg(key);
}

QString intakeNoVideoFiles(const QString &folders) {
    return QCoreApplication::translate("vq::msg", "Нет видеофайлов для добавления: %1").arg(folders);
}

QString addReportStored(int stored, int listed, const QString &title, qint64 id) {
    return QCoreApplication::translate("vq::msg", "Добавлено файлов: %1 из %2, к аниме «%3» (ID %4).")
        .arg(stored)
        .arg(listed)
        .arg(title)
        .arg(id);
}

QString addReportTitleMade(const QString &title, qint64 id) {
    return QCoreApplication::translate("vq::msg", "Аниме «%1» создано (ID %2).").arg(title).arg(id);
}

QString addReportTitleNotMade(const QString &title) {
    return QCoreApplication::translate("vq::msg", "Ни один файл не добавлен; аниме «%1» не создано.")
        .arg(title);
}

QString addReportAlreadyStored(const QString &file) {
    return QCoreApplication::translate("vq::msg", "Пропущен, уже есть у этого аниме: %1").arg(file);
}

QString addReportAlsoUnder(const QString &file, const QString &titles) {
    return QCoreApplication::translate("vq::msg", "Добавлен, хотя есть и у другого аниме: %1 (также у: %2)")
        .arg(file, titles);
}

QString addReportSkipped(const QString &reason) {
    return QCoreApplication::translate("vq::msg", "Пропущен: %1").arg(reason);
}

QString addReportEmptyFolder(const QString &folder) {
    return QCoreApplication::translate("vq::msg", "В папке нет видеофайлов: %1").arg(folder);
}

// --- old catalogs (.mdb) ----------------------------------------------------------------------

namespace {
QString mdbQuoted(const QString &s) {
    return QCoreApplication::translate("vq::msg", "«%1»").arg(s);
}
// Russian plural of a count: 1 серия, 2 серии, 5 серий; English has "one" and "many" only.
QString mdbCounted(qint64 n, const char *one, const char *few, const char *many) {
    const qint64 m10 = n % 10, m100 = n % 100;
    const char *w = lang::current() == lang::Language::English           ? (n == 1 ? one : many)
                    : (m10 == 1 && m100 != 11)                           ? one
                    : (m10 >= 2 && m10 <= 4 && (m100 < 12 || m100 > 14)) ? few
                                                                         : many;
    return QStringLiteral("%1 %2").arg(n).arg(QCoreApplication::translate("vq::msg", w));
}
QString mdbEpisodes(qint64 n) {
    return mdbCounted(n, QT_TRANSLATE_NOOP("vq::msg", "серия"), QT_TRANSLATE_NOOP("vq::msg", "серии"),
                      QT_TRANSLATE_NOOP("vq::msg", "серий"));
}
QString mdbTitles(qint64 n) {
    return mdbCounted(n, QT_TRANSLATE_NOOP("vq::msg", "название"), QT_TRANSLATE_NOOP("vq::msg", "названия"),
                      QT_TRANSLATE_NOOP("vq::msg", "названий"));
}
} // namespace

QString mdbNoSuchFile(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файла %1 нет.").arg(mdbQuoted(path));
}
QString mdbNotAccessFile(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файл %1 — не каталог Access (.mdb): перенос невозможен.")
        .arg(mdbQuoted(path));
}
QString mdbDamaged(const QString &path, const QString &detail) {
    return QCoreApplication::translate(
               "vq::msg", "Каталог Access %1 повреждён (%2): перенос невозможен, новый каталог не создан.")
        .arg(mdbQuoted(path), detail);
}
QString mdbCannotRead(const QString &path, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "Файл %1 не удаётся прочитать: %2")
        .arg(mdbQuoted(path), reason);
}
QString mdbNotOurCatalog(const QString &path, const QString &missingTables) {
    return QCoreApplication::translate(
               "vq::msg", "Файл %1 — база Access другой программы, а не каталог Vidoteq (нет таблиц: %2).")
        .arg(mdbQuoted(path), missingTables);
}
QString mdbMissingColumn(const QString &path, const QString &table, const QString &column) {
    return QCoreApplication::translate("vq::msg",
                                       "В таблице %1 файла %2 нет столбца %3: это не каталог Vidoteq.")
        .arg(mdbQuoted(table), mdbQuoted(path), mdbQuoted(column));
}
QString mdbUnexpectedType(const QString &path, const QString &table, const QString &column) {
    return QCoreApplication::translate(
               "vq::msg", "Столбец %1 таблицы %2 файла %3 имеет неожиданный тип: это не каталог Vidoteq.")
        .arg(mdbQuoted(column), mdbQuoted(table), mdbQuoted(path));
}
QString mdbJet3(const QString &path) {
    return QCoreApplication::translate(
               "vq::msg", "Файл %1 сохранён в формате Access 97 (Jet 3). Его тексты записаны в кодовой "
                          "странице Windows, которую файл не называет, и не перенеслись бы без искажений. "
                          "Сохраните его в Access в формате Access 2000 и повторите.")
        .arg(mdbQuoted(path));
}
QString mdbUnknownVersion(const QString &path, int version) {
    return QCoreApplication::translate("vq::msg",
                                       "Файл %1 — база Access неизвестной версии (%2): перенос невозможен.")
        .arg(mdbQuoted(path))
        .arg(version);
}
QString mdbTextTooLong(const QString &path, const QString &table, qint64 id, const QString &column) {
    return QCoreApplication::translate(
               "vq::msg", "В файле %1 текст %2 строки %3 таблицы %4 длиннее 255 знаков: перенос невозможен.")
        .arg(mdbQuoted(path), mdbQuoted(column))
        .arg(id)
        .arg(mdbQuoted(table));
}
QString mdbTargetExists(const QString &path) {
    return QCoreApplication::translate("vq::msg",
                                       "Файл %1 уже есть; он не будет заменён. Выберите другое имя.")
        .arg(mdbQuoted(path));
}
QString mdbTargetMissing() {
    return QCoreApplication::translate("vq::msg", "Не указано, куда сохранить новый каталог.");
}
QString mdbTargetIsSource(const QString &path) {
    return QCoreApplication::translate("vq::msg",
                                       "Каталог %1 нельзя перенести в самого себя: укажите новый файл .vdq.")
        .arg(mdbQuoted(path));
}
QString mdbCannotWrite(const QString &path, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "Новый каталог %1 не удаётся записать: %2")
        .arg(mdbQuoted(path), reason);
}
QString mdbTotalsDiffer(const QString &path) {
    return QCoreApplication::translate("vq::msg",
                                       "Итоги нового каталога %1 не сходятся со старыми: перенос отменён.")
        .arg(mdbQuoted(path));
}
QString mdbDetailCutShort() {
    return QCoreApplication::translate("vq::msg", "файл обрезан");
}
QString mdbDetailRowsMissing(const QString &table, qint64 expected, qint64 read) {
    return QCoreApplication::translate("vq::msg", "в таблице %1 прочитано %2 строк из %3")
        .arg(mdbQuoted(table))
        .arg(read)
        .arg(expected);
}
QString mdbDetailBadRow(const QString &table) {
    return QCoreApplication::translate("vq::msg", "испорчена строка таблицы %1").arg(mdbQuoted(table));
}
QString mdbDetailNoTables(const QString &tables) {
    return QCoreApplication::translate("vq::msg", "нет таблиц: %1").arg(tables);
}
QString mdbDetailNoCatalog() {
    return QCoreApplication::translate("vq::msg", "не читается список таблиц");
}
QString mdbDetailTimeLimit(int seconds) {
    return QCoreApplication::translate("vq::msg", "чтение не продвинулось за %1 с и прервано").arg(seconds);
}
QString mdbDetailMemoryLimit(qint64 megabytes) {
    return QCoreApplication::translate("vq::msg", "чтению не хватило %1 МБ памяти, оно прервано")
        .arg(megabytes);
}
QString mdbDetailReaderStopped(const QString &how) {
    return QCoreApplication::translate("vq::msg", "чтение оборвалось: %1").arg(how);
}
QString mdbWorkerMissing(const QString &program, const QString &reason) {
    return QCoreApplication::translate(
               "vq::msg", "Программа переноса каталогов %1 не запускается (%2): перенос невозможен.")
        .arg(mdbQuoted(program), reason);
}

QString mdbOrphanTitleName(qint64 key) {
    return QCoreApplication::translate("vq::msg", "Удалённое название %1").arg(key);
}
QString mdbNoKeyTitleName() {
    return QCoreApplication::translate("vq::msg", "Серии без названия");
}
QString mdbPlaceholderType(qint64 key) {
    return QCoreApplication::translate("vq::msg", "Тип %1").arg(key);
}
QString mdbPlaceholderLanguage(qint64 key) {
    return QCoreApplication::translate("vq::msg", "Язык %1").arg(key);
}
QString mdbPlaceholderCodec(qint64 key) {
    return QCoreApplication::translate("vq::msg", "Кодек %1").arg(key);
}
QString mdbPlaceholderFormat(qint64 key) {
    return QCoreApplication::translate("vq::msg", "Формат %1").arg(key);
}

QString mdbSummary(qint64 titleCount, qint64 episodeCount, qint64 altNames, qint64 types, qint64 languages,
                   qint64 codecs, qint64 formats) {
    return QCoreApplication::translate(
               "vq::msg", "Перенесено: %1, %2, альтернативных названий: %3, типов: %4, языков: %5, "
                          "кодеков: %6, форматов: %7.")
        .arg(mdbTitles(titleCount), mdbEpisodes(episodeCount))
        .arg(altNames)
        .arg(types)
        .arg(languages)
        .arg(codecs)
        .arg(formats);
}
QString mdbRepairOrphans(qint64 key, qint64 episodeCount, qint64 altNames, const QString &newTitle) {
    return QCoreApplication::translate(
               "vq::msg", "Названия с ключом %1 нет (удалено): %2 и альтернативных названий: %3 — под новым "
                          "названием %4 (ID %1, тип 4).")
        .arg(key)
        .arg(mdbEpisodes(episodeCount))
        .arg(altNames)
        .arg(mdbQuoted(newTitle));
}
QString mdbRepairNoKey(qint64 episodeCount, qint64 newId, const QString &newTitle) {
    return QCoreApplication::translate("vq::msg",
                                       "Без ключа названия: %1 — под новым названием %2 (ID %3, тип 4).")
        .arg(mdbEpisodes(episodeCount), mdbQuoted(newTitle))
        .arg(newId);
}
QString mdbRepairNoType(qint64 titleCount) {
    return QCoreApplication::translate("vq::msg", "Без типа: %1 — записан тип 0.").arg(mdbTitles(titleCount));
}
QString mdbRepairType(qint64 key, qint64 titleCount, const QString &name) {
    return QCoreApplication::translate("vq::msg", "Типа %1 нет в таблице «Тип»: %2 — добавлен тип %1 %3.")
        .arg(key)
        .arg(mdbTitles(titleCount), mdbQuoted(name));
}
QString mdbRepairLanguage(qint64 key, qint64 episodeCount, const QString &name) {
    return QCoreApplication::translate("vq::msg", "Языка %1 нет в таблице «Sub»: %2 — добавлен язык %1 %3.")
        .arg(key)
        .arg(mdbEpisodes(episodeCount), mdbQuoted(name));
}
QString mdbRepairCodec(qint64 key, qint64 episodeCount, const QString &name) {
    return QCoreApplication::translate("vq::msg",
                                       "Кодека %1 нет в таблице «Codec»: %2 — добавлен кодек %1 %3.")
        .arg(key)
        .arg(mdbEpisodes(episodeCount), mdbQuoted(name));
}
QString mdbRepairFormat(qint64 key, qint64 episodeCount, const QString &name) {
    return QCoreApplication::translate("vq::msg",
                                       "Формата %1 нет в таблице «Format»: %2 — добавлен формат %1 %3.")
        .arg(key)
        .arg(mdbEpisodes(episodeCount), mdbQuoted(name));
}
QString mdbRepairNoColumn(const QString &table, const QString &column) {
    return QCoreApplication::translate("vq::msg",
                                       "В таблице %1 нет столбца %2: его значения оставлены пустыми.")
        .arg(mdbQuoted(table), mdbQuoted(column));
}
QString mdbNoRepairs() {
    return QCoreApplication::translate("vq::msg", "Исправлять ничего не пришлось.");
}

QString mdbSaveCaption() {
    return QCoreApplication::translate("vq::msg", "Куда сохранить перенесённый каталог");
}
QString mdbProgressText(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Перенос каталога %1…").arg(mdbQuoted(path));
}
QString mdbDoneCaption() {
    return QCoreApplication::translate("vq::msg", "Каталог перенесён");
}
QString mdbDone(const QString &newPath, const QString &report) {
    return QCoreApplication::translate("vq::msg", "Новый каталог: %1\n\n%2").arg(mdbQuoted(newPath), report);
}

// --- exports ----------------------------------------------------------------------------------

QString cannotCreateFile(const QString &path, const QString &reason) {
    return QCoreApplication::translate("vq::msg", "Не удаётся создать файл \"%1\". %2").arg(path, reason);
}

QString cannotCreateFolder(const QString &folder) {
    return QCoreApplication::translate("vq::msg", "Не удаётся создать папку \"%1\".").arg(folder);
}

QString outOfMemory() {
    return QCoreApplication::translate("vq::msg", "Не хватает памяти.");
}

QString fileCreated(const QString &name) {
    return QCoreApplication::translate("vq::msg", "Создан файл ") + name;
}

QString spreadsheetNotOpened(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Таблица сохранена в файл %1, но открыть её нечем.")
        .arg(path);
}

// --- grid ---------------------------------------------------------------------------------------

QString cellOutOfBounds(int col, int row) {
    return QCoreApplication::translate("vq::msg", "Ячейка (%1, %2) вне таблицы").arg(col).arg(row);
}

// --- list import --------------------------------------------------------------------------------

QString listNulByte(int lineNo) {
    return QCoreApplication::translate("vq::msg",
                                       "Строка %1 списка содержит нулевой байт: это не текстовый список.")
        .arg(lineNo);
}

QString listUndecodableLine(int lineNo) {
    return QCoreApplication::translate("vq::msg",
                                       "Строка %1 списка не читается ни как UTF-8, ни как Windows-1251.")
        .arg(lineNo);
}

QString listOddUtf16Length() {
    return QCoreApplication::translate("vq::msg", "Список в UTF-16 обрывается на половине знака.");
}

// --- catalog: data sets and the file (checked while opening, reading, storing) ------------------

QString noCatalogOpen() {
    return QCoreApplication::translate("vq::msg", "Нет открытой базы.");
}
QString badCatalogName(const QString &name) {
    return QCoreApplication::translate("vq::msg", "«%1» не годится как имя файла каталога.").arg(name);
}
QString noTableOrQuery(const QString &name) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет таблицы или запроса «%1».").arg(name);
}
QString noTable(const QString &name) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет таблицы «%1».").arg(name);
}
QString noQuery(const QString &name) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет запроса «%1».").arg(name);
}
QString noFieldNumber(const QString &set, int index) {
    return QCoreApplication::translate("vq::msg", "В наборе данных «%1» нет поля номер %2.")
        .arg(set)
        .arg(index);
}
QString noField(const QString &set, const QString &field) {
    return QCoreApplication::translate("vq::msg", "В наборе данных «%1» нет поля «%2».").arg(set, field);
}
QString dataSetNotOpen(const QString &set) {
    return QCoreApplication::translate("vq::msg", "Набор данных «%1» не открыт.").arg(set);
}
QString queryReadOnly(const QString &set) {
    return QCoreApplication::translate("vq::msg", "Запрос «%1» только для чтения.").arg(set);
}
QString cannotSortBy(const QString &set, const QString &field) {
    return QCoreApplication::translate("vq::msg", "Набор данных «%1» нельзя упорядочить по «%2».")
        .arg(set, field);
}
QString noRecordToEdit(const QString &set) {
    return QCoreApplication::translate("vq::msg", "В наборе данных «%1» нет записи для изменения.").arg(set);
}
QString noRecordToDelete(const QString &set) {
    return QCoreApplication::translate("vq::msg", "В наборе данных «%1» нет записи для удаления.").arg(set);
}
QString notEditing(const QString &set) {
    return QCoreApplication::translate("vq::msg", "Набор данных «%1» не в режиме правки или добавления.")
        .arg(set);
}
QString fieldReadOnly(const QString &field) {
    return QCoreApplication::translate("vq::msg", "Поле «%1» изменить нельзя.").arg(field);
}
QString textTooLong(const QString &field, int most, qsizetype given) {
    return QCoreApplication::translate(
               "vq::msg", "Поле «%1» вмещает не больше %2 знаков, а в тексте их %3. Ничего не сохранено.")
        .arg(field)
        .arg(most)
        .arg(given);
}
QString cannotStoreRow(const QString &set, const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg",
                                       "Новую запись «%1» не удалось сохранить в каталоге \"%2\": %3")
        .arg(set, path, why);
}
QString cannotStoreChange(const QString &set, const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Изменение «%1» не удалось сохранить в каталоге \"%2\": %3")
        .arg(set, path, why);
}
QString cannotDeleteRow(const QString &set, const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Запись «%1» не удалось удалить из каталога \"%2\": %3")
        .arg(set, path, why);
}
QString cannotRunQuery(const QString &why) {
    return QCoreApplication::translate("vq::msg", "Каталог не может выполнить запрос: %1").arg(why);
}
QString cannotTakeValue(const QString &why) {
    return QCoreApplication::translate("vq::msg", "Каталог не принимает значение: %1").arg(why);
}
QString catalogMissing(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файла каталога \"%1\" нет.").arg(path);
}
QString catalogIsFolder(const QString &path) {
    return QCoreApplication::translate("vq::msg", "\"%1\" — папка, а не файл каталога Vidoteq.").arg(path);
}
QString catalogEmptyFile(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файл \"%1\" пуст: это не каталог Vidoteq.").arg(path);
}
QString catalogUnreadable(const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Файл каталога \"%1\" не читается: %2").arg(path, why);
}
QString notACatalog(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файл \"%1\" — не каталог Vidoteq.").arg(path);
}
QString notACatalogMissing(const QString &path, const QString &missing) {
    return QCoreApplication::translate("vq::msg", "Файл \"%1\" — не каталог Vidoteq (в нём нет: %2).")
        .arg(path, missing);
}

QString catalogTooNew(const QString &path, int version, int ours) {
    return QCoreApplication::translate(
               "vq::msg", "Каталог «%1» сделан более новой версией Vidoteq (версия файла %2, эта программа "
                          "читает до %3). Обновите программу. Файл не изменён.")
        .arg(path)
        .arg(version)
        .arg(ours);
}

QString catalogCannotBeUpgraded(const QString &path, const QString &why) {
    return QCoreApplication::translate(
               "vq::msg", "Каталог «%1» не удалось обновить до версии этой программы: %2. Файл не изменён.")
        .arg(path, why);
}
QString catalogCannotOpen(const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Каталог \"%1\" не открывается: %2").arg(path, why);
}
QString catalogRefusedChange(const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Каталог \"%1\" не принял изменение: %2").arg(path, why);
}
QString catalogFailure(const QString &what, const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "%1 в каталоге \"%2\": %3").arg(what, path, why);
}
QString tableUnreadable(const QString &table, const QString &path, const QString &why) {
    return QCoreApplication::translate("vq::msg", "Таблица «%1» каталога \"%2\" не читается: %3")
        .arg(table, path, why);
}
QString noLanguageChosen() {
    return QCoreApplication::translate("vq::msg", "Не выбран язык звука или субтитров.");
}
QString noCp1251Converter() {
    return QCoreApplication::translate("vq::msg",
                                       "Список не в UTF-8, а перевода из Windows-1251 в системе нет.");
}

// --- the spreadsheet's automation surface ------------------------------------------------------

QString badSheetName(const QString &name) {
    return QCoreApplication::translate("vq::msg", "Недопустимое имя листа «%1».").arg(name);
}
QString badFontSize(double size) {
    return QCoreApplication::translate("vq::msg", "Недопустимый размер шрифта %1.").arg(size);
}
QString badFontColour(qint64 colour) {
    return QCoreApplication::translate("vq::msg", "Недопустимый цвет шрифта %1.").arg(colour);
}
QString widthOnRow(int row) {
    return QCoreApplication::translate("vq::msg", "Ширину столбца нельзя задать строке %1.").arg(row);
}
QString badColumnWidth(double width) {
    return QCoreApplication::translate("vq::msg", "Недопустимая ширина столбца %1.").arg(width);
}
QString rangeOutsideSheet(bool row, int index) {
    return (row ? QCoreApplication::translate("vq::msg", "Строка %1 вне листа.")
                : QCoreApplication::translate("vq::msg", "Столбец %1 вне листа."))
        .arg(index);
}
QString sheetExists(const QString &name) {
    return QCoreApplication::translate("vq::msg", "Лист «%1» уже есть.").arg(name);
}
QString cellOutsideSheet(int row, int column) {
    return QCoreApplication::translate("vq::msg", "Ячейка (%1, %2) вне листа.").arg(row).arg(column);
}
QString cellTextTooLong(int row, int column) {
    return QCoreApplication::translate("vq::msg", "Текст для ячейки (%1, %2) длиннее, чем вмещает ячейка.")
        .arg(row)
        .arg(column);
}
QString noSheet(const QString &which) {
    return QCoreApplication::translate("vq::msg", "Нет листа %1.").arg(which);
}
QString badTemplate(int kind) {
    return QCoreApplication::translate("vq::msg", "Неизвестный шаблон книги %1.").arg(kind);
}
QString noWorkbook(int index) {
    return QCoreApplication::translate("vq::msg", "Нет книги %1.").arg(index);
}

// --- questions and reports of the window ---------------------------------------------------------

QString noCatalogToCopy() {
    return QCoreApplication::translate("vq::msg", "Нет открытой базы, с которой можно снять копию.");
}
QString newCatalogExists(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файл %1 уже есть; он не будет заменён.").arg(path);
}
QString importIntoThisCatalog() {
    return QCoreApplication::translate("vq::msg", "Добавить в текущею базу?");
}
QString listRowRefused(int lineNo, int before, const QString &reason) {
    return QCoreApplication::translate(
               "vq::msg", "Строку %1 списка добавить не удалось: %2 Строки до неё (%3) уже в каталоге; "
                          "строка %1 и следующие — нет.")
        .arg(lineNo)
        .arg(reason)
        .arg(before);
}
QString listNextStart(int lineNo) {
    return QCoreApplication::translate("vq::msg",
                                       "\nСледующее «To Base» в этот каталог начнётся со строки %1.")
        .arg(lineNo);
}

// --- titles, selection and pages --------------------------------------------------------------

QString titleNameEmpty() {
    return QCoreApplication::translate("vq::msg", "Название аниме не может быть пустым.");
}
QString noEpisodeWithId(qint64 id) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет серии с ID %1.").arg(id);
}
QString deleteQuestionCaption() {
    return QCoreApplication::translate("vq::msg", "Вы уверены?");
}
QString deleteQuestion(const QString &name) {
    return QCoreApplication::translate("vq::msg", "Удалить ") + name + QStringLiteral(" ?");
}

// --- alternative names of a title ---------------------------------------------------------------

QString altNameEmpty() {
    return QCoreApplication::translate("vq::msg", "Другое название аниме не может быть пустым.");
}
QString altNameControlCharacter() {
    return QCoreApplication::translate(
        "vq::msg", "В другом названии аниме не может быть табуляций, переводов строки и других "
                   "управляющих знаков.");
}
QString altNameIsMainName(const QString &existing) {
    return QCoreApplication::translate(
               "vq::msg", "«%1» — основное название этого аниме; другое название должно от него отличаться.")
        .arg(existing);
}
QString altNameTaken(const QString &existing) {
    return QCoreApplication::translate("vq::msg", "У этого аниме уже есть другое название «%1».")
        .arg(existing);
}
QString noAltNameWithId(qint64 id) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет другого названия с ID %1.").arg(id);
}
QString altNameNotOfTitle(qint64 altId, qint64 titleId) {
    return QCoreApplication::translate("vq::msg", "Другое название с ID %1 принадлежит не аниме с ID %2.")
        .arg(altId)
        .arg(titleId);
}
QString altNameAddCaption() {
    return QCoreApplication::translate("vq::msg", "Новое название");
}
QString altNameEditCaption() {
    return QCoreApplication::translate("vq::msg", "Изменить название");
}
QString altNamePrompt(const QString &title) {
    return QCoreApplication::translate("vq::msg", "Другое название аниме «%1»:").arg(title);
}

// --- title filters ----------------------------------------------------------------------------

QString filterNoSuchType(const QString &text) {
    return QCoreApplication::translate("vq::msg", "нет типа «%1» (нужен номер или название типа)").arg(text);
}
QString filterNoSuchLanguage(const QString &text) {
    return QCoreApplication::translate("vq::msg", "нет языка «%1» (нужен ключ или название языка)").arg(text);
}
QString filterNoSuchCodec(const QString &text) {
    return QCoreApplication::translate("vq::msg", "нет кодека «%1» (нужен ключ или название кодека)")
        .arg(text);
}
QString filterNoSuchFormat(const QString &text) {
    return QCoreApplication::translate("vq::msg", "нет контейнера «%1» (нужен ключ или название формата)")
        .arg(text);
}
QString filterBadFrame(const QString &text) {
    return QCoreApplication::translate("vq::msg",
                                       "«%1» — не размер кадра (нужно ШИРИНАxВЫСОТА, например 1280x720)")
        .arg(text);
}
QString filterBadHeight(const QString &text) {
    return QCoreApplication::translate("vq::msg", "«%1» — не высота кадра (нужно целое число 0 или больше)")
        .arg(text);
}
QString filterBadDays(const QString &text) {
    return QCoreApplication::translate("vq::msg", "«%1» — не число дней (нужно целое число 0 или больше)")
        .arg(text);
}

QString filterShown(const QStringList &shown, const QStringList &all) {
    return QCoreApplication::translate("vq::msg", "Показано %1 из %2 · файлов %3 из %4 · %5 из %6 · %7 из %8")
        .arg(shown.value(0), all.value(0), shown.value(1), all.value(1), shown.value(2), all.value(2),
             shown.value(3), all.value(3));
}

// --- where files are: drives and locations -----------------------------------------------------

QString placeUnknown() {
    return QCoreApplication::translate("vq::msg", "место неизвестно");
}

QString episodePlaceUnknown(const QString &episode) {
    return QCoreApplication::translate(
               "vq::msg", "Где файл серии «%1», неизвестно (место неизвестно). Привяжите папку с ним.")
        .arg(episode);
}

QString driveNotConnected(const QString &name) {
    return QCoreApplication::translate("vq::msg", "Диск «%1» не подключён").arg(name);
}

QString folderNotFound(const QString &folder) {
    return QCoreApplication::translate("vq::msg", "Папка '%1' не найдена.").arg(folder);
}

QString noVolumeWithId(qint64 id) {
    return QCoreApplication::translate("vq::msg", "В каталоге нет диска с ID %1.").arg(id);
}

QString fileNotFoundOnDrive(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файл '%1' не найден на диске. Проверьте файлы диска.")
        .arg(path);
}

QString sureQuestion() {
    return QCoreApplication::translate("vq::msg", "Вы уверены?");
}

QString placeLine(const QString &drive, bool online, const QString &folder, const QString &state) {
    return QCoreApplication::translate("vq::msg", "Диск «%1» (%2), папка %3: %4")
        .arg(drive, online ? placeOnline() : placeOffline(), folder, state);
}

QString placeOnline() {
    return QCoreApplication::translate("vq::msg", "подключён");
}

QString placeOffline() {
    return QCoreApplication::translate("vq::msg", "не подключён");
}

QString placeState(const QString &word) {
    // Made on each call: the texts follow the language installed.
    const QHash<QString, QString> words{
        {QStringLiteral("present"), QCoreApplication::translate("vq::msg", "на месте")},
        {QStringLiteral("missing"), QCoreApplication::translate("vq::msg", "не найден")},
        {QStringLiteral("changed"), QCoreApplication::translate("vq::msg", "изменён")},
        {QStringLiteral("moved"), QCoreApplication::translate("vq::msg", "перемещён")},
        {QStringLiteral("offline"), QCoreApplication::translate("vq::msg", "диск не подключён")},
        {QStringLiteral("unknown"), placeUnknown()}};
    return words.value(word, word);
}

QString checkSummary(qint64 present, qint64 changed, qint64 missing, qint64 moved, qint64 offline) {
    return QCoreApplication::translate(
               "vq::msg",
               "На месте: %1, изменены: %2, не найдены: %3, перемещены: %4, на отключённых дисках: %5")
        .arg(present)
        .arg(changed)
        .arg(missing)
        .arg(moved)
        .arg(offline);
}

QString checkProgress(qint64 done, qint64 total) {
    return QCoreApplication::translate("vq::msg", "Проверено %1 из %2").arg(done).arg(total);
}

QString removeMissingQuestion(qint64 missing) {
    return QCoreApplication::translate("vq::msg", "Убрать из каталога ненайденные файлы (%1)? %2")
        .arg(missing)
        .arg(sureQuestion());
}

QString forgetVolumeQuestion(const QString &name, qint64 files) {
    return QCoreApplication::translate(
               "vq::msg", "Забыть диск «%1»? Его файлы (%2) останутся в каталоге, место неизвестно. %3")
        .arg(name)
        .arg(files)
        .arg(sureQuestion());
}

QString attachSummary(int matched, int ambiguous, int leftEpisodes, int leftFiles) {
    return QCoreApplication::translate("vq::msg",
                                       "Привязано: %1, неоднозначно: %2, без файла: %3, лишних файлов: %4")
        .arg(matched)
        .arg(ambiguous)
        .arg(leftEpisodes)
        .arg(leftFiles);
}

QString volumeIdentity(int kind) {
    switch (kind) {
    case 0:
        return QStringLiteral("UUID");
    case 1:
        return QCoreApplication::translate("vq::msg", "адресу ресурса");
    case 2:
        return QCoreApplication::translate("vq::msg", "метке и размеру (нет UUID)");
    default:
        return QCoreApplication::translate("vq::msg", "точке монтирования");
    }
}

QString renameVolumePrompt(const QString &name) {
    return QCoreApplication::translate("vq::msg", "Имя диска «%1»:").arg(name);
}

// --- desktop conventions -------------------------------------------------------------------------

QString usageOptionNeedsValue(const QString &option) {
    return QCoreApplication::translate("vq::msg", "параметру %1 нужно значение").arg(option);
}

QString usageOptionTakesNoValue(const QString &option) {
    return QCoreApplication::translate("vq::msg", "параметр %1 не принимает значения").arg(option);
}

QString usageUnknownOption(const QString &option) {
    return QCoreApplication::translate("vq::msg", "неизвестный параметр %1").arg(option);
}

QString usageWrongArgumentCount() {
    return QCoreApplication::translate("vq::msg", "неверное число аргументов");
}

QString usageNoCommand() {
    return QCoreApplication::translate("vq::msg", "не указана команда");
}

QString usageUnknownCommand(const QString &command) {
    return QCoreApplication::translate("vq::msg", "неизвестная команда %1").arg(command);
}

QString usageHeader() {
    return QCoreApplication::translate(
        "vq::msg", "использование: vidoteq-cli [--catalog ФАЙЛ] КОМАНДА [АРГУМЕНТЫ]\n"
                   "       vidoteq-cli --help | --version\n"
                   "Параметры принимают и вид --параметр=значение; после -- всё — аргументы.\n"
                   "команды:\n");
}

QString usageCommandNeeds(const QString &command, const QString &what) {
    return QCoreApplication::translate("vq::msg", "команде %1 нужен %2").arg(command, what);
}

QString usageNotATitleId(const QString &text) {
    return QCoreApplication::translate("vq::msg", "'%1' — не номер аниме").arg(text);
}

QString usageNotAnAltNameId(const QString &text) {
    return QCoreApplication::translate("vq::msg", "'%1' — не номер другого названия").arg(text);
}

QString usageNotAWholeNumber(const QString &option, const QString &text) {
    return QCoreApplication::translate("vq::msg", "%1: '%2' — не целое число").arg(option, text);
}

QString usageNotTogether(const QString &one, const QString &other) {
    return QCoreApplication::translate("vq::msg", "%1 и %2 нельзя задать вместе").arg(one, other);
}

QString usageNewCatalogNeedsName() {
    return QCoreApplication::translate("vq::msg", "у новой базы должно быть имя");
}

QString usageOutputNeedsName() {
    return QCoreApplication::translate("vq::msg", "у файла, в который писать, должно быть имя");
}

QString usageTitleNeedsName() {
    return QCoreApplication::translate("vq::msg", "у аниме должно быть название");
}

QString usageUnknownAction(const QString &command, const QString &action) {
    return QCoreApplication::translate("vq::msg", "неизвестное действие %1: %2").arg(command, action);
}

QString usageWrongArgumentCountOf(const QString &what) {
    return QCoreApplication::translate("vq::msg", "%1: неверное число аргументов").arg(what);
}

QString usageJsonOnlyForList() {
    return QCoreApplication::translate("vq::msg", "--json — только для списка названий");
}

QString usageBadSelection(const QString &text) {
    return QCoreApplication::translate("vq::msg", "--selection ждёт номера аниме через запятую, а не \"%1\"")
        .arg(text);
}

QString usageBadColumns(const QString &text) {
    return QCoreApplication::translate("vq::msg",
                                       "--columns ждёт номера столбцов от 0 до 9 через запятую, а не \"%1\"")
        .arg(text);
}

QString usageColumnsNeedSelection() {
    return QCoreApplication::translate("vq::msg", "--columns выбирает столбцы выгрузки с --selection");
}

QString usageUnknownField(const QString &field, const QString &fields) {
    return QCoreApplication::translate("vq::msg", "неизвестное поле '%1' (поля: %2)").arg(field, fields);
}

QString saveHtmlCaption() {
    return QCoreApplication::translate("vq::msg", "Куда сохранить страницу HTML");
}

QString saveSpreadsheetCaption() {
    return QCoreApplication::translate("vq::msg", "Куда сохранить таблицу");
}

QString saveNewCatalogCaption() {
    return QCoreApplication::translate("vq::msg", "Куда сохранить новую базу");
}

QString fileSavedOpenIt(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Создан файл %1\n\nОткрыть его?").arg(path);
}

QString replaceExistingFile(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Файл %1 уже есть. Заменить его?").arg(path);
}

QString newCatalogMade(const QString &path) {
    return QCoreApplication::translate("vq::msg", "Создана база %1; теперь открыта она.").arg(path);
}

QString convertChooseCaption() {
    return QCoreApplication::translate("vq::msg", "Какой каталог Access перенести");
}

QString aboutCaption() {
    return QCoreApplication::translate("vq::msg", "О программе");
}

QString aboutText(const QString &version, const QString &catalogPath, int schemaVersion) {
    QString text =
        QCoreApplication::translate("vq::msg", "Vidoteq %1\nКаталог аниме и видеофайлов их серий.\n"
                                               "© Morvik. Все права защищены.\n\n")
            .arg(version);
    if (catalogPath.isEmpty())
        return text + QCoreApplication::translate("vq::msg", "База не открыта.");
    return text + QCoreApplication::translate("vq::msg", "База: %1\nВерсия схемы базы: %2")
                      .arg(catalogPath)
                      .arg(schemaVersion);
}

QString dropHoldsNoFiles() {
    return QCoreApplication::translate("vq::msg", "Среди перетащенного нет ни папок, ни файлов.");
}

QString addAllNeedsFiles() {
    return QCoreApplication::translate(
        "vq::msg", "Нечего добавлять: выберите папку с сериями в дереве (или перетащите её "
                   "в окно) и щёлкните файл в списке.");
}

QString episodesMissing(const QString &list) {
    return QCoreApplication::translate("vq::msg", "нет: %1").arg(list);
}

QString guessFiledUnder(const QString &where, const QString &title, qint64 id, const QString &otherName) {
    const QString to = QStringLiteral("%1 → «%2» (ID %3)").arg(where, title).arg(id);
    return otherName.isEmpty()
               ? to
               : to + QCoreApplication::translate("vq::msg", ", по другому названию «%1»").arg(otherName);
}

QString otherNameOfferCaption() {
    return QCoreApplication::translate("vq::msg", "Другие названия");
}

QString otherNameOffer(const QString &proposed, const QString &title) {
    return QCoreApplication::translate(
               "vq::msg", "Имена файлов называют аниме «%1», выбрано «%2».\nДобавить как другое название?")
        .arg(proposed, title);
}

QString guessNoTitle(const QString &where) {
    return QCoreApplication::translate("vq::msg", "Из имён файлов не прочитать название аниме: %1")
        .arg(where);
}

QString fileChangedWhileRead() {
    return QCoreApplication::translate("vq::msg", "файл изменился, пока его читали");
}

QString hashProgress(qint64 files, qint64 ofFiles, qint64 bytes, qint64 ofBytes) {
    return QCoreApplication::translate("vq::msg", "Суммы файлов: %1 из %2, %3 из %4 МБ")
        .arg(files)
        .arg(ofFiles)
        .arg(bytes / 1000000)
        .arg(ofBytes / 1000000);
}

QString hashSummary(qint64 hashed, qint64 same, qint64 changed, qint64 failed, qint64 offline) {
    return QCoreApplication::translate(
               "vq::msg",
               "Посчитано: %1, без изменений: %2, изменились: %3, не прочитаны: %4, ждут диска: %5")
        .arg(hashed)
        .arg(same)
        .arg(changed)
        .arg(failed)
        .arg(offline);
}

QString verifySummary(qint64 withChecksum, qint64 match, qint64 mismatch, qint64 changed, qint64 pending) {
    return QCoreApplication::translate(
               "vq::msg", "С суммой в имени: %1, совпадают: %2, не совпадают: %3, изменились: %4, ещё не "
                          "посчитаны: %5")
        .arg(withChecksum)
        .arg(match)
        .arg(mismatch)
        .arg(changed)
        .arg(pending);
}

QString duplicateKind(bool acrossTitles) {
    return acrossTitles ? QCoreApplication::translate("vq::msg", "в разных аниме")
                        : QCoreApplication::translate("vq::msg", "копии");
}

QString duplicateGroupLine(qint64 files, qint64 bytes, const QString &kind) {
    return QCoreApplication::translate("vq::msg", "файлов: %1, по %2 байт, %3")
        .arg(files)
        .arg(bytes)
        .arg(kind);
}

QString duplicatesNone() {
    return QCoreApplication::translate("vq::msg", "Одинаковых файлов нет.");
}

QString episodeCopies(int copies) {
    return QCoreApplication::translate("vq::msg", "копий: %1").arg(copies);
}

} // namespace vq::msg
