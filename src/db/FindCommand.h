#pragma once
// The find for scripts, without windows:
//   folium --headless --find "WORDS" --db FILE [--titles]
// prints the pages the tree panel's find lists, in its order, a line each:
// the document number, a tab, the title. Full text by default, titles with
// --titles.

#include <QStringList>

class QTextStream;

namespace Usr {

// True when the command line asks for the find.
bool IsFindCommand(int argc, char** argv);
// Runs it on the arguments after the program name; 0 when the database was
// read (with or without matches), 1 otherwise, the reason on `err`.
int RunFindCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace Usr
