#pragma once
// The style table usrFmt with its default records, and recognising the
// style of a paragraph from its font and paragraph values. The editor's
// mail text, toolbar state and style panel read styles this way.

#include <QString>
#include <array>

// One record of the style table.
struct UsrFmt {
    QString sFont;
    int iSize = 10; // points
    int nFcr = 0;   // text colour, red + 256 green + 65536 blue
    int nBcr = 0xFFFFFF;
    int iBold = 0;
    int iAt1 = 0, iAt2 = 0, iAt3 = 0, iAt4 = 0;
    int iLIdt = 0; // left indent, twips
    int iPa1 = 0, iPa2 = 0, iPa3 = 0, iPa4 = 0;
    bool operator==(const UsrFmt&) const = default;
};

namespace TxStyle {

inline constexpr int kRecords = 8; // styles 0-5, header 6, footer 7
inline constexpr int kBody = 3;
using Table = std::array<UsrFmt, kRecords>;

// The default record of style / record `i` (0..7).
UsrFmt DefaultFmt(int i);
Table DefaultTable();

// The values of the caret paragraph that styles are recognised by.
struct ParaLook {
    QString fontName;
    double fontSize = 0;
    int foreColor = 0;
    bool bold = false;
    int leftIndent = 0;
    int listState = 1; // 1 = not in a list
};

// The style number of a paragraph (GetStl): 3, 4 or 5 below 150 twips of
// left indent, else 0, 1 or 2; the first record matching font, colour,
// bold and size wins, the fallback being 3 or 2.
int GetStl(const ParaLook& p, const Table& t);

// A heading: larger than the body size, not in a list, left indent above 60.
bool IsHeading(const ParaLook& p, const Table& t);

// The style panel's text: "見出１(頁見出)", "見出２", "見出３" or "本文";
// "Field" when the caret is on a field.
QString PanelName(const ParaLook& p, const Table& t, bool onField);

} // namespace TxStyle
