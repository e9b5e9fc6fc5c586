#pragma once
// File lists on the clipboard, exchanged with the desktop's file managers:
// "text/uri-list" plus the cut/copy markers of GNOME
// ("x-special/gnome-copied-files") and KDE ("application/x-kde-cutselection"),
// and the "Preferred DropEffect" value Windows programs read. Both
// conventions are written and either is read.

#include <QStringList>

class QMimeData;

namespace FileClipboard {

// Drop effects as the Windows clipboard states them.
enum Effect : int {
    kNone = 0,
    kCut = 2,  // move
    kCopy = 5, // copy and link
};

struct Content {
    QStringList paths; // local paths, in clipboard order
    int effect = kNone;
};

// A new mime data object holding `paths` with the effect `effect` (kCut or kCopy).
QMimeData* makeMimeData(const QStringList& paths, int effect);
// The local files and the effect held by `data`; the effect is kNone when
// no convention states it.
Content parse(const QMimeData* data);

// Replaces the system clipboard's content with the file list. Returns false
// when there is no clipboard or no path.
bool put(const QStringList& paths, int effect);
// What the system clipboard holds now.
Content read();
// True when the system clipboard holds at least one local file.
bool holdsFiles();
// Empties the system clipboard.
void clear();

} // namespace FileClipboard
