// Pagination and painting: a page painted onto a QImage shows its header,
// footer, text, frames and images where the page setup puts them.
#include "EngineTestUtil.h"
#include "TxDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// Dark pixels in a rectangle (page pixels times `scale`).
int ink(const QImage& img, QRectF r, double scale = 1.0) {
    const QRect px(QPointF(r.left() * scale, r.top() * scale).toPoint(),
                   QPointF(r.right() * scale, r.bottom() * scale).toPoint());
    int n = 0;
    for (int y = std::max(0, px.top()); y <= std::min(img.height() - 1, px.bottom()); ++y)
        for (int x = std::max(0, px.left()); x <= std::min(img.width() - 1, px.right()); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ++n;
    return n;
}

QImage pageImage(const TxEngine& e, int page, int zoom = 100) {
    QImage img(int(e.PageWidth() / 15.0 * zoom / 100) + 1,
               int(e.PageHeight() / 15.0 * zoom / 100) + 1, QImage::Format_RGB32);
    img.fill(Qt::gray);
    EXPECT_TRUE(e.PaintPage(&img, page, zoom));
    return img;
}

// A4, 1440-twip margins (96 px), header and footer 720 twips (48 px) from
// the edges; big black header, footer and body texts.
void setUp(TxEngine& e) {
    e.SetPageWidth(11906);
    e.SetPageHeight(16838);
    for (auto set : {&TxEngine::SetMarginLeft, &TxEngine::SetMarginTop, &TxEngine::SetMarginRight,
                     &TxEngine::SetMarginBottom})
        (e.*set)(1440);
    e.SetHeadFootMask(TxEngine::Header | TxEngine::Footer);
    for (int part : {int(TxEngine::Header), int(TxEngine::Footer)}) {
        e.HeadFootActivate(part);
        e.SetText(part == TxEngine::Header ? "HEADER HEADER" : "FOOTER FOOTER");
        e.SetSelStart(0);
        e.SetSelLength(-1);
        e.SetFontSize(20);
        e.SetFontBold(true);
        e.HeadFootDeactivate();
    }
    e.SetText(ctl("BODY TEXT#SECOND PAGE"));
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.SetFontSize(20);
    e.SetFontBold(true);
}

} // namespace

TEST(EnginePaint, HeaderFooterAndTextWhereTheMarginsSay) {
    TxEngine e;
    setUp(e);
    ASSERT_EQ(e.PageCount(), 2);
    const QImage p1 = pageImage(e, 1);
    // The page itself is white where nothing is drawn.
    EXPECT_EQ(p1.pixel(5, 5), qRgb(255, 255, 255));
    // Header between its distance (48 px) and the top margin (96 px).
    EXPECT_GT(ink(p1, QRectF(96, 48, 600, 48)), 150);
    EXPECT_EQ(ink(p1, QRectF(96, 0, 600, 46)), 0);
    // Footer just above 48 px from the bottom (1123 - 48 = 1075).
    EXPECT_GT(ink(p1, QRectF(96, 1030, 600, 45)), 150);
    EXPECT_EQ(ink(p1, QRectF(96, 1077, 600, 45)), 0);
    // The body starts at the top margin; nothing in the left margin.
    EXPECT_GT(ink(p1, QRectF(96, 96, 600, 40)), 150);
    EXPECT_EQ(ink(p1, QRectF(0, 0, 90, 1123)), 0);
    // Page 2 has its own text and the same header.
    const QImage p2 = pageImage(e, 2);
    EXPECT_GT(ink(p2, QRectF(96, 48, 600, 48)), 150);
    EXPECT_GT(ink(p2, QRectF(96, 96, 600, 40)), 150);
    EXPECT_NE(p1.copy(96, 96, 600, 40), p2.copy(96, 96, 600, 40));
    QImage small(10, 10, QImage::Format_RGB32);
    EXPECT_FALSE(e.PaintPage(&small, 3));
    EXPECT_FALSE(e.PaintPage(&small, 0));
}

TEST(EnginePaint, MovesWithPageSetupAndZoom) {
    TxEngine e;
    setUp(e);
    // Header 1200 twips (80 px) from the top: the band above it is empty.
    e.document2().page.headerDistance = 1200;
    e.SetMarginTop(2400); // 160 px
    const QImage img = pageImage(e, 1);
    EXPECT_EQ(ink(img, QRectF(96, 0, 600, 78)), 0);
    EXPECT_GT(ink(img, QRectF(96, 80, 600, 60)), 150);
    EXPECT_EQ(ink(img, QRectF(96, 142, 600, 16)), 0);
    EXPECT_GT(ink(img, QRectF(96, 160, 600, 40)), 150);
    // At 200 % everything is twice as far.
    const QImage big = pageImage(e, 1, 200);
    EXPECT_EQ(ink(big, QRectF(96, 0, 600, 78), 2.0), 0);
    EXPECT_GT(ink(big, QRectF(96, 80, 600, 60), 2.0), 600);
    EXPECT_GT(ink(big, QRectF(96, 160, 600, 40), 2.0), 600);
}

TEST(EnginePaint, FirstPageHeaderFramesAndImages) {
    TxEngine e;
    setUp(e);
    // A first-page header replaces the header on page 1 only: leave it empty.
    e.SetHeadFootMask(TxEngine::Header | TxEngine::Footer | TxEngine::FirstHeader);
    EXPECT_EQ(ink(pageImage(e, 1), QRectF(96, 48, 600, 48)), 0);
    EXPECT_GT(ink(pageImage(e, 2), QRectF(96, 48, 600, 48)), 150);
    // A framed text frame and a red image at page positions.
    const int fr = e.TextFrameInsert(6000, 9000, 3000, 1500); // 400,600 px
    e.document2().frame(fr)->border.style = 1;
    e.TextFrameSelect(fr);
    e.SetText("FRAME");
    e.TextFrameSelect(0);
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    red.save(&buf, "PNG");
    e.SetSelStart(0);
    ASSERT_NE(e.ImageInsertBytes(bytes, TxEngine::FlowOver, 1500, 7500), 0); // 100,500 px
    const QImage p1 = pageImage(e, 1);
    EXPECT_EQ(p1.pixel(120, 520), qRgb(255, 0, 0));
    EXPECT_GT(ink(p1, QRectF(400, 600, 200, 100)), 50); // border and text
    EXPECT_EQ(p1.pixel(450, 650), qRgb(255, 255, 255));
    // Nothing of them on page 2.
    const QImage p2 = pageImage(e, 2);
    EXPECT_NE(p2.pixel(120, 520), qRgb(255, 0, 0));
    EXPECT_EQ(ink(p2, QRectF(400, 600, 200, 100)), 0);
}

TEST(EnginePaint, PageViewShowsHeadersOnScreen) {
    TxEngine e;
    setUp(e);
    e.resize(900, 700);
    e.SetViewMode(2);
    e.SetSelStart(0);
    e.show();
    e.verticalScrollBar()->setValue(0);
    const QImage shot = e.viewport()->grab().toImage();
    EXPECT_GT(ink(shot, QRectF(96, 48, 600, 48)), 150); // header in its band
    EXPECT_GT(ink(shot, QRectF(96, 96, 600, 40)), 150); // the text below it
    e.SetViewMode(0);
    const QImage normal = e.viewport()->grab().toImage();
    EXPECT_EQ(ink(normal, QRectF(96, 48, 600, 46)), 0); // no header in the normal view
    EXPECT_GT(ink(normal, QRectF(96, 96, 600, 40)), 150);
}

TEST(EnginePaint, PagesFollowEditsInBothViews) {
    TxEngine e;
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QString("Paragraph %1 with some words in it.|").arg(i);
    e.SetText(ctl(text));
    for (int view : {0, 2}) {
        SCOPED_TRACE(view);
        e.SetViewMode(view);
        e.SetSelStart(0);
        e.SetSelLength(-1);
        e.SetFontSize(10);
        const int small = e.PageCount();
        // A format change alone (no text edit) must reach the pagination.
        e.SetFontSize(30);
        const int big = e.PageCount();
        EXPECT_GT(big, small);
        e.SetSelStart(0);
        e.SetSelText(ctl("#"));
        EXPECT_EQ(e.PageCount(), big + 1);
        e.Undo();
        EXPECT_EQ(e.PageCount(), big);
        QImage img(100, 150, QImage::Format_RGB32);
        EXPECT_TRUE(e.PaintPage(&img, big, 10));
        EXPECT_FALSE(e.PaintPage(&img, big + 1, 10));
    }
}

// The marks of a space, a full-width space and a tab are drawn inside the
// character's own cell (none over the letters beside it), each of them is
// drawn, and so is the mark ending the document's last paragraph.
TEST(EnginePaint, SpaceAndTabMarksStayInTheirCells) {
    TxEngine e;
    e.resize(700, 300);
    e.SetText(QString::fromUtf8("ab cd\u3000ef\tgh il"));
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.SetFontSize(10.5);
    e.SetFontName(QString::fromUtf8("ＭＳ Ｐゴシック"));
    e.SetZoomFactor(125);
    // Lines placed within their paragraph: a left indent and a fixed line
    // height larger than the text.
    e.SetLeftIndent(720);
    e.SetLineSpacing(600);
    e.SetSelStart(0);
    e.show();
    e.SetShowCtrlChars(false);
    const QImage plain = e.viewport()->grab().toImage();
    e.SetShowCtrlChars(true);
    const QImage marked = e.viewport()->grab().toImage();
    ASSERT_EQ(plain.size(), marked.size());

    const QTextBlock b = e.document()->begin();
    const QPointF origin = e.document()->documentLayout()->blockBoundingRect(b).topLeft();
    const QString text = b.text();
    std::vector<QRectF> cells;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != u' ' && text[i] != u'\u3000' && text[i] != u'\t')
            continue;
        const QTextLine line = b.layout()->lineForTextPosition(i);
        const double x1 = origin.x() + line.cursorToX(i);
        const double x2 = origin.x() + line.cursorToX(i + 1);
        cells.emplace_back(x1 - 0.5, origin.y() + line.y(), x2 - x1 + 1, line.height());
    }
    ASSERT_EQ(cells.size(), 4u);
    // The paragraph mark of the document's last paragraph, after its text.
    const QTextLine last = b.layout()->lineAt(b.layout()->lineCount() - 1);
    const double end = origin.x() + last.cursorToX(text.size());
    cells.emplace_back(end - 0.5, origin.y() + last.y(), last.height(), last.height());
    std::vector<int> inCell(cells.size(), 0);
    int outside = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) == marked.pixel(x, y))
                continue;
            const QPointF at(x + 0.5, y + 0.5);
            const auto cell = std::find_if(cells.begin(), cells.end(),
                                           [&](const QRectF& c) { return c.contains(at); });
            if (cell == cells.end())
                ++outside;
            else
                ++inCell[size_t(cell - cells.begin())];
        }
    EXPECT_EQ(outside, 0);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_GT(inCell[i], 0) << "mark " << i;
}
