// Commands over the catalog itself: making one, a new one, the summary, episodes and totals.
#include "cli.h"

#include "browser/chartseries.h"
#include "browser/filterview.h"
#include "browser/summary.h"
#include "catalog/formats.h"
#include "catalog/messages.h"
#include "catalog/settings.h"
#include "intake/mediaprobe.h"
#include "intake/releasename.h"
#include "ops/titleops.h"
#include "places/mounts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <array>

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
        throw UsageError(msg::usageNewCatalogNeedsName());
    CatalogSession &s = c.session();
    const QString newPath = CatalogSession::newCatalogPath(QDir::currentPath(), name);
    s.makeNewCatalog(newPath);
    rememberCatalogPath(newPath);
    c.out << newPath << '\n';
    return 0;
}

const char *const kTitleKeys[] = {"Title",       "TypeText",  "EpisodeCount", "SizeText",   "DurationText",
                                  "QualityText", "SoundText", "SubInText",    "SubExtText", "CommentText"};

// The filter options of `titles` and `stats`, as typed: they are checked once the catalog is open.
struct FilterOptions {
    std::optional<QString> type, sound, subIn, subExt, minHeight, frame, videoCodec, audioCodec, format,
        since;
    std::optional<QString> search, contains;
    bool empty = false;
    bool incomplete = false;
    bool duplicates = false, singleCopy = false;
};

FilterOptions takeFilterOptions(Context &c) {
    FilterOptions o;
    o.type = c.takeOption(QStringLiteral("--type"));
    o.sound = c.takeOption(QStringLiteral("--sound"));
    o.subIn = c.takeOption(QStringLiteral("--sub-in"));
    o.subExt = c.takeOption(QStringLiteral("--sub-ext"));
    o.minHeight = c.takeOption(QStringLiteral("--min-height"));
    o.frame = c.takeOption(QStringLiteral("--frame"));
    o.videoCodec = c.takeOption(QStringLiteral("--video-codec"));
    o.audioCodec = c.takeOption(QStringLiteral("--audio-codec"));
    o.format = c.takeOption(QStringLiteral("--format"));
    o.since = c.takeOption(QStringLiteral("--since"));
    o.search = c.takeOption(QStringLiteral("--search"));
    o.contains = c.takeOption(QStringLiteral("--contains"));
    o.empty = c.takeFlag(QStringLiteral("--empty"));
    o.incomplete = c.takeFlag(QStringLiteral("--incomplete"));
    o.duplicates = c.takeFlag(QStringLiteral("--duplicates"));
    o.singleCopy = c.takeFlag(QStringLiteral("--single-copy"));
    if (o.search && o.contains)
        throw UsageError(msg::usageNotTogether(QStringLiteral("--search"), QStringLiteral("--contains")));
    return o;
}

[[noreturn]] void badOption(const char *option, const QString &why) {
    throw Error(QLatin1String(option) + QStringLiteral(": ") + why);
}

template <typename Key, typename Find>
std::optional<Key> lookUp(Catalog &catalog, const std::optional<QString> &text, const char *option, Find find,
                          QString (*unknown)(const QString &)) {
    if (!text)
        return std::nullopt;
    const std::optional<Key> key = find(catalog, *text);
    if (!key)
        badOption(option, unknown(*text));
    return key;
}

std::optional<int> nonNegative(const std::optional<QString> &text, const char *option,
                               QString (*bad)(const QString &)) {
    if (!text)
        return std::nullopt;
    const std::optional<qint32> n = parseInt32(text->trimmed());
    if (!n || *n < 0)
        badOption(option, bad(*text));
    return *n;
}

TitleFilter resolveFilter(Catalog &catalog, const FilterOptions &o) {
    TitleFilter f;
    // Plain numbers first: a typing error is reported before the catalog is asked anything.
    f.minHeight = nonNegative(o.minHeight, "--min-height", msg::filterBadHeight);
    f.sinceDays = nonNegative(o.since, "--since", msg::filterBadDays);
    if (o.frame) {
        const auto frame = parseFrameSize(*o.frame);
        if (!frame)
            badOption("--frame", msg::filterBadFrame(*o.frame));
        f.frameWidth = frame->first;
        f.frameHeight = frame->second;
    }
    f.type = lookUp<int>(catalog, o.type, "--type", findType, msg::filterNoSuchType);
    f.sound = lookUp<qint64>(catalog, o.sound, "--sound", findLanguage, msg::filterNoSuchLanguage);
    f.subIn = lookUp<qint64>(catalog, o.subIn, "--sub-in", findLanguage, msg::filterNoSuchLanguage);
    f.subExt = lookUp<qint64>(catalog, o.subExt, "--sub-ext", findLanguage, msg::filterNoSuchLanguage);
    f.videoCodec = lookUp<qint64>(catalog, o.videoCodec, "--video-codec", findCodec, msg::filterNoSuchCodec);
    f.audioCodec = lookUp<qint64>(catalog, o.audioCodec, "--audio-codec", findCodec, msg::filterNoSuchCodec);
    f.format = lookUp<qint64>(catalog, o.format, "--format", findFormat, msg::filterNoSuchFormat);
    f.empty = o.empty;
    f.incomplete = o.incomplete;
    f.duplicates = o.duplicates;
    f.singleCopy = o.singleCopy;
    if (o.search)
        f.name = *o.search;
    if (o.contains) {
        f.name = *o.contains;
        f.anywhere = true;
    }
    return f;
}

#define VQ_FILTER_USAGE                                                                                      \
    "[--type T] [--sound L] [--sub-in L] [--sub-ext L] [--min-height H] [--frame WxH] [--video-codec C] "    \
    "[--audio-codec C] [--format F] [--since DAYS] [--empty] [--incomplete] [--duplicates] [--single-copy] " \
    "[--search PREFIX | --contains "                                                                         \
    "TEXT]"

int cmdTitles(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const FilterOptions options = takeFilterOptions(c);
    c.positional(0, 0);
    CatalogSession &s = c.session();
    noteReadOnly(c);
    Catalog::ReadSnapshot snapshot(s.catalog());
    const TitleFilter filter = resolveFilter(s.catalog(), options);
    const FilterResult found = narrowTitles(s, filter).found;
    SummaryReader reader(s);
    const size_t n = reader.records();
    const int parts = SummaryReader::partsFor(qsizetype(n));
    // Formatted in the order the titles are stored, printed in name order.
    if (json) {
        std::vector<QJsonObject> objects(n);
        reader.textsInStoredOrder(parts, [&](int, int recNo, qint64 id, const TExportList &texts) {
            QJsonObject &o = objects[size_t(recNo - 1)];
            for (int f = 0; f < TExportList::FieldCount; ++f)
                o.insert(QString::fromUtf8(kTitleKeys[f]), texts.field(f));
            o.insert(QStringLiteral("ID"), id);
            // Found by another of its names: that name, as the summary shows it beside the title.
            if (const auto alt = found.altNames.constFind(id); alt != found.altNames.cend())
                o.insert(QStringLiteral("AltName"), *alt);
        });
        QJsonArray rows;
        for (const QJsonObject &o : objects)
            rows.append(o);
        c.printJson(rows);
        return 0;
    }
    // One buffer for each part, since the parts are formatted at once.
    std::vector<QString> lines(static_cast<size_t>(parts));
    // About a line's length each: growing would copy them all again.
    for (QString &l : lines)
        l.reserve(qsizetype(n / size_t(parts) + 1) * 128);
    struct Line {
        int part;
        qsizetype from, length;
    };
    std::vector<Line> lineOf(n); // by record
    reader.textsInStoredOrder(parts, [&](int part, int recNo, qint64 id, const TExportList &texts) {
        const QString idText = QString::number(id);
        std::array<QStringView, TExportList::FieldCount + 1> fields;
        for (int f = 0; f < TExportList::FieldCount; ++f)
            fields[size_t(f)] = texts.field(f);
        fields.back() = idText;
        QString &to = lines[size_t(part)];
        const qsizetype from = to.size();
        Context::appendTsv(to, fields);
        lineOf[size_t(recNo - 1)] = {part, from, to.size() - from};
    });
    for (const Line &l : lineOf)
        c.out << QStringView(lines[size_t(l.part)]).sliced(l.from, l.length);
    return 0;
}

int cmdEpisodes(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const auto idText = c.takeOption(QStringLiteral("--title-id"));
    c.positional(0, 0);
    if (!idText)
        throw UsageError(msg::usageCommandNeeds(QStringLiteral("episodes"), QStringLiteral("--title-id ID")));
    bool ok = false;
    const qint64 id = idText->toLongLong(&ok);
    if (!ok)
        throw UsageError(msg::usageNotATitleId(*idText));
    CatalogSession &s = c.session();
    noteReadOnly(c);
    Catalog::ReadSnapshot snapshot(s.catalog());
    // Asked of the file: the other titles are not read for this.
    if (!ops::titleExists(s, id))
        throw Error(msg::noTitleWithId(id));
    const QStringList fields = {QStringLiteral("Серия"),  QStringLiteral("Size"),  QStringLiteral("Размеры"),
                                QStringLiteral("Time"),   QStringLiteral("Sound"), QStringLiteral("Sub_In"),
                                QStringLiteral("Sub_Ext")};
    QJsonArray rows;
    for (const EpisodeTexts &e : titleEpisodeTexts(s.catalog(), id)) {
        if (json) {
            QJsonObject o;
            for (int f = 0; f < 7; ++f)
                o.insert(fields[f], e.texts[size_t(f)]);
            o.insert(QStringLiteral("ID"), e.id);
            // What the file's name says; null where it says nothing.
            o.insert(QStringLiteral("Number"), e.number >= 0 ? QJsonValue(e.number) : QJsonValue());
            o.insert(QStringLiteral("Kind"), releaseKindWord(ReleaseKind(e.kind)));
            o.insert(QStringLiteral("Version"), e.version > 0 ? QJsonValue(e.version) : QJsonValue());
            o.insert(QStringLiteral("Group"), e.group);
            rows.append(o);
        } else {
            QStringList values(e.texts.begin(), e.texts.end());
            values << QString::number(e.id);
            c.printTsv(values);
        }
    }
    if (json)
        c.printJson(rows);
    return 0;
}

// A chart's series as the window draws it: Key, Files, Bytes, and what a point says besides.
QJsonArray seriesJson(const std::vector<ChartPoint> &points, bool frames = false, bool drives = false) {
    QJsonArray out;
    for (const ChartPoint &p : points) {
        QJsonObject o{{QStringLiteral("Key"), p.key},
                      {QStringLiteral("Files"), double(p.files)},
                      {QStringLiteral("Bytes"), p.bytes}};
        if (frames)
            o.insert(QStringLiteral("Class"), heightClass(p.height));
        if (drives)
            o.insert(QStringLiteral("Online"), p.online);
        out.append(o);
    }
    return out;
}

int cmdStats(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const FilterOptions options = takeFilterOptions(c);
    c.positional(0, 0);
    noteReadOnly(c);
    Catalog::ReadSnapshot snapshot(c.session().catalog());
    const TitleFilter filter = resolveFilter(c.session().catalog(), options);
    const CatalogStats st = UpStat(c.session());
    QStringList fields{st.LCount, st.LCE, st.LSize, st.LTime};
    // With a filter, the same four texts follow for the titles it shows.
    QStringList shown;
    FilterResult found;
    if (!filter.isEmpty()) {
        found = applyTitleFilter(c.session().catalog(), filter);
        shown = shownTexts(found);
    }
    if (json) {
        QJsonObject o;
        const char *const keys[] = {"LCount", "LCE", "LSize", "LTime"};
        const char *const shownKeys[] = {"ShownCount", "ShownFiles", "ShownSize", "ShownTime"};
        for (int i = 0; i < 4; ++i)
            o.insert(QString::fromUtf8(keys[i]), fields[i]);
        for (int i = 0; i < shown.size(); ++i)
            o.insert(QString::fromUtf8(shownKeys[i]), shown[i]);
        // The charts' series, of the titles the filters leave when there are filters.
        const ChartSeries series = chartSeries(c.session().catalog(), places::Mounts::current(),
                                               filter.isEmpty() ? nullptr : &found.ids);
        o.insert(QStringLiteral("ByType"), seriesJson(series.byType));
        o.insert(QStringLiteral("ByDrive"), seriesJson(series.byDrive, false, true));
        o.insert(QStringLiteral("ByHeight"), seriesJson(series.byHeight, true));
        o.insert(QStringLiteral("ByVideoCodec"), seriesJson(series.byVideoCodec));
        o.insert(QStringLiteral("ByMonth"), seriesJson(series.byMonth));
        c.printJson(o);
    } else {
        c.printTsv(fields + shown);
    }
    return 0;
}

const Command init("init", "init FILE", cmdInit);
const Command newCatalog("new-catalog", "new-catalog NAME", cmdNewCatalog);
const Command titles("titles", "titles " VQ_FILTER_USAGE " [--json]", cmdTitles);
const Command episodes("episodes", "episodes --title-id ID [--json]", cmdEpisodes);
const Command stats("stats", "stats " VQ_FILTER_USAGE " [--json]", cmdStats);

} // namespace

} // namespace vq::cli
