// uTxm: the command dispatcher rtAct, snapshot undo, paste and the commands
// that need nothing beyond the engine.
#include "TxCommands.h"
#include "TxCompanion.h"
#include "TxCoolBar.h"
#include "TxEngine.h"
#include "TxFiles.h"
#include "Usr.h"
#include "sbTvw.h"
#include "sbTxm.h"
#include "sbTxmMenus.h"
#include "uTxm.h"
#include "yIni.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

void uTxm::rtAct(int iJb, const QVariant& vArg) {
    const TxCmd::Rule rule = TxCmd::RuleOf(iJb);
    {
        Busy busy(*this);
        const QByteArray keptSnap = ySnap;
        const bool keptBSnap = bSnap;
        if (rule.snapshot)
            SnapDoc(false);
        if (rule.focusEngine)
            mTxt->SetFocus();
        if (rule.closeIme)
            txIME(false);

        const bool done = runCommand(iJb, vArg);

        // A command that did nothing gives the undo back to what it was: a
        // snapshot of an unchanged page would make the next undo a no-op.
        if (rule.snapshot && !done) {
            ySnap = keptSnap;
            bSnap = keptBSnap;
        }
        if (rule.udtFld)
            emit eUdtFld();
        if (rule.redraw)
            mTxt->Refresh();
        // A command that did not happen leaves the flag as it was: clearing
        // it would hide earlier edits from the save question.
        if (rule.marks && done)
            SetDcEdt(true);
        int code = iJb;
        emit eRtAct(code);
    }
    SetTlBar();
}

// Runs one command; returns whether it did what it was asked to (for the
// commands that change the page: whether the page changed). Codes whose
// commands belong to other parts of the control return false until those
// parts arrive.
bool uTxm::runCommand(int iJb, const QVariant& vArg) {
    switch (iJb) {
    case 1:
        return OpenDlg(true, false);
    case 10:
        return OpenDlg(false, false);
    case 30:
        return OpenDlg(false, true);
    case 32:
        return txInsText();
    case 33:
        return txInsPic();
    case 34:
        return txMarkPic();
    case 35:
        return txWmfPic();
    case 42:
    case 43:
        return TxCompanion::InsertChart(*this, iJb == 43);
    case 2:
        txNew();
        return true;
    case 3:
        return LoadFl(vArg.toString(), false);
    case 4:
        return txSave(vArg.toString());
    case 5: {
        QString file = vArg.toString();
        return txSaveAs(file, false);
    }
    // The page view and printing: the program's one page view, on this
    // control's engine. Printing uses the stored printer settings when
    // there are any, else asks.
    case 6:
        return sbTvw::Instance().cPrint(mTxt, true, {}) > 0;
    case 7:
        sbTvw::Instance().cAct(mTxt, sTvImg, {});
        return true;
    case 69:
        return sbTvw::Instance().cSetPrn(mTxt, {});
    // HTML preview: the page as the work folder's "$Wrk.htm", opened in the
    // user's browser.
    case 8: {
        const QString file = Usr::sWrkFd + TxFiles::kPreviewFile;
        if (!SaveHtm(0, file))
            return false;
        yIni::W_ExpFd(file, true);
        return true;
    }
    case 9:
        if (txTitle->isVisible())
            txTitle->setFocus();
        return true;
    case 11:
        return txUndo();
    case 12: {
        const bool can = mTxt->CanRedo();
        mTxt->Redo();
        return can;
    }
    case 13: {
        const bool some = hasSelection();
        QApplication::clipboard()->clear();
        mTxt->Clip(TxEngine::ClipCut);
        return some;
    }
    case 14:
        mTxt->Clip(TxEngine::ClipCopy);
        return true;
    case 15:
        return txPaste(vArg.toString());
    case 16:
        clBar->apply(bands);
        SetLayout(false);
        return true;
    case 20: {
        const bool some = hasSelection();
        mTxt->Clip(TxEngine::ClipDelete);
        return some;
    }
    case 21:
        selectAll();
        return true;
    case 27:
        ShowBars(vArg.toInt());
        return true;
    case 24:
        return tidyParagraphs();
    case 54:
        pageBreak();
        return true;
    case 55:
        return SetIndent(vArg);
    case 60: {
        const int n = vArg.toInt();
        return SetStl(n < 0 ? -n : n, {}, n < 0);
    }
    case 61:
        return fontDialog();
    case 62:
        return fontColor();
    case 63:
        return paragraphDialog();
    case 64:
        return listDialog();
    case 70:
        copyFormat(false);
        return true;
    case 71:
        return pasteFormat();
    case 72:
        pasteMode(vArg);
        return true;
    case 86:
        zoom(vArg);
        return true;
    case 87:
        bKeepCopy = vArg.toBool();
        return true;
    case 88:
        mTxt->Refresh();
        return true;
    case 50:
    case 51:
    case 56:
        return markerCommand(iJb, vArg);
    // Commands that open a page of the settings dialog.
    case 22:
    case 23:
    case 26:
    case 65:
    case 66:
    case 67:
    case 68:
        return settingsCommand(iJb, vArg);
    case 57:
        return headFootCommand(vArg.toInt());
    case 80:
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
        return tableCommand(iJb, vArg);
    default:
        return false;
    }
}

// Text or a positioned object is selected: cut and delete have something
// to remove.
bool uTxm::hasSelection() const {
    return mTxt->SelLength() > 0 || mTxt->CurObject() != 0;
}

// ------------------------------------------------------------ snapshot undo

void uTxm::SnapDoc(bool restore) {
    Busy busy(*this);
    bSnap = !restore;
    if (!restore) {
        ySnap = mTxt->SaveBytes(TxEngine::FmtNative);
        return;
    }
    if (ySnap.isEmpty())
        return;
    const int caret = mTxt->SelStart();
    mTxt->LoadBytes(ySnap, TxEngine::FmtNative, false);
    mTxt->SetSelStart(std::min<int>(caret, int(mTxt->Text().size())));
}

// Returns whether anything was undone.
bool uTxm::txUndo() {
    if (mTxt->CanUndo() && !bSnap) {
        mTxt->Undo();
        return true;
    }
    const bool have = !ySnap.isEmpty();
    SnapDoc(true);
    return have;
}

// ------------------------------------------------------------ small commands

void uTxm::selectAll() {
    mTxt->SetSelStart(0);
    mTxt->SetSelLength(-1);
}

void uTxm::pageBreak() {
    mTxt->SetSelStart(mTxt->SelStart());
    mTxt->SetSelText(QString(QChar(12)));
}

void uTxm::zoom(const QVariant& vArg) {
    if (const std::optional<int> z = TxCmd::Zoom(mTxt->ZoomFactor(), vArg)) {
        mTxt->SetZoomFactor(*z);
        mTxt->Refresh();
    }
}

void uTxm::pasteMode(const QVariant& vArg) {
    const TxCmd::PasteMode m = TxCmd::PasteModeOf(vArg.toInt());
    bPastTx = m.pastTx;
    if (m.updateMenu) {
        pasteMenuChecked[0] = !bPastTx;
        pasteMenuChecked[1] = bPastTx;
    }
}

// ------------------------------------------------------------ context menu

// The right-click menu belongs to the settings dialog; on a selected
// picture its object menu is shown instead. The chosen item's job runs
// through rtAct, and the dialog remembers it for the repeat item.
void uTxm::showContextMenu(const QPoint& at) {
    if (IsBusy())
        return;
    SetTlBar();
    sbTxmMenus& menus = dlg_->Menus();
    const QPoint global = mTxt->mapToGlobal(at);
    if (mTxt->CurObject() != 0) {
        switch (menus.PopupObject(global)) {
        case sbTxmMenus::ObjEditPicture:
            objectPictureCommand(false);
            return;
        case sbTxmMenus::ObjDeletePicture:
            objectPictureCommand(true);
            return;
        case sbTxmMenus::ObjMarker:
            MenuMarker(dlg_->iRJb, dlg_->vOpt.toInt(), true, menus.ObjectField());
            return;
        case sbTxmMenus::ObjJob:
            break;
        case sbTxmMenus::ObjNone:
            return;
        }
    } else if (!menus.Popup(global)) {
        return;
    }
    const QString caption = menus.Chosen();
    const int job = dlg_->iRJb;
    const QVariant opt = dlg_->vOpt;
    rtAct(job, opt);
    dlg_->Remember(caption, opt, mTxt->CanRedo());
}
