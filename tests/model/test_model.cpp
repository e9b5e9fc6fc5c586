#include "Document.h"
#include "TableBorders.h"
#include "Styles.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

Paragraph para(const QString& text, const CharFormat& f = {}) {
    Paragraph p;
    p.addText(text, f);
    return p;
}

} // namespace

TEST(Model, ColoursAreBgrValues) {
    // The program's colours are red + 256 * green + 65536 * blue.
    EXPECT_EQ(rgb(133, 90, 80), 133u + 256u * 90u + 65536u * 80u);
    EXPECT_EQ(red(rgb(1, 2, 3)), 1);
    EXPECT_EQ(green(rgb(1, 2, 3)), 2);
    EXPECT_EQ(blue(rgb(1, 2, 3)), 3);
    EXPECT_NE(kAutoColor, rgb(0, 0, 0));
}

TEST(Model, EditorStyleNames) {
    EXPECT_EQ(editorStyleNames().size(), 6);
    EXPECT_EQ(editorStyleNumber(editorStyleName(3)), 3);
    EXPECT_EQ(editorStyleNumber(QStringLiteral("Normal")), -1);
    EXPECT_TRUE(editorStyleName(6).isEmpty());
    EXPECT_TRUE(editorStyleName(-1).isEmpty());
}

TEST(Model, EqualityReachesNestedContent) {
    Document a;
    TableCell cell;
    cell.blocks.push_back(Block::makeParagraph(para(QStringLiteral("x"))));
    TableRow row;
    row.cells = {cell, cell};
    Table t;
    t.rows = {row};
    a.lastSection().blocks.push_back(Block::makeTable(t));
    Document b = a;
    EXPECT_EQ(a, b);
    // A change deep inside a cell's paragraph makes the documents differ.
    b.sections[0].blocks[0].table.rows[0].cells[1].blocks[0].paragraph.content[0].format.bold =
        true;
    EXPECT_NE(a, b);
    EXPECT_EQ(t.columnCount(), 2);

    Field f;
    f.target = QStringLiteral("TG_12");
    f.result.push_back(Inline::makeText(QStringLiteral("cap")));
    Field g = f;
    EXPECT_EQ(f, g);
    g.result[0].text = QStringLiteral("cap2");
    EXPECT_NE(f, g);
}

TEST(Model, NormalizeMergesRunsEverywhere) {
    CharFormat bold;
    bold.bold = true;
    Paragraph p;
    p.content = {Inline::makeText(QStringLiteral("a")), Inline::makeText(QString()),
                 Inline::makeText(QStringLiteral("b")),
                 Inline::makeText(QStringLiteral("c"), bold)};
    Field f;
    f.result = {Inline::makeText(QStringLiteral("x")), Inline::makeText(QStringLiteral("y"))};
    p.content.push_back(Inline::makeField(f));
    Document d;
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    d.lastSection().header.push_back(Block::makeParagraph(p));
    normalize(d);
    for (const auto* blocks : {&d.sections[0].blocks, &d.sections[0].header}) {
        const Paragraph& q = (*blocks)[0].paragraph;
        ASSERT_EQ(q.content.size(), 3u);
        EXPECT_EQ(q.content[0].text, QStringLiteral("ab"));
        EXPECT_TRUE(q.content[1].format.bold);
        ASSERT_EQ(q.content[2].field.result.size(), 1u);
        EXPECT_EQ(q.content[2].field.result[0].text, QStringLiteral("xy"));
    }
}

TEST(Model, PlainTextOfBlocks) {
    Document d;
    Section& s = d.lastSection();
    Paragraph p = para(QStringLiteral("one") + QChar(kLineBreak) + QStringLiteral("two"));
    Field f;
    f.result = {Inline::makeText(QStringLiteral("link"))};
    p.content.push_back(Inline::makeField(f));
    s.blocks.push_back(Block::makeParagraph(p));
    Table t;
    TableRow r;
    for (const char* txt : {"a", "b"}) {
        TableCell c;
        c.blocks.push_back(Block::makeParagraph(para(QString::fromLatin1(txt))));
        r.cells.push_back(c);
    }
    t.rows = {r, r};
    s.blocks.push_back(Block::makeTable(t));
    Frame fr;
    fr.blocks.push_back(Block::makeParagraph(para(QStringLiteral("framed"))));
    s.blocks.push_back(Block::makeFrame(fr));
    s.header.push_back(Block::makeParagraph(para(QStringLiteral("header"))));
    EXPECT_EQ(plainText(d), QStringLiteral("one\ntwolink\na\tb\na\tb\nframed\n"));
}

// A table's lines given for the whole table go to the cells' sides: outer
// edges on the outside, inside lines between cells, a merged cell's right
// edge where its last covered column ends, and a side a cell sets itself
// kept as it is.
TEST(TableBorders, EdgesInsideLinesAndOwnSides) {
    model::TableBorders b;
    b.top.style = model::BorderStyle::Thick;
    b.bottom.style = model::BorderStyle::Double;
    b.left.style = model::BorderStyle::Single;
    b.right.style = model::BorderStyle::Single;
    b.insideH.style = model::BorderStyle::Dotted;
    b.insideV.style = model::BorderStyle::Dashed;
    model::TableRow row;
    row.cells.resize(3);
    row.cells[2].horizontalMerge = model::Merge::Continue; // covered by cell 1
    row.cells[0].top.style = model::BorderStyle::None;
    model::applyRowBorders(row, b, true, false, {model::SideTop, 0, 0});
    EXPECT_EQ(row.cells[0].top.style, model::BorderStyle::None); // its own
    EXPECT_EQ(row.cells[1].top.style, model::BorderStyle::Thick);
    EXPECT_EQ(row.cells[0].bottom.style, model::BorderStyle::Dotted);
    EXPECT_EQ(row.cells[0].left.style, model::BorderStyle::Single);
    EXPECT_EQ(row.cells[0].right.style, model::BorderStyle::Dashed);
    EXPECT_EQ(row.cells[1].left.style, model::BorderStyle::Dashed);
    EXPECT_EQ(row.cells[1].right.style, model::BorderStyle::Single); // merged to the end
    model::TableRow last;
    last.cells.resize(1);
    model::applyRowBorders(last, b, false, true, {});
    EXPECT_EQ(last.cells[0].top.style, model::BorderStyle::Dotted);
    EXPECT_EQ(last.cells[0].bottom.style, model::BorderStyle::Double);
    EXPECT_FALSE(model::TableBorders().any());
}
