// The plain rules under the tree that the widget tests do not reach.
#include "NodeImages.h"
#include "PanelLayout.h"
#include "TreeKeys.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace TreeKeys;

TEST(TreeKeys, NumberPartsAndDirtyParentsAfterRemovals) {
    EXPECT_EQ(GetKyNo(kNewNode), kNewNode);
    EXPECT_FALSE(IsLoadableKy(kNewNode));
    EXPECT_TRUE(IsLoadableKy("N1-0")); // the number part "0" is the top level
    EXPECT_TRUE(IsLinkImg("LKcls"));

    QString s = ".";
    for (int n : {-1, 7, -1, 17, 1})
        SetDrty(s, n);
    EXPECT_EQ(s, ".-1.7.17.1.");
    // Nodes 5 and 7 leave: 7 goes, 17 moves to 15, -1 and 1 stay.
    DrtyAfterRemove(s, {5, 7});
    EXPECT_EQ(s, ".-1.15.1.");
    EXPECT_EQ(FullWidth(10093), QString::fromUtf8("１００９３"));
}

TEST(TreeKeys, TenDistinctVisibleIcons) {
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

TEST(PanelLayout, CodeListHalvesRoundToEvenAndPixelsClamp) {
    using PanelLayout::Box;
    PanelLayout::TreeTab t = PanelLayout::Tree(3000, 1001, true); // 941 / 2 = 470.5
    EXPECT_EQ(t.trView, (Box{30, 50, 2940, 470}));
    EXPECT_EQ(t.lsCod, (Box{30, 531, 2940, 470}));
    t = PanelLayout::Tree(3000, 1003, true); // 471.5 -> 472
    EXPECT_EQ(t.trView.nHgt, 472);
    EXPECT_EQ(t.lsCod.nTop, 531);
    EXPECT_EQ(PanelLayout::Tree(3000, 41, true).trView.nHgt, -10); // (41-60)/2 = -9.5
    EXPECT_EQ(PanelLayout::ToPixels({30, 45, 2940, -60}), QRect(2, 3, 196, 0));
}
