#pragma once
// The zip package of a .docx: reading parts with their uncompressed size
// bounded, and building a package from parts.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

typedef struct zip zip_t;
typedef struct zip_source zip_source_t;

namespace docx {

class PackageReader {
public:
    PackageReader() = default;
    PackageReader(const PackageReader&) = delete;
    PackageReader& operator=(const PackageReader&) = delete;
    ~PackageReader();

    // Opens the package in `bytes` (kept by the reader). The parts read
    // may together hold at most `limit` uncompressed bytes.
    bool open(const QByteArray& bytes, qint64 limit, QString* error);
    bool has(const QString& name) const;
    // The part's bytes; nothing when it is missing, damaged or would pass
    // the limit (then exhausted() is true).
    std::optional<QByteArray> part(const QString& name);
    bool exhausted() const { return used > limit; }

private:
    QByteArray data;
    zip_source_t* source = nullptr;
    zip_t* archive = nullptr;
    QHash<QString, qint64> index; // part name -> zip entry
    qint64 limit = 0;
    qint64 used = 0;
};

// Resolves a relationship target against the folder of the part holding
// it: ("word/document.xml", "media/a.png") -> "word/media/a.png". Empty
// when the target leaves the package.
QString resolveTarget(const QString& fromPart, const QString& target);

using Parts = std::vector<std::pair<QString, QByteArray>>;
// A zip package of `parts` in their order (deflated, except media).
std::optional<QByteArray> buildPackage(const Parts& parts, QString* error);

} // namespace docx
