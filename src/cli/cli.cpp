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
    QString text = QStringLiteral("usage: vidoteq-cli [--catalog FILE] COMMAND [ARGS]\ncommands:\n");
    for (const auto &[name, entry] : registry())
        text += QStringLiteral("  %1\n").arg(entry.usage);
    return text;
}

} // namespace

Command::Command(const char *name, const char *usage, CommandFn fn) {
    registry()[QString::fromUtf8(name)] = {QString::fromUtf8(usage), fn};
}

bool Context::takeFlag(const QString &name) {
    return m_args.removeAll(name) > 0;
}

std::optional<QString> Context::takeOption(const QString &name) {
    const int i = int(m_args.indexOf(name));
    if (i < 0)
        return std::nullopt;
    if (i + 1 >= m_args.size())
        throw UsageError(QStringLiteral("%1 needs a value").arg(name));
    const QString value = m_args.at(i + 1);
    m_args.remove(i, 2);
    return value;
}

QStringList Context::positional(int min, int max) {
    for (const QString &a : m_args)
        if (a.startsWith(QLatin1String("--")))
            throw UsageError(QStringLiteral("unknown option %1").arg(a));
    if (m_args.size() < min || (max >= 0 && m_args.size() > max))
        throw UsageError(QStringLiteral("wrong number of arguments"));
    return m_args;
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

int run(const QStringList &arguments, QTextStream &out, QTextStream &err) {
    QStringList args = arguments;
    QString catalog;
    bool given = false;
    try {
        if (const int i = int(args.indexOf(QStringLiteral("--catalog"))); i >= 0) {
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("--catalog needs a file"));
            catalog = args.at(i + 1);
            args.remove(i, 2);
            given = true;
        }
        if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
            throw UsageError(args.isEmpty() ? QStringLiteral("no command given") : QString());
        const QString name = args.takeFirst();
        auto it = registry().find(name);
        if (it == registry().end())
            throw UsageError(QStringLiteral("unknown command %1").arg(name));
        if (!given)
            catalog = rememberedCatalogPath();
        Context ctx(args, out, err, catalog);
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
