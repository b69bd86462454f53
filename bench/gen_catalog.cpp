// Makes a synthetic catalog: gen_catalog FILE [TITLES] [EPISODES]
#include "catalog_generator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_catalog FILE [TITLES] [EPISODES]\n");
        return 2;
    }
    const int titles = argc > 2 ? std::atoi(argv[2]) : 20000;
    const int episodes = argc > 3 ? std::atoi(argv[3]) : 400000;
    QElapsedTimer t;
    t.start();
    vq::bench::generateCatalog(QString::fromLocal8Bit(argv[1]), titles, episodes);
    std::printf("made %s: %d titles, %d episodes in %lld ms\n", argv[1], titles, episodes, t.elapsed());
    return 0;
}
