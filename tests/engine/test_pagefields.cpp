// Page-number fields in headers and footers show each page's own number
// (on screen, on paper and in PDF) while the document keeps the field; hidden
// text is left out of printed and PDF pages, the lines closing up over it.
#include "Corpus.h"
#include "Document.h"
#include "EngineTestUtil.h"
#include "ModelBridge.h"
#include "NativeFormat.h"
#include "Pager.h"
#include "PdfExport.h"
#include "TxDocument.h"
#include "TxFieldOps.h"
#include "TxNotes.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace model;

namespace {

CharFormat big(bool hidden = false) {
    CharFormat f;
    f.halfPoints = 40; // 20 pt
    f.bold = true;
    f.hidden = hidden;
    return f;
}

Inline pageField(FieldType type, const QString& instruction, const QString& stored) {
    Field f;
    f.type = type;
    f.instruction = instruction;
    f.result.push_back(Inline::makeText(stored, big()));
    return Inline::makeField(f, big());
}

Block paragraph(std::vector<Inline> content, bool hiddenMark = false) {
    Paragraph p;
    p.markFormat = big(hiddenMark);
    p.content = std::move(content);
    return Block::makeParagraph(p);
}

// Three pages (hard page breaks); the footer reads "Page N of M" through
// PAGE and NUMPAGES fields, or holds `literal` when given.
Document threePages(const QString& literal = QString()) {
    Document d;
    Section s;
    s.blocks.push_back(paragraph({Inline::makeText(
        QString("one") + QChar(kPageBreak) + "two" + QChar(kPageBreak) + "three", big())}));
    if (literal.isEmpty())
        s.footer.push_back(paragraph(
            {Inline::makeText("Page ", big()), pageField(FieldType::Page, " PAGE ", "7"),
             Inline::makeText(" of ", big()), pageField(FieldType::NumPages, " NUMPAGES ", "9")}));
    else
        s.footer.push_back(paragraph({Inline::makeText(literal, big())}));
    d.sections.push_back(s);
    return d;
}

QImage paint(TxDocument& tx, int page) {
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    QImage img(int(tx.page.width / 15.0) + 1, int(tx.page.height / 15.0) + 1, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QPainter p(&img);
    pager.paintPage(tx, p, page, 1.0);
    return img;
}

// The footer's band: the bottom margin of the page.
QImage footerBand(const QImage& page, const TxDocument& tx) {
    const int top = int((tx.page.height - tx.page.marginBottom) / 15.0);
    return page.copy(0, top, page.width(), page.height() - top);
}

bool havePdfText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of each page of a PDF, without white space.
QStringList pdfPages(const TxDocument& tx) {
    QByteArray bytes;
    QString error;
    EXPECT_TRUE(pdfexport::write(tx, &bytes, &error)) << qPrintable(error);
    QTemporaryDir dir;
    const QString path = dir.path() + "/out.pdf";
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString& s : pages)
        s.remove(QRegularExpression(QStringLiteral("\\s")));
    return pages;
}

// The page-number field of a model section's footer, if any.
const Field* footerField(const Document& d, FieldType type) {
    if (d.sections.empty())
        return nullptr;
    for (const Block& b : d.sections[0].footer)
        if (b.kind == Block::Kind::Paragraph)
            for (const Inline& in : b.paragraph.content)
                if (in.kind == Inline::Kind::Field && in.field.type == type)
                    return &in.field;
    return nullptr;
}

} // namespace

TEST(PageFields, NumberFormats) {
    using txfield::pageNumberText;
    EXPECT_EQ(pageNumberText(" PAGE ", "1", 12), "12");
    EXPECT_EQ(pageNumberText("PAGE \\* MERGEFORMAT", "1", 3), "3");
    EXPECT_EQ(pageNumberText("PAGE \\* roman", "i", 14), "xiv");
    EXPECT_EQ(pageNumberText("PAGE \\* ROMAN", "I", 1994), "MCMXCIV");
    EXPECT_EQ(pageNumberText("PAGE \\* alphabetic", "a", 28), "bb");
    EXPECT_EQ(pageNumberText("PAGE \\*ALPHABETIC", "A", 3), "C");
    EXPECT_EQ(pageNumberText("PAGE \\* ArabicDash", "- 1 -", 5), "- 5 -");
    EXPECT_EQ(pageNumberText("PAGE \\* DBCHAR", "1", 10), QString::fromUtf8("１０"));
    // Without a format the stored result's digits decide.
    EXPECT_EQ(pageNumberText(" PAGE ", QString::fromUtf8("４"), 12), QString::fromUtf8("１２"));
    EXPECT_EQ(pageNumberText(" PAGE ", "4", 12), "12");
}

TEST(PageFields, FooterShowsEachPagesNumberWhereverPainted) {
    TxDocument tx;
    bridge::toEngine(threePages(), tx);
    const QString stored = tx.part(4)->toPlainText();
    ASSERT_EQ(stored, "Page 7 of 9");
    const int undoSteps = tx.part(4)->availableUndoSteps();
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    ASSERT_EQ(pager.pageCount(tx), 3);
    for (int page = 1; page <= 3; ++page) {
        const QString want = QString("Page %1 of 3").arg(page);
        EXPECT_EQ(pager.partText(tx, 4, page, true), want);
        EXPECT_EQ(pager.partText(tx, 4, page, false), want);
    }
    // The normal view's pages (a paginated copy) count the same.
    Pager normal;
    normal.setView(0, 100);
    normal.apply(tx, nullptr);
    EXPECT_EQ(normal.partText(tx, 4, 2, false), "Page 2 of 3");

    // A painted footer looks like one holding the literal text.
    for (int page : {1, 3}) {
        TxDocument literal;
        bridge::toEngine(threePages(QString("Page %1 of 3").arg(page)), literal);
        const QImage got = footerBand(paint(tx, page), tx);
        EXPECT_EQ(got, footerBand(paint(literal, page), literal)) << "page " << page;
    }
    EXPECT_NE(footerBand(paint(tx, 1), tx), footerBand(paint(tx, 2), tx));

    // Painting left the stored document alone: field, text and undo history.
    EXPECT_EQ(tx.part(4)->toPlainText(), stored);
    EXPECT_EQ(tx.part(4)->availableUndoSteps(), undoSteps);
    EXPECT_NE(footerField(bridge::fromEngine(tx), FieldType::Page), nullptr);

    // The part is edited: the next paint shows the new text with numbers.
    QTextCursor c(tx.part(4));
    c.insertText("X ");
    EXPECT_EQ(pager.partText(tx, 4, 2, true), "X Page 2 of 3");
}

namespace {

// The page view's drawing under the text (page edges, headers, footers) of
// page `page`'s footer band, as the editor paints it on screen.
QImage screenFooter(TxDocument& tx, int page) {
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    const QRectF band = pager.pageBand(tx, page);
    QImage img(int(band.width()) + 1, int(band.bottom()) + 1, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    pager.paintViewUnder(tx, p, QRectF(0, 0, img.width(), img.height()));
    p.end();
    const int top = int(band.top() + (tx.page.height - tx.page.marginBottom) / 15.0);
    return img.copy(0, top, img.width(), int(band.bottom()) - top);
}

} // namespace

TEST(PageFields, PageViewOnScreenShowsEachPagesNumber) {
    TxDocument tx;
    bridge::toEngine(threePages(), tx);
    for (int page : {2, 3}) {
        TxDocument literal;
        bridge::toEngine(threePages(QString("Page %1 of 3").arg(page)), literal);
        EXPECT_EQ(screenFooter(tx, page), screenFooter(literal, page)) << "page " << page;
    }
    TxDocument first;
    bridge::toEngine(threePages("Page 1 of 3"), first);
    EXPECT_NE(screenFooter(tx, 2), screenFooter(first, 2));
}

TEST(PageFields, FieldWithoutResultStillShowsTheNumber) {
    Document d = threePages("Page ");
    Field page;
    page.type = FieldType::Page;
    page.instruction = " PAGE ";
    d.sections[0].footer[0].paragraph.content.push_back(Inline::makeField(page, big()));
    TxDocument tx;
    bridge::toEngine(d, tx);
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    EXPECT_EQ(pager.partText(tx, 4, 3, true), "Page 3");
    EXPECT_EQ(tx.part(4)->toPlainText(), "Page ");
}

TEST(PageFields, SavedFilesKeepTheField) {
    TxDocument tx;
    bridge::toEngine(threePages(), tx);
    QTemporaryDir dir;
    const QString nativePath = dir.path() + "/in.tx";
    {
        QFile f(nativePath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(native::save(tx));
    }
    for (int format : {int(TxEngine::FmtDoc), int(TxEngine::FmtDocx)}) {
        TxEngine e;
        ASSERT_TRUE(e.LoadFile(nativePath, TxEngine::FmtNative));
        // Painting every page first must not turn the field into its number.
        for (int page = 1; page <= e.PageCount(); ++page) {
            QImage img(100, 100, QImage::Format_RGB32);
            e.PaintPage(&img, page, 10);
        }
        const QString path = dir.path() + (format == TxEngine::FmtDoc ? "/out.doc" : "/out.docx");
        ASSERT_TRUE(e.SaveFile(path, format));
        TxEngine back;
        ASSERT_TRUE(back.LoadFile(path, format));
        const Document m = bridge::fromEngine(back.document2());
        EXPECT_NE(footerField(m, FieldType::Page), nullptr) << qPrintable(path);
        EXPECT_NE(footerField(m, FieldType::NumPages), nullptr) << qPrintable(path);
        Pager pager;
        pager.setView(2, 100);
        pager.apply(back.document2(), nullptr);
        EXPECT_EQ(pager.partText(back.document2(), 4, 2, true), "Page 2 of 3") << qPrintable(path);
    }
}

TEST(PageFields, PdfPagesCarryTheirNumbers) {
    if (!havePdfText())
        GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
    TxDocument tx;
    bridge::toEngine(threePages(), tx);
    const QStringList pages = pdfPages(tx);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("Page1of3")) << qPrintable(pages[0]);
    EXPECT_TRUE(pages[1].contains("Page2of3")) << qPrintable(pages[1]);
    EXPECT_TRUE(pages[2].contains("Page3of3")) << qPrintable(pages[2]);
    EXPECT_FALSE(pages.join("").contains("of9"));
}

namespace {

// One paragraph, with a hidden word in the middle when `withHidden`.
Document hiddenWord(bool withHidden, bool inFooter = false) {
    Document d;
    Section s;
    std::vector<Inline> runs{Inline::makeText("Visible ", big())};
    if (withHidden)
        runs.push_back(Inline::makeText("secretword ", big(true)));
    runs.push_back(Inline::makeText("more", big()));
    s.blocks.push_back(paragraph(runs));
    if (inFooter)
        s.footer.push_back(paragraph(runs));
    d.sections.push_back(s);
    return d;
}

} // namespace

TEST(HiddenOnPaper, LeftOutAndClosedUp) {
    TxDocument tx, plain;
    bridge::toEngine(hiddenWord(true, true), tx);
    bridge::toEngine(hiddenWord(false, true), plain);
    // The printed page is the page without the word: the line closes up.
    EXPECT_EQ(paint(tx, 1), paint(plain, 1));
    // The screen keeps showing it; the stored text keeps it.
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    EXPECT_EQ(pager.partText(tx, 4, 1, false), "Visible secretword more");
    EXPECT_EQ(pager.partText(tx, 4, 1, true), "Visible more");
    EXPECT_TRUE(tx.body()->toPlainText().contains("secretword"));

    // Text made hidden after a page was printed is left out of the next.
    QImage before(200, 200, QImage::Format_RGB32), after(200, 200, QImage::Format_RGB32);
    for (QImage* img : {&before, &after}) {
        if (img == &after)
            for (QTextDocument* d : {tx.body(), tx.part(4)}) {
                QTextCursor c(d);
                c.setPosition(0);
                c.setPosition(7, QTextCursor::KeepAnchor); // "Visible"
                QTextCharFormat f;
                txnote::setHidden(f);
                c.mergeCharFormat(f);
            }
        img->fill(Qt::white);
        QPainter p(img);
        pager.paintPage(tx, p, 1, 0.2);
    }
    // The body's first lines, then the footer.
    const int top = int(tx.page.marginTop / 15.0 * 0.2);
    EXPECT_NE(before.copy(0, top, 200, 20), after.copy(0, top, 200, 20));
    EXPECT_EQ(pager.partText(tx, 4, 1, true), " more");
    EXPECT_EQ(pager.paperPageCount(tx), 1);
}

TEST(HiddenOnPaper, PictureAtACharacterMovesWithTheText) {
    // A red picture placed at the character after the hidden word stands
    // where it stands when the word is not there at all.
    auto withPicture = [](bool hidden) {
        Document d = hiddenWord(hidden);
        Picture pic;
        pic.data = pngBytes(30, 30);
        pic.type = ImageType::Png;
        pic.width = pic.height = 450;
        pic.wrap = Wrap::Free;
        pic.horizontalRelation = HorizontalRelation::Character;
        pic.verticalRelation = VerticalRelation::Line;
        pic.y = 900;
        auto& runs = d.sections[0].blocks[0].paragraph.content;
        runs.insert(runs.end() - 1, Inline::makePicture(pic));
        return d;
    };
    TxDocument tx, plain;
    bridge::toEngine(withPicture(true), tx);
    bridge::toEngine(withPicture(false), plain);
    const QImage got = paint(tx, 1);
    EXPECT_EQ(got, paint(plain, 1));
    EXPECT_EQ(got.pixel(got.width() / 2, got.height() / 2), qRgb(255, 255, 255));
    int red = 0;
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            red += got.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 500);
}

TEST(HiddenOnPaper, FewerPagesWhenHiddenTextTakesThem) {
    Document d;
    Section s;
    s.blocks.push_back(paragraph({Inline::makeText("first", big())}));
    for (int i = 0; i < 60; ++i)
        s.blocks.push_back(
            paragraph({Inline::makeText(QString("hidden line %1").arg(i), big(true))}, true));
    s.blocks.push_back(paragraph({Inline::makeText("last", big())}));
    d.sections.push_back(s);
    TxDocument tx;
    bridge::toEngine(d, tx);
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    EXPECT_GT(pager.pageCount(tx), 1);
    EXPECT_EQ(pager.paperPageCount(tx), 1);
    EXPECT_FALSE(pager.hasPaperPage(tx, 2));
    EXPECT_TRUE(pager.hasPage(tx, 2));
    // Printing and its preview count the paper's pages.
    QTemporaryDir dir;
    const QString path = dir.path() + "/hidden.tx";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(native::save(tx));
    f.close();
    TxEngine e;
    ASSERT_TRUE(e.LoadFile(path, TxEngine::FmtNative));
    EXPECT_GT(e.PageCount(), 1);
    EXPECT_EQ(e.PrintPageCount(), 1);
    EXPECT_FALSE(e.HasPrintPage(2));
    QImage img(100, 100, QImage::Format_RGB32);
    EXPECT_FALSE(e.PaintPage(&img, 2, 10));
}

TEST(HiddenOnPaper, PdfLacksTheHiddenWord) {
    if (!havePdfText())
        GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
    TxDocument tx;
    bridge::toEngine(hiddenWord(true, true), tx);
    const QString text = pdfPages(tx).join("");
    EXPECT_FALSE(text.contains("secretword")) << qPrintable(text);
    EXPECT_EQ(text.count("Visiblemore"), 2) << qPrintable(text); // body and footer
}

TEST(PageFields, CorpusFooterCountsItsPages) {
    const QString file = Corpus::path("rtf/rtf.js/japanese-single-double-byte.rtf");
    if (!QFile::exists(file)) {
        if (Corpus::underCi())
            FAIL() << Corpus::missingMessage();
        GTEST_SKIP() << Corpus::missingMessage();
    }
    TxEngine e;
    ASSERT_TRUE(e.LoadFile(file, TxEngine::FmtRtf));
    TxDocument& tx = e.document2();
    // The file stored "4" as the footer's page number.
    Pager pager;
    pager.setView(2, 100);
    pager.apply(tx, nullptr);
    const int pages = pager.paperPageCount(tx);
    int bit = 0;
    for (int b : {4, 8, 1, 2})
        if (!bit && tx.part(b) && pager.partText(tx, b, 1, true) != tx.part(b)->toPlainText())
            bit = b;
    ASSERT_NE(bit, 0) << "no part with a page number";
    EXPECT_GT(pages, 1);
    // The number stands in the part's first line.
    for (int page = 1; page <= pages; ++page)
        EXPECT_EQ(pager.partText(tx, bit, page, true).section(u'\n', 0, 0).trimmed(),
                  QString::number(page));
}
