#pragma once

#include <QByteArray>
#include <QString>

class QSettings;

namespace vq::lang {

// The language of the window, the tool's output, the messages and the exports. The texts in the
// code are the Russian ones; English comes from the catalogue of translations built into the program.
enum class Language { Russian, English };

// A locale name as the environment gives it ("en_US.UTF-8", "ru_RU", "C.UTF-8"): Russian for "ru"
// and for the C/POSIX locale or none (the program's own texts), English for any other language.
Language fromLocaleName(const QByteArray &name);

// The desktop's language: the first of LC_ALL, LC_MESSAGES and LANG that is set.
Language fromEnvironment();

// "ru" or "en" force a language; anything else ("auto", empty) leaves it to the environment.
// VIDOTEQ_LANGUAGE (ru|en) comes before the setting, the setting ([View] Language) before the locale.
Language chosen(QSettings &settings);

// Installs the program's and Qt's own translations for `language` (removing those of an earlier
// call). Returns false when a translation that English needs could not be loaded.
bool install(Language language);

// The language installed last (Russian before any install).
Language current();

inline const char *kSettingKey = "View/Language";

} // namespace vq::lang
