#pragma once
// The numbers and bullets of list paragraphs as text, for the formats that
// cannot show a list any other way (plain text).

#include "Document.h"

#include <QString>

#include <array>
#include <map>

namespace model {

// `n` written in the number format: 3 gives "3", "III", "iii", "C", "c",
// "３", "ハ", "ウ", "③", "三" or "参"; bullets and None give nothing.
QString formatListNumber(int n, NumberFormat format);

// The character a bullet level shows: its own, or for a symbol font's
// character (Symbol, Wingdings) the Unicode one that looks like it, else "•".
QString bulletCharacter(const ListLevel& level);

// Word's number format codes (nfc), as .doc and RTF files store them. Codes
// with no format of their own read as the nearest one (decimal when none is).
int wordNumberCode(NumberFormat format);
NumberFormat numberFormatOfWordCode(int code);

// A paragraph's label in parts: the paragraph's own number (or bullet) and
// the level text's words and other levels' numbers before and after it.
// "Section %1." gives "Section ", "2", "."; "%1.%2)" on level 1 gives "3.",
// "1", ")".
struct ListLabel {
    QString prefix;
    QString number;
    QString suffix;
    bool numbered = false; // the label holds the own number or a bullet
};

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
    ListLabel nextLabel(const ParaFormat& format);

private:
    const Document& doc;
    // Per list: each level's current number, 0 when the level has not begun
    // since the last paragraph above it.
    std::map<int, std::array<int, 9>> counters;
};

} // namespace model
