#pragma once
// The format peers the interop tests talk to: LibreOffice's headless
// converter (one profile per call, many files per call) and antiword.

#include <QString>
#include <QStringList>

namespace peers {

// Converts every file to `format` into `outDir`; false when soffice failed.
bool soffice(const QStringList& files, const QString& format, const QString& outDir);
// antiword's text of a .doc (-w 0: no line wrapping); empty when it fails.
QString antiword(const QString& file);
// Text with all white space removed, for comparisons that ignore layout.
QString squeeze(const QString& s);

} // namespace peers
