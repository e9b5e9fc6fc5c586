// Documents in and out: plain text, the native format, Word through the
// model, inserting at the caret, files, and what is not supported yet.
#include "EngineTestUtil.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

TEST(EngineIo, NativeKeepsFieldsAndReplaces) {
    TxEngine a;
    a.SetText("abcd");
    a.SetSelStart(2);
    const int id = a.FieldInsert("link");
    a.SetFieldTarget(id, "TG_12");
    a.SetFieldType(id, 2);
    bool ok = false;
    const QByteArray bytes = a.SaveBytes(TxEngine::FmtNative, 0, &ok);
    ASSERT_TRUE(ok);
    TxEngine b;
    b.SetText("old content");
    ASSERT_TRUE(b.LoadBytes(bytes, TxEngine::FmtNative)) << b.LastError().toStdString();
    EXPECT_EQ(b.Text(), "ablinkcd");
    const int bid = b.NextField(0, 0);
    EXPECT_EQ(b.FieldTarget(bid), "TG_12");
    EXPECT_EQ(b.FieldType(bid), 2);
    // A loaded document starts a new undo history.
    EXPECT_FALSE(b.CanUndo());
}

TEST(EngineIo, InsertAtCaret) {
    TxEngine src;
    src.SetText(ctl("one|two"));
    src.SetSelStart(0);
    src.FieldInsert("F");
    TxEngine e;
    e.SetText("[]");
    const int own = [&] {
        e.SetSelStart(0);
        return e.FieldInsert("G");
    }();
    e.SetSelStart(2);
    ASSERT_TRUE(e.LoadBytes(src.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative, true));
    EXPECT_EQ(shown(e.Text()), "G[Fone|two]");
    // The inserted field is a field of its own with a new id.
    const int first = e.NextField(0, 0);
    const int second = e.NextField(0, first);
    EXPECT_EQ(first, own);
    ASSERT_NE(second, 0);
    EXPECT_NE(second, own);
    e.SetCurField(second);
    EXPECT_EQ(e.FieldText(), "F");
    // One undo step takes the insertion back.
    e.Undo();
    EXPECT_EQ(e.Text(), "G[]");
    // Inserting plain text replaces the selection.
    e.SetSelStart(1);
    e.SetSelLength(2);
    ASSERT_TRUE(e.LoadBytes(QByteArray("x\r\ny"), TxEngine::FmtText, true));
    EXPECT_EQ(shown(e.Text()), "Gx|y");
}

TEST(EngineIo, PlainText) {
    TxEngine e;
    ASSERT_TRUE(e.LoadBytes(QByteArray("line 1\r\nline 2\f3\n"), TxEngine::FmtText));
    EXPECT_EQ(shown(e.Text()), "line 1|line 2#3");
    // Shift-JIS bytes are read as such.
    ASSERT_TRUE(e.LoadBytes(QByteArray("\x93\xfa\x96\x7b"), TxEngine::FmtText));
    EXPECT_EQ(e.Text(), QString::fromUtf8("日本"));
    e.SetText(ctl("a|b"));
    bool ok = false;
    const QByteArray out = e.SaveBytes(TxEngine::FmtText, 0, &ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(out.startsWith("a")) << out.toStdString();
    EXPECT_TRUE(out.contains("b"));
}

TEST(EngineIo, UnsupportedAndDamagedLeaveTheDocument) {
    TxEngine e;
    e.SetText("keep");
    // PDF is written, never read.
    EXPECT_FALSE(e.LoadBytes("%PDF-1.4", 12));
    EXPECT_EQ(e.Text(), QStringLiteral("keep"));
    // HTML is read, and written as the page the HTML exporter rewrites.
    EXPECT_TRUE(e.LoadBytes("<p>html <b>page</b></p>", 4));
    EXPECT_EQ(e.Text(), QStringLiteral("html page"));
    EXPECT_TRUE(e.SaveBytes(4).contains("font-weight:bold;\">page</span>"));
    e.SetText("keep");
    // RTF is read and written.
    EXPECT_TRUE(e.LoadBytes("{\\rtf1 rtf {\\b text}}", 5));
    EXPECT_EQ(e.Text(), QStringLiteral("rtf text"));
    bool ok = false;
    EXPECT_TRUE(e.SaveBytes(5, 0, &ok).startsWith("{\\rtf1"));
    EXPECT_TRUE(ok);
    e.SetText("keep");
    // Word Open XML is read and written; bytes that are no package are refused.
    EXPECT_FALSE(e.LoadBytes("{\\rtf1 x}", 13));
    EXPECT_FALSE(e.LastError().isEmpty());
    EXPECT_FALSE(e.LastError().contains("not supported yet"));
    bool saved = false;
    EXPECT_TRUE(e.SaveBytes(13, 0, &saved).startsWith("PK"));
    EXPECT_TRUE(saved);
    EXPECT_FALSE(e.LoadBytes("garbage", 77));
    EXPECT_FALSE(e.LoadBytes("FOLIUMTX\0\0\0\1broken", TxEngine::FmtNative));
    EXPECT_FALSE(e.LoadBytes("not a word file at all", TxEngine::FmtDoc));
    EXPECT_FALSE(e.LastError().isEmpty());
    EXPECT_EQ(e.Text(), "keep");
}

TEST(EngineIo, FilesAndWordBytes) {
    const QString dir = TestEnv::freshDir("io");
    TxEngine e;
    e.SetText(ctl("Title|Body with /line break"));
    e.SetSelStart(0);
    e.SetSelLength(5);
    e.SetFontBold(true);
    ASSERT_TRUE(e.SaveFile(dir + "/doc.tx", TxEngine::FmtNative));
    ASSERT_TRUE(e.SaveFile(dir + "/doc.doc", TxEngine::FmtDoc));
    EXPECT_FALSE(e.SaveFile(dir + "/missing/folder/x.doc", TxEngine::FmtDoc));
    EXPECT_FALSE(e.LoadFile(dir + "/none.doc", TxEngine::FmtDoc));
    TxEngine n;
    ASSERT_TRUE(n.LoadFile(dir + "/doc.tx", TxEngine::FmtNative));
    EXPECT_EQ(n.Text(), e.Text());
    // The Word file is a compound file.
    const QByteArray doc = TestEnv::readFile(dir + "/doc.doc");
    ASSERT_GT(doc.size(), 512);
    EXPECT_EQ(doc.left(8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    TxEngine w;
    if (!w.LoadFile(dir + "/doc.doc", TxEngine::FmtDoc)) {
        ASSERT_TRUE(w.LastError().contains("not available")) << w.LastError().toStdString();
        GTEST_SKIP() << "this build has no Word reader";
    }
    EXPECT_EQ(shown(w.Text()), "Title|Body with /line break");
    w.SetSelStart(1);
    w.SetSelLength(1);
    EXPECT_TRUE(w.FontBold());
    w.SetSelStart(8);
    w.SetSelLength(1);
    EXPECT_FALSE(w.FontBold());
}

// Formatting marks are a view setting: a document loaded while they are shown
// shows them in every paragraph, and hiding them hides them everywhere.
TEST(EngineIo, FormattingMarksReachEveryParagraphOfALoadedDocument) {
    constexpr auto marks = QTextOption::ShowLineAndParagraphSeparators;
    auto blocksWithMarks = [](TxEngine& e) {
        e.document()->documentLayout()->documentSize(); // lay everything out
        int n = 0;
        for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next())
            n += b.layout()->textOption().flags().testFlag(marks) ? 1 : 0;
        return n;
    };
    TxEngine e;
    e.resize(600, 400);
    e.SetShowCtrlChars(true);
    for (int view : {TxEngine::ViewNormal, TxEngine::ViewPage}) {
        e.SetViewMode(view);
        ASSERT_TRUE(e.LoadBytes(QByteArray("one\r\ntwo\r\nthree\r\nfour\r\n"), TxEngine::FmtText));
        const int blocks = e.document()->blockCount();
        ASSERT_GE(blocks, 4);
        EXPECT_EQ(blocksWithMarks(e), blocks) << "view " << view;
        e.SetShowCtrlChars(false);
        EXPECT_EQ(blocksWithMarks(e), 0) << "view " << view;
        e.SetShowCtrlChars(true);
        EXPECT_EQ(blocksWithMarks(e), blocks) << "view " << view;
    }
}
