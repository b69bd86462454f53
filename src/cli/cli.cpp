#include "cli.h"

#include "catalog/messages.h"
#include "catalog/settings.h"

#include <QJsonDocument>
#include <QVarLengthArray>
#include <map>

namespace vq::cli {

namespace {

struct Entry {
    QString usage;
    CommandFn fn;
};

std::map<QString, Entry> &registry() {
    static std::map<QString, Entry> commands;
    return commands;
}

QString usageText() {
    QString text = msg::usageHeader();
    for (const auto &[name, entry] : registry())
        text += QStringLiteral("  %1\n").arg(entry.usage);
    return text;
}

} // namespace

Command::Command(const char *name, const char *usage, CommandFn fn) {
    registry()[QString::fromUtf8(name)] = {QString::fromUtf8(usage), fn};
}

Context::Context(QStringList args, QTextStream &out, QTextStream &err, QString catalogPath)
    : m_args(std::move(args)), out(out), err(err), m_catalogPath(std::move(catalogPath)) {
    if (const qsizetype end = m_args.indexOf(QStringLiteral("--")); end >= 0) {
        m_afterOptions = m_args.mid(end + 1);
        m_args.resize(end);
    }
}

bool Context::takeFlag(const QString &name) {
    const QString withValue = name + QLatin1Char('=');
    for (const QString &a : std::as_const(m_args))
        if (a.startsWith(withValue))
            throw UsageError(msg::usageOptionTakesNoValue(name));
    return m_args.removeAll(name) > 0;
}

std::optional<QString> Context::takeOption(const QString &name) {
    const QString withValue = name + QLatin1Char('=');
    for (qsizetype i = 0; i < m_args.size(); ++i) {
        if (m_args.at(i).startsWith(withValue)) {
            const QString value = m_args.at(i).mid(withValue.size());
            m_args.remove(i);
            return value;
        }
        if (m_args.at(i) == name) {
            if (i + 1 >= m_args.size())
                throw UsageError(msg::usageOptionNeedsValue(name));
            const QString value = m_args.at(i + 1);
            m_args.remove(i, 2);
            return value;
        }
    }
    return std::nullopt;
}

QStringList Context::positional(int min, int max) {
    for (const QString &a : std::as_const(m_args))
        if (a.startsWith(QLatin1String("--")))
            throw UsageError(msg::usageUnknownOption(a.section(QLatin1Char('='), 0, 0)));
    const QStringList all = m_args + m_afterOptions;
    if (all.size() < min || (max >= 0 && all.size() > max))
        throw UsageError(msg::usageWrongArgumentCount());
    return all;
}

CatalogSession &Context::session() {
    if (!m_session) {
        if (m_catalogPath.isEmpty())
            throw Error(msg::noCatalogRemembered());
        auto s = std::make_unique<CatalogSession>();
        s->open(m_catalogPath, false, false);
        m_session = std::move(s);
    }
    return *m_session;
}

void Context::printJson(const QJsonArray &rows) {
    out << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
}

void Context::printJson(const QJsonObject &object) {
    out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

void Context::appendTsv(QString &line, std::span<const QStringView> fields) {
    qsizetype length = qsizetype(fields.size()); // the tabs between and the line break
    for (QStringView f : fields)
        length += f.size();
    const qsizetype from = line.size();
    line.resize(from + length);
    char16_t *out = reinterpret_cast<char16_t *>(line.data()) + from;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            *out++ = u'\t';
        // A tab or line break inside a text would break the row apart: shown as a blank.
        const char16_t *in = fields[i].utf16();
        for (qsizetype k = 0, n = fields[i].size(); k < n; ++k)
            *out++ = in[k] == u'\t' || in[k] == u'\n' || in[k] == u'\r' ? u' ' : in[k];
    }
    *out = u'\n';
}

void Context::printTsv(const QStringList &fields) {
    m_line.clear();
    const QVarLengthArray<QStringView, 16> views(fields.begin(), fields.end());
    appendTsv(m_line, views);
    out << m_line;
}

QString versionText() {
    return QStringLiteral("vidoteq-cli %1").arg(QStringLiteral(VQ_VERSION));
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err) {
    // The tool's own options stand before the command; "--" ends them.
    QStringList args = arguments;
    QString catalog;
    bool given = false;
    try {
        while (!args.isEmpty() && args.first().startsWith(QLatin1Char('-'))) {
            const QString a = args.takeFirst();
            if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
                out << usageText();
                out.flush();
                return 0;
            }
            if (a == QLatin1String("--version")) {
                out << versionText() << '\n';
                out.flush();
                return 0;
            }
            if (a == QLatin1String("--"))
                break;
            if (a == QLatin1String("--catalog")) {
                if (args.isEmpty())
                    throw UsageError(msg::usageOptionNeedsValue(a));
                catalog = args.takeFirst();
            } else if (a.startsWith(QLatin1String("--catalog="))) {
                catalog = a.mid(10);
            } else {
                throw UsageError(msg::usageUnknownOption(a.section(QLatin1Char('='), 0, 0)));
            }
            given = true;
        }
        if (args.isEmpty())
            throw UsageError(msg::usageNoCommand());
        const QString name = args.takeFirst();
        auto it = registry().find(name);
        if (it == registry().end())
            throw UsageError(msg::usageUnknownCommand(name));
        // "COMMAND --help" asks for the usage, not for the command; after "--" it is an argument.
        const qsizetype end = args.indexOf(QStringLiteral("--"));
        const QStringList options = end < 0 ? args : args.mid(0, end);
        if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"))) {
            out << it->second.usage << '\n';
            out.flush();
            return 0;
        }
        // The catalog may also follow the command, as it always could.
        Context ctx(args, out, err, QString());
        if (const std::optional<QString> after = ctx.takeOption(QStringLiteral("--catalog"))) {
            catalog = *after;
            given = true;
        }
        if (!given)
            catalog = rememberedCatalogPath();
        ctx.setCatalogPath(catalog);
        ctx.setCatalogGiven(given);
        const int status = it->second.fn(ctx);
        out.flush();
        return status;
    } catch (const UsageError &e) {
        out.flush();
        if (!e.message().isEmpty())
            err << "vidoteq-cli: " << e.message() << '\n';
        err << usageText();
        err.flush();
        return 2;
    } catch (const Error &e) {
        out.flush();
        err << "vidoteq-cli: " << QString(e.message()).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
        err.flush();
        return 1;
    } catch (const std::exception &e) {
        out.flush();
        err << "vidoteq-cli: " << QString::fromUtf8(e.what()) << '\n';
        err.flush();
        return 1;
    }
}

} // namespace vq::cli
