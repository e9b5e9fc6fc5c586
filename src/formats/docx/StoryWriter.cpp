#include "Writer.h"

#include "Vocab.h"
#include "WriterParts.h" // msdoc: the instruction text of a field

namespace docx::wr {

namespace {

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

const char* extensionOf(model::ImageType t) {
    switch (t) {
    case model::ImageType::Png:
        return "png";
    case model::ImageType::Jpeg:
        return "jpeg";
    case model::ImageType::Bmp:
        return "bmp";
    case model::ImageType::Gif:
        return "gif";
    case model::ImageType::Tiff:
        return "tiff";
    case model::ImageType::Emf:
        return "emf";
    case model::ImageType::Wmf:
        return "wmf";
    case model::ImageType::Unknown:
        break;
    }
    return "bin";
}

QString num(qint64 v) {
    return QString::number(v);
}

} // namespace

QString xmlSafe(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out += c;
            out += s[++i];
        } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
            out += c;
        }
    }
    return out;
}

QString PartRels::add(const QString& type, const QString& target, bool external) {
    const QString key = type + (external ? u'>' : u'=') + target;
    if (const auto it = ids.constFind(key); it != ids.cend())
        return *it;
    const QString id = QStringLiteral("rId%1").arg(rels.size() + 1);
    rels.push_back({id, type, target, external});
    ids.insert(key, id);
    return id;
}

QByteArray PartRels::xml() const {
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(QLatin1String(kRelNs));
    x.writeStartElement(QLatin1String(kRelNs), QStringLiteral("Relationships"));
    for (const Rel& r : rels) {
        x.writeStartElement(QLatin1String(kRelNs), QStringLiteral("Relationship"));
        x.writeAttribute(QStringLiteral("Id"), r.id);
        x.writeAttribute(QStringLiteral("Type"), QLatin1String(kRelBase) + r.type);
        x.writeAttribute(QStringLiteral("Target"), xmlSafe(r.target));
        if (r.external)
            x.writeAttribute(QStringLiteral("TargetMode"), QStringLiteral("External"));
        x.writeEndElement();
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

StoryWriter::StoryWriter(Package& pkg, PartRels& rels, QByteArray* out)
    : pkg(pkg), rels(rels), x(out) {}

void StoryWriter::begin(const char* root) {
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeNamespace(QLatin1String(kW), QStringLiteral("w"));
    x.writeNamespace(QLatin1String(kR), QStringLiteral("r"));
    x.writeNamespace(QLatin1String(kWp), QStringLiteral("wp"));
    x.writeNamespace(QLatin1String(kA), QStringLiteral("a"));
    x.writeNamespace(QLatin1String(kPic), QStringLiteral("pic"));
    x.writeStartElement(QLatin1String(kW), QLatin1String(root));
}

void StoryWriter::end() {
    x.writeEndElement();
    x.writeEndDocument();
}

void StoryWriter::beginBody() {
    x.writeStartElement(QLatin1String(kW), QStringLiteral("body"));
}

void StoryWriter::endBody() {
    x.writeEndElement();
}

void StoryWriter::val(const char* name, const QString& v) {
    x.writeEmptyElement(QLatin1String(kW), QLatin1String(name));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), v);
}

void StoryWriter::blocks(const std::vector<model::Block>& list, const model::Section* endOf,
                         const QStringList& refs) {
    for (size_t i = 0; i < list.size(); ++i) {
        const model::Block& b = list[i];
        const bool last = i + 1 == list.size();
        switch (b.kind) {
        case model::Block::Kind::Paragraph:
            paragraph(b.paragraph, nullptr, last ? endOf : nullptr, refs);
            break;
        case model::Block::Kind::Table:
            table(b.table);
            break;
        case model::Block::Kind::Frame:
            // A frame is its paragraphs, each positioned by the same frame
            // properties; tables inside it are written in the flow.
            for (const model::Block& fb : b.frame.blocks) {
                if (fb.kind == model::Block::Kind::Paragraph)
                    paragraph(fb.paragraph, &b.frame);
                else
                    blocks({fb});
            }
            break;
        }
        if (last && endOf && b.kind != model::Block::Kind::Paragraph)
            paragraph({}, nullptr, endOf, refs);
    }
    if (list.empty() && endOf)
        paragraph({}, nullptr, endOf, refs);
}

void StoryWriter::paragraph(const model::Paragraph& p, const model::Frame* frame,
                            const model::Section* endOf, const QStringList& refs) {
    x.writeStartElement(QLatin1String(kW), QStringLiteral("p"));
    paraProperties(p, frame, endOf, refs);
    if (const model::Note* note = noteMarkDue) {
        // A note's text starts with its copy of the reference mark.
        noteMarkDue = nullptr;
        const bool foot = note->kind == model::NoteKind::Foot;
        model::CharFormat sup;
        sup.valign = model::VerticalAlign::Superscript;
        x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
        runProperties(sup);
        if (note->mark.isEmpty())
            x.writeEmptyElement(QLatin1String(kW), foot ? QStringLiteral("footnoteRef")
                                                        : QStringLiteral("endnoteRef"));
        else
            x.writeTextElement(QLatin1String(kW), QStringLiteral("t"), xmlSafe(note->mark));
        x.writeEndElement();
        text(QStringLiteral(" "), {});
    }
    inlines(p.content, false);
    x.writeEndElement();
}

void StoryWriter::noteReference(const model::Inline& in) {
    // References stand in the main text only; elsewhere there is no note
    // part to point into and the reference is left out.
    if (!pkg.mainText)
        return;
    auto& list = in.note.kind == model::NoteKind::Foot ? pkg.footnotes : pkg.endnotes;
    list.push_back(&in.note);
    x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
    runProperties(in.format);
    x.writeEmptyElement(QLatin1String(kW), in.note.kind == model::NoteKind::Foot
                                               ? QStringLiteral("footnoteReference")
                                               : QStringLiteral("endnoteReference"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("id"), num(int(list.size())));
    if (!in.note.mark.isEmpty()) {
        x.writeAttribute(QLatin1String(kW), QStringLiteral("customMarkFollows"),
                         QStringLiteral("1"));
        x.writeStartElement(QLatin1String(kW), QStringLiteral("t"));
        x.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        x.writeCharacters(xmlSafe(in.note.mark));
        x.writeEndElement();
    }
    x.writeEndElement();
}

void StoryWriter::notes(model::NoteKind kind, const std::vector<const model::Note*>& list) {
    const QString element =
        kind == model::NoteKind::Foot ? QStringLiteral("footnote") : QStringLiteral("endnote");
    const auto separator = [&](int id, const char* type, const char* mark) {
        x.writeStartElement(QLatin1String(kW), element);
        x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QLatin1String(type));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("id"), num(id));
        x.writeStartElement(QLatin1String(kW), QStringLiteral("p"));
        x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
        x.writeEmptyElement(QLatin1String(kW), QLatin1String(mark));
        x.writeEndElement();
        x.writeEndElement();
        x.writeEndElement();
    };
    separator(-1, "separator", "separator");
    separator(0, "continuationSeparator", "continuationSeparator");
    static const std::vector<model::Block> empty{model::Block::makeParagraph({})};
    for (size_t i = 0; i < list.size(); ++i) {
        x.writeStartElement(QLatin1String(kW), element);
        x.writeAttribute(QLatin1String(kW), QStringLiteral("id"), num(int(i) + 1));
        const auto& blocks = list[i]->blocks;
        // The mark goes into the first paragraph; a note starting with a
        // table gets a paragraph of its own for it.
        const bool own = blocks.empty() || blocks.front().kind != model::Block::Kind::Paragraph;
        noteMarkDue = list[i];
        if (own)
            this->blocks(empty);
        if (!blocks.empty())
            this->blocks(blocks);
        noteMarkDue = nullptr;
        x.writeEndElement();
    }
}

void StoryWriter::border(const char* name, const model::Border& b) {
    if (b.isNone())
        return;
    x.writeEmptyElement(QLatin1String(kW), QLatin1String(name));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), wordOf(borderStyles(), b.style));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("sz"),
                     num(std::clamp(b.width * 8 / 20, 2, 96)));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("space"), num(std::max(0, b.space / 20)));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("color"), hexColor(b.color));
}

void StoryWriter::paraProperties(const model::Paragraph& p, const model::Frame* frame,
                                 const model::Section* endOf, const QStringList& refs) {
    const model::ParaFormat& f = p.format;
    const model::ParaFormat d;
    x.writeStartElement(QLatin1String(kW), QStringLiteral("pPr"));
    if (!f.styleName.isEmpty() && pkg.styleIds.contains(f.styleName))
        val("pStyle", pkg.styleIds.value(f.styleName));
    if (f.keepWithNext)
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("keepNext"));
    if (f.keepTogether)
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("keepLines"));
    if (f.pageBreakBefore)
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("pageBreakBefore"));
    if (frame) {
        const auto anchor = [](auto rel) {
            if (int(rel) == int(model::HorizontalRelation::Page))
                return QStringLiteral("page");
            if (int(rel) == int(model::HorizontalRelation::Margin))
                return QStringLiteral("margin");
            return QStringLiteral("text");
        };
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("framePr"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), num(frame->width));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("h"), num(frame->height));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("hRule"),
                         frame->heightRule == model::HeightRule::Exact ? QStringLiteral("exact")
                         : frame->heightRule == model::HeightRule::AtLeast
                             ? QStringLiteral("atLeast")
                             : QStringLiteral("auto"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("wrap"),
                         frame->wrapAround ? QStringLiteral("around")
                                           : QStringLiteral("notBeside"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("hAnchor"),
                         anchor(frame->horizontalRelation));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("vAnchor"),
                         anchor(frame->verticalRelation));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("x"), num(frame->x));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("y"), num(frame->y));
    }
    if (f.listId > 0) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("numPr"));
        val("ilvl", num(std::clamp(f.listLevel, 0, 8)));
        val("numId", num(f.listId));
        x.writeEndElement();
    }
    if (frame && !frame->border.isNone()) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("pBdr"));
        for (const char* side : {"top", "left", "bottom", "right"})
            border(side, frame->border);
        x.writeEndElement();
    }
    if (!f.tabs.empty()) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("tabs"));
        for (const model::TabStop& t : f.tabs) {
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("tab"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("val"),
                             wordOf(tabAligns(), t.align));
            if (t.leader != model::TabLeader::None)
                x.writeAttribute(QLatin1String(kW), QStringLiteral("leader"),
                                 wordOf(tabLeaders(), t.leader));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("pos"), num(t.position));
        }
        x.writeEndElement();
    }
    if (f.spaceBefore != d.spaceBefore || f.spaceAfter != d.spaceAfter ||
        f.lineSpacing != d.lineSpacing || f.lineRule != d.lineRule) {
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("spacing"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("before"), num(f.spaceBefore));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("after"), num(f.spaceAfter));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("line"), num(f.lineSpacing));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("lineRule"),
                         f.lineRule == model::LineRule::Auto      ? QStringLiteral("auto")
                         : f.lineRule == model::LineRule::AtLeast ? QStringLiteral("atLeast")
                                                                  : QStringLiteral("exact"));
    }
    if (f.leftIndent || f.rightIndent || f.firstLineIndent || f.listId > 0) {
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("ind"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("left"), num(f.leftIndent));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("right"), num(f.rightIndent));
        if (f.firstLineIndent < 0)
            x.writeAttribute(QLatin1String(kW), QStringLiteral("hanging"), num(-f.firstLineIndent));
        else
            x.writeAttribute(QLatin1String(kW), QStringLiteral("firstLine"),
                             num(f.firstLineIndent));
    }
    if (f.align != d.align)
        val("jc", wordOf(alignments(), f.align));
    runProperties(p.markFormat);
    if (endOf)
        sectionProperties(*endOf, refs);
    x.writeEndElement();
}

void StoryWriter::runProperties(const model::CharFormat& f) {
    const model::CharFormat d;
    x.writeStartElement(QLatin1String(kW), QStringLiteral("rPr"));
    if (f.font != d.font || f.fontEastAsia != d.fontEastAsia) {
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("rFonts"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("ascii"), xmlSafe(f.font));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("hAnsi"), xmlSafe(f.font));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("eastAsia"), xmlSafe(f.fontEastAsia));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("cs"), xmlSafe(f.font));
    }
    if (f.bold) {
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("b"));
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("bCs"));
    }
    if (f.italic) {
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("i"));
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("iCs"));
    }
    if (f.strike)
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("strike"));
    if (f.hidden)
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("vanish"));
    if (f.color != d.color)
        val("color", hexColor(f.color));
    if (f.spacing)
        val("spacing", num(f.spacing));
    if (f.kerning)
        val("kern", num(f.kerning));
    if (f.halfPoints != d.halfPoints) {
        val("sz", num(f.halfPoints));
        val("szCs", num(f.halfPoints));
    }
    if (f.underline != d.underline)
        val("u", wordOf(underlines(), f.underline));
    if (f.background != d.background) {
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("shd"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), QStringLiteral("clear"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("color"), QStringLiteral("auto"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("fill"), hexColor(f.background));
    }
    if (f.valign != model::VerticalAlign::Baseline)
        val("vertAlign", f.valign == model::VerticalAlign::Superscript
                             ? QStringLiteral("superscript")
                             : QStringLiteral("subscript"));
    x.writeEndElement();
}

void StoryWriter::inlines(const std::vector<model::Inline>& content, bool inHyperlink) {
    for (const model::Inline& in : content) {
        switch (in.kind) {
        case model::Inline::Kind::Text:
            text(in.text, in.format);
            break;
        case model::Inline::Kind::Picture:
            picture(in.picture, in.format);
            break;
        case model::Inline::Kind::Field:
            field(in, inHyperlink);
            break;
        case model::Inline::Kind::Note:
            noteReference(in);
            break;
        case model::Inline::Kind::BookmarkStart: {
            const int id = pkg.bookmarkId++;
            pkg.openBookmarks.insert(in.text, id);
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("bookmarkStart"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("id"), num(id));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("name"), xmlSafe(in.text));
            break;
        }
        case model::Inline::Kind::BookmarkEnd: {
            const auto it = pkg.openBookmarks.find(in.text);
            if (it == pkg.openBookmarks.end())
                break;
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("bookmarkEnd"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("id"), num(*it));
            pkg.openBookmarks.erase(it);
            break;
        }
        }
    }
}

void StoryWriter::fieldChar(const char* type, const model::CharFormat& f) {
    x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
    runProperties(f);
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("fldChar"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("fldCharType"), QLatin1String(type));
    x.writeEndElement();
}

void StoryWriter::field(const model::Inline& in, bool inHyperlink) {
    const model::Field& f = in.field;
    // Results first, as the reader meets them: the same order as the Word
    // 97-2003 writer's, so the editor's field kinds travel the same way.
    if (f.type == model::FieldType::Hyperlink && !inHyperlink && !f.target.isEmpty()) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("hyperlink"));
        if (f.target.startsWith(u'#'))
            x.writeAttribute(QLatin1String(kW), QStringLiteral("anchor"), xmlSafe(f.target.mid(1)));
        else
            x.writeAttribute(QLatin1String(kR), QStringLiteral("id"),
                             rels.add(QStringLiteral("hyperlink"), f.target, true));
        inlines(f.result, true);
        x.writeEndElement();
    } else {
        fieldChar("begin", in.format);
        x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
        runProperties(in.format);
        x.writeStartElement(QLatin1String(kW), QStringLiteral("instrText"));
        x.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        x.writeCharacters(xmlSafe(msdoc::wr::fieldInstruction(f)));
        x.writeEndElement();
        x.writeEndElement();
        fieldChar("separate", in.format);
        inlines(f.result, inHyperlink);
        fieldChar("end", in.format);
    }
    pkg.fieldKinds.push_back(f.kind * 1000 + f.option);
}

void StoryWriter::text(const QString& s, const model::CharFormat& f) {
    if (s.isEmpty())
        return;
    x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
    runProperties(f);
    QString chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        x.writeStartElement(QLatin1String(kW), QStringLiteral("t"));
        x.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        x.writeCharacters(xmlSafe(chunk));
        x.writeEndElement();
        chunk.clear();
    };
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const char* empty = nullptr;
        const char* breakType = nullptr;
        if (u == model::kTab)
            empty = "tab";
        else if (u == model::kLineBreak || u == u'\n' || u == u'\r')
            empty = "br";
        else if (u == model::kPageBreak)
            empty = "br", breakType = "page";
        else if (u == model::kColumnBreak)
            empty = "br", breakType = "column";
        else if (u == model::kNoBreakHyphen)
            empty = "noBreakHyphen";
        else if (u == model::kSoftHyphen)
            empty = "softHyphen";
        if (!empty) {
            chunk += c;
            continue;
        }
        flush();
        x.writeEmptyElement(QLatin1String(kW), QLatin1String(empty));
        if (breakType)
            x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QLatin1String(breakType));
    }
    flush();
    x.writeEndElement();
}

void StoryWriter::picture(const model::Picture& p, const model::CharFormat& f) {
    if (p.data.isEmpty())
        return;
    const QString ext = QLatin1String(extensionOf(p.type));
    const QString name = QStringLiteral("media/image%1.%2").arg(pkg.media.size() + 1).arg(ext);
    pkg.media.push_back({QStringLiteral("word/") + name, p.data});
    if (!pkg.mediaExtensions.contains(ext))
        pkg.mediaExtensions << ext;
    const QString rid = rels.add(QStringLiteral("image"), name);
    const int id = ++pkg.drawingId;
    const QString cx = num(qint64(std::max(1, p.shownWidth())) * kEmuPerTwip);
    const QString cy = num(qint64(std::max(1, p.shownHeight())) * kEmuPerTwip);
    const QString dist = num(qint64(std::max(0, p.wrapDistance)) * kEmuPerTwip);

    x.writeStartElement(QLatin1String(kW), QStringLiteral("r"));
    runProperties(f);
    x.writeStartElement(QLatin1String(kW), QStringLiteral("drawing"));
    const auto attr = [&](const char* n, const QString& v) {
        x.writeAttribute(QLatin1String(n), v);
    };
    if (!p.isFloating()) {
        x.writeStartElement(QLatin1String(kWp), QStringLiteral("inline"));
        for (const char* d : {"distT", "distB", "distL", "distR"})
            attr(d, QStringLiteral("0"));
    } else {
        x.writeStartElement(QLatin1String(kWp), QStringLiteral("anchor"));
        for (const char* d : {"distT", "distB", "distL", "distR"})
            attr(d, dist);
        attr("simplePos", QStringLiteral("0"));
        attr("relativeHeight", num(id));
        attr("behindDoc", p.behindText ? QStringLiteral("1") : QStringLiteral("0"));
        attr("locked", QStringLiteral("0"));
        attr("layoutInCell", QStringLiteral("1"));
        attr("allowOverlap", QStringLiteral("1"));
        x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("simplePos"));
        attr("x", QStringLiteral("0"));
        attr("y", QStringLiteral("0"));
        x.writeStartElement(QLatin1String(kWp), QStringLiteral("positionH"));
        attr("relativeFrom", QLatin1String(wordOf(horizontalRelations(), p.horizontalRelation)));
        x.writeTextElement(QLatin1String(kWp), QStringLiteral("posOffset"),
                           num(qint64(p.x) * kEmuPerTwip));
        x.writeEndElement();
        x.writeStartElement(QLatin1String(kWp), QStringLiteral("positionV"));
        attr("relativeFrom", QLatin1String(wordOf(verticalRelations(), p.verticalRelation)));
        x.writeTextElement(QLatin1String(kWp), QStringLiteral("posOffset"),
                           num(qint64(p.y) * kEmuPerTwip));
        x.writeEndElement();
    }
    x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("extent"));
    attr("cx", cx);
    attr("cy", cy);
    x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("effectExtent"));
    for (const char* e : {"l", "t", "r", "b"})
        attr(e, QStringLiteral("0"));
    if (p.isFloating()) {
        switch (p.wrap) {
        case model::Wrap::TopBottom:
            x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("wrapTopAndBottom"));
            break;
        case model::Wrap::Free:
            x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("wrapNone"));
            break;
        default:
            x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("wrapSquare"));
            attr("wrapText", p.wrap == model::Wrap::Left    ? QStringLiteral("left")
                             : p.wrap == model::Wrap::Right ? QStringLiteral("right")
                                                            : QStringLiteral("bothSides"));
        }
    }
    x.writeEmptyElement(QLatin1String(kWp), QStringLiteral("docPr"));
    attr("id", num(id));
    attr("name", QStringLiteral("Picture %1").arg(id));
    x.writeStartElement(QLatin1String(kA), QStringLiteral("graphic"));
    x.writeStartElement(QLatin1String(kA), QStringLiteral("graphicData"));
    attr("uri", QLatin1String(kPic));
    x.writeStartElement(QLatin1String(kPic), QStringLiteral("pic"));
    x.writeStartElement(QLatin1String(kPic), QStringLiteral("nvPicPr"));
    x.writeEmptyElement(QLatin1String(kPic), QStringLiteral("cNvPr"));
    attr("id", num(id));
    attr("name", name.mid(6));
    x.writeEmptyElement(QLatin1String(kPic), QStringLiteral("cNvPicPr"));
    x.writeEndElement();
    x.writeStartElement(QLatin1String(kPic), QStringLiteral("blipFill"));
    x.writeEmptyElement(QLatin1String(kA), QStringLiteral("blip"));
    x.writeAttribute(QLatin1String(kR), QStringLiteral("embed"), rid);
    x.writeStartElement(QLatin1String(kA), QStringLiteral("stretch"));
    x.writeEmptyElement(QLatin1String(kA), QStringLiteral("fillRect"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(QLatin1String(kPic), QStringLiteral("spPr"));
    x.writeStartElement(QLatin1String(kA), QStringLiteral("xfrm"));
    x.writeEmptyElement(QLatin1String(kA), QStringLiteral("off"));
    attr("x", QStringLiteral("0"));
    attr("y", QStringLiteral("0"));
    x.writeEmptyElement(QLatin1String(kA), QStringLiteral("ext"));
    attr("cx", cx);
    attr("cy", cy);
    x.writeEndElement();
    x.writeStartElement(QLatin1String(kA), QStringLiteral("prstGeom"));
    attr("prst", QStringLiteral("rect"));
    x.writeEmptyElement(QLatin1String(kA), QStringLiteral("avLst"));
    x.writeEndElement();
    x.writeEndElement(); // spPr
    x.writeEndElement(); // pic
    x.writeEndElement(); // graphicData
    x.writeEndElement(); // graphic
    x.writeEndElement(); // inline / anchor
    x.writeEndElement(); // drawing
    x.writeEndElement(); // r
}

void StoryWriter::table(const model::Table& t) {
    x.writeStartElement(QLatin1String(kW), QStringLiteral("tbl"));
    x.writeStartElement(QLatin1String(kW), QStringLiteral("tblPr"));
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("tblW"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), QStringLiteral("0"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QStringLiteral("auto"));
    if (t.align != model::Alignment::Left)
        val("jc", wordOf(alignments(), t.align));
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("tblInd"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), num(t.indent));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QStringLiteral("dxa"));
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("tblLayout"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QStringLiteral("fixed"));
    x.writeStartElement(QLatin1String(kW), QStringLiteral("tblCellMar"));
    for (const char* side : {"left", "right"}) {
        x.writeEmptyElement(QLatin1String(kW), QLatin1String(side));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), num(t.cellMargin));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QStringLiteral("dxa"));
    }
    x.writeEndElement();
    x.writeEndElement(); // tblPr
    // The grid: the cells of the widest row.
    const model::TableRow* widest = nullptr;
    for (const model::TableRow& r : t.rows)
        if (!widest || r.cells.size() > widest->cells.size())
            widest = &r;
    x.writeStartElement(QLatin1String(kW), QStringLiteral("tblGrid"));
    if (widest)
        for (const model::TableCell& c : widest->cells) {
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("gridCol"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), num(std::max(0, c.width)));
        }
    x.writeEndElement();
    for (const model::TableRow& r : t.rows) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("tr"));
        x.writeStartElement(QLatin1String(kW), QStringLiteral("trPr"));
        if (r.cantSplit)
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("cantSplit"));
        if (r.heightRule != model::HeightRule::Auto) {
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("trHeight"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), num(r.height));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("hRule"),
                             r.heightRule == model::HeightRule::Exact ? QStringLiteral("exact")
                                                                      : QStringLiteral("atLeast"));
        }
        if (r.header)
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("tblHeader"));
        x.writeEndElement();
        for (size_t i = 0; i < r.cells.size(); ++i) {
            const model::TableCell& c = r.cells[i];
            // Cells covered from the left are part of the span of the cell
            // that starts it.
            if (c.horizontalMerge == model::Merge::Continue && i > 0)
                continue;
            int span = 1;
            model::Twips width = c.width;
            while (i + span < r.cells.size() &&
                   r.cells[i + span].horizontalMerge == model::Merge::Continue)
                width += r.cells[i + span++].width;
            x.writeStartElement(QLatin1String(kW), QStringLiteral("tc"));
            x.writeStartElement(QLatin1String(kW), QStringLiteral("tcPr"));
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("tcW"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), num(std::max(0, width)));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QStringLiteral("dxa"));
            if (span > 1)
                val("gridSpan", num(span));
            if (c.verticalMerge == model::Merge::Restart)
                val("vMerge", QStringLiteral("restart"));
            else if (c.verticalMerge == model::Merge::Continue)
                x.writeEmptyElement(QLatin1String(kW), QStringLiteral("vMerge"));
            if (!c.top.isNone() || !c.left.isNone() || !c.bottom.isNone() || !c.right.isNone()) {
                x.writeStartElement(QLatin1String(kW), QStringLiteral("tcBorders"));
                border("top", c.top);
                border("left", c.left);
                border("bottom", c.bottom);
                border("right", c.right);
                x.writeEndElement();
            }
            if (c.shading != model::kAutoColor) {
                x.writeEmptyElement(QLatin1String(kW), QStringLiteral("shd"));
                x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), QStringLiteral("clear"));
                x.writeAttribute(QLatin1String(kW), QStringLiteral("color"),
                                 QStringLiteral("auto"));
                x.writeAttribute(QLatin1String(kW), QStringLiteral("fill"), hexColor(c.shading));
            }
            if (c.valign != model::CellVerticalAlign::Top)
                val("vAlign", wordOf(cellAligns(), c.valign));
            x.writeEndElement(); // tcPr
            blocks(c.blocks);
            // A cell ends with a paragraph.
            if (c.blocks.empty() || c.blocks.back().kind != model::Block::Kind::Paragraph)
                paragraph({}, nullptr);
            x.writeEndElement();
        }
        x.writeEndElement();
    }
    x.writeEndElement();
}

void StoryWriter::sectionProperties(const model::Section& s, const QStringList& refs) {
    x.writeStartElement(QLatin1String(kW), QStringLiteral("sectPr"));
    for (const QString& ref : refs) {
        // "header:default:rId3"
        const QStringList parts = ref.split(u':');
        x.writeEmptyElement(QLatin1String(kW), parts[0] + QStringLiteral("Reference"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), parts[1]);
        x.writeAttribute(QLatin1String(kR), QStringLiteral("id"), parts[2]);
    }
    val("type", QLatin1String(wordOf(sectionStarts(), s.start)));
    const model::PageSetup& p = s.page;
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("pgSz"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("w"), num(p.width));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("h"), num(p.height));
    if (p.orientation == model::Orientation::Landscape)
        x.writeAttribute(QLatin1String(kW), QStringLiteral("orient"), QStringLiteral("landscape"));
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("pgMar"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("top"), num(p.marginTop));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("right"), num(p.marginRight));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("bottom"), num(p.marginBottom));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("left"), num(p.marginLeft));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("header"), num(p.headerDistance));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("footer"), num(p.footerDistance));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("gutter"), QStringLiteral("0"));
    if (s.titlePage)
        x.writeEmptyElement(QLatin1String(kW), QStringLiteral("titlePg"));
    x.writeEndElement();
}

} // namespace docx::wr
