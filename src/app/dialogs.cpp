#include "dialogs.h"

#include <QDesktopServices>
#include <QUrl>

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace vq {

QString QtDialogs::openFile(QWidget *parent, const QString &caption, const QString &startPath,
                            const QString &filter) {
    return QFileDialog::getOpenFileName(parent, caption, startPath, filter);
}

QString QtDialogs::saveFile(QWidget *parent, const QString &caption, const QString &startPath,
                            const QString &filter) {
    QFileDialog d(parent, caption, startPath, filter);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setOption(QFileDialog::DontConfirmOverwrite);
    d.setDefaultSuffix(QFileInfo(startPath).suffix());
    if (!startPath.isEmpty())
        d.selectFile(startPath);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return QString();
    return d.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::inputText(QWidget *parent, const QString &caption, const QString &prompt,
                                            const QString &initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

bool QtDialogs::askYesNo(QWidget *parent, const QString &caption, const QString &text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

Answer QtDialogs::askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) {
    switch (QMessageBox::question(parent, caption, text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtDialogs::inform(QWidget *parent, const QString &caption, const QString &text) {
    QMessageBox::information(parent, caption, text);
}

void QtDialogs::showError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Vidoteq"), text);
}

int ScriptedDialogs::count(const QString &kind) const {
    int n = 0;
    for (const Call &c : m_calls)
        n += c.kind == kind;
    return n;
}

QStringList ScriptedDialogs::errors() const {
    QStringList out;
    for (const Call &c : m_calls)
        if (c.kind == QLatin1String("showError"))
            out << c.text;
    return out;
}

void ScriptedDialogs::clear() {
    m_answers.clear();
    m_files.clear();
    m_texts.clear();
    m_calls.clear();
}

QString QtDialogs::chooseFolder(QWidget *parent, const QString &caption, const QString &startPath) {
    return QFileDialog::getExistingDirectory(parent, caption, startPath);
}

bool QtDialogs::openUrl(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

QString ScriptedDialogs::chooseFolder(QWidget *, const QString &caption, const QString &startPath) {
    m_calls.push_back({QStringLiteral("chooseFolder"), caption, QString(), startPath});
    if (m_files.empty())
        return QString();
    QString f = m_files.front();
    m_files.pop_front();
    return f;
}

bool ScriptedDialogs::openUrl(const QUrl &url) {
    m_calls.push_back({QStringLiteral("openUrl"), QString(), url.toString(), QString()});
    return true;
}

QString ScriptedDialogs::openFile(QWidget *, const QString &caption, const QString &startPath,
                                  const QString &filter) {
    m_calls.push_back({QStringLiteral("openFile"), caption, filter, startPath});
    if (m_files.empty())
        return QString();
    QString f = m_files.front();
    m_files.pop_front();
    return f;
}

QString ScriptedDialogs::saveFile(QWidget *, const QString &caption, const QString &startPath,
                                  const QString &filter) {
    m_calls.push_back({QStringLiteral("saveFile"), caption, filter, startPath});
    if (m_files.empty())
        return QString();
    QString f = m_files.front();
    m_files.pop_front();
    return f;
}

std::optional<QString> ScriptedDialogs::inputText(QWidget *, const QString &caption, const QString &prompt,
                                                  const QString &initial) {
    m_calls.push_back({QStringLiteral("inputText"), caption, prompt, initial});
    if (m_texts.empty())
        return std::nullopt;
    const bool given = m_texts.front().has_value();
    const QString text = given ? *m_texts.front() : QString();
    m_texts.pop_front();
    if (!given)
        return std::nullopt;
    return text;
}

bool ScriptedDialogs::askYesNo(QWidget *, const QString &caption, const QString &text) {
    m_calls.push_back({QStringLiteral("askYesNo"), caption, text, {}});
    if (m_answers.empty())
        return false;
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a == Answer::Yes;
}

Answer ScriptedDialogs::askYesNoCancel(QWidget *, const QString &caption, const QString &text) {
    m_calls.push_back({QStringLiteral("askYesNoCancel"), caption, text, {}});
    if (m_answers.empty())
        return Answer::Cancel;
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

void ScriptedDialogs::inform(QWidget *, const QString &caption, const QString &text) {
    m_calls.push_back({QStringLiteral("inform"), caption, text, {}});
}

void ScriptedDialogs::showError(QWidget *, const QString &text) {
    m_calls.push_back({QStringLiteral("showError"), {}, text, {}});
}

} // namespace vq
