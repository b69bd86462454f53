// The check of stored files at collection scale:
//   bench_check [files] [folder]
// Makes `files` files (50,000 by default) in folders of 100 below `folder` (a new temporary folder
// by default), stores each as an episode's location, then checks them all (the catalog read, each
// file's metadata, the states written) beside a floor run in turn: `find FOLDER -printf '%s %T@\n'`
// over the same tree. Figures are medians of seven pairs, CPU time (find's as a child's) and wall
// time; the target is at most 2x find.
#include "bench_clock.h"

#include "catalog/catalog.h"
#include "catalog/schema.h"
#include "places/check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace vq;

namespace {

bench::Sample runFind(const QByteArray &folder) {
    return bench::runChild({"find", folder.constData(), "-printf", "%s %T@\\n"});
}

} // namespace

int main(int argc, char **argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 50000;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bench-check-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/bench-check-XXXXXX"));
    const QString tree = tmp.filePath(QStringLiteral("tree"));
    const QString path = tmp.filePath(QStringLiteral("c.vdq"));
    Catalog::createStarter(path);
    Catalog catalog(path);
    catalog.exec(QStringLiteral("INSERT INTO \"Список\"(\"Название\") VALUES ('Bench')"));
    const places::Mounts mounts = places::Mounts::current();
    {
        Catalog::Transaction t(catalog);
        for (int i = 0; i < files; ++i) {
            const QString folder = tree + QStringLiteral("/f%1").arg(i / 100);
            if (i % 100 == 0)
                QDir().mkpath(folder);
            const QString name =
                QStringLiteral("[Group] Title %1 - %2 (1080p).mkv").arg(i / 100).arg(i % 100);
            QFile f(folder + QLatin1Char('/') + name);
            if (!f.open(QIODevice::WriteOnly))
                return 1;
            f.write(QByteArray(i % 7 + 1, 'x'));
            f.close();
            Statement &st = catalog.statement(QStringLiteral(
                "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\") VALUES (1, ?, ?)"));
            st.bind(1, name);
            st.bind(2, double(i % 7 + 1));
            st.step();
            st.reset();
            if (!places::storeLocation(catalog, catalog.lastInsertId(), QFile::encodeName(f.fileName()),
                                       mounts))
                return 1;
        }
        t.commit();
    }
    const QByteArray treeBytes = QFile::encodeName(tree);
    runFind(treeBytes); // both start with the folders in the cache
    places::CheckReport last;
    const auto check = [&] {
        return bench::measure([&] { last = places::checkFiles(catalog, mounts, 0, false); });
    };
    check();
    const bench::Paired p = bench::paired(
        7, [&] { return runFind(treeBytes); }, check);
    std::printf("check of %d files: %.1f ms CPU, %.1f ms wall; find: %.1f ms CPU, %.1f ms wall; "
                "ratio %.2fx CPU, %.2fx wall (target <= 2x); present %lld\n",
                files, p.subject.cpu, p.subject.wall, p.floor.cpu, p.floor.wall, p.cpuRatio, p.wallRatio,
                static_cast<long long>(last.present));
    return last.present == files ? 0 : 1;
}
