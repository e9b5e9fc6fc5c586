#include "TableBorders.h"

namespace model {

bool TableBorders::any() const {
    for (const Border* s : {&top, &left, &bottom, &right, &insideH, &insideV})
        if (s->style != BorderStyle::None)
            return true;
    return false;
}

void TableBorders::overlay(const TableBorders& o, unsigned given) {
    Border* lines[] = {&top, &left, &bottom, &right, &insideH, &insideV};
    const Border* from[] = {&o.top, &o.left, &o.bottom, &o.right, &o.insideH, &o.insideV};
    for (int i = 0; i < 6; ++i)
        if (given & (1u << i))
            *lines[i] = *from[i];
}

void applyRowBorders(TableRow& row, const TableBorders& b, bool firstRow, bool lastRow,
                     const std::vector<unsigned>& own) {
    const size_t n = row.cells.size();
    for (size_t k = 0; k < n; ++k) {
        TableCell& c = row.cells[k];
        const unsigned mine = k < own.size() ? own[k] : 0u;
        // A merged cell's last covered column decides where its right edge is.
        size_t last = k;
        while (last + 1 < n && row.cells[last + 1].horizontalMerge == Merge::Continue)
            ++last;
        if (!(mine & SideTop))
            c.top = firstRow ? b.top : b.insideH;
        if (!(mine & SideBottom))
            c.bottom = lastRow ? b.bottom : b.insideH;
        if (!(mine & SideLeft))
            c.left = k == 0 ? b.left : b.insideV;
        if (!(mine & SideRight))
            c.right = last + 1 == n ? b.right : b.insideV;
    }
}

} // namespace model
