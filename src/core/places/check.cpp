#include "check.h"

#include "catalog/catalog.h"

#include <QHash>
#include <QSet>

#include <dirent.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vq::places {

namespace {

QByteArray folderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

QByteArray nameOf(const QByteArray &path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray join(const QByteArray &folder, const QByteArray &name) {
    return folder.isEmpty() ? name : folder + '/' + name;
}

struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

struct Candidate {
    QByteArray path;
    qint64 mtimeNs;
};

// The files of the missing items' names found in a folder, by name and size.
class Search {
public:
    Search(const CheckVolume &v, const std::vector<int> &missing, const std::vector<CheckFinding> &found)
        : m_volume(v) {
        for (int i : missing)
            m_wanted.insert(nameOf(v.items[size_t(i)].path));
        for (size_t i = 0; i < v.items.size(); ++i)
            if (found[i].state != State::Missing)
                m_known.insert(v.items[i].path);
    }

    // The folders that hold catalogued files, each read once.
    void catalogued() {
        QSet<QByteArray> folders;
        for (const CheckItem &it : m_volume.items)
            folders.insert(folderOf(it.path));
        for (const QByteArray &f : std::as_const(folders)) {
            const QByteArray abs = Mounts::absolutePath(*m_volume.mount, join(f, "x"));
            if (abs.isEmpty())
                continue;
            Fd d(::open(folderOf(abs).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (d.fd >= 0)
                readFolder(d.fd, f, false);
        }
    }

    // The whole volume, on its own device only.
    void everything() {
        const QByteArray top = m_volume.mount->mountPoint;
        Fd d(::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat s {};
        if (d.fd < 0 || fstat(d.fd, &s) != 0)
            return;
        m_device = s.st_dev;
        const QByteArray root = m_volume.mount->root == "/" ? QByteArray() : m_volume.mount->root.mid(1);
        readFolder(d.fd, root, true);
    }

    // The one file that can be the item: same name and size, and the same time where two are.
    std::optional<Candidate> match(const CheckItem &it) const {
        const auto all = m_found.values({nameOf(it.path), it.size});
        std::optional<Candidate> pick;
        int sameTime = 0;
        for (const Candidate &c : all)
            if (c.mtimeNs == it.mtimeNs) {
                ++sameTime;
                pick = c;
            }
        if (all.size() == 1)
            return all.first();
        return sameTime == 1 ? pick : std::nullopt;
    }

    // Taken by a relinked item: never given to two.
    void take(const QByteArray &path) { m_known.insert(path); }
    bool taken(const QByteArray &path) const { return m_known.contains(path); }

private:
    void readFolder(int fd, const QByteArray &rel, bool deep) {
        DIR *dir = fdopendir(::dup(fd));
        if (!dir)
            return;
        while (const dirent *e = readdir(dir)) {
            const QByteArray name(e->d_name);
            if (name == "." || name == "..")
                continue;
            const bool wanted = m_wanted.contains(name);
            if (!wanted && !deep)
                continue;
            struct stat s {};
            if (fstatat(fd, e->d_name, &s, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            const QByteArray path = join(rel, name);
            if (S_ISDIR(s.st_mode) && deep && s.st_dev == m_device) {
                Fd sub(::openat(fd, e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                if (sub.fd >= 0)
                    readFolder(sub.fd, path, true);
            } else if (S_ISREG(s.st_mode) && wanted && !m_known.contains(path)) {
                m_found.insert({name, qint64(s.st_size)},
                               {path, qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec});
            }
        }
        closedir(dir);
    }

    const CheckVolume &m_volume;
    QSet<QByteArray> m_wanted, m_known;
    QMultiHash<QPair<QByteArray, qint64>, Candidate> m_found;
    dev_t m_device = 0;
};

LocationRow rowOf(const CheckVolume &v, const CheckItem &it, const CheckFinding &f) {
    LocationRow r;
    r.id = it.locationId;
    r.episodeId = it.episodeId;
    r.volumeId = v.id;
    r.path = f.newPath.isEmpty() ? it.path : f.newPath;
    r.volumeName = v.name;
    if (v.mount)
        r.absolutePath = Mounts::absolutePath(*v.mount, r.path);
    r.size = it.size;
    r.mtimeNs = it.mtimeNs;
    r.state = f.state;
    return r;
}

} // namespace

qint64 CheckPlan::files() const {
    qint64 n = 0;
    for (const CheckVolume &v : volumes)
        n += qint64(v.items.size());
    return n;
}

CheckPlan planCheck(Catalog &catalog, const Mounts &mounts, qint64 volumeId) {
    CheckPlan plan;
    Catalog::ReadSnapshot snapshot(catalog);
    for (const VolumeRow &v : volumes(catalog, mounts, false)) {
        if (volumeId != 0 && v.id != volumeId)
            continue;
        CheckVolume cv;
        cv.id = v.id;
        cv.name = v.shownName();
        cv.lastCheck = v.lastCheck;
        if (const MountedVolume *m = mounts.find(v.ident))
            cv.mount = *m;
        Statement &st = catalog.statement(QStringLiteral(
            "SELECT \"ID\", \"Episode\", \"Path\", \"Size\", \"MTime\", \"State\" FROM \"Location\" "
            "WHERE \"Volume\" = ? ORDER BY \"Path\""));
        Statement::ResetAfter done{st};
        st.bind(1, v.id);
        sqlite3_stmt *h = st.handle();
        while (st.step())
            cv.items.push_back(
                {sqlite3_column_int64(h, 0), sqlite3_column_int64(h, 1),
                 QByteArray(static_cast<const char *>(sqlite3_column_blob(h, 2)), sqlite3_column_bytes(h, 2)),
                 sqlite3_column_int64(h, 3), sqlite3_column_int64(h, 4), stateFromWord(st.text(5))});
        plan.volumes.push_back(std::move(cv));
    }
    return plan;
}

CheckOutcome runCheck(const CheckPlan &plan, bool deep, const CheckProgress &progress) {
    CheckOutcome out;
    const qint64 total = plan.files();
    qint64 done = 0;
    for (const CheckVolume &v : plan.volumes) {
        std::vector<CheckFinding> found(v.items.size());
        if (!v.mount) {
            for (CheckFinding &f : found)
                f.state = State::Offline;
            done += qint64(v.items.size());
            out.found.push_back(std::move(found));
            continue;
        }
        // One open folder for the files of each folder: a name is looked up there, not from the root.
        std::vector<int> missing;
        QByteArray openFolder;
        std::optional<Fd> dir;
        for (size_t i = 0; i < v.items.size(); ++i) {
            const CheckItem &it = v.items[i];
            const QByteArray folder = folderOf(it.path);
            if (!dir || folder != openFolder) {
                openFolder = folder;
                const QByteArray abs = Mounts::absolutePath(*v.mount, it.path);
                dir.emplace(abs.isEmpty()
                                ? -1
                                : ::open(folderOf(abs).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            }
            struct stat s {};
            const QByteArray name = nameOf(it.path);
            if (dir->fd >= 0 && fstatat(dir->fd, name.constData(), &s, 0) == 0 && S_ISREG(s.st_mode)) {
                const qint64 mtime = qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec;
                found[i].state =
                    qint64(s.st_size) == it.size && mtime == it.mtimeNs ? State::Present : State::Changed;
                found[i].size = qint64(s.st_size);
                found[i].mtimeNs = mtime;
            } else {
                found[i].state = State::Missing;
                missing.push_back(int(i));
            }
            if (++done % 512 == 0 && progress && !progress(done, total)) {
                out.cancelled = true;
                return out;
            }
        }
        if (!missing.empty()) {
            Search search(v, missing, found);
            if (deep)
                search.everything();
            else
                search.catalogued();
            for (int i : missing) {
                const auto c = search.match(v.items[size_t(i)]);
                if (!c || search.taken(c->path))
                    continue;
                search.take(c->path);
                CheckFinding &f = found[size_t(i)];
                f.state = State::Moved;
                f.newPath = c->path;
                f.mtimeNs = c->mtimeNs;
                f.size = v.items[size_t(i)].size;
            }
        }
        out.found.push_back(std::move(found));
    }
    if (progress && !progress(done, total))
        out.cancelled = true;
    return out;
}

CheckReport applyCheck(Catalog &catalog, const CheckPlan &plan, const CheckOutcome &outcome) {
    CheckReport report;
    report.cancelled = outcome.cancelled;
    if (outcome.cancelled)
        return report;
    for (size_t vi = 0; vi < plan.volumes.size(); ++vi) {
        const CheckVolume &v = plan.volumes[vi];
        for (size_t i = 0; i < v.items.size(); ++i) {
            const CheckFinding &f = outcome.found[vi][i];
            switch (f.state) {
            case State::Present:
                ++report.present;
                continue;
            case State::Changed:
                ++report.changed;
                break;
            case State::Missing:
                ++report.missing;
                break;
            case State::Moved:
                ++report.moved;
                break;
            default:
                ++report.offline;
                break;
            }
            report.files.push_back(rowOf(v, v.items[i], f));
        }
    }
    // The names of only the files reported.
    Statement &name = catalog.statement(QStringLiteral("SELECT \"Серия\" FROM \"Серии\" WHERE \"ID\" = ?"));
    for (LocationRow &r : report.files) {
        Statement::ResetAfter done{name};
        name.bind(1, r.episodeId);
        if (name.step())
            r.episodeName = name.text(0);
    }
    if (catalog.isReadOnly())
        return report;
    const qint64 now = nowMs();
    Catalog::Transaction t(catalog);
    // Seen is written when a state changes: a file that goes missing was last seen at the check
    // before; one that stays present is seen at each check of its volume (LastCheck).
    Statement &state = catalog.statement(
        QStringLiteral("UPDATE \"Location\" SET \"State\" = ?2, \"Seen\" = CASE WHEN ?2 = 'missing' THEN "
                       "max(ifnull(\"Seen\", 0), ?4) ELSE ?3 END WHERE \"ID\" = ?1"));
    Statement &moved = catalog.statement(QStringLiteral(
        "UPDATE OR IGNORE \"Location\" SET \"State\" = 'moved', \"Path\" = ?2, \"MTime\" = ?3, \"Seen\" = ?4 "
        "WHERE \"ID\" = ?1"));
    Statement &seen = catalog.statement(
        QStringLiteral("UPDATE \"Volume\" SET \"LastCheck\" = ?2, \"LastSeen\" = ?2 WHERE \"ID\" = ?1"));
    for (size_t vi = 0; vi < plan.volumes.size(); ++vi) {
        const CheckVolume &v = plan.volumes[vi];
        if (!v.mount)
            continue;
        for (size_t i = 0; i < v.items.size(); ++i) {
            const CheckFinding &f = outcome.found[vi][i];
            const CheckItem &it = v.items[i];
            if (f.state == State::Moved) {
                Statement::ResetAfter done{moved};
                moved.bind(1, it.locationId);
                sqlite3_bind_blob(moved.handle(), 2, f.newPath.constData(), int(f.newPath.size()),
                                  SQLITE_STATIC);
                moved.bind(3, f.mtimeNs);
                moved.bind(4, now);
                moved.step();
            } else if (f.state != it.stored) {
                Statement::ResetAfter done{state};
                state.bind(1, it.locationId);
                state.bind(2, stateWord(f.state));
                state.bind(3, now);
                state.bind(4, v.lastCheck);
                state.step();
            }
        }
        Statement::ResetAfter done{seen};
        seen.bind(1, v.id);
        seen.bind(2, now);
        seen.step();
    }
    catalog.notePlacesChanged();
    t.commit();
    report.written = true;
    return report;
}

CheckReport checkFiles(Catalog &catalog, const Mounts &mounts, qint64 volumeId, bool deep,
                       const CheckProgress &progress) {
    const CheckPlan plan = planCheck(catalog, mounts, volumeId);
    return applyCheck(catalog, plan, runCheck(plan, deep, progress));
}

} // namespace vq::places
