// Walks model blocks and produces one story's text with its character runs,
// paragraph properties, fields and bookmarks.
#include "Bytes.h"
#include "Document.h"
#include "OfficeArt.h"
#include "Sprm.h"
#include "WriterParts.h"

#include <algorithm>

namespace msdoc::wr {

namespace {

constexpr char16_t kParaMark = 0x0D;
constexpr char16_t kCellMark = 0x07;
constexpr char16_t kSectionMark = 0x0C;

QByteArray withSpec(QByteArray chpx) {
    ByteWriter w;
    w.u16(sprm::CFSpec);
    w.u8(1);
    return chpx + w.bytes;
}

QByteArray sprmBytes(int op, int value, int size) {
    ByteWriter w;
    w.u16(op);
    if (size == 1)
        w.u8(value);
    else if (size == 2)
        w.u16(value);
    else
        w.u32(quint32(value));
    return w.bytes;
}

// Field type codes of the common field keywords.
int fieldTypeCode(const QString& keyword) {
    static const QHash<QString, int> codes{{"REF", 3},
                                           {"SET", 6},
                                           {"IF", 7},
                                           {"INDEX", 8},
                                           {"STYLEREF", 10},
                                           {"SEQ", 12},
                                           {"TOC", 13},
                                           {"INFO", 14},
                                           {"TITLE", 15},
                                           {"SUBJECT", 16},
                                           {"AUTHOR", 17},
                                           {"KEYWORDS", 18},
                                           {"COMMENTS", 19},
                                           {"LASTSAVEDBY", 20},
                                           {"CREATEDATE", 21},
                                           {"SAVEDATE", 22},
                                           {"PRINTDATE", 23},
                                           {"REVNUM", 24},
                                           {"EDITTIME", 25},
                                           {"NUMPAGES", 26},
                                           {"NUMWORDS", 27},
                                           {"NUMCHARS", 28},
                                           {"FILENAME", 29},
                                           {"TEMPLATE", 30},
                                           {"DATE", 31},
                                           {"TIME", 32},
                                           {"PAGE", 33},
                                           {"=", 34},
                                           {"QUOTE", 35},
                                           {"INCLUDE", 36},
                                           {"PAGEREF", 37},
                                           {"SYMBOL", 57},
                                           {"MERGEFIELD", 59},
                                           {"DOCVARIABLE", 64},
                                           {"SECTION", 65},
                                           {"SECTIONPAGES", 66},
                                           {"INCLUDEPICTURE", 67},
                                           {"FILESIZE", 69},
                                           {"NOTEREF", 72},
                                           {"DOCPROPERTY", 85},
                                           {"HYPERLINK", 88},
                                           {"LISTNUM", 90}};
    return codes.value(keyword.toUpper(), 1);
}

QString quoted(const QString& s) {
    QString q = s;
    q.replace(u'\\', QStringLiteral("\\\\"));
    q.replace(u'"', QStringLiteral("\\\""));
    return u'"' + q + u'"';
}

} // namespace

QString fieldInstruction(const model::Field& f) {
    switch (f.type) {
    case model::FieldType::Hyperlink:
        return QStringLiteral(" HYPERLINK ") + quoted(f.target) + u' ';
    case model::FieldType::Page:
        return QStringLiteral(" PAGE ");
    case model::FieldType::NumPages:
        return QStringLiteral(" NUMPAGES ");
    case model::FieldType::Date:
        return f.instruction.isEmpty() ? QStringLiteral(" DATE ") : f.instruction;
    case model::FieldType::Time:
        return f.instruction.isEmpty() ? QStringLiteral(" TIME ") : f.instruction;
    case model::FieldType::Other:
        return f.instruction;
    }
    return f.instruction;
}

void StoryWriter::append(const QString& s, const QByteArray& chpx) {
    if (s.isEmpty())
        return;
    if (runs.empty() || runs.back().chpx != chpx)
        runs.push_back({int(text.size()), chpx});
    text += s;
}

void StoryWriter::endParagraph(char16_t mark, const QByteArray& papx, const QByteArray& markChpx) {
    append(QString(QChar(mark)), markChpx);
    paras.push_back({int(text.size()), papx});
}

void StoryWriter::writeBlocks(const std::vector<model::Block>& b) {
    blocks(b, Context(), false);
}

void StoryWriter::blocks(const std::vector<model::Block>& list, const Context& c, bool cellEnd) {
    const model::Paragraph empty;
    for (size_t i = 0; i < list.size(); ++i) {
        const model::Block& b = list[i];
        const bool last = i + 1 == list.size();
        switch (b.kind) {
        case model::Block::Kind::Paragraph: {
            const bool afterTable = i > 0 && list[i - 1].kind == model::Block::Kind::Table &&
                                    b.paragraph.content.empty();
            // Inside a table the cell's last paragraph ends with the cell mark
            // (nested cells end with a paragraph mark and a cell flag). An
            // empty one after a nested table would be taken for the mark
            // that closes the table's cell: it gets one more paragraph.
            const bool cellMark = cellEnd && last && !afterTable;
            paragraph(b.paragraph, c, cellMark ? kCellMark : kParaMark);
            if (cellEnd && last && afterTable)
                guard(c, kCellMark);
            lastWasTable = false;
            emptyAfterTable = afterTable;
            break;
        }
        case model::Block::Kind::Table:
            table(b.table, c);
            lastWasTable = true;
            emptyAfterTable = false;
            if (cellEnd && last)
                guard(c, kCellMark);
            break;
        case model::Block::Kind::Frame: {
            Context fc = c;
            fc.framePapx = framePapx(b.frame);
            blocks(b.frame.blocks.empty() ? std::vector<model::Block>{model::Block()}
                                          : b.frame.blocks,
                   fc, false);
            emptyAfterTable = false;
            if (cellEnd && last)
                guard(c, kCellMark);
            break;
        }
        }
    }
    if (cellEnd && list.empty())
        paragraph(empty, c, kCellMark);
}

void StoryWriter::paragraph(const model::Paragraph& p, const Context& c, char16_t mark) {
    inlines(p.content, 0);
    QByteArray papx = papxFor(p.format, ctx.styles.istd(p.format.styleName));
    if (p.format.listId > 0) {
        const auto it = std::find(ctx.listIds.begin(), ctx.listIds.end(), p.format.listId);
        if (it != ctx.listIds.end()) {
            papx += sprmBytes(sprm::PIlfo, int(it - ctx.listIds.begin()) + 1, 2);
            papx += sprmBytes(sprm::PIlvl, std::clamp(p.format.listLevel, 0, 8), 1);
        }
    }
    if (c.depth >= 1) {
        // The depth also at the outermost level: LibreOffice takes a cell
        // paragraph that follows a nested table and gives only the in-table
        // flag for one of the nested table.
        papx += sprmBytes(sprm::PFInTable, 1, 1);
        papx += sprmBytes(sprm::PItap, c.depth, 4);
        if (c.depth > 1) {
            if (mark == kCellMark) {
                papx += sprmBytes(sprm::PFInnerTableCell, 1, 1);
                mark = kParaMark;
            }
        }
    }
    papx += c.framePapx;
    endParagraph(mark, papx, chpxFor(p.markFormat, ctx.fonts));
}

void StoryWriter::guard(const Context& c, char16_t mark) {
    model::Paragraph p;
    paragraph(p, c, mark);
    paras.back().papx += sprmBytes(sprm::PFNoLineNumb, 1, 1);
}

void StoryWriter::markRunOfItsOwn() {
    const int mark = int(text.size()) - 1;
    if (mark < 0 || runs.empty() || runs.back().cp >= mark)
        return;
    if (text[mark] == QChar(kParaMark) || text[mark] == QChar(kSectionMark))
        runs.push_back({mark, runs.back().chpx});
}

void StoryWriter::table(const model::Table& t, const Context& c) {
    markRunOfItsOwn();
    Context inner = c;
    inner.depth = c.depth + 1;
    const QByteArray rowChpx;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const model::TableRow& row = t.rows[r];
        for (const model::TableCell& cell : row.cells)
            blocks(cell.blocks, inner, true);
        // Row end: carries the row's table properties.
        QByteArray papx = papxFor({}, 0) + sprmBytes(sprm::PFInTable, 1, 1);
        char16_t mark = kCellMark;
        if (inner.depth == 1) {
            papx += sprmBytes(sprm::PFTtp, 1, 1);
            papx += sprmBytes(sprm::PItap, 1, 4);
        } else {
            papx += sprmBytes(sprm::PItap, inner.depth, 4);
            papx += sprmBytes(sprm::PFInnerTtp, 1, 1);
            papx += sprmBytes(sprm::PFInnerTableCell, 1, 1);
            mark = kParaMark;
        }
        papx += c.framePapx;
        papx += tablePapx(t, int(r));
        endParagraph(mark, papx, rowChpx);
    }
}

void StoryWriter::inlines(const std::vector<model::Inline>& content, int fieldDepth) {
    for (const model::Inline& in : content) {
        switch (in.kind) {
        case model::Inline::Kind::Text: {
            QString s = in.text;
            // Paragraph, cell and field marks cannot stand inside a run.
            for (QChar& ch : s) {
                const char16_t u = ch.unicode();
                if (u == 0x0D || u == 0x07 || u == 0x13 || u == 0x14 || u == 0x15 || u == 0x01 ||
                    u == 0x08 || u == 0x0A)
                    ch = QChar(u == 0x0A ? model::kLineBreak : u' ');
            }
            append(s, chpxFor(in.format, ctx.fonts));
            break;
        }
        case model::Inline::Kind::Field:
            field(in, fieldDepth);
            break;
        case model::Inline::Kind::Picture:
            picture(in);
            break;
        case model::Inline::Kind::Note:
            // Notes belong to the main text; elsewhere (headers, notes) a
            // reference has no story to point at and is left out.
            if (mainStory) {
                auto& list = in.note.kind == model::NoteKind::Foot ? footnotes : endnotes;
                list.push_back({int(text.size()), &in.note});
                noteReference(in.note, chpxFor(in.format, ctx.fonts));
            }
            break;
        case model::Inline::Kind::BookmarkStart:
        case model::Inline::Kind::BookmarkEnd:
            bookmarks.push_back(
                {in.text, int(text.size()), in.kind == model::Inline::Kind::BookmarkStart});
            break;
        }
    }
}

void StoryWriter::field(const model::Inline& in, int fieldDepth) {
    const model::Field& f = in.field;
    const QByteArray chpx = chpxFor(in.format, ctx.fonts);
    const QString instr = fieldInstruction(f);
    const QString keyword = instr.simplified().section(u' ', 0, 0);
    fields.push_back({int(text.size()), 0x13, quint8(fieldTypeCode(keyword))});
    append(QString(QChar(0x13)), withSpec(chpx));
    append(instr, chpx);
    fields.push_back({int(text.size()), 0x14, 0xFF});
    append(QString(QChar(0x14)), withSpec(chpx));
    inlines(f.result, fieldDepth + 1);
    fields.push_back({int(text.size()), 0x15, quint8(0x80 | (fieldDepth > 0 ? 0x40 : 0))});
    append(QString(QChar(0x15)), withSpec(chpx));
    ctx.fieldKinds.push_back(f.kind * 1000 + f.option);
}

void StoryWriter::picture(const model::Inline& in) {
    // Floating pictures of the main text are shapes anchored at a special
    // character; elsewhere they are written in line.
    if (mainStory && in.picture.isFloating() && ctx.drawing.add(in.picture, int(text.size()))) {
        ctx.hasPictures = true;
        append(QString(QChar(0x08)), withSpec(chpxFor(in.format, ctx.fonts)));
        return;
    }
    // The picture's record goes to the Data stream; the text holds a special
    // character pointing at it.
    const QByteArray record = inlinePictureRecord(in.picture);
    if (record.isEmpty())
        return;
    const int offset = int(ctx.data.size());
    ctx.data += record;
    ctx.hasPictures = true;
    QByteArray chpx = chpxFor(in.format, ctx.fonts);
    chpx += sprmBytes(sprm::CPicLocation, offset, 4);
    append(QString(QChar(0x01)), withSpec(chpx));
}

void StoryWriter::endSection(const QByteArray& sepx, bool last) {
    if (lastWasTable || emptyAfterTable) {
        // A section ending in a table (or an empty paragraph after one) gets
        // a paragraph of its own to carry the section mark.
        guard(Context(), last ? kParaMark : kSectionMark);
    } else if (paras.size() == sectionStart) {
        paragraph(model::Paragraph(), Context(), last ? kParaMark : kSectionMark);
    } else if (!last) {
        // The section's last paragraph mark becomes the section mark.
        text[text.size() - 1] = QChar(kSectionMark);
    }
    lastWasTable = false;
    emptyAfterTable = false;
    sectionStart = paras.size();
    sections.push_back({int(text.size()), sepx});
}

void StoryWriter::ensureFinalParagraph() {
    if (lastWasTable || emptyAfterTable)
        guard(Context(), kParaMark);
    else if (paras.empty())
        paragraph(model::Paragraph(), Context(), kParaMark);
    lastWasTable = emptyAfterTable = false;
}

void StoryWriter::noteReference(const model::Note& note, const QByteArray& chpx) {
    if (note.mark.isEmpty()) {
        // A numbered reference is a special character.
        append(QString(QChar(0x02)), withSpec(chpx));
        return;
    }
    // A mark of its own is text; an explicit "not special" gives it a run
    // of its own, which tells readers where the mark ends.
    QString mark = note.mark.left(10);
    for (QChar& ch : mark)
        if (ch.unicode() < 0x20)
            ch = QChar(u' ');
    append(mark, chpx + sprmBytes(sprm::CFSpec, 0, 1));
}

void StoryWriter::writeNote(const model::Note& note) {
    model::CharFormat ref;
    ref.valign = model::VerticalAlign::Superscript;
    noteReference(note, chpxFor(ref, ctx.fonts));
    append(QStringLiteral(" "), chpxFor({}, ctx.fonts));
    writeBlocks(note.blocks);
    ensureFinalParagraph();
}

} // namespace msdoc::wr
