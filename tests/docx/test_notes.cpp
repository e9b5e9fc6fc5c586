// Footnotes, endnotes, hidden text and the empty paragraph after a table
// survive writing a .docx and reading it back.
#include "Document.h"
#include "Docx.h"
#include "Notes.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

Document roundTrip(const Document& d) {
    QString error;
    auto back = docx::read(docx::write(d, &error).value_or(QByteArray()), &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    Document out = back.value_or(Document());
    normalize(out);
    return out;
}

Paragraph para(const QString& text, const CharFormat& f = {}) {
    Paragraph p;
    p.addText(text, f);
    return p;
}

Note note(NoteKind kind, const QString& text, const QString& mark = {}) {
    Note n;
    n.kind = kind;
    n.mark = mark;
    n.blocks.push_back(Block::makeParagraph(para(text)));
    return n;
}

} // namespace

TEST(DocxNotes, NotesHiddenTextAndTheParagraphAfterATableComeBack) {
    Document d;
    Section& s = d.lastSection();
    CharFormat sup;
    sup.valign = VerticalAlign::Superscript;
    CharFormat hidden;
    hidden.hidden = true;
    Paragraph p = para(QStringLiteral("Body"));
    p.content.push_back(Inline::makeNote(note(NoteKind::Foot, QStringLiteral("Foot one")), sup));
    p.addText(QStringLiteral(" hidden words"), hidden);
    p.content.push_back(Inline::makeNote(note(NoteKind::End, QStringLiteral("End one")), sup));
    p.content.push_back(Inline::makeNote(
        note(NoteKind::Foot, QStringLiteral("Starred"), QStringLiteral("*")), sup));
    s.blocks.push_back(Block::makeParagraph(p));
    TableCell cell;
    cell.width = 3000;
    cell.blocks.push_back(Block::makeParagraph(para(QStringLiteral("cell"))));
    TableRow row;
    row.cells.push_back(cell);
    Table t;
    t.rows.push_back(row);
    s.blocks.push_back(Block::makeTable(t));
    s.blocks.push_back(Block::makeParagraph({}));
    normalize(d);
    const Document back = roundTrip(d);
    ASSERT_EQ(back.sections.size(), 1u);
    ASSERT_EQ(back.sections[0].blocks.size(), 3u);
    EXPECT_EQ(back.sections[0].blocks[2], d.sections[0].blocks[2]);
    const auto foot = notesOf(back, NoteKind::Foot);
    ASSERT_EQ(foot.size(), 2u);
    EXPECT_EQ(plainText(foot[0]->blocks), QStringLiteral("Foot one\n"));
    EXPECT_EQ(foot[1]->mark, QStringLiteral("*"));
    EXPECT_EQ(plainText(foot[1]->blocks), QStringLiteral("Starred\n"));
    const auto end = notesOf(back, NoteKind::End);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(plainText(end[0]->blocks), QStringLiteral("End one\n"));
    EXPECT_EQ(back.sections[0].blocks[0], d.sections[0].blocks[0]);
}
