#include "Document.h"
#include "ListNumbers.h"
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

namespace {

ListLevel level(NumberFormat f, const QString& text, int start = 1) {
    ListLevel l;
    l.format = f;
    l.text = text;
    l.start = start;
    return l;
}

Block listed(const QString& text, int id, int lvl) {
    Paragraph p;
    p.format.listId = id;
    p.format.listLevel = lvl;
    p.addText(text, {});
    return Block::makeParagraph(p);
}

} // namespace

TEST(PlainText, WritesListNumbersAndBullets) {
    Document d;
    ListDef numbered;
    numbered.id = 1;
    numbered.levels = {level(NumberFormat::Decimal, QStringLiteral("%1."), 10),
                       level(NumberFormat::LowerLetter, QStringLiteral("%1.%2)")),
                       level(NumberFormat::UpperRoman, QStringLiteral("(%3)"), 3)};
    ListDef bullets;
    bullets.id = 2;
    bullets.levels = {level(NumberFormat::Bullet, QString(QChar(0xF0B7))),
                      level(NumberFormat::Bullet, QStringLiteral("■"))};
    ListDef kana;
    kana.id = 3;
    kana.levels = {level(NumberFormat::Iroha, QStringLiteral("%1.")),
                   level(NumberFormat::DecimalFullWidth, QStringLiteral("（%2）"), 12)};
    d.lists = {numbered, bullets, kana};
    auto& b = d.lastSection().blocks;
    b.push_back(listed("ten", 1, 0));
    b.push_back(listed("a", 1, 1));
    b.push_back(listed("b", 1, 1));
    b.push_back(listed("iii", 1, 2));
    b.push_back(listed("iv", 1, 2));
    b.push_back(listed("eleven", 1, 0));
    // A deeper level starts again under each new number above it.
    b.push_back(listed("a again", 1, 1));
    b.push_back(listed("dot", 2, 0));
    b.push_back(listed("square", 2, 1));
    b.push_back(listed("i", 3, 0));
    b.push_back(listed("ro", 3, 0));
    b.push_back(listed("full", 3, 1));
    // Not in a list, in a list nobody defined, on a level the list lacks.
    b.push_back(listed("plain", 0, 0));
    b.push_back(listed("unknown", 9, 0));
    b.push_back(listed("too deep", 2, 5));
    // Lists go on counting inside table cells.
    Table t;
    TableRow row;
    TableCell cell;
    cell.blocks.push_back(listed("twelve", 1, 0));
    row.cells.push_back(cell);
    t.rows.push_back(row);
    b.push_back(Block::makeTable(t));

    EXPECT_EQ(QString::fromUtf8(textfmt::write(d)),
              QStringLiteral("10.\tten\n10.a)\ta\n10.b)\tb\n(III)\tiii\n(IV)\tiv\n11.\televen\n"
                             "11.a)\ta again\n•\tdot\n■\tsquare\nイ.\ti\nロ.\tro\n（１２）\tfull\n"
                             "plain\nunknown\ntoo deep\n12.\ttwelve\n"));
    // The text kept for searching has no labels.
    EXPECT_TRUE(plainText(d).startsWith(QStringLiteral("ten\na\n")));
}

TEST(PlainText, ListNumberFormats) {
    EXPECT_EQ(formatListNumber(1994, NumberFormat::UpperRoman), QStringLiteral("MCMXCIV"));
    EXPECT_EQ(formatListNumber(4000, NumberFormat::LowerRoman), QStringLiteral("4000"));
    EXPECT_EQ(formatListNumber(27, NumberFormat::UpperLetter), QStringLiteral("AA"));
    EXPECT_EQ(formatListNumber(53, NumberFormat::LowerLetter), QStringLiteral("aaa"));
    EXPECT_EQ(formatListNumber(3, NumberFormat::Aiueo), QStringLiteral("ウ"));
    EXPECT_EQ(formatListNumber(48, NumberFormat::Iroha), QStringLiteral("イ"));
    EXPECT_EQ(formatListNumber(0, NumberFormat::Decimal), QStringLiteral("0"));
    EXPECT_EQ(formatListNumber(0, NumberFormat::UpperLetter), QStringLiteral("A"));
    EXPECT_EQ(formatListNumber(5, NumberFormat::None), QString());
}
