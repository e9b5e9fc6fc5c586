// Headers and footers, text frames and images: editing a part in place,
// enumeration, selection, loading into a frame, and object settings.
#include "EngineTestUtil.h"

#include <QBuffer>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(EngineObjects, HeaderFooterMaskAndEditing) {
    TxEngine e;
    e.SetText("main text");
    EXPECT_EQ(e.HeadFootMask(), 0);
    EXPECT_FALSE(e.HeadFootActivate(TxEngine::Header));
    e.SetHeadFootMask(TxEngine::Header | TxEngine::Footer);
    EXPECT_EQ(e.HeadFootMask(), 5);
    QSignalSpy spy(&e, &TxEngine::headFootActivated);
    ASSERT_TRUE(e.HeadFootActivate(TxEngine::Header));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(e.HeadFootActive(), TxEngine::Header);
    // The text operations work on the active header, and its edits are
    // reported as the engine's.
    EXPECT_EQ(e.Text(), "");
    QSignalSpy changed(&e, &QTextEdit::textChanged);
    e.SetText("Header");
    EXPECT_GT(changed.count(), 0);
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.SetFontBold(true);
    e.HeadFootDeactivate();
    EXPECT_EQ(e.HeadFootActive(), 0);
    EXPECT_EQ(e.Text(), "main text");
    ASSERT_TRUE(e.HeadFootActivate(TxEngine::Header));
    EXPECT_EQ(e.Text(), "Header");
    e.SetSelStart(0);
    e.SetSelLength(1);
    EXPECT_TRUE(e.FontBold());
    // Removing the active header ends its editing.
    e.SetHeadFootMask(TxEngine::Footer);
    EXPECT_EQ(e.HeadFootActive(), 0);
    EXPECT_EQ(e.HeadFootMask(), 4);
    EXPECT_EQ(e.Text(), "main text");
    // Adding it back starts it empty.
    e.SetHeadFootMask(TxEngine::Footer | TxEngine::Header | TxEngine::FirstHeader);
    ASSERT_TRUE(e.HeadFootActivate(TxEngine::Header));
    EXPECT_EQ(e.Text(), "");
    e.HeadFootDeactivate();
    // Headers travel in the native format.
    ASSERT_TRUE(e.HeadFootActivate(TxEngine::FirstHeader));
    e.SetText("first");
    e.HeadFootDeactivate();
    TxEngine back;
    ASSERT_TRUE(back.LoadBytes(e.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative));
    EXPECT_EQ(back.HeadFootMask(), 7);
    ASSERT_TRUE(back.HeadFootActivate(TxEngine::FirstHeader));
    EXPECT_EQ(back.Text(), "first");
}

TEST(EngineObjects, TextFramesEnumerateSelectAndLoad) {
    TxEngine e;
    e.SetText("main");
    const int a = e.TextFrameInsert(1000, 2000, 3000, 1500);
    const int b = e.TextFrameInsert(-1, 0, 2000, 800);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_EQ(e.TextFrameInsert(0, 0, 0, 100), 0);
    EXPECT_EQ(e.NextTextFrame(0), a);
    EXPECT_EQ(e.NextTextFrame(a), b);
    EXPECT_EQ(e.NextTextFrame(b), 0);
    // Editing a frame: text operations and loading go into it.
    ASSERT_TRUE(e.TextFrameSelect(a));
    EXPECT_EQ(e.TextFrameActive(), a);
    e.SetText("in frame a");
    TxEngine other;
    other.SetText(ctl("loaded|text"));
    ASSERT_TRUE(e.TextFrameSelect(b));
    ASSERT_TRUE(e.LoadBytes(other.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative));
    EXPECT_EQ(shown(e.Text()), "loaded|text");
    // Saving while a frame is edited saves that frame's content.
    TxEngine saved;
    ASSERT_TRUE(saved.LoadBytes(e.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative));
    EXPECT_EQ(shown(saved.Text()), "loaded|text");
    ASSERT_TRUE(e.TextFrameSelect(0));
    EXPECT_EQ(e.TextFrameActive(), 0);
    EXPECT_EQ(e.Text(), "main");
    ASSERT_TRUE(e.TextFrameSelect(a));
    EXPECT_EQ(e.Text(), "in frame a");
    EXPECT_FALSE(e.TextFrameSelect(9999));
    // Deleting the edited frame returns to the main text.
    EXPECT_TRUE(e.TextFrameDelete(a));
    EXPECT_EQ(e.TextFrameActive(), 0);
    EXPECT_EQ(e.NextTextFrame(0), b);
    EXPECT_FALSE(e.TextFrameDelete(a));
}

TEST(EngineObjects, ImagesInlineAndPositioned) {
    TxEngine e;
    e.SetText("ab");
    e.SetSelStart(1);
    const int in = e.ImageInsertBytes(pngBytes(30, 20, Qt::red), TxEngine::FlowInline);
    ASSERT_NE(in, 0);
    const int fl = e.ImageInsertBytes(pngBytes(10, 10, Qt::blue), TxEngine::FlowAround, 1500, 3000);
    ASSERT_NE(fl, 0);
    EXPECT_EQ(e.ImageInsertBytes("not an image", TxEngine::FlowInline), 0);
    EXPECT_EQ(shown(e.Text()), "a@b"); // positioned images have no character
    EXPECT_EQ(e.NextImage(0), in);
    EXPECT_EQ(e.NextImage(in), fl);
    EXPECT_EQ(e.NextImage(fl), 0);
    // The positioned image is the current object after insertion; the inline
    // one is when its character is selected.
    EXPECT_EQ(e.CurObject(), fl);
    e.SetSelStart(1);
    e.SetSelLength(1);
    EXPECT_EQ(e.CurObject(), in);
    e.SetSelStart(0);
    EXPECT_EQ(e.CurObject(), 0);
    e.SetCurObject(in);
    EXPECT_EQ(e.SelStart(), 1);
    EXPECT_EQ(e.SelLength(), 1);
    // Layout option and export settings, per image.
    EXPECT_EQ(e.ObjectLayout(), 1);
    e.SetObjectLayout(0);
    EXPECT_EQ(e.ObjectLayout(), 0);
    e.SetImageExport(in, 3);
    e.SetImageExportFlag(in, 1);
    e.SetImageExport(fl, 4);
    EXPECT_EQ(e.ImageExport(in), 3);
    EXPECT_EQ(e.ImageExportFlag(in), 1);
    EXPECT_EQ(e.ImageExport(fl), 4);
    e.SetCurObject(fl);
    EXPECT_EQ(e.ObjectLayout(), 1);
    // They survive the native format.
    TxEngine back;
    ASSERT_TRUE(back.LoadBytes(e.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative));
    EXPECT_EQ(back.NextImage(0), in);
    EXPECT_EQ(back.ImageExport(in), 3);
    EXPECT_EQ(back.ImageExportFlag(in), 1);
    EXPECT_EQ(back.ImageExport(fl), 4);
    back.SetCurObject(in);
    EXPECT_EQ(back.ObjectLayout(), 0);
    // Deleting: the positioned one by Clip while selected, the inline one by id.
    e.SetCurObject(fl);
    e.Clip(TxEngine::ClipDelete);
    EXPECT_EQ(e.NextImage(in), 0);
    EXPECT_TRUE(e.ImageDelete(in));
    EXPECT_EQ(e.Text(), "ab");
    EXPECT_EQ(e.NextImage(0), 0);
}

TEST(EngineObjects, ImageFromFileKeepsItsName) {
    TxEngine e;
    const QString dir = TestEnv::freshDir("img");
    const QString file = dir + "/pic.png";
    TestEnv::writeFile(file, pngBytes(16, 16, Qt::green));
    const int id = e.ImageInsert(file, TxEngine::FlowInline);
    ASSERT_NE(id, 0);
    EXPECT_EQ(e.ObjectFileName(id), file);
    EXPECT_EQ(e.ImageInsert(dir + "/missing.png", TxEngine::FlowInline), 0);
}

TEST(EngineObjects, ViewOptionsAndPageSetup) {
    TxEngine e;
    e.SetPageWidth(12240);
    e.SetPageHeight(15840);
    e.SetMarginLeft(850);
    e.SetMarginTop(851);
    e.SetMarginRight(567);
    e.SetMarginBottom(568);
    EXPECT_EQ(e.PageWidth(), 12240);
    EXPECT_EQ(e.PageHeight(), 15840);
    EXPECT_EQ(e.MarginLeft(), 850);
    EXPECT_EQ(e.MarginTop(), 851);
    EXPECT_EQ(e.MarginRight(), 567);
    EXPECT_EQ(e.MarginBottom(), 568);
    EXPECT_FALSE(e.Landscape());
    e.SetPageWidth(16838);
    e.SetPageHeight(11906);
    EXPECT_TRUE(e.Landscape());
    EXPECT_EQ(e.ViewMode(), 0);
    e.SetViewMode(2);
    EXPECT_EQ(e.ViewMode(), 2);
    EXPECT_EQ(e.ZoomFactor(), 100);
    e.SetZoomFactor(150);
    EXPECT_EQ(e.ZoomFactor(), 150);
    e.SetZoomFactor(5); // out of range: ignored
    EXPECT_EQ(e.ZoomFactor(), 150);
    e.SetShowCtrlChars(true);
    EXPECT_TRUE(e.ShowCtrlChars());
    EXPECT_EQ(e.EngineOption(9), 0);
    e.SetEngineOption(9, 0);
    e.SetEngineOption(37, 1);
    EXPECT_EQ(e.EngineOption(37), 1);
    // Changing the view or zoom keeps the text and the caret.
    e.SetText("keep me");
    e.SetSelStart(3);
    e.SetViewMode(0);
    e.SetZoomFactor(75);
    EXPECT_EQ(e.SelStart(), 3);
    EXPECT_EQ(e.Text(), "keep me");
}

TEST(EngineObjects, DoubleClickEditsHeaderAndFrame) {
    TxEngine e;
    e.resize(900, 700);
    e.SetText("main");
    e.SetHeadFootMask(TxEngine::Header);
    e.SetViewMode(2);
    const int fr = e.TextFrameInsert(6000, 6000, 3000, 1500); // 400,400 px on page 1
    e.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    e.verticalScrollBar()->setValue(0);
    e.horizontalScrollBar()->setValue(0);
    // In the header band (above the 1440-twip top margin, 96 px).
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, QPoint(300, 60));
    EXPECT_EQ(e.HeadFootActive(), TxEngine::Header);
    // A click in the text returns to it.
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, QPoint(300, 110));
    EXPECT_EQ(e.HeadFootActive(), 0);
    EXPECT_EQ(e.Text(), "main");
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, QPoint(450, 430));
    EXPECT_EQ(e.TextFrameActive(), fr);
    // In the normal view the bands are not shown and not editable.
    e.TextFrameSelect(0);
    e.SetViewMode(0);
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, QPoint(300, 60));
    EXPECT_EQ(e.HeadFootActive(), 0);
}
