#include "QuickLayout.h"
#include "QuickFlow.h"

#include <QHash>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTimer>
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

// A change that moves the paragraphs after it (a new paragraph, one joined
// to the one before, a line more or less) is placed by the quick layout
// this far down (layout units: several screens), and the rest of the text
// is left to Qt's layout once typing pauses this long. Until then the text
// beyond stands where it stood, out of sight; anything that looks there
// first has Qt's layout finish at once.
constexpr int kReach = 4000;
constexpr int kPauseMs = 300;

class QuickLayout final : public QTextDocumentLayout {
public:
    explicit QuickLayout(QTextDocument* doc) : QTextDocumentLayout(doc) {
        pause_.setSingleShot(true);
        pause_.setInterval(kPauseMs);
        connect(&pause_, &QTimer::timeout, this, [this] { finish(); });
    }

    void remember(const QTextBlock& b) { known_ = Known::of(b); }
    // Has Qt's layout place the text the quick layout left where it stood.
    void finish();
    int unplacedFrom() const { return pending_ ? placedTo_ : INT_MAX; }
    quicklayout::Counts counts;

    // What could look beyond the placed stretch finishes the layout first.
    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QSizeF documentSize() const override;
    int pageCount() const override;

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
    bool reflow(int from, int length);
    // Forgets what the quick layout placed: Qt's layout is placing it.
    void settle();
    // The end of the stretch of placed text that can be trusted: the text
    // left behind after it may stand up to movedDown_ higher than it was.
    qreal trustedEnd() const { return placedEnd_ - movedDown_; }
    void finishFor(bool needed) const {
        if (needed && pending_)
            const_cast<QuickLayout*>(this)->finish();
    }
    // Top of the first paragraph the placed stretch begins with.
    qreal placedTop() const;
    bool plainParagraph(const QTextBlock& b) const;
    bool relayout(const QTextBlock& b, double right) const;
    // Asks for the band from `top` to `bottom` to be painted again; glyphs
    // may reach a little past the lines (italics, underlines).
    void repaint(qreal top, qreal bottom, qreal right) {
        emit update(QRectF(0, top - 2, std::max(dynamicDocumentSize().width(), right) + 2,
                           bottom - top + 4));
    }

    Known known_;
    int blocks_ = -1;     // paragraphs at the last change
    int stale_ = INT_MAX; // start of the first paragraph a quick edit laid out
    // After a change the quick layout placed the paragraphs after: Qt's
    // records of where the text stands are out of date from stale_ on, and
    // the paragraphs from placedTo_ on stand where they stood.
    bool pending_ = false;
    int placedTo_ = 0;    // text position of the first paragraph not placed
    qreal placedEnd_ = 0; // where that paragraph would go
    // How far paragraphs moved down and up since Qt's layout last ran, from
    // where each stood then.
    qreal movedDown_ = 0, movedUp_ = 0;
    QHash<const QTextLayout*, qreal> firstTop_;
    QTimer pause_;
};

void QuickLayout::documentChanged(int from, int oldLength, int length) {
    QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    const bool sameBlocks = blocks == blocks_;
    blocks_ = blocks;
    const bool whole = oldLength == 0 && length == doc->characterCount();
    // A change reaching the text left unplaced goes to Qt's layout, which
    // starts before everything placed since it last ran.
    bool toQt = whole;
    if (pending_) {
        if (from + oldLength >= placedTo_)
            toQt = true;
        else
            placedTo_ += length - oldLength;
    }
    if (!toQt && sameBlocks && quick(from, length)) {
        ++counts.quick;
        if (pending_)
            pause_.start();
        return;
    }
    if (!toQt && reflow(from, length)) {
        ++counts.moved;
        return;
    }
    ++counts.full;
    settle();
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
    quickflow::Flow flow;
    if (layoutStatus() < 100 || !quickflow::start(document(), &flow))
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
    // Where the paragraph's lines end on the right, relative to it.
    const double right = (flow.right - flow.left).toReal() - b.blockFormat().rightMargin();
    if (!(now == known_) || !plainParagraph(b) || !relayout(b, right))
        return false;
    stale_ = std::min(stale_, b.position());
    const QRectF r = blockBoundingRect(b);
    repaint(r.top(), r.bottom(), r.right());
    return true;
}

// A change whose paragraphs are all in the main text: they are laid out
// again and the ones after them placed as Qt's layout would, for kReach
// down; Qt's layout takes over from there when typing pauses.
bool QuickLayout::reflow(int from, int length) {
    QTextDocument* doc = document();
    const QTextFrame* root = doc->rootFrame();
    quickflow::Flow flow;
    if (layoutStatus() < 100 || !quickflow::start(doc, &flow))
        return false;
    const QTextBlock first = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(from + length);
    if (!first.isValid() || !last.isValid())
        return false;
    auto inMainText = [&](const QTextBlock& b) { return doc->frameAt(b.position()) == root; };
    // Near the end of the text Qt's layout has little to do.
    const QTextBlock end = doc->lastBlock();
    if (!inMainText(end) || end.layout()->position().y() - first.layout()->position().y() < kReach)
        return false;
    QTextBlockFormat previousFormat;
    const QTextBlockFormat* previous = nullptr;
    const QTextBlock before = first.previous();
    if (before.isValid()) {
        if (!inMainText(before) || !before.isVisible() || before.layout()->lineCount() == 0)
            return false;
        quickflow::skip(before, &flow);
        previousFormat = before.blockFormat();
        previous = &previousFormat;
    }
    const QFixed reach = flow.y + kReach;
    const qreal top = flow.y.toReal();
    QTextBlock b = first;
    for (; b.isValid(); b = b.next()) {
        const bool changed = b.position() <= last.position();
        if (!changed && flow.y > reach)
            break;
        // Qt tucks an empty paragraph before a table into the table's edge.
        const QTextBlock next = b.next();
        if (!inMainText(b) || (next.isValid() && !inMainText(next)))
            return false; // Qt's layout puts right what was placed so far
        const QTextLayout* tl = b.layout();
        // A new paragraph has never been placed: it moved nowhere.
        const bool placedBefore = tl->lineCount() > 0;
        const qreal was = tl->position().y();
        quickflow::place(b, previous, changed, &flow);
        auto firstTop = firstTop_.constFind(tl);
        if (firstTop == firstTop_.cend())
            firstTop = firstTop_.insert(tl, placedBefore ? was : tl->position().y());
        const qreal shift = tl->position().y() - *firstTop;
        movedDown_ = std::max(movedDown_, shift);
        movedUp_ = std::max(movedUp_, -shift);
        previousFormat = b.blockFormat();
        previous = &previousFormat;
    }
    if (!b.isValid())
        return false;
    pending_ = true;
    placedTo_ = b.position();
    placedEnd_ = flow.y.toReal();
    stale_ = std::min(stale_, first.position());
    pause_.start();
    repaint(top, placedEnd_ + movedUp_, flow.right.toReal());
    return true;
}

void QuickLayout::settle() {
    pending_ = false;
    pause_.stop();
    movedDown_ = movedUp_ = 0;
    firstTop_.clear();
}

void QuickLayout::finish() {
    if (!pending_)
        return;
    settle();
    ++counts.finished;
    // Qt's layout from the first paragraph laid out since it last ran: the
    // paragraphs after it are moved, or laid out again across page ends.
    const int from = std::min(stale_, document()->characterCount() - 1);
    stale_ = INT_MAX;
    QTextDocumentLayout::documentChanged(from, 1, 1);
}

qreal QuickLayout::placedTop() const {
    const QTextBlock b = document()->findBlock(stale_);
    return b.isValid() ? b.layout()->position().y() : 0;
}

void QuickLayout::draw(QPainter* painter, const PaintContext& context) {
    if (pending_ && context.clip.isValid() && context.clip.bottom() <= trustedEnd()) {
        // Qt's layout picks the paragraphs to paint from records of where
        // the text stood; widened by how far it moved, the pick includes
        // every paragraph in the area, and the painter's clip keeps the
        // painting to the area.
        PaintContext widened = context;
        widened.clip.adjust(0, -movedDown_ - 1, 0, movedUp_ + 1);
        painter->save();
        painter->setClipRect(context.clip, Qt::IntersectClip);
        QTextDocumentLayout::draw(painter, widened);
        painter->restore();
        return;
    }
    finishFor(true);
    QTextDocumentLayout::draw(painter, context);
}

int QuickLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
    if (pending_ && point.y() >= placedTop()) {
        if (point.y() <= trustedEnd())
            return quickflow::hitTest(document()->findBlock(stale_), placedTo_, point,
                                      accuracy == Qt::ExactHit);
        finishFor(true);
    }
    return QTextDocumentLayout::hitTest(point, accuracy);
}

QRectF QuickLayout::blockBoundingRect(const QTextBlock& block) const {
    finishFor(block.position() >= placedTo_);
    return QTextDocumentLayout::blockBoundingRect(block);
}

QRectF QuickLayout::frameBoundingRect(QTextFrame* frame) const {
    finishFor(frame->lastPosition() >= stale_);
    return QTextDocumentLayout::frameBoundingRect(frame);
}

QSizeF QuickLayout::documentSize() const {
    finishFor(true);
    return QTextDocumentLayout::documentSize();
}

int QuickLayout::pageCount() const {
    finishFor(true);
    return QTextDocumentLayout::pageCount();
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

// Lays the paragraph out again with each line at the width and place it had;
// true when that is what a full pass would give: as many lines, each as high
// as before and within its width. Its lines end at `right`, relative to it.
bool QuickLayout::relayout(const QTextBlock& b, double right) const {
    QTextLayout* tl = b.layout();
    const int count = tl->lineCount();
    if (count == 0)
        return false;
    struct Old {
        QPointF pos;
        qreal width, ascent, descent, leading;
    };
    QVarLengthArray<Old, 32> old;
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

void finish(QTextDocument* doc) {
    if (auto* layout = dynamic_cast<QuickLayout*>(doc->documentLayout()))
        layout->finish();
}

int unplacedFrom(const QTextDocument* doc) {
    auto* layout = dynamic_cast<const QuickLayout*>(doc->documentLayout());
    return layout ? layout->unplacedFrom() : INT_MAX;
}

Counts counts(const QTextDocument* doc) {
    if (auto* layout = dynamic_cast<const QuickLayout*>(doc->documentLayout()))
        return layout->counts;
    return {};
}

} // namespace quicklayout
