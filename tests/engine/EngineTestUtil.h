#pragma once
// Shared helpers of the engine tests.

#include "TestEnv.h"
#include "TxEngine.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QString>

// PNG bytes of a w x h image of one colour.
inline QByteArray pngBytes(int w, int h, QColor color = Qt::red) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

// Engine text with its control characters spelled out, for readable failures:
// 10 -> "|", 11 -> "/", 12 -> "#", 9 -> "~", 1 -> "@".
inline QString shown(const QString& text) {
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case 10:
            out += u'|';
            break;
        case 11:
            out += u'/';
            break;
        case 12:
            out += u'#';
            break;
        case 9:
            out += u'~';
            break;
        case 1:
            out += u'@';
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The reverse of shown(), to write expected and input texts compactly.
inline QString ctl(const QString& s) {
    QString out;
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'|':
            out += QChar(10);
            break;
        case u'/':
            out += QChar(11);
            break;
        case u'#':
            out += QChar(12);
            break;
        case u'~':
            out += QChar(9);
            break;
        default:
            out += c;
        }
    }
    return out;
}
