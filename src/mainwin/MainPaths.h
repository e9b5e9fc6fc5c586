#pragma once
// Paths the main window keeps and receives: the file pane's folder as stored
// in the settings ("PATH", relative when it lies below the user data
// folder), and the file a command line names.

#include <QString>

namespace MainPaths {

// The folder a stored "PATH" value names. An absolute path (starting with
// "/") is taken as it is; anything else lies below `sUsrFd` (which ends in
// "/"). Empty stays empty: no folder was stored.
QString FromStored(const QString& sStored, const QString& sUsrFd);
// The value to store for `sFolder`: only the part after `sUsrFd` when the
// folder lies below it ("." for the folder itself), else the full path. The
// prefix must end at a "/" boundary and is compared with the case the file
// system uses.
QString ToStored(const QString& sFolder, const QString& sUsrFd);

// The file a command line names: double quotes removed, anything from the
// first tab on ignored, blanks trimmed. True when the rest names an existing
// file; `sFolder` then gets its folder (without a trailing "/") and `sName`
// its file name. A relative path is taken from the current folder.
bool CommandLineFile(const QString& sCmd, QString& sFolder, QString& sName);

// Whether a link target clicked in a document may be opened without asking:
// a web or mail address, or an existing document or picture file. Anything
// else (a program, a script, a desktop entry, a missing file) could start a
// program and is confirmed first. `sResolved` gets the target to open: a
// relative file path taken from `sBase` (the document's folder), "www."
// addresses with "http://" in front.
bool OpensWithoutAsking(const QString& sTarget, const QString& sBase, QString& sResolved);

} // namespace MainPaths
