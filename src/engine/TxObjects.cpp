// TxEngine: images (inline and positioned) and text frames.
#include "TxEngine.h"

#include "TxEngineState.h"
#include "TxFieldOps.h"
#include "TxImages.h"
#include "TxProps.h"

#include <QAbstractUndoItem>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

namespace {

// Inline images of `doc` in text order, as (position, id).
std::vector<std::pair<int, int>> inlineImages(const QTextDocument* doc) {
    std::vector<std::pair<int, int>> out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat() && f.hasProperty(txp::ObjectId))
                for (int i = 0; i < it.fragment().length(); ++i)
                    out.push_back({it.fragment().position() + i, f.intProperty(txp::ObjectId)});
        }
    return out;
}

int inlinePosition(const QTextDocument* doc, int id) {
    for (const auto& [pos, oid] : inlineImages(doc))
        if (oid == id)
            return pos;
    return -1;
}

// The insertion of a positioned image as a step of its document's undo
// history, in its place among the text edits: undo takes the image out
// (and keeps it), redo puts it back.
class FloatInsertUndo : public QAbstractUndoItem {
public:
    FloatInsertUndo(TxEngineState* state, int id) : state_(state), id_(id) {}
    void undo() override {
        auto& v = state_->doc.images;
        for (auto it = v.begin(); it != v.end(); ++it)
            if ((*it)->id == id_) {
                kept_ = std::move(*it);
                v.erase(it);
                break;
            }
        if (state_->curFloat == id_)
            state_->curFloat = 0;
        state_->q->viewport()->update();
    }
    void redo() override {
        if (kept_)
            state_->doc.images.push_back(std::move(kept_));
        state_->q->viewport()->update();
    }

private:
    TxEngineState* state_;
    int id_;
    std::unique_ptr<TxImage> kept_;
};

} // namespace

int TxEngine::ImageInsert(const QString& file, int flow, int x, int y, int scaleX, int scaleY,
                          int distance) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const int id = ImageInsertBytes(f.readAll(), flow, x, y, scaleX, scaleY, distance);
    if (id) {
        if (TxImage* im = d->doc.image(id))
            im->fileName = file;
        else
            d->setInlineProperty(id, txp::ObjectFile, file);
    }
    return id;
}

int TxEngine::ImageInsertBytes(const QByteArray& bytes, int flow, int x, int y, int scaleX,
                               int scaleY, int distance) {
    const tximg::Probe probe = tximg::probe(bytes);
    if (!probe.ok)
        return 0;
    QTextDocument* adoc = d->adoc();
    const QString name = d->doc.addImage(bytes, probe.type, nullptr);
    for (QTextDocument* doc : d->doc.allDocuments())
        doc->addResource(QTextDocument::ImageResource, QUrl(name), d->doc.imageData[name].image);
    const int id = d->doc.newId();
    QTextCursor c = d->ed()->textCursor();
    if (flow <= FlowInline) {
        QTextImageFormat f =
            tximg::inlineFormat(name, probe.widthTwips, probe.heightTwips, scaleX, scaleY);
        f.setProperty(txp::ObjectId, id);
        f.setProperty(txp::ObjectLayout, 1);
        c.insertImage(f);
        d->ed()->setTextCursor(c);
        return id;
    }
    auto im = std::make_unique<TxImage>();
    im->id = id;
    im->name = name;
    im->width = probe.widthTwips;
    im->height = probe.heightTwips;
    im->scaleX = scaleX > 0 ? scaleX : 100;
    im->scaleY = scaleY > 0 ? scaleY : 100;
    im->wrap = flow == FlowAround ? 1 : flow == FlowTopBottom ? 4 : 5;
    im->distance = distance;
    im->anchor = TxDocument::anchorAt(adoc, c.selectionStart());
    im->order = d->doc.nextOrder();
    if (x < 0) {
        im->hRel = TxHRel::Character;
        im->vRel = TxVRel::Line;
    } else {
        im->hRel = TxHRel::Page;
        im->vRel = TxVRel::Page;
        im->x = x;
        im->y = std::max(0, y);
    }
    d->doc.images.push_back(std::move(im));
    adoc->appendUndoItem(new FloatInsertUndo(d.get(), id));
    d->curFloat = id;
    viewport()->update();
    return id;
}

int TxEngine::NextImage(int id) const {
    std::vector<int> ids;
    for (const auto& [pos, oid] : inlineImages(d->adoc()))
        ids.push_back(oid);
    for (const auto& im : d->doc.images)
        if (im->anchor.document() == d->adoc())
            ids.push_back(im->id);
    if (!id)
        return ids.empty() ? 0 : ids.front();
    for (size_t i = 0; i + 1 < ids.size(); ++i)
        if (ids[i] == id)
            return ids[i + 1];
    return 0;
}

bool TxEngine::ImageDelete(int id) {
    auto& v = d->doc.images;
    for (auto it = v.begin(); it != v.end(); ++it)
        if ((*it)->id == id) {
            v.erase(it);
            if (d->curFloat == id)
                d->curFloat = 0;
            viewport()->update();
            return true;
        }
    for (QTextDocument* doc : d->doc.allDocuments()) {
        const int pos = inlinePosition(doc, id);
        if (pos >= 0) {
            QTextCursor c(doc);
            c.setPosition(pos);
            c.setPosition(pos + 1, QTextCursor::KeepAnchor);
            c.removeSelectedText();
            return true;
        }
    }
    return false;
}

int TxEngine::CurObject() const {
    if (d->curFloat)
        return d->curFloat;
    const QTextCursor c = d->ed()->textCursor();
    if (c.selectionEnd() - c.selectionStart() != 1)
        return 0;
    const QTextCharFormat f = txfield::formatAt(d->adoc(), c.selectionStart());
    return f.isImageFormat() ? f.intProperty(txp::ObjectId) : 0;
}

void TxEngine::SetCurObject(int id) {
    d->curFloat = 0;
    if (id && (d->doc.image(id) || d->doc.frame(id))) {
        d->curFloat = id;
    } else if (id) {
        const int pos = inlinePosition(d->adoc(), id);
        if (pos >= 0) {
            QTextCursor c = d->ed()->textCursor();
            c.setPosition(pos);
            c.setPosition(pos + 1, QTextCursor::KeepAnchor);
            d->ed()->setTextCursor(c);
        }
    }
    viewport()->update();
}

// Reads or writes a property of image `id`, positioned or inline.
QVariant TxEngineState::imageProperty(int id, int prop) const {
    if (const TxImage* im = doc.image(id)) {
        switch (prop) {
        case txp::ObjectLayout:
            return im->layout;
        case txp::ObjectFile:
            return im->fileName;
        case txp::ImageExport:
            return im->exportSetting;
        case txp::ImageExportFlag:
            return im->exportFlag;
        default:
            return {};
        }
    }
    for (QTextDocument* d : doc.allDocuments()) {
        const int pos = inlinePosition(d, id);
        if (pos >= 0)
            return txfield::formatAt(d, pos).property(prop);
    }
    return {};
}

void TxEngineState::setInlineProperty(int id, int prop, const QVariant& v) {
    if (TxImage* im = doc.image(id)) {
        switch (prop) {
        case txp::ObjectLayout:
            im->layout = v.toInt();
            break;
        case txp::ObjectFile:
            im->fileName = v.toString();
            break;
        case txp::ImageExport:
            im->exportSetting = v.toInt();
            break;
        case txp::ImageExportFlag:
            im->exportFlag = v.toInt();
            break;
        default:
            break;
        }
        return;
    }
    for (QTextDocument* d : doc.allDocuments()) {
        const int pos = inlinePosition(d, id);
        if (pos < 0)
            continue;
        QTextCursor c(d);
        c.setPosition(pos);
        c.setPosition(pos + 1, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setProperty(prop, v);
        c.mergeCharFormat(f);
        return;
    }
}

int TxEngine::ObjectLayout() const {
    return d->imageProperty(CurObject(), txp::ObjectLayout).toInt();
}

void TxEngine::SetObjectLayout(int value) {
    if (const int id = CurObject())
        d->setInlineProperty(id, txp::ObjectLayout, value);
}

QString TxEngine::ObjectFileName(int id) const {
    return d->imageProperty(id, txp::ObjectFile).toString();
}

int TxEngine::ImageExport(int id) const {
    return d->imageProperty(id, txp::ImageExport).toInt();
}

void TxEngine::SetImageExport(int id, int value) {
    d->setInlineProperty(id, txp::ImageExport, value);
}

int TxEngine::ImageExportFlag(int id) const {
    return d->imageProperty(id, txp::ImageExportFlag).toInt();
}

void TxEngine::SetImageExportFlag(int id, int value) {
    d->setInlineProperty(id, txp::ImageExportFlag, value);
}

// --- text frames ---

int TxEngine::TextFrameInsert(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return 0;
    auto fr = std::make_unique<TxFrame>();
    fr->id = d->doc.newId();
    fr->width = width;
    fr->height = height;
    fr->doc = d->doc.newPartDocument();
    const int caret = d->ed() == this ? textCursor().selectionStart() : 0;
    fr->anchor = TxDocument::anchorAt(d->doc.body(), caret);
    fr->order = d->doc.nextOrder();
    if (x < 0) {
        fr->hRel = TxHRel::Margin;
        fr->vRel = TxVRel::Line;
    } else {
        fr->hRel = TxHRel::Page;
        fr->vRel = TxVRel::Page;
        fr->x = x;
        fr->y = std::max(0, y);
    }
    const int id = fr->id;
    d->doc.frames.push_back(std::move(fr));
    viewport()->update();
    return id;
}

int TxEngine::NextTextFrame(int id) const {
    const auto& v = d->doc.frames;
    if (!id)
        return v.empty() ? 0 : v.front()->id;
    for (size_t i = 0; i + 1 < v.size(); ++i)
        if (v[i]->id == id)
            return v[i + 1]->id;
    return 0;
}

bool TxEngine::TextFrameSelect(int id) {
    if (!id) {
        HeadFootDeactivate();
        return true;
    }
    TxFrame* fr = d->doc.frame(id);
    if (!fr)
        return false;
    d->closeOverlay();
    d->activePart = 0;
    d->activeFrame = id;
    d->curFloat = 0;
    d->openOverlay(fr->doc.get());
    emit textFrameActivated(id);
    return true;
}

int TxEngine::TextFrameActive() const {
    return d->activeFrame;
}

bool TxEngine::TextFrameDelete(int id) {
    auto& v = d->doc.frames;
    for (auto it = v.begin(); it != v.end(); ++it)
        if ((*it)->id == id) {
            if (d->activeFrame == id)
                HeadFootDeactivate();
            QTextDocument* gone = (*it)->doc.get();
            std::erase_if(d->doc.images,
                          [gone](const auto& im) { return im->anchor.document() == gone; });
            v.erase(it);
            if (d->curFloat == id)
                d->curFloat = 0;
            viewport()->update();
            return true;
        }
    return false;
}
