#pragma once
// Opening and closing the input method. Qt has no portable call for it, so
// the input method framework's remote tool is asked when present (fcitx5 or
// fcitx); failures are ignored, as the input method is only a convenience.

namespace TxIme {

void SetOpen(bool open);
// The last state asked for (-1 none yet); lets tests and callers see the request.
int LastRequest();

} // namespace TxIme
