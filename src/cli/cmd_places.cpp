// Where files are: the volumes, each title's locations, the check of stored files, and attaching a
// folder to a title's episodes.
#include "cli.h"

#include "catalog/messages.h"
#include "intake/filenames.h"
#include "intake/mediaprobe.h"
#include "ops/attach.h"
#include "ops/titleops.h"
#include "places/check.h"
#include "places/hashing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdlib>
#include <unistd.h>

namespace vq::cli {

namespace {

qint64 idOption(Context &c, const char *name, bool required) {
    const auto text = c.takeOption(QString::fromLatin1(name));
    if (!text) {
        if (required)
            throw UsageError(msg::usageOptionNeedsValue(QLatin1String(name)));
        return 0;
    }
    const std::optional<qint64> id = parseInt64(*text);
    if (!id || *id <= 0)
        throw UsageError(msg::usageNotAWholeNumber(QLatin1String(name), *text));
    return *id;
}

QString shownPath(const QByteArray &path) {
    if (path.isEmpty())
        return {};
    return path.startsWith('/') ? pathText(path) : pathText('/' + path).mid(1);
}

QJsonObject locationJson(const places::LocationRow &r) {
    return QJsonObject{{QStringLiteral("EpisodeID"), r.episodeId},
                       {QStringLiteral("Серия"), r.episodeName},
                       {QStringLiteral("VolumeID"), r.volumeId == 0 ? QJsonValue() : QJsonValue(r.volumeId)},
                       {QStringLiteral("Path"), shownPath(r.path)},
                       {QStringLiteral("AbsolutePath"), shownPath(r.absolutePath)},
                       {QStringLiteral("State"), places::stateWord(r.state)},
                       {QStringLiteral("CRC32"), r.crc32},
                       {QStringLiteral("ED2K"), r.ed2k}};
}

void printLocation(Context &c, const places::LocationRow &r) {
    c.printTsv({QString::number(r.episodeId), r.episodeName,
                r.volumeId ? QString::number(r.volumeId) : QString(), shownPath(r.path),
                shownPath(r.absolutePath), places::stateWord(r.state), r.crc32, r.ed2k});
}

// The volume an option names, refused when the catalog knows none by that key.
void volumeOption(CatalogSession &s, qint64 volumeId, const places::Mounts &mounts) {
    if (volumeId != 0 && !places::volume(s.catalog(), volumeId, mounts))
        throw Error(msg::noVolumeWithId(volumeId));
}

int cmdVolumes(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    c.positional(0, 0);
    CatalogSession &s = c.session();
    QJsonArray rows;
    for (const places::VolumeRow &v : places::volumes(s.catalog(), places::Mounts::current())) {
        const QString mount = v.online ? QFile::decodeName(v.mountPoint) : QString();
        if (json)
            rows.append(QJsonObject{{QStringLiteral("ID"), v.id},
                                    {QStringLiteral("UUID"), v.uuid},
                                    {QStringLiteral("Label"), v.label},
                                    {QStringLiteral("Name"), v.shownName()},
                                    {QStringLiteral("FsType"), v.fsType},
                                    {QStringLiteral("MountPoint"), mount},
                                    {QStringLiteral("Online"), v.online},
                                    {QStringLiteral("Files"), v.files},
                                    {QStringLiteral("Bytes"), v.bytes}});
        else
            c.printTsv({QString::number(v.id), v.shownName(), v.uuid, v.label, v.fsType, mount,
                        v.online ? QStringLiteral("online") : QStringLiteral("offline"),
                        QString::number(v.files), QString::number(v.bytes)});
    }
    if (json)
        c.printJson(rows);
    return 0;
}

int cmdLocate(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const qint64 titleId = idOption(c, "--title-id", true);
    c.positional(0, 0);
    CatalogSession &s = c.session();
    if (!ops::titleExists(s, titleId))
        throw Error(msg::noTitleWithId(titleId));
    QJsonArray rows;
    for (const places::LocationRow &r :
         places::titleLocations(s.catalog(), titleId, places::Mounts::current())) {
        if (json)
            rows.append(locationJson(r));
        else
            printLocation(c, r);
    }
    if (json)
        c.printJson(rows);
    return 0;
}

int cmdCheck(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const bool deep = c.takeFlag(QStringLiteral("--deep"));
    const qint64 volumeId = idOption(c, "--volume", false);
    c.positional(0, 0);
    CatalogSession &s = c.session();
    const places::Mounts mounts = places::Mounts::current();
    volumeOption(s, volumeId, mounts);
    const bool tty = isatty(STDERR_FILENO);
    const places::CheckReport r =
        places::checkFiles(s.catalog(), mounts, volumeId, deep, [&](qint64 done, qint64 total) {
            if (tty) {
                c.err << '\r' << msg::checkProgress(done, total);
                c.err.flush();
            }
            return true;
        });
    if (tty)
        c.err << '\n';
    if (!r.written)
        c.err << msg::catalogOpenedReadOnly(s.path()) << '\n';
    if (json) {
        QJsonArray files;
        for (const places::LocationRow &f : r.files)
            files.append(locationJson(f));
        c.printJson(QJsonObject{{QStringLiteral("Present"), r.present},
                                {QStringLiteral("Changed"), r.changed},
                                {QStringLiteral("Missing"), r.missing},
                                {QStringLiteral("Moved"), r.moved},
                                {QStringLiteral("Offline"), r.offline},
                                {QStringLiteral("Files"), files}});
    } else {
        for (const places::LocationRow &f : r.files)
            printLocation(c, f);
        c.err << msg::checkSummary(r.present, r.changed, r.missing, r.moved, r.offline) << '\n';
    }
    return 0;
}

QByteArray absoluteFolder(const QString &arg) {
    QByteArray native = argumentBytes(arg);
    char *real = ::realpath(native.constData(), nullptr);
    if (!real)
        throw Error(msg::folderNotFound(QDir::cleanPath(pathText(native))));
    native = QByteArray(real);
    free(real);
    return native;
}

int cmdAttach(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const qint64 titleId = idOption(c, "--title-id", true);
    const QString folderArg = c.positional(1, 1).first();
    const QByteArray folder = absoluteFolder(folderArg);
    CatalogSession &s = c.session();
    if (!ops::titleExists(s, titleId))
        throw Error(msg::noTitleWithId(titleId));
    const ops::AttachReport r = ops::attachFolder(s.catalog(), titleId, folder, places::Mounts::current());
    if (json) {
        QJsonArray matched;
        for (const auto &[episode, file] : r.matched)
            matched.append(QJsonObject{{QStringLiteral("Серия"), episode}, {QStringLiteral("Path"), file}});
        c.printJson(QJsonObject{{QStringLiteral("Matched"), matched},
                                {QStringLiteral("Ambiguous"), QJsonArray::fromStringList(r.ambiguous)},
                                {QStringLiteral("LeftEpisodes"), QJsonArray::fromStringList(r.leftEpisodes)},
                                {QStringLiteral("LeftFiles"), QJsonArray::fromStringList(r.leftFiles)}});
    } else {
        for (const auto &[episode, file] : r.matched)
            c.printTsv({QStringLiteral("matched"), episode, file});
        for (const QString &e : r.ambiguous)
            c.printTsv({QStringLiteral("ambiguous"), e});
        for (const QString &e : r.leftEpisodes)
            c.printTsv({QStringLiteral("no file"), e});
        for (const QString &f : r.leftFiles)
            c.printTsv({QStringLiteral("no episode"), f});
        c.err << msg::attachSummary(int(r.matched.size()), int(r.ambiguous.size()),
                                    int(r.leftEpisodes.size()), int(r.leftFiles.size()))
              << '\n';
    }
    return 0;
}

// Reads the files the queue holds (every file with `all`) in the foreground, a line of progress on
// stderr; a digest is written as soon as its file is read, so an interrupted run loses one file.
places::HashReport runHashes(Context &c, CatalogSession &s, qint64 volumeId, bool all,
                             const places::Mounts &mounts) {
    QElapsedTimer shown;
    shown.start();
    const places::HashReport r =
        places::hashFiles(s.catalog(), mounts, volumeId, all, [&](qint64 f, qint64 of, qint64 b, qint64 ofb) {
            if (f == of || shown.elapsed() > 250) {
                c.err << '\r' << msg::hashProgress(f, of, b, ofb);
                c.err.flush();
                shown.restart();
            }
            return true;
        });
    if (r.files > 0)
        c.err << '\n';
    for (const auto &[path, why] : r.failures)
        c.err << pathText(path) << ": " << why << '\n';
    return r;
}

int cmdHash(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const bool all = c.takeFlag(QStringLiteral("--all"));
    const qint64 volumeId = idOption(c, "--volume", false);
    c.positional(0, 0);
    CatalogSession &s = c.session();
    const places::Mounts mounts = places::Mounts::current();
    volumeOption(s, volumeId, mounts);
    const places::HashReport r = runHashes(c, s, volumeId, all, mounts);
    if (json)
        c.printJson(QJsonObject{{QStringLiteral("Files"), r.files},
                                {QStringLiteral("Bytes"), r.bytes},
                                {QStringLiteral("Hashed"), r.hashed},
                                {QStringLiteral("Same"), r.same},
                                {QStringLiteral("Changed"), r.changed},
                                {QStringLiteral("Failed"), r.failed},
                                {QStringLiteral("Offline"), r.offline}});
    else
        c.err << msg::hashSummary(r.hashed, r.same, r.changed, r.failed, r.offline) << '\n';
    return r.failed > 0 ? 1 : 0;
}

int cmdVerify(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const bool recheck = c.takeFlag(QStringLiteral("--recheck"));
    const qint64 volumeId = idOption(c, "--volume", false);
    c.positional(0, 0);
    CatalogSession &s = c.session();
    const places::Mounts mounts = places::Mounts::current();
    volumeOption(s, volumeId, mounts);
    // The files not hashed yet are read first; a recheck reads every file again.
    if (!s.catalog().isReadOnly())
        runHashes(c, s, volumeId, recheck, mounts);
    const places::VerifyReport r = places::verifyNames(s.catalog(), mounts, volumeId);
    if (json) {
        QJsonArray files;
        for (const places::VerifyEntry &e : r.files) {
            QJsonObject o = locationJson(e.row);
            o.insert(QStringLiteral("NameCRC32"), e.nameCrc);
            o.insert(QStringLiteral("Problem"),
                     e.changed ? QStringLiteral("changed") : QStringLiteral("mismatch"));
            files.append(o);
        }
        c.printJson(QJsonObject{{QStringLiteral("WithChecksum"), r.withChecksum},
                                {QStringLiteral("Match"), r.match},
                                {QStringLiteral("Mismatch"), r.mismatch},
                                {QStringLiteral("Changed"), r.changed},
                                {QStringLiteral("Pending"), r.pending},
                                {QStringLiteral("Files"), files}});
    } else {
        for (const places::VerifyEntry &e : r.files)
            c.printTsv({e.changed ? QStringLiteral("changed") : QStringLiteral("mismatch"), e.nameCrc,
                        e.row.crc32, QString::number(e.row.episodeId), e.row.episodeName,
                        shownPath(e.row.absolutePath.isEmpty() ? e.row.path : e.row.absolutePath)});
        c.err << msg::verifySummary(r.withChecksum, r.match, r.mismatch, r.changed, r.pending) << '\n';
    }
    return 0;
}

int cmdDuplicates(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    c.positional(0, 0);
    CatalogSession &s = c.session();
    QJsonArray groups;
    const auto found = places::duplicateGroups(s.catalog(), places::Mounts::current());
    for (const places::DuplicateGroup &g : found) {
        if (json) {
            QJsonArray locations;
            for (const places::LocationRow &r : g.locations)
                locations.append(locationJson(r));
            groups.append(QJsonObject{{QStringLiteral("Size"), g.size},
                                      {QStringLiteral("ED2K"), places::ed2kHex(g.ed2k)},
                                      {QStringLiteral("CRC32"), places::crcHex(g.crc32)},
                                      {QStringLiteral("AcrossTitles"), g.acrossTitles},
                                      {QStringLiteral("Locations"), locations}});
            continue;
        }
        c.out << msg::duplicateGroupLine(qint64(g.locations.size()), g.size,
                                         msg::duplicateKind(g.acrossTitles))
              << '\t' << places::ed2kHex(g.ed2k) << '\n';
        for (const places::LocationRow &r : g.locations)
            printLocation(c, r);
    }
    if (json)
        c.printJson(groups);
    else if (found.empty())
        c.err << msg::duplicatesNone() << '\n';
    return 0;
}

const Command volumes("volumes", "volumes [--json]", cmdVolumes);
const Command locate("locate", "locate --title-id ID [--json]", cmdLocate);
const Command check("check", "check [--volume ID] [--deep] [--json]", cmdCheck);
const Command attach("attach", "attach --title-id ID FOLDER [--json]", cmdAttach);
const Command hash("hash", "hash [--volume ID] [--all] [--json]", cmdHash);
const Command verify("verify", "verify [--volume ID] [--recheck] [--json]", cmdVerify);
const Command duplicates("duplicates", "duplicates [--json]", cmdDuplicates);

} // namespace

} // namespace vq::cli
