// uTxm: the dialogs of the formatting commands: the font colour (62) and
// the engine's own dialogs for font (61), paragraph (63) and lists (64).
// Each counts as done only when the user confirmed a change.
#include "Prompter.h"
#include "TxColors.h"
#include "TxEngine.h"
#include "TxFormatDialogs.h"
#include "TxProps.h"
#include "uTxm.h"

#include <QTextCursor>
#include <QTextList>

// ------------------------------------------------------------ colour (62)

bool uTxm::fontColor() {
    const std::optional<QColor> c = Prompter::instance().pickColor(
        TxColor::FromValue(int(mTxt->ForeColor())), QStringLiteral("文字色"));
    if (!c)
        return false;
    Busy busy(*this);
    mTxt->SetForeColor(quint32(TxColor::ToValue(*c)));
    return true;
}

// ------------------------------------------------------------ dialogs (61, 63, 64)

bool uTxm::fontDialog() {
    TxFontDialog dlg(readLook(), this);
    if (!Prompter::instance().exec(dlg))
        return false;
    Busy busy(*this);
    applyLook(dlg.look(), false);
    return true;
}

bool uTxm::paragraphDialog() {
    TxParaLook now;
    now.align = mTxt->ParaAttr0();
    now.leftIndent = mTxt->LeftIndent();
    now.spaceBefore = mTxt->ParaValue(1);
    now.spaceAfter = mTxt->ParaValue(2);
    now.firstLine = mTxt->ParaValue(3);
    now.rightIndent = mTxt->ParaValue(4);
    now.lineSpacing = mTxt->LineSpacing();
    TxParaDialog dlg(now, this);
    if (!Prompter::instance().exec(dlg))
        return false;
    const TxParaLook l = dlg.look();
    if (l == now)
        return false;
    Busy busy(*this);
    mTxt->SetParaAttr0(l.align);
    mTxt->SetLeftIndent(l.leftIndent);
    mTxt->SetParaValue(1, l.spaceBefore);
    mTxt->SetParaValue(2, l.spaceAfter);
    mTxt->SetParaValue(3, l.firstLine);
    mTxt->SetParaValue(4, l.rightIndent);
    mTxt->SetLineSpacing(l.lineSpacing);
    return true;
}

bool uTxm::listDialog() {
    TxListLook now;
    now.kind = mTxt->ListState();
    if (const QTextList* list = mTxt->ActiveEdit()->textCursor().currentList()) {
        // Lists made here carry their level as their indent; lists read from
        // a file carry it beside the paragraph.
        const int indent = list->format().indent();
        now.level =
            indent > 0
                ? indent
                : mTxt->ActiveEdit()->textCursor().blockFormat().intProperty(txp::ListLevel) + 1;
        now.level = std::clamp(now.level, 1, 9);
    }
    TxListDialog dlg(now, this);
    if (!Prompter::instance().exec(dlg))
        return false;
    const TxListLook l = dlg.look();
    if (l == now)
        return false;
    Busy busy(*this);
    QTextCursor c = mTxt->ActiveEdit()->textCursor();
    c.beginEditBlock();
    mTxt->SetListState(1);
    if (l.kind > 1) {
        QTextListFormat lf;
        lf.setStyle(l.kind == 2 ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
        lf.setIndent(l.level);
        c = mTxt->ActiveEdit()->textCursor();
        c.createList(lf);
    }
    c.endEditBlock();
    return true;
}
