#pragma once
// Little-endian byte building and bounds-checked reading for the Word binary
// structures.

#include <QByteArray>
#include <QString>

namespace msdoc {

class ByteWriter {
public:
    QByteArray bytes;

    void u8(int v) { bytes.append(char(v & 0xFF)); }
    void u16(int v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(quint32 v) {
        u16(int(v & 0xFFFF));
        u16(int(v >> 16));
    }
    void raw(const QByteArray& b) { bytes.append(b); }
    void zeros(qsizetype n) { bytes.append(n, '\0'); }
    // Pads with zeros up to a multiple of `n`.
    void align(qsizetype n) {
        if (bytes.size() % n)
            zeros(n - bytes.size() % n);
    }
    // UTF-16LE characters without terminator.
    void utf16(const QString& s) {
        for (QChar c : s)
            u16(c.unicode());
    }
    qsizetype size() const { return bytes.size(); }
    void put16(qsizetype at, int v) {
        bytes[at] = char(v & 0xFF);
        bytes[at + 1] = char((v >> 8) & 0xFF);
    }
    void put32(qsizetype at, quint32 v) {
        put16(at, int(v & 0xFFFF));
        put16(at + 2, int(v >> 16));
    }
};

// Reads little-endian values; any read past the end yields 0 and marks the
// reader as failed, so hostile offsets never read outside the buffer.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& b) : d(b) {}
    bool has(qint64 pos, qint64 n) const { return pos >= 0 && n >= 0 && pos + n <= d.size(); }
    quint8 u8(qint64 pos) const { return has(pos, 1) ? quint8(d[pos]) : (fail(), 0); }
    quint16 u16(qint64 pos) const {
        return has(pos, 2) ? quint16(quint8(d[pos]) | (quint8(d[pos + 1]) << 8)) : (fail(), 0);
    }
    quint32 u32(qint64 pos) const {
        return has(pos, 4) ? quint32(u16(pos)) | (quint32(u16(pos + 2)) << 16) : (fail(), 0);
    }
    qint16 i16(qint64 pos) const { return qint16(u16(pos)); }
    qint32 i32(qint64 pos) const { return qint32(u32(pos)); }
    QByteArray mid(qint64 pos, qint64 n) const {
        return has(pos, n) ? d.mid(pos, n) : (fail(), QByteArray());
    }
    qint64 size() const { return d.size(); }
    bool failed() const { return bad; }
    const QByteArray& data() const { return d; }

private:
    void fail() const { bad = true; }
    QByteArray d; // shared, not copied
    mutable bool bad = false;
};

} // namespace msdoc
