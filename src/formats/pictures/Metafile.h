#pragma once
// The metafile libraries behind Pictures: each call converts one metafile
// held in memory to SVG text. Callers check the headers first.

#include <QByteArray>
#include <QSizeF>
#include <QString>

namespace pictures::detail {

// WMF (placeable or not) -> SVG through libwmf; `size` gets the picture's
// size in points (1/72 inch) when given.
QByteArray WmfToSvg(const QByteArray& bytes, QString* error, QSizeF* size = nullptr);
// EMF -> SVG through libemf2svg, drawn at `pixels` (width, height).
QByteArray EmfToSvg(const QByteArray& bytes, QSizeF pixels, QString* error);

} // namespace pictures::detail
