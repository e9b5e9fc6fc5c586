#pragma once
// Pictures of Word 97-2003 files: the PICF record in the Data stream and the
// drawing (OfficeArt) records around the picture's bytes.

#include "Document.h"

#include <QByteArray>

namespace msdoc {

// The PICF with an inline shape and its embedded BLIP, as stored in the
// Data stream for an inline picture; empty when the image type cannot be
// stored (GIF, unknown bytes).
QByteArray inlinePictureRecord(const model::Picture& picture);

// Reads the picture stored at `offset` of the Data stream. `delay` is the
// WordDocument stream, where BLIPs stored apart live.
bool readInlinePicture(const QByteArray& data, qint64 offset, const QByteArray& delay,
                       model::Picture& out);

// The image type from the file's first bytes.
model::ImageType sniffImageType(const QByteArray& bytes);

} // namespace msdoc
