// uTxm: the commands that run through a page of the settings dialog: find
// and replace (22, 23), display (26), page setup (65), user
// styles (66), the picture options (67), input method and saving (68).
#include "TxEngine.h"
#include "sbTxm.h"
#include "sbTxmAnswers.h"
#include "uTxm.h"

namespace {
const QChar kTab = u'\t';
}

bool uTxm::settingsCommand(int iJb, const QVariant& /*vArg*/) {
    QString ans;
    switch (iJb) {
    case 22:
        dlg_->Act(QStringLiteral("FD"), ans);
        return true;
    case 23: {
        const QString before = mTxt->Text();
        dlg_->Act(QStringLiteral("RP"), ans);
        return mTxt->Text() != before;
    }
    case 26:
        return dlg_->Act(QStringLiteral("DP"), ans);
    case 65: {
        const bool done = dlg_->Act(QStringLiteral("PG"), ans);
        if (done)
            mTxt->Refresh();
        return done;
    }
    case 66:
        return dlg_->Act(QStringLiteral("US"), ans);
    case 67:
        ans = QString::number(iFlw) + QString::number(iPcClr);
        dlg_->Act(QStringLiteral("TF"), ans);
        // Only what the page writes is read back: anything else leaves the
        // options as they were.
        if (!TxmAns::IsLayoutText(ans))
            return false;
        iFlw = ans.at(0).digitValue();
        iPcClr = ans.at(ans.size() - 1).digitValue();
        return true;
    case 68: {
        ans = sIme + kTab + sUdtChk;
        dlg_->Act(QStringLiteral("IM"), ans);
        const qsizetype tab = ans.indexOf(kTab);
        if (tab < 0)
            return false;
        sIme = ans.left(tab);
        sUdtChk = ans.mid(tab + 1);
        return true;
    }
    default:
        return false;
    }
}

// The picture entries of the object menu: editing in the image editor and
// deleting, through the control's picture commands (which mark the page).
bool uTxm::objectPictureCommand(bool remove) {
    return remove ? ObjPicDelete() : ObjPicEdit();
}
