#include "TextMap.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace textmap {

namespace {

constexpr char16_t kParaSep = 0x2029;
constexpr char16_t kLineSep = 0x2028;
constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;
constexpr char16_t kObjChar = 0xFFFC;

// The character a block separator at `pos` stands for.
char16_t separatorAt(const QTextDocument* doc, const QTextBlock& block, int pos, QChar raw) {
    if (raw == kParaSep) {
        const QTextBlock next = block.next();
        if (next.isValid() &&
            (next.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            return kPage;
        return kPara;
    }
    // Frame marks: the end of a table cell, or the end of the paragraph
    // before a table.
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(pos);
    if (QTextTable* t = c.currentTable()) {
        const QTextTableCell cell = t->cellAt(pos);
        if (cell.isValid() && cell.lastPosition() == pos) {
            if (raw == kFrameEnd || cell.column() + cell.columnSpan() >= t->columns())
                return kPara;
            return kCell;
        }
    }
    return kPara;
}

QChar mapChar(QChar ch) {
    switch (ch.unicode()) {
    case kLineSep:
        return QChar(kLine);
    case kObjChar:
        return QChar(kObject);
    default:
        return ch;
    }
}

} // namespace

int length(const QTextDocument* doc) {
    return std::max(0, doc->characterCount() - 1);
}

QString text(const QTextDocument* doc, int from, int to) {
    const int len = length(doc);
    if (to < 0 || to > len)
        to = len;
    from = std::clamp(from, 0, to);
    QString out;
    out.reserve(to - from);
    for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        const QString t = b.text();
        const int bp = b.position();
        const int start = std::max(from, bp);
        const int end = std::min(to, bp + int(t.size()));
        for (int p = start; p < end; ++p)
            out += mapChar(t.at(p - bp));
        const int sepPos = bp + b.length() - 1;
        if (sepPos >= from && sepPos < to) {
            // The separator character itself is not part of block.text().
            out += QChar(separatorAt(doc, b, sepPos, doc->characterAt(sepPos)));
        }
    }
    return out;
}

void insert(QTextCursor& c, const QString& text) {
    QString run;
    auto flush = [&] {
        if (!run.isEmpty())
            c.insertText(run);
        run.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        const char16_t ch = text.at(i).unicode();
        switch (ch) {
        case u'\r':
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            [[fallthrough]];
        case kPara: {
            flush();
            c.insertBlock();
            QTextBlockFormat bf = c.blockFormat();
            if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
                bf.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
                c.setBlockFormat(bf);
            }
            break;
        }
        case kPage: {
            flush();
            c.insertBlock();
            QTextBlockFormat bf = c.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            c.setBlockFormat(bf);
            break;
        }
        case kLine:
            run += QChar(kLineSep);
            break;
        case kObject:
        case kParaSep:
        case kFrameStart:
        case kFrameEnd:
        case kObjChar:
            break;
        default:
            run += QChar(ch);
        }
    }
    flush();
}

} // namespace textmap
