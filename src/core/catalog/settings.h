#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace vq {

// The program's settings store (the INI file of openSettings).
using Settings = QSettings;

// The program's settings file (the INI file that stands in for the registry key Software\Morvik).
std::unique_ptr<QSettings> openSettings();

// Integer and boolean values are stored as text; missing or unparsable text gives the default.
int readIntSetting(QSettings &s, const QString &key, int def);
bool readBoolSetting(QSettings &s, const QString &key, bool def);
void writeIntSetting(QSettings &s, const QString &key, int value);
void writeBoolSetting(QSettings &s, const QString &key, bool value);

// "Data" of "View": the path of the catalog last opened.
QString rememberedCatalogPath();
void rememberCatalogPath(const QString &path);

// Where the first catalog is made when none is remembered.
QString starterCatalogPath();

// The catalogs opened last, the latest first, at most kRecentCatalogs (group "Recent"); opening a
// catalog (rememberCatalogPath) puts it first.
inline constexpr int kRecentCatalogs = 10;
QStringList recentCatalogPaths();

// Where a save dialog starts: `startDir` when the program may write there, otherwise the user's
// documents folder (the home folder when there is none).
QString saveStartFolder(const QString &startDir);

} // namespace vq
