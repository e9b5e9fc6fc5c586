#pragma once
// Shared format helpers of the editor: splitting a marker's target string
// into its kind code and value.

#include <QString>

namespace Frmt {

// "TG_12" -> ("TG", "12"); "tg_A_12" -> ("TG", "12"); "TP_x" -> ("TP", "x");
// "DX_x" -> ("DX", "x"); anything else -> ("LK", the whole string).
void SplitMrk(const QString& sLnk, QString& sTyp, QString& sVal);

} // namespace Frmt

namespace Frmt {

// The lower-cased extension of a file name ("html" reads as "htm"); empty
// when the name has none.
QString ExtOf(const QString& sFile);
// Engine format numbers for reading / writing a file with that extension;
// 0 when the extension is not one the editor reads / writes.
int ReadFormat(const QString& ext);
int WriteFormat(const QString& ext);

} // namespace Frmt
