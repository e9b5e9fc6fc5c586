#pragma once
// A Prompter for tests: answers from a script, records every question, and
// fails the test on a question nobody scripted. Installs itself for its
// lifetime.

#include "Prompter.h"

#include <QList>
#include <QVariant>

#include <functional>

class ScriptedPrompter : public Prompter {
public:
    struct Call {
        QString kind; // "message", "input", "openFile", "saveFile", "folder", "color", "font"
        QString text; // the message or prompt
        QString title;
        QString detail; // file name, filter or start folder where it applies
        Buttons buttons = Buttons::Ok;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    // Queue the answer to the next question of that kind. A message box with
    // only OK needs no script unless `strict` was set.
    void answerMessage(Answer a);
    void answerInput(std::optional<QString> text);
    void answerOpenFile(const QString& path);
    void answerSaveFile(const QString& path);
    void answerFolder(const QString& path);
    void answerColor(std::optional<QColor> c);
    void answerFont(std::optional<QFont> f);
    // The next dialog of the program's own (exec) is answered by `fill`,
    // which sets its fields and returns whether it is confirmed.
    void answerDialog(std::function<bool(QDialog&)> fill);
    // The next print or print-setup dialog is answered by `fill`, which may
    // set the dialog's printer (it is a QPrintDialog) and returns whether
    // the dialog is confirmed. Recorded as a call of kind "printDialog".
    void answerPrintDialog(std::function<bool(QDialog&)> fill);
    // The next progress display reports Cancel once it reaches `nDone`
    // (a negative value: never, the default).
    void cancelProgressAt(qint64 nDone) { cancelAt_ = nDone; }
    // When set, OK-only message boxes need a scripted answer too.
    void setStrict(bool strict) { strict_ = strict; }

    QList<Call> calls;
    QStringList messages() const; // the texts of every message box so far

    Answer message(const QString& text, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    QString openFile(const QString& title, const QString& file, const QString& filter,
                     const QString& dir) override;
    QString saveFile(const QString& title, const QString& file, const QString& filter,
                     const QString& dir) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> color(const QColor& initial) override;
    std::optional<QFont> font(const QFont& initial) override;
    std::optional<QColor> pickColor(const QColor& initial, const QString& title) override;
    bool exec(QDialog& dialog) override;
    bool printDialog(QDialog& dialog) override;
    // Recorded as a call of kind "progress" with the text; the total goes
    // into `detail`.
    std::unique_ptr<Progress> progress(const QString& text, qint64 nTotal) override;

private:
    struct Reply {
        QString kind;
        QVariant value;
    };
    QVariant take(const QString& kind, bool* found);
    QList<Reply> script_;
    QList<std::function<bool(QDialog&)>> dialogs_;
    QList<std::function<bool(QDialog&)>> printDialogs_;
    bool strict_ = false;
    qint64 cancelAt_ = -1;
};
