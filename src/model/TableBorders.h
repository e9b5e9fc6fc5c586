#pragma once
// Borders given for a whole table (Word's table borders and table styles),
// turned into the borders of its cells: the outer edges take the table's
// top, left, bottom and right lines, the edges between cells its inside
// lines. A side a cell sets itself is left as the cell has it.
#include "Document.h"

#include <vector>

namespace model {

struct TableBorders {
    Border top, left, bottom, right, insideH, insideV;
    bool any() const;
    // Takes the lines of `o` whose bits are in `given` (top, left, bottom,
    // right, inside horizontal, inside vertical from bit 0 up).
    void overlay(const TableBorders& o, unsigned given);
    bool operator==(const TableBorders&) const = default;
};

// Sides a cell sets itself, as bits.
enum CellSide : unsigned { SideTop = 1, SideLeft = 2, SideBottom = 4, SideRight = 8 };

// Applies `b` to the cells of `row` whose sides are not in `own` (one mask
// per cell; missing masks count as 0).
void applyRowBorders(TableRow& row, const TableBorders& b, bool firstRow, bool lastRow,
                     const std::vector<unsigned>& own);

} // namespace model
