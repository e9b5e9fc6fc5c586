// uTxm: applying a style (SetStl, command 60), the style panel, the marker
// look, and the automatic heading and Enter conventions.
#include "Frmt.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "TxIme.h"
#include "TxText.h"
#include "uTxm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace {

// One undo step for everything done while it lives, so that a style
// application (its breaks, its blank, its formats) is undone as a whole.
class EditBlock {
public:
    explicit EditBlock(QTextDocument* doc) : c_(doc) { c_.beginEditBlock(); }
    ~EditBlock() { c_.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

private:
    QTextCursor c_;
};

// Paints while it lives are held back: the engine is "hidden" while a style
// is stamped onto the text, without losing the focus.
class Hidden {
public:
    explicit Hidden(QWidget* w) : w_(w), was_(w->updatesEnabled()) { w_->setUpdatesEnabled(false); }
    ~Hidden() { w_->setUpdatesEnabled(was_); }
    Hidden(const Hidden&) = delete;
    Hidden& operator=(const Hidden&) = delete;

private:
    QWidget* w_;
    bool was_;
};

bool inList(const QTextDocument* doc, int pos) {
    return doc->findBlock(pos).textList() != nullptr;
}

bool inTable(const QTextDocument* doc, int pos) {
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(std::clamp(pos, 0, doc->characterCount() - 1));
    return c.currentTable() != nullptr;
}

// Replaces the one character at `pos` by `c` through the engine.
void replaceAt(TxEngine* e, int pos, QChar c) {
    e->SetSelStart(pos);
    e->SetSelLength(1);
    e->SetSelText(QString(c));
}

bool isBreak(QChar c) {
    return c == TxText::kPara || c == TxText::kLine;
}

} // namespace

// ------------------------------------------------------------ SetStl

// For a heading: the selected lines (or the line around the caret) become
// one paragraph of their own. The line breaks right before and after them
// turn into paragraph breaks, the paragraph breaks inside into line breaks
// (not those of lists or tables, whose structure they are).
void uTxm::wholeLinesForHeading() {
    const QString text = mTxt->Text();
    const int from = mTxt->SelStart();
    const TxText::Range r = TxText::LinesAround(text, from, from + mTxt->SelLength());
    QTextDocument* doc = mTxt->ActiveEdit()->document();
    if (r.start > 0 && text[r.start - 1] == TxText::kLine)
        replaceAt(mTxt, r.start - 1, TxText::kPara);
    if (r.end < text.size() && text[r.end] == TxText::kLine)
        replaceAt(mTxt, r.end, TxText::kPara);
    for (int p = r.start; p < r.end; ++p) {
        if (text[p] != TxText::kPara)
            continue;
        if (inList(doc, p) || inList(doc, p + 1) || inTable(doc, p) || inTable(doc, p + 1))
            continue;
        replaceAt(mTxt, p, TxText::kLine);
    }
    mTxt->SetSelStart(r.start);
    mTxt->SetSelLength(r.end - r.start);
}

bool uTxm::SetStl(int iStlNew, const QVariant& vPos, bool bAuto) {
    if (iStlNew < 0 || iStlNew > 8)
        return false;
    Busy busy(*this);
    const int caret = mTxt->SelStart();
    // Read before anything changes: the layout lags behind edits in progress.
    const int column = vPos.isValid() ? vPos.toInt() : mTxt->CaretPos().column;
    const bool heading = iStlNew < 3;
    const bool marker = iStlNew >= 6;
    const UsrFmt& f = usrFmt[size_t(marker ? TxStyle::kBody : iStlNew)];
    if (heading) {
        if (iTy <= 0)
            return false;
        QTextDocument* doc = mTxt->ActiveEdit()->document();
        const int start = mTxt->SelStart();
        bool list = false;
        for (QTextBlock b = doc->findBlock(start); b.isValid() && !list; b = b.next()) {
            list = b.textList() != nullptr;
            if (b.position() + b.length() > start + mTxt->SelLength())
                break;
        }
        if (list) {
            if (!bAuto)
                Prompter::instance().message(
                    QStringLiteral("ﾘｽﾄを含む範囲に対しては､見出しのｽﾀｲﾙは設定できません"));
            return false;
        }
    }
    Hidden hidden(mTxt);
    EditBlock block(mTxt->ActiveEdit()->document());

    // Markers style exactly the text given to them; the paragraph styles
    // take whole lines or paragraphs.
    if (!bAuto && !marker) {
        if (heading) {
            wholeLinesForHeading();
        } else {
            const int from = mTxt->SelStart();
            const TxText::Range r =
                TxText::ParagraphsAround(mTxt->Text(), from, from + mTxt->SelLength());
            mTxt->SetSelStart(r.start);
            mTxt->SetSelLength(r.end - r.start);
        }
        mTxt->SetListState(1);
    }
    const int selFrom = mTxt->SelStart();
    const int selLength = mTxt->SelLength();

    // An empty paragraph takes formatting through a blank standing in for
    // its text.
    int blankAt = -1;
    bool imeWasOpen = false;
    if (selLength == 0) {
        imeWasOpen = ImeIsOpen();
        if (imeWasOpen)
            txIME(false);
        blankAt = selFrom;
        mTxt->SetSelText(QStringLiteral(" "));
        mTxt->SetSelStart(blankAt);
        mTxt->SetSelLength(1);
    }

    if (heading) {
        mTxt->SetCharAttr(1, f.iAt1);
        mTxt->SetCharAttr(2, f.iAt2);
        mTxt->SetCharAttr(3, f.iAt3);
        mTxt->SetCharAttr(4, f.iAt4);
    } else {
        mTxt->SetCharAttr(1, 0);
        mTxt->SetCharAttr(2, 0);
        mTxt->SetCharAttr(3, 0);
        mTxt->SetCharAttr(4, 7936);
    }
    if (!marker && iStlNew < 4 && mTxt->ListState() == 1 && (!bAuto || column == 0)) {
        mTxt->SetLeftIndent(f.iLIdt);
        mTxt->SetParaValue(1, f.iPa1);
        mTxt->SetParaValue(2, f.iPa2);
        mTxt->SetParaValue(3, f.iPa3);
        mTxt->SetParaValue(4, f.iPa4);
        mTxt->SetParaAttr0(0);
        mTxt->SetLineSpacing(TxStyle::LineSpacing(f, TxStyle::Shared().sgLsp));
    }
    mTxt->SetFontName(f.sFont);
    mTxt->SetFontSize(f.iSize);
    if (!marker) {
        mTxt->SetForeColor(quint32(f.nFcr));
        mTxt->SetFontBold(f.iBold == 1);
        setBackground(quint32(f.nBcr));
        mTxt->SetFontUnderline(false);
    } else {
        mTxt->SetForeColor(TxStyle::MarkerColor(iStlNew));
        setBackground(TxStyle::kWhite);
        mTxt->SetFontBold(false);
        mTxt->SetFontUnderline(true);
    }

    QTextCharFormat typed; // what typing at the caret continues with
    bool keepTyped = false;
    if (blankAt >= 0) {
        QTextCursor c(mTxt->ActiveEdit()->document());
        c.setPosition(blankAt + 1);
        typed = c.charFormat();
        keepTyped = true;
        mTxt->SetSelStart(blankAt);
        mTxt->SetSelLength(1);
        if (mTxt->SelText() == QLatin1String(" "))
            mTxt->SetSelText(QString());
        QTextCursor e(mTxt->ActiveEdit()->document());
        e.setPosition(blankAt);
        if (e.block().length() == 1)
            e.setBlockCharFormat(typed);
        if (imeWasOpen)
            txIME(true);
    } else if (!marker) {
        ReStyleMrk(selFrom, selLength);
    }

    iCurStl = iStlNew;
    mTxt->SetSelStart(caret);
    if (keepTyped)
        mTxt->ActiveEdit()->setCurrentCharFormat(typed);
    mTxt->SetFocus();
    ShowStl();
    return true;
}

// A white background is the paper's: the text gets no background of its
// own, so table cells and shading show through.
void uTxm::setBackground(quint32 color) {
    if ((color & 0xFFFFFF) != TxStyle::kWhite) {
        mTxt->SetTextBkColor(color);
        return;
    }
    QTextCursor c = mTxt->ActiveEdit()->textCursor();
    if (!c.hasSelection()) {
        QTextCharFormat f = mTxt->ActiveEdit()->currentCharFormat();
        f.clearBackground();
        mTxt->ActiveEdit()->setCurrentCharFormat(f);
        return;
    }
    const int from = c.selectionStart();
    const int to = c.selectionEnd();
    QTextDocument* doc = mTxt->ActiveEdit()->document();
    QTextCursor edit(doc);
    edit.beginEditBlock();
    for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int s = std::max(from, frag.position());
            const int e = std::min(to, frag.position() + frag.length());
            if (s >= e || frag.charFormat().background().style() == Qt::NoBrush)
                continue;
            QTextCharFormat f = frag.charFormat();
            f.clearBackground();
            edit.setPosition(s);
            edit.setPosition(e, QTextCursor::KeepAnchor);
            edit.setCharFormat(f);
        }
    }
    edit.endEditBlock();
}

// ------------------------------------------------------------ markers

void uTxm::ReStyleMrk(int nFrom, int nLen) {
    Busy busy(*this);
    const int keepStart = mTxt->SelStart();
    const int keepLength = mTxt->SelLength();
    const int keepField = mTxt->CurField();
    const UsrFmt& body = usrFmt[TxStyle::kBody];
    for (int id = mTxt->NextField(0, 0); id != 0; id = mTxt->NextField(0, id)) {
        const QString target = mTxt->FieldTarget(id);
        if (target.isEmpty())
            continue;
        QString kind, value;
        Frmt::SplitMrk(target, kind, value);
        if (kind == QLatin1String("TP"))
            continue;
        mTxt->SetCurField(id);
        const int start = mTxt->FieldStart();
        const int end = mTxt->FieldEnd();
        if (nLen >= 0 && (end <= nFrom || start >= nFrom + nLen) &&
            !(nLen == 0 && start <= nFrom && nFrom < end))
            continue;
        mTxt->SetSelStart(start);
        mTxt->SetSelLength(end - start);
        mTxt->SetFontName(body.sFont);
        mTxt->SetFontSize(body.iSize);
        mTxt->SetForeColor(TxStyle::MarkerColor(kind == QLatin1String("TG") ? 7 : 6));
        mTxt->SetFontBold(false);
        mTxt->SetFontStrike(false);
        mTxt->SetFontUnderline(true);
    }
    mTxt->SetCurField(keepField);
    mTxt->SetSelStart(keepStart);
    if (keepLength > 0)
        mTxt->SetSelLength(keepLength);
}

// ------------------------------------------------------------ style panel

void uTxm::ShowStl() {
    pnStatus->setText(TxStyle::PanelName(caretLook(), usrFmt, mTxt->FieldAtCaret() != 0));
}

// ------------------------------------------------------------ automatic heading

// A view-only editor never makes headings of its own.
bool uTxm::autoHeadingOn() const {
    return TxStyle::Shared().bDtp && iTy >= 0;
}

// Focus into the engine: the first line of a page is its page heading, and
// the end of the text continues in body text.
void uTxm::autoHeadingOnFocus() {
    if (mTxt->SelLength() != 0 || mTxt->HeadFootActive() != 0 || mTxt->TextFrameActive() != 0)
        return;
    const QString text = mTxt->Text();
    const int pos = mTxt->SelStart();
    const TxEngine::Caret at = mTxt->CaretPos();
    const bool firstLine = at.page == 1 && at.line == 1;
    const bool atEnd = pos >= text.size();
    if (!autoHeadingOn()) {
        if (!firstLine && atEnd && iTy >= 0)
            SetStl(TxStyle::kBody, {}, true);
        return;
    }
    if (!atEnd && isBreak(text[pos]))
        return;
    if (at.page != 1 && at.column != 0)
        return;
    if (firstLine)
        SetStl(0, {}, true);
    else if (atEnd)
        SetStl(TxStyle::kBody, {}, true);
}

// Enter in body text makes a line break and Shift+Enter a paragraph, when
// the user asked for it; headings keep the engine's own keys (Enter a
// paragraph, Shift+Enter a line break). Returns whether the key was taken.
bool uTxm::onEnterDown(QKeyEvent* k) {
    if (!TxStyle::Shared().bEntSh || forwardingKey_)
        return false;
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    if (caretStyle() < TxStyle::kBody)
        return false;
    const Qt::KeyboardModifiers swapped =
        mods == Qt::ShiftModifier ? Qt::NoModifier : Qt::ShiftModifier;
    QKeyEvent passed(QEvent::KeyPress, k->key(), swapped | (k->modifiers() & Qt::KeypadModifier),
                     k->text(), k->isAutoRepeat(), ushort(k->count()));
    forwardingKey_ = true;
    QCoreApplication::sendEvent(mTxt, &passed);
    forwardingKey_ = false;
    return true;
}

// After Enter in a heading: the new paragraph below it is body text.
void uTxm::onEnterUp() {
    if (mTxt->TableAtCaret() != 0 || mTxt->SelLength() != 0)
        return;
    const QString text = mTxt->Text();
    const int pos = mTxt->SelStart();
    if (pos == 0 || text[pos - 1] != TxText::kPara)
        return; // only a paragraph just begun
    if (pos < text.size() && !isBreak(text[pos]) && text[pos] != TxText::kPage)
        return; // ordinary text follows: left alone
    const TxEngine::Caret at = mTxt->CaretPos();
    if (at.column != 0 || (at.page == 1 && at.line == 1))
        return;
    if (caretStyle() >= TxStyle::kBody)
        return;
    SetStl(TxStyle::kBody, {}, true);
    SetTlBar();
}
