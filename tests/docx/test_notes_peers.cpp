// LibreOffice finds the footnote of a .docx this program wrote, and the
// notes of a Word .docx from the corpus are read with their text.
#include "Corpus.h"
#include "Document.h"
#include "Docx.h"
#include "Notes.h"
#include "Peers.h"
#include "TestEnv.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

TEST(DocxNotesPeers, LibreOfficeReadsOurFootnote) {
    const QString dir = TestEnv::freshDir(QStringLiteral("docx-notes"));
    Document d;
    Paragraph p;
    p.addText(QStringLiteral("BodyText"), {});
    Note n;
    n.blocks.push_back(Block::makeParagraph({}));
    n.blocks[0].paragraph.addText(QStringLiteral("DocxFootnoteText"), {});
    CharFormat sup;
    sup.valign = VerticalAlign::Superscript;
    p.content.push_back(Inline::makeNote(n, sup));
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    const QString file = dir + QStringLiteral("/notes.docx");
    TestEnv::writeFile(file, docx::write(d).value_or(QByteArray()));
    ASSERT_TRUE(peers::soffice({file}, QStringLiteral("html"), dir));
    const QString html = QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/notes.html")));
    EXPECT_TRUE(html.contains(QStringLiteral("DocxFootnoteText"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("BodyText")));
}

TEST(DocxCorpus, WordNotesAreReadWithTheirText) {
    FOLIUM_REQUIRE_CORPUS();
    QString error;
    const auto d =
        docx::read(Corpus::bytes(QStringLiteral("doc/node-word-extractor/test13.docx")), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    const auto foot = notesOf(*d, NoteKind::Foot);
    const auto end = notesOf(*d, NoteKind::End);
    ASSERT_EQ(foot.size(), 1u);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(plainText(foot[0]->blocks).trimmed(), QStringLiteral("This is a footnote"));
    EXPECT_EQ(plainText(end[0]->blocks).trimmed(), QStringLiteral("This is an endnote"));
}
