#pragma once
// Word 97-2003 binary documents (.doc, the engine's format 9) for the
// document model.

#include <QByteArray>
#include <QString>

#include <optional>

namespace model {
struct Document;
}

namespace msdoc {

// Writes a Word 97 file (compound file with WordDocument, 1Table and, when
// pictures need it, Data streams).
QByteArray write(const model::Document& doc);

// Reads a Word 97-2003 file. Word 6/95 files, encrypted or obfuscated files
// and damaged files give nothing, with *error naming the reason.
std::optional<model::Document> read(const QByteArray& bytes, QString* error = nullptr);

} // namespace msdoc
