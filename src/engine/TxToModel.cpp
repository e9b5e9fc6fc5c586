// Engine -> model: the model::Document of a TxDocument.
#include "ModelBridge.h"

#include "BridgeCommon.h"
#include "Document.h"
#include "TxCharAttr.h"
#include "TxDocument.h"
#include "TxFieldOps.h"
#include "TxFonts.h"
#include "TxProps.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include "TxNotes.h"
#include <algorithm>

#include <functional>
#include <map>

using txp::twips;

namespace bridge {

model::CharFormat charFormat(const QTextCharFormat& f) {
    model::CharFormat cf;
    if (f.hasProperty(txp::FontLatin) || !f.fontFamilies().toStringList().isEmpty()) {
        cf.font = txfont::latin(f);
        cf.fontEastAsia = txfont::eastAsia(f);
    }
    if (f.fontPointSize() > 0)
        cf.halfPoints = qRound(f.fontPointSize() * 2);
    cf.bold = f.fontWeight() >= QFont::DemiBold;
    cf.italic = f.fontItalic();
    cf.strike = f.fontStrikeOut();
    cf.underline = model::Underline(txattr::underlineKind(f));
    const int va = txattr::get(f, 2);
    cf.valign = va == 1   ? model::VerticalAlign::Superscript
                : va == 2 ? model::VerticalAlign::Subscript
                          : model::VerticalAlign::Baseline;
    cf.spacing = txattr::get(f, 3);
    cf.kerning = txattr::get(f, 4);
    if (f.foreground().style() != Qt::NoBrush)
        cf.color = fromQColor(f.foreground().color());
    if (f.background().style() != Qt::NoBrush)
        cf.background = fromQColor(f.background().color());
    cf.hidden = txnote::isHidden(f);
    return cf;
}

namespace {

// An object without characters of its own, placed at a position; fieldId
// is the field whose result it belongs to; ownField, for a field with an
// empty result, the id such objects name it by.
struct Item {
    int pos;
    int order;
    model::Inline in;
    int fieldId = 0;
    int ownField = 0;
};

struct Exporter {
    explicit Exporter(const TxDocument& d) : tx(d) {}
    const TxDocument& tx;
    model::Document out;
    std::map<const QTextDocument*, std::vector<Item>> items;
    std::map<std::pair<const QTextDocument*, int>, std::vector<const TxFrame*>> frames;
    std::map<const QTextList*, int> madeLists; // lists made in the engine -> model ids

    // Section bookkeeping of the body walk.
    std::vector<model::Block>* cur = nullptr;

    void prepare() {
        for (const auto& im : tx.images) {
            model::Picture pic;
            const auto it = tx.imageData.constFind(im->name);
            if (it != tx.imageData.cend()) {
                pic.data = it->bytes;
                pic.type = model::ImageType(it->type);
            }
            pic.width = im->width;
            pic.height = im->height;
            pic.scaleX = im->scaleX;
            pic.scaleY = im->scaleY;
            pic.wrap = model::Wrap(im->wrap);
            pic.x = im->x;
            pic.y = im->y;
            pic.horizontalRelation = model::HorizontalRelation(int(im->hRel));
            pic.verticalRelation = model::VerticalRelation(int(im->vRel));
            pic.wrapDistance = im->distance;
            pic.behindText = im->behindText;
            items[im->anchor.document()].push_back(
                {im->anchor.position(), im->order,
                 model::Inline::makePicture(pic, charFormat(im->format)), im->fieldId});
        }
        for (const TxMark& m : tx.marks) {
            Item item{m.at.position(), m.order, {}, m.fieldId};
            if (m.kind == TxMark::EmptyField) {
                item.in = fieldInline(m.field);
                item.ownField = m.field.intProperty(txp::FieldId);
            } else {
                item.in = model::Inline::makeBookmark(m.name, m.kind == TxMark::BookmarkStart);
            }
            items[m.at.document()].push_back(std::move(item));
        }
        for (auto& [doc, v] : items)
            std::stable_sort(v.begin(), v.end(), [](const Item& a, const Item& b) {
                return a.pos != b.pos ? a.pos < b.pos : a.order < b.order;
            });
        for (const auto& f : tx.frames)
            frames[{f->anchor.document(), f->anchor.block().blockNumber()}].push_back(f.get());
        for (auto& [key, v] : frames)
            std::stable_sort(v.begin(), v.end(), [](const TxFrame* a, const TxFrame* b) {
                return a->order < b->order;
            });
    }

    model::ParaFormat paraFormat(const QTextBlock& b) {
        model::ParaFormat pf = paraFormat(b.blockFormat());
        if (const QTextList* list = b.textList()) {
            if (pf.listId <= 0) {
                pf.listId = listFor(list);
                // The list's indent is its level (1 the outermost).
                pf.listLevel = std::clamp(list->format().indent() - 1, 0, 8);
            }
        } else {
            pf.listId = 0;
            pf.listLevel = 0;
        }
        return pf;
    }

    // The paragraph values of a block format (its list as the format names it).
    static model::ParaFormat paraFormat(const QTextBlockFormat& bf) {
        model::ParaFormat pf;
        pf.align = model::Alignment(txattr::alignmentValue(bf));
        pf.leftIndent = twips(bf.leftMargin());
        pf.rightIndent = twips(bf.rightMargin());
        pf.firstLineIndent = twips(bf.textIndent());
        pf.spaceBefore = twips(bf.topMargin());
        pf.spaceAfter = twips(bf.bottomMargin());
        pf.lineRule = model::LineRule(txattr::lineRule(bf));
        pf.lineSpacing = txattr::lineValue(bf);
        if (bf.boolProperty(txp::SectionBreak))
            pf.pageBreakBefore = bf.boolProperty(txp::OwnPageBreak);
        else
            pf.pageBreakBefore = !bf.hasProperty(txp::InlinePageBreak) &&
                                 (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        pf.keepWithNext = bf.boolProperty(txp::KeepWithNext);
        pf.keepTogether = bf.boolProperty(txp::KeepTogether);
        if (bf.hasProperty(txp::TabStops)) {
            for (const QVariant& v : bf.property(txp::TabStops).toList()) {
                const QVariantList t = v.toList();
                if (t.size() == 3)
                    pf.tabs.push_back({t[0].toInt(), model::TabAlign(t[1].toInt()),
                                       model::TabLeader(t[2].toInt())});
            }
        } else {
            for (const QTextOption::Tab& t : bf.tabPositions()) {
                model::TabStop ts;
                ts.position = twips(t.position);
                ts.align = t.type == QTextOption::CenterTab      ? model::TabAlign::Center
                           : t.type == QTextOption::RightTab     ? model::TabAlign::Right
                           : t.type == QTextOption::DelimiterTab ? model::TabAlign::Decimal
                                                                 : model::TabAlign::Left;
                pf.tabs.push_back(ts);
            }
        }
        pf.styleName = bf.stringProperty(txp::StyleName);
        pf.listId = bf.intProperty(txp::ListId);
        pf.listLevel = bf.intProperty(txp::ListLevel);
        return pf;
    }

    // The paragraph mark's format. The first paragraph of a table cell has
    // the cell's format in Qt's place for it.
    model::CharFormat markFormat(const QTextBlock& b) {
        const QVariant kept = b.blockFormat().property(txp::MarkFormat);
        if (kept.isValid())
            return charFormat(kept.value<QTextFormat>().toCharFormat());
        QTextCharFormat f = b.charFormat();
        if (f.isTableCellFormat() || f.hasProperty(txp::CellProps)) {
            f.clearBackground();
            f.clearProperty(QTextFormat::TextVerticalAlignment);
        }
        return charFormat(f);
    }

    // A list made in the engine becomes a list definition of nine levels,
    // each indented one step further.
    int listFor(const QTextList* list) {
        const auto it = madeLists.find(list);
        if (it != madeLists.end())
            return it->second;
        int id = 1;
        for (const model::ListDef& l : out.lists)
            id = std::max(id, l.id + 1);
        model::ListDef def;
        def.id = id;
        const auto style = list->format().style();
        const bool bullet = style == QTextListFormat::ListDisc ||
                            style == QTextListFormat::ListCircle ||
                            style == QTextListFormat::ListSquare;
        for (int k = 0; k < 9; ++k) {
            model::ListLevel lv;
            lv.format = bullet ? model::NumberFormat::Bullet : model::NumberFormat::Decimal;
            lv.text = bullet ? QStringLiteral("\u2022") : QStringLiteral("%%1.").arg(k + 1);
            lv.indent = 420 * (k + 1);
            lv.hanging = 420;
            def.levels.push_back(lv);
        }
        out.lists.push_back(def);
        madeLists[list] = id;
        return id;
    }

    // The inlines of a block: text runs, fields (runs sharing a field id),
    // inline pictures, and the objects anchored in it.
    // Fields open while a block's runs are walked, outermost first.
    struct Open {
        int id;
        model::Inline field;
    };
    struct Runs {
        std::vector<Open> open;
        int innermost() const { return open.empty() ? 0 : open.back().id; }
    };

    // A field (its result still empty) from the field properties of a format.
    static model::Inline fieldInline(const QTextCharFormat& f) {
        model::Field fl;
        fl.type = model::FieldType(f.intProperty(txp::FieldWordType));
        fl.instruction = f.stringProperty(txp::FieldInstruction);
        fl.target = f.stringProperty(txp::FieldTarget);
        fl.kind = f.intProperty(txp::FieldKind);
        fl.option = f.intProperty(txp::FieldOption);
        const QVariant own = f.property(txp::FieldFormat);
        const model::CharFormat cf = own.isValid()
                                         ? charFormat(own.value<QTextFormat>().toCharFormat())
                                         : charFormat(stripped(f));
        return model::Inline::makeField(fl, cf);
    }

    static QTextCharFormat stripped(QTextCharFormat f) {
        txfield::strip(f);
        return f;
    }

    // Objects at one place, emitted in their order; an empty field takes the
    // objects that stood in its result.
    void emitItems(std::vector<const Item*>& pending, std::vector<model::Inline>& dst,
                   const std::function<bool(const Item&)>& which) {
        for (size_t i = 0; i < pending.size(); ++i) {
            const Item* item = pending[i];
            if (!item || !which(*item))
                continue;
            pending[i] = nullptr;
            model::Inline in = item->in;
            if (item->ownField)
                for (size_t j = i + 1; j < pending.size(); ++j)
                    if (pending[j] && pending[j]->fieldId == item->ownField) {
                        in.field.result.push_back(pending[j]->in);
                        pending[j] = nullptr;
                    }
            dst.push_back(std::move(in));
        }
    }

    void blockContent(const QTextBlock& b, std::vector<model::Inline>& content,
                      std::vector<Item>* docItems, size_t& next) {
        Runs r;
        int lastNote = -1; // the reference the previous fragment belongs to
        const int endPos = b.position() + b.length() - 1;
        auto take = [&](int upTo) {
            std::vector<const Item*> pending;
            while (docItems && next < docItems->size() && (*docItems)[next].pos <= upTo) {
                if ((*docItems)[next].pos >= b.position())
                    pending.push_back(&(*docItems)[next]);
                ++next;
            }
            return pending;
        };
        auto dst = [&]() -> std::vector<model::Inline>& {
            return r.open.empty() ? content : r.open.back().field.field.result;
        };
        // Where the fields around the text change to those of `f`: objects of
        // a closing field go in before it closes, those of an opening one
        // after it opens, the others in between.
        auto change = [&](int pos, const QTextCharFormat* f) {
            std::vector<QTextCharFormat> chain;
            for (QTextCharFormat cur = f ? *f : QTextCharFormat(); cur.intProperty(txp::FieldId);) {
                chain.insert(chain.begin(), cur);
                const QVariant outer = cur.property(txp::FieldOuter);
                if (!outer.isValid())
                    break;
                cur = outer.value<QTextFormat>().toCharFormat();
            }
            std::vector<const Item*> pending = take(pos);
            size_t keep = 0;
            while (keep < r.open.size() && keep < chain.size() &&
                   r.open[keep].id == chain[keep].intProperty(txp::FieldId))
                ++keep;
            while (r.open.size() > keep) {
                const int id = r.open.back().id;
                emitItems(pending, r.open.back().field.field.result,
                          [&](const Item& i) { return i.fieldId == id; });
                model::Inline done = std::move(r.open.back().field);
                r.open.pop_back();
                dst().push_back(std::move(done));
            }
            std::vector<int> opening;
            for (size_t j = keep; j < chain.size(); ++j)
                opening.push_back(chain[j].intProperty(txp::FieldId));
            emitItems(pending, dst(), [&](const Item& i) {
                return std::find(opening.begin(), opening.end(), i.fieldId) == opening.end();
            });
            for (size_t j = keep; j < chain.size(); ++j) {
                const int id = chain[j].intProperty(txp::FieldId);
                r.open.push_back({id, fieldInline(chain[j])});
                emitItems(pending, dst(), [&](const Item& i) { return i.fieldId == id; });
            }
        };
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const QTextCharFormat f = fr.charFormat();
            if (f.intProperty(txp::FieldId) != r.innermost())
                change(fr.position(), &f);
            const model::CharFormat cf = charFormat(stripped(f));
            const QString text = fr.text();
            if (const int note = txnote::noteIndex(f); note >= 0) {
                // A note's reference: the note once, for all its characters.
                if (docItems && next < docItems->size() && (*docItems)[next].pos <= fr.position()) {
                    std::vector<const Item*> pending = take(fr.position());
                    emitItems(pending, dst(), [](const Item&) { return true; });
                }
                if (size_t(note) < tx.notes.size() && note != lastNote)
                    dst().push_back(model::Inline::makeNote(tx.notes[size_t(note)], cf));
                lastNote = note;
                continue;
            }
            lastNote = -1;
            QString run;
            auto flush = [&] {
                if (!run.isEmpty())
                    dst().push_back(model::Inline::makeText(run, cf));
                run.clear();
            };
            for (int i = 0; i < text.size(); ++i) {
                const int pos = fr.position() + i;
                if (docItems && next < docItems->size() && (*docItems)[next].pos <= pos) {
                    flush();
                    std::vector<const Item*> pending = take(pos);
                    emitItems(pending, dst(), [](const Item&) { return true; });
                }
                const QChar ch = text.at(i);
                if (ch == QChar::ObjectReplacementCharacter && f.isImageFormat()) {
                    flush();
                    dst().push_back(model::Inline::makePicture(picture(f.toImageFormat()), cf));
                } else if (ch == QChar(0x2028)) {
                    run += QChar(model::kLineBreak);
                } else {
                    run += ch;
                }
            }
            flush();
        }
        change(endPos, nullptr);
    }

    model::Picture picture(const QTextImageFormat& f) {
        model::Picture pic;
        const auto it = tx.imageData.constFind(f.name());
        if (it != tx.imageData.cend()) {
            pic.data = it->bytes;
            pic.type = model::ImageType(it->type);
        }
        pic.width = f.intProperty(txp::ImageNaturalW);
        pic.height = f.intProperty(txp::ImageNaturalH);
        pic.scaleX = f.hasProperty(txp::ImageScaleX) ? f.intProperty(txp::ImageScaleX) : 100;
        pic.scaleY = f.hasProperty(txp::ImageScaleY) ? f.intProperty(txp::ImageScaleY) : 100;
        if (!pic.width && f.width() > 0) {
            pic.width = twips(f.width());
            pic.height = twips(f.height());
        }
        return pic;
    }

    void frameBlocks(const QTextBlock& b, std::vector<model::Block>& outBlocks) {
        const auto it = frames.find({b.document(), b.blockNumber()});
        if (it == frames.end())
            return;
        for (const TxFrame* f : it->second) {
            model::Frame mf;
            mf.x = f->x;
            mf.y = f->y;
            mf.width = f->width;
            mf.height = f->height;
            mf.heightRule = model::HeightRule(f->heightRule);
            mf.horizontalRelation = model::HorizontalRelation(int(f->hRel));
            mf.verticalRelation = model::VerticalRelation(int(f->vRel));
            mf.wrapAround = f->wrapAround;
            mf.border = fromTx(f->border);
            mf.blocks = documentBlocks(f->doc.get());
            outBlocks.push_back(model::Block::makeFrame(mf));
        }
    }

    // Walks a frame (root frame or table cell) of `doc`.
    void walk(QTextFrame::iterator it, std::vector<model::Block>* dst, bool bodyRoot) {
        cur = dst;
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* t = qobject_cast<QTextTable*>(child)) {
                    if (bodyRoot)
                        maybeSection(t->format().intProperty(txp::SectionIndex));
                    std::vector<model::Block>* keep = cur;
                    model::Block tb = model::Block::makeTable(table(t));
                    cur = keep;
                    cur->push_back(std::move(tb));
                } else {
                    std::vector<model::Block>* keep = cur;
                    walk(child->begin(), keep, false);
                    cur = keep;
                }
                continue;
            }
            QTextBlock b = it.currentBlock();
            const QTextBlockFormat bf = b.blockFormat();
            if (bodyRoot)
                maybeSection(bf.intProperty(txp::SectionIndex));
            frameBlocks(b, *cur);
            std::vector<Item>* docItems = nullptr;
            const auto di = items.find(b.document());
            if (di != items.end())
                docItems = &di->second;
            size_t next = 0;
            if (docItems)
                next = size_t(std::lower_bound(docItems->begin(), docItems->end(), b.position(),
                                               [](const Item& i, int p) { return i.pos < p; }) -
                              docItems->begin());
            const bool hasItems = docItems && next < docItems->size() &&
                                  (*docItems)[next].pos < b.position() + b.length();
            if (bf.boolProperty(txp::Placeholder) && b.length() <= 1 && !hasItems)
                continue;
            model::Paragraph p;
            p.format = paraFormat(b);
            p.markFormat = markFormat(b);
            blockContent(b, p.content, docItems, next);
            // A page break that stood inside this paragraph joins the next block.
            QTextBlock n = b.next();
            while (n.isValid() && n.blockFormat().hasProperty(txp::InlinePageBreak) &&
                   it.parentFrame() == n.document()->frameAt(n.position())) {
                const QTextCharFormat bfmt = n.blockFormat()
                                                 .property(txp::InlinePageBreak)
                                                 .value<QTextFormat>()
                                                 .toCharFormat();
                p.content.push_back(
                    model::Inline::makeText(QString(QChar(model::kPageBreak)), charFormat(bfmt)));
                blockContent(n, p.content, docItems, next);
                ++it;
                b = n;
                n = b.next();
            }
            cur->push_back(model::Block::makeParagraph(p));
        }
    }

    void maybeSection(int index) {
        if (index <= 0 || index > int(tx.sections.size()))
            return;
        while (int(out.sections.size()) <= index) {
            const TxSection& ts = *tx.sections[out.sections.size() - 1];
            model::Section s;
            s.page = fromTx(ts.page);
            s.start = model::SectionStart(ts.start);
            s.titlePage = ts.titlePage;
            s.header = documentBlocks(ts.parts[0].get());
            s.firstHeader = documentBlocks(ts.parts[1].get());
            s.footer = documentBlocks(ts.parts[2].get());
            s.firstFooter = documentBlocks(ts.parts[3].get());
            out.sections.push_back(std::move(s));
        }
        cur = &out.sections[size_t(index)].blocks;
    }

    std::vector<model::Block> documentBlocks(const QTextDocument* doc) {
        std::vector<model::Block> blocks;
        if (!doc)
            return blocks;
        std::vector<model::Block>* keep = cur;
        walk(doc->rootFrame()->begin(), &blocks, false);
        cur = keep;
        return blocks;
    }

    model::Table table(QTextTable* t) {
        const QTextTableFormat tf = t->format();
        model::Table mt;
        mt.align = model::Alignment(tf.intProperty(txp::TableAlign));
        mt.indent = tf.intProperty(txp::TableIndent);
        mt.cellMargin = tf.hasProperty(txp::TableCellMargin) ? tf.intProperty(txp::TableCellMargin)
                                                             : twips(tf.cellPadding());
        const QVariantList rowProps = tf.property(txp::RowProps).toList();
        const QList<QTextLength> widths = tf.columnWidthConstraints();
        for (int r = 0; r < (tf.boolProperty(txp::NoRows) ? 0 : t->rows()); ++r) {
            model::TableRow row;
            const QVariantList rp = rowProps.value(r).toList();
            if (rp.size() == 4) {
                row.height = rp[0].toInt();
                row.heightRule = model::HeightRule(rp[1].toInt());
                row.header = rp[2].toBool();
                row.cantSplit = rp[3].toBool();
            } else {
                row.header = r < tf.headerRowCount();
            }
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell qc = t->cellAt(r, c);
                const QTextCharFormat cf = qc.format();
                if (qc.row() == r && qc.column() == c) {
                    if (cf.boolProperty(txp::PadCell))
                        continue;
                    model::TableCell cell;
                    if (cf.hasProperty(txp::CellProps)) {
                        cell = cellFromProps(cf.property(txp::CellProps).toMap());
                    } else {
                        cell.width = columnWidth(widths, c, t);
                        if (qc.columnSpan() > 1)
                            cell.horizontalMerge = model::Merge::Restart;
                        if (qc.rowSpan() > 1)
                            cell.verticalMerge = model::Merge::Restart;
                    }
                    std::vector<model::Block>* keep = cur;
                    walk(qc.begin(), &cell.blocks, false);
                    cur = keep;
                    if (cell.blocks.empty())
                        cell.blocks.push_back(model::Block::makeParagraph({}));
                    row.cells.push_back(std::move(cell));
                } else {
                    row.cells.push_back(coveredCell(t, qc, r, c, widths));
                }
            }
            mt.rows.push_back(std::move(row));
        }
        return mt;
    }

    model::TableCell coveredCell(QTextTable* t, const QTextTableCell& master, int r, int c,
                                 const QList<QTextLength>& widths) {
        const QVariantList covered = master.format().property(txp::CoveredCells).toList();
        for (const QVariant& v : covered) {
            const QVariantMap m = v.toMap();
            if (m.value(QStringLiteral("r")).toInt() == r &&
                m.value(QStringLiteral("c")).toInt() == c) {
                model::TableCell cell = cellFromProps(m);
                for (const QVariant& p : m.value(QStringLiteral("p")).toList()) {
                    const QVariantList formats = p.toList();
                    model::Paragraph para;
                    if (formats.size() == 2) {
                        para.format = paraFormat(formats[0].value<QTextFormat>().toBlockFormat());
                        para.markFormat =
                            charFormat(formats[1].value<QTextFormat>().toCharFormat());
                    }
                    cell.blocks.push_back(model::Block::makeParagraph(para));
                }
                if (cell.blocks.empty())
                    cell.blocks.push_back(model::Block::makeParagraph({}));
                return cell;
            }
        }
        model::TableCell cell;
        cell.width = columnWidth(widths, c, t);
        if (master.row() == r)
            cell.horizontalMerge = model::Merge::Continue;
        else
            cell.verticalMerge = model::Merge::Continue;
        cell.blocks.push_back(model::Block::makeParagraph({}));
        return cell;
    }

    int columnWidth(const QList<QTextLength>& widths, int c, const QTextTable* t) {
        const int text = tx.page.textWidth();
        if (c < widths.size()) {
            const QTextLength& l = widths[c];
            if (l.type() == QTextLength::FixedLength)
                return twips(l.rawValue());
            if (l.type() == QTextLength::PercentageLength)
                return qRound(text * l.rawValue() / 100.0);
        }
        return text / std::max(1, t->columns());
    }

    void run() {
        prepare();
        out.defaultTabStop = tx.defaultTabStop;
        for (const TxListDef& l : tx.lists)
            out.lists.push_back(fromTx(l));
        model::Section first;
        first.page = fromTx(tx.page);
        first.titlePage = tx.titlePage;
        first.start = model::SectionStart(tx.sectionStart);
        first.header = documentBlocks(tx.part(1));
        first.firstHeader = documentBlocks(tx.part(2));
        first.footer = documentBlocks(tx.part(4));
        first.firstFooter = documentBlocks(tx.part(8));
        out.sections.push_back(std::move(first));
        walk(tx.body()->rootFrame()->begin(), &out.sections[0].blocks, true);
    }
};

} // namespace

model::Document fromEngine(const TxDocument& doc) {
    Exporter e(doc);
    e.run();
    return std::move(e.out);
}

} // namespace bridge
