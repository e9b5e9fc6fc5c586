#pragma once
// Small builders of model documents, shared by the format and engine tests.

#include "Document.h"
#include "Text.h"

#include <QString>

#include <utility>
#include <vector>

namespace modelbuild {

inline model::Paragraph para(const QString& text, const model::CharFormat& f = {}) {
    model::Paragraph p;
    p.addText(text, f);
    return p;
}

inline model::Block block(const QString& text, const model::CharFormat& f = {}) {
    return model::Block::makeParagraph(para(text, f));
}

inline model::Document oneSection(std::vector<model::Block> blocks) {
    model::Document d;
    d.lastSection().blocks = std::move(blocks);
    return d;
}

// A footnote or endnote of plain paragraphs; an empty mark numbers it.
inline model::Note note(model::NoteKind kind, const std::vector<QString>& paragraphs,
                        const QString& mark = {}) {
    model::Note n;
    n.kind = kind;
    n.mark = mark;
    for (const QString& text : paragraphs)
        n.blocks.push_back(block(text));
    return n;
}

inline model::CharFormat superscript() {
    model::CharFormat f;
    f.valign = model::VerticalAlign::Superscript;
    return f;
}

// A paragraph with a footnote, hidden words and an endnote (and, when
// `starred`, a footnote with its own mark "*"), then a one-cell table and the
// empty paragraph after it; normalized.
inline model::Document notesAndTable(bool starred) {
    using namespace model;
    Document d;
    Section& s = d.lastSection();
    CharFormat hidden;
    hidden.hidden = true;
    Paragraph p = para(QStringLiteral("Body"));
    p.content.push_back(
        Inline::makeNote(note(NoteKind::Foot, {QStringLiteral("Foot one")}), superscript()));
    p.addText(QStringLiteral(" hidden words"), hidden);
    p.content.push_back(
        Inline::makeNote(note(NoteKind::End, {QStringLiteral("End one")}), superscript()));
    if (starred)
        p.content.push_back(Inline::makeNote(
            note(NoteKind::Foot, {QStringLiteral("Starred")}, QStringLiteral("*")), superscript()));
    p.addText(QStringLiteral(" after"), {});
    s.blocks.push_back(Block::makeParagraph(p));
    TableCell cell;
    cell.width = 3000;
    cell.blocks.push_back(block(QStringLiteral("cell")));
    TableRow row;
    row.cells.push_back(cell);
    Table t;
    t.rows.push_back(row);
    s.blocks.push_back(Block::makeTable(t));
    s.blocks.push_back(Block::makeParagraph({}));
    normalize(d);
    return d;
}

} // namespace modelbuild
