#pragma once
// The rules rtAct wraps around every command code: which commands take the
// undo snapshot first, which focus the engine or close the input method,
// which raise eUdtFld, and how each one sets the modified flag afterwards.
// Also the small argument rules of zoom (86), paste mode (72) and the bar
// switch (27).

#include <QVariant>
#include <optional>

namespace TxBand {
struct Bands;
}

namespace TxCmd {

struct Rule {
    bool snapshot = false;    // save the document into ySnap first
    bool focusEngine = false; // give the engine the focus first
    bool closeIme = false;    // close the input method first
    bool udtFld = false;      // raise eUdtFld afterwards
    bool redraw = false;      // redraw the document afterwards
    // The command changes the page: when it did something, the page is
    // marked modified. A command that did nothing (no selection to cut, a
    // cancelled dialog, a code not handled) leaves the flag as it was.
    bool marks = false;
};

Rule RuleOf(int iJb);

// Zoom (command 86): "拡大" adds 20, "縮小" takes 20, a number is taken as
// it is; the result must lie between 11 and 999, else nothing changes.
std::optional<int> Zoom(int current, const QVariant& arg);

// Paste mode (command 72). Above 1: kept as the user's choice (the menu
// checks follow); 1 or below: for the moment only.
struct PasteMode {
    bool pastTx = false;
    bool updateMenu = false;
};
PasteMode PasteModeOf(int vArg);

// Bars (command 27): 1..4 show the band holding that child, -1..-4 hide it,
// 5 / -5 show / hide the rulers, 7 shows everything, -8 hides everything.
// Other values change nothing. Returns whether the value was recognised.
bool ShowBars(int n, TxBand::Bands& bands, bool& rule);

} // namespace TxCmd
