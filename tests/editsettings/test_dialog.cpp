// The dialog frame and its small pages (display, input method, image
// layout, table), driven through the real dialog.
#include "DialogFixture.h"
#include "EditorDialog.h"

#include "DisplayPage.h"
#include "TxSettings.h"
#include "sbTxmAnswers.h"
#include "sbTxmChoicePages.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

TEST_F(DialogTest, CaptionsCodesAndTheCloseBox) {
    QString shownCaption;
    bool visible = false;
    act("LK_OBJ", [&](sbTxm& d) {
        shownCaption = d.windowTitle();
        // The close box hides the dialog like Cancel.
        QCloseEvent close;
        QApplication::sendEvent(&d, &close);
        visible = d.isVisible();
    });
    EXPECT_EQ(shownCaption, QStringLiteral("ﾘﾝｸ先の設定"));
    EXPECT_EQ(dlg->PageCode(), QStringLiteral("LK"));
    EXPECT_FALSE(visible);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(sbTxm::Caption("US"), QStringLiteral("ﾕｰｻﾞｰ定義書式"));
    EXPECT_EQ(sbTxm::Caption("TF"), QStringLiteral("画像ﾚｲｱｳﾄの既定値"));
    EXPECT_EQ(sbTxm::Caption("IM"), QStringLiteral("IME･更新保存の設定"));

    // An unknown code opens nothing and leaves the answer alone.
    QString ans = QStringLiteral("kept");
    EXPECT_FALSE(dlg->Act(QStringLiteral("XX"), ans));
    EXPECT_EQ(ans, QStringLiteral("kept"));
    // cOff forgets the page code.
    dlg->cOff();
    EXPECT_TRUE(dlg->PageCode().isEmpty());
    dlg->cOn(ed.get());
}

TEST_F(DialogTest, DialogIsCentredOnItsWindowAndAtLeastItsDesignedSize) {
    QWidget main;
    main.setGeometry(100, 50, 1200, 900);
    main.show();
    sbTxm owned(&main);
    owned.cOn(ed.get());
    QRect geo;
    prompter.answerDialog([&](QDialog& d) {
        geo = d.geometry();
        return false;
    });
    QString ans = QStringLiteral("11");
    owned.Act(QStringLiteral("TF"), ans);
    EXPECT_GE(geo.width(), 7300 / 15);
    EXPECT_GE(geo.height(), 2700 / 15);
    const QRect frame = main.frameGeometry();
    EXPECT_NEAR(owned.frameGeometry().center().x(), frame.center().x(), 12);
    EXPECT_NEAR(owned.frameGeometry().center().y(), frame.center().y(), 40);
}

TEST_F(DialogTest, EachPageGetsItsOwnSize) {
    QSize us, tf;
    act("US", [&](sbTxm& d) {
        us = d.size();
        cancel(d);
    });
    act("TF", [&](sbTxm& d) {
        tf = d.size();
        cancel(d);
    });
    // The small page does not keep the large page's size.
    EXPECT_LT(tf.width() * tf.height(), us.width() * us.height());
}

class DisplayTest : public DialogTest {
protected:
    static DisplayPage& page(sbTxm& d) { return *static_cast<DisplayPage*>(d.Page("DP")); }
    // Types a zoom into txZoom, presses OK and returns the stored values.
    TxSet::Disp typeZoom(const QString& typed) {
        act("DP", [&](sbTxm& d) {
            DisplayPage& p = page(d);
            p.txZoom->setText(typed);
            emit p.txZoom->textEdited(typed);
            pressOk(d);
        });
        return TxSet::ReadDisp(settings(), ed->FmGrp());
    }
};

TEST_F(DisplayTest, TypedZoomIsLimitedAndStored) {
    TxSet::Disp d = typeZoom(QStringLiteral("500"));
    EXPECT_EQ(d.zoom, 400);
    EXPECT_EQ(ed->mTxt->ZoomFactor(), 400);
    d = typeZoom(QStringLiteral("5"));
    EXPECT_EQ(d.zoom, 10);
    EXPECT_EQ(ed->mTxt->ZoomFactor(), 11); // the engine's smallest
    // Full-width digits as the input method types them.
    d = typeZoom(QStringLiteral("２２０"));
    EXPECT_EQ(d.zoom, 220);
}

TEST_F(DisplayTest, TypedZoomWithoutANumberIsRefusedWithAMessage) {
    ed->mTxt->SetZoomFactor(125);
    bool stillOpen = false;
    act("DP", [&](sbTxm& d) {
        DisplayPage& p = page(d);
        p.txZoom->setText(QStringLiteral("abc"));
        emit p.txZoom->textEdited(QStringLiteral("abc"));
        pressOk(d);
        stillOpen = d.result() != QDialog::Accepted;
        cancel(d);
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().front(),
              QStringLiteral("ｽﾞｰﾑは10から400までの数値で指定して下さい"));
    EXPECT_EQ(ed->mTxt->ZoomFactor(), 125);
}

TEST_F(DisplayTest, FillingReflectsTheEditorAndOkStoresTheViewMode) {
    ed->mTxt->SetZoomFactor(75);
    ed->mTxt->SetViewMode(0);
    bool fixed75 = false, normal = false;
    act("DP", [&](sbTxm& d) {
        DisplayPage& p = page(d);
        fixed75 = p.opZoom->checkedId() == 3;
        normal = p.opDP->checkedId() == 0;
        p.opDP->button(1)->setChecked(true);
        pressOk(d);
    });
    EXPECT_TRUE(fixed75);
    EXPECT_TRUE(normal);
    EXPECT_EQ(ed->mTxt->ViewMode(), 2);
    EXPECT_EQ(TxSet::ReadDisp(settings(), ed->FmGrp()).mode, 2);

    // A zoom that no option holds is shown as typed.
    ed->mTxt->SetZoomFactor(133);
    QString typed;
    act("DP", [&](sbTxm& d) {
        typed = page(d).txZoom->text();
        cancel(d);
    });
    EXPECT_EQ(typed, QStringLiteral("133"));
}

TEST_F(DisplayTest, PageWidthOnAPageWithoutWidthKeepsTheZoom) {
    ed->mTxt->SetZoomFactor(125);
    ed->mTxt->SetPageWidth(0);
    act("DP", [&](sbTxm& d) {
        page(d).opZoom->button(6)->setChecked(true);
        pressOk(d);
    });
    EXPECT_EQ(ed->mTxt->ZoomFactor(), 125);
    EXPECT_EQ(TxSet::ReadDisp(settings(), ed->FmGrp()).zoom, 125);
}

TEST(DisplayZoomRules, FittingThePage) {
    // Page width: editor width x 97 / page width.
    EXPECT_EQ(TxmAns::FitZoom(12000, 9000, 12000, 16000, false), 97);
    // Whole page: the smaller ratio.
    EXPECT_EQ(TxmAns::FitZoom(12000, 8000, 12000, 16000, true), 49);
    // Limits and pages without size.
    EXPECT_EQ(TxmAns::FitZoom(120000, 90000, 1200, 1600, false), 400);
    EXPECT_EQ(TxmAns::FitZoom(100, 100, 12000, 16000, true), 10);
    EXPECT_FALSE(TxmAns::FitZoom(12000, 9000, 0, 16000, false));
    EXPECT_FALSE(TxmAns::FitZoom(12000, 9000, 12000, 0, true));
    EXPECT_FALSE(TxmAns::FitZoom(12000, 9000, -5, 16000, false));
}

class ImeTest : public DialogTest {
protected:
    static ImePage& page(sbTxm& d) { return *static_cast<ImePage*>(d.Page("IM")); }
};

TEST_F(ImeTest, AnswerSelectsTheOptionsAndOkReturnsThem) {
    bool ime = false;
    int save = -1;
    QString ans = act(
        "IM",
        [&](sbTxm& d) {
            ime = page(d).chIME->isChecked();
            save = page(d).opSave->checkedId();
            page(d).opSave->button(2)->setChecked(true);
            pressOk(d);
        },
        QStringLiteral("ON\t上書"));
    EXPECT_TRUE(ime);
    EXPECT_EQ(save, 1);
    EXPECT_EQ(ans, QStringLiteral("ON\t無視"));

    // An empty answer reads as OFF and 確認.
    ans = act("IM", [&](sbTxm& d) {
        ime = page(d).chIME->isChecked();
        save = page(d).opSave->checkedId();
        pressOk(d);
    });
    EXPECT_FALSE(ime);
    EXPECT_EQ(save, 0);
    EXPECT_EQ(ans, QStringLiteral("OFF\t確認"));

    // Cancel gives an empty answer.
    ans = act("IM", cancel, QStringLiteral("ON\t上書"));
    EXPECT_TRUE(ans.isEmpty());
}

TEST_F(ImeTest, EditorCommandKeepsItsSettingsOnCancel) {
    sbTxm& own = *ed->Dialog();
    ed->sIme = QStringLiteral("OFF");
    ed->sUdtChk = QStringLiteral("確認");
    answerOwn(prompter, own, [&](sbTxm&) {
        page(own).chIME->setChecked(true);
        page(own).opSave->button(1)->setChecked(true);
        pressOk(own);
    });
    ed->rtAct(68);
    EXPECT_EQ(ed->sIme, QStringLiteral("ON"));
    EXPECT_EQ(ed->sUdtChk, QStringLiteral("上書"));

    prompter.answerDialog([](QDialog&) { return false; });
    ed->rtAct(68);
    EXPECT_EQ(ed->sIme, QStringLiteral("ON"));
    EXPECT_EQ(ed->sUdtChk, QStringLiteral("上書"));
}

class LayoutTest : public DialogTest {
protected:
    static ImageLayoutPage& page(sbTxm& d) { return *static_cast<ImageLayoutPage*>(d.Page("TF")); }
};

TEST_F(LayoutTest, AnswerReadInRangeAndReturnedAsTwoDigits) {
    int flow = -1, color = -1;
    QString ans = act(
        "TF",
        [&](sbTxm& d) {
            flow = page(d).opTxf->checkedId();
            color = page(d).opImg->checkedId();
            pressOk(d);
        },
        QStringLiteral("5"));
    EXPECT_EQ(flow, 0); // layout 1
    EXPECT_EQ(color, 0);
    EXPECT_EQ(ans, QStringLiteral("10"));

    ans = act(
        "TF",
        [&](sbTxm& d) {
            flow = page(d).opTxf->checkedId();
            color = page(d).opImg->checkedId();
            page(d).opTxf->button(3)->setChecked(true);
            pressOk(d);
        },
        QStringLiteral("22"));
    EXPECT_EQ(flow, 1);
    EXPECT_EQ(color, 2);
    EXPECT_EQ(ans, QStringLiteral("42"));
}

TEST_F(LayoutTest, CancelDoesNotHandTheEditorAnotherPagesAnswer) {
    sbTxm& own = *ed->Dialog();
    // Another page leaves its answer in the shared slot.
    own.SetAnswer(QStringLiteral("ON\t上書"));
    ed->iFlw = 3;
    ed->iPcClr = 1;
    prompter.answerDialog([&](QDialog&) {
        static_cast<QDialog&>(own).reject();
        return false;
    });
    ed->rtAct(67);
    EXPECT_EQ(ed->iFlw, 3);
    EXPECT_EQ(ed->iPcClr, 1);

    answerOwn(prompter, own, [&](sbTxm&) {
        page(own).opTxf->button(3)->setChecked(true);
        page(own).opImg->button(2)->setChecked(true);
        pressOk(own);
    });
    ed->rtAct(67);
    EXPECT_EQ(ed->iFlw, 4);
    EXPECT_EQ(ed->iPcClr, 2);
}

TEST(LayoutRules, AnswersOutOfRange) {
    EXPECT_EQ(TxmAns::ReadLayout(QStringLiteral("49")), (TxmAns::Layout{4, 0}));
    EXPECT_EQ(TxmAns::ReadLayout(QStringLiteral("0x")), (TxmAns::Layout{1, 0}));
    EXPECT_EQ(TxmAns::ReadLayout(QString()), (TxmAns::Layout{1, 0}));
    EXPECT_TRUE(TxmAns::IsLayoutText(QStringLiteral("42")));
    EXPECT_FALSE(TxmAns::IsLayoutText(QStringLiteral("52")));
    EXPECT_FALSE(TxmAns::IsLayoutText(QStringLiteral("4")));
    EXPECT_FALSE(TxmAns::IsLayoutText(QStringLiteral("ON\t上書")));
    // An IM answer with an unknown save word asks.
    EXPECT_EQ(TxmAns::ReadIme(QStringLiteral("ON\t何か")), (TxmAns::Ime{true, 0}));
    EXPECT_EQ(TxmAns::ReadIme(QStringLiteral("ON")), (TxmAns::Ime{false, 0}));
}

TEST_F(DialogTest, TableCommandInsertsTheChosenTable) {
    sbTxm& own = *ed->Dialog();
    QString rows, cols;
    answerOwn(prompter, own, [&](sbTxm&) {
        auto& p = *static_cast<TablePage*>(own.Page("TB"));
        rows = p.cbRows->currentText();
        cols = p.cbCols->currentText();
        p.cbRows->setCurrentText(QStringLiteral("3"));
        pressOk(own);
    });
    ed->rtAct(80, QStringLiteral("表"));
    EXPECT_EQ(rows, QStringLiteral("5"));
    EXPECT_EQ(cols, QStringLiteral("2"));
    const int id = ed->mTxt->NextTable(0);
    ASSERT_NE(id, 0);
    EXPECT_EQ(ed->mTxt->TableRows(id), 3);
    EXPECT_EQ(ed->mTxt->TableColumns(id), 2);
    EXPECT_TRUE(ed->bDcEdt());

    // A text that is no number inserts nothing and marks nothing.
    ed->SetDcEdt(false);
    answerOwn(prompter, own, [&](sbTxm&) {
        static_cast<TablePage*>(own.Page("TB"))->cbRows->setCurrentText(QStringLiteral("x"));
        pressOk(own);
    });
    ed->rtAct(80, QStringLiteral("表"));
    EXPECT_EQ(ed->mTxt->NextTable(id), 0);
    EXPECT_FALSE(ed->bDcEdt());
}
