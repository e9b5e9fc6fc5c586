#pragma once
// The engine's document: the main text as a QTextDocument, plus what a
// QTextDocument does not hold, kept beside it: page setup, headers and
// footers, text frames, positioned images, bookmarks, result-less fields
// and the bytes of every
// image. TxEngine shows and edits it; the model bridge and the native format
// fill and read it; the pager paints it.
//
// Measures are twips. Positioned objects remember where they belong in the
// main text through a QTextCursor (which follows every edit), and keep their
// offsets exactly as the file gave them (relative to page, margin, column,
// paragraph or line), so they go back out unchanged.

#include "Document.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <memory>
#include <vector>

class QTextDocument;

struct TxPageSetup {
    int width = 11906; // A4
    int height = 16838;
    int marginLeft = 1440;
    int marginTop = 1440;
    int marginRight = 1440;
    int marginBottom = 1440;
    int headerDistance = 720; // page top to the header
    int footerDistance = 720; // page bottom to the footer
    bool landscape = false;   // as the file said; the sizes decide the layout

    bool operator==(const TxPageSetup&) const = default;
    int textWidth() const { return width - marginLeft - marginRight; }
    int textHeight() const { return height - marginTop - marginBottom; }
};

// Reference points of positioned objects (the model's relations, same order).
enum class TxHRel { Page, Margin, Column, Character };
enum class TxVRel { Page, Margin, Paragraph, Line };

struct TxBorder {
    int style = 0; // 0 none, 1 single, 2 thick, 3 double, 4 dotted, 5 dashed
    int width = 10;
    quint32 color = 0xFF000000u; // automatic
    int space = 0;
    bool operator==(const TxBorder&) const = default;
};

// Bytes of an image as read, with the type they came as (model::ImageType
// order) so writers can store them unchanged.
struct TxImageData {
    QByteArray bytes;
    int type = 0;
    QImage image; // decoded, for painting
};

struct TxFrame {
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int heightRule = 2; // 0 auto, 1 at least, 2 exact (model HeightRule order)
    TxHRel hRel = TxHRel::Page;
    TxVRel vRel = TxVRel::Page;
    bool wrapAround = true;
    TxBorder border;
    QTextCursor anchor; // the frame stands before this place of its document
    int order = 0;
    std::unique_ptr<QTextDocument> doc;
};

// A positioned (floating) image. Inline images live in the text as
// QTextImageFormat characters instead.
struct TxImage {
    int id = 0;
    QString name;  // key into TxDocument::imageData
    int width = 0; // natural size, twips
    int height = 0;
    int scaleX = 100, scaleY = 100;
    int wrap = 1; // model Wrap order: 1 around, 2 left, 3 right, 4 top-bottom, 5 free
    int x = 0, y = 0;
    TxHRel hRel = TxHRel::Column;
    TxVRel vRel = TxVRel::Paragraph;
    int distance = 0;
    bool behindText = false;
    int layout = 1; // ObjectLayout
    QString fileName;
    int exportSetting = 0;
    int exportFlag = 0;
    QTextCursor anchor;     // in the main text or in a frame's document
    QTextCharFormat format; // the run format the file gave it
    int order = 0;          // keeps objects at one place in their order
    int fieldId = 0;        // the field whose result it stood in, 0 none
    int shownWidth() const { return int((qint64(width) * scaleX + 50) / 100); }
    int shownHeight() const { return int((qint64(height) * scaleY + 50) / 100); }
};

// Something at a place of the text that has no characters of its own: a
// bookmark's start or end, or a field whose result is empty (Word's XE,
// SHAPE, MACROBUTTON ... fields often are).
struct TxMark {
    enum Kind { BookmarkStart = 0, BookmarkEnd = 1, EmptyField = 2 };
    int kind = BookmarkStart;
    QString name;          // bookmarks
    QTextCharFormat field; // EmptyField: the field's properties (TxProps Field*)
    QTextCursor at;
    int order = 0;   // keeps objects at one place in their order
    int fieldId = 0; // the field whose result it stood in, 0 none
};

// List definitions as the file gave them (model NumberFormat order).
struct TxListLevel {
    int format = 0;
    QString text;
    int start = 1;
    int indent = 0;
    int hanging = 0;
    QString font;
    bool operator==(const TxListLevel&) const = default;
};

struct TxListDef {
    int id = 0;
    std::vector<TxListLevel> levels;
    bool operator==(const TxListDef&) const = default;
};

// A section after the first: where it starts (the block carrying the
// property kSectionIndex), its page setup and its own headers/footers.
// Section 0's values are the document's own (TxDocument::page, parts).
struct TxSection {
    TxPageSetup page;
    int start = 0; // model SectionStart order: 0 new page, 1 continuous, ...
    bool titlePage = false;
    std::array<std::unique_ptr<QTextDocument>, 4>
        parts; // header, first header, footer, first footer
};

class TxDocument {
public:
    TxDocument();
    ~TxDocument();
    TxDocument(const TxDocument&) = delete;
    TxDocument& operator=(const TxDocument&) = delete;

    QTextDocument* body() const { return body_.get(); }

    TxPageSetup page;
    bool titlePage = false; // first-page header/footer in use
    int sectionStart = 0;   // how the first section begins (model SectionStart order)
    int defaultTabStop = 840;

    // Header/footer parts by mask bit (1 header, 2 first header, 4 footer,
    // 8 first footer); nullptr when absent.
    QTextDocument* part(int bit) const;
    int partMask() const;
    // Adds the parts of `mask` not present yet (empty) and drops the others.
    void setPartMask(int mask);
    QTextDocument* ensurePart(int bit);

    std::vector<std::unique_ptr<TxFrame>> frames;
    std::vector<std::unique_ptr<TxImage>> images;
    std::vector<TxMark> marks;
    std::vector<std::unique_ptr<TxSection>> sections; // sections after the first
    QHash<QString, TxImageData> imageData;
    std::vector<TxListDef> lists;
    // Footnotes and endnotes by the NoteIndex their references carry
    // (TxNotes.h); a note whose reference is gone is left out on saving.
    std::vector<model::Note> notes;

    TxFrame* frame(int id) const;
    TxImage* image(int id) const;

    // A new id for an object or field, unique within this document.
    int newId() { return ++lastId_; }
    int nextOrder() { return ++lastOrder_; }
    void noteId(int id) { lastId_ = std::max(lastId_, id); }

    // A cursor for an object anchored at `pos` of `doc`: text typed at that
    // place goes after the anchor.
    static QTextCursor anchorAt(QTextDocument* doc, int pos);

    // Registers image bytes (decoded for painting) and returns the name the
    // text refers to them by; the document's resources get the image too.
    QString addImage(const QByteArray& bytes, int type, QTextDocument* into = nullptr);

    // A new empty document for a header, footer or frame, formatted like the
    // body's defaults.
    std::unique_ptr<QTextDocument> newPartDocument() const;

    // Exchanges the whole content (documents included) with `other`.
    void swap(TxDocument& other);
    int lastId() const { return lastId_; }
    int lastOrder() const { return lastOrder_; }
    void setCounters(int lastId, int lastOrder) {
        lastId_ = lastId;
        lastOrder_ = lastOrder;
    }

    // Empties everything; page setup is kept unless `resetPage`.
    void clear(bool resetPage = false);

    // Every QTextDocument of this document: body, parts, frames, sections' parts.
    std::vector<QTextDocument*> allDocuments() const;

private:
    std::unique_ptr<QTextDocument> body_;
    std::array<std::unique_ptr<QTextDocument>, 4> parts_;
    int lastId_ = 0;
    int lastOrder_ = 0;
};

// The body's default character format: the program's standard Japanese face
// at 10 points.
void txApplyDefaults(QTextDocument* doc);
