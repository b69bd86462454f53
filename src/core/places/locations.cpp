#include "locations.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/schema.h"

#include <QDateTime>
#include <QFile>

#include <cstdlib>
#include <sqlite3.h>
#include <sys/stat.h>

namespace vq::places {

namespace {

const char *const kWords[] = {"present", "missing", "changed", "moved", "offline", "unknown"};

QByteArray blob(sqlite3_stmt *st, int col) {
    return QByteArray(static_cast<const char *>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
}

void bindBlob(Statement &st, int index, const QByteArray &bytes) {
    sqlite3_bind_blob(st.handle(), index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

VolumeRow readVolume(sqlite3_stmt *h, const Mounts &mounts) {
    VolumeRow v;
    v.id = sqlite3_column_int64(h, 0);
    v.ident = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(h, 1)));
    v.uuid = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(h, 2)));
    v.label = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(h, 3)));
    v.fsType = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(h, 4)));
    v.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(h, 5)));
    v.mountPoint = blob(h, 6);
    v.lastSeen = sqlite3_column_int64(h, 7);
    v.lastCheck = sqlite3_column_int64(h, 8);
    v.files = sqlite3_column_int64(h, 9);
    v.bytes = sqlite3_column_int64(h, 10);
    v.kind = v.ident.startsWith(QLatin1String("uuid:"))     ? IdentKind::Uuid
             : v.ident.startsWith(QLatin1String("source:")) ? IdentKind::Source
             : v.ident.startsWith(QLatin1String("label:"))  ? IdentKind::Label
                                                            : IdentKind::Mount;
    if (const MountedVolume *m = mounts.find(v.ident)) {
        v.online = true;
        v.mountPoint = m->mountPoint;
    }
    return v;
}

QString volumeSelect(bool counts) {
    return QStringLiteral("SELECT v.\"ID\", v.\"Ident\", v.\"UUID\", v.\"Label\", v.\"FsType\", v.\"Name\", "
                          "v.\"MountPoint\", v.\"LastSeen\", v.\"LastCheck\", ") +
           (counts ? QStringLiteral(
                         "(SELECT count(*) FROM \"Location\" l WHERE l.\"Volume\" = v.\"ID\"), "
                         "(SELECT total(l.\"Size\") FROM \"Location\" l WHERE l.\"Volume\" = v.\"ID\")")
                   : QStringLiteral("0, 0")) +
           QStringLiteral(" FROM \"Volume\" v");
}

std::vector<LocationRow> readLocations(Catalog &catalog, const QString &where, qint64 key,
                                       const Mounts &mounts) {
    Statement &st = catalog.statement(
        QStringLiteral(
            "SELECT e.\"ID\", e.\"Серия\", l.\"ID\", l.\"Volume\", l.\"Path\", l.\"Size\", "
            "l.\"MTime\", l.\"State\", v.\"Ident\", coalesce(nullif(v.\"Name\", ''), "
            "nullif(v.\"Label\", ''), v.\"MountPoint\"), h.\"CRC32\", h.\"ED2K\" FROM \"Серии\" e "
            "LEFT JOIN \"Location\" l ON l.\"Episode\" = e.\"ID\" "
            "LEFT JOIN \"Volume\" v ON v.\"ID\" = l.\"Volume\" LEFT JOIN \"Location_hash\" h ON "
            "h.\"Location\" = l.\"ID\" AND h.\"Size\" = l.\"Size\" AND h.\"MTime\" = l.\"MTime\" WHERE ") +
        where + QStringLiteral(" ORDER BY e.\"ID\", l.\"ID\""));
    Statement::ResetAfter done{st};
    st.bind(1, key);
    std::vector<LocationRow> out;
    sqlite3_stmt *h = st.handle();
    while (st.step()) {
        LocationRow r;
        r.episodeId = sqlite3_column_int64(h, 0);
        r.episodeName = st.text(1);
        r.id = sqlite3_column_int64(h, 2);
        if (r.id != 0) {
            r.volumeId = sqlite3_column_int64(h, 3);
            r.path = blob(h, 4);
            r.size = sqlite3_column_int64(h, 5);
            r.mtimeNs = sqlite3_column_int64(h, 6);
            r.volumeName =
                sqlite3_column_type(h, 9) == SQLITE_BLOB ? QFile::decodeName(blob(h, 9)) : st.text(9);
            if (const MountedVolume *m = mounts.find(st.text(8))) {
                r.state = stateFromWord(st.text(7));
                r.absolutePath = Mounts::absolutePath(*m, r.path);
            } else {
                r.state = State::Offline;
            }
            if (sqlite3_column_type(h, 10) != SQLITE_NULL) {
                r.crc32 = QStringLiteral("%1")
                              .arg(quint32(sqlite3_column_int64(h, 10)), 8, 16, QLatin1Char('0'))
                              .toUpper();
                r.ed2k = QString::fromLatin1(blob(h, 11).toHex()).toUpper();
            }
        }
        out.push_back(std::move(r));
    }
    return out;
}

} // namespace

QString stateWord(State s) {
    return QString::fromLatin1(kWords[int(s)]);
}

State stateFromWord(const QString &w) {
    for (int i = 0; i < int(std::size(kWords)); ++i)
        if (w == QLatin1String(kWords[i]))
            return State(i);
    return State::Unknown;
}

FileStat statFile(const QByteArray &absPath) {
    struct stat s {};
    FileStat f;
    if (::stat(absPath.constData(), &s) != 0)
        return f;
    f.ok = true;
    f.regular = S_ISREG(s.st_mode);
    f.device = quint64(s.st_dev);
    f.size = qint64(s.st_size);
    f.mtimeNs = qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec;
    return f;
}

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

QString VolumeRow::shownName() const {
    if (!name.isEmpty())
        return name;
    if (!label.isEmpty())
        return label;
    return QFile::decodeName(mountPoint);
}

qint64 volumeFor(Catalog &catalog, const MountedVolume &m) {
    Statement &st = catalog.statement(QStringLiteral(
        "INSERT INTO \"Volume\"(\"Ident\", \"UUID\", \"Label\", \"FsType\", \"Bytes\", \"MountPoint\", "
        "\"LastSeen\") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT(\"Ident\") DO UPDATE SET "
        "\"Label\" = ?3, \"FsType\" = ?4, \"Bytes\" = ?5, \"MountPoint\" = ?6, \"LastSeen\" = ?7 "
        "RETURNING \"ID\""));
    Statement::ResetAfter done{st};
    st.bind(1, m.ident);
    st.bind(2, m.uuid);
    st.bind(3, m.label);
    st.bind(4, m.fsType);
    st.bind(5, m.bytes);
    bindBlob(st, 6, m.mountPoint);
    st.bind(7, nowMs());
    if (!st.step())
        catalog.fail(QStringLiteral("Volume"));
    catalog.notePlacesChanged();
    return sqlite3_column_int64(st.handle(), 0);
}

bool storeLocation(Catalog &catalog, qint64 episodeId, const QByteArray &givenPath, const Mounts &mounts) {
    // The file itself, not a link to it or a path through "..": a mount is found by its prefix.
    char *real = ::realpath(givenPath.constData(), nullptr);
    if (!real)
        return false;
    const QByteArray absPath(real);
    free(real);
    const FileStat f = statFile(absPath);
    if (!f.ok || !f.regular)
        return false;
    const MountedVolume *m = mounts.mountOf(absPath, f.device);
    if (!m)
        return false;
    const qint64 volume = volumeFor(catalog, *m);
    // The same file stored again (added twice) now belongs to the newer episode.
    Statement &st = catalog.statement(QStringLiteral(
        "INSERT INTO \"Location\"(\"Episode\", \"Volume\", \"Path\", \"Size\", \"MTime\", \"Seen\", "
        "\"State\") "
        "VALUES (?, ?, ?, ?, ?, ?, 'present') ON CONFLICT(\"Volume\", \"Path\") DO UPDATE SET "
        "\"Episode\" = excluded.\"Episode\", \"Size\" = excluded.\"Size\", \"MTime\" = excluded.\"MTime\", "
        "\"Seen\" = excluded.\"Seen\", \"State\" = 'present'"));
    Statement::ResetAfter done{st};
    st.bind(1, episodeId);
    st.bind(2, volume);
    bindBlob(st, 3, Mounts::volumePath(*m, absPath));
    st.bind(4, f.size);
    st.bind(5, f.mtimeNs);
    st.bind(6, nowMs());
    st.step();
    return true;
}

std::vector<VolumeRow> volumes(Catalog &catalog, const Mounts &mounts, bool counts) {
    Statement &st = catalog.statement(volumeSelect(counts) + QStringLiteral(" ORDER BY v.\"ID\""));
    Statement::ResetAfter done{st};
    std::vector<VolumeRow> out;
    while (st.step())
        out.push_back(readVolume(st.handle(), mounts));
    return out;
}

std::optional<VolumeRow> volume(Catalog &catalog, qint64 id, const Mounts &mounts) {
    Statement &st = catalog.statement(volumeSelect(true) + QStringLiteral(" WHERE v.\"ID\" = ?"));
    Statement::ResetAfter done{st};
    st.bind(1, id);
    if (!st.step())
        return std::nullopt;
    return readVolume(st.handle(), mounts);
}

std::vector<LocationRow> titleLocations(Catalog &catalog, qint64 titleId, const Mounts &mounts) {
    return readLocations(catalog, QStringLiteral("e.\"Название\" = ?"), titleId, mounts);
}

std::vector<LocationRow> episodeLocations(Catalog &catalog, qint64 episodeId, const Mounts &mounts) {
    return readLocations(catalog, QStringLiteral("e.\"ID\" = ?"), episodeId, mounts);
}

std::vector<LocationRow> locationRow(Catalog &catalog, qint64 locationId, const Mounts &mounts) {
    return readLocations(catalog, QStringLiteral("l.\"ID\" = ?"), locationId, mounts);
}

OpenTarget fileToOpen(Catalog &catalog, qint64 episodeId, const Mounts &mounts) {
    const std::vector<LocationRow> rows = episodeLocations(catalog, episodeId, mounts);
    const LocationRow *online = nullptr;
    for (const LocationRow &r : rows) {
        if (r.absolutePath.isEmpty())
            continue;
        const FileStat f = statFile(r.absolutePath);
        if (f.ok && f.regular)
            return {r.absolutePath, {}};
        online = &r;
    }
    if (online)
        return {{}, msg::fileNotFoundOnDrive(QFile::decodeName(online->absolutePath))};
    if (rows.empty() || rows.front().id == 0)
        return {{}, msg::episodePlaceUnknown(rows.empty() ? QString() : rows.front().episodeName)};
    return {{}, msg::driveNotConnected(rows.front().volumeName)};
}

QString placeText(const std::vector<LocationRow> &rows) {
    if (rows.empty() || rows.front().id == 0)
        return msg::placeUnknown();
    QStringList lines;
    for (const LocationRow &r : rows) {
        const qsizetype slash = r.path.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray("/") : '/' + r.path.left(slash);
        lines << msg::placeLine(r.volumeName, r.state != State::Offline, QFile::decodeName(folder),
                                msg::placeState(stateWord(r.state)));
    }
    return lines.join(QLatin1Char('\n'));
}

void renameVolume(Catalog &catalog, qint64 id, const QString &name) {
    catalog.ensureWritable();
    if (name.size() > schema::kMaxTextLength)
        throw Error(msg::textTooLong(QStringLiteral("Name"), schema::kMaxTextLength, name.size()));
    Statement &st = catalog.statement(QStringLiteral("UPDATE \"Volume\" SET \"Name\" = ? WHERE \"ID\" = ?"));
    Statement::ResetAfter done{st};
    st.bind(1, name.trimmed().isEmpty() ? QVariant() : QVariant(name.trimmed()));
    st.bind(2, id);
    st.step();
    catalog.notePlacesChanged();
    catalog.deliverChanges();
}

void forgetVolume(Catalog &catalog, qint64 id) {
    catalog.ensureWritable();
    Catalog::Transaction t(catalog);
    for (const char *sql :
         {"DELETE FROM \"Location\" WHERE \"Volume\" = ?", "DELETE FROM \"Volume\" WHERE \"ID\" = ?"}) {
        Statement &st = catalog.statement(QString::fromUtf8(sql));
        Statement::ResetAfter done{st};
        st.bind(1, id);
        st.step();
    }
    catalog.notePlacesChanged();
    t.commit();
}

qint64 missingCount(Catalog &catalog, qint64 volumeId) {
    Statement &st = catalog.statement(
        QStringLiteral("SELECT count(*) FROM \"Location\" WHERE \"Volume\" = ? AND \"State\" = 'missing'"));
    Statement::ResetAfter done{st};
    st.bind(1, volumeId);
    return st.step() ? sqlite3_column_int64(st.handle(), 0) : 0;
}

qint64 removeMissing(Catalog &catalog, qint64 volumeId) {
    catalog.ensureWritable();
    Catalog::Transaction t(catalog);
    // The episodes whose every location is missing go; a copy elsewhere keeps its episode.
    std::vector<std::pair<qint64, qint64>> gone; // episode, title
    {
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT e.\"ID\", e.\"Название\" FROM \"Серии\" e WHERE e.\"ID\" IN (SELECT \"Episode\" FROM "
            "\"Location\" WHERE \"State\" = 'missing' AND (?1 = 0 OR \"Volume\" = ?1)) AND NOT EXISTS "
            "(SELECT 1 FROM \"Location\" o WHERE o.\"Episode\" = e.\"ID\" AND NOT (o.\"State\" = 'missing' "
            "AND (?1 = 0 OR o.\"Volume\" = ?1)))"));
        Statement::ResetAfter done{st};
        st.bind(1, volumeId);
        while (st.step())
            gone.emplace_back(sqlite3_column_int64(st.handle(), 0), sqlite3_column_int64(st.handle(), 1));
    }
    {
        Statement &st = catalog.statement(QStringLiteral(
            "DELETE FROM \"Location\" WHERE \"State\" = 'missing' AND (?1 = 0 OR \"Volume\" = ?1)"));
        Statement::ResetAfter done{st};
        st.bind(1, volumeId);
        st.step();
    }
    Statement &del = catalog.statement(QStringLiteral("DELETE FROM \"Серии\" WHERE \"ID\" = ?"));
    for (const auto &[episode, title] : gone) {
        Statement::ResetAfter done{del};
        del.bind(1, episode);
        del.step();
        catalog.forgetRow(schema::kEpisodes, episode, title);
    }
    catalog.notePlacesChanged();
    t.commit();
    return qint64(gone.size());
}

} // namespace vq::places
