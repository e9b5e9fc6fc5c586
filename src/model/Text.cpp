#include "Text.h"

#include "Document.h"
#include "ListNumbers.h"

namespace model {

namespace {

void appendInlines(QString& out, const std::vector<Inline>& content) {
    for (const Inline& in : content) {
        if (in.kind == Inline::Kind::Text) {
            if (in.format.hidden)
                continue; // not shown in print, nor in the text
            for (QChar c : in.text) {
                if (c == kLineBreak || c == kColumnBreak)
                    out += u'\n';
                else
                    out += c;
            }
        } else if (in.kind == Inline::Kind::Field) {
            appendInlines(out, in.field.result);
        }
    }
}

void appendBlocks(QString& out, const std::vector<Block>& blocks, ListNumbering* lists);

void appendTable(QString& out, const Table& table, ListNumbering* lists) {
    for (const TableRow& row : table.rows) {
        bool first = true;
        for (const TableCell& cell : row.cells) {
            if (!first)
                out += u'\t';
            first = false;
            QString cellText;
            appendBlocks(cellText, cell.blocks, lists);
            while (cellText.endsWith(u'\n'))
                cellText.chop(1);
            out += cellText;
        }
        out += u'\n';
    }
}

void appendBlocks(QString& out, const std::vector<Block>& blocks, ListNumbering* lists) {
    for (const Block& b : blocks) {
        switch (b.kind) {
        case Block::Kind::Paragraph:
            if (b.paragraph.format.pageBreakBefore && !out.isEmpty())
                out += QChar(kPageBreak);
            if (lists) {
                // The label is followed by a tab, as the list's number is.
                if (const QString label = lists->next(b.paragraph.format); !label.isEmpty())
                    out += label + u'\t';
            }
            appendInlines(out, b.paragraph.content);
            out += u'\n';
            break;
        case Block::Kind::Table:
            appendTable(out, b.table, lists);
            break;
        case Block::Kind::Frame:
            appendBlocks(out, b.frame.blocks, lists);
            break;
        }
    }
}

void normalizeInlines(std::vector<Inline>& content) {
    std::vector<Inline> out;
    out.reserve(content.size());
    for (Inline& in : content) {
        if (in.kind == Inline::Kind::Text) {
            if (in.text.isEmpty())
                continue;
            if (!out.empty() && out.back().kind == Inline::Kind::Text &&
                out.back().format == in.format) {
                out.back().text += in.text;
                continue;
            }
        } else if (in.kind == Inline::Kind::Field) {
            normalizeInlines(in.field.result);
        } else if (in.kind == Inline::Kind::Note) {
            normalize(in.note.blocks);
        }
        out.push_back(std::move(in));
    }
    content = std::move(out);
}

} // namespace

QString plainText(const std::vector<Block>& blocks) {
    QString out;
    appendBlocks(out, blocks, nullptr);
    return out;
}

QString plainText(const Document& doc, ListLabels labels) {
    QString out;
    ListNumbering numbering(doc);
    ListNumbering* lists = labels == ListLabels::Include ? &numbering : nullptr;
    for (const Section& s : doc.sections)
        appendBlocks(out, s.blocks, lists);
    return out;
}

void normalize(std::vector<Block>& blocks) {
    for (Block& b : blocks) {
        switch (b.kind) {
        case Block::Kind::Paragraph:
            normalizeInlines(b.paragraph.content);
            break;
        case Block::Kind::Table:
            for (TableRow& row : b.table.rows)
                for (TableCell& cell : row.cells)
                    normalize(cell.blocks);
            break;
        case Block::Kind::Frame:
            normalize(b.frame.blocks);
            break;
        }
    }
}

void normalize(Document& doc) {
    for (Section& s : doc.sections) {
        normalize(s.blocks);
        normalize(s.header);
        normalize(s.footer);
        normalize(s.firstHeader);
        normalize(s.firstFooter);
    }
}

} // namespace model
