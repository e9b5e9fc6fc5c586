// LibreOffice both ways: files it writes from content chosen here read with
// the same text, formatting, tables, pictures, links and headers; files we
// write come back from it with the same.
#include "DocxTestUtil.h"
#include "Peers.h"
#include "TestEnv.h"

#include <QDir>

using namespace model;
using namespace docxtest;

namespace {

class DocxInterop : public ::testing::Test {
protected:
    void SetUp() override { dir = TestEnv::freshDir(QStringLiteral("docx-interop")); }
    QString dir;
};

// Every inline of the blocks (cells, frames and field results included).
void inlinesOf(const std::vector<Block>& blocks, std::vector<const Inline*>& out);
void inlinesOf(const std::vector<Inline>& content, std::vector<const Inline*>& out) {
    for (const Inline& in : content) {
        out.push_back(&in);
        if (in.kind == Inline::Kind::Field)
            inlinesOf(in.field.result, out);
    }
}
void inlinesOf(const std::vector<Block>& blocks, std::vector<const Inline*>& out) {
    for (const Block& b : blocks) {
        if (b.kind == Block::Kind::Paragraph)
            inlinesOf(b.paragraph.content, out);
        for (const TableRow& r : b.table.rows)
            for (const TableCell& c : r.cells)
                inlinesOf(c.blocks, out);
        inlinesOf(b.frame.blocks, out);
    }
}

// The format of the text run holding `text`; null when there is none.
const CharFormat* formatOf(const Document& d, const QString& text) {
    std::vector<const Inline*> all;
    for (const Section& s : d.sections)
        inlinesOf(s.blocks, all);
    for (const Inline* in : all)
        if (in->kind == Inline::Kind::Text && in->text.contains(text))
            return &in->format;
    return nullptr;
}

std::vector<const Inline*> ofKind(const Document& d, Inline::Kind kind) {
    std::vector<const Inline*> all, out;
    for (const Section& s : d.sections)
        inlinesOf(s.blocks, all);
    for (const Inline* in : all)
        if (in->kind == kind)
            out.push_back(in);
    return out;
}

const Table* firstTable(const Document& d) {
    for (const Section& s : d.sections)
        for (const Block& b : s.blocks)
            if (b.kind == Block::Kind::Table)
                return &b.table;
    return nullptr;
}

// The features both directions check, in a model.
Document chosenContent(const QByteArray& picture) {
    Document d;
    Section& s = d.lastSection();
    s.header = {block("ヘッダーの文字 HeaderText")};
    s.footer = {block("FooterText フッター")};
    CharFormat bold;
    bold.bold = true;
    bold.halfPoints = 32;
    CharFormat italic;
    italic.italic = true;
    italic.color = rgb(255, 0, 0);
    CharFormat mincho;
    mincho.font = "Liberation Serif";
    mincho.fontEastAsia = "IPAexMincho";
    Paragraph title;
    title.format.align = Alignment::Center;
    title.addText("BoldTitle 太字の見出し", bold);
    s.blocks.push_back(Block::makeParagraph(title));
    Paragraph body;
    body.addText("ItalicRed ", italic);
    body.addText("明朝体の本文 SerifText", mincho);
    body.addText(" see ", {});
    Field link;
    link.target = "https://example.org/page";
    link.result = {Inline::makeText("LinkText", {})};
    body.content.push_back(Inline::makeField(link));
    Picture pic;
    pic.data = picture;
    pic.type = ImageType::Png;
    pic.width = 1440;
    pic.height = 720;
    body.content.push_back(Inline::makePicture(pic));
    s.blocks.push_back(Block::makeParagraph(body));
    Table t;
    const auto cell = [](const QString& text) {
        TableCell c;
        c.width = 2000;
        c.blocks = {block(text)};
        return c;
    };
    TableCell wide = cell("SpanCell");
    wide.horizontalMerge = Merge::Restart;
    TableCell covered = cell("");
    covered.horizontalMerge = Merge::Continue;
    covered.blocks = {Block::makeParagraph({})};
    t.rows.push_back({{wide, covered, cell("C13")}});
    t.rows.push_back({{cell("C21"), cell("表の中"), cell("C23")}});
    s.blocks.push_back(Block::makeTable(t));
    s.blocks.push_back(block("AfterTable 表の後"));
    return d;
}

void expectChosenContent(const Document& d, const QByteArray& picture) {
    EXPECT_EQ(
        peers::squeeze(plainText(d)),
        peers::squeeze("BoldTitle 太字の見出し\nItalicRed 明朝体の本文 SerifText see LinkText\n"
                       "SpanCell\tC13\nC21\t表の中\tC23\nAfterTable 表の後\n"))
        << plainText(d).toStdString();
    ASSERT_FALSE(d.sections.empty());
    EXPECT_TRUE(plainText(d.sections[0].header).contains("ヘッダーの文字 HeaderText"));
    EXPECT_TRUE(plainText(d.sections[0].footer).contains("FooterText フッター"));
    const CharFormat* b = formatOf(d, "BoldTitle");
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->bold);
    EXPECT_EQ(b->halfPoints, 32);
    EXPECT_EQ(d.sections[0].blocks.at(0).paragraph.format.align, Alignment::Center);
    const CharFormat* i = formatOf(d, "ItalicRed");
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->italic);
    EXPECT_FALSE(i->bold);
    EXPECT_EQ(i->color, rgb(255, 0, 0));
    const CharFormat* m = formatOf(d, "明朝体");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->fontEastAsia, "IPAexMincho");
    EXPECT_EQ(m->font, "Liberation Serif");
    const auto links = ofKind(d, Inline::Kind::Field);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0]->field.type, FieldType::Hyperlink);
    EXPECT_EQ(links[0]->field.target, "https://example.org/page");
    const auto pics = ofKind(d, Inline::Kind::Picture);
    ASSERT_EQ(pics.size(), 1u);
    const QImage shown = QImage::fromData(pics[0]->picture.data);
    EXPECT_EQ(shown.size(), QImage::fromData(picture).size());
    EXPECT_EQ(shown.pixelColor(1, 1), QImage::fromData(picture).pixelColor(1, 1));
    EXPECT_NEAR(pics[0]->picture.shownWidth(), 1440, 15);
    EXPECT_NEAR(pics[0]->picture.shownHeight(), 720, 15);
    const Table* t = firstTable(d);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->rows.size(), 2u);
    ASSERT_EQ(t->rows[0].cells.size(), 3u);
    EXPECT_EQ(t->rows[0].cells[0].horizontalMerge, Merge::Restart);
    EXPECT_EQ(t->rows[0].cells[1].horizontalMerge, Merge::Continue);
    EXPECT_EQ(t->rows[1].cells.size(), 3u);
}

} // namespace

TEST_F(DocxInterop, LibreOfficeReadsWhatWeWrite) {
    const QByteArray picture = png(30, 15, QColor(0, 128, 255));
    const Document d = chosenContent(picture);
    const QString ours = dir + "/ours.docx";
    TestEnv::writeFile(ours, docx::write(d).value());
    // LibreOffice's own text of it, and the package it writes back.
    const QString out = dir + "/back";
    QDir().mkpath(out);
    ASSERT_TRUE(peers::soffice({ours}, "txt:Text (encoded):UTF8", out));
    const QString text = QString::fromUtf8(TestEnv::readFile(out + "/ours.txt"));
    for (const char* t : {"BoldTitle 太字の見出し", "明朝体の本文 SerifText", "LinkText",
                          "SpanCell", "表の中", "AfterTable 表の後"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << text.toStdString();
    ASSERT_TRUE(peers::soffice({ours}, "docx:MS Word 2007 XML", out));
    QString error;
    const auto back = docx::read(TestEnv::readFile(out + "/ours.docx"), &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    expectChosenContent(*back, picture);
}

TEST_F(DocxInterop, WeReadWhatLibreOfficeWrites) {
    const QByteArray picture = png(24, 12, QColor(255, 128, 0));
    // The content as a flat ODF text, which LibreOffice turns into a package.
    const QString fodt = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls>
 <style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'"/>
 <style:font-face style:name="IPAexMincho" svg:font-family="IPAexMincho"/>
</office:font-face-decls>
<office:styles/>
<office:automatic-styles>
 <style:style style:name="Title" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/></style:style>
 <style:style style:name="B" style:family="text"><style:text-properties fo:font-weight="bold" fo:font-size="16pt" style:font-size-asian="16pt"/></style:style>
 <style:style style:name="I" style:family="text"><style:text-properties fo:font-style="italic" fo:color="#ff0000"/></style:style>
 <style:style style:name="M" style:family="text"><style:text-properties style:font-name="Liberation Serif" style:font-name-asian="IPAexMincho"/></style:style>
 <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm"/><style:header-style/><style:footer-style/></style:page-layout>
</office:automatic-styles>
<office:master-styles>
 <style:master-page style:name="Standard" style:page-layout-name="pm1">
  <style:header><text:p>ヘッダーの文字 HeaderText</text:p></style:header>
  <style:footer><text:p>FooterText フッター</text:p></style:footer>
 </style:master-page>
</office:master-styles>
<office:body><office:text>
 <text:p text:style-name="Title"><text:span text:style-name="B">BoldTitle 太字の見出し</text:span></text:p>
 <text:p><text:span text:style-name="I">ItalicRed </text:span><text:span text:style-name="M">明朝体の本文 SerifText</text:span> see <text:a xlink:type="simple" xlink:href="https://example.org/page">LinkText</text:a><draw:frame draw:name="pic" text:anchor-type="as-char" svg:width="1in" svg:height="0.5in"><draw:image><office:binary-data>%1</office:binary-data></draw:image></draw:frame></text:p>
 <table:table table:name="T"><table:table-column table:number-columns-repeated="3"/>
  <table:table-row><table:table-cell table:number-columns-spanned="2"><text:p>SpanCell</text:p></table:table-cell><table:covered-table-cell/><table:table-cell><text:p>C13</text:p></table:table-cell></table:table-row>
  <table:table-row><table:table-cell><text:p>C21</text:p></table:table-cell><table:table-cell><text:p>表の中</text:p></table:table-cell><table:table-cell><text:p>C23</text:p></table:table-cell></table:table-row>
 </table:table>
 <text:p>AfterTable 表の後</text:p>
</office:text></office:body></office:document>
)")
                             .arg(QString::fromLatin1(picture.toBase64()));
    const QString src = dir + "/theirs.fodt";
    TestEnv::writeFile(src, fodt.toUtf8());
    ASSERT_TRUE(peers::soffice({src}, "docx:MS Word 2007 XML", dir));
    QString error;
    const auto d = docx::read(TestEnv::readFile(dir + "/theirs.docx"), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    expectChosenContent(*d, picture);
}
