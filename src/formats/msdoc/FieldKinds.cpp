#include "FieldKinds.h"

#include "Document.h"
#include "Notes.h"

#include <QList>

namespace msdoc {

namespace {

// Fields in the writer's order: the main text, then each section's header,
// footer, first-page header and first-page footer, then the footnotes and
// the endnotes; a field's result before the field itself.
void collect(std::vector<model::Inline>& content, std::vector<model::Field*>& out);

void collect(std::vector<model::Block>& blocks, std::vector<model::Field*>& out) {
    for (model::Block& b : blocks) {
        switch (b.kind) {
        case model::Block::Kind::Paragraph:
            collect(b.paragraph.content, out);
            break;
        case model::Block::Kind::Table:
            for (model::TableRow& r : b.table.rows)
                for (model::TableCell& c : r.cells)
                    collect(c.blocks, out);
            break;
        case model::Block::Kind::Frame:
            collect(b.frame.blocks, out);
            break;
        }
    }
}

void collect(std::vector<model::Inline>& content, std::vector<model::Field*>& out) {
    for (model::Inline& in : content) {
        if (in.kind != model::Inline::Kind::Field)
            continue;
        collect(in.field.result, out);
        out.push_back(&in.field);
    }
}

} // namespace

QByteArray fieldKindStream(const std::vector<int>& kinds) {
    QByteArray out;
    for (int k : kinds)
        out += QByteArray::number(k / 1000) + ' ' + QByteArray::number(k % 1000) + '\n';
    return out;
}

void applyFieldKinds(model::Document& doc, const QByteArray& stream) {
    if (stream.isEmpty())
        return;
    std::vector<model::Field*> fields;
    for (model::Section& s : doc.sections)
        collect(s.blocks, fields);
    for (model::Section& s : doc.sections)
        for (auto* story : {&s.header, &s.footer, &s.firstHeader, &s.firstFooter})
            collect(*story, fields);
    for (model::NoteKind kind : {model::NoteKind::Foot, model::NoteKind::End})
        for (model::Note* note : model::notesOf(doc, kind))
            collect(note->blocks, fields);
    const QList<QByteArray> lines = stream.trimmed().split('\n');
    if (qsizetype(fields.size()) != lines.size())
        return;
    for (size_t i = 0; i < fields.size(); ++i) {
        const QList<QByteArray> parts = lines[qsizetype(i)].split(' ');
        bool ok1 = false, ok2 = false;
        const int kind = parts.value(0).toInt(&ok1), option = parts.value(1).toInt(&ok2);
        if (ok1 && ok2) {
            fields[i]->kind = kind;
            fields[i]->option = option;
        }
    }
}

} // namespace msdoc
