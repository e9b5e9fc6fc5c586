#pragma once
// Layout constants of the compound file container and the little helpers the
// reader and the writer share (little-endian fields, directory name order).

#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace cfb::format {

inline constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Special sector numbers in the FAT, mini FAT and DIFAT.
inline constexpr quint32 kMaxRegSect = 0xFFFFFFFA;
inline constexpr quint32 kDifSect = 0xFFFFFFFC;
inline constexpr quint32 kFatSect = 0xFFFFFFFD;
inline constexpr quint32 kEndOfChain = 0xFFFFFFFE;
inline constexpr quint32 kFreeSect = 0xFFFFFFFF;
// "No entry" in the directory's sibling and child links.
inline constexpr quint32 kNoStream = 0xFFFFFFFF;

inline constexpr int kHeaderSize = 512;
inline constexpr int kHeaderDifatEntries = 109;
inline constexpr int kDirEntrySize = 128;
inline constexpr int kMiniSectorSize = 64;
inline constexpr quint32 kMiniStreamCutoff = 4096;
// A name holds at most 31 UTF-16 units plus its terminating null.
inline constexpr int kMaxNameLength = 31;

// Header field offsets.
namespace hdr {
inline constexpr int kMinorVersion = 0x18;
inline constexpr int kMajorVersion = 0x1A;
inline constexpr int kByteOrder = 0x1C;
inline constexpr int kSectorShift = 0x1E;
inline constexpr int kMiniSectorShift = 0x20;
inline constexpr int kDirSectorCount = 0x28;
inline constexpr int kFatSectorCount = 0x2C;
inline constexpr int kFirstDirSector = 0x30;
inline constexpr int kMiniCutoff = 0x38;
inline constexpr int kFirstMiniFatSector = 0x3C;
inline constexpr int kMiniFatSectorCount = 0x40;
inline constexpr int kFirstDifatSector = 0x44;
inline constexpr int kDifatSectorCount = 0x48;
inline constexpr int kDifat = 0x4C;
} // namespace hdr

// Directory entry field offsets.
namespace dir {
inline constexpr int kNameLength = 0x40;
inline constexpr int kType = 0x42;
inline constexpr int kColor = 0x43;
inline constexpr int kLeft = 0x44;
inline constexpr int kRight = 0x48;
inline constexpr int kChild = 0x4C;
inline constexpr int kClsid = 0x50;
inline constexpr int kStart = 0x74;
inline constexpr int kSize = 0x78;
} // namespace dir

enum EntryType : quint8 { kUnused = 0, kStorage = 1, kStream = 2, kRoot = 5 };
enum Color : quint8 { kRed = 0, kBlack = 1 };

inline quint16 u16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}
inline quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}
inline quint64 u64(const char* p) {
    return qFromLittleEndian<quint64>(p);
}
inline void put16(char* p, quint16 v) {
    qToLittleEndian(v, p);
}
inline void put32(char* p, quint32 v) {
    qToLittleEndian(v, p);
}
inline void put64(char* p, quint64 v) {
    qToLittleEndian(v, p);
}

// Key under which a name is looked up: names differing only in case are one.
inline QString nameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        c = c.toUpper();
    return key;
}

// The container orders siblings by name length first, then by the upper-case
// form of each UTF-16 unit.
inline int compareNames(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return QString::compare(nameKey(a), nameKey(b), Qt::CaseSensitive);
}

} // namespace cfb::format
