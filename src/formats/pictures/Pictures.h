#pragma once
// Pictures as documents hold them: what the bytes are, the natural size of
// Windows metafiles (WMF, EMF), metafiles drawn into images (through SVG,
// libwmf for WMF and libemf2svg for EMF), and images a document cannot hold
// as they are turned into PNG. No widgets.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace pictures {

// In the order of model::ImageType.
enum Type { Unknown = 0, Png, Jpeg, Bmp, Gif, Tiff, Emf, Wmf };

// The type from the first bytes (not the file name).
Type TypeOf(const QByteArray& bytes);
inline bool IsMetafile(Type t) {
    return t == Emf || t == Wmf;
}

// Natural size of a metafile in twips, from its header (a WMF without the
// placeable header is measured by playing it). Empty when the bytes are no
// metafile or their header is damaged.
QSize MetafileSize(const QByteArray& bytes);

// The metafile as SVG; empty (and `error` set) when it cannot be converted.
QByteArray ToSvg(const QByteArray& bytes, QString* error = nullptr);

// The metafile drawn on a transparent image of `pixels` (empty: twice its
// natural size at 96 dpi, at most 4096 pixels a side). Null when the bytes
// cannot be drawn.
QImage Render(const QByteArray& bytes, QSize pixels = {});

// Bytes in a form every document format of the program holds: PNG, JPEG
// and metafiles as they are; BMP, GIF, TIFF and any other image Qt reads
// as PNG (the first frame of an animation). nullopt when unreadable.
struct Stored {
    QByteArray bytes;
    Type type = Unknown;
};
std::optional<Stored> ForDocument(const QByteArray& bytes);

} // namespace pictures
