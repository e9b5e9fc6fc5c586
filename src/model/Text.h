#pragma once
// Whole-document helpers: the plain text of a model and its normal form.

#include <QString>

#include <vector>

namespace model {

struct Document;
struct Block;

// The document's text: paragraph ends and line breaks as "\n", page breaks
// as "\f" (also before a paragraph that starts a new page), table cells separated by "\t" with a
// "\n" after each row; field results stand for their fields, pictures and bookmarks give nothing,
// nor do hidden text and notes (the note references and the notes' text).
// Headers and footers are left out. With ListLabels::Include each list
// paragraph starts with its number or bullet and a tab, as it shows.
enum class ListLabels { Omit, Include };
QString plainText(const Document& doc, ListLabels labels = ListLabels::Omit);
QString plainText(const std::vector<Block>& blocks);

// Brings a model into its normal form: adjacent text runs of equal format
// merged, empty text runs dropped, everywhere (cells, frames, headers,
// field results). Two models that show the same thing compare equal after it.
void normalize(Document& doc);
void normalize(std::vector<Block>& blocks);

} // namespace model
