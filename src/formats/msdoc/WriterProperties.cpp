// Property lists (grpprls) the writer gives characters, paragraphs, table
// rows, frames and sections: only what differs from the document defaults,
// which are the model's defaults.
#include "Bytes.h"
#include "Document.h"
#include "Sprm.h"
#include "WriterParts.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace msdoc::wr {

namespace {

void sprm8(ByteWriter& w, int op, int v) {
    w.u16(op);
    w.u8(v);
}
void sprm16(ByteWriter& w, int op, int v) {
    w.u16(op);
    w.u16(v);
}
void sprm32(ByteWriter& w, int op, quint32 v) {
    w.u16(op);
    w.u32(v);
}

int kul(model::Underline u) {
    switch (u) {
    case model::Underline::None:
        return 0;
    case model::Underline::Single:
        return 1;
    case model::Underline::Words:
        return 2;
    case model::Underline::Double:
        return 3;
    case model::Underline::Dotted:
        return 4;
    case model::Underline::Thick:
        return 6;
    case model::Underline::Dash:
        return 7;
    case model::Underline::Wave:
        return 11;
    }
    return 1;
}

// The 16 colours of the old palette, for readers that know only those.
int nearestIco(model::Color c) {
    static const int pal[16][3] = {{0, 0, 0},     {0, 0, 255},   {0, 255, 255},   {0, 255, 0},
                                   {255, 0, 255}, {255, 0, 0},   {255, 255, 0},   {255, 255, 255},
                                   {0, 0, 128},   {0, 128, 128}, {0, 128, 0},     {128, 0, 128},
                                   {128, 0, 0},   {128, 128, 0}, {128, 128, 128}, {192, 192, 192}};
    int best = 0, bestDist = INT_MAX;
    for (int i = 0; i < 16; ++i) {
        const int dr = model::red(c) - pal[i][0], dg = model::green(c) - pal[i][1],
                  db = model::blue(c) - pal[i][2];
        const int dist = dr * dr + dg * dg + db * db;
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
        }
    }
    return best + 1;
}

int jc(model::Alignment a) {
    switch (a) {
    case model::Alignment::Left:
        return 0;
    case model::Alignment::Center:
        return 1;
    case model::Alignment::Right:
        return 2;
    case model::Alignment::Justify:
        return 3;
    case model::Alignment::Distribute:
        return 4;
    }
    return 0;
}

int brcType(model::BorderStyle s) {
    switch (s) {
    case model::BorderStyle::None:
        return 0;
    case model::BorderStyle::Single:
        return 1;
    case model::BorderStyle::Thick:
        return 2;
    case model::BorderStyle::Double:
        return 3;
    case model::BorderStyle::Dotted:
        return 6;
    case model::BorderStyle::Dashed:
        return 7;
    }
    return 1;
}

// Line width in eighths of a point from twips (2.5 twips each).
int eighths(model::Twips w) {
    return std::clamp((w * 8 + 10) / 20, 1, 255);
}

quint32 brc80(const model::Border& b) {
    if (b.isNone())
        return 0;
    const int ico = b.color == model::kAutoColor ? 0 : nearestIco(b.color);
    const int space = std::clamp(b.space / 20, 0, 31);
    return quint32(eighths(b.width)) | (quint32(brcType(b.style)) << 8) | (quint32(ico) << 16) |
           (quint32(space) << 24);
}

void brc(ByteWriter& w, const model::Border& b) {
    w.u32(b.isNone() ? 0 : b.color);
    w.u8(b.isNone() ? 0 : eighths(b.width));
    w.u8(brcType(b.style));
    w.u16(b.isNone() ? 0 : std::clamp(b.space / 20, 0, 31));
}

void lineSpacing(ByteWriter& w, const model::ParaFormat& f) {
    if (f.lineRule == model::LineRule::Auto && f.lineSpacing == 240)
        return;
    w.u16(sprm::PDyaLine);
    switch (f.lineRule) {
    case model::LineRule::Auto:
        w.u16(f.lineSpacing);
        w.u16(1);
        break;
    case model::LineRule::AtLeast:
        w.u16(std::abs(f.lineSpacing));
        w.u16(0);
        break;
    case model::LineRule::Exact:
        w.u16(-std::abs(f.lineSpacing));
        w.u16(0);
        break;
    }
}

void tabs(ByteWriter& w, const std::vector<model::TabStop>& tabs) {
    if (tabs.empty())
        return;
    const int n = std::min<int>(int(tabs.size()), 64);
    w.u16(sprm::PChgTabsPapx);
    w.u8(1 + 1 + n * 3);
    w.u8(0); // nothing deleted
    w.u8(n);
    for (int i = 0; i < n; ++i)
        w.u16(tabs[i].position);
    for (int i = 0; i < n; ++i)
        w.u8(int(tabs[i].align) | (int(tabs[i].leader) << 3));
}

} // namespace

int icoFor(model::Color c) {
    return c == model::kAutoColor ? 0 : nearestIco(c);
}

QByteArray chpxFor(const model::CharFormat& f, FontTable& fonts) {
    static const model::CharFormat def;
    ByteWriter w;
    if (f.font != def.font) {
        const int i = fonts.index(f.font);
        sprm16(w, sprm::CRgFtc0, i);
        sprm16(w, sprm::CRgFtc2, i);
    }
    if (f.fontEastAsia != def.fontEastAsia)
        sprm16(w, sprm::CRgFtc1, fonts.index(f.fontEastAsia));
    if (f.halfPoints != def.halfPoints)
        sprm16(w, sprm::CHps, std::clamp(f.halfPoints, 2, 3276));
    if (f.bold)
        sprm8(w, sprm::CFBold, 1);
    if (f.italic)
        sprm8(w, sprm::CFItalic, 1);
    if (f.strike)
        sprm8(w, sprm::CFStrike, 1);
    if (f.hidden)
        sprm8(w, sprm::CFVanish, 1);
    if (f.underline != model::Underline::None)
        sprm8(w, sprm::CKul, kul(f.underline));
    if (f.spacing != def.spacing)
        sprm16(w, sprm::CDxaSpace, std::clamp(f.spacing, -32768, 32767));
    if (f.kerning != def.kerning)
        sprm16(w, sprm::CHpsKern, std::clamp(f.kerning, 0, 32767));
    if (f.valign != model::VerticalAlign::Baseline)
        sprm8(w, sprm::CIss, f.valign == model::VerticalAlign::Superscript ? 1 : 2);
    if (f.color != model::kAutoColor) {
        sprm8(w, sprm::CIco, nearestIco(f.color));
        sprm32(w, sprm::CCv, f.color & 0xFFFFFF);
    }
    if (f.background != model::kAutoColor) {
        // Clear pattern over the background colour; the old form for old readers.
        sprm16(w, sprm::CShd80, nearestIco(f.background) << 5);
        w.u16(sprm::CShd);
        w.u8(10);
        w.u32(model::kAutoColor);
        w.u32(f.background & 0xFFFFFF);
        w.u16(0);
    }
    return w.bytes;
}

QByteArray papxFor(const model::ParaFormat& f, int istd) {
    ByteWriter w;
    w.u16(istd);
    if (f.align != model::Alignment::Left) {
        sprm8(w, sprm::PJc80, jc(f.align));
        sprm8(w, sprm::PJc, jc(f.align));
    }
    if (f.leftIndent) {
        sprm16(w, sprm::PDxaLeft80, f.leftIndent);
        sprm16(w, sprm::PDxaLeft, f.leftIndent);
    }
    if (f.rightIndent) {
        sprm16(w, sprm::PDxaRight80, f.rightIndent);
        sprm16(w, sprm::PDxaRight, f.rightIndent);
    }
    if (f.firstLineIndent) {
        sprm16(w, sprm::PDxaLeft180, f.firstLineIndent);
        sprm16(w, sprm::PDxaLeft1, f.firstLineIndent);
    }
    if (f.spaceBefore)
        sprm16(w, sprm::PDyaBefore, f.spaceBefore);
    if (f.spaceAfter)
        sprm16(w, sprm::PDyaAfter, f.spaceAfter);
    lineSpacing(w, f);
    if (f.pageBreakBefore)
        sprm8(w, sprm::PFPageBreakBefore, 1);
    if (f.keepWithNext)
        sprm8(w, sprm::PFKeepFollow, 1);
    if (f.keepTogether)
        sprm8(w, sprm::PFKeep, 1);
    tabs(w, f.tabs);
    return w.bytes;
}

QByteArray framePapx(const model::Frame& f) {
    ByteWriter w;
    int pcVert = 1, pcHorz = 2; // page
    switch (f.verticalRelation) {
    case model::VerticalRelation::Margin:
        pcVert = 0;
        break;
    case model::VerticalRelation::Paragraph:
    case model::VerticalRelation::Line:
        pcVert = 2;
        break;
    case model::VerticalRelation::Page:
        pcVert = 1;
        break;
    }
    switch (f.horizontalRelation) {
    case model::HorizontalRelation::Column:
    case model::HorizontalRelation::Character:
        pcHorz = 0;
        break;
    case model::HorizontalRelation::Margin:
        pcHorz = 1;
        break;
    case model::HorizontalRelation::Page:
        pcHorz = 2;
        break;
    }
    sprm8(w, sprm::PPc, (pcVert << 4) | (pcHorz << 6));
    // Small negative positions are codes (centred, right, ...): step past them.
    auto pos = [](int v) { return (v <= 0 && v >= -16 && v % 4 == 0 && v != 0) ? v - 1 : v; };
    sprm16(w, sprm::PDxaAbs, pos(f.x));
    sprm16(w, sprm::PDyaAbs, pos(f.y));
    sprm16(w, sprm::PDxaWidth, std::max(0, f.width));
    if (f.heightRule != model::HeightRule::Auto)
        sprm16(w, sprm::PWHeightAbs,
               (std::clamp(f.height, 0, 0x7FFF)) |
                   (f.heightRule == model::HeightRule::AtLeast ? 0x8000 : 0));
    sprm8(w, sprm::PWr, f.wrapAround ? 2 : 1);
    if (!f.border.isNone()) {
        for (int op : {sprm::PBrcTop80, sprm::PBrcLeft80, sprm::PBrcBottom80, sprm::PBrcRight80})
            sprm32(w, op, brc80(f.border));
        for (int op : {sprm::PBrcTop, sprm::PBrcLeft, sprm::PBrcBottom, sprm::PBrcRight}) {
            w.u16(op);
            w.u8(8);
            brc(w, f.border);
        }
    }
    return w.bytes;
}

QByteArray tablePapx(const model::Table& t, int rowIndex) {
    const model::TableRow& row = t.rows[size_t(rowIndex)];
    ByteWriter w;
    if (t.align != model::Alignment::Left) {
        sprm16(w, sprm::TJc90, jc(t.align));
        sprm16(w, sprm::TJc, jc(t.align));
    }
    sprm16(w, sprm::TDxaGapHalf, t.cellMargin);
    if (row.heightRule != model::HeightRule::Auto && row.height > 0)
        sprm16(w, sprm::TDyaRowHeight,
               row.heightRule == model::HeightRule::Exact ? -row.height : row.height);
    if (row.header)
        sprm8(w, sprm::TTableHeader, 1);
    if (row.cantSplit) {
        sprm8(w, sprm::TFCantSplit90, 1);
        sprm8(w, sprm::TFCantSplit, 1);
    }
    const int n = std::min<int>(int(row.cells.size()), 63);
    // Cell boundaries and the cells' merge flags, widths and borders.
    ByteWriter def;
    def.u8(n);
    int x = t.indent - t.cellMargin;
    def.u16(x);
    for (int i = 0; i < n; ++i) {
        x += std::max(1, row.cells[size_t(i)].width);
        def.u16(x);
    }
    bool anyShading = false;
    for (int i = 0; i < n; ++i) {
        const model::TableCell& c = row.cells[size_t(i)];
        int grf = 0;
        if (c.horizontalMerge == model::Merge::Restart)
            grf |= 0x1;
        if (c.horizontalMerge == model::Merge::Continue)
            grf |= 0x2;
        if (c.verticalMerge != model::Merge::None)
            grf |= 0x20;
        if (c.verticalMerge == model::Merge::Restart)
            grf |= 0x40;
        grf |= int(c.valign) << 7;
        grf |= 3 << 9; // width in twips
        def.u16(grf);
        def.u16(std::max(1, c.width));
        def.u32(brc80(c.top));
        def.u32(brc80(c.left));
        def.u32(brc80(c.bottom));
        def.u32(brc80(c.right));
        anyShading |= c.shading != model::kAutoColor;
    }
    w.u16(sprm::TDefTable);
    w.u16(int(def.size()) + 1);
    w.raw(def.bytes);
    if (anyShading) {
        w.u16(sprm::TDefTableShd80);
        w.u8(n * 2);
        for (int i = 0; i < n; ++i) {
            const model::Color c = row.cells[size_t(i)].shading;
            w.u16(c == model::kAutoColor ? 0 : nearestIco(c) << 5);
        }
        w.u16(sprm::TDefTableShd);
        w.u8(n * 10);
        for (int i = 0; i < n; ++i) {
            const model::Color c = row.cells[size_t(i)].shading;
            w.u32(model::kAutoColor);
            w.u32(c == model::kAutoColor ? model::kAutoColor : (c & 0xFFFFFF));
            w.u16(0);
        }
    }
    return w.bytes;
}

QByteArray sepxFor(const model::Section& s) {
    ByteWriter w;
    int bkc = 2;
    switch (s.start) {
    case model::SectionStart::Continuous:
        bkc = 0;
        break;
    case model::SectionStart::NewColumn:
        bkc = 1;
        break;
    case model::SectionStart::NewPage:
        bkc = 2;
        break;
    case model::SectionStart::EvenPage:
        bkc = 3;
        break;
    case model::SectionStart::OddPage:
        bkc = 4;
        break;
    }
    if (bkc != 2)
        sprm8(w, sprm::SBkc, bkc);
    if (s.titlePage)
        sprm8(w, sprm::SFTitlePage, 1);
    const model::PageSetup& p = s.page;
    if (p.orientation == model::Orientation::Landscape)
        sprm8(w, sprm::SBOrientation, 2);
    sprm16(w, sprm::SXaPage, p.width);
    sprm16(w, sprm::SYaPage, p.height);
    sprm16(w, sprm::SDxaLeft, p.marginLeft);
    sprm16(w, sprm::SDxaRight, p.marginRight);
    sprm16(w, sprm::SDyaTop, p.marginTop);
    sprm16(w, sprm::SDyaBottom, p.marginBottom);
    sprm16(w, sprm::SDyaHdrTop, p.headerDistance);
    sprm16(w, sprm::SDyaHdrBottom, p.footerDistance);
    return w.bytes;
}

} // namespace msdoc::wr
