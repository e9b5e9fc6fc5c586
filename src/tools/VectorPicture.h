#pragma once
// A vector picture to be turned into a bitmap: SVG, or a Windows metafile
// (WMF, EMF) drawn through the program's metafile renderer. Knows its
// natural size and draws itself at any size.

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <optional>

class QMimeData;

class VectorPicture {
public:
    // nullopt when the bytes are neither SVG nor a metafile that can be
    // measured and drawn.
    static std::optional<VectorPicture> FromBytes(const QByteArray& bytes);
    // The clipboard's metafile or SVG picture, if it holds one.
    static std::optional<VectorPicture> FromMime(const QMimeData* md);

    // Natural size in twips.
    QSize Twips() const { return twips_; }
    // The picture stretched to `pixels` on a transparent image; null when
    // it cannot be drawn.
    QImage Draw(QSize pixels) const;

private:
    QByteArray bytes_;
    bool svg_ = false;
    QSize twips_;
};
