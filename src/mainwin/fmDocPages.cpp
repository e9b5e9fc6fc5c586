// fmDoc: moving pages between the editor and the document database.
#include "fmDoc.h"

// Files the editor's document under a code page.
void fmDoc::SaveToCode(const QString& /*sPrNm*/, const QString& /*sPrNo*/) {}

// Exports the editor's document into the page tree.
void fmDoc::ExportToTree() {}

// Writes the editor's document as a new page row.
void fmDoc::NewDocRow(const QString& /*sTitle*/) {}

// Imports a page into the editor (replacing or inserting).
void fmDoc::ImportPage(int /*mode*/) {}

// Opens the page-tree dialog for reference.
void fmDoc::ReferPages() {}
