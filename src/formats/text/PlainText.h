#pragma once
// Plain text files (the engine's format 1) for the document model.

#include <QByteArray>

namespace model {
struct Document;
}

namespace textfmt {

// Reads UTF-8 when the bytes are valid UTF-8 (with or without byte-order
// mark), else CP932. Every line (CR LF, LF or CR) becomes a paragraph; a form
// feed starts a new paragraph on a new page.
model::Document read(const QByteArray& bytes);

// Writes UTF-8 without byte-order mark: paragraphs and line breaks end with
// the platform's line end, page breaks are form feeds, table cells are
// separated by tabs.
QByteArray write(const model::Document& doc);

} // namespace textfmt
