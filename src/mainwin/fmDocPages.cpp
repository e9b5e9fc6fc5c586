// fmDoc: moving pages between the editor and the document database, through
// the page store and the page-tree dialog.
#include "PageStore.h"
#include "Prompter.h"
#include "fmDoc.h"
#include "sbTrX.h"
#include "uTrX.h"

#include <QApplication>

namespace {

PageStore Store(fmDoc& w) {
    return PageStore(
        *w.editor(), [&w](const QString& s) { w.SetStatus(s, 0); }, &w);
}

// While the page-tree dialog is open, marking a page as a code page rebuilds
// the code-page menu.
class CodeMenuHook {
public:
    explicit CodeMenuHook(fmDoc& w) {
        sbTrX::SetCodeHook([&w] { w.SetCodeMenu(); });
    }
    ~CodeMenuHook() { sbTrX::SetCodeHook({}); }
    CodeMenuHook(const CodeMenuHook&) = delete;
    CodeMenuHook& operator=(const CodeMenuHook&) = delete;
};

} // namespace

void fmDoc::SaveToCode(const QString& sPrNm, const QString& sPrNo) {
    Store(*this).SaveToCode(sPrNm, sPrNo);
}

void fmDoc::ExportToTree() {
    const CodeMenuHook hook(*this);
    Store(*this).ExportToTree();
}

// The new page goes to the place pending in the open export dialog.
void fmDoc::NewDocRow(const QString& sTitle) {
    auto* d = qobject_cast<sbTrX*>(QApplication::activeModalWidget());
    if (d && d->Mode() == 3)
        Store(*this).NewDocRow(sTitle, *d->Tree());
}

void fmDoc::ImportPage(int mode) {
    const CodeMenuHook hook(*this);
    Store(*this).ImportPage(mode == 1);
}

void fmDoc::ReferPages() {
    const CodeMenuHook hook(*this);
    Store(*this).ReferPages();
}

void fmDoc::OpenTag(const QString& sNo) {
    bool ok = false;
    const qint64 nDno = sNo.trimmed().toLongLong(&ok);
    if (!ok || nDno <= 0)
        return;
    if (sDbPh.isEmpty()) {
        Prompter::instance().message(
            QStringLiteral("ﾀｸﾞ先の文書を開くには､文書ﾃﾞｰﾀｰﾍﾞｰｽに接続して下さい"));
        return;
    }
    const CodeMenuHook hook(*this);
    sbTrX dlg(this);
    dlg.Prepare(2);
    dlg.Tree()->SetLeaf(nDno);
    QString sNoP, sNoC;
    bool bLnk = false;
    dlg.Tree()->GetPrCdNo(sNoP, sNoC, bLnk);
    if (sNoC != QString::number(nDno)) {
        Prompter::instance().message(
            QStringLiteral("ﾀｸﾞ先の文書(%1)がﾂﾘｰに見つかりません").arg(nDno));
        return;
    }
    Prompter::instance().exec(dlg);
}

void fmDoc::AskTag(QString& sNo, QString& sCap) {
    sNo.clear();
    sCap.clear();
    if (sDbPh.isEmpty())
        return;
    sbTrX dlg(this);
    dlg.Prepare(1);
    Prompter::instance().exec(dlg);
    if (dlg.result() != QDialog::Accepted || dlg.ChosenTitle().isEmpty())
        return;
    QString sNoP;
    bool bLnk = false;
    dlg.Tree()->GetPrCdNo(sNoP, sNo, bLnk);
    sCap = dlg.ChosenTitle();
}
