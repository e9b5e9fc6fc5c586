#pragma once
// Small Windows metafiles written record by record, for the picture tests:
// a red rectangle in the left half of a white-free, 200 x 100 unit picture.

#include <QByteArray>
#include <QtEndian>

#include <initializer_list>

namespace testmeta {

inline void put16(QByteArray& b, int v) {
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}
inline void put32(QByteArray& b, qint64 v) {
    char c[4];
    qToLittleEndian<quint32>(quint32(v), c);
    b.append(c, 4);
}

// WMF record: size in words, function, parameters (words).
inline void wmfRecord(QByteArray& b, int function, std::initializer_list<int> params) {
    put32(b, 3 + qint64(params.size()));
    put16(b, function);
    for (int p : params)
        put16(b, p);
}

// The placeable header of a picture of w x h units at 100 units per inch.
inline QByteArray placeableHeader(int w, int h) {
    QByteArray out;
    put32(out, 0x9AC6CDD7);
    put16(out, 0);
    put16(out, 0);
    put16(out, 0);
    put16(out, w);
    put16(out, h);
    put16(out, 100); // units per inch
    put32(out, 0);
    quint16 sum = 0; // checksum: XOR of the first ten words
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<quint16>(out.constData() + i);
    put16(out, sum);
    return out;
}

inline QByteArray wmfHeader(const QByteArray& body, int objects) {
    QByteArray head;
    put16(head, 1);      // memory metafile
    put16(head, 9);      // header words
    put16(head, 0x0300); // version
    put32(head, (18 + body.size()) / 2);
    put16(head, objects);
    put32(head, 8); // largest record (words)
    put16(head, 0);
    return head;
}

// A placeable WMF of 200 x 100 units: text "A&B<" written with a red pen
// at the top left and a red polyline in the shape of a wide V across the
// picture (a V drawn as lines: its inside stays empty). `withText` false
// leaves the polyline as the picture's last shape.
inline QByteArray WmfWithTextAndLines(bool withText = true) {
    QByteArray body;
    wmfRecord(body, 0x020B, {0, 0});
    wmfRecord(body, 0x020C, {100, 200});
    // CreatePenIndirect: solid, width 3, red
    wmfRecord(body, 0x02FA, {0, 3, 0, 0x00FF, 0});
    wmfRecord(body, 0x012D, {0});
    // Polyline (0x0325): 3 points (10,10) (100,90) (190,10)
    wmfRecord(body, 0x0325, {3, 10, 10, 100, 90, 190, 10});
    // TextOut (0x0521): length 4, "A&B<", y 20, x 5
    if (withText)
        wmfRecord(body, 0x0521, {4, 'A' | ('&' << 8), 'B' | ('<' << 8), 20, 5});
    wmfRecord(body, 0x0000, {});
    return placeableHeader(200, 100) + wmfHeader(body, 1) + body;
}

// A placeable WMF of 200 x 100 units at 100 units per inch (2 x 1 inch),
// a red brush and a rectangle over x 10..90, y 10..90. `placeable` false
// leaves out the placeable header (the window extent still says 200 x 100).
inline QByteArray Wmf(bool placeable = true) {
    QByteArray body;
    // SetWindowOrg (0x020B: y, x), SetWindowExt (0x020C: y, x)
    wmfRecord(body, 0x020B, {0, 0});
    wmfRecord(body, 0x020C, {100, 200});
    // CreateBrushIndirect (0x02FC): style 0 solid, colour 0x0000FF (red), hatch 0
    wmfRecord(body, 0x02FC, {0, 0x00FF, 0x0000, 0});
    wmfRecord(body, 0x012D, {0}); // SelectObject 0
    // CreatePenIndirect (0x02FA): style 5 null pen, width (0,0), colour 0
    wmfRecord(body, 0x02FA, {5, 0, 0, 0, 0});
    wmfRecord(body, 0x012D, {1});
    // Rectangle (0x041B): bottom, right, top, left
    wmfRecord(body, 0x041B, {90, 90, 10, 10});
    wmfRecord(body, 0x0000, {}); // end of file
    return (placeable ? placeableHeader(200, 100) : QByteArray()) + wmfHeader(body, 2) + body;
}

inline void emfRecord(QByteArray& b, int type, std::initializer_list<qint64> params) {
    put32(b, type);
    put32(b, 8 + 4 * qint64(params.size()));
    for (qint64 p : params)
        put32(b, p);
}

// An EMF of 200 x 100 device pixels framed as 2 x 1 inch (5080 x 2540 in
// 0.01 mm), a red solid brush and a rectangle over x 10..90, y 10..90.
inline QByteArray Emf() {
    QByteArray recs;
    emfRecord(recs, 9, {200, 100});           // SetWindowExtEx
    emfRecord(recs, 10, {0, 0});              // SetWindowOrgEx
    emfRecord(recs, 11, {200, 100});          // SetViewportExtEx
    emfRecord(recs, 39, {1, 0, 0x0000FF, 0}); // CreateBrushIndirect: index 1, solid, red
    emfRecord(recs, 37, {1});                 // SelectObject 1
    emfRecord(recs, 37, {0x80000008});        // SelectObject NULL_PEN
    emfRecord(recs, 43, {10, 10, 90, 90});    // Rectangle
    emfRecord(recs, 14, {0, 16, 20});         // EOF: no palette
    const int headerSize = 88;
    QByteArray h;
    put32(h, 1);
    put32(h, headerSize);
    for (qint64 v : {0, 0, 199, 99}) // bounds, device units
        put32(h, v);
    for (qint64 v : {0, 0, 5079, 2539}) // frame, 0.01 mm
        put32(h, v);
    put32(h, 0x464D4520);
    put32(h, 0x10000);
    put32(h, headerSize + recs.size());
    put32(h, 9); // records
    put16(h, 2); // handles
    put16(h, 0);
    put32(h, 0); // description
    put32(h, 0);
    put32(h, 0);   // palette entries
    put32(h, 200); // reference device, pixels
    put32(h, 100);
    put32(h, 51); // reference device, mm
    put32(h, 25);
    return h + recs;
}

} // namespace testmeta
