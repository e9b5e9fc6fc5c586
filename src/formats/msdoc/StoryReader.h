#pragma once
// Turns a range of a Word document's text into model blocks: paragraphs with
// their runs, fields, bookmarks, tables (nested) and frames.

#include "DocFile.h"
#include "Lists.h"

#include <QHash>
#include <QMultiMap>

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace msdoc::rd {

struct ParaRec {
    int cpStart = 0;
    int cpEnd = 0; // one past the paragraph mark
    char16_t mark = 0x0D;
    bool guard = false; // a paragraph this program's writer added after a table
    Pap pap;
};

// Paragraph records are kept in chunks: a file of short paragraphs makes
// hundreds of thousands, and one block of them would be the largest
// allocation of a read.
using ParaRecs = std::deque<ParaRec>;

struct BookmarkEvent {
    QString name;
    bool start = true;
};

// Objects the story reader hands to the picture reader.
class ObjectReader {
public:
    virtual ~ObjectReader() = default;
    // Inline picture at Data stream offset `location`; false when none.
    virtual bool inlinePicture(qint64 location, model::Picture& out) = 0;
    // Floating object whose anchor character is at `cp`: a picture, or a text
    // box whose blocks are returned; false when there is nothing to show.
    virtual bool floatingObject(int cp, model::Inline& picture, model::Frame& textBox,
                                bool& isTextBox) = 0;
};

// A footnote or endnote reference of the main text: the note's number in its
// plc and whether the reference is a mark of its own instead of a number.
struct NoteRef {
    model::NoteKind kind = model::NoteKind::Foot;
    int index = 0;
    bool custom = false;
};

class StoryReader {
public:
    StoryReader(DocFile& file, ObjectReader* objects) : f(file), objects(objects) {}

    // Paragraph records of [cpStart, cpEnd); section marks end paragraphs
    // where `sectionEnds` says a section ends.
    ParaRecs paragraphs(int cpStart, int cpEnd, const std::vector<int>& sectionEnds);
    // Blocks of the records [begin, end). Guard paragraphs are left out; when
    // the range ends with one, guardAtEnd is set and the blocks are exactly
    // what was written (no empty paragraph after a table to drop).
    std::vector<model::Block> blocks(const ParaRecs& recs, size_t begin, size_t end);
    bool guardAtEnd = false;

    QMultiMap<int, BookmarkEvent> bookmarks; // by character position
    std::map<int, NoteRef> noteRefs;         // by character position
    // The text of a referenced note (without its copy of the reference
    // `mark`); set with noteRefs.
    std::function<std::vector<model::Block>(const NoteRef&, const QString& mark)> noteText;
    const std::vector<ReadList>* lists = nullptr;

private:
    struct OpenField {
        QString instruction;
        std::vector<model::Inline> result;
        model::CharFormat format;
        bool inResult = false;
        bool flattened = false;
    };

    model::Paragraph paragraph(const ParaRec& rec);
    model::Table table(const ParaRecs& recs, size_t& i, size_t end, int depth);
    Chp chpAt(int cp, int istd, int* runEnd);
    void addText(model::Paragraph& p, const QString& s, const model::CharFormat& format);
    void addInline(model::Paragraph& p, model::Inline in);
    void fieldEnd(model::Paragraph& p);
    void flattenFields(model::Paragraph& p);
    void special(model::Paragraph& p, int cp, char16_t c, const Chp& chp);
    // The note whose reference starts at cp; returns the characters it takes.
    int noteReference(model::Paragraph& p, int cp, int end, const NoteRef& ref, const Chp& chp);

    DocFile& f;
    ObjectReader* objects;
    std::deque<OpenField> open;              // in chunks: files may open fields by the million
    size_t flatCount = 0;                    // open[0, flatCount) are flattened
    std::vector<model::Frame> pendingFrames; // text boxes met in the current paragraph
};

int depthOf(const Pap& pap);
// A model field from its instruction text and result.
model::Field makeField(const QString& instruction, std::vector<model::Inline> result);

} // namespace msdoc::rd
