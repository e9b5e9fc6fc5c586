// List numbers in each format, the level text's words around them, and the
// lists' way through the engine, its native format and back.
#include "EngineTestUtil.h"
#include "ListDocs.h"
#include "ListNumbers.h"
#include "ModelBridge.h"
#include "NativeFormat.h"
#include "TxDocument.h"
#include "TxListLabels.h"

#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include <gtest/gtest.h>

using namespace model;

TEST(ListFormats, NumbersAreWrittenAsWordWritesThem) {
    const std::tuple<int, NumberFormat, QString> cases[] = {
        {1, NumberFormat::DecimalEnclosedCircle, "①"},
        {20, NumberFormat::DecimalEnclosedCircle, "⑳"},
        {21, NumberFormat::DecimalEnclosedCircle, "21"},
        {1, NumberFormat::JapaneseCounting, "一"},
        {10, NumberFormat::JapaneseCounting, "十"},
        {11, NumberFormat::JapaneseCounting, "十一"},
        {20, NumberFormat::JapaneseCounting, "二十"},
        {105, NumberFormat::JapaneseCounting, "百五"},
        {1234, NumberFormat::JapaneseCounting, "千二百三十四"},
        {10000, NumberFormat::JapaneseCounting, "一万"},
        {120305, NumberFormat::JapaneseCounting, "十二万三百五"},
        {10, NumberFormat::IdeographDigital, "一〇"},
        {2026, NumberFormat::IdeographDigital, "二〇二六"},
        {10, NumberFormat::JapaneseLegal, "壱拾"},
        {21, NumberFormat::JapaneseLegal, "弐拾壱"},
        {14, NumberFormat::UpperRoman, "XIV"},
        {27, NumberFormat::LowerLetter, "aa"},
        {12, NumberFormat::DecimalFullWidth, "１２"},
        {0, NumberFormat::DecimalEnclosedCircle, "①"},
    };
    for (const auto& [n, f, want] : cases)
        EXPECT_EQ(formatListNumber(n, f), want) << n << " in format " << int(f);
}

TEST(ListFormats, LabelsSplitAroundTheParagraphsOwnNumber) {
    Document d = listdocs::numberFormats();
    d.lists[0].levels[1].text = QStringLiteral("(%1-%2)");
    ListNumbering n(d);
    ParaFormat top;
    top.listId = 5;
    ParaFormat second = top;
    second.listLevel = 1;
    n.next(top);
    n.next(top);
    const ListLabel nested = n.nextLabel(second);
    EXPECT_EQ(nested.prefix, "(2-");
    EXPECT_EQ(nested.number, "②");
    EXPECT_EQ(nested.suffix, ")");
    EXPECT_TRUE(nested.numbered);
    const ListLabel section = n.nextLabel(top);
    EXPECT_EQ(section.prefix, "Section ");
    EXPECT_EQ(section.number, "3");
    EXPECT_EQ(section.suffix, ".");
    // After a paragraph above it, a level counts from its start again.
    EXPECT_EQ(n.nextLabel(second).number, "②");
    ParaFormat outside = top;
    outside.listId = 99;
    EXPECT_FALSE(n.nextLabel(outside).numbered);
}

TEST(ListFormats, WordCodesNameEachFormatBothWays) {
    for (int f = 0; f <= int(NumberFormat::JapaneseLegal); ++f)
        EXPECT_EQ(numberFormatOfWordCode(wordNumberCode(NumberFormat(f))), NumberFormat(f)) << f;
    EXPECT_EQ(wordNumberCode(NumberFormat::DecimalEnclosedCircle), 18);
    EXPECT_EQ(wordNumberCode(NumberFormat::JapaneseCounting), 11);
    EXPECT_EQ(numberFormatOfWordCode(28), NumberFormat::DecimalEnclosedCircle);
    EXPECT_EQ(numberFormatOfWordCode(17), NumberFormat::JapaneseCounting);
    EXPECT_EQ(numberFormatOfWordCode(57), NumberFormat::Decimal);
}

TEST(ListFormats, LabelsOfTheDocumentsParagraphs) {
    const Document d = listdocs::numberFormats();
    ListNumbering numbering(d);
    QStringList labels;
    for (const Block& b : d.sections[0].blocks)
        labels << numbering.next(b.paragraph.format);
    EXPECT_EQ(labels,
              QStringList({"Section 1.", "②", "第一章", "(I)", "a)", "１．", "一", "壱", "1.A"}));
}

namespace {

// The list labels shown before the body's paragraphs: Qt's, or the
// engine's where Qt has no style for the numbers.
QStringList itemTexts(TxDocument& tx) {
    QStringList out;
    for (QTextBlock b = tx.body()->begin(); b.isValid(); b = b.next())
        if (const QTextList* l = b.textList()) {
            const QString own = txlabels::text(b);
            out << (own.isEmpty() ? l->itemText(b) : own);
        }
    return out;
}

} // namespace

TEST(ListFormats, EngineShowsTheLevelTextAroundTheNumber) {
    Document d = listdocs::numberFormats();
    // Two more paragraphs on level 0: they count on.
    d.sections[0].blocks.push_back(d.sections[0].blocks[0]);
    d.sections[0].blocks.push_back(d.sections[0].blocks[0]);
    TxDocument tx;
    bridge::toEngine(d, tx);
    const QStringList texts = itemTexts(tx);
    ASSERT_EQ(texts.size(), 11);
    EXPECT_EQ(texts[0], "Section 1.");
    EXPECT_EQ(texts[3], "(I)");
    EXPECT_EQ(texts[4], "a)");
    EXPECT_EQ(texts[9], "Section 2.");
    EXPECT_EQ(texts[10], "Section 3.");
    // Numbers Qt cannot draw, and a level starting at 2.
    EXPECT_EQ(texts.mid(1, 2), QStringList({"②", "第一章"}));
    EXPECT_EQ(texts.mid(5, 3), QStringList({"１．", "一", "壱"}));
    // Level texts with no words after the number get none ("1", not "1.").
    EXPECT_FALSE(texts[1].endsWith(u'.'));
    EXPECT_TRUE(texts[2].startsWith(u'第') && texts[2].endsWith(u'章')) << texts[2].toStdString();
    // The levels above come before the number.
    EXPECT_EQ(texts[8], "1.A");
}

TEST(ListFormats, DeeperLevelsCountAgainUnderEachParagraphAbove) {
    Document d = listdocs::numberFormats();
    d.lists[0].levels[1] = {NumberFormat::LowerLetter, "%1.%2)", 1, 840, 420, ""};
    std::vector<Block>& blocks = d.sections[0].blocks;
    const Block top = blocks[0];
    const Block sub = blocks[1];
    blocks = {top, sub, sub, top, sub, top, top, sub};
    TxDocument tx;
    bridge::toEngine(d, tx);
    EXPECT_EQ(itemTexts(tx), QStringList({"Section 1.", "1.a)", "1.b)", "Section 2.", "2.a)",
                                          "Section 3.", "Section 4.", "4.a)"}));
    // Saved, the paragraphs keep their one list and level.
    const Document back = bridge::fromEngine(tx);
    ASSERT_EQ(back.sections[0].blocks.size(), blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(back.sections[0].blocks[i].paragraph.format.listId, 5) << i;
        EXPECT_EQ(back.sections[0].blocks[i].paragraph.format.listLevel,
                  blocks[i].paragraph.format.listLevel)
            << i;
    }
}

TEST(ListFormats, FormatsSurviveTheEngineAndItsNativeFormat) {
    const Document d = listdocs::numberFormats();
    TxDocument tx;
    bridge::toEngine(d, tx);
    EXPECT_EQ(bridge::fromEngine(tx).lists, d.lists);
    TxDocument back;
    QString error;
    ASSERT_TRUE(native::load(native::save(tx), back, &error)) << error.toStdString();
    EXPECT_EQ(bridge::fromEngine(back).lists, d.lists);
    EXPECT_EQ(itemTexts(back), itemTexts(tx));
}

// The engine's labels are painted, on paper and on screen, in the room
// before each paragraph's first line, and follow the list as it is edited.
TEST(ListFormats, EngineLabelsArePaintedBeforeTheirParagraphs) {
    Document d = listdocs::numberFormats();
    std::vector<Block>& blocks = d.sections[0].blocks;
    blocks = {blocks[1], blocks[1], blocks[1]}; // circled, from ②
    TxDocument tx;
    bridge::toEngine(d, tx);
    TxEngine e;
    ASSERT_TRUE(e.LoadBytes(native::save(tx), TxEngine::FmtNative));
    auto labels = [&] {
        QStringList out;
        for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next())
            out << txlabels::text(b);
        return out;
    };
    EXPECT_EQ(labels(), QStringList({"②", "③", "④"}));

    // Ink left of the text on the page, none without the labels' lists.
    auto inkLeftOfText = [&](TxEngine& engine) {
        QImage page(int(engine.PageWidth() / 15.0) + 1, int(engine.PageHeight() / 15.0) + 1,
                    QImage::Format_RGB32);
        page.fill(Qt::white);
        EXPECT_TRUE(engine.PaintPage(&page, 1));
        const QTextBlock first = engine.document()->begin();
        const double textLeft = first.layout()->position().x() + first.layout()->lineAt(0).x();
        int n = 0;
        for (int y = 0; y < page.height() / 3; ++y)
            for (int x = 0; x < int(textLeft) - 1; ++x)
                n += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        return n;
    };
    EXPECT_GT(inkLeftOfText(e), 20);
    TxEngine plain;
    plain.SetText(QStringLiteral("level 1"));
    EXPECT_EQ(inkLeftOfText(plain), 0);

    // A new paragraph in the list takes the next number; the ones after it
    // count on.
    e.SetSelStart(int(e.document()->begin().length()) - 1);
    QTest::keyClick(e.viewport(), Qt::Key_Return);
    EXPECT_EQ(labels(), QStringList({"②", "③", "④", "⑤"}));
}

// Bullets show their own character; a symbol font's character shows as the
// Unicode one like it, and the plain bullet stays Qt's.
TEST(ListFormats, BulletsShowTheirOwnCharacter) {
    EXPECT_EQ(bulletCharacter({NumberFormat::Bullet, QString(QChar(0xF0A7)), 1, 0, 0, "Wingdings"}),
              QString::fromUtf8("▪"));
    EXPECT_EQ(bulletCharacter({NumberFormat::Bullet, QString(QChar(0xF0D8)), 1, 0, 0, "Wingdings"}),
              QString::fromUtf8("➢"));
    EXPECT_EQ(bulletCharacter({NumberFormat::Bullet, QString(QChar(0xF0B7)), 1, 0, 0, "Symbol"}),
              QString::fromUtf8("•"));
    EXPECT_EQ(bulletCharacter({NumberFormat::Bullet, QString(QChar(0xF0A7)), 1, 0, 0, "Symbol"}),
              QString::fromUtf8("•"));
    EXPECT_EQ(bulletCharacter({NumberFormat::Bullet, QString::fromUtf8("・"), 1, 0, 0, ""}),
              QString::fromUtf8("・"));

    Document d = listdocs::numberFormats();
    d.lists[0].levels[0] = {NumberFormat::Bullet, QString::fromUtf8("●"), 1, 420, 420, ""};
    d.lists[0].levels[1] = {NumberFormat::Bullet, QString(QChar(0xF0B7)), 1, 840, 420, "Symbol"};
    TxDocument tx;
    bridge::toEngine(d, tx);
    const QTextBlock first = tx.body()->begin();
    EXPECT_EQ(txlabels::text(first), QString::fromUtf8("●"));
    EXPECT_EQ(txlabels::text(first.next()), "");
    EXPECT_EQ(first.next().textList()->format().style(), QTextListFormat::ListDisc);
    // Saved, the level keeps its character.
    EXPECT_EQ(bridge::fromEngine(tx).lists[0].levels[0].text, QString::fromUtf8("●"));
}
