#pragma once
// Geometry of the editor control's children, in twips: cool bar on top, the
// horizontal ruler, the title line with the style panel, then the text area
// with the vertical ruler on its left. uTxm converts to pixels (15 twips each).

#include <QRect>

namespace TxLayout {

struct Input {
    int width = 0; // the control, twips
    int height = 0;
    bool anyBand = false;   // bBand(0)
    int coolBarHeight = 0;  // twips, as the bar's rows need
    bool rule = false;      // bRule
    int rulerHeight = 0;    // horizontal ruler, twips
    int rulerWidth = 0;     // vertical ruler, twips
    bool showTitle = false; // bShwTt
};

struct Geometry {
    bool valid = false; // false when the control is under 100 x 100 twips
    bool coolBarVisible = false;
    bool rulersVisible = false;
    bool titleVisible = false;
    QRect coolBar, hRuler, vRuler, title, status, engine;
};

// Title line height, style panel width and the places the layout uses.
inline constexpr int kMinSize = 100;
inline constexpr int kTitleHeight = 280;
inline constexpr int kTitleRow = 325;
inline constexpr int kTitleRightGap = 1550;
inline constexpr int kStatusFromRight = 1540;
inline constexpr int kStatusWidth = 1490;

Geometry Compute(const Input& in);

} // namespace TxLayout
