#pragma once
// The rules of the table commands that need no engine: the option words of
// commands 80 to 85, the bounds of a new table, and reading the measures
// typed into the table dialogs (rows, columns, twips), so that a bad value
// is refused with the field it came from.

#include <QString>

namespace TxTable {

inline constexpr int kMaxRows = 1000;     // rows of a new table
inline constexpr int kMaxColumns = 63;    // columns a table can hold
inline constexpr int kMaxMeasure = 31680; // twips (22 inches): widths and margins
inline constexpr int kMaxBorder = 120;    // twips (6 points): border lines

// The part a select or format word names: "表" 0, "行" 1, "ｾﾙ" 2; -1 for
// any other word.
int PartOf(const QString& word);

// A number read from a field, or why it cannot be used.
struct Number {
    int value = 0;
    bool ok = false;
    QString message; // the message to show when !ok
};

// The rows or columns of a new table: a whole number from 1 to the bound.
Number ReadRows(const QString& text);
Number ReadColumns(const QString& text);
// A measure in twips named `what` (for the message): a whole number from
// `min` (0 or 1) to `max`; an empty field gives `empty` when that is 0 or
// more, else it is refused.
Number ReadMeasure(const QString& text, const QString& what, int min, int max, int empty = -1);

} // namespace TxTable
