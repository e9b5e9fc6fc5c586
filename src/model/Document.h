#pragma once
// The neutral document model every file format reads into and writes from.
//
//   Document
//     sections[]            page setup, headers/footers, and the body
//       blocks[]            Paragraph | Table | Frame (frames and table cells
//                           hold blocks again, so tables nest)
//         Paragraph
//           content[]       Inline: Text | Picture | Field | BookmarkStart/End
//
//   Notes: a footnote or endnote reference is an Inline holding the note's
//   blocks (Note below).
//
// Measures are twips, colours 0x00BBGGRR (see Format.h). Everything is a
// value type with operator==, so a model that went through a writer and a
// reader can be compared with the original (after normalize(), Text.h).

#include "Format.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace model {

// Characters with a meaning of their own inside Inline::text.
constexpr char16_t kTab = u'\t';
constexpr char16_t kLineBreak = 0x0B;   // break inside a paragraph (the engine's character 11)
constexpr char16_t kPageBreak = 0x0C;   // hard page break at this point (character 12)
constexpr char16_t kColumnBreak = 0x0E; // column break
constexpr char16_t kNoBreakHyphen = 0x2011;
constexpr char16_t kSoftHyphen = 0x00AD;

enum class ImageType { Unknown, Png, Jpeg, Bmp, Gif, Tiff, Emf, Wmf };

// Text flow around a picture. Inline: the picture is a character of the line.
// The others float at (x, y): Around wraps text on both sides, Left / Right
// let text run only along the picture's left / right side, TopBottom keeps
// the lines above and below it, Free lays the picture over the text without
// moving it.
enum class Wrap { Inline, Around, Left, Right, TopBottom, Free };
enum class HorizontalRelation { Page, Margin, Column, Character };
enum class VerticalRelation { Page, Margin, Paragraph, Line };

struct Picture {
    QByteArray data; // the image file's bytes (EMF/WMF kept as they are)
    ImageType type = ImageType::Unknown;
    Twips width = 0; // natural size
    Twips height = 0;
    int scaleX = 100; // percent of the natural size shown
    int scaleY = 100;
    Wrap wrap = Wrap::Inline;
    // Floating pictures: position of the top-left corner relative to the
    // given reference, and the distance kept free around the picture.
    Twips x = 0;
    Twips y = 0;
    HorizontalRelation horizontalRelation = HorizontalRelation::Column;
    VerticalRelation verticalRelation = VerticalRelation::Paragraph;
    Twips wrapDistance = 0;
    bool behindText = false; // Free pictures: drawn behind the text instead of over it

    bool operator==(const Picture&) const = default;
    bool isFloating() const { return wrap != Wrap::Inline; }
    Twips shownWidth() const { return Twips((qint64(width) * scaleX + 50) / 100); }
    Twips shownHeight() const { return Twips((qint64(height) * scaleY + 50) / 100); }
};

struct Inline;

enum class FieldType { Hyperlink, Page, NumPages, Date, Time, Other };

// A field: Word's field begin / instruction / separator / result / end. A
// hypertext field of the editor (link, tag, page or index anchor, data-field
// placeholder) is a Hyperlink whose `target` is kept exactly as given
// ("TG_12", "TP_anchor", "DX_x", "@", a web address or a file).
struct Field {
    FieldType type = FieldType::Hyperlink;
    // Instruction text as stored (e.g. `PAGE \* MERGEFORMAT`); writers build
    // it from type and target when empty.
    QString instruction;
    QString target;
    // The editor's field kind (1 link or data field, 2 tag; 0 none) and its
    // option value (149 for markers).
    int kind = 0;
    int option = 0;
    std::vector<Inline> result; // the shown text (the caption of a marker)

    bool operator==(const Field&) const;
};

struct Block;

enum class NoteKind { Foot, End };

// A footnote or endnote: the reference stands in the text (an Inline of kind
// Note), the note's own paragraphs travel with it, so deleting the reference
// deletes the note. The reference shows its number in the order of the notes
// of its kind, or `mark` when the note has a mark of its own.
struct Note {
    NoteKind kind = NoteKind::Foot;
    QString mark;              // custom reference mark; empty: numbered
    std::vector<Block> blocks; // the note's text

    bool operator==(const Note&) const;
};

struct Inline {
    enum class Kind { Text, Picture, Field, BookmarkStart, BookmarkEnd, Note };
    Kind kind = Kind::Text;
    // Text: the characters (no paragraph ends; see kLineBreak etc.).
    // BookmarkStart / BookmarkEnd: the bookmark's name.
    QString text;
    CharFormat format; // Text, Picture, Field
    Picture picture;   // Picture: inline, or floating and anchored at this place
    Field field;       // Field
    Note note;         // Note: the note this reference stands for

    bool operator==(const Inline&) const = default;

    static Inline makeText(const QString& text, const CharFormat& format = {});
    static Inline makePicture(const Picture& picture, const CharFormat& format = {});
    static Inline makeField(const Field& field, const CharFormat& format = {});
    static Inline makeBookmark(const QString& name, bool start);
    static Inline makeNote(const Note& note, const CharFormat& format = {});
};

struct Paragraph {
    ParaFormat format;
    CharFormat markFormat; // format of the paragraph mark (sizes an empty line)
    std::vector<Inline> content;

    bool operator==(const Paragraph&) const = default;
    // Appends text, merging with the last run when its format is equal.
    void addText(const QString& text, const CharFormat& format);
};

enum class Merge { None, Restart, Continue };
enum class CellVerticalAlign { Top, Center, Bottom };
enum class HeightRule { Auto, AtLeast, Exact };

struct Block;

struct TableCell {
    Twips width = 0;
    Merge horizontalMerge = Merge::None; // Continue: covered by the cell on its left
    Merge verticalMerge = Merge::None;   // Continue: covered by the cell above
    Border top, left, bottom, right;
    Color shading = kAutoColor;
    CellVerticalAlign valign = CellVerticalAlign::Top;
    std::vector<Block> blocks; // at least one paragraph; may hold tables (nesting)

    bool operator==(const TableCell&) const;
};

struct TableRow {
    std::vector<TableCell> cells;
    Twips height = 0;
    HeightRule heightRule = HeightRule::Auto;
    bool header = false;    // repeated at the top of each page
    bool cantSplit = false; // kept on one page

    bool operator==(const TableRow&) const;
};

struct Table {
    std::vector<TableRow> rows;
    Alignment align = Alignment::Left; // Left, Center or Right
    Twips indent = 0;                  // left edge relative to the margin
    Twips cellMargin = 108;            // left and right padding inside cells

    bool operator==(const Table&) const;
    int columnCount() const; // cells of the widest row
};

// A positioned text frame holding its own paragraphs and tables.
struct Frame {
    Twips x = 0;
    Twips y = 0;
    Twips width = 0;
    Twips height = 0;
    HeightRule heightRule = HeightRule::Exact;
    HorizontalRelation horizontalRelation = HorizontalRelation::Page;
    VerticalRelation verticalRelation = VerticalRelation::Page;
    bool wrapAround = true; // text flows around the frame (false: only above and below)
    Border border;          // the same line on all four sides
    std::vector<Block> blocks;

    bool operator==(const Frame&) const;
};

struct Block {
    enum class Kind { Paragraph, Table, Frame };
    Kind kind = Kind::Paragraph;
    Paragraph paragraph;
    Table table;
    Frame frame;

    bool operator==(const Block&) const = default;

    static Block makeParagraph(const Paragraph& p);
    static Block makeTable(const Table& t);
    static Block makeFrame(const Frame& f);
};

enum class Orientation { Portrait, Landscape };
enum class SectionStart { NewPage, Continuous, NewColumn, EvenPage, OddPage };

struct PageSetup {
    Twips width = 11906; // A4
    Twips height = 16838;
    Twips marginLeft = 1440;
    Twips marginRight = 1440;
    Twips marginTop = 1440;
    Twips marginBottom = 1440;
    Twips headerDistance = 720; // top edge of the page to the header
    Twips footerDistance = 720; // bottom edge of the page to the footer
    Orientation orientation = Orientation::Portrait;

    bool operator==(const PageSetup&) const = default;
};

struct Section {
    PageSetup page;
    SectionStart start = SectionStart::NewPage; // how this section begins
    // Headers and footers for every page and for the first page; an empty
    // list means there is none. The first-page ones apply when titlePage.
    std::vector<Block> header;
    std::vector<Block> footer;
    std::vector<Block> firstHeader;
    std::vector<Block> firstFooter;
    bool titlePage = false;
    std::vector<Block> blocks;

    bool operator==(const Section&) const = default;
};

enum class NumberFormat {
    Bullet,
    Decimal,
    UpperRoman,
    LowerRoman,
    UpperLetter,
    LowerLetter,
    DecimalFullWidth,
    Iroha,
    Aiueo,
    None,
    // Appended so stored values of the ones above keep their meaning.
    DecimalEnclosedCircle, // ① .. ⑳, then plain numbers
    JapaneseCounting,      // 一, 二 .. 十一, 二十, 百
    IdeographDigital,      // 一, 二 .. 一〇 (digit by digit)
    JapaneseLegal          // 壱, 弐 .. 壱拾壱
};

struct ListLevel {
    NumberFormat format = NumberFormat::Bullet;
    // The number text with %1 .. %9 standing for the levels' numbers ("%1."),
    // or the bullet character itself.
    QString text;
    int start = 1;
    Twips indent = 0;  // left indent of the level's paragraphs
    Twips hanging = 0; // first line hangs out by this much
    QString font;      // font of the number or bullet; empty: the paragraph's

    bool operator==(const ListLevel&) const = default;
};

struct ListDef {
    int id = 0;                    // referenced by ParaFormat::listId (> 0)
    std::vector<ListLevel> levels; // up to 9

    bool operator==(const ListDef&) const = default;
};

struct Document {
    std::vector<Section> sections; // at least one once filled
    std::vector<ListDef> lists;
    Twips defaultTabStop = 840;

    bool operator==(const Document&) const = default;

    // The last section, created when there is none.
    Section& lastSection();
    const ListDef* list(int id) const;
};

} // namespace model
