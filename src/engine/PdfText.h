#pragma once
// The text behind the glyphs of a PDF that QPdfWriter wrote.
//
// Qt tells a PDF reader which characters each glyph stands for (the fonts'
// ToUnicode maps) by looking every glyph up in the font's character map.
// That goes wrong for glyphs the text shaping chose:
//   - glyphs no character maps to (the CJK fonts draw Latin digits next to
//     Japanese with glyphs of their own; "fi" becomes one ligature glyph):
//     Qt gives them no characters, so "Page 10" is read back as "Page";
//   - glyphs several characters share (a CJK radical and its ideograph):
//     Qt takes the lowest, so "日本" is read back as "⽇本", and a ligature
//     glyph reads as the ligature character ("ﬁ" for "fi") and the space
//     as a tab.
// `repair` rewrites the maps: glyphs without characters are matched by
// their outlines against the shaped glyphs of the document's text, shared
// ones are given the ideograph the text holds. The file's cross-reference
// table is rebuilt, so the PDF stays valid.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace pdftext {

// Rewrites the ToUnicode maps of `pdf` for a document whose text is `text`,
// drawn in `families`. Leaves `pdf` as it was when its structure is not
// the one QPdfWriter writes. Returns whether anything changed.
bool repair(QByteArray& pdf, const QString& text, const QStringList& families);

// For the characters of `text` drawn in `families`: the radicals whose glyph
// is that of an ideograph of the text, with that ideograph.
QHash<char16_t, char16_t> radicalMap(const QString& text, const QStringList& families);

// A ToUnicode map: glyph code -> characters. `parseMap` reads the bfchar and
// bfrange sections of a CMap; `writeMap` gives a CMap of `map`.
QHash<uint, QString> parseMap(const QByteArray& cmap);
QByteArray writeMap(const QHash<uint, QString>& map);

} // namespace pdftext
