#pragma once
// Builds damaged and hostile Word 97-2003 files from a sound one written by
// our own writer: the streams are taken apart, a structure of the table
// stream is replaced (pieces, list overrides, piece properties), and the
// container is packed again. Used by the reader's tests and its benchmark.

#include "CompoundFile.h"
#include "Document.h"
#include "MsDoc.h"

#include <QByteArray>
#include <QtEndian>

#include <map>
#include <vector>

namespace hostile {

inline QByteArray le16(int v) {
    QByteArray b(2, '\0');
    qToLittleEndian(quint16(v), b.data());
    return b;
}

inline QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// One piece of text: `chars` characters from byte `fc` of WordDocument.
struct Piece {
    int chars = 0;
    quint32 fc = 0;
    bool compressed = true;
    int prm = 0; // (index of a piece property list << 1) | 1, or 0
};

// FIB entries (index into the fc/lcb pairs).
constexpr int kClx = 33;
constexpr int kPlfLst = 73;
constexpr int kPlfLfo = 74;

class Doc {
public:
    explicit Doc(const QByteArray& file) {
        const auto reader = cfb::Reader::open(file);
        if (!reader)
            return;
        for (const QString& path : reader->streamPaths())
            streams[path] = reader->stream(path).value_or(QByteArray());
    }
    explicit Doc(const model::Document& d) : Doc(msdoc::write(d)) {}

    QByteArray& word() { return streams[QStringLiteral("WordDocument")]; }
    QByteArray& table() { return streams[QStringLiteral("1Table")]; }
    QByteArray& data() { return streams[QStringLiteral("Data")]; }

    QByteArray bytes() const {
        cfb::Writer w;
        for (const auto& [path, bytes] : streams)
            w.addStream(path, bytes);
        return w.toBytes();
    }

    // Position in WordDocument of the fc/lcb pair `index`.
    qsizetype pairAt(int index) {
        const QByteArray& w = word();
        qsizetype pos = 32;
        pos += 2 + 2 * qFromLittleEndian<quint16>(w.constData() + pos);
        pos += 2 + 4 * qFromLittleEndian<quint16>(w.constData() + pos);
        return pos + 2 + 8 * index;
    }
    quint32 fc(int index) { return qFromLittleEndian<quint32>(word().constData() + pairAt(index)); }
    quint32 lcb(int index) {
        return qFromLittleEndian<quint32>(word().constData() + pairAt(index) + 4);
    }
    void setPair(int index, quint32 fc, quint32 lcb) {
        const qsizetype at = pairAt(index);
        qToLittleEndian(fc, word().data() + at);
        qToLittleEndian(lcb, word().data() + at + 4);
    }
    // Appends `bytes` to the table stream and points entry `index` at them.
    void putTable(int index, const QByteArray& bytes) {
        setPair(index, quint32(table().size()), quint32(bytes.size()));
        table() += bytes;
    }
    // Characters of the main text (FibRgLw97 ccpText); the other stories
    // are emptied so the pieces hold the main text only.
    void setMainText(int chars) {
        QByteArray& w = word();
        const qsizetype lw = 32 + 2 + 2 * qFromLittleEndian<quint16>(w.constData() + 32) + 2;
        qToLittleEndian(qint32(chars), w.data() + lw + 12);
        for (int i = 4; i <= 10; ++i)
            qToLittleEndian(qint32(0), w.data() + lw + 4 * i);
    }
    // The first piece of the written piece table (ours has no properties).
    Piece firstPiece() {
        const QByteArray clx = table().mid(fc(kClx), lcb(kClx));
        const auto cp = [&](int i) {
            return qFromLittleEndian<qint32>(clx.constData() + 5 + 4 * i);
        };
        const quint32 lcbPlc = qFromLittleEndian<quint32>(clx.constData() + 1);
        const int n = int((lcbPlc - 4) / 12);
        const quint32 fcValue = qFromLittleEndian<quint32>(clx.constData() + 5 + 4 * (n + 1) + 2);
        Piece p;
        p.chars = cp(1) - cp(0);
        p.compressed = (fcValue & 0x40000000) != 0;
        p.fc = p.compressed ? (fcValue & 0x3FFFFFFF) / 2 : fcValue;
        return p;
    }
    // Replaces the piece table (and the main text's length with its sum).
    void setPieces(const std::vector<Piece>& pieces, const std::vector<QByteArray>& prcs = {}) {
        QByteArray clx;
        for (const QByteArray& g : prcs)
            clx += '\x01' + le16(int(g.size())) + g;
        QByteArray plc;
        int cp = 0;
        plc += le32(0);
        for (const Piece& p : pieces)
            plc += le32(quint32(cp += p.chars));
        for (const Piece& p : pieces)
            plc += le16(0) + le32(p.compressed ? (p.fc * 2) | 0x40000000 : p.fc) + le16(p.prm);
        clx += '\x02' + le32(quint32(plc.size())) + plc;
        putTable(kClx, clx);
        setMainText(cp);
    }

    std::map<QString, QByteArray> streams;
};

// A document of one paragraph of `text`.
inline model::Document oneParagraph(const QString& text) {
    model::Document d;
    model::Paragraph p;
    p.addText(text, {});
    d.lastSection().blocks.push_back(model::Block::makeParagraph(p));
    return d;
}

// A document whose first paragraph holds one inline BMP picture of
// `width` x `height` pixels (24 bits), followed by text.
inline model::Document withBitmap(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    QByteArray dib = le32(40) + le32(quint32(width)) + le32(quint32(height)) + le16(1) + le16(24) +
                     le32(0) + le32(quint32(row * height)) + le32(2835) + le32(2835) + le32(0) +
                     le32(0);
    for (int i = 0; i < row * height; ++i)
        dib += char(i * 7);
    model::Picture pic;
    pic.data = "BM" + le32(quint32(14 + dib.size())) + le32(0) + le32(54) + dib;
    pic.type = model::ImageType::Bmp;
    pic.width = width * 15;
    pic.height = height * 15;
    model::Document d = oneParagraph(QStringLiteral("picture"));
    d.sections[0].blocks[0].paragraph.content.insert(
        d.sections[0].blocks[0].paragraph.content.begin(), model::Inline::makePicture(pic));
    return d;
}

// The worst file for the reader's memory that passes its text bound: as
// many one-character pieces as the WordDocument stream has bytes, each
// repeating the picture character of a large inline picture.
inline QByteArray repeatedPicture() {
    Doc d(withBitmap(300, 200));
    const Piece first = d.firstPiece();
    std::vector<Piece> pieces;
    const int copies = int(d.word().size()) - 16;
    for (int i = 0; i < copies; ++i)
        pieces.push_back({1, first.fc, first.compressed, 0});
    Piece rest = first;
    rest.chars -= 1;
    rest.fc += first.compressed ? 1 : 2;
    pieces.push_back(rest);
    d.setPieces(pieces);
    return d.bytes();
}

// A sound document followed by `bytes` characters `pattern` repeats (one
// byte each) appended to WordDocument and read as one more piece: paragraph
// marks, field begins and the like by the hundred thousand.
inline QByteArray flood(const QByteArray& pattern, int bytes) {
    Doc d(oneParagraph(QStringLiteral("flood")));
    const Piece first = d.firstPiece();
    Piece more{bytes, quint32(d.word().size()), true, 0};
    QByteArray& w = d.word();
    for (int i = 0; i < bytes; ++i)
        w += pattern[i % pattern.size()];
    d.setPieces({first, more});
    return d.bytes();
}

} // namespace hostile
