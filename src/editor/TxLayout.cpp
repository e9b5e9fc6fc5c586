#include "TxLayout.h"

#include <algorithm>

namespace TxLayout {

Geometry Compute(const Input& in) {
    Geometry g;
    if (in.width < kMinSize || in.height < kMinSize)
        return g;
    g.valid = true;
    const int w = in.width;
    int top = 0;
    g.coolBarVisible = in.anyBand;
    if (g.coolBarVisible) {
        g.coolBar = QRect(0, 0, w, in.coolBarHeight);
        top = in.coolBarHeight;
    }
    g.rulersVisible = in.rule;
    if (in.rule) {
        g.hRuler = QRect(0, top, w, in.rulerHeight);
        top += in.rulerHeight + 10;
    }
    // A small gap between the bars and the text.
    top += 20;
    g.titleVisible = in.showTitle;
    if (in.showTitle) {
        g.title = QRect(0, top, std::max(0, w - kTitleRightGap), kTitleHeight);
        g.status = QRect(w - kStatusFromRight, top, kStatusWidth, kTitleHeight);
        top += kTitleRow;
    }
    const int rest = std::max(0, in.height - top);
    if (in.rule) {
        g.vRuler = QRect(0, top, in.rulerWidth, rest);
        g.engine = QRect(in.rulerWidth, top, std::max(0, w - in.rulerWidth), rest);
    } else {
        g.engine = QRect(0, top, w, rest);
    }
    return g;
}

} // namespace TxLayout
