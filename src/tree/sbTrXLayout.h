#pragma once
// Where the page-tree dialog puts its controls, in twips, for an inner width
// W and height H: the tree panel on the left, the preview on the right and
// the zoom and the buttons in a row at the bottom. Sizes below zero are
// left to PanelLayout::ToPixels, which makes them 0.

#include "PanelLayout.h"

namespace sbTrXLayout {

// The narrowest inner width the measures are made for; the dialog does not
// get narrower than this.
inline constexpr int kMinWidth = 7000;
inline constexpr int kMinHeight = 3000;

struct Boxes {
    PanelLayout::Box tree, preview, lbZoom, cbZoom, ok, cancel; // ok empty in mode 2
    bool operator==(const Boxes&) const = default;
};
// `nCmbHgt` is the zoom box's own height. The zoom box is 800 wide, or as
// wide as its own text needs (`nCmbWid`): it then reaches further left, its
// label with it, and keeps its right edge. The tree panel is 2180 wide, or
// as wide as its tabs need (`nTreeWid`), the preview then starting further
// right.
inline constexpr int kTreeWidth = 2180;
Boxes Lay(int W, int H, int nMode, int nCmbHgt, int nCmbWid = 0, int nTreeWid = 0);

} // namespace sbTrXLayout
