#pragma once

#include "catalog/catalogsession.h"
#include "catalog/error.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <span>

namespace vq::cli {

// A wrong call of the tool: exit status 2 and the usage line.
class UsageError : public Error {
public:
    using Error::Error;
};

class Context {
public:
    // `args`: what follows the command's name; a "--" among them ends the options.
    Context(QStringList args, QTextStream &out, QTextStream &err, QString catalogPath);

    // The arguments after the command's name, up to a "--".
    const QStringList &args() const { return m_args; }
    // Takes "--name" out of the arguments; true when it was there.
    bool takeFlag(const QString &name);
    // Takes "--name VALUE" or "--name=VALUE" out of the arguments.
    std::optional<QString> takeOption(const QString &name);
    // What is left must be plain arguments (no unknown option); those after "--" follow them.
    QStringList positional(int min, int max);

    // The catalog given with --catalog, or the remembered one; opened on first use.
    CatalogSession &session();
    QString catalogPath() const { return m_catalogPath; }
    bool catalogGiven() const { return m_catalogGiven; }
    void setCatalogPath(const QString &path) { m_catalogPath = path; }
    void setCatalogGiven(bool given) { m_catalogGiven = given; }

    void printJson(const QJsonArray &rows);
    void printJson(const QJsonObject &object);
    void printTsv(const QStringList &fields);
    // One row as printTsv prints it, line break included, appended to `line`.
    static void appendTsv(QString &line, std::span<const QStringView> fields);

    QStringList m_args;
    QTextStream &out;
    QTextStream &err;

private:
    QStringList m_afterOptions; // after "--": arguments even when they look like options
    QString m_line;             // one row of output, kept to spare an allocation per row
    QString m_catalogPath;
    bool m_catalogGiven = false;
    std::unique_ptr<CatalogSession> m_session;
};

using CommandFn = int (*)(Context &);

// Each command's file registers itself with one of these at namespace scope.
struct Command {
    Command(const char *name, const char *usage, CommandFn fn);
};

// The tool's version, as --version prints it.
QString versionText();

// Runs the tool in-process: returns the exit status (0 done, 1 error, 2 usage).
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace vq::cli
