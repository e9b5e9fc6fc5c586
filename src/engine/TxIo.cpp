// TxEngine: documents in and out as bytes and files (its own format 3 and
// whatever the format registry reads and writes), and
// inserting one document into another at the caret.
#include "TxEngine.h"

#include "Converter.h"
#include "Document.h"
#include "ModelBridge.h"
#include "NativeFormat.h"
#include "PdfExport.h"
#include "QuickLayout.h"
#include "TxEngineState.h"
#include "TxFieldOps.h"
#include "TxProps.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

namespace {

// The folder of the file LoadFile is reading (for the files it refers to,
// such as an HTML page's pictures); empty for bytes from elsewhere.
thread_local QString loadingFolder;
// The file SaveFile is writing (for the files written beside it, such as an
// HTML page's pictures); empty for bytes.
thread_local QString savingFile;

// Reads bytes of `format` into a fresh TxDocument: the engine's own format
// here, every other one through the format registry and the model.
bool decode(const QByteArray& bytes, int format, TxDocument& out, QString* error) {
    if (format == TxEngine::FmtNative)
        return native::load(bytes, out, error);
    const std::optional<model::Document> doc =
        formats::Converter::instance().load(bytes, format, error, loadingFolder);
    if (!doc)
        return false;
    bridge::toEngine(*doc, out);
    return true;
}

bool encode(const TxDocument& doc, int format, QByteArray* out, QString* error) {
    if (format == TxEngine::FmtNative) {
        *out = native::save(doc);
        return true;
    }
    if (format == TxEngine::FmtPdf)
        return pdfexport::write(doc, out, error);
    std::optional<QByteArray> bytes =
        formats::Converter::instance().save(bridge::fromEngine(doc), format, error, savingFile);
    if (!bytes)
        return false;
    *out = std::move(*bytes);
    return true;
}

} // namespace

void TxEngineState::documentOf(const TxDocument& owner, const QTextDocumentFragment& frag,
                               const QTextCursor& from, TxDocument& out) {
    out.page = owner.page;
    out.imageData = owner.imageData;
    for (auto it = out.imageData.cbegin(); it != out.imageData.cend(); ++it)
        out.body()->addResource(QTextDocument::ImageResource, QUrl(it.key()), it->image);
    QTextCursor c(out.body());
    c.insertFragment(frag);
    // The first paragraph's own formats do not travel with a fragment.
    QTextCursor first(out.body());
    first.setBlockFormat(from.blockFormat());
    first.setBlockCharFormat(from.blockCharFormat());
}

// Inserts `src` at the caret of the active part: its text with formats,
// images and fields (given new ids); its frames and positioned images when
// the target is the main text. Page setup and headers stay those of the
// target.
void TxEngineState::insertDocument(TxDocument& src) {
    QTextEdit* e = ed();
    QTextDocument* target = e->document();
    // The inserted images get names of this document, so they never take
    // the place of images it already has.
    QHash<QString, QString> renamed;
    for (auto it = src.imageData.cbegin(); it != src.imageData.cend(); ++it) {
        const QString name = QStringLiteral("txim:%1").arg(doc.newId());
        renamed.insert(it.key(), name);
        doc.imageData.insert(name, it.value());
        for (QTextDocument* d : doc.allDocuments())
            d->addResource(QTextDocument::ImageResource, QUrl(name), it->image);
    }
    for (QTextDocument* d : src.allDocuments()) {
        for (auto it = renamed.cbegin(); it != renamed.cend(); ++it)
            d->addResource(QTextDocument::ImageResource, QUrl(it.value()),
                           src.imageData.value(it.key()).image);
        txfield::editRuns(d, 0, d->characterCount(), [&](QTextCharFormat& f) {
            if (f.isImageFormat() && renamed.contains(f.toImageFormat().name()))
                f.setProperty(QTextFormat::ImageName, renamed.value(f.toImageFormat().name()));
        });
    }
    for (auto& im : src.images)
        im->name = renamed.value(im->name, im->name);
    QTextCursor c = e->textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    const int at = c.position();
    const int before = target->characterCount();
    // The first paragraph of the inserted text joins the caret's paragraph;
    // the fragment carries the rest.
    c.insertFragment(QTextDocumentFragment(src.body()));
    const int added = target->characterCount() - before;
    // Inside the same edit block, so one undo takes the whole insertion back.
    txfield::renumber(doc, target, at, at + added);
    c.endEditBlock();
    e->setTextCursor(c);
    if (target != doc.body())
        return;
    std::vector<const QTextDocument*> moved;
    for (auto& f : src.frames) {
        if (f->anchor.document() != src.body())
            continue;
        const int pos = at + f->anchor.position();
        auto copy = std::make_unique<TxFrame>(std::move(*f));
        copy->id = doc.newId();
        copy->order = doc.nextOrder();
        copy->anchor = TxDocument::anchorAt(target, pos);
        moved.push_back(copy->doc.get());
        doc.frames.push_back(std::move(copy));
    }
    for (auto& im : src.images) {
        const QTextDocument* from = im->anchor.document();
        const bool inBody = from == src.body();
        if (!inBody && std::find(moved.begin(), moved.end(), from) == moved.end())
            continue; // in a header or footer of the inserted document
        const int pos = at + im->anchor.position();
        auto copy = std::make_unique<TxImage>(std::move(*im));
        copy->id = doc.newId();
        copy->order = doc.nextOrder();
        if (inBody)
            copy->anchor = TxDocument::anchorAt(target, pos);
        doc.images.push_back(std::move(copy));
    }
}

// Makes `loaded` the engine's document.
void TxEngineState::replaceDocument(TxDocument& loaded) {
    closeOverlay();
    activePart = 0;
    activeFrame = 0;
    curField = 0;
    curFloat = 0;
    const int keepView = viewMode;
    doc.swap(loaded);
    quicklayout::install(doc.body());
    q->setDocument(doc.body());
    viewMode = keepView;
    if (showCtrlChars) {
        showCtrlChars = false;
        q->SetShowCtrlChars(true);
    }
    applyGeometry();
    q->setTextCursor(QTextCursor(doc.body()));
}

bool TxEngine::LoadBytes(const QByteArray& bytes, int format, bool atCaret) {
    d->lastError.clear();
    TxDocument loaded;
    QString error;
    if (!decode(bytes, format, loaded, &error)) {
        d->lastError = error;
        return false;
    }
    if (d->activeFrame && !atCaret) {
        QTextDocument* fd = d->adoc();
        QTextCursor c(fd);
        c.select(QTextCursor::Document);
        c.removeSelectedText();
        d->ed()->setTextCursor(c);
        d->insertDocument(loaded);
    } else if (atCaret) {
        d->insertDocument(loaded);
    } else {
        d->replaceDocument(loaded);
    }
    return true;
}

QByteArray TxEngine::SaveBytes(int format, int, bool* ok) const {
    d->lastError.clear();
    QByteArray out;
    QString error;
    bool done = false;
    // A PDF holds the pages, whatever part is being edited.
    if (d->activeFrame && format != FmtPdf) {
        TxDocument part;
        const QTextCursor start(d->adoc());
        TxEngineState::documentOf(d->doc, QTextDocumentFragment(d->adoc()), start, part);
        done = encode(part, format, &out, &error);
    } else {
        done = encode(d->doc, format, &out, &error);
    }
    if (!done)
        d->lastError = error;
    if (ok)
        *ok = done;
    return done ? out : QByteArray();
}

bool TxEngine::LoadFile(const QString& path, int format, bool atCaret) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        d->lastError = f.errorString();
        return false;
    }
    loadingFolder = QFileInfo(path).absolutePath();
    const bool ok = LoadBytes(f.readAll(), format, atCaret);
    loadingFolder.clear();
    return ok;
}

bool TxEngine::SaveFile(const QString& path, int format) {
    bool ok = false;
    savingFile = QFileInfo(path).absoluteFilePath();
    const QByteArray bytes = SaveBytes(format, 0, &ok);
    savingFile.clear();
    if (!ok)
        return false;
    // Written beside the target and renamed over it: a failure never leaves
    // half a file where the old one was.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        d->lastError = f.errorString();
        return false;
    }
    return true;
}

void TxEngine::ClearAll() {
    TxDocument empty;
    empty.page = d->doc.page;
    empty.clear(false);
    d->replaceDocument(empty);
}
