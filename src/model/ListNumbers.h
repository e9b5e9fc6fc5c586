#pragma once
// The numbers and bullets of list paragraphs as text, for the formats that
// cannot show a list any other way (plain text).

#include "Document.h"

#include <QString>

#include <array>
#include <map>

namespace model {

// `n` written in the number format: 3 gives "3", "III", "iii", "C", "c",
// "３", "ハ" or "ウ"; bullets and None give nothing.
QString formatListNumber(int n, NumberFormat format);

// Counts the list paragraphs of a document in reading order and gives each
// its label ("1.", "a)", "2.1", "•"). A paragraph counts on its own level
// and restarts the deeper levels of its list; levels the paragraph's text
// names above its own take their current numbers.
class ListNumbering {
public:
    explicit ListNumbering(const Document& doc) : doc(doc) {}

    // The label of the next paragraph; empty when it is not in a list the
    // document defines, or its level has no text.
    QString next(const ParaFormat& format);

private:
    const Document& doc;
    // Per list: each level's current number, 0 when the level has not begun
    // since the last paragraph above it.
    std::map<int, std::array<int, 9>> counters;
};

} // namespace model
