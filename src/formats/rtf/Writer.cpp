// Writes the document model as RTF: a font, colour, style and list table,
// then the sections with their headers, footers, paragraphs, tables,
// pictures and fields, in the forms the reader reads back.
#include "Rtf.h"

#include "Document.h"
#include "ListNumbers.h"
#include "TextCodec.h"
#include "WriterParts.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QSet>

namespace rtf {

namespace {

using namespace model;

class Writer {
public:
    explicit Writer(const Document& d) : doc(d) {}
    std::optional<QByteArray> run(QString* error);

private:
    void collect(const std::vector<Block>& blocks);
    void collect(const std::vector<Inline>& content);
    int font(const QString& name);
    int colour(Color c);
    void header();
    void section(const Section& s, const Section* previous);
    void blocks(const std::vector<Block>& list, int depth, const Frame* frame = nullptr);
    void paragraph(const Paragraph& p, int depth, const Frame* frame, const char* end);
    void table(const Table& t, int depth);
    void rowDefinition(const Table& t, const TableRow& r);
    void content(const std::vector<Inline>& list);
    void inlineItem(const Inline& in);
    void picture(const Picture& p);
    void charFormat(const CharFormat& f);
    void paraFormat(const ParaFormat& f);
    void text(const QString& s);
    void literal(QByteArrayView b) { out.append(b.data(), b.size()); }
    void number(const char* word, qint64 v) {
        out.append('\\');
        out.append(word);
        out.append(QByteArray::number(v));
    }
    void flag(const char* word) {
        out.append('\\');
        out.append(word);
    }

    const Document& doc;
    QByteArray out;
    QStringList fonts;
    QHash<QString, int> fontIndex;
    QSet<QString> eastAsianFonts;
    std::vector<Color> colours;
    QStringList styles; // \s1 .. \sN
    QString failure;
    QHash<char16_t, QByteArray> fallbacks;
};

int Writer::font(const QString& name) {
    const auto it = fontIndex.constFind(name);
    if (it != fontIndex.cend())
        return *it;
    fonts << name;
    fontIndex.insert(name, int(fonts.size()) - 1);
    return int(fonts.size()) - 1;
}

int Writer::colour(Color c) {
    if (c == kAutoColor)
        return 0;
    for (size_t i = 0; i < colours.size(); ++i)
        if (colours[i] == c)
            return int(i) + 1;
    colours.push_back(c);
    return int(colours.size());
}

void Writer::collect(const std::vector<Inline>& list) {
    for (const Inline& in : list) {
        font(in.format.font);
        font(in.format.fontEastAsia);
        eastAsianFonts.insert(in.format.fontEastAsia);
        colour(in.format.color);
        colour(in.format.background);
        if (in.kind == Inline::Kind::Field)
            collect(in.field.result);
    }
}

void Writer::collect(const std::vector<Block>& list) {
    for (const Block& b : list) {
        switch (b.kind) {
        case Block::Kind::Paragraph: {
            const Paragraph& p = b.paragraph;
            font(p.markFormat.font);
            font(p.markFormat.fontEastAsia);
            eastAsianFonts.insert(p.markFormat.fontEastAsia);
            colour(p.markFormat.color);
            colour(p.markFormat.background);
            if (!p.format.styleName.isEmpty() && !styles.contains(p.format.styleName))
                styles << p.format.styleName;
            collect(p.content);
            break;
        }
        case Block::Kind::Table:
            for (const TableRow& r : b.table.rows)
                for (const TableCell& c : r.cells) {
                    colour(c.shading);
                    for (const Border* br : {&c.top, &c.left, &c.bottom, &c.right})
                        colour(br->color);
                    collect(c.blocks);
                }
            break;
        case Block::Kind::Frame:
            collect(b.frame.blocks);
            break;
        }
    }
}

void Writer::text(const QString& s) {
    int uc = 1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        switch (c) {
        case u'\\':
            literal("\\\\");
            continue;
        case u'{':
            literal("\\{");
            continue;
        case u'}':
            literal("\\}");
            continue;
        case kTab:
            literal("\\tab ");
            continue;
        case kLineBreak:
            literal("\\line ");
            continue;
        case kPageBreak:
            literal("\\page ");
            continue;
        case kColumnBreak:
            literal("\\column ");
            continue;
        case 0x00A0:
            literal("\\~");
            continue;
        case kSoftHyphen:
            literal("\\-");
            continue;
        case kNoBreakHyphen:
            literal("\\_");
            continue;
        default:
            break;
        }
        if (c >= 0x20 && c < 0x7F) {
            out.append(char(c));
            continue;
        }
        if (c < 0x20)
            continue; // other control characters have no place in text
        // Outside ASCII: the character, then what readers without Unicode
        // show instead: its Shift-JIS bytes, or "?".
        auto it = fallbacks.constFind(c);
        if (it == fallbacks.cend()) {
            QByteArray fb = "?";
            if (!QChar::isSurrogate(c)) {
                bool exact = false;
                const QByteArray sj = TextCodec::toCp932(QString(QChar(c)), &exact);
                if (exact && !sj.isEmpty())
                    fb = sj;
            }
            it = fallbacks.insert(c, fb);
        }
        if (it->size() != uc) {
            uc = int(it->size());
            number("uc", uc);
        }
        number("u", qint16(c));
        for (char b : *it) {
            if (b == '?') {
                out.append('?');
            } else {
                out.append("\\'");
                out.append(QByteArray(1, b).toHex());
            }
        }
    }
    if (uc != 1)
        literal("\\uc1 ");
}

void Writer::charFormat(const CharFormat& f) {
    literal("\\plain");
    const int lf = font(f.font), ef = font(f.fontEastAsia);
    number("hich\\af", lf);
    number("dbch\\af", ef);
    number("loch\\f", lf);
    number("fs", f.halfPoints);
    if (f.bold)
        flag("b");
    if (f.italic)
        flag("i");
    if (f.strike)
        flag("strike");
    if (f.hidden)
        flag("v");
    switch (f.underline) {
    case Underline::None:
        break;
    case Underline::Single:
        flag("ul");
        break;
    case Underline::Words:
        flag("ulw");
        break;
    case Underline::Double:
        flag("uldb");
        break;
    case Underline::Dotted:
        flag("uld");
        break;
    case Underline::Thick:
        flag("ulth");
        break;
    case Underline::Dash:
        flag("uldash");
        break;
    case Underline::Wave:
        flag("ulwave");
        break;
    }
    if (f.valign == VerticalAlign::Superscript)
        flag("super");
    else if (f.valign == VerticalAlign::Subscript)
        flag("sub");
    if (f.color != kAutoColor)
        number("cf", colour(f.color));
    if (f.background != kAutoColor)
        number("chcbpat", colour(f.background));
    if (f.spacing)
        number("expndtw", f.spacing);
    if (f.kerning)
        number("kerning", f.kerning);
    out.append(' ');
}

void Writer::paraFormat(const ParaFormat& f) {
    if (!f.styleName.isEmpty())
        number("s", styles.indexOf(f.styleName) + 1);
    switch (f.align) {
    case Alignment::Left:
        break;
    case Alignment::Center:
        flag("qc");
        break;
    case Alignment::Right:
        flag("qr");
        break;
    case Alignment::Justify:
        flag("qj");
        break;
    case Alignment::Distribute:
        flag("qd");
        break;
    }
    if (f.leftIndent)
        number("li", f.leftIndent);
    if (f.rightIndent)
        number("ri", f.rightIndent);
    if (f.firstLineIndent)
        number("fi", f.firstLineIndent);
    if (f.spaceBefore)
        number("sb", f.spaceBefore);
    if (f.spaceAfter)
        number("sa", f.spaceAfter);
    if (f.lineRule == LineRule::Auto && f.lineSpacing != 240) {
        number("sl", f.lineSpacing);
        literal("\\slmult1");
    } else if (f.lineRule == LineRule::AtLeast) {
        number("sl", f.lineSpacing);
        literal("\\slmult0");
    } else if (f.lineRule == LineRule::Exact) {
        number("sl", -f.lineSpacing);
        literal("\\slmult0");
    }
    if (f.pageBreakBefore)
        flag("pagebb");
    if (f.keepWithNext)
        flag("keepn");
    if (f.keepTogether)
        flag("keep");
    for (const TabStop& t : f.tabs) {
        static const char* const aligns[] = {"", "tqc", "tqr", "tqdec", ""};
        static const char* const leaders[] = {"", "tldot", "tlhyph", "tlul", "tlth", "tlmdot"};
        if (*aligns[int(t.align)])
            flag(aligns[int(t.align)]);
        if (*leaders[int(t.leader)])
            flag(leaders[int(t.leader)]);
        number(t.align == TabAlign::Bar ? "tb" : "tx", t.position);
    }
    if (f.listId > 0) {
        number("ls", f.listId);
        number("ilvl", f.listLevel);
    }
}

void Writer::picture(const Picture& p) {
    const char* kind = nullptr;
    QByteArray data = p.data;
    bool metafile = false;
    switch (p.type) {
    case ImageType::Png:
        kind = "pngblip";
        break;
    case ImageType::Jpeg:
        kind = "jpegblip";
        break;
    case ImageType::Emf:
        kind = "emfblip";
        metafile = true;
        break;
    case ImageType::Wmf:
        kind = "wmetafile8";
        metafile = true;
        // RTF holds the metafile itself, without the placeable header.
        if (data.startsWith(QByteArray::fromHex("d7cdc69a")) && data.size() > 22)
            data = data.mid(22);
        break;
    case ImageType::Bmp:
        kind = "dibitmap0";
        if (data.startsWith("BM") && data.size() > 14)
            data = data.mid(14);
        break;
    default: {
        // GIF, TIFF and the like: RTF has no place for them, so they go out
        // as PNG when Qt can read them.
        QImage img;
        if (img.loadFromData(p.data)) {
            QByteArray png;
            QBuffer buf(&png);
            if (buf.open(QIODevice::WriteOnly) && img.save(&buf, "PNG")) {
                data = png;
                kind = "pngblip";
            }
        }
        break;
    }
    }
    if (!kind) {
        if (failure.isEmpty())
            failure = QStringLiteral("a picture in the document is of a kind RTF cannot hold "
                                     "(PNG, JPEG, BMP, EMF, WMF) and cannot be converted to PNG");
        return;
    }
    literal("{\\pict");
    flag(kind);
    const auto px = [&](Twips t) { return metafile ? qint64(t) * 2540 / 1440 : qint64(t) / 15; };
    number("picw", px(p.width));
    number("pich", px(p.height));
    number("picwgoal", p.width);
    number("pichgoal", p.height);
    number("picscalex", p.scaleX);
    number("picscaley", p.scaleY);
    literal("\r\n");
    const QByteArray hex = data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        out.append(hex.constData() + i, std::min<qsizetype>(128, hex.size() - i));
        literal("\r\n");
    }
    literal("}");
}

void Writer::inlineItem(const Inline& in) {
    switch (in.kind) {
    case Inline::Kind::Text:
        if (in.text.isEmpty())
            return;
        literal("{");
        charFormat(in.format);
        text(in.text);
        literal("}");
        return;
    case Inline::Kind::Note: {
        // The reference, then the note's text with its own copy of it. A
        // mark of its own is written as text before an unnumbered note.
        literal("{");
        charFormat(in.format);
        if (in.note.mark.isEmpty())
            literal("\\chftn");
        else
            text(in.note.mark);
        literal("}{\\footnote");
        if (in.note.kind == NoteKind::End)
            flag("ftnalt");
        literal("\\pard\\plain ");
        if (in.note.mark.isEmpty())
            literal("{\\super\\chftn}{ }");
        blocks(in.note.blocks, 0);
        literal("}");
        return;
    }
    case Inline::Kind::BookmarkStart:
    case Inline::Kind::BookmarkEnd:
        literal(in.kind == Inline::Kind::BookmarkStart ? "{\\*\\bkmkstart " : "{\\*\\bkmkend ");
        text(in.text);
        literal("}");
        return;
    case Inline::Kind::Field: {
        const Field& f = in.field;
        literal("{\\field");
        charFormat(in.format);
        literal("{\\*\\fldinst ");
        text(msdoc::wr::fieldInstruction(f));
        literal("}");
        literal("{\\*\\foliumfieldkind ");
        literal(QByteArray::number(f.kind) + ' ' + QByteArray::number(f.option));
        literal("}{\\fldrslt ");
        content(f.result);
        literal("}}");
        return;
    }
    case Inline::Kind::Picture: {
        const Picture& p = in.picture;
        literal("{");
        charFormat(in.format);
        if (!p.isFloating()) {
            picture(p);
            literal("}");
            return;
        }
        literal("{\\shp{\\*\\shpinst");
        number("shpleft", p.x);
        number("shptop", p.y);
        number("shpright", qint64(p.x) + p.shownWidth());
        number("shpbottom", qint64(p.y) + p.shownHeight());
        static const char* const bx[] = {"shpbxpage", "shpbxmargin", "shpbxcolumn", "shpbxignore"};
        static const char* const by[] = {"shpbypage", "shpbymargin", "shpbypara", "shpbyignore"};
        static const int relh[] = {1, 0, 2, 3}, relv[] = {1, 0, 2, 3};
        flag(bx[int(p.horizontalRelation)]);
        flag(by[int(p.verticalRelation)]);
        int wr = 3, wrk = 0;
        switch (p.wrap) {
        case Wrap::Around:
            wr = 2;
            break;
        case Wrap::Left:
            wr = 2, wrk = 1;
            break;
        case Wrap::Right:
            wr = 2, wrk = 2;
            break;
        case Wrap::TopBottom:
            wr = 1;
            break;
        default:
            break;
        }
        number("shpwr", wr);
        number("shpwrk", wrk);
        number("shpfblwtxt", p.behindText ? 1 : 0);
        literal("\\shpz0");
        auto prop = [&](const char* name, qint64 v) {
            literal("{\\sp{\\sn ");
            literal(name);
            literal("}{\\sv ");
            literal(QByteArray::number(v));
            literal("}}");
        };
        prop("shapeType", 75);
        prop("posrelh", relh[int(p.horizontalRelation)]);
        prop("posrelv", relv[int(p.verticalRelation)]);
        prop("fBehindDocument", p.behindText ? 1 : 0);
        for (const char* side :
             {"dxWrapDistLeft", "dxWrapDistRight", "dyWrapDistTop", "dyWrapDistBottom"})
            prop(side, qint64(p.wrapDistance) * 635);
        literal("{\\sp{\\sn pib}{\\sv ");
        picture(p);
        literal("}}}}}");
        return;
    }
    }
}

void Writer::content(const std::vector<Inline>& list) {
    for (const Inline& in : list)
        inlineItem(in);
}

void Writer::paragraph(const Paragraph& p, int depth, const Frame* frame, const char* end) {
    literal("\\pard\\plain ");
    paraFormat(p.format);
    if (depth > 0) {
        flag("intbl");
        if (depth > 1)
            number("itap", depth);
    }
    if (frame) {
        number("absw", frame->width);
        if (frame->heightRule != HeightRule::Auto)
            number("absh", frame->heightRule == HeightRule::Exact ? -frame->height : frame->height);
        static const char* const h[] = {"phpg", "phmrg", "phcol", "phcol"};
        static const char* const v[] = {"pvpg", "pvmrg", "pvpara", "pvpara"};
        flag(h[int(frame->horizontalRelation)]);
        flag(v[int(frame->verticalRelation)]);
        number("posx", frame->x);
        number("posy", frame->y);
        if (!frame->wrapAround)
            flag("nowrap");
    }
    charFormat(p.markFormat);
    content(p.content);
    literal(end);
    literal("\r\n");
}

void Writer::blocks(const std::vector<Block>& list, int depth, const Frame* frame) {
    for (const Block& b : list) {
        switch (b.kind) {
        case Block::Kind::Paragraph:
            paragraph(b.paragraph, depth, frame, "\\par");
            break;
        case Block::Kind::Table:
            table(b.table, depth + 1);
            break;
        case Block::Kind::Frame:
            blocks(b.frame.blocks, depth, &b.frame);
            break;
        }
    }
}

void Writer::rowDefinition(const Table& t, const TableRow& r) {
    literal("\\trowd");
    number("trgaph", t.cellMargin);
    number("trleft", t.indent);
    if (t.align == Alignment::Center)
        flag("trqc");
    else if (t.align == Alignment::Right)
        flag("trqr");
    number("trpaddl", t.cellMargin);
    number("trpaddr", t.cellMargin);
    literal("\\trpaddfl3\\trpaddfr3");
    if (r.heightRule != HeightRule::Auto)
        number("trrh", r.heightRule == HeightRule::Exact ? -r.height : r.height);
    if (r.header)
        flag("trhdr");
    if (r.cantSplit)
        flag("trkeep");
    qint64 right = t.indent;
    for (const TableCell& c : r.cells) {
        if (c.verticalMerge == Merge::Restart)
            flag("clvmgf");
        else if (c.verticalMerge == Merge::Continue)
            flag("clvmrg");
        if (c.horizontalMerge == Merge::Restart)
            flag("clmgf");
        else if (c.horizontalMerge == Merge::Continue)
            flag("clmrg");
        if (c.valign == CellVerticalAlign::Center)
            flag("clvertalc");
        else if (c.valign == CellVerticalAlign::Bottom)
            flag("clvertalb");
        static const char* const sides[] = {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"};
        const Border* borders[] = {&c.top, &c.left, &c.bottom, &c.right};
        for (int i = 0; i < 4; ++i) {
            const Border& b = *borders[i];
            if (b.isNone())
                continue;
            flag(sides[i]);
            static const char* const styles[] = {"brdrnone", "brdrs",   "brdrth",
                                                 "brdrdb",   "brdrdot", "brdrdash"};
            flag(styles[int(b.style)]);
            number("brdrw", b.width);
            if (b.color != kAutoColor)
                number("brdrcf", colour(b.color));
            if (b.space)
                number("brsp", b.space);
        }
        if (c.shading != kAutoColor)
            number("clcbpat", colour(c.shading));
        right += c.width;
        number("cellx", right);
    }
}

void Writer::table(const Table& t, int depth) {
    for (const TableRow& r : t.rows) {
        if (depth == 1) {
            literal("\\pard");
            rowDefinition(t, r);
            literal("\r\n");
        }
        for (const TableCell& c : r.cells) {
            const char* end = depth == 1 ? "\\cell" : "\\nestcell";
            const std::vector<Block>& b = c.blocks;
            if (b.empty() || b.back().kind != Block::Kind::Paragraph) {
                blocks(b, depth);
                paragraph(Paragraph(), depth, nullptr, end);
                continue;
            }
            blocks(std::vector<Block>(b.begin(), b.end() - 1), depth);
            paragraph(b.back().paragraph, depth, nullptr, end);
        }
        if (depth == 1) {
            literal("\\pard\\intbl");
            rowDefinition(t, r);
            literal("\\row\r\n");
        } else {
            literal("\\pard\\intbl");
            number("itap", depth);
            literal("{\\*\\nesttableprops");
            rowDefinition(t, r);
            literal("\\nestrow}{\\nonesttables\\par}\r\n");
        }
    }
}

void Writer::section(const Section& s, const Section* previous) {
    literal("\\sectd");
    const PageSetup& p = s.page;
    number("pgwsxn", p.width);
    number("pghsxn", p.height);
    number("marglsxn", p.marginLeft);
    number("margrsxn", p.marginRight);
    number("margtsxn", p.marginTop);
    number("margbsxn", p.marginBottom);
    number("headery", p.headerDistance);
    number("footery", p.footerDistance);
    if (p.orientation == Orientation::Landscape)
        flag("lndscpsxn");
    switch (s.start) {
    case SectionStart::NewPage:
        break;
    case SectionStart::Continuous:
        flag("sbknone");
        break;
    case SectionStart::NewColumn:
        flag("sbkcol");
        break;
    case SectionStart::EvenPage:
        flag("sbkeven");
        break;
    case SectionStart::OddPage:
        flag("sbkodd");
        break;
    }
    if (s.titlePage)
        flag("titlepg");
    literal("\r\n");
    const std::pair<const char*, const std::vector<Block> Section::*> stories[] = {
        {"header", &Section::header},
        {"footer", &Section::footer},
        {"headerf", &Section::firstHeader},
        {"footerf", &Section::firstFooter}};
    for (const auto& [word, member] : stories) {
        const std::vector<Block>& b = s.*member;
        // A section takes over the headers of the one before unless it
        // names its own: an empty group says it has none.
        if (b.empty() && (!previous || (previous->*member).empty()))
            continue;
        literal("{");
        flag(word);
        literal(" ");
        blocks(b, 0);
        literal("}\r\n");
    }
    blocks(s.blocks, 0);
}

void Writer::header() {
    literal("{\\rtf1\\ansi\\ansicpg932\\deff0\\uc1");
    number("deftab", doc.defaultTabStop);
    literal("\r\n{\\fonttbl");
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        bool ascii = true;
        for (QChar c : fonts[i])
            if (c.unicode() >= 0x80)
                ascii = false;
        literal("{");
        number("f", i);
        literal("\\fnil");
        number("fcharset", !ascii || eastAsianFonts.contains(fonts[i]) ? 128 : 0);
        literal(" ");
        text(fonts[i]);
        literal(";}");
    }
    literal("}\r\n{\\colortbl;");
    for (Color c : colours) {
        number("red", red(c));
        number("green", green(c));
        number("blue", blue(c));
        literal(";");
    }
    literal("}\r\n{\\stylesheet{\\s0 Normal;}");
    for (qsizetype i = 0; i < styles.size(); ++i) {
        literal("{");
        number("s", i + 1);
        literal("\\sbasedon0\\snext0 ");
        text(styles[i]);
        literal(";}");
    }
    literal("}\r\n");
    if (!doc.lists.empty()) {
        literal("{\\*\\listtable");
        for (const ListDef& l : doc.lists) {
            literal("{\\list\\listtemplateid");
            out.append(QByteArray::number(l.id));
            for (const ListLevel& lv : l.levels) {
                literal("{\\listlevel");
                number("levelnfc", model::wordNumberCode(lv.format));
                number("levelnfcn", model::wordNumberCode(lv.format));
                literal("\\leveljc0");
                number("levelstartat", lv.start);
                // The level text: its length, then characters with 0 to 8
                // standing for the numbers of the levels.
                QString t;
                QList<int> places;
                for (qsizetype i = 0; i < lv.text.size(); ++i) {
                    if (lv.text[i] == u'%' && i + 1 < lv.text.size() && lv.text[i + 1] >= u'1' &&
                        lv.text[i + 1] <= u'9') {
                        places << int(t.size());
                        t += QChar(char16_t(lv.text[i + 1].unicode() - u'1'));
                        ++i;
                    } else {
                        t += lv.text[i];
                    }
                }
                literal("{\\leveltext");
                literal("\\'");
                out.append(QByteArray(1, char(t.size())).toHex());
                for (QChar c : t) {
                    if (c.unicode() < 9) {
                        literal("\\'");
                        out.append(QByteArray(1, char(c.unicode())).toHex());
                    } else {
                        text(QString(c));
                    }
                }
                literal(";}{\\levelnumbers");
                for (int p : places) {
                    literal("\\'");
                    out.append(QByteArray(1, char(p + 1)).toHex());
                }
                literal(";}");
                if (!lv.font.isEmpty())
                    number("f", font(lv.font));
                number("fi", -lv.hanging);
                number("li", lv.indent);
                literal("}");
            }
            number("listid", l.id);
            literal("}");
        }
        literal("}\r\n{\\*\\listoverridetable");
        for (const ListDef& l : doc.lists) {
            literal("{\\listoverride");
            number("listid", l.id);
            literal("\\listoverridecount0");
            number("ls", l.id);
            literal("}");
        }
        literal("}\r\n");
    }
    if (!doc.sections.empty()) {
        const PageSetup& p = doc.sections.front().page;
        number("paperw", p.width);
        number("paperh", p.height);
        number("margl", p.marginLeft);
        number("margr", p.marginRight);
        number("margt", p.marginTop);
        number("margb", p.marginBottom);
        literal("\r\n");
    }
}

std::optional<QByteArray> Writer::run(QString* error) {
    font(defaultFontName());
    for (const ListDef& l : doc.lists)
        for (const ListLevel& lv : l.levels)
            if (!lv.font.isEmpty())
                font(lv.font);
    for (const Section& s : doc.sections) {
        collect(s.header);
        collect(s.footer);
        collect(s.firstHeader);
        collect(s.firstFooter);
        collect(s.blocks);
    }
    // The body first: the tables it needs are known once it is written.
    QByteArray body;
    std::swap(out, body);
    for (size_t i = 0; i < doc.sections.size(); ++i) {
        if (i > 0)
            literal("\\sect\r\n");
        section(doc.sections[i], i > 0 ? &doc.sections[i - 1] : nullptr);
    }
    std::swap(out, body);
    header();
    out += body;
    literal("}\r\n");
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    return out;
}

} // namespace

std::optional<QByteArray> write(const model::Document& doc, QString* error) {
    return Writer(doc).run(error);
}

} // namespace rtf
