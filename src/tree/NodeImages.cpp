#include "NodeImages.h"

#include "TreeKeys.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace NodeImages {

namespace {

// Drawn on a 16 x 16 grid and scaled, so the icon stays sharp at 16 and 32
// pixels. Pages are blue, links green (with a shortcut arrow), tags orange.
const QColor kPageInk(0x2f, 0x6f, 0xb5);
const QColor kLinkInk(0x2e, 0x8b, 0x57);
const QColor kTagInk(0xd9, 0x82, 0x2b);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kLine(0x9a, 0xa4, 0xae);

void Sheet(QPainter& p, qreal x, qreal y, const QColor& ink) {
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + 7, y);
    path.lineTo(x + 10, y + 3);
    path.lineTo(x + 10, y + 13);
    path.lineTo(x, y + 13);
    path.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(x + 7, y), QPointF(x + 7, y + 3));
    p.drawLine(QPointF(x + 7, y + 3), QPointF(x + 10, y + 3));
    p.setPen(QPen(kLine, 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(x + 2, y + 6 + 2.5 * i), QPointF(x + 8, y + 6 + 2.5 * i));
}

// A closed book: the node has children that are not shown.
void Book(QPainter& p, const QColor& ink) {
    p.setPen(QPen(ink.darker(140), 1));
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(3.5, 1.5, 10, 13), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(11.5, 2.5, 2, 11)); // the page edges
    p.setPen(QPen(kPaper, 1));
    p.drawLine(QPointF(6, 5.5), QPointF(10, 5.5));
    p.drawLine(QPointF(6, 7.5), QPointF(9, 7.5));
}

// An open book: the node's children are shown.
void OpenBook(QPainter& p, const QColor& ink) {
    p.setPen(QPen(ink, 1));
    p.setBrush(kPaper);
    QPainterPath left;
    left.moveTo(8, 4);
    left.cubicTo(6, 2.5, 3, 2.5, 0.5, 3.5);
    left.lineTo(0.5, 13.5);
    left.cubicTo(3, 12.5, 6, 12.5, 8, 14);
    left.closeSubpath();
    p.drawPath(left);
    p.drawPath(QTransform(-1, 0, 0, 1, 16, 0).map(left));
    p.setPen(QPen(kLine, 1));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 6 + 2.5 * i;
        p.drawLine(QPointF(2.5, y), QPointF(6, y));
        p.drawLine(QPointF(10, y), QPointF(13.5, y));
    }
}

// A sheet with a calendar band: a code page, whose pages are filed by date.
void Calendar(QPainter& p, const QColor& ink) {
    p.setPen(QPen(ink, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    p.setBrush(QColor(0xc0, 0x30, 0x30));
    p.drawRect(QRectF(1.5, 2.5, 13, 3));
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(5, 1), QPointF(5, 4));
    p.drawLine(QPointF(11, 1), QPointF(11, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(kLine);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            p.drawRect(QRectF(3 + 2.8 * c, 7 + 2.5 * r, 1.6, 1.4));
}

// The shortcut arrow of a link, over the lower left corner.
void LinkBadge(QPainter& p) {
    p.setPen(QPen(kLinkInk.darker(130), 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(0.5, 8.5, 7, 7));
    QPainterPath arrow;
    arrow.moveTo(2, 14);
    arrow.cubicTo(2, 11.5, 3.5, 10.5, 6, 10.5);
    p.setPen(QPen(kLinkInk.darker(130), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.setBrush(kLinkInk.darker(130));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{4.5, 8.8}, {7.3, 10.5}, {4.5, 12.2}}));
}

// A tag label; filled when open (its page's children are shown).
void Tag(QPainter& p, bool bOpen) {
    QPainterPath path;
    path.moveTo(1.5, 8);
    path.lineTo(6, 3.5);
    path.lineTo(14.5, 3.5);
    path.lineTo(14.5, 12.5);
    path.lineTo(6, 12.5);
    path.closeSubpath();
    p.setPen(QPen(kTagInk.darker(130), 1));
    p.setBrush(bOpen ? kTagInk : QColor(0xfb, 0xe3, 0xc8));
    p.drawPath(path);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(5.5, 8), 1.3, 1.3);
    if (bOpen) {
        p.setPen(QPen(kPaper, 1));
        p.drawLine(QPointF(8.5, 6.5), QPointF(12.5, 6.5));
        p.drawLine(QPointF(8.5, 9.5), QPointF(12.5, 9.5));
    }
}

void Draw(QPainter& p, const QString& sKy) {
    const bool bLink = TreeKeys::IsLinkImg(sKy);
    const QColor ink = bLink ? kLinkInk : kPageInk;
    const QString sState = sKy.mid(2);
    if (sKy.startsWith(QLatin1String("tg"))) {
        Tag(p, sState == QLatin1String("opn"));
        return;
    }
    if (sState == QLatin1String("lef"))
        Sheet(p, 3.5, 1.5, ink);
    else if (sState == QLatin1String("cls"))
        Book(p, ink);
    else if (sState == QLatin1String("opn"))
        OpenBook(p, ink);
    else
        Calendar(p, ink);
    if (bLink)
        LinkBadge(p);
}

QPixmap Render(const QString& sKy, int nPx) {
    QPixmap pm(nPx, nPx);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(nPx / 16.0, nPx / 16.0);
    Draw(p, sKy);
    return pm;
}

} // namespace

QStringList Keys() {
    using namespace TreeKeys;
    return {kNdLef, kNdCls, kNdOpn, kNdCod, kLkLef, kLkCls, kLkOpn, kLkCod, kTgCls, kTgOpn};
}

QIcon Icon(const QString& sImgKy) {
    static QHash<QString, QIcon> cache;
    const auto it = cache.constFind(sImgKy);
    if (it != cache.constEnd())
        return *it;
    if (!Keys().contains(sImgKy))
        return {};
    QIcon icon;
    for (int nPx : {16, 24, 32})
        icon.addPixmap(Render(sImgKy, nPx));
    cache.insert(sImgKy, icon);
    return icon;
}

} // namespace NodeImages
