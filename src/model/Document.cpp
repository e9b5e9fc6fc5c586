#include "Document.h"

#include <algorithm>

namespace model {

// Declared in the classes and defined here, where the recursive member types
// (Inline inside Field, Block inside TableCell and Frame) are complete.
// Written out: some compilers fail on defaulted comparisons of such types.
bool Field::operator==(const Field& o) const {
    return type == o.type && instruction == o.instruction && target == o.target && kind == o.kind &&
           option == o.option && result == o.result;
}

bool Note::operator==(const Note& o) const {
    return kind == o.kind && mark == o.mark && blocks == o.blocks;
}

bool TableCell::operator==(const TableCell& o) const {
    return width == o.width && horizontalMerge == o.horizontalMerge &&
           verticalMerge == o.verticalMerge && top == o.top && left == o.left &&
           bottom == o.bottom && right == o.right && shading == o.shading && valign == o.valign &&
           blocks == o.blocks;
}

bool TableRow::operator==(const TableRow& o) const {
    return cells == o.cells && height == o.height && heightRule == o.heightRule &&
           header == o.header && cantSplit == o.cantSplit;
}

bool Table::operator==(const Table& o) const {
    return rows == o.rows && align == o.align && indent == o.indent && cellMargin == o.cellMargin;
}

bool Frame::operator==(const Frame& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height &&
           heightRule == o.heightRule && horizontalRelation == o.horizontalRelation &&
           verticalRelation == o.verticalRelation && wrapAround == o.wrapAround &&
           border == o.border && blocks == o.blocks;
}

Inline Inline::makeText(const QString& text, const CharFormat& format) {
    Inline in;
    in.text = text;
    in.format = format;
    return in;
}

Inline Inline::makePicture(const Picture& picture, const CharFormat& format) {
    Inline in;
    in.kind = Kind::Picture;
    in.picture = picture;
    in.format = format;
    return in;
}

Inline Inline::makeField(const Field& field, const CharFormat& format) {
    Inline in;
    in.kind = Kind::Field;
    in.field = field;
    in.format = format;
    return in;
}

Inline Inline::makeBookmark(const QString& name, bool start) {
    Inline in;
    in.kind = start ? Kind::BookmarkStart : Kind::BookmarkEnd;
    in.text = name;
    return in;
}

Inline Inline::makeNote(const Note& note, const CharFormat& format) {
    Inline in;
    in.kind = Kind::Note;
    in.note = note;
    in.format = format;
    return in;
}

void Paragraph::addText(const QString& text, const CharFormat& format) {
    if (text.isEmpty())
        return;
    if (!content.empty() && content.back().kind == Inline::Kind::Text &&
        content.back().format == format) {
        content.back().text += text;
        return;
    }
    content.push_back(Inline::makeText(text, format));
}

int Table::columnCount() const {
    size_t n = 0;
    for (const TableRow& row : rows)
        n = std::max(n, row.cells.size());
    return int(n);
}

Block Block::makeParagraph(const Paragraph& p) {
    Block b;
    b.paragraph = p;
    return b;
}

Block Block::makeTable(const Table& t) {
    Block b;
    b.kind = Kind::Table;
    b.table = t;
    return b;
}

Block Block::makeFrame(const Frame& f) {
    Block b;
    b.kind = Kind::Frame;
    b.frame = f;
    return b;
}

Section& Document::lastSection() {
    if (sections.empty())
        sections.emplace_back();
    return sections.back();
}

const ListDef* Document::list(int id) const {
    for (const ListDef& l : lists)
        if (l.id == id)
            return &l;
    return nullptr;
}

} // namespace model
