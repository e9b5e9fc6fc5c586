// Writing a version 3 compound file (512-byte sectors). The whole file is laid
// out in one pass: FAT sectors first, then DIFAT sectors, the directory, the
// mini FAT, the mini stream and the large streams, each chain contiguous.

#include "CompoundFile.h"

#include "CfbFormat.h"

#include <QHash>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace cfb {

using namespace format;

struct Writer::Node {
    QString name;
    bool storage = false;
    QByteArray data;
    QByteArray clsid = QByteArray(16, '\0');
    std::vector<std::unique_ptr<Node>> children;
    QHash<QString, Node*> byKey; // nameKey(name) -> child

    Node* child(const QString& childName) const { return byKey.value(nameKey(childName)); }
    Node* add(std::unique_ptr<Node> node) {
        byKey.insert(nameKey(node->name), node.get());
        children.push_back(std::move(node));
        return children.back().get();
    }
};

namespace {

constexpr quint32 kSectorSize = 512;
constexpr int kSectorShift = 9;
constexpr quint32 kIdsPerSector = kSectorSize / 4;
constexpr quint32 kIdsPerDifat = kIdsPerSector - 1;
// Version 3 stream sizes are 32-bit and kept below 2 GB.
constexpr qsizetype kMaxStreamSize = 0x7FFFFFFF;

bool validName(const QString& name) {
    static const QString forbidden = QStringLiteral("/\\:!");
    return !name.isEmpty() && name.size() <= kMaxNameLength &&
           std::none_of(name.cbegin(), name.cend(), [](QChar c) { return forbidden.contains(c); });
}

quint32 sectorsFor(quint64 bytes, quint32 unit) {
    return quint32(bytes / unit + (bytes % unit ? 1 : 0));
}

// One directory entry as written.
struct Flat {
    const Writer::Node* node = nullptr; // null for the padding entries
    quint32 left = kNoStream;
    quint32 right = kNoStream;
    quint32 child = kNoStream;
    quint8 color = kBlack;
    quint32 start = kEndOfChain;
    quint64 size = 0;
};

// Links entries [lo, hi) of `flat` (already in name order) into a balanced
// tree and returns its root. On a tree whose last level is not full, the
// nodes of that level are red and all others black: every path from the root
// then passes the same number of black nodes and no red node has a red child,
// which makes it a valid red-black tree.
quint32 linkSiblings(std::vector<Flat>& flat, quint32 lo, quint32 hi, int depth, int redDepth) {
    if (lo >= hi)
        return kNoStream;
    const quint32 mid = lo + (hi - lo) / 2;
    flat[mid].left = linkSiblings(flat, lo, mid, depth + 1, redDepth);
    flat[mid].right = linkSiblings(flat, mid + 1, hi, depth + 1, redDepth);
    flat[mid].color = depth == redDepth ? kRed : kBlack;
    return mid;
}

quint32 linkSiblings(std::vector<Flat>& flat, quint32 lo, quint32 hi) {
    const quint32 n = hi - lo;
    const int redDepth = std::has_single_bit(n + 1) ? -1 : int(std::bit_width(n)) - 1;
    return linkSiblings(flat, lo, hi, 0, redDepth);
}

// Directory entries in the order they are written: the root, then the
// children of each storage in name order, breadth first.
std::vector<Flat> flatten(const Writer::Node& root) {
    std::vector<Flat> flat{Flat{&root}};
    for (size_t i = 0; i < flat.size(); ++i) {
        const Writer::Node* node = flat[i].node;
        if (!node->storage || node->children.empty())
            continue;
        std::vector<const Writer::Node*> kids;
        for (const auto& c : node->children)
            kids.push_back(c.get());
        std::sort(kids.begin(), kids.end(),
                  [](const auto* a, const auto* b) { return compareNames(a->name, b->name) < 0; });
        const auto first = quint32(flat.size());
        for (const Writer::Node* k : kids)
            flat.push_back(Flat{k});
        flat[i].child = linkSiblings(flat, first, quint32(flat.size()));
    }
    return flat;
}

void writeEntry(char* p, const Flat& e) {
    put32(p + dir::kLeft, e.left);
    put32(p + dir::kRight, e.right);
    put32(p + dir::kChild, e.child);
    if (!e.node)
        return; // an unused entry: all zeros but the links
    const bool isRoot = e.node->name.isEmpty();
    const QString name = isRoot ? QStringLiteral("Root Entry") : e.node->name;
    for (qsizetype i = 0; i < name.size(); ++i)
        put16(p + 2 * i, name.at(i).unicode());
    put16(p + dir::kNameLength, quint16((name.size() + 1) * 2));
    p[dir::kType] = char(isRoot ? kRoot : e.node->storage ? kStorage : kStream);
    p[dir::kColor] = char(e.color);
    if (e.node->storage)
        memcpy(p + dir::kClsid, e.node->clsid.constData(), 16);
    if (isRoot || !e.node->storage) {
        put32(p + dir::kStart, e.start);
        put64(p + dir::kSize, e.size);
    }
}

} // namespace

Writer::Writer() : root(std::make_unique<Node>()) {
    root->storage = true;
}
Writer::~Writer() = default;
Writer::Writer(Writer&&) noexcept = default;
Writer& Writer::operator=(Writer&&) noexcept = default;

Writer::Node* Writer::find(const QString& path, bool create, bool asStorage) {
    if (path.isEmpty())
        return asStorage ? root.get() : nullptr;
    const QStringList parts = path.split(QLatin1Char('/'));
    if (!std::all_of(parts.cbegin(), parts.cend(), validName))
        return nullptr;
    Node* cur = root.get();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const bool wantStorage = !last || asStorage;
        Node* next = cur->child(parts[i]);
        if (!next) {
            if (!create)
                return nullptr;
            auto node = std::make_unique<Node>();
            node->name = parts[i];
            node->storage = wantStorage;
            next = cur->add(std::move(node));
        }
        if (next->storage != wantStorage)
            return nullptr;
        cur = next;
    }
    return cur;
}

bool Writer::addStream(const QString& path, const QByteArray& data) {
    if (data.size() > kMaxStreamSize)
        return false;
    Node* node = find(path, true, false);
    if (!node)
        return false;
    node->data = data;
    return true;
}

bool Writer::addStorage(const QString& path) {
    return !path.isEmpty() && find(path, true, true);
}

bool Writer::setClassId(const QString& storagePath, const QByteArray& clsid) {
    Node* node = clsid.size() == 16 ? find(storagePath, true, true) : nullptr;
    if (node)
        node->clsid = clsid;
    return node;
}

QByteArray Writer::toBytes() const {
    std::vector<Flat> flat = flatten(*root);
    const quint32 dirEntriesPerSector = kSectorSize / kDirEntrySize;
    const quint32 dirSectors = sectorsFor(flat.size(), dirEntriesPerSector);
    flat.resize(size_t(dirSectors) * dirEntriesPerSector);

    // Small streams go to the mini stream, 64 bytes a mini sector.
    std::vector<quint32> miniFat;
    std::vector<Flat*> large;
    for (Flat& e : flat) {
        if (!e.node || e.node->storage)
            continue;
        e.size = quint64(e.node->data.size());
        if (e.size >= kMiniStreamCutoff) {
            large.push_back(&e);
            continue;
        }
        const quint32 count = sectorsFor(e.size, kMiniSectorSize);
        if (count == 0)
            continue;
        e.start = quint32(miniFat.size());
        for (quint32 i = 1; i < count; ++i)
            miniFat.push_back(e.start + i);
        miniFat.push_back(kEndOfChain);
    }
    const auto miniBytes = quint64(miniFat.size()) * kMiniSectorSize;
    const quint32 miniFatSectors = sectorsFor(miniFat.size(), kIdsPerSector);
    const quint32 miniStreamSectors = sectorsFor(miniBytes, kSectorSize);
    quint64 data = quint64(dirSectors) + miniFatSectors + miniStreamSectors;
    for (const Flat* e : large)
        data += sectorsFor(e->size, kSectorSize);

    // The FAT covers every sector, its own and the DIFAT's included.
    quint32 fatSectors = 0;
    quint32 difatSectors = 0;
    for (;;) {
        const quint32 fat = sectorsFor(data + fatSectors + difatSectors, kIdsPerSector);
        const quint32 difat = fat > quint32(kHeaderDifatEntries)
                                  ? sectorsFor(fat - kHeaderDifatEntries, kIdsPerDifat)
                                  : 0;
        if (fat == fatSectors && difat == difatSectors)
            break;
        fatSectors = fat;
        difatSectors = difat;
    }
    const quint64 total = data + fatSectors + difatSectors;

    std::vector<quint32> fat(size_t(fatSectors) * kIdsPerSector, kFreeSect);
    quint32 next = 0;
    auto reserve = [&](quint32 count, quint32 mark) {
        const quint32 start = next;
        for (quint32 i = 0; i < count; ++i)
            fat[start + i] = mark;
        next += count;
        return start;
    };
    auto chain = [&](quint32 count) {
        if (count == 0)
            return kEndOfChain;
        const quint32 start = next;
        for (quint32 i = 0; i + 1 < count; ++i)
            fat[start + i] = start + i + 1;
        fat[start + count - 1] = kEndOfChain;
        next += count;
        return start;
    };
    const quint32 fatStart = reserve(fatSectors, kFatSect);
    const quint32 difatStart = reserve(difatSectors, kDifSect);
    const quint32 dirStart = chain(dirSectors);
    const quint32 miniFatStart = chain(miniFatSectors);
    flat[0].start = chain(miniStreamSectors);
    flat[0].size = miniBytes;
    for (Flat* e : large)
        e->start = chain(sectorsFor(e->size, kSectorSize));

    QByteArray out(qsizetype(kHeaderSize + total * kSectorSize), '\0');
    char* base = out.data();
    auto at = [&](quint32 sector) { return base + kHeaderSize + qsizetype(sector) * kSectorSize; };

    // Header.
    memcpy(base, kSignature, sizeof kSignature);
    put16(base + hdr::kMinorVersion, 0x003E);
    put16(base + hdr::kMajorVersion, 3);
    put16(base + hdr::kByteOrder, 0xFFFE);
    put16(base + hdr::kSectorShift, kSectorShift);
    put16(base + hdr::kMiniSectorShift, 6);
    put32(base + hdr::kFatSectorCount, fatSectors);
    put32(base + hdr::kFirstDirSector, dirStart);
    put32(base + hdr::kMiniCutoff, kMiniStreamCutoff);
    put32(base + hdr::kFirstMiniFatSector, miniFatStart);
    put32(base + hdr::kMiniFatSectorCount, miniFatSectors);
    put32(base + hdr::kFirstDifatSector, difatSectors ? difatStart : kEndOfChain);
    put32(base + hdr::kDifatSectorCount, difatSectors);

    // DIFAT: the first 109 FAT sectors in the header, the rest in DIFAT sectors.
    for (quint32 i = 0; i < quint32(kHeaderDifatEntries); ++i)
        put32(base + hdr::kDifat + 4 * i, i < fatSectors ? fatStart + i : kFreeSect);
    for (quint32 d = 0; d < difatSectors; ++d) {
        char* s = at(difatStart + d);
        for (quint32 i = 0; i < kIdsPerDifat; ++i) {
            const quint32 index = kHeaderDifatEntries + d * kIdsPerDifat + i;
            put32(s + 4 * i, index < fatSectors ? fatStart + index : kFreeSect);
        }
        put32(s + 4 * kIdsPerDifat, d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
    }
    for (size_t i = 0; i < fat.size(); ++i)
        put32(at(fatStart) + 4 * i, fat[i]);

    for (size_t i = 0; i < flat.size(); ++i)
        writeEntry(at(dirStart) + i * kDirEntrySize, flat[i]);

    if (miniFatSectors) {
        char* p = at(miniFatStart);
        for (size_t i = 0; i < miniFatSectors * size_t(kIdsPerSector); ++i)
            put32(p + 4 * i, i < miniFat.size() ? miniFat[i] : kFreeSect);
    }
    for (const Flat& e : flat) {
        if (!e.node || e.node->storage || e.size == 0)
            continue;
        char* dest = e.size >= kMiniStreamCutoff
                         ? at(e.start)
                         : at(flat[0].start) + qsizetype(e.start) * kMiniSectorSize;
        memcpy(dest, e.node->data.constData(), e.size);
    }
    return out;
}

} // namespace cfb
