#pragma once
// Image bytes: what they are and how big, and the inline image format that
// shows them in the text.

#include <QByteArray>
#include <QString>

class QTextImageFormat;

namespace tximg {

struct Probe {
    bool ok = false; // Qt can decode the bytes
    int type =
        0; // model ImageType order: 0 unknown, 1 png, 2 jpeg, 3 bmp, 4 gif, 5 tiff, 6 emf, 7 wmf
    int widthTwips = 0;
    int heightTwips = 0;
};
Probe probe(const QByteArray& bytes);

// An inline image of natural size w x h twips shown at the given scales.
QTextImageFormat inlineFormat(const QString& name, int w, int h, int scaleX, int scaleY);

} // namespace tximg
