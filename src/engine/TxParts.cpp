// TxEngine: headers and footers, and the in-place editor for the part
// (header, footer or text frame) being edited.
#include "TxEngine.h"

#include "TxEngineState.h"
#include "TxProps.h"

#include <QScrollBar>
#include <QTextDocument>

using txp::px;

int TxEngine::HeadFootMask() const {
    return d->doc.partMask();
}

void TxEngine::SetHeadFootMask(int mask) {
    mask &= 15;
    if (d->activePart && !(mask & d->activePart))
        HeadFootDeactivate();
    d->doc.setPartMask(mask);
    d->doc.titlePage = (mask & (FirstHeader | FirstFooter)) != 0;
    viewport()->update();
}

bool TxEngine::HeadFootActivate(int part) {
    QTextDocument* doc = d->doc.part(part);
    if (!doc)
        return false;
    d->closeOverlay();
    d->activeFrame = 0;
    d->activePart = part;
    d->openOverlay(doc);
    emit headFootActivated(part);
    return true;
}

void TxEngine::HeadFootDeactivate() {
    const bool inFrame = d->activeFrame != 0;
    d->closeOverlay();
    d->activePart = 0;
    d->activeFrame = 0;
    viewport()->update();
    // Hosts that follow the frame being edited hear that it ended.
    if (inFrame)
        emit textFrameActivated(0);
}

int TxEngine::HeadFootActive() const {
    return d->activePart;
}

void TxEngineState::openOverlay(QTextDocument* part) {
    auto* o = new QTextEdit(q->viewport());
    o->setFrameStyle(QFrame::Box);
    o->setDocument(part);
    o->setLineWrapMode(QTextEdit::WidgetWidth);
    o->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    o->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay = o;
    // Edits and caret moves in the part are the engine's own to its host.
    QObject::connect(o, &QTextEdit::textChanged, q, &QTextEdit::textChanged);
    QObject::connect(o, &QTextEdit::cursorPositionChanged, q, &QTextEdit::cursorPositionChanged);
    QObject::connect(o, &QTextEdit::selectionChanged, q, &QTextEdit::selectionChanged);
    placeOverlay();
    o->show();
    o->setFocus();
}

void TxEngineState::closeOverlay() {
    if (!overlay)
        return;
    QTextEdit* o = overlay.data();
    overlay = nullptr;
    // Detach the part first: it outlives the editor. Leaving the part is no
    // edit, so the editor's signals are no longer the engine's from here.
    QObject::disconnect(o, nullptr, q, nullptr);
    o->setDocument(new QTextDocument(o));
    o->hide();
    o->deleteLater();
}

void TxEngineState::placeOverlay() {
    if (!overlay)
        return;
    const QPointF scroll(q->horizontalScrollBar()->value(), q->verticalScrollBar()->value());
    int page = pager.pageAt(doc, scroll.y() + 1);
    QRectF r; // page pixels
    if (activeFrame) {
        const TxFrame* fr = doc.frame(activeFrame);
        if (!fr || !pager.placeFrame(doc, *fr, &page, &r))
            return;
    } else {
        const bool footer = activePart == 4 || activePart == 8;
        if (activePart == 2 || activePart == 8)
            page = 1;
        const TxPageSetup& pg = doc.page;
        QTextDocument* part = doc.part(activePart);
        const double h = part ? std::max(part->size().height(), 20.0) : 20.0;
        r = QRectF(px(pg.marginLeft),
                   footer ? px(pg.height - pg.footerDistance) - h : px(pg.headerDistance),
                   px(pg.textWidth()), h);
    }
    const double s = pager.scale();
    QPointF topLeft = pageOrigin(page) + r.topLeft() * s - scroll;
    overlay->setGeometry(QRect(topLeft.toPoint(), (r.size() * s).toSize() + QSize(4, 4)));
}

QPointF TxEngineState::pageOrigin(int page) const {
    return pager.pageBand(doc, page).topLeft();
}

int TxEngineState::partAt(QPointF layoutPos) const {
    if (pager.viewMode() != 2)
        return 0;
    int page = 1;
    const QPointF p = pager.toPage(doc, layoutPos, &page);
    const TxPageSetup& pg = doc.page;
    const bool first = doc.titlePage && page == 1;
    if (p.y() < px(pg.marginTop))
        return doc.part(first ? 2 : 1) ? (first ? 2 : 1) : 0;
    if (p.y() > px(pg.height - pg.marginBottom) && p.y() < px(pg.height))
        return doc.part(first ? 8 : 4) ? (first ? 8 : 4) : 0;
    return 0;
}

int TxEngineState::objectAt(QPointF layoutPos) const {
    const double s = pager.scale();
    auto hit = [&](int page, const QRectF& r) {
        const QRectF lr(pageOrigin(page) + r.topLeft() * s, r.size() * s);
        return lr.contains(layoutPos);
    };
    for (auto it = doc.images.rbegin(); it != doc.images.rend(); ++it) {
        int page = 0;
        QRectF r;
        if (pager.placeImage(doc, **it, &page, &r) && hit(page, r))
            return (*it)->id;
    }
    for (auto it = doc.frames.rbegin(); it != doc.frames.rend(); ++it) {
        int page = 0;
        QRectF r;
        if (pager.placeFrame(doc, **it, &page, &r) && hit(page, r))
            return (*it)->id;
    }
    return 0;
}
