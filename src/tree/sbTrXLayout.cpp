#include "sbTrXLayout.h"

#include <algorithm>

namespace sbTrXLayout {

Boxes Lay(int W, int H, int nMode, int nCmbHgt, int nCmbWid, int nTreeWid) {
    constexpr int kLabelWid = 500, kLabelHgt = 240, kButtonWid = 1000, kButtonHgt = 350;
    const int nZoomWid = std::max(800, nCmbWid);
    const int nMore = nZoomWid - 800;
    Boxes b;
    const int nTree = std::max(kTreeWidth, nTreeWid);
    b.tree = {0, 0, nTree, H};
    b.preview = {nTree + 30, 30, W - nTree - 60, H - 440};
    const int nRow = H - 380;
    if (nMode == 2) {
        b.lbZoom = {W - 2390 - nMore, H - 330, kLabelWid, kLabelHgt};
        b.cbZoom = {W - 1860 - nMore, nRow, nZoomWid, nCmbHgt};
    } else {
        b.lbZoom = {W - 3420 - nMore, H - 330, kLabelWid, kLabelHgt};
        b.cbZoom = {W - 2890 - nMore, nRow, nZoomWid, nCmbHgt};
        b.ok = {W - 2060, nRow, kButtonWid, kButtonHgt};
    }
    b.cancel = {W - 1030, nRow, kButtonWid, kButtonHgt};
    return b;
}

} // namespace sbTrXLayout
