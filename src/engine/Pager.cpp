#include "Pager.h"

#include "TxDocument.h"
#include "TxFieldOps.h"
#include "TxListLabels.h"
#include "TxNotes.h"
#include "TxProps.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

using txp::px;

namespace {

// A 96-dpi device for headers, footers and frames: they are laid out at page
// pixels and scaled by the painter.
QImage& device96() {
    static QImage img = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(3780);
        i.setDotsPerMeterY(3780);
        return i;
    }();
    return img;
}

void drawDocument(QPainter& p, QTextDocument* doc, const QRectF& clip) {
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    doc->documentLayout()->draw(&p, ctx);
    txlabels::paint(p, doc, clip.isValid() ? clip : QRectF(QPointF(0, 0), doc->size()));
}

// Whether the mark of paragraph `b` is hidden: a paragraph whose text and
// mark are all hidden takes no room on paper.
bool hiddenMark(const QTextBlock& b) {
    const QVariant kept = b.blockFormat().property(txp::MarkFormat);
    return txnote::isHidden(kept.isValid() ? kept.value<QTextFormat>().toCharFormat()
                                           : b.charFormat());
}

// Removes the hidden text of `doc` (a copy made for paper). Paragraphs stay,
// so block numbers keep matching the original's; one hidden as a whole is
// given no height.
bool removeHidden(QTextDocument* doc) {
    std::vector<std::pair<int, int>> runs;
    std::vector<int> collapsed; // block positions
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        bool allHidden = true;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!txnote::isHidden(fr.charFormat())) {
                allHidden = false;
                continue;
            }
            const int s = fr.position(), e = fr.position() + fr.length();
            if (!runs.empty() && runs.back().second == s)
                runs.back().second = e;
            else
                runs.push_back({s, e});
        }
        if (allHidden && hiddenMark(b) && !b.textList())
            collapsed.push_back(b.position());
    }
    if (runs.empty() && collapsed.empty())
        return false;
    QTextCursor c(doc);
    c.beginEditBlock();
    for (auto it = collapsed.rbegin(); it != collapsed.rend(); ++it) {
        c.setPosition(*it);
        QTextBlockFormat bf = c.blockFormat();
        bf.setLineHeight(0, QTextBlockFormat::FixedHeight);
        bf.setTopMargin(0);
        bf.setBottomMargin(0);
        c.setBlockFormat(bf);
    }
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        c.setPosition(it->first);
        c.setPosition(it->second, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    c.endEditBlock();
    return true;
}

// Hidden characters of `b` before its `count` first ones: the paper copy
// lacks them.
int hiddenBefore(const QTextBlock& b, int count) {
    int hidden = 0;
    const int end = b.position() + count;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        if (fr.position() >= end)
            break;
        if (txnote::isHidden(fr.charFormat()))
            hidden += std::min(end, fr.position() + fr.length()) - fr.position();
    }
    return hidden;
}

bool hasHidden(const QTextDocument* doc) {
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (hiddenMark(b))
            return true;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (txnote::isHidden(it.fragment().charFormat()))
                return true;
    }
    return false;
}

// What a header, footer or frame document holds that its shown copy changes.
enum PartNeeds { PageFields = 1, PageCountFields = 2, HiddenText = 4 };

int partNeeds(const TxDocument& owner, const QTextDocument* part) {
    int needs = 0;
    auto note = [&](const QTextCharFormat& f) {
        switch (txfield::pageNumberOf(f)) {
        case txfield::PageNumber::Page:
            needs |= PageFields;
            break;
        case txfield::PageNumber::Pages:
            needs |= PageFields | PageCountFields;
            break;
        case txfield::PageNumber::None:
            break;
        }
    };
    for (QTextBlock b = part->begin(); b.isValid(); b = b.next()) {
        if (hiddenMark(b))
            needs |= HiddenText;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (txnote::isHidden(f))
                needs |= HiddenText;
            // A field nested in another carries the inner one's properties,
            // its outer ones in FieldOuter.
            for (QTextCharFormat cur = f; cur.intProperty(txp::FieldId);) {
                note(cur);
                const QVariant outer = cur.property(txp::FieldOuter);
                if (!outer.isValid())
                    break;
                cur = outer.value<QTextFormat>().toCharFormat();
            }
        }
    }
    for (const TxMark& m : owner.marks)
        if (m.kind == TxMark::EmptyField && m.at.document() == part)
            note(m.field);
    return needs;
}

QPen borderPen(const TxBorder& b) {
    QColor c = Qt::black;
    if (b.color != 0xFF000000u)
        c = QColor(b.color & 0xFF, (b.color >> 8) & 0xFF, (b.color >> 16) & 0xFF);
    QPen pen(c, std::max(1.0, px(b.width)));
    if (b.style == 4)
        pen.setStyle(Qt::DotLine);
    else if (b.style == 5)
        pen.setStyle(Qt::DashLine);
    pen.setCosmetic(false);
    return pen;
}

} // namespace

Pager::Pager() {
    setView(0, 100);
}

void Pager::setView(int viewMode, int zoomPercent) {
    view_ = viewMode == 2 ? 2 : 0;
    zoom_ = std::clamp(zoomPercent, 10, 1000);
    dpi_ = std::max(1, qRound(96.0 * zoom_ / 100.0));
    device_ = QImage(1, 1, QImage::Format_RGB32);
    const int dpm = qRound(dpi_ / 0.0254);
    device_.setDotsPerMeterX(dpm);
    device_.setDotsPerMeterY(dpm);
}

bool Pager::apply(TxDocument& doc, QTextEdit* edit) {
    clone_.reset();
    paper_.reset();
    paperOf_ = nullptr;
    partCopies_.clear();
    QTextDocument* body = doc.body();
    body->documentLayout()->setPaintDevice(&device_);
    const TxPageSetup& pg = doc.page;
    const double s = scale();
    const double textW = std::max(1.0, px(pg.textWidth()));
    // Both views lay the text out at the page's width with its margins; they
    // differ in pagination and in what is drawn around the text.
    QTextFrameFormat ff = body->rootFrame()->frameFormat();
    const QTextFrameFormat old = ff;
    ff.setPadding(0);
    ff.setBorder(0);
    ff.setLeftMargin(px(pg.marginLeft));
    ff.setRightMargin(px(pg.marginRight));
    ff.setTopMargin(px(pg.marginTop));
    ff.setBottomMargin(px(pg.marginBottom) + kGapPx);
    const bool changed = ff != old;
    if (changed)
        body->rootFrame()->setFrameFormat(ff);
    const int wi = std::max(1, qRound((textW + px(pg.marginLeft) + px(pg.marginRight)) * s));
    if (edit) {
        edit->setLineWrapMode(QTextEdit::FixedPixelWidth);
        edit->setLineWrapColumnOrWidth(wi);
    }
    const QSizeF size(wi, view_ == 2 ? pitch(doc) : -1.0);
    if (body->pageSize() != size)
        body->setPageSize(size);
    return changed;
}

void Pager::layoutPart(QTextDocument* part, double widthPx) {
    if (part->documentLayout()->paintDevice() != &device96())
        part->documentLayout()->setPaintDevice(&device96());
    if (std::abs(part->pageSize().width() - widthPx) > 0.01 || part->pageSize().height() > 0)
        part->setPageSize(QSizeF(widthPx, -1));
}

double Pager::pitch(const TxDocument& doc) const {
    const TxPageSetup& pg = doc.page;
    const double textH = std::max(20.0, px(pg.textHeight()));
    return (textH + px(pg.marginTop) + px(pg.marginBottom) + kGapPx) * scale();
}

double Pager::stride(const TxDocument& doc) const {
    if (paged())
        return pitch(doc);
    return std::max(20.0, px(doc.page.textHeight())) * scale();
}

double Pager::contentTop(const TxDocument& doc, int page) const {
    return origin(doc, page) + px(doc.page.marginTop) * scale();
}

double Pager::origin(const TxDocument& doc, int page) const {
    return (page - 1) * stride(doc);
}

void Pager::ensure(TxDocument& doc) const {
    // QTextEdit drops the page height whenever it relayouts for its width.
    QTextDocument* body = doc.body();
    if (view_ == 2 && body->pageSize().height() <= 0)
        body->setPageSize(QSizeF(body->pageSize().width(), pitch(doc)));
}

QTextDocument* Pager::layoutOf(const TxDocument& doc) const {
    return paged_ ? paged_ : doc.body();
}

QTextDocument* Pager::pagedLayout(TxDocument& doc) const {
    QTextDocument* body = doc.body();
    if (view_ == 2) {
        ensure(doc);
        return body;
    }
    // The normal view edits an unpaginated layout (typing stays fast in long
    // documents); page operations use a paginated copy kept until the text
    // changes.
    const double h = pitch(doc);
    if (!clone_ || cloneOf_ != body || cloneRevision_ != body->revision() ||
        cloneChars_ != body->characterCount() || clone_->pageSize().height() != h) {
        clone_.reset(body->clone());
        clone_->documentLayout()->setPaintDevice(&device_);
        clone_->setPageSize(QSizeF(body->pageSize().width(), h));
        cloneOf_ = body;
        cloneRevision_ = body->revision();
        cloneChars_ = body->characterCount();
    }
    return clone_.get();
}

QTextDocument* Pager::paperLayout(TxDocument& doc) const {
    QTextDocument* screen = pagedLayout(doc);
    QTextDocument* body = doc.body();
    const QSizeF size(body->pageSize().width(), pitch(doc));
    const bool known = paperOf_ == body && paperRevision_ == body->revision() &&
                       paperChars_ == body->characterCount();
    if (known && (!paper_ || paper_->pageSize() == size))
        return paper_ ? paper_.get() : screen;
    paperOf_ = body;
    paperRevision_ = body->revision();
    paperChars_ = body->characterCount();
    paper_.reset();
    if (!hasHidden(body))
        return screen;
    paper_.reset(body->clone());
    paper_->setUndoRedoEnabled(false);
    removeHidden(paper_.get());
    paper_->documentLayout()->setPaintDevice(&device_);
    paper_->setPageSize(size);
    return paper_.get();
}

QTextDocument* Pager::shownPart(const TxDocument& doc, QTextDocument* part, int page,
                                bool paper) const {
    const int revision = part->revision();
    const int chars = part->characterCount();
    std::erase_if(partCopies_, [&](const PartCopy& c) {
        return !c.of || (c.of == part && (c.revision != revision || c.chars != chars));
    });
    auto probe = std::find_if(partCopies_.begin(), partCopies_.end(),
                              [&](const PartCopy& c) { return c.of == part && c.page == 0; });
    if (probe == partCopies_.end()) {
        PartCopy c;
        c.of = part;
        c.revision = revision;
        c.chars = chars;
        c.needs = partNeeds(doc, part);
        partCopies_.push_back(std::move(c));
        probe = partCopies_.end() - 1;
    }
    const int needs = probe->needs;
    if (!(needs & PageFields) && !(paper && (needs & HiddenText)))
        return part;
    const int pages = (needs & PageCountFields) ? std::max(1, layoutOf(doc)->pageCount()) : 0;
    for (const PartCopy& c : partCopies_)
        if (c.of == part && c.page == page && c.pages == pages && c.paper == paper && c.copy)
            return c.copy.get();
    PartCopy c;
    c.of = part;
    c.revision = revision;
    c.chars = chars;
    c.paper = paper;
    c.page = page;
    c.pages = pages;
    c.copy.reset(part->clone());
    QTextDocument* copy = c.copy.get();
    copy->setUndoRedoEnabled(false);
    // Fields without a result stand as marks; the copy gives them one.
    std::vector<std::pair<int, QTextCharFormat>> empty;
    for (const TxMark& m : doc.marks)
        if (m.kind == TxMark::EmptyField && m.at.document() == part &&
            txfield::pageNumberOf(m.field) != txfield::PageNumber::None)
            empty.push_back({m.at.position(), m.field});
    std::sort(empty.begin(), empty.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    QTextCursor at(copy);
    for (const auto& [pos, field] : empty) {
        QTextCharFormat f = field.property(txp::FieldFormat).value<QTextFormat>().toCharFormat();
        f.merge(field);
        at.setPosition(std::clamp(pos, 0, copy->characterCount() - 1));
        at.insertText(QStringLiteral("0"), f);
    }
    txfield::showPageNumbers(copy, page, pages);
    if (paper)
        removeHidden(copy);
    // A few pages' copies are kept: the page view paints several at a time.
    constexpr size_t kKept = 32;
    if (partCopies_.size() >= kKept) {
        const auto old = std::find_if(partCopies_.begin(), partCopies_.end(),
                                      [](const PartCopy& p) { return p.page != 0; });
        if (old != partCopies_.end())
            partCopies_.erase(old);
    }
    partCopies_.push_back(std::move(c));
    return copy;
}

QRectF Pager::pageBand(const TxDocument& doc, int page) const {
    const double w = layoutOf(doc)->pageSize().width();
    return QRectF(0, origin(doc, page), w, px(doc.page.height) * scale());
}

int Pager::pageAt(const TxDocument& doc, double layoutY) const {
    if (paged())
        return std::max(1, int(std::floor(layoutY / pitch(doc))) + 1);
    const double y = layoutY - px(doc.page.marginTop) * scale();
    return std::max(1, int(std::floor(std::max(0.0, y) / stride(doc))) + 1);
}

int Pager::pageOfLine(const TxDocument& doc, const QTextBlock& block, double y,
                      double* pageTop) const {
    if (paged()) {
        const int page = pageAt(doc, y);
        *pageTop = origin(doc, page);
        return page;
    }
    // Unpaginated: count the forced page breaks up to here, and estimate the
    // rest from the text height of a page after the last of them.
    int breaks = 0;
    double base = px(doc.page.marginTop) * scale();
    for (QTextBlock b = block; b.isValid() && b.blockNumber() > 0; b = b.previous()) {
        if (!(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            continue;
        if (breaks++ == 0)
            base = b.document()->documentLayout()->blockBoundingRect(b).top();
    }
    const int steps = std::max(0, int(std::floor((y - base) / stride(doc))));
    *pageTop = base + steps * stride(doc);
    return 1 + breaks + steps;
}

QPointF Pager::toPage(const TxDocument& doc, QPointF pos, int* page) const {
    const int pg = pageAt(doc, pos.y());
    if (page)
        *page = pg;
    const double s = scale();
    return QPointF(pos.x() / s, (pos.y() - origin(doc, pg)) / s);
}

QPointF Pager::fromPage(const TxDocument& doc, int page, QPointF pagePx) const {
    const double s = scale();
    return QPointF(pagePx.x() * s, pagePx.y() * s + origin(doc, page));
}

int Pager::pageCount(TxDocument& doc) const {
    return withPaged(doc, [&] { return std::max(1, layoutOf(doc)->pageCount()); });
}

bool Pager::hasPage(TxDocument& doc, int page) const {
    return page == 1 || withPaged(doc, [&] { return hasPageNow(doc, page); });
}

int Pager::paperPageCount(TxDocument& doc) const {
    return withPaged(
        doc, [&] { return std::max(1, layoutOf(doc)->pageCount()); }, true);
}

bool Pager::hasPaperPage(TxDocument& doc, int page) const {
    return page == 1 || withPaged(
                            doc, [&] { return hasPageNow(doc, page); }, true);
}

bool Pager::hasPageNow(TxDocument& doc, int page) const {
    // Hit-testing lays the text out down to the point asked for, and a
    // paragraph reaching below the page's top shows the page is there;
    // only near the end does the page count (the whole layout) decide.
    QTextDocument* lay = layoutOf(doc);
    QAbstractTextDocumentLayout* layout = lay->documentLayout();
    const double top = origin(doc, page);
    const int pos = layout->hitTest(QPointF(1, contentTop(doc, page) + 1), Qt::FuzzyHit);
    if (pos < 0)
        return false;
    QTextBlock b = lay->findBlock(pos);
    for (int n = 0; b.isValid() && n < 3; b = b.next(), ++n)
        if (layout->blockBoundingRect(b).bottom() > top)
            return true;
    return lay->pageCount() >= page;
}

QString Pager::partText(TxDocument& doc, int bit, int page, bool paper) const {
    QTextDocument* part = doc.part(bit);
    if (!part)
        return QString();
    return withPaged(
        doc, [&] { return shownPart(doc, part, page, paper)->toPlainText(); }, paper);
}

QTextDocument* Pager::headerOf(const TxDocument& doc, int page, QRectF* rect) const {
    const bool first = doc.titlePage && page == 1;
    QTextDocument* part = doc.part(first ? 2 : 1);
    if (!part)
        return nullptr;
    const TxPageSetup& pg = doc.page;
    layoutPart(part, px(pg.textWidth()));
    if (rect)
        *rect = QRectF(px(pg.marginLeft), px(pg.headerDistance), px(pg.textWidth()),
                       part->size().height());
    return part;
}

QTextDocument* Pager::footerOf(const TxDocument& doc, int page, QRectF* rect) const {
    const bool first = doc.titlePage && page == 1;
    QTextDocument* part = doc.part(first ? 8 : 4);
    if (!part)
        return nullptr;
    const TxPageSetup& pg = doc.page;
    layoutPart(part, px(pg.textWidth()));
    const double h = part->size().height();
    if (rect)
        *rect =
            QRectF(px(pg.marginLeft), px(pg.height - pg.footerDistance) - h, px(pg.textWidth()), h);
    return part;
}

QPointF Pager::anchorPagePos(const TxDocument& doc, const QTextCursor& anchor, int vRel,
                             int* page) const {
    QTextDocument* lay = layoutOf(doc);
    // Copies keep the paragraphs (the paper one lacks the hidden text).
    const QTextBlock block = lay == anchor.document()
                                 ? anchor.block()
                                 : lay->findBlockByNumber(anchor.block().blockNumber());
    const QRectF br = lay->documentLayout()->blockBoundingRect(block);
    QPointF pos = br.topLeft();
    if (vRel == int(TxVRel::Line) && block.layout()) {
        int at = anchor.positionInBlock();
        if (lay == paper_.get() && lay != anchor.document())
            at -= hiddenBefore(anchor.block(), at);
        const QTextLine line = block.layout()->lineForTextPosition(at);
        if (line.isValid())
            pos += QPointF(line.cursorToX(at), line.y());
    }
    return toPage(doc, pos, page);
}

bool Pager::placeImage(const TxDocument& doc, const TxImage& im, int* page, QRectF* rect) const {
    QPointF origin(0, 0); // the container's top-left in page pixels
    QPointF para;         // the anchor paragraph (or line) in page pixels
    int pg = 1;
    const QTextDocument* adoc = im.anchor.document();
    if (adoc == doc.body()) {
        para = anchorPagePos(doc, im.anchor, int(im.vRel), &pg);
    } else {
        const TxFrame* host = nullptr;
        for (const auto& f : doc.frames)
            if (f->doc.get() == adoc)
                host = f.get();
        QRectF fr;
        if (!host || !placeFrame(doc, *host, &pg, &fr))
            return false;
        origin = fr.topLeft();
        para = origin + adoc->documentLayout()->blockBoundingRect(im.anchor.block()).topLeft();
    }
    const TxPageSetup& pgs = doc.page;
    double x = px(im.x), y = px(im.y);
    switch (im.hRel) {
    case TxHRel::Page:
        break;
    case TxHRel::Margin:
    case TxHRel::Column:
        x += origin.isNull() ? px(pgs.marginLeft) : origin.x();
        break;
    case TxHRel::Character:
        x += para.x();
        break;
    }
    switch (im.vRel) {
    case TxVRel::Page:
        break;
    case TxVRel::Margin:
        y += origin.isNull() ? px(pgs.marginTop) : origin.y();
        break;
    case TxVRel::Paragraph:
    case TxVRel::Line:
        y += para.y();
        break;
    }
    if (page)
        *page = pg;
    if (rect)
        *rect = QRectF(x, y, px(im.shownWidth()), px(im.shownHeight()));
    return true;
}

bool Pager::placeFrame(const TxDocument& doc, const TxFrame& fr, int* page, QRectF* rect) const {
    if (fr.anchor.document() != doc.body())
        return false;
    int pg = 1;
    const QPointF para = anchorPagePos(doc, fr.anchor, int(fr.vRel), &pg);
    const TxPageSetup& pgs = doc.page;
    double x = px(fr.x), y = px(fr.y);
    if (fr.hRel == TxHRel::Margin || fr.hRel == TxHRel::Column)
        x += px(pgs.marginLeft);
    else if (fr.hRel == TxHRel::Character)
        x += para.x();
    if (fr.vRel == TxVRel::Margin)
        y += px(pgs.marginTop);
    else if (fr.vRel == TxVRel::Paragraph || fr.vRel == TxVRel::Line)
        y += para.y();
    double h = px(fr.height);
    if (fr.heightRule != 2 && fr.doc) {
        layoutPart(fr.doc.get(), std::max(1.0, px(fr.width)));
        const double content = fr.doc->size().height();
        h = fr.heightRule == 0 ? content : std::max(h, content);
    }
    if (page)
        *page = pg;
    if (rect)
        *rect = QRectF(x, y, px(fr.width), h);
    return true;
}

void Pager::paintParts(const TxDocument& doc, QPainter& p, int page, double scale, bool under,
                       int selectedId, bool paper) const {
    auto drawPart = [&](QTextDocument* part, const QRectF& r) {
        p.save();
        p.translate(r.topLeft() * scale);
        p.scale(scale, scale);
        p.setClipRect(QRectF(0, 0, r.width(), r.height() + 2));
        drawDocument(p, part, QRectF(0, 0, r.width(), r.height() + 2));
        p.restore();
    };
    // The shown copy may differ in height from the part (another number,
    // hidden text left out); a footer keeps its bottom where it is.
    auto shown = [&](QTextDocument* part, QRectF& r, bool bottom) {
        QTextDocument* s = shownPart(doc, part, page, paper);
        if (s != part) {
            layoutPart(s, r.width());
            const double h = s->size().height();
            r = QRectF(r.left(), bottom ? r.bottom() - h : r.top(), r.width(), h);
        }
        return s;
    };
    if (under) {
        QRectF r;
        if (QTextDocument* h = headerOf(doc, page, &r))
            drawPart(shown(h, r, false), r);
        if (QTextDocument* f = footerOf(doc, page, &r))
            drawPart(shown(f, r, true), r);
    } else {
        for (const auto& fr : doc.frames) {
            int pg = 0;
            QRectF r;
            if (!placeFrame(doc, *fr, &pg, &r) || pg != page)
                continue;
            const QRectF sr(r.topLeft() * scale, r.size() * scale);
            p.fillRect(sr, Qt::white);
            if (fr->doc) {
                QTextDocument* s = shownPart(doc, fr->doc.get(), page, paper);
                layoutPart(s, std::max(1.0, r.width()));
                drawPart(s, r);
            }
            if (fr->border.style != 0) {
                p.save();
                QPen pen = borderPen(fr->border);
                pen.setWidthF(pen.widthF() * scale);
                p.setPen(pen);
                p.drawRect(sr);
                p.restore();
            }
            if (fr->id == selectedId) {
                p.save();
                p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
                p.drawRect(sr);
                p.restore();
            }
        }
    }
    for (const auto& im : doc.images) {
        const bool behind = im->behindText && im->wrap == 5;
        if (behind != under)
            continue;
        int pg = 0;
        QRectF r;
        if (!placeImage(doc, *im, &pg, &r) || pg != page)
            continue;
        const QRectF sr(r.topLeft() * scale, r.size() * scale);
        const auto it = doc.imageData.constFind(im->name);
        if (it != doc.imageData.cend() && !it->image.isNull())
            p.drawImage(sr, it->image);
        else
            p.fillRect(sr, QColor(220, 220, 220));
        if (im->id == selectedId) {
            p.save();
            p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
            p.drawRect(sr);
            p.restore();
        }
    }
}

void Pager::paintPage(TxDocument& doc, QPainter& p, int page, double scale, bool withBody) const {
    withPaged(
        doc,
        [&] {
            paintPaged(doc, p, page, scale, withBody);
            return true;
        },
        true);
}

void Pager::paintPaged(const TxDocument& doc, QPainter& p, int page, double scale,
                       bool withBody) const {
    const TxPageSetup& pg = doc.page;
    p.save();
    p.fillRect(QRectF(0, 0, px(pg.width) * scale, px(pg.height) * scale), Qt::white);
    paintParts(doc, p, page, scale, true, 0, true);
    if (withBody) {
        const QRectF band = pageBand(doc, page);
        const double s = this->scale();
        p.save();
        p.scale(scale / s, scale / s);
        p.translate(-band.topLeft());
        p.setClipRect(band);
        drawDocument(p, layoutOf(doc), band);
        p.restore();
    }
    paintParts(doc, p, page, scale, false, 0, true);
    p.restore();
}

void Pager::paintViewUnder(const TxDocument& doc, QPainter& p, const QRectF& area) const {
    const double s = scale();
    const int first = pageAt(doc, area.top());
    const int last = pageAt(doc, area.bottom());
    const double w = layoutOf(doc)->pageSize().width();
    if (view_ != 2) {
        // Page ends of the normal view: a dotted line in the gap.
        p.save();
        p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
        for (int pg = first; pg <= last; ++pg) {
            const double y = contentTop(doc, pg + 1) - 1;
            if (y >= area.top() && y <= area.bottom())
                p.drawLine(QPointF(0, y), QPointF(w, y));
        }
        p.restore();
        return;
    }
    const QColor gap(128, 128, 128);
    if (area.right() > w)
        p.fillRect(QRectF(w, area.top(), area.right() - w, area.height()), gap);
    for (int pg = first; pg <= last; ++pg) {
        const QRectF band = pageBand(doc, pg);
        p.fillRect(QRectF(0, band.bottom(), w, pitch(doc) - band.height()), gap);
        p.save();
        p.translate(band.topLeft());
        paintParts(doc, p, pg, s, true, 0, false);
        p.restore();
    }
}

void Pager::paintViewOver(const TxDocument& doc, QPainter& p, const QRectF& area,
                          int selectedId) const {
    const int first = pageAt(doc, area.top());
    const int last = pageAt(doc, area.bottom());
    for (int pg = first; pg <= last; ++pg) {
        p.save();
        p.translate(pageBand(doc, pg).topLeft());
        paintParts(doc, p, pg, scale(), false, selectedId, false);
        // Frames without a border (label frames) show their edges on screen
        // only, so they can be found and edited; nothing of this prints.
        p.setPen(QPen(QColor(170, 170, 170), 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        for (const auto& fr : doc.frames) {
            int at = 0;
            QRectF r;
            if (fr->border.style == 0 && fr->id != selectedId && placeFrame(doc, *fr, &at, &r) &&
                at == pg)
                p.drawRect(QRectF(r.topLeft() * scale(), r.size() * scale()));
        }
        p.restore();
    }
}
