#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

class QUrl;
class QWidget;

namespace vq {

enum class Answer { Yes, No, Cancel };

// Every question the window asks goes through here, so tests can answer without a person.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen path, empty when the user cancels. `filter` uses Qt's "Name (*.ext);;..." form.
    virtual QString openFile(QWidget *parent, const QString &caption, const QString &startPath,
                             const QString &filter) = 0;
    // Where to save: the chosen path, empty when the user cancels. An existing file is not
    // confirmed for replacing here; the caller refuses it.
    virtual QString saveFile(QWidget *parent, const QString &caption, const QString &startPath,
                             const QString &filter) = 0;
    // The typed text, nothing when the user cancels.
    virtual std::optional<QString> inputText(QWidget *parent, const QString &caption, const QString &prompt,
                                             const QString &initial = QString()) = 0;
    virtual bool askYesNo(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual void inform(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual void showError(QWidget *parent, const QString &text) = 0;
    // A folder to read: the chosen path, empty when the user cancels.
    virtual QString chooseFolder(QWidget *parent, const QString &caption, const QString &startPath) = 0;
    // Hands a file or folder to the desktop (its player, its file manager); false when none took it.
    virtual bool openUrl(const QUrl &url) = 0;
};

// The real thing: QFileDialog, QInputDialog, QMessageBox.
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget *parent, const QString &caption, const QString &startPath,
                     const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &caption, const QString &startPath,
                     const QString &filter) override;
    std::optional<QString> inputText(QWidget *parent, const QString &caption, const QString &prompt,
                                     const QString &initial) override;
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) override;
    void inform(QWidget *parent, const QString &caption, const QString &text) override;
    void showError(QWidget *parent, const QString &text) override;
    QString chooseFolder(QWidget *parent, const QString &caption, const QString &startPath) override;
    bool openUrl(const QUrl &url) override;
};

// Answers from a script and never blocks. With nothing scripted a file dialog and an input box
// are cancelled, a Yes/No question gets No and a Yes/No/Cancel question gets Cancel.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        QString
            kind; // "openFile", "saveFile", "inputText", "askYesNo", "askYesNoCancel", "inform", "showError"
        QString caption;
        QString text;  // prompt, question, message; the filter for openFile
        QString start; // openFile, saveFile: the path it starts from
    };

    void setNextAnswer(Answer a) { m_answers.push_back(a); }
    // The answer of the next file dialog, open or save.
    void setNextFileName(const QString &path) { m_files.push_back(path); }
    void setNextText(const std::optional<QString> &text) { m_texts.push_back(text); }

    const std::vector<Call> &calls() const { return m_calls; }
    int count(const QString &kind) const;
    QStringList errors() const;
    void clear();

    QString openFile(QWidget *parent, const QString &caption, const QString &startPath,
                     const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &caption, const QString &startPath,
                     const QString &filter) override;
    std::optional<QString> inputText(QWidget *parent, const QString &caption, const QString &prompt,
                                     const QString &initial) override;
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) override;
    void inform(QWidget *parent, const QString &caption, const QString &text) override;
    void showError(QWidget *parent, const QString &text) override;
    // Takes the next scripted file name; records "chooseFolder".
    QString chooseFolder(QWidget *parent, const QString &caption, const QString &startPath) override;
    // Records "openUrl" with the URL as its text; true.
    bool openUrl(const QUrl &url) override;

private:
    std::deque<Answer> m_answers;
    std::deque<QString> m_files;
    std::deque<std::optional<QString>> m_texts;
    std::vector<Call> m_calls;
};

} // namespace vq
