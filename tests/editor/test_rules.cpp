// Command rules, zoom, paste mode, toolbar mapping and the text rules
// (title, mail rendering, proposed file name).
#include "TxColors.h"
#include "TxCommands.h"
#include "TxText.h"
#include "TxToolbar.h"

#include "TestEnv.h"

#include <gtest/gtest.h>

TEST(CommandRules, PrologueAndEpilogueFollowTheTable) {
    for (int c : {10, 15, 23, 24, 30, 32, 33, 40, 41, 50, 51, 53, 55, 60, 71})
        EXPECT_TRUE(TxCmd::RuleOf(c).snapshot) << c;
    for (int c : {1, 2, 4, 11, 13, 42, 43, 54, 61, 70, 80})
        EXPECT_FALSE(TxCmd::RuleOf(c).snapshot) << c;
    for (int c : {13, 14, 20})
        EXPECT_TRUE(TxCmd::RuleOf(c).focusEngine) << c;
    for (int c = 0; c < 100; ++c)
        EXPECT_EQ(TxCmd::RuleOf(c).closeIme, c >= 63 && c <= 66) << c;
    for (int c = 0; c < 100; ++c)
        EXPECT_EQ(TxCmd::RuleOf(c).udtFld, c == 2 || c == 4 || c == 5) << c;
    EXPECT_TRUE(TxCmd::RuleOf(26).redraw);
    // Cut, delete, undo and redo change the text as much as a paste does.
    for (int c : {11, 12, 13, 15, 20, 24, 54, 55, 60, 61, 62, 63, 64, 71})
        EXPECT_TRUE(TxCmd::RuleOf(c).marks) << c;
    for (int c : {1, 2, 3, 4, 5, 14, 21, 22, 27, 65, 70, 72, 81, 83, 86, 999})
        EXPECT_FALSE(TxCmd::RuleOf(c).marks) << c;
}

TEST(Zoom, StepsAndLimits) {
    EXPECT_EQ(TxCmd::Zoom(480, QStringLiteral("拡大")), 500);
    EXPECT_EQ(TxCmd::Zoom(100, QStringLiteral("縮小")), 80);
    EXPECT_EQ(TxCmd::Zoom(100, 250), 250);
    EXPECT_EQ(TxCmd::Zoom(100, QStringLiteral("11")), 11);
    EXPECT_EQ(TxCmd::Zoom(100, 999), 999);
    for (const QVariant& ignored : {QVariant(10), QVariant(1000), QVariant(0), QVariant(-50),
                                    QVariant(QStringLiteral("abc")), QVariant()})
        EXPECT_FALSE(TxCmd::Zoom(100, ignored).has_value()) << ignored.toString().toStdString();
    // Steps never leave the range either.
    EXPECT_FALSE(TxCmd::Zoom(30, QStringLiteral("縮小")).has_value());
    EXPECT_FALSE(TxCmd::Zoom(990, QStringLiteral("拡大")).has_value());
}

TEST(PasteMode, KeptOrMomentary) {
    EXPECT_EQ(TxCmd::PasteModeOf(3).pastTx, true);
    EXPECT_EQ(TxCmd::PasteModeOf(3).updateMenu, true);
    EXPECT_EQ(TxCmd::PasteModeOf(2).pastTx, false);
    EXPECT_EQ(TxCmd::PasteModeOf(2).updateMenu, true);
    EXPECT_EQ(TxCmd::PasteModeOf(1).pastTx, true);
    EXPECT_EQ(TxCmd::PasteModeOf(1).updateMenu, false);
    EXPECT_EQ(TxCmd::PasteModeOf(0).pastTx, false);
    EXPECT_EQ(TxCmd::PasteModeOf(-4).updateMenu, false);
}

TEST(Toolbar, ButtonsMapToCommandsAndFollowTheState) {
    const QStringList keys = TxTool::ButtonKeys();
    ASSERT_EQ(keys.size(), 11);
    const int codes[] = {2, 1, 4, 6, 7, 13, 14, 15, 11, 12, 22};
    for (int i = 0; i < keys.size(); ++i)
        EXPECT_EQ(TxTool::CommandOf(keys[i]), codes[i]) << keys[i].toStdString();
    EXPECT_EQ(TxTool::CommandOf(QStringLiteral("Bogus")), 0);

    TlState s;
    s.hasContent = true;
    s.canSave = true;
    s.canUndo = true;
    using TxTool::StateOf;
    EXPECT_EQ(StateOf(QStringLiteral("Save"), s, 1), (TxTool::ButtonState{true, true}));
    EXPECT_EQ(StateOf(QStringLiteral("Save"), s, -1).visible, false);
    EXPECT_EQ(StateOf(QStringLiteral("Save"), s, 0).visible, true);
    EXPECT_EQ(StateOf(QStringLiteral("New"), s, 0).visible, false);
    EXPECT_EQ(StateOf(QStringLiteral("Open"), s, 0).visible, false);
    EXPECT_EQ(StateOf(QStringLiteral("New"), s, 1), (TxTool::ButtonState{true, true}));
    EXPECT_EQ(StateOf(QStringLiteral("Print"), s, -1).enabled, true);
    EXPECT_EQ(StateOf(QStringLiteral("Undo"), s, 1).enabled, true);
    EXPECT_EQ(StateOf(QStringLiteral("Redo"), s, 1).enabled, false);
    EXPECT_EQ(StateOf(QStringLiteral("Cut"), s, 1).enabled, false);
    s.hasContent = false;
    EXPECT_EQ(StateOf(QStringLiteral("Find"), s, 1).enabled, false);
    EXPECT_EQ(StateOf(QStringLiteral("New"), s, 1).enabled, false);
}

TEST(ColourLists, TenItemsWithKeysTextsAndTips) {
    const auto& items = TxColor::Items();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[2].key, QStringLiteral("Br"));
    EXPECT_EQ(items[2].color, QColor(128, 0, 0));
    EXPECT_EQ(items[9].text, QStringLiteral("White"));
    EXPECT_EQ(TxColor::ToValue(QColor(128, 0, 0)), 128);
    EXPECT_EQ(TxColor::ToValue(QColor(0, 0, 128)), 128 * 65536);
    EXPECT_EQ(TxColor::FromValue(TxColor::ToValue(QColor(1, 2, 3))), QColor(1, 2, 3));
    EXPECT_EQ(TxColor::ForeTip(QStringLiteral("Red")), QStringLiteral("文字色(Red)を設定します"));
    EXPECT_EQ(TxColor::BackTip(QStringLiteral("Red")),
              QStringLiteral("文字背景色(Red)を設定します"));
}

TEST(TitleRule, FirstLineBeforeParagraphOrLineBreak) {
    using TxText::FirstLineTitle;
    EXPECT_EQ(FirstLineTitle(QStringLiteral("見出し\n本文")), QStringLiteral("見出し"));
    EXPECT_EQ(FirstLineTitle(QStringLiteral("上\x0b下\n本文")), QStringLiteral("上"));
    // No paragraph end: no title, even with line breaks.
    EXPECT_EQ(FirstLineTitle(QStringLiteral("上\x0b下")), QString());
    EXPECT_EQ(FirstLineTitle(QString()), QString());
    // A line break after the first paragraph end does not shorten it.
    EXPECT_EQ(FirstLineTitle(QStringLiteral("abc\nd\x0b")), QStringLiteral("abc"));
}

TEST(ProposedName, CleanedFirstLine) {
    using TxText::ProposedFileName;
    EXPECT_EQ(ProposedFileName(QStringLiteral("議事録\n本文")), QStringLiteral("議事録.doc"));
    EXPECT_EQ(ProposedFileName(QStringLiteral("a/b\\c:d*e?f\"g<h>i|j\tk\n")),
              QStringLiteral("abcdefghijk.doc"));
    EXPECT_EQ(ProposedFileName(QStringLiteral("../../etc/passwd\n")),
              QStringLiteral("etcpasswd.doc"));
    EXPECT_EQ(ProposedFileName(QStringLiteral("  ..  \nx")), QString());
    EXPECT_EQ(ProposedFileName(QStringLiteral("\x01 picture\n")), QString());
    EXPECT_EQ(ProposedFileName(QStringLiteral("一行目\x0b二行目")), QStringLiteral("一行目.doc"));
    const QString longLine(300, QChar(0x3042));
    EXPECT_LE(ProposedFileName(longLine + u'\n').toUtf8().size(), 255);
}

TEST(MailText, HeadingsGetTheirMarksAndTheFirstIsTheSubject) {
    using TxText::MailPara;
    QString tx, cp;
    TxText::MailText({{QStringLiteral(" 本文の前 "), 3},
                      {QStringLiteral("小見出し"), 1},
                      {QStringLiteral("三"), 2},
                      {QStringLiteral("行1\x0b行2"), 4},
                      {QString(), 3}},
                     tx, cp);
    EXPECT_EQ(cp, QStringLiteral("小見出し"));
    EXPECT_EQ(tx, QStringLiteral("本文の前\r\n\r\n■■　小見出し\r\n\r\n　■　三\r\n行1\r\n行2"));

    TxText::MailText({{QStringLiteral("頁"), 0}, {QStringLiteral("a"), 3}}, tx, cp);
    const QString dashes(30, u'-');
    EXPECT_EQ(tx, dashes + QStringLiteral("\r\n頁\r\n") + dashes + QStringLiteral("\r\na"));
    EXPECT_EQ(cp, QStringLiteral("頁"));

    // A subject never carries a line break into the mail header.
    TxText::MailText({{QStringLiteral("上\x0b下"), 2}}, tx, cp);
    EXPECT_EQ(cp, QStringLiteral("上 下"));
    // A leading full-width space (indentation) is kept.
    TxText::MailText({{QStringLiteral("　字下げ"), 3}}, tx, cp);
    EXPECT_EQ(tx, QStringLiteral("　字下げ"));
    EXPECT_TRUE(cp.isEmpty());
}

TEST(MailText, ParagraphSplitKeepsTheLastOne) {
    const auto p = TxText::Paragraphs(QStringLiteral("a\nb\n\nc"));
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[3], QStringLiteral("c"));
    EXPECT_EQ(TxText::Paragraphs(QStringLiteral("a\n")).size(), 1u);
    EXPECT_TRUE(TxText::Paragraphs(QString()).empty());
}
