#include "TxCommands.h"
#include "TxBands.h"

#include <initializer_list>

namespace TxCmd {

namespace {
bool in(int code, std::initializer_list<int> codes) {
    for (int c : codes)
        if (c == code)
            return true;
    return false;
}
constexpr int kZoomStep = 20;
} // namespace

Rule RuleOf(int iJb) {
    Rule r;
    r.snapshot = in(iJb, {10, 15, 23, 24, 30, 32, 33, 40, 41, 50, 51, 53, 55, 60, 71});
    r.focusEngine = in(iJb, {13, 14, 20});
    r.closeIme = iJb >= 63 && iJb <= 66;
    r.udtFld = in(iJb, {2, 4, 5});
    r.redraw = iJb == 26;
    r.marks = in(iJb, {10, 11, 12, 13, 15, 20, 23, 24, 30, 32, 33, 35, 40, 41, 42, 43,
                       44, 50, 51, 53, 54, 55, 60, 61, 62, 63, 64, 71, 80, 82, 85});
    return r;
}

std::optional<int> Zoom(int current, const QVariant& arg) {
    const QString s = arg.toString().trimmed();
    int next = 0;
    if (s == QStringLiteral("拡大")) {
        next = current + kZoomStep;
    } else if (s == QStringLiteral("縮小")) {
        next = current - kZoomStep;
    } else {
        bool ok = false;
        next = s.toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (next <= 10 || next >= 1000)
        return std::nullopt;
    return next;
}

PasteMode PasteModeOf(int vArg) {
    if (vArg > 1)
        return {vArg == 3, true};
    return {vArg == 1, false};
}

bool ShowBars(int n, TxBand::Bands& bands, bool& rule) {
    if (n >= 1 && n <= TxBand::kBands) {
        bands.shown[n] = true;
    } else if (n <= -1 && n >= -TxBand::kBands) {
        bands.shown[-n] = false;
    } else if (n == 5 || n == -5) {
        rule = n > 0;
    } else if (n == 7 || n == -8) {
        for (int c = 1; c <= TxBand::kBands; ++c)
            bands.shown[c] = n > 0;
        rule = n > 0;
    } else {
        return false;
    }
    for (int c = 1; c <= TxBand::kBands; ++c)
        bands.menuChecked[c - 1] = bands.shown[c];
    bands.updateAny();
    return true;
}

} // namespace TxCmd
