// Commands over the catalog itself: making one, a new one, the summary, episodes and totals.
#include "cli.h"

#include "browser/summary.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "ops/titleops.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace vq::cli {

namespace {

// A catalog that can only be read is still read; the tool says so on stderr, once.
void noteReadOnly(Context &c) {
    if (c.session().isReadOnly())
        c.err << msg::catalogOpenedReadOnly(c.session().path()) << '\n';
}

int cmdInit(Context &c) {
    const QString path = c.positional(1, 1).first();
    Catalog::createStarter(path);
    c.out << QFileInfo(path).absoluteFilePath() << '\n';
    return 0;
}

int cmdNewCatalog(Context &c) {
    const QString name = c.positional(1, 1).first();
    if (name.isEmpty())
        throw UsageError(QStringLiteral("the new catalog needs a name"));
    CatalogSession &s = c.session();
    const QString newPath = CatalogSession::newCatalogPath(QDir::currentPath(), name);
    s.makeNewCatalog(newPath);
    rememberCatalogPath(newPath);
    c.out << newPath << '\n';
    return 0;
}

const char *const kTitleKeys[] = {"Title",       "TypeText",  "EpisodeCount", "SizeText",   "DurationText",
                                  "QualityText", "SoundText", "SubInText",    "SubExtText", "CommentText"};

int cmdTitles(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const auto search = c.takeOption(QStringLiteral("--search"));
    c.positional(0, 0);
    CatalogSession &s = c.session();
    noteReadOnly(c);
    Catalog::ReadSnapshot snapshot(s.catalog());
    UpStat(s); // the stored queries as every refresh computes them
    s.Name.setFiltered(false);
    if (search && !search->isEmpty()) {
        s.Name.setFilter(Filter::prefix(QStringLiteral("Название"), *search));
        s.Name.setFiltered(true);
    }
    QJsonArray rows;
    TExportList texts;
    const int n = s.Name.recordCount();
    for (int recNo = 1; recNo <= n; ++recNo) {
        SummaryTexts(s, recNo, texts);
        const qint64 id = s.Name.asInteger(0);
        if (json) {
            QJsonObject o;
            for (int f = 0; f < TExportList::FieldCount; ++f)
                o.insert(QString::fromUtf8(kTitleKeys[f]), texts.field(f));
            o.insert(QStringLiteral("ID"), id);
            rows.append(o);
        } else {
            QStringList fields;
            for (int f = 0; f < TExportList::FieldCount; ++f)
                fields << texts.field(f);
            fields << QString::number(id);
            c.printTsv(fields);
        }
    }
    if (json)
        c.printJson(rows);
    return 0;
}

int cmdEpisodes(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const auto idText = c.takeOption(QStringLiteral("--title-id"));
    c.positional(0, 0);
    if (!idText)
        throw UsageError(QStringLiteral("episodes needs --title-id ID"));
    bool ok = false;
    const qint64 id = idText->toLongLong(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("'%1' is not a title ID").arg(*idText));
    CatalogSession &s = c.session();
    noteReadOnly(c);
    Catalog::ReadSnapshot snapshot(s.catalog());
    // Asked of the file: the other titles are not read for this.
    if (!ops::titleExists(s, id))
        throw Error(msg::noTitleWithId(id));
    s.Series.setFilter(Filter::equals(QStringLiteral("Название"), id));
    s.Series.setFiltered(true);
    const QStringList fields = {QStringLiteral("Серия"),  QStringLiteral("Size"),  QStringLiteral("Размеры"),
                                QStringLiteral("Time"),   QStringLiteral("Sound"), QStringLiteral("Sub_In"),
                                QStringLiteral("Sub_Ext")};
    QJsonArray rows;
    const int n = s.Series.recordCount();
    for (int recNo = 1; recNo <= n; ++recNo) {
        s.Series.setRecNo(recNo);
        if (json) {
            QJsonObject o;
            for (const QString &f : fields)
                o.insert(f, s.Series.asString(f));
            o.insert(QStringLiteral("ID"), s.Series.asInteger(QStringLiteral("ID")));
            rows.append(o);
        } else {
            QStringList values;
            for (const QString &f : fields)
                values << s.Series.asString(f);
            values << s.Series.asString(QStringLiteral("ID"));
            c.printTsv(values);
        }
    }
    if (json)
        c.printJson(rows);
    return 0;
}

int cmdStats(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    c.positional(0, 0);
    noteReadOnly(c);
    Catalog::ReadSnapshot snapshot(c.session().catalog());
    const CatalogStats st = UpStat(c.session());
    if (json) {
        QJsonObject o;
        o.insert(QStringLiteral("LCount"), st.LCount);
        o.insert(QStringLiteral("LCE"), st.LCE);
        o.insert(QStringLiteral("LSize"), st.LSize);
        o.insert(QStringLiteral("LTime"), st.LTime);
        c.printJson(o);
    } else {
        c.printTsv({st.LCount, st.LCE, st.LSize, st.LTime});
    }
    return 0;
}

const Command init("init", "init FILE", cmdInit);
const Command newCatalog("new-catalog", "new-catalog NAME", cmdNewCatalog);
const Command titles("titles", "titles [--search PREFIX] [--json]", cmdTitles);
const Command episodes("episodes", "episodes --title-id ID [--json]", cmdEpisodes);
const Command stats("stats", "stats [--json]", cmdStats);

} // namespace

} // namespace vq::cli
