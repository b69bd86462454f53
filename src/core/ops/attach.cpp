#include "attach.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "intake/filenames.h"
#include "places/locations.h"

#include <QDir>
#include <QHash>

#include <dirent.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace vq::ops {

namespace {

struct FolderFile {
    QByteArray path;
    QString name;
    qint64 size = 0;
};

// Regular files below `folder`, each folder read once, links not followed.
void listFiles(const QByteArray &folder, std::vector<FolderFile> &out, QSet<QByteArray> &seen) {
    struct stat fs {};
    if (::stat(folder.constData(), &fs) != 0)
        return;
    const QByteArray key =
        QByteArray::number(quint64(fs.st_dev)) + ':' + QByteArray::number(quint64(fs.st_ino));
    if (seen.contains(key))
        return;
    seen.insert(key);
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return;
    std::vector<QByteArray> folders;
    while (const dirent *e = readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = folder.endsWith('/') ? folder + name : folder + '/' + name;
        struct stat s {};
        if (::lstat(path.constData(), &s) != 0)
            continue;
        if (S_ISDIR(s.st_mode))
            folders.push_back(path);
        else if (S_ISREG(s.st_mode))
            out.push_back({path, fileNameText(name), qint64(s.st_size)});
    }
    closedir(dir);
    for (const QByteArray &f : folders)
        listFiles(f, out, seen);
}

} // namespace

AttachReport attachFolder(Catalog &catalog, qint64 titleId, const QByteArray &folder,
                          const places::Mounts &mounts) {
    catalog.ensureWritable();
    struct Episode {
        qint64 id;
        QString name;
        qint64 size;
    };
    std::vector<Episode> episodes;
    {
        Statement &st = catalog.statement(QStringLiteral("SELECT \"ID\", \"Серия\", \"Объём (байт)\" FROM "
                                                         "\"Серии\" WHERE \"Название\" = ? ORDER BY \"ID\""));
        Statement::ResetAfter done{st};
        st.bind(1, titleId);
        while (st.step())
            episodes.push_back({sqlite3_column_int64(st.handle(), 0), st.text(1),
                                qint64(sqlite3_column_double(st.handle(), 2))});
    }
    if (!QDir(QFile::decodeName(folder)).exists())
        throw Error(msg::folderNotFound(fileNameText(folder)));
    std::vector<FolderFile> files;
    QSet<QByteArray> seen;
    listFiles(folder, files, seen);

    using Key = QPair<QString, qint64>;
    QMultiHash<Key, int> episodesBy, filesBy;
    for (int i = 0; i < int(episodes.size()); ++i)
        episodesBy.insert({episodes[size_t(i)].name, episodes[size_t(i)].size}, i);
    for (int i = 0; i < int(files.size()); ++i)
        filesBy.insert({files[size_t(i)].name, files[size_t(i)].size}, i);

    AttachReport report;
    std::vector<bool> fileUsed(files.size());
    Catalog::Transaction t(catalog);
    for (const Episode &e : episodes) {
        const Key key{e.name, e.size};
        const QList<int> candidates = filesBy.values(key);
        if (candidates.isEmpty()) {
            report.leftEpisodes << e.name;
            continue;
        }
        if (candidates.size() > 1 || episodesBy.count(key) > 1) {
            report.ambiguous << e.name;
            for (int f : candidates)
                fileUsed[size_t(f)] = true;
            continue;
        }
        const FolderFile &f = files[size_t(candidates.first())];
        fileUsed[size_t(candidates.first())] = true;
        if (places::storeLocation(catalog, e.id, f.path, mounts))
            report.matched.emplace_back(e.name, pathText(f.path));
        else
            report.leftEpisodes << e.name;
    }
    t.commit();
    for (size_t i = 0; i < files.size(); ++i)
        if (!fileUsed[i])
            report.leftFiles << pathText(files[i].path);
    report.ambiguous.removeDuplicates();
    catalog.deliverChanges();
    return report;
}

} // namespace vq::ops
