#pragma once
// What the Word reader may build from one file. Counts are a good estimate of
// the bytes the document model and the reader's own records take; once they
// pass the limit the reader stops and refuses the file, so a small hostile
// file (pieces, headers or pictures that reuse the same bytes over and over)
// cannot make it allocate gigabytes.

#include <QtGlobal>

namespace msdoc {

class Budget {
public:
    // Room for any real document of `fileSize` bytes: a fixed allowance for
    // the small files plus a multiple of the size.
    static qint64 forFile(qint64 fileSize) { return (qint64(24) << 20) + 8 * fileSize; }

    explicit Budget(qint64 limit = forFile(0)) : limit(limit) {}
    // Counts `bytes` more; false once the total is past the limit, and from
    // then on.
    bool spend(qint64 bytes) {
        used += bytes > 0 ? bytes : 0;
        return used <= limit;
    }
    bool exhausted() const { return used > limit; }
    qint64 spent() const { return used; }
    qint64 left() const { return used < limit ? limit - used : 0; }

private:
    qint64 limit;
    qint64 used = 0;
};

} // namespace msdoc
