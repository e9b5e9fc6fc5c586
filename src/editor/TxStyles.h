#pragma once
// The style table usrFmt with its default records and its stored form in
// the settings group "TX_FORMAT", and recognising the style of a paragraph
// from its font and paragraph values. The editor's mail text, toolbar state
// and style panel read styles this way.

#include <QString>
#include <array>

class TxEngine;
class yIni;

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

// The table with the three values loaded beside it. One set is shared by
// every editor of the process (Shared()).
struct UserFormats {
    Table usrFmt = DefaultTable();
    float sgLsp = 1.9f; // line spacing factor
    bool bDtp = true;   // automatic heading: the first line is the page heading
    bool bEntSh = true; // in body text Enter is a line break, Shift+Enter a paragraph
    bool operator==(const UserFormats&) const = default;
};
UserFormats& Shared();

// The group and its keys.
QString FormatGroup();    // "TX_FORMAT"
QString RecordKey(int i); // "USR_FORMAT_" + i

// A record as its stored string: the 14 fields in order, "|"-joined.
QString FmtToStr(const UsrFmt& f);
// A stored string back into a record; an empty or malformed string (not 14
// fields, a field that is not a whole number) gives style i's default.
// "32" in the ninth field (iAt4) is read as 7936.
UsrFmt StrToFmt(const QString& s, int i);
// A stored line spacing factor: values below 1 or above 2 become 1.2.
float LineFactor(double stored);
// The line spacing of a style's paragraphs: size x 20 x factor, in twips.
int LineSpacing(const UsrFmt& f, float sgLsp);

// Reads the group into `u`; false when reading failed part way (the values
// read so far stay, the rest keep what they held).
bool LoadUsrFmt(yIni& ini, UserFormats& u);
// Writes the group and commits it.
void SaveUsrFmt(yIni& ini, const UserFormats& u);

// A character look: what the format copy holds and the font dialog edits.
struct CharLook {
    QString font;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    quint32 fore = 0;        // 0x00BBGGRR
    quint32 back = 0xFFFFFF; // white: no background of its own
    bool operator==(const CharLook&) const = default;
};
// The look of the engine's selection (or insertion format), and giving it
// one; the background too when `withBack`.
CharLook ReadLook(TxEngine& tx);
void ApplyLook(TxEngine& tx, const CharLook& l, bool withBack = true);

// The fixed colours of the marker styles 6, 7 and 8 (links, tags, and the
// third kind), as 0x00BBGGRR.
quint32 MarkerColor(int iStl);
inline constexpr quint32 kWhite = 0xFFFFFF;

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
