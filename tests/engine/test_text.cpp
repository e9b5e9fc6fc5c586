// Text and positions: the engine's Text has one character per caret
// position, in paragraphs, line and page breaks, objects and tables.
#include "EngineTestUtil.h"

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

TEST(EngineText, SetTextGivesBackParagraphsLineAndPageBreaks) {
    TxEngine e;
    const QString in = ctl("first/line|second#third page|");
    e.SetText(in);
    EXPECT_EQ(shown(e.Text()), shown(in));
    // Each position of Text is a caret position: selecting by Text indexes
    // gives the same characters back.
    for (int start = 0; start < in.size(); ++start)
        for (int len : {0, 1, 3}) {
            if (start + len > in.size())
                continue;
            e.SetSelStart(start);
            e.SetSelLength(len);
            ASSERT_EQ(e.SelStart(), start);
            ASSERT_EQ(e.SelLength(), len);
            ASSERT_EQ(shown(e.SelText()), shown(in.mid(start, len))) << start << " " << len;
        }
    // CR LF and a lone CR end paragraphs too; character 1 cannot make an object.
    e.SetText(QString("a\r\nb\rc") + QChar(1) + "d");
    EXPECT_EQ(shown(e.Text()), "a|b|cd");
}

TEST(EngineText, SelectionOperations) {
    TxEngine e;
    e.SetText("Hello world");
    e.SetSelStart(6);
    EXPECT_EQ(e.SelLength(), 0);
    e.SetSelLength(-1);
    EXPECT_EQ(e.SelText(), "world");
    e.SetSelText(ctl("there|again"));
    EXPECT_EQ(shown(e.Text()), "Hello there|again");
    EXPECT_EQ(e.SelStart(), 17); // caret after the inserted text
    EXPECT_EQ(e.SelLength(), 0);
    // Setting SelStart empties the selection; out-of-range values are clamped.
    e.SetSelStart(2);
    e.SetSelLength(100);
    EXPECT_EQ(e.SelLength(), 15);
    e.SetSelStart(1000);
    EXPECT_EQ(e.SelStart(), 17);
}

TEST(EngineText, ObjectsAndTablesKeepPositionsOneToOne) {
    TxEngine e;
    e.SetText("ab");
    e.SetSelStart(1);
    ASSERT_NE(e.ImageInsertBytes(pngBytes(10, 10), TxEngine::FlowInline), 0);
    EXPECT_EQ(shown(e.Text()), "a@b");
    e.SetSelStart(3);
    e.SetSelText(ctl("|"));
    ASSERT_TRUE(e.TableInsert(2, 3));
    // The caret is in the first cell; fill every cell through positions.
    const int id = e.TableAtCaret();
    ASSERT_EQ(id, 1);
    const char* cells[2][3] = {{"A", "B", "C"}, {"D", "", "F"}};
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c)
            ASSERT_TRUE(e.SetTableCellText(r, c, id, cells[r - 1][c - 1]));
    const QString text = e.Text();
    EXPECT_EQ(shown(text), "a@b||A~B~C|D~~F|");
    // Positions of Text are the cell starts the table reports.
    EXPECT_EQ(text.mid(e.TableCellStart(1, 2, id), 1), "B");
    EXPECT_EQ(text.mid(e.TableCellStart(2, 3, id), 1), "F");
    EXPECT_EQ(e.TableCellText(2, 1, id), "D");
    e.SetSelStart(e.TableCellStart(2, 3, id));
    EXPECT_EQ(e.TableRowAtCaret(), 2);
    EXPECT_EQ(e.TableColumnAtCaret(), 3);
    EXPECT_EQ(e.TableAtCaret(), id);
    e.SetSelStart(0);
    EXPECT_EQ(e.TableAtCaret(), 0);
    // Selecting across the whole text gives the same characters as Text.
    e.SetSelStart(0);
    e.SetSelLength(-1);
    EXPECT_EQ(shown(e.SelText()), shown(text));
}

TEST(EngineText, FindTextWithEveryFlag) {
    TxEngine e;
    e.SetText(ctl("abc ABC|xabc"));
    // From the beginning, case ignored: the first "abc".
    EXPECT_EQ(e.FindText("ABC", 0, 16), 0);
    EXPECT_EQ(e.SelText(), "abc");
    // From the current position: the next one (after the selection).
    EXPECT_EQ(e.FindText("ABC", -1, 16), 4);
    EXPECT_EQ(e.FindText("ABC", -1, 16), 9);
    EXPECT_LT(e.FindText("ABC", -1, 16), 0);
    // The selection stays on the last match when nothing more is found.
    EXPECT_EQ(e.SelStart(), 9);
    // Match case.
    EXPECT_EQ(e.FindText("ABC", 0, 16 + 4), 4);
    EXPECT_LT(e.FindText("ABC", -1, 16 + 4), 0);
    // Backwards from the caret, and backwards from the end.
    e.SetSelStart(8);
    EXPECT_EQ(e.FindText("abc", -1, 16 + 1), 4);
    EXPECT_EQ(e.FindText("abc", -1, 16 + 1), 0);
    EXPECT_EQ(e.FindText("abc", 0, 16 + 1), 9);
    EXPECT_EQ(e.FindText("abc", 0, 16 + 1 + 4), 9);
    EXPECT_EQ(e.FindText("ABC", 0, 16 + 1 + 4), 4);
    EXPECT_LT(e.FindText("zzz", 0, 16), 0);
    EXPECT_LT(e.FindText("", 0, 16), 0);
}

TEST(EngineText, UndoRedoAndClipboard) {
    TxEngine e;
    EXPECT_FALSE(e.CanUndo());
    e.SetText("one two");
    EXPECT_TRUE(e.CanUndo());
    e.SetSelStart(3);
    e.SetSelLength(4);
    EXPECT_TRUE(e.CanCopy());
    e.Clip(TxEngine::ClipCut);
    EXPECT_EQ(e.Text(), "one");
    EXPECT_TRUE(e.CanPaste());
    e.SetSelStart(0);
    e.Clip(TxEngine::ClipPaste);
    EXPECT_EQ(e.Text(), " twoone");
    e.Undo();
    EXPECT_EQ(e.Text(), "one");
    EXPECT_TRUE(e.CanRedo());
    e.Redo();
    EXPECT_EQ(e.Text(), " twoone");
    e.SetSelStart(0);
    e.SetSelLength(1);
    e.Clip(TxEngine::ClipDelete);
    EXPECT_EQ(e.Text(), "twoone");
    e.SetSelLength(3);
    e.Clip(TxEngine::ClipCopy);
    e.SetSelStart(6);
    e.Clip(TxEngine::ClipPaste);
    EXPECT_EQ(e.Text(), "twoonetwo");
}

TEST(EngineText, ClearAllKeepsPageSetup) {
    TxEngine e;
    e.SetPageWidth(12240);
    e.SetMarginLeft(851);
    e.SetText("text");
    e.SetFontBold(true);
    e.ClearAll();
    EXPECT_EQ(e.Text(), "");
    EXPECT_EQ(e.PageWidth(), 12240);
    EXPECT_EQ(e.MarginLeft(), 851);
    EXPECT_FALSE(e.FontBold());
    EXPECT_FALSE(e.CanUndo());
}
