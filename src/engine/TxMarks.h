#pragma once
// The formatting marks of spaces and tabs, drawn by the editor itself. Qt's
// own mark for a space is a dot in the painter's font at the space's start,
// which in most document fonts lands on the next letter ("is łong"); here a
// space gets a dot in its middle, a full-width space a square (as Japanese
// editors show it) and a tab an arrow across its width.

class QPainter;
class QRectF;
class QTextDocument;

namespace txmarks {

// Draws the marks of the characters of `doc` that lie in `clip` (layout
// coordinates, the painter's too), in each character's text colour.
void paint(QPainter& p, QTextDocument* doc, const QRectF& clip);

} // namespace txmarks
