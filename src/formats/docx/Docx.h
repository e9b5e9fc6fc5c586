#pragma once
// Word Open XML documents (.docx, the engine's format 13) for the document
// model.

#include <QByteArray>
#include <QString>

#include <optional>

namespace model {
struct Document;
}

namespace docx {

// Writes a .docx package: the main text, styles, lists, headers and
// footers of every section, pictures as media parts.
std::optional<QByteArray> write(const model::Document& doc, QString* error = nullptr);

// Reads a .docx package. Encrypted, damaged or oversized packages give
// nothing, with *error naming the reason.
std::optional<model::Document> read(const QByteArray& bytes, QString* error = nullptr);

} // namespace docx
