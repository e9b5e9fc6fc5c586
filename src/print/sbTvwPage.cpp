#include "sbTvwPage.h"

#include "sbTvw.h"

#include <QPainter>

sbTvwPage::sbTvwPage(sbTvw* view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void sbTvwPage::invalidate() {
    cache_ = QImage();
    update();
}

const QImage& sbTvwPage::image() {
    const qreal dpr = devicePixelRatioF();
    const QSize px = (QSizeF(size()) * dpr).toSize();
    if (cache_.isNull() || cache_.size() != px || cachedPage_ != view_->iCur) {
        cache_ = QImage(px.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        cache_.setDevicePixelRatio(dpr);
        cache_.fill(Qt::white);
        QPainter p(&cache_);
        view_->paintPageOn(p, QRect(QPoint(0, 0), size()));
        cachedPage_ = view_->iCur;
    }
    return cache_;
}

void sbTvwPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image());
}
