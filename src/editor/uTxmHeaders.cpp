// uTxm: headers and footers (command 57) and their format from the style
// table (record 6 for headers, 7 for footers).
#include "TxEngine.h"
#include "TxStyles.h"
#include "uTxm.h"

#include <cstdlib>

namespace {

constexpr int kHeaderRecord = 6, kFooterRecord = 7;

bool isHeadFootBit(int bit) {
    return bit == TxEngine::Header || bit == TxEngine::FirstHeader || bit == TxEngine::Footer ||
           bit == TxEngine::FirstFooter;
}

bool isHeader(int part) {
    return part == TxEngine::Header || part == TxEngine::FirstHeader;
}

} // namespace

// vArg n adds header/footer n (1, 2, 4, 8) when it is not there, -n removes
// it when it is; returns whether the page changed. The page view shows them,
// so it is switched on first.
bool uTxm::headFootCommand(int n) {
    const int bit = std::abs(n);
    if (!isHeadFootBit(bit))
        return false;
    if (mTxt->ViewMode() != TxEngine::ViewPage)
        mTxt->SetViewMode(TxEngine::ViewPage);
    const int mask = mTxt->HeadFootMask();
    bool changed = false;
    if (n > 0 && !(mask & bit)) {
        mTxt->SetHeadFootMask(mask | bit);
        if (mTxt->HeadFootActivate(bit)) {
            applyHeadFoot(bit, true);
            mTxt->SetSelText(isHeader(bit) ? QStringLiteral("Header") : QStringLiteral("Footer"));
            mTxt->HeadFootDeactivate();
        }
        changed = true;
    } else if (n < 0 && (mask & bit)) {
        mTxt->SetHeadFootMask(mask & ~bit);
        changed = true;
    }
    if (changed)
        SetDcEdt(true);
    return changed;
}

// The header or footer format at the caret of the part being edited: its
// character attributes and paragraph spacing always; its font, size,
// weight, colours and alignment too when the part is new.
void uTxm::applyHeadFoot(int part, bool adding) {
    const UsrFmt& f = usrFmt[isHeader(part) ? kHeaderRecord : kFooterRecord];
    mTxt->SetCharAttr(1, f.iAt1);
    mTxt->SetCharAttr(4, 7936);
    mTxt->SetParaValue(1, 0);
    mTxt->SetParaValue(2, 0);
    mTxt->SetLineSpacing(0);
    if (!adding)
        return;
    mTxt->SetFontName(f.sFont);
    mTxt->SetFontSize(f.iSize);
    mTxt->SetFontBold(f.iBold == 1);
    mTxt->SetForeColor(quint32(f.nFcr));
    setBackground(quint32(f.nBcr));
    // The user style page keeps the alignment (left, centre, right) here.
    mTxt->SetParaAttr0(std::clamp(f.iPa4, 0, 2));
}

// The engine began editing a header or footer (a click on it).
void uTxm::onHeadFootActivated(int part) {
    if (IsBusy())
        return;
    Busy busy(*this);
    applyHeadFoot(part, false);
}
