// One story of a .docx (the main text, a header, a footer) into model blocks.
#include "StoryReader.h" // msdoc: a field from its instruction
#include "Notes.h"
#include "OfficeArt.h" // msdoc: the image type from the bytes
#include "Reader.h"
#include "Vocab.h"

namespace docx::rd {

namespace {

constexpr int kMaxTwips = 1 << 22;
constexpr int kMaxSpan = 64;

model::Twips emuToTwips(const QString& v, model::Twips lo) {
    bool ok = false;
    const qint64 emu = v.toLongLong(&ok);
    if (!ok)
        return lo;
    return model::Twips(std::clamp<qint64>(emu / kEmuPerTwip, lo, kMaxTwips));
}

model::ImageType imageType(const QByteArray& bytes, const QString& name) {
    const model::ImageType t = msdoc::sniffImageType(bytes);
    if (t != model::ImageType::Unknown)
        return t;
    const QString ext = name.section(u'.', -1).toLower();
    if (ext == QLatin1String("emf"))
        return model::ImageType::Emf;
    if (ext == QLatin1String("wmf"))
        return model::ImageType::Wmf;
    return model::ImageType::Unknown;
}

// Points in a VML style ("width:72pt;height:36.5pt") as twips.
model::Twips vmlLength(const QString& style, const char* key) {
    for (const QString& item : style.split(u';')) {
        const QString k = item.section(u':', 0, 0).trimmed();
        if (k != QLatin1String(key))
            continue;
        QString v = item.section(u':', 1).trimmed();
        double factor = 20; // pt
        if (v.endsWith(QLatin1String("pt")))
            v.chop(2);
        else if (v.endsWith(QLatin1String("in")))
            v.chop(2), factor = 1440;
        else if (v.endsWith(QLatin1String("cm")))
            v.chop(2), factor = 1440 / 2.54;
        else if (v.endsWith(QLatin1String("mm")))
            v.chop(2), factor = 144 / 2.54;
        else if (v.endsWith(QLatin1String("px")))
            v.chop(2), factor = 15;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok && d > 0 && d < 1e6)
            return std::clamp(model::Twips(d * factor), 1, kMaxTwips);
    }
    return 0;
}

QString quoted(QString s) {
    s.replace(u'\\', QLatin1String("\\\\"));
    s.replace(u'"', QLatin1String("\\\""));
    return u'"' + s + u'"';
}

bool emptyDefaultParagraph(const model::Block& b) {
    return b.kind == model::Block::Kind::Paragraph && b.paragraph.content.empty() &&
           b.paragraph.format == model::ParaFormat();
}

bool sameFrame(const model::Frame& a, const model::Frame& b) {
    model::Frame x = a, y = b;
    x.blocks.clear();
    y.blocks.clear();
    return x == y;
}

} // namespace

StoryReader::StoryReader(Context& ctx, const QString& part, const QByteArray& xml)
    : ctx(ctx), part(part), x(xml) {
    if (const auto r = ctx.pkg.part(relsPartOf(part)))
        rels = readRels(*r);
}

bool StoryReader::spend(qint64 bytes) {
    if (ctx.budget.spend(bytes))
        return true;
    if (!ctx.tooLarge) {
        ctx.tooLarge = true;
        x.x.raiseError(QStringLiteral("the document is too large"));
    }
    return false;
}

bool StoryReader::document(std::vector<SectionEnd>& ends,
                           std::vector<std::vector<model::Block>>& bodies) {
    if (!x.child() || !x.is("document")) {
        error = QStringLiteral("the main part is not a WordprocessingML document");
        return false;
    }
    while (x.child()) {
        if (x.is("body")) {
            bodies.emplace_back();
            bool inPrFrame = false;
            while (x.child() && !ctx.tooLarge)
                blockElement(bodies.back(), 0, inPrFrame, &ends, &bodies);
        } else {
            x.skip();
        }
    }
    if (bodies.empty())
        bodies.emplace_back();
    // The final properties, or the defaults when the body has none.
    if (ends.size() < bodies.size())
        ends.emplace_back();
    if (x.x.hasError()) {
        error = ctx.tooLarge
                    ? QStringLiteral("the document is too large")
                    : QStringLiteral("the main text is damaged (%1)").arg(x.x.errorString());
        return false;
    }
    return true;
}

bool StoryReader::story(std::vector<model::Block>& out) {
    if (!x.child())
        return false;
    blockContent(out, 0);
    // A story of one empty paragraph shows nothing: as good as none.
    if (out.size() == 1 && emptyDefaultParagraph(out.front()) &&
        out.front().paragraph.markFormat == model::CharFormat())
        out.clear();
    return !ctx.tooLarge;
}

void StoryReader::notes(QHash<int, std::vector<model::Block>>& out) {
    if (!x.child())
        return;
    while (x.child() && !ctx.tooLarge) {
        const bool separator = x.hasAttr("type") && x.attr("type") != QLatin1String("normal");
        if (!(x.is("footnote") || x.is("endnote")) || separator) {
            x.skip(); // separators
            continue;
        }
        bool ok = false;
        const int id = x.attr("id").toInt(&ok);
        std::vector<model::Block> blocks;
        blockContent(blocks, 0);
        if (ok)
            out.insert(id, std::move(blocks));
    }
}

void StoryReader::addPara(std::vector<model::Block>& out, Para& p, bool& inPrFrame) {
    spend(qint64(sizeof(model::Block)));
    if (p.frame) {
        // Neighbouring paragraphs with the same frame properties share the frame.
        if (inPrFrame && !out.empty() && out.back().kind == model::Block::Kind::Frame &&
            sameFrame(out.back().frame, *p.frame)) {
            out.back().frame.blocks.push_back(model::Block::makeParagraph(p.paragraph));
        } else {
            model::Frame f = *p.frame;
            f.blocks.push_back(model::Block::makeParagraph(p.paragraph));
            out.push_back(model::Block::makeFrame(f));
        }
        inPrFrame = true;
    } else {
        out.push_back(model::Block::makeParagraph(p.paragraph));
        inPrFrame = false;
    }
    for (model::Frame& f : p.textBoxes) {
        out.push_back(model::Block::makeFrame(f));
        inPrFrame = false;
    }
}

void StoryReader::blockContent(std::vector<model::Block>& out, int depth) {
    bool inPrFrame = false;
    while (x.child() && !ctx.tooLarge)
        blockElement(out, depth, inPrFrame);
}

bool StoryReader::blockElement(std::vector<model::Block>& out, int depth, bool& inPrFrame,
                               std::vector<SectionEnd>* ends,
                               std::vector<std::vector<model::Block>>* bodies) {
    if (x.is("p")) {
        Para p = paragraph(depth);
        if (ends && p.sectionEnd) {
            // Word needs a paragraph after a table or frame to end a
            // section; it is not part of the text.
            const bool filler = !out.empty() && out.back().kind != model::Block::Kind::Paragraph &&
                                p.paragraph.content.empty() && p.textBoxes.empty() && !p.frame;
            if (!filler)
                addPara(out, p, inPrFrame);
            ends->push_back(*p.sectionEnd);
            bodies->emplace_back(); // `out` is not used after this
            inPrFrame = false;
            return true;
        }
        addPara(out, p, inPrFrame);
    } else if (x.is("tbl")) {
        inPrFrame = false;
        if (depth + 1 >= kMaxDepth) {
            flatTable(out);
        } else {
            model::Table t = table(depth + 1);
            if (!t.rows.empty())
                out.push_back(model::Block::makeTable(std::move(t)));
        }
    } else if ((x.is("sdt") || x.is("customXml")) && depth + 1 < kMaxDepth) {
        while (x.child()) {
            if (x.is("sdtContent") || x.is("customXml")) {
                // Content of a control or custom element continues the flow.
                std::vector<model::Block> inner;
                blockContent(inner, depth + 1);
                for (model::Block& b : inner)
                    out.push_back(std::move(b));
            } else {
                x.skip();
            }
        }
    } else if (x.is("bookmarkStart") || x.is("bookmarkEnd")) {
        // Between paragraphs: the start goes to the next paragraph, the end
        // to the last one.
        const bool start = x.is("bookmarkStart");
        const QString id = x.attr("id");
        if (start && !x.attr("name").isEmpty() && bookmarks.size() < 100000) {
            bookmarks.insert(id, x.attr("name"));
            pendingBookmarks.push_back(model::Inline::makeBookmark(x.attr("name"), true));
        } else if (!start && bookmarks.contains(id)) {
            model::Inline end = model::Inline::makeBookmark(bookmarks.take(id), false);
            auto last = std::find_if(out.rbegin(), out.rend(), [](const model::Block& b) {
                return b.kind == model::Block::Kind::Paragraph;
            });
            if (last != out.rend() && pendingBookmarks.empty())
                last->paragraph.content.push_back(end);
            else
                pendingBookmarks.push_back(end);
        }
        x.skip();
    } else if (x.is("sectPr") && ends) {
        ends->push_back(sectionProperties());
    } else {
        x.skip();
    }
    return false;
}

// A table nested deeper than the reader follows: its paragraphs in the flow.
void StoryReader::flatTable(std::vector<model::Block>& out) {
    int level = 0;
    bool inPrFrame = false;
    while (!x.x.atEnd() && !ctx.tooLarge) {
        const QXmlStreamReader::TokenType t = x.x.readNext();
        if (t == QXmlStreamReader::StartElement) {
            if (x.is("p")) {
                Para p = paragraph(kMaxDepth);
                p.textBoxes.clear();
                addPara(out, p, inPrFrame);
                continue;
            }
            ++level;
        } else if (t == QXmlStreamReader::EndElement) {
            if (level-- == 0)
                return;
        }
    }
}

SectionEnd StoryReader::sectionProperties() {
    SectionEnd e;
    model::PageSetup& p = e.section.page;
    while (x.child()) {
        if (x.is("headerReference") || x.is("footerReference")) {
            const Rel r = rels.value(x.relAttr("id"));
            const QString target = r.external ? QString() : resolveTarget(part, r.target);
            const QString type =
                x.attr("type").isEmpty() ? QStringLiteral("default") : x.attr("type");
            if (!target.isEmpty())
                e.refs << QStringLiteral("%1:%2:%3")
                              .arg(x.is("headerReference") ? QStringLiteral("header")
                                                           : QStringLiteral("footer"),
                                   type, target);
        } else if (x.is("pgSz")) {
            p.width = x.number("w", 1, 31680 * 4).value_or(p.width);
            p.height = x.number("h", 1, 31680 * 4).value_or(p.height);
            p.orientation = x.attr("orient") == QLatin1String("landscape")
                                ? model::Orientation::Landscape
                                : model::Orientation::Portrait;
        } else if (x.is("pgMar")) {
            p.marginTop = x.number("top", -31680, 31680).value_or(p.marginTop);
            p.marginBottom = x.number("bottom", -31680, 31680).value_or(p.marginBottom);
            p.marginLeft = x.number("left", 0, 31680).value_or(p.marginLeft);
            p.marginRight = x.number("right", 0, 31680).value_or(p.marginRight);
            p.headerDistance = x.number("header", 0, 31680).value_or(p.headerDistance);
            p.footerDistance = x.number("footer", 0, 31680).value_or(p.footerDistance);
        } else if (x.is("type")) {
            e.section.start = valueOf(sectionStarts(), x.attr("val"), model::SectionStart::NewPage);
        } else if (x.is("titlePg")) {
            e.section.titlePage = x.on();
        }
        x.skip();
    }
    return e;
}

std::optional<model::Frame> StoryReader::frameProperties() {
    model::Frame f;
    f.width = x.number("w", 0, kMaxTwips).value_or(0);
    f.height = x.number("h", 0, kMaxTwips).value_or(0);
    const QString rule = x.attr("hRule");
    f.heightRule = rule == QLatin1String("exact")     ? model::HeightRule::Exact
                   : rule == QLatin1String("atLeast") ? model::HeightRule::AtLeast
                   : f.height                         ? model::HeightRule::AtLeast
                                                      : model::HeightRule::Auto;
    f.wrapAround =
        x.attr("wrap") != QLatin1String("notBeside") && x.attr("wrap") != QLatin1String("none");
    const QString h = x.attr("hAnchor"), v = x.attr("vAnchor");
    f.horizontalRelation = h == QLatin1String("page")     ? model::HorizontalRelation::Page
                           : h == QLatin1String("margin") ? model::HorizontalRelation::Margin
                                                          : model::HorizontalRelation::Column;
    f.verticalRelation = v == QLatin1String("page")     ? model::VerticalRelation::Page
                         : v == QLatin1String("margin") ? model::VerticalRelation::Margin
                                                        : model::VerticalRelation::Paragraph;
    f.x = x.number("x", -kMaxTwips, kMaxTwips).value_or(0);
    f.y = x.number("y", -kMaxTwips, kMaxTwips).value_or(0);
    x.skip();
    return f;
}

model::CharFormat StoryReader::runFormat(const RunProps& direct) const {
    RunProps r = paraRun;
    if (!direct.style.isEmpty())
        r.over(ctx.styles.resolved(direct.style).run);
    r.over(direct);
    model::CharFormat f;
    r.applyTo(f);
    return f;
}

StoryReader::Para StoryReader::paragraph(int depth) {
    Para p;
    ParaProps direct;
    RunProps mark;
    model::Border border;
    const auto other = [&] {
        if (x.is("sectPr")) {
            p.sectionEnd = sectionProperties();
            return true;
        }
        if (x.is("framePr")) {
            p.frame = frameProperties();
            return true;
        }
        if (x.is("pBdr")) {
            while (x.child()) {
                if (x.is("top") || x.is("left") || x.is("bottom") || x.is("right")) {
                    const model::Border b = readBorder(x);
                    if (border.isNone())
                        border = b;
                } else {
                    x.skip();
                }
            }
            return true;
        }
        return false;
    };
    // Defaults, then the style, then the list level, then the paragraph.
    const auto resolve = [&] {
        const QString styleId = !direct.style.isEmpty() && ctx.styles.has(direct.style)
                                    ? direct.style
                                    : ctx.styles.defaultParagraphStyle;
        const Style& style = ctx.styles.resolved(styleId);
        ParaProps level = ctx.styles.defaultPara;
        level.over(style.para);
        ParaProps probe = level;
        probe.over(direct);
        if (probe.numId && *probe.numId > 0)
            if (const ParaProps* lv = ctx.numbering.level(*probe.numId, probe.ilvl.value_or(0))) {
                ParaProps ind;
                ind.leftIndent = lv->leftIndent;
                ind.rightIndent = lv->rightIndent;
                ind.firstLineIndent = lv->firstLineIndent;
                ind.tabs = lv->tabs;
                level.over(ind);
            }
        level.over(direct);
        paraLevel = level;
        paraRun = ctx.styles.defaultRun;
        paraRun.over(style.run);
        level.applyTo(p.paragraph.format);
        if (!direct.style.isEmpty() && ctx.styles.has(direct.style))
            p.paragraph.format.styleName = ctx.styles.nameOf(direct.style);
    };
    resolve();
    sink = &p.paragraph.content;
    for (model::Inline& b : pendingBookmarks)
        p.paragraph.content.push_back(std::move(b));
    pendingBookmarks.clear();
    while (x.child() && !ctx.tooLarge) {
        if (x.is("pPr")) {
            readParaProps(x, ctx.theme, direct, &mark, other);
            resolve();
        } else {
            // Everything else a paragraph holds is inline content.
            inlineContent(p, depth);
        }
    }
    flattenFields();
    sink = nullptr;
    p.paragraph.markFormat = runFormat(mark);
    if (p.frame)
        p.frame->border = border;
    return p;
}

// One element of a paragraph's (or hyperlink's, or field's) content.
void StoryReader::inlineContent(Para& p, int depth) {
    if (x.is("r")) {
        run(p, depth);
    } else if (x.is("hyperlink") && depth + 1 < kMaxDepth) {
        hyperlink(p, depth + 1);
    } else if (x.is("fldSimple") && depth + 1 < kMaxDepth) {
        simpleField(p, depth + 1);
    } else if (x.is("bookmarkStart")) {
        if (!x.attr("name").isEmpty() && bookmarks.size() < 100000) {
            bookmarks.insert(x.attr("id"), x.attr("name"));
            addInline(model::Inline::makeBookmark(x.attr("name"), true));
        }
        x.skip();
    } else if (x.is("bookmarkEnd")) {
        const QString id = x.attr("id");
        if (bookmarks.contains(id))
            addInline(model::Inline::makeBookmark(bookmarks.take(id), false));
        x.skip();
    } else if ((x.is("ins") || x.is("moveTo") || x.is("smartTag") || x.is("customXml") ||
                x.is("sdt") || x.is("sdtContent") || x.is("dir") || x.is("bdo")) &&
               depth + 1 < kMaxDepth) {
        // Containers whose runs are part of the text.
        while (x.child() && !ctx.tooLarge) {
            if (x.is("sdtPr") || x.is("sdtEndPr") || x.is("smartTagPr") || x.is("customXmlPr"))
                x.skip();
            else
                inlineContent(p, depth + 1);
        }
    } else if (isAlternateContent() && depth + 1 < kMaxDepth) {
        firstChoice([&] { inlineContent(p, depth + 1); });
    } else {
        // Deleted text, comments' ranges, proofing marks, maths.
        x.skip();
    }
}

void StoryReader::run(Para& p, int depth) {
    RunProps direct;
    model::CharFormat f = runFormat(direct);
    // A reference with a mark of its own: the run's text is the mark.
    std::optional<model::Note> marked;
    while (x.child() && !ctx.tooLarge) {
        if (x.is("rPr")) {
            readRunProps(x, ctx.theme, direct);
            f = runFormat(direct);
        } else if (x.is("footnoteReference") || x.is("endnoteReference")) {
            model::Note note;
            note.kind = x.is("footnoteReference") ? model::NoteKind::Foot : model::NoteKind::End;
            const auto& texts = note.kind == model::NoteKind::Foot ? ctx.footnotes : ctx.endnotes;
            note.blocks = texts.value(x.attr("id").toInt());
            spend(qint64(sizeof(model::Note)));
            const bool custom = x.hasAttr("customMarkFollows") &&
                                x.attr("customMarkFollows") != QLatin1String("0") &&
                                x.attr("customMarkFollows") != QLatin1String("false");
            x.skip();
            if (custom) {
                marked = std::move(note);
            } else {
                model::dropLeadingMark(note.blocks, {});
                addInline(model::Inline::makeNote(note, f));
            }
        } else if (marked && x.is("t")) {
            marked->mark += x.x.readElementText(QXmlStreamReader::SkipChildElements);
        } else {
            runContent(p, f, depth);
        }
    }
    if (marked) {
        marked->mark = marked->mark.left(10);
        model::dropLeadingMark(marked->blocks, marked->mark);
        addInline(model::Inline::makeNote(*marked, f));
    }
}

void StoryReader::runContent(Para& p, const model::CharFormat& f, int depth) {
    if (x.is("t")) {
        addText(x.x.readElementText(QXmlStreamReader::SkipChildElements), f);
        return;
    }
    if (x.is("instrText")) {
        const QString t = x.x.readElementText(QXmlStreamReader::SkipChildElements);
        if (open.size() > openBase && !open.back().flattened && !open.back().inResult &&
            open.back().instruction.size() < 4096)
            open.back().instruction += t;
        return;
    }
    if (x.is("tab")) {
        addText(QString(QChar(model::kTab)), f);
    } else if (x.is("br")) {
        const QString type = x.attr("type");
        addText(QString(QChar(type == QLatin1String("page")     ? model::kPageBreak
                              : type == QLatin1String("column") ? model::kColumnBreak
                                                                : model::kLineBreak)),
                f);
    } else if (x.is("cr")) {
        addText(QString(QChar(model::kLineBreak)), f);
    } else if (x.is("noBreakHyphen")) {
        addText(QString(QChar(model::kNoBreakHyphen)), f);
    } else if (x.is("softHyphen")) {
        addText(QString(QChar(model::kSoftHyphen)), f);
    } else if (x.is("sym")) {
        bool ok = false;
        uint c = x.attr("char").toUInt(&ok, 16);
        // Symbol fonts' characters are stored shifted to U+F0xx.
        if (ok && c >= 0xF020 && c <= 0xF0FF)
            c -= 0xF000;
        if (ok && c >= 0x20 && c < 0xD800)
            addText(QString(QChar(char16_t(c))), f);
    } else if (x.is("fldChar")) {
        fieldChar(x.attr("fldCharType"), f);
    } else if (x.is("drawing")) {
        drawing(p, f, depth);
        return;
    } else if (x.is("pict") && depth + 1 < kMaxDepth) {
        vml(p, f, depth + 1);
        return;
    } else if (x.is("ruby") && depth + 1 < kMaxDepth) {
        // The base text; the reading above it is left out.
        while (x.child()) {
            if (x.is("rubyBase"))
                while (x.child())
                    inlineContent(p, depth + 1);
            else
                x.skip();
        }
        return;
    } else if (isAlternateContent() && depth + 1 < kMaxDepth) {
        firstChoice([&] { runContent(p, f, depth + 1); });
        return;
    }
    x.skip();
}

std::vector<model::Inline>& StoryReader::target() {
    if (open.size() > openBase && !open.back().flattened && open.back().inResult)
        return open.back().result;
    return *sink;
}

void StoryReader::addText(const QString& s, const model::CharFormat& f) {
    if (s.isEmpty() || !sink)
        return;
    if (!spend(s.size() * 2))
        return;
    // Text inside a field's instruction is a nested field's result: it
    // belongs to the instruction.
    if (open.size() > openBase && !open.back().flattened && !open.back().inResult) {
        if (open.back().instruction.size() < 4096)
            open.back().instruction += s;
        return;
    }
    std::vector<model::Inline>& t = target();
    if (!t.empty() && t.back().kind == model::Inline::Kind::Text && t.back().format == f) {
        t.back().text += s;
        return;
    }
    spend(qint64(sizeof(model::Inline)));
    t.push_back(model::Inline::makeText(s, f));
}

void StoryReader::addInline(model::Inline in) {
    if (!sink || !spend(qint64(sizeof(model::Inline))))
        return;
    if (open.size() > openBase && !open.back().flattened && !open.back().inResult) {
        if (in.kind == model::Inline::Kind::Field)
            for (const model::Inline& r : in.field.result)
                if (r.kind == model::Inline::Kind::Text && open.back().instruction.size() < 4096)
                    open.back().instruction += r.text;
        return;
    }
    target().push_back(std::move(in));
}

void StoryReader::fieldChar(const QString& type, const model::CharFormat& f) {
    if (type == QLatin1String("begin")) {
        if (!spend(qint64(sizeof(OpenField))))
            return;
        OpenField of;
        of.format = f;
        open.push_back(std::move(of));
    } else if (type == QLatin1String("separate")) {
        if (open.size() > openBase && !open.back().flattened)
            open.back().inResult = true;
    } else if (type == QLatin1String("end")) {
        if (open.size() <= openBase)
            return; // begun outside the hyperlink or field being read
        OpenField of = std::move(open.back());
        open.pop_back();
        flatCount = std::min(flatCount, open.size());
        if (of.flattened)
            return; // its result is already in the text
        model::Field field = msdoc::rd::makeField(of.instruction.trimmed(), std::move(of.result));
        addInline(model::Inline::makeField(field, of.format));
    }
}

void StoryReader::flattenFields() {
    // Fields that run across paragraphs keep only their result text. The
    // first `flatCount` were flattened at an earlier paragraph's end, so a
    // file of many unclosed fields is not walked again at every paragraph.
    for (size_t k = std::max(flatCount, openBase); k < open.size(); ++k) {
        OpenField& of = open[k];
        for (model::Inline& in : of.result)
            sink->push_back(std::move(in));
        of.result.clear();
        of.flattened = true;
    }
    flatCount = std::max(flatCount, open.size());
}

void StoryReader::closeFieldsFrom(size_t base) {
    // Fields begun inside a hyperlink or simple field and not ended there
    // give their results.
    for (size_t k = base; k < open.size(); ++k)
        if (!open[k].flattened)
            for (model::Inline& in : open[k].result)
                sink->push_back(std::move(in));
    open.resize(base);
    flatCount = std::min(flatCount, open.size());
}

bool StoryReader::isAlternateContent() const {
    return x.isIn("http://schemas.openxmlformats.org/markup-compatibility/2006",
                  "AlternateContent");
}

namespace {

// The prefixes of the namespaces whose content this reader takes from a
// markup-compatibility choice: the main vocabulary, its later revisions that
// only add attributes, and the drawing ones the drawing reader knows. A
// choice that needs any other (w16se's emoji symbols, say) gives way to the
// fallback, which holds the same content in older terms.
bool understood(const QString& prefixes) {
    static const QStringList known = {
        QStringLiteral("w"),    QStringLiteral("w14"), QStringLiteral("w15"), QStringLiteral("wp"),
        QStringLiteral("wp14"), QStringLiteral("wps"), QStringLiteral("wpg"), QStringLiteral("wpc"),
        QStringLiteral("a"),    QStringLiteral("pic"), QStringLiteral("v"),   QStringLiteral("o")};
    const QStringList needed = prefixes.split(u' ', Qt::SkipEmptyParts);
    return std::all_of(needed.begin(), needed.end(),
                       [](const QString& prefix) { return known.contains(prefix); });
}

} // namespace

// Markup compatibility: the first choice the reader understands is read,
// else the fallback; the others are left out.
void StoryReader::firstChoice(const std::function<void()>& each) {
    bool done = false;
    while (x.child()) {
        const bool take = x.x.name() == QLatin1String("Choice")
                              ? understood(x.attr("Requires"))
                              : x.x.name() == QLatin1String("Fallback");
        if (!done && take) {
            done = true;
            while (x.child())
                each();
        } else {
            x.skip();
        }
    }
}

std::vector<model::Inline> StoryReader::result(Para& p, int depth) {
    std::vector<model::Inline> out;
    std::vector<model::Inline>* outer = sink;
    const size_t outerBase = openBase;
    sink = &out;
    openBase = open.size();
    while (x.child() && !ctx.tooLarge)
        inlineContent(p, depth);
    closeFieldsFrom(openBase);
    sink = outer;
    openBase = outerBase;
    return out;
}

void StoryReader::addField(const QString& instruction, std::vector<model::Inline> result) {
    const model::CharFormat f = result.empty() ? runFormat({}) : result.front().format;
    addInline(model::Inline::makeField(msdoc::rd::makeField(instruction, std::move(result)), f));
}

void StoryReader::hyperlink(Para& p, int depth) {
    const QString target = rels.value(x.relAttr("id")).target;
    const QString anchor = x.attr("anchor");
    if (hyperlinkDepth > 0 || (target.isEmpty() && anchor.isEmpty())) {
        // Inside another link, or pointing nowhere: only its text.
        while (x.child() && !ctx.tooLarge)
            inlineContent(p, depth);
        return;
    }
    ++hyperlinkDepth;
    std::vector<model::Inline> shown = result(p, depth);
    --hyperlinkDepth;
    QString instruction = QStringLiteral("HYPERLINK");
    if (!target.isEmpty())
        instruction += u' ' + quoted(target);
    if (!anchor.isEmpty())
        instruction += QStringLiteral(" \\l ") + quoted(anchor);
    addField(instruction, std::move(shown));
}

void StoryReader::simpleField(Para& p, int depth) {
    const QString instruction = x.attr("instr").left(4096).trimmed();
    addField(instruction, result(p, depth));
}

// Scans a drawing's graphic (or a VML shape) for its picture and text box.
StoryReader::Graphic StoryReader::graphic(int depth) {
    Graphic g;
    int level = 0;
    while (!x.x.atEnd() && !ctx.tooLarge) {
        const QXmlStreamReader::TokenType t = x.x.readNext();
        if (t == QXmlStreamReader::StartElement) {
            if (x.is("txbxContent")) {
                if (!g.textBox && depth + 1 < kMaxDepth) {
                    g.textBox = true;
                    // The text box's paragraphs are read with their own
                    // bookkeeping of fields, then the paragraph's resumes.
                    auto savedOpen = std::move(open);
                    const size_t savedBase = openBase, savedFlat = flatCount;
                    const ParaProps savedLevel = paraLevel;
                    const RunProps savedRun = paraRun;
                    std::vector<model::Inline>* savedSink = sink;
                    open.clear();
                    openBase = flatCount = 0;
                    blockContent(g.blocks, depth + 1);
                    open = std::move(savedOpen);
                    openBase = savedBase;
                    flatCount = savedFlat;
                    paraLevel = savedLevel;
                    paraRun = savedRun;
                    sink = savedSink;
                } else {
                    x.skip();
                }
                continue;
            }
            if (g.embed.isEmpty() && x.isIn(kA, "blip"))
                g.embed = x.relAttr("embed");
            else if (g.embed.isEmpty() && x.x.name() == QLatin1String("imagedata"))
                g.embed = x.relAttr("id");
            else if (!g.width && x.x.name() == QLatin1String("shape")) {
                g.width = vmlLength(x.attr("style"), "width");
                g.height = vmlLength(x.attr("style"), "height");
            }
            ++level;
        } else if (t == QXmlStreamReader::EndElement) {
            if (level-- == 0)
                break;
        }
    }
    return g;
}

void StoryReader::picture(Para& p, const model::Picture& shape, const QString& embed,
                          const model::CharFormat& f) {
    (void)p;
    const Rel r = rels.value(embed);
    if (r.external || r.target.isEmpty())
        return;
    const QString name = resolveTarget(part, r.target);
    if (name.isEmpty())
        return;
    auto it = ctx.media.find(name);
    if (it == ctx.media.end()) {
        const std::optional<QByteArray> bytes = ctx.pkg.part(name);
        if (!bytes) {
            if (ctx.pkg.exhausted())
                spend(qint64(1) << 62);
            return;
        }
        it = ctx.media.insert(name, *bytes);
    }
    if (it->isEmpty())
        return;
    model::Picture pic = shape;
    pic.data = *it;
    pic.type = imageType(pic.data, name);
    addInline(model::Inline::makePicture(pic, f));
}

void StoryReader::drawing(Para& p, const model::CharFormat& f, int depth) {
    while (x.child() && !ctx.tooLarge) {
        const bool anchored = x.isIn(kWp, "anchor");
        if (!anchored && !x.isIn(kWp, "inline")) {
            x.skip();
            continue;
        }
        model::Picture pic;
        if (anchored) {
            pic.wrap = model::Wrap::Around;
            pic.behindText = x.attr("behindDoc") == QLatin1String("1") ||
                             x.attr("behindDoc") == QLatin1String("true");
            pic.wrapDistance = emuToTwips(x.attr("distL"), 0);
        }
        Graphic g;
        while (x.child() && !ctx.tooLarge) {
            if (x.isIn(kWp, "extent")) {
                pic.width = emuToTwips(x.attr("cx"), 1);
                pic.height = emuToTwips(x.attr("cy"), 1);
            } else if (x.isIn(kWp, "positionH") || x.isIn(kWp, "positionV")) {
                const bool h = x.x.name() == QLatin1String("positionH");
                const QString rel = x.attr("relativeFrom");
                if (h)
                    pic.horizontalRelation =
                        valueOf(horizontalRelations(), rel, model::HorizontalRelation::Margin);
                else
                    pic.verticalRelation =
                        valueOf(verticalRelations(), rel, model::VerticalRelation::Margin);
                while (x.child()) {
                    if (x.isIn(kWp, "posOffset")) {
                        const model::Twips v = emuToTwips(
                            x.x.readElementText(QXmlStreamReader::SkipChildElements), -kMaxTwips);
                        (h ? pic.x : pic.y) = v;
                    } else {
                        x.skip();
                    }
                }
                continue;
            } else if (x.isIn(kWp, "wrapSquare") || x.isIn(kWp, "wrapTight") ||
                       x.isIn(kWp, "wrapThrough")) {
                const QString side = x.attr("wrapText");
                pic.wrap = side == QLatin1String("left")    ? model::Wrap::Left
                           : side == QLatin1String("right") ? model::Wrap::Right
                                                            : model::Wrap::Around;
            } else if (x.isIn(kWp, "wrapTopAndBottom")) {
                pic.wrap = model::Wrap::TopBottom;
            } else if (x.isIn(kWp, "wrapNone")) {
                pic.wrap = model::Wrap::Free;
            } else if (x.isIn(kA, "graphic")) {
                g = graphic(depth);
                continue;
            }
            x.skip();
        }
        if (!anchored)
            pic.wrap = model::Wrap::Inline;
        if (g.textBox) {
            model::Frame frame;
            frame.x = pic.x;
            frame.y = pic.y;
            frame.width = pic.width;
            frame.height = pic.height;
            frame.heightRule = model::HeightRule::AtLeast;
            frame.horizontalRelation =
                pic.horizontalRelation == model::HorizontalRelation::Character
                    ? model::HorizontalRelation::Column
                    : pic.horizontalRelation;
            frame.verticalRelation = pic.verticalRelation == model::VerticalRelation::Line
                                         ? model::VerticalRelation::Paragraph
                                         : pic.verticalRelation;
            frame.wrapAround = pic.wrap != model::Wrap::TopBottom;
            frame.blocks = std::move(g.blocks);
            if (frame.blocks.empty())
                frame.blocks.push_back(model::Block::makeParagraph({}));
            p.textBoxes.push_back(std::move(frame));
        } else if (!g.embed.isEmpty()) {
            picture(p, pic, g.embed, f);
        }
    }
}

void StoryReader::vml(Para& p, const model::CharFormat& f, int depth) {
    const Graphic g = graphic(depth);
    if (g.textBox) {
        model::Frame frame;
        frame.width = g.width;
        frame.height = g.height;
        frame.heightRule = model::HeightRule::AtLeast;
        frame.horizontalRelation = model::HorizontalRelation::Column;
        frame.verticalRelation = model::VerticalRelation::Paragraph;
        frame.blocks = g.blocks;
        if (frame.blocks.empty())
            frame.blocks.push_back(model::Block::makeParagraph({}));
        p.textBoxes.push_back(std::move(frame));
    } else if (!g.embed.isEmpty()) {
        model::Picture pic;
        pic.width = std::max(1, g.width);
        pic.height = std::max(1, g.height);
        picture(p, pic, g.embed, f);
    }
}

model::Table StoryReader::table(int depth) {
    model::Table t;
    std::vector<model::Twips> grid;
    // The table's borders: its style's, then its own lines over them; they
    // go to the cell sides the cells leave unset (`own`, one mask a cell).
    QString styleId;
    model::TableBorders ownBorders;
    unsigned ownGiven = 0;
    std::vector<std::vector<unsigned>> own;
    while (x.child() && !ctx.tooLarge) {
        if (x.is("tblPr")) {
            while (x.child()) {
                if (x.is("tblStyle")) {
                    styleId = x.attr("val");
                } else if (x.is("tblBorders")) {
                    ownGiven |= readTableBorders(x, ownBorders);
                    continue;
                } else if (x.is("jc")) {
                    const model::Alignment a =
                        valueOf(alignments(), x.attr("val"), model::Alignment::Left);
                    t.align = a == model::Alignment::Center || a == model::Alignment::Right
                                  ? a
                                  : model::Alignment::Left;
                } else if (x.is("tblInd")) {
                    t.indent = x.number("w", -kMaxTwips, kMaxTwips).value_or(0);
                } else if (x.is("tblCellMar")) {
                    while (x.child()) {
                        if (x.is("left") || x.is("start"))
                            t.cellMargin = x.number("w", 0, 31680).value_or(t.cellMargin);
                        x.skip();
                    }
                    continue;
                }
                x.skip();
            }
        } else if (x.is("tblGrid")) {
            while (x.child()) {
                if (x.is("gridCol") && grid.size() < 1000)
                    grid.push_back(x.number("w", 0, kMaxTwips).value_or(0));
                x.skip();
            }
        } else if (x.is("tr")) {
            if (!spend(qint64(sizeof(model::TableRow))))
                break;
            model::TableRow row;
            std::vector<unsigned> rowOwn;
            size_t column = 0;
            while (x.child() && !ctx.tooLarge) {
                if (x.is("trPr")) {
                    while (x.child()) {
                        if (x.is("trHeight")) {
                            row.height = x.number("val", 0, kMaxTwips).value_or(0);
                            row.heightRule = x.attr("hRule") == QLatin1String("exact")
                                                 ? model::HeightRule::Exact
                                             : x.attr("hRule") == QLatin1String("auto")
                                                 ? model::HeightRule::Auto
                                                 : model::HeightRule::AtLeast;
                        } else if (x.is("cantSplit")) {
                            row.cantSplit = x.on();
                        } else if (x.is("tblHeader")) {
                            row.header = x.on();
                        }
                        x.skip();
                    }
                } else if (x.is("tc")) {
                    model::TableCell cell;
                    unsigned sides = 0;
                    bool inPrFrame = false;
                    int span = 1;
                    model::Twips width = 0;
                    while (x.child() && !ctx.tooLarge) {
                        if (x.is("tcPr")) {
                            while (x.child()) {
                                if (x.is("tcW")) {
                                    if (x.attr("type") != QLatin1String("pct"))
                                        width = x.number("w", 0, kMaxTwips).value_or(0);
                                } else if (x.is("gridSpan")) {
                                    span = x.number("val", 1, kMaxSpan).value_or(1);
                                } else if (x.is("vMerge")) {
                                    cell.verticalMerge = x.attr("val") == QLatin1String("restart")
                                                             ? model::Merge::Restart
                                                             : model::Merge::Continue;
                                } else if (x.is("tcBorders")) {
                                    while (x.child()) {
                                        if (x.is("top"))
                                            cell.top = readBorder(x), sides |= model::SideTop;
                                        else if (x.is("left") || x.is("start"))
                                            cell.left = readBorder(x), sides |= model::SideLeft;
                                        else if (x.is("bottom"))
                                            cell.bottom = readBorder(x), sides |= model::SideBottom;
                                        else if (x.is("right") || x.is("end"))
                                            cell.right = readBorder(x), sides |= model::SideRight;
                                        else
                                            x.skip();
                                    }
                                    continue;
                                } else if (x.is("shd")) {
                                    const QString fill = x.attr("fill");
                                    cell.shading = fill.isEmpty() || fill == QLatin1String("auto")
                                                       ? model::kAutoColor
                                                       : colorOf(fill);
                                } else if (x.is("vAlign")) {
                                    cell.valign = valueOf(cellAligns(), x.attr("val"),
                                                          model::CellVerticalAlign::Top);
                                }
                                x.skip();
                            }
                        } else {
                            blockElement(cell.blocks, depth, inPrFrame);
                        }
                    }
                    if (cell.blocks.empty())
                        cell.blocks.push_back(model::Block::makeParagraph({}));
                    // The cell's width split over the grid columns it spans.
                    const auto gridWidth = [&](size_t c, model::Twips fallback) {
                        return c < grid.size() && grid[c] ? grid[c] : fallback;
                    };
                    if (span > 1) {
                        cell.horizontalMerge = model::Merge::Restart;
                        model::Twips sum = 0;
                        bool fromGrid = column + size_t(span) <= grid.size();
                        for (int k = 0; fromGrid && k < span; ++k)
                            sum += grid[column + size_t(k)];
                        fromGrid = fromGrid && (width == 0 || std::abs(sum - width) <= span);
                        cell.width = fromGrid ? grid[column] : width / span;
                        row.cells.push_back(std::move(cell));
                        rowOwn.push_back(sides);
                        for (int k = 1; k < span; ++k) {
                            if (!spend(qint64(sizeof(model::TableCell) + sizeof(model::Block))))
                                break;
                            model::TableCell covered;
                            covered.horizontalMerge = model::Merge::Continue;
                            covered.verticalMerge = row.cells.back().verticalMerge;
                            covered.width = fromGrid ? grid[column + size_t(k)] : width / span;
                            covered.blocks.push_back(model::Block::makeParagraph({}));
                            row.cells.push_back(std::move(covered));
                            rowOwn.push_back(0);
                        }
                    } else {
                        cell.width = width ? width : gridWidth(column, 0);
                        row.cells.push_back(std::move(cell));
                        rowOwn.push_back(sides);
                    }
                    column += size_t(span);
                    spend(qint64(sizeof(model::TableCell)) * span);
                } else {
                    x.skip();
                }
            }
            if (!row.cells.empty()) {
                t.rows.push_back(std::move(row));
                own.push_back(std::move(rowOwn));
            }
        } else {
            x.skip();
        }
    }
    model::TableBorders borders = ctx.styles.tableBorders(styleId);
    borders.overlay(ownBorders, ownGiven);
    if (borders.any())
        for (size_t r = 0; r < t.rows.size(); ++r)
            model::applyRowBorders(t.rows[r], borders, r == 0, r + 1 == t.rows.size(), own[r]);
    return t;
}

} // namespace docx::rd
