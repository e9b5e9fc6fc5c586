#include "VectorPicture.h"

#include "Pictures.h"

#include <QMimeData>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kMaxSide = 8192; // pixels; larger drawings are refused

bool looksLikeSvg(const QByteArray& bytes) {
    const QByteArray head = bytes.left(4096);
    return head.contains("<svg");
}
} // namespace

std::optional<VectorPicture> VectorPicture::FromBytes(const QByteArray& bytes) {
    VectorPicture p;
    p.bytes_ = bytes;
    if (pictures::IsMetafile(pictures::TypeOf(bytes))) {
        p.twips_ = pictures::MetafileSize(bytes);
        // A header that reads while the records do not would give an empty
        // window and no picture.
        if (!p.twips_.isEmpty() && pictures::Render(bytes, QSize(16, 16)).isNull())
            return std::nullopt;
    } else if (looksLikeSvg(bytes)) {
        QSvgRenderer r(bytes);
        if (!r.isValid())
            return std::nullopt;
        p.svg_ = true;
        p.twips_ = r.defaultSize() * kTwipsPerPixel;
    }
    if (p.twips_.width() <= 0 || p.twips_.height() <= 0)
        return std::nullopt;
    return p;
}

std::optional<VectorPicture> VectorPicture::FromMime(const QMimeData* md) {
    if (!md)
        return std::nullopt;
    static const QStringList kTypes = {QStringLiteral("image/emf"), QStringLiteral("image/x-emf"),
                                       QStringLiteral("image/wmf"), QStringLiteral("image/x-wmf"),
                                       QStringLiteral("image/svg+xml")};
    for (const QString& t : kTypes)
        if (md->hasFormat(t))
            if (auto p = FromBytes(md->data(t)))
                return p;
    return std::nullopt;
}

QImage VectorPicture::Draw(QSize pixels) const {
    if (pixels.width() <= 0 || pixels.height() <= 0 || pixels.width() > kMaxSide ||
        pixels.height() > kMaxSide)
        return {};
    if (!svg_)
        return pictures::Render(bytes_, pixels);
    QImage img(pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QSvgRenderer r(bytes_);
    QPainter painter(&img);
    r.setAspectRatioMode(Qt::IgnoreAspectRatio);
    r.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return img;
}
