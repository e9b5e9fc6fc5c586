#include "FkpWriter.h"

#include "Bytes.h"

#include <QHash>

namespace msdoc::wr {

namespace {

constexpr int kPage = 512;

// Fills pages from the end: each page holds as many runs as fit, the
// property records growing down from the page's count byte, identical
// records shared. `entrySize` is the per-run header cost besides its FC
// (1 byte offset for CHPX, 13-byte BX for PAPX); `record` encodes one
// property record.
template <typename Record>
FkpResult buildFkps(const std::vector<FcRun>& runs, quint32 fcEnd, quint32 firstPn, int entrySize,
                    Record record) {
    FkpResult out;
    std::vector<quint32> pageFcs;
    size_t i = 0;
    while (i < runs.size()) {
        QByteArray page(kPage, '\0');
        int top = kPage - 1; // the count byte
        std::vector<int> offsets;
        QHash<QByteArray, int> shared;
        const size_t first = i;
        while (i < runs.size() && offsets.size() < 101) {
            const QByteArray& props = runs[i].props;
            const int n = int(offsets.size()) + 1;
            const int header = 4 * (n + 1) + entrySize * n;
            int offset = 0;
            int newTop = top;
            if (!props.isEmpty() && !shared.contains(props)) {
                const QByteArray rec = record(props);
                newTop = (top - int(rec.size())) & ~1;
                if (header > newTop)
                    break;
                memcpy(page.data() + newTop, rec.constData(), size_t(rec.size()));
                offset = newTop / 2;
                shared.insert(props, offset);
            } else {
                if (header > top)
                    break;
                offset = props.isEmpty() ? 0 : shared.value(props);
            }
            top = newTop;
            offsets.push_back(offset);
            ++i;
        }
        if (offsets.empty()) {
            // A record too large for any page: skip its properties rather than loop.
            offsets.push_back(0);
            ++i;
        }
        const int n = int(offsets.size());
        ByteWriter head;
        for (size_t k = first; k < first + size_t(n); ++k)
            head.u32(runs[k].fc);
        head.u32(first + size_t(n) < runs.size() ? runs[first + size_t(n)].fc : fcEnd);
        for (int k = 0; k < n; ++k) {
            head.u8(offsets[size_t(k)]);
            head.zeros(entrySize - 1); // PHE of a BX left empty
        }
        memcpy(page.data(), head.bytes.constData(), size_t(head.size()));
        page[kPage - 1] = char(n);
        pageFcs.push_back(runs[first].fc);
        out.pages += page;
    }
    ByteWriter bin;
    for (quint32 fc : pageFcs)
        bin.u32(fc);
    bin.u32(fcEnd);
    for (size_t k = 0; k < pageFcs.size(); ++k)
        bin.u32(firstPn + quint32(k));
    out.binTable = bin.bytes;
    return out;
}

} // namespace

FkpResult chpxFkps(const std::vector<FcRun>& runs, quint32 fcEnd, quint32 firstPn) {
    return buildFkps(runs, fcEnd, firstPn, 1, [](const QByteArray& grpprl) {
        return QByteArray(1, char(grpprl.size())) + grpprl;
    });
}

FkpResult papxFkps(const std::vector<FcRun>& paras, quint32 fcEnd, quint32 firstPn) {
    return buildFkps(paras, fcEnd, firstPn, 13, [](const QByteArray& istdGrpprl) {
        const int len = int(istdGrpprl.size());
        if (len % 2)
            return QByteArray(1, char((len + 1) / 2)) + istdGrpprl;
        return QByteArray(1, '\0') + QByteArray(1, char(len / 2)) + istdGrpprl;
    });
}

} // namespace msdoc::wr
