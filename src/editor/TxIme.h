#pragma once
// Opening and closing the input method for the editor, through the
// platform's input method layer (fcitx or IBus). Failures are ignored, as
// the input method is only a convenience.

namespace TxIme {

// Open: the input method is opened in native full-width romaji input
// (conversion mode 25), the sentence mode left as it is; close: closed.
void SetOpen(bool open);
// Whether the input method is open; false when no framework can say.
bool IsOpen();
// The last state asked for (-1 none yet).
int LastRequest();

} // namespace TxIme
