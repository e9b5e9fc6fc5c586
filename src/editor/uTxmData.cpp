// uTxm: pages in and out, the title, the mail text, the modified state and
// the menu states the host asks for.
#include "Frmt.h"
#include "TxEngine.h"
#include "TxText.h"
#include "uTxm.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

void uTxm::SetData(const QByteArray& yDt, bool& bOk, bool bCpyNw) {
    Busy busy(*this);
    bOk = false;
    const bool wasEdited = bDcEdt_;
    bool saved = false;
    if (bCpyNw) {
        SetDcEdt(false);
    } else if (bDcEdt_) {
        if (iTy >= 0) {
            bool cancelled = false;
            askSaveQuestion(false, &cancelled, &saved);
            // A page whose save failed stays: replacing it would lose the work.
            if (cancelled)
                return;
        }
        SetDcEdt(false);
    }
    // The engine replaces its document only when the bytes were read whole;
    // bytes it cannot read leave the page, its flag and its file as they were.
    bOk = mTxt->LoadBytes(yDt, TxEngine::FmtDoc, false);
    if (bOk) {
        ySnap.clear();
        bSnap = false;
        refreshStatus(); // the caret is at the start of the new page
    } else {
        restoreEdited(wasEdited, saved);
    }
    SetTlBar();
}

void uTxm::InsData(const QByteArray& yDt, bool& bOk) {
    Busy busy(*this);
    SetDcEdt(true);
    bOk = mTxt->LoadBytes(yDt, TxEngine::FmtDoc, true);
    SetTlBar();
}

void uTxm::ApndData(const QByteArray& yDt, bool& bOk) {
    Busy busy(*this);
    bOk = mTxt->LoadBytes(yDt, TxEngine::FmtDoc, true);
    SetTlBar();
}

void uTxm::GetData(QByteArray& yDt, QString& sTx, QString& sTtl, bool& bOk) {
    bool ok = false;
    yDt = mTxt->SaveBytes(TxEngine::FmtDoc, 0, &ok);
    sTx = mTxt->Text();
    sTtl = txTitle->text();
    bOk = ok && !yDt.isEmpty();
}

bool uTxm::bHaveData() const {
    QString t = mTxt->Text();
    t.remove(QStringLiteral("\r\n"));
    t.remove(u'\n');
    return !t.trimmed().isEmpty() || mTxt->CurObject() != 0;
}

QString uTxm::Title() const {
    if (bShwTt)
        return txTitle->text();
    return TxText::FirstLineTitle(mTxt->Text());
}

void uTxm::SetTitle(const QString& sTitle) {
    Busy busy(*this);
    txTitle->setText(sTitle);
}

void uTxm::GetMTxt(QString& sTx, QString& sCp) {
    Busy busy(*this);
    const int keep = mTxt->SelStart();
    const int keepLength = mTxt->SelLength();
    std::vector<TxText::MailPara> paras;
    int pos = 0;
    for (const QString& p : TxText::Paragraphs(mTxt->Text())) {
        mTxt->SetSelStart(pos + int(p.size()));
        paras.push_back({p, caretStyle()});
        pos += int(p.size()) + 1;
    }
    TxText::MailText(paras, sTx, sCp);
    mTxt->SetSelStart(keep);
    if (keepLength > 0)
        mTxt->SetSelLength(keepLength);
}

void uTxm::SetText(const QString& sTx) {
    Busy busy(*this);
    mTxt->SetText(sTx);
    if (sTx.isEmpty())
        mTxt->ClearAll();
    ySnap.clear();
    bSnap = false;
    bool edit = false;
    emit eEdtCng(edit);
    bDcEdt_ = false;
    SetTlBar();
}

QString uTxm::SelTxt() const {
    return mTxt->SelText();
}

void uTxm::SetSelTxt(const QString& sTx) {
    Busy busy(*this);
    mTxt->SetSelText(sTx);
}

int uTxm::PageWdIn() const {
    return qRound(mTxt->PageWidth() / 15.0);
}

void uTxm::FndWd(const QString& sWd) {
    QString word = sWd;
    const qsizetype blank = word.indexOf(u' ');
    if (blank >= 0)
        word.truncate(blank);
    if (word.isEmpty())
        return;
    Busy busy(*this);
    mTxt->FindText(word, 0, TxEngine::FindAlways);
}

void uTxm::ChkUdt(bool& bCancel) {
    if (!bDcEdt_ || iTy < 0)
        return;
    bool cancelled = false;
    askSaveQuestion(true, &cancelled);
    if (cancelled)
        bCancel = true;
}

// ------------------------------------------------------------ menu states

void uTxm::ChkJbMn0(bool& bExDoc, bool& bOvrw) const {
    bExDoc = !mTxt->Text().isEmpty() || mTxt->CurObject() != 0;
    bOvrw = bDcEdt_ && bExDoc;
}

void uTxm::ChkJbMn1(bool& bUndo, bool& bRedo, bool& bCopy, bool& bPaste, bool& bExDoc, bool& bOvrw,
                    bool& bTx, bool& bPc, bool& bMt, bool& bLk, int& iRet) const {
    bUndo = mTxt->CanUndo();
    bRedo = mTxt->CanRedo();
    bCopy = mTxt->CanCopy();
    bPaste = mTxt->CanPaste();
    ChkJbMn0(bExDoc, bOvrw);
    const QMimeData* md = QApplication::clipboard()->mimeData();
    bTx = md && (md->hasText() || md->hasFormat(QStringLiteral("text/rtf")) ||
                 md->hasFormat(QStringLiteral("text/richtext")));
    bPc = md && md->hasImage();
    bMt = md && (md->hasFormat(QStringLiteral("image/emf")) ||
                 md->hasFormat(QStringLiteral("image/x-emf")));
    bLk = md && md->hasFormat(QStringLiteral("application/x-dde-link"));
    if (bTx)
        iRet = 1;
    if (bPc || bMt || bLk)
        iRet += 2;
}

void uTxm::ChkJbMn3(bool& bInHd, bool& bInTf, QString* vFdTyp) const {
    bInHd = caretInHeading();
    bInTf = iTf != 0;
    if (vFdTyp) {
        vFdTyp->clear();
        if (const int id = mTxt->FieldAtCaret()) {
            QString sVal;
            Frmt::SplitMrk(mTxt->FieldTarget(id), *vFdTyp, sVal);
        }
    }
}

void uTxm::ChkJbMn5(bool& bShwGrd, bool& bInsTb, bool& bInsCL, bool& bInsRw, bool& bDelCL,
                    bool& bDelRw, bool& bSlcTb, bool& bSplTb, bool& bInHd, bool& bInTf,
                    QString* vFdTyp) const {
    ChkJbMn3(bInHd, bInTf, vFdTyp);
    if (bInHd || bInTf) {
        bShwGrd = bInsTb = bInsCL = bInsRw = bDelCL = bDelRw = bSlcTb = bSplTb = false;
        return;
    }
    const TxEngine::TablePossible t = mTxt->TablePossibilities();
    bShwGrd = mTxt->ShowGrid();
    bInsTb = t.insertTable;
    bInsCL = t.insertColumn;
    bInsRw = t.insertRow;
    bDelCL = t.deleteColumn;
    bDelRw = t.deleteRow;
    bSlcTb = t.inTable;
    bSplTb = t.split;
}

void uTxm::ChkJbMn6(bool& bInTf) const {
    bInTf = iTf != 0;
}

void uTxm::HeadFtMn(bool& bHdP, bool& bHdF, bool& bFtp, bool& bFtF) const {
    const int mask = mTxt->HeadFootMask();
    bHdP = mask & TxEngine::Header;
    bHdF = mask & TxEngine::FirstHeader;
    bFtp = mask & TxEngine::Footer;
    bFtF = mask & TxEngine::FirstFooter;
}
