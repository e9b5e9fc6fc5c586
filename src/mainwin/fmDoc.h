#pragma once
// The main window: the file pane (pane "pTrE"), the editor ("pTxm") and the
// function-key bar ("pFky") in a splitter, the main menu, the database
// connection and the program's shut-down. The window's layout, database and
// folder are read from the settings at start and written back at close.

#include "uFkyHost.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QKeySequence;
class QMenu;
class QSplitter;
class uFky;
class uTrE;
class uTxm;

class fmDoc : public QMainWindow, public uFkyHost {
    Q_OBJECT
public:
    explicit fmDoc(QWidget* parent = nullptr);
    ~fmDoc() override;

    // True while Act runs; the editor holds back its reactions meanwhile.
    static bool bActing;

    // Brings the window up from the settings ("DC_KBS", "TX_SCREEN") and the
    // command line `sCmd` (a file whose folder is shown and which is opened).
    void Act(const QString& sCmd = {});
    // Switches the editor off (it may ask to save: Cancel keeps the window
    // and returns false), stores the window's settings, writes the settings
    // file (telling the user when it cannot) and closes the window. Returns
    // whether the settings file was written.
    bool SaveAndQuit();

    // The file a command line names: double quotes removed, anything after
    // a tab ignored; empty unless it names an existing file.
    static QString CommandLineFile(const QString& sCmd);
    // Shows the folder of the file the command line names in the file pane
    // and selects the file there, which opens it.
    void OpenCommandLine(const QString& sCmd);

    // --- panes (fmDocPanes.cpp) ---
    void ShowFky(bool bShow);
    void ShowTrE(bool bShow);
    // Shows a message in the function-key bar's panel.
    void SetStatus(const QString& sMsg, int nKind = 0);

    // --- menu commands (fmDocCommands.cpp) ---
    void fnMenu(int iMn, int iNdx, QString& sRet) override;
    QString FormName() const override { return objectName(); }
    QList<QAction*> MenuArray(const QString& sName) const override;
    // The top-level menu `iJb` of the menu bar ("ﾌｧｲﾙ(&F)" is 0).
    QMenu* TopMenu(int iJb) const;
    // Refreshes the enabled states of top menu `iJb` from the editor, as
    // opening that menu does.
    void RefreshMenu(int iJb);

    // --- the document database (fmDocDb.cpp) ---
    // Makes `sPh` the database of the window (empty when it names no file)
    // and sets the database menu's items, captions and code pages.
    void ApplyDb(const QString& sPh);
    // Rebuilds the code-page submenu of "ｴｸｽﾎﾟｰﾄ (時系列)".
    void SetCodeMenu();
    // The connect dialog: choose (or create) a database and connect to it.
    void ChooseDb();
    QString DbPath() const { return sDbPh; }
    QString CodeNumbers() const { return sCodNos; }

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
    // A clicked tag: the page-tree dialog opens on page sNo (found through
    // its places in the tree). Without a database, or when the page is in
    // no place of the tree, the user is told.
    void OpenTag(const QString& sNo);
    // The editor asks for the page a new tag leads to: the page-tree dialog
    // lets the user pick it; its number and title, both empty on Cancel.
    void AskTag(QString& sNo, QString& sCap);

    // The panes, for the other parts of the window and for tests.
    uTxm* editor() const { return txm_; }
    uTrE* filePane() const { return trE_; }
    uFky* keyBar() const { return fky_; }
    QSplitter* splitter() const { return splitter_; }
    // Width of the file pane in twips, as the splitter gives it now.
    int TrEWidth() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout and pane events (fmDocPanes.cpp).
    void buildPanes();
    void connectPanes();
    void linkKeys();
    void onLink(const QString& sTarget);
    void onSaveAs(const QString& sFile);
    void onPickFile(const QString& sFile);
    void showFileCaption(const QString& sFile);
    bool routeKey(QObject* watched, QEvent* event);

    // Menus (fmDocMenus.cpp).
    void buildMenus();
    QAction* item(const QString& sArray, int iNdx) const;
    void onItem(const QString& sArray, int iNdx);
    // Refreshes the menus that have an item with shortcut `keys`.
    void refreshMenusFor(const QKeySequence& keys);
    void refreshHeadFoot();

    // Commands without an editor action of their own (fmDocCommands.cpp).
    void toggleHeadFoot(const QString& sArray, int iNdx);
    void labelFrame(int iNdx);
    void toolItem(int iNdx);
    void openFolderItem(int iNdx);
    void databaseItem(int iNdx);
    void codePageItem(int iNdx);

    QString sDbPh;
    // The database the settings named at start, kept when it could not be
    // opened (a drive not mounted yet), until the user picks another one.
    QString sDbKept_;
    QString sCodNos;
    // The code pages' numbers in menu order: sCodNos's five digits cannot
    // hold a number above 99999, so the menu's items are matched here.
    QList<qint64> codeNos_;
    QString sDbDir;
    int nTrEWid = 0;

    uTxm* txm_ = nullptr;
    uTrE* trE_ = nullptr;
    uFky* fky_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* pTrE_ = nullptr;
    QWidget* pTxm_ = nullptr;

    QHash<QString, QList<QAction*>> arrays_;
    QHash<QString, QMenu*> menus_;
    QList<QMenu*> top_;

    bool bQuit_ = false;    // SaveAndQuit has run: the window may close
    bool bStarted_ = false; // Act has started the panes
};
