// The editor's context menus: captions to job codes, the repeat item, and
// the right-click menu of a real editor.
#include "DialogFixture.h"

#include "sbTxmJobs.h"
#include "sbTxmMenus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

TEST(MenuJobs, CaptionsGiveTheirJobs) {
    using TxmJob::Of;
    EXPECT_EQ(Of(QStringLiteral("元に戻す(&U)")).iRJb, 11);
    EXPECT_EQ(Of(QStringLiteral("貼付")).iRJb, 15);
    EXPECT_EQ(Of(QStringLiteral("貼り付け(&P)\tCtrl+V")).iRJb, 15);
    EXPECT_EQ(Of(QStringLiteral("表属性")).iRJb, 85);
    EXPECT_EQ(Of(QStringLiteral("画像"), 3).iRJb, 33);
    EXPECT_EQ(Of(QStringLiteral("画像"), 1).iRJb, 34);
    EXPECT_EQ(Of(QStringLiteral("画像 WMF形式")).iRJb, 35);
    const TxmJob::Job edit = Of(QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの修正"));
    EXPECT_EQ(edit.iRJb, 50);
    EXPECT_EQ(edit.vOpt, 1);
    EXPECT_EQ(Of(QStringLiteral("dxml参照の削除")).vOpt, 2);
    EXPECT_EQ(Of(QStringLiteral("ﾀｸﾞ")).iRJb, 51);
    EXPECT_EQ(Of(QStringLiteral("文字数を指定して字下げ")).vOpt, 1);
    EXPECT_TRUE(Of(QStringLiteral("初期化")).ask);
    EXPECT_EQ(Of(QStringLiteral("何でもない")).iRJb, 0);
    EXPECT_EQ(Of(QString()).iRJb, 0);
    // The repeat item stands for the command after its text.
    EXPECT_EQ(Of(TxmJob::RepeatPrefix() + QStringLiteral("置換")).iRJb, 23);
    EXPECT_EQ(TxmJob::RepeatPrefix(), QStringLiteral("繰り返し(&R)") + QChar(0x3000));
}

class MenuTest : public DialogTest {
protected:
    // Opens the editor's right-click menu and presses `key` in it (an
    // accelerator, or Escape); returns when the menu has closed.
    void rightClick(Qt::Key key) {
        // The menu runs its own event loop: the key is pressed from there,
        // and the menu is closed in any case so a test cannot hang on it.
        QTimer::singleShot(0, [key] {
            QWidget* popup = QApplication::activePopupWidget();
            if (!popup) {
                ADD_FAILURE() << "no context menu";
                return;
            }
            QTest::keyClick(popup, key);
            if (QWidget* still = QApplication::activePopupWidget())
                still->close();
        });
        QContextMenuEvent ev(QContextMenuEvent::Keyboard, QPoint(20, 20),
                             ed->mTxt->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(ed->mTxt, &ev);
    }
};

TEST_F(MenuTest, RightClickRunsTheChosenItemAndOffersItsRepeat) {
    ed->mTxt->SetText(QStringLiteral("abc def"));
    ed->mTxt->SetSelStart(0);
    sbTxm& own = *ed->Dialog();
    QAction* repeat = own.Menus().RepeatItem();
    // At first the second item is redo.
    own.Menus().Update();
    EXPECT_EQ(repeat->text(), QStringLiteral("やり直し(&R)"));

    rightClick(Qt::Key_A); // 全て選択(&A)
    EXPECT_EQ(ed->mTxt->SelLength(), 7);
    EXPECT_EQ(own.RepeatCaption(), TxmJob::RepeatPrefix() + QStringLiteral("全て選択"));
    own.Menus().Update();
    EXPECT_EQ(repeat->text(), own.RepeatCaption());
    EXPECT_TRUE(repeat->isEnabled());

    // Ctrl+Y repeats it.
    ed->mTxt->SetSelStart(2);
    QTest::keyClick(ed->mTxt, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ed->mTxt->SelLength(), 7);

    // Escape chooses nothing and runs nothing.
    ed->mTxt->SetSelStart(1);
    rightClick(Qt::Key_Escape);
    EXPECT_EQ(ed->mTxt->SelLength(), 0);
    EXPECT_EQ(own.RepeatCaption(), TxmJob::RepeatPrefix() + QStringLiteral("全て選択"));
}

TEST_F(MenuTest, UndoGivesRedoBackAndAnExhaustedRedoDisablesTheItem) {
    sbTxm& own = *ed->Dialog();
    own.Remember(QStringLiteral("置換(&H)"), 0, true);
    EXPECT_TRUE(own.RepertJb());
    EXPECT_EQ(own.iRJb, 23);
    own.Remember(QStringLiteral("元に戻す(&U)"), 0, true);
    EXPECT_EQ(own.RepeatCaption(), QStringLiteral("やり直し(&R)"));
    EXPECT_TRUE(own.RepertJb());
    EXPECT_EQ(own.iRJb, 12);
    own.Remember(QStringLiteral("やり直し(&R)"), 0, false);
    EXPECT_EQ(own.RepeatCaption(), QStringLiteral("やり直しできません"));
    own.Menus().Update();
    EXPECT_FALSE(own.Menus().RepeatItem()->isEnabled());
    EXPECT_FALSE(own.RepertJb());
    EXPECT_EQ(own.iRJb, 0);
    // A repeated style keeps the style it was chosen with.
    own.Remember(QStringLiteral("ｽﾀｲﾙ(&2) 見出２"), 1, true);
    EXPECT_TRUE(own.RepertJb());
    EXPECT_EQ(own.iRJb, 60);
    EXPECT_EQ(own.vOpt.toInt(), 1);
}

TEST_F(MenuTest, ItemsSetTheirSubOptions) {
    sbTxmMenus& m = ed->Dialog()->Menus();
    sbTxm& own = *ed->Dialog();
    m.Update();
    // A shown bar is hidden by its item, a hidden one shown.
    ed->bands.shown[1] = true;
    m.Update();
    QAction* tool = m.Item(QStringLiteral("ﾂｰﾙﾊﾞｰ"));
    ASSERT_NE(tool, nullptr);
    tool->trigger(); // unchecks it
    EXPECT_TRUE(m.Choose(tool));
    EXPECT_EQ(own.iRJb, 27);
    EXPECT_EQ(own.vOpt.toInt(), -1);
    ed->bRule = false;
    m.Update();
    QAction* ruler = m.Item(QStringLiteral("ﾙｰﾗｰ"));
    ruler->trigger();
    EXPECT_TRUE(m.Choose(ruler));
    EXPECT_EQ(own.vOpt.toInt(), 5);
    // Plain-text paste when the document paste item is switched off.
    ed->bPastTx = false;
    m.Update();
    QAction* paste = m.Item(QStringLiteral("文書貼付"));
    paste->trigger();
    EXPECT_TRUE(m.Choose(paste));
    EXPECT_EQ(own.iRJb, 72);
    EXPECT_EQ(own.vOpt.toInt(), 3);
    // "初期化" needs the user's OK.
    prompter.answerMessage(Prompter::Answer::Cancel);
    EXPECT_FALSE(m.Choose(m.Item(QStringLiteral("初期化"))));
    EXPECT_EQ(own.iRJb, 0);
    prompter.answerMessage(Prompter::Answer::Ok);
    EXPECT_TRUE(m.Choose(m.Item(QStringLiteral("初期化"))));
    EXPECT_EQ(own.iRJb, 2);
    EXPECT_EQ(prompter.calls.last().text, QStringLiteral("文書全体を初期化して良いですか"));
}

TEST_F(MenuTest, EditorKindsShowTheirItems) {
    sbTxmMenus& m = ed->Dialog()->Menus();
    ed->cTyp(0);
    EXPECT_FALSE(m.Item(QStringLiteral("画像ﾚｲｱｳﾄの既定値"))->isVisible());
    EXPECT_FALSE(m.Item(QStringLiteral("ﾀｸﾞ"))->isVisible());
    ed->cTyp(-2);
    EXPECT_TRUE(m.Item(QStringLiteral("ﾀｸﾞ"))->isVisible());
    ed->cTyp(1);
    EXPECT_TRUE(m.Item(QStringLiteral("画像ﾚｲｱｳﾄの既定値"))->isVisible());
    EXPECT_FALSE(m.Item(QStringLiteral("ﾀｸﾞ"))->isVisible());
}
