#pragma once

// Makes large synthetic catalogs for the benchmarks: titles with 1 to 200 episodes, a few frame
// sizes and languages per title, some titles changed in the last days. The rows go in with plain
// SQL, so the file's own triggers fill the kept sums exactly as for any other writer.

#include "catalog/catalog.h"
#include "catalog/tabledata.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <sqlite3.h>

#include <cstdio>
#include <functional>

namespace vq::bench {

inline void generateCatalog(const QString &path, int titles, int episodes, quint32 seed = 20261207) {
    QFile::remove(path);
    Catalog::createStarter(path);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr);
    QRandomGenerator rng(seed);
    const QStringList words = {
        QStringLiteral("Naruto"),     QStringLiteral("Bleach"),  QStringLiteral("Cowboy"),
        QStringLiteral("Bebop"),      QStringLiteral("Ghost"),   QStringLiteral("Shell"),
        QStringLiteral("Евангелион"), QStringLiteral("Ёлка"),    QStringLiteral("Akira"),
        QStringLiteral("Trigun"),     QStringLiteral("Monster"), QStringLiteral("Гуррен"),
        QStringLiteral("Lagann"),     QStringLiteral("Haruhi"),  QStringLiteral("Kanon"),
        QStringLiteral("Air"),        QStringLiteral("Clannad"), QStringLiteral("Берсерк")};
    // Episode counts: 1 to 200 each, scaled so that they add up to `episodes`.
    std::vector<int> counts(static_cast<size_t>(titles));
    long long sum = 0;
    for (int &n : counts) {
        const double u = rng.generateDouble();
        n = 1 + int(199 * u * u * u);
        sum += n;
    }
    long long diff = episodes - sum;
    for (size_t i = 0; diff != 0; i = (i + 1) % counts.size()) {
        if (diff > 0 && counts[i] < 200) {
            ++counts[i];
            --diff;
        } else if (diff < 0 && counts[i] > 1) {
            --counts[i];
            ++diff;
        }
    }
    sqlite3_stmt *t = nullptr, *e = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO \"Список\"(\"ID\", \"Название\", \"Количество серий\", \"Комментарий\", \"NType\") "
        "VALUES (?, ?, ?, ?, ?)",
        -1, &t, nullptr);
    sqlite3_prepare_v2(
        db,
        "INSERT INTO \"Серии\"(\"Название\", \"Серия\", \"Объём (байт)\", \"Ширина\", \"Высота\", "
        "\"Длительность\", \"Звук\", \"Субтитры встроенные\", \"Субтитры внешние\", \"Video_Codec_id\", "
        "\"Audio_Codec_id\", \"O_Bitrate\", \"V_Bitrate\", \"A_Bitrate\", \"A_Hz\", \"Format_Pack_id\", "
        "\"Audio_Stream_Count\", \"Update\") VALUES "
        "(?,?,?,?,?,?,?,?,?,1,2,1200000,1000000,192000,48000,1,?,?)",
        -1, &e, nullptr);
    sqlite3_exec(db,
                 "INSERT INTO \"Codec\"(\"ID\", \"Name\") VALUES (1, 'V_MPEG4/ISO/AVC'), (2, 'AAC LC');"
                 "INSERT INTO \"Format\"(\"ID\", \"Name\") VALUES (1, 'Matroska')",
                 nullptr, nullptr, nullptr);
    const int sizes[][2] = {{640, 480}, {720, 480}, {1280, 720}, {1920, 1080}, {704, 396}};
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < titles; ++i) {
        const int id = i + 1;
        const QString name = words[int(rng.bounded(words.size()))] + QLatin1Char(' ') +
                             words[int(rng.bounded(words.size()))] + QLatin1Char(' ') + QString::number(id);
        const QByteArray nameUtf8 = name.toUtf8();
        const QByteArray countText = QByteArray::number(counts[size_t(i)]);
        sqlite3_bind_int(t, 1, id);
        sqlite3_bind_text(t, 2, nameUtf8.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(t, 3, countText.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(t, 4, i % 7 == 0 ? "смотрю" : "", -1, SQLITE_STATIC);
        sqlite3_bind_int(t, 5, 1 + int(rng.bounded(4)));
        sqlite3_step(t);
        sqlite3_reset(t);
        const int base = int(rng.bounded(5));
        const bool mixed = rng.bounded(10) == 0;
        const qint64 ageMs = qint64(rng.generateDouble() * 700.0 * 86400000.0);
        for (int k = 0; k < counts[size_t(i)]; ++k) {
            const int fs = mixed && k % 3 == 0 ? (base + 1) % 5 : base;
            const QByteArray ep =
                QStringLiteral("%1 - %2.mkv").arg(name).arg(k + 1, 3, 10, QLatin1Char('0')).toUtf8();
            const QByteArray when =
                naiveMsToStorageText(naiveMsFromDateTime(now) - ageMs + k * 60000).toUtf8();
            sqlite3_bind_int(e, 1, id);
            sqlite3_bind_text(e, 2, ep.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(e, 3, 150e6 + double(rng.bounded(200000000)));
            sqlite3_bind_int(e, 4, sizes[fs][0]);
            sqlite3_bind_int(e, 5, sizes[fs][1]);
            sqlite3_bind_int(e, 6, 1200000 + int(rng.bounded(300000)));
            sqlite3_bind_int(e, 7, mixed && k % 2 ? 1 : 0);
            sqlite3_bind_int(e, 8, 1);
            sqlite3_bind_int(e, 9, 2);
            sqlite3_bind_int(e, 10, mixed ? 2 : 1);
            sqlite3_bind_text(e, 11, when.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(e);
            sqlite3_reset(e);
        }
    }
    sqlite3_finalize(t);
    sqlite3_finalize(e);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The catalog a bench runs on: argv[1], or a file named `prefix`-titles-episodes in the temp
// folder; made (then passed to `made`) when it does not exist. argv[2] and argv[3] give the size.
inline QString benchCatalog(int argc, char **argv, const QString &prefix, int &titles, int &episodes,
                            const std::function<void(const QString &)> &made = {}) {
    titles = argc > 2 ? std::atoi(argv[2]) : 20000;
    episodes = argc > 3 ? std::atoi(argv[3]) : 400000;
    const QString path =
        argc > 1
            ? QString::fromLocal8Bit(argv[1])
            : QDir::temp().filePath(QStringLiteral("%1-%2-%3.vdq").arg(prefix).arg(titles).arg(episodes));
    if (!QFileInfo::exists(path)) {
        QElapsedTimer g;
        g.start();
        generateCatalog(path, titles, episodes);
        if (made)
            made(path);
        std::printf("generated %s in %lld ms\n", qPrintable(path), g.elapsed());
    }
    return path;
}

} // namespace vq::bench
