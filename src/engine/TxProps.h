#pragma once
// Custom QTextFormat properties the engine stores in its documents, and the
// unit conversions between twips and the layout's pixels (15 twips each).

#include <QTextFormat>
#include <QtGlobal>

namespace txp {

enum Property : int {
    // Character formats: hypertext fields. A field is the run of characters
    // that carry the same FieldId.
    FieldId = QTextFormat::UserProperty + 1,
    FieldTarget,      // QString
    FieldKind,        // int: the editor's kind (FieldType): 1 link/data field, 2 tag
    FieldOption,      // int
    FieldWordType,    // int: model FieldType (hyperlink, page, ...)
    FieldInstruction, // QString: instruction text as read
    FieldFormat,      // QTextFormat: the field's own format as read
    FieldOuter,       // QTextFormat: the field properties of the field whose result holds
                      // this one (nested fields), itself possibly with a FieldOuter
    // Character formats: values without an exact Qt counterpart.
    UnderlineKind, // int 0..7, CharAttr(1)
    Spacing,       // int twips, CharAttr(3)
    Kerning,       // int half-points, CharAttr(4)
    FontLatin,     // QString: the Latin font name as the document gives it
    FontEastAsia,  // QString: the East Asian font name
    // Inline images (QTextImageFormat).
    ObjectId,        // int
    ImageNaturalW,   // int twips
    ImageNaturalH,   // int twips
    ImageScaleX,     // int percent
    ImageScaleY,     // int percent
    ObjectLayout,    // int
    ObjectFile,      // QString
    ImageExport,     // int
    ImageExportFlag, // int
    // Block formats.
    Placeholder,     // bool: block exists only because Qt needs one here
    InlinePageBreak, // QTextCharFormat: the page break before this block stood inside one
                     // paragraph, as a character of this format
    OwnPageBreak,    // bool: with SectionBreak, the paragraph's own page-break-before
    SectionIndex,    // int: this block (or table) starts section n (n >= 1)
    SectionBreak,    // bool: the page break before this block comes from the section start
    StyleName,       // QString
    MarkFormat,      // QTextFormat: the paragraph mark's format where Qt keeps the cell's
                     // format instead (the first paragraph of a table cell)
    KeepWithNext,    // bool
    Distribute,      // bool: distributed alignment (shown as justified)
    TabStops,        // QVariantList of [position, align, leader] triples
    LineRule,        // int: model LineRule; lineSpacing kept in LineValue
    LineValue,       // int: model lineSpacing as read
    ListId,          // int: model list id
    ListLevel,       // int
    // Tables.
    RowProps,        // QVariantList on the table: per row [height, rule, header, cantSplit]
    CellProps,       // QVariantMap on a cell: width, merges, borders, shading, valign
    CoveredCells,    // QVariantList on a master cell: the cells its span covers
    PadCell,         // bool on a cell: filler for a row shorter than the table
    TableAlign,      // int: model Alignment
    TableIndent,     // int twips
    TableCellMargin, // int twips
    NoRows,          // bool: the table had no rows (Qt needs one; it is a pad row)
    // Block formats (added later: the values above are stored in files).
    KeepTogether, // bool: the paragraph's lines are to stay on one page (Qt's own
                  // "non-breakable lines" would stop it wrapping at all)
    // List formats whose labels the engine draws itself (Qt's list styles
    // have no circled or Japanese numbers, nor a start other than 1).
    ListNumberFormat, // int: model NumberFormat
    ListStart,        // int: the number of the list's first paragraph
    ListBullet,       // QString: the bullet of a list of bullets other than "•"
};

constexpr double kTwipsPerPx = 15.0;
inline double px(int twips) {
    return twips / kTwipsPerPx;
}
inline int twips(double px) {
    return qRound(px * kTwipsPerPx);
}

} // namespace txp
