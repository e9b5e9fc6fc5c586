// uTxm: paste, pictures from the clipboard, from files and metafiles, the
// marked area of command 34 and the object commands of a picture.
#include "Pictures.h"
#include "Prompter.h"
#include "TxCompanion.h"
#include "TxEngine.h"
#include "TxFiles.h"
#include "TxImages.h"
#include "Usr.h"
#include "VectorPicture.h"
#include "sbWmf.h"
#include "uTxm.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include <functional>

namespace {

const QString kWrkBmp = QStringLiteral("Wrk.bmp");
constexpr int kDotsPerMeter96 = 3780; // 96 dpi
constexpr int kFloatDistance = 320;   // twips kept free around a positioned picture

const QStringList kMetafileTypes = {QStringLiteral("image/emf"), QStringLiteral("image/x-emf"),
                                    QStringLiteral("image/wmf"), QStringLiteral("image/x-wmf")};

QByteArray clipboardMetafile(const QMimeData* md) {
    if (md)
        for (const QString& t : kMetafileTypes)
            if (md->hasFormat(t))
                return md->data(t);
    return {};
}

// Writes `img` as the work folder's "Wrk.bmp" at 96 dpi; its path, empty
// when it cannot be written.
QString writeWrkBmp(QImage img) {
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    const QString file = Usr::sWrkFd + kWrkBmp;
    QImageWriter w(file, "bmp");
    return w.write(img) ? file : QString();
}

} // namespace

// Rubber-band marking over the engine (command 34): a left press starts a
// 15-twip rectangle, moving enlarges it, the release hands it over. Any
// other button ends the marking without a rectangle.
class TxAreaMark : public QObject {
public:
    using Done = std::function<void(const QRect&)>;
    TxAreaMark(QWidget* surface, Done done)
        : QObject(surface), surface_(surface), band_(QRubberBand::Rectangle, surface),
          done_(std::move(done)) {
        surface_->installEventFilter(this);
        surface_->setCursor(Qt::CrossCursor);
    }
    ~TxAreaMark() override {
        surface_->removeEventFilter(this);
        surface_->unsetCursor();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() != Qt::LeftButton) {
                finish({});
                return true;
            }
            origin_ = m->position().toPoint();
            band_.setGeometry(QRect(origin_, QSize(1, 1)));
            band_.show();
            return true;
        }
        case QEvent::MouseMove:
            if (band_.isVisible()) {
                const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
                // Never smaller than 15 twips (one pixel).
                band_.setGeometry(QRect(origin_, p).normalized() | QRect(origin_, QSize(1, 1)));
            }
            return true;
        case QEvent::MouseButtonRelease:
            if (band_.isVisible())
                finish(band_.geometry());
            return true;
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            return false;
        }
    }

private:
    void finish(const QRect& r) {
        band_.hide();
        Done done = std::move(done_);
        deleteLater();
        if (done)
            done(r);
    }
    QWidget* surface_;
    QRubberBand band_;
    Done done_;
    QPoint origin_;
};

int uTxm::textWidth() const {
    return std::max(15, mTxt->PageWidth() - mTxt->MarginLeft() - mTxt->MarginRight());
}

// Paste (command 15 and Ctrl+V). Returns whether anything was pasted.
bool uTxm::txPaste(const QString& sKind) {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    const bool metafile = !clipboardMetafile(md).isEmpty();
    QString kind = sKind.trimmed().toUpper();
    if (kind.isEmpty()) {
        kind = (md && md->hasImage()) || metafile ? QStringLiteral("PIC")
               : (md && md->hasText() && bPastTx) ? QStringLiteral("TXT")
                                                  : QStringLiteral("OBJ");
    }
    if (kind == QLatin1String("TXT")) {
        if (!md || !md->hasText())
            return false;
        {
            Busy busy(*this);
            const bool shown = mTxt->Visible();
            mTxt->SetVisible(false); // one redraw for the whole text
            mTxt->SetSelText(TxFiles::PasteText(md->text()));
            mTxt->SetVisible(shown);
        }
        SetDcEdt(true);
        return true;
    }
    if (kind == QLatin1String("PIC")) {
        if (md && md->hasImage())
            return PastePic(false);
        if (metafile && pasteMetafile(clipboardMetafile(md)))
            return true;
        // A metafile that cannot be converted: the engine's own paste.
    }
    // "OBJ", "RTX" (formatted text) and what the conversion refused.
    if (!mTxt->CanPaste())
        return false;
    {
        Busy busy(*this);
        mTxt->Clip(TxEngine::ClipPaste);
    }
    SetDcEdt(true);
    SetTlBar();
    return true;
}

// The clipboard's bitmap, in a colour depth a bitmap file holds (1, 4, 8 or
// 24 bits), at 96 dpi, through "Wrk.bmp".
bool uTxm::PastePic(bool) {
    QImage img = QApplication::clipboard()->image();
    if (img.isNull())
        return false;
    if (!TxFiles::KeepsDepth(img.depth())) {
        // Transparent parts become white, as on the page.
        QImage flat(img.size(), QImage::Format_RGB888);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, img);
        p.end();
        img = flat;
    }
    const QString file = writeWrkBmp(img);
    if (file.isEmpty() || !InsPicFl(file))
        return false;
    {
        // The caret paragraph keeps its style around the picture.
        const int caret = mTxt->SelStart();
        SetStl(caretStyle(), {}, true);
        mTxt->SetSelStart(caret);
    }
    SetDcEdt(true);
    return true;
}

// A metafile drawn for the text width into "Wrk.bmp" and inserted.
bool uTxm::pasteMetafile(const QByteArray& bytes) {
    const QSize twips = pictures::MetafileSize(bytes);
    if (twips.isEmpty())
        return false;
    const int w = textWidth() / 15;
    const int h = std::max(1, int(qint64(w) * twips.height() / twips.width()));
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(Qt::white);
    const QImage drawn = pictures::Render(bytes, img.size());
    if (drawn.isNull())
        return false;
    QPainter p(&img);
    p.drawImage(0, 0, drawn);
    p.end();
    const QString file = writeWrkBmp(img);
    if (file.isEmpty() || !InsPicFl(file))
        return false;
    SetDcEdt(true);
    return true;
}

bool uTxm::InsPicFl(const QString& sFile) {
    QFile f(sFile);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return insertPicture(f.readAll(), sFile);
}

// Inserts picture bytes at the caret: shown at 9600 / screen dpi percent
// (or scaled to `fitWidth` twips), placed by iFlw. Images a document cannot
// hold as they are go in as PNG.
bool uTxm::insertPicture(const QByteArray& bytes, const QString& file, int fitWidth) {
    const std::optional<pictures::Stored> stored = pictures::ForDocument(bytes);
    if (!stored)
        return false;
    int scale = TxFiles::PictureScale(logicalDpiX());
    if (fitWidth > 0) {
        const tximg::Probe probe = tximg::probe(stored->bytes);
        if (!probe.ok || probe.widthTwips <= 0)
            return false;
        scale =
            std::max(1, int((qint64(fitWidth) * 100 + probe.widthTwips / 2) / probe.widthTwips));
    }
    Busy busy(*this);
    TxEngine::UndoStep step(*mTxt);
    if (iTy == 3) {
        // This editor refers to its pictures' files: inline, file kept.
        const int id =
            !file.isEmpty() && stored->bytes == bytes
                ? mTxt->ImageInsert(file, TxEngine::FlowInline, -1, -1, scale, scale)
                : mTxt->ImageInsertBytes(stored->bytes, TxEngine::FlowInline, -1, -1, scale, scale);
        if (!id)
            return false;
        const int caret = mTxt->SelStart();
        mTxt->SetCurObject(id);
        mTxt->SetObjectLayout(0);
        mTxt->SetSelStart(caret);
        pictureIsUndoStep();
        return true;
    }
    const int flow = TxFiles::FlowOf(iFlw);
    const int id = mTxt->ImageInsertBytes(stored->bytes, flow, -1, -1, scale, scale,
                                          flow == TxEngine::FlowInline ? 0 : kFloatDistance);
    if (!id)
        return false;
    if (flow != TxEngine::FlowInline)
        mTxt->SetObjectLayout(1); // the new positioned picture is the current object
    pictureIsUndoStep();
    return true;
}

// A picture just put in is a step of the engine's own undo history (inline
// or positioned), after the typing before it. The snapshot the command took
// is dropped: restoring it would reload the page and lose that history, so
// a second undo could no longer take the typing back.
void uTxm::pictureIsUndoStep() {
    ySnap.clear();
    bSnap = false;
}

// Command 33: a new picture from the image editor of the tool family. Where
// the family is not installed, the picture comes from a file the user
// chooses.
bool uTxm::txInsPic() {
    txIME(false);
    if (TxCompanion::HaveImageEditor()) {
        const QString made = TxCompanion::ImageEditorResult(iTy, Usr::sWrkFd);
        return !made.isEmpty() && InsPicFl(made);
    }
    const QString file = Prompter::instance().openFile(TxFiles::kPictureTitle, QString(),
                                                       TxFiles::PictureFilter(), sSavePh);
    if (file.isEmpty())
        return false;
    if (InsPicFl(file))
        return true;
    Prompter::instance().message(QStringLiteral("ﾌｧｲﾙ: ") + file +
                                     QStringLiteral(" を読み込めません｡"),
                                 Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}

// Command 35: a vector picture (SVG, WMF, EMF) whose size the user fixes in
// the picture-size window, at most the text width, inserted as a bitmap.
bool uTxm::txWmfPic() {
    txIME(false);
    const QString start = !sWmfPh.isEmpty() && QFileInfo(sWmfPh).isDir() ? sWmfPh : sSavePh;
    const QString file = Prompter::instance().openFile(TxFiles::kMetafileTitle, QString(),
                                                       TxFiles::MetafileFilter(), start);
    if (file.isEmpty())
        return false;
    sWmfPh = QFileInfo(file).absolutePath() + u'/';
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || !VectorPicture::FromBytes(f.readAll())) {
        Prompter::instance().message(QStringLiteral("ﾌｧｲﾙ: ") + file +
                                         QStringLiteral(" を読み込めません｡"),
                                     Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return false;
    }
    const QString bmp = Usr::sWrkFd + kWrkBmp;
    bool ok = false;
    sbWmf(this).Act(file, bmp, textWidth(), ok);
    return ok && InsPicFl(bmp);
}

// Command 34: starts marking; the picture chosen afterwards fills the
// marked rectangle at the place where the marking began.
bool uTxm::txMarkPic() {
    delete areaMark_;
    QWidget* surface = mTxt->viewport();
    areaMark_ = new TxAreaMark(surface, [this, surface](const QRect& r) {
        areaMark_ = nullptr;
        if (r.isEmpty())
            return;
        if (auto* edit = mTxt->ActiveEdit(); edit == mTxt)
            mTxt->setTextCursor(mTxt->cursorForPosition(r.topLeft()));
        Q_UNUSED(surface);
        txIME(false);
        // The rectangle is in screen pixels of 15 twips at the current zoom.
        const int zoom = std::max(1, mTxt->ZoomFactor());
        // The image editor draws a picture of the marked size; without it
        // the user chooses a picture file to fill the rectangle.
        const QString file =
            TxCompanion::HaveImageEditor()
                ? TxCompanion::ImageEditorResult(iTy, Usr::sWrkFd, r.width() * 100 / zoom,
                                                 r.height() * 100 / zoom)
                : Prompter::instance().openFile(TxFiles::kPictureTitle, QString(),
                                                TxFiles::PictureFilter(), sSavePh);
        QFile f(file);
        if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
            return;
        if (insertPicture(f.readAll(), file, r.width() * 15 * 100 / zoom))
            SetDcEdt(true);
        SetTlBar();
    });
    return true;
}

namespace {
bool isImage(const TxEngine* e, int id) {
    for (int i = e->NextImage(0); i != 0; i = e->NextImage(i))
        if (i == id)
            return true;
    return false;
}
} // namespace

bool uTxm::ObjPicEdit() {
    const int id = mTxt->CurObject();
    if (!id || !isImage(mTxt, id))
        return false;
    // The image editor edits the picture's own file where it refers to
    // one, else it starts from the work folder.
    const QString linked = mTxt->ObjectFileName(id);
    const QString made = TxCompanion::ImageEditorResult(
        iTy, !linked.isEmpty() && QFileInfo(linked).isFile() ? linked : Usr::sWrkFd);
    if (made.isEmpty())
        return false;
    {
        Busy busy(*this);
        mTxt->SetCurObject(id);
        if (!mTxt->ImageDelete(id))
            return false;
        InsPicFl(made);
    }
    SetDcEdt(true);
    SetTlBar();
    return true;
}

bool uTxm::ObjPicDelete() {
    const int id = mTxt->CurObject();
    if (!id || !isImage(mTxt, id))
        return false;
    {
        Busy busy(*this);
        // An inline picture inside a link: the marker goes, its text stays.
        mTxt->SetCurObject(id);
        if (const int field = mTxt->FieldAtCaret()) {
            mTxt->SetCurField(field);
            const int pos = mTxt->SelStart();
            if (mTxt->FieldStart() <= pos && pos < mTxt->FieldEnd())
                mTxt->FieldDelete(true);
            mTxt->SetCurObject(id);
        }
        if (!mTxt->ImageDelete(id))
            return false;
    }
    SetDcEdt(true);
    SetTlBar();
    return true;
}
