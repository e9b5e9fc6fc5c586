#include "QuickLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QVarLengthArray>
// Qt's layout class itself is not public API; the quick path extends it
// rather than replacing a layout that handles tables, lists and pages.
#include <QtGui/private/qtextdocumentlayout_p.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Qt's layout keeps, every 2,000 pixels or so, a checkpoint with a text
// position and a height to resume from. A quick edit leaves the positions
// after it stale, so the next change Qt's layout takes starts before the
// first quick edit. When that lies this close before the change, one pass
// covers both; farther away, a pass from the quick edit comes first, so
// the text between them is moved rather than laid out again.
constexpr int kNear = 4096;

class QuickLayout final : public QTextDocumentLayout {
public:
    explicit QuickLayout(QTextDocument* doc) : QTextDocumentLayout(doc) {}

    void remember(const QTextBlock& b) { known_ = Known::of(b); }
    quicklayout::Counts counts;

protected:
    void documentChanged(int from, int oldLength, int length) override;

private:
    // A paragraph as it was when last laid out: its layout object, its
    // formats, and the paragraph mark after it (the next paragraph's
    // character format).
    struct Known {
        const QTextLayout* layout = nullptr;
        int format = -1;
        int charFormat = -1;
        int nextCharFormat = -1;
        static Known of(const QTextBlock& b) {
            if (!b.isValid())
                return {};
            const QTextBlock next = b.next();
            return {b.layout(), b.blockFormatIndex(), b.charFormatIndex(),
                    next.isValid() ? next.charFormatIndex() : -1};
        }
        bool operator==(const Known&) const = default;
    };

    bool quick(int from, int length);
    bool plainParagraph(const QTextBlock& b) const;
    bool relayout(const QTextBlock& b) const;
    double rightEdge(const QTextBlock& b) const;

    Known known_;
    int blocks_ = -1;     // paragraphs at the last change
    int stale_ = INT_MAX; // start of the first paragraph a quick edit laid out
};

void QuickLayout::documentChanged(int from, int oldLength, int length) {
    QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    const bool sameBlocks = blocks == blocks_;
    blocks_ = blocks;
    if (sameBlocks && quick(from, length)) {
        ++counts.quick;
        return;
    }
    ++counts.full;
    const bool whole = oldLength == 0 && length == doc->characterCount();
    if (!whole && stale_ < from) {
        if (from - stale_ <= kNear) {
            const int extra = from - stale_;
            QTextDocumentLayout::documentChanged(stale_, oldLength + extra, length + extra);
        } else {
            QTextDocumentLayout::documentChanged(stale_, 1, 1);
            QTextDocumentLayout::documentChanged(from, oldLength, length);
        }
    } else {
        QTextDocumentLayout::documentChanged(from, oldLength, length);
    }
    stale_ = INT_MAX;
    known_ = Known::of(doc->findBlock(from));
}

bool QuickLayout::quick(int from, int length) {
    // Not while Qt's layout is still working through the document in steps.
    if (layoutStatus() < 100 || document()->pageSize().isNull())
        return false;
    const QTextBlock b = document()->findBlock(from);
    if (!b.isValid())
        return false;
    const int end = b.position() + b.length(); // after the paragraph mark
    if (from + length > end)
        return false;
    Known now = Known::of(b);
    // A change reaching the paragraph mark may have given the next paragraph
    // a new character format; the known one says whether it did.
    if (from + length < end)
        now.nextCharFormat = known_.nextCharFormat;
    if (!(now == known_) || !plainParagraph(b) || !relayout(b))
        return false;
    stale_ = std::min(stale_, b.position());
    const QRectF r = blockBoundingRect(b);
    // Glyphs may reach a little past the lines (italics, underlines).
    emit update(
        QRectF(0, r.top() - 2, std::max(documentSize().width(), r.right()) + 2, r.height() + 4));
    return true;
}

// A paragraph of the main text whose place depends only on the ones before
// it: not in a table, not next to one (Qt tucks an empty paragraph there
// into the table's edge), and no floating frame in the document.
bool QuickLayout::plainParagraph(const QTextBlock& b) const {
    QTextDocument* doc = document();
    QTextFrame* root = doc->rootFrame();
    if (!b.isVisible() || doc->frameAt(b.position()) != root)
        return false;
    const QTextBlock prev = b.previous();
    const QTextBlock next = b.next();
    if ((prev.isValid() && doc->frameAt(prev.position()) != root) ||
        (next.isValid() && doc->frameAt(next.position()) != root))
        return false;
    const QList<QTextFrame*> children = root->childFrames();
    return std::all_of(children.cbegin(), children.cend(), [](const QTextFrame* f) {
        return f->frameFormat().position() == QTextFrameFormat::InFlow;
    });
}

// Where the paragraph's lines end on the right, relative to the paragraph:
// the root frame's text width less the paragraph's right indent.
double QuickLayout::rightEdge(const QTextBlock& b) const {
    const QTextFrameFormat ff = document()->rootFrame()->frameFormat();
    const double contents = document()->pageSize().width() - ff.leftMargin() - ff.rightMargin() -
                            2 * (ff.border() + ff.padding());
    return contents - b.blockFormat().rightMargin();
}

// Lays the paragraph out again with each line at the width and place it had;
// true when that is what a full pass would give: as many lines, each as high
// as before and within its width.
bool QuickLayout::relayout(const QTextBlock& b) const {
    QTextLayout* tl = b.layout();
    const int count = tl->lineCount();
    if (count == 0)
        return false;
    struct Old {
        QPointF pos;
        qreal width, ascent, descent, leading;
    };
    QVarLengthArray<Old, 32> old;
    const double right = rightEdge(b);
    for (int i = 0; i < count; ++i) {
        const QTextLine l = tl->lineAt(i);
        // A line Qt widened for a word longer than the width is laid out by
        // its own rules.
        if (std::abs(l.x() + l.width() - right) > 0.1)
            return false;
        old.push_back({l.position(), l.width(), l.ascent(), l.descent(), l.leading()});
    }
    tl->beginLayout();
    int made = 0;
    bool same = true;
    while (same) {
        QTextLine line = tl->createLine();
        if (!line.isValid())
            break;
        if (made == count) {
            same = false;
            break;
        }
        const Old& o = old[made++];
        line.setLeadingIncluded(true);
        line.setLineWidth(o.width);
        line.setPosition(o.pos);
        same = line.naturalTextWidth() <= o.width && line.ascent() == o.ascent &&
               line.descent() == o.descent && line.leading() == o.leading;
    }
    tl->endLayout();
    return same && made == count;
}

} // namespace

namespace quicklayout {

void install(QTextDocument* doc) {
    if (!dynamic_cast<QuickLayout*>(doc->documentLayout()))
        doc->setDocumentLayout(new QuickLayout(doc));
}

void remember(const QTextBlock& block) {
    if (!block.isValid())
        return;
    if (auto* layout = dynamic_cast<QuickLayout*>(block.document()->documentLayout()))
        layout->remember(block);
}

Counts counts(const QTextDocument* doc) {
    if (auto* layout = dynamic_cast<const QuickLayout*>(doc->documentLayout()))
        return layout->counts;
    return {};
}

} // namespace quicklayout
