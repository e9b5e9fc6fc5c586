#pragma once
// The format peers the interop tests talk to: LibreOffice's headless
// converter (one profile per call, many files per call) and antiword.

#include <QList>
#include <QString>
#include <QStringList>

namespace peers {

// Converts every file to `format` into `outDir`; false when soffice failed.
bool soffice(const QStringList& files, const QString& format, const QString& outDir);
// antiword's text of a .doc (-w 0: no line wrapping); empty when it fails.
QString antiword(const QString& file);
// Text with all white space removed, for comparisons that ignore layout.
QString squeeze(const QString& s);

// A paragraph of a flat ODF document (.fodt) as LibreOffice formats it: its
// text, the paragraph style it is set in, and the effective size, weight and
// slant of its first character (of the paragraph mark when it is empty),
// resolved through the span, the paragraph's automatic style, the parent
// styles and the document defaults.
struct ParagraphLook {
    QString text;
    QString style; // display name of the paragraph's common style
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool operator==(const ParagraphLook&) const = default;
};
// Every paragraph and heading of the body in document order, table cells
// included; empty when the document cannot be parsed.
QList<ParagraphLook> paragraphLooks(const QString& fodt);
QString describe(const QList<ParagraphLook>& looks);

// A flat ODF text whose headings (Heading 1: 24 pt bold, Heading 2: 16 pt
// italic, body 10 pt, all from the styles) stand directly before and after
// tables, first and last in cells, and around a table nested in a cell.
QString headingsNextToTables();

} // namespace peers
