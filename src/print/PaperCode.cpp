#include "PaperCode.h"

#include <QSizeF>

#include <algorithm>
#include <cmath>
#include <utility>

namespace PaperCode {

namespace {

struct Named {
    int code;
    int width; // portrait, twips
    int height;
    QPageSize::PageSizeId id;
};

// The page setup's papers (portrait sizes in twips).
constexpr Named kNamed[] = {
    {kA4, 11906, 16838, QPageSize::A4},         {kA5, 8300, 11900, QPageSize::A5},
    {kB5, 10318, 14581, QPageSize::JisB5},      {kPostcard, 5666, 8386, QPageSize::Postcard},
    {kLetter, 12240, 15840, QPageSize::Letter},
};

bool near(double v, double ref) {
    return std::abs(1.0 - v / ref) < 0.02;
}

// Twips to tenths of a millimetre (1 mm = 56.7 twips).
int tenthsMm(int twips) {
    return int(std::lround(twips / 5.67));
}

} // namespace

Paper Of(int widthTw, int heightTw, bool landscape) {
    if (landscape)
        std::swap(widthTw, heightTw);
    for (const Named& n : kNamed)
        if (near(widthTw, n.width) && near(heightTw, n.height))
            return {n.code, 0, 0};
    return {kUser, tenthsMm(widthTw), tenthsMm(heightTw)};
}

QPageSize PageSize(const Paper& paper) {
    for (const Named& n : kNamed)
        if (n.code == paper.code)
            return QPageSize(n.id);
    const double w = std::max(1, paper.width) / 10.0;
    const double l = std::max(1, paper.length) / 10.0;
    return QPageSize(QSizeF(w, l), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

Paper FromPageSize(const QPageSize& size) {
    for (const Named& n : kNamed)
        if (size.id() == n.id)
            return {n.code, 0, 0};
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return {kUser, int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10))};
}

} // namespace PaperCode
