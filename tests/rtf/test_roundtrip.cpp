// What the writer writes, the reader reads back equal: per feature of the
// model, with Japanese text throughout.
#include "RtfTestUtil.h"

using namespace model;
using namespace rtftest;

namespace {

TEST(RtfRoundTrip, CharacterFormatsAndFonts) {
    Paragraph p;
    CharFormat plain;
    p.addText(QStringLiteral("plain 日本語 "), plain);
    CharFormat b = plain;
    b.bold = true;
    b.halfPoints = 32;
    b.color = rgb(255, 0, 0);
    p.addText(QStringLiteral("bold red "), b);
    CharFormat i = plain;
    i.italic = true;
    i.underline = Underline::Double;
    i.background = rgb(0, 255, 0);
    i.font = QStringLiteral("Arial");
    i.fontEastAsia = QStringLiteral("ＭＳ 明朝");
    p.addText(QStringLiteral("italic 明朝 "), i);
    CharFormat s = plain;
    s.strike = true;
    s.valign = VerticalAlign::Superscript;
    s.spacing = -20;
    s.kerning = 24;
    s.color = rgb(0, 0, 0); // black is a colour, not "automatic"
    p.addText(QStringLiteral("x²"), s);
    CharFormat u = plain;
    u.valign = VerticalAlign::Subscript;
    u.underline = Underline::Wave;
    p.addText(QStringLiteral("sub"), u);
    p.markFormat.halfPoints = 40;
    const Document d = oneSection({Block::makeParagraph(p)});
    EXPECT_SAME_DOC(d, roundTrip(d));
}

TEST(RtfRoundTrip, SpecialCharactersAndUnicode) {
    const QString text = QStringLiteral("a\\b{c}d\te") + QChar(kLineBreak) + QStringLiteral("f") +
                         QChar(0x00A0) + QChar(kSoftHyphen) + QChar(kNoBreakHyphen) +
                         QStringLiteral("ｶﾀｶﾅ 漢字 ① é € 😀 ") + QChar(kPageBreak) +
                         QStringLiteral("after");
    QByteArray written;
    const Document d = oneSection({Block::makeParagraph(para(text))});
    EXPECT_SAME_DOC(d, roundTrip(d, &written));
    // Japanese goes out as \uN with its Shift-JIS bytes for older readers;
    // characters without them fall back to "?".
    EXPECT_TRUE(written.contains("\\uc2\\u28450\\'8a\\'bf")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\u-10179?")) << written.toStdString();
    EXPECT_FALSE(written.contains(QByteArray("\xE6", 1)));
}

TEST(RtfRoundTrip, ParagraphFormatsStylesAndLists) {
    Paragraph h = para(QStringLiteral("見出し"));
    h.format.styleName = QStringLiteral("見出２");
    h.format.align = Alignment::Center;
    h.format.spaceBefore = 120;
    h.format.spaceAfter = 240;
    h.format.keepWithNext = true;
    Paragraph b = para(QStringLiteral("本文です"));
    b.format.styleName = QStringLiteral("本文");
    b.format.leftIndent = 720;
    b.format.rightIndent = 360;
    b.format.firstLineIndent = -360;
    b.format.lineSpacing = 360;
    b.format.align = Alignment::Justify;
    b.format.tabs = {{1440, TabAlign::Left, TabLeader::None},
                     {2880, TabAlign::Right, TabLeader::Dots},
                     {4000, TabAlign::Decimal, TabLeader::None}};
    Paragraph e = para(QStringLiteral("exact"));
    e.format.lineRule = LineRule::Exact;
    e.format.lineSpacing = 300;
    e.format.pageBreakBefore = true;
    e.format.keepTogether = true;
    e.format.align = Alignment::Distribute;
    Paragraph l1 = para(QStringLiteral("first item"));
    l1.format.listId = 1;
    Paragraph l2 = para(QStringLiteral("second item"));
    l2.format.listId = 1;
    l2.format.listLevel = 1;
    Document d =
        oneSection({Block::makeParagraph(h), Block::makeParagraph(b), Block::makeParagraph(e),
                    Block::makeParagraph(l1), Block::makeParagraph(l2)});
    ListDef list;
    list.id = 1;
    ListLevel dec;
    dec.format = NumberFormat::Decimal;
    dec.text = QStringLiteral("%1.");
    dec.indent = 420;
    dec.hanging = 420;
    ListLevel sub = dec;
    sub.format = NumberFormat::LowerRoman;
    sub.text = QStringLiteral("(%1-%2)");
    sub.start = 3;
    sub.indent = 840;
    ListLevel bullet;
    bullet.text = QStringLiteral("●");
    bullet.font = QStringLiteral("ＭＳ ゴシック");
    list.levels = {dec, sub, bullet};
    d.lists = {list};
    d.defaultTabStop = 420;
    const Document back = roundTrip(d);
    EXPECT_SAME_DOC(d, back);
    EXPECT_EQ(back.lists, d.lists);
    EXPECT_EQ(back.defaultTabStop, 420);
}

Table grid(int rows, int cols) {
    Table t;
    for (int r = 0; r < rows; ++r) {
        TableRow row;
        for (int c = 0; c < cols; ++c) {
            TableCell cell;
            cell.width = 1500 + 100 * c;
            cell.blocks = {Block::makeParagraph(para(QStringLiteral("セル%1-%2").arg(r).arg(c)))};
            row.cells.push_back(cell);
        }
        t.rows.push_back(row);
    }
    return t;
}

TEST(RtfRoundTrip, TablesWithMergesBordersAndNesting) {
    Table t = grid(3, 3);
    t.align = Alignment::Center;
    t.indent = 200;
    t.cellMargin = 80;
    t.rows[0].header = true;
    t.rows[0].height = 400;
    t.rows[0].heightRule = HeightRule::Exact;
    t.rows[1].cantSplit = true;
    t.rows[1].height = 300;
    t.rows[1].heightRule = HeightRule::AtLeast;
    t.rows[0].cells[0].horizontalMerge = Merge::Restart;
    t.rows[0].cells[1].horizontalMerge = Merge::Continue;
    t.rows[0].cells[1].blocks = {Block::makeParagraph({})};
    t.rows[1].cells[2].verticalMerge = Merge::Restart;
    t.rows[2].cells[2].verticalMerge = Merge::Continue;
    t.rows[2].cells[2].blocks = {Block::makeParagraph({})};
    TableCell& c = t.rows[1].cells[0];
    c.top = {BorderStyle::Single, 10, rgb(0, 0, 255), 0};
    c.bottom = {BorderStyle::Double, 30, kAutoColor, 20};
    c.left = {BorderStyle::Dotted, 10, kAutoColor, 0};
    c.right = {BorderStyle::Thick, 20, rgb(1, 2, 3), 0};
    c.shading = rgb(200, 200, 0);
    c.valign = CellVerticalAlign::Center;
    t.rows[2].cells[0].valign = CellVerticalAlign::Bottom;
    // Two paragraphs in one cell, and a table inside a cell.
    t.rows[2].cells[1].blocks = {Block::makeParagraph(para(QStringLiteral("上"))),
                                 Block::makeTable(grid(2, 2)),
                                 Block::makeParagraph(para(QStringLiteral("下")))};
    const Document d = oneSection({Block::makeParagraph(para(QStringLiteral("before"))),
                                   Block::makeTable(t), Block::makeTable(grid(1, 2)),
                                   Block::makeParagraph(para(QStringLiteral("after")))});
    const Document back = roundTrip(d);
    // Two tables one after the other with nothing between them are one table.
    Document expected = d;
    auto& blocks = expected.sections[0].blocks;
    for (auto& r : blocks[2].table.rows)
        blocks[1].table.rows.push_back(r);
    blocks.erase(blocks.begin() + 2);
    // The rows that joined keep their own widths but take the table's layout.
    EXPECT_SAME_DOC(expected, back);
}

QByteArray pngBytes() {
    // A 2x1 PNG (red, blue), written out by hand.
    return QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000002000000010802000000"
                               "7b40e8dd0000000f49444154789c63f8cfc0f01f0c00000eff02fe0c7d"
                               "9ee40000000049454e44ae426082");
}

TEST(RtfRoundTrip, PicturesInlineAndFloating) {
    Picture png;
    png.type = ImageType::Png;
    png.data = pngBytes();
    png.width = 1440;
    png.height = 720;
    png.scaleX = 50;
    png.scaleY = 200;
    Picture jpeg = png;
    jpeg.type = ImageType::Jpeg;
    jpeg.data = QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg \xFF\xD9", 24);
    Picture emf = png;
    emf.type = ImageType::Emf;
    emf.data = QByteArray::fromHex("0100000064000000") + QByteArray(92, '\x01');
    emf.width = 2540;
    emf.height = 1270;
    Picture wmf = emf;
    wmf.type = ImageType::Wmf;
    wmf.data = QByteArray::fromHex("010009000003") + QByteArray(30, '\x02');
    Picture floating = png;
    floating.wrap = Wrap::Around;
    floating.x = 300;
    floating.y = 600;
    floating.scaleX = floating.scaleY = 100;
    floating.horizontalRelation = HorizontalRelation::Page;
    floating.verticalRelation = VerticalRelation::Margin;
    floating.wrapDistance = 180;
    Picture behind = floating;
    behind.wrap = Wrap::Free;
    behind.behindText = true;
    behind.horizontalRelation = HorizontalRelation::Character;
    behind.verticalRelation = VerticalRelation::Line;
    Picture right = floating;
    right.wrap = Wrap::Right;
    right.horizontalRelation = HorizontalRelation::Margin;
    right.verticalRelation = VerticalRelation::Page;
    Picture top = floating;
    top.wrap = Wrap::TopBottom;
    top.horizontalRelation = HorizontalRelation::Column;
    top.verticalRelation = VerticalRelation::Paragraph;
    Paragraph p;
    for (const Picture& pic : {png, jpeg, emf, wmf, floating, behind, right, top}) {
        p.content.push_back(Inline::makePicture(pic));
        p.addText(QStringLiteral("図"), {});
    }
    const Document d = oneSection({Block::makeParagraph(p)});
    EXPECT_SAME_DOC(d, roundTrip(d));
}

TEST(RtfRoundTrip, PicturesRtfCannotHoldGoOutAsPng) {
    // A 1x1 GIF: converted, not lost.
    Picture gif;
    gif.type = ImageType::Gif;
    gif.data = QByteArray::fromHex("47494638396101000100800000ff000000000021f90401000000002c0000"
                                   "0000010001000002024401003b");
    gif.width = gif.height = 15;
    Paragraph p;
    p.content.push_back(Inline::makePicture(gif));
    const Document back = roundTrip(oneSection({Block::makeParagraph(p)}));
    ASSERT_FALSE(body(back).empty());
    ASSERT_EQ(body(back)[0].paragraph.content.size(), 1u);
    const Picture& got = body(back)[0].paragraph.content[0].picture;
    EXPECT_EQ(got.type, ImageType::Png);
    EXPECT_TRUE(got.data.startsWith("\x89PNG"));
    EXPECT_EQ(got.width, 15);
    // Bytes no image reader knows make the write fail instead of vanishing.
    Picture junk = gif;
    junk.type = ImageType::Tiff;
    junk.data = "not an image";
    Paragraph q;
    q.content.push_back(Inline::makePicture(junk));
    QString error;
    EXPECT_FALSE(rtf::write(oneSection({Block::makeParagraph(q)}), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RtfRoundTrip, FieldsAndBookmarks) {
    Paragraph p;
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark_1"), true));
    p.addText(QStringLiteral("see "), {});
    Field link;
    link.type = FieldType::Hyperlink;
    link.target = QStringLiteral("https://example.com/a?b=\"c\"");
    link.kind = 1;
    link.option = 149;
    CharFormat blue;
    blue.color = rgb(0, 0, 255);
    blue.underline = Underline::Single;
    link.result = {Inline::makeText(QStringLiteral("リンク"), blue)};
    p.content.push_back(Inline::makeField(link));
    Field tag = link;
    tag.target = QStringLiteral("TG_12");
    tag.kind = 2;
    tag.result = {Inline::makeText(QStringLiteral("タグ"), {})};
    p.content.push_back(Inline::makeField(tag));
    Field data = link;
    data.target = QStringLiteral("@");
    data.kind = 1;
    data.option = 0; // kinds that the target alone does not tell survive too
    data.result = {Inline::makeText(QStringLiteral("[data]"), {})};
    p.content.push_back(Inline::makeField(data));
    Field page;
    page.type = FieldType::Page;
    page.result = {Inline::makeText(QStringLiteral("3"), {})};
    p.content.push_back(Inline::makeField(page));
    Field other;
    other.type = FieldType::Other;
    other.instruction = QStringLiteral(" AUTHOR \\* MERGEFORMAT ");
    other.result = {Inline::makeText(QStringLiteral("someone"), {})};
    p.content.push_back(Inline::makeField(other));
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark_1"), false));
    const Document d = oneSection({Block::makeParagraph(p)});
    EXPECT_SAME_DOC(d, roundTrip(d));
}

TEST(RtfRoundTrip, SectionsHeadersFootersAndFrames) {
    Document d;
    Section s1;
    s1.page.width = 16838;
    s1.page.height = 11906;
    s1.page.orientation = Orientation::Landscape;
    s1.page.marginLeft = 1000;
    s1.page.marginTop = 1100;
    s1.page.marginRight = 1200;
    s1.page.marginBottom = 1300;
    s1.page.headerDistance = 500;
    s1.page.footerDistance = 600;
    s1.titlePage = true;
    s1.header = {Block::makeParagraph(para(QStringLiteral("ヘッダー")))};
    Paragraph foot;
    Field page;
    page.type = FieldType::Page;
    page.result = {Inline::makeText(QStringLiteral("1"), {})};
    foot.content.push_back(Inline::makeField(page));
    foot.format.align = Alignment::Center;
    s1.footer = {Block::makeParagraph(foot)};
    s1.firstHeader = {Block::makeParagraph(para(QStringLiteral("first page")))};
    s1.firstFooter = {Block::makeParagraph(para(QStringLiteral("first foot")))};
    s1.blocks = {Block::makeParagraph(para(QStringLiteral("section one")))};
    Section s2;
    s2.start = SectionStart::Continuous;
    Frame f;
    f.x = 1000;
    f.y = 2000;
    f.width = 3000;
    f.height = 1000;
    f.heightRule = HeightRule::AtLeast;
    f.horizontalRelation = HorizontalRelation::Margin;
    f.verticalRelation = VerticalRelation::Paragraph;
    f.wrapAround = false;
    f.blocks = {Block::makeParagraph(para(QStringLiteral("in a frame"))),
                Block::makeParagraph(para(QStringLiteral("枠の中")))};
    s2.blocks = {Block::makeFrame(f), Block::makeParagraph(para(QStringLiteral("section two")))};
    // No header of its own after one that had one.
    Section s3;
    s3.start = SectionStart::OddPage;
    s3.header = {Block::makeParagraph(para(QStringLiteral("third")))};
    s3.blocks = {Block::makeParagraph(para(QStringLiteral("section three")))};
    d.sections = {s1, s2, s3};
    const Document back = roundTrip(d);
    EXPECT_SAME_DOC(d, back);
    ASSERT_EQ(back.sections.size(), 3u);
    EXPECT_TRUE(back.sections[1].header.empty());
}

} // namespace
