// Probing media files and adding them as episodes, as the window's page "Добавить новое" does.
#include "cli.h"

#include "intake/episodes.h"
#include "intake/folderscan.h"
#include "intake/mediaprobe.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace vq::cli {

namespace {

// Files and folders must all be there before anything is probed or written.
void requireExisting(const QStringList &paths, bool foldersToo) {
    for (const QString &p : paths) {
        const QFileInfo info(p);
        if (!info.exists())
            throw Error(QStringLiteral("%1: no such file").arg(p));
        if (info.isDir() && !foldersToo)
            throw Error(QStringLiteral("%1: is a folder, not a file").arg(p));
    }
}

int cmdProbe(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const QStringList files = c.positional(1, -1);
    requireExisting(files, false);
    QJsonArray rows;
    for (const QString &file : files) {
        const QFileInfo info(file);
        TVVF e; // each file on its own: nothing carried over from the one before
        ProbePage page;
        OpenAVI(info.fileName(), e, page, info.absolutePath());
        if (json) {
            rows.append(QJsonObject{
                {QStringLiteral("FileName"), e.FileName},
                {QStringLiteral("SizeBytes"), double(e.SizeBytes)},
                {QStringLiteral("DurationMs"), double(e.DurationMs)},
                {QStringLiteral("Width"), e.Width},
                {QStringLiteral("Height"), e.Height},
                {QStringLiteral("VideoCodec"), e.VideoCodec},
                {QStringLiteral("AudioCodec"), e.AudioCodec},
                {QStringLiteral("OverallBitrate"), e.OverallBitrate},
                {QStringLiteral("VideoBitrate"), e.VideoBitrate},
                {QStringLiteral("AudioBitrate"), e.AudioBitrate},
                {QStringLiteral("AudioHz"), e.AudioHz},
                {QStringLiteral("ContainerFormat"), e.ContainerFormat},
                {QStringLiteral("AudioStreamCount"), int(e.AudioStreamCount)},
                {QStringLiteral("ELong"), page.ELong},
                {QStringLiteral("EDSize"), page.EDSize},
                {QStringLiteral("ECodec"), page.ECodec},
                {QStringLiteral("LRate"), page.LRate},
                {QStringLiteral("LSCount"), page.LSCount},
            });
        } else {
            c.printTsv({e.FileName, QString::number(e.SizeBytes), QString::number(e.DurationMs),
                        QString::number(e.Width), QString::number(e.Height), e.VideoCodec, e.AudioCodec,
                        QString::number(e.OverallBitrate), QString::number(e.VideoBitrate),
                        QString::number(e.AudioBitrate), QString::number(e.AudioHz), e.ContainerFormat,
                        QString::number(e.AudioStreamCount), page.ELong, page.EDSize, page.ECodec, page.LRate,
                        page.LSCount});
        }
    }
    if (json)
        c.printJson(rows);
    return 0;
}

qint32 intOption(Context &c, const QString &name, qint32 fallback) {
    const auto text = c.takeOption(name);
    if (!text)
        return fallback;
    const std::optional<qint32> n = parseInt32(*text);
    if (!n)
        throw UsageError(QStringLiteral("%1: '%2' is not a whole number").arg(name, *text));
    return *n;
}

bool hasRowWithId(DataSet &table, qint64 id) {
    if (!table.isOpen())
        table.open();
    table.setFiltered(false);
    table.setFilter(Filter::equals(QStringLiteral("ID"), id));
    table.setFiltered(true);
    const bool found = table.recordCount() > 0;
    table.setFiltered(false);
    return found;
}

// The title named exactly `title`, made with type 4 when there is none.
qint64 titleByName(CatalogSession &s, const QString &title) {
    DataSet &name = s.Name;
    name.setFiltered(false);
    const int n = name.recordCount();
    const int field = name.fieldIndex(QStringLiteral("Название"));
    for (int r = 1; r <= n; ++r) {
        name.setRecNo(r);
        if (name.asString(field) == title)
            return name.asInteger(QStringLiteral("ID"));
    }
    name.append();
    try {
        name.setValue(QStringLiteral("Название"), title);
        name.setValue(QStringLiteral("NType"), 4);
        name.post();
    } catch (...) {
        name.cancel();
        throw;
    }
    return name.asInteger(QStringLiteral("ID"));
}

// What one folder contributes: the scan's list, or the file itself.
struct Batch {
    QString folder;
    QStringList entries;
};

int cmdAdd(Context &c) {
    const auto title = c.takeOption(QStringLiteral("--title"));
    const auto titleIdText = c.takeOption(QStringLiteral("--title-id"));
    StoreChoice choice;
    choice.soundId = intOption(c, QStringLiteral("--sound"), 0);
    choice.subInId = intOption(c, QStringLiteral("--sub-in"), 1);
    choice.subExtId = intOption(c, QStringLiteral("--sub-ext"), 2);
    const bool allEntries = c.takeFlag(QStringLiteral("--all-entries"));
    const QStringList paths = c.positional(1, -1);
    if (title.has_value() == titleIdText.has_value())
        throw UsageError(QStringLiteral("add needs one of --title NAME and --title-id ID"));
    if (title && title->trimmed().isEmpty())
        throw UsageError(QStringLiteral("the title needs a name"));
    std::optional<qint64> titleId;
    if (titleIdText) {
        titleId = parseInt64(*titleIdText);
        if (!titleId)
            throw UsageError(QStringLiteral("'%1' is not a title ID").arg(*titleIdText));
    }
    requireExisting(paths, true);

    CatalogSession &s = c.session();
    if (titleId && !hasRowWithId(s.Name, *titleId))
        throw Error(QStringLiteral("there is no title with ID %1").arg(*titleId));
    for (const auto &[option, key] :
         {std::pair{"--sound", *choice.soundId}, std::pair{"--sub-in", *choice.subInId},
          std::pair{"--sub-ext", *choice.subExtId}})
        if (!hasRowWithId(s.TSub, key))
            throw Error(
                QStringLiteral("%1: there is no language with key %2").arg(QLatin1String(option)).arg(key));

    // The scan makes each folder current, as in the window; the caller's folder is given back.
    const QString callerDir = QDir::currentPath();
    std::vector<Batch> batches;
    try {
        for (const QString &p : paths) {
            const QFileInfo info(p);
            if (info.isDir())
                batches.push_back({info.absoluteFilePath(), vq::See(info.absoluteFilePath(), !allEntries)});
            else
                batches.push_back({info.absolutePath(), {info.fileName()}});
        }
    } catch (...) {
        QDir::setCurrent(callerDir);
        throw;
    }
    QDir::setCurrent(callerDir);

    TVVF episode;
    episode.TitleId = qint32(titleId ? *titleId : titleByName(s, *title));
    int stored = 0;
    int total = 0;
    for (const Batch &b : batches)
        total += int(b.entries.size());
    for (const Batch &b : batches) {
        // Nothing is shown here, so every file is probed; a same-named file of another folder must be too.
        episode.FileName.clear();
        ProbePage page;
        const AddAllResult r = addAllToBase(s, b.entries, episode, page, choice, {}, b.folder);
        stored += r.stored;
        if (!r.ok())
            throw Error(QStringLiteral("%1: %2 (%3 of %4 files added)")
                            .arg(QDir(b.folder).filePath(b.entries.value(r.failedEntry)), r.error,
                                 QString::number(stored), QString::number(total)));
    }
    c.printTsv({QString::number(stored), QString::number(episode.TitleId)});
    return 0;
}

const Command probe("probe", "probe FILE... [--json]", cmdProbe);
const Command
    add("add",
        "add (--title NAME | --title-id ID) [--sound K] [--sub-in K] [--sub-ext K] [--all-entries] PATH...",
        cmdAdd);

} // namespace

} // namespace vq::cli
