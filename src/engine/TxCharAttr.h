#pragma once
// Properties Qt's formats lack an exact counterpart for, read and written
// in one place for the formatting operations and the model bridge:
// underline kinds, vertical position, character spacing, kerning threshold
// (CharAttr 1..4), alignment (ParaAttr0) and line spacing rules.

#include <QVariantList>

class QTextBlockFormat;
class QTextCharFormat;

namespace txattr {

// Underline kinds: 0 none, 1 single, 2 words, 3 double, 4 dotted, 5 thick,
// 6 dash, 7 wave (the model's Underline order).
int underlineKind(const QTextCharFormat& f);
void setUnderlineKind(QTextCharFormat& f, int kind);

// CharAttr(n), n = 1..4. set() returns false for other n.
int get(const QTextCharFormat& f, int n);
bool set(QTextCharFormat& f, int n, int value);

// Alignment: 0 left, 1 centre, 2 right, 3 justify, 4 distributed.
int alignmentValue(const QTextBlockFormat& b);
void setAlignmentValue(QTextBlockFormat& b, int value);

// Line spacing rule (model LineRule: 0 auto in 240ths of a line, 1 at
// least, 2 exactly, in twips) and its value.
int lineRule(const QTextBlockFormat& b);
int lineValue(const QTextBlockFormat& b);
void setLineSpacing(QTextBlockFormat& b, int rule, int value);

// Tab stops as [position twips, model TabAlign, model TabLeader] triples,
// kept exactly and shown through Qt's tab positions (which cannot be
// stored in the native format themselves).
void setTabs(QTextBlockFormat& b, const QVariantList& stops);
// The block's stops in that form (from Qt's tab positions when the block
// has none of its own); clears Qt's positions when `take`.
QVariantList tabs(QTextBlockFormat& b, bool take);

} // namespace txattr
