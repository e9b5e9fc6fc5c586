#pragma once
// Making a new, empty document database, and the numbers given to new rows.

#include <QString>

namespace Usr {

// Creates a SQLite document database at `sPath` with the tables msDoc,
// tbTree and kaUsr (one row), their keys and the indexes the statements use.
// Refuses (bOk false) when the file exists or cannot be written. Does not
// touch the open connection.
void DbCreate(const QString& sPath, bool& bOk);

// The number of a new document: the largest number + 1, or 1000 when the
// lookup yields 0 (empty table). Throws DbError when it cannot be read.
int DbNewDocNo();

// A new wkRnd value, spread over [0, 2^64).
double DbNewRnd();

} // namespace Usr
