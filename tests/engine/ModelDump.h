#pragma once
// A readable dump of model blocks, so a failed comparison shows where two
// models differ.

#include "Document.h"

#include <QString>

inline QString dumpChar(const model::CharFormat& f) {
    return QString("{%1/%2 %3 b%4 i%5 s%6 u%7 v%8 c%9 bg%10 sp%11 k%12}")
        .arg(f.font, f.fontEastAsia)
        .arg(f.halfPoints)
        .arg(f.bold)
        .arg(f.italic)
        .arg(f.strike)
        .arg(int(f.underline))
        .arg(int(f.valign))
        .arg(f.color, 0, 16)
        .arg(f.background, 0, 16)
        .arg(f.spacing)
        .arg(f.kerning);
}

inline QString dumpInlines(const std::vector<model::Inline>& v, int depth);

inline QString dumpBlocks(const std::vector<model::Block>& blocks, int depth = 0) {
    QString out;
    const QString ind(depth * 2, u' ');
    for (const model::Block& b : blocks) {
        switch (b.kind) {
        case model::Block::Kind::Paragraph: {
            const model::ParaFormat& p = b.paragraph.format;
            out +=
                ind + QString("P al%1 li%2 ri%3 fi%4 sb%5 sa%6 ls%7/%8 pb%9 kwn%10 kt%11 tabs%12 "
                              "st'%13' list%14.%15 mark%16\n")
                          .arg(int(p.align))
                          .arg(p.leftIndent)
                          .arg(p.rightIndent)
                          .arg(p.firstLineIndent)
                          .arg(p.spaceBefore)
                          .arg(p.spaceAfter)
                          .arg(p.lineSpacing)
                          .arg(int(p.lineRule))
                          .arg(p.pageBreakBefore)
                          .arg(p.keepWithNext)
                          .arg(p.keepTogether)
                          .arg(p.tabs.size())
                          .arg(p.styleName)
                          .arg(p.listId)
                          .arg(p.listLevel)
                          .arg(dumpChar(b.paragraph.markFormat));
            out += dumpInlines(b.paragraph.content, depth + 1);
            break;
        }
        case model::Block::Kind::Table: {
            const model::Table& t = b.table;
            out += ind +
                   QString("T al%1 in%2 cm%3\n").arg(int(t.align)).arg(t.indent).arg(t.cellMargin);
            for (const model::TableRow& r : t.rows) {
                out += ind + QString(" R h%1/%2 hd%3 cs%4\n")
                                 .arg(r.height)
                                 .arg(int(r.heightRule))
                                 .arg(r.header)
                                 .arg(r.cantSplit);
                for (const model::TableCell& c : r.cells) {
                    out += ind + QString("  C w%1 hm%2 vm%3 sh%4 va%5 bt%6/%7\n")
                                     .arg(c.width)
                                     .arg(int(c.horizontalMerge))
                                     .arg(int(c.verticalMerge))
                                     .arg(c.shading, 0, 16)
                                     .arg(int(c.valign))
                                     .arg(int(c.top.style))
                                     .arg(c.top.width);
                    out += dumpBlocks(c.blocks, depth + 2);
                }
            }
            break;
        }
        case model::Block::Kind::Frame: {
            const model::Frame& f = b.frame;
            out += ind + QString("F %1,%2 %3x%4 hr%5 rel%6/%7 wa%8 b%9\n")
                             .arg(f.x)
                             .arg(f.y)
                             .arg(f.width)
                             .arg(f.height)
                             .arg(int(f.heightRule))
                             .arg(int(f.horizontalRelation))
                             .arg(int(f.verticalRelation))
                             .arg(f.wrapAround)
                             .arg(int(f.border.style));
            out += dumpBlocks(f.blocks, depth + 1);
            break;
        }
        }
    }
    return out;
}

inline QString dumpInlines(const std::vector<model::Inline>& v, int depth) {
    QString out;
    const QString ind(depth * 2, u' ');
    for (const model::Inline& in : v) {
        switch (in.kind) {
        case model::Inline::Kind::Text:
            out += ind + "'" + QString(in.text).replace(QChar(11), "/").replace(QChar(12), "#") +
                   "' " + dumpChar(in.format) + "\n";
            break;
        case model::Inline::Kind::Picture: {
            const model::Picture& p = in.picture;
            out += ind + QString("PIC %1b t%2 %3x%4 s%5/%6 w%7 %8,%9 rel%10/%11 d%12 %13\n")
                             .arg(p.data.size())
                             .arg(int(p.type))
                             .arg(p.width)
                             .arg(p.height)
                             .arg(p.scaleX)
                             .arg(p.scaleY)
                             .arg(int(p.wrap))
                             .arg(p.x)
                             .arg(p.y)
                             .arg(int(p.horizontalRelation))
                             .arg(int(p.verticalRelation))
                             .arg(p.wrapDistance)
                             .arg(dumpChar(in.format));
            break;
        }
        case model::Inline::Kind::Field:
            out += ind + QString("FIELD t%1 '%2' '%3' k%4 o%5 %6\n")
                             .arg(int(in.field.type))
                             .arg(in.field.instruction, in.field.target)
                             .arg(in.field.kind)
                             .arg(in.field.option)
                             .arg(dumpChar(in.format));
            out += dumpInlines(in.field.result, depth + 1);
            break;
        case model::Inline::Kind::BookmarkStart:
            out += ind + "BM[ " + in.text + "\n";
            break;
        case model::Inline::Kind::BookmarkEnd:
            out += ind + "BM] " + in.text + "\n";
            break;
        case model::Inline::Kind::Note:
            out += ind + QString("NOTE k%1 '%2' %3\n")
                             .arg(int(in.note.kind))
                             .arg(in.note.mark, dumpChar(in.format));
            break;
        }
    }
    return out;
}
