#pragma once
// The parts of a .docx being read: formatting as WordprocessingML states it
// (properties that may or may not be set, resolved through styles), the
// package's relationships, and the reader of one story.

#include "Budget.h"
#include "Document.h"
#include "Package.h"
#include "TableBorders.h"

#include <QHash>
#include <QXmlStreamReader>

#include <deque>
#include <functional>
#include <optional>

namespace docx::rd {

// Nesting the reader follows (tables in cells, text boxes, containers of
// runs); anything deeper gives its text without its structure.
constexpr int kMaxDepth = 24;

// Fonts the theme gives (minor: body text, major: headings).
struct Theme {
    QString minorLatin, minorEastAsia, majorLatin, majorEastAsia;
};

// Run properties as one level (defaults, a style, the run) states them.
struct RunProps {
    std::optional<QString> font, fontEastAsia;
    std::optional<int> halfPoints, spacing, kerning;
    std::optional<bool> bold, italic, strike, hidden;
    std::optional<model::Underline> underline;
    std::optional<model::VerticalAlign> valign;
    std::optional<model::Color> color, background;
    QString style; // character style of a run

    void over(const RunProps& o); // o's values win
    void applyTo(model::CharFormat& f) const;
};

struct TabChange {
    model::TabStop stop;
    bool clear = false;
};

struct ParaProps {
    std::optional<model::Alignment> align;
    std::optional<int> leftIndent, rightIndent, firstLineIndent, spaceBefore, spaceAfter,
        lineSpacing;
    std::optional<model::LineRule> lineRule;
    std::optional<bool> pageBreakBefore, keepWithNext, keepTogether;
    std::vector<TabChange> tabs; // in the order the levels state them
    std::optional<int> numId, ilvl;
    QString style; // paragraph style of a paragraph

    void over(const ParaProps& o);
    void applyTo(model::ParaFormat& f) const;
};

// The XML reader with the few questions every part asks.
class Xml {
public:
    explicit Xml(const QByteArray& bytes) : x(bytes) {}
    QXmlStreamReader x;
    // The current element is WordprocessingML's `name` (transitional or strict).
    bool is(const char* name) const;
    bool isIn(const char* ns, const char* name) const;
    // An attribute by its local name, whatever its prefix.
    QString attr(const char* name) const;
    // An attribute of the relationships namespace (r:id, r:embed).
    QString relAttr(const char* name) const;
    bool hasAttr(const char* name) const;
    // w:val as a switch: absent, "1", "true", "on" are on.
    bool on() const;
    // An integer attribute, clamped to [lo, hi]; nothing when absent or not a number.
    std::optional<int> number(const char* name, int lo, int hi) const;
    // Reads the children of the current element until its end.
    bool child() { return x.readNextStartElement(); }
    void skip() { x.skipCurrentElement(); }
};

void readRunProps(Xml& x, const Theme& theme, RunProps& out);
// Reads w:pPr's paragraph properties; the paragraph mark's rPr goes to
// `mark`, elements it does not know are handed to `other` (w:sectPr,
// w:framePr, w:pBdr of a paragraph).
// `other` returns false for an element it did not read either.
void readParaProps(Xml& x, const Theme& theme, ParaProps& out, RunProps* mark,
                   const std::function<bool()>& other = {});
model::Border readBorder(Xml& x);

// A table's borders as w:tblBorders gives them, over `into`; the result has
// a bit set for each line given (top, left, bottom, right, insideH, insideV).
unsigned readTableBorders(Xml& x, model::TableBorders& into);

// A table style's own borders and the lines it gives (bits as above).
struct TableStyle {
    QString basedOn;
    model::TableBorders borders;
    unsigned given = 0;
};

struct Style {
    QString name, basedOn, type;
    ParaProps para;
    RunProps run;
};

class Styles {
public:
    void read(const QByteArray& xml, const Theme& theme);
    RunProps defaultRun;
    ParaProps defaultPara;
    // The style's properties with the styles it is based on beneath them.
    const Style& resolved(const QString& id);
    // The paragraph style a paragraph without one uses.
    QString defaultParagraphStyle;
    QString nameOf(const QString& id) const;
    bool has(const QString& id) const { return styles.contains(id); }
    // The borders of table style `id` (or of the default table style when
    // `id` is empty) with the styles it is based on beneath them.
    model::TableBorders tableBorders(const QString& id) const;

private:
    QHash<QString, Style> styles;
    QHash<QString, TableStyle> tableStyles;
    QString defaultTableStyle;
    QHash<QString, Style> cache;
};

class Numbering {
public:
    void read(const QByteArray& xml, const Theme& theme);
    std::vector<model::ListDef> lists; // by num, in the file's order
    // Paragraph properties of level `ilvl` of list `numId`; null when none.
    const ParaProps* level(int numId, int ilvl) const;

private:
    QHash<int, std::vector<ParaProps>> levels;
};

Theme readTheme(const QByteArray& xml);

struct Rel {
    QString type; // last word of the type
    QString target;
    bool external = false;
};
using Rels = QHash<QString, Rel>;
Rels readRels(const QByteArray& xml);
QString relsPartOf(const QString& part);

// What every story of one package shares.
struct Context {
    PackageReader pkg;
    Styles styles;
    Numbering numbering;
    Theme theme;
    msdoc::Budget budget;
    QHash<QString, QByteArray> media; // by part name, read once
    bool tooLarge = false;
    // The text of the notes by their ids, read before the main text.
    QHash<int, std::vector<model::Block>> footnotes, endnotes;
};

// How a section of the main text ends: its properties and the stories
// its header and footer references name.
struct SectionEnd {
    model::Section section; // properties only
    QStringList refs;       // "header:default:PART", ...
};

class StoryReader {
public:
    StoryReader(Context& ctx, const QString& part, const QByteArray& xml);
    // The main text: one section per w:sectPr.
    bool document(std::vector<SectionEnd>& sections,
                  std::vector<std::vector<model::Block>>& bodies);
    // A header or footer.
    bool story(std::vector<model::Block>& out);
    // A footnotes or endnotes part: each note's blocks by its id.
    void notes(QHash<int, std::vector<model::Block>>& out);
    QString error;

private:
    struct Para {
        model::Paragraph paragraph;
        std::optional<model::Frame> frame; // w:framePr: positioned
        std::optional<SectionEnd> sectionEnd;
        std::vector<model::Frame> textBoxes;
    };
    struct OpenField {
        QString instruction;
        std::vector<model::Inline> result;
        model::CharFormat format;
        bool inResult = false;
        bool flattened = false;
    };
    struct Graphic {
        QString embed;
        bool textBox = false;
        std::vector<model::Block> blocks;
        model::Twips width = 0, height = 0; // VML shapes
    };

    void blockContent(std::vector<model::Block>& out, int depth);
    // One element of a body, cell or text box; true when a paragraph ended
    // a section of the main text (a new body was begun in `bodies`).
    bool blockElement(std::vector<model::Block>& out, int depth, bool& inPrFrame,
                      std::vector<SectionEnd>* ends = nullptr,
                      std::vector<std::vector<model::Block>>* bodies = nullptr);
    void addPara(std::vector<model::Block>& out, Para& p, bool& inPrFrame);
    Para paragraph(int depth);
    void inlineContent(Para& p, int depth);
    void run(Para& p, int depth);
    void runContent(Para& p, const model::CharFormat& f, int depth);
    void drawing(Para& p, const model::CharFormat& f, int depth);
    void vml(Para& p, const model::CharFormat& f, int depth);
    Graphic graphic(int depth);
    void picture(Para& p, const model::Picture& pic, const QString& embed,
                 const model::CharFormat& f);
    bool isAlternateContent() const;
    void firstChoice(const std::function<void()>& each);
    // The inlines of the current element, read apart (a link's or field's result).
    std::vector<model::Inline> result(Para& p, int depth);
    void addField(const QString& instruction, std::vector<model::Inline> result);
    void hyperlink(Para& p, int depth);
    void simpleField(Para& p, int depth);
    void fieldChar(const QString& type, const model::CharFormat& f);
    model::Table table(int depth);
    void flatTable(std::vector<model::Block>& out);
    SectionEnd sectionProperties();
    std::optional<model::Frame> frameProperties();

    void addText(const QString& s, const model::CharFormat& f);
    void addInline(model::Inline in);
    std::vector<model::Inline>& target();
    void closeFieldsFrom(size_t base);
    void flattenFields();
    model::CharFormat runFormat(const RunProps& direct) const;
    bool spend(qint64 bytes);

    Context& ctx;
    QString part;
    Rels rels;
    Xml x;
    // Where inlines go: the paragraph, or a hyperlink's or simple field's
    // result being read.
    std::vector<model::Inline>* sink = nullptr;
    std::deque<OpenField> open; // fields begun and not yet ended
    size_t openBase = 0;        // fields below belong to an outer result
    size_t flatCount = 0;       // open[0, flatCount) are flattened
    int hyperlinkDepth = 0;
    QHash<QString, QString> bookmarks;           // open bookmarks: id -> name
    std::vector<model::Inline> pendingBookmarks; // met between paragraphs
    // The paragraph being read: its resolved formats.
    ParaProps paraLevel; // defaults and the paragraph's style, then the paragraph
    RunProps paraRun;    // run properties of the paragraph's style
};

} // namespace docx::rd
