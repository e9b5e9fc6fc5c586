#pragma once
// The editor's side of the tool family's editors and of the mail: pictures
// made by the image, graph and chart editors go into the document, and a
// copy of the document is written for a mail attachment.

#include <QString>

class uTxm;

namespace TxCompanion {

// The image editor's result file for a picture of `width` x `height`
// pixels (0: the editor's choice), editing `source` (a picture file, or the
// work folder for a new one). Empty when the tool produced nothing.
QString ImageEditorResult(int iTy, const QString& source, int width = 0, int height = 0);

// True when the image editor is known or found beside the program, without
// asking the user.
bool HaveImageEditor();

// Commands 42 (graph) and 43 (chart): the tool's picture, at 96 dpi,
// inserted at the caret. Returns whether a picture went in.
bool InsertChart(uTxm& t, bool chart);

// Writes the document to `file` in the format its extension names (doc,
// docx, rtf, txt, pdf) without touching the editor's file name, save folder
// or modified state: a copy, not a save of the user's file. False (after
// telling the user) when it cannot be written.
bool SaveCopy(uTxm& t, const QString& file);

} // namespace TxCompanion
