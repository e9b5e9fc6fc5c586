#include "TxImages.h"

#include "Pictures.h"
#include "TxProps.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextImageFormat>

namespace tximg {

Probe probe(const QByteArray& bytes) {
    Probe p;
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    const QByteArray fmt = reader.format().toLower();
    if (fmt == "png")
        p.type = 1;
    else if (fmt == "jpeg" || fmt == "jpg")
        p.type = 2;
    else if (fmt == "bmp")
        p.type = 3;
    else if (fmt == "gif")
        p.type = 4;
    else if (fmt == "tif" || fmt == "tiff")
        p.type = 5;
    const QImage img = reader.read();
    if (img.isNull()) {
        // Metafiles: their size from their header, drawn by the picture library.
        const pictures::Type t = pictures::TypeOf(bytes);
        const QSize twips = pictures::MetafileSize(bytes);
        if (pictures::IsMetafile(t) && !twips.isEmpty() && !pictures::Render(bytes).isNull()) {
            p = {true, int(t), twips.width(), twips.height()};
        }
        return p;
    }
    p.ok = true;
    // Natural size from the image's own resolution (96 dpi when it has none).
    const double dpiX = img.dotsPerMeterX() > 0 ? img.dotsPerMeterX() * 0.0254 : 96.0;
    const double dpiY = img.dotsPerMeterY() > 0 ? img.dotsPerMeterY() * 0.0254 : 96.0;
    p.widthTwips = qRound(img.width() * 1440.0 / dpiX);
    p.heightTwips = qRound(img.height() * 1440.0 / dpiY);
    return p;
}

QTextImageFormat inlineFormat(const QString& name, int w, int h, int scaleX, int scaleY) {
    QTextImageFormat f;
    f.setName(name);
    scaleX = scaleX > 0 ? scaleX : 100;
    scaleY = scaleY > 0 ? scaleY : 100;
    f.setProperty(txp::ImageNaturalW, w);
    f.setProperty(txp::ImageNaturalH, h);
    f.setProperty(txp::ImageScaleX, scaleX);
    f.setProperty(txp::ImageScaleY, scaleY);
    f.setWidth(txp::px(int((qint64(w) * scaleX + 50) / 100)));
    f.setHeight(txp::px(int((qint64(h) * scaleY + 50) / 100)));
    return f;
}

} // namespace tximg
