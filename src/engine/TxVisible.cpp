#include "TxVisible.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>

namespace txvisible {

void forBlocks(QTextDocument* doc, const QRectF& clip,
               const std::function<void(const QTextBlock&, const QPointF&)>& f) {
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    // Start a paragraph before the one at the top of the area, as a tall
    // paragraph may begin above it.
    const int at = layout->hitTest(QPointF(clip.left(), clip.top()), Qt::FuzzyHit);
    QTextBlock b = doc->findBlock(std::max(0, at));
    if (b.previous().isValid())
        b = b.previous();
    QTextFrame* root = doc->rootFrame();
    for (; b.isValid(); b = b.next()) {
        if (!b.isVisible() || !b.layout() || b.layout()->lineCount() == 0)
            continue;
        const QRectF r = layout->blockBoundingRect(b);
        if (r.top() > clip.bottom() && doc->frameAt(b.position()) == root)
            break;
        // Qt gives a paragraph's rectangle the layout's own position as its
        // top left, whatever its lines' offsets within it.
        if (r.intersects(clip))
            f(b, r.topLeft());
    }
}

double baseline(const QTextLine& line) {
    const double leading = line.leadingIncluded() ? std::max(0.0, line.leading()) : 0.0;
    return line.y() + line.ascent() + leading;
}

QColor textColor(const QTextCharFormat& format) {
    const QBrush brush = format.foreground();
    return brush.style() == Qt::NoBrush ? QColor(Qt::black) : brush.color();
}

void drawText(QPainter& p, const QString& text, const QFont& font, QPaintDevice* device,
              const QPointF& at, Qt::AlignmentFlag side) {
    QTextLayout shown(text, font, device);
    shown.beginLayout();
    QTextLine line = shown.createLine();
    line.setNumColumns(int(text.size()));
    shown.endLayout();
    const double left = side == Qt::AlignRight ? at.x() - line.naturalTextWidth() : at.x();
    shown.draw(&p, QPointF(left, at.y() - line.ascent()));
}

} // namespace txvisible
