// The plain rules under the tree: keys, identities, images, the dirty list,
// full-width counts and the panel's measures.
#include "NodeImages.h"
#include "PanelLayout.h"
#include "TreeKeys.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace TreeKeys;

TEST(TreeKeys, NumbersIdentitiesAndLoadableKeys) {
    EXPECT_EQ(MakeKy(57, kPage, 2), "N2-57");
    EXPECT_EQ(MakeKy(QStringLiteral("9"), kTag, 0), "X0-9");
    EXPECT_EQ(GetKyNo("N2-57"), "57");
    EXPECT_EQ(GetKyNo("0"), "0");
    EXPECT_EQ(GetKyNo(kNewNode), kNewNode);
    EXPECT_EQ(KyNo(kNewNode), 0);
    EXPECT_TRUE(IsLoadableKy("0"));
    EXPECT_TRUE(IsLoadableKy("L3-12"));
    EXPECT_FALSE(IsLoadableKy(kNewNode));
    EXPECT_TRUE(IsLoadableKy("N1-0")); // the number part "0" is the top level
    EXPECT_FALSE(IsLoadableKy(""));
    EXPECT_EQ(GetNdId("", "N0-12"), "0-12");
    EXPECT_EQ(GetNdId("N0-12", "L5-57"), "12-57");
}

TEST(TreeKeys, ImagesByKindAndState) {
    EXPECT_EQ(ImgKy(kPage, 0), "ndlef");
    EXPECT_EQ(ImgKy(kPage, 3), "ndcod");
    EXPECT_EQ(ImgKy(kLink, 2), "lkopn");
    EXPECT_EQ(ImgKy(kTag, 0), "tgcls");
    EXPECT_EQ(ImgKy(kTag, 2), "tgopn");
    EXPECT_TRUE(IsLinkImg("LKcls"));
    EXPECT_FALSE(IsLinkImg("ndcls"));
    EXPECT_TRUE(IsCodeImg("lkcod"));

    // Ten different, visible icons; unknown keys have none.
    QList<QImage> seen;
    for (const QString& k : NodeImages::Keys()) {
        const QImage img = NodeImages::Icon(k).pixmap(16, 16).toImage();
        ASSERT_FALSE(img.isNull()) << k.toStdString();
        int nInk = 0;
        for (int y = 0; y < 16; ++y)
            for (int xx = 0; xx < 16; ++xx)
                nInk += qAlpha(img.pixel(xx, y)) > 0;
        EXPECT_GT(nInk, 40) << k.toStdString();
        EXPECT_FALSE(seen.contains(img)) << k.toStdString();
        seen << img;
    }
    EXPECT_EQ(seen.size(), 10);
    EXPECT_TRUE(NodeImages::Icon("nope").isNull());
}

TEST(TreeKeys, DirtyParentsOnceAndAfterRemovals) {
    QString s = ".";
    SetDrty(s, -1);
    SetDrty(s, 7);
    SetDrty(s, -1);
    SetDrty(s, 17);
    SetDrty(s, 1);
    EXPECT_EQ(s, ".-1.7.17.1.");
    EXPECT_EQ(DrtyIdx(s), QList<int>({-1, 7, 17, 1}));
    EXPECT_TRUE(DrtyIdx(".").isEmpty());
    // Nodes 5 and 7 leave: 7 goes, 17 moves to 15, -1 and 1 stay.
    DrtyAfterRemove(s, {5, 7});
    EXPECT_EQ(s, ".-1.15.1.");
}

TEST(TreeKeys, FullWidthCounts) {
    EXPECT_EQ(FullWidth(12), QString::fromUtf8("１２"));
    EXPECT_EQ(FullWidth(0), QString::fromUtf8("０"));
    EXPECT_EQ(FullWidth(10093), QString::fromUtf8("１００９３"));
}

TEST(PanelLayout, MeasuresInTwips) {
    using PanelLayout::Box;
    // Tree alone, then with the code list: halves of H - 60, even on a tie.
    EXPECT_EQ(PanelLayout::Tree(3000, 6000, false).trView, (Box{30, 50, 2940, 5950}));
    EXPECT_EQ(PanelLayout::Tree(3000, 6000, false).lsCod, Box{});
    PanelLayout::TreeTab t = PanelLayout::Tree(3000, 1001, true); // 941 / 2 = 470.5
    EXPECT_EQ(t.trView, (Box{30, 50, 2940, 470}));
    EXPECT_EQ(t.lsCod, (Box{30, 531, 2940, 470}));
    t = PanelLayout::Tree(3000, 1003, true); // 471.5 -> 472
    EXPECT_EQ(t.trView.nHgt, 472);
    EXPECT_EQ(t.lsCod.nTop, 531);
    EXPECT_EQ(PanelLayout::Tree(3000, 1000, true).trView.nHgt, 470);

    const PanelLayout::RcntTab r = PanelLayout::Rcnt(3000, 6000);
    EXPECT_EQ(r.lsRsnt, (Box{30, 50, 2940, 5730}));
    EXPECT_EQ(r.cmClrRsnt, (Box{60, 5730, 2880, 270}));

    const PanelLayout::FindTab f = PanelLayout::Find(3000, 6000, 345);
    EXPECT_EQ(f.cmbFind, (Box{60, 50, 2410, 345}));
    EXPECT_EQ(f.cmFind, (Box{2450, 55, 490, 310}));
    EXPECT_EQ(f.lsFind, (Box{30, 350, 2940, 5620}));

    EXPECT_EQ(PanelLayout::ToPixels({30, 45, 2940, -60}), QRect(2, 3, 196, 0));
    EXPECT_EQ(PanelLayout::ToTwips(QRect(1, 2, 3, 4)), (Box{15, 30, 45, 60}));
}
