#pragma once
// Text rules of the editor control that need only the document's plain
// text (paragraph end = character 10, line break = 11, object = 1): the
// title of a page, the outline rendering for mail bodies, and the file name
// the save dialog proposes.

#include <QString>
#include <vector>

namespace TxText {

inline constexpr QChar kPara = QChar(10);
inline constexpr QChar kLine = QChar(11);
inline constexpr QChar kObject = QChar(1);
inline constexpr QChar kPage = QChar(12);
inline constexpr QChar kCell = QChar(9);

// A range of text positions [start, end).
struct Range {
    int start = 0;
    int end = 0;
    bool operator==(const Range&) const = default;
};

// The whole lines (bounded by line, paragraph, page and cell ends) or the
// whole paragraphs (paragraph, page and cell ends) that the selection
// [from, to) touches, without their final end. A selection that ends right
// after an end does not reach into the next line.
Range LinesAround(const QString& text, int from, int to);
Range ParagraphsAround(const QString& text, int from, int to);

// The first line: the text before the first character 10, cut earlier at a
// character 11. A text without any character 10 has no title.
QString FirstLineTitle(const QString& text);

// The save dialog's proposed name: the first line (to the first character
// 10, cut at the first 11; the whole text when it has no 10) with every
// character a file name cannot hold removed, plus ".doc". A first line that
// starts with an embedded object, or that is empty after cleaning, proposes
// nothing.
QString ProposedFileName(const QString& text);

// Removes what no file name may hold: path separators, the characters
// reserved on common file systems, control characters; trims blanks and
// dots at both ends and keeps the name short enough for any file system.
QString CleanFileName(const QString& name);

// One paragraph for the mail rendering, with its style number (0-2 headings).
struct MailPara {
    QString text; // without its character 10
    int style = 3;
};

// The mail body and subject (GetMTxt): headings rendered with their marks,
// the first heading as the subject.
void MailText(const std::vector<MailPara>& paras, QString& sTx, QString& sCp);

// The paragraphs of a plain text: the pieces between characters 10, the
// last one only when it is not empty.
std::vector<QString> Paragraphs(const QString& text);

} // namespace TxText
