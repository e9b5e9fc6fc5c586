#pragma once
// The body's document layout: Qt's own, with a quick path for the edits
// typing makes. Qt answers every change by walking the document from the
// edited paragraph to its end (moving every later paragraph, and in the page
// view laying out again each paragraph that crosses a page end), so a key
// costs time in proportion to the document. An edit inside one paragraph
// that leaves each of its lines as tall as before and the paragraph's line
// count unchanged moves nothing else: the quick path lays out that
// paragraph alone, keeps every line where it stood, and repaints only it.
// A change that moves the paragraphs after it (a new paragraph, a line
// more) lays out its own paragraphs and places the following ones a few
// screens down as Qt's layout would; Qt's layout places the rest once typing
// pauses, or at once when something looks there. Any other change goes to
// Qt's layout.

#include <climits>

class QTextBlock;
class QTextDocument;

namespace quicklayout {

// Gives `doc` the quick layout (when it has not got it yet); done when an
// editor is given the document. A document being filled is better left with
// no layout at all, as Qt leaves it until one is asked for.
void install(QTextDocument* doc);

// Notes that `block` is laid out with its present formats, so the next edit
// in it may take the quick path. Call it when no edit is under way (the
// editor does after the caret moves); harmless for other layouts.
void remember(const QTextBlock& block);

// Has Qt's layout place now the text left for when typing pauses.
void finish(QTextDocument* doc);
// Whether some text is left for then, and the text position it starts at
// (INT_MAX when none). That text lies below anything painted meanwhile.
int unplacedFrom(const QTextDocument* doc);
inline bool pending(const QTextDocument* doc) {
    return unplacedFrom(doc) != INT_MAX;
}

// How many changes took the quick path, how many had the quick layout place
// the paragraphs after them, how many went to Qt's layout, and how often
// Qt's layout then placed the rest, since `doc` got the quick layout (for
// tests and benchmarks).
struct Counts {
    int quick = 0;
    int moved = 0;
    int full = 0;
    int finished = 0;
};
Counts counts(const QTextDocument* doc);

} // namespace quicklayout
