#pragma once
// Tooltips over footnote and endnote references in the body: resting the
// mouse on a reference shows the note's text, as word processors do, so a
// note can be read without going to it.

class TxEngine;

namespace txnote {

// Shows the tips in `engine`'s text area from now on.
void installTips(TxEngine* engine);

} // namespace txnote
