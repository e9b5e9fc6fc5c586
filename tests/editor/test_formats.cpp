// Marker targets, file formats by extension and style recognition.
#include "Frmt.h"
#include "TxStyles.h"
#include "yIni.h"

#include "TestEnv.h"

#include <gtest/gtest.h>

TEST(Markers, TargetsSplitIntoKindAndValue) {
    QString typ, val;
    Frmt::SplitMrk(QStringLiteral("tg_12"), typ, val);
    EXPECT_EQ(typ, QStringLiteral("TG"));
    EXPECT_EQ(val, QStringLiteral("12"));
    Frmt::SplitMrk(QStringLiteral("TG_A_12"), typ, val);
    EXPECT_EQ(val, QStringLiteral("12"));
    Frmt::SplitMrk(QStringLiteral("TP_top"), typ, val);
    EXPECT_EQ(typ, QStringLiteral("TP"));
    EXPECT_EQ(val, QStringLiteral("top"));
    Frmt::SplitMrk(QStringLiteral("dx_idx"), typ, val);
    EXPECT_EQ(typ, QStringLiteral("DX"));
    Frmt::SplitMrk(QStringLiteral("https://example.org/a_b"), typ, val);
    EXPECT_EQ(typ, QStringLiteral("LK"));
    EXPECT_EQ(val, QStringLiteral("https://example.org/a_b"));
}

TEST(FileFormats, ByExtension) {
    EXPECT_EQ(Frmt::ExtOf(QStringLiteral("/a.b/c.HTML")), QStringLiteral("htm"));
    EXPECT_EQ(Frmt::ExtOf(QStringLiteral("/a.b/c")), QString());
    EXPECT_EQ(Frmt::ReadFormat(QStringLiteral("doc")), 9);
    EXPECT_EQ(Frmt::ReadFormat(QStringLiteral("txt")), 1);
    EXPECT_EQ(Frmt::ReadFormat(QStringLiteral("docx")), 13);
    EXPECT_EQ(Frmt::ReadFormat(QStringLiteral("pdf")), 0);
    EXPECT_EQ(Frmt::WriteFormat(QStringLiteral("pdf")), 12);
    EXPECT_EQ(Frmt::WriteFormat(QStringLiteral("xls")), 0);
}

TEST(Styles, RecognisedByFontColourBoldAndSize) {
    const TxStyle::Table t = TxStyle::DefaultTable();
    EXPECT_EQ(t[0].sFont, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(t[0].iLIdt, 160);
    EXPECT_EQ(t[1].iPa1, 140);
    EXPECT_EQ(t[6].iAt1, 1);

    TxStyle::ParaLook p{t[1].sFont, 12, t[1].nFcr, true, 160, 1};
    EXPECT_EQ(TxStyle::GetStl(p, t), 1);
    EXPECT_TRUE(TxStyle::IsHeading(p, t));
    EXPECT_EQ(TxStyle::PanelName(p, t, false), QStringLiteral("見出２"));
    p.fontSize = 13;
    EXPECT_EQ(TxStyle::GetStl(p, t), 2);
    EXPECT_EQ(TxStyle::PanelName(p, t, false), QStringLiteral("見出３"));
    EXPECT_EQ(TxStyle::PanelName(p, t, true), QStringLiteral("Field"));

    TxStyle::ParaLook body{t[3].sFont, 10, t[3].nFcr, false, 100, 1};
    EXPECT_EQ(TxStyle::GetStl(body, t), 3);
    body.foreColor = t[4].nFcr;
    EXPECT_EQ(TxStyle::GetStl(body, t), 4);
    // Emphasis and supplement show as body text in the panel.
    EXPECT_EQ(TxStyle::PanelName(body, t, false), QStringLiteral("本文"));

    // Lists and small indents are never headings.
    TxStyle::ParaLook listed{t[0].sFont, 14, t[0].nFcr, true, 160, 2};
    EXPECT_FALSE(TxStyle::IsHeading(listed, t));
    listed.listState = 1;
    listed.leftIndent = 60;
    EXPECT_FALSE(TxStyle::IsHeading(listed, t));
}

TEST(Styles, RecordStringsAndTheirDamagedForms) {
    UsrFmt f = TxStyle::DefaultFmt(1);
    f.sFont = QStringLiteral("Noto Serif CJK JP");
    f.iAt4 = 7936;
    f.iPa3 = -240;
    const QString s = TxStyle::FmtToStr(f);
    EXPECT_EQ(s.split(u'|').size(), 14);
    EXPECT_EQ(TxStyle::StrToFmt(s, 1), f);
    EXPECT_EQ(TxStyle::FmtToStr(TxStyle::DefaultFmt(0)),
              QStringLiteral("ＭＳ Ｐゴシック|14|5266053|16777215|1|0|0|0|0|160|180|160|0|0"));

    // 13 or 15 fields, empty, or a field that is no number: that style's default.
    const QStringList parts = s.split(u'|');
    EXPECT_EQ(TxStyle::StrToFmt(parts.mid(0, 13).join(u'|'), 4), TxStyle::DefaultFmt(4));
    EXPECT_EQ(TxStyle::StrToFmt(s + QStringLiteral("|0"), 5), TxStyle::DefaultFmt(5));
    EXPECT_EQ(TxStyle::StrToFmt(QString(), 2), TxStyle::DefaultFmt(2));
    QStringList bad = parts;
    bad[1] = QStringLiteral("large");
    EXPECT_EQ(TxStyle::StrToFmt(bad.join(u'|'), 3), TxStyle::DefaultFmt(3));
    bad = parts;
    bad[1] = QStringLiteral("0"); // a size of nothing would hide the text
    EXPECT_EQ(TxStyle::StrToFmt(bad.join(u'|'), 3), TxStyle::DefaultFmt(3));

    // "32" in the ninth field is the older form of 7936.
    QStringList old = parts;
    old[8] = QStringLiteral("32");
    EXPECT_EQ(TxStyle::StrToFmt(old.join(u'|'), 1).iAt4, 7936);
    old[8] = QStringLiteral("33");
    EXPECT_EQ(TxStyle::StrToFmt(old.join(u'|'), 1).iAt4, 33);
    // A "|" in a font name cannot split the record.
    f.sFont = QStringLiteral("A|B");
    EXPECT_EQ(TxStyle::StrToFmt(TxStyle::FmtToStr(f), 1).sFont, QStringLiteral("AB"));
}

TEST(Styles, LineSpacingFactorAndLineHeight) {
    EXPECT_FLOAT_EQ(TxStyle::LineFactor(2.5), 1.2f);
    EXPECT_FLOAT_EQ(TxStyle::LineFactor(0.99), 1.2f);
    EXPECT_FLOAT_EQ(TxStyle::LineFactor(1.0), 1.0f);
    EXPECT_FLOAT_EQ(TxStyle::LineFactor(2.0), 2.0f);
    EXPECT_FLOAT_EQ(TxStyle::LineFactor(1.9), 1.9f);
    EXPECT_EQ(TxStyle::LineSpacing(TxStyle::DefaultFmt(3), 1.9f), 380);
    EXPECT_EQ(TxStyle::LineSpacing(TxStyle::DefaultFmt(0), 1.9f), 532);
}

TEST(Styles, StyleTableRoundTripsThroughTheSettingsFile) {
    const QString dir = TestEnv::freshDir(QStringLiteral("styles"));
    const QString file = dir + QStringLiteral("/User.xml");
    TxStyle::UserFormats u;
    u.usrFmt[0].iSize = 18;
    u.usrFmt[3].sFont = QStringLiteral("游ゴシック");
    u.usrFmt[5].nFcr = 0x123456;
    u.usrFmt[7].iPa4 = 99;
    u.sgLsp = 1.5f;
    u.bDtp = false;
    u.bEntSh = false;
    {
        yIni ini;
        ini.sXmlPh = file;
        ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
        TxStyle::SaveUsrFmt(ini, u);
        bool ok = false;
        ini.SetTxt(ok);
        ASSERT_TRUE(ok);
    }
    yIni ini;
    bool ok = false;
    ini.GetTxt(file, ok);
    ASSERT_TRUE(ok);
    TxStyle::UserFormats back;
    EXPECT_TRUE(TxStyle::LoadUsrFmt(ini, back));
    EXPECT_EQ(back, u);

    // A damaged flag ends the reading; what was read before it stays.
    ini.GetGtx(TxStyle::FormatGroup());
    ini.SetVal(QStringLiteral("USR_DTP"), QStringLiteral("vielleicht"));
    ini.SetVal(QStringLiteral("USR_LSP"), QStringLiteral("2.5"));
    ini.SetGtx();
    TxStyle::UserFormats partial;
    partial.bEntSh = true;
    EXPECT_FALSE(TxStyle::LoadUsrFmt(ini, partial));
    EXPECT_EQ(partial.usrFmt, u.usrFmt);
    EXPECT_FLOAT_EQ(partial.sgLsp, 1.2f);
    EXPECT_TRUE(partial.bEntSh);
}
