#pragma once
// The parts of a .docx being written: one story (main text, header or
// footer) at a time as WordprocessingML, with the relationships and media
// it needs.

#include "Document.h"
#include "Package.h"

#include <QHash>
#include <QXmlStreamWriter>

namespace docx::wr {

struct Rel {
    QString id;
    QString type; // last word of the relationship type: "image", "hyperlink", ...
    QString target;
    bool external = false;
};

// The relationships of one part.
struct PartRels {
    std::vector<Rel> rels;
    QHash<QString, QString> ids; // type, target and mode -> id, so each is added once
    QString add(const QString& type, const QString& target, bool external = false);
    QByteArray xml() const;
};

// State shared by every story of one package.
struct Package {
    Parts media;                      // "word/media/imageN.ext" -> bytes
    QStringList mediaExtensions;      // for the content types
    QHash<QString, QString> styleIds; // paragraph style name -> id
    int drawingId = 0;
    int bookmarkId = 0;
    QHash<QString, int> openBookmarks;
    std::vector<int> fieldKinds; // kind * 1000 + option, in story order
    // Notes referenced by the main text, in order; their ids are their
    // places from 1 (Word's separators take -1 and 0).
    bool mainText = false;
    std::vector<const model::Note*> footnotes, endnotes;
};

class StoryWriter {
public:
    StoryWriter(Package& pkg, PartRels& rels, QByteArray* out);
    // The root element (w:document, w:hdr, w:ftr) with the namespaces.
    void begin(const char* root);
    void end();
    void beginBody();
    void endBody();
    // With `endOf`, the blocks end that section: its properties go into
    // the last paragraph (an empty one is added after a final table).
    // `refs` are the header/footer references ("default:rId3", ...).
    void blocks(const std::vector<model::Block>& blocks, const model::Section* endOf = nullptr,
                const QStringList& refs = {});
    // The notes part (w:footnotes or w:endnotes): the separators, then each
    // note with its copy of the reference mark.
    void notes(model::NoteKind kind, const std::vector<const model::Note*>& list);
    // The last section's properties, at the end of the body.
    void sectionProperties(const model::Section& s, const QStringList& refs);

private:
    void paragraph(const model::Paragraph& p, const model::Frame* frame,
                   const model::Section* endOf = nullptr, const QStringList& refs = {});
    void table(const model::Table& t);
    void inlines(const std::vector<model::Inline>& content, bool inHyperlink);
    void field(const model::Inline& in, bool inHyperlink);
    void text(const QString& s, const model::CharFormat& f);
    void picture(const model::Picture& p, const model::CharFormat& f);
    void noteReference(const model::Inline& in);
    void runProperties(const model::CharFormat& f);
    void paraProperties(const model::Paragraph& p, const model::Frame* frame,
                        const model::Section* endOf, const QStringList& refs);
    void border(const char* name, const model::Border& b);
    void fieldChar(const char* type, const model::CharFormat& f);
    void val(const char* name, const QString& v);

    Package& pkg;
    PartRels& rels;
    QXmlStreamWriter x;
    const model::Note* noteMarkDue = nullptr; // the next paragraph starts a note's text
};

// Defaults of the model that the package's styles declare, so runs and
// paragraphs write only what differs.
QByteArray stylesXml(const Package& pkg);
QByteArray numberingXml(const model::Document& doc);
QByteArray settingsXml(const model::Document& doc);
// `notes`: "footnotes" and / or "endnotes" when the package has those parts.
QByteArray contentTypesXml(const Package& pkg, const QStringList& headers,
                           const QStringList& footers, bool numbering,
                           const QStringList& notes = {});

// Characters XML 1.0 cannot hold are left out of text written.
QString xmlSafe(const QString& s);

} // namespace docx::wr
