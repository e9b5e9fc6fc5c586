#pragma once
// Helpers for the compound file tests: little-endian field access on raw
// bytes, sector positions of a version 3 file, and reading every stream.

#include "CompoundFile.h"
#include "Corpus.h"

#include <QByteArray>
#include <QMap>
#include <QtEndian>

namespace cfbtest {

inline quint32 get32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
inline void set32(QByteArray& b, qsizetype at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}

// Byte offset of sector `id` in a file with 512-byte sectors.
inline qsizetype sectorAt(quint32 id) {
    return qsizetype(id + 1) * 512;
}

// Header fields used by the tests.
inline quint32 firstDirSector(const QByteArray& b) {
    return get32(b, 0x30);
}
inline quint32 firstMiniFatSector(const QByteArray& b) {
    return get32(b, 0x3C);
}
inline quint32 firstFatSector(const QByteArray& b) {
    return get32(b, 0x4C);
}
// Offset of FAT entry `id` (the first 128 entries live in the first FAT sector).
inline qsizetype fatEntryAt(const QByteArray& b, quint32 id) {
    return sectorAt(firstFatSector(b)) + 4 * qsizetype(id);
}
// Offset of directory entry `id` when the directory is one contiguous run.
inline qsizetype dirEntryAt(const QByteArray& b, quint32 id) {
    return sectorAt(firstDirSector(b)) + 128 * qsizetype(id);
}
// Id of the directory entry named `name`, scanning a contiguous directory.
inline int dirEntryId(const QByteArray& b, const QString& name, int maxEntries = 64) {
    for (int i = 0; i < maxEntries; ++i) {
        const qsizetype at = dirEntryAt(b, quint32(i));
        if (at + 128 > b.size())
            break;
        const int units = qFromLittleEndian<quint16>(b.constData() + at + 0x40) / 2;
        if (units > 0 && units <= 32 &&
            QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + at), units - 1) ==
                name)
            return i;
    }
    return -1;
}

struct Contents {
    QMap<QString, QByteArray> streams; // path -> bytes, for the streams that read
    QStringList errors;                // one per stream that did not
    int sizeMismatches = 0;            // streams read with a size other than declared
};

// Reads every stream the reader lists. Each stream either reads with exactly
// its declared size or gives a non-empty reason.
inline Contents readEverything(const cfb::Reader& reader) {
    Contents c;
    for (const QString& path : reader.streamPaths()) {
        QString error;
        const auto bytes = reader.stream(path, &error);
        if (bytes) {
            if (quint64(bytes->size()) != reader.streamSize(path).value_or(~0ull))
                ++c.sizeMismatches;
            c.streams.insert(path, *bytes);
        } else {
            c.errors.append(error.isEmpty() ? path + QStringLiteral(": no reason given") : error);
        }
    }
    return c;
}

// Every .doc file of the corpus, sorted; none when it is absent.
inline QStringList corpusDocs() {
    return Corpus::files(QStringLiteral("doc"), {QStringLiteral("*.doc")});
}

} // namespace cfbtest
