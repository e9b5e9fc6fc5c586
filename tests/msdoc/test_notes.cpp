// Footnotes, endnotes, hidden text and the empty paragraph after a table
// survive writing a .doc and reading it back.
#include "Document.h"
#include "ModelBuild.h"
#include "MsDoc.h"
#include "Notes.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

using modelbuild::note;
using modelbuild::para;
using modelbuild::superscript;

namespace {

Document roundTrip(const Document& d) {
    QString error;
    auto back = msdoc::read(msdoc::write(d), &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    Document out = back.value_or(Document());
    normalize(out);
    return out;
}

Table oneCell(std::vector<Block> blocks) {
    TableCell cell;
    cell.width = 3000;
    cell.blocks = std::move(blocks);
    TableRow row;
    row.cells.push_back(cell);
    Table t;
    t.rows.push_back(row);
    return t;
}

} // namespace

TEST(DocNotes, FootnotesAndEndnotesKeepTheirTextPlaceAndMark) {
    Document d;
    Section& s = d.lastSection();
    Paragraph p = para(QStringLiteral("Body with a note"));
    p.content.push_back(Inline::makeNote(
        note(NoteKind::Foot, {QStringLiteral("First footnote"), QStringLiteral("its second line")}),
        superscript()));
    p.addText(QStringLiteral(" and more"), {});
    p.content.push_back(
        Inline::makeNote(note(NoteKind::End, {QStringLiteral("An endnote 注記")}), superscript()));
    s.blocks.push_back(Block::makeParagraph(p));
    // A note with a mark of its own, and one inside a table cell.
    Paragraph q = para(QStringLiteral("Marked"));
    q.content.push_back(Inline::makeNote(
        note(NoteKind::Foot, {QStringLiteral("Starred note")}, QStringLiteral("*")),
        superscript()));
    s.blocks.push_back(Block::makeParagraph(q));
    Paragraph c = para(QStringLiteral("in cell"));
    c.content.push_back(
        Inline::makeNote(note(NoteKind::Foot, {QStringLiteral("Cell note")}), superscript()));
    s.blocks.push_back(Block::makeTable(oneCell({Block::makeParagraph(c)})));
    s.blocks.push_back(Block::makeParagraph(para(QStringLiteral("after"))));
    normalize(d);

    const Document back = roundTrip(d);
    EXPECT_EQ(back, d);
    const auto foot = notesOf(back, NoteKind::Foot);
    ASSERT_EQ(foot.size(), 3u);
    EXPECT_EQ(plainText(foot[0]->blocks), QStringLiteral("First footnote\nits second line\n"));
    EXPECT_EQ(foot[1]->mark, QStringLiteral("*"));
    EXPECT_EQ(plainText(foot[2]->blocks), QStringLiteral("Cell note\n"));
    const auto end = notesOf(back, NoteKind::End);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(plainText(end[0]->blocks), QStringLiteral("An endnote 注記\n"));
    // The text around the references is where it was.
    EXPECT_EQ(plainText(back), plainText(d));
}

TEST(DocNotes, NotesBesideHeadersAndFieldsKeepEveryStoryApart) {
    // Footnotes come before the header document in the file, endnotes after
    // it: all three must find their own text, and fields in notes their kinds.
    Document d;
    Section& s = d.lastSection();
    s.header.push_back(Block::makeParagraph(para(QStringLiteral("Header text"))));
    s.footer.push_back(Block::makeParagraph(para(QStringLiteral("Footer text"))));
    Field link;
    link.target = QStringLiteral("TG_12");
    link.kind = 2;
    link.option = 149;
    link.result.push_back(Inline::makeText(QStringLiteral("tag caption")));
    Note n = note(NoteKind::Foot, {QStringLiteral("See ")});
    n.blocks[0].paragraph.content.push_back(Inline::makeField(link));
    Note e = note(NoteKind::End, {QStringLiteral("End one")});
    Paragraph p = para(QStringLiteral("Text"));
    p.content.push_back(Inline::makeNote(n, superscript()));
    p.content.push_back(Inline::makeNote(e, superscript()));
    s.blocks.push_back(Block::makeParagraph(p));
    normalize(d);
    const Document back = roundTrip(d);
    EXPECT_EQ(back, d);
    ASSERT_EQ(back.sections.size(), 1u);
    EXPECT_EQ(plainText(back.sections[0].header), QStringLiteral("Header text\n"));
}

TEST(DocNotes, HiddenTextIsKeptWithItsFlag) {
    Document d;
    CharFormat hidden;
    hidden.hidden = true;
    CharFormat hiddenBold = hidden;
    hiddenBold.bold = true;
    Paragraph p = para(QStringLiteral("shown "));
    p.addText(QStringLiteral("hidden words"), hidden);
    p.addText(QStringLiteral(" bold hidden"), hiddenBold);
    p.addText(QStringLiteral(" shown again"), {});
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    normalize(d);
    const Document back = roundTrip(d);
    EXPECT_EQ(back, d);
    // Hidden text is not part of the document's plain text.
    EXPECT_EQ(plainText(back), QStringLiteral("shown  shown again\n"));
}

TEST(DocNotes, EmptyParagraphAfterTableIsKept) {
    const Table t = oneCell({Block::makeParagraph(para(QStringLiteral("cell")))});
    Document d;
    Section& first = d.lastSection();
    // End of a section that is not the last.
    first.blocks = {Block::makeTable(t), Block::makeParagraph({})};
    first.header = {Block::makeTable(t), Block::makeParagraph({})};
    Section second;
    // In a cell, after a nested table.
    second.blocks = {Block::makeTable(oneCell({Block::makeTable(t), Block::makeParagraph({})})),
                     Block::makeParagraph(para(QStringLiteral("between")))};
    // End of the document: two empty paragraphs after the table stay two.
    second.blocks.push_back(Block::makeTable(t));
    second.blocks.push_back(Block::makeParagraph({}));
    second.blocks.push_back(Block::makeParagraph({}));
    d.sections.push_back(second);
    Section third;
    third.blocks = {Block::makeTable(t), Block::makeParagraph({})};
    d.sections.push_back(third);
    normalize(d);
    const Document back = roundTrip(d);
    ASSERT_EQ(back.sections.size(), 3u);
    EXPECT_EQ(back.sections[0].blocks, d.sections[0].blocks);
    EXPECT_EQ(back.sections[0].header, d.sections[0].header);
    EXPECT_EQ(back.sections[1].blocks, d.sections[1].blocks);
    EXPECT_EQ(back.sections[2].blocks, d.sections[2].blocks);
    // A table that ends the document still comes back without a paragraph
    // the writer had to add.
    Document plain;
    plain.lastSection().blocks = {Block::makeTable(t)};
    normalize(plain);
    EXPECT_EQ(roundTrip(plain).sections[0].blocks, plain.sections[0].blocks);
}
