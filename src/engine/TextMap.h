#pragma once
// The engine's `Text` of a QTextDocument: one character per caret position
// (see TxEngine.h for the characters), and the reverse: inserting such text
// at a cursor.

#include <QString>

class QTextCursor;
class QTextDocument;

namespace textmap {

constexpr char16_t kPara = 10;
constexpr char16_t kLine = 11;
constexpr char16_t kPage = 12;
constexpr char16_t kCell = 9;
constexpr char16_t kObject = 1;

// The text of positions [from, to) of `doc` (to < 0: up to the end, the
// document's final paragraph end excluded).
QString text(const QTextDocument* doc, int from = 0, int to = -1);
// Number of positions `text` has (the final paragraph end excluded).
int length(const QTextDocument* doc);

// Inserts engine text at `c` with the cursor's formats: 10 (or CR LF, or a
// lone CR) starts a paragraph, 12 a paragraph on a new page, 11 a line break;
// character 1 (an object cannot be made from text) is dropped.
void insert(QTextCursor& c, const QString& text);

} // namespace textmap
