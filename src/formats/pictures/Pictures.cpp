#include "Pictures.h"

#include "Metafile.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr int kMaxSide = 4096;
constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr int kPlaceableSize = 22;
constexpr int kEmfHeaderMin = 88;

quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
qint16 s16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint16>(b.constData() + at);
}
quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 s32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

// The standard WMF header (after the placeable one, when present): type 1
// (memory) or 2 (disk), a header of 9 words, version 1.0 or 3.0.
bool wmfHeaderAt(const QByteArray& b, qsizetype at) {
    if (b.size() < at + 18)
        return false;
    const quint16 type = u16(b, at), words = u16(b, at + 2), version = u16(b, at + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0300 || version == 0x0100);
}

bool isPlaceable(const QByteArray& b) {
    return b.size() >= kPlaceableSize && u32(b, 0) == kPlaceableKey;
}

bool isEmf(const QByteArray& b) {
    if (b.size() < kEmfHeaderMin || u32(b, 0) != 1 || u32(b, 40) != kEmfSignature)
        return false;
    const quint32 headerSize = u32(b, 4);
    return headerSize >= kEmfHeaderMin && headerSize <= quint32(b.size());
}

// Pixels (96 dpi) of a size in twips, doubled for a sharper picture and
// kept within bounds.
QSize drawingPixels(QSize twips) {
    double w = twips.width() / 15.0 * 2, h = twips.height() / 15.0 * 2;
    const double over = std::max(w, h) / kMaxSide;
    if (over > 1) {
        w /= over;
        h /= over;
    }
    return {std::max(1, int(std::lround(w))), std::max(1, int(std::lround(h)))};
}

QImage renderSvg(const QByteArray& svg, QSize pixels) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage img(pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(pixels)));
    p.end();
    return img;
}

} // namespace

Type TypeOf(const QByteArray& b) {
    if (b.startsWith("\x89PNG"))
        return Png;
    if (b.startsWith("\xFF\xD8\xFF"))
        return Jpeg;
    if (b.startsWith("GIF8"))
        return Gif;
    if (b.startsWith("BM"))
        return Bmp;
    if (b.startsWith(QByteArray("II*\0", 4)) || b.startsWith(QByteArray("MM\0*", 4)))
        return Tiff;
    if (isEmf(b))
        return Emf;
    if ((isPlaceable(b) && wmfHeaderAt(b, kPlaceableSize)) || wmfHeaderAt(b, 0))
        return Wmf;
    return Unknown;
}

QSize MetafileSize(const QByteArray& b) {
    const Type t = TypeOf(b);
    if (t == Emf) {
        // rclFrame: the picture's frame in 0.01 mm, inclusive.
        const qint64 l = s32(b, 24), top = s32(b, 28), r = s32(b, 32), bottom = s32(b, 36);
        const qint64 w = (r - l) * 1440 / 2540, h = (bottom - top) * 1440 / 2540;
        if (w > 0 && h > 0 && w < (1 << 24) && h < (1 << 24))
            return {int(w), int(h)};
        // A frame left empty by its writer: the device bounds at 96 dpi.
        const qint64 pw = s32(b, 16) - s32(b, 8) + 1, ph = s32(b, 20) - s32(b, 12) + 1;
        if (pw > 0 && ph > 0 && pw < (1 << 20) && ph < (1 << 20))
            return {int(pw * 15), int(ph * 15)};
        return {};
    }
    if (t != Wmf)
        return {};
    if (isPlaceable(b)) {
        const int w = s16(b, 10) - s16(b, 6), h = s16(b, 12) - s16(b, 8);
        const int inch = u16(b, 14);
        if (inch > 0 && w != 0 && h != 0)
            return {int(std::abs(qint64(w)) * 1440 / inch), int(std::abs(qint64(h)) * 1440 / inch)};
    }
    QSizeF points;
    if (detail::WmfToSvg(b, nullptr, &points).isEmpty())
        return {};
    return {int(std::lround(points.width() * 20)), int(std::lround(points.height() * 20))};
}

QByteArray ToSvg(const QByteArray& bytes, QString* error) {
    switch (TypeOf(bytes)) {
    case Wmf:
        return detail::WmfToSvg(bytes, error);
    case Emf: {
        const QSize twips = MetafileSize(bytes);
        if (twips.isEmpty()) {
            if (error)
                *error = QStringLiteral("the EMF picture has no size");
            return {};
        }
        return detail::EmfToSvg(bytes, QSizeF(twips) / 15.0, error);
    }
    default:
        if (error)
            *error = QStringLiteral("not a metafile");
        return {};
    }
}

QImage Render(const QByteArray& bytes, QSize pixels) {
    const Type t = TypeOf(bytes);
    if (!IsMetafile(t))
        return {};
    const QSize twips = MetafileSize(bytes);
    if (twips.isEmpty())
        return {};
    if (pixels.isEmpty())
        pixels = drawingPixels(twips);
    if (pixels.width() > kMaxSide || pixels.height() > kMaxSide)
        pixels.scale(kMaxSide, kMaxSide, Qt::KeepAspectRatio);
    const QByteArray svg = t == Wmf ? detail::WmfToSvg(bytes, nullptr)
                                    : detail::EmfToSvg(bytes, QSizeF(pixels), nullptr);
    return svg.isEmpty() ? QImage() : renderSvg(svg, pixels);
}

std::optional<Stored> ForDocument(const QByteArray& bytes) {
    const Type t = TypeOf(bytes);
    if (t == Png || t == Jpeg || IsMetafile(t))
        return Stored{bytes, t};
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    QImageReader reader(&in);
    reader.setAutoTransform(true);
    const QImage img = reader.read();
    if (img.isNull())
        return std::nullopt;
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    if (!img.save(&out, "PNG"))
        return std::nullopt;
    return Stored{png, Png};
}

} // namespace pictures
