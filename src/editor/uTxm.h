#pragma once
// uTxm: the editor control. Wraps the rich-text engine mTxt with its format
// button bar, rulers and status bar, a cool bar holding the toolbar and the
// colour frame, a title line and a style panel. Hosts open it with cOn, move
// pages in and out (SetData/GetData...), run every editing command through
// rtAct and hear back through the e* signals (connect them directly: their
// reference arguments may be changed by the host).

#include "TxBands.h"
#include "TxSettings.h"
#include "TxStyles.h"
#include "TxToolbar.h"

#include <QByteArray>
#include <QVariant>
#include <QWidget>

#include <functional>

class TxEngine;
class TxCoolBar;
class TxFormatBar;
class TxRuler;
class TxStatusBar;
class sbTxm;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;

class uTxm : public QWidget {
    Q_OBJECT
public:
    explicit uTxm(QWidget* parent = nullptr);
    ~uTxm() override;

    // --- lifecycle ---
    bool bLoad = false; // between cOn and cOff
    void cOn(qintptr nHnd, int iTy, const QVariant& vShwTt = {}, const QVariant& vFmGrp = {});
    void cOff();
    void cTyp(int iTy);
    int Type() const { return iTy; }
    // The host's process-wide busy flag (the main window's bActing).
    static void SetHostBusy(bool busy);
    bool IsBusy() const;

    // --- commands ---
    void rtAct(int iJb, const QVariant& vArg = {});
    // Ctrl+Y repeats the settings dialog's last command; until that dialog
    // is attached, this hook supplies the code and argument (empty: redo).
    std::function<bool(int& iJb, QVariant& vArg)> RepeatJob;

    // --- pages in and out ---
    void SetData(const QByteArray& yDt, bool& bOk, bool bCpyNw);
    void InsData(const QByteArray& yDt, bool& bOk);
    void ApndData(const QByteArray& yDt, bool& bOk);
    void GetData(QByteArray& yDt, QString& sTx, QString& sTtl, bool& bOk);
    bool bHaveData() const;
    QString Title() const;
    void SetTitle(const QString& sTitle);
    void GetMTxt(QString& sTx, QString& sCp);
    void SetText(const QString& sTx);
    QString SelTxt() const;
    void SetSelTxt(const QString& sTx);
    int PageWdIn() const;
    void FndWd(const QString& sWd);
    void ChkUdt(bool& bCancel);
    bool bDcEdt() const { return bDcEdt_; }
    void SetDcEdt(bool bEd);

    // --- menu states ---
    void ChkJbMn0(bool& bExDoc, bool& bOvrw) const;
    void ChkJbMn1(bool& bUndo, bool& bRedo, bool& bCopy, bool& bPaste, bool& bExDoc, bool& bOvrw,
                  bool& bTx, bool& bPc, bool& bMt, bool& bLk, int& iRet) const;
    void ChkJbMn3(bool& bInHd, bool& bInTf, QString* vFdTyp = nullptr) const;
    void ChkJbMn5(bool& bShwGrd, bool& bInsTb, bool& bInsCL, bool& bInsRw, bool& bDelCL,
                  bool& bDelRw, bool& bSlcTb, bool& bSplTb, bool& bInHd, bool& bInTf,
                  QString* vFdTyp = nullptr) const;
    void ChkJbMn6(bool& bInTf) const;
    void HeadFtMn(bool& bHdP, bool& bHdF, bool& bFtp, bool& bFtF) const;

    // --- outside use of the engine ---
    TxEngine* GetObj();
    void EndObj();

    // --- files ---
    // Save as (command 5): vFL in: the file or empty (dialog); out: the file
    // written. Returns whether it was written.
    bool txSaveAs(QString& vFL, bool bNoAct = true);
    // True while a text frame's content is being saved as a file of its
    // own: the file written then is not the document's.
    bool SavingFrame() const { return savingFrame_; }
    // Writes the document to `sFile` in `format` (TxEngine::Fmt*) through a
    // temporary file, leaving the editor's file name and modified state
    // alone (HTML goes through the exporter, which counts as saving the
    // page). False, after telling the user, when it cannot be written.
    bool writeFile(const QString& sFile, int format);
    void txIME(bool bIME);
    // Commands 1, 10, 30: the open dialog (bOpen: command 1; bIns: insert
    // at the caret). Returns whether a file was loaded.
    bool OpenDlg(bool bOpen, bool bIns);
    // Loads `sFile` replacing the document (or at the caret with bIns).
    bool LoadFl(const QString& sFile, bool bIns);
    // Inserts an image file at the caret, placed by iFlw; false when it
    // cannot be read.
    bool InsPicFl(const QString& sFile);
    // Inserts the clipboard's picture (as "Wrk.bmp", 96 dpi).
    bool PastePic(bool bLink = false);
    // The object commands of the picture at the caret or the selected one
    // (the object context menu): edit it in the image editor, or delete it
    // with the link marker it carries (the marker's text stays). Both mark
    // the document modified when done.
    bool ObjPicEdit();
    bool ObjPicDelete();

    // --- label frames (uTxmLabels.cpp) ---
    // Label-frame commands: 0 the numbering preview in the page view, 1 and
    // 2 the emptied page split into 2 or 3 bands of text frames, 4 empty the
    // frame being edited, 5 save its content as a file, 6 load a file into
    // it, 7 empty every frame, 8 load one file into every frame.
    void rtActTL(int iJb);
    // The fill phase. T_Start numbers the text frames and the kind-1 fields
    // (data-field placeholders and link markers) in enumeration order, and
    // the tables of the main text and then of each frame in order; the
    // calls after it take those 1-based numbers and ignore missing ones.
    // T_End returns to the end of the main text.
    void T_Start(const QString& sBmp);
    void T_End();
    QString TvCelVL(int iNo, int nRw, int nCL);                  // the cell's text
    void TvCelVL(int iNo, int nRw, int nCL, const QString& sVL); // set it
    bool T_TxFrDt(int iNo, const QByteArray& yDt);               // Word bytes into frame iNo
    bool T_TxFdTx(int iFd, const QString& sTxt);                 // the caption of field iFd
    bool T_TxFdPc(int iFd, const QString& sPcFL);                // field iFd becomes the picture
    // Shows the numbering preview's copy over an image file in place of the
    // page view, where it is set.
    std::function<void(TxEngine& tx, const QString& sImg)> ShowPages;
    // The fill phase's numbering lists (comma-separated ids) and tables
    // (x: the frame id, 0 the main text; y: the engine's table id).
    QString sFrLst;
    QString sFdLst;
    QList<QPoint> aTbLst;
    // Keeps iTf on the frame the engine edits (its frame activation events).
    void syncFrame();

    // --- the settings dialog, owned by the control ---
    sbTxm* Dialog() const { return dlg_; }
    // The suffix of the control's settings groups "TX_DISP" and "TX_BAR".
    QString FmGrp() const { return sFmGrp; }

    // --- state the settings dialog and other parts read ---
    QString sFlNm;
    QString sSavePh;
    QString sIme = QStringLiteral("OFF");
    QString sUdtChk = TxSet::Ask();
    QString sWmfPh;
    QString sTvImg;
    int iFlw = 1;
    int iPcClr = 0;
    bool bPastTx = false;
    bool bKeepCopy = false;
    int iTf = 0;
    bool bSnap = false;
    bool bRule = false;
    TxBand::Bands bands = TxBand::Bands::Designed();
    TlState tlState;
    // The style table, shared by every editor of the process.
    TxStyle::Table& usrFmt = TxStyle::Shared().usrFmt;
    // The current style: the one last applied, or recognised at the caret.
    int iCurStl = TxStyle::kBody;
    // The copied character format that the button cmTfm holds and shows.
    TxStyle::CharLook tfm;
    // Gives the link and tag markers in [nFrom, nFrom + nLen) (nLen < 0:
    // the whole document) their marker look again.
    void ReStyleMrk(int nFrom, int nLen);

    // --- link and tag markers (uTxmLinks.cpp) ---
    // The kind code and value of field iFld's target; both empty when the
    // field cannot be read.
    void GetMrk(int iFld, QString& sTyp, QString& sVal) const;
    // The field at the selection (also one or two characters into a
    // selection that starts just before it); 0 none. The selection stays.
    int FldAtSel();
    // A link (InsLink) or a tag (InsTag) at the selection: vMode 0 new, 1
    // edit the one at the selection, 2 remove it; bObj: on the selected
    // picture; iFld: a field already known (the object menu's copy of a
    // neighbouring marker). A cancelled dialog sets vMode to -1. Returns
    // whether the page changed. Tags exist only in editor type -2.
    bool InsLink(int& vMode, bool bObj = false, int iFld = 0);
    bool InsTag(int& vMode, bool bObj = false, int iFld = 0);
    // Inserts a marker of style 6 (link) or 7 (tag) over the selection and
    // leaves the caret after it in body text; the field id, 0 when none.
    int InsMrk(int iStyle, const QString& sCaption, const QString& sTarget);
    // Removes the marker at the selection, keeping its text or not; the
    // text left behind is body text. False when there was none.
    bool DelMrk(bool bKeep);
    // The nearest link or tag marker before and after the selected picture
    // (0 none), as the object menu offers to copy them.
    struct NearMarkers {
        int before = 0;
        int after = 0;
    };
    NearMarkers MarkersAroundObject();
    // A marker command chosen in a context menu (50 link, 51 tag): the same
    // snapshot and modified flag as through rtAct.
    bool MenuMarker(int iJb, int vMode, bool bObj, int iFld = 0);
    // Checks of the settings dialog's menus, kept here until it is attached:
    // the ruler item and the two paste-mode items (formatted, plain).
    bool rulerMenuChecked = false;
    bool pasteMenuChecked[2] = {true, false};
    // The main window's temporary page number (kept copies are named by it).
    int nTmpPage = 0;
    // The database name the kept copies' folder is named after.
    QString sDbName;

    // Children, by the names the host and other parts use.
    TxEngine* mTxt = nullptr;
    TxFormatBar* vButton = nullptr;
    TxRuler* vRuler = nullptr;
    TxRuler* vRulerV = nullptr;
    TxStatusBar* vStatus = nullptr;
    TxCoolBar* clBar = nullptr;
    QToolBar* tlBar = nullptr;
    QFrame* frFmt = nullptr;
    QComboBox* imFcr = nullptr;
    QComboBox* imBcr = nullptr;
    QToolButton* cmFcr = nullptr;
    QToolButton* cmBcr = nullptr;
    QToolButton* cmTfm = nullptr;
    QLineEdit* txTitle = nullptr;
    QLabel* pnStatus = nullptr;

    // --- bars and layout (public for the settings dialog and tests) ---
    void LoadSet(int mode);
    void SaveSet();
    QString GetBandStr() const;
    void SetBandStr(const QString& s);
    void ShowBars(int n);
    void SetLayout(bool updateBands);
    void SetTlBar();
    void SnapDoc(bool restore);
    QByteArray ySnap;

signals:
    void eClckLink(QString& sTyp, QString& sCap, QString& sVal);
    void eSaveDB();
    void eAskSavePh(QString& sPh);
    void eUdtFld();
    void eEdtCng(bool& bEdit);
    void eRtAct(int& iJb);
    void eSaveAs(QString& sFL);
    void eAskTag(QString& sNo, QString& sCap);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Sets bBusy for its lifetime and restores the previous value, so that
    // nested public calls do not end each other's suppression early.
    struct Busy {
        uTxm& t;
        bool prev;
        explicit Busy(uTxm& x) : t(x), prev(x.bBusy) { x.bBusy = true; }
        ~Busy() { t.bBusy = prev; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };
    // Children and wiring (uTxmBars.cpp).
    void buildChildren();
    void buildToolbar();
    void buildColorFrame();
    void fillColorLists();
    void applyColor(bool fore);
    void applyDisp(const TxSet::Disp& d);
    void applyPage(const TxSet::Page& p);
    void onButton(const QString& key);
    void refreshStatus();

    // Engine events (uTxm.cpp).
    void onUserEdit();
    void onCaretMoved();
    void onFieldClicked(int id);
    void onTitleEnter();
    bool onEngineKey(QKeyEvent* k);
    void onEngineFocus();

    // Label frames (uTxmLabels.cpp).
    void previewNumbers();
    bool splitPage(int bands);
    void saveFrame();
    bool loadFrames(bool all);
    int fillTable(int iNo);
    bool fillField(int iFd);

    // Commands (uTxmAct.cpp).
    bool runCommand(int iJb, const QVariant& vArg);
    void txNew();
    bool txUndo();
    bool txPaste(const QString& sKind);
    // External files and pictures (uTxmFiles.cpp, uTxmPictures.cpp).
    bool txInsText();
    QString askSaveAsFile();
    bool insertPicture(const QByteArray& bytes, const QString& file, int fitWidth = 0);
    void pictureIsUndoStep();
    bool txInsPic();
    bool txMarkPic();
    bool txWmfPic();
    bool pasteMetafile(const QByteArray& bytes);
    int textWidth() const;
    bool hasSelection() const;
    void selectAll();
    void pageBreak();
    void zoom(const QVariant& vArg);
    void pasteMode(const QVariant& vArg);
    void showContextMenu(const QPoint& at);
    // Commands run through the settings dialog (uTxmSettings.cpp).
    bool settingsCommand(int iJb, const QVariant& vArg);
    // Link (50), tag (51) and data-field placeholder (56) commands.
    bool markerCommand(int iJb, const QVariant& vArg);
    bool insertMarker(bool bTag, int& vMode, bool bObj, int iFld);
    bool askMarker(bool bTag, int vMode, bool bObj, int field, QString& caption, QString& target);
    int wrapObject(const QString& sTarget);
    int wrapRange(int from, int to);
    void bodyLook();
    bool dataField(const QVariant& vArg);
    // The object menu's picture entries.
    bool objectPictureCommand(bool remove);
    // Tables (uTxmTables.cpp): commands 80 to 85, and the table formatting
    // dialog on the selected part (0 table, 1 row, 2 cell).
    bool tableCommand(int iJb, const QVariant& vArg);
    bool tableFormat(int part, const QString& sWhat);
    void lineNewTable();
    bool tableKey(QKeyEvent* k);
    // Headers and footers (uTxmHeaders.cpp): command 57 and the format of
    // the part being edited.
    bool headFootCommand(int n);
    void applyHeadFoot(int part, bool adding);
    void onHeadFootActivated(int part);
    // Whether the input method is open (TxIme).
    bool ImeIsOpen() const;

    // Saving and loading (uTxmSave.cpp).
    void askSaveQuestion(bool withCancel, bool* cancelled, bool* saved = nullptr);
    void restoreEdited(bool wasEdited, bool saved);
    bool txSave(const QString& vFile = {});
    void PrepDbSave();
    bool SaveHtm(int iJb, const QString& vFL);

    // Styles seen at the caret.
    TxStyle::ParaLook caretLook() const;
    int caretStyle() const;
    bool caretInHeading() const;

    // Styles (uTxmStyles.cpp).
    // Applies style iStl (0-5, or a marker style 6-8); false when it was
    // refused or is no style.
    bool SetStl(int iStl, const QVariant& vPos, bool bAuto);
    void ShowStl();
    bool autoHeadingOn() const;
    void autoHeadingOnFocus();
    bool onEnterDown(QKeyEvent* k);
    void onEnterUp();
    void wholeLinesForHeading();
    void setBackground(quint32 color);
    TxStyle::CharLook readLook() const;
    void applyLook(const TxStyle::CharLook& look, bool withBack);

    // Formatting commands (uTxmFormat.cpp).
    bool SetIndent(const QVariant& vArg);
    bool tidyParagraphs();
    bool mergeParagraphs(int from, int to);
    void trimEnd();
    bool fontColor();
    void copyFormat(bool reset);
    bool pasteFormat();
    void showFormatCopy();
    bool fontDialog();
    bool paragraphDialog();
    bool listDialog();

    qintptr nHnd = 0;
    int iTy = 1;
    bool bShwTt = false;
    QString sFmGrp;
    bool bDcEdt_ = false;
    bool bBusy = false;
    bool objOut_ = false;      // GetObj handed the engine out
    bool savingFrame_ = false; // saveFrame is writing a frame's file
    bool listsFilled_ = false; // colour lists filled (once per instance)
    bool laidOut_ = false;     // the first layout is done
    bool inHeadingShown_ = false;
    bool tlStateValid_ = false;
    bool forwardingKey_ = false;           // a key the control passes on to the engine
    QString lastSaveAsName_;               // the save-as dialog's previous file name
    class TxAreaMark* areaMark_ = nullptr; // area marking of command 34
    static bool sHostBusy;
    sbTxm* dlg_ = nullptr; // the settings dialog with the context menus
};
