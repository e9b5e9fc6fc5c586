// uTxm: the external-file commands: opening a document (or the kept copy)
// with its dialog, inserting a text file through a second engine, and the
// dialog of save as.
#include "Frmt.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "TxFiles.h"
#include "Usr.h"
#include "uTxm.h"
#include "yIni.h"

#include <QDate>
#include <QFileInfo>

// Commands 1 (bOpen), 10 and 30 (bIns for 30): the open dialog, proposing
// the kept copy of the last database save for 10 and 30 when it is from
// this month. Returns whether a file was loaded.
bool uTxm::OpenDlg(bool bOpen, bool bIns) {
    QString proposed;
    QString start = sSavePh;
    if (!bOpen) {
        const QString kept = TxFiles::KeptCopy(Usr::sWrkFd, QDate::currentDate());
        if (!kept.isEmpty()) {
            proposed = QFileInfo(kept).fileName();
            start = Usr::sWrkFd;
        }
    }
    txIME(false);
    const QString file =
        Prompter::instance().openFile(TxFiles::kOpenTitle, proposed, TxFiles::OpenFilter(), start);
    if (file.isEmpty())
        return false; // cancelled: nothing changes
    const bool loaded = LoadFl(file, bIns);
    if (loaded && !bIns)
        SetDcEdt(false);
    return loaded;
}

// Command 32: the file's plain text replaces the selection, its paragraphs
// as lines of one paragraph. The file is read by an engine of its own, so
// the page keeps its formatting and its undo.
bool uTxm::txInsText() {
    txIME(false);
    const QString file = Prompter::instance().openFile(TxFiles::kInsertTitle, QString(),
                                                       TxFiles::InsertTextFilter(), sSavePh);
    if (file.isEmpty())
        return false;
    const int format = Frmt::ReadFormat(Frmt::ExtOf(file));
    if (format == 0 || format == TxEngine::FmtPdf)
        return false; // not a text the program reads: ignored
    QString text;
    QString why;
    bool ok = false;
    {
        TxEngine second;
        second.SetEngineOption(37, 1);
        ok = second.LoadFile(file, format, false);
        if (ok)
            text = TxFiles::InsertableText(second.Text());
        else
            why = second.LastError();
    }
    if (!ok) {
        QString msg = QStringLiteral("ﾌｧｲﾙ: ") + file + QStringLiteral(" をｲﾝﾎﾟｰﾄできません｡");
        if (!why.isEmpty())
            msg += u'\r' + why;
        Prompter::instance().message(msg, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return false;
    }
    Busy busy(*this);
    mTxt->SetSelText(text);
    return true;
}

// The save-as dialog (command 5 without a file). Returns the chosen file,
// empty when cancelled.
QString uTxm::askSaveAsFile() {
    QString ph = sSavePh;
    emit eAskSavePh(ph);
    sSavePh = ph.isEmpty() ? yIni::FsGtSpFld(5) : ph;
    QString proposed = lastSaveAsName_;
    if (proposed.startsWith(QChar(1)))
        proposed.clear();
    proposed = proposed.section(u'.', 0, 0);
    txIME(false);
    const QString file = Prompter::instance().saveFile(TxFiles::kSaveAsTitle, proposed,
                                                       TxFiles::SaveAsFilter(), sSavePh);
    if (!file.isEmpty())
        lastSaveAsName_ = QFileInfo(file).fileName();
    return file;
}
