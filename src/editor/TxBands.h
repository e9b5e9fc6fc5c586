#pragma once
// The cool bar's four bands and their persistent form, the band string
// "C_BR": for each band "position-width-N|R-child:", e.g. "1-3000-R-tlBar:".

#include <QString>
#include <array>

namespace TxBand {

// Children of the bands, numbered as bBand(1..4) counts them.
enum Child { NoChild = 0, ToolBar = 1, FormatFrame = 2, ButtonBar = 3, StatusBar = 4 };
inline constexpr int kBands = 4;

// "tlBar", "frFmt", "vButton", "vStatus"; empty for anything else.
QString ChildName(int child);
// The child for a control name; NoChild when the name is none of the four.
int ChildFromName(const QString& name);

struct Band {
    int child = NoChild;
    int width = 0;       // twips, used while the band is shown
    bool newRow = false; // the band starts a new row of the cool bar
    bool operator==(const Band&) const = default;
};

struct Bands {
    std::array<Band, kBands> band;          // bands 1 to 4
    std::array<bool, kBands + 1> shown{};   // bBand: [0] any shown, [1..4] by child
    std::array<bool, kBands> menuChecked{}; // the bar menu items, by child - 1
    bool operator==(const Bands&) const = default;

    // The designed layout: toolbar and colour frame on the first row, the
    // format buttons and the status bar on the second, all shown.
    static Bands Designed();
    // The band holding `child` (0-based), or -1.
    int bandOf(int child) const;
    // Recomputes shown[0] from shown[1..4].
    void updateAny();
};

// The band string of the current layout. A hidden band is written with width 0.
QString GetBandStr(const Bands& b);

// Applies a band string. Empty: the menu checks are cleared and the layout
// kept. A malformed string (an entry without exactly four parts, an unknown
// or repeated child) also clears the menu checks and leaves the layout as it
// was; returns false then.
bool SetBandStr(Bands& b, const QString& s);

} // namespace TxBand
