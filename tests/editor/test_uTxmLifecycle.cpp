// Opening and closing the control: settings read and written, colour lists
// filled once, work images removed.
#include "EditorFixture.h"
#include "TxCoolBar.h"
#include "TxRuler.h"
#include "TxSettings.h"

#include <QComboBox>
#include <QFile>
#include <QToolBar>

TEST_F(EditorTest, OpenReadsTheStoredSettings) {
    store(QStringLiteral("TX_BAR"), QStringLiteral("C_BR"),
          QStringLiteral("2-0-R-frFmt:1-2500-R-tlBar:3-6000-N-vButton:4-4000-R-vStatus:"));
    store(QStringLiteral("TX_BAR"), QStringLiteral("RULE"), QStringLiteral("表示"));
    store(QStringLiteral("TX_DISP"), QStringLiteral("ZOOM"), QStringLiteral("150"));
    store(QStringLiteral("TX_DISP"), QStringLiteral("C_CH"), QStringLiteral("OFF"));
    store(QStringLiteral("TX_USR"), QStringLiteral("PAST_TX"), QStringLiteral("Text"));
    store(QStringLiteral("TX_USR"), QStringLiteral("更新確認"), QStringLiteral("上書"));
    store(QStringLiteral("TX_PAGE"), QStringLiteral("WIDTH"), QStringLiteral("11906"));
    ScriptedPrompter p;
    uTxm& t = open();
    EXPECT_EQ(t.bands.band[0].child, TxBand::ToolBar);
    EXPECT_EQ(t.bands.band[0].width, 2500);
    EXPECT_FALSE(t.frFmt->isVisible());
    EXPECT_TRUE(t.tlBar->isVisible());
    EXPECT_TRUE(t.bRule);
    EXPECT_TRUE(t.vRuler->isVisible());
    EXPECT_EQ(t.mTxt->ZoomFactor(), 150);
    EXPECT_FALSE(t.mTxt->ShowCtrlChars());
    EXPECT_TRUE(t.bPastTx);
    EXPECT_EQ(t.sUdtChk, QStringLiteral("上書"));
    EXPECT_EQ(t.mTxt->PageWidth(), 11906);
    EXPECT_EQ(t.PageWdIn(), 794);
    EXPECT_EQ(t.mTxt->MarginLeft(), 851); // 850.5 twips
    EXPECT_EQ(t.iFlw, 2);
}

TEST_F(EditorTest, SecondOpenReloadsSettingsButKeepsTheLists) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.imFcr->setCurrentIndex(3);
    store(QStringLiteral("TX_USR"), QStringLiteral("IME"), QStringLiteral("ON"));
    t.cOn(0, 1);
    EXPECT_EQ(t.sIme, QStringLiteral("ON"));
    EXPECT_EQ(t.imFcr->currentIndex(), 3);
    EXPECT_EQ(t.imFcr->count(), 10);
}

TEST_F(EditorTest, CloseWritesSettingsAndRemovesWorkImages) {
    ScriptedPrompter p;
    uTxm& t = open();
    TestEnv::writeFile(Usr::sWrkFd + QStringLiteral("a.png"), "png");
    TestEnv::writeFile(Usr::sWrkFd + QStringLiteral("keep.bmp"), "bmp");
    t.rtAct(27, -2);
    t.rtAct(86, 130);
    t.bPastTx = true;
    t.sFlNm = QStringLiteral("/x.doc");
    t.cOff();
    EXPECT_FALSE(t.bLoad);
    EXPECT_TRUE(t.sFlNm.isEmpty());
    EXPECT_FALSE(QFile::exists(Usr::sWrkFd + QStringLiteral("a.png")));
    EXPECT_TRUE(QFile::exists(Usr::sWrkFd + QStringLiteral("keep.bmp")));

    yIni& ini = settings();
    EXPECT_EQ(TxSet::ReadDisp(ini, QString()).zoom, 130);
    EXPECT_TRUE(TxSet::ReadUsr(ini, 1).pastTx);
    const QString bands = TxSet::ReadBar(ini, QString()).bands;
    EXPECT_TRUE(bands.contains(QStringLiteral("-0-R-frFmt:"))) << bands.toStdString();

    // The next control starts where this one stopped.
    uTxm& next = open();
    EXPECT_FALSE(next.frFmt->isVisible());
    EXPECT_EQ(next.mTxt->ZoomFactor(), 130);
}

TEST_F(EditorTest, SuffixedGroupsKeepTwoEditorsApart) {
    ScriptedPrompter p;
    ed = std::make_unique<uTxm>();
    ed->resize(600, 400);
    ed->cOn(0, -2, false, QStringLiteral("_PV"));
    ed->rtAct(86, 70);
    ed->cOff();
    EXPECT_EQ(TxSet::ReadDisp(settings(), QStringLiteral("_PV")).zoom, 70);
    EXPECT_EQ(TxSet::ReadDisp(settings(), QString()).zoom, 100);
}
