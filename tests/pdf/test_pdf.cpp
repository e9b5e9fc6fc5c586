// PDF out: what poppler's tools read back from the engine's PDF (text,
// fonts, pages, page size, links), the headless converter's PDF, and the
// repair of the text maps of shared CJK glyphs.
#include "EngineTestUtil.h"

#include "Converter.h"
#include "Document.h"
#include "MsDoc.h"
#include "PdfExport.h"
#include "PdfText.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

bool havePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

#define REQUIRE_POPPLER()                                                                          \
    if (!havePoppler())                                                                            \
    GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts, pdfinfo) not installed"

QString run(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << qPrintable(tool);
    EXPECT_EQ(p.exitCode(), 0) << qPrintable(tool) << ": "
                               << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page as pdftotext reads it, without white space (the
// tool's line and word breaks follow the layout, not the paragraphs).
QStringList pagesText(const QString& pdf) {
    QStringList pages = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString& p : pages)
        p.remove(QRegularExpression(QStringLiteral("\\s")));
    return pages;
}

QString squeezed(QString s) {
    return s.remove(QRegularExpression(QStringLiteral("[\\s\\x{b}\\x{c}]")));
}

QString info(const QString& pdf, const QString& key) {
    const QRegularExpression re(QStringLiteral("^%1:\\s*(.*)$").arg(key),
                                QRegularExpression::MultilineOption);
    return re.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).trimmed();
}

QString savePdf(const TxEngine& e, const QString& name = QStringLiteral("out.pdf")) {
    const QString path = TestEnv::freshDir() + u'/' + name;
    QString why;
    EXPECT_TRUE(e.SavePdf(path, &why)) << why.toStdString();
    return path;
}

// Japanese with ideographs whose glyphs the CJK fonts share with radicals
// (日, 月, 人, 大, 山, 水, 一), Latin text, and a forced page break.
const char* kText = "Folium PDF 日本語の文書|一月の人は大山の水を見る。|#Second page "
                    "テキスト 二ページ目";

} // namespace

TEST(Pdf, TextFontsAndPages) {
    REQUIRE_POPPLER();
    TxEngine e;
    e.SetText(ctl(QString::fromUtf8(kText)));
    const QString pdf = savePdf(e);

    // The text comes back out page by page, Japanese included.
    const QStringList pages = pagesText(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0],
              squeezed(QString::fromUtf8("Folium PDF 日本語の文書一月の人は大山の水を見る。")));
    EXPECT_EQ(pages[1], squeezed(QString::fromUtf8("Second page テキスト 二ページ目")));
    EXPECT_EQ(info(pdf, QStringLiteral("Pages")).toInt(), e.PageCount());

    // Every font is in the file, a Japanese one among them.
    const QStringList rows = run(QStringLiteral("pdffonts"), {pdf}).split(u'\n').mid(2);
    int fonts = 0;
    bool cjk = false;
    for (const QString& row : rows) {
        if (row.trimmed().isEmpty())
            continue;
        ++fonts;
        // name type... encoding emb sub uni id gen
        const QStringList cols = row.split(u' ', Qt::SkipEmptyParts);
        ASSERT_GE(cols.size(), 6) << row.toStdString();
        EXPECT_EQ(cols[cols.size() - 5], QStringLiteral("yes"))
            << "not embedded: " << row.toStdString();
        cjk = cjk || row.contains(QStringLiteral("CJK"));
    }
    EXPECT_GE(fonts, 1);
    EXPECT_TRUE(cjk) << "no Japanese font in the PDF";
}

TEST(Pdf, PageCountFollowsTheEngineInBothViews) {
    REQUIRE_POPPLER();
    TxEngine e;
    QString text;
    for (int i = 0; i < 180; ++i)
        text += QStringLiteral("Paragraph %1 with some words to fill a line or two of the page "
                               "and a few more. 段落の本文です。|")
                    .arg(i);
    e.SetText(ctl(text));
    e.SetFontSize(12);
    for (int view : {int(TxEngine::ViewNormal), int(TxEngine::ViewPage)}) {
        e.SetViewMode(view);
        const int pages = e.PageCount();
        ASSERT_GT(pages, 3);
        const QString pdf = savePdf(e);
        EXPECT_EQ(info(pdf, QStringLiteral("Pages")).toInt(), pages) << "view " << view;
        // The last paragraph is on the last page.
        EXPECT_TRUE(pagesText(pdf).value(pages - 1).contains(QStringLiteral("Paragraph179")))
            << pagesText(pdf).value(pages - 1).right(300).toStdString();
    }
}

TEST(Pdf, PageSizeMarginsHeadersAndFooters) {
    REQUIRE_POPPLER();
    TxEngine e;
    // A4 landscape, a 2-inch left margin.
    e.SetPageWidth(16838);
    e.SetPageHeight(11906);
    e.SetMarginLeft(2880);
    e.SetMarginTop(1440);
    e.SetHeadFootMask(TxEngine::Header | TxEngine::Footer);
    e.HeadFootActivate(TxEngine::Header);
    e.SetText(QStringLiteral("HeaderLine"));
    e.HeadFootDeactivate();
    e.HeadFootActivate(TxEngine::Footer);
    e.SetText(QStringLiteral("FooterLine"));
    e.HeadFootDeactivate();
    e.SetText(ctl(QStringLiteral("Leftmost body|#Second")));
    const QString pdf = savePdf(e);

    const QRegularExpression size(QStringLiteral("([\\d.]+) x ([\\d.]+) pts"));
    const auto m = size.match(info(pdf, QStringLiteral("Page size")));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), 16838 / 20.0, 0.5);
    EXPECT_NEAR(m.captured(2).toDouble(), 11906 / 20.0, 0.5);

    // Words with their boxes: the body starts at the left margin, below the
    // header; the header and footer are on every page.
    const QString boxes =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression word(
        QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>Leftmost<"));
    const auto w = word.match(boxes);
    ASSERT_TRUE(w.hasMatch()) << boxes.left(2000).toStdString();
    EXPECT_NEAR(w.captured(1).toDouble(), 2880 / 20.0, 3.0);
    EXPECT_GE(w.captured(2).toDouble(), 1440 / 20.0 - 3.0);
    const QStringList pages = pagesText(pdf);
    ASSERT_EQ(pages.size(), 2);
    for (const QString& p : pages) {
        EXPECT_TRUE(p.startsWith(QStringLiteral("HeaderLine"))) << p.toStdString();
        EXPECT_TRUE(p.endsWith(QStringLiteral("FooterLine"))) << p.toStdString();
    }
}

TEST(Pdf, WebLinksClickableMarkersNot) {
    TxEngine e;
    e.SetText(QStringLiteral("See "));
    e.SetSelStart(4);
    int id = e.FieldInsert(QStringLiteral("the site"));
    e.SetFieldTarget(id, QStringLiteral("https://example.com/a?b=1"));
    e.SetSelStart(e.Text().size());
    e.SetSelText(QStringLiteral(" and "));
    id = e.FieldInsert(QStringLiteral("page two"));
    e.SetFieldTarget(id, QStringLiteral("TP_two"));
    const bool modified = e.document()->isModified();
    const QByteArray pdf = TestEnv::readFile(savePdf(e));
    EXPECT_EQ(pdf.count("/Subtype /Link"), 1);
    EXPECT_TRUE(pdf.contains("/URI (https://example.com/a?b=1)"));
    EXPECT_FALSE(pdf.contains("TP_two"));
    // The document shown keeps its fields as they were (links are marked on
    // a copy).
    EXPECT_EQ(e.FieldTarget(id), QStringLiteral("TP_two"));
    EXPECT_EQ(e.document()->isModified(), modified);
    EXPECT_EQ(e.Text(), QStringLiteral("See the site and page two"));
}

TEST(Pdf, LinkTargets) {
    using pdfexport::linkTarget;
    EXPECT_EQ(linkTarget(QStringLiteral("http://a.jp/x y")), QStringLiteral("http://a.jp/x%20y"));
    EXPECT_EQ(linkTarget(QStringLiteral("www.example.com")),
              QStringLiteral("http://www.example.com"));
    EXPECT_EQ(linkTarget(QStringLiteral("mailto:a@b.jp")), QStringLiteral("mailto:a@b.jp"));
    EXPECT_EQ(linkTarget(QStringLiteral("/home/u/資料.doc")),
              QStringLiteral("file:///home/u/%E8%B3%87%E6%96%99.doc"));
    for (const char* none : {"TP_anchor", "TG_12", "DX_name", "@", "", "relative.doc"})
        EXPECT_EQ(linkTarget(QString::fromUtf8(none)), QString()) << none;
}

TEST(Pdf, SaveBytesAndFailures) {
    TxEngine e;
    e.SetText(QStringLiteral("bytes"));
    bool ok = false;
    const QByteArray bytes = e.SaveBytes(TxEngine::FmtPdf, 0, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    // A folder that cannot be written: reported, nothing claimed.
    QString why;
    EXPECT_FALSE(e.SavePdf(QStringLiteral("/proc/no/such/folder/x.pdf"), &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(e.LastError(), why);
}

TEST(Pdf, HeadlessConverterWritesPdf) {
    REQUIRE_POPPLER();
    pdfexport::install();
    model::Document doc;
    model::Paragraph p;
    p.addText(QString::fromUtf8("変換された日本語 converted"), {});
    doc.lastSection().blocks.push_back(model::Block::makeParagraph(p));
    doc.lastSection().page.width = 12240; // Letter
    doc.lastSection().page.height = 15840;
    const QString dir = TestEnv::freshDir();
    TestEnv::writeFile(dir + QStringLiteral("/in.doc"), msdoc::write(doc));
    QString messages;
    QTextStream err(&messages);
    EXPECT_EQ(formats::runHeadless({QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                    QStringLiteral("pdf"), QStringLiteral("--outdir"),
                                    dir + QStringLiteral("/out"), dir + QStringLiteral("/in.doc")},
                                   err),
              0)
        << messages.toStdString();
    const QString pdf = dir + QStringLiteral("/out/in.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(pagesText(pdf),
              QStringList{squeezed(QString::fromUtf8("変換された日本語 converted"))});
    EXPECT_TRUE(info(pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("612 x 792")));
}

TEST(Pdf, SharedGlyphsMapBackToTheIdeograph) {
    // In the Noto CJK faces ⽇ (U+2F47) and 日 (U+65E5) are one glyph.
    const QStringList noto{QStringLiteral("Noto Sans CJK JP")};
    EXPECT_EQ(pdftext::radicalMap(QString::fromUtf8("日本"), noto).value(0x2F47), 0x65E5);
    // A radical without its ideograph stays what it is.
    EXPECT_TRUE(pdftext::radicalMap(QString::fromUtf8("⽇"), noto).isEmpty());
    EXPECT_TRUE(pdftext::radicalMap(QStringLiteral("Latin only"), noto).isEmpty());
}

TEST(Pdf, TextMapsReadAndWritten) {
    // Arrays, runs of consecutive codes, single codes and several
    // characters for one glyph.
    const QHash<uint, QString> map = pdftext::parseMap("2 beginbfrange\n"
                                                       "<0001> <0003> [<0041> <672C> <00660069>]\n"
                                                       "<0010> <0012> <0061>\n"
                                                       "endbfrange\n"
                                                       "1 beginbfchar\n<0020> <65E5>\nendbfchar\n");
    const QHash<uint, QString> expected{
        {1, QStringLiteral("A")},       {2, QString::fromUtf8("本")}, {3, QStringLiteral("fi")},
        {0x10, QStringLiteral("a")},    {0x11, QStringLiteral("b")},  {0x12, QStringLiteral("c")},
        {0x20, QString::fromUtf8("日")}};
    EXPECT_EQ(map, expected);
    EXPECT_EQ(pdftext::parseMap(pdftext::writeMap(map)), map);
    // More than a section holds (100 entries).
    QHash<uint, QString> big;
    for (uint i = 1; i <= 250; ++i)
        big.insert(i, QString(QChar(char16_t(0x4E00 + i))));
    EXPECT_EQ(pdftext::parseMap(pdftext::writeMap(big)), big);
}

TEST(Pdf, DigitsLigaturesAndRadicalsReadBack) {
    REQUIRE_POPPLER();
    // The CJK faces draw Latin digits and "fi" with glyphs no character maps
    // to; both come back as the characters typed.
    TxEngine e;
    e.SetText(QString::fromUtf8("第10章 1234567890 file office 日月火水木金土 ⾞"));
    const QString pdf = savePdf(e);
    EXPECT_EQ(pagesText(pdf), QStringList{squeezed(QString::fromUtf8(
                                  "第10章 1234567890 file office 日月火水木金土 ⾞"))});
    // Spaces stay spaces between runs of different fonts.
    TxEngine runs;
    runs.SetText(QStringLiteral("plain bold"));
    runs.SetSelStart(6);
    runs.SetSelLength(4);
    runs.SetFontBold(true);
    EXPECT_EQ(run(QStringLiteral("pdftotext"), {savePdf(runs), QStringLiteral("-")}).trimmed(),
              QStringLiteral("plain bold"));
    // The file stays valid for a strict reader.
    EXPECT_EQ(info(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
    QProcess check;
    check.start(QStringLiteral("pdfinfo"), {pdf});
    check.waitForFinished();
    EXPECT_FALSE(check.readAllStandardError().contains("Error")) << "pdfinfo complains";
}
