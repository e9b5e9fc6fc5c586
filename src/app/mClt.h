#pragma once
// Small stateless helpers shared by every subsystem: placeholder filling,
// file and folder tests, folder creation, UTF-8 and ANSI text files, and
// cutting text at markers. Positions are 1-based where the callers expect so.

#include <QString>
#include <QVariantList>

namespace mClt {

// Replaces each "?" of `sTxt`, first to last, by the text of the next value.
// A null value inserts nothing; "?" inside a value is dropped. No quoting.
void FillQ(QString& sTxt, const QVariantList& aVals);

// True if the file exists; with `bWild` and a "*" or "?" in the name, true if
// any file matches the pattern.
bool FileExist(const QString& sPh, bool bWild = false);
bool FldExist(const QString& sPh);
// Creates every missing level of a folder path. Returns false when a level
// could not be created.
bool MakeFld(const QString& sPh);

// UTF-8 text files: written with a byte-order mark, read with or without.
QString ReadUtf8(const QString& sPh);
bool WriteUtf8(const QString& sPh, const QString& sTxt);
// The whole file as text (UTF-8 when the bytes are valid UTF-8, else the ANSI
// code page CP932), or empty if it does not exist.
QString ReadText(const QString& sPh);

// Removes trailing separators; "," also folds ", " and " ," into ",".
void TrimSep(QString& sTxt, QString sSep = QString());
// Splits at the first `sSep` (case-insensitive); both halves trimmed of spaces.
void SplitAt(const QString& sTxt, const QString& sSep, QString& sL, QString& sR);
// Removes half-width blanks from both ends (other white space, such as a
// leading full-width space used for indentation, is kept).
QString TrimBlanks(const QString& s);
// Case-insensitive find; nPos is 1-based (0 when absent).
bool InStrAt(const QString& sTxt, const QString& sFnd, int& nPos);
// The text between the markers (case-insensitive); a missing end marker
// means "to the end", a missing start marker gives empty.
QString GetBetween(const QString& sTxt, const QString& sBeg, const QString& sEnd);

// The common file-open dialog through the Prompter. The start folder is used
// only when `sDir` is set and `sFile` holds no folder part.
QString ShowOpenDlg(const QString& sTtl, const QString& sFile, const QString& sFilter,
                    const QString& sDir);

// Creates the folder path level by level from the left, ignoring failures
// (a level that cannot be created is skipped and the walk goes on).
void CreateFolderWalk(const QString& sFd);

} // namespace mClt
