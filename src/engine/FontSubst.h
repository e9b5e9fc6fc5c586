#pragma once
// Documents keep the font names they were written with ("ＭＳ Ｐゴシック",
// "ＭＳ 明朝", ...). For drawing, such names are substituted with the
// installed Japanese faces, and every format gets a Japanese face as its
// last fallback, so Japanese text never falls back to a Latin face.

#include <QStringList>

namespace fontsubst {

// Registers the substitutions once per process.
void install();

// The families to give a character format for the Latin and East Asian font
// names of a document: the names themselves, then the Japanese fallback that
// fits them (serif for Mincho-like names, sans otherwise).
QStringList families(const QString& latin, const QString& eastAsia);

// True when `family` is one of the fallbacks `families` appends.
bool isFallback(const QString& family);

} // namespace fontsubst
