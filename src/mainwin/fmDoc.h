#pragma once
// The main window. For now: the frame that start-up activates, restoring its
// position and writing the settings file when it closes.

#include <QMainWindow>

class uTxm;

class fmDoc : public QMainWindow {
    Q_OBJECT
public:
    explicit fmDoc(QWidget* parent = nullptr);

    // Restores the window's place from "TX_SCREEN" and shows it modelessly.
    void Act();
    // Commits the window's own groups and writes the settings file; tells
    // the user when the file cannot be written. Returns whether it was written.
    bool SaveAndQuit();

    // --- the editor (fmDocEditor.cpp) ---
    uTxm* editor() const { return txm_; }
    // The file a command line names: double quotes removed, anything after
    // a tab ignored; empty unless it names an existing file.
    static QString CommandLineFile(const QString& sCmd);
    // Opens the file the command line names in the editor.
    void OpenCommandLine(const QString& sCmd);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void hostEditor();
    void startEditor();
    // Asks to save a modified page and switches the editor off; false when
    // the user cancelled.
    bool closeEditor();
    void showFileCaption(const QString& sFile);

    bool saved_ = false;
    uTxm* txm_ = nullptr;
};
