#include "Reader.h"

#include "Notes.h"

#include "Rtf.h"
#include "StoryReader.h"
#include "Text.h"
#include "TextCodec.h"

#include <algorithm>

namespace rtf {

namespace rd {

namespace {

// What one model element is counted as against the budget.
constexpr qint64 kInlineCost = sizeof(model::Inline);
constexpr qint64 kBlockCost = sizeof(model::Block);

QString decode(const QByteArray& bytes, int cp) {
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(bytes);
    if (cp == 932)
        return TextCodec::fromCp932(bytes);
    return TextCodec::fromCodePage(bytes, cp);
}

// Adds a bitmap file header to the bytes of a device-independent bitmap.
QByteArray bitmapFile(const QByteArray& dib) {
    if (dib.size() < 40)
        return dib;
    auto u32 = [&](int at) {
        return quint32(quint8(dib[at])) | quint32(quint8(dib[at + 1])) << 8 |
               quint32(quint8(dib[at + 2])) << 16 | quint32(quint8(dib[at + 3])) << 24;
    };
    const quint32 headerSize = u32(0);
    const int bits = quint8(dib[14]) | quint8(dib[15]) << 8;
    const quint32 used = u32(32);
    const quint32 compression = u32(16);
    quint64 palette = used ? used : (bits <= 8 ? (1u << bits) : 0);
    quint64 offset = 14 + quint64(headerSize) + palette * 4;
    if (compression == 3 && headerSize == 40)
        offset += 12;
    if (offset > quint64(dib.size()) + 14)
        offset = 14 + headerSize;
    QByteArray out("BM");
    auto put = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    put(quint32(dib.size() + 14));
    put(0);
    put(quint32(offset));
    out.append(dib);
    return out;
}

} // namespace

Reader::Reader(const QByteArray& bytes)
    : bytes(bytes), tok(bytes), budget((qint64(32) << 20) + 16 * qint64(bytes.size())) {
    stack.reserve(kMaxDepth + 1);
    State root;
    plain(root);
    pard(root);
    stack.push_back(root);
    stories.emplace_back();
}

std::optional<model::Document> Reader::run(QString* error) {
    qsizetype start = 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\r' ||
                                    bytes[start] == '\n' || bytes[start] == '\t'))
        ++start;
    if (!bytes.mid(start, 5).startsWith("{\\rtf")) {
        if (error)
            *error = QStringLiteral("not an RTF file (it does not begin with {\\rtf)");
        return std::nullopt;
    }
    // Everything outside the outermost group is ignored.
    int depth = 0;
    bool started = false;
    for (Token t = tok.next(); t.kind != Token::Kind::End; t = tok.next()) {
        if (budget.exhausted())
            break;
        if (t.kind != Token::Kind::Text && t.kind != Token::Kind::Hex)
            flush();
        switch (t.kind) {
        case Token::Kind::Open:
            ++depth;
            started = true;
            open();
            break;
        case Token::Kind::Close:
            if (depth == 0)
                break; // a closing brace too many
            if (--depth == 0 && started)
                goto done; // the document's group ends
            close();
            break;
        case Token::Kind::Word:
            word(t);
            break;
        case Token::Kind::Symbol:
            symbol(t.symbol);
            break;
        case Token::Kind::Hex:
            hex(t.byte);
            break;
        case Token::Kind::Binary:
            binary(t.word);
            break;
        case Token::Kind::Text:
            text(t.word);
            break;
        case Token::Kind::End:
            break;
        }
    }
done:
    flush();
    // Groups left open at the end of the file are closed.
    while (stack.size() > 1)
        close();
    if (budget.exhausted()) {
        if (error)
            *error = QStringLiteral("the file would need more memory than any document of its "
                                    "size (%1 bytes)")
                         .arg(bytes.size());
        return std::nullopt;
    }
    endSection();
    // Lists by their \ls numbers, the numbers the paragraphs use.
    for (auto it = lsToList.cbegin(); it != lsToList.cend(); ++it) {
        if (!listDefs.contains(it.value()))
            continue;
        model::ListDef d = listDefs.value(it.value());
        d.id = it.key();
        doc.lists.push_back(d);
    }
    std::sort(doc.lists.begin(), doc.lists.end(),
              [](const model::ListDef& a, const model::ListDef& b) { return a.id < b.id; });
    model::normalize(doc);
    return std::move(doc);
}

void Reader::open() {
    skip = 0;
    if (stack.size() > size_t(kMaxDepth)) {
        ++overflow;
        return;
    }
    State s = stack.back();
    s.ownsField = s.ownsShape = s.ownsStory = false;
    s.ownsLevel = s.ownsList = s.ownsOverride = false;
    s.borderSide = -1;
    stack.push_back(std::move(s));
}

void Reader::close() {
    skip = 0;
    ignorableNext = false;
    if (overflow > 0) {
        --overflow;
        return;
    }
    if (stack.size() <= 1)
        return;
    State closing = std::move(stack.back());
    stack.pop_back();
    finishGroup(closing);
}

void Reader::finishGroup(State& closing) {
    const Dest parent = st().dest;
    switch (closing.dest) {
    case Dest::FontTable:
        if (parent != Dest::FontTable)
            finishFont();
        break;
    case Dest::StyleEntry:
        if (parent != Dest::StyleEntry)
            finishStyle(closing);
        break;
    case Dest::Pict:
        if (parent != Dest::Pict)
            finishPicture();
        break;
    case Dest::BookmarkStart:
    case Dest::BookmarkEnd:
        if (parent != closing.dest) {
            const QString name = styleName.trimmed();
            styleName.clear();
            if (!name.isEmpty() && spend(kInlineCost))
                place(model::Inline::makeBookmark(name, closing.dest == Dest::BookmarkStart));
        }
        break;
    case Dest::ShapeName:
        if (parent != Dest::ShapeName && !shapes.empty())
            shapes.back().name = shapes.back().value.trimmed(), shapes.back().value.clear();
        break;
    case Dest::ShapeValue:
        if (parent != Dest::ShapeValue && !shapes.empty()) {
            ShapeBuild& sh = shapes.back();
            sh.props.insert(sh.name, sh.value.trimmed());
            sh.value.clear();
        }
        break;
    default:
        break;
    }
    if (closing.ownsLevel)
        finishListLevel();
    if (closing.ownsList)
        finishList();
    if (closing.ownsOverride && overrideLs > 0) {
        lsToList.insert(overrideLs, overrideListId);
        overrideLs = overrideListId = 0;
    }
    if (closing.ownsStory)
        finishStory(closing);
    if (closing.ownsField)
        finishField(closing);
    if (closing.ownsShape)
        finishShape();
}

void Reader::flush() {
    if (pending.isEmpty())
        return;
    const QByteArray b = std::move(pending);
    pending.clear();
    deliver(decode(b, pendingCp));
}

int Reader::codePage() const {
    const State& s = st();
    if (s.dest == Dest::FontTable)
        return fontCp ? fontCp : fontCharsetCp;
    const int f = s.mode == CharMode::Double && s.eaFont >= 0 ? s.eaFont : s.font;
    const auto it = std::lower_bound(fonts.begin(), fonts.end(), f,
                                     [](const auto& p, int i) { return p.first < i; });
    if (it != fonts.end() && it->first == f)
        return it->second.codePage;
    return ansiCp;
}

void Reader::text(QByteArrayView b) {
    if (skip > 0) {
        const qsizetype n = std::min<qsizetype>(skip, b.size());
        skip -= int(n);
        b = b.sliced(n);
    }
    if (b.isEmpty())
        return;
    const Dest d = st().dest;
    if (d == Dest::Skip)
        return;
    if (d == Dest::Pict) {
        if (!pict)
            return;
        for (char c : b) {
            int v = -1;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            if (v < 0)
                continue;
            if (pict->nibble < 0) {
                pict->nibble = v;
            } else {
                pict->data.append(char(pict->nibble * 16 + v));
                pict->nibble = -1;
            }
        }
        return;
    }
    if (d == Dest::ListLevelText && levelBuild) {
        levelBuild->textBytes.append(b.data(), b.size());
        return;
    }
    const int cp = codePage();
    if (!pending.isEmpty() && cp != pendingCp)
        flush();
    pendingCp = cp;
    pending.append(b.data(), b.size());
}

void Reader::hex(unsigned char b) {
    if (skip > 0) {
        --skip;
        return;
    }
    const Dest d = st().dest;
    if (d == Dest::Pict && pict) {
        // Not hex digits but a byte: taken as one.
        pict->data.append(char(b));
        return;
    }
    if (d == Dest::ListLevelText && levelBuild) {
        levelBuild->textBytes.append(char(b));
        return;
    }
    const char c = char(b);
    text(QByteArrayView(&c, 1));
}

void Reader::binary(QByteArrayView b) {
    if (st().dest == Dest::Pict && pict && spend(b.size()))
        pict->data.append(b.data(), b.size());
}

void Reader::unicode(int value) {
    flush();
    skip = st().uc;
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xFFFF)
        return;
    if (st().dest == Dest::ListLevelText && levelBuild) {
        // Level texts are read as bytes below; a Unicode character there is
        // kept as a UTF-16 marker pair.
        levelBuild->textBytes.append('\x7F');
        levelBuild->textBytes.append(char(value & 0xFF));
        levelBuild->textBytes.append(char(value >> 8));
        return;
    }
    deliver(QString(QChar(char16_t(value))));
}

void Reader::deliver(const QString& s) {
    State& state = st();
    switch (state.dest) {
    case Dest::Body:
    case Dest::Story:
    case Dest::ShapeText:
        bodyText(s);
        break;
    case Dest::FontTable:
        fontText += s;
        if (fontText.contains(u';')) {
            fontText = fontText.section(u';', 0, 0);
            finishFont();
        }
        break;
    case Dest::ColorTable:
        for (QChar c : s)
            if (c == u';') {
                colors.push_back(colorSet ? model::rgb(red, green, blue) : model::kAutoColor);
                red = green = blue = 0;
                colorSet = false;
                if (!spend(sizeof(model::Color)))
                    return;
            }
        break;
    case Dest::StyleEntry:
        styleName += s;
        break;
    case Dest::FieldInst:
        if (state.field >= 0 && size_t(state.field) < fields.size() && spend(s.size() * 2))
            fields[size_t(state.field)].instruction += s;
        break;
    case Dest::BookmarkStart:
    case Dest::BookmarkEnd:
        if (styleName.size() < 1000)
            styleName += s;
        break;
    case Dest::ShapeName:
    case Dest::ShapeValue:
        if (!shapes.empty() && shapes.back().value.size() < 100000)
            shapes.back().value += s;
        break;
    case Dest::FieldKind:
        if (state.field >= 0 && size_t(state.field) < fields.size() &&
            fields[size_t(state.field)].kindText.size() < 100)
            fields[size_t(state.field)].kindText += s;
        break;
    default:
        break;
    }
}

void Reader::bodyText(const QString& s) {
    if (s.isEmpty() || !spend(s.size() * 2))
        return;
    model::CharFormat f = st().chp;
    if (st().result >= 0) {
        // Into the result of the innermost field that is still a field.
        for (int i = st().result; i >= 0; --i) {
            FieldBuild& fb = fields[size_t(i)];
            if (fb.flattened)
                continue;
            if (!fb.result.empty() && fb.result.back().kind == model::Inline::Kind::Text &&
                fb.result.back().format == f) {
                fb.result.back().text += s;
            } else if (spend(kInlineCost)) {
                fb.result.push_back(model::Inline::makeText(s, f));
            }
            return;
        }
    }
    StoryBuild& sb = story();
    auto& c = sb.para.content;
    if (c.empty() || c.back().kind != model::Inline::Kind::Text || !(c.back().format == f)) {
        if (!spend(kInlineCost))
            return;
    }
    sb.para.addText(s, f);
    sb.paraStarted = true;
}

void Reader::place(const model::Inline& in) {
    if (st().result >= 0) {
        for (int i = st().result; i >= 0; --i) {
            if (fields[size_t(i)].flattened)
                continue;
            fields[size_t(i)].result.push_back(in);
            return;
        }
    }
    StoryBuild& sb = story();
    sb.para.content.push_back(in);
    sb.paraStarted = true;
}

std::vector<model::Block>& Reader::container(StoryBuild& s, int depth, bool** open) {
    if (depth <= 0 || s.levels.empty()) {
        *open = &s.tableOpen;
        return s.blocks;
    }
    const size_t i = size_t(std::min<int>(depth, int(s.levels.size()))) - 1;
    *open = &s.levels[i].tableOpen;
    return s.levels[i].cell;
}

void Reader::addBlock(model::Block b, int depth) {
    StoryBuild& s = story();
    bool* open = nullptr;
    std::vector<model::Block>& list = container(s, depth, &open);
    *open = false;
    // Paragraphs of a frame: consecutive ones with the same position share it.
    const FrameProps& fp = st().frame;
    if (fp.on && b.kind == model::Block::Kind::Paragraph) {
        model::Frame f;
        f.x = fp.x;
        f.y = fp.y;
        f.width = fp.width;
        f.height = fp.height < 0 ? -fp.height : fp.height;
        f.heightRule = fp.height < 0   ? model::HeightRule::Exact
                       : fp.height > 0 ? model::HeightRule::AtLeast
                                       : model::HeightRule::Auto;
        f.horizontalRelation = fp.h;
        f.verticalRelation = fp.v;
        f.wrapAround = fp.wrap;
        if (!list.empty() && list.back().kind == model::Block::Kind::Frame) {
            model::Frame& last = list.back().frame;
            model::Frame probe = f;
            probe.border = last.border;
            probe.blocks = last.blocks;
            if (probe == last) {
                last.blocks.push_back(std::move(b));
                return;
            }
        }
        f.blocks.push_back(std::move(b));
        list.push_back(model::Block::makeFrame(f));
        return;
    }
    list.push_back(std::move(b));
}

void Reader::endParagraph() {
    StoryBuild& s = story();
    if (!spend(kBlockCost))
        return;
    State& state = st();
    model::Paragraph p = std::move(s.para);
    s.para = model::Paragraph();
    s.paraStarted = false;
    s.anything = true;
    p.format = state.pap;
    p.markFormat = state.chp;
    const int depth = state.inTable ? std::max(1, state.itap) : 0;
    if (depth > 0) {
        while (int(s.levels.size()) < std::min(depth, kMaxTableDepth))
            s.levels.emplace_back();
    }
    addBlock(model::Block::makeParagraph(p), depth);
}

void Reader::endCell(int depth) {
    StoryBuild& s = story();
    depth = std::clamp(depth, 1, kMaxTableDepth);
    // The text before \cell is the cell's last paragraph.
    State& state = st();
    const bool inTable = state.inTable;
    const int itap = state.itap;
    state.inTable = true;
    state.itap = depth;
    endParagraph();
    state.inTable = inTable;
    state.itap = itap;
    while (int(s.levels.size()) < depth)
        s.levels.emplace_back();
    Level& l = s.levels[size_t(depth - 1)];
    if (!spend(sizeof(model::TableCell)))
        return;
    l.cells.push_back(std::move(l.cell));
    l.cell.clear();
    l.tableOpen = false;
}

void Reader::endRow(int depth) {
    StoryBuild& s = story();
    depth = std::clamp(depth, 1, kMaxTableDepth);
    while (int(s.levels.size()) < depth)
        s.levels.emplace_back();
    Level& l = s.levels[size_t(depth - 1)];
    if (s.paraStarted)
        endCell(depth); // text after the last \cell
    const RowDef& def = l.def;
    model::TableRow row;
    row.height = def.height < 0 ? -def.height : def.height;
    row.heightRule = def.height < 0   ? model::HeightRule::Exact
                     : def.height > 0 ? model::HeightRule::AtLeast
                                      : model::HeightRule::Auto;
    row.header = def.header;
    row.cantSplit = def.cantSplit;
    const size_t n = std::max(l.cells.size(), def.cells.size());
    if (!spend(qint64(n) * qint64(sizeof(model::TableCell) + kBlockCost)))
        return;
    model::Twips left = def.left;
    for (size_t i = 0; i < n; ++i) {
        model::TableCell cell;
        if (i < def.cells.size()) {
            cell = def.cells[i].props;
            cell.width = std::max(0, def.cells[i].right - left);
            left = def.cells[i].right;
        }
        if (i < l.cells.size())
            cell.blocks = std::move(l.cells[i]);
        if (cell.blocks.empty())
            cell.blocks.push_back(model::Block::makeParagraph({}));
        row.cells.push_back(std::move(cell));
    }
    l.cells.clear();
    l.cell.clear();
    // The row joins the table just before it, or starts one.
    bool* open = nullptr;
    std::vector<model::Block>& list = container(s, depth - 1, &open);
    if (!*open || list.empty() || list.back().kind != model::Block::Kind::Table) {
        model::Table t;
        t.align = def.align;
        t.indent = def.left;
        t.cellMargin = def.padLeft >= 0 ? def.padLeft : def.gap;
        list.push_back(model::Block::makeTable(t));
    }
    list.back().table.rows.push_back(std::move(row));
    *open = true;
    // Deeper levels belong to this row's cells and end with it.
    s.levels.resize(size_t(depth));
}

void Reader::endSection() {
    StoryBuild& body = stories[0];
    if (body.paraStarted)
        endParagraph();
    // Cells of a row that never ended still hold text: kept as paragraphs.
    for (Level& l : body.levels) {
        for (auto& cell : l.cells)
            for (auto& b : cell)
                body.blocks.push_back(std::move(b));
        for (auto& b : l.cell)
            body.blocks.push_back(std::move(b));
    }
    body.levels.clear();
    section.blocks = std::move(body.blocks);
    body.blocks.clear();
    body.tableOpen = false;
    if (section.blocks.empty())
        section.blocks.push_back(model::Block::makeParagraph({}));
    model::Section next = section;
    next.blocks.clear();
    doc.sections.push_back(std::move(section));
    section = std::move(next);
}

void Reader::finishFont() {
    if (fontIndex < 0)
        return;
    Font f;
    f.codePage = fontCp ? fontCp : fontCharsetCp;
    f.name = (fontText + decode(fontBytes, f.codePage)).trimmed();
    if (f.name.endsWith(u';'))
        f.name.chop(1);
    const auto it = std::lower_bound(fonts.begin(), fonts.end(), fontIndex,
                                     [](const auto& p, int i) { return p.first < i; });
    if (spend(sizeof(Font) + f.name.size() * 2)) {
        if (it != fonts.end() && it->first == fontIndex)
            it->second = f;
        else
            fonts.insert(it, {fontIndex, f});
    }
    fontIndex = -1;
    fontText.clear();
    fontBytes.clear();
    fontCp = 0;
    fontCharsetCp = ansiCp;
}

void Reader::finishStyle(State& closing) {
    Style s;
    s.name = styleName.trimmed();
    if (s.name.endsWith(u';'))
        s.name.chop(1);
    s.character = styleCharacter;
    s.chp = closing.chp;
    s.font = closing.font;
    s.eaFont = closing.eaFont;
    s.pap = closing.pap;
    s.pap.styleName = styleNumber == 0 && !styleCharacter ? QString() : s.name;
    if (spend(sizeof(Style) + s.name.size() * 2))
        (styleCharacter ? charStyles : paraStyles).insert(styleNumber, s);
    styleName.clear();
    styleNumber = 0;
    styleCharacter = false;
}

void Reader::finishPicture() {
    if (!pict)
        return;
    PictBuild p = std::move(*pict);
    pict.reset();
    if (p.data.isEmpty() || p.type == model::ImageType::Unknown)
        return;
    model::Picture pic;
    pic.type = p.type;
    pic.data = p.dib ? bitmapFile(p.data) : p.data;
    const bool metafile = p.type == model::ImageType::Wmf || p.type == model::ImageType::Emf;
    auto natural = [&](int goal, int pixels) {
        if (goal > 0)
            return goal;
        if (pixels <= 0)
            return 0;
        return metafile ? int(qint64(pixels) * 1440 / 2540) : int(qint64(pixels) * 15);
    };
    int pw = p.picw, ph = p.pich;
    if ((pw <= 0 || ph <= 0) && p.type == model::ImageType::Png && pic.data.size() >= 24) {
        auto be = [&](int at) {
            return int(quint32(quint8(pic.data[at])) << 24 |
                       quint32(quint8(pic.data[at + 1])) << 16 |
                       quint32(quint8(pic.data[at + 2])) << 8 | quint32(quint8(pic.data[at + 3])));
        };
        pw = std::clamp(be(16), 0, 100000);
        ph = std::clamp(be(20), 0, 100000);
    }
    pic.width = natural(p.goalw, pw);
    pic.height = natural(p.goalh, ph);
    pic.scaleX = p.scalex > 0 ? p.scalex : 100;
    pic.scaleY = p.scaley > 0 ? p.scaley : 100;
    if (!shapes.empty()) {
        // The picture of a shape: placed when the shape ends.
        if (!shapes.back().picture)
            shapes.back().picture = pic;
        return;
    }
    if (spend(kInlineCost))
        place(model::Inline::makePicture(pic, st().chp));
}

void Reader::finishShape() {
    if (shapes.empty())
        return;
    ShapeBuild sh = std::move(shapes.back());
    shapes.pop_back();
    auto prop = [&](const char* name, int fallback) {
        bool ok = false;
        const int v = sh.props.value(QString::fromLatin1(name)).toInt(&ok);
        return ok ? v : fallback;
    };
    if (sh.picture) {
        model::Picture pic = *sh.picture;
        pic.x = sh.left;
        pic.y = sh.top;
        const int w = sh.right - sh.left, h = sh.bottom - sh.top;
        if (pic.width <= 0 && w > 0)
            pic.width = w;
        if (pic.height <= 0 && h > 0)
            pic.height = h;
        switch (sh.wr) {
        case 1:
            pic.wrap = model::Wrap::TopBottom;
            break;
        case 2:
        case 4:
        case 5:
            pic.wrap = sh.wrk == 1   ? model::Wrap::Left
                       : sh.wrk == 2 ? model::Wrap::Right
                                     : model::Wrap::Around;
            break;
        default:
            pic.wrap = model::Wrap::Free;
            break;
        }
        pic.behindText = sh.below || prop("fBehindDocument", 0) != 0;
        if (pic.wrap != model::Wrap::Free)
            pic.behindText = false;
        const int relh = prop("posrelh", -1), relv = prop("posrelv", -1);
        using HR = model::HorizontalRelation;
        using VR = model::VerticalRelation;
        if (relh == 3)
            pic.horizontalRelation = HR::Character;
        else if (relh == 1 || sh.bx == 0)
            pic.horizontalRelation = HR::Page;
        else if (relh == 0 || sh.bx == 1)
            pic.horizontalRelation = HR::Margin;
        else
            pic.horizontalRelation = HR::Column;
        if (relv == 3)
            pic.verticalRelation = VR::Line;
        else if (relv == 1 || sh.by == 0)
            pic.verticalRelation = VR::Page;
        else if (relv == 0 || sh.by == 1)
            pic.verticalRelation = VR::Margin;
        else
            pic.verticalRelation = VR::Paragraph;
        pic.wrapDistance = prop("dxWrapDistLeft", 0) / 635;
        if (pic.width > 0 && w > 0)
            pic.scaleX = std::clamp(int((qint64(w) * 100 + pic.width / 2) / pic.width), 1, 10000);
        if (pic.height > 0 && h > 0)
            pic.scaleY = std::clamp(int((qint64(h) * 100 + pic.height / 2) / pic.height), 1, 10000);
        if (spend(kInlineCost))
            place(model::Inline::makePicture(pic, st().chp));
    } else if (sh.hasText && !sh.text.empty()) {
        model::Frame f;
        f.x = sh.left;
        f.y = sh.top;
        f.width = std::max(0, sh.right - sh.left);
        f.height = std::max(0, sh.bottom - sh.top);
        f.wrapAround = sh.wr != 1 && sh.wr != 3;
        f.blocks = std::move(sh.text);
        // A text box stands in the story as a block of its own.
        StoryBuild& s = story();
        if (s.paraStarted)
            endParagraph();
        bool* open = nullptr;
        container(s, st().inTable ? std::max(1, st().itap) : 0, &open)
            .push_back(model::Block::makeFrame(f));
        *open = false;
    }
}

void Reader::finishField(State& closing) {
    if (fields.empty())
        return;
    FieldBuild fb = std::move(fields.back());
    fields.pop_back();
    if (fb.flattened)
        return;
    model::Field f = msdoc::rd::makeField(fb.instruction.trimmed(), std::move(fb.result));
    if (f.type == model::FieldType::Other)
        f.instruction = fb.instruction;
    const QStringList k = fb.kindText.split(u' ', Qt::SkipEmptyParts);
    if (k.size() == 2) {
        bool ok1 = false, ok2 = false;
        const int kind = k[0].toInt(&ok1), option = k[1].toInt(&ok2);
        if (ok1 && ok2) {
            f.kind = kind;
            f.option = option;
        }
    }
    if (spend(kInlineCost))
        place(model::Inline::makeField(f, closing.chp));
}

void Reader::finishStory(State& closing) {
    StoryBuild sb = std::move(stories[size_t(closing.story)]);
    stories.erase(stories.begin() + closing.story, stories.end());
    if (sb.paraStarted) {
        // The last paragraph of a header or text box needs no \par: it is
        // ended in the story's own state.
        stories.push_back(std::move(sb));
        stack.push_back(closing);
        stack.back().story = int(stories.size()) - 1;
        endParagraph();
        stack.pop_back();
        sb = std::move(stories.back());
        stories.pop_back();
    }
    if (closing.dest == Dest::ShapeText) {
        if (!shapes.empty()) {
            shapes.back().hasText = true;
            for (auto& b : sb.blocks)
                shapes.back().text.push_back(std::move(b));
        }
        return;
    }
    std::vector<model::Block>* target = nullptr;
    switch (closing.storyKind) {
    case 1:
        target = &section.header;
        break;
    case 2:
        target = &section.footer;
        break;
    case 3:
        target = &section.firstHeader;
        break;
    case 4:
        target = &section.firstFooter;
        break;
    case 5:
    case 6: {
        // A note: its reference stands where the group did.
        model::Note note;
        note.kind = closing.storyKind == 5 ? model::NoteKind::Foot : model::NoteKind::End;
        note.blocks = std::move(sb.blocks);
        model::dropLeadingMark(note.blocks, {});
        if (spend(kInlineCost))
            place(model::Inline::makeNote(note, noteReference));
        noteReference = model::CharFormat();
        return;
    }
    default:
        return;
    }
    *target = std::move(sb.blocks);
}

void Reader::finishListLevel() {
    if (!levelBuild || !listBuild)
        return;
    ListLevelBuild lb = std::move(*levelBuild);
    levelBuild.reset();
    // The level text: a length, then characters where 0 to 8 stand for the
    // numbers of levels 1 to 9.
    const QByteArray& b = lb.textBytes;
    QString t;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(b[i]);
        if (c == 0x7F && i + 2 < b.size()) {
            t += QChar(char16_t(quint8(b[i + 1]) | quint8(b[i + 2]) << 8));
            i += 2;
        } else if (c < 9) {
            t += QStringLiteral("%%1").arg(int(c) + 1);
        } else if (c == ';') {
            break;
        } else {
            t += decode(QByteArray(1, char(c)), ansiCp);
        }
    }
    // The first character is the length.
    if (!t.isEmpty()) {
        if (t.startsWith(u'%') && t.size() >= 2 && t[1].isDigit())
            t = t.mid(2);
        else
            t = t.mid(1);
    }
    lb.level.text = t;
    if (listBuild->levels.size() < 9)
        listBuild->levels.push_back(lb.level);
}

void Reader::finishList() {
    if (!listBuild)
        return;
    if (spend(sizeof(model::ListDef) + 9 * sizeof(model::ListLevel)))
        listDefs.insert(listBuild->id, *listBuild);
    listBuild.reset();
}

} // namespace rd

std::optional<model::Document> read(const QByteArray& bytes, QString* error) {
    rd::Reader r(bytes);
    return r.run(error);
}

} // namespace rtf
