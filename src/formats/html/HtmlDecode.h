#pragma once
// Inside the HTML reader: the nesting bound applied before parsing.

#include <QByteArray>

namespace html::detail {

// Elements nested deeper than this are dropped (their content kept): the
// parser's work grows with the square of the depth.
constexpr int kMaxDepth = 200;

// `utf8` with the start and end tags beyond kMaxDepth removed. Tags with
// optional end tags (p, li, td, ...) and void elements do not count;
// comments and the text of script, style, textarea, title and xmp pass
// unchanged.
QByteArray limitDepth(const QByteArray& utf8);

} // namespace html::detail
