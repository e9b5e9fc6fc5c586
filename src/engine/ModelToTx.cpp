// Model -> engine: fills a TxDocument from a model::Document.
#include "ModelBridge.h"

#include "BridgeCommon.h"
#include "Document.h"
#include "ListNumbers.h"
#include "TxBuild.h"
#include "TxCharAttr.h"
#include "TxDocument.h"
#include "TxFonts.h"
#include "TxImages.h"
#include "TxNotes.h"
#include "TxProps.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <map>

using txp::px;

namespace bridge {

QTextCharFormat charFormat(const model::CharFormat& cf) {
    QTextCharFormat f;
    txfont::setNames(f, cf.font, cf.fontEastAsia);
    f.setFontPointSize(cf.halfPoints / 2.0);
    f.setFontWeight(cf.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(cf.italic);
    f.setFontStrikeOut(cf.strike);
    txattr::setUnderlineKind(f, int(cf.underline));
    if (cf.valign != model::VerticalAlign::Baseline)
        txattr::set(f, 2, cf.valign == model::VerticalAlign::Superscript ? 1 : 2);
    if (cf.spacing)
        txattr::set(f, 3, cf.spacing);
    if (cf.kerning)
        txattr::set(f, 4, cf.kerning);
    if (cf.color != model::kAutoColor)
        f.setForeground(toQColor(cf.color));
    if (cf.background != model::kAutoColor)
        f.setBackground(toQColor(cf.background));
    if (cf.hidden)
        txnote::setHidden(f);
    return f;
}

namespace {

struct Builder {
    Builder(TxDocument& t, const model::Document& d) : tx(t), m(d) {}
    TxDocument& tx;
    const model::Document& m;
    // Lists per document being built, keyed by list id and level.
    std::map<QTextDocument*, ListJoiner> lists;
    // The labels of each document's list paragraphs, counted in order.
    std::map<QTextDocument*, model::ListNumbering> numbering;
    // The run formats met last: documents repeat a few looks thousands of
    // times, and making each anew was a good part of the load time.
    std::vector<std::pair<model::CharFormat, QTextCharFormat>> looks;
    int footCount = 0, endCount = 0; // numbered notes so far

    const QTextCharFormat& look(const model::CharFormat& cf) {
        for (size_t i = 0; i < looks.size(); ++i)
            if (looks[i].first == cf) {
                if (i > 0)
                    std::swap(looks[i], looks[i - 1]); // the frequent ones come first
                return looks[i > 0 ? i - 1 : 0].second;
            }
        if (looks.size() >= 16)
            looks.pop_back();
        looks.emplace_back(cf, charFormat(cf));
        return looks.back().second;
    }

    QTextBlockFormat blockFormat(const model::ParaFormat& pf) {
        QTextBlockFormat bf;
        txattr::setAlignmentValue(bf, int(pf.align));
        bf.setLeftMargin(px(pf.leftIndent));
        bf.setRightMargin(px(pf.rightIndent));
        bf.setTextIndent(px(pf.firstLineIndent));
        bf.setTopMargin(px(pf.spaceBefore));
        bf.setBottomMargin(px(pf.spaceAfter));
        txattr::setLineSpacing(bf, int(pf.lineRule), pf.lineSpacing);
        if (pf.pageBreakBefore)
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (pf.keepWithNext)
            bf.setProperty(txp::KeepWithNext, true);
        if (pf.keepTogether)
            bf.setProperty(txp::KeepTogether, true);
        if (!pf.tabs.empty()) {
            QVariantList stops;
            for (const model::TabStop& t : pf.tabs)
                stops << QVariant(QVariantList{t.position, int(t.align), int(t.leader)});
            txattr::setTabs(bf, stops);
        }
        if (!pf.styleName.isEmpty())
            bf.setProperty(txp::StyleName, pf.styleName);
        if (pf.listId > 0) {
            bf.setProperty(txp::ListId, pf.listId);
            bf.setProperty(txp::ListLevel, pf.listLevel);
        }
        return bf;
    }

    // The list format of a paragraph starting a run of its list's level.
    // Qt numbers the run's paragraphs from 1 after the prefix; the level
    // text's words and the numbers of the levels above (as they stand at the
    // run's first paragraph: "3." of "%1.%2.") go before and after the
    // number, in place of Qt's "." after it.
    QTextListFormat listFormat(const model::ParaFormat& pf, const model::ListLabel& label) {
        QTextListFormat lf;
        lf.setStyle(QTextListFormat::ListDisc);
        lf.setIndent(0);
        lf.setProperty(txp::ListId, pf.listId);
        lf.setProperty(txp::ListLevel, pf.listLevel);
        const model::ListDef* def = m.list(pf.listId);
        if (!def || pf.listLevel < 0 || pf.listLevel >= int(def->levels.size()))
            return lf;
        const model::ListLevel& lv = def->levels[size_t(pf.listLevel)];
        lf.setStyle(listStyle(lv.format));
        // Lists Qt has no style for get labels the engine draws.
        if (lv.format == model::NumberFormat::Bullet) {
            if (const QString bullet = model::bulletCharacter(lv); bullet != u"\u2022") {
                lf.setStyle(QTextListFormat::ListStyleUndefined);
                lf.setProperty(txp::ListBullet, bullet);
            }
            return lf;
        }
        lf.setNumberPrefix(label.prefix);
        lf.setNumberSuffix(label.suffix);
        if (!qtDrawsNumbers(lv.format) || lv.start != 1) {
            lf.setStyle(QTextListFormat::ListStyleUndefined);
            lf.setProperty(txp::ListNumberFormat, int(lv.format));
            lf.setProperty(txp::ListStart, lv.start);
        }
        return lf;
    }

    void addImage(const model::Picture& pic, QTextCursor& c, const QTextCharFormat& cf,
                  int fieldId) {
        const QString name = tx.addImage(pic.data, int(pic.type), c.document());
        const int id = tx.newId();
        if (!pic.isFloating()) {
            QTextImageFormat f =
                tximg::inlineFormat(name, pic.width, pic.height, pic.scaleX, pic.scaleY);
            QTextImageFormat merged = f;
            merged.merge(cf);
            merged.merge(f);
            merged.setProperty(txp::ObjectId, id);
            merged.setProperty(txp::ObjectLayout, 1);
            c.insertText(QString(QChar::ObjectReplacementCharacter), merged);
            return;
        }
        auto im = std::make_unique<TxImage>();
        im->id = id;
        im->name = name;
        im->width = pic.width;
        im->height = pic.height;
        im->scaleX = pic.scaleX;
        im->scaleY = pic.scaleY;
        im->wrap = int(pic.wrap);
        im->x = pic.x;
        im->y = pic.y;
        im->hRel = TxHRel(int(pic.horizontalRelation));
        im->vRel = TxVRel(int(pic.verticalRelation));
        im->distance = pic.wrapDistance;
        im->behindText = pic.behindText;
        im->format = cf;
        im->anchor = TxDocument::anchorAt(c.document(), c.position());
        im->order = tx.nextOrder();
        im->fieldId = fieldId;
        tx.images.push_back(std::move(im));
    }

    struct FieldCtx {
        QTextCharFormat props; // the field properties every result run gets
    };

    void inlines(BlockSink& sink, const std::vector<model::Inline>& content,
                 const FieldCtx* field) {
        QTextCursor& c = sink.cursor();
        for (const model::Inline& in : content) {
            QTextCharFormat cf = look(in.format);
            if (field)
                cf.merge(field->props);
            switch (in.kind) {
            case model::Inline::Kind::Text:
                text(sink, in.text, cf);
                break;
            case model::Inline::Kind::Picture:
                addImage(in.picture, c, cf, field ? field->props.intProperty(txp::FieldId) : 0);
                break;
            case model::Inline::Kind::Field: {
                FieldCtx ctx;
                const model::Field& fl = in.field;
                const int id = tx.newId();
                ctx.props.setProperty(txp::FieldId, id);
                ctx.props.setProperty(txp::FieldTarget, fl.target);
                ctx.props.setProperty(txp::FieldKind, fl.kind);
                ctx.props.setProperty(txp::FieldOption, fl.option);
                ctx.props.setProperty(txp::FieldWordType, int(fl.type));
                ctx.props.setProperty(txp::FieldInstruction, fl.instruction);
                ctx.props.setProperty(txp::FieldFormat,
                                      QVariant::fromValue(QTextFormat(charFormat(in.format))));
                if (field)
                    ctx.props.setProperty(txp::FieldOuter,
                                          QVariant::fromValue(QTextFormat(field->props)));
                const int before = c.document()->characterCount();
                const int at = c.position();
                const int order = tx.nextOrder();
                inlines(sink, fl.result, &ctx);
                if (c.document()->characterCount() == before) {
                    // No characters to carry the field: it stays as a mark.
                    TxMark m;
                    m.kind = TxMark::EmptyField;
                    m.field = ctx.props;
                    m.at = TxDocument::anchorAt(c.document(), at);
                    m.order = order;
                    m.fieldId = field ? field->props.intProperty(txp::FieldId) : 0;
                    tx.marks.push_back(std::move(m));
                }
                break;
            }
            case model::Inline::Kind::Note: {
                // The reference shows its number among the numbered notes of
                // its kind, or its own mark.
                int& count = in.note.kind == model::NoteKind::Foot ? footCount : endCount;
                const QString shown =
                    in.note.mark.isEmpty() ? QString::number(++count) : in.note.mark;
                QTextCharFormat rf = cf;
                rf.setProperty(txnote::NoteIndex, int(tx.notes.size()));
                tx.notes.push_back(in.note);
                c.insertText(shown, rf);
                break;
            }
            case model::Inline::Kind::BookmarkStart:
            case model::Inline::Kind::BookmarkEnd: {
                TxMark m;
                m.kind = in.kind == model::Inline::Kind::BookmarkStart ? TxMark::BookmarkStart
                                                                       : TxMark::BookmarkEnd;
                m.name = in.text;
                m.at = TxDocument::anchorAt(c.document(), c.position());
                m.order = tx.nextOrder();
                m.fieldId = field ? field->props.intProperty(txp::FieldId) : 0;
                tx.marks.push_back(std::move(m));
                break;
            }
            }
        }
    }

    // Text of a run: line breaks become Qt's line separator; a page break
    // ends the Qt block and starts one on a new page, remembered as being
    // inside one paragraph.
    void text(BlockSink& sink, const QString& s, const QTextCharFormat& cf) {
        QTextCursor& c = sink.cursor();
        qsizetype from = 0;
        for (qsizetype i = 0; i <= s.size(); ++i) {
            if (i < s.size() && s[i] != model::kPageBreak)
                continue;
            if (i > from) {
                QString run = s.mid(from, i - from);
                run.replace(model::kLineBreak, QChar(0x2028));
                c.insertText(run, cf);
            }
            from = i + 1;
            if (i == s.size())
                break;
            QTextBlockFormat bf = c.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            bf.setProperty(txp::InlinePageBreak, QVariant::fromValue(QTextFormat(cf)));
            c.insertBlock(bf, c.blockCharFormat());
        }
    }

    void paragraph(BlockSink& sink, const model::Paragraph& p) {
        QTextBlockFormat bf = blockFormat(p.format);
        const QTextCharFormat mark = look(p.markFormat);
        if (sink.firstInCell())
            bf.setProperty(txp::MarkFormat, QVariant::fromValue(QTextFormat(mark)));
        sink.paragraph(bf, mark);
        markSectionBlock(sink.cursor());
        if (p.format.listId > 0) {
            QTextCursor& c = sink.cursor();
            const model::ListLabel label =
                numbering.try_emplace(c.document(), m).first->second.nextLabel(p.format);
            lists[c.document()].add(c, p.format.listId, p.format.listLevel,
                                    listFormat(p.format, label));
        }
        inlines(sink, p.content, nullptr);
    }

    void table(BlockSink& sink, const model::Table& t) {
        // A table without rows or cells (damaged files have them) keeps its
        // place as one padding cell.
        const int rows = std::max<int>(1, int(t.rows.size()));
        const int cols = std::max(1, t.columnCount());
        QTextTableFormat tf;
        if (t.rows.empty())
            tf.setProperty(txp::NoRows, true);
        tf.setBorder(0);
        tf.setBorderCollapse(true);
        tf.setCellSpacing(0);
        tf.setCellPadding(px(t.cellMargin));
        tf.setAlignment(t.align == model::Alignment::Center  ? Qt::AlignHCenter
                        : t.align == model::Alignment::Right ? Qt::AlignRight
                                                             : Qt::AlignLeft);
        tf.setLeftMargin(px(t.indent));
        tf.setProperty(txp::TableAlign, int(t.align));
        tf.setProperty(txp::TableIndent, t.indent);
        tf.setProperty(txp::TableCellMargin, t.cellMargin);
        QVariantList rowProps;
        int headerRows = 0;
        bool counting = true;
        static const model::TableRow kNoRow;
        const model::TableRow* widest = t.rows.empty() ? &kNoRow : &t.rows.front();
        for (const model::TableRow& r : t.rows) {
            rowProps << QVariant(QVariantList{r.height, int(r.heightRule), r.header, r.cantSplit});
            counting = counting && r.header;
            headerRows += counting ? 1 : 0;
            if (r.cells.size() > widest->cells.size())
                widest = &r;
        }
        tf.setProperty(txp::RowProps, rowProps);
        tf.setHeaderRowCount(headerRows);
        QList<QTextLength> widths;
        for (const model::TableCell& cell : widest->cells)
            widths << QTextLength(QTextLength::FixedLength, px(cell.width));
        tf.setColumnWidthConstraints(widths);
        QTextTable* qt = sink.table(rows, cols, tf);
        markSectionTable(qt);
        // Spans first: Qt moves text and formats around when it merges
        // filled cells.
        const std::map<std::pair<int, int>, QVariantList> covered = merge(qt, t);
        for (int r = 0; r < rows; ++r) {
            const auto& cells = t.rows.empty() ? kNoRow.cells : t.rows[size_t(r)].cells;
            for (int k = 0; k < cols; ++k) {
                QTextTableCell qc = qt->cellAt(r, k);
                if (qc.row() != r || qc.column() != k)
                    continue; // covered by a merged cell
                if (k >= int(cells.size())) {
                    QTextTableCellFormat pad;
                    pad.setProperty(txp::PadCell, true);
                    qc.setFormat(pad);
                    continue;
                }
                const model::TableCell& cell = cells[size_t(k)];
                BlockSink inner(qc.firstCursorPosition(), true);
                blocks(inner, cell.blocks);
                inner.finish();
                // After the content: the first paragraph's mark format and
                // the cell's format are one in Qt, and the cell's wins.
                QTextTableCellFormat cf = cellFormat(cell);
                const auto it = covered.find({r, k});
                if (it != covered.end())
                    cf.setProperty(txp::CoveredCells, it->second);
                qt->cellAt(r, k).setFormat(cf);
            }
        }
        sink.afterTable(qt);
    }

    // Merged cells become Qt spans; the properties of the cells a span
    // covers are returned by the covering cell's place.
    std::map<std::pair<int, int>, QVariantList> merge(QTextTable* qt, const model::Table& t) {
        std::map<std::pair<int, int>, QVariantList> out;
        const int rows = int(t.rows.size());
        auto cellAt = [&](int r, int k) -> const model::TableCell* {
            if (r >= rows || k >= int(t.rows[size_t(r)].cells.size()))
                return nullptr;
            return &t.rows[size_t(r)].cells[size_t(k)];
        };
        for (int r = 0; r < rows; ++r)
            for (int k = 0; k < int(t.rows[size_t(r)].cells.size()); ++k) {
                const model::TableCell* cell = cellAt(r, k);
                if (cell->horizontalMerge == model::Merge::Continue ||
                    cell->verticalMerge == model::Merge::Continue)
                    continue;
                int span = 1;
                while (const model::TableCell* n = cellAt(r, k + span)) {
                    if (n->horizontalMerge != model::Merge::Continue)
                        break;
                    ++span;
                }
                int down = 1;
                if (cell->verticalMerge == model::Merge::Restart)
                    while (const model::TableCell* n = cellAt(r + down, k)) {
                        if (n->verticalMerge != model::Merge::Continue)
                            break;
                        ++down;
                    }
                if (span == 1 && down == 1)
                    continue;
                // Cells a span covers keep their properties and the formats
                // of their empty paragraphs; a span over text stays unmerged
                // (Qt would move the text), the cells keeping their flags.
                QVariantList list;
                bool text = false;
                for (int rr = r; rr < r + down; ++rr)
                    for (int kk = k; kk < k + span; ++kk)
                        if (const model::TableCell* c = cellAt(rr, kk); c && (rr != r || kk != k)) {
                            QVariantMap m = cellProps(*c);
                            m.insert(QStringLiteral("r"), rr);
                            m.insert(QStringLiteral("c"), kk);
                            QVariantList paras;
                            for (const model::Block& b : c->blocks) {
                                if (b.kind != model::Block::Kind::Paragraph ||
                                    !b.paragraph.content.empty()) {
                                    text = true;
                                    break;
                                }
                                paras << QVariant(
                                    QVariantList{QVariant::fromValue(
                                                     QTextFormat(blockFormat(b.paragraph.format))),
                                                 QVariant::fromValue(QTextFormat(
                                                     charFormat(b.paragraph.markFormat)))});
                            }
                            m.insert(QStringLiteral("p"), paras);
                            list << m;
                        }
                if (text)
                    continue;
                out[{r, k}] = list;
                qt->mergeCells(r, k, down, span);
            }
        return out;
    }

    void frame(BlockSink& sink, const model::Frame& f) {
        auto fr = std::make_unique<TxFrame>();
        fr->id = tx.newId();
        fr->x = f.x;
        fr->y = f.y;
        fr->width = f.width;
        fr->height = f.height;
        fr->heightRule = int(f.heightRule);
        fr->hRel = TxHRel(int(f.horizontalRelation));
        fr->vRel = TxVRel(int(f.verticalRelation));
        fr->wrapAround = f.wrapAround;
        fr->border = toTx(f.border);
        fr->doc = tx.newPartDocument();
        sink.ensureFresh();
        fr->anchor = TxDocument::anchorAt(sink.cursor().document(), sink.position());
        fr->order = tx.nextOrder();
        QTextCursor fc(fr->doc.get());
        BlockSink inner(fc);
        blocks(inner, f.blocks);
        inner.finish();
        tx.frames.push_back(std::move(fr));
    }

    void blocks(BlockSink& sink, const std::vector<model::Block>& bs) {
        for (const model::Block& b : bs) {
            switch (b.kind) {
            case model::Block::Kind::Paragraph:
                paragraph(sink, b.paragraph);
                break;
            case model::Block::Kind::Table:
                table(sink, b.table);
                break;
            case model::Block::Kind::Frame:
                frame(sink, b.frame);
                break;
            }
        }
    }

    void fillPart(QTextDocument* doc, const std::vector<model::Block>& bs) {
        doc->setUndoRedoEnabled(false);
        BlockSink sink{QTextCursor(doc)};
        blocks(sink, bs);
        sink.finish();
        doc->setUndoRedoEnabled(true);
    }

    std::unique_ptr<QTextDocument> part(const std::vector<model::Block>& bs) {
        if (bs.empty())
            return nullptr;
        auto doc = tx.newPartDocument();
        fillPart(doc.get(), bs);
        return doc;
    }

    void build() {
        tx.clear(true);
        tx.defaultTabStop = m.defaultTabStop;
        QTextOption opt = tx.body()->defaultTextOption();
        opt.setTabStopDistance(px(m.defaultTabStop));
        tx.body()->setDefaultTextOption(opt);
        for (const model::ListDef& l : m.lists)
            tx.lists.push_back(toTx(l));
        QTextDocument* body = tx.body();
        body->setUndoRedoEnabled(false);
        // One edit for the whole build: Qt rescans the document's frames at
        // the end of every edit, which made each table cost the whole text
        // before it.
        QTextCursor whole(body);
        whole.beginEditBlock();
        BlockSink sink{QTextCursor(body)};
        for (size_t s = 0; s < m.sections.size(); ++s) {
            const model::Section& sec = m.sections[s];
            if (s == 0) {
                tx.page = toTx(sec.page);
                tx.titlePage = sec.titlePage;
                tx.sectionStart = int(sec.start);
                const std::vector<model::Block>* parts[4] = {&sec.header, &sec.firstHeader,
                                                             &sec.footer, &sec.firstFooter};
                for (int i = 0; i < 4; ++i)
                    if (!parts[i]->empty())
                        fillPart(tx.ensurePart(1 << i), *parts[i]);
            } else {
                auto ts = std::make_unique<TxSection>();
                ts->page = toTx(sec.page);
                ts->start = int(sec.start);
                ts->titlePage = sec.titlePage;
                ts->parts[0] = part(sec.header);
                ts->parts[1] = part(sec.firstHeader);
                ts->parts[2] = part(sec.footer);
                ts->parts[3] = part(sec.firstFooter);
                tx.sections.push_back(std::move(ts));
                pendingSection = int(s);
                pendingStart = sec.start;
            }
            blocks(sink, sec.blocks);
        }
        sink.finish();
        whole.endEditBlock();
        body->setUndoRedoEnabled(true);
    }

    // Section s starts at the next paragraph or table of the body: it carries
    // the index; a section that starts on a new page gives it a page break.
    int pendingSection = 0;
    model::SectionStart pendingStart = model::SectionStart::NewPage;

    void markSectionBlock(QTextCursor& c) {
        if (!pendingSection || c.document() != tx.body())
            return;
        QTextBlockFormat bf = c.blockFormat();
        bf.setProperty(txp::SectionIndex, pendingSection);
        if (pendingStart != model::SectionStart::Continuous &&
            pendingStart != model::SectionStart::NewColumn) {
            bf.setProperty(txp::SectionBreak, true);
            bf.setProperty(txp::OwnPageBreak,
                           bool(bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        }
        c.setBlockFormat(bf);
        pendingSection = 0;
    }

    void markSectionTable(QTextTable* t) {
        if (!pendingSection || t->document() != tx.body())
            return;
        QTextTableFormat tf = t->format();
        tf.setProperty(txp::SectionIndex, pendingSection);
        t->setFormat(tf);
        pendingSection = 0;
    }
};

} // namespace

void toEngine(const model::Document& doc, TxDocument& out) {
    Builder b(out, doc);
    b.build();
}

} // namespace bridge
