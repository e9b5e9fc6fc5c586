// Notes and hidden text against real files: a Word document's notes are
// read with their text, and LibreOffice finds the footnotes, endnotes and
// hidden text of a .doc this program wrote.
#include "Corpus.h"
#include "Document.h"
#include "ModelBuild.h"
#include "MsDoc.h"
#include "Notes.h"
#include "Peers.h"
#include "TestEnv.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

using modelbuild::para;

TEST(DocCorpus, WordNotesAreReadWithTheirText) {
    FOLIUM_REQUIRE_CORPUS();
    QString error;
    const auto d =
        msdoc::read(Corpus::bytes(QStringLiteral("doc/node-word-extractor/test13.doc")), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    const auto foot = notesOf(*d, NoteKind::Foot);
    const auto end = notesOf(*d, NoteKind::End);
    ASSERT_EQ(foot.size(), 1u);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(plainText(foot[0]->blocks).trimmed(), QStringLiteral("This is a footnote"));
    EXPECT_EQ(plainText(end[0]->blocks).trimmed(), QStringLiteral("This is an endnote"));
    EXPECT_TRUE(foot[0]->mark.isEmpty());
    // The references stand after "Paragraph 1" and "Paragraph 2", and the
    // body text no longer holds the notes' text.
    const QString body = plainText(*d);
    EXPECT_TRUE(body.contains(QStringLiteral("Paragraph 1"))) << body.toStdString();
    EXPECT_FALSE(body.contains(QStringLiteral("This is a footnote"))) << body.toStdString();
    // Written again and read back, nothing changes.
    Document once = *d;
    normalize(once);
    auto again = msdoc::read(msdoc::write(once), &error);
    ASSERT_TRUE(again.has_value()) << error.toStdString();
    normalize(*again);
    EXPECT_EQ(notesOf(*again, NoteKind::Foot).size(), 1u);
    EXPECT_EQ(*again, once);
}

TEST(DocNotesPeers, LibreOfficeReadsOurFootnotesEndnotesAndHiddenText) {
    const QString dir = TestEnv::freshDir(QStringLiteral("notes-peers"));
    Document d;
    CharFormat sup;
    sup.valign = VerticalAlign::Superscript;
    CharFormat hidden;
    hidden.hidden = true;
    Paragraph p = para(QStringLiteral("BodyBeforeNote"));
    p.content.push_back(Inline::makeNote(
        modelbuild::note(NoteKind::Foot, {QStringLiteral("FootnoteTextHere")}), sup));
    p.addText(QStringLiteral(" MiddleWords"), {});
    p.content.push_back(Inline::makeNote(
        modelbuild::note(NoteKind::End, {QStringLiteral("EndnoteTextHere")}), sup));
    p.addText(QStringLiteral(" HiddenWords"), hidden);
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    d.lastSection().header.push_back(Block::makeParagraph(para(QStringLiteral("HeaderLine"))));
    const QString doc = dir + QStringLiteral("/notes.doc");
    TestEnv::writeFile(doc, msdoc::write(d));
    ASSERT_TRUE(peers::soffice({doc}, QStringLiteral("fodt"), dir));
    const QString fodt = QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/notes.fodt")));
    ASSERT_FALSE(fodt.isEmpty());
    auto noteBody = [&](const char* cls) {
        const qsizetype at =
            fodt.indexOf(QStringLiteral("text:note-class=\"%1\"><text:note-citation").arg(cls));
        return at < 0 ? QString()
                      : fodt.mid(at, fodt.indexOf(QStringLiteral("</text:note>"), at) - at);
    };
    EXPECT_TRUE(noteBody("footnote").contains(QStringLiteral("FootnoteTextHere")))
        << fodt.toStdString();
    EXPECT_TRUE(noteBody("endnote").contains(QStringLiteral("EndnoteTextHere")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("HeaderLine")));
    // The hidden run is there, in a style that hides it.
    EXPECT_TRUE(fodt.contains(QStringLiteral("HiddenWords")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("text:display=\"none\""))) << fodt.toStdString();
    // And as a web page: the footnote's text is LibreOffice's too.
    ASSERT_TRUE(peers::soffice({doc}, QStringLiteral("html"), dir));
    const QString html = QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/notes.html")));
    EXPECT_TRUE(html.contains(QStringLiteral("FootnoteTextHere"))) << html.toStdString();
}
