#pragma once
// The labels of list paragraphs whose numbers Qt's list styles cannot draw:
// circled, full-width, kana and Japanese numbers, lists that start at a
// number other than 1, and bullets other than "•" (ModelToTx marks those
// lists). Drawn where Qt draws its
// own labels: before the first line, a space away from the text.

#include <QString>

class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;

namespace txlabels {

// The label paragraph `b` shows ("③", "第2章"), empty when Qt draws it or the
// paragraph is not in a list.
QString text(const QTextBlock& b);

// Draws the labels of the paragraphs of `doc` that meet `clip` (layout
// coordinates, the painter's too).
void paint(QPainter& p, QTextDocument* doc, const QRectF& clip);

} // namespace txlabels
