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

    // --- the document database's pages (fmDocPages.cpp) ---
    // Files the editor's document under the code page sPrNm (number sPrNo).
    void SaveToCode(const QString& sPrNm, const QString& sPrNo);
    // Files the editor's document at a place of the page tree the user picks.
    void ExportToTree();
    // Writes the editor's document as a new page titled sTitle.
    void NewDocRow(const QString& sTitle);
    // Brings a page into the editor: mode 0 replaces, 1 inserts at the caret.
    void ImportPage(int mode);
    // Opens the page-tree dialog for browsing the pages.
    void ReferPages();

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
