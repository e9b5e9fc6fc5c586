// Reading a compound file. Every number in the file is checked before it is
// used: sector numbers against the sectors the file holds, chains against
// loops, sizes against the bytes the file holds, so a damaged or hostile file
// yields an error message, and memory use stays in proportion to the file.

#include "CompoundFile.h"

#include "CfbFormat.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <vector>

namespace cfb {

using namespace format;

namespace {

struct Entry {
    QString name;
    quint8 type = kUnused;
    quint32 start = kEndOfChain;
    quint64 size = 0;
    QByteArray clsid;
    std::vector<quint32> children; // indexes into ReaderData::entries, in directory order
    QHash<QString, quint32> byKey; // nameKey(name) -> index into ReaderData::entries
};

// Stream names may start with a control character ("\x05SummaryInformation");
// messages show such characters as \xNN.
QString printable(const QString& path) {
    QString out;
    for (QChar c : path) {
        if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

quint64 sectorsFor(quint64 bytes, quint32 sectorSize) {
    return bytes / sectorSize + (bytes % sectorSize ? 1 : 0);
}

// Follows a chain of sector numbers through `table`. Numbers must stay below
// `limit`. With `need`, stops after that many sectors (and fails if the chain
// ends first); without it, runs to the end-of-chain mark.
bool walkChain(const std::vector<quint32>& table, quint64 limit, quint32 start,
               std::optional<quint64> need, std::vector<quint32>& out, const QString& what,
               QString& error) {
    limit = std::min<quint64>(limit, table.size());
    std::vector<bool> seen(limit);
    out.reserve(std::min<quint64>(need.value_or(16), limit));
    quint32 cur = start;
    while (!need || out.size() < *need) {
        if (cur == kEndOfChain) {
            if (!need)
                return true;
            error = QStringLiteral("%1 ends after %2 of its %3 sectors")
                        .arg(what)
                        .arg(out.size())
                        .arg(*need);
            return false;
        }
        if (cur > kMaxRegSect) {
            error = QStringLiteral("%1 runs into a free or reserved sector").arg(what);
            return false;
        }
        if (cur >= limit) {
            error = QStringLiteral("%1 refers to sector %2, past the end of the file")
                        .arg(what)
                        .arg(cur);
            return false;
        }
        if (seen[cur]) {
            error = QStringLiteral("%1 loops back to sector %2").arg(what).arg(cur);
            return false;
        }
        seen[cur] = true;
        out.push_back(cur);
        cur = table[cur];
    }
    return true;
}

} // namespace

class ReaderData {
public:
    QByteArray file;
    int major = 3;
    int sectorShift = 9;
    quint32 sectorSize = 512;
    quint64 sectorCount = 0; // sectors the file holds; a short last one counts
    quint32 miniCutoff = kMiniStreamCutoff;
    std::vector<quint32> fat;
    std::vector<quint32> miniFat;
    QByteArray miniStream;
    QString miniError;          // why small streams cannot be read, when they cannot
    std::vector<Entry> entries; // reachable entries; [0] is the root storage

    bool load(QString& error);
    int find(const QString& path) const;
    std::optional<QByteArray> read(const Entry& e, const QString& path, QString& error) const;

private:
    // The bytes of one sector; shorter when the file ends inside it.
    QByteArrayView sector(quint32 id) const {
        const qsizetype offset = qsizetype(quint64(id) + 1) << sectorShift;
        return QByteArrayView(file).sliced(offset,
                                           std::min<qsizetype>(sectorSize, file.size() - offset));
    }
    QByteArray gather(const std::vector<quint32>& chain) const;
    bool readHeader(QString& error);
    bool readFat(QString& error);
    bool readDirectory(QString& error);
    void readMiniStream();
};

QByteArray ReaderData::gather(const std::vector<quint32>& chain) const {
    QByteArray out;
    out.reserve(qsizetype(chain.size()) * sectorSize);
    for (quint32 id : chain)
        out.append(sector(id));
    return out;
}

bool ReaderData::readHeader(QString& error) {
    if (file.size() < kHeaderSize) {
        error = QStringLiteral("the file is too short to be a compound file");
        return false;
    }
    const char* h = file.constData();
    if (memcmp(h, kSignature, sizeof kSignature) != 0) {
        error = QStringLiteral("the file is not a compound file (signature missing)");
        return false;
    }
    major = u16(h + hdr::kMajorVersion);
    sectorShift = u16(h + hdr::kSectorShift);
    if ((major != 3 && major != 4) || (sectorShift != 9 && sectorShift != 12)) {
        error = QStringLiteral("unsupported compound file version %1 (sector shift %2)")
                    .arg(major)
                    .arg(sectorShift);
        return false;
    }
    if (u16(h + hdr::kMiniSectorShift) != 6) {
        error = QStringLiteral("unsupported mini sector size");
        return false;
    }
    sectorSize = 1u << sectorShift;
    // The header occupies the first sector; sector 0 follows it.
    if (file.size() > qsizetype(sectorSize))
        sectorCount = sectorsFor(quint64(file.size()) - sectorSize, sectorSize);
    sectorCount = std::min<quint64>(sectorCount, quint64(kMaxRegSect) + 1);
    if (sectorCount == 0) {
        error = QStringLiteral("the file ends after its header");
        return false;
    }
    miniCutoff = u32(h + hdr::kMiniCutoff);
    return true;
}

bool ReaderData::readFat(QString& error) {
    const char* h = file.constData();
    const quint32 fatCount = u32(h + hdr::kFatSectorCount);
    if (fatCount == 0 || fatCount > sectorCount) {
        error = QStringLiteral("the header names %1 FAT sectors; the file holds %2 sectors")
                    .arg(fatCount)
                    .arg(sectorCount);
        return false;
    }
    std::vector<quint32> fatSectors;
    fatSectors.reserve(fatCount);
    auto take = [&](quint32 id) {
        if (id >= sectorCount) {
            error = QStringLiteral("FAT sector %1 lies past the end of the file").arg(id);
            return false;
        }
        fatSectors.push_back(id);
        return true;
    };
    for (int i = 0; i < kHeaderDifatEntries && fatSectors.size() < fatCount; ++i) {
        if (!take(u32(h + hdr::kDifat + 4 * i)))
            return false;
    }
    // Beyond 109 FAT sectors, DIFAT sectors list the rest; each one's last
    // entry names the next DIFAT sector.
    const quint32 perDifat = sectorSize / 4 - 1;
    std::vector<bool> seen(sectorCount);
    quint32 cur = u32(h + hdr::kFirstDifatSector);
    while (fatSectors.size() < fatCount) {
        if (cur >= sectorCount) {
            error = QStringLiteral("the DIFAT lists %1 of the %2 FAT sectors")
                        .arg(fatSectors.size())
                        .arg(fatCount);
            return false;
        }
        if (seen[cur]) {
            error = QStringLiteral("the DIFAT chain loops");
            return false;
        }
        seen[cur] = true;
        const QByteArrayView s = sector(cur);
        if (s.size() < qsizetype(sectorSize)) {
            error = QStringLiteral("the file ends inside a DIFAT sector");
            return false;
        }
        for (quint32 i = 0; i < perDifat && fatSectors.size() < fatCount; ++i) {
            const quint32 id = u32(s.data() + 4 * i);
            if (id != kFreeSect && !take(id))
                return false;
        }
        cur = u32(s.data() + 4 * perDifat);
    }
    const quint32 perSector = sectorSize / 4;
    fat.assign(size_t(fatCount) * perSector, kFreeSect);
    for (size_t i = 0; i < fatSectors.size(); ++i) {
        const QByteArrayView s = sector(fatSectors[i]);
        for (qsizetype j = 0; j + 4 <= s.size(); j += 4)
            fat[i * perSector + j / 4] = u32(s.data() + j);
    }
    return true;
}

bool ReaderData::readDirectory(QString& error) {
    std::vector<quint32> chain;
    if (!walkChain(fat, sectorCount, u32(file.constData() + hdr::kFirstDirSector), std::nullopt,
                   chain, QStringLiteral("the directory chain"), error))
        return false;
    const QByteArray dir = gather(chain);
    const quint32 count = quint32(dir.size() / kDirEntrySize);
    if (count == 0 || quint8(dir[dir::kType]) != kRoot) {
        error = QStringLiteral("the directory has no root entry");
        return false;
    }
    auto field = [&](quint32 id, int offset) {
        return dir.constData() + qsizetype(id) * kDirEntrySize + offset;
    };
    auto parse = [&](quint32 id) {
        Entry e;
        const int units = std::min<int>(u16(field(id, dir::kNameLength)) / 2, kMaxNameLength + 1);
        e.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(field(id, 0)), units);
        const qsizetype nul = e.name.indexOf(QChar(0));
        if (nul >= 0)
            e.name.truncate(nul);
        e.type = quint8(*field(id, dir::kType));
        e.start = u32(field(id, dir::kStart));
        e.size = u64(field(id, dir::kSize));
        // Version 3 sizes are 32 bits; older writers left junk in the high half.
        if (major == 3)
            e.size &= 0xFFFFFFFFu;
        e.clsid = QByteArray(field(id, dir::kClsid), 16);
        return e;
    };

    entries.push_back(parse(0));
    std::vector<bool> seen(count);
    seen[0] = true;
    // Storages still to list: (index into entries, directory id). Iterative,
    // so deep nesting cannot exhaust the call stack.
    std::vector<std::pair<quint32, quint32>> pending{{0, 0}};
    while (!pending.empty()) {
        const auto [parent, parentId] = pending.back();
        pending.pop_back();
        // In-order walk of the sibling tree gives the children in name order.
        std::vector<quint32> stack;
        quint32 cur = u32(field(parentId, dir::kChild));
        while (cur != kNoStream || !stack.empty()) {
            while (cur != kNoStream) {
                if (cur >= count) {
                    error = QStringLiteral("directory entry %1 does not exist").arg(cur);
                    return false;
                }
                if (seen[cur]) {
                    error = QStringLiteral("the directory tree loops at entry %1").arg(cur);
                    return false;
                }
                seen[cur] = true;
                stack.push_back(cur);
                cur = u32(field(cur, dir::kLeft));
            }
            const quint32 id = stack.back();
            stack.pop_back();
            cur = u32(field(id, dir::kRight));
            Entry e = parse(id);
            // Free or unknown entries in the tree are skipped, as are names
            // already present in this storage.
            if ((e.type != kStream && e.type != kStorage) || e.name.isEmpty())
                continue;
            const QString key = nameKey(e.name);
            if (entries[parent].byKey.contains(key))
                continue;
            const auto index = quint32(entries.size());
            entries[parent].byKey.insert(key, index);
            entries[parent].children.push_back(index);
            if (e.type == kStorage)
                pending.emplace_back(index, id);
            entries.push_back(std::move(e));
        }
    }
    return true;
}

void ReaderData::readMiniStream() {
    const Entry& root = entries[0];
    if (root.size > quint64(file.size())) {
        miniError = QStringLiteral("the mini stream is larger than the file");
        return;
    }
    std::vector<quint32> chain;
    if (!walkChain(fat, sectorCount, root.start, sectorsFor(root.size, sectorSize), chain,
                   QStringLiteral("the mini stream"), miniError))
        return;
    miniStream = gather(chain);
    if (quint64(miniStream.size()) < root.size) {
        miniError = QStringLiteral("the file ends inside the mini stream");
        miniStream.clear();
        return;
    }
    miniStream.truncate(qsizetype(root.size));

    chain.clear();
    if (!walkChain(fat, sectorCount, u32(file.constData() + hdr::kFirstMiniFatSector), std::nullopt,
                   chain, QStringLiteral("the mini FAT"), miniError)) {
        miniStream.clear();
        return;
    }
    const QByteArray table = gather(chain);
    miniFat.resize(table.size() / 4);
    for (size_t i = 0; i < miniFat.size(); ++i)
        miniFat[i] = u32(table.constData() + 4 * i);
}

bool ReaderData::load(QString& error) {
    if (!readHeader(error) || !readFat(error) || !readDirectory(error))
        return false;
    // A damaged mini stream only spoils the small streams: the error is kept
    // and given when one of them is read.
    readMiniStream();
    return true;
}

int ReaderData::find(const QString& path) const {
    if (path.isEmpty())
        return 0;
    quint32 cur = 0;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        if (entries[cur].type == kStream)
            return -1;
        const auto it = entries[cur].byKey.constFind(nameKey(part));
        if (it == entries[cur].byKey.cend())
            return -1;
        cur = it.value();
    }
    return int(cur);
}

std::optional<QByteArray> ReaderData::read(const Entry& e, const QString& path,
                                           QString& error) const {
    const QString what = QStringLiteral("stream \"%1\"").arg(printable(path));
    std::vector<quint32> chain;
    QByteArray bytes;
    if (e.size < miniCutoff) {
        if (!miniError.isEmpty()) {
            error = QStringLiteral("cannot read %1: %2").arg(what, miniError);
            return std::nullopt;
        }
        if (!walkChain(miniFat, sectorsFor(miniStream.size(), kMiniSectorSize), e.start,
                       sectorsFor(e.size, kMiniSectorSize), chain, what, error))
            return std::nullopt;
        bytes.reserve(qsizetype(e.size));
        for (quint32 id : chain) {
            const qsizetype offset = qsizetype(id) * kMiniSectorSize;
            bytes.append(QByteArrayView(miniStream)
                             .sliced(offset, std::min<qsizetype>(kMiniSectorSize,
                                                                 miniStream.size() - offset)));
        }
    } else {
        if (e.size > quint64(file.size())) {
            error = QStringLiteral("%1 claims %2 bytes, more than the file holds")
                        .arg(what)
                        .arg(e.size);
            return std::nullopt;
        }
        if (!walkChain(fat, sectorCount, e.start, sectorsFor(e.size, sectorSize), chain, what,
                       error))
            return std::nullopt;
        bytes = gather(chain);
    }
    if (quint64(bytes.size()) < e.size) {
        error = QStringLiteral("the file ends inside %1").arg(what);
        return std::nullopt;
    }
    bytes.truncate(qsizetype(e.size));
    return bytes;
}

std::optional<Reader> Reader::open(const QByteArray& file, QString* error) {
    auto data = std::make_shared<ReaderData>();
    data->file = file;
    QString why;
    if (!data->load(why)) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return Reader(std::move(data));
}

Reader::Reader(std::shared_ptr<const ReaderData> data) : d(std::move(data)) {}
Reader::Reader(const Reader&) = default;
Reader::Reader(Reader&&) noexcept = default;
Reader& Reader::operator=(const Reader&) = default;
Reader& Reader::operator=(Reader&&) noexcept = default;
Reader::~Reader() = default;

namespace {
QStringList childNames(const ReaderData& d, const QString& storagePath, quint8 type) {
    QStringList names;
    const int at = d.find(storagePath);
    if (at < 0 || d.entries[at].type == kStream)
        return names;
    for (quint32 child : d.entries[at].children) {
        if (d.entries[child].type == type)
            names.append(d.entries[child].name);
    }
    return names;
}
} // namespace

QStringList Reader::streamNames(const QString& storagePath) const {
    return childNames(*d, storagePath, kStream);
}

QStringList Reader::storageNames(const QString& storagePath) const {
    return childNames(*d, storagePath, kStorage);
}

QStringList Reader::streamPaths() const {
    QStringList paths;
    // (storage, its path); a stack, so deep nesting needs no recursion. Each
    // storage lists its own streams, then the contents of its storages.
    std::vector<std::pair<quint32, QString>> pending{{0, QString()}};
    while (!pending.empty()) {
        const auto [at, prefix] = pending.back();
        pending.pop_back();
        const auto& children = d->entries[at].children;
        const size_t firstStorage = pending.size();
        for (quint32 child : children) {
            const Entry& e = d->entries[child];
            const QString path = prefix.isEmpty() ? e.name : prefix + QLatin1Char('/') + e.name;
            if (e.type == kStream)
                paths.append(path);
            else
                pending.emplace_back(child, path);
        }
        std::reverse(pending.begin() + qsizetype(firstStorage), pending.end());
    }
    return paths;
}

bool Reader::hasStream(const QString& path) const {
    const int at = d->find(path);
    return at >= 0 && d->entries[at].type == kStream;
}

bool Reader::hasStorage(const QString& path) const {
    const int at = d->find(path);
    return at >= 0 && d->entries[at].type != kStream;
}

std::optional<quint64> Reader::streamSize(const QString& path) const {
    if (!hasStream(path))
        return std::nullopt;
    return d->entries[d->find(path)].size;
}

std::optional<QByteArray> Reader::stream(const QString& path, QString* error) const {
    QString why;
    std::optional<QByteArray> bytes;
    const int at = path.isEmpty() ? -1 : d->find(path);
    if (at < 0 || d->entries[at].type != kStream)
        why = QStringLiteral("the file has no stream \"%1\"").arg(printable(path));
    else
        bytes = d->read(d->entries[at], path, why);
    if (!bytes && error)
        *error = why;
    return bytes;
}

QByteArray Reader::classId(const QString& storagePath) const {
    const int at = d->find(storagePath);
    if (at < 0 || d->entries[at].type == kStream)
        return {};
    return d->entries[at].clsid;
}

int Reader::majorVersion() const {
    return d->major;
}

} // namespace cfb
