#include "window_fixture.h"

#include "catalog/language.h"
#include "tfmastera.h"
#include "tselform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>

using namespace vq;
using namespace vq::test;

namespace {

// Every text a widget and its children show: captions, items, headers and cells, tooltips,
// accessible names, the actions of menus; each with where it was found.
void collectTexts(QWidget *root, QList<std::pair<QString, QString>> &out) {
    auto add = [&](const QObject *o, const char *what, const QString &text) {
        if (!text.isEmpty())
            out.append({o->objectName() + QLatin1Char(' ') + QLatin1String(o->metaObject()->className()) +
                            QLatin1Char(' ') + QLatin1String(what),
                        text});
    };
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        add(w, "toolTip", w->toolTip());
        add(w, "accessibleName", w->accessibleName());
        add(w, "windowTitle", w->windowTitle());
        add(w, "statusTip", w->statusTip());
        for (QAction *a : w->actions()) {
            add(a, "action", a->text());
            add(a, "action toolTip", a->toolTip());
        }
        if (auto *l = qobject_cast<QLabel *>(w))
            add(w, "text", l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(w, "text", b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(w, "title", g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            add(w, "text", e->text());
            add(w, "placeholder", e->placeholderText());
        }
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                add(w, "item", c->itemText(i));
        if (auto *t = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                add(w, "tab", t->tabText(i));
        if (auto *p = qobject_cast<QProgressBar *>(w))
            add(w, "text", p->text());
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model()) {
            const QAbstractItemModel *m = v->model();
            for (int c = 0; c < m->columnCount(); ++c) {
                add(w, "header", m->headerData(c, Qt::Horizontal).toString());
                for (int r = 0; r < std::min(m->rowCount(), 50); ++r) {
                    add(w, "cell", m->index(r, c).data().toString());
                    add(w, "cell toolTip", m->index(r, c).data(Qt::ToolTipRole).toString());
                }
            }
        }
    }
}

bool hasCyrillic(const QString &s) {
    return std::any_of(s.begin(), s.end(),
                       [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

class LanguageWindow : public WindowTest {
protected:
    void TearDown() override {
        WindowTest::TearDown();
        lang::install(lang::Language::Russian); // the other tests assert the Russian texts
    }

    // A catalog whose own texts are Latin but for the starter languages, which are data.
    void fill() {
        const qint64 id = cat.addTitle(QStringLiteral("Cowboy Bebop"), QStringLiteral("26"),
                                       QStringLiteral("space western"), 3);
        for (int e = 1; e <= 3; ++e)
            cat.addEpisode(id,
                           {.name = QStringLiteral("Cowboy Bebop - %1.mkv").arg(e, 2, 10, QLatin1Char('0')),
                            .size = 367001600.0,
                            .width = 640,
                            .height = 480,
                            .durationMs = 1440000,
                            .sound = 0,
                            .subIn = 1,
                            .subExt = 2});
        cat.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QString(), 2);
        for (const QString &table : {QStringLiteral("\"Sub\""), QStringLiteral("\"Тип\"")}) {
            const QString column =
                table == QLatin1String("\"Sub\"") ? QStringLiteral("\"Язык\"") : QStringLiteral("\"Тип\"");
            dataNames +=
                cat.scalar(QStringLiteral("SELECT group_concat(%1, char(31)) FROM %2").arg(column, table))
                    .split(QChar(31));
        }
        std::sort(dataNames.begin(), dataNames.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
    }

    // The texts of the window on every page, of the export chooser and of the import wizard.
    QList<std::pair<QString, QString>> everyText() {
        QList<std::pair<QString, QString>> texts;
        QTabWidget *pages = win->PageControl1();
        for (int p = 0; p < pages->count(); ++p) {
            pages->setCurrentIndex(p);
            QCoreApplication::processEvents();
            collectTexts(win.get(), texts);
        }
        ExportColumnChoice choice{};
        TSelForm chooser(choice, win.get());
        collectTexts(&chooser, texts);
        TFMasterA wizard(*win);
        collectTexts(&wizard, texts);
        return texts;
    }

    TempCatalog cat;
    QStringList dataNames;
};

TEST_F(LanguageWindow, InEnglishNoTextIsCyrillicButTheCatalogsData) {
    fill();
    ASSERT_TRUE(lang::install(lang::Language::English));
    ASSERT_TRUE(startOn(cat));
    const QList<std::pair<QString, QString>> texts = everyText();
    ASSERT_GT(texts.size(), 200);
    QStringList seen;
    for (const auto &[where, text] : texts) {
        QString rest = text;
        for (const QString &name : dataNames)
            rest.remove(name);
        EXPECT_FALSE(hasCyrillic(rest)) << where.toStdString() << ": " << text.toStdString();
        seen << text;
    }
    // The window did show its English texts, on each page.
    for (const char *s :
         {"Episode details", "Summary table", "Statistics", "Add new", "More", "Drives", "&File", "Title",
          "Add all", "Show all", "Other names", "Select all", "List Import Wizard"})
        EXPECT_TRUE(seen.contains(QString::fromUtf8(s))) << s;
}

// Under the C locale the window is the Russian one, with Qt's own Russian texts.
TEST_F(LanguageWindow, InRussianTheTextsAreTheSeeds) {
    fill();
    ASSERT_TRUE(lang::install(lang::Language::Russian));
    ASSERT_TRUE(startOn(cat));
    QStringList tabs;
    for (int p = 0; p < win->PageControl1()->count(); ++p)
        tabs << win->PageControl1()->tabText(p);
    EXPECT_EQ(tabs, QStringList({"Информация по сериям", "Сводная таблица", "Статистика", "Добавить новое",
                                 "Дополнительно", "Диски"}));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Да"));
}

} // namespace
