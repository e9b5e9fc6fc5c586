// Footnotes, endnotes, hidden text and the empty paragraph after a table
// survive writing RTF and reading it back; Word's footnote form is read.
#include "Document.h"
#include "Notes.h"
#include "Rtf.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

Document read(const QByteArray& bytes) {
    QString error;
    auto back = rtf::read(bytes, &error);
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

} // namespace

TEST(RtfNotes, NotesHiddenTextAndTheParagraphAfterATableComeBack) {
    Document d;
    Section& s = d.lastSection();
    CharFormat sup;
    sup.valign = VerticalAlign::Superscript;
    CharFormat hidden;
    hidden.hidden = true;
    Note foot;
    foot.blocks.push_back(Block::makeParagraph(para(QStringLiteral("Foot one"))));
    Note end;
    end.kind = NoteKind::End;
    end.blocks.push_back(Block::makeParagraph(para(QStringLiteral("End one"))));
    Paragraph p = para(QStringLiteral("Body"));
    p.content.push_back(Inline::makeNote(foot, sup));
    p.addText(QStringLiteral(" hidden words"), hidden);
    p.content.push_back(Inline::makeNote(end, sup));
    p.addText(QStringLiteral(" after"), {});
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
    QString error;
    const auto bytes = rtf::write(d, &error);
    ASSERT_TRUE(bytes.has_value()) << error.toStdString();
    const Document back = read(*bytes);
    ASSERT_EQ(back.sections.size(), 1u);
    ASSERT_EQ(back.sections[0].blocks.size(), 3u) << plainText(back).toStdString();
    EXPECT_EQ(back.sections[0].blocks[0], d.sections[0].blocks[0]);
    EXPECT_EQ(back.sections[0].blocks[2], d.sections[0].blocks[2]);
}

TEST(RtfNotes, WordsFootnoteGroupBecomesANote) {
    const Document d = read(QByteArrayLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\pard Text{\\super\\chftn}{\\footnote\\pard\\plain"
        "{\\super\\chftn} The note {\\b bold}.}{\\v secret} rest\\par}"));
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
