#include "TxDocument.h"

#include "Pictures.h"

#include "FontSubst.h"
#include "TxFonts.h"
#include "TxProps.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

namespace {

int bitIndex(int bit) {
    switch (bit) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    default:
        return -1;
    }
}

} // namespace

void txApplyDefaults(QTextDocument* doc) {
    fontsubst::install();
    QFont font(fontsubst::families(txfont::defaultName(), txfont::defaultName()).first());
    font.setFamilies(fontsubst::families(txfont::defaultName(), txfont::defaultName()));
    font.setPointSizeF(txfont::kDefaultPoints);
    // Word kerns only runs that ask for it and sets no ligatures by default,
    // so text whose script needs no glyph substitution is laid out from the
    // fonts' own advances: several times faster than shaping every run, which
    // long documents feel on every relayout. Scripts that need shaping
    // (Arabic, Indic, Thai ...) are still shaped.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    doc->setDefaultFont(font);
    // Paragraphs run left to right unless their format says otherwise, as in
    // Word (which never guesses a paragraph's direction from its text); it
    // also spares the layout a scan of every paragraph's text on each pass.
    QTextOption option = doc->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    doc->setDefaultTextOption(option);
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(true);
}

TxDocument::TxDocument() : body_(std::make_unique<QTextDocument>()) {
    txApplyDefaults(body_.get());
}

TxDocument::~TxDocument() {
    // Cursors into the documents must go before the documents themselves.
    marks.clear();
    images.clear();
    frames.clear();
}

QTextDocument* TxDocument::part(int bit) const {
    const int i = bitIndex(bit);
    return i < 0 ? nullptr : parts_[i].get();
}

int TxDocument::partMask() const {
    int mask = 0;
    for (int i = 0; i < 4; ++i)
        if (parts_[i])
            mask |= 1 << i;
    return mask;
}

QTextDocument* TxDocument::ensurePart(int bit) {
    const int i = bitIndex(bit);
    if (i < 0)
        return nullptr;
    if (!parts_[i])
        parts_[i] = newPartDocument();
    return parts_[i].get();
}

void TxDocument::setPartMask(int mask) {
    for (int i = 0; i < 4; ++i) {
        if (mask & (1 << i))
            ensurePart(1 << i);
        else if (parts_[i]) {
            QTextDocument* gone = parts_[i].get();
            std::erase_if(images, [gone](const auto& im) { return im->anchor.document() == gone; });
            parts_[i].reset();
        }
    }
}

TxFrame* TxDocument::frame(int id) const {
    for (const auto& f : frames)
        if (f->id == id)
            return f.get();
    return nullptr;
}

TxImage* TxDocument::image(int id) const {
    for (const auto& im : images)
        if (im->id == id)
            return im.get();
    return nullptr;
}

QString TxDocument::addImage(const QByteArray& bytes, int type, QTextDocument* into) {
    const QString name = QStringLiteral("txim:%1").arg(newId());
    TxImageData data;
    data.bytes = bytes;
    data.type = type;
    QBuffer buf;
    buf.setData(bytes);
    QImageReader reader(&buf);
    reader.setAutoTransform(true);
    data.image = reader.read();
    // Metafiles are drawn through the picture library.
    if (data.image.isNull())
        data.image = pictures::Render(bytes);
    if (into)
        into->addResource(QTextDocument::ImageResource, QUrl(name), data.image);
    imageData.insert(name, data);
    return name;
}

QTextCursor TxDocument::anchorAt(QTextDocument* doc, int pos) {
    QTextCursor c(doc);
    c.setPosition(std::clamp(pos, 0, std::max(0, doc->characterCount() - 1)));
    c.setKeepPositionOnInsert(true);
    return c;
}

std::unique_ptr<QTextDocument> TxDocument::newPartDocument() const {
    auto doc = std::make_unique<QTextDocument>();
    txApplyDefaults(doc.get());
    doc->setDefaultTextOption(body_->defaultTextOption());
    // Images of the whole document are resources of every part.
    for (auto it = imageData.cbegin(); it != imageData.cend(); ++it)
        doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), it->image);
    return doc;
}

void TxDocument::clear(bool resetPage) {
    marks.clear();
    images.clear();
    frames.clear();
    sections.clear();
    lists.clear();
    notes.clear();
    for (auto& p : parts_)
        p.reset();
    titlePage = false;
    sectionStart = 0;
    imageData.clear();
    body_->clear();
    txApplyDefaults(body_.get());
    if (resetPage) {
        page = TxPageSetup();
        defaultTabStop = 840;
    }
    QTextOption opt = body_->defaultTextOption();
    opt.setTabStopDistance(txp::px(defaultTabStop));
    body_->setDefaultTextOption(opt);
}

std::vector<QTextDocument*> TxDocument::allDocuments() const {
    std::vector<QTextDocument*> out{body_.get()};
    for (const auto& p : parts_)
        if (p)
            out.push_back(p.get());
    for (const auto& f : frames)
        out.push_back(f->doc.get());
    for (const auto& s : sections)
        for (const auto& p : s->parts)
            if (p)
                out.push_back(p.get());
    return out;
}

void TxDocument::swap(TxDocument& other) {
    std::swap(page, other.page);
    std::swap(titlePage, other.titlePage);
    std::swap(sectionStart, other.sectionStart);
    std::swap(defaultTabStop, other.defaultTabStop);
    frames.swap(other.frames);
    images.swap(other.images);
    marks.swap(other.marks);
    sections.swap(other.sections);
    imageData.swap(other.imageData);
    lists.swap(other.lists);
    notes.swap(other.notes);
    body_.swap(other.body_);
    parts_.swap(other.parts_);
    std::swap(lastId_, other.lastId_);
    std::swap(lastOrder_, other.lastOrder_);
}
