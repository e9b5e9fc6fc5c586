// What other programs write, read as they mean it: formatting resolved
// through styles and defaults, fields in their several forms, tables,
// pictures, text boxes and headers shared between sections.
#include "DocxTestUtil.h"

using namespace model;
using namespace docxtest;

namespace {

Document readOk(const QByteArray& pkg) {
    QString error;
    const auto d = docx::read(pkg, &error);
    EXPECT_TRUE(d.has_value()) << error.toStdString();
    return d.value_or(Document());
}

const Paragraph& paraAt(const Document& d, size_t i) {
    static const Paragraph none;
    if (d.sections.empty() || i >= d.sections[0].blocks.size())
        return none;
    return d.sections[0].blocks[i].paragraph;
}

QByteArray part(const char* root, const QByteArray& inner) {
    return QByteArray("<?xml version=\"1.0\"?><w:") + root + " " + kW +
           " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">" + inner +
           "</w:" + root + ">";
}

const QByteArray kRels =
    rel("rS", "styles", "styles.xml") + rel("rN", "numbering", "numbering.xml") +
    rel("rT", "theme", "theme/theme1.xml") +
    rel("rL", "hyperlink", "http://x.test/?a=1&amp;b", true) + rel("rH", "header", "header1.xml") +
    rel("rF", "footer", "footer1.xml") + rel("rI", "image", "media/p.png") +
    rel("rOut", "image", "../../outside.png");

const QByteArray kStyles = part(
    "styles",
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme=\"minorHAnsi\" "
    "w:eastAsiaTheme=\"minorEastAsia\"/><w:sz w:val=\"21\"/></w:rPr></w:rPrDefault>"
    "<w:pPrDefault><w:pPr><w:spacing w:after=\"160\" w:line=\"259\" "
    "w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
    "<w:pPr><w:jc w:val=\"both\"/></w:pPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Base\"><w:name w:val=\"Base\"/><w:basedOn "
    "w:val=\"Normal\"/><w:pPr><w:ind w:left=\"400\"/></w:pPr><w:rPr><w:b/><w:color "
    "w:val=\"FF0000\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Child\"><w:name w:val=\"見出し 1\"/><w:basedOn "
    "w:val=\"Base\"/><w:pPr><w:spacing w:before=\"240\"/></w:pPr><w:rPr><w:sz w:val=\"32\"/>"
    "<w:rFonts w:eastAsia=\"游明朝\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"LoopA\"><w:name w:val=\"A\"/><w:basedOn "
    "w:val=\"LoopB\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"LoopB\"><w:name w:val=\"B\"/><w:basedOn "
    "w:val=\"LoopA\"/><w:rPr><w:i/></w:rPr></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"Strong\"><w:name w:val=\"Strong\"/><w:rPr><w:u "
    "w:val=\"single\"/><w:b w:val=\"0\"/></w:rPr></w:style>");

const QByteArray kTheme =
    "<?xml version=\"1.0\"?><a:theme "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:themeElements>"
    "<a:fontScheme><a:majorFont><a:latin typeface=\"Major\"/><a:ea typeface=\"\"/><a:font "
    "script=\"Jpan\" typeface=\"MajorJ\"/></a:majorFont><a:minorFont><a:latin "
    "typeface=\"Calibri\"/><a:ea typeface=\"\"/><a:font script=\"Jpan\" typeface=\"游明朝\"/>"
    "</a:minorFont></a:fontScheme></a:themeElements></a:theme>";

QByteArray full(const QByteArray& body, docx::Parts extra = {}) {
    extra.push_back({"word/styles.xml", kStyles});
    extra.push_back({"word/theme/theme1.xml", kTheme});
    return package(body, std::move(extra), kRels);
}

} // namespace

TEST(DocxReader, FormattingResolvedThroughDefaultsStylesAndTheme) {
    const Document d = readOk(full(
        "<w:p><w:r><w:t>plain</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:pStyle w:val=\"Child\"/><w:ind w:firstLine=\"100\"/></w:pPr>"
        "<w:r><w:t>styled</w:t></w:r><w:r><w:rPr><w:rStyle w:val=\"Strong\"/></w:rPr>"
        "<w:t>char style</w:t></w:r><w:r><w:rPr><w:b w:val=\"false\"/><w:i/><w:sz "
        "w:val=\"nonsense\"/><w:highlight w:val=\"yellow\"/></w:rPr><w:t>direct</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:pStyle w:val=\"LoopA\"/></w:pPr><w:r><w:t>loop</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:pStyle w:val=\"Missing\"/></w:pPr><w:r><w:t>x</w:t></w:r></w:p>"));
    ASSERT_EQ(d.sections.size(), 1u);
    ASSERT_EQ(d.sections[0].blocks.size(), 4u);
    // Defaults: theme fonts, 10.5 pt, the default style's justification.
    const Paragraph& p0 = paraAt(d, 0);
    EXPECT_EQ(p0.format.align, Alignment::Justify);
    EXPECT_EQ(p0.format.spaceAfter, 160);
    EXPECT_EQ(p0.format.lineSpacing, 259);
    EXPECT_EQ(p0.format.styleName, "");
    ASSERT_EQ(p0.content.size(), 1u);
    EXPECT_EQ(p0.content[0].format.font, "Calibri");
    EXPECT_EQ(p0.content[0].format.fontEastAsia, "游明朝");
    EXPECT_EQ(p0.content[0].format.halfPoints, 21);
    // The chain Child -> Base -> Normal -> defaults.
    const Paragraph& p1 = paraAt(d, 1);
    EXPECT_EQ(p1.format.styleName, "見出し 1");
    EXPECT_EQ(p1.format.leftIndent, 400);
    EXPECT_EQ(p1.format.firstLineIndent, 100);
    EXPECT_EQ(p1.format.spaceBefore, 240);
    EXPECT_EQ(p1.format.spaceAfter, 160);
    EXPECT_EQ(p1.format.align, Alignment::Justify);
    ASSERT_EQ(p1.content.size(), 3u);
    const CharFormat& styled = p1.content[0].format;
    EXPECT_TRUE(styled.bold);
    EXPECT_EQ(styled.color, rgb(255, 0, 0));
    EXPECT_EQ(styled.halfPoints, 32);
    EXPECT_EQ(styled.fontEastAsia, "游明朝");
    EXPECT_EQ(styled.font, "Calibri");
    const CharFormat& charStyle = p1.content[1].format;
    EXPECT_FALSE(charStyle.bold);
    EXPECT_EQ(charStyle.underline, Underline::Single);
    EXPECT_EQ(charStyle.halfPoints, 32);
    const CharFormat& direct = p1.content[2].format;
    EXPECT_FALSE(direct.bold);
    EXPECT_TRUE(direct.italic);
    EXPECT_EQ(direct.halfPoints, 32); // a size that is no number changes nothing
    EXPECT_EQ(direct.background, rgb(255, 255, 0));
    // Styles based on each other in a loop, and a style that is missing.
    EXPECT_TRUE(paraAt(d, 2).content.at(0).format.italic);
    EXPECT_EQ(paraAt(d, 3).format.styleName, "");
}

TEST(DocxReader, FieldsInTheirForms) {
    const Document d = readOk(full(
        // Begin/separate/end with the instruction split over runs, a nested
        // field in the instruction, and a simple field.
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> PA"
        "</w:instrText></w:r><w:r><w:instrText>GE </w:instrText></w:r><w:r><w:fldChar "
        "w:fldCharType=\"separate\"/></w:r><w:r><w:t>7</w:t></w:r><w:r><w:fldChar "
        "w:fldCharType=\"end\"/></w:r>"
        "<w:fldSimple w:instr=\" NUMPAGES \\* MERGEFORMAT \"><w:r><w:t>12</w:t></w:r></w:fldSimple>"
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>HYPERLINK "
        "\"</w:instrText>"
        "</w:r><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>QUOTE "
        "</w:instrText></w:r><w:r><w:fldChar "
        "w:fldCharType=\"separate\"/></w:r><w:r><w:t>http://n.test"
        "</w:t></w:r><w:r><w:fldChar "
        "w:fldCharType=\"end\"/></w:r><w:r><w:instrText>\"</w:instrText>"
        "</w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>nested</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:hyperlink r:id=\"rL\" w:anchor=\"part\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:r><w:t>"
        "link</w:t></w:r></w:hyperlink><w:hyperlink w:anchor=\"here\"><w:r><w:t>inside</w:t></w:r>"
        "</w:hyperlink></w:p>"
        // A field that runs over two paragraphs (a table of contents) keeps its text.
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>TOC "
        "\\o</w:instrText>"
        "</w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>Chapter "
        "1</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>Chapter 2</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:r><w:t> after</w:t></w:r></w:p>"));
    const Paragraph& p = paraAt(d, 0);
    ASSERT_EQ(p.content.size(), 5u);
    EXPECT_EQ(p.content[0].field.type, FieldType::Page);
    EXPECT_EQ(p.content[0].field.result.at(0).text, "7");
    EXPECT_EQ(p.content[1].field.type, FieldType::NumPages);
    EXPECT_EQ(p.content[1].field.result.at(0).text, "12");
    EXPECT_EQ(p.content[2].field.type, FieldType::Hyperlink);
    EXPECT_EQ(p.content[2].field.target, "http://n.test");
    EXPECT_EQ(p.content[2].field.result.at(0).text, "nested");
    EXPECT_EQ(p.content[3].field.target, "http://x.test/?a=1&b#part");
    EXPECT_EQ(p.content[3].field.kind, 1);
    EXPECT_EQ(p.content[4].field.target, "#here");
    EXPECT_EQ(plainText(d), "712nestedlinkinside\nChapter 1\nChapter 2 after\n");
}

TEST(DocxReader, TablesBookmarksPicturesAndTextBoxes) {
    const QByteArray png1 = png(4, 2);
    const Document d = readOk(full(
        "<w:bookmarkStart w:id=\"0\" w:name=\"around\"/>"
        "<w:tbl><w:tblPr><w:jc w:val=\"center\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"1000\"/>"
        "<w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"3000\"/></w:tblGrid>"
        "<w:tr><w:tc><w:tcPr><w:gridSpan w:val=\"2\"/><w:vMerge w:val=\"restart\"/></w:tcPr><w:p>"
        "<w:r><w:t>wide</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p></w:tc></"
        "w:tr>"
        "<w:tr><w:tc><w:tcPr><w:gridSpan w:val=\"2\"/><w:vMerge/></w:tcPr><w:p/></w:tc><w:tc>"
        "<w:tcPr><w:gridSpan w:val=\"99999\"/></w:tcPr></w:tc></w:tr></w:tbl>"
        "<w:p><w:r><w:t>pic</w:t></w:r><w:r><w:drawing><wp:inline "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\">"
        "<wp:extent cx=\"635000\" cy=\"317500\"/><a:graphic><a:graphicData><a:blip r:embed=\"rI\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>"
        "<w:r><w:drawing><wp:inline "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\">"
        "<wp:extent cx=\"635000\" cy=\"317500\"/><a:graphic><a:graphicData><a:blip "
        "r:embed=\"rOut\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>"
        "<w:r><w:drawing><wp:anchor behindDoc=\"0\" distL=\"63500\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\">"
        "<wp:positionH relativeFrom=\"page\"><wp:posOffset>1270000</wp:posOffset></wp:positionH>"
        "<wp:positionV relativeFrom=\"paragraph\"><wp:align>top</wp:align></wp:positionV>"
        "<wp:extent cx=\"1270000\" cy=\"635000\"/><wp:wrapNone/><a:graphic><a:graphicData>"
        "<w:txbxContent><w:p><w:r><w:t>箱の中</w:t></w:r></w:p></w:txbxContent></a:graphicData>"
        "</a:graphic></wp:anchor></w:drawing></w:r></w:p>"
        "<w:bookmarkEnd w:id=\"0\"/>",
        {{"word/media/p.png", png1}, {"outside.png", png1}}));
    const auto& blocks = d.sections.at(0).blocks;
    ASSERT_EQ(blocks.size(), 3u) << dumpDoc(d).toStdString();
    const Table& t = blocks[0].table;
    EXPECT_EQ(t.align, Alignment::Center);
    ASSERT_EQ(t.rows.size(), 2u);
    ASSERT_EQ(t.rows[0].cells.size(), 3u);
    EXPECT_EQ(t.rows[0].cells[0].horizontalMerge, Merge::Restart);
    EXPECT_EQ(t.rows[0].cells[0].verticalMerge, Merge::Restart);
    EXPECT_EQ(t.rows[0].cells[0].width, 1000);
    EXPECT_EQ(t.rows[0].cells[1].horizontalMerge, Merge::Continue);
    EXPECT_EQ(t.rows[0].cells[1].width, 2000);
    EXPECT_EQ(t.rows[0].cells[2].width, 3000);
    EXPECT_EQ(t.rows[1].cells[0].verticalMerge, Merge::Continue);
    EXPECT_EQ(t.rows[1].cells[1].verticalMerge, Merge::Continue);
    // A span beyond reason is cut; an empty cell still holds a paragraph.
    EXPECT_LE(t.rows[1].cells.size(), 2u + 64u);
    EXPECT_EQ(t.rows[1].cells[2].blocks.size(), 1u);
    // The bookmark before the table starts in its first paragraph.
    const auto& first = t.rows[0].cells[0].blocks.at(0).paragraph.content;
    EXPECT_EQ(first.at(0).kind, Inline::Kind::BookmarkStart);
    // The picture's part is read; one outside the package is not.
    const auto& pc = blocks[1].paragraph.content;
    ASSERT_EQ(pc.size(), 3u) << dumpDoc(d).toStdString();
    EXPECT_EQ(pc[1].kind, Inline::Kind::Picture);
    EXPECT_EQ(pc[1].picture.data, png1);
    EXPECT_EQ(pc[1].picture.type, ImageType::Png);
    EXPECT_EQ(pc[1].picture.width, 1000);
    EXPECT_EQ(pc[1].picture.height, 500);
    EXPECT_EQ(pc[2].kind, Inline::Kind::BookmarkEnd);
    // The text box follows its paragraph as a frame.
    const Frame& f = blocks[2].frame;
    EXPECT_EQ(blocks[2].kind, Block::Kind::Frame);
    EXPECT_EQ(f.x, 2000);
    EXPECT_EQ(f.width, 2000);
    EXPECT_EQ(f.horizontalRelation, HorizontalRelation::Page);
    EXPECT_EQ(plainText(f.blocks), "箱の中\n");
}

TEST(DocxReader, SectionsShareHeadersUntilTheyNameTheirOwn) {
    const QByteArray hdr = part("hdr", "<w:p><w:r><w:t>H1</w:t></w:r></w:p>");
    const QByteArray ftr = part("ftr", "<w:p><w:r><w:t>F1</w:t></w:r></w:p>");
    const Document d = readOk(full(
        "<w:p><w:pPr><w:sectPr "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<w:headerReference w:type=\"default\" r:id=\"rH\"/><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
        "</w:sectPr></w:pPr><w:r><w:t>one</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:sectPr xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships\"><w:footerReference w:type=\"default\" r:id=\"rF\"/><w:type "
        "w:val=\"continuous\"/><w:pgSz w:w=\"-5\" w:h=\"99999999\" w:orient=\"landscape\"/>"
        "</w:sectPr></w:pPr><w:r><w:t>two</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>three</w:t></w:r></w:p><w:sectPr><w:titlePg/></w:sectPr>",
        {{"word/header1.xml", hdr}, {"word/footer1.xml", ftr}}));
    ASSERT_EQ(d.sections.size(), 3u);
    EXPECT_EQ(plainText(d.sections[0].header), "H1\n");
    EXPECT_TRUE(d.sections[0].footer.empty());
    EXPECT_EQ(plainText(d.sections[1].header), "H1\n");
    EXPECT_EQ(plainText(d.sections[1].footer), "F1\n");
    EXPECT_EQ(d.sections[1].start, SectionStart::Continuous);
    EXPECT_EQ(d.sections[1].page.orientation, Orientation::Landscape);
    EXPECT_GE(d.sections[1].page.width, 1);
    EXPECT_LE(d.sections[1].page.height, 31680 * 4);
    EXPECT_EQ(plainText(d.sections[2].footer), "F1\n");
    EXPECT_TRUE(d.sections[2].titlePage);
    EXPECT_EQ(plainText(d.sections[2].blocks), "three\n");
}

TEST(DocxReader, ListsFromNumberingWithOverrides) {
    const QByteArray numbering = part(
        "numbering",
        "<w:abstractNum w:abstractNumId=\"5\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt "
        "w:val=\"decimalFullWidth\"/><w:lvlText w:val=\"%1．\"/><w:pPr><w:ind w:left=\"420\" "
        "w:hanging=\"420\"/></w:pPr></w:lvl><w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"bullet\"/>"
        "<w:lvlText w:val=\"●\"/><w:pPr><w:ind w:left=\"840\" w:hanging=\"420\"/></w:pPr><w:rPr>"
        "<w:rFonts w:ascii=\"Wingdings\"/></w:rPr></w:lvl><w:lvl w:ilvl=\"77\"/></w:abstractNum>"
        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"5\"/><w:lvlOverride w:ilvl=\"0\">"
        "<w:startOverride w:val=\"4\"/></w:lvlOverride></w:num>"
        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"404\"/></w:num>");
    const Document d = readOk(
        full("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"2\"/></w:numPr></w:pPr>"
             "<w:r><w:t>a</w:t></w:r></w:p>"
             "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"1\"/><w:numId w:val=\"2\"/></w:numPr><w:ind "
             "w:left=\"1000\"/></w:pPr><w:r><w:t>b</w:t></w:r></w:p>"
             "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"0\"/></w:numPr></w:pPr>"
             "<w:r><w:t>c</w:t></w:r></w:p>",
             {{"word/numbering.xml", numbering}}));
    ASSERT_GE(d.lists.size(), 1u);
    const ListDef* l = d.list(2);
    ASSERT_NE(l, nullptr);
    ASSERT_EQ(l->levels.size(), 2u);
    EXPECT_EQ(l->levels[0].format, NumberFormat::DecimalFullWidth);
    EXPECT_EQ(l->levels[0].text, "%1．");
    EXPECT_EQ(l->levels[0].start, 4);
    EXPECT_EQ(l->levels[0].indent, 420);
    EXPECT_EQ(l->levels[0].hanging, 420);
    EXPECT_EQ(l->levels[1].font, "Wingdings");
    EXPECT_EQ(paraAt(d, 0).format.listId, 2);
    EXPECT_EQ(paraAt(d, 0).format.leftIndent, 420);
    EXPECT_EQ(paraAt(d, 0).format.firstLineIndent, -420);
    EXPECT_EQ(paraAt(d, 1).format.listLevel, 1);
    EXPECT_EQ(paraAt(d, 1).format.leftIndent, 1000);
    EXPECT_EQ(paraAt(d, 1).format.firstLineIndent, -420);
    EXPECT_EQ(paraAt(d, 2).format.listId, 0);
}

TEST(DocxReader, TrackedChangesContainersAndAlternatives) {
    const Document d = readOk(full(
        "<w:p><w:ins><w:r><w:t>kept </w:t></w:r></w:ins><w:del><w:r><w:delText>gone</w:delText>"
        "</w:r></w:del><w:smartTag><w:smartTag><w:r><w:t>tag </w:t></w:r></w:smartTag></w:smartTag>"
        "<w:sdt><w:sdtPr/><w:sdtContent><w:r><w:t>control </w:t></w:r></w:sdtContent></w:sdt>"
        "<w:r><mc:AlternateContent "
        "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"><mc:Choice "
        "Requires=\"w14\"><w:t>choice</w:t></mc:Choice><mc:Fallback><w:t>fallback</w:t>"
        "</mc:Fallback></mc:AlternateContent></w:r>"
        // A choice in terms the reader does not know gives way to the fallback
        // (Word writes emoji so); one of several choices is read once.
        "<w:r><mc:AlternateContent "
        "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"><mc:Choice "
        "Requires=\"w16se\"><w16se:symEx xmlns:w16se=\"urn:x\" w16se:char=\"1F600\"/>"
        "</mc:Choice><mc:Fallback><w:t>😀</w:t></mc:Fallback></mc:AlternateContent>"
        "<mc:AlternateContent "
        "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"><mc:Choice "
        "Requires=\"w16se w14\"><w:t>new</w:t></mc:Choice><mc:Choice Requires=\"w14\">"
        "<w:t>[w14]</w:t></mc:Choice><mc:Choice Requires=\"w15\"><w:t>[w15]</w:t></mc:Choice>"
        "<mc:Fallback><w:t>[old]</w:t></mc:Fallback></mc:AlternateContent></w:r>"
        "<w:r><w:ruby><w:rt><w:r><w:t>かん</w:t></w:r></w:rt><w:rubyBase><w:r><w:t>漢</w:t></w:r>"
        "</w:rubyBase></w:ruby></w:r><w:r><w:sym w:font=\"Symbol\" w:char=\"F061\"/><w:cr/>"
        "</w:r></w:p><w:sdt><w:sdtContent><w:p><w:r><w:t>block control</w:t></w:r></w:p>"
        "</w:sdtContent></w:sdt>"));
    EXPECT_EQ(plainText(d), "kept tag control choice😀[w14]漢a\n\nblock control\n");
}

// Table styles (Word's "Table Grid") and a table's own w:tblBorders give the
// cells their lines: outer edges and inside lines, under what a cell sets
// itself (here an explicit "nil" top that must stay without a line).
TEST(DocxReader, TableBordersComeFromTheTableStyleAndTheTable) {
    const QByteArray styles = part(
        "styles",
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"a1\"><w:name w:val=\"Normal "
        "Table\"/></w:style><w:style w:type=\"table\" w:styleId=\"Grid\"><w:name w:val=\"Table "
        "Grid\"/><w:basedOn w:val=\"a1\"/><w:tblPr><w:tblBorders>"
        "<w:top w:val=\"single\" w:sz=\"4\"/><w:left w:val=\"single\" w:sz=\"4\"/>"
        "<w:bottom w:val=\"single\" w:sz=\"4\"/><w:right w:val=\"single\" w:sz=\"4\"/>"
        "<w:insideH w:val=\"single\" w:sz=\"4\"/><w:insideV w:val=\"single\" w:sz=\"4\"/>"
        "</w:tblBorders></w:tblPr></w:style>");
    auto cell = [](const char* text, const char* pr = "") {
        return QByteArray("<w:tc><w:tcPr>") + pr + "</w:tcPr><w:p><w:r><w:t>" + text +
               "</w:t></w:r></w:p></w:tc>";
    };
    const QByteArray row1 = "<w:tr>" + cell("a") + cell("b") + "</w:tr>";
    const QByteArray row2 =
        "<w:tr>" + cell("c", "<w:tcBorders><w:top w:val=\"nil\"/></w:tcBorders>") + cell("d") +
        "</w:tr>";
    const QByteArray body =
        "<w:tbl><w:tblPr><w:tblStyle w:val=\"Grid\"/><w:tblBorders><w:insideV w:val=\"double\" "
        "w:sz=\"12\"/></w:tblBorders></w:tblPr><w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol "
        "w:w=\"2000\"/></w:tblGrid>" +
        row1 + row2 + "</w:tbl><w:p/>" +
        "<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid><w:tr>" + cell("plain") +
        "</w:tr></w:tbl><w:p/>";
    const Document d = readOk(package(body, {{"word/styles.xml", styles}},
                                      rel("rS", "styles", "styles.xml")));
    ASSERT_FALSE(d.sections.empty());
    ASSERT_GE(d.sections[0].blocks.size(), 3u);
    const Table& t = d.sections[0].blocks[0].table;
    ASSERT_EQ(t.rows.size(), 2u);
    const TableCell& a = t.rows[0].cells[0];
    const TableCell& b = t.rows[0].cells[1];
    const TableCell& c = t.rows[1].cells[0];
    EXPECT_EQ(a.top.style, BorderStyle::Single);
    EXPECT_EQ(a.left.style, BorderStyle::Single);
    EXPECT_EQ(a.bottom.style, BorderStyle::Single); // the inside line
    EXPECT_EQ(a.right.style, BorderStyle::Double);  // the table's own inside line
    EXPECT_EQ(a.right.width, 30);
    EXPECT_EQ(b.right.style, BorderStyle::Single); // the outer edge
    EXPECT_EQ(c.top.style, BorderStyle::None);     // the cell's own "nil"
    EXPECT_EQ(c.bottom.style, BorderStyle::Single);
    // Without a style, the default table style gives no lines.
    const Table& plain = d.sections[0].blocks[2].table;
    ASSERT_EQ(plain.rows.size(), 1u);
    EXPECT_EQ(plain.rows[0].cells[0].top.style, BorderStyle::None);
}
