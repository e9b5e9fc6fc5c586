#pragma once
// Character and paragraph formatting of the document model.
//
// Every measure is in twips (1440 per inch, 20 per point). Font sizes are in
// half-points (21 = 10.5 pt), the unit Word files use. Colours are platform
// colour values 0x00BBGGRR (red + 256 * green + 65536 * blue), the form the
// program's settings and styles use; kAutoColor means "automatic" (the
// reader's default: black text, no background).
//
// Formats are fully resolved: a run or paragraph carries every value, not a
// difference from its style, so readers and writers never need style chains
// to interpret the model.

#include <QString>
#include <QtGlobal>

#include <vector>

namespace model {

using Twips = int;
using Color = quint32;

constexpr Color kAutoColor = 0xFF000000u;
constexpr Color rgb(int r, int g, int b) {
    return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}
constexpr int red(Color c) {
    return int(c & 0xFF);
}
constexpr int green(Color c) {
    return int((c >> 8) & 0xFF);
}
constexpr int blue(Color c) {
    return int((c >> 16) & 0xFF);
}

// The program's standard Japanese proportional Gothic face; the default font
// of new documents for Latin and East Asian text alike.
QString defaultFontName();

enum class Underline { None, Single, Words, Double, Dotted, Thick, Dash, Wave };
enum class VerticalAlign { Baseline, Superscript, Subscript };

struct CharFormat {
    QString font = defaultFontName();         // Latin (ASCII and high-ANSI) text
    QString fontEastAsia = defaultFontName(); // Japanese and other East Asian text
    int halfPoints = 20;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    Underline underline = Underline::None;
    VerticalAlign valign = VerticalAlign::Baseline;
    Color color = kAutoColor;      // text colour
    Color background = kAutoColor; // character shading behind the text
    Twips spacing = 0;             // extra space after each character (negative condenses)
    int kerning = 0;               // kern fonts from this size on, half-points; 0 off
    bool hidden = false;           // hidden text: kept and shown on screen, never printed

    bool operator==(const CharFormat&) const = default;
};

enum class Alignment { Left, Center, Right, Justify, Distribute };
// Auto: `lineSpacing` is in 240ths of a line (240 single, 360 one and a half).
// AtLeast / Exact: `lineSpacing` is in twips.
enum class LineRule { Auto, AtLeast, Exact };
enum class TabAlign { Left, Center, Right, Decimal, Bar };
enum class TabLeader { None, Dots, Hyphens, Underscore, Heavy, MiddleDot };

struct TabStop {
    Twips position = 0;
    TabAlign align = TabAlign::Left;
    TabLeader leader = TabLeader::None;
    bool operator==(const TabStop&) const = default;
};

enum class BorderStyle { None, Single, Thick, Double, Dotted, Dashed };

struct Border {
    BorderStyle style = BorderStyle::None;
    Twips width = 10; // line width (10 twips = 0.5 pt)
    Color color = kAutoColor;
    Twips space = 0; // distance from the text
    bool operator==(const Border&) const = default;
    bool isNone() const { return style == BorderStyle::None; }
};

struct ParaFormat {
    Alignment align = Alignment::Left;
    Twips leftIndent = 0;
    Twips rightIndent = 0;
    Twips firstLineIndent = 0; // negative for a hanging indent
    Twips spaceBefore = 0;
    Twips spaceAfter = 0;
    int lineSpacing = 240;
    LineRule lineRule = LineRule::Auto;
    bool pageBreakBefore = false;
    bool keepWithNext = false;
    bool keepTogether = false;
    std::vector<TabStop> tabs;
    // Paragraph style by name: the editor's styles ("本文", "見出２", ...) or
    // another program's ("Normal", "heading 1"); empty means the default style.
    QString styleName;
    // List membership: id of a Document::lists entry (0 = not in a list) and
    // the level within it (0 to 8).
    int listId = 0;
    int listLevel = 0;

    bool operator==(const ParaFormat&) const = default;
};

} // namespace model
