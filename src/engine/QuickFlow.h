#pragma once
// Places the paragraphs of a document's main text one after another, with
// page ends, the way Qt's document layout does - for the stretch after an
// edit that the quick layout takes over. Only paragraphs of the main text
// are handled: a walk stops at a table or other frame and reports it, and a
// document with floating frames is not walked at all.
//
// Placing a paragraph that kept its text only moves its lines (a line that no
// longer fits above a page end goes to the next page, as in Qt's layout);
// only a changed paragraph is broken into lines again.

#include <QPointF>
#include <QtGui/private/qfixed_p.h>

class QTextBlock;
class QTextBlockFormat;
class QTextDocument;
class QAbstractTextDocumentLayout;

namespace quickflow {

// The state of the main text's flow: where the next paragraph goes and
// where the page it is on ends, in the layout's units.
struct Flow {
    const QTextDocument* doc = nullptr;
    qreal dpiScale = 1; // the layout's paint device against Qt's default dpi
    QFixed left, right; // the main text's left and right edges
    QFixed top;         // where its first paragraph goes
    QFixed pageHeight;  // QFIXED_MAX when the text is not paginated
    QFixed pageTopMargin, pageBottomMargin;
    QFixed y, pageBottom;

    bool paged() const { return pageHeight != QFIXED_MAX; }
    // Resumes at `at` on the page holding `pageOf`.
    void resume(QFixed at, QFixed pageOf);
    void newPage();
};

// The flow of `doc`'s main text at its start; false when it cannot be walked
// (floating frames, no page width, layout options the walk does not know).
bool start(const QTextDocument* doc, Flow* flow);

// Moves the flow past paragraph `b`, as laid out (its lines stay where they
// are): to where the paragraph after it goes.
void skip(const QTextBlock& b, Flow* flow);

// Places paragraph `b` at the flow, after a paragraph of format `previous`
// (none for the first of the text). `relayout` breaks it into lines again;
// otherwise its lines are moved.
void place(const QTextBlock& b, const QTextBlockFormat* previous, bool relayout, Flow* flow);

// The text position at `point` among the paragraphs from `first` up to (not
// including) the one at `end`, as Qt's layout finds it; -1 for an exact hit
// that hits no text.
int hitTest(const QTextBlock& first, int end, QPointF point, bool exact);

} // namespace quickflow
