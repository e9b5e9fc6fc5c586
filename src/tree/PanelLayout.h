#pragma once
// Where the tree panel puts its controls, in twips, inside a frame that
// covers the tab strip's client area of width W and height H.

#include <QRect>

namespace PanelLayout {

struct Box {
    int nLft = 0, nTop = 0, nWid = 0, nHgt = 0; // twips
    bool operator==(const Box&) const = default;
};

// Tab 1: the tree, and the code list under it when `bCod`.
struct TreeTab {
    Box trView;
    Box lsCod; // empty without the code list
};
TreeTab Tree(int W, int H, bool bCod);

// Tab 4: the recent list and its clear button.
struct RcntTab {
    Box lsRsnt;
    Box cmClrRsnt;
};
RcntTab Rcnt(int W, int H);

// Tabs 2 and 3: the find box (its height is its own, `nCmbHgt`), the find
// button and the result list.
struct FindTab {
    Box cmbFind;
    Box cmFind;
    Box lsFind;
};
FindTab Find(int W, int H, int nCmbHgt);

// Twips to device-independent pixels (15 twips each); negative sizes
// become 0.
QRect ToPixels(const Box& b);
// Device-independent pixels to twips.
Box ToTwips(const QRect& r);

} // namespace PanelLayout
