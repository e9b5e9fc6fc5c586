#pragma once
// sbDoc: a separate window that shows an external document (.doc, .docx,
// .rtf, .txt, .htm) in an engine of its own, beside the page being edited.
// Nothing in it is saved: the engine is read-only. The window deletes itself
// when closed.

#include <QString>
#include <QWidget>

class TxEngine;

class sbDoc : public QWidget {
    Q_OBJECT
public:
    // `host`: the window to centre over (the main window); may be null.
    explicit sbDoc(QWidget* host = nullptr);
    ~sbDoc() override;

    // Asks for a document (the dialog starting in `sPh`) and shows it.
    // Returns whether a document is shown; false when the dialog was
    // cancelled or the file cannot be shown.
    bool Act(const QString& sPh);
    // Shows `sFile` without asking; false when it is missing, not of a
    // format the window shows, or unreadable (the user is told then).
    bool Show(const QString& sFile);

    TxEngine* engine() const { return mTxt; }
    QString file() const { return sFile_; }

    // Opens a new window on the document chosen in the dialog; the window
    // when one is shown, else null (and nothing is left open).
    static sbDoc* Open(QWidget* host, const QString& sPh);

private:
    QWidget* host_;
    TxEngine* mTxt;
    QString sFile_;
};
