#pragma once
// Random damage for the format readers' robustness tests: bit flips, bytes
// and 32-bit fields overwritten with values that point at edges (0, -1,
// end-of-chain marks, large counts), and truncations. Deterministic for a
// given random engine, so a failing case can be replayed.

#include <QByteArray>
#include <QtEndian>

#include <random>

namespace Mutator {

inline QByteArray mutate(const QByteArray& input, std::mt19937& rng) {
    QByteArray out = input;
    if (out.isEmpty())
        return out;
    auto pick = [&](qsizetype n) {
        return qsizetype(std::uniform_int_distribution<qsizetype>(0, n - 1)(rng));
    };
    // Headers and tables sit near the start of most files; aim half the
    // damage at the first kilobyte.
    auto position = [&]() {
        return pick(pick(2) ? std::min<qsizetype>(out.size(), 1024) : out.size());
    };
    static constexpr quint32 kEdges[] = {0,          1,          2,          0x7F,
                                         0x80,       0xFF,       0x100,      0x1000,
                                         0x7FFFFFFF, 0x80000000, 0xFFFFFFF0, 0xFFFFFFFA,
                                         0xFFFFFFFC, 0xFFFFFFFD, 0xFFFFFFFE, 0xFFFFFFFF};
    const int rounds = 1 + int(pick(4));
    for (int r = 0; r < rounds && !out.isEmpty(); ++r) {
        switch (pick(5)) {
        case 0: { // flip a few bits
            const int flips = 1 + int(pick(8));
            for (int i = 0; i < flips; ++i)
                out[position()] ^= char(1 << pick(8));
            break;
        }
        case 1: // one random byte
            out[position()] = char(pick(256));
            break;
        case 2: { // a 32-bit field set to an edge value
            const qsizetype at = position() & ~qsizetype(3);
            if (at + 4 <= out.size())
                qToLittleEndian(kEdges[pick(std::size(kEdges))], out.data() + at);
            break;
        }
        case 3: { // a 16-bit field set to a small or large value
            const qsizetype at = position() & ~qsizetype(1);
            if (at + 2 <= out.size())
                qToLittleEndian(quint16(pick(2) ? pick(16) : 0xFFFF - pick(16)), out.data() + at);
            break;
        }
        default: // cut the file short
            out.truncate(pick(out.size()));
            break;
        }
    }
    return out;
}

} // namespace Mutator
