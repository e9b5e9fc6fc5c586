#pragma once
// Pagination and painting of a TxDocument. The body QTextDocument is always
// laid out in whole pages (page size, margins as the root frame's margins,
// then a gap), so page numbers, the page view, printing and PDF agree, and
// switching views never relayouts or touches the undo history:
//   normal view  the text alone; a dotted line in the gap marks page ends;
//   page view    page edges, gaps, headers, footers, frames and images.
// The zoom is the resolution of the layout's paint device (96 dpi at 100 %),
// so Qt lays the text out at the zoomed size and the editor's caret and
// mouse work unchanged.
//
// Units: "page pixels" are 15 twips; "layout units" are the body layout's
// pixels (page pixels times scale()).

#include <QImage>
#include <QPointF>
#include <QRectF>

class QPainter;
class QTextDocument;
class QTextEdit;
class TxDocument;
struct TxImage;
struct TxFrame;

class Pager {
public:
    static constexpr int kGapPx = 20; // page pixels between pages in the page view

    Pager();

    void setView(int viewMode, int zoomPercent);
    int viewMode() const { return view_; }
    int zoom() const { return zoom_; }
    // Layout units per page pixel.
    double scale() const { return dpi_ / 96.0; }

    // Applies the page geometry to the body and its editor (wrap width).
    // True when the body's root frame format had to change.
    bool apply(TxDocument& doc, QTextEdit* edit);
    // Restores the page height when the editor dropped it.
    void ensure(TxDocument& doc) const;
    // Lays a header, footer or frame document out at `widthPx` page pixels.
    static void layoutPart(QTextDocument* part, double widthPx);

    // Geometry of the body layout, in layout units.
    double pitch(const TxDocument& doc) const;              // from one page to the next
    QRectF pageBand(const TxDocument& doc, int page) const; // page (from 1) incl. margins
    // Page (from 1) of a layout position, and that position in page pixels.
    int pageAt(const TxDocument& doc, double layoutY) const;
    QPointF toPage(const TxDocument& doc, QPointF layoutPos, int* page = nullptr) const;
    QPointF fromPage(const TxDocument& doc, int page, QPointF pagePx) const;

    int pageCount(const TxDocument& doc) const;

    // Paints page `page` (from 1): white page, header, footer, body text
    // (unless !withBody), frames and positioned images. `scale` maps page
    // pixels to painter units; the page's top-left is the painter's origin.
    void paintPage(const TxDocument& doc, QPainter& p, int page, double scale,
                   bool withBody = true) const;
    // The parts of the page view the editor draws around its own text: gaps,
    // page edges, headers, footers (behind) or frames and images (over).
    void paintViewUnder(const TxDocument& doc, QPainter& p, const QRectF& layoutRect) const;
    void paintViewOver(const TxDocument& doc, QPainter& p, const QRectF& layoutRect,
                       int selectedId) const;

    // Where a positioned image or frame stands: its page and its rectangle
    // in page pixels. False when its anchor is not in the body or a frame.
    bool placeImage(const TxDocument& doc, const TxImage& im, int* page, QRectF* rect) const;
    bool placeFrame(const TxDocument& doc, const TxFrame& fr, int* page, QRectF* rect) const;
    // Header/footer part shown on `page`, with its rectangle in page pixels.
    QTextDocument* headerOf(const TxDocument& doc, int page, QRectF* rect) const;
    QTextDocument* footerOf(const TxDocument& doc, int page, QRectF* rect) const;

private:
    void paintParts(const TxDocument& doc, QPainter& p, int page, double scale, bool under,
                    int selectedId) const;
    QPointF anchorPagePos(const TxDocument& doc, const class QTextCursor& anchor, int vRel,
                          int* page) const;

    int view_ = 0;
    int zoom_ = 100;
    int dpi_ = 96;
    QImage device_; // its resolution sets the body layout's zoom
};
