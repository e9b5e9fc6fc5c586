#pragma once
// The paragraphs of a document that a paint of one area meets, for what the
// engine draws over Qt's text (formatting marks, list labels).

#include <Qt>

#include <functional>

class QColor;
class QFont;
class QPaintDevice;
class QPainter;
class QPointF;
class QString;
class QRectF;
class QTextBlock;
class QTextCharFormat;
class QTextLine;
class QTextDocument;

namespace txvisible {

// Calls `f` with each laid-out, visible paragraph of `doc` whose rectangle
// meets `clip` (layout coordinates), and the top left of its layout there.
void forBlocks(QTextDocument* doc, const QRectF& clip,
               const std::function<void(const QTextBlock&, const QPointF&)>& f);

// Where Qt puts the baseline of `line`, from its paragraph's top: below the
// line's leading when the leading is included.
double baseline(const QTextLine& line);

// The colour text in `format` is drawn in (black when it sets none).
QColor textColor(const QTextCharFormat& format);

// Draws `text` in `font` as laid out for `device` (the document's, so it has
// the text's size at every zoom and on paper), with its baseline through
// `at`, starting there (Qt::AlignLeft) or ending there (Qt::AlignRight).
void drawText(QPainter& p, const QString& text, const QFont& font, QPaintDevice* device,
              const QPointF& at, Qt::AlignmentFlag side);

} // namespace txvisible
