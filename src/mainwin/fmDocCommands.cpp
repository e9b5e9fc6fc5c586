// fmDoc: the menu commands. Most items become an editor action (by the
// text of their caption up to "("); the rest are the window's own: folders,
// panes, the database, the header and footer toggles, label frames.
#include "MenuActions.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "Usr.h"
#include "fmDoc.h"
#include "sbDoc.h"
#include "sbInsLb.h"
#include "uTrE.h"
#include "uTxm.h"
#include "yIni.h"
#include "zKtl.h"

#include <QAction>
#include <QFileInfo>

void fmDoc::fnMenu(int iMn, int iNdx, QString& sRet) {
    QString sText;
    QVariant vArg;
    const auto caption = [this](const char* sArray, int i) {
        // A separator is no command.
        QAction* a = item(QLatin1String(sArray), i);
        return a && !a->isSeparator() ? a->text() : QString();
    };
    switch (iMn) {
    case 0:
        sText = sRet;
        vArg = MenuActions::TableWord(sRet, iNdx);
        break;
    case 2:
        if (iNdx == 8) {
            yIni::W_ExpFd(trE_->GetPth(2), false);
            return;
        }
        if (iNdx == 11) {
            // A separate window on a document of the file pane's folder.
            sbDoc::Open(this, trE_->GetPth(1));
            return;
        }
        if (iNdx == 13) {
            SaveAndQuit();
            return;
        }
        sText = caption("mnFile", iNdx);
        break;
    case 3:
        sText = caption("mnEdit", iNdx);
        break;
    case 6:
        sText = caption("mnLocal", iNdx);
        break;
    case 15:
        if (iNdx == 8) {
            settings().W_SendTo();
            return;
        }
        sText = caption("mnUser", iNdx);
        break;
    case 5:
        if (iNdx >= 0 && iNdx <= 5) {
            sText = QStringLiteral("ｽﾀｲﾙ");
            vArg = iNdx;
        } else {
            sText = caption("mnSelc", iNdx);
        }
        break;
    case 12:
        if (iNdx == 2) {
            sText = QStringLiteral("Refresh");
        } else if (QAction* a = item(QStringLiteral("mnDisp"), iNdx); a && iNdx <= 1) {
            a->setChecked(!a->isChecked());
            if (iNdx == 0)
                ShowTrE(a->isChecked());
            else
                ShowFky(a->isChecked());
            return;
        }
        break;
    default:
        break;
    }
    if (sText.isEmpty())
        return;
    sText = MenuActions::Stem(sText);
    int iJb = MenuActions::ActionOf(sText, iMn, iNdx);
    if (sText == QStringLiteral("初期化") &&
        Prompter::instance().message(QStringLiteral("文書全体を初期化して良いですか"),
                                     Prompter::Buttons::OkCancel,
                                     Prompter::Icon::Question) != Prompter::Answer::Ok)
        iJb = 0;
    if (sText == QStringLiteral("書式のｺﾋﾟｰ"))
        SetStatus(QStringLiteral("現在の書式を記憶しました"));

    const QString before = txm_->sFlNm;
    txm_->rtAct(iJb, vArg);

    if (sText == QStringLiteral("新規作成")) {
        trE_->NoSelc();
    } else if (sText == QStringLiteral("上書き保存")) {
        trE_->Refresh(true);
        SetStatus(QStringLiteral("保存しました"));
    } else if (sText == QStringLiteral("名を付けて保存")) {
        // The editor keeps the file it wrote as its file name.
        const QString saved = txm_->sFlNm;
        trE_->Refresh(true);
        const QString ext = QFileInfo(saved).suffix().toLower();
        if (saved != before && (ext == QLatin1String("doc") || ext == QLatin1String("docx")))
            trE_->SetFile(saved);
    } else if (sText == QStringLiteral("文書")) {
        refreshHeadFoot();
    }
}

void fmDoc::toggleHeadFoot(const QString& sArray, int iNdx) {
    QAction* a = item(sArray, iNdx);
    if (!a)
        return;
    // Qt has already toggled a checkable item when it is triggered.
    const bool wasChecked = !a->isChecked();
    int n = (sArray == QLatin1String("mnHeader") ? 1 : 4) * (iNdx == 0 ? 1 : 2);
    if (wasChecked)
        n = -n;
    txm_->rtAct(57, n);
}

void fmDoc::labelFrame(int iNdx) {
    if (iNdx == 2 || iNdx == 3 || iNdx == 4) {
        txm_->rtActTL(iNdx + 2); // empty, save, load the frame being edited
        return;
    }
    if (iNdx == 6 || iNdx == 7) {
        txm_->rtActTL(iNdx + 1); // empty, load every frame
        return;
    }
    if (iNdx != 0)
        return;
    // A sheet of labels replaces the page: asked first when it holds text.
    TxEngine* tx = txm_->GetObj();
    if ((txm_->bHaveData() || tx->NextTextFrame(0) != 0) &&
        Prompter::instance().message(QStringLiteral("文書は初期化されますが良いですか"),
                                     Prompter::Buttons::OkCancel,
                                     Prompter::Icon::Question) != Prompter::Answer::Ok) {
        txm_->EndObj();
        return;
    }
    txm_->SetText(QString());
    txm_->EndObj();
    sbInsLb dialog(this);
    QString sMsg;
    dialog.Act(txm_, sMsg);
    if (!sMsg.isEmpty())
        SetStatus(sMsg.replace(u'\r', u' '));
}

void fmDoc::toolItem(int iNdx) {
    if (iNdx == 4 || iNdx == 5)
        txm_->rtAct(56, iNdx == 4 ? 1 : 0);
    else if (iNdx >= 0 && iNdx <= 2)
        txm_->rtActTL(iNdx); // numbering preview, 2 or 3 bands
}

void fmDoc::openFolderItem(int iNdx) {
    QString folder;
    if (iNdx == 0) {
        folder = trE_->GetPth(0);
        yIni::BrowseFld(folder);
        if (folder.isEmpty() || folder == trE_->GetPth(0))
            return;
    } else if (iNdx == 1) {
        folder = yIni::FsGtSpFld(5);
    } else if (iNdx == 2) {
        folder = Usr::sUsrFd + QStringLiteral("Doc");
    } else {
        return;
    }
    trE_->SetPth(folder);
}

void fmDoc::databaseItem(int iNdx) {
    switch (iNdx) {
    case 0:
        ChooseDb();
        break;
    case 2:
        ReferPages();
        break;
    case 3:
    case 4:
        ImportPage(iNdx == 3 ? 0 : 1);
        break;
    case 7:
        ExportToTree();
        break;
    case 9:
        zKtl::Shared().ActKbs(sDbPh, QString());
        break;
    default:
        break;
    }
}

void fmDoc::codePageItem(int iNdx) {
    const QList<QAction*> items = arrays_.value(QStringLiteral("mnCxd"));
    const int nCodes = int(codeNos_.size());
    if (iNdx == nCodes + 1) {
        SetCodeMenu();
        return;
    }
    if (iNdx < 0 || iNdx >= nCodes || iNdx >= items.size())
        return;
    if (!txm_->bHaveData()) {
        Prompter::instance().message(QStringLiteral("現在の文書が空です"));
        return;
    }
    SaveToCode(items[iNdx]->text(), QString::number(codeNos_[iNdx]));
}
