#include "Document.h"
#include "MsDoc.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

Document roundTrip(const Document& d) {
    QString error;
    const auto back = msdoc::read(msdoc::write(d), &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    return back.value_or(Document());
}

Paragraph para(const QString& text, const CharFormat& f = {}) {
    Paragraph p;
    p.addText(text, f);
    return p;
}

void expectSame(Document a, Document b) {
    normalize(a);
    normalize(b);
    ASSERT_EQ(a.sections.size(), b.sections.size());
    for (size_t s = 0; s < a.sections.size(); ++s) {
        const Section& x = a.sections[s];
        const Section& y = b.sections[s];
        EXPECT_EQ(x.page, y.page);
        ASSERT_EQ(x.blocks.size(), y.blocks.size())
            << plainText(a).toStdString() << "|" << plainText(b).toStdString();
        for (size_t i = 0; i < x.blocks.size(); ++i) {
            EXPECT_EQ(x.blocks[i], y.blocks[i]) << "section " << s << " block " << i;
            const auto& xc = x.blocks[i].paragraph.content;
            const auto& yc = y.blocks[i].paragraph.content;
            EXPECT_EQ(xc.size(), yc.size());
            EXPECT_EQ(x.blocks[i].paragraph.format, y.blocks[i].paragraph.format);
            EXPECT_EQ(x.blocks[i].paragraph.markFormat, y.blocks[i].paragraph.markFormat);
            for (size_t k = 0; k < std::min(xc.size(), yc.size()); ++k) {
                EXPECT_EQ(xc[k].picture, yc[k].picture)
                    << "inline " << k << ": " << xc[k].picture.x << "," << xc[k].picture.y << " "
                    << xc[k].picture.width << "x" << xc[k].picture.height << " wrap "
                    << int(xc[k].picture.wrap) << " vs " << yc[k].picture.x << ","
                    << yc[k].picture.y << " " << yc[k].picture.width << "x" << yc[k].picture.height
                    << " wrap " << int(yc[k].picture.wrap) << " type " << int(yc[k].picture.type)
                    << " size " << yc[k].picture.data.size();
                EXPECT_EQ(xc[k].format, yc[k].format) << "inline " << k;
                EXPECT_EQ(xc[k].text, yc[k].text) << "inline " << k;
                EXPECT_EQ(int(xc[k].kind), int(yc[k].kind)) << "inline " << k;
            }
        }
        EXPECT_EQ(x.header, y.header);
        EXPECT_EQ(x.footer, y.footer);
        EXPECT_EQ(x.firstHeader, y.firstHeader);
        EXPECT_EQ(x.firstFooter, y.firstFooter);
        EXPECT_EQ(x.titlePage, y.titlePage);
        EXPECT_EQ(x.start, y.start);
    }
    EXPECT_EQ(a, b);
}

} // namespace

TEST(DocRoundTrip, CharacterAndParagraphFormatting) {
    Document d;
    Section& s = d.lastSection();
    s.page.width = 11906;
    s.page.height = 16838;
    s.page.marginLeft = 1134;
    s.page.marginTop = 1701;
    s.page.orientation = Orientation::Portrait;
    Paragraph p;
    p.format.align = Alignment::Center;
    p.format.leftIndent = 400;
    p.format.rightIndent = 200;
    p.format.firstLineIndent = -200;
    p.format.spaceBefore = 180;
    p.format.spaceAfter = 120;
    p.format.lineSpacing = 380;
    p.format.lineRule = LineRule::AtLeast;
    p.format.keepWithNext = true;
    p.format.styleName = QStringLiteral("見出２");
    p.format.tabs = {{720, TabAlign::Left, TabLeader::None},
                     {2880, TabAlign::Right, TabLeader::Dots}};
    CharFormat a;
    a.font = QStringLiteral("Arial");
    a.fontEastAsia = QStringLiteral("ＭＳ 明朝");
    a.halfPoints = 28;
    a.bold = true;
    a.color = rgb(133, 90, 80);
    a.spacing = -20; // condensed: the signed operand must keep its sign
    a.kerning = 7936;
    CharFormat b;
    b.italic = true;
    b.underline = Underline::Double;
    b.strike = true;
    b.background = rgb(255, 255, 0);
    b.valign = VerticalAlign::Superscript;
    b.spacing = 60;
    p.addText(QStringLiteral("見出し text"), a);
    p.addText(QStringLiteral(" italic\tafter tab") + QChar(kLineBreak) + QStringLiteral("line 2"),
              b);
    p.markFormat = a;
    s.blocks.push_back(Block::makeParagraph(p));
    Paragraph q = para(QStringLiteral("page two"));
    q.format.pageBreakBefore = true;
    q.format.lineSpacing = 360;
    q.format.align = Alignment::Justify;
    s.blocks.push_back(Block::makeParagraph(q));
    Paragraph e; // empty paragraph keeps its mark's size
    e.markFormat.halfPoints = 40;
    s.blocks.push_back(Block::makeParagraph(e));
    Paragraph x = para(QStringLiteral("exact"));
    x.format.lineRule = LineRule::Exact;
    x.format.lineSpacing = 300;
    s.blocks.push_back(Block::makeParagraph(x));
    expectSame(d, roundTrip(d));
}

namespace {

TableCell cell(const QString& text, Twips width) {
    TableCell c;
    c.width = width;
    c.blocks.push_back(Block::makeParagraph(para(text)));
    return c;
}

} // namespace

TEST(DocRoundTrip, TablesWithMergesBordersShadingAndNesting) {
    Document d;
    Section& s = d.lastSection();
    s.blocks.push_back(Block::makeParagraph(para(QStringLiteral("before"))));
    Table t;
    t.indent = 0;
    t.cellMargin = 108;
    TableRow r1;
    r1.height = 600;
    r1.heightRule = HeightRule::Exact;
    r1.header = true;
    TableCell a = cell(QStringLiteral("merged"), 2000);
    a.horizontalMerge = Merge::Restart;
    a.shading = rgb(200, 220, 240);
    a.top.style = BorderStyle::Single;
    a.top.width = 10;
    a.bottom.style = BorderStyle::Double;
    a.bottom.width = 15;
    a.bottom.color = rgb(255, 0, 0);
    TableCell b = cell(QString(), 2000);
    b.horizontalMerge = Merge::Continue;
    TableCell c = cell(QStringLiteral("縦結合"), 1500);
    c.verticalMerge = Merge::Restart;
    c.valign = CellVerticalAlign::Center;
    r1.cells = {a, b, c};
    TableRow r2;
    r2.cantSplit = true;
    r2.height = 400;
    r2.heightRule = HeightRule::AtLeast;
    TableCell nestedHolder = cell(QStringLiteral("outer"), 2000);
    Table inner;
    TableRow ir;
    ir.cells = {cell(QStringLiteral("in1"), 900), cell(QStringLiteral("in2"), 900)};
    inner.rows = {ir, ir};
    nestedHolder.blocks.push_back(Block::makeTable(inner));
    TableCell under = cell(QString(), 1500);
    under.verticalMerge = Merge::Continue;
    r2.cells = {nestedHolder, cell(QStringLiteral("two\tcols"), 2000), under};
    t.rows = {r1, r2};
    s.blocks.push_back(Block::makeTable(t));
    s.blocks.push_back(Block::makeParagraph(para(QStringLiteral("after"))));
    s.blocks.push_back(Block::makeTable(t)); // a table ending the document
    expectSame(d, roundTrip(d));
}

TEST(DocRoundTrip, FieldsBookmarksAndMarkers) {
    Document d;
    Paragraph p;
    p.addText(QStringLiteral("see "), {});
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark1"), true));
    const char* targets[] = {"TG_12",
                             "TP_anchor",
                             "DX_x",
                             "@",
                             "http://example.com/a?b=1&c=\"q\"",
                             "C:\\docs\\file name.doc"};
    for (const char* target : targets) {
        Field f;
        f.target = QString::fromUtf8(target);
        f.kind =
            f.target.startsWith(QStringLiteral("T")) || f.target.startsWith(QStringLiteral("D"))
                ? 2
                : 1;
        f.option = 149;
        CharFormat look;
        look.underline = Underline::Single;
        look.color = rgb(128, 128, 255);
        f.result.push_back(Inline::makeText(QStringLiteral("[") + f.target + u']', look));
        p.content.push_back(Inline::makeField(f, look));
        p.addText(QStringLiteral(" "), {});
    }
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark1"), false));
    Field page;
    page.type = FieldType::Page;
    page.result.push_back(Inline::makeText(QStringLiteral("3")));
    p.content.push_back(Inline::makeField(page));
    Field date;
    date.type = FieldType::Date;
    date.instruction = QStringLiteral(" DATE \\@ \"yyyy/MM/dd\" ");
    date.result.push_back(Inline::makeText(QStringLiteral("2024/01/02")));
    p.content.push_back(Inline::makeField(date));
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    expectSame(d, roundTrip(d));
}

TEST(DocRoundTrip, SectionsHeadersFootersAndFrames) {
    Document d;
    Section s1;
    s1.page.orientation = Orientation::Landscape;
    s1.page.width = 16838;
    s1.page.height = 11906;
    s1.titlePage = true;
    s1.header.push_back(Block::makeParagraph(para(QStringLiteral("ヘッダー"))));
    Paragraph pf = para(QStringLiteral("Page "));
    Field page;
    page.type = FieldType::Page;
    page.result.push_back(Inline::makeText(QStringLiteral("1")));
    pf.content.push_back(Inline::makeField(page));
    s1.footer.push_back(Block::makeParagraph(pf));
    s1.firstHeader.push_back(Block::makeParagraph(para(QStringLiteral("first page header"))));
    s1.blocks.push_back(Block::makeParagraph(para(QStringLiteral("section one"))));
    // Label frames: a grid of positioned text frames.
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            Frame f;
            f.x = 1134 + c * 3118;
            f.y = 1134 + r * 2551;
            f.width = 2835;
            f.height = 2268;
            f.border.style = BorderStyle::Single;
            f.blocks.push_back(
                Block::makeParagraph(para(QStringLiteral("label %1-%2").arg(r).arg(c))));
            s1.blocks.push_back(Block::makeFrame(f));
        }
    }
    Section s2;
    s2.start = SectionStart::Continuous;
    s2.header = s1.header; // the same header continues
    s2.blocks.push_back(Block::makeParagraph(para(QStringLiteral("section two"))));
    Section s3;
    s3.blocks.push_back(Block::makeParagraph(para(QStringLiteral("no header here"))));
    d.sections = {s1, s2, s3};
    expectSame(d, roundTrip(d));
}

TEST(DocRoundTrip, InlinePictures) {
    // A 2 x 1 PNG and a 1 x 1 24-bit BMP, written by hand.
    const QByteArray png =
        QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAAEElEQVR4nGP4z8DAwMD"
                               "AAAAe/gH/HxNbkQAAAABJRU5ErkJggg==");
    QByteArray bmp("BM", 2);
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    bmp += le32(58) + le32(0) + le32(54);
    bmp += le32(40) + le32(1) + le32(1) + le16(1) + le16(24) + le32(0) + le32(4) + le32(2835) +
           le32(2835) + le32(0) + le32(0);
    bmp += QByteArray("\x00\x00\xFF\x00", 4);
    Document d;
    Paragraph p = para(QStringLiteral("pictures: "));
    Picture a;
    a.data = png;
    a.type = ImageType::Png;
    a.width = 1440;
    a.height = 720;
    a.scaleX = 150;
    a.scaleY = 50;
    p.content.push_back(Inline::makePicture(a));
    p.addText(QStringLiteral(" and "), {});
    Picture b;
    b.data = bmp;
    b.type = ImageType::Bmp;
    b.width = 15;
    b.height = 15;
    p.content.push_back(Inline::makePicture(b));
    // Floating: anchored here, placed on the page, with each text flow.
    const Wrap wraps[] = {Wrap::Around, Wrap::Left, Wrap::Right, Wrap::TopBottom, Wrap::Free};
    for (int i = 0; i < 5; ++i) {
        Picture f = a;
        f.scaleX = f.scaleY = 100;
        f.wrap = wraps[i];
        f.x = 1000 + i * 500;
        f.y = 2000;
        f.horizontalRelation = i % 2 ? HorizontalRelation::Page : HorizontalRelation::Margin;
        f.verticalRelation = i % 2 ? VerticalRelation::Page : VerticalRelation::Paragraph;
        f.behindText = i == 4;
        p.content.push_back(Inline::makePicture(f));
    }
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    expectSame(d, roundTrip(d));
}

TEST(DocRoundTrip, BulletedAndNumberedLists) {
    Document d;
    ListDef bullets;
    bullets.id = 1;
    for (int k = 0; k < 9; ++k) {
        ListLevel l;
        l.format = NumberFormat::Bullet;
        l.text = QStringLiteral("・");
        l.indent = 420 * (k + 1);
        l.hanging = 420;
        bullets.levels.push_back(l);
    }
    ListDef numbers;
    numbers.id = 2;
    for (int k = 0; k < 9; ++k) {
        ListLevel l;
        l.format = k == 1 ? NumberFormat::LowerLetter : NumberFormat::Decimal;
        l.text = k == 1 ? QStringLiteral("%1.%2)") : QStringLiteral("(%1)");
        l.start = k == 0 ? 3 : 1;
        l.indent = 360 * (k + 1);
        l.hanging = 360;
        numbers.levels.push_back(l);
    }
    d.lists = {bullets, numbers};
    const struct {
        const char* text;
        int list, level;
    } items[] = {{"bullet one", 1, 0},
                 {"bullet nested", 1, 1},
                 {"number three", 2, 0},
                 {"number 3.a", 2, 1},
                 {"plain", 0, 0}};
    for (const auto& it : items) {
        Paragraph p = para(QString::fromUtf8(it.text));
        if (it.list) {
            p.format.listId = it.list;
            p.format.listLevel = it.level;
            p.format.leftIndent = d.lists[size_t(it.list - 1)].levels[size_t(it.level)].indent;
            p.format.firstLineIndent =
                -d.lists[size_t(it.list - 1)].levels[size_t(it.level)].hanging;
        }
        d.lastSection().blocks.push_back(Block::makeParagraph(p));
    }
    expectSame(d, roundTrip(d));
}

TEST(DocRoundTrip, EditorFieldKindsAndOptionsSurvive) {
    // Combinations a target prefix would not tell: a link to "TG_1" of kind
    // 1, a tag-like field with another option, nested and header fields.
    Document d;
    Paragraph p;
    const struct {
        const char* target;
        int kind, option;
    } fields[] = {{"TG_1", 1, 149}, {"http://x", 2, 7}, {"@", 1, 149}, {"TP_a", 2, 0}};
    for (const auto& f : fields) {
        Field field;
        field.target = QString::fromLatin1(f.target);
        field.kind = f.kind;
        field.option = f.option;
        field.result.push_back(Inline::makeText(QStringLiteral("cap")));
        p.content.push_back(Inline::makeField(field));
    }
    Field outer;
    outer.target = QStringLiteral("DX_outer");
    outer.kind = 1;
    outer.option = 3;
    outer.result = {p.content[0]};
    p.content.push_back(Inline::makeField(outer));
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    d.lastSection().header.push_back(Block::makeParagraph(p));
    expectSame(d, roundTrip(d));
}
