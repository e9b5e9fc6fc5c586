#include "TxRuler.h"
#include "TxEngine.h"
#include "Usr.h"

#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kTwipsPerCm = 567;
}

TxRuler::TxRuler(Qt::Orientation o, QWidget* parent) : QWidget(parent), orientation_(o) {
    setObjectName(o == Qt::Horizontal ? QStringLiteral("vRuler") : QStringLiteral("vRulerV"));
}

void TxRuler::attach(TxEngine* engine) {
    engine_ = engine;
    if (!engine)
        return;
    // Follow the text as it scrolls.
    QScrollBar* bar = orientation_ == Qt::Horizontal ? engine->horizontalScrollBar()
                                                     : engine->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

QSize TxRuler::sizeHint() const {
    const int t = kThickness / Usr::kTwipsPerPixel;
    return orientation_ == Qt::Horizontal ? QSize(200, t) : QSize(t, 200);
}

void TxRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!engine_)
        return;
    const bool horizontal = orientation_ == Qt::Horizontal;
    const double scale = engine_->ZoomFactor() / 100.0 / Usr::kTwipsPerPixel; // px per twip
    const int length = horizontal ? engine_->PageWidth() : engine_->PageHeight();
    const int before = horizontal ? engine_->MarginLeft() : engine_->MarginTop();
    const int after = horizontal ? engine_->MarginRight() : engine_->MarginBottom();
    const int scroll = horizontal ? engine_->horizontalScrollBar()->value()
                                  : engine_->verticalScrollBar()->value();
    const int thick = horizontal ? height() : width();
    auto at = [&](int twips) { return int(twips * scale) - scroll; };

    // The text area in white, the margins in the window colour.
    const int from = at(before), to = at(length - after);
    const QRect text =
        horizontal ? QRect(from, 2, to - from, thick - 4) : QRect(2, from, thick - 4, to - from);
    p.fillRect(text, palette().base());
    p.setPen(palette().text().color());
    QFont f = font();
    f.setPixelSize(std::max(6, thick / 2 - 1));
    p.setFont(f);
    for (int cm = 0, t = 0; t <= length; ++cm, t += kTwipsPerCm) {
        const int x = at(t);
        const int tick = cm % 5 == 0 ? thick / 2 : thick / 4;
        if (horizontal)
            p.drawLine(x, thick - tick, x, thick - 1);
        else
            p.drawLine(thick - tick, x, thick - 1, x);
        if (cm > 0 && cm % 2 == 0) {
            const QString n = QString::number(cm);
            if (horizontal)
                p.drawText(QPoint(x + 2, thick / 2), n);
            else
                p.drawText(QPoint(1, x - 2), n);
        }
    }
}
