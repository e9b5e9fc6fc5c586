// Applies sprm lists to the reader's property records.
#include "Properties.h"

#include "Bytes.h"
#include "Sprm.h"

#include <algorithm>

namespace msdoc::rd {

namespace {

model::Color icoColor(int ico) {
    static const model::Color pal[17] = {
        model::kAutoColor,         model::rgb(0, 0, 0),      model::rgb(0, 0, 255),
        model::rgb(0, 255, 255),   model::rgb(0, 255, 0),    model::rgb(255, 0, 255),
        model::rgb(255, 0, 0),     model::rgb(255, 255, 0),  model::rgb(255, 255, 255),
        model::rgb(0, 0, 128),     model::rgb(0, 128, 128),  model::rgb(0, 128, 0),
        model::rgb(128, 0, 128),   model::rgb(128, 0, 0),    model::rgb(128, 128, 0),
        model::rgb(128, 128, 128), model::rgb(192, 192, 192)};
    return ico >= 0 && ico <= 16 ? pal[ico] : model::kAutoColor;
}

model::Color colorRef(quint32 v) {
    return (v >> 24) == 0xFF ? model::kAutoColor : (v & 0xFFFFFF);
}

model::Underline underline(int kul) {
    switch (kul) {
    case 0:
        return model::Underline::None;
    case 2:
        return model::Underline::Words;
    case 3:
        return model::Underline::Double;
    case 4:
        return model::Underline::Dotted;
    case 6:
        return model::Underline::Thick;
    case 7:
    case 39:
    case 55:
    case 23:
        return model::Underline::Dash;
    case 11:
    case 27:
    case 43:
        return model::Underline::Wave;
    default:
        return model::Underline::Single;
    }
}

model::Alignment alignment(int jc) {
    switch (jc) {
    case 1:
        return model::Alignment::Center;
    case 2:
        return model::Alignment::Right;
    case 3:
        return model::Alignment::Justify;
    case 4:
        return model::Alignment::Distribute;
    default:
        return model::Alignment::Left;
    }
}

model::BorderStyle borderStyle(int type) {
    switch (type) {
    case 0:
    case 0xFF:
        return model::BorderStyle::None;
    case 2:
        return model::BorderStyle::Thick;
    case 3:
        return model::BorderStyle::Double;
    case 6:
        return model::BorderStyle::Dotted;
    case 7:
    case 8:
    case 9:
    case 22:
        return model::BorderStyle::Dashed;
    default:
        return model::BorderStyle::Single;
    }
}

model::Border brc80(quint32 v) {
    model::Border b;
    if (v == 0 || v == 0xFFFFFFFF)
        return b;
    b.style = borderStyle(int((v >> 8) & 0xFF));
    b.width = int(((v & 0xFF) * 20 + 4) / 8);
    b.color = icoColor(int((v >> 16) & 0xFF));
    b.space = int((v >> 24) & 0x1F) * 20;
    return b;
}

model::Border brc(const ByteReader& r, qint64 pos) {
    model::Border b;
    const int type = r.u8(pos + 5);
    b.style = borderStyle(type);
    if (b.style == model::BorderStyle::None)
        return b;
    b.color = colorRef(r.u32(pos));
    b.width = (r.u8(pos + 4) * 20 + 4) / 8;
    b.space = (r.u16(pos + 6) & 0x1F) * 20;
    return b;
}

bool toggle(int v, bool style) {
    if (v == 0x80)
        return style;
    if (v == 0x81)
        return !style;
    return v != 0;
}

// Word keeps at most 64 tab stops per paragraph; more would only copy a
// hostile style's list into every paragraph.
constexpr size_t kMaxTabs = 64;

void changeTabs(model::ParaFormat& f, const ByteReader& r, int pos, int size, bool withClose) {
    const int cb = r.u8(pos);
    int p = pos + 1;
    const int end = pos + size;
    const int del = r.u8(p);
    ++p;
    std::vector<int> deleted;
    for (int i = 0; i < del && p + 2 <= end; ++i, p += 2)
        deleted.push_back(r.i16(p));
    if (withClose)
        p += del * 2;
    std::erase_if(f.tabs, [&](const model::TabStop& t) {
        return std::find(deleted.begin(), deleted.end(), t.position) != deleted.end();
    });
    if (p >= end)
        return;
    const int add = r.u8(p);
    ++p;
    if (p + add * 3 > end)
        return;
    for (int i = 0; i < add; ++i) {
        model::TabStop t;
        t.position = r.i16(p + i * 2);
        const int tbd = r.u8(p + add * 2 + i);
        const int jc = tbd & 7;
        t.align = jc <= 4 ? model::TabAlign(jc) : model::TabAlign::Left;
        const int tlc = (tbd >> 3) & 7;
        t.leader = tlc <= 5 ? model::TabLeader(tlc) : model::TabLeader::None;
        std::erase_if(f.tabs, [&](const model::TabStop& o) { return o.position == t.position; });
        if (f.tabs.size() >= kMaxTabs)
            break;
        f.tabs.push_back(t);
    }
    std::sort(f.tabs.begin(), f.tabs.end(), [](const model::TabStop& a, const model::TabStop& b) {
        return a.position < b.position;
    });
    (void)cb;
}

void defTable(Tap& tap, const ByteReader& r, int pos, int size) {
    const int end = pos + size;
    int p = pos + 2;
    const int n = r.u8(p);
    ++p;
    if (n <= 0 || n > 64 || p + (n + 1) * 2 > end)
        return;
    tap.centers.clear();
    for (int i = 0; i <= n; ++i)
        tap.centers.push_back(r.i16(p + i * 2));
    p += (n + 1) * 2;
    tap.cells.assign(size_t(n), Tc());
    // TC80 records follow when present (Word may leave trailing ones out).
    for (int i = 0; i < n && p + 20 <= end; ++i, p += 20) {
        Tc& c = tap.cells[size_t(i)];
        const int grf = r.u16(p);
        c.hMerge = (grf & 0x2) ? model::Merge::Continue
                               : ((grf & 0x1) ? model::Merge::Restart : model::Merge::None);
        c.vMerge = (grf & 0x20) ? ((grf & 0x40) ? model::Merge::Restart : model::Merge::Continue)
                                : model::Merge::None;
        const int va = (grf >> 7) & 3;
        c.valign = va <= 2 ? model::CellVerticalAlign(va) : model::CellVerticalAlign::Top;
        // A zero or nil line leaves the side to the table's borders.
        const unsigned bits[] = {model::SideTop, model::SideLeft, model::SideBottom,
                                 model::SideRight};
        model::Border* sides[] = {&c.top, &c.left, &c.bottom, &c.right};
        for (int s = 0; s < 4; ++s) {
            const quint32 v = r.u32(p + 4 + s * 4);
            *sides[s] = brc80(v);
            if (v != 0 && v != 0xFFFFFFFF)
                c.own |= bits[s];
        }
    }
}

// The table's six lines: top, left, bottom, right, inside horizontal and
// inside vertical, each a Brc80 (4 bytes) or a Brc (8 bytes).
void tableBorders(Tap& tap, const ByteReader& r, int pos, int size, bool old) {
    const int rec = old ? 4 : 8;
    if (r.u8(pos) < 6 * rec || size < 1 + 6 * rec)
        return;
    model::Border* lines[] = {&tap.borders.top,    &tap.borders.left,    &tap.borders.bottom,
                              &tap.borders.right,  &tap.borders.insideH, &tap.borders.insideV};
    for (int i = 0; i < 6; ++i) {
        const int at = pos + 1 + i * rec;
        *lines[i] = old ? brc80(r.u32(at)) : brc(r, at);
    }
}

// One line set on some sides of a range of cells; the cells then own them.
void setCellBorders(Tap& tap, const ByteReader& r, int pos, int size, bool old) {
    const int need = 3 + (old ? 4 : 8);
    if (r.u8(pos) < need || size < 1 + need)
        return;
    const int first = r.u8(pos + 1), lim = r.u8(pos + 2), which = r.u8(pos + 3);
    const model::Border line = old ? brc80(r.u32(pos + 4)) : brc(r, pos + 4);
    for (int i = first; i < lim && i < int(tap.cells.size()); ++i) {
        Tc& c = tap.cells[size_t(i)];
        if (which & 1)
            c.top = line;
        if (which & 2)
            c.left = line;
        if (which & 4)
            c.bottom = line;
        if (which & 8)
            c.right = line;
        c.own |= unsigned(which & 0xF);
    }
}

void shading(Tap& tap, const ByteReader& r, int pos, int size, bool old) {
    const int cb = r.u8(pos);
    const int rec = old ? 2 : 10;
    const int n = std::min<int>(cb, size - 1) / rec;
    for (int i = 0; i < n && i < int(tap.cells.size()); ++i) {
        const int p = pos + 1 + i * rec;
        model::Color c = model::kAutoColor;
        if (old) {
            const int v = r.u16(p);
            const int ipat = (v >> 10) & 0x3F;
            c = icoColor(ipat == 1 ? (v & 0x1F) : ((v >> 5) & 0x1F));
        } else {
            const int ipat = r.u16(p + 8);
            c = colorRef(ipat == 1 ? r.u32(p) : r.u32(p + 4));
        }
        tap.cells[size_t(i)].shading = c;
    }
}

} // namespace

void applyChp(Chp& chp, const QByteArray& grpprl, const PropertyContext& ctx, const Chp& style) {
    const ByteReader r(grpprl);
    model::CharFormat& f = chp.format;
    sprm::forEach(grpprl, [&](int op, int pos, int size) {
        switch (op) {
        case sprm::CFBold:
            f.bold = toggle(r.u8(pos), style.format.bold);
            break;
        case sprm::CFItalic:
            f.italic = toggle(r.u8(pos), style.format.italic);
            break;
        case sprm::CFStrike:
            f.strike = toggle(r.u8(pos), style.format.strike);
            break;
        case sprm::CFVanish:
            chp.vanish = toggle(r.u8(pos), style.vanish);
            break;
        case sprm::CKul:
            f.underline = underline(r.u8(pos));
            break;
        case sprm::CIss: {
            const int iss = r.u8(pos);
            f.valign = iss == 1   ? model::VerticalAlign::Superscript
                       : iss == 2 ? model::VerticalAlign::Subscript
                                  : model::VerticalAlign::Baseline;
            break;
        }
        case sprm::CHps:
            f.halfPoints = std::max(2, int(r.u16(pos)));
            break;
        case sprm::CDxaSpace:
            f.spacing = r.i16(pos);
            break;
        case sprm::CHpsKern:
            f.kerning = std::max(0, int(r.i16(pos)));
            break;
        case sprm::CIco:
            f.color = icoColor(r.u8(pos));
            break;
        case sprm::CCv:
            f.color = colorRef(r.u32(pos));
            break;
        case sprm::CHighlight:
            f.background = icoColor(r.u8(pos));
            break;
        case sprm::CShd80: {
            const int v = r.u16(pos);
            const int ipat = (v >> 10) & 0x3F;
            f.background = icoColor(ipat == 1 ? (v & 0x1F) : ((v >> 5) & 0x1F));
            break;
        }
        case sprm::CShd:
            if (size >= 11) {
                const int ipat = r.u16(pos + 9);
                f.background = colorRef(ipat == 1 ? r.u32(pos + 1) : r.u32(pos + 5));
            }
            break;
        case sprm::CRgFtc0:
            chp.ftcAscii = r.u16(pos);
            chp.fontAsciiSet = true;
            break;
        case sprm::CRgFtc1:
            chp.ftcEastAsia = r.u16(pos);
            chp.fontEastAsiaSet = true;
            break;
        case sprm::CRgFtc2:
            chp.ftcOther = r.u16(pos);
            break;
        case sprm::CFSpec:
            chp.special = r.u8(pos) != 0;
            break;
        case sprm::CFObj:
            chp.obj = r.u8(pos) != 0;
            break;
        case sprm::CFOle2:
            chp.obj = r.u8(pos) != 0;
            break;
        case sprm::CFData:
            chp.data = r.u8(pos) != 0;
            break;
        case sprm::CPicLocation:
            chp.picLocation = r.u32(pos);
            break;
        default:
            break;
        }
    });
    resolveFonts(chp, ctx);
}

void resolveFonts(Chp& chp, const PropertyContext& ctx) {
    auto name = [&](int i) {
        return i >= 0 && i < ctx.fontNames.size() ? ctx.fontNames[i] : QString();
    };
    if (chp.fontAsciiSet) {
        const QString n = name(chp.ftcAscii);
        if (!n.isEmpty())
            chp.format.font = n;
    }
    if (chp.fontEastAsiaSet) {
        const QString n = name(chp.ftcEastAsia);
        if (!n.isEmpty())
            chp.format.fontEastAsia = n;
    }
}

void applyPap(Pap& pap, const QByteArray& grpprl, const PropertyContext& ctx) {
    const ByteReader r(grpprl);
    model::ParaFormat& f = pap.format;
    sprm::forEach(grpprl, [&](int op, int pos, int size) {
        switch (op) {
        case sprm::PJc80:
        case sprm::PJc:
            f.align = alignment(r.u8(pos));
            break;
        case sprm::PDxaLeft80:
        case sprm::PDxaLeft:
            f.leftIndent = r.i16(pos);
            break;
        case sprm::PDxaRight80:
        case sprm::PDxaRight:
            f.rightIndent = r.i16(pos);
            break;
        case sprm::PDxaLeft180:
        case sprm::PDxaLeft1:
            f.firstLineIndent = r.i16(pos);
            break;
        case sprm::PDyaBefore:
            f.spaceBefore = r.u16(pos);
            break;
        case sprm::PDyaAfter:
            f.spaceAfter = r.u16(pos);
            break;
        case sprm::PDyaLine: {
            const int dya = r.i16(pos);
            if (r.i16(pos + 2)) {
                f.lineRule = model::LineRule::Auto;
                f.lineSpacing = dya;
            } else {
                f.lineRule = dya < 0 ? model::LineRule::Exact : model::LineRule::AtLeast;
                f.lineSpacing = std::abs(dya);
            }
            break;
        }
        case sprm::PFPageBreakBefore:
            f.pageBreakBefore = r.u8(pos) != 0;
            break;
        case sprm::PFKeep:
            f.keepTogether = r.u8(pos) != 0;
            break;
        case sprm::PFKeepFollow:
            f.keepWithNext = r.u8(pos) != 0;
            break;
        case sprm::PChgTabsPapx:
            changeTabs(f, r, pos, size, false);
            break;
        case sprm::PChgTabs:
            changeTabs(f, r, pos, size, true);
            break;
        case sprm::PIlvl:
            pap.ilvl = std::min<int>(r.u8(pos), 8);
            break;
        case sprm::PIlfo:
            pap.ilfo = r.i16(pos);
            break;
        case sprm::PFInTable:
            pap.inTable = r.u8(pos) != 0;
            break;
        case sprm::PFTtp:
            pap.ttp = r.u8(pos) != 0;
            break;
        case sprm::PItap:
            pap.itap = std::clamp(r.i32(pos), 0, 64);
            break;
        case sprm::PDtap:
            // The change comes from the file: add in 64 bits, then clamp.
            pap.itap = int(std::clamp<qint64>(qint64(pap.itap) + r.i32(pos), 0, 64));
            break;
        case sprm::PFInnerTableCell:
            pap.innerCell = r.u8(pos) != 0;
            break;
        case sprm::PFInnerTtp:
            pap.innerTtp = r.u8(pos) != 0;
            break;
        case sprm::PPc: {
            const int v = r.u8(pos);
            const int vert = (v >> 4) & 3, horz = (v >> 6) & 3;
            if (vert != 3)
                pap.frame.pcVert = vert;
            if (horz != 3)
                pap.frame.pcHorz = horz;
            pap.frame.any = true;
            break;
        }
        case sprm::PDxaAbs:
            pap.frame.x = r.i16(pos);
            pap.frame.any = true;
            break;
        case sprm::PDyaAbs:
            pap.frame.y = r.i16(pos);
            pap.frame.any = true;
            break;
        case sprm::PDxaWidth:
            pap.frame.width = r.i16(pos);
            pap.frame.any = true;
            break;
        case sprm::PWHeightAbs: {
            const int v = r.u16(pos);
            pap.frame.height = v & 0x7FFF;
            pap.frame.minHeight = (v & 0x8000) != 0;
            pap.frame.any = true;
            break;
        }
        case sprm::PWr:
            pap.frame.wrap = r.u8(pos);
            break;
        case sprm::PBrcTop80:
            pap.frame.border = brc80(r.u32(pos));
            break;
        case sprm::PBrcTop:
            if (size >= 9)
                pap.frame.border = brc(r, pos + 1);
            break;
        case sprm::PHugePapx:
            // The real list is in the Data stream; one level only.
            if (!ctx.data.isEmpty()) {
                const ByteReader d(ctx.data);
                const quint32 at = r.u32(pos);
                const int cb = d.u16(at);
                const QByteArray huge = d.mid(qint64(at) + 2, cb);
                if (!huge.isEmpty()) {
                    PropertyContext flat = ctx;
                    flat.data.clear();
                    applyPap(pap, huge, flat);
                }
            }
            break;
        // Table row properties, carried by the row's end mark.
        case sprm::TDefTable:
            defTable(pap.tap, r, pos, size);
            break;
        case sprm::TTableBorders80:
            tableBorders(pap.tap, r, pos, size, true);
            break;
        case sprm::TTableBorders:
            tableBorders(pap.tap, r, pos, size, false);
            break;
        case sprm::TSetBrc80:
            setCellBorders(pap.tap, r, pos, size, true);
            break;
        case sprm::TSetBrc:
            setCellBorders(pap.tap, r, pos, size, false);
            break;
        case sprm::TDefTableShd80:
            shading(pap.tap, r, pos, size, true);
            break;
        case sprm::TDefTableShd:
            shading(pap.tap, r, pos, size, false);
            break;
        case sprm::TJc90:
        case sprm::TJc:
            pap.tap.align = alignment(r.u16(pos));
            break;
        case sprm::TDxaGapHalf:
            pap.tap.gapHalf = r.i16(pos);
            break;
        case sprm::TDyaRowHeight:
            pap.tap.rowHeight = r.i16(pos);
            break;
        case sprm::TTableHeader:
            pap.tap.header = r.u8(pos) != 0;
            break;
        case sprm::TFCantSplit90:
        case sprm::TFCantSplit:
            pap.tap.cantSplit = r.u8(pos) != 0;
            break;
        case sprm::TVertMerge: {
            const int i = r.u8(pos + 1), v = r.u8(pos + 2);
            if (i < int(pap.tap.cells.size()))
                pap.tap.cells[size_t(i)].vMerge =
                    v == 3 ? model::Merge::Restart
                           : (v == 1 ? model::Merge::Continue : model::Merge::None);
            break;
        }
        case sprm::TVertAlign: {
            const int first = r.u8(pos + 1), lim = r.u8(pos + 2), va = r.u8(pos + 3);
            for (int i = first; i < lim && i < int(pap.tap.cells.size()); ++i)
                pap.tap.cells[size_t(i)].valign =
                    va <= 2 ? model::CellVerticalAlign(va) : model::CellVerticalAlign::Top;
            break;
        }
        default:
            break;
        }
    });
}

void applySep(Sep& sep, const QByteArray& grpprl) {
    const ByteReader r(grpprl);
    model::Section& s = sep.section;
    model::PageSetup& p = s.page;
    sprm::forEach(grpprl, [&](int op, int pos, int) {
        switch (op) {
        case sprm::SBkc: {
            static const model::SectionStart starts[] = {
                model::SectionStart::Continuous, model::SectionStart::NewColumn,
                model::SectionStart::NewPage, model::SectionStart::EvenPage,
                model::SectionStart::OddPage};
            const int v = r.u8(pos);
            s.start = v <= 4 ? starts[v] : model::SectionStart::NewPage;
            break;
        }
        case sprm::SFTitlePage:
            s.titlePage = r.u8(pos) != 0;
            break;
        case sprm::SBOrientation:
            p.orientation =
                r.u8(pos) == 2 ? model::Orientation::Landscape : model::Orientation::Portrait;
            break;
        case sprm::SXaPage:
            p.width = r.u16(pos);
            break;
        case sprm::SYaPage:
            p.height = r.u16(pos);
            break;
        case sprm::SDxaLeft:
            p.marginLeft = r.u16(pos);
            break;
        case sprm::SDxaRight:
            p.marginRight = r.u16(pos);
            break;
        case sprm::SDyaTop:
            p.marginTop = std::abs(r.i16(pos));
            break;
        case sprm::SDyaBottom:
            p.marginBottom = std::abs(r.i16(pos));
            break;
        case sprm::SDyaHdrTop:
            p.headerDistance = r.u16(pos);
            break;
        case sprm::SDyaHdrBottom:
            p.footerDistance = r.u16(pos);
            break;
        default:
            break;
        }
    });
}

} // namespace msdoc::rd
