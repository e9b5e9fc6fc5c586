#include "MenuCode.h"

#include <array>

namespace MenuCode {

namespace {

ErrorHook& hook() {
    static ErrorHook h;
    return h;
}

// Group number -> menu array of the host window; index 0 is no group.
constexpr std::array<const char*, 17> kGroups = {
    nullptr,  "mnJb",   "mnFile",  "mnEdit", "mnEdtDr", "mnSelc", "mnLocal", "mnView", "mnWin",
    "mnList", "mnPage", "mnOrien", "mnDisp", "mnZoom",  "mnTree", "mnUser",  "mnRep"};

} // namespace

QString sHex(int n) {
    if (n < 0 || n > kMaxValue) {
        ReportError(QStringLiteral("sHex"), QStringLiteral("value out of range: %1").arg(n));
        return {};
    }
    return QString(QChar(n < 10 ? '0' + n : n + 55));
}

int iHex(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'Z')
        return u - 55;
    ReportError(QStringLiteral("iHex"), QStringLiteral("not a code character: %1").arg(c));
    return -1;
}

QString Encode(int iMn, int iNdx) {
    const QString g = sHex(iMn);
    const QString i = sHex(iNdx);
    return g.isEmpty() || i.isEmpty() ? QString() : g + i;
}

bool Decode(const QString& sCode, int& iMn, int& iNdx) {
    if (sCode.size() != 2) {
        ReportError(QStringLiteral("iHex"), QStringLiteral("not a menu code: %1").arg(sCode));
        return false;
    }
    const int g = iHex(sCode[0]);
    const int i = iHex(sCode[1]);
    if (g < 0 || i < 0)
        return false;
    iMn = g;
    iNdx = i;
    return true;
}

QString GroupArray(int iMn) {
    if (iMn <= 0 || iMn >= int(kGroups.size()))
        return {};
    return QString::fromLatin1(kGroups[iMn]);
}

void SetErrorHook(ErrorHook h) {
    hook() = std::move(h);
}

void ReportError(const QString& sProc, const QString& sErr) {
    if (hook())
        hook()(sProc, sErr);
}

} // namespace MenuCode
