#pragma once
// The paragraphs of a document that a paint of one area meets, for what the
// engine draws over Qt's text (formatting marks, list labels).

#include <functional>

class QPointF;
class QRectF;
class QTextBlock;
class QTextDocument;

namespace txvisible {

// Calls `f` with each laid-out, visible paragraph of `doc` whose rectangle
// meets `clip` (layout coordinates), and the top left of its layout there.
void forBlocks(QTextDocument* doc, const QRectF& clip,
               const std::function<void(const QTextBlock&, const QPointF&)>& f);

} // namespace txvisible
