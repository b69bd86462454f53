#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <optional>

namespace vq::lang {

namespace {
Language g_current = Language::Russian;
QTranslator *g_own = nullptr;
QTranslator *g_qt = nullptr;

std::optional<Language> forced(const QString &word) {
    const QString w = word.trimmed().toLower();
    if (w == QLatin1String("ru"))
        return Language::Russian;
    if (w == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

void drop(QTranslator *&t) {
    if (!t)
        return;
    QCoreApplication::removeTranslator(t);
    delete t;
    t = nullptr;
}
} // namespace

Language fromLocaleName(const QByteArray &name) {
    QByteArray lang = name;
    for (char stop : {'.', '@', '_'}) {
        const qsizetype at = lang.indexOf(stop);
        if (at >= 0)
            lang.truncate(at);
    }
    lang = lang.trimmed().toLower();
    if (lang.isEmpty() || lang == "c" || lang == "posix" || lang == "ru")
        return Language::Russian;
    return Language::English;
}

Language fromEnvironment() {
    for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(var);
        if (!value.isEmpty())
            return fromLocaleName(value);
    }
    return Language::Russian;
}

Language chosen(QSettings &settings) {
    if (const auto env = forced(qEnvironmentVariable("VIDOTEQ_LANGUAGE")))
        return *env;
    if (const auto set = forced(settings.value(QLatin1String(kSettingKey)).toString()))
        return *set;
    return fromEnvironment();
}

bool install(Language language) {
    drop(g_own);
    drop(g_qt);
    g_current = language;
    const QString qtDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Qt's own dialogs (Yes/No, the file dialog) speak the window's language; Qt's English is its
    // source text, so only Russian needs its catalogue.
    g_qt = new QTranslator;
    const bool qtLoaded = g_qt->load(
        language == Language::Russian ? QStringLiteral("qtbase_ru") : QStringLiteral("qtbase_en"), qtDir);
    if (qtLoaded)
        QCoreApplication::installTranslator(g_qt);
    else
        drop(g_qt);
    bool ok = qtLoaded || language == Language::English;
    if (language == Language::English) {
        g_own = new QTranslator;
        if (g_own->load(QStringLiteral(":/i18n/vidoteq_en.qm"))) {
            QCoreApplication::installTranslator(g_own);
        } else {
            drop(g_own);
            ok = false;
        }
    }
    return ok;
}

Language current() {
    return g_current;
}

} // namespace vq::lang
