// The model bridge: model -> engine -> model gives the model back, for every
// feature the model has.
#include "EngineTestUtil.h"
#include "ModelDump.h"

#include "Document.h"
#include "ModelBridge.h"
#include "NativeFormat.h"
#include "Text.h"
#include "TxDocument.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using namespace model;

namespace {

Paragraph para(const QString& text, CharFormat cf = {}, ParaFormat pf = {}) {
    Paragraph p;
    p.format = pf;
    p.content.push_back(Inline::makeText(text, cf));
    return p;
}

TableCell cell(const QString& text, Twips width) {
    TableCell c;
    c.width = width;
    c.blocks.push_back(Block::makeParagraph(para(text)));
    return c;
}

// A document using every feature of the model.
Document richDocument() {
    Document d;
    d.defaultTabStop = 720;
    ListDef list;
    list.id = 3;
    ListLevel l0;
    l0.format = NumberFormat::Decimal;
    l0.text = "%1.";
    l0.indent = 420;
    l0.hanging = 420;
    ListLevel l1;
    l1.format = NumberFormat::Bullet;
    l1.text = QString(QChar(0x2022));
    l1.font = "Symbol";
    list.levels = {l0, l1};
    d.lists.push_back(list);

    Section s;
    s.page.width = 12240;
    s.page.height = 15840;
    s.page.marginLeft = 851;
    s.page.marginTop = 1000;
    s.page.headerDistance = 500;
    s.titlePage = true;
    s.header.push_back(Block::makeParagraph(para("Header text")));
    s.firstHeader.push_back(Block::makeParagraph(para("First header")));
    s.footer.push_back(Block::makeParagraph(para("Footer")));

    CharFormat heading;
    heading.font = "ＭＳ Ｐゴシック";
    heading.fontEastAsia = "ＭＳ 明朝";
    heading.halfPoints = 28;
    heading.bold = true;
    heading.color = rgb(133, 90, 80);
    heading.background = rgb(255, 255, 255);
    ParaFormat hp;
    hp.leftIndent = 160;
    hp.spaceBefore = 180;
    hp.spaceAfter = 160;
    hp.styleName = "見出１(頁見出)";
    hp.keepWithNext = true;
    s.blocks.push_back(Block::makeParagraph(para("見出しです", heading, hp)));

    // Runs with every character property, line and page breaks, tabs.
    Paragraph body;
    body.format.align = Alignment::Justify;
    body.format.firstLineIndent = -200;
    body.format.rightIndent = 300;
    body.format.lineRule = LineRule::AtLeast;
    body.format.lineSpacing = 380;
    body.format.tabs = {{1000, TabAlign::Left, TabLeader::Dots},
                        {4000, TabAlign::Right, TabLeader::None}};
    body.markFormat.halfPoints = 21;
    CharFormat c1;
    c1.italic = true;
    c1.strike = true;
    c1.underline = Underline::Double;
    c1.spacing = 20;
    c1.kerning = 7936;
    CharFormat c2;
    c2.valign = VerticalAlign::Superscript;
    c2.underline = Underline::Wave;
    c2.halfPoints = 21;
    body.content.push_back(Inline::makeText(QString("one") + QChar(kLineBreak) + "two\tthree", c1));
    body.content.push_back(Inline::makeText("sup", c2));
    body.content.push_back(Inline::makeText(QString("before") + QChar(kPageBreak) + "after"));
    s.blocks.push_back(Block::makeParagraph(body));

    // Fields of the editor's kinds, a page-number field, bookmarks, pictures.
    Paragraph links;
    Field link;
    link.target = "http://example.com/";
    link.kind = 1;
    link.option = 149;
    CharFormat under;
    under.underline = Underline::Single;
    under.color = rgb(128, 128, 255);
    link.result.push_back(Inline::makeText("link", under));
    Field tag;
    tag.target = "TG_12";
    tag.kind = 2;
    tag.option = 149;
    tag.result.push_back(Inline::makeText("tag", under));
    Field page;
    page.type = FieldType::Page;
    page.instruction = " PAGE ";
    page.result.push_back(Inline::makeText("1"));
    links.content.push_back(Inline::makeBookmark("mark", true));
    links.content.push_back(Inline::makeText("see "));
    links.content.push_back(Inline::makeField(link));
    links.content.push_back(Inline::makeText(" and "));
    links.content.push_back(Inline::makeField(tag, under));
    links.content.push_back(Inline::makeBookmark("mark", false));
    links.content.push_back(Inline::makeField(page));
    // A field nested in another's result, a bookmark inside a result, and
    // fields whose result is empty.
    Field outer;
    outer.type = FieldType::Other;
    outer.instruction = " TOC \\o ";
    Field ref;
    ref.type = FieldType::Other;
    ref.instruction = " PAGEREF _Toc1 ";
    ref.result.push_back(Inline::makeText("7"));
    outer.result.push_back(Inline::makeText("Chapter "));
    outer.result.push_back(Inline::makeBookmark("inres", true));
    outer.result.push_back(Inline::makeField(ref));
    outer.result.push_back(Inline::makeBookmark("inres", false));
    outer.result.push_back(Inline::makeText(" end"));
    links.content.push_back(Inline::makeField(outer));
    Field xe;
    xe.type = FieldType::Other;
    xe.instruction = " XE \"entry\" ";
    links.content.push_back(Inline::makeField(xe));
    Field shape;
    shape.type = FieldType::Other;
    shape.instruction = " SHAPE ";
    shape.result.push_back(Inline::makeBookmark("inempty", true));
    shape.result.push_back(Inline::makeBookmark("inempty", false));
    links.content.push_back(Inline::makeField(shape));
    Picture inl;
    inl.data = pngBytes(20, 10, Qt::red);
    inl.type = ImageType::Png;
    inl.width = 300;
    inl.height = 150;
    inl.scaleX = 50;
    inl.scaleY = 80;
    links.content.push_back(Inline::makePicture(inl));
    Picture flo = inl;
    flo.data = pngBytes(8, 8, Qt::blue);
    flo.wrap = Wrap::Around;
    flo.x = 500;
    flo.y = -100;
    flo.horizontalRelation = HorizontalRelation::Margin;
    flo.verticalRelation = VerticalRelation::Paragraph;
    flo.wrapDistance = 320;
    links.content.push_back(Inline::makeText("end"));
    links.content.push_back(Inline::makePicture(flo));
    s.blocks.push_back(Block::makeParagraph(links));

    // A list of two levels.
    for (int i = 0; i < 3; ++i) {
        ParaFormat lp;
        lp.listId = 3;
        lp.listLevel = i == 1 ? 1 : 0;
        lp.leftIndent = 420;
        s.blocks.push_back(Block::makeParagraph(para(QString("item %1").arg(i), {}, lp)));
    }

    // A table: merged cells both ways, a short row, a nested table, row
    // properties, cell borders and shading.
    Table t;
    t.align = Alignment::Center;
    t.indent = 100;
    t.cellMargin = 80;
    TableRow r0;
    r0.header = true;
    r0.height = 400;
    r0.heightRule = HeightRule::AtLeast;
    r0.cells = {cell("A", 2000), cell("B", 2000), cell("C", 2000)};
    r0.cells[0].horizontalMerge = Merge::Restart;
    r0.cells[1].horizontalMerge = Merge::Continue;
    r0.cells[1].blocks = {Block::makeParagraph({})};
    r0.cells[2].verticalMerge = Merge::Restart;
    r0.cells[2].shading = rgb(200, 200, 0);
    r0.cells[2].top.style = BorderStyle::Single;
    r0.cells[2].top.width = 20;
    r0.cells[2].valign = CellVerticalAlign::Center;
    TableRow r1;
    r1.cantSplit = true;
    r1.cells = {cell("D", 2000), cell("E", 2000), cell("", 2000)};
    r1.cells[2].verticalMerge = Merge::Continue;
    Table inner;
    TableRow ir;
    ir.cells = {cell("x", 900), cell("y", 900)};
    inner.rows = {ir};
    r1.cells[1].blocks.push_back(Block::makeTable(inner));
    r1.cells[1].blocks.push_back(Block::makeParagraph(para("after inner")));
    TableRow r2;
    r2.cells = {cell("short", 4000)};
    t.rows = {r0, r1, r2};
    s.blocks.push_back(Block::makeTable(t));
    s.blocks.push_back(Block::makeParagraph(para("after table")));

    // A text frame with its own paragraph and table.
    Frame f;
    f.x = 1000;
    f.y = 2000;
    f.width = 3000;
    f.height = 1500;
    f.heightRule = HeightRule::AtLeast;
    f.horizontalRelation = HorizontalRelation::Margin;
    f.verticalRelation = VerticalRelation::Paragraph;
    f.wrapAround = false;
    f.border.style = BorderStyle::Single;
    f.blocks.push_back(Block::makeParagraph(para("in frame")));
    Table ft;
    TableRow fr;
    fr.cells = {cell("f1", 1000)};
    ft.rows = {fr};
    f.blocks.push_back(Block::makeTable(ft));
    f.blocks.push_back(Block::makeParagraph(para("frame end")));
    s.blocks.push_back(Block::makeFrame(f));
    s.blocks.push_back(Block::makeParagraph(para("after frame")));
    d.sections.push_back(s);

    // A second section on a new page, landscape, starting with a table.
    Section s2;
    s2.page.orientation = Orientation::Landscape;
    s2.page.width = 16838;
    s2.page.height = 11906;
    s2.footer.push_back(Block::makeParagraph(para("second footer")));
    Table t2;
    TableRow t2r;
    t2r.cells = {cell("s2", 3000)};
    t2.rows = {t2r};
    s2.blocks.push_back(Block::makeTable(t2));
    ParaFormat pb;
    pb.pageBreakBefore = true;
    s2.blocks.push_back(Block::makeParagraph(para("own page break", {}, pb)));
    d.sections.push_back(s2);

    // A third, continuous section.
    Section s3;
    s3.start = SectionStart::Continuous;
    s3.blocks.push_back(Block::makeParagraph(para("third")));
    d.sections.push_back(s3);
    return d;
}

} // namespace

// Compares two models section by section and block by block, showing the
// first differences readably.
void expectSameModel(const Document& in, const Document& out) {
    ASSERT_EQ(out.sections.size(), in.sections.size());
    for (size_t s = 0; s < in.sections.size(); ++s) {
        const Section& a = in.sections[s];
        const Section& b = out.sections[s];
        EXPECT_EQ(a.page, b.page) << s;
        EXPECT_EQ(a.start, b.start) << s;
        EXPECT_EQ(a.titlePage, b.titlePage) << s;
        EXPECT_EQ(dumpBlocks(a.header).toStdString(), dumpBlocks(b.header).toStdString()) << s;
        EXPECT_EQ(dumpBlocks(a.firstHeader).toStdString(), dumpBlocks(b.firstHeader).toStdString());
        EXPECT_EQ(dumpBlocks(a.footer).toStdString(), dumpBlocks(b.footer).toStdString()) << s;
        ASSERT_EQ(a.blocks.size(), b.blocks.size()) << s;
        for (size_t i = 0; i < a.blocks.size(); ++i)
            EXPECT_EQ(dumpBlocks({a.blocks[i]}).toStdString(),
                      dumpBlocks({b.blocks[i]}).toStdString())
                << "section " << s << " block " << i;
    }
    EXPECT_EQ(out.lists, in.lists);
    EXPECT_EQ(out.defaultTabStop, in.defaultTabStop);
    EXPECT_TRUE(out == in);
}

// Model -> engine -> model gives `in` back.
static void expectThroughTheEngine(Document in) {
    normalize(in);
    TxDocument tx;
    bridge::toEngine(in, tx);
    Document out = bridge::fromEngine(tx);
    normalize(out);
    expectSameModel(in, out);
    EXPECT_EQ(plainText(out), plainText(in));
}

TEST(EngineBridge, ModelToEngineToModelLosesNothing) {
    expectThroughTheEngine(richDocument());
}

TEST(EngineBridge, NativeFormatKeepsEverything) {
    Document in = richDocument();
    normalize(in);
    TxDocument tx;
    bridge::toEngine(in, tx);
    const QByteArray bytes = native::save(tx);
    TxDocument back;
    QString error;
    ASSERT_TRUE(native::load(bytes, back, &error)) << error.toStdString();
    Document out = bridge::fromEngine(back);
    normalize(out);
    expectSameModel(in, out);
    // Saved again, the document reads back the same once more.
    TxDocument again;
    ASSERT_TRUE(native::load(native::save(back), again));
    Document out2 = bridge::fromEngine(again);
    normalize(out2);
    expectSameModel(in, out2);
}

TEST(EngineBridge, NativeRefusesDamagedOrNewerData) {
    TxDocument tx;
    bridge::toEngine(richDocument(), tx);
    const QByteArray bytes = native::save(tx);
    TxDocument target;
    bridge::toEngine(richDocument(), target);
    const QString before = plainText(bridge::fromEngine(target));
    QString error;
    // Truncated anywhere: refused, target untouched.
    for (int cut : {4, 12, 40, int(bytes.size() / 2), int(bytes.size() - 3)}) {
        EXPECT_FALSE(native::load(bytes.left(cut), target, &error)) << cut;
        EXPECT_EQ(plainText(bridge::fromEngine(target)), before);
    }
    QByteArray newer = bytes;
    newer[11] = char(99); // version 99
    EXPECT_FALSE(native::load(newer, target, &error));
    EXPECT_TRUE(error.contains("newer"));
    EXPECT_FALSE(native::load("not a document", target, &error));
}

TEST(EngineBridge, NestedFieldsInTheEditor) {
    Document in;
    Section s;
    Paragraph p;
    Field outer;
    outer.target = "http://outer/";
    outer.kind = 1;
    Field inner;
    inner.target = "TG_5";
    inner.kind = 2;
    inner.result.push_back(Inline::makeText("in"));
    outer.result.push_back(Inline::makeText("a"));
    outer.result.push_back(Inline::makeField(inner));
    outer.result.push_back(Inline::makeText("b"));
    p.content.push_back(Inline::makeField(outer));
    s.blocks.push_back(Block::makeParagraph(p));
    in.sections.push_back(s);
    TxDocument tx;
    bridge::toEngine(in, tx);
    TxEngine e;
    ASSERT_TRUE(e.LoadBytes(native::save(tx), TxEngine::FmtNative));
    EXPECT_EQ(e.Text(), "ainb");
    const int o = e.NextField(0, 0);
    const int i = e.NextField(0, o);
    ASSERT_NE(i, 0);
    EXPECT_EQ(e.FieldTarget(o), "http://outer/");
    EXPECT_EQ(e.FieldTarget(i), "TG_5");
    e.SetCurField(o);
    EXPECT_EQ(e.FieldText(), "ainb"); // the outer field spans the inner one
    // Typing at the inner field's end stays in the outer field only.
    e.SetSelStart(3);
    e.SetSelText("X");
    e.SetCurField(i);
    EXPECT_EQ(e.FieldText(), "in");
    e.SetCurField(o);
    EXPECT_EQ(e.FieldText(), "ainXb");
    // Deleting the inner field keeps its text in the outer one.
    e.SetCurField(i);
    EXPECT_TRUE(e.FieldDelete(true));
    EXPECT_EQ(e.NextField(0, 0), o);
    EXPECT_EQ(e.NextField(0, o), 0);
    e.SetCurField(o);
    EXPECT_EQ(e.FieldText(), "ainXb");
    // And the model comes back with one field holding all of it.
    TxDocument back;
    ASSERT_TRUE(native::load(e.SaveBytes(TxEngine::FmtNative), back));
    Document out = bridge::fromEngine(back);
    normalize(out);
    const auto& content = out.sections[0].blocks[0].paragraph.content;
    ASSERT_EQ(content.size(), 1u);
    EXPECT_EQ(content[0].field.target, "http://outer/");
    ASSERT_EQ(content[0].field.result.size(), 1u);
    EXPECT_EQ(content[0].field.result[0].text, "ainXb");
}

// Runs with breaks at their edges and in a row, and many runs sharing a few
// looks (the bridge reuses the formats it made for them): the text and every
// run's look come back as they went in.
TEST(EngineBridge, RunsWithBreaksAndRepeatedLooksComeBack) {
    Document in;
    Section s;
    CharFormat bold;
    bold.bold = true;
    CharFormat big;
    big.halfPoints = 30;
    big.color = rgb(0, 0, 200);
    Paragraph p;
    p.content.push_back(Inline::makeText(QString(QChar(kPageBreak)) + "first", bold));
    p.content.push_back(Inline::makeText(QString("a") + QChar(kLineBreak) + QChar(kLineBreak) +
                                             QChar(kPageBreak) + QChar(kPageBreak) + "b",
                                         big));
    for (int i = 0; i < 40; ++i)
        p.content.push_back(
            Inline::makeText(QString("run %1").arg(i) + (i % 7 ? "" : QString(QChar(kLineBreak))),
                             i % 3 == 0   ? bold
                             : i % 3 == 1 ? big
                                          : CharFormat{}));
    p.content.push_back(Inline::makeText(QString("last") + QChar(kPageBreak), big));
    s.blocks.push_back(Block::makeParagraph(p));
    s.blocks.push_back(Block::makeParagraph(para("next", big)));
    in.sections.push_back(s);
    expectThroughTheEngine(in);
}
