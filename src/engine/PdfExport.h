#pragma once
// PDF out: the engine's pages, painted by the same pager as the page view
// and printing, onto a QPdfWriter. The page size is the document's page;
// text keeps its fonts (embedded by Qt, so the file shows the same on any
// machine) and stays extractable (PdfText.h); web and file links become clickable link
// annotations over their text.
//
// Painting lays text out with real fonts, so a QGuiApplication must exist
// (the offscreen platform is enough; no display is needed).

#include <QByteArray>
#include <QString>

class TxDocument;

namespace model {
struct Document;
}

namespace pdfexport {

// The PDF of `doc`. False (with the reason in *error) when it cannot be
// painted, e.g. without a QGuiApplication.
bool write(const TxDocument& doc, QByteArray* out, QString* error = nullptr);
bool write(const model::Document& doc, QByteArray* out, QString* error = nullptr);

// Gives the format registry's "pdf" entry its writer (the model through the
// engine's pages), so the headless converter reaches it. Safe to call more
// than once.
void install();

// The link a field target stands for in a PDF: web and mail addresses and
// files; empty for the editor's own markers (page anchors, tags, data
// fields), which mean nothing outside the program.
QString linkTarget(const QString& target);

} // namespace pdfexport
