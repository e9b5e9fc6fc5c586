#pragma once
// The toolbar's eleven keyed buttons: their state from the editor's state
// and the command each click runs.

#include <QString>
#include <QStringList>

// The last toolbar state written (uTxm's tlState).
struct TlState {
    bool canCopy = false;
    bool canPaste = false;
    bool canUndo = false;
    bool canRedo = false;
    bool canSave = false;
    bool hasContent = false;
    bool inHeading = false;
    bool operator==(const TlState&) const = default;
};

namespace TxTool {

// "New", "Open", "Save", "Print", "Preview", "Cut", "Copy", "Paste", "Undo",
// "Redo", "Find", in the toolbar's order.
const QStringList& ButtonKeys();

// The rtAct code a click on the button runs; 0 for an unknown key.
int CommandOf(const QString& key);

struct ButtonState {
    bool visible = true;
    bool enabled = false;
    bool operator==(const ButtonState&) const = default;
};

// The state of button `key` for toolbar state `s` in an editor of type iTy.
ButtonState StateOf(const QString& key, const TlState& s, int iTy);

} // namespace TxTool
