#include "uFkyLayout.h"

#include <cmath>

namespace {
constexpr int kKeyRowHeight = 270;
}

uFkyLayout uFkyLayoutFor(int W, int H, const QString& sLayout) {
    uFkyLayout l;
    l.bPanel = sLayout != kFullGroupLayout && (W > 10000 || H > 500);
    if (!l.bPanel) {
        l.rcKeys = QRect(0, 0, W, H);
    } else if (H > 499) {
        l.rcKeys = QRect(0, 0, W, kKeyRowHeight);
        l.rcPanel = QRect(0, kKeyRowHeight, W, H - kKeyRowHeight);
    } else {
        const int K = int(std::lround(W * 0.72));
        l.rcKeys = QRect(0, 0, K, H);
        l.rcPanel = QRect(K, 0, W - K, H);
    }
    return l;
}
