// Marker targets, file formats by extension and style recognition.
#include "Frmt.h"
#include "TxStyles.h"

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
