#pragma once
// Two-character menu codes: the first character is the menu group number,
// the second the item index in that group's menu array. Each character is
// "0"-"9" for 0 to 9 or "A"-"Z" for 10 to 35. Also the table of menu groups
// and the hook that failures of the function-key bar are reported to.

#include <QString>
#include <functional>

namespace MenuCode {

inline constexpr int kMaxValue = 35;

// One code character for 0..35; empty (and reported as "sHex") otherwise.
QString sHex(int n);
// The number of a code character; -1 (reported as "iHex") for anything but
// "0"-"9" and "A"-"Z".
int iHex(QChar c);

// The code of item `iNdx` of group `iMn`; empty when either is out of range.
QString Encode(int iMn, int iNdx);
// Splits a code into group and item. False when `sCode` is not two valid
// code characters.
bool Decode(const QString& sCode, int& iMn, int& iNdx);

// The name of the host's menu array for a group number ("mnFile" for 2);
// empty for a number outside the table.
QString GroupArray(int iMn);

// Failures inside the bar's operations are swallowed and reported here with
// the operation's name. The default hook does nothing.
using ErrorHook = std::function<void(const QString& sProc, const QString& sErr)>;
void SetErrorHook(ErrorHook hook);
void ReportError(const QString& sProc, const QString& sErr);

} // namespace MenuCode
