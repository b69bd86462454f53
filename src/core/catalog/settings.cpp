#include "settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vq {

std::unique_ptr<QSettings> openSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Morvik"),
                                       QStringLiteral("Vidoteq"));
}

int readIntSetting(QSettings &s, const QString &key, int def) {
    const QVariant v = s.value(key);
    if (!v.isValid())
        return def;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : def;
}

bool readBoolSetting(QSettings &s, const QString &key, bool def) {
    const QVariant v = s.value(key);
    if (!v.isValid())
        return def;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n != 0 : def;
}

void writeIntSetting(QSettings &s, const QString &key, int value) {
    s.setValue(key, QString::number(value));
}

void writeBoolSetting(QSettings &s, const QString &key, bool value) {
    s.setValue(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString rememberedCatalogPath() {
    auto s = openSettings();
    return s->value(QStringLiteral("View/Data")).toString();
}

void rememberCatalogPath(const QString &path) {
    auto s = openSettings();
    s->setValue(QStringLiteral("View/Data"), path);
    s->sync();
}

QString starterCatalogPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir).filePath(QStringLiteral("vidoteq.vdq"));
}

} // namespace vq
