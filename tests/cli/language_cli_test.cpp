#include "catalog/language.h"
#include "support/cli_run.h"
#include "support/temp_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vq;

namespace {

// The tool as a user starts it: its language from the locale, VIDOTEQ_LANGUAGE or the setting.
TEST(LanguageCli, TheToolSpeaksTheChosenLanguage) {
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vidoteq-cli");
    QTemporaryDir config;
    struct Case {
        const char *lcAll, *lang, *forced, *setting;
        const char *says;
    } cases[] = {
        {"", "en_US.UTF-8", "", "", "vidoteq-cli: unknown command bogus\n"},
        {"", "de_DE.UTF-8", "", "", "vidoteq-cli: unknown command bogus\n"},
        {"C.UTF-8", "en_US.UTF-8", "", "", "vidoteq-cli: неизвестная команда bogus\n"},
        {"", "ru_RU.UTF-8", "", "", "vidoteq-cli: неизвестная команда bogus\n"},
        {"", "", "", "", "vidoteq-cli: неизвестная команда bogus\n"},
        {"", "ru_RU.UTF-8", "en", "", "vidoteq-cli: unknown command bogus\n"},
        {"", "en_US.UTF-8", "", "ru", "vidoteq-cli: неизвестная команда bogus\n"},
        {"", "ru_RU.UTF-8", "", "en", "vidoteq-cli: unknown command bogus\n"},
    };
    for (const Case &c : cases) {
        QDir(config.path()).mkpath(QStringLiteral("Morvik"));
        QFile ini(config.filePath(QStringLiteral("Morvik/Vidoteq.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("[View]\nLanguage=") + c.setting + '\n');
        ini.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG", "VIDOTEQ_LANGUAGE"})
            env.remove(QString::fromLatin1(var));
        const std::pair<const char *, const char *> set[] = {
            {"LC_ALL", c.lcAll}, {"LANG", c.lang}, {"VIDOTEQ_LANGUAGE", c.forced}};
        for (const auto &[var, value] : set)
            if (*value)
                env.insert(QString::fromLatin1(var), QString::fromLatin1(value));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(tool, {QStringLiteral("bogus")});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QString::fromUtf8(c.says)))
            << c.lcAll << "|" << c.lang << "|" << c.forced << "|" << c.setting << ": " << err.toStdString();
    }
}

// The export's captions follow the language; the titles and the catalog's names are data.
TEST(LanguageCli, TheHtmlExportIsWrittenInTheLanguage) {
    test::isolateSettings();
    test::TempCatalog cat;
    const qint64 id = cat.addTitle(QStringLiteral("Берсерк"), QStringLiteral("25"), QString(), 3);
    cat.addEpisode(id, {.name = QStringLiteral("b1.mkv"), .size = 1048576.0, .sound = 0});
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("list.html"));
    auto page = [&] {
        const test::CliRun r =
            test::runCli({QStringLiteral("--catalog"), cat.path(), QStringLiteral("export-html"), out});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QFile f(out);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    struct Case {
        lang::Language language;
        QStringList has, hasNot;
    } cases[] = {
        {lang::Language::English,
         {QStringLiteral("<b>Title </b>"), QStringLiteral("<b>Running time </b>"),
          QStringLiteral("<b>Comment </b>"), QStringLiteral("Total:  1"), QStringLiteral("Берсерк"),
          QStringLiteral("Японский")},
         {QStringLiteral("Название"), QStringLiteral("Всего")}},
        {lang::Language::Russian,
         {QStringLiteral("<b>Название </b>"), QStringLiteral("<b>Длительность </b>"),
          QStringLiteral("<b>Комментарий </b>"), QStringLiteral("Всего:  1")},
         {QStringLiteral("Title"), QStringLiteral("Total")}},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(lang::install(c.language));
        const QString html = page();
        for (const QString &s : c.has)
            EXPECT_TRUE(html.contains(s)) << s.toStdString();
        for (const QString &s : c.hasNot)
            EXPECT_FALSE(html.contains(s)) << s.toStdString();
    }
}

} // namespace
