#pragma once
// Footnote and endnote references and hidden text in the engine's
// documents. A reference is the run of characters showing its number (or
// its own mark) that carry the same NoteIndex: an index into
// TxDocument::notes, where the note's text is kept while the body is edited.
// A reference deleted from the text drops its note when the document is
// turned back into the model. Hidden text carries Hidden and is shown with
// a grey dotted underline (its own underline kind is kept in UnderlineKind).

#include <QTextCharFormat>

namespace txnote {

enum Property : int {
    NoteIndex = QTextFormat::UserProperty + 0x400, // int: index into TxDocument::notes
    Hidden,                                        // bool: hidden text
};

inline bool isHidden(const QTextCharFormat& f) {
    return f.boolProperty(Hidden);
}

inline void setHidden(QTextCharFormat& f) {
    f.setProperty(Hidden, true);
    f.setUnderlineStyle(QTextCharFormat::DotLine);
    f.setUnderlineColor(QColor(128, 128, 128));
}

inline int noteIndex(const QTextCharFormat& f) {
    return f.hasProperty(NoteIndex) ? f.intProperty(NoteIndex) : -1;
}

} // namespace txnote
