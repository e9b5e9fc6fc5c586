#pragma once
// Rich Text Format (.rtf, the engine's format 5) for the document model.

#include <QByteArray>
#include <QString>

#include <optional>

namespace model {
struct Document;
}

namespace rtf {

// Reads an RTF file: text in its code pages (\ansicpgN, per-font
// \fcharsetN, \uN with its \ucN fallback), fonts, colours, styles,
// paragraphs, runs, tables, pictures, fields, bookmarks, headers, footers
// and sections. A file that does not start as RTF, or that would need more
// memory than any real document of its size, gives nothing and *error says
// why. Damage inside a file (unbalanced groups, bad hex, truncated data) is
// read as far as it goes.
std::optional<model::Document> read(const QByteArray& bytes, QString* error = nullptr);

// Writes the model as RTF that read() gives back equal: text outside ASCII as
// \uN with a Shift-JIS (CP932) fallback for readers without Unicode.
// Pictures in formats RTF cannot hold (GIF, TIFF) are converted to PNG; one
// that cannot be converted makes the write fail with *error set, rather than
// being dropped.
std::optional<QByteArray> write(const model::Document& doc, QString* error = nullptr);

} // namespace rtf
