#pragma once
// Helpers behind the field operations: a field is the run of characters
// carrying one FieldId (TxProps.h).

#include <QTextCharFormat>

#include <vector>

class QTextCursor;
class QTextDocument;
class TxDocument;

namespace txfield {

// Format of the character at `pos` (a paragraph end gives its block's
// character format).
QTextCharFormat formatAt(const QTextDocument* doc, int pos);
// Field id of the character at `pos`; 0 for none and for paragraph ends.
int idAt(const QTextDocument* doc, int pos);

struct Info {
    int id = 0;
    int start = 0; // first character
    int end = 0;   // one past the last
    QTextCharFormat format;
};
// Every field of `doc` in text order (a field split by other text is
// reported at its first run, spanning to its last).
std::vector<Info> list(const QTextDocument* doc);
Info find(const QTextDocument* doc, int id);

// Removes the field properties from a format.
void strip(QTextCharFormat& f);
// The format with its innermost field taken off: the field that holds it
// (nested fields) or none.
QTextCharFormat popped(QTextCharFormat f);
// Whether the text of format `f` belongs to field `id` (directly or as a
// field nested in it).
bool inChain(const QTextCharFormat& f, int id);
// Before text is typed or inserted at `c`: at a field's end (or with a
// field format that does not belong there) the insertion format loses the
// field, so the new text stands outside it. True when `c` changed.
bool prepareInsertion(QTextCursor& c);
// Gives the fields and inline images in [from, to) new ids (copies must
// not share ids).
void renumber(TxDocument& owner, QTextDocument* doc, int from, int to);
// Sets `f` on the characters [from, to) fragment by fragment through
// `change`, keeping each fragment's other properties.
template <typename F> void editRuns(QTextDocument* doc, int from, int to, F change);

// Page-number fields (PAGE and NUMPAGES): the number is the page's own, so
// it is put in where the page is drawn, never in the stored text.
enum class PageNumber { None, Page, Pages };
PageNumber pageNumberOf(const QTextCharFormat& fieldProps);
// The text such a field shows for `n`: in the number format its instruction
// asks for (\* roman, ROMAN, alphabetic, ALPHABETIC, ArabicDash, DBCHAR),
// else in the digits of the result it was stored with (full-width digits
// stay full-width).
QString pageNumberText(const QString& instruction, const QString& stored, int n);
// Replaces the result of every page-number field of `doc` (a copy made for
// painting) with the number for page `page` of `pages`.
// Returns whether any was found.
bool showPageNumbers(QTextDocument* doc, int page, int pages);

} // namespace txfield

#include "TxFieldOps.inl"
