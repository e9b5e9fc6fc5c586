// uTxm: the command dispatcher rtAct, snapshot undo, paste and the commands
// that need nothing beyond the engine.
#include "TxCommands.h"
#include "TxCoolBar.h"
#include "TxEngine.h"
#include "uTxm.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

void uTxm::rtAct(int iJb, const QVariant& vArg) {
    const TxCmd::Rule rule = TxCmd::RuleOf(iJb);
    {
        Busy busy(*this);
        if (rule.snapshot)
            SnapDoc(false);
        if (rule.focusEngine)
            mTxt->SetFocus();
        if (rule.closeIme)
            txIME(false);

        const bool done = runCommand(iJb, vArg);

        if (rule.udtFld)
            emit eUdtFld();
        if (rule.redraw)
            mTxt->Refresh();
        // A command that did not happen (a cancelled dialog) leaves the flag
        // as it was: clearing it would hide earlier edits from the save
        // question.
        if (rule.mark == TxCmd::Mark::Modified || (rule.mark == TxCmd::Mark::IfDone && done))
            SetDcEdt(true);
        int code = iJb;
        emit eRtAct(code);
    }
    SetTlBar();
}

// Runs one command; returns its success. Codes whose commands belong to
// other parts of the control return false until those parts arrive.
bool uTxm::runCommand(int iJb, const QVariant& vArg) {
    switch (iJb) {
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
    case 9:
        if (txTitle->isVisible())
            txTitle->setFocus();
        return true;
    case 11:
        txUndo();
        return true;
    case 12:
        mTxt->Redo();
        return true;
    case 13:
        QApplication::clipboard()->clear();
        mTxt->Clip(TxEngine::ClipCut);
        return true;
    case 14:
        mTxt->Clip(TxEngine::ClipCopy);
        return true;
    case 15:
        txPaste(vArg.toString());
        return true;
    case 16:
        clBar->apply(bands);
        SetLayout(false);
        return true;
    case 20:
        mTxt->Clip(TxEngine::ClipDelete);
        return true;
    case 21:
        selectAll();
        return true;
    case 27:
        ShowBars(vArg.toInt());
        return true;
    case 54:
        pageBreak();
        return true;
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
    default:
        return false;
    }
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

void uTxm::txUndo() {
    if (mTxt->CanUndo() && !bSnap)
        mTxt->Undo();
    else
        SnapDoc(true);
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

void uTxm::txPaste(const QString& sKind) {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    QString kind = sKind.trimmed().toUpper();
    if (kind.isEmpty()) {
        const bool picture = md && (md->hasImage() || md->hasFormat(QStringLiteral("image/emf")));
        kind = picture                            ? QStringLiteral("PIC")
               : (md && md->hasText() && bPastTx) ? QStringLiteral("TXT")
                                                  : QStringLiteral("OBJ");
    }
    if (kind == QLatin1String("TXT")) {
        if (!md || !md->hasText())
            return;
        QString text = md->text().trimmed();
        text.replace(QStringLiteral("\r\n"), QString(QChar(11)));
        text.replace(u'\n', QChar(11));
        text.replace(u'\r', QChar(11));
        {
            Busy busy(*this);
            mTxt->SetSelText(text);
        }
        SetDcEdt(true);
        return;
    }
    // Formatted text, and pictures until the image conversion arrives: the
    // engine's own paste.
    {
        Busy busy(*this);
        mTxt->Clip(TxEngine::ClipPaste);
    }
    SetDcEdt(true);
    SetTlBar();
}

// ------------------------------------------------------------ context menu

void uTxm::showContextMenu(const QPoint& at) {
    if (IsBusy())
        return;
    SetTlBar();
    QMenu menu(this);
    struct Item {
        QString text;
        int code;
        bool enabled;
    };
    const Item items[] = {
        {QStringLiteral("元に戻す(&U)"), 11, mTxt->CanUndo() || bSnap},
        {QStringLiteral("やり直し(&R)"), 12, mTxt->CanRedo()},
        {QString(), 0, false},
        {QStringLiteral("切り取り(&T)"), 13, mTxt->CanCopy()},
        {QStringLiteral("コピー(&C)"), 14, mTxt->CanCopy()},
        {QStringLiteral("貼り付け(&P)"), 15, mTxt->CanPaste()},
        {QStringLiteral("削除(&D)"), 20, mTxt->CanCopy()},
        {QString(), 0, false},
        {QStringLiteral("すべて選択(&A)"), 21, true},
    };
    for (const Item& it : items) {
        if (it.text.isEmpty()) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(it.text);
        a->setEnabled(it.enabled);
        a->setData(it.code);
    }
    if (QAction* chosen = menu.exec(mTxt->mapToGlobal(at)))
        rtAct(chosen->data().toInt());
}
