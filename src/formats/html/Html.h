#pragma once
// HTML in: what a browser shows of an ordinary page, read into the model
// with an HTML5 parser (gumbo): headings, paragraphs, inline styles (b, i,
// u, strong, em, font, span style=...), lists, tables with their row and
// column spans, images (relative paths resolved against the file's folder,
// loaded when present and not too large) and links.
//
// The bytes are decoded by their byte-order mark, else by the charset a
// meta tag (or an XML declaration) names (UTF-8, Shift_JIS, EUC-JP, ...),
// else as UTF-8, falling back to Shift_JIS (CP932) when they are no valid
// UTF-8. Hostile input is bounded: nesting deeper than a browser would
// render is flattened (its text kept), and the tree is walked without
// recursion.

#include <QByteArray>
#include <QString>

#include <optional>

namespace model {
struct Document;
}

namespace html {

std::optional<model::Document> read(const QByteArray& bytes, QString* error = nullptr,
                                    const QString& baseDir = {});

// The charset the bytes declare (BOM, meta tag, XML declaration), lower
// case; empty when they declare none.
QString declaredCharset(const QByteArray& bytes);
// The bytes as text, by the rules above.
QString decode(const QByteArray& bytes);

} // namespace html
