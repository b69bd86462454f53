#include "messages.h"

namespace vq::msg {

// --- catalog: files, connection, data sets, values --------------------------------------------

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

// --- old catalogs (.mdb) ----------------------------------------------------------------------

// --- exports ----------------------------------------------------------------------------------

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

} // namespace vq::msg
