#include "PanelLayout.h"

#include "Usr.h"

#include <algorithm>
#include <cmath>

namespace PanelLayout {

namespace {

// n / 2 rounded to the nearest integer, an exact half to the even neighbour.
int HalfToEven(int n) {
    const int q = int(std::floor(n / 2.0));
    if (n % 2 == 0)
        return q;
    return q % 2 == 0 ? q : q + 1;
}

} // namespace

TreeTab Tree(int W, int H, bool bCod) {
    if (!bCod)
        return {{30, 50, W - 60, H - 50}, {}};
    const int h = HalfToEven(H - 60);
    return {{30, 50, W - 60, h}, {30, H - h, W - 60, h}};
}

RcntTab Rcnt(int W, int H) {
    return {{30, 50, W - 60, H - 270}, {60, H - 270, W - 120, 270}};
}

FindTab Find(int W, int H, int nCmbHgt) {
    return {
        {60, 50, W - 590, nCmbHgt}, {W - 550, 55, 490, nCmbHgt - 35}, {30, 350, W - 60, H - 380}};
}

QRect ToPixels(const Box& b) {
    const auto px = [](int tw) { return int(std::lround(tw / double(Usr::kTwipsPerPixel))); };
    return {px(b.nLft), px(b.nTop), std::max(0, px(b.nWid)), std::max(0, px(b.nHgt))};
}

Box ToTwips(const QRect& r) {
    const int k = Usr::kTwipsPerPixel;
    return {r.x() * k, r.y() * k, r.width() * k, r.height() * k};
}

} // namespace PanelLayout
