// Opening a large catalog, then the summary texts of every title and the totals, as a refresh does.
#include "browser/summary.h"
#include "catalog/catalogsession.h"
#include "catalog_generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString path = argc > 1 ? QString::fromLocal8Bit(argv[1])
                            : QDir::temp().filePath(QStringLiteral("vidoteq-bench-20k.vdq"));
    if (!QFileInfo::exists(path))
        vq::bench::generateCatalog(path, 20000, 400000);
    QElapsedTimer t;
    t.start();
    vq::CatalogSession s;
    s.open(path);
    const qint64 openMs = t.elapsed();
    std::printf("catalog: %d titles, %d episodes\n", s.Name.recordCount(), s.Series.recordCount());
    std::printf("open: %lld ms\n", openMs);
    for (int round = 0; round < 3; ++round) {
        t.restart();
        const vq::CatalogStats st = vq::UpStat(s);
        s.Name.setFiltered(false);
        vq::TExportList texts;
        const int n = s.Name.recordCount();
        for (int recNo = 1; recNo <= n; ++recNo)
            vq::GetExtParam(s, recNo, texts);
        std::printf("summary of %d titles + totals (%s, %s): %lld ms\n", n, qPrintable(st.LSize),
                    qPrintable(st.LTime), t.elapsed());
    }
    return 0;
}
