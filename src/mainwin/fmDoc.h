#pragma once
// The main window. For now: the frame that start-up activates, restoring its
// position and writing the settings file when it closes.

#include <QMainWindow>

class fmDoc : public QMainWindow {
    Q_OBJECT
public:
    explicit fmDoc(QWidget* parent = nullptr);

    // Restores the window's place from "TX_SCREEN" and shows it modelessly.
    void Act();
    // Commits the window's own groups and writes the settings file; tells
    // the user when the file cannot be written. Returns whether it was written.
    bool SaveAndQuit();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool saved_ = false;
};
