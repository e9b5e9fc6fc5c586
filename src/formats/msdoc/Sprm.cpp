#include "Sprm.h"

namespace msdoc::sprm {

int operandSize(const QByteArray& g, int pos, int opcode) {
    auto byteAt = [&](int i) { return i >= 0 && i < g.size() ? int(quint8(g[i])) : -1; };
    switch ((opcode >> 13) & 7) {
    case 0:
    case 1:
        return 1;
    case 2:
    case 4:
    case 5:
        return 2;
    case 3:
        return 4;
    case 7:
        return 3;
    default:
        break;
    }
    // Variable length: a count in front of the operand.
    if (opcode == TDefTable || opcode == 0xD606 /* sprmTDefTable10 */) {
        const int lo = byteAt(pos), hi = byteAt(pos + 1);
        if (lo < 0 || hi < 0)
            return -1;
        // The 16-bit count covers the rest of the operand plus one.
        const int cb = lo | (hi << 8);
        return 2 + (cb > 0 ? cb - 1 : 0);
    }
    const int cb = byteAt(pos);
    if (cb < 0)
        return -1;
    if (opcode == PChgTabs && cb == 255) {
        // Long form: deleted tabs with close zones, then the added tabs.
        const int del = byteAt(pos + 1);
        if (del < 0)
            return -1;
        const int add = byteAt(pos + 2 + del * 4);
        if (add < 0)
            return -1;
        return 1 + 1 + del * 4 + 1 + add * 3;
    }
    return 1 + cb;
}

} // namespace msdoc::sprm
