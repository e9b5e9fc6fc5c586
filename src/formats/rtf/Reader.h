#pragma once
// The RTF reader: runs over the tokens with an explicit stack of group
// states, sends text to the destination of its group and builds the model.

#include "ReaderState.h"

#include <optional>

namespace rtf::rd {

class Reader {
public:
    explicit Reader(const QByteArray& bytes);
    std::optional<model::Document> run(QString* error);

    // Deepest nesting of groups kept; deeper groups share the deepest state.
    static constexpr int kMaxDepth = 500;
    // Table nesting kept; deeper tables are read into the deepest level.
    static constexpr int kMaxTableDepth = 16;

private:
    friend struct Props;

    void open();
    void close();
    void word(const Token& t);
    void symbol(char c);
    void text(QByteArrayView bytes);
    void hex(unsigned char b);
    void binary(QByteArrayView bytes);
    void unicode(int value);

    // Text: bytes wait until the code page changes or a control word comes,
    // then go, decoded, to the group's destination.
    void flush();
    void deliver(const QString& s);
    int codePage() const;
    void bodyText(const QString& s);

    // Content of the current story.
    StoryBuild& story() { return stories[size_t(st().story)]; }
    void place(const model::Inline& in);
    void endParagraph();
    void endCell(int depth);
    void endRow(int depth);
    void endSection();
    std::vector<model::Block>& container(StoryBuild& s, int depth, bool** open);
    void addBlock(model::Block b, int depth);

    bool startDestination(QByteArrayView w, bool ignorable);
    void finishGroup(State& closing);
    void finishPicture();
    void finishShape();
    void finishField(State& closing);
    void finishStory(State& closing);
    void finishFont();
    void finishStyle(State& closing);
    void finishListLevel();
    void finishList();

    bool charProp(QByteArrayView w, const Token& t);
    bool paraProp(QByteArrayView w, const Token& t);
    bool sectionProp(QByteArrayView w, const Token& t);
    bool tableProp(QByteArrayView w, const Token& t);
    bool pictProp(QByteArrayView w, const Token& t);
    bool shapeProp(QByteArrayView w, const Token& t);
    bool listProp(QByteArrayView w, const Token& t);
    void setFont(int index, bool viaAssociated);
    QString fontName(int index) const;
    model::Color color(int index) const;
    void plain(State& s) const;
    void pard(State& s) const;

    State& st() { return stack.back(); }
    const State& st() const { return stack.back(); }
    bool spend(qint64 bytes) { return budget.spend(bytes); }

    const QByteArray& bytes;
    Tokenizer tok;
    msdoc::Budget budget;
    std::vector<State> stack;
    int overflow = 0;           // groups opened past kMaxDepth and not yet closed
    int skip = 0;               // fallback characters of \uN still to skip
    bool ignorableNext = false; // \* seen: an unknown destination is skipped

    QByteArray pending;
    int pendingCp = 1252;

    int ansiCp = 1252;
    int defaultFont = 0;
    std::vector<std::pair<int, Font>> fonts; // sorted by index
    int fontIndex = -1;                      // font being defined
    QByteArray fontBytes;
    QString fontText;
    int fontCp = 0; // \cpgN of the font being defined
    int fontCharsetCp = 1252;
    std::vector<model::Color> colors;
    int red = 0, green = 0, blue = 0;
    bool colorSet = false;
    QHash<int, Style> paraStyles, charStyles;
    int styleNumber = 0;
    bool styleCharacter = false;
    QString styleName;

    std::vector<StoryBuild> stories;
    model::CharFormat noteReference; // the format of the last \chftn of the main text
    std::vector<FieldBuild> fields;
    std::optional<PictBuild> pict;
    std::vector<ShapeBuild> shapes;

    // Lists: definitions by \listid, overrides \ls -> \listid.
    QHash<int, model::ListDef> listDefs;
    std::optional<model::ListDef> listBuild;
    std::optional<ListLevelBuild> levelBuild;
    int overrideListId = 0, overrideLs = 0;
    QHash<int, int> lsToList;

    model::Document doc;
    model::Section section;        // the section being read
    model::PageSetup pageDefaults; // \paperw etc.: what \sectd gives
};

} // namespace rtf::rd
