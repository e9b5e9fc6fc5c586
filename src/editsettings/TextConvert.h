#pragma once
// The five conversions of the replace page's buttons, done with ICU's
// transliterators so that every character with a full-width or half-width
// form (Latin letters, digits, signs, katakana with their voiced marks)
// converts, not only those a hand-made table would hold.

#include <QString>

namespace TextConvert {

enum Kind {
    Wide = 0,   // to full-width characters ("↓全角")
    Narrow = 1, // hiragana to katakana, then to half-width ("↓半角")
    Upper = 2,  // "↓大文字"
    Lower = 3,  // "↓小文字"
    Proper = 4, // first letter of every word upper case, the rest lower ("↓Proper")
};
inline constexpr int kKinds = 5;

// The button caption of a conversion.
QString Caption(int kind);

// `text` converted; unchanged when the kind is unknown or the
// transliterator cannot be made.
QString Convert(const QString& text, int kind);

} // namespace TextConvert
