// Hypertext fields: insertion, properties, enumeration, and staying whole
// while the user types before, after and inside them.
#include "EngineTestUtil.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An engine with "ab" + field "link" + "cd", the caret after the field.
struct FieldDoc {
    TxEngine e;
    int id = 0;
    FieldDoc() {
        e.resize(600, 400);
        e.SetText("abcd");
        e.SetSelStart(2);
        id = e.FieldInsert("link");
        e.SetFieldType(id, 1);
        e.SetFieldTarget(id, "http://example.com/");
        e.SetFieldOption(id, 149);
    }
    void type(int at, const QString& text) {
        e.SetSelStart(at);
        QTest::keyClicks(e.viewport(), text);
    }
};

} // namespace

TEST(EngineFields, InsertAndProperties) {
    FieldDoc f;
    TxEngine& e = f.e;
    EXPECT_EQ(e.Text(), "ablinkcd");
    EXPECT_EQ(e.CurField(), f.id);
    EXPECT_EQ(e.FieldText(), "link");
    EXPECT_EQ(e.FieldStart(), 2);
    EXPECT_EQ(e.FieldEnd(), 6);
    EXPECT_EQ(e.SelStart(), 6); // caret after the field
    EXPECT_EQ(e.FieldTarget(f.id), "http://example.com/");
    EXPECT_EQ(e.FieldType(f.id), 1);
    EXPECT_EQ(e.FieldOption(f.id), 149);
    // Id 0 means the current field.
    EXPECT_EQ(e.FieldTarget(0), "http://example.com/");
    e.SetFieldText("new caption");
    EXPECT_EQ(e.Text(), "abnew captioncd");
    EXPECT_EQ(e.FieldEnd(), 13);
    EXPECT_EQ(e.FieldTarget(f.id), "http://example.com/");
    // An empty caption cannot make a field.
    EXPECT_EQ(e.FieldInsert(""), 0);
}

TEST(EngineFields, TypingBeforeAfterAndInside) {
    FieldDoc f;
    TxEngine& e = f.e;
    f.type(6, "XY"); // right after the field
    EXPECT_EQ(e.Text(), "ablinkXYcd");
    EXPECT_EQ(e.FieldText(), "link");
    f.type(2, "Q"); // right before it
    EXPECT_EQ(e.Text(), "abQlinkXYcd");
    e.SetCurField(f.id);
    EXPECT_EQ(e.FieldText(), "link");
    EXPECT_EQ(e.FieldStart(), 3);
    f.type(5, "-"); // inside: the caption grows
    EXPECT_EQ(e.FieldText(), "li-nk");
    // Enter at the field's end starts a paragraph outside the field.
    e.SetSelStart(e.FieldEnd());
    QTest::keyClick(e.viewport(), Qt::Key_Return);
    QTest::keyClicks(e.viewport(), "z");
    EXPECT_EQ(shown(e.Text()), "abQli-nk|zXYcd");
    EXPECT_EQ(e.FieldText(), "li-nk");
    // Text set through SelText right after a field stays outside as well.
    e.SetSelStart(e.FieldEnd());
    e.SetSelText("!");
    EXPECT_EQ(e.FieldText(), "li-nk");
    // Deleting part of the caption trims it; the field stays one.
    e.SetSelStart(e.FieldStart());
    e.SetSelLength(2);
    e.Clip(TxEngine::ClipDelete);
    EXPECT_EQ(e.FieldText(), "-nk");
    EXPECT_EQ(e.NextField(0, 0), f.id);
    EXPECT_EQ(e.NextField(0, f.id), 0);
}

TEST(EngineFields, EnumerateAtCaretAndDelete) {
    TxEngine e;
    e.SetText("0123456789");
    e.SetSelStart(2);
    const int a = e.FieldInsert("A");
    e.SetFieldType(a, 1);
    e.SetSelStart(6);
    const int b = e.FieldInsert("BB");
    e.SetFieldType(b, 2);
    e.SetSelStart(0);
    const int c = e.FieldInsert("C");
    e.SetFieldType(c, 1);
    // Document order, all kinds or one.
    EXPECT_EQ(e.NextField(0, 0), c);
    EXPECT_EQ(e.NextField(0, c), a);
    EXPECT_EQ(e.NextField(0, a), b);
    EXPECT_EQ(e.NextField(0, b), 0);
    EXPECT_EQ(e.NextField(1, 0), c);
    EXPECT_EQ(e.NextField(1, c), a);
    EXPECT_EQ(e.NextField(1, a), 0);
    EXPECT_EQ(e.NextField(2, 0), b);
    EXPECT_EQ(e.NextField(0, 9999), 0);
    // Caret positions on and around the fields.
    ASSERT_EQ(e.Text(), "C01A234BB56789");
    e.SetSelStart(3);
    EXPECT_EQ(e.FieldAtCaret(), a); // before its first character
    e.SetSelStart(4);
    EXPECT_EQ(e.FieldAtCaret(), a); // right after it
    e.SetSelStart(5);
    EXPECT_EQ(e.FieldAtCaret(), 0);
    e.SetSelStart(8);
    EXPECT_EQ(e.FieldAtCaret(), b);
    e.SetSelStart(5);
    e.SetSelLength(3);
    EXPECT_EQ(e.FieldAtCaret(), 0); // a selection asks at its start only
    // Delete keeping the text, then deleting the text too.
    e.SetCurField(a);
    EXPECT_TRUE(e.FieldDelete(true));
    EXPECT_EQ(e.Text(), "C01A234BB56789");
    EXPECT_EQ(e.NextField(0, c), b);
    EXPECT_EQ(e.CurField(), 0);
    EXPECT_FALSE(e.FieldDelete(true));
    e.SetCurField(b);
    EXPECT_TRUE(e.FieldDelete(false));
    EXPECT_EQ(e.Text(), "C01A23456789");
    EXPECT_EQ(e.FieldStart(), 7); // where it was
    EXPECT_EQ(e.NextField(0, 0), c);
    EXPECT_EQ(e.NextField(0, c), 0);
}

TEST(EngineFields, PastedCopiesGetIdsOfTheirOwn) {
    FieldDoc f;
    TxEngine& e = f.e;
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.Clip(TxEngine::ClipCopy);
    e.SetSelStart(e.Text().size());
    e.Clip(TxEngine::ClipPaste);
    EXPECT_EQ(e.Text(), "ablinkcdablinkcd");
    const int first = e.NextField(0, 0);
    const int second = e.NextField(0, first);

    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(e.FieldTarget(second), "http://example.com/");
    EXPECT_EQ(e.FieldOption(second), 149);
    e.SetCurField(second);
    EXPECT_EQ(e.FieldStart(), 10);
    EXPECT_EQ(e.FieldText(), "link");
}

TEST(EngineFields, ClickOnFieldIsReported) {
    FieldDoc f;
    TxEngine& e = f.e;
    e.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    QSignalSpy spy(&e, &TxEngine::fieldClicked);
    QTextCursor c = e.textCursor();
    c.setPosition(4);
    const QPoint inside = e.cursorRect(c).center() - QPoint(2, 0);
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, inside);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), f.id);
    EXPECT_EQ(e.CurField(), f.id);
    // Plain text does not report a field.
    c.setPosition(1);
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, e.cursorRect(c).center() - QPoint(2, 0));
    EXPECT_EQ(spy.count(), 1);
}
