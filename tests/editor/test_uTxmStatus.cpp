// The status bar follows the caret: typed text moves it, and a page that
// replaces the one being edited (opened file, page from the database, new
// page) shows the new caret's place, not the old one's.
#include "EditorFixture.h"
#include "TxStatusBar.h"

#include <QFile>
#include <QTest>

namespace {

// Types three lines so the status bar is far from line 1, column 1.
void moveAway(uTxm& t) {
    t.mTxt->setFocus();
    QTest::keyClicks(t.mTxt, QStringLiteral("first"));
    QTest::keyClick(t.mTxt, Qt::Key_Return);
    QTest::keyClicks(t.mTxt, QStringLiteral("second"));
    QTest::keyClick(t.mTxt, Qt::Key_Return);
    QTest::keyClicks(t.mTxt, QStringLiteral("third line"));
}

} // namespace

TEST_F(EditorTest, StatusBarShowsTheCaretAfterTypingAndAfterEachNewPage) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxStatusBar* bar = t.vStatus;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->panelText(QStringLiteral("Line")), QStringLiteral("Line 1"));
    EXPECT_EQ(bar->panelText(QStringLiteral("Col")), QStringLiteral("Col 1"));

    moveAway(t);
    EXPECT_EQ(bar->panelText(QStringLiteral("Line")), QStringLiteral("Line 3"));
    EXPECT_EQ(bar->panelText(QStringLiteral("Col")), QStringLiteral("Col 11"))
        << "after ten letters";

    // A file opened through the open dialog.
    const QString file = dir + QStringLiteral("/other.doc");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(docBytes(ctl(QStringLiteral("one|two|three|four"))));
    }
    t.SetDcEdt(false);
    p.answerOpenFile(file);
    t.rtAct(1);
    ASSERT_TRUE(t.mTxt->Text().startsWith(QStringLiteral("one")));
    EXPECT_EQ(bar->panelText(QStringLiteral("Line")), QStringLiteral("Line 1"));
    EXPECT_EQ(bar->panelText(QStringLiteral("Col")), QStringLiteral("Col 1"));
    EXPECT_EQ(bar->panelText(QStringLiteral("Page")), QStringLiteral("Page 1"));

    // A page handed in by the main window.
    moveAway(t);
    ASSERT_NE(bar->panelText(QStringLiteral("Line")), QStringLiteral("Line 1"));
    bool ok = false;
    t.SetData(docBytes(QStringLiteral("page")), ok, true);
    ASSERT_TRUE(ok);
    EXPECT_EQ(bar->panelText(QStringLiteral("Line")), QStringLiteral("Line 1"));
    EXPECT_EQ(bar->panelText(QStringLiteral("Col")), QStringLiteral("Col 1"));

    // A new, empty page.
    moveAway(t);
    ASSERT_NE(bar->panelText(QStringLiteral("Col")), QStringLiteral("Col 1"));
    t.SetDcEdt(false);
    t.rtAct(2);
    EXPECT_EQ(bar->panelText(QStringLiteral("Line")), QStringLiteral("Line 1"));
    EXPECT_EQ(bar->panelText(QStringLiteral("Col")), QStringLiteral("Col 1"));
}
