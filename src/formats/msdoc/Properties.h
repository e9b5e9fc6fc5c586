#pragma once
// Character, paragraph, table and section properties as the reader resolves
// them from style sheets and sprm lists.

#include "Document.h"
#include "TableBorders.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace msdoc::rd {

struct Chp {
    model::CharFormat format;
    int ftcAscii = 0, ftcEastAsia = 0, ftcOther = 0; // font indices
    bool fontAsciiSet = false, fontEastAsiaSet = false;
    bool special = false; // sprmCFSpec: the character is a field or object mark
    bool vanish = false;  // hidden text
    bool obj = false;     // embedded object
    bool data = false;    // form field data
    qint64 picLocation = -1;
    int istd = 10; // character style
};

struct Tc {
    model::Merge hMerge = model::Merge::None;
    model::Merge vMerge = model::Merge::None;
    model::CellVerticalAlign valign = model::CellVerticalAlign::Top;
    model::Border top, left, bottom, right;
    model::Color shading = model::kAutoColor;
    unsigned own = 0; // sides the cell sets itself (model::CellSide bits)
};

struct Tap {
    std::vector<int> centers; // cell boundaries
    std::vector<Tc> cells;
    model::Alignment align = model::Alignment::Left;
    int gapHalf = 0;
    int rowHeight = 0; // > 0 at least, < 0 exact
    bool header = false;
    bool cantSplit = false;
    model::TableBorders borders; // the table's lines, for sides cells leave unset
};

struct FramePos {
    int pcVert = 2, pcHorz = 0;
    int x = 0, y = 0, width = 0, height = 0;
    bool minHeight = false;
    int wrap = 0;
    model::Border border;
    bool any = false;
    bool operator==(const FramePos&) const = default;
    bool isFramed() const { return any && (width > 0 || x != 0 || y != 0 || height != 0); }
};

struct Pap {
    model::ParaFormat format;
    int istd = 0;
    bool inTable = false;
    bool ttp = false;
    int itap = 0;
    bool innerCell = false;
    bool innerTtp = false;
    int ilfo = 0;
    int ilvl = 0;
    FramePos frame;
    Tap tap;
};

struct Sep {
    model::Section section; // page setup, start, title page
};

// Context for applying sprms: fonts for names, the Data stream for huge
// paragraph properties.
struct PropertyContext {
    QStringList fontNames;
    QByteArray data; // the Data stream (implicitly shared)
};

void applyChp(Chp& chp, const QByteArray& grpprl, const PropertyContext& ctx, const Chp& style);
void applyPap(Pap& pap, const QByteArray& grpprl, const PropertyContext& ctx);
void applySep(Sep& sep, const QByteArray& grpprl);

// Resolves the font indices into names.
void resolveFonts(Chp& chp, const PropertyContext& ctx);

} // namespace msdoc::rd
