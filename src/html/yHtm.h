#pragma once
// yHtm: a page as one self-contained HTML 4.01 Transitional file (UTF-8)
// with an embedded style sheet built from the user's formats.
//
// The engine's own HTML (inline styles in points, pictures in the folder
// "NAME_images") is the raw material. It is cut into tokens (HtTag), and
// rewritten: paragraphs become div (or h1/h3/h5 when indented and as large
// as a heading format), inline styles become generated classes (one per
// distinct style and element, letter case ignored), in-page links ("#TP_")
// become annotated spans, tag links ("#TG_") links to the sibling page file
// (HsFName), other local links absolute against the page's base reference;
// addresses with a scheme (http:, https:, mailto:, ...) and in-page anchors
// are kept. The picture folder becomes "NAME_files" beside the page, and
// only once the new page is written: a failed export leaves the previous
// one (page and folder) as it was.

#include "TxStyles.h"

#include <QString>

#include <vector>

class TxEngine;
namespace model {
struct Document;
}

// One token of the body.
struct HtTag {
    QString name; // tag name, "/name" for closing tags, "val" for text runs
    int kind = 0; // 1 opening tag, -1 closing tag, 0 text run, br or img
    bool dropped = false;
    QString attrs; // attribute text without the style attribute
    QString style;
    QString cls;  // generated class name
    QString text; // the token as cut from the source
    int layout = -1;
};

class yHtm {
public:
    // The user formats the style sheet is built from (records 0..3 and the
    // line spacing factor).
    explicit yHtm(const TxStyle::UserFormats& formats = TxStyle::Shared());

    // Writes the editor's document as the page `sFL`. bPng: every picture as
    // PNG (else web pictures stay as they are). sTP: the page-link list
    // (caption TAB id CR per in-page link). sTl: the page title. False, with
    // the reason in *error, when the page could not be written.
    bool cSaveHtm(TxEngine& xTx, bool bPng, const QString& sFL, const QString& sTP,
                  const QString& sTl, QString* error = nullptr);
    // The same conversion of a model (the headless converter's way in).
    bool saveDocument(const model::Document& doc, bool bPng, const QString& sFL, const QString& sTP,
                      const QString& sTl, QString* error = nullptr);
    // The conversion without a page: the style block and the body's inner
    // text. sFL names where the pictures go; sSc is not used.
    bool cGetHtm(TxEngine& xTx, const QString& sFL, const QString& sTP, const QString& sSc,
                 QString& sCss, QString& sBd, QString* error = nullptr);

    // The engine's HTML `text` of the page `sFL` rewritten: the style block
    // in *css, the body (from CR LF and "<body>" to "</html>") returned.
    QString convert(const QString& text, const QString& sFL, const QString& sTP, QString* css);
    // The whole page: doctype, head with the style block and the title
    // (escaped), then the body.
    static QString page(const QString& css, const QString& body, const QString& sTl);

    // The file name of an exported page from a page number or name: "7" ->
    // "007.htm", "12345" -> "12345.htm", "page.HTML" kept.
    static QString HsFName(const QString& sNoC);
    // The page-link list of a document: caption TAB id CR for every "TP_" link.
    static QString PageLinks(const model::Document& doc);
    // Lets the headless converter write .htm through this export.
    static void install();

    // The tokens of the last conversion (kept for inspection until the next).
    const std::vector<HtTag>& tags() const { return aTag; }

private:
    struct ClassLine {
        int number;
        QString key;
        QString style;
    };

    static void markImages(TxEngine& xTx, bool bPng);
    void tokenise(QString body);
    void readTokens(const QString& base);
    void links(const QString& sTP);
    void attributesToStyles();
    void dropEmpty();
    void headings();
    void classes();
    QString writeBody() const;
    QString styleSheet() const;
    QString rewriteLink(const QString& attrs, const QString& base) const;
    int next(size_t i) const; // the next undropped entry after i, -1 none

    TxStyle::UserFormats fmt;
    std::vector<HtTag> aTag;
    std::vector<ClassLine> classTable;
    QString linkStyle, pageLinkStyle;
};
