// Tags in the running main window: clicking a tag in the editor opens its
// page in the page-tree dialog, found through its places in a real
// database; clicking a link opens it outside; the editor's tag question is
// answered with the page picked in the dialog.
#include "../tree/sbTrXScript.h"
#include "Db.h"
#include "DbPage.h"
#include "DbSchema.h"
#include "MainWindowFixture.h"
#include "TxEngine.h"
#include "sbTrX.h"
#include "uTrX.h"
#include "uTxm.h"

#include <QPushButton>
#include <QTest>
#include <QTextCursor>

class TagTest : public MainWindowTest {
protected:
    fmDoc& startWithDb() {
        const QString db = dir + QStringLiteral("/tags.txdb");
        bool ok = false;
        Usr::DbCreate(db, ok);
        EXPECT_TRUE(ok);
        store(QStringLiteral("DC_KBS"), QStringLiteral("DBS"), db);
        return start();
    }
    // Page `no` with its home place under `parent`.
    static void page(qint64 parent, qint64 no, const QString& title, const QString& text) {
        bool bNew = false;
        QString err;
        ASSERT_TRUE(DbPage::WriteDoc(no, title, text, docBytes(text), bNew, err))
            << err.toStdString();
        ASSERT_TRUE(DbPage::WriteTreeRow(parent, no, title, err)) << err.toStdString();
    }
    // A marker at the end of the editor's text.
    static int marker(uTxm& ed, const QString& caption, const QString& target) {
        ed.mTxt->SetSelStart(int(ed.mTxt->Text().size()));
        ed.mTxt->SetSelText(QStringLiteral(" "));
        const int id = ed.mTxt->FieldInsert(caption);
        ed.mTxt->SetFieldTarget(id, target);
        ed.mTxt->SetFieldType(id, target.startsWith(QLatin1String("TG_")) ? 2 : 1);
        return id;
    }
    // A left click on the middle of marker `id`'s first character, as the user gives it.
    static void click(uTxm& ed, int id) {
        ed.mTxt->SetCurField(id);
        QTextCursor c(ed.mTxt->document());
        c.setPosition(ed.mTxt->FieldStart() + 1);
        const QPoint at = ed.mTxt->cursorRect(c).center() - QPoint(2, 0);
        QTest::mouseClick(ed.mTxt->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(TagTest, ClickedTagOpensItsPageInThePageTree) {
    fmDoc& m = startWithDb();
    page(0, 1000, QStringLiteral("Top"), QStringLiteral("top text"));
    page(1000, 1001, QStringLiteral("Chapter"), QStringLiteral("chapter text"));
    page(1001, 1002, QStringLiteral("Section"), QStringLiteral("section text"));
    uTxm& ed = *m.editor();
    // Below the first line, which focus makes the page heading.
    ed.mTxt->SetText(QStringLiteral("Title\nsee"));
    const int tag = marker(ed, QStringLiteral("Section"), QStringLiteral("tg_x_1002"));
    const int lost = marker(ed, QStringLiteral("Gone"), QStringLiteral("TG_999"));
    m.show();
    ed.mTxt->setFocus();
    QTest::qWait(50);

    QString caption, preview, place;
    int mode = 0;
    AnswerTreeDialog(prompter, [&](sbTrX& d) {
        mode = d.Mode();
        caption = d.windowTitle();
        preview = d.Preview()->toPlainText();
        QString p, c;
        bool lnk = false;
        d.Tree()->GetPrCdNo(p, c, lnk);
        place = p + u'/' + c;
        d.CancelButton()->click();
    });
    click(ed, tag);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(place, QStringLiteral("1001/1002"));
    EXPECT_TRUE(caption.endsWith(QStringLiteral("1002"))) << caption.toStdString();
    EXPECT_TRUE(preview.contains(QStringLiteral("section text"))) << preview.toStdString();
    EXPECT_TRUE(prompter.messages().isEmpty());

    // A page in no place of the tree: said so, no dialog.
    click(ed, lost);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(QStringLiteral("999")));
}

TEST_F(TagTest, WithoutADatabaseATagOpensNothing) {
    fmDoc& m = start();
    uTxm& ed = *m.editor();
    ed.mTxt->SetText(QStringLiteral("see"));
    const int tag = marker(ed, QStringLiteral("Section"), QStringLiteral("TG_12"));
    QString sTyp = QStringLiteral("TG"), sCap = QStringLiteral("Section"),
            sVal = QStringLiteral("12");
    emit ed.eClckLink(sTyp, sCap, sVal);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(QStringLiteral("文書ﾃﾞｰﾀｰﾍﾞｰｽ")));
    // Nor does the tag question get an answer.
    QString sNo = QStringLiteral("x"), sTitle = QStringLiteral("y");
    emit ed.eAskTag(sNo, sTitle);
    EXPECT_TRUE(sNo.isEmpty() && sTitle.isEmpty());
    (void)tag;
}

TEST_F(TagTest, TagQuestionIsAnsweredWithThePagePicked) {
    fmDoc& m = startWithDb();
    page(0, 1000, QStringLiteral("Top"), QStringLiteral("top text"));
    page(0, 1001, QStringLiteral("Next"), QStringLiteral("next text"));
    uTxm& ed = *m.editor();
    // Picked and confirmed: its number and title.
    AnswerTreeDialog(prompter, [](sbTrX& d) {
        d.Tree()->SetLeaf(1001);
        d.OkButton()->click();
    });
    QString sNo, sCap;
    emit ed.eAskTag(sNo, sCap);
    EXPECT_EQ(sNo, QStringLiteral("1001"));
    EXPECT_EQ(sCap, QStringLiteral("Next"));
    // Cancelled: nothing.
    AnswerTreeDialog(prompter, [](sbTrX& d) { d.CancelButton()->click(); });
    emit ed.eAskTag(sNo, sCap);
    EXPECT_TRUE(sNo.isEmpty() && sCap.isEmpty());

    // The page editor's tag command takes the answer.
    ed.cTyp(-2);
    ed.mTxt->SetText(QStringLiteral("see "));
    ed.mTxt->SetSelStart(4);
    AnswerTreeDialog(prompter, [](sbTrX& d) {
        d.Tree()->SetLeaf(1000);
        d.OkButton()->click();
    });
    ed.rtAct(51);
    const int id = ed.mTxt->NextField(0, 0);
    ASSERT_NE(id, 0);
    EXPECT_EQ(ed.mTxt->FieldTarget(id), QStringLiteral("TG_1000"));
    EXPECT_EQ(ed.mTxt->Text(), QStringLiteral("see Top"));
    ed.cTyp(1);
}

TEST_F(TagTest, CtrlLAsksForTheLinkOfTheSelectedText) {
    fmDoc& m = start();
    uTxm& ed = *m.editor();
    m.show();
    activate();
    ed.mTxt->setFocus();
    ed.mTxt->SetText(QStringLiteral("Title\nsee here"));
    ed.mTxt->SetSelStart(10);
    ed.mTxt->SetSelLength(4);
    QString title;
    prompter.answerDialog([&](QDialog& d) {
        title = d.windowTitle();
        return false;
    });
    QTest::keyClick(ed.mTxt, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(title, QStringLiteral("ﾘﾝｸ先の設定"));
}
