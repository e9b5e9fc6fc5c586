// uTxm: the save question, saving (own file, database page, save as),
// preparing a page for the database and loading a file.
#include "Document.h"
#include "Frmt.h"
#include "ModelBridge.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "TxFiles.h"
#include "TxText.h"
#include "Usr.h"
#include "mClt.h"
#include "uTxm.h"
#include "yHtm.h"
#include "yIni.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>

namespace {
const QString kDocFilter = QStringLiteral("ﾜｰﾄﾞ文書 97-2003(*.doc)|*.doc");

QString folderOf(const QString& file) {
    return QFileInfo(file).absolutePath() + u'/';
}

// A name without any "." gets the Word extension.
QString withDocExtension(const QString& file) {
    return QFileInfo(file).fileName().contains(u'.') ? file : file + QStringLiteral(".doc");
}

void tellWriteFailure(const QString& file, const QString& why) {
    QString text = QStringLiteral("ﾌｧｲﾙ: ") + file + QStringLiteral(" に保存できません｡");
    if (!why.isEmpty())
        text += u'\r' + why;
    Prompter::instance().message(text, Prompter::Buttons::Ok, Prompter::Icon::Warning);
}
} // namespace

// The save question before a page is left. *cancelled tells the caller to
// stop: the user chose Cancel, or chose to save and the save did not happen;
// *saved (when given) that the page was stored.
void uTxm::askSaveQuestion(bool withCancel, bool* cancelled, bool* saved) {
    *cancelled = false;
    bool stored = false;
    if (sUdtChk == TxSet::Ask()) {
        const Prompter::Answer a = Prompter::instance().message(
            QStringLiteral("現在の文書を保存しますか"),
            withCancel ? Prompter::Buttons::YesNoCancel : Prompter::Buttons::YesNo,
            Prompter::Icon::Question);
        if (a == Prompter::Answer::Yes) {
            stored = txSave();
            *cancelled = !stored;
        } else if (a == Prompter::Answer::No)
            SetDcEdt(false);
        else if (withCancel)
            *cancelled = true;
        else
            SetDcEdt(false); // a Yes/No box closed without a choice counts as No
    } else if (sUdtChk == TxSet::Overwrite()) {
        stored = txSave();
        *cancelled = !stored;
    }
    if (saved)
        *saved = stored;
}

void uTxm::txNew() {
    if (bDcEdt_ && iTy >= 0) {
        bool cancelled = false;
        askSaveQuestion(false, &cancelled);
        if (cancelled)
            return;
    }
    if (bDcEdt_)
        SetDcEdt(false);
    if (iTf == 0) {
        mTxt->ClearAll();
        if (bShwTt)
            txTitle->clear();
    }
    ySnap.clear();
    bSnap = false;
    SetLayout(false);
    mTxt->show();
    sFlNm.clear();
    LoadSet(1);
    refreshStatus();
}

// Writes the document to `file` in `format` through a temporary file, so a
// failed write (disk full, no permission) leaves any earlier file intact.
// Tells the user when it fails.
bool uTxm::writeFile(const QString& file, int format) {
    if (format == TxEngine::FmtHtml)
        return SaveHtm(0, file);
    bool ok = false;
    QByteArray bytes;
    if (format == TxEngine::FmtPdf) {
        // PDF is written from the pages of the page view.
        const int view = mTxt->ViewMode();
        if (view != TxEngine::ViewPage)
            mTxt->SetViewMode(TxEngine::ViewPage);
        bytes = mTxt->SaveBytes(format, 0, &ok);
        if (view != TxEngine::ViewPage)
            mTxt->SetViewMode(view);
        mTxt->Refresh();
    } else {
        bytes = mTxt->SaveBytes(format, 0, &ok);
    }
    if (!ok) {
        tellWriteFailure(file, mTxt->LastError());
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        tellWriteFailure(file, out.errorString());
        return false;
    }
    return true;
}

// Writes the page as HTML through the exporter; without a file the user
// chooses one. Returns whether the page was written.
bool uTxm::SaveHtm(int iJb, const QString& vFL) {
    QString file = vFL.isEmpty() ? sFlNm : vFL;
    if (file.isEmpty()) {
        QString ph = sSavePh;
        emit eAskSavePh(ph);
        sSavePh = ph.isEmpty() ? yIni::FsGtSpFld(5) : ph;
        txIME(false);
        file = Prompter::instance().saveFile(TxFiles::kSaveHtmTitle, QString(),
                                             TxFiles::SaveHtmFilter(), sSavePh);
        if (file.isEmpty())
            return false;
    }
    Busy busy(*this);
    yHtm exporter(TxStyle::Shared());
    QString why;
    if (!exporter.cSaveHtm(*mTxt, iJb != 0, file,
                           yHtm::PageLinks(bridge::fromEngine(mTxt->document2())), Title(), &why)) {
        tellWriteFailure(file, why);
        return false;
    }
    // The preview's work file is no save of the page: its edits stay unsaved.
    if (QFileInfo(file) != QFileInfo(Usr::sWrkFd + TxFiles::kPreviewFile))
        SetDcEdt(false);
    return true;
}

// Save (command 4). Returns whether the document was stored.
bool uTxm::txSave(const QString& vFile) {
    QString ph = sSavePh;
    emit eAskSavePh(ph);
    sSavePh = ph.isEmpty() ? yIni::FsGtSpFld(5) : ph;

    if (iTy <= 0 && vFile.isEmpty()) {
        PrepDbSave();
        emit eSaveDB();
        SetDcEdt(false);
        return true;
    }
    QString target = vFile.isEmpty() ? sFlNm : vFile;
    bool chosen = false;
    if (target.isEmpty()) {
        if (iTy == 4)
            return SaveHtm(0, QString());
        txIME(false);
        target = Prompter::instance().saveFile(QStringLiteral("名前を付けて保存"),
                                               TxText::ProposedFileName(mTxt->Text()), kDocFilter,
                                               sSavePh);
        if (target.isEmpty())
            return false; // cancelled: the document stays modified
        target = withDocExtension(target);
        chosen = true;
    }
    sSavePh = folderOf(target);
    // Each file keeps its own format: a text file is not overwritten with
    // Word bytes.
    const int format = Frmt::WriteFormat(Frmt::ExtOf(target));
    if (!writeFile(target, format ? format : int(TxEngine::FmtDoc)))
        return false;
    SetDcEdt(false);
    if (chosen) {
        // The document now lives in that file; the host shows it.
        sFlNm = target;
        QString f = target;
        emit eSaveAs(f);
    }
    return true;
}

bool uTxm::txSaveAs(QString& vFL, bool bNoAct) {
    QString file = vFL.trimmed();
    if (!file.isEmpty()) {
        mClt::MakeFld(QFileInfo(file).absolutePath());
    } else {
        file = askSaveAsFile();
        if (file.isEmpty())
            return false;
    }
    file = withDocExtension(file);
    sSavePh = folderOf(file);
    const QString ext = Frmt::ExtOf(file);
    const int format = Frmt::WriteFormat(ext);
    if (format == 0) {
        // Nothing is written, and the page stays modified: it is not saved.
        tellWriteFailure(file, QStringLiteral("この形式 (.%1) では保存できません").arg(ext));
        return false;
    }
    if (!writeFile(file, format))
        return false;
    if (format == TxEngine::FmtDoc)
        sFlNm = file;
    vFL = file;
    emit eSaveAs(file);
    SetDcEdt(false);
    if (format == TxEngine::FmtHtml && !bNoAct &&
        Prompter::instance().message(file + QStringLiteral(" に出力しました　起動しますか"),
                                     Prompter::Buttons::YesNo,
                                     Prompter::Icon::Question) == Prompter::Answer::Yes)
        yIni::W_ExpFd(file, true);
    return true;
}

void uTxm::PrepDbSave() {
    Busy busy(*this);
    for (int id = mTxt->NextImage(0); id != 0; id = mTxt->NextImage(id)) {
        mTxt->SetCurObject(id);
        mTxt->SetObjectLayout(1);
    }
    mTxt->SetCurObject(0);
    // Fields without a caption would be invisible anchors in the stored page.
    for (int id = mTxt->NextField(0, 0); id != 0;) {
        const int next = mTxt->NextField(0, id);
        mTxt->SetCurField(id);
        if (mTxt->FieldText().isEmpty())
            mTxt->FieldDelete(true);
        id = next;
    }
    if (!bKeepCopy)
        return;
    QString file;
    if (nTmpPage == 0) {
        file = Usr::sWrkFd + QStringLiteral("temp.doc");
    } else {
        const QString folder =
            Usr::sUsrFd + QStringLiteral("Dbs/") + sDbName + QStringLiteral("_doc/");
        mClt::MakeFld(folder);
        file = folder + QStringLiteral("%1.doc").arg(nTmpPage, 4, 10, QChar(u'0'));
    }
    // The kept copy is a convenience; a failure does not stop the page save.
    bool ok = false;
    const QByteArray bytes = mTxt->SaveBytes(TxEngine::FmtDoc, 0, &ok);
    QSaveFile out(file);
    if (ok && out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size())
        out.commit();
}

bool uTxm::LoadFl(const QString& sFile, bool bIns) {
    if (sFile.isEmpty() || !QFileInfo(sFile).isFile())
        return false;
    const int format = Frmt::ReadFormat(Frmt::ExtOf(sFile));
    if (format == 0)
        return false;
    Busy busy(*this);
    const bool wasEdited = bDcEdt_;
    bool saved = false;
    int insertedAt = -1; // where the two paragraph breaks of an insert went
    if (iTf != 0) {
        bIns = false; // into the text frame being edited, replacing its content
    } else if (bIns) {
        mTxt->SetSelText(QStringLiteral("\n\n"));
        insertedAt = mTxt->SelStart() - 2;
        mTxt->SetSelStart(insertedAt + 1);
    } else if (bDcEdt_ && iTy >= 0) {
        bool cancelled = false;
        askSaveQuestion(false, &cancelled, &saved);
        if (cancelled)
            return false;
    }
    mTxt->SetEngineOption(37, 1);
    // The engine reads the file into a document of its own and replaces (or
    // inserts) only when the whole file was read, so a failure leaves the
    // page the user sees.
    if (!mTxt->LoadFile(sFile, format, bIns)) {
        if (insertedAt >= 0) {
            mTxt->SetSelStart(insertedAt);
            mTxt->SetSelLength(2);
            mTxt->SetSelText(QString());
        }
        restoreEdited(wasEdited, saved);
        QString text = QStringLiteral("ﾌｧｲﾙ: ") + sFile + QStringLiteral(" を読み込めません｡");
        if (const QString why = mTxt->LastError(); !why.isEmpty())
            text += u'\r' + why;
        Prompter::instance().message(text, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return false;
    }
    if (bIns) {
        mTxt->SetSelText(QStringLiteral("\n"));
        refreshStatus();
        return true;
    }
    // A snapshot taken for this very command (10) lets undo bring the old
    // document back; any older one belongs to another document.
    if (!bSnap)
        ySnap.clear();
    LoadSet(2);
    // Only a replaced document belongs to the file: saving after an insert
    // must not overwrite the inserted file.
    sFlNm = sFile;
    SetDcEdt(false);
    // The caret moves without a caret event while busy: show its new place.
    refreshStatus();
    return true;
}

// After a failed load: the page is still the user's unsaved work unless the
// save question stored it, so the modified flag goes back to what it was.
void uTxm::restoreEdited(bool wasEdited, bool saved) {
    if (!saved && bDcEdt_ != wasEdited)
        SetDcEdt(wasEdited);
}
