#pragma once
// Text helpers of the HTML export: searches that ignore letter case, the
// pieces of style and attribute texts, and escaping.

#include <QString>

namespace htmtext {

// The text between `start` and `end` (both found ignoring case; `end` is
// appended to the text when it does not end with it). An empty start means
// the beginning; empty when either is not found.
QString between(const QString& text, const QString& start, const QString& end);
// Whether `part` occurs ignoring case; false for an empty part.
bool contains(const QString& text, const QString& part);
// Every occurrence of `from` replaced, found ignoring case.
QString replaceCi(QString text, const QString& from, const QString& to);
// Blanks (spaces and tabs) off both ends; line feeds and other white space
// (the ideographic space among them) stay.
QString trimBlanks(const QString& s);
// Double blanks reduced to one.
QString singleBlanks(QString s);

// A style ("name:value;...") without the property `name`.
QString removeProperty(QString style, const QString& name);
// An attribute text without the attribute `name="..."`.
QString removeAttribute(QString attrs, const QString& name);

// HTML text with its entities (& < > " and no-break spaces) as characters.
QString unescaped(const QString& s);

// "file:///" taken off an address: "file:///C:/w" -> "C:/w", and a path
// of this system keeps its root: "file:///home/u" -> "/home/u".
QString withoutFileScheme(const QString& address);
// Whether an address names its scheme ("https:", "mailto:", "ftp:" ...;
// "file:" and a drive letter "C:" are not schemes here).
bool hasScheme(const QString& address);

} // namespace htmtext
