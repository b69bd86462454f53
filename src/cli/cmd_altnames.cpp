// The other names of one title: listed, added, renamed and removed.
#include "cli.h"

#include "catalog/messages.h"
#include "intake/mediaprobe.h"
#include "ops/altnames.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace vq::cli {

namespace {

qint64 idArgument(const QString &text, QString (*notAnId)(const QString &)) {
    const std::optional<qint64> id = parseInt64(text);
    if (!id)
        throw UsageError(notAnId(text));
    return *id;
}

// The alternative name must be one of the title's: a wrong pair of IDs changes nothing.
void requireOwnName(CatalogSession &s, qint64 titleId, qint64 altId) {
    const std::vector<ops::AltName> names = ops::altNames(s, titleId);
    if (std::none_of(names.begin(), names.end(), [&](const ops::AltName &a) { return a.id == altId; }))
        throw Error(msg::altNameNotOfTitle(altId, titleId));
}

int cmdAltNames(Context &c) {
    const bool json = c.takeFlag(QStringLiteral("--json"));
    const auto idText = c.takeOption(QStringLiteral("--title-id"));
    const QStringList args = c.positional(0, 3);
    if (!idText)
        throw UsageError(
            msg::usageCommandNeeds(QStringLiteral("alt-names"), QStringLiteral("--title-id ID")));
    const qint64 titleId = idArgument(*idText, msg::usageNotATitleId);
    const QString action = args.value(0);
    // Usage first: a wrong call is told before the catalog is opened.
    const int wanted = action.isEmpty()                    ? 0
                       : action == QLatin1String("add")    ? 1
                       : action == QLatin1String("rename") ? 2
                       : action == QLatin1String("remove") ? 1
                                                           : -1;
    if (wanted < 0)
        throw UsageError(msg::usageUnknownAction(QStringLiteral("alt-names"), action));
    if (args.size() != wanted + 1 && !action.isEmpty())
        throw UsageError(msg::usageWrongArgumentCountOf(QStringLiteral("alt-names ") + action));
    if (json && !action.isEmpty())
        throw UsageError(msg::usageJsonOnlyForList());
    const bool byAltId = action == QLatin1String("rename") || action == QLatin1String("remove");
    const qint64 altId = byAltId ? idArgument(args.at(1), msg::usageNotAnAltNameId) : 0;

    CatalogSession &s = c.session();
    if (action.isEmpty()) {
        if (s.isReadOnly())
            c.err << msg::catalogOpenedReadOnly(s.path()) << '\n';
        QJsonArray rows;
        for (const ops::AltName &a : ops::altNames(s, titleId)) {
            if (json)
                rows.append(QJsonObject{{QStringLiteral("ID"), a.id},
                                        {QStringLiteral("Альтернативное Название"), a.name}});
            else
                c.printTsv({QString::number(a.id), a.name});
        }
        if (json)
            c.printJson(rows);
    } else if (action == QLatin1String("add")) {
        const qint64 id = ops::addAltName(s, titleId, args.at(1));
        c.printTsv({QString::number(id), args.at(1).trimmed()});
    } else if (action == QLatin1String("rename")) {
        requireOwnName(s, titleId, altId);
        ops::renameAltName(s, altId, args.at(2));
    } else {
        requireOwnName(s, titleId, altId);
        ops::deleteAltName(s, altId);
    }
    return 0;
}

const Command altNames("alt-names",
                       "alt-names --title-id ID [--json | add NAME | rename ALTID NAME | remove ALTID]",
                       cmdAltNames);

} // namespace

} // namespace vq::cli
