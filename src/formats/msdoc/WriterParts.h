#pragma once
// Pieces the .doc writer collects while it walks the model: the text of each
// story with its character runs and paragraph properties, the font and style
// tables, fields, bookmarks and the Data stream.

#include "Format.h"
#include "OfficeArt.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace model {
struct Block;
struct Inline;
struct Paragraph;
struct Table;
struct Frame;
struct Field;
struct Picture;
struct Document;
struct Section;
struct Note;
} // namespace model

namespace msdoc::wr {

class FontTable {
public:
    FontTable();
    int index(const QString& name);
    QByteArray sttbfFfn() const;

private:
    QStringList names;
};

// Style sheet: the fixed styles Word expects (Normal, heading 1-9, Default
// Paragraph Font) plus one user paragraph style per name the model uses.
class StyleSheet {
public:
    int istd(const QString& styleName);
    QByteArray stsh(FontTable& fonts) const;

private:
    QStringList userNames; // istd 15, 16, ...
};

struct CharRun {
    int cp; // first character; the run ends where the next begins
    QByteArray chpx;
};

struct ParaEnd {
    int cpEnd;       // one past the paragraph mark
    QByteArray papx; // istd (2 bytes) followed by the grpprl
};

struct FieldMark {
    int cp;
    quint8 ch;   // 0x13 begin, 0x14 separator, 0x15 end
    quint8 data; // field type at the begin, flags at the end
};

struct BookmarkMark {
    QString name;
    int cp;
    bool start;
};

// A footnote or endnote reference of the main text.
struct NoteMark {
    int cp;
    const model::Note* note;
};

struct SectionEnd {
    int cpEnd;
    QByteArray sepx;
};

// Shared by all stories: fonts, styles, and the Data stream (pictures,
// oversized paragraph properties).
struct WriterContext {
    FontTable fonts;
    StyleSheet styles;
    QByteArray data;
    bool hasPictures = false;
    std::vector<int> fieldKinds; // kind * 1000 + option, per field in writing order
    std::vector<int> listIds;    // model list ids; list i is override i + 1
    DrawingWriter drawing;       // floating pictures of the main text
};

// Builds one story (main text, or one header/footer) from model blocks.
class StoryWriter {
public:
    StoryWriter(WriterContext& ctx, bool mainStory = false) : ctx(ctx), mainStory(mainStory) {}

    void writeBlocks(const std::vector<model::Block>& blocks);
    // Ends the current section: its last paragraph mark becomes a section
    // mark (the last section keeps its paragraph mark).
    void endSection(const QByteArray& sepx, bool last);
    // Makes sure the story ends with a paragraph mark.
    void ensureFinalParagraph();
    // The story of a footnote or endnote: its copy of the reference mark,
    // a blank, then its text.
    void writeNote(const model::Note& note);

    QString text;
    std::vector<CharRun> runs;
    std::vector<ParaEnd> paras;
    std::vector<FieldMark> fields;
    std::vector<BookmarkMark> bookmarks;
    std::vector<SectionEnd> sections;
    std::vector<NoteMark> footnotes, endnotes; // references of the main story

private:
    struct Context {
        int depth = 0;        // table nesting depth (0 outside tables)
        QByteArray framePapx; // frame position sprms for every paragraph
    };
    void blocks(const std::vector<model::Block>& blocks, const Context& c, bool cellEnd);
    void paragraph(const model::Paragraph& p, const Context& c, char16_t mark);
    // An empty paragraph the file needs after a table (to end a cell, a
    // section or the story), marked so that readers leave it out. The mark
    // is a property without effect where line numbers are off; without it
    // readers drop an empty paragraph after a table as Word's.
    void guard(const Context& c, char16_t mark);
    void table(const model::Table& t, const Context& c);
    void inlines(const std::vector<model::Inline>& content, int fieldDepth);
    void field(const model::Inline& in, int fieldDepth);
    void picture(const model::Inline& in);
    void noteReference(const model::Note& note, const QByteArray& chpx);
    void append(const QString& s, const QByteArray& chpx);
    void endParagraph(char16_t mark, const QByteArray& papx, const QByteArray& markChpx);
    // Before a table: the paragraph mark just written starts a character run
    // of its own. LibreOffice loses the formatting of a run that ends where a
    // table begins; this way only the mark's run ends there and the text
    // before it keeps its formatting.
    void markRunOfItsOwn();

    WriterContext& ctx;
    bool mainStory;
    bool lastWasTable = false;
    // The last block written is an empty paragraph right after a table, which
    // readers would take for the paragraph a table at the end of a story
    // needs; a guard after it keeps it.
    bool emptyAfterTable = false;
    size_t sectionStart = 0; // paragraphs written before the current section
};

// Property lists.
// The instruction text of a field (" HYPERLINK \"target\" ").
QString fieldInstruction(const model::Field& f);
QByteArray chpxFor(const model::CharFormat& f, FontTable& fonts);
QByteArray papxFor(const model::ParaFormat& f, int istd);
QByteArray framePapx(const model::Frame& f);
QByteArray tablePapx(const model::Table& t, int row);
QByteArray sepxFor(const model::Section& s);
// Index of the old 16-colour palette nearest to `c` (0 for automatic).
int icoFor(model::Color c);

} // namespace msdoc::wr
