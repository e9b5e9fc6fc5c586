#include "Notes.h"

namespace model {

namespace {

// Walks without recursion on the notes themselves: a note's text holds no
// references of its own in any of the formats.
void collect(std::vector<Inline>& content, NoteKind kind, std::vector<Note*>& out);

void collect(std::vector<Block>& blocks, NoteKind kind, std::vector<Note*>& out) {
    for (Block& b : blocks) {
        switch (b.kind) {
        case Block::Kind::Paragraph:
            collect(b.paragraph.content, kind, out);
            break;
        case Block::Kind::Table:
            for (TableRow& r : b.table.rows)
                for (TableCell& c : r.cells)
                    collect(c.blocks, kind, out);
            break;
        case Block::Kind::Frame:
            collect(b.frame.blocks, kind, out);
            break;
        }
    }
}

void collect(std::vector<Inline>& content, NoteKind kind, std::vector<Note*>& out) {
    for (Inline& in : content) {
        if (in.kind == Inline::Kind::Field)
            collect(in.field.result, kind, out);
        else if (in.kind == Inline::Kind::Note && in.note.kind == kind)
            out.push_back(&in.note);
    }
}

} // namespace

std::vector<Note*> notesOf(std::vector<Block>& blocks, NoteKind kind) {
    std::vector<Note*> out;
    collect(blocks, kind, out);
    return out;
}

std::vector<Note*> notesOf(Document& doc, NoteKind kind) {
    std::vector<Note*> out;
    for (Section& s : doc.sections)
        collect(s.blocks, kind, out);
    return out;
}

std::vector<const Note*> notesOf(const Document& doc, NoteKind kind) {
    // The walk does not change anything; one implementation for both.
    std::vector<Note*> all = notesOf(const_cast<Document&>(doc), kind);
    return std::vector<const Note*>(all.begin(), all.end());
}

// Drops `prefix` and one blank after it from the start of a note's text:
// the note's own copy of its reference mark.
void dropLeadingMark(std::vector<Block>& blocks, const QString& prefix) {
    if (blocks.empty() || blocks[0].kind != Block::Kind::Paragraph)
        return;
    auto& content = blocks[0].paragraph.content;
    // The mark and the blank may stand in runs of their own.
    QString rest = prefix + u' ';
    while (!rest.isEmpty() && !content.empty() && content[0].kind == Inline::Kind::Text) {
        QString& text = content[0].text;
        qsizetype n = 0;
        while (n < text.size() && n < rest.size() && text[n] == rest[n])
            ++n;
        if (n == 0)
            break;
        text.remove(0, n);
        rest.remove(0, n);
        if (!text.isEmpty())
            break;
        content.erase(content.begin());
    }
}

} // namespace model
