// Band string, bar switching and the layout geometry of the editor control.
#include "TxBands.h"
#include "TxCommands.h"
#include "TxLayout.h"

#include "TestEnv.h"

#include <gtest/gtest.h>

using namespace TxBand;

TEST(BandString, WritesVisibleAndHiddenBands) {
    Bands b = Bands::Designed();
    b.band[0].width = 3000;
    b.shown[FormatFrame] = false;
    const QString s = GetBandStr(b);
    EXPECT_TRUE(s.startsWith(QStringLiteral("1-3000-R-tlBar:2-0-R-frFmt:3-")));
    EXPECT_TRUE(s.endsWith(QStringLiteral("-vStatus:")));
    EXPECT_EQ(s.count(u':'), 4);
}

TEST(BandString, SortsEntriesByPositionAndHidesZeroWidth) {
    Bands b = Bands::Designed();
    ASSERT_TRUE(SetBandStr(
        b, QStringLiteral("2-0-R-frFmt:1-2500-R-tlBar:3-6000-N-vButton:4-4000-R-vStatus:")));
    EXPECT_EQ(b.band[0].child, ToolBar);
    EXPECT_EQ(b.band[0].width, 2500);
    EXPECT_TRUE(b.shown[ToolBar]);
    EXPECT_EQ(b.band[1].child, FormatFrame);
    EXPECT_EQ(b.band[1].width, 500);
    EXPECT_FALSE(b.shown[FormatFrame]);
    EXPECT_FALSE(b.menuChecked[FormatFrame - 1]);
    EXPECT_TRUE(b.menuChecked[ToolBar - 1]);
    EXPECT_TRUE(b.band[2].newRow);
    EXPECT_FALSE(b.band[3].newRow);
    EXPECT_TRUE(b.shown[0]);
    // What was read is written back the same way (hidden band as width 0).
    EXPECT_EQ(GetBandStr(b),
              QStringLiteral("1-2500-R-tlBar:2-0-R-frFmt:3-6000-N-vButton:4-4000-R-vStatus:"));
}

TEST(BandString, ChildrenCanMoveBetweenBands) {
    Bands b = Bands::Designed();
    ASSERT_TRUE(SetBandStr(
        b, QStringLiteral("1-5000-R-vStatus:2-1000-N-tlBar:3-800-R-frFmt:4-0-N-vButton")));
    EXPECT_EQ(b.band[0].child, StatusBar);
    EXPECT_EQ(b.band[1].child, ToolBar);
    EXPECT_TRUE(b.band[1].newRow);
    EXPECT_EQ(b.bandOf(ButtonBar), 3);
    EXPECT_FALSE(b.shown[ButtonBar]);
}

TEST(BandString, EmptyOrMalformedKeepsTheLayoutAndClearsTheMenu) {
    const Bands designed = Bands::Designed();
    for (const QString& bad :
         {QStringLiteral("1-3000-R-tlBar:2-0-R-frFmt:"),                       // too few entries
          QStringLiteral("1-3000-R:2-0-R-frFmt:3-1-R-vButton:4-1-R-vStatus:"), // three parts
          QStringLiteral("1-3000-R-tlBar:2-0-R-tlBar:3-1-R-vButton:4-1-R-vStatus:"), // repeated
          QStringLiteral("1-3000-R-xBar:2-0-R-frFmt:3-1-R-vButton:4-1-R-vStatus:"),  // unknown
          QStringLiteral(":::")}) {
        Bands b = designed;
        b.menuChecked.fill(true);
        EXPECT_FALSE(SetBandStr(b, bad)) << bad.toStdString();
        EXPECT_EQ(b.band, designed.band);
        EXPECT_EQ(b.shown, designed.shown);
        EXPECT_EQ(b.menuChecked, (std::array<bool, 4>{}));
    }
    Bands b = designed;
    b.menuChecked.fill(true);
    EXPECT_TRUE(SetBandStr(b, QString()));
    EXPECT_EQ(b.band, designed.band);
    EXPECT_EQ(b.menuChecked, (std::array<bool, 4>{}));
}

TEST(BandString, DamagedWidthsStayBounded) {
    Bands b = Bands::Designed();
    ASSERT_TRUE(SetBandStr(
        b, QStringLiteral("1-1e300-R-tlBar:2-nan-R-frFmt:3-abc-R-vButton:4-2.6-R-vStatus:")));
    EXPECT_LE(b.band[0].width, 60000);
    EXPECT_FALSE(b.shown[FormatFrame]);
    EXPECT_FALSE(b.shown[ButtonBar]);
    EXPECT_EQ(b.band[3].width, 3);
}

TEST(ShowBars, SwitchesBandsAndRulers) {
    Bands b = Bands::Designed();
    bool rule = false;
    EXPECT_TRUE(TxCmd::ShowBars(-2, b, rule));
    EXPECT_FALSE(b.shown[FormatFrame]);
    EXPECT_TRUE(b.shown[0]);
    EXPECT_TRUE(TxCmd::ShowBars(5, b, rule));
    EXPECT_TRUE(rule);
    EXPECT_TRUE(TxCmd::ShowBars(-8, b, rule));
    EXPECT_FALSE(rule);
    EXPECT_FALSE(b.shown[0]);
    EXPECT_EQ(b.menuChecked, (std::array<bool, 4>{}));
    EXPECT_TRUE(TxCmd::ShowBars(3, b, rule));
    EXPECT_TRUE(b.shown[0]);
    EXPECT_TRUE(b.shown[ButtonBar]);
    EXPECT_TRUE(TxCmd::ShowBars(7, b, rule));
    EXPECT_TRUE(rule);

    // -7, 8, 6, 0 and out-of-range values change nothing.
    for (int n : {-7, 8, 6, 0, -6, 9, 100}) {
        const Bands before = b;
        bool r = rule;
        EXPECT_FALSE(TxCmd::ShowBars(n, b, r)) << n;
        EXPECT_EQ(b, before);
        EXPECT_EQ(r, rule);
    }
}

TEST(Layout, PlacesBarsRulersTitleAndText) {
    TxLayout::Input in;
    in.width = 9000;
    in.height = 6000;
    in.anyBand = true;
    in.coolBarHeight = 900;
    in.rule = true;
    in.rulerHeight = 300;
    in.rulerWidth = 300;
    in.showTitle = true;
    const TxLayout::Geometry g = TxLayout::Compute(in);
    ASSERT_TRUE(g.valid);
    EXPECT_EQ(g.coolBar, QRect(0, 0, 9000, 900));
    EXPECT_EQ(g.hRuler, QRect(0, 900, 9000, 300));
    // 10 twips below the ruler, 20 more before the title row.
    EXPECT_EQ(g.title, QRect(0, 1230, 9000 - 1550, 280));
    EXPECT_EQ(g.status, QRect(9000 - 1540, 1230, 1490, 280));
    const int textTop = 1230 + 325;
    EXPECT_EQ(g.vRuler, QRect(0, textTop, 300, 6000 - textTop));
    EXPECT_EQ(g.engine, QRect(300, textTop, 8700, 6000 - textTop));

    in.anyBand = false;
    in.rule = false;
    in.showTitle = false;
    const TxLayout::Geometry bare = TxLayout::Compute(in);
    EXPECT_FALSE(bare.coolBarVisible);
    EXPECT_FALSE(bare.rulersVisible);
    EXPECT_FALSE(bare.titleVisible);
    EXPECT_EQ(bare.engine, QRect(0, 20, 9000, 5980));

    in.width = 99;
    EXPECT_FALSE(TxLayout::Compute(in).valid);
}
