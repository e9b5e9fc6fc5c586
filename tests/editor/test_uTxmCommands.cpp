// The dispatcher rtAct: its prologue and epilogue, snapshot undo, paste,
// the toolbar state, bars, zoom and the events.
#include "EditorFixture.h"
#include "TxCoolBar.h"
#include "TxFormatBar.h"
#include "TxRuler.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {
QAction* button(uTxm& t, const QString& key) {
    for (QAction* a : t.tlBar->actions())
        if (a->objectName() == key)
            return a;
    return nullptr;
}
} // namespace

TEST_F(EditorTest, EveryCommandEndsWithItsEvents) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open();
    QList<int> done;
    int udtFld = 0;
    QObject::connect(&t, &uTxm::eRtAct, [&](int& code) { done << code; });
    QObject::connect(&t, &uTxm::eUdtFld, [&] { ++udtFld; });
    t.rtAct(2);
    t.rtAct(53); // reserved: only the epilogue
    t.rtAct(12345);
    EXPECT_EQ(done, (QList<int>{2, 53, 12345}));
    EXPECT_EQ(udtFld, 1);
    // A command that did not happen leaves the modified flag alone.
    type(QStringLiteral("x"));
    t.rtAct(53);
    EXPECT_TRUE(t.bDcEdt());
    // A snapshot command that changed the page keeps its snapshot.
    t.SetDcEdt(false);
    QApplication::clipboard()->setText(QStringLiteral("y"));
    t.rtAct(15, QStringLiteral("TXT"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_TRUE(t.bSnap);
    EXPECT_FALSE(t.ySnap.isEmpty());
}

TEST_F(EditorTest, UndoRestoresTheSnapshotUntilTheNextKeystroke) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("abc"));
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    t.rtAct(15, QStringLiteral("TXT"));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("abcXYZ"));
    ASSERT_TRUE(t.mTxt->CanUndo()); // the engine could undo, but the snapshot wins
    t.rtAct(11);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("abc"));
    EXPECT_FALSE(t.bSnap);

    t.rtAct(15, QStringLiteral("TXT"));
    t.mTxt->SetSelStart(0);
    type(QStringLiteral("d"));
    EXPECT_FALSE(t.bSnap);
    QTest::keyClick(t.mTxt, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("abcXYZ")); // only the keystroke is undone
}

TEST_F(EditorTest, UndoAfterLoadingAPageNeverBringsBackAnother) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("old page"));
    QApplication::clipboard()->setText(QStringLiteral("!"));
    t.rtAct(15, QStringLiteral("TXT")); // snapshot of the old page
    bool ok = false;
    t.SetData(docBytes(QStringLiteral("new page")), ok, true);
    t.rtAct(11);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("new page"));
}

TEST_F(EditorTest, PasteTextTurnsLineEndsIntoLineBreaks) {
    ScriptedPrompter p;
    uTxm& t = open();
    QApplication::clipboard()->setText(QStringLiteral("  one\r\ntwo\nthree  "));
    t.bPastTx = true;
    t.mTxt->setFocus();
    QTest::keyClick(t.mTxt, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("one\x0btwo\x0bthree"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_TRUE(t.bSnap);
    t.rtAct(11);
    EXPECT_EQ(t.mTxt->Text(), QString());

    // Paste mode: 3 keeps plain text as the choice, 2 formatted, 1/0 momentary.
    t.rtAct(72, 2);
    EXPECT_FALSE(t.bPastTx);
    EXPECT_TRUE(t.pasteMenuChecked[0]);
    t.rtAct(72, 1);
    EXPECT_TRUE(t.bPastTx);
    EXPECT_TRUE(t.pasteMenuChecked[0]);
}

TEST_F(EditorTest, ToolbarFollowsEditsAndSaves) {
    ScriptedPrompter p;
    uTxm& t = open();
    EXPECT_FALSE(t.tlState.hasContent);
    EXPECT_FALSE(button(t, QStringLiteral("Save"))->isEnabled());
    EXPECT_FALSE(button(t, QStringLiteral("New"))->isEnabled());
    EXPECT_TRUE(button(t, QStringLiteral("Open"))->isEnabled());
    type(QStringLiteral("hello"));
    EXPECT_TRUE(t.tlState.hasContent);
    EXPECT_TRUE(t.tlState.canSave);
    EXPECT_TRUE(t.tlState.canUndo);
    EXPECT_TRUE(button(t, QStringLiteral("Save"))->isEnabled());
    EXPECT_TRUE(button(t, QStringLiteral("Find"))->isEnabled());
    EXPECT_FALSE(button(t, QStringLiteral("Copy"))->isEnabled());
    t.rtAct(21); // select all
    EXPECT_TRUE(t.tlState.canCopy);
    EXPECT_TRUE(button(t, QStringLiteral("Cut"))->isEnabled());
    t.sFlNm = dir + QStringLiteral("/t.doc");
    button(t, QStringLiteral("Save"))->trigger();
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_FALSE(t.tlState.canSave);
    EXPECT_FALSE(button(t, QStringLiteral("Save"))->isEnabled());

    // The editor type decides which buttons exist.
    t.cTyp(0);
    EXPECT_FALSE(button(t, QStringLiteral("New"))->isVisible());
    EXPECT_FALSE(button(t, QStringLiteral("Open"))->isVisible());
    EXPECT_TRUE(button(t, QStringLiteral("Save"))->isVisible());
    t.cTyp(-1);
    EXPECT_FALSE(button(t, QStringLiteral("Save"))->isVisible());
}

TEST_F(EditorTest, NewDocumentAsksThenClears) {
    ScriptedPrompter p;
    p.answerMessage(Prompter::Answer::No);
    uTxm& t = open();
    t.sFlNm = dir + QStringLiteral("/x.doc");
    type(QStringLiteral("draft"));
    button(t, QStringLiteral("New"))->trigger();
    EXPECT_EQ(t.mTxt->Text(), QString());
    EXPECT_TRUE(t.sFlNm.isEmpty());
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, ZoomAndBars) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetZoomFactor(480);
    t.rtAct(86, QStringLiteral("拡大"));
    EXPECT_EQ(t.mTxt->ZoomFactor(), 500);
    t.rtAct(86, 10);
    t.rtAct(86, 1000);
    t.rtAct(86, QStringLiteral("abc"));
    EXPECT_EQ(t.mTxt->ZoomFactor(), 500);
    t.rtAct(86, 120);
    EXPECT_EQ(t.mTxt->ZoomFactor(), 120);

    const QRect textArea = t.mTxt->geometry();
    t.rtAct(27, -8);
    EXPECT_FALSE(t.clBar->isVisible());
    EXPECT_LT(t.mTxt->geometry().top(), textArea.top());
    const TxBand::Bands hidden = t.bands;
    t.rtAct(27, -7);
    t.rtAct(27, 8);
    EXPECT_EQ(t.bands, hidden);
    EXPECT_FALSE(t.clBar->isVisible());
    t.rtAct(27, 7);
    EXPECT_TRUE(t.clBar->isVisible());
    EXPECT_TRUE(t.bRule);
    EXPECT_TRUE(t.vRuler->isVisible());
    t.rtAct(27, -1);
    EXPECT_FALSE(t.tlBar->isVisible());
    EXPECT_TRUE(t.frFmt->isVisible());
}

TEST_F(EditorTest, ColourListsApplyToTheSelection) {
    ScriptedPrompter p;
    uTxm& t = open();
    ASSERT_EQ(t.imFcr->count(), 10);
    EXPECT_EQ(t.imFcr->itemData(5).toString(), QStringLiteral("Rd"));
    EXPECT_FALSE(t.cmFcr->isEnabled());
    type(QStringLiteral("colour"));
    t.SetDcEdt(false);
    t.rtAct(21);
    t.imFcr->setCurrentIndex(5);
    emit t.imFcr->activated(5);
    EXPECT_EQ(t.mTxt->ForeColor(), 0x0000FFu);
    EXPECT_TRUE(t.cmFcr->isEnabled());
    EXPECT_EQ(t.cmFcr->toolTip(), QStringLiteral("文字色(Red)を設定します"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_TRUE(t.bSnap);
    t.rtAct(11);
    t.rtAct(21);
    EXPECT_EQ(t.mTxt->ForeColor() & 0xFFFFFF, 0u);
}

TEST_F(EditorTest, LinkClicksReachTheHost) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("see "));
    t.mTxt->SetSelStart(4);
    const int id = t.mTxt->FieldInsert(QStringLiteral("page 12"));
    t.mTxt->SetFieldTarget(id, QStringLiteral("TG_12"));
    const int anchor = t.mTxt->FieldInsert(QStringLiteral("top"));
    t.mTxt->SetFieldTarget(anchor, QStringLiteral("TP_top"));
    QStringList got;
    QObject::connect(&t, &uTxm::eClckLink,
                     [&](QString& k, QString& c, QString& v) { got << k << c << v; });
    emit t.mTxt->fieldClicked(id);
    emit t.mTxt->fieldClicked(anchor);
    EXPECT_EQ(got,
              (QStringList{QStringLiteral("TG"), QStringLiteral("page 12"), QStringLiteral("12")}));
}

TEST_F(EditorTest, PageBreakFindAndSelection) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("alpha beta alpha"));
    t.mTxt->SetSelStart(5);
    t.mTxt->SetSelLength(3);
    t.rtAct(54);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("alpha\x0c beta alpha"));
    EXPECT_TRUE(t.bDcEdt());
    t.FndWd(QStringLiteral("beta gamma")); // cut at the first blank
    EXPECT_EQ(t.SelTxt(), QStringLiteral("beta"));
    t.SetSelTxt(QStringLiteral("BETA"));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("alpha\x0c BETA alpha"));
}

TEST_F(EditorTest, MenuStatesInAndOutOfHeadings) {
    ScriptedPrompter p;
    uTxm& t = open();
    bool exDoc = true, ovrw = true;
    t.ChkJbMn0(exDoc, ovrw);
    EXPECT_FALSE(exDoc);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    bool u, r, c, pa, tx, pc, mt, lk;
    int ret = 0;
    t.ChkJbMn1(u, r, c, pa, exDoc, ovrw, tx, pc, mt, lk, ret);
    EXPECT_TRUE(tx);
    EXPECT_TRUE(pa);
    EXPECT_EQ(ret, 1);

    type(QStringLiteral("Heading"));
    t.ChkJbMn0(exDoc, ovrw);
    EXPECT_TRUE(exDoc);
    EXPECT_TRUE(ovrw);
    bool grid, insTb, insCl, insRw, delCl, delRw, slcTb, splTb, inHd, inTf;
    t.ChkJbMn5(grid, insTb, insCl, insRw, delCl, delRw, slcTb, splTb, inHd, inTf);
    EXPECT_FALSE(inHd);
    EXPECT_TRUE(insTb);

    // A paragraph formatted as a heading: every table flag is off.
    const UsrFmt& h1 = t.usrFmt[0];
    t.rtAct(21);
    t.mTxt->SetFontSize(h1.iSize);
    t.mTxt->SetLeftIndent(h1.iLIdt);
    t.mTxt->SetSelStart(2);
    QString kind = QStringLiteral("x");
    t.ChkJbMn5(grid, insTb, insCl, insRw, delCl, delRw, slcTb, splTb, inHd, inTf, &kind);
    EXPECT_TRUE(inHd);
    EXPECT_FALSE(grid || insTb || insCl || insRw || delCl || delRw || slcTb || splTb);
    EXPECT_TRUE(kind.isEmpty());
    EXPECT_TRUE(t.tlState.inHeading);
    EXPECT_TRUE(t.vButton->restricted());
}

TEST_F(EditorTest, HostMayOverruleTheModifiedFlag) {
    ScriptedPrompter p;
    uTxm& t = open();
    QObject::connect(&t, &uTxm::eEdtCng, [](bool& b) { b = false; });
    type(QStringLiteral("x"));
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, EngineHandedOutSuspendsTheControl) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine* e = t.GetObj();
    EXPECT_TRUE(t.IsBusy());
    e->SetText(QStringLiteral("outside"));
    EXPECT_FALSE(t.bDcEdt());
    t.EndObj();
    EXPECT_FALSE(t.IsBusy());
    uTxm::SetHostBusy(true);
    type(QStringLiteral("y"));
    EXPECT_FALSE(t.bDcEdt());
    uTxm::SetHostBusy(false);
}

// A picture put in after typing is a step of its own: the first undo takes
// the picture back and keeps the typing, the next takes the typing back -
// also when more typing came after the picture.
TEST_F(EditorTest, UndoTakesBackAPictureBeforeTheTypingBeforeIt) {
    const QString png = dir + QStringLiteral("/p.png");
    QImage img(8, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(png, "PNG"));
    struct Case {
        int iTy, flow;
    };
    for (const Case c : {Case{1, 1}, Case{1, 2}, Case{3, 2}}) {
        SCOPED_TRACE(c.iTy * 10 + c.flow);
        ScriptedPrompter p;
        uTxm& t = open(c.iTy);
        t.iFlw = c.flow;
        type(QStringLiteral("abc"));
        p.answerOpenFile(png);
        t.rtAct(33);
        ASSERT_NE(t.mTxt->NextImage(0), 0);
        t.rtAct(11);
        EXPECT_EQ(t.mTxt->NextImage(0), 0) << "the picture stays after undo";
        EXPECT_EQ(t.mTxt->Text(), QStringLiteral("abc"));
        t.rtAct(11);
        EXPECT_EQ(t.mTxt->Text(), QString()) << "the typing is undone next";
        EXPECT_EQ(t.mTxt->NextImage(0), 0);
        t.rtAct(11); // nothing left: no old page comes back
        EXPECT_EQ(t.mTxt->Text(), QString());
        EXPECT_EQ(t.mTxt->NextImage(0), 0);
        // Redo brings the typing and the picture back in their order.
        t.rtAct(12);
        EXPECT_EQ(t.mTxt->Text(), QStringLiteral("abc"));
        EXPECT_EQ(t.mTxt->NextImage(0), 0);
        t.rtAct(12);
        EXPECT_NE(t.mTxt->NextImage(0), 0);

        // Typing after the picture: undo goes back through all three steps.
        t.SetDcEdt(false);
        t.rtAct(2);
        type(QStringLiteral("abc"));
        p.answerOpenFile(png);
        t.rtAct(33);
        type(QStringLiteral("x"));
        QTest::keyClick(t.mTxt, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_NE(t.mTxt->NextImage(0), 0);
        EXPECT_FALSE(t.mTxt->Text().contains(u'x'));
        QTest::keyClick(t.mTxt, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(t.mTxt->NextImage(0), 0);
        EXPECT_EQ(t.mTxt->Text(), QStringLiteral("abc"));
    }
}
