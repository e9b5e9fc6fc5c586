#pragma once
// The bridge between the neutral document model (what the file formats read
// and write) and the engine's document.
//
// What the model has and Qt does not is kept in TxProps properties and in
// TxDocument, so model -> engine -> model gives the model back (after
// model::normalize). Known limits: a field whose result is empty has no
// characters to live on and is dropped; the contents of table cells covered
// by a merge keep only their cell properties.

namespace model {
struct Document;
struct CharFormat;
} // namespace model

class QTextCharFormat;
class TxDocument;

namespace bridge {

// Fills `out` (emptied first; its page setup replaced) from `doc`.
void toEngine(const model::Document& doc, TxDocument& out);

// The model of the engine's document.
model::Document fromEngine(const TxDocument& doc);

// Character format conversions, shared with the formatting operations.
QTextCharFormat charFormat(const model::CharFormat& cf);
model::CharFormat charFormat(const QTextCharFormat& f);

} // namespace bridge
