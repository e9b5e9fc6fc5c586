#pragma once
// The single path for every question the program asks the user: message
// boxes, input boxes, and file, folder, colour and font dialogs. The real
// Prompter shows Qt dialogs titled "Folium"; tests install a scripted one.

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter();

    // A message box with the program's title. Returns the button pressed
    // (Cancel, or No for Yes/No, when the box is closed without a choice).
    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title = {},
                                         const QString& initial = {}) = 0;
    // File dialogs; empty when cancelled. `filter` uses the Windows form
    // "Text|*.txt|All|*.*" or Qt's "Text (*.txt);;All (*)".
    virtual QString openFile(const QString& title, const QString& file, const QString& filter,
                             const QString& dir) = 0;
    virtual QString saveFile(const QString& title, const QString& file, const QString& filter,
                             const QString& dir) = 0;
    // An open dialog that also takes the name of a file that does not exist
    // yet, for the caller to create. Empty when cancelled. By default the
    // plain open dialog.
    virtual QString openOrNewFile(const QString& title, const QString& file, const QString& filter,
                                  const QString& dir);
    // A folder picker; `status` shows the highlighted path. Empty when cancelled.
    virtual QString folder(const QString& title, const QString& start) = 0;
    virtual std::optional<QColor> color(const QColor& initial) = 0;
    virtual std::optional<QFont> font(const QFont& initial) = 0;
    // The colour dialog under a title of the caller's. By default the plain
    // colour dialog.
    virtual std::optional<QColor> pickColor(const QColor& initial, const QString& title);
    // Runs one of the program's own dialogs modally; true when the user
    // confirmed it (OK). Tests answer it by filling the dialog's fields.
    virtual bool exec(QDialog& dialog);
    // Runs the platform's print or print-setup dialog (a QPrintDialog on its
    // printer); true when the user confirmed it. By default as exec.
    virtual bool printDialog(QDialog& dialog);

    // A progress display for a long operation, with a Cancel button; it
    // closes when the object is destroyed.
    class Progress {
    public:
        virtual ~Progress();
        // Shows `nDone` of the total. False once the user has cancelled.
        virtual bool step(qint64 nDone) = 0;
    };
    // By default nothing is shown and nothing cancels.
    virtual std::unique_ptr<Progress> progress(const QString& text, qint64 nTotal);

    // The process-wide prompter. Until one is installed, a QtPrompter is used.
    static Prompter& instance();
    // Installs `p` (not owned); nullptr restores the default.
    static void install(Prompter* p);
    // The window dialogs are owned by (may be null).
    static void setOwner(QWidget* owner);
    static QWidget* owner();
};

// Converts a Windows common-dialog filter ("Doc|*.doc|All|*.*") into Qt's
// form ("Doc (*.doc);;All (*.*)"); a Qt-form filter is returned unchanged.
QString toQtFilter(const QString& filter);
