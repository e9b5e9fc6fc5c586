#include "Document.h"
#include "PlainText.h"
#include "Text.h"
#include "TextCodec.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace model;

namespace {

QStringList paragraphTexts(const Document& d) {
    QStringList out;
    for (const Block& b : d.sections.at(0).blocks) {
        QString t;
        for (const Inline& in : b.paragraph.content)
            t += in.text;
        out << t;
    }
    return out;
}

} // namespace

TEST(PlainText, ReadsUtf8WithOrWithoutBomElseCp932) {
    const QString jp = QStringLiteral("日本語の行\r\n二行目 ﾃｽﾄ");
    for (const QByteArray& bytes :
         {jp.toUtf8(), QByteArray("\xEF\xBB\xBF") + jp.toUtf8(), TextCodec::toCp932(jp)}) {
        const Document d = textfmt::read(bytes);
        EXPECT_EQ(paragraphTexts(d),
                  (QStringList{QStringLiteral("日本語の行"), QStringLiteral("二行目 ﾃｽﾄ")}));
    }
}

TEST(PlainText, LineEndsAndPageBreaks) {
    // CR LF, LF and lone CR all end a paragraph; a final line end adds none.
    Document d = textfmt::read("a\r\nb\nc\rd\n");
    EXPECT_EQ(paragraphTexts(d), (QStringList{"a", "b", "c", "d"}));
    // Empty lines are empty paragraphs; an empty file is one empty paragraph.
    EXPECT_EQ(paragraphTexts(textfmt::read("a\n\nb")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(paragraphTexts(textfmt::read("")), (QStringList{""}));
    // A form feed, alone or after a line end, puts the next paragraph on a new page.
    for (const char* src : {"one\ftwo", "one\n\ftwo\n"}) {
        d = textfmt::read(src);
        ASSERT_EQ(paragraphTexts(d), (QStringList{"one", "two"})) << src;
        EXPECT_FALSE(d.sections[0].blocks[0].paragraph.format.pageBreakBefore);
        EXPECT_TRUE(d.sections[0].blocks[1].paragraph.format.pageBreakBefore);
    }
    // Tabs stay in the text.
    EXPECT_EQ(paragraphTexts(textfmt::read("x\ty")), (QStringList{"x\ty"}));
}

TEST(PlainText, WritesUtf8AndRoundTrips) {
    Document d;
    Paragraph p;
    CharFormat bold;
    bold.bold = true;
    p.addText(QStringLiteral("太字"), bold);
    p.addText(QStringLiteral(" plain") + QChar(kLineBreak) + QStringLiteral("next"), {});
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    Paragraph q;
    q.format.pageBreakBefore = true;
    q.addText(QStringLiteral("page 2 😀"), {});
    d.lastSection().blocks.push_back(Block::makeParagraph(q));
    const QByteArray bytes = textfmt::write(d);
    // Characters beyond CP932 survive: the file is UTF-8.
    EXPECT_EQ(QString::fromUtf8(bytes), QStringLiteral("太字 plain\nnext\n\fpage 2 😀\n"));
    EXPECT_EQ(paragraphTexts(textfmt::read(bytes)),
              (QStringList{QStringLiteral("太字 plain"), "next", QStringLiteral("page 2 😀")}));
    EXPECT_EQ(textfmt::write(textfmt::read(bytes)), bytes);
}
