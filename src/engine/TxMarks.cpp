#include "TxMarks.h"

#include "TxVisible.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

constexpr char16_t kSpace = u' ';
constexpr char16_t kWideSpace = u'\u3000';
constexpr char16_t kTab = u'\t';

bool marked(char16_t c) {
    return c == kSpace || c == kWideSpace || c == kTab;
}

// One mark in the cell [x1, x2] of a line whose baseline is at `base`, in a
// font whose capitals rise `ascent` and small letters `xHeight` above it.
void drawMark(QPainter& p, char16_t c, double x1, double x2, double base, double ascent,
              double xHeight) {
    const double w = std::abs(x2 - x1);
    const double mid = (x1 + x2) / 2;
    if (w < 1)
        return;
    if (c == kSpace) {
        const double r = std::clamp(ascent * 0.06, 0.75, 3.0);
        p.drawEllipse(QPointF(mid, base - xHeight / 2), r, r);
    } else if (c == kWideSpace) {
        const double side = std::min(w * 0.7, ascent * 0.75);
        const double top = base - ascent * 0.38 - side / 2;
        p.drawRect(QRectF(mid - side / 2, top, side, side));
    } else {
        const double y = base - xHeight / 2;
        const double head = std::clamp(ascent * 0.2, 2.0, 6.0);
        const double left = std::min(x1, x2) + 1;
        const double right = std::max(x1, x2) - 1;
        if (right - left < head)
            return;
        p.drawLine(QPointF(left, y), QPointF(right, y));
        p.drawLine(QPointF(right - head, y - head * 0.6), QPointF(right, y));
        p.drawLine(QPointF(right - head, y + head * 0.6), QPointF(right, y));
    }
}

void paintBlock(QPainter& p, const QTextBlock& b, const QPointF& origin, const QRectF& clip,
                QPaintDevice* device) {
    const QTextLayout* tl = b.layout();
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const QString part = f.text();
        const QColor color = txvisible::textColor(f.charFormat());
        p.setPen(QPen(color, 0));
        const QFontMetricsF fm(f.charFormat().font(), device);
        const int start = f.position() - b.position();
        for (int i = 0; i < part.size(); ++i) {
            const char16_t c = part.at(i).unicode();
            if (!marked(c))
                continue;
            const int at = start + i;
            const QTextLine line = tl->lineForTextPosition(at);
            if (!line.isValid() || !line.rect().translated(origin).intersects(clip))
                continue;
            p.setBrush(c == kSpace ? QBrush(color) : QBrush());
            drawMark(p, c, origin.x() + line.cursorToX(at), origin.x() + line.cursorToX(at + 1),
                     origin.y() + txvisible::baseline(line), fm.ascent(), fm.xHeight());
        }
    }
    // Qt marks the end of every paragraph but the document's last, which has
    // no paragraph separator of its own; Word marks that one too.
    if (!b.next().isValid()) {
        const QTextLine last = tl->lineAt(tl->lineCount() - 1);
        const QTextCharFormat mark = b.charFormat();
        p.setPen(txvisible::textColor(mark));
        txvisible::drawText(
            p, QStringLiteral("\u00B6"), mark.font(), device,
            QPointF(origin.x() + last.cursorToX(last.textStart() + last.textLength()),
                    origin.y() + txvisible::baseline(last)),
            Qt::AlignLeft);
    }
}

} // namespace

namespace txmarks {

void paint(QPainter& p, QTextDocument* doc, const QRectF& clip) {
    QPaintDevice* device = doc->documentLayout()->paintDevice();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    txvisible::forBlocks(doc, clip, [&](const QTextBlock& b, const QPointF& origin) {
        paintBlock(p, b, origin, clip, device);
    });
    p.restore();
}

} // namespace txmarks
