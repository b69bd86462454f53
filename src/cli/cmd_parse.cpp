// What the release-name reader makes of names; it needs no catalog and opens none.
#include "cli.h"

#include "intake/filenames.h"
#include "intake/releasename.h"

#include <QJsonArray>
#include <QJsonObject>

#include <array>

namespace vq::cli {

namespace {

constexpr std::array<const char *, 14> Keys = {"Name",    "Title", "Episode",    "Season",      "Kind",
                                               "Version", "Group", "Resolution", "VideoTerms",  "AudioTerms",
                                               "Source",  "Year",  "CRC32",      "EpisodeTitle"};

std::array<QString, Keys.size()> fields(const QString &name) {
    const ReleaseName r = readReleaseName(name);
    const QString blank = QStringLiteral(" ");
    return {name,
            r.title,
            r.episode,
            r.season,
            releaseKindWord(r.kind),
            r.version,
            r.group,
            r.resolution,
            r.videoTerms.join(blank),
            r.audioTerms.join(blank),
            r.source,
            r.year,
            r.crc32,
            r.episodeTitle};
}

int cmdParse(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const QStringList names = c.positional(1, -1);
    QJsonArray rows;
    for (const QString &given : names) {
        // A name as the file system would show it: Windows-1251 where its bytes are not UTF-8.
        const auto f = fields(fileNameText(argumentBytes(given)));
        if (json) {
            QJsonObject row;
            for (size_t i = 0; i < Keys.size(); ++i)
                row.insert(QLatin1String(Keys[i]), f[i]);
            rows.append(row);
        } else {
            c.printTsv(QStringList(f.begin(), f.end()));
        }
    }
    if (json)
        c.printJson(rows);
    return 0;
}

const Command parse("parse", "parse NAME... [--json]", cmdParse);

} // namespace

} // namespace vq::cli
