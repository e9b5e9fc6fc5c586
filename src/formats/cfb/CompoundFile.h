#pragma once
// Compound File Binary container: a small file system inside one file, used
// by Word 97-2003 documents (streams "WordDocument", "1Table", "ObjectPool/...").
//
// Paths name entries from the root storage with "/" between levels, e.g.
// "WordDocument" or "ObjectPool/_1234/\x01Ole". Names compare without regard
// to case, as the container does.
//
// The reader distrusts every field of the file: a chain that loops, a sector
// past the end, a size larger than the file or a directory that loops gives a
// clear error rather than a crash, a hang or an oversized allocation.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace cfb {

class ReaderData;

class Reader {
public:
    // Parses the header, FAT, mini FAT and directory. Returns nothing and sets
    // *error (when given) to the reason when the file is not a usable compound
    // file.
    static std::optional<Reader> open(const QByteArray& file, QString* error = nullptr);

    Reader(const Reader&);
    Reader(Reader&&) noexcept;
    Reader& operator=(const Reader&);
    Reader& operator=(Reader&&) noexcept;
    ~Reader();

    // Names of the streams directly inside the storage at storagePath (the
    // root when empty), in directory order. Empty when there is no such storage.
    QStringList streamNames(const QString& storagePath = {}) const;
    // Names of the storages directly inside the storage at storagePath.
    QStringList storageNames(const QString& storagePath = {}) const;
    // Paths of every stream in the file, storages depth first.
    QStringList streamPaths() const;
    bool hasStream(const QString& path) const;
    bool hasStorage(const QString& path) const;
    // Declared size of a stream, or nothing when there is no such stream.
    std::optional<quint64> streamSize(const QString& path) const;
    // The stream's bytes; nothing with *error set when the stream is missing
    // or its sector chain is damaged.
    std::optional<QByteArray> stream(const QString& path, QString* error = nullptr) const;

    // Class id (16 bytes) of the storage at storagePath (the root when empty);
    // empty when there is no such storage.
    QByteArray classId(const QString& storagePath = {}) const;

    // Major version of the file (3: 512-byte sectors, 4: 4096-byte sectors).
    int majorVersion() const;

private:
    explicit Reader(std::shared_ptr<const ReaderData> data);
    std::shared_ptr<const ReaderData> d;
};

// Builds a version 3 compound file (512-byte sectors). Streams smaller than
// 4096 bytes go to the mini stream; storages named in a path are created as
// needed.
class Writer {
public:
    Writer();
    ~Writer();
    Writer(Writer&&) noexcept;
    Writer& operator=(Writer&&) noexcept;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Adds or replaces the stream at path ("ObjectPool/_1/\x01Ole"). Returns
    // false when a name is empty or longer than 31 characters, contains
    // '/', '\\', ':' or '!', or when a path level is already a stream.
    bool addStream(const QString& path, const QByteArray& data);
    // Creates an empty storage (and its parents). Same rules as addStream.
    bool addStorage(const QString& path);
    // Sets the class id (16 bytes) of a storage; the root keeps all zeros
    // unless set here.
    bool setClassId(const QString& storagePath, const QByteArray& clsid);

    QByteArray toBytes() const;

    // A storage or stream being assembled (defined by the implementation).
    struct Node;

private:
    Node* find(const QString& path, bool create, bool asStorage);
    std::unique_ptr<Node> root;
};

} // namespace cfb
