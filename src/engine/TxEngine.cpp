// TxEngine: construction, the widget's events, text and selection, undo,
// clipboard, find, page setup and view.
#include "TxEngine.h"

#include "FontSubst.h"
#include "NativeFormat.h"
#include "QuickLayout.h"
#include "TextMap.h"
#include "TxEngineState.h"
#include "TxFieldOps.h"
#include "TxListLabels.h"
#include "TxMarks.h"
#include "TxNoteTips.h"
#include "TxProps.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintDevice>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QTimer>

using txp::px;

// --- state ---

TxEngineState::TxEngineState(TxEngine* owner) : q(owner) {}

QTextEdit* TxEngineState::ed() const {
    if (overlay)
        return overlay.data();
    return q;
}

QTextDocument* TxEngineState::adoc() const {
    return ed()->document();
}

void TxEngineState::applyGeometry() {
    pager.setView(viewMode, pager.zoom());
    // New page margins are a new layout, not an edit: they start a new undo
    // history rather than become a step the user could undo.
    if (pager.apply(doc, q))
        doc.body()->clearUndoRedoStacks();
    placeOverlay();
    q->viewport()->update();
}

// --- construction ---

TxEngine::TxEngine(QWidget* parent) : QTextEdit(parent), d(std::make_unique<TxEngineState>(this)) {
    fontsubst::install();
    quicklayout::install(d->doc.body());
    setDocument(d->doc.body());
    setAcceptRichText(true);
    setTabChangesFocus(false);
    setUndoRedoEnabled(true);
    // Fixed scroll bars: when one comes or goes QTextEdit relayouts for its
    // new width and drops the page height the pagination needs.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    d->doc.clear(true);
    d->applyGeometry();
    // The quick layout learns the caret's paragraph once the edit that moved
    // the caret is over, so the first key typed there is quick too.
    auto* noteCaret = new QTimer(this);
    noteCaret->setSingleShot(true);
    noteCaret->setInterval(0);
    connect(noteCaret, &QTimer::timeout, this,
            [this] { quicklayout::remember(textCursor().block()); });
    connect(this, &QTextEdit::cursorPositionChanged, noteCaret, qOverload<>(&QTimer::start));
    txnote::installTips(this);
}

TxEngine::~TxEngine() {
    d->closeOverlay();
    // The document belongs to TxDocument; detach it before it goes.
    setDocument(new QTextDocument(this));
}

TxDocument& TxEngine::document2() {
    return d->doc;
}

const TxDocument& TxEngine::document2() const {
    return d->doc;
}

QTextEdit* TxEngine::ActiveEdit() const {
    return d->ed();
}

// --- text and selection ---

QString TxEngine::Text() const {
    return textmap::text(d->adoc());
}

void TxEngine::SetText(const QString& text) {
    QTextCursor c(d->adoc());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    textmap::insert(c, text);
    c.endEditBlock();
    c.setPosition(0);
    d->ed()->setTextCursor(c);
}

// The selected range in Text positions. A selection of table cells ends
// after the last selected cell (Qt's own end stops at that cell's start).
static std::pair<int, int> selRange(const QTextCursor& c) {
    int firstRow = -1, numRows = 0, firstCol = 0, numCols = 0;
    c.selectedTableCells(&firstRow, &numRows, &firstCol, &numCols);
    if (firstRow >= 0) {
        if (const QTextTable* t = c.currentTable())
            return {t->cellAt(firstRow, firstCol).firstPosition(),
                    t->cellAt(firstRow + numRows - 1, firstCol + numCols - 1).lastPosition()};
    }
    return {c.selectionStart(), c.selectionEnd()};
}

int TxEngine::SelStart() const {
    return selRange(d->ed()->textCursor()).first;
}

void TxEngine::SetSelStart(int pos) {
    QTextCursor c = d->ed()->textCursor();
    c.setPosition(std::clamp(pos, 0, textmap::length(d->adoc())));
    d->ed()->setTextCursor(c);
    d->curFloat = 0;
}

int TxEngine::SelLength() const {
    const auto [start, end] = selRange(d->ed()->textCursor());
    return end - start;
}

void TxEngine::SetSelLength(int length) {
    QTextCursor c = d->ed()->textCursor();
    const int start = c.selectionStart();
    const int len = textmap::length(d->adoc());
    const int end = length < 0 ? len : std::clamp(start + length, start, len);
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    d->ed()->setTextCursor(c);
}

QString TxEngine::SelText() const {
    const auto [start, end] = selRange(d->ed()->textCursor());
    return textmap::text(d->adoc(), start, end);
}

void TxEngine::SetSelText(const QString& text) {
    QTextCursor c = d->ed()->textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    txfield::prepareInsertion(c);
    textmap::insert(c, text);
    c.endEditBlock();
    d->ed()->setTextCursor(c);
}

// --- undo, clipboard, find ---

bool TxEngine::CanUndo() const {
    return d->adoc()->isUndoAvailable();
}

bool TxEngine::CanRedo() const {
    return d->adoc()->isRedoAvailable();
}

void TxEngine::Undo() {
    d->ed()->undo();
}

void TxEngine::Redo() {
    d->ed()->redo();
}

TxEngine::UndoStep::UndoStep(TxEngine& engine) : doc_(engine.d->adoc()) {
    QTextCursor(doc_).beginEditBlock();
}

TxEngine::UndoStep::~UndoStep() {
    QTextCursor(doc_).endEditBlock();
}

void TxEngine::Clip(int op) {
    QTextEdit* e = d->ed();
    if (d->curFloat && (op == ClipDelete || op == ClipCut)) {
        // A positioned object is selected: cut and delete remove it.
        const int id = d->curFloat;
        if (!ImageDelete(id))
            TextFrameDelete(id);
        return;
    }
    switch (op) {
    case ClipCut:
        e->cut();
        break;
    case ClipCopy:
        e->copy();
        break;
    case ClipPaste:
        e->paste();
        break;
    case ClipDelete: {
        QTextCursor c = e->textCursor();
        c.removeSelectedText();
        e->setTextCursor(c);
        break;
    }
    default:
        break;
    }
}

bool TxEngine::CanCopy() const {
    return d->ed()->textCursor().hasSelection();
}

bool TxEngine::CanPaste() const {
    return d->ed()->canPaste();
}

int TxEngine::FindText(const QString& text, int start, int flags) {
    if (text.isEmpty())
        return -1;
    QTextDocument* doc = d->adoc();
    QTextDocument::FindFlags ff;
    if (flags & FindMatchCase)
        ff |= QTextDocument::FindCaseSensitively;
    const bool back = flags & FindBackwards;
    if (back)
        ff |= QTextDocument::FindBackward;
    const QTextCursor cur = d->ed()->textCursor();
    int from = 0;
    if (start == 0)
        from = back ? textmap::length(doc) : 0;
    else if (start < 0)
        from = back ? cur.selectionStart() : cur.selectionEnd();
    else
        from = std::min(start, textmap::length(doc));
    const QTextCursor hit = doc->find(text, from, ff);
    if (hit.isNull())
        return -1;
    d->ed()->setTextCursor(hit);
    d->curFloat = 0;
    return hit.selectionStart();
}

// --- page setup and view ---

namespace {
int& pageField(TxPageSetup& p, int which) {
    switch (which) {
    case 0:
        return p.width;
    case 1:
        return p.height;
    case 2:
        return p.marginLeft;
    case 3:
        return p.marginTop;
    case 4:
        return p.marginRight;
    default:
        return p.marginBottom;
    }
}
} // namespace

#define TX_PAGE_PROP(Get, Set, which)                                                              \
    int TxEngine::Get() const {                                                                    \
        return pageField(d->doc.page, which);                                                      \
    }                                                                                              \
    void TxEngine::Set(int twips) {                                                                \
        int& v = pageField(d->doc.page, which);                                                    \
        if (v == twips || twips < 0)                                                               \
            return;                                                                                \
        v = twips;                                                                                 \
        d->applyGeometry();                                                                        \
    }
TX_PAGE_PROP(PageWidth, SetPageWidth, 0)
TX_PAGE_PROP(PageHeight, SetPageHeight, 1)
TX_PAGE_PROP(MarginLeft, SetMarginLeft, 2)
TX_PAGE_PROP(MarginTop, SetMarginTop, 3)
TX_PAGE_PROP(MarginRight, SetMarginRight, 4)
TX_PAGE_PROP(MarginBottom, SetMarginBottom, 5)
#undef TX_PAGE_PROP

bool TxEngine::Landscape() const {
    return d->doc.page.width > d->doc.page.height;
}

int TxEngine::ViewMode() const {
    return d->viewMode;
}

void TxEngine::SetViewMode(int mode) {
    if (mode == d->viewMode)
        return;
    const QTextCursor keep = d->ed()->textCursor();
    d->viewMode = mode;
    d->applyGeometry();
    d->ed()->setTextCursor(keep);
}

int TxEngine::ZoomFactor() const {
    return d->pager.zoom();
}

void TxEngine::SetZoomFactor(int percent) {
    if (percent <= 10 || percent >= 1000 || percent == d->pager.zoom())
        return;
    d->pager.setView(d->viewMode, percent);
    d->applyGeometry();
}

bool TxEngine::ShowCtrlChars() const {
    return d->showCtrlChars;
}

void TxEngine::SetShowCtrlChars(bool on) {
    if (on == d->showCtrlChars)
        return;
    d->showCtrlChars = on;
    for (QTextDocument* doc : d->doc.allDocuments()) {
        QTextOption opt = doc->defaultTextOption();
        QTextOption::Flags f = opt.flags();
        // Qt draws the paragraph marks; the marks of spaces and tabs are
        // drawn by paintEvent (TxMarks.h says why).
        f.setFlag(QTextOption::ShowTabsAndSpaces, false);
        f.setFlag(QTextOption::ShowLineAndParagraphSeparators, on);
        opt.setFlags(f);
        doc->setDefaultTextOption(opt);
    }
}

bool TxEngine::ShowGrid() const {
    return d->showGrid;
}

void TxEngine::SetShowGrid(bool on) {
    d->showGrid = on;
    viewport()->update();
}

int TxEngine::EngineOption(int n) const {
    return d->options.value(n, 0);
}

void TxEngine::SetEngineOption(int n, int value) {
    d->options.insert(n, value);
}

void TxEngine::Refresh() {
    d->placeOverlay();
    viewport()->update();
    if (d->overlay)
        d->overlay->viewport()->update();
}

void TxEngine::SetFocus() {
    d->ed()->setFocus();
}

bool TxEngine::Visible() const {
    return !isHidden();
}

void TxEngine::SetVisible(bool on) {
    setVisible(on);
}

QString TxEngine::LastError() const {
    return d->lastError;
}

// --- pages ---

int TxEngine::PageCount() const {
    d->pager.ensure(d->doc);
    return d->pager.pageCount(d->doc);
}

bool TxEngine::HasPage(int page) const {
    d->pager.ensure(d->doc);
    return page >= 1 && d->pager.hasPage(d->doc, page);
}

int TxEngine::PrintPageCount() const {
    d->pager.ensure(d->doc);
    return d->pager.paperPageCount(d->doc);
}

bool TxEngine::HasPrintPage(int page) const {
    d->pager.ensure(d->doc);
    return page >= 1 && d->pager.hasPaperPage(d->doc, page);
}

void TxEngine::PaintPage(QPainter& painter, int page, double scale) const {
    d->pager.ensure(d->doc);
    d->pager.paintPage(d->doc, painter, page, scale);
}

bool TxEngine::PaintPage(QPaintDevice* device, int page, int zoom) const {
    if (!device || page < 1 || !d->pager.hasPaperPage(d->doc, page))
        return false;
    QPainter p(device);
    if (!p.isActive())
        return false;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = zoom / 100.0 * device->logicalDpiX() / 96.0;
    d->pager.ensure(d->doc);
    d->pager.paintPage(d->doc, p, page, scale);
    return true;
}

TxEngine::Caret TxEngine::CaretPos() const {
    d->pager.ensure(d->doc);
    Caret out;
    const QTextCursor c = d->ed()->textCursor();
    QTextDocument* doc = d->adoc();
    const QTextBlock block = c.block();
    QTextLayout* layout = block.layout();
    const QRectF br = doc->documentLayout()->blockBoundingRect(block);
    QTextLine line = layout ? layout->lineForTextPosition(c.positionInBlock()) : QTextLine();
    if (!line.isValid()) {
        out.column = c.positionInBlock();
        return out;
    }
    out.column = c.positionInBlock() - line.textStart();
    if (doc != d->doc.body()) {
        out.line = line.lineNumber() + 1;
        return out;
    }
    const double y = br.top() + line.y();
    double pageTop = 0;
    out.page = d->pager.pageOfLine(d->doc, block, y + 0.5, &pageTop);
    // Count the lines of this page up to the caret's line.
    int count = 0;
    for (QTextBlock b = block; b.isValid(); b = b.previous()) {
        const QRectF r = doc->documentLayout()->blockBoundingRect(b);
        if (r.bottom() <= pageTop)
            break;
        QTextLayout* l = b.layout();
        const int n = b == block ? line.lineNumber() + 1 : (l ? l->lineCount() : 0);
        for (int i = 0; i < n; ++i)
            if (l && r.top() + l->lineAt(i).y() >= pageTop - 0.5)
                ++count;
    }
    out.line = std::max(1, count);
    return out;
}

// --- events ---

void TxEngine::keyPressEvent(QKeyEvent* e) {
    d->curFloat = 0;
    if (!e->text().isEmpty() || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        QTextCursor c = textCursor();
        if (txfield::prepareInsertion(c))
            setTextCursor(c);
    }
    QTextEdit::keyPressEvent(e);
}

void TxEngine::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty() || !e->preeditString().isEmpty()) {
        QTextCursor c = textCursor();
        if (txfield::prepareInsertion(c))
            setTextCursor(c);
    }
    QTextEdit::inputMethodEvent(e);
}

void TxEngine::mousePressEvent(QMouseEvent* e) {
    const QPointF layoutPos =
        e->position() + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // A click outside the part being edited returns to the main text.
    if (d->overlay)
        HeadFootDeactivate();
    const int hit = d->objectAt(layoutPos);
    if (hit) {
        d->curFloat = hit;
        viewport()->update();
        emit objectClicked(hit);
        return;
    }
    if (d->curFloat) {
        d->curFloat = 0;
        viewport()->update();
    }
    QTextEdit::mousePressEvent(e);
}

void TxEngine::mouseReleaseEvent(QMouseEvent* e) {
    QTextEdit::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton || textCursor().hasSelection())
        return;
    const QPointF layoutPos =
        e->position() + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int pos = document()->documentLayout()->hitTest(layoutPos, Qt::ExactHit);
    if (pos < 0)
        return;
    const QTextCharFormat f = txfield::formatAt(document(), pos);
    if (f.isImageFormat() && f.hasProperty(txp::ObjectId)) {
        emit objectClicked(f.intProperty(txp::ObjectId));
        return;
    }
    if (const int id = f.intProperty(txp::FieldId)) {
        d->curField = id;
        emit fieldClicked(id);
    }
}

void TxEngine::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPointF layoutPos =
        e->position() + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // A double click edits the text frame under it, or in the page view the
    // header or footer whose band it is in.
    const int hit = d->objectAt(layoutPos);
    if (hit && d->doc.frame(hit)) {
        TextFrameSelect(hit);
        return;
    }
    if (const int part = d->partAt(layoutPos)) {
        HeadFootActivate(part);
        return;
    }
    QTextEdit::mouseDoubleClickEvent(e);
}

void TxEngine::paintEvent(QPaintEvent* e) {
    d->pager.ensure(d->doc);
    const QPointF offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRectF area = QRectF(e->rect()).translated(offset);
    {
        QPainter p(viewport());
        p.translate(-offset);
        d->pager.paintViewUnder(d->doc, p, area);
    }
    QTextEdit::paintEvent(e);
    QPainter p(viewport());
    p.translate(-offset);
    if (d->showGrid)
        d->paintGrid(p, area);
    txlabels::paint(p, document(), area);
    if (d->showCtrlChars)
        txmarks::paint(p, document(), area);
    d->pager.paintViewOver(d->doc, p, area, d->curFloat);
}

void TxEngine::resizeEvent(QResizeEvent* e) {
    QTextEdit::resizeEvent(e);
    d->pager.ensure(d->doc);
    d->placeOverlay();
}

void TxEngine::scrollContentsBy(int dx, int dy) {
    QTextEdit::scrollContentsBy(dx, dy);
    d->placeOverlay();
}

// The clipboard carries the selection in the native format as well, so a
// copy keeps fields, images and every property.
static const QString kNativeMime = QStringLiteral("application/x-folium-engine");

bool TxEngine::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(kNativeMime) || QTextEdit::canInsertFromMimeData(source);
}

QMimeData* TxEngine::createMimeDataFromSelection() const {
    // Qt's own mime data lists a fixed set of formats: copy them into plain
    // mime data that can carry one more.
    std::unique_ptr<QMimeData> base(QTextEdit::createMimeDataFromSelection());
    if (!base)
        return nullptr;
    auto* data = new QMimeData;
    for (const QString& f : base->formats())
        data->setData(f, base->data(f));
    const QTextCursor c = textCursor();
    if (c.hasSelection()) {
        TxDocument part;
        QTextCursor from(document());
        from.setPosition(c.selectionStart());
        TxEngineState::documentOf(d->doc, c.selection(), from, part);
        data->setData(kNativeMime, native::save(part));
    }
    return data;
}

void TxEngine::insertFromMimeData(const QMimeData* source) {
    if (source->hasFormat(kNativeMime)) {
        TxDocument pasted;
        if (native::load(source->data(kNativeMime), pasted)) {
            d->insertDocument(pasted);
            return;
        }
    }
    QTextCursor c = textCursor();
    if (txfield::prepareInsertion(c))
        setTextCursor(c);
    QTextEdit::insertFromMimeData(source);
}
