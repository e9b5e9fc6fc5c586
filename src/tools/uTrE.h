#pragma once
// The file pane: a drive list (mounted volumes), a folder list and a file
// list in a splitter (panes pDrive, pDir, pFile), a button cmRet that opens
// the folder picker, and a timer that keeps the lists in step with the disk.
// Picking a document tells the host (eStFile); other files open with their
// associated program. The popup menus cut, copy, paste, delete and rename
// through the file-operation service and the system clipboard, in the format
// the desktop's file managers exchange.

#include <QElapsedTimer>
#include <QList>
#include <QRegularExpression>
#include <QWidget>

class QComboBox;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class QTimer;
class QTreeWidgetItem;
class spTrE;
class uTrEDir;
class uTrEFile;

class uTrE : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int DirHi READ DirHi WRITE setDirHi)
public:
    explicit uTrE(QWidget* parent = nullptr);
    ~uTrE() override;

    // Starts the pane on folder sPh (the user data folder when sPh is no
    // folder) with the file-list pattern sFt and the document patterns sFtS.
    void cOn(const QString& sPh, const QString& sFt, const QString& sFtS);
    // Stops the folder polling.
    void cOff();

    // iTyp > 1: the highlighted folder; else the current folder, with iTyp 1
    // ending in "/".
    QString GetPth(int iTyp) const;
    // Current folder + the selected file's name; "" when no file is selected.
    QString GetFile() const;
    // Selects the first file named sFL (ignoring case), as a click would.
    void SetFile(const QString& sFL);
    // Full paths joined by tabs: the selected files when bChk, else all.
    QString sGetFls(bool bChk) const;
    // Points the drive, folder and file lists at sPh (nothing changes when it
    // is no folder).
    void SetPth(const QString& sPh);
    // Refreshes now, then selects sFL (a name or a path).
    void UdtFld(const QString& sFL);
    // Height of the folder list pane, in twips; setting 0 changes nothing.
    int DirHi() const;
    void setDirHi(int nTwips);
    void NoSelc();

    // The document test on a file name.
    bool IsDoc(const QString& sName) const;

    // --- user actions (the widgets' handlers call these) ---
    void Drive1_Change(int index);
    void Dir1_Change(const QString& sFolder);
    void File1_Click();
    void File1_DblClick();
    void cmRet_Click();
    void FolderMenu(const QPoint& globalPos);
    void FileMenu(const QPoint& globalPos);
    void DoFolderMenu(int nIdx);
    void DoFileMenu(int nIdx);
    void CutFiles();
    void CopyFiles();
    void PasteFiles();
    void DeleteFiles();
    void RenameFile();
    // The timer's refresh (bForce false) or a forced one; sFL is selected
    // afterwards when given.
    void Refresh(bool bForce, const QString& sFL = {});

    // The parts, for the host's layout and for tests.
    QComboBox* Drive1() const { return drive_; }
    uTrEDir* Dir1() const { return dir_; }
    uTrEFile* File1() const { return file_; }
    QPushButton* cmRet() const { return cmRet_; }
    QSplitter* splitter() const { return splitter_; }
    QTimer* Timer1() const { return timer_; }
    spTrE* menus() const { return menus_; }

signals:
    void eStFile(const QString& sPh);
    void eSelect(); // declared for hosts; never raised
    void eCngDr(const QString& sPh);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs a file operation ("移動", "複写", "削除"), then tells the host its
    // previous choice is void and refreshes. Returns true when every item
    // was done.
    bool ShellFileOp(const QString& sOp, const QStringList& aSrc, const QString& sDst);
    void selectDrive(const QString& sPh);
    void fillDrives();
    QStringList selectedPaths() const;

    QSplitter* splitter_;
    QComboBox* drive_;
    QPushButton* cmRet_;
    uTrEDir* dir_;
    uTrEFile* file_;
    QTimer* timer_;
    spTrE* menus_;

    bool busy_ = false;
    qint64 lastRefresh_ = 0; // ms since the epoch; 0 forces the next tick
    int dirHi_ = 0;
    QList<QRegularExpression> docPatterns_;
    QString clickRaised_; // path the click of a double click already reported
    QElapsedTimer clickClock_;
};
