// Footnotes, endnotes, hidden text and the empty paragraph after a table
// survive writing a .docx and reading it back.
#include "Document.h"
#include "DocxTestUtil.h"
#include "Notes.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

TEST(DocxNotes, NotesHiddenTextAndTheParagraphAfterATableComeBack) {
    const Document d = modelbuild::notesAndTable(true);
    Document back = docxtest::roundTrip(d);
    normalize(back);
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
