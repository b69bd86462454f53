#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

struct sqlite3;

namespace vq::test {

// Points the program's settings and data folders at a temporary folder, once per test program.
QString isolateSettings();

// One episode as it is put straight into a catalog file; unset values stay NULL.
struct EpisodeRow {
    QString name = QStringLiteral("ep.mkv");
    std::optional<double> size = std::nullopt;
    std::optional<int> width = std::nullopt;
    std::optional<int> height = std::nullopt;
    std::optional<qint64> durationMs = std::nullopt;
    std::optional<int> sound = std::nullopt;
    std::optional<int> subIn = std::nullopt;
    std::optional<int> subExt = std::nullopt;
    std::optional<QDateTime> update = std::nullopt;
};

// A starter catalog in a temporary folder, filled through SQLite directly (not through the code
// under test).
class TempCatalog {
public:
    TempCatalog();
    ~TempCatalog();
    const QString &path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

    qint64 addTitle(const QString &name, const QString &count = {}, const QString &comment = {},
                    int type = 0);
    qint64 addEpisode(qint64 titleId, const EpisodeRow &e);
    void exec(const QString &sql);
    // One value from a query, as text ("" for NULL).
    QString scalar(const QString &sql);

private:
    sqlite3 *db();
    QTemporaryDir m_dir;
    QString m_path;
    sqlite3 *m_db = nullptr;
};

QByteArray fileBytes(const QString &path);

// libmdb loops on some damage by what it reads of memory it never wrote. The sanitizer's allocator
// fills new memory, which lets it through; while one of these lives, worker processes get memory as
// it comes, as in a release build, and freed memory is not held back in a quarantine that would
// count against a worker's memory watch.
class PlainMemoryForWorkers {
public:
    PlainMemoryForWorkers();
    ~PlainMemoryForWorkers();

private:
    QByteArray m_saved;
    bool m_had = false;
};

// What turns a catalog into one made before it kept its sums: the statements, to run as any writer.
QStringList withoutKeptSums();

} // namespace vq::test
