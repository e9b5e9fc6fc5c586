#pragma once
// Rules of the editor's external-file commands that need no widget: the
// file-dialog filters (worded by the format registry), the kept copy that
// opening proposes, the filter index of an extension, the plain text that
// inserting a text file puts into the page and the size rules of pictures.

#include <QDate>
#include <QString>

namespace TxFiles {

// Dialog titles.
inline const QString kOpenTitle = QStringLiteral("文書の読み込み");
inline const QString kInsertTitle = QStringLiteral("ﾃｷｽﾄの挿入");
inline const QString kSaveAsTitle = QStringLiteral("文書の保存");
inline const QString kSaveHtmTitle = QStringLiteral("名前を付けて保存");
// The HTML preview's work file in the work folder.
inline const QString kPreviewFile = QStringLiteral("$Wrk.htm");
inline const QString kPictureTitle = QStringLiteral("画像の挿入");
inline const QString kMetafileTitle = QStringLiteral("画像 WMF形式");

// The filters of the open, insert-text, save-as, save-HTML and external
// document dialogs.
QString OpenFilter();
QString InsertTextFilter();
QString SaveAsFilter();
QString SaveHtmFilter();
QString ExtDocFilter();
// Pictures the program can insert, and metafiles alone.
QString PictureFilter();
QString MetafileFilter();

// The open dialog's filter index for a proposed file (doc 1, docx 2, rtf 3,
// txt 4); 1 for anything else.
int FilterIndexOf(const QString& file);

// The kept copy ("Temp.Doc", any case) in `wrkFd` when it was last modified
// in the calendar month of `today`; empty otherwise.
QString KeptCopy(const QString& wrkFd, const QDate& today);

// Engine text of an inserted file turned into text for one paragraph:
// paragraph and page ends become line breaks, embedded objects (which a
// text cannot carry) are dropped.
QString InsertableText(const QString& engineText);

// A clipboard text for pasting as plain text: trimmed, every CR LF (and
// a lone CR or LF) a line break.
QString PasteText(const QString& clip);

// Percent at which a picture of the program's 96-dpi size is shown on a
// screen of `screenDpi` pixels per inch (100 on a 96-dpi screen).
int PictureScale(int screenDpi);

// Whether an image of that colour depth is kept as it is when pasted
// (1, 4, 8 or 24 bits); other depths are converted to 24 bits.
bool KeepsDepth(int bitsPerPixel);

// Text flow mode of the engine for the placement option iFlw: 1 inline,
// 2, 3, 4 the positioned modes 1, 2, 3. Other values place inline.
int FlowOf(int iFlw);

} // namespace TxFiles
