#pragma once
// Pictures of Word 97-2003 files: the PICF record in the Data stream and the
// drawing (OfficeArt) records around the picture's bytes.

#include "Budget.h"
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

namespace msdoc {

// Floating pictures of the main text: shapes anchored at a character, with
// their BLIPs stored in the WordDocument stream.
class DrawingWriter {
public:
    // Registers a picture anchored at `cp`; false when its type cannot be stored.
    bool add(const model::Picture& picture, int cp);
    bool empty() const { return shapes.empty(); }
    // BLIP records to append to the WordDocument stream at `delayOffset`.
    QByteArray blips(quint32 delayOffset);
    // PlcSpaMom (anchors and positions), with `storyEnd` closing the plc.
    QByteArray plcSpa(int storyEnd) const;
    // OfficeArtContent for fcDggInfo.
    QByteArray content() const;

private:
    struct Shape {
        model::Picture picture;
        int cp;
        quint32 spid;
        QByteArray blip;
        quint32 foDelay = 0;
        int blipType = 0;
    };
    std::vector<Shape> shapes;
};

struct FloatingShape {
    int cp = 0;
    quint32 spid = 0;
    int left = 0, top = 0, right = 0, bottom = 0, flags = 0;
};

// Reads the pictures of the main text's shapes: spid -> picture bytes and type.
struct DrawingPictures {
    std::vector<std::pair<quint32, model::Picture>> bySpid;
};
// Every picture and shape taken counts against `budget`.
DrawingPictures readDrawing(const QByteArray& dggInfo, const QByteArray& delay, Budget& budget);

} // namespace msdoc
