// Probing media files and adding them as episodes, as the window's page "Добавить новое" does.
#include "cli.h"

#include "catalog/messages.h"
#include "intake/episodes.h"
#include "intake/filenames.h"
#include "intake/folderscan.h"
#include "intake/intakerun.h"
#include "intake/mediaprobe.h"
#include "intake/probepool.h"
#include "ops/intakesession.h"
#include "ops/titleguess.h"
#include "ops/titleops.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vq::cli {

namespace {

struct NamedPath {
    QString given;     // as typed
    QString absolute;  // as reported: taken before any scan makes its folder current
    QByteArray native; // as the file system has it
    bool isFolder = false;
};

// The caller's folder as the file system has it.
QByteArray currentFolder() {
    QByteArray buf(4096, '\0');
    while (!::getcwd(buf.data(), size_t(buf.size())) && errno == ERANGE)
        buf.resize(buf.size() * 2);
    return QByteArray(buf.constData());
}

// Files and folders must all be there before anything is probed or written. Each is found by the
// very bytes it was named with; a text that names nothing may still be the one name of its folder
// shown so (a name that is not UTF-8, copied from this program's output).
QList<NamedPath> requireExisting(const QStringList &paths, bool foldersToo) {
    QList<NamedPath> out;
    const QByteArray caller = currentFolder();
    for (const QString &p : paths) {
        QByteArray native = argumentBytes(p);
        if (!native.startsWith('/'))
            native = caller + '/' + native;
        struct stat st {};
        if (::stat(native.constData(), &st) != 0) {
            const QByteArray found = findNativePath(p);
            if (!found.isEmpty())
                native = found;
        }
        const QString shown = QDir::cleanPath(pathText(native));
        if (::stat(native.constData(), &st) != 0)
            throw Error(msg::probeNoSuchFile(shown));
        NamedPath n{p, shown, native, S_ISDIR(st.st_mode)};
        if (n.isFolder && !foldersToo)
            throw Error(msg::probeIsAFolder(shown));
        out << n;
    }
    return out;
}

int jobsOption(Context &c) {
    const auto text = c.takeOption(QStringLiteral("--jobs"));
    if (!text)
        return 0;
    const std::optional<qint32> n = parseInt32(*text);
    if (!n || *n < 1)
        throw UsageError(msg::intakeBadJobs(*text));
    return *n;
}

// A time limit setting that could not be taken as written is said once, before the results.
void noteTimeLimit(Context &c, const ProbePool &pool) {
    if (!pool.timeLimitNote().isEmpty())
        c.err << pool.timeLimitNote() << '\n';
}

int cmdProbe(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const int jobs = jobsOption(c);
    const QList<NamedPath> files = requireExisting(c.positional(1, -1), false);

    // Through the workers, as the window probes: a file that hangs the library ends in a message.
    ProbePool pool(ProbePool::Options{QString(), jobs, 0});
    noteTimeLimit(c, pool);
    std::vector<std::optional<ProbeResult>> results(size_t(files.size()));
    QEventLoop loop;
    int left = int(files.size());
    for (int i = 0; i < files.size(); ++i)
        pool.probe(files[i].native, [&, i](const ProbeResult &r) {
            results[size_t(i)] = r;
            if (--left == 0)
                loop.quit();
        });
    if (left > 0)
        loop.exec();

    QJsonArray rows;
    for (int i = 0; i < files.size(); ++i) {
        TVVF e; // each file on its own: nothing carried over from the one before
        ProbePage page;
        applyProbe(bareName(files[i].absolute), *results[size_t(i)], e, page);
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
        throw UsageError(msg::usageNotAWholeNumber(name, *text));
    return *n;
}

QJsonObject addReportJson(const ops::AddOutcome &o, const QStringList &emptyFolders);

void printAddReport(Context &c, const ops::AddOutcome &o, const QStringList &emptyFolders, bool json) {
    const IntakeReport &r = o.report;
    if (json) {
        c.printJson(addReportJson(o, emptyFolders));
        return;
    }
    QStringList lines;
    if (o.titleId != 0) {
        lines << msg::addReportStored(r.stored, r.listed, o.titleName, o.titleId);
    } else {
        lines << msg::intakeRunStored(r.stored, r.listed);
        lines << msg::addReportTitleNotMade(o.titleName);
    }
    if (o.titleMade)
        lines << msg::addReportTitleMade(o.titleName, o.titleId);
    for (const QString &e : r.skippedTwice)
        lines << msg::addReportAlreadyStored(e);
    for (const IntakeReport::Elsewhere &e : r.elsewhere)
        lines << msg::addReportAlsoUnder(e.entry, e.titles.join(QStringLiteral(", ")));
    for (const IntakeReport::Problem &p : r.problems)
        lines << msg::addReportSkipped(p.message);
    for (const QString &f : emptyFolders)
        lines << msg::addReportEmptyFolder(f);
    for (const QString &l : lines)
        c.out << l << '\n';
}

QJsonObject addReportJson(const ops::AddOutcome &o, const QStringList &emptyFolders) {
    const IntakeReport &r = o.report;
    {
        QJsonArray already, also, skipped, empty;
        for (const QString &e : r.skippedTwice)
            already.append(e);
        for (const IntakeReport::Elsewhere &e : r.elsewhere)
            also.append(QJsonObject{{QStringLiteral("file"), e.entry},
                                    {QStringLiteral("titles"), QJsonArray::fromStringList(e.titles)}});
        for (const IntakeReport::Problem &p : r.problems)
            skipped.append(
                QJsonObject{{QStringLiteral("file"), p.entry}, {QStringLiteral("reason"), p.message}});
        for (const QString &f : emptyFolders)
            empty.append(f);
        return QJsonObject{
            {QStringLiteral("stored"), r.stored},
            {QStringLiteral("listed"), r.listed},
            {QStringLiteral("titleId"), o.titleId != 0 ? QJsonValue(double(o.titleId)) : QJsonValue()},
            {QStringLiteral("title"), o.titleName},
            {QStringLiteral("titleMade"), o.titleMade},
            {QStringLiteral("alreadyStored"), already},
            {QStringLiteral("alsoUnder"), also},
            {QStringLiteral("skipped"), skipped},
            {QStringLiteral("emptyFolders"), empty},
        };
    }
}

// add --guess-title: each folder (and the loose files whose names give one title) goes to the title
// its names propose, made when no title or other name matches. One report per group.
int addGuessing(Context &c, const QList<NamedPath> &named, const ops::AddRequest &base, int jobs,
                bool allEntries, bool recursive, bool json) {
    struct Group {
        QString where, folder;
        QList<ListedFile> entries;
        QStringList names;
        QStringList emptyFolders;
    };
    std::vector<Group> groups;
    const QString callerDir = QDir::currentPath();
    try {
        for (const NamedPath &p : named) {
            if (p.isFolder) {
                Group g{p.absolute, p.absolute, {}, {}, {}};
                for (ListedFile f : scanNativeFolder(p.native, !allEntries, recursive)) {
                    g.names << f.shown;
                    f.shown = QDir(p.absolute).filePath(f.shown);
                    g.entries << f;
                }
                if (g.entries.isEmpty())
                    g.emptyFolders << p.absolute;
                groups.push_back(std::move(g));
                continue;
            }
            // A loose file joins the loose files before it whose names give its title.
            const QString folder = QFileInfo(p.absolute).path();
            const QString name = QFileInfo(p.absolute).fileName();
            const QString key = ops::titleKey(ops::proposedTitle({name}, folder));
            auto it = std::find_if(groups.begin(), groups.end(), [&](const Group &g) {
                return g.folder.isEmpty() && !key.isEmpty() &&
                       ops::titleKey(ops::proposedTitle(g.names)) == key;
            });
            if (it == groups.end())
                it = groups.insert(groups.end(), Group{p.absolute, QString(), {}, {}, {}});
            it->names << QDir(folder).dirName() + QLatin1Char('/') + name;
            it->entries << ListedFile{p.absolute, p.native};
        }
    } catch (...) {
        QDir::setCurrent(callerDir);
        throw;
    }
    QDir::setCurrent(callerDir);

    CatalogSession &s = c.session();
    ProbePool pool(ProbePool::Options{QString(), jobs, 0});
    noteTimeLimit(c, pool);
    QJsonArray reports;
    QStringList problems;
    for (Group &g : groups) {
        if (g.entries.isEmpty()) {
            problems << msg::intakeNoVideoFiles(g.where);
            continue;
        }
        const QString title = ops::proposedTitle(g.names, g.folder);
        if (title.isEmpty()) {
            problems << msg::guessNoTitle(g.where);
            continue;
        }
        ops::AddRequest request = base;
        request.entries = g.entries;
        const std::optional<ops::TitleMatch> match = ops::matchTitle(s.catalog(), title);
        if (match)
            request.titleId = match->id;
        else
            request.titleName = title;
        const ops::AddOutcome outcome = ops::addFiles(s, pool, std::move(request));
        const QString otherName = match ? match->otherName : QString();
        if (json) {
            QJsonObject o = addReportJson(outcome, g.emptyFolders);
            o.insert(QStringLiteral("path"), g.where);
            o.insert(QStringLiteral("proposed"), title);
            o.insert(QStringLiteral("otherName"), otherName);
            reports.append(o);
        } else {
            if (outcome.titleId != 0)
                c.out << msg::guessFiledUnder(g.where, outcome.titleName, outcome.titleId, otherName) << '\n';
            printAddReport(c, outcome, g.emptyFolders, false);
        }
        const IntakeReport &r = outcome.report;
        if (!r.stopped.isEmpty())
            problems << r.stopped + QLatin1Char(' ') + msg::intakeRunStored(r.stored, r.listed);
        else if (r.failed() > 0)
            problems << msg::intakeRunFailed(r.failed(), r.listed);
    }
    if (json)
        c.printJson(reports);
    if (!problems.isEmpty())
        throw Error(problems.join(QLatin1Char('\n')));
    return 0;
}

int cmdAdd(Context &c) {
    ops::AddRequest request;
    const bool guess = c.takeFlag(QStringLiteral("--guess-title"));
    request.titleName = c.takeOption(QStringLiteral("--title"));
    const auto titleIdText = c.takeOption(QStringLiteral("--title-id"));
    RunSettings &settings = request.settings;
    StoreChoice &choice = settings.choice;
    choice.soundId = intOption(c, QStringLiteral("--sound"), 0);
    choice.subInId = intOption(c, QStringLiteral("--sub-in"), 1);
    choice.subExtId = intOption(c, QStringLiteral("--sub-ext"), 2);
    const int jobs = jobsOption(c);
    const bool allEntries = c.takeFlag(QStringLiteral("--all-entries"));
    const bool recursive = c.takeFlag(QStringLiteral("--recursive"));
    const bool json = c.takeFlag(QStringLiteral("--json"));
    settings.again = c.takeFlag(QStringLiteral("--again"));
    const QStringList paths = c.positional(1, -1);
    if (guess && (request.titleName || titleIdText))
        throw UsageError(
            msg::usageNotTogether(QStringLiteral("--guess-title"), QStringLiteral("--title, --title-id")));
    if (!guess && request.titleName.has_value() == titleIdText.has_value())
        throw UsageError(msg::usageCommandNeeds(
            QStringLiteral("add"),
            QCoreApplication::translate("vq::msg", "--title НАЗВАНИЕ, --title-id ID или --guess-title")));
    if (request.titleName && request.titleName->trimmed().isEmpty())
        throw UsageError(msg::usageTitleNeedsName());
    if (titleIdText) {
        request.titleId = parseInt64(*titleIdText);
        if (!request.titleId)
            throw UsageError(msg::usageNotATitleId(*titleIdText));
    }
    const QList<NamedPath> named = requireExisting(paths, true);

    CatalogSession &s = c.session();
    if (request.titleId && !ops::titleExists(s, *request.titleId))
        throw Error(msg::noTitleWithId(*request.titleId));
    for (const auto &[option, key] :
         {std::pair{"--sound", *choice.soundId}, std::pair{"--sub-in", *choice.subInId},
          std::pair{"--sub-ext", *choice.subExtId}})
        if (!ops::languageExists(s, key))
            throw Error(QLatin1String(option) + QStringLiteral(": ") + msg::intakeNoSuchLanguage(key));
    if (guess)
        return addGuessing(c, named, request, jobs, allEntries, recursive, json);

    QStringList emptyFolders;
    for (const NamedPath &p : named) {
        if (p.isFolder) {
            const QString &folder = p.absolute;
            const QList<ListedFile> listed = scanNativeFolder(p.native, !allEntries, recursive);
            if (listed.isEmpty())
                emptyFolders << folder;
            for (ListedFile f : listed) {
                f.shown = QDir(folder).filePath(f.shown);
                request.entries << f;
            }
        } else {
            request.entries << ListedFile{p.absolute, p.native};
        }
    }
    // Nothing to add is no success: no title is made for it either.
    if (request.entries.isEmpty())
        throw Error(msg::intakeNoVideoFiles(emptyFolders.join(QStringLiteral(", "))));

    ProbePool pool(ProbePool::Options{QString(), jobs, 0});
    noteTimeLimit(c, pool);
    const ops::AddOutcome outcome = ops::addFiles(s, pool, std::move(request));
    printAddReport(c, outcome, emptyFolders, json);
    const IntakeReport &r = outcome.report;
    if (!r.stopped.isEmpty())
        throw Error(r.stopped + QLatin1Char(' ') + msg::intakeRunStored(r.stored, r.listed));
    if (r.failed() > 0)
        throw Error(msg::intakeRunFailed(r.failed(), r.listed));
    return 0;
}

const Command probe("probe", "probe FILE... [--json] [--jobs N]", cmdProbe);
const Command add("add",
                  "add (--title NAME | --title-id ID | --guess-title) [--sound K] [--sub-in K] [--sub-ext K] "
                  "[--all-entries] "
                  "[--recursive] [--again] [--jobs N] [--json] PATH...",
                  cmdAdd);

} // namespace

} // namespace vq::cli
