#include "sbWmfLayout.h"

#include <algorithm>
#include <cmath>

namespace sbWmfLayout {

QString Percent(double ratio) {
    const qint64 tenths = std::llround(ratio * 1000.0);
    const qint64 whole = tenths / 10;
    return (whole == 0 ? QString() : QString::number(whole)) + u'.' + QString::number(tenths % 10) +
           u'%';
}

Fit FitWidth(QSize natural, int nMaxWd) {
    Fit f;
    f.size = natural;
    if (nMaxWd < 1 || natural.width() <= nMaxWd || natural.width() <= 0)
        return f;
    const double ratio = double(nMaxWd) / natural.width();
    f.shrunk = true;
    f.message = QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、") + Percent(ratio) +
                QStringLiteral("縮小されます");
    f.size = QSize(nMaxWd, std::max(kMinSide, int(std::lround(ratio * natural.height()))));
    return f;
}

namespace {
// Moves [pos, pos + len) inside [lo, hi), shrinking it when it is longer.
void fitSpan(int& pos, int& len, int lo, int hi) {
    len = std::clamp(len, kMinSide, std::max(kMinSide, hi - lo));
    if (pos + len > hi)
        pos = hi - len;
    if (pos < lo)
        pos = lo;
}
} // namespace

QRect Place(QSize pic, QPoint mouse, const QRect& mainWindow, const QRect& workArea) {
    int w = std::max(kMinSide, pic.width()) + kExtraWidth;
    int h = std::max(kMinSide, pic.height()) + kExtraHeight;
    int x = mouse.x() - pic.width() / 2;
    int y = mouse.y() - pic.height() / 2;
    // Right and bottom edges as exclusive coordinates (x + width).
    if (mainWindow.isValid()) {
        x = std::min(x, mainWindow.x() + mainWindow.width() - w);
        y = std::min(y, mainWindow.y() + mainWindow.height() - h);
    }
    if (workArea.isValid()) {
        fitSpan(x, w, workArea.x(), workArea.x() + workArea.width());
        fitSpan(y, h, workArea.y(), workArea.y() + workArea.height());
    }
    return QRect(x, y, w, h);
}

Arrangement Arrange(QSize inner, QSize button) {
    Arrangement a;
    a.image = QRect(0, 0, std::max(kMinSide, inner.width() - kExtraWidth),
                    std::max(kMinSide, inner.height() - kExtraHeight));
    const int top = inner.height() - 60 - button.height();
    a.ok = QRect(QPoint(inner.width() - 2 * button.width() - 320, top), button);
    a.cancel = QRect(QPoint(inner.width() - button.width() - 260, top), button);
    return a;
}

} // namespace sbWmfLayout
