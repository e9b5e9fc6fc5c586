#pragma once
// Single property modifiers (sprms) of the Word 97-2003 format: the opcodes
// this program reads and writes, and the size rule every opcode follows.

#include <QByteArray>

namespace msdoc::sprm {

// Character
constexpr int CFRMarkDel = 0x0800;
constexpr int CFFldVanish = 0x0802;
constexpr int CPicLocation = 0x6A03;
constexpr int CFData = 0x0806;
constexpr int CFOle2 = 0x080A;
constexpr int CHighlight = 0x2A0C;
constexpr int CIstd = 0x4A30;
constexpr int CFBold = 0x0835;
constexpr int CFItalic = 0x0836;
constexpr int CFStrike = 0x0837;
constexpr int CFVanish = 0x083C;
constexpr int CKul = 0x2A3E;
constexpr int CIco = 0x2A42;
constexpr int CHps = 0x4A43;
constexpr int CIss = 0x2A48;
constexpr int CDxaSpace = 0x8840;
constexpr int CHpsKern = 0x484B;
constexpr int CRgFtc0 = 0x4A4F;
constexpr int CRgFtc1 = 0x4A50;
constexpr int CRgFtc2 = 0x4A51;
constexpr int CFSpec = 0x0855;
constexpr int CFObj = 0x0856;
constexpr int CShd80 = 0x4866;
constexpr int CRgLid0 = 0x486D;
constexpr int CRgLid1 = 0x486E;
constexpr int CCv = 0x6870;
constexpr int CShd = 0xCA71;
constexpr int CFtcDefault = 0x4A3D; // Word 6 style font (ignored)

// Paragraph
constexpr int PIstd = 0x4600;
constexpr int PJc80 = 0x2403;
constexpr int PFKeep = 0x2405;
constexpr int PFKeepFollow = 0x2406;
constexpr int PFPageBreakBefore = 0x2407;
constexpr int PFNoLineNumb = 0x240C;
constexpr int PIlvl = 0x260A;
constexpr int PIlfo = 0x460B;
constexpr int PChgTabsPapx = 0xC60D;
constexpr int PDxaRight80 = 0x840E;
constexpr int PDxaLeft80 = 0x840F;
constexpr int PDxaLeft180 = 0x8411;
constexpr int PDyaLine = 0x6412;
constexpr int PDyaBefore = 0xA413;
constexpr int PDyaAfter = 0xA414;
constexpr int PChgTabs = 0xC615;
constexpr int PFInTable = 0x2416;
constexpr int PFTtp = 0x2417;
constexpr int PDxaAbs = 0x8418;
constexpr int PDyaAbs = 0x8419;
constexpr int PDxaWidth = 0x841A;
constexpr int PPc = 0x261B;
constexpr int PWr = 0x2423;
constexpr int PBrcTop80 = 0x6424;
constexpr int PBrcLeft80 = 0x6425;
constexpr int PBrcBottom80 = 0x6426;
constexpr int PBrcRight80 = 0x6427;
constexpr int PWHeightAbs = 0x442B;
constexpr int PDyaFromText = 0x842E;
constexpr int PDxaFromText = 0x842F;
constexpr int POutLvl = 0x2640;
constexpr int PFInnerTableCell = 0x244B;
constexpr int PFInnerTtp = 0x244C;
constexpr int PHugePapx = 0x6646;
constexpr int PItap = 0x6649;
constexpr int PDtap = 0x664A;
constexpr int PDxaRight = 0x845D;
constexpr int PDxaLeft = 0x845E;
constexpr int PDxaLeft1 = 0x8460;
constexpr int PJc = 0x2461;
constexpr int PBrcTop = 0xC64E;
constexpr int PBrcLeft = 0xC64F;
constexpr int PBrcBottom = 0xC650;
constexpr int PBrcRight = 0xC651;

// Table
constexpr int TJc90 = 0x5400;
constexpr int TDxaLeft = 0x9601;
constexpr int TDxaGapHalf = 0x9602;
constexpr int TFCantSplit90 = 0x3403;
constexpr int TTableHeader = 0x3404;
constexpr int TTableBorders80 = 0xD605;
constexpr int TTableBorders = 0xD613;
constexpr int TDyaRowHeight = 0x9407;
constexpr int TDefTable = 0xD608;
constexpr int TDefTableShd80 = 0xD609;
constexpr int TDefTableShd = 0xD612;
constexpr int TTableWidth = 0xF614;
constexpr int TFCantSplit = 0x3466;
constexpr int TJc = 0x548A;
constexpr int TVertMerge = 0xD62B;
constexpr int TVertAlign = 0xD62C;
constexpr int TSetBrc80 = 0xD620;
constexpr int TSetBrc = 0xD62F;
constexpr int TCellPadding = 0xD632;

// Section
constexpr int SBkc = 0x3009;
constexpr int SFTitlePage = 0x300A;
constexpr int SCcolumns = 0x500B;
constexpr int SDxaColumns = 0x900C;
constexpr int SDyaHdrTop = 0xB017;
constexpr int SDyaHdrBottom = 0xB018;
constexpr int SBOrientation = 0x301D;
constexpr int SXaPage = 0xB01F;
constexpr int SYaPage = 0xB020;
constexpr int SDxaLeft = 0xB021;
constexpr int SDxaRight = 0xB022;
constexpr int SDyaTop = 0x9023;
constexpr int SDyaBottom = 0x9024;
constexpr int SDzaGutter = 0xB025;

// Picture
constexpr int PicBrcTop80 = 0x6C02;

// Operand size of the sprm at `pos` (its two opcode bytes included in
// neither), or -1 when the bytes end before the size can be told.
// `grpprl` is the whole list, for the variable-length forms.
int operandSize(const QByteArray& grpprl, int pos, int opcode);

} // namespace msdoc::sprm

namespace msdoc::sprm {

// Calls f(opcode, operandPos, operandSize) for each sprm of `grpprl`; stops
// at the first one whose operand would run past the end.
template <typename F> void forEach(const QByteArray& grpprl, F f) {
    int pos = 0;
    while (pos + 2 <= grpprl.size()) {
        const int op = quint8(grpprl[pos]) | (quint8(grpprl[pos + 1]) << 8);
        pos += 2;
        const int size = operandSize(grpprl, pos, op);
        if (size < 0 || pos + size > grpprl.size())
            return;
        f(op, pos, size);
        pos += size;
    }
}

} // namespace msdoc::sprm
