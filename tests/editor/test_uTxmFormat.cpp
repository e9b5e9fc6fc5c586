// The formatting commands: indent by character count (55), tidy paragraphs
// (24), and copying and pasting a character format (70, 71, cmTfm).
#include "EditorFixture.h"
#include "TxText.h"

#include <QTextCursor>
#include <QTextTable>
#include <QToolButton>

namespace {

void select(TxEngine* e, int start, int length) {
    e->SetSelStart(start);
    e->SetSelLength(length);
}

int indentAt(TxEngine* e, int pos) {
    e->SetSelStart(pos);
    return e->LeftIndent();
}
} // namespace

TEST_F(EditorTest, IndentByCharacterCount) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open();
    t.mTxt->SetText(ctl("first line/second|other"));
    select(t.mTxt, 2, 3);
    // Asked: 2 characters of a 10-point body are 400 twips.
    p.answerInput(QStringLiteral("2"));
    t.SetDcEdt(false);
    t.rtAct(55, 1);
    ASSERT_EQ(p.calls.size(), 1);
    EXPECT_EQ(p.calls[0].title, QStringLiteral("字下げ(字上げ)"));
    EXPECT_EQ(p.calls[0].text, QStringLiteral("左ｲﾝﾃﾞﾝﾄの文字数を指定して下さい"));
    EXPECT_EQ(p.calls[0].detail, QStringLiteral("0"));
    EXPECT_EQ(indentAt(t.mTxt, 14), 400); // the whole paragraph
    EXPECT_EQ(indentAt(t.mTxt, 20), 0);
    EXPECT_TRUE(t.bDcEdt());
    // Full-width digits from the input method are digits too.
    select(t.mTxt, 2, 3);
    p.answerInput(QStringLiteral("１．５"));
    t.rtAct(55, 1);
    EXPECT_EQ(indentAt(t.mTxt, 0), 300);
    // Without asking: one body character more.
    select(t.mTxt, 2, 3);
    t.rtAct(55);
    EXPECT_EQ(indentAt(t.mTxt, 0), 500);
    select(t.mTxt, 2, 3);
    t.rtAct(55);
    EXPECT_EQ(indentAt(t.mTxt, 0), 700);
    // The proposal is the current indent in characters; nonsense, a negative
    // count or Cancel change nothing.
    for (const std::optional<QString>& answer :
         {std::optional<QString>(QStringLiteral("abc")),
          std::optional<QString>(QStringLiteral("-1")), std::optional<QString>()}) {
        select(t.mTxt, 2, 3);
        p.answerInput(answer);
        t.SetDcEdt(false);
        t.rtAct(55, 1);
        EXPECT_EQ(p.calls.back().detail, QStringLiteral("3.5"));
        EXPECT_EQ(indentAt(t.mTxt, 0), 700);
        EXPECT_FALSE(t.bDcEdt());
    }
}

TEST_F(EditorTest, IndentRefusesHeadingsEmptyAndWideSelections) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(ctl("Heading|body one|body two"));
    t.mTxt->SetSelStart(0);
    t.rtAct(60, 1);
    select(t.mTxt, 1, 2);
    t.SetDcEdt(false);
    t.rtAct(55);
    EXPECT_EQ(p.messages().back(),
              QStringLiteral("見出し部には、設定できません (Htmではｽﾀｲﾙｼｰﾄで設定します)"));
    select(t.mTxt, 7, 1); // just the paragraph end before "body one"
    t.rtAct(55);
    EXPECT_EQ(p.messages().back(), QStringLiteral("範囲が指定されていません"));
    EXPECT_FALSE(t.bDcEdt());

    // Across paragraphs: an editor of type 2 refuses, type 1 joins them first.
    t.cTyp(2);
    select(t.mTxt, 10, 8);
    t.rtAct(55);
    EXPECT_EQ(p.messages().back(), QStringLiteral("複数の段落にまたがっています"));
    EXPECT_EQ(p.messages().size(), 3);
    t.cTyp(1);
    select(t.mTxt, 10, 8);
    t.rtAct(55);
    EXPECT_EQ(t.mTxt->Text(), ctl("Heading|body one/body two"));
    EXPECT_EQ(indentAt(t.mTxt, 12), 200);
    EXPECT_TRUE(t.bDcEdt());
}

TEST_F(EditorTest, TidyJoinsLikeParagraphsAndTrimsTheEnd) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(ctl("Title|one  |two /three|last| | |"));
    t.mTxt->SetSelStart(0);
    t.rtAct(60, 0);
    t.mTxt->SetSelStart(12); // "two": indented differently, stays apart
    t.mTxt->SetLeftIndent(400);
    t.SetDcEdt(false);
    t.rtAct(24);
    // "two /three" is one indented paragraph; of the trailing blanks and
    // breaks one line end stays.
    EXPECT_EQ(t.mTxt->Text(), ctl("Title|one|two/three|last/"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_TRUE(t.bSnap);
    t.rtAct(11); // the snapshot brings it all back
    EXPECT_EQ(t.mTxt->Text(), ctl("Title|one  |two /three|last| | |"));

    // Only the selection is joined when there is one.
    t.mTxt->SetText(ctl("ab|cd|ef|gh"));
    select(t.mTxt, 3, 4);
    t.rtAct(24);
    EXPECT_EQ(t.mTxt->Text(), ctl("ab|cd/ef|gh"));
}

TEST_F(EditorTest, TidyLeavesListsAndTablesAlone) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(ctl("intro|item one|item two|after"));
    select(t.mTxt, 6, 10);
    t.mTxt->SetListState(2);
    t.mTxt->SetSelStart(int(t.mTxt->Text().size()));
    t.mTxt->SetSelText(ctl("|"));
    ASSERT_TRUE(t.mTxt->TableInsert(2, 1));
    const QString before = t.mTxt->Text();
    t.rtAct(24);
    const int table = t.mTxt->NextTable(0);
    ASSERT_NE(table, 0);
    EXPECT_EQ(t.mTxt->TableRows(table), 2);
    t.mTxt->SetSelStart(8);
    EXPECT_EQ(t.mTxt->ListState(), 2);
    EXPECT_TRUE(t.mTxt->Text().startsWith(ctl("intro|item one|item two|after")))
        << t.mTxt->Text().toStdString();
    EXPECT_EQ(t.mTxt->Text().size(), before.size());
}

TEST_F(EditorTest, FormatCopyAndPaste) {
    ScriptedPrompter p;
    uTxm& t = open();
    // At opening the button holds the body style's font with the caret's colours.
    EXPECT_EQ(t.tfm.font, t.usrFmt[3].sFont);
    EXPECT_EQ(t.tfm.size, t.usrFmt[3].iSize);
    EXPECT_FALSE(t.tfm.bold);

    t.mTxt->SetText(QStringLiteral("source target"));
    select(t.mTxt, 0, 6);
    t.mTxt->SetFontName(QStringLiteral("Noto Serif CJK JP"));
    t.mTxt->SetFontSize(16);
    t.mTxt->SetFontBold(true);
    t.mTxt->SetFontItalic(true);
    t.mTxt->SetForeColor(0x0000FF);
    t.mTxt->SetTextBkColor(0x00FFFF);
    t.mTxt->SetSelStart(2);
    t.rtAct(70);
    EXPECT_EQ(t.tfm.font, QStringLiteral("Noto Serif CJK JP"));
    EXPECT_EQ(t.tfm.size, 16);
    EXPECT_TRUE(t.tfm.bold && t.tfm.italic);
    EXPECT_FALSE(t.tfm.underline || t.tfm.strike);
    EXPECT_EQ(t.tfm.fore, 0x0000FFu);
    EXPECT_EQ(t.tfm.back, 0x00FFFFu);
    EXPECT_EQ(t.cmTfm->font().family(), QStringLiteral("Noto Serif CJK JP"));
    EXPECT_EQ(t.mTxt->SelStart(), 2);
    EXPECT_EQ(t.mTxt->SelLength(), 0);

    select(t.mTxt, 7, 6);
    t.SetDcEdt(false);
    t.cmTfm->click();
    select(t.mTxt, 9, 1);
    EXPECT_EQ(t.mTxt->FontName(), QStringLiteral("Noto Serif CJK JP"));
    EXPECT_EQ(t.mTxt->FontSize(), 16);
    EXPECT_TRUE(t.mTxt->FontBold());
    EXPECT_TRUE(t.mTxt->FontItalic());
    EXPECT_EQ(t.mTxt->ForeColor(), 0x0000FFu);
    EXPECT_EQ(t.mTxt->TextBkColor(), 0x00FFFFu);
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_TRUE(t.bSnap);
}

TEST_F(EditorTest, PastedFormatKeepsATableCellsBackground) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("plain"));
    t.mTxt->SetSelStart(5);
    t.mTxt->SetSelText(ctl("|"));
    ASSERT_TRUE(t.mTxt->TableInsert(1, 1));
    const int table = t.mTxt->NextTable(0);
    const int cell = t.mTxt->TableCellStart(1, 1, table);
    ASSERT_GE(cell, 0);
    ASSERT_TRUE(t.mTxt->SetTableCellText(1, 1, table, QStringLiteral("in cell")));
    QTextCursor c(t.mTxt->document());
    c.setPosition(cell);
    QTextTableCell qcell = c.currentTable()->cellAt(c);
    QTextTableCellFormat cf = qcell.format().toTableCellFormat();
    cf.setBackground(QColor(200, 230, 255));
    qcell.setFormat(cf);

    t.mTxt->SetSelStart(1);
    t.rtAct(70); // white background, black text, body font
    ASSERT_EQ(t.tfm.back, 0xFFFFFFu);
    select(t.mTxt, cell, 7);
    t.rtAct(71);
    QTextCursor check(t.mTxt->document());
    check.setPosition(cell + 3);
    EXPECT_EQ(check.charFormat().background().style(), Qt::NoBrush);
    EXPECT_EQ(check.currentTable()->cellAt(check).format().background().color(),
              QColor(200, 230, 255));
    EXPECT_EQ(check.charFormat().fontPointSize(), 10);
}
