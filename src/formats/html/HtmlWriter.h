#pragma once
// HTML out: the model as one HTML page with inline styles in points, the
// form the program's HTML export post-processes.
//
//   <base href="file:///FOLDER/">          the folder of the page
//   <body style="font-family:'F';font-size:10pt">
//   <p style="text-align:...;margin-left:Npt;...;font-size:Npt;">
//     <span style="font-family:'F';font-size:Npt;color:#RRGGBB;...">text</span>
//   </p>
//
// Pictures are written into the folder named after the page with "_images"
// ("a b.htm" -> "a b_images/image1.png") and referenced relative to the
// page ("a%20b_images/image1.png"); without a page path they are embedded
// as data: addresses. Editor markers become anchors: "TP_x" and "DX_x"
// fields <a name="TP_x" href="#TP_x">, tags <a href="#TG_12">, other links
// their target (local absolute paths as file:/// addresses). Bookmarks are
// empty named anchors. Text is escaped (& < > "), the page is UTF-8.

#include <QByteArray>
#include <QString>

#include <optional>

namespace model {
struct Document;
}

namespace html {

struct WriteOptions {
    // Every picture as PNG; otherwise PNG, JPEG and GIF stay as they are
    // and only what a browser cannot show (BMP, TIFF, metafiles) becomes PNG.
    bool allPng = false;
};

// The page's bytes; nullopt (and *error) when the picture folder cannot be
// written. Pictures replace files of the same names in an existing folder.
std::optional<QByteArray> write(const model::Document& doc, const QString& path = {},
                                QString* error = nullptr, const WriteOptions& options = {});

// & < > " as entities, for HTML text and attribute values.
QString escaped(const QString& s);

// The folder of pictures written for the page `path`: the path without its
// extension, followed by "_images".
QString imageFolderOf(const QString& path);

} // namespace html
