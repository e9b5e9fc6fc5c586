// uTxm: label frames. The label-frame commands rtActTL (numbering preview,
// the page split into bands, emptying, saving and loading frames) and the
// fill phase through which a label sheet's frames, data fields and table
// cells are filled by number.
#include "Prompter.h"
#include "TxEngine.h"
#include "TxFiles.h"
#include "TxLabelFrames.h"
#include "sbTvw.h"
#include "uTxm.h"

namespace {

// The fill phase keeps at most this many tables.
constexpr int kMaxTables = 100;

const QString kClearQuestion = QStringLiteral("文書は初期化されますが良いですか");
const QString kNoBandRoom = QStringLiteral("余白が大きすぎるため用紙を分割できません");

// Appends every table of the engine's active part, numbered on from the
// tables already listed, with the frame (0 the main text) it lies in.
void listTables(const TxEngine& tx, int frame, QList<QPoint>& tables) {
    for (int id = tx.NextTable(0); id != 0 && tables.size() < kMaxTables; id = tx.NextTable(id))
        tables.append(QPoint(frame, id));
}

} // namespace

void uTxm::syncFrame() {
    // While a command works on all frames (-1), or selects frames itself,
    // the frame being edited is the command's to restore.
    if (iTf >= 0 && !bBusy)
        iTf = mTxt->TextFrameActive();
}

void uTxm::rtActTL(int iJb) {
    {
        Busy busy(*this);
        // A click into the main text may have ended the frame's editing
        // without moving the caret.
        if (iTf > 0 && mTxt->TextFrameActive() != iTf)
            iTf = mTxt->TextFrameActive();
        bool changed = false;
        switch (iJb) {
        case 0:
            previewNumbers();
            break;
        case 1:
        case 2:
            changed = splitPage(iJb + 1);
            break;
        case 4:
            if (iTf >= 1 && mTxt->TextFrameSelect(iTf)) {
                mTxt->SetText(QString());
                changed = true;
            }
            break;
        case 5:
            saveFrame();
            break;
        case 6:
            changed = iTf >= 1 && mTxt->TextFrameSelect(iTf) && loadFrames(false);
            break;
        case 7: {
            const int keep = iTf;
            iTf = -1;
            for (int id = mTxt->NextTextFrame(0); id != 0; id = mTxt->NextTextFrame(id))
                if (mTxt->TextFrameSelect(id)) {
                    mTxt->SetText(QString());
                    changed = true;
                }
            iTf = keep;
            mTxt->TextFrameSelect(iTf > 0 ? iTf : 0);
            break;
        }
        case 8:
            changed = loadFrames(true);
            break;
        default:
            break;
        }
        if (changed)
            SetDcEdt(true);
    }
    // The commands move between parts while busy: the bars show the caret's
    // part and style as they are now.
    onCaretMoved();
}

// Command 0: a copy of the document in an engine of its own, its data
// fields and frames captioned with their fill numbers, in the page view.
void uTxm::previewNumbers() {
    const int frame = mTxt->TextFrameActive();
    mTxt->TextFrameSelect(0);
    const QByteArray bytes = mTxt->SaveBytes(TxEngine::FmtNative);
    if (frame)
        mTxt->TextFrameSelect(frame);
    // A hidden child: the page view shows the engine it is given again
    // when it closes.
    TxEngine copy(this);
    copy.hide();
    if (!copy.LoadBytes(bytes, TxEngine::FmtNative))
        return;
    TxLabel::Number(copy);
    if (ShowPages)
        ShowPages(copy, sTvImg);
    else
        sbTvw::Instance().cAct(&copy, sTvImg, QString());
}

// Commands 1 and 2: the emptied page split into 2 or 3 bands, one text
// frame in each. Returns whether the page was split.
bool uTxm::splitPage(int bands) {
    const QList<QRect> frames =
        TxLabel::Bands(mTxt->PageWidth(), mTxt->PageHeight(), mTxt->MarginLeft(), mTxt->MarginTop(),
                       mTxt->MarginRight(), mTxt->MarginBottom(), bands);
    if (frames.isEmpty()) {
        Prompter::instance().message(kNoBandRoom, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return false;
    }
    mTxt->TextFrameSelect(0);
    if ((bHaveData() || mTxt->NextTextFrame(0) != 0) &&
        Prompter::instance().message(kClearQuestion, Prompter::Buttons::OkCancel,
                                     Prompter::Icon::Question) != Prompter::Answer::Ok)
        return false;
    iTf = 0;
    mTxt->ClearAll();
    for (const QRect& r : frames)
        mTxt->TextFrameInsert(r.x(), r.y(), r.width(), r.height());
    return true;
}

// Command 5: the frame's content saved as a file of its own. The document
// keeps its file name and its modified state: it was not saved.
void uTxm::saveFrame() {
    if (iTf < 1 || !mTxt->TextFrameSelect(iTf))
        return;
    const QString name = sFlNm;
    const bool edited = bDcEdt_;
    QString file;
    savingFrame_ = true;
    txSaveAs(file, true);
    savingFrame_ = false;
    sFlNm = name;
    if (bDcEdt_ != edited)
        SetDcEdt(edited);
}

// Commands 6 and 8: a document file chosen in the open dialog loaded into
// the frame being edited, or (all) into every frame in turn; then the frame
// being edited and the caret are as before. Returns whether a frame changed.
bool uTxm::loadFrames(bool all) {
    txIME(false);
    const QString file = Prompter::instance().openFile(TxFiles::kOpenTitle, QString(),
                                                       TxFiles::OpenFilter(), sSavePh);
    if (file.isEmpty())
        return false;
    // The loads go into frames: the document keeps its file name.
    const QString name = sFlNm;
    bool changed = false;
    if (!all) {
        changed = LoadFl(file, false);
    } else {
        const int keep = iTf;
        const int caret = mTxt->SelStart();
        iTf = -1;
        for (int id = mTxt->NextTextFrame(0); id != 0; id = mTxt->NextTextFrame(id)) {
            if (!mTxt->TextFrameSelect(id))
                continue;
            if (!LoadFl(file, false))
                break; // the file cannot be read: told once
            changed = true;
        }
        iTf = keep;
        mTxt->TextFrameSelect(iTf > 0 ? iTf : 0);
        mTxt->SetSelStart(std::min<int>(caret, int(mTxt->Text().size())));
    }
    sFlNm = name;
    return changed;
}

// ------------------------------------------------------------ fill phase

void uTxm::T_Start(const QString& sBmp) {
    Busy busy(*this);
    sTvImg = sBmp;
    iTf = -1;
    aTbLst.clear();
    mTxt->TextFrameSelect(0);
    listTables(*mTxt, 0, aTbLst);
    sFdLst = TxLabel::FieldList(*mTxt);
    sFrLst = TxLabel::FrameList(*mTxt);
    for (int n = 1; const int id = TxLabel::IdAt(sFrLst, n); ++n)
        if (mTxt->TextFrameSelect(id))
            listTables(*mTxt, id, aTbLst);
    mTxt->TextFrameSelect(0);
}

void uTxm::T_End() {
    Busy busy(*this);
    mTxt->TextFrameSelect(0);
    mTxt->SetSelStart(int(mTxt->Text().size()));
    // The fill is over: no frame is being edited, so new documents and
    // loads go to the main text again.
    iTf = 0;
}

// Selects the part holding fill table iNo; its engine table id, 0 none.
int uTxm::fillTable(int iNo) {
    if (iNo < 1 || iNo > aTbLst.size())
        return 0;
    const QPoint t = aTbLst[iNo - 1];
    if (mTxt->TextFrameActive() != t.x() && !mTxt->TextFrameSelect(t.x()))
        return 0;
    return t.y();
}

QString uTxm::TvCelVL(int iNo, int nRw, int nCL) {
    Busy busy(*this);
    const int table = fillTable(iNo);
    if (!table)
        return QString();
    QString text = mTxt->TableCellText(nRw, nCL, table);
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

void uTxm::TvCelVL(int iNo, int nRw, int nCL, const QString& sVL) {
    Busy busy(*this);
    if (const int table = fillTable(iNo))
        mTxt->SetTableCellText(nRw, nCL, table, sVL);
}

bool uTxm::T_TxFrDt(int iNo, const QByteArray& yDt) {
    Busy busy(*this);
    const int id = TxLabel::IdAt(sFrLst, iNo);
    return id && mTxt->TextFrameSelect(id) && mTxt->LoadBytes(yDt, TxEngine::FmtDoc, false);
}

// Makes data field iFd of the field list current (in the main text).
bool uTxm::fillField(int iFd) {
    const int id = TxLabel::IdAt(sFdLst, iFd);
    if (!id)
        return false;
    mTxt->TextFrameSelect(0);
    mTxt->SetCurField(id);
    return mTxt->CurField() == id;
}

bool uTxm::T_TxFdTx(int iFd, const QString& sTxt) {
    Busy busy(*this);
    if (!fillField(iFd))
        return false;
    mTxt->SetFieldText(sTxt);
    return true;
}

bool uTxm::T_TxFdPc(int iFd, const QString& sPcFL) {
    Busy busy(*this);
    if (!fillField(iFd))
        return false;
    const int at = mTxt->FieldStart();
    mTxt->SetFieldText(QString());
    if (at >= 0)
        mTxt->SetSelStart(at);
    const int image = mTxt->ImageInsert(sPcFL, TxEngine::FlowAround);
    if (image) {
        mTxt->SetCurObject(image);
        mTxt->SetObjectLayout(1);
        mTxt->SetCurObject(0);
    }
    mTxt->SetSelStart(int(mTxt->Text().size()));
    mTxt->SetSelText(QString(QChar(10)));
    return image != 0;
}
