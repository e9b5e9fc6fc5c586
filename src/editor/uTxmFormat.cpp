// uTxm: the formatting commands: indent by character count (55), tidy
// paragraphs (24), and copying and pasting a character format (70, 71,
// cmTfm).
#include "Prompter.h"
#include "TxColors.h"
#include "TxEngine.h"
#include "TxText.h"
#include "uTxm.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

#include <cmath>

namespace {

bool isBlankOrBreak(QChar c) {
    return c == u' ' || c == TxText::kPara || c == TxText::kLine;
}

// The paragraph values that decide whether two paragraphs belong together.
struct ParaKey {
    int leftIndent = 0;
    int before = 0;
    int after = 0;
    int charAttr1 = 0;
    bool operator==(const ParaKey&) const = default;
};

ParaKey keyAt(TxEngine* e, int pos) {
    e->SetSelStart(pos);
    return {e->LeftIndent(), e->ParaValue(1), e->ParaValue(2), e->CharAttr(1)};
}

bool plainBlockAt(const QTextDocument* doc, int pos) {
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(std::clamp(pos, 0, doc->characterCount() - 1));
    return !c.currentList() && !c.currentTable();
}

} // namespace

// ------------------------------------------------------------ indent (55)

bool uTxm::SetIndent(const QVariant& vArg) {
    Busy busy(*this);
    const int body = usrFmt[TxStyle::kBody].iSize;
    if (mTxt->FontSize() > body && mTxt->LeftIndent() > 0) {
        Prompter::instance().message(
            QStringLiteral("見出し部には、設定できません (Htmではｽﾀｲﾙｼｰﾄで設定します)"));
        return false;
    }
    QString sel = mTxt->SelText();
    if (sel.startsWith(TxText::kPara))
        sel.remove(0, 1);
    if (sel.endsWith(TxText::kPara))
        sel.chop(1);
    if (sel.isEmpty()) {
        Prompter::instance().message(QStringLiteral("範囲が指定されていません"));
        return false;
    }
    if (sel.contains(TxText::kPara)) {
        if (iTy > 1) {
            Prompter::instance().message(QStringLiteral("複数の段落にまたがっています"));
            return false;
        }
        const int from = mTxt->SelStart();
        const int to = from + mTxt->SelLength();
        mergeParagraphs(from, to);
        mTxt->SetSelStart(from);
        mTxt->SetSelLength(to - from);
    }
    const int step = body * 20; // one body character, twips
    int indent = mTxt->LeftIndent() + step;
    if (vArg.toInt() == 1) {
        const std::optional<QString> answer = Prompter::instance().input(
            QStringLiteral("左ｲﾝﾃﾞﾝﾄの文字数を指定して下さい"), QStringLiteral("字下げ(字上げ)"),
            QString::number(double(mTxt->LeftIndent()) / step, 'g', 4));
        if (!answer)
            return false;
        bool ok = false;
        // Full-width digits typed through the input method count as digits.
        const double chars =
            answer->normalized(QString::NormalizationForm_KC).trimmed().toDouble(&ok);
        // Not a number, or a negative count: nothing changes.
        if (!ok || !std::isfinite(chars) || chars < 0 || chars > 1000)
            return false;
        indent = int(std::lround(chars * step));
    }
    const int from = mTxt->SelStart();
    const TxText::Range r = TxText::ParagraphsAround(mTxt->Text(), from, from + mTxt->SelLength());
    mTxt->SetSelStart(r.start);
    mTxt->SetSelLength(r.end - r.start);
    mTxt->SetLeftIndent(indent);
    return true;
}

// ------------------------------------------------------------ tidy (24)

// Joins the paragraphs in [from, to) that belong together: both outside
// lists and tables, with the same left indent, spacing and underline.
// The first two characters of the text and its last one are never joined.
// Returns whether any break was turned into a line break.
bool uTxm::mergeParagraphs(int from, int to) {
    const QString text = mTxt->Text();
    const QTextDocument* doc = mTxt->ActiveEdit()->document();
    const int last = int(text.size()) - 1;
    bool merged = false;
    for (int p = std::max(from, 2); p < std::min(to, last); ++p) {
        if (text[p] != TxText::kPara)
            continue;
        if (!plainBlockAt(doc, p) || !plainBlockAt(doc, p + 1))
            continue;
        if (!(keyAt(mTxt, p) == keyAt(mTxt, p + 1)))
            continue;
        mTxt->SetSelStart(p);
        mTxt->SetSelLength(1);
        mTxt->SetSelText(QString(TxText::kLine));
        merged = true;
    }
    return merged;
}

// Removes what trails at the end of the text (blanks and breaks, while the
// last two characters are both such), keeping the last paragraph's values,
// then every blank standing right before a line or paragraph break.
void uTxm::trimEnd() {
    QString text = mTxt->Text();
    if (text.isEmpty())
        return;
    mTxt->SetSelStart(int(text.size()));
    const int indent = mTxt->LeftIndent();
    const int before = mTxt->ParaValue(1);
    const int after = mTxt->ParaValue(2);
    const int lineSpacing = mTxt->LineSpacing();
    const int firstLine = mTxt->ParaValue(3);
    bool trimmed = false;
    const QTextDocument* doc = mTxt->ActiveEdit()->document();
    // A table's structure ends in breaks too: the trimming stops before it.
    while (text.size() >= 2 && isBlankOrBreak(text[text.size() - 1]) &&
           isBlankOrBreak(text[text.size() - 2]) && plainBlockAt(doc, int(text.size()) - 2) &&
           plainBlockAt(doc, int(text.size()) - 1) && plainBlockAt(doc, int(text.size()))) {
        mTxt->SetSelStart(int(text.size()) - 1);
        mTxt->SetSelLength(1);
        mTxt->SetSelText(QString());
        text.chop(1);
        trimmed = true;
    }
    if (trimmed) {
        mTxt->SetSelStart(int(text.size()));
        mTxt->SetLeftIndent(indent);
        mTxt->SetParaValue(1, before);
        mTxt->SetParaValue(2, after);
        if (lineSpacing != 0) {
            mTxt->SetLineSpacing(lineSpacing);
            mTxt->SetParaValue(3, firstLine);
        }
    }
    for (int p = int(text.size()) - 1; p > 0; --p) {
        if (text[p] != TxText::kPara && text[p] != TxText::kLine)
            continue;
        int b = p;
        while (b > 0 && text[b - 1] == u' ')
            --b;
        if (b == p)
            continue;
        mTxt->SetSelStart(b);
        mTxt->SetSelLength(p - b);
        mTxt->SetSelText(QString());
        text.remove(b, p - b);
        p = b;
    }
}

bool uTxm::tidyParagraphs() {
    Busy busy(*this);
    const QString before = mTxt->Text();
    const int from = mTxt->SelStart();
    const int length = mTxt->SelLength();
    mTxt->SetSelStart(from);
    {
        QTextCursor edit(mTxt->ActiveEdit()->document());
        edit.beginEditBlock();
        if (length > 0)
            mergeParagraphs(from, from + length);
        else
            mergeParagraphs(0, int(before.size()));
        const bool updates = mTxt->updatesEnabled();
        mTxt->setUpdatesEnabled(false);
        trimEnd();
        ReStyleMrk(0, -1);
        mTxt->setUpdatesEnabled(updates);
        edit.endEditBlock();
    }
    mTxt->SetSelStart(std::min<int>(from, int(mTxt->Text().size())));
    return mTxt->Text() != before || mTxt->NextField(0, 0) != 0;
}

// ------------------------------------------------------------ format copy (70, 71)

TxStyle::CharLook uTxm::readLook() const {
    return TxStyle::ReadLook(*mTxt);
}

void uTxm::applyLook(const TxStyle::CharLook& l, bool withBack) {
    if (withBack)
        setBackground(l.back);
    TxStyle::ApplyLook(*mTxt, l, false);
}

// Copy (command 70) takes the look of the character at the caret; the reset
// at opening keeps its colours but takes the body style's font.
void uTxm::copyFormat(bool reset) {
    Busy busy(*this);
    const int start = mTxt->SelStart();
    const int length = mTxt->SelLength();
    mTxt->SetSelStart(start);
    if (start < mTxt->Text().size())
        mTxt->SetSelLength(1);
    tfm = readLook();
    if (reset) {
        const UsrFmt& body = usrFmt[TxStyle::kBody];
        tfm.font = body.sFont;
        tfm.size = body.iSize;
        tfm.bold = body.iBold == 1;
        tfm.italic = tfm.underline = tfm.strike = false;
    }
    mTxt->SetSelStart(start);
    if (length > 0)
        mTxt->SetSelLength(length);
    showFormatCopy();
}

// The button shows the copied look on its own caption.
void uTxm::showFormatCopy() {
    QFont f = cmTfm->font();
    f.setFamily(tfm.font);
    f.setBold(tfm.bold);
    f.setItalic(tfm.italic);
    f.setUnderline(tfm.underline);
    f.setStrikeOut(tfm.strike);
    cmTfm->setFont(f);
    QPalette p = cmTfm->palette();
    p.setColor(QPalette::ButtonText, TxColor::FromValue(int(tfm.fore)));
    p.setColor(QPalette::Button, TxColor::FromValue(int(tfm.back)));
    cmTfm->setPalette(p);
    cmTfm->setToolTip(QStringLiteral("書式の貼り付け (%1 %2pt)").arg(tfm.font).arg(tfm.size));
}

// Paste (command 71, cmTfm): the selection takes the copied look. Inside a
// table a white background is not pasted, so the cell's own colour stays.
bool uTxm::pasteFormat() {
    Busy busy(*this);
    const bool some = mTxt->SelLength() > 0;
    const bool inTable = mTxt->TableAtCaret() != 0;
    applyLook(tfm, !(inTable && (tfm.back & 0xFFFFFF) == TxStyle::kWhite));
    mTxt->SetFocus();
    return some;
}
