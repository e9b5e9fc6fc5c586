#pragma once
// The RTF reader's state: what each group carries (formatting, where its
// text goes) and what the document gathers while it is read (fonts,
// colours, styles, stories with their paragraphs and tables, fields,
// pictures, shapes).

#include "Budget.h"
#include "Document.h"
#include "Tokenizer.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

namespace rtf::rd {

// Where the text of a group goes.
enum class Dest {
    Body,          // the current story (or the result of a field)
    Skip,          // ignored with everything inside
    FontTable,     // font entries "\fN ... name;"
    ColorTable,    // "\redN\greenN\blueN;" entries
    StyleSheet,    // style entries
    StyleEntry,    // one style: its formatting and name
    ListTable,     // list definitions
    ListLevelText, // \leveltext of a list level
    ListOverride,  // \listoverride: \listidN -> \lsN
    Pict,          // picture data in hex or binary
    FieldInst,     // instruction text of a field
    BookmarkStart, // the name of a bookmark
    BookmarkEnd,
    ShapeName,  // \sn of a shape property
    ShapeValue, // \sv of a shape property
    FieldKind,  // the editor's field kind and option, kept beside the field
    Story,      // a header or footer (text goes to it, as in Body)
    ShapeText,  // the text box of a shape: read as a frame
};

enum class CharMode { Low, High, Double, RightToLeft };

// Frame (positioned paragraph) properties; width 0 means none.
struct FrameProps {
    bool on = false;
    model::Twips x = 0, y = 0, width = 0, height = 0; // height < 0: exact, > 0: at least
    model::HorizontalRelation h = model::HorizontalRelation::Column;
    model::VerticalRelation v = model::VerticalRelation::Margin;
    bool wrap = true;
    bool operator==(const FrameProps&) const = default;
};

struct State {
    Dest dest = Dest::Body;
    model::CharFormat chp;
    int font = -1;   // the font of \f (-1: the default font)
    int eaFont = -1; // the East Asian font (\dbch\f, \dbch\af); -1: as `font`
    CharMode mode = CharMode::Low;
    int uc = 1; // fallback characters after \uN
    model::ParaFormat pap;
    bool inTable = false;
    int itap = 0; // table depth of the paragraph
    FrameProps frame;
    model::TabStop tab; // alignment and leader of the next \tx
    int story = 0;      // index into Reader::stories
    int field = -1;     // innermost open field (index into Reader::fields)
    int result = -1;    // field whose result receives this group's text; -1: the paragraph
    bool ownsField = false;
    bool ownsShape = false;
    bool ownsStory = false;
    bool ownsLevel = false; // \listlevel
    bool ownsList = false;  // \list
    bool ownsOverride = false;
    int storyKind = 0;   // Story: 1 header, 2 footer, 3 first header, 4 first footer, 5 footnote,
                         // 6 endnote
    int borderSide = -1; // \clbrdrX: 0 top, 1 left, 2 bottom, 3 right of the next cell
};

struct Font {
    QString name;
    int codePage = 1252;
};

struct Style {
    QString name;
    bool character = false;
    model::CharFormat chp;
    int font = -1, eaFont = -1;
    model::ParaFormat pap;
};

// One cell definition of a row (\cellx and the cell properties before it).
struct CellDef {
    model::Twips right = 0;
    model::TableCell props; // everything but the blocks
};

struct RowDef {
    std::vector<CellDef> cells;
    model::TableCell pending; // properties of the next \cellx
    model::Twips left = 0;
    model::Twips gap = 108;
    model::Twips padLeft = -1; // \trpaddl (with \trpaddfl3), -1: none
    model::Alignment align = model::Alignment::Left;
    model::Twips height = 0;
    bool header = false, cantSplit = false;
};

// A table level of a story: the row being read and its cells.
struct Level {
    std::vector<std::vector<model::Block>> cells; // cells of the row so far
    std::vector<model::Block> cell;               // blocks of the current cell
    RowDef def;
    bool tableOpen = false; // the last block of `cell` is a table that takes more rows
};

struct StoryBuild {
    std::vector<model::Block> blocks;
    bool tableOpen = false; // the last block of `blocks` is a table that takes more rows
    model::Paragraph para;
    bool paraStarted = false; // text, a picture or a field was added
    std::vector<Level> levels;
    bool anything = false; // a paragraph ended in it
};

struct FieldBuild {
    QString instruction;
    std::vector<model::Inline> result;
    model::CharFormat format;
    bool flattened = false; // its result holds paragraph breaks: kept as plain content
    int kind = -1, option = -1;
    QString kindText;
};

struct PictBuild {
    model::ImageType type = model::ImageType::Unknown;
    bool dib = false; // \dibitmap: the data lacks the bitmap file header
    QByteArray data;
    int nibble = -1; // a high hex digit waiting for its low one
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
};

struct ShapeBuild {
    int left = 0, top = 0, right = 0, bottom = 0;
    int bx = -1, by = -1; // \shpbx / \shpby: 0 page, 1 margin, 2 column/para, 3 ignore
    int wr = 3, wrk = 0;
    bool below = false;
    QHash<QString, QString> props;
    QString name, value;
    std::optional<model::Picture> picture;
    bool hasText = false;
    std::vector<model::Block> text; // \shptxt content
};

struct ListLevelBuild {
    model::ListLevel level;
    QByteArray textBytes; // \leveltext as read (length byte, text, placeholders)
    QString text;
};

} // namespace rtf::rd
