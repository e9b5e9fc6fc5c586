#include "StoryReader.h"

#include "Bytes.h"
#include "Sprm.h"

#include <algorithm>

namespace msdoc::rd {

namespace {

// Splits a field instruction into its words; quoted arguments keep their
// blanks, a backslash inside quotes escapes the next character.
QStringList fieldWords(const QString& s) {
    QStringList out;
    qsizetype i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i].isSpace())
            ++i;
        if (i >= s.size())
            break;
        QString w;
        if (s[i] == u'"') {
            ++i;
            while (i < s.size() && s[i] != u'"') {
                if (s[i] == u'\\' && i + 1 < s.size())
                    ++i;
                w += s[i++];
            }
            ++i;
            out << w;
            continue;
        }
        while (i < s.size() && !s[i].isSpace())
            w += s[i++];
        out << w;
    }
    return out;
}

bool isMarkerTarget(const QString& t) {
    const QString p = t.left(3).toUpper();
    return p == QLatin1String("TG_") || p == QLatin1String("TP_") || p == QLatin1String("DX_");
}

} // namespace

qint64 cost(const Pap& pap) {
    return qint64(sizeof(ParaRec) + pap.format.tabs.size() * sizeof(model::TabStop) +
                  pap.tap.centers.size() * sizeof(int) + pap.tap.cells.size() * sizeof(Tc));
}

model::Field makeField(const QString& instruction, std::vector<model::Inline> result) {
    model::Field field;
    field.result = std::move(result);
    const QStringList words = fieldWords(instruction);
    const QString keyword = words.value(0).toUpper();
    if (keyword == QLatin1String("HYPERLINK")) {
        field.type = model::FieldType::Hyperlink;
        QString target, location;
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString& w = words[i];
            if (w.startsWith(u'\\') && w.size() == 2) {
                const QChar sw = w[1].toLower();
                if (sw == u'l' && i + 1 < words.size())
                    location = words[++i];
                else if ((sw == u'o' || sw == u't') && i + 1 < words.size())
                    ++i;
                continue;
            }
            if (target.isEmpty())
                target = w;
        }
        field.target = location.isEmpty() ? target : target + u'#' + location;
        field.kind = isMarkerTarget(field.target) ? 2 : 1;
        field.option = 149;
    } else if (keyword == QLatin1String("PAGE")) {
        field.type = model::FieldType::Page;
    } else if (keyword == QLatin1String("NUMPAGES")) {
        field.type = model::FieldType::NumPages;
    } else if (keyword == QLatin1String("DATE") || keyword == QLatin1String("TIME")) {
        field.type =
            keyword == QLatin1String("DATE") ? model::FieldType::Date : model::FieldType::Time;
        if (words.size() > 1)
            field.instruction = instruction;
    } else {
        field.type = model::FieldType::Other;
        field.instruction = instruction;
    }
    return field;
}

int depthOf(const Pap& pap) {
    return pap.itap > 0 ? pap.itap : (pap.inTable ? 1 : 0);
}

ParaRecs StoryReader::paragraphs(int cpStart, int cpEnd, const std::vector<int>& sectionEnds) {
    ParaRecs recs;
    const QString& t = f.text();
    cpEnd = std::min<int>(cpEnd, int(t.size()));
    if (f.budget.exhausted())
        return recs;
    int start = cpStart;
    size_t sec = 0;
    for (int cp = cpStart; cp < cpEnd; ++cp) {
        const char16_t c = t[cp].unicode();
        bool end = c == 0x0D || c == 0x07;
        if (c == 0x0C) {
            while (sec < sectionEnds.size() && sectionEnds[sec] < cp + 1)
                ++sec;
            end = sec < sectionEnds.size() && sectionEnds[sec] == cp + 1;
        }
        if (!end)
            continue;
        ParaRec rec;
        rec.cpStart = start;
        rec.cpEnd = cp + 1;
        rec.mark = c;
        const PropRun* run = f.papxAt(cp);
        const int istd = run ? run->istd : 0;
        if (run)
            sprm::forEach(run->grpprl, [&](int op, int pos, int) {
                if (op == sprm::PFNoLineNumb && quint8(run->grpprl[pos]) == 1)
                    rec.guard = true;
            });
        rec.pap = f.stylePap(istd);
        rec.pap.istd = istd;
        if (run)
            applyPap(rec.pap, run->grpprl, f.props);
        const Piece* pc = f.pieceAt(cp);
        if (pc && !pc->prmGrpprl.isEmpty())
            applyPap(rec.pap, pc->prmGrpprl, f.props);
        if (lists && rec.pap.ilfo > 0 && rec.pap.ilfo <= int(lists->size())) {
            // List paragraphs: the level's properties come between the
            // style's and the paragraph's own.
            const ReadList& list = (*lists)[size_t(rec.pap.ilfo - 1)];
            const int ilfo = rec.pap.ilfo, ilvl = rec.pap.ilvl;
            rec.pap = f.stylePap(istd);
            rec.pap.istd = istd;
            if (size_t(ilvl) < list.levelPapx.size())
                applyPap(rec.pap, list.levelPapx[size_t(ilvl)], f.props);
            if (run)
                applyPap(rec.pap, run->grpprl, f.props);
            if (pc && !pc->prmGrpprl.isEmpty())
                applyPap(rec.pap, pc->prmGrpprl, f.props);
            rec.pap.format.listId = ilfo;
            rec.pap.format.listLevel = ilvl;
        }
        if (!f.budget.spend(cost(rec.pap)))
            return recs;
        recs.push_back(std::move(rec));
        start = cp + 1;
    }
    if (start < cpEnd) {
        // Text after the last mark (damaged or cut files): one more paragraph.
        ParaRec rec;
        rec.cpStart = start;
        rec.cpEnd = cpEnd + 1;
        rec.pap = f.stylePap(0);
        recs.push_back(rec);
    }
    return recs;
}

Chp StoryReader::chpAt(int cp, int istd, int* runEnd) {
    const Piece* pc = f.pieceAt(cp);
    Chp chp = f.styleChp(istd);
    *runEnd = cp + 1;
    if (!pc)
        return chp;
    const PropRun* run = f.chpxAt(cp);
    if (run) {
        // A character style (Word gives links "Hyperlink") comes under the
        // run's own properties.
        sprm::forEach(run->grpprl, [&](int op, int pos, int) {
            if (op == sprm::CIstd)
                chp = f.withCharStyle(chp, ByteReader(run->grpprl).u16(pos));
        });
    }
    const Chp base = chp;
    if (run) {
        applyChp(chp, run->grpprl, f.props, base);
        const quint32 fcEnd = std::min<quint32>(run->fcEnd, f.fcOf(*pc, pc->cpEnd));
        const int bpc = pc->compressed ? 1 : 2;
        *runEnd = std::max(cp + 1, pc->cpStart + int((fcEnd - pc->fc) / bpc));
    } else {
        *runEnd = pc->cpEnd;
    }
    if (!pc->prmGrpprl.isEmpty())
        applyChp(chp, pc->prmGrpprl, f.props, base);
    return chp;
}

void StoryReader::addText(model::Paragraph& p, const QString& s, const model::CharFormat& format) {
    if (s.isEmpty())
        return;
    f.budget.spend(qint64(sizeof(model::Inline)));
    if (!open.empty() && !open.back().flattened) {
        OpenField& top = open.back();
        if (!top.inResult) {
            top.instruction += s;
            return;
        }
        if (!top.result.empty() && top.result.back().kind == model::Inline::Kind::Text &&
            top.result.back().format == format)
            top.result.back().text += s;
        else
            top.result.push_back(model::Inline::makeText(s, format));
        return;
    }
    if (!open.empty() && !open.back().inResult)
        return; // instruction of a field flattened at a paragraph end
    p.addText(s, format);
}

void StoryReader::addInline(model::Paragraph& p, model::Inline in) {
    f.budget.spend(qint64(sizeof(model::Inline)));
    if (!open.empty() && !open.back().flattened) {
        if (open.back().inResult)
            open.back().result.push_back(std::move(in));
        return;
    }
    p.content.push_back(std::move(in));
}

void StoryReader::fieldEnd(model::Paragraph& p) {
    if (open.empty())
        return;
    OpenField of = std::move(open.back());
    open.pop_back();
    flatCount = std::min(flatCount, open.size());
    if (of.flattened)
        return;
    model::Field field = makeField(of.instruction, std::move(of.result));
    if (!open.empty() && !open.back().flattened && !open.back().inResult) {
        // A field inside another's instruction gives its result text.
        for (const model::Inline& in : field.result)
            if (in.kind == model::Inline::Kind::Text)
                open.back().instruction += in.text;
        return;
    }
    addInline(p, model::Inline::makeField(field, of.format));
}

void StoryReader::flattenFields(model::Paragraph& p) {
    // Fields that run across paragraphs keep only their result text. The
    // first `flatCount` were flattened at an earlier paragraph's end, so a
    // file of many unclosed fields is not walked again at every paragraph.
    for (size_t k = flatCount; k < open.size(); ++k) {
        OpenField& of = open[k];
        for (model::Inline& in : of.result)
            p.content.push_back(std::move(in));
        of.result.clear();
        of.flattened = true;
    }
    flatCount = open.size();
}

void StoryReader::special(model::Paragraph& p, int cp, char16_t c, const Chp& chp) {
    switch (c) {
    case 0x13: {
        f.budget.spend(qint64(sizeof(OpenField)));
        OpenField of;
        of.format = chp.format;
        open.push_back(of);
        break;
    }
    case 0x14:
        if (!open.empty())
            open.back().inResult = true;
        break;
    case 0x15:
        fieldEnd(p);
        break;
    case 0x01:
        if (objects && chp.picLocation >= 0 && !chp.obj && !chp.data) {
            model::Picture pic;
            if (objects->inlinePicture(chp.picLocation, pic))
                addInline(p, model::Inline::makePicture(pic, chp.format));
        }
        break;
    case 0x08:
        if (objects) {
            model::Inline pic;
            model::Frame box;
            bool isBox = false;
            if (objects->floatingObject(cp, pic, box, isBox)) {
                if (isBox) {
                    pendingFrames.push_back(std::move(box));
                } else {
                    pic.format = chp.format;
                    addInline(p, pic);
                }
            }
        }
        break;
    default:
        break;
    }
}

int StoryReader::noteReference(model::Paragraph& p, int cp, int end, const NoteRef& ref,
                               const Chp& chp) {
    model::Note note;
    note.kind = ref.kind;
    int len = 1;
    const QString& t = f.text();
    if (ref.custom) {
        // A mark of its own: the characters of the reference's run, up to
        // the ten Word allows.
        int runEnd = cp + 1;
        chpAt(cp, 0, &runEnd);
        len = std::clamp(std::min(runEnd, end) - cp, 1, 10);
        for (int k = 0; k < len; ++k)
            if (t[cp + k].unicode() < 0x20) {
                len = std::max(1, k);
                break;
            }
        note.mark = t.mid(cp, len);
    }
    if (noteText)
        note.blocks = noteText(ref, note.mark);
    f.budget.spend(qint64(sizeof(model::Note)));
    addInline(p, model::Inline::makeNote(note, chp.format));
    return len;
}

model::Paragraph StoryReader::paragraph(const ParaRec& rec) {
    model::Paragraph p;
    p.format = rec.pap.format;
    if (rec.pap.istd == 0)
        p.format.styleName.clear();
    const QString& t = f.text();
    const int end = rec.cpEnd - 1;
    auto events = bookmarks.lowerBound(rec.cpStart);
    auto flushEvents = [&](int cp) {
        while (events != bookmarks.end() && events.key() <= cp) {
            addInline(p, model::Inline::makeBookmark(events->name, events->start));
            ++events;
        }
    };
    auto note = noteRefs.lower_bound(rec.cpStart);
    int cp = rec.cpStart;
    QString buf;
    f.budget.spend(qint64(sizeof(model::Block)) + cost(rec.pap) - qint64(sizeof(ParaRec)));
    while (cp < end && !f.budget.exhausted()) {
        flushEvents(cp);
        int runEnd = cp + 1;
        const Chp chp = chpAt(cp, rec.pap.istd, &runEnd);
        if (note != noteRefs.end() && note->first == cp) {
            cp += noteReference(p, cp, end, note->second, chp);
            ++note;
            continue;
        }
        while (note != noteRefs.end() && note->first < cp)
            ++note; // inside a field instruction or a longer mark
        runEnd = std::min(runEnd, end);
        if (events != bookmarks.end() && events.key() < runEnd)
            runEnd = std::max(cp + 1, events.key());
        if (note != noteRefs.end() && note->first < runEnd)
            runEnd = std::max(cp + 1, note->first);
        // Each character may end up in the model (text, field instruction).
        f.budget.spend(2 * qint64(runEnd - cp));
        buf.clear();
        // Hidden text is kept (with its flag); hidden field instructions
        // are field codes, not text.
        model::CharFormat format = chp.format;
        format.hidden = chp.vanish && (open.empty() || open.back().inResult);
        for (int c = cp; c < runEnd; ++c) {
            char16_t u = t[c].unicode();
            if (u >= 0x20 || u == 0x09 || u == 0x0B || u == 0x0C || u == 0x0E || u == 0x1E ||
                u == 0x1F) {
                if (u == 0x1E)
                    u = model::kNoBreakHyphen;
                else if (u == 0x1F)
                    u = model::kSoftHyphen;
                buf += QChar(u);
                continue;
            }
            addText(p, buf, format);
            buf.clear();
            special(p, c, u, chp);
        }
        addText(p, buf, format);
        cp = runEnd;
    }
    flushEvents(end);
    if (end >= rec.cpStart && end < t.size()) {
        int dummy = 0;
        p.markFormat = chpAt(end, rec.pap.istd, &dummy).format;
    }
    if (!open.empty())
        flattenFields(p);
    return p;
}

model::Table StoryReader::table(const ParaRecs& recs, size_t& i, size_t end, int depth) {
    model::Table t;
    model::TableRow row;
    model::TableCell cell;
    bool first = true;
    // Each row's table borders and the sides its cells set themselves; the
    // borders go to the cells once the last row is known.
    std::vector<model::TableBorders> rowBorders;
    std::vector<std::vector<unsigned>> rowOwn;
    auto finishRow = [&](const Tap* tap) {
        rowBorders.push_back(tap ? tap->borders : model::TableBorders());
        rowOwn.emplace_back();
        if (tap) {
            for (const Tc& tc : tap->cells)
                rowOwn.back().push_back(tc.own);
            for (size_t k = 0; k < row.cells.size(); ++k) {
                model::TableCell& c = row.cells[k];
                if (k + 1 < tap->centers.size())
                    c.width = tap->centers[k + 1] - tap->centers[k];
                if (k < tap->cells.size()) {
                    const Tc& tc = tap->cells[k];
                    c.horizontalMerge = tc.hMerge;
                    c.verticalMerge = tc.vMerge;
                    c.valign = tc.valign;
                    c.top = tc.top;
                    c.left = tc.left;
                    c.bottom = tc.bottom;
                    c.right = tc.right;
                    c.shading = tc.shading;
                }
            }
            row.height = std::abs(tap->rowHeight);
            row.heightRule = tap->rowHeight > 0   ? model::HeightRule::AtLeast
                             : tap->rowHeight < 0 ? model::HeightRule::Exact
                                                  : model::HeightRule::Auto;
            row.header = tap->header;
            row.cantSplit = tap->cantSplit;
            if (first) {
                t.align = tap->align;
                t.cellMargin = tap->gapHalf;
                t.indent = tap->centers.empty() ? 0 : tap->centers[0] + tap->gapHalf;
                first = false;
            }
        }
        f.budget.spend(qint64(sizeof(model::TableRow)));
        t.rows.push_back(std::move(row));
        row = model::TableRow();
    };
    auto finishCell = [&](bool guarded = false) {
        // The writer's empty paragraph after a nested table closing a cell
        // (this program's writer marks it a guard, left out already).
        if (!guarded && cell.blocks.size() >= 2 &&
            cell.blocks.back().kind == model::Block::Kind::Paragraph &&
            cell.blocks.back().paragraph.content.empty() &&
            cell.blocks[cell.blocks.size() - 2].kind == model::Block::Kind::Table)
            cell.blocks.pop_back();
        f.budget.spend(qint64(sizeof(model::TableCell)));
        row.cells.push_back(std::move(cell));
        cell = model::TableCell();
    };
    while (i < end && !f.budget.exhausted()) {
        const ParaRec& rec = recs[i];
        const int d = depthOf(rec.pap);
        if (d < depth)
            break;
        if (d > depth) {
            cell.blocks.push_back(model::Block::makeTable(table(recs, i, end, depth + 1)));
            continue;
        }
        const bool rowEnd = depth == 1 ? rec.pap.ttp : rec.pap.innerTtp;
        const bool cellEnd = depth == 1 ? (rec.mark == 0x07 && !rowEnd) : rec.pap.innerCell;
        ++i;
        if (rowEnd) {
            if (!cell.blocks.empty())
                finishCell();
            finishRow(&rec.pap.tap);
            continue;
        }
        if (!rec.guard)
            cell.blocks.push_back(model::Block::makeParagraph(paragraph(rec)));
        if (cellEnd)
            finishCell(rec.guard);
    }
    if (!cell.blocks.empty())
        finishCell();
    if (!row.cells.empty())
        finishRow(nullptr);
    for (size_t r = 0; r < t.rows.size() && r < rowBorders.size(); ++r)
        if (rowBorders[r].any())
            model::applyRowBorders(t.rows[r], rowBorders[r], r == 0, r + 1 == t.rows.size(),
                                   rowOwn[r]);
    return t;
}

std::vector<model::Block> StoryReader::blocks(const ParaRecs& recs, size_t begin, size_t end) {
    std::vector<model::Block> out;
    // Mostly one block per record; allocated once, within what is left.
    out.reserve(std::min<size_t>(end > begin ? end - begin : 0,
                                 size_t(f.budget.left() / qint64(sizeof(model::Block))) + 1));
    FramePos lastFrame;
    size_t i = begin;
    guardAtEnd =
        end > begin && end <= recs.size() && recs[end - 1].guard && depthOf(recs[end - 1].pap) == 0;
    while (i < end && !f.budget.exhausted()) {
        const ParaRec& rec = recs[i];
        if (rec.guard && depthOf(rec.pap) == 0) {
            ++i;
            continue;
        }
        const FramePos frame = rec.pap.frame;
        model::Block b;
        if (depthOf(rec.pap) >= 1)
            b = model::Block::makeTable(table(recs, i, end, 1));
        else
            b = model::Block::makeParagraph(paragraph(recs[i++]));
        if (!frame.isFramed()) {
            out.push_back(std::move(b));
            // Text boxes anchored in the paragraph follow it as frames.
            for (model::Frame& box : pendingFrames)
                out.push_back(model::Block::makeFrame(box));
            pendingFrames.clear();
            continue;
        }
        if (!out.empty() && out.back().kind == model::Block::Kind::Frame && lastFrame == frame) {
            out.back().frame.blocks.push_back(std::move(b));
            continue;
        }
        model::Frame fr;
        fr.x = frame.x;
        fr.y = frame.y;
        fr.width = frame.width;
        fr.height = frame.height;
        fr.heightRule = frame.height == 0 ? model::HeightRule::Auto
                        : frame.minHeight ? model::HeightRule::AtLeast
                                          : model::HeightRule::Exact;
        fr.verticalRelation = frame.pcVert == 0   ? model::VerticalRelation::Margin
                              : frame.pcVert == 1 ? model::VerticalRelation::Page
                                                  : model::VerticalRelation::Paragraph;
        fr.horizontalRelation = frame.pcHorz == 1   ? model::HorizontalRelation::Margin
                                : frame.pcHorz == 2 ? model::HorizontalRelation::Page
                                                    : model::HorizontalRelation::Column;
        fr.wrapAround = frame.wrap != 1;
        fr.border = frame.border;
        fr.blocks.push_back(std::move(b));
        lastFrame = frame;
        out.push_back(model::Block::makeFrame(fr));
    }
    return out;
}

} // namespace msdoc::rd
