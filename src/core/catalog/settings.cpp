#include "settings.h"

#include <QDir>
#include <QFileInfo>
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

namespace {
QString recentKey(int i) {
    return QStringLiteral("Recent/File%1").arg(i + 1);
}
} // namespace

void rememberCatalogPath(const QString &path) {
    auto s = openSettings();
    s->setValue(QStringLiteral("View/Data"), path);
    QStringList recent = recentCatalogPaths();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    for (int i = 0; i < kRecentCatalogs; ++i) {
        if (i < recent.size())
            s->setValue(recentKey(i), recent.at(i));
        else
            s->remove(recentKey(i));
    }
    s->sync();
}

QStringList recentCatalogPaths() {
    auto s = openSettings();
    QStringList out;
    for (int i = 0; i < kRecentCatalogs; ++i) {
        const QString p = s->value(recentKey(i)).toString();
        if (!p.isEmpty() && !out.contains(p))
            out << p;
    }
    return out;
}

QString saveStartFolder(const QString &startDir) {
    const QFileInfo start(startDir);
    if (!startDir.isEmpty() && start.isDir() && start.isWritable())
        return start.absoluteFilePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString starterCatalogPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir).filePath(QStringLiteral("vidoteq.vdq"));
}

} // namespace vq
