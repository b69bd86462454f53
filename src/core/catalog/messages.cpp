#include "messages.h"

#include <QHash>

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

QString intakeCannotEnterFolder(const QString &folder, const QString &reason) {
    return QStringLiteral("Не удалось перейти в папку '%1': %2").arg(folder, reason);
}

QString probeNoSuchFile(const QString &file) {
    return QStringLiteral("%1: нет такого файла").arg(file);
}

QString probeIsAFolder(const QString &file) {
    return QStringLiteral("%1: это папка, а не файл").arg(file);
}

QString probeNotARegularFile(const QString &file) {
    return QStringLiteral("%1: это не обычный файл").arg(file);
}

QString probeUnreadable(const QString &file, const QString &reason) {
    return QStringLiteral("%1: файл не читается (%2)").arg(file, reason);
}

QString probeNoSize(const QString &file, const QString &answer) {
    return QStringLiteral("%1: библиотека MediaInfo не назвала размер файла (ответ «%2»)").arg(file, answer);
}

QString probeTimeLimit(const QString &file, int seconds) {
    return QStringLiteral("%1: проверка не закончилась за %2 с и прервана").arg(file).arg(seconds);
}

QString probeTimeLimitSetting(const QString &key, const QString &written, int least, int most, int taken) {
    return QStringLiteral("Настройка %1 = «%2» вне пределов %3–%4 с: проверка файла ограничена %5 с.")
        .arg(key, written)
        .arg(least)
        .arg(most)
        .arg(taken);
}

QString probeCrashed(const QString &file, const QString &how) {
    return QStringLiteral("%1: библиотека MediaInfo аварийно завершилась на этом файле (%2)").arg(file, how);
}

QString probeWorkerMissing(const QString &program, const QString &reason) {
    return QStringLiteral("Не удалось запустить программу проверки файлов «%1»: %2").arg(program, reason);
}

QString intakeNotStored(const QString &file, const QString &reason) {
    return QStringLiteral("%1: не добавлен в базу: %2").arg(file, reason);
}

QString intakeCatalogChanged() {
    return QStringLiteral("Открыта другая база: добавление остановлено.");
}

QString intakeBadJobs(const QString &text) {
    return QStringLiteral("--jobs: «%1» — не число рабочих процессов (нужно 1 или больше)").arg(text);
}

QString intakeNoSuchTitle(qint64 id) {
    return QStringLiteral("Нет аниме с ID %1.").arg(id);
}

QString intakeRunCaption() {
    return QStringLiteral("Добавление файлов");
}

QString intakeRunStored(int stored, int listed) {
    return QStringLiteral("Добавлено файлов: %1 из %2.").arg(stored).arg(listed);
}

QString intakeRunCancelled() {
    return QStringLiteral("Добавление отменено; добавленное сохранено.");
}

QString intakeRunSkippedTwice(int count) {
    return QStringLiteral("Пропущено уже добавленных к этому аниме (то же имя и размер): %1.").arg(count);
}

QString intakeRunElsewhereHeader(int count) {
    return QStringLiteral("Добавлены, хотя файл с тем же именем и размером есть у другого аниме: %1")
        .arg(count);
}

QString intakeRunElsewhere(const QString &file, const QString &titles) {
    return QStringLiteral("%1 (также у: %2)").arg(file, titles);
}

QString intakeRunProblemsHeader(int count) {
    return QStringLiteral("Пропущено с причиной: %1").arg(count);
}

QString intakeRunMore(int count) {
    return QStringLiteral("… и ещё %1").arg(count);
}

QString intakeRunFailed(int failed, int listed) {
    return QStringLiteral("Не удалось добавить файлов: %1 из %2.").arg(failed).arg(listed);
}

QString intakeNoTitleChosen() {
    return QStringLiteral("Не выбрано аниме: выберите его в списке или создайте новое.");
}

QString intakeNoFileProbed() {
    return QStringLiteral("Не выбран файл: щёлкните файл в списке.");
}

QString intakeNoSuchLanguage(qint64 key) {
    return QStringLiteral("Нет языка с ключом %1.").arg(key);
}

QString intakeNoVideoFiles(const QString &folders) {
    return QStringLiteral("Нет видеофайлов для добавления: %1").arg(folders);
}

QString addReportStored(int stored, int listed, const QString &title, qint64 id) {
    return QStringLiteral("Добавлено файлов: %1 из %2, к аниме «%3» (ID %4).")
        .arg(stored)
        .arg(listed)
        .arg(title)
        .arg(id);
}

QString addReportTitleMade(const QString &title, qint64 id) {
    return QStringLiteral("Аниме «%1» создано (ID %2).").arg(title).arg(id);
}

QString addReportTitleNotMade(const QString &title) {
    return QStringLiteral("Ни один файл не добавлен; аниме «%1» не создано.").arg(title);
}

QString addReportAlreadyStored(const QString &file) {
    return QStringLiteral("Пропущен, уже есть у этого аниме: %1").arg(file);
}

QString addReportAlsoUnder(const QString &file, const QString &titles) {
    return QStringLiteral("Добавлен, хотя есть и у другого аниме: %1 (также у: %2)").arg(file, titles);
}

QString addReportSkipped(const QString &reason) {
    return QStringLiteral("Пропущен: %1").arg(reason);
}

QString addReportEmptyFolder(const QString &folder) {
    return QStringLiteral("В папке нет видеофайлов: %1").arg(folder);
}

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
QString mdbDetailTimeLimit(int seconds) {
    return QStringLiteral("чтение не продвинулось за %1 с и прервано").arg(seconds);
}
QString mdbDetailMemoryLimit(qint64 megabytes) {
    return QStringLiteral("чтению не хватило %1 МБ памяти, оно прервано").arg(megabytes);
}
QString mdbDetailReaderStopped(const QString &how) {
    return QStringLiteral("чтение оборвалось: %1").arg(how);
}
QString mdbWorkerMissing(const QString &program, const QString &reason) {
    return QStringLiteral("Программа переноса каталогов %1 не запускается (%2): перенос невозможен.")
        .arg(mdbQuoted(program), reason);
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

QString listNulByte(int lineNo) {
    return QStringLiteral("Строка %1 списка содержит нулевой байт: это не текстовый список.").arg(lineNo);
}

QString listUndecodableLine(int lineNo) {
    return QStringLiteral("Строка %1 списка не читается ни как UTF-8, ни как Windows-1251.").arg(lineNo);
}

QString listOddUtf16Length() {
    return QStringLiteral("Список в UTF-16 обрывается на половине знака.");
}

// --- catalog: data sets and the file (checked while opening, reading, storing) ------------------

QString noCatalogOpen() {
    return QStringLiteral("Нет открытой базы.");
}
QString badCatalogName(const QString &name) {
    return QStringLiteral("«%1» не годится как имя файла каталога.").arg(name);
}
QString noTableOrQuery(const QString &name) {
    return QStringLiteral("В каталоге нет таблицы или запроса «%1».").arg(name);
}
QString noTable(const QString &name) {
    return QStringLiteral("В каталоге нет таблицы «%1».").arg(name);
}
QString noQuery(const QString &name) {
    return QStringLiteral("В каталоге нет запроса «%1».").arg(name);
}
QString noFieldNumber(const QString &set, int index) {
    return QStringLiteral("В наборе данных «%1» нет поля номер %2.").arg(set).arg(index);
}
QString noField(const QString &set, const QString &field) {
    return QStringLiteral("В наборе данных «%1» нет поля «%2».").arg(set, field);
}
QString dataSetNotOpen(const QString &set) {
    return QStringLiteral("Набор данных «%1» не открыт.").arg(set);
}
QString queryReadOnly(const QString &set) {
    return QStringLiteral("Запрос «%1» только для чтения.").arg(set);
}
QString cannotSortBy(const QString &set, const QString &field) {
    return QStringLiteral("Набор данных «%1» нельзя упорядочить по «%2».").arg(set, field);
}
QString noRecordToEdit(const QString &set) {
    return QStringLiteral("В наборе данных «%1» нет записи для изменения.").arg(set);
}
QString noRecordToDelete(const QString &set) {
    return QStringLiteral("В наборе данных «%1» нет записи для удаления.").arg(set);
}
QString notEditing(const QString &set) {
    return QStringLiteral("Набор данных «%1» не в режиме правки или добавления.").arg(set);
}
QString fieldReadOnly(const QString &field) {
    return QStringLiteral("Поле «%1» изменить нельзя.").arg(field);
}
QString textTooLong(const QString &field, int most, qsizetype given) {
    return QStringLiteral("Поле «%1» вмещает не больше %2 знаков, а в тексте их %3. Ничего не сохранено.")
        .arg(field)
        .arg(most)
        .arg(given);
}
QString cannotStoreRow(const QString &set, const QString &path, const QString &why) {
    return QStringLiteral("Новую запись «%1» не удалось сохранить в каталоге \"%2\": %3").arg(set, path, why);
}
QString cannotStoreChange(const QString &set, const QString &path, const QString &why) {
    return QStringLiteral("Изменение «%1» не удалось сохранить в каталоге \"%2\": %3").arg(set, path, why);
}
QString cannotDeleteRow(const QString &set, const QString &path, const QString &why) {
    return QStringLiteral("Запись «%1» не удалось удалить из каталога \"%2\": %3").arg(set, path, why);
}
QString cannotRunQuery(const QString &why) {
    return QStringLiteral("Каталог не может выполнить запрос: %1").arg(why);
}
QString cannotTakeValue(const QString &why) {
    return QStringLiteral("Каталог не принимает значение: %1").arg(why);
}
QString catalogMissing(const QString &path) {
    return QStringLiteral("Файла каталога \"%1\" нет.").arg(path);
}
QString catalogIsFolder(const QString &path) {
    return QStringLiteral("\"%1\" — папка, а не файл каталога Vidoteq.").arg(path);
}
QString catalogEmptyFile(const QString &path) {
    return QStringLiteral("Файл \"%1\" пуст: это не каталог Vidoteq.").arg(path);
}
QString catalogUnreadable(const QString &path, const QString &why) {
    return QStringLiteral("Файл каталога \"%1\" не читается: %2").arg(path, why);
}
QString notACatalog(const QString &path) {
    return QStringLiteral("Файл \"%1\" — не каталог Vidoteq.").arg(path);
}
QString notACatalogMissing(const QString &path, const QString &missing) {
    return QStringLiteral("Файл \"%1\" — не каталог Vidoteq (в нём нет: %2).").arg(path, missing);
}

QString catalogTooNew(const QString &path, int version, int ours) {
    return QStringLiteral("Каталог «%1» сделан более новой версией Vidoteq (версия файла %2, эта программа "
                          "читает до %3). Обновите программу. Файл не изменён.")
        .arg(path)
        .arg(version)
        .arg(ours);
}

QString catalogCannotBeUpgraded(const QString &path, const QString &why) {
    return QStringLiteral("Каталог «%1» не удалось обновить до версии этой программы: %2. Файл не изменён.")
        .arg(path, why);
}
QString catalogCannotOpen(const QString &path, const QString &why) {
    return QStringLiteral("Каталог \"%1\" не открывается: %2").arg(path, why);
}
QString catalogRefusedChange(const QString &path, const QString &why) {
    return QStringLiteral("Каталог \"%1\" не принял изменение: %2").arg(path, why);
}
QString catalogFailure(const QString &what, const QString &path, const QString &why) {
    return QStringLiteral("%1 в каталоге \"%2\": %3").arg(what, path, why);
}
QString tableUnreadable(const QString &table, const QString &path, const QString &why) {
    return QStringLiteral("Таблица «%1» каталога \"%2\" не читается: %3").arg(table, path, why);
}
QString noLanguageChosen() {
    return QStringLiteral("Не выбран язык звука или субтитров.");
}
QString noCp1251Converter() {
    return QStringLiteral("Список не в UTF-8, а перевода из Windows-1251 в системе нет.");
}

// --- the spreadsheet's automation surface ------------------------------------------------------

QString badSheetName(const QString &name) {
    return QStringLiteral("Недопустимое имя листа «%1».").arg(name);
}
QString badFontSize(double size) {
    return QStringLiteral("Недопустимый размер шрифта %1.").arg(size);
}
QString badFontColour(qint64 colour) {
    return QStringLiteral("Недопустимый цвет шрифта %1.").arg(colour);
}
QString widthOnRow(int row) {
    return QStringLiteral("Ширину столбца нельзя задать строке %1.").arg(row);
}
QString badColumnWidth(double width) {
    return QStringLiteral("Недопустимая ширина столбца %1.").arg(width);
}
QString rangeOutsideSheet(bool row, int index) {
    return (row ? QStringLiteral("Строка %1 вне листа.") : QStringLiteral("Столбец %1 вне листа."))
        .arg(index);
}
QString sheetExists(const QString &name) {
    return QStringLiteral("Лист «%1» уже есть.").arg(name);
}
QString cellOutsideSheet(int row, int column) {
    return QStringLiteral("Ячейка (%1, %2) вне листа.").arg(row).arg(column);
}
QString cellTextTooLong(int row, int column) {
    return QStringLiteral("Текст для ячейки (%1, %2) длиннее, чем вмещает ячейка.").arg(row).arg(column);
}
QString noSheet(const QString &which) {
    return QStringLiteral("Нет листа %1.").arg(which);
}
QString badTemplate(int kind) {
    return QStringLiteral("Неизвестный шаблон книги %1.").arg(kind);
}
QString noWorkbook(int index) {
    return QStringLiteral("Нет книги %1.").arg(index);
}

// --- questions and reports of the window ---------------------------------------------------------

QString noCatalogToCopy() {
    return QStringLiteral("Нет открытой базы, с которой можно снять копию.");
}
QString newCatalogExists(const QString &path) {
    return QStringLiteral("Файл %1 уже есть; он не будет заменён.").arg(path);
}
QString importIntoThisCatalog() {
    return QStringLiteral("Добавить в текущею базу?");
}
QString listRowRefused(int lineNo, int before, const QString &reason) {
    return QStringLiteral("Строку %1 списка добавить не удалось: %2 Строки до неё (%3) уже в каталоге; "
                          "строка %1 и следующие — нет.")
        .arg(lineNo)
        .arg(reason)
        .arg(before);
}
QString listNextStart(int lineNo) {
    return QStringLiteral("\nСледующее «To Base» в этот каталог начнётся со строки %1.").arg(lineNo);
}

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

// --- alternative names of a title ---------------------------------------------------------------

QString altNameEmpty() {
    return QStringLiteral("Другое название аниме не может быть пустым.");
}
QString altNameControlCharacter() {
    return QStringLiteral("В другом названии аниме не может быть табуляций, переводов строки и других "
                          "управляющих знаков.");
}
QString altNameIsMainName(const QString &existing) {
    return QStringLiteral("«%1» — основное название этого аниме; другое название должно от него отличаться.")
        .arg(existing);
}
QString altNameTaken(const QString &existing) {
    return QStringLiteral("У этого аниме уже есть другое название «%1».").arg(existing);
}
QString noAltNameWithId(qint64 id) {
    return QStringLiteral("В каталоге нет другого названия с ID %1.").arg(id);
}
QString altNameNotOfTitle(qint64 altId, qint64 titleId) {
    return QStringLiteral("Другое название с ID %1 принадлежит не аниме с ID %2.").arg(altId).arg(titleId);
}
QString altNameAddCaption() {
    return QStringLiteral("Новое название");
}
QString altNameEditCaption() {
    return QStringLiteral("Изменить название");
}
QString altNamePrompt(const QString &title) {
    return QStringLiteral("Другое название аниме «%1»:").arg(title);
}

// --- title filters ----------------------------------------------------------------------------

QString filterNoSuchType(const QString &text) {
    return QStringLiteral("нет типа «%1» (нужен номер или название типа)").arg(text);
}
QString filterNoSuchLanguage(const QString &text) {
    return QStringLiteral("нет языка «%1» (нужен ключ или название языка)").arg(text);
}
QString filterNoSuchCodec(const QString &text) {
    return QStringLiteral("нет кодека «%1» (нужен ключ или название кодека)").arg(text);
}
QString filterNoSuchFormat(const QString &text) {
    return QStringLiteral("нет контейнера «%1» (нужен ключ или название формата)").arg(text);
}
QString filterBadFrame(const QString &text) {
    return QStringLiteral("«%1» — не размер кадра (нужно ШИРИНАxВЫСОТА, например 1280x720)").arg(text);
}
QString filterBadHeight(const QString &text) {
    return QStringLiteral("«%1» — не высота кадра (нужно целое число 0 или больше)").arg(text);
}
QString filterBadDays(const QString &text) {
    return QStringLiteral("«%1» — не число дней (нужно целое число 0 или больше)").arg(text);
}

QString filterShown(const QStringList &shown, const QStringList &all) {
    return QStringLiteral("Показано %1 из %2 · файлов %3 из %4 · %5 из %6 · %7 из %8")
        .arg(shown.value(0), all.value(0), shown.value(1), all.value(1), shown.value(2), all.value(2),
             shown.value(3), all.value(3));
}

// --- where files are: drives and locations -----------------------------------------------------

QString placeUnknown() {
    return QStringLiteral("место неизвестно");
}

QString episodePlaceUnknown(const QString &episode) {
    return QStringLiteral("Где файл серии «%1», неизвестно (место неизвестно). Привяжите папку с ним.")
        .arg(episode);
}

QString driveNotConnected(const QString &name) {
    return QStringLiteral("Диск «%1» не подключён").arg(name);
}

QString folderNotFound(const QString &folder) {
    return QStringLiteral("Папка '%1' не найдена.").arg(folder);
}

QString noVolumeWithId(qint64 id) {
    return QStringLiteral("В каталоге нет диска с ID %1.").arg(id);
}

QString fileNotFoundOnDrive(const QString &path) {
    return QStringLiteral("Файл '%1' не найден на диске. Проверьте файлы диска.").arg(path);
}

QString sureQuestion() {
    return QStringLiteral("Вы уверены?");
}

QString placeLine(const QString &drive, bool online, const QString &folder, const QString &state) {
    return QStringLiteral("Диск «%1» (%2), папка %3: %4")
        .arg(drive, online ? placeOnline() : placeOffline(), folder, state);
}

QString placeOnline() {
    return QStringLiteral("подключён");
}

QString placeOffline() {
    return QStringLiteral("не подключён");
}

QString placeState(const QString &word) {
    static const QHash<QString, QString> words{
        {QStringLiteral("present"), QStringLiteral("на месте")},
        {QStringLiteral("missing"), QStringLiteral("не найден")},
        {QStringLiteral("changed"), QStringLiteral("изменён")},
        {QStringLiteral("moved"), QStringLiteral("перемещён")},
        {QStringLiteral("offline"), QStringLiteral("диск не подключён")},
        {QStringLiteral("unknown"), placeUnknown()}};
    return words.value(word, word);
}

QString checkSummary(qint64 present, qint64 changed, qint64 missing, qint64 moved, qint64 offline) {
    return QStringLiteral(
               "На месте: %1, изменены: %2, не найдены: %3, перемещены: %4, на отключённых дисках: %5")
        .arg(present)
        .arg(changed)
        .arg(missing)
        .arg(moved)
        .arg(offline);
}

QString checkProgress(qint64 done, qint64 total) {
    return QStringLiteral("Проверено %1 из %2").arg(done).arg(total);
}

QString removeMissingQuestion(qint64 missing) {
    return QStringLiteral("Убрать из каталога ненайденные файлы (%1)? %2").arg(missing).arg(sureQuestion());
}

QString forgetVolumeQuestion(const QString &name, qint64 files) {
    return QStringLiteral("Забыть диск «%1»? Его файлы (%2) останутся в каталоге, место неизвестно. %3")
        .arg(name)
        .arg(files)
        .arg(sureQuestion());
}

QString attachSummary(int matched, int ambiguous, int leftEpisodes, int leftFiles) {
    return QStringLiteral("Привязано: %1, неоднозначно: %2, без файла: %3, лишних файлов: %4")
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
        return QStringLiteral("адресу ресурса");
    case 2:
        return QStringLiteral("метке и размеру (нет UUID)");
    default:
        return QStringLiteral("точке монтирования");
    }
}

QString renameVolumePrompt(const QString &name) {
    return QStringLiteral("Имя диска «%1»:").arg(name);
}

// --- desktop conventions -------------------------------------------------------------------------

QString usageOptionNeedsValue(const QString &option) {
    return QStringLiteral("параметру %1 нужно значение").arg(option);
}

QString usageOptionTakesNoValue(const QString &option) {
    return QStringLiteral("параметр %1 не принимает значения").arg(option);
}

QString usageUnknownOption(const QString &option) {
    return QStringLiteral("неизвестный параметр %1").arg(option);
}

QString usageWrongArgumentCount() {
    return QStringLiteral("неверное число аргументов");
}

QString usageNoCommand() {
    return QStringLiteral("не указана команда");
}

QString usageUnknownCommand(const QString &command) {
    return QStringLiteral("неизвестная команда %1").arg(command);
}

QString usageHeader() {
    return QStringLiteral("использование: vidoteq-cli [--catalog ФАЙЛ] КОМАНДА [АРГУМЕНТЫ]\n"
                          "       vidoteq-cli --help | --version\n"
                          "Параметры принимают и вид --параметр=значение; после -- всё — аргументы.\n"
                          "команды:\n");
}

QString usageCommandNeeds(const QString &command, const QString &what) {
    return QStringLiteral("команде %1 нужен %2").arg(command, what);
}

QString usageNotATitleId(const QString &text) {
    return QStringLiteral("'%1' — не номер аниме").arg(text);
}

QString usageNotAnAltNameId(const QString &text) {
    return QStringLiteral("'%1' — не номер другого названия").arg(text);
}

QString usageNotAWholeNumber(const QString &option, const QString &text) {
    return QStringLiteral("%1: '%2' — не целое число").arg(option, text);
}

QString usageNotTogether(const QString &one, const QString &other) {
    return QStringLiteral("%1 и %2 нельзя задать вместе").arg(one, other);
}

QString usageNewCatalogNeedsName() {
    return QStringLiteral("у новой базы должно быть имя");
}

QString usageOutputNeedsName() {
    return QStringLiteral("у файла, в который писать, должно быть имя");
}

QString usageTitleNeedsName() {
    return QStringLiteral("у аниме должно быть название");
}

QString usageUnknownAction(const QString &command, const QString &action) {
    return QStringLiteral("неизвестное действие %1: %2").arg(command, action);
}

QString usageWrongArgumentCountOf(const QString &what) {
    return QStringLiteral("%1: неверное число аргументов").arg(what);
}

QString usageJsonOnlyForList() {
    return QStringLiteral("--json — только для списка названий");
}

QString usageBadSelection(const QString &text) {
    return QStringLiteral("--selection ждёт номера аниме через запятую, а не \"%1\"").arg(text);
}

QString usageBadColumns(const QString &text) {
    return QStringLiteral("--columns ждёт номера столбцов от 0 до 9 через запятую, а не \"%1\"").arg(text);
}

QString usageColumnsNeedSelection() {
    return QStringLiteral("--columns выбирает столбцы выгрузки с --selection");
}

QString usageUnknownField(const QString &field, const QString &fields) {
    return QStringLiteral("неизвестное поле '%1' (поля: %2)").arg(field, fields);
}

QString saveHtmlCaption() {
    return QStringLiteral("Куда сохранить страницу HTML");
}

QString saveSpreadsheetCaption() {
    return QStringLiteral("Куда сохранить таблицу");
}

QString saveNewCatalogCaption() {
    return QStringLiteral("Куда сохранить новую базу");
}

QString fileSavedOpenIt(const QString &path) {
    return QStringLiteral("Создан файл %1\n\nОткрыть его?").arg(path);
}

QString replaceExistingFile(const QString &path) {
    return QStringLiteral("Файл %1 уже есть. Заменить его?").arg(path);
}

QString newCatalogMade(const QString &path) {
    return QStringLiteral("Создана база %1; теперь открыта она.").arg(path);
}

QString convertChooseCaption() {
    return QStringLiteral("Какой каталог Access перенести");
}

QString aboutCaption() {
    return QStringLiteral("О программе");
}

QString aboutText(const QString &version, const QString &catalogPath, int schemaVersion) {
    QString text = QStringLiteral("Vidoteq %1\nКаталог аниме и видеофайлов их серий.\n"
                                  "© Morvik. Все права защищены.\n\n")
                       .arg(version);
    if (catalogPath.isEmpty())
        return text + QStringLiteral("База не открыта.");
    return text + QStringLiteral("База: %1\nВерсия схемы базы: %2").arg(catalogPath).arg(schemaVersion);
}

QString dropHoldsNoFiles() {
    return QStringLiteral("Среди перетащенного нет ни папок, ни файлов.");
}

QString addAllNeedsFiles() {
    return QStringLiteral("Нечего добавлять: выберите папку с сериями в дереве (или перетащите её "
                          "в окно) и щёлкните файл в списке.");
}

QString episodesMissing(const QString &list) {
    return QStringLiteral("нет: %1").arg(list);
}

QString guessFiledUnder(const QString &where, const QString &title, qint64 id, const QString &otherName) {
    const QString to = QStringLiteral("%1 → «%2» (ID %3)").arg(where, title).arg(id);
    return otherName.isEmpty() ? to : to + QStringLiteral(", по другому названию «%1»").arg(otherName);
}

QString otherNameOfferCaption() {
    return QStringLiteral("Другие названия");
}

QString otherNameOffer(const QString &proposed, const QString &title) {
    return QStringLiteral("Имена файлов называют аниме «%1», выбрано «%2».\nДобавить как другое название?")
        .arg(proposed, title);
}

QString guessNoTitle(const QString &where) {
    return QStringLiteral("Из имён файлов не прочитать название аниме: %1").arg(where);
}

QString fileChangedWhileRead() {
    return QStringLiteral("файл изменился, пока его читали");
}

QString hashProgress(qint64 files, qint64 ofFiles, qint64 bytes, qint64 ofBytes) {
    return QStringLiteral("Суммы файлов: %1 из %2, %3 из %4 МБ")
        .arg(files)
        .arg(ofFiles)
        .arg(bytes / 1000000)
        .arg(ofBytes / 1000000);
}

QString hashSummary(qint64 hashed, qint64 same, qint64 changed, qint64 failed, qint64 offline) {
    return QStringLiteral(
               "Посчитано: %1, без изменений: %2, изменились: %3, не прочитаны: %4, ждут диска: %5")
        .arg(hashed)
        .arg(same)
        .arg(changed)
        .arg(failed)
        .arg(offline);
}

QString verifySummary(qint64 withChecksum, qint64 match, qint64 mismatch, qint64 changed, qint64 pending) {
    return QStringLiteral("С суммой в имени: %1, совпадают: %2, не совпадают: %3, изменились: %4, ещё не "
                          "посчитаны: %5")
        .arg(withChecksum)
        .arg(match)
        .arg(mismatch)
        .arg(changed)
        .arg(pending);
}

QString duplicateKind(bool acrossTitles) {
    return acrossTitles ? QStringLiteral("в разных аниме") : QStringLiteral("копии");
}

QString duplicateGroupLine(qint64 files, qint64 bytes, const QString &kind) {
    return QStringLiteral("%1 файла по %2 байт, %3").arg(files).arg(bytes).arg(kind);
}

QString duplicatesNone() {
    return QStringLiteral("Одинаковых файлов нет.");
}

QString episodeCopies(int copies) {
    return QStringLiteral("копий: %1").arg(copies);
}

} // namespace vq::msg
