// The editor's settings groups: defaults, the stored words and round trips.
#include "TxSettings.h"
#include "yIni.h"

#include "TestEnv.h"

#include <gtest/gtest.h>

namespace {
yIni freshIni() {
    yIni ini;
    ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
    return ini;
}
} // namespace

TEST(EditorSettings, DefaultsWhenNothingIsStored) {
    yIni ini = freshIni();
    EXPECT_EQ(TxSet::ReadPage(ini), TxSet::Page{});
    EXPECT_EQ(TxSet::ReadPage(ini).marginLeft, 850.5);
    const TxSet::Disp d = TxSet::ReadDisp(ini, QString());
    EXPECT_EQ(d.mode, 0);
    EXPECT_EQ(d.zoom, 100);
    EXPECT_TRUE(d.ctrlChars);
    const TxSet::Bar b = TxSet::ReadBar(ini, QString());
    EXPECT_FALSE(b.rule);
    EXPECT_TRUE(b.bands.isEmpty());
    const TxSet::Usr u = TxSet::ReadUsr(ini, 2);
    EXPECT_EQ(u.ime, QStringLiteral("OFF"));
    EXPECT_EQ(u.udtChk, QStringLiteral("確認"));
    EXPECT_EQ(u.flw, 2); // the control's current value
    EXPECT_EQ(u.pcClr, 0);
    EXPECT_FALSE(u.pastTx);
}

TEST(EditorSettings, RoundTripWithSuffixAndStoredWords) {
    yIni ini = freshIni();
    TxSet::Disp d{2, 150, false};
    TxSet::Bar b{true, QStringLiteral("1-3000-R-tlBar:")};
    TxSet::Usr u{
        QStringLiteral("ON"), QStringLiteral("上書"), QStringLiteral("/tmp/w"), 3, 1, true};
    TxSet::WriteDisp(ini, QStringLiteral("_X"), d);
    TxSet::WriteBar(ini, QStringLiteral("_X"), b);
    TxSet::WriteUsr(ini, u);

    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<TX_DISP_X>")));
    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<TX_BAR_X>")));
    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<C_CH>非表示</C_CH>")));
    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<RULE>表示</RULE>")));
    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<PAST_TX>Text</PAST_TX>")));
    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<更新確認>上書</更新確認>")));

    EXPECT_EQ(TxSet::ReadDisp(ini, QStringLiteral("_X")), d);
    EXPECT_EQ(TxSet::ReadBar(ini, QStringLiteral("_X")), b);
    EXPECT_EQ(TxSet::ReadUsr(ini, 1), u);
    // The main window's editor (no suffix) does not see the suffixed groups.
    EXPECT_EQ(TxSet::ReadDisp(ini, QString()), TxSet::Disp{});

    // Writing again replaces the values instead of adding keys.
    u.pastTx = false;
    TxSet::WriteUsr(ini, u);
    EXPECT_EQ(ini.sXml.count(QStringLiteral("<PAST_TX>")), 1);
    EXPECT_TRUE(ini.sXml.contains(QStringLiteral("<PAST_TX>Rtex</PAST_TX>")));
}

TEST(EditorSettings, ControlCharactersShownOnlyForTheExactWord) {
    yIni ini = freshIni();
    ini.GetGtx(TxSet::DispGroup(QString()));
    ini.SetVal(QStringLiteral("C_CH"), QStringLiteral("ON"));
    ini.SetGtx();
    EXPECT_FALSE(TxSet::ReadDisp(ini, QString()).ctrlChars);
    ini.GetGtx(TxSet::BarGroup(QString()));
    ini.SetVal(QStringLiteral("RULE"), QStringLiteral("True"));
    ini.SetGtx();
    EXPECT_FALSE(TxSet::ReadBar(ini, QString()).rule);
}

TEST(EditorSettings, PageGroupReadsStoredMeasures) {
    yIni ini = freshIni();
    ini.GetGtx(TxSet::PageGroup());
    ini.SetVal(QStringLiteral("WIDTH"), 11906);
    ini.SetVal(QStringLiteral("M_LFT"), QStringLiteral("1134"));
    ini.SetGtx();
    const TxSet::Page p = TxSet::ReadPage(ini);
    EXPECT_EQ(p.width, 11906);
    EXPECT_EQ(p.marginLeft, 1134);
    EXPECT_EQ(p.height, 15840);
}

TEST(EditorSettings, WritingIntoADamagedDocumentDoesNotThrow) {
    yIni ini;
    ini.sXml = QStringLiteral("<?xml version='1.0'?>\r\n<運用>\r\n"); // no root end tag
    EXPECT_NO_THROW(TxSet::WriteUsr(ini, TxSet::Usr{}));
}
