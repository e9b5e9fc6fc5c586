#pragma once
// Footnotes and endnotes of a document in reading order: the main text of
// every section (inside tables, frames and field results too), the order the
// writers put the notes' stories in and readers number them by.

#include "Document.h"

#include <vector>

namespace model {

std::vector<Note*> notesOf(std::vector<Block>& blocks, NoteKind kind);
std::vector<Note*> notesOf(Document& doc, NoteKind kind);
std::vector<const Note*> notesOf(const Document& doc, NoteKind kind);

// Drops `prefix` and one blank after it from the start of a note's text:
// the note's own copy of its reference mark, as files store it.
void dropLeadingMark(std::vector<Block>& blocks, const QString& prefix);

} // namespace model
