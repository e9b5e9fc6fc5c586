#pragma once
// Pagination and painting of a TxDocument. The body is laid out at the
// page's width with the page margins as its root frame's margins (so
// switching views never touches the undo history):
//   page view    the body is paginated: whole pages followed by a gap, with
//                page edges, headers, footers, frames and images drawn;
//   normal view  the body is one long flow (typing stays fast in long
//                documents); page numbers there are estimated from the text
//                height of a page, and page counts and painting use a
//                paginated copy of the text.
// Page numbers, the page view, printing and PDF come from one pagination.
// The zoom is the resolution of the layout's paint device (96 dpi at 100 %),
// so Qt lays the text out at the zoomed size and the editor's caret and
// mouse work unchanged.
//
// Units: "page pixels" are 15 twips; "layout units" are the body layout's
// pixels (page pixels times scale()).

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QRectF>

#include <memory>
#include <vector>

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
    double pitch(const TxDocument& doc) const;  // from one page to the next when paginated
    double stride(const TxDocument& doc) const; // ... in the layout in use
    double origin(const TxDocument& doc, int page) const;     // top of page `page`
    double contentTop(const TxDocument& doc, int page) const; // top of its text
    QRectF pageBand(const TxDocument& doc, int page) const;   // page (from 1) incl. margins
    // Page (from 1) of a layout position, and that position in page pixels.
    int pageAt(const TxDocument& doc, double layoutY) const;
    QPointF toPage(const TxDocument& doc, QPointF layoutPos, int* page = nullptr) const;
    // The page of a line at `y` in `block` of the body, and where that page's
    // lines begin (layout units).
    int pageOfLine(const TxDocument& doc, const class QTextBlock& block, double y,
                   double* pageTop) const;
    QPointF fromPage(const TxDocument& doc, int page, QPointF pagePx) const;

    int pageCount(TxDocument& doc) const;
    // Whether page `page` exists, laying the text out only that far.
    bool hasPage(TxDocument& doc, int page) const;

    // Paints page `page` (from 1) as printed: white page, header, footer,
    // body text (unless !withBody), frames and positioned images, without
    // hidden text (the lines close up over it; the screen shows it). `scale`
    // maps page pixels to painter units; the page's top-left is the
    // painter's origin.
    void paintPage(TxDocument& doc, QPainter& p, int page, double scale,
                   bool withBody = true) const;
    // The pages as printed (paintPage): fewer than pageCount() when hidden
    // text takes lines on screen.
    int paperPageCount(TxDocument& doc) const;
    bool hasPaperPage(TxDocument& doc, int page) const;
    // The text header/footer part `bit` (TxDocument::part) shows on `page`,
    // on paper or on screen: page-number fields give that page's number.
    QString partText(TxDocument& doc, int bit, int page, bool paper) const;
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
    bool paged() const { return paged_ || view_ == 2; }
    // The body layout geometry refers to: the paginated one during a page
    // operation, else the body's own.
    QTextDocument* layoutOf(const TxDocument& doc) const;
    QTextDocument* pagedLayout(TxDocument& doc) const;
    // The paginated layout without hidden text (pagedLayout's when there is
    // none).
    QTextDocument* paperLayout(TxDocument& doc) const;
    template <typename F> auto withPaged(TxDocument& doc, F f, bool paper = false) const {
        paged_ = paper ? paperLayout(doc) : pagedLayout(doc);
        auto result = f();
        paged_ = nullptr;
        return result;
    }
    bool hasPageNow(TxDocument& doc, int page) const;
    void paintPaged(const TxDocument& doc, QPainter& p, int page, double scale,
                    bool withBody) const;
    void paintParts(const TxDocument& doc, QPainter& p, int page, double scale, bool under,
                    int selectedId, bool paper) const;
    // What header, footer or frame document `part` shows on `page`: the part
    // itself, or a copy with the page's numbers in its page-number fields
    // and, on paper, without hidden text. Copies are kept for a few pages.
    QTextDocument* shownPart(const TxDocument& doc, QTextDocument* part, int page,
                             bool paper) const;
    QPointF anchorPagePos(const TxDocument& doc, const class QTextCursor& anchor, int vRel,
                          int* page) const;

    int view_ = 0;
    int zoom_ = 100;
    int dpi_ = 96;
    mutable QImage device_; // its resolution sets the body layout's zoom
    mutable QTextDocument* paged_ = nullptr;
    mutable std::unique_ptr<QTextDocument> clone_;
    mutable const QTextDocument* cloneOf_ = nullptr;
    mutable int cloneRevision_ = -1;
    mutable int cloneChars_ = -1;
    // The body without hidden text, for paper (none: the body has none).
    mutable std::unique_ptr<QTextDocument> paper_;
    // Watched: a document made where a deleted one was must not pass for it.
    mutable QPointer<QTextDocument> paperOf_;
    mutable int paperRevision_ = -1;
    mutable int paperChars_ = -1;
    struct PartCopy {
        QPointer<QTextDocument> of; // null once the part is deleted
        int revision = -1;
        int chars = -1;
        bool paper = false;
        int page = 0;
        int pages = 0;
        int needs = 0;                       // page 0: what the part holds (PartNeeds in Pager.cpp)
        std::unique_ptr<QTextDocument> copy; // null: the part shows as it is
    };
    mutable std::vector<PartCopy> partCopies_;
};
