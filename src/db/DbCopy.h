#pragma once
// Copying a document database to another, between engines either way: a
// SQLite file or a .udl (naming a SQLite file or a PostgreSQL database) on
// each side. Every row of msDoc, tbTree and kaUsr is copied with every
// value and byte as it is; the target's own indexes follow.
//
//   folium --headless --copy-db FROM TO
//
// The target is a SQLite path that does not exist yet (it is created), a
// .udl naming an empty server database (it gets the tables), or a document
// database without pages. The copy is one transaction: on any failure the
// target is left without the copied rows.

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

namespace Usr {

// Rows copied so far, and rows in all.
using CopyProgress = std::function<void(qint64 nDone, qint64 nAll)>;

// False with the reason in `sErr` when it could not be copied.
bool DbCopy(const QString& sFrom, const QString& sTo, QString& sErr,
            const CopyProgress& progress = {});

// The command line: true when it asks for the copy.
bool IsCopyCommand(int argc, char** argv);
// Runs it on the arguments after the program name: progress on `err`, 0 when
// copied, 1 otherwise with the reason on `err`.
int RunCopyCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace Usr
