#include "TxBands.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace TxBand {

namespace {
constexpr int kHiddenWidth = 500;   // width given to a band stored as hidden
constexpr double kMaxWidth = 60000; // keeps a damaged value from making a huge bar
const char* const kNames[kBands] = {"tlBar", "frFmt", "vButton", "vStatus"};

void clearChecks(Bands& b) {
    b.menuChecked.fill(false);
}

// The stored width in whole twips; anything that is not a sensible number is 0.
int widthOf(const QString& part) {
    const double d = part.trimmed().toDouble();
    if (!std::isfinite(d))
        return 0;
    return qRound(std::clamp(d, 0.0, kMaxWidth));
}
} // namespace

QString ChildName(int child) {
    if (child < 1 || child > kBands)
        return {};
    return QString::fromLatin1(kNames[child - 1]);
}

int ChildFromName(const QString& name) {
    for (int i = 0; i < kBands; ++i)
        if (name == QLatin1String(kNames[i]))
            return i + 1;
    return NoChild;
}

Bands Bands::Designed() {
    Bands b;
    b.band[0] = {ToolBar, 4200, false};
    b.band[1] = {FormatFrame, 2600, false};
    b.band[2] = {ButtonBar, 6000, true};
    b.band[3] = {StatusBar, 5000, false};
    b.shown.fill(true);
    return b;
}

int Bands::bandOf(int child) const {
    for (int i = 0; i < kBands; ++i)
        if (band[i].child == child)
            return i;
    return -1;
}

void Bands::updateAny() {
    shown[0] = std::any_of(shown.begin() + 1, shown.end(), [](bool v) { return v; });
}

QString GetBandStr(const Bands& b) {
    QString s;
    for (int i = 0; i < kBands; ++i) {
        const Band& bd = b.band[i];
        if (bd.child == NoChild)
            continue;
        const int width = b.shown[bd.child] ? bd.width : 0;
        s += QStringLiteral("%1-%2-%3-%4:")
                 .arg(i + 1)
                 .arg(width)
                 .arg(bd.newRow ? QStringLiteral("N") : QStringLiteral("R"))
                 .arg(ChildName(bd.child));
    }
    return s;
}

bool SetBandStr(Bands& b, const QString& s) {
    if (s.isEmpty()) {
        clearChecks(b);
        return true;
    }
    QString body = s;
    if (body.endsWith(u':'))
        body.chop(1);
    QStringList entries = body.split(u':');
    // Exchange sort of the first four entries by their first character.
    const qsizetype n = std::min<qsizetype>(entries.size(), kBands);
    for (qsizetype i = 0; i + 1 < n; ++i)
        for (qsizetype j = i + 1; j < n; ++j)
            if (entries[j].left(1) < entries[i].left(1))
                entries.swapItemsAt(i, j);

    Bands out = b;
    std::array<bool, kBands + 1> seen{};
    for (int i = 0; i < kBands; ++i) {
        const QStringList parts = i < entries.size() ? entries[i].split(u'-') : QStringList();
        const int child = parts.size() == 4 ? ChildFromName(parts[3]) : NoChild;
        if (child == NoChild || seen[child]) {
            clearChecks(b);
            return false;
        }
        seen[child] = true;
        const int width = widthOf(parts[1]);
        Band& bd = out.band[i];
        bd.child = child;
        out.shown[child] = width > 0;
        out.menuChecked[child - 1] = width > 0;
        bd.width = width > 0 ? width : kHiddenWidth;
        if (i > 0)
            bd.newRow = parts[2] == QLatin1String("N");
    }
    out.updateAny();
    b = out;
    return true;
}

} // namespace TxBand
