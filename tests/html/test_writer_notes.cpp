// Notes and hidden text in the HTML the program writes: each reference links
// to its note's text at the end of the page and back; hidden text stays in
// the page but is not shown, and reads back as hidden text.
#include "HtmlTestUtil.h"
#include "HtmlWriter.h"
#include "ModelBuild.h"

#include <QRegularExpression>

using namespace model;

TEST(HtmlWriterNotes, ReferencesLinkToTheNotesAtTheEndAndBack) {
    const Document d = modelbuild::notesAndTable(true);
    QString error;
    const auto bytes = html::write(d, {}, &error);
    ASSERT_TRUE(bytes.has_value()) << error.toStdString();
    const QString page = QString::fromUtf8(*bytes);
    // References in the text: numbered per kind, the starred note by its mark.
    EXPECT_TRUE(page.contains(QStringLiteral("<a name=\"_ftnref1\" href=\"#_ftn1\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("<a name=\"_ednref1\" href=\"#_edn1\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("<a name=\"_ftnref2\" href=\"#_ftn2\">")));
    // The notes' text after the body, footnotes first, each linking back.
    const qsizetype rule = page.indexOf(QStringLiteral("<hr />"));
    ASSERT_GT(rule, page.indexOf(QStringLiteral("cell")));
    const QString tail = page.mid(rule);
    const qsizetype foot1 = tail.indexOf(QStringLiteral("<a name=\"_ftn1\" href=\"#_ftnref1\">"));
    const qsizetype foot2 = tail.indexOf(QStringLiteral("<a name=\"_ftn2\" href=\"#_ftnref2\">"));
    const qsizetype end1 = tail.indexOf(QStringLiteral("<a name=\"_edn1\" href=\"#_ednref1\">"));
    ASSERT_GE(foot1, 0);
    EXPECT_GT(foot2, foot1);
    EXPECT_GT(end1, foot2);
    EXPECT_GT(tail.indexOf(QStringLiteral("Foot one")), foot1);
    EXPECT_GT(tail.indexOf(QStringLiteral("Starred")), foot2);
    EXPECT_GT(tail.indexOf(QStringLiteral("End one")), end1);
    EXPECT_TRUE(tail.contains(QStringLiteral(">*</span></a>")));
    // A page without notes has no notes section.
    const auto plain = html::write(modelbuild::oneSection({modelbuild::block("plain")}));
    ASSERT_TRUE(plain.has_value());
    EXPECT_FALSE(QString::fromUtf8(*plain).contains(QStringLiteral("<hr")));
}

TEST(HtmlWriterNotes, HiddenTextIsKeptUnshownAndReadBackHidden) {
    CharFormat hidden;
    hidden.hidden = true;
    Paragraph p = modelbuild::para(QStringLiteral("shown "));
    p.addText(QStringLiteral("secret"), hidden);
    p.addText(QStringLiteral(" again"), {});
    const auto bytes = html::write(modelbuild::oneSection({Block::makeParagraph(p)}));
    ASSERT_TRUE(bytes.has_value());
    const QString page = QString::fromUtf8(*bytes);
    EXPECT_TRUE(page.contains(
        QRegularExpression(QStringLiteral("display:none;mso-hide:all;[^>]*>secret</span>"))));
    const Document back = readHtml(page);
    const Inline* secret = runWith(back, QStringLiteral("secret"));
    ASSERT_NE(secret, nullptr);
    EXPECT_TRUE(secret->format.hidden);
    const Inline* shown = runWith(back, QStringLiteral("shown"));
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->format.hidden);
    // An element a page hides for other reasons is still left out.
    const Document other =
        readHtml(QStringLiteral("<p>seen <span style=\"display:none\">menu</span> text</p>"));
    EXPECT_FALSE(plainText(other).contains(QStringLiteral("menu")));
}
