#include "QuickFlow.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QtGui/private/qguiapplication_p.h>

#include <cmath>

QT_BEGIN_NAMESPACE
// The resolution Qt's layout measures margins and line heights against.
Q_GUI_EXPORT int qt_defaultDpi();
QT_END_NAMESPACE

namespace quickflow {

namespace {

// The heights of one line under the paragraph's line spacing: how far the
// next line goes down, how much room it needs above a page end, how far its
// text is lifted, and where its bottom is.
struct LineHeights {
    QFixed step, needed, lift, bottom;
};

LineHeights heights(const QTextBlockFormat& format, const QTextLine& line, qreal scale) {
    const qreal raw = std::ceil(line.ascent() + line.descent() + line.leading());
    LineHeights h;
    h.step = QFixed::fromReal(format.lineHeight(raw, scale));
    h.bottom = QFixed::fromReal(format.lineHeight(line.height(), scale));
    const int type = format.lineHeightType();
    if (type == QTextBlockFormat::FixedHeight || type == QTextBlockFormat::MinimumHeight) {
        h.needed = h.bottom;
        h.lift = type == QTextBlockFormat::FixedHeight
                     ? QFixed::fromReal(line.ascent() + std::max(line.leading(), qreal(0))) -
                           (h.step * 4) / 5
                     : QFixed::fromReal(line.height()) - h.step;
    } else {
        h.needed = QFixed::fromReal(line.height());
        h.lift = 0;
    }
    return h;
}

// The paragraph's indent from its indent level and its list.
QFixed blockIndent(const QTextBlockFormat& format, const Flow& flow) {
    qreal indent = format.indent();
    if (const QTextObject* object = flow.doc->objectForFormat(format))
        indent += object->format().toListFormat().indent();
    if (qIsNull(indent))
        return 0;
    return QFixed::fromReal(indent * flow.dpiScale * flow.doc->indentWidth());
}

// Steps the flow over the space between the paragraph and the one before.
void addSpaceBefore(const QTextBlockFormat& format, const QTextBlockFormat* previous, Flow* flow) {
    if (!previous)
        return;
    qreal margin = std::max(format.topMargin(), previous->bottomMargin());
    if (margin > 0)
        margin *= flow->dpiScale;
    flow->y += QFixed::fromReal(margin);
}

// Sends the flow to the next page while the line does not fit above the
// page end (a line taller than a page stays where it is).
void fitOnPage(const LineHeights& h, Flow* flow) {
    while (flow->pageHeight > 0 && flow->y + h.needed > flow->pageBottom &&
           flow->pageHeight >= h.needed)
        flow->newPage();
}

void moveLines(QTextLayout* tl, const QTextBlockFormat& format, Flow* flow) {
    const QFixed top = flow->y;
    QFixed bottom;
    for (int i = 0; i < tl->lineCount(); ++i) {
        QTextLine line = tl->lineAt(i);
        const LineHeights h = heights(format, line, flow->dpiScale);
        fitOnPage(h, flow);
        line.setPosition(QPointF(line.x(), (flow->y - top - h.lift).toReal()));
        bottom = flow->y + h.bottom;
        flow->y += h.step;
    }
    flow->y = std::max(flow->y, bottom);
}

void breakLines(const QTextBlock& b, const QTextBlockFormat& format, Flow* flow) {
    QTextLayout* tl = b.layout();
    const QTextDocument* doc = flow->doc;
    const Qt::LayoutDirection dir = b.textDirection();
    const bool rtl = dir == Qt::RightToLeft;
    QFixed extra;
    if (doc->defaultTextOption().flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        extra =
            QFixed::fromReal(QFontMetricsF(b.charFormat().font()).horizontalAdvance(QChar(0x21B5)));
    const QFixed indent = blockIndent(format, *flow);
    const QFixed leftMargin = QFixed::fromReal(format.leftMargin()) + (rtl ? extra : indent);
    const QFixed rightMargin = QFixed::fromReal(format.rightMargin()) + (rtl ? indent : extra);

    QTextOption option = doc->defaultTextOption();
    option.setTextDirection(dir);
    option.setTabs(format.tabPositions());
    Qt::Alignment align = doc->defaultTextOption().alignment();
    if (format.hasProperty(QTextFormat::BlockAlignment))
        align = format.alignment();
    option.setAlignment(QGuiApplicationPrivate::visualAlignment(dir, align));
    if (format.nonBreakableLines() || doc->pageSize().width() < 0)
        option.setWrapMode(QTextOption::ManualWrap);
    tl->setTextOption(option);
    const bool wrapAnywhereToo = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;

    const QFixed top = flow->y;
    const QFixed left = std::max(flow->left, flow->left + leftMargin);
    const QFixed right = std::min(flow->right, flow->right - rightMargin);
    QFixed bottom;
    tl->beginLayout();
    for (bool first = true;; first = false) {
        QTextLine line = tl->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        QFixed l = left, r = right;
        if (first) {
            const QFixed textIndent = QFixed::fromReal(format.textIndent());
            if (rtl)
                r -= textIndent;
            else
                l += textIndent;
        }
        const QFixed width = r - l;
        line.setLineWidth(width.toReal());
        // A word longer than the line: Qt breaks that line anywhere and the
        // rest of the paragraph at words.
        if (QFixed::fromReal(line.naturalTextWidth()) > width) {
            line.setLineWidth(width.toReal());
            if (QFixed::fromReal(line.naturalTextWidth()) > width) {
                if (wrapAnywhereToo) {
                    option.setWrapMode(QTextOption::WrapAnywhere);
                    tl->setTextOption(option);
                }
                line.setLineWidth(std::max(line.naturalTextWidth(), width.toReal()));
                if (wrapAnywhereToo) {
                    option.setWrapMode(QTextOption::WordWrap);
                    tl->setTextOption(option);
                }
            }
        }
        const LineHeights h = heights(format, line, flow->dpiScale);
        fitOnPage(h, flow);
        line.setPosition(QPointF((l - flow->left).toReal(), (flow->y - top - h.lift).toReal()));
        bottom = flow->y + h.bottom;
        flow->y += h.step;
    }
    flow->y = std::max(flow->y, bottom);
    tl->endLayout();
}

} // namespace

void Flow::resume(QFixed at, QFixed pageOf) {
    y = at;
    const int page = paged() ? (pageOf / pageHeight).truncate() : 0;
    pageBottom = pageHeight * (page + 1) - pageBottomMargin;
}

void Flow::newPage() {
    if (!paged())
        return;
    pageBottom += pageHeight;
    y = std::max(y, pageBottom - pageHeight + pageBottomMargin + pageTopMargin);
}

bool start(const QTextDocument* doc, Flow* flow) {
    const QTextFrame* root = doc->rootFrame();
    const QList<QTextFrame*> children = root->childFrames();
    for (const QTextFrame* f : children)
        if (f->frameFormat().position() != QTextFrameFormat::InFlow)
            return false;
    const QTextFrameFormat ff = root->frameFormat();
    const QSizeF page = doc->pageSize();
    if (ff.width().type() != QTextLength::VariableLength || page.width() <= 0 || page.height() == 0)
        return false;
    flow->doc = doc;
    flow->dpiScale = 1;
    if (const QPaintDevice* device = doc->documentLayout()->paintDevice())
        flow->dpiScale = qreal(device->logicalDpiY()) / qreal(qt_defaultDpi());
    const QFixed border = QFixed::fromReal(ff.border());
    const QFixed padding = QFixed::fromReal(ff.padding());
    const QFixed leftMargin = QFixed::fromReal(ff.leftMargin());
    const QFixed rightMargin = QFixed::fromReal(ff.rightMargin());
    flow->left = leftMargin + border + padding;
    flow->right = flow->left + QFixed::fromReal(page.width()) - (border + padding) * 2 -
                  leftMargin - rightMargin;
    flow->top = QFixed::fromReal(ff.topMargin()) + border + padding;
    flow->pageHeight = page.height() < 0 ? QFIXED_MAX : QFixed::fromReal(page.height());
    flow->pageTopMargin = flow->top;
    flow->pageBottomMargin = QFixed::fromReal(ff.bottomMargin()) + border + padding;
    flow->resume(flow->top, flow->top);
    return true;
}

void skip(const QTextBlock& b, Flow* flow) {
    const QTextLayout* tl = b.layout();
    const QTextBlockFormat format = b.blockFormat();
    if (tl->lineCount() > 0) {
        const QTextLine last = tl->lineAt(tl->lineCount() - 1);
        const LineHeights h = heights(format, last, flow->dpiScale);
        const QFixed lineTop =
            QFixed::fromReal(tl->position().y()) + QFixed::fromReal(last.y()) + h.lift;
        flow->resume(std::max(lineTop + h.step, lineTop + h.bottom), lineTop);
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        flow->newPage();
}

void place(const QTextBlock& b, const QTextBlockFormat* previous, bool relayout, Flow* flow) {
    const QTextBlockFormat format = b.blockFormat();
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        flow->newPage();
    if (b.isVisible()) {
        addSpaceBefore(format, previous, flow);
        QTextLayout* tl = b.layout();
        tl->setPosition(QPointF(flow->left.toReal(), flow->y.toReal()));
        if (relayout)
            breakLines(b, format, flow);
        else
            moveLines(tl, format, flow);
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        flow->newPage();
}

int hitTest(const QTextBlock& first, int end, QPointF point, bool exact) {
    enum Hit { Before, After, Inside, Exact };
    Hit hit = Before;
    int position = first.position();
    const QTextLayout* hitLayout = nullptr;
    for (QTextBlock b = first; b.isValid() && b.position() < end; b = b.next()) {
        const QTextLayout* tl = b.layout();
        const QRectF r = tl->boundingRect().translated(tl->position());
        int at = b.position();
        if (point.y() < r.top()) {
            if (at < position) {
                position = at;
                hit = Before;
            }
            continue;
        }
        if (point.y() > r.bottom()) {
            at += b.length();
            if (at > position) {
                position = at;
                hit = After;
            }
            continue;
        }
        // Within the paragraph: the line at that height, or the nearest
        // text above or below it.
        const QPointF p = point - tl->position();
        Hit inside = Inside;
        int offset = 0;
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const QRectF lr = line.naturalTextRect();
            if (lr.top() > p.y()) {
                offset = std::min(offset, line.textStart());
            } else if (lr.bottom() <= p.y()) {
                offset = std::max(offset, line.textStart() + line.textLength());
            } else {
                if (lr.left() <= p.x() && lr.right() >= p.x())
                    inside = Exact;
                offset = line.xToCursor(p.x(), exact ? QTextLine::CursorOnCharacter
                                                     : QTextLine::CursorBetweenCharacters);
                break;
            }
        }
        hit = inside;
        position = at + offset;
        hitLayout = tl;
        break;
    }
    if (exact && hit < Exact)
        return -1;
    int last = first.document()->rootFrame()->lastPosition();
    if (hitLayout)
        last += hitLayout->preeditAreaText().size();
    return std::clamp(position, 0, last);
}

} // namespace quickflow
