// TxEngine: character and paragraph formatting of the selection. The
// mapping of CharAttr / ParaValue / ParaAttr0 is documented in TxEngine.h;
// the properties Qt lacks are kept as TxProps so files keep them exactly.
#include "TxEngine.h"

#include "Format.h"
#include "TxCharAttr.h"
#include "TxEngineState.h"
#include "TxFieldOps.h"
#include "TxFonts.h"
#include "TxProps.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

using txp::px;
using txp::twips;

namespace {

// Platform colour values (0x00BBGGRR) are the model's colour form.
quint32 toPlatform(const QColor& c) {
    return model::rgb(c.red(), c.green(), c.blue());
}

QColor fromPlatform(quint32 v) {
    return QColor(model::red(v), model::green(v), model::blue(v));
}

} // namespace

// The format that getters read: the first selected character, or the
// insertion format at the caret.
static QTextCharFormat selFormat(const TxEngineState& d) {
    const QTextCursor c = d.ed()->textCursor();
    if (c.hasSelection())
        return txfield::formatAt(d.adoc(), c.selectionStart());
    return c.charFormat();
}

static void mergeSel(TxEngineState& d, const QTextCharFormat& f) {
    d.ed()->mergeCurrentCharFormat(f);
}

static QTextBlockFormat selBlock(const TxEngineState& d) {
    return d.ed()->textCursor().blockFormat();
}

static void mergeBlocks(TxEngineState& d, const QTextBlockFormat& f) {
    QTextCursor c = d.ed()->textCursor();
    c.mergeBlockFormat(f);
    d.ed()->setTextCursor(c);
}

QString TxEngine::FontName() const {
    return txfont::latin(selFormat(*d));
}

void TxEngine::SetFontName(const QString& name) {
    if (name.isEmpty())
        return;
    QTextCharFormat f;
    txfont::setNames(f, name, name);
    mergeSel(*d, f);
}

double TxEngine::FontSize() const {
    const double pt = selFormat(*d).fontPointSize();
    return pt > 0 ? pt : d->adoc()->defaultFont().pointSizeF();
}

void TxEngine::SetFontSize(double points) {
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeSel(*d, f);
}

bool TxEngine::FontBold() const {
    return selFormat(*d).fontWeight() >= QFont::DemiBold;
}

void TxEngine::SetFontBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSel(*d, f);
}

bool TxEngine::FontItalic() const {
    return selFormat(*d).fontItalic();
}

void TxEngine::SetFontItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeSel(*d, f);
}

bool TxEngine::FontUnderline() const {
    return txattr::underlineKind(selFormat(*d)) != 0;
}

void TxEngine::SetFontUnderline(bool on) {
    SetCharAttr(1, on ? 1 : 0);
}

bool TxEngine::FontStrike() const {
    return selFormat(*d).fontStrikeOut();
}

void TxEngine::SetFontStrike(bool on) {
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeSel(*d, f);
}

int TxEngine::CharAttr(int n) const {
    return txattr::get(selFormat(*d), n);
}

void TxEngine::SetCharAttr(int n, int value) {
    QTextCharFormat f;
    if (txattr::set(f, n, value))
        mergeSel(*d, f);
}

quint32 TxEngine::ForeColor() const {
    const QTextCharFormat f = selFormat(*d);
    if (f.foreground().style() == Qt::NoBrush)
        return 0;
    return toPlatform(f.foreground().color());
}

void TxEngine::SetForeColor(quint32 color) {
    QTextCharFormat f;
    f.setForeground(fromPlatform(color));
    mergeSel(*d, f);
}

quint32 TxEngine::TextBkColor() const {
    const QTextCharFormat f = selFormat(*d);
    if (f.background().style() == Qt::NoBrush)
        return 0xFFFFFF;
    return toPlatform(f.background().color());
}

void TxEngine::SetTextBkColor(quint32 color) {
    QTextCharFormat f;
    f.setBackground(fromPlatform(color));
    mergeSel(*d, f);
}

int TxEngine::LeftIndent() const {
    return twips(selBlock(*d).leftMargin());
}

void TxEngine::SetLeftIndent(int value) {
    QTextBlockFormat f;
    f.setLeftMargin(px(value));
    mergeBlocks(*d, f);
}

int TxEngine::ParaValue(int n) const {
    const QTextBlockFormat b = selBlock(*d);
    switch (n) {
    case 1:
        return twips(b.topMargin());
    case 2:
        return twips(b.bottomMargin());
    case 3:
        return twips(b.textIndent());
    case 4:
        return twips(b.rightMargin());
    default:
        return 0;
    }
}

void TxEngine::SetParaValue(int n, int value) {
    QTextBlockFormat f;
    switch (n) {
    case 1:
        f.setTopMargin(px(value));
        break;
    case 2:
        f.setBottomMargin(px(value));
        break;
    case 3:
        f.setTextIndent(px(value));
        break;
    case 4:
        f.setRightMargin(px(value));
        break;
    default:
        return;
    }
    mergeBlocks(*d, f);
}

int TxEngine::ParaAttr0() const {
    return txattr::alignmentValue(selBlock(*d));
}

void TxEngine::SetParaAttr0(int value) {
    QTextBlockFormat f;
    txattr::setAlignmentValue(f, value);
    mergeBlocks(*d, f);
}

int TxEngine::LineSpacing() const {
    const QTextBlockFormat b = selBlock(*d);
    const int type = b.lineHeightType();
    if (type == QTextBlockFormat::MinimumHeight || type == QTextBlockFormat::FixedHeight)
        return twips(b.lineHeight());
    return 0;
}

void TxEngine::SetLineSpacing(int value) {
    QTextBlockFormat f;
    txattr::setLineSpacing(f, value > 0 ? 1 : 0, value > 0 ? value : 240);
    mergeBlocks(*d, f);
}

int TxEngine::ListState() const {
    const QTextList* list = d->ed()->textCursor().currentList();
    if (!list)
        return 1;
    if (list->format().hasProperty(txp::ListBullet))
        return 2;
    switch (list->format().style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return 2;
    default:
        return 3;
    }
}

void TxEngine::SetListState(int state) {
    QTextCursor c = d->ed()->textCursor();
    c.beginEditBlock();
    if (state <= 1) {
        const int end = c.selectionEnd();
        for (QTextBlock b = d->adoc()->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
            if (QTextList* l = b.textList()) {
                l->remove(b);
                QTextCursor bc(b);
                QTextBlockFormat bf = b.blockFormat();
                bf.setIndent(0);
                bf.setProperty(txp::ListId, 0);
                bf.setProperty(txp::ListLevel, 0);
                bc.setBlockFormat(bf);
            }
            if (b.position() + b.length() > end)
                break;
        }
    } else {
        QTextListFormat lf;
        lf.setStyle(state == 2 ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
        if (QTextList* l = c.currentList())
            l->setFormat(lf);
        else
            c.createList(lf);
    }
    c.endEditBlock();
    d->ed()->setTextCursor(c);
}
