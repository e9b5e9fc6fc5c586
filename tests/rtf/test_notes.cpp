// Footnotes, endnotes, hidden text and the empty paragraph after a table
// survive writing RTF and reading it back; Word's footnote form is read.
#include "Document.h"
#include "Notes.h"
#include "Rtf.h"
#include "RtfTestUtil.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

TEST(RtfNotes, NotesHiddenTextAndTheParagraphAfterATableComeBack) {
    const Document d = modelbuild::notesAndTable(false);
    QString error;
    const auto bytes = rtf::write(d, &error);
    ASSERT_TRUE(bytes.has_value()) << error.toStdString();
    Document back = rtftest::readRtf(*bytes);
    normalize(back);
    ASSERT_EQ(back.sections.size(), 1u);
    ASSERT_EQ(back.sections[0].blocks.size(), 3u) << plainText(back).toStdString();
    EXPECT_EQ(back.sections[0].blocks[0], d.sections[0].blocks[0]);
    EXPECT_EQ(back.sections[0].blocks[2], d.sections[0].blocks[2]);
}

TEST(RtfNotes, WordsFootnoteGroupBecomesANote) {
    Document d = rtftest::readRtf(QByteArrayLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\pard Text{\\super\\chftn}{\\footnote\\pard\\plain"
        "{\\super\\chftn} The note {\\b bold}.}{\\v secret} rest\\par}"));
    normalize(d);
    const auto foot = notesOf(d, NoteKind::Foot);
    ASSERT_EQ(foot.size(), 1u);
    EXPECT_EQ(plainText(foot[0]->blocks), QStringLiteral("The note bold.\n"));
    EXPECT_EQ(foot[0]->blocks.at(0).paragraph.content.at(0).text, QStringLiteral("The note "));
    // The body keeps its text; the hidden run is there with its flag.
    EXPECT_EQ(plainText(d), QStringLiteral("Text rest\n"));
    bool sawHidden = false;
    for (const Inline& in : d.sections.at(0).blocks.at(0).paragraph.content)
        sawHidden |= in.format.hidden && in.text == QStringLiteral("secret");
    EXPECT_TRUE(sawHidden);
}
