#pragma once
// Making a new, empty document database, and the numbers given to new rows.

#include "DbSql.h"

#include <QString>

class QSqlDatabase;

namespace Usr {

// Creates the tables, keys and indexes of a document database (the find
// indexes included) on an empty database, in one transaction. False, with
// nothing created, on any failure.
bool DbCreateSchema(QSqlDatabase& db, DbSql::Engine eEngine);

// Brings a document database made by an earlier version up to the schema
// of DbCreateSchema, keeping every row, in one transaction: on a server,
// titles that compared by the server's character classes are made to
// compare as on SQLite and the newer indexes are built (with the
// Prompter's progress display past `nQuietRows` pages, whose Cancel takes
// effect between steps). True when nothing was needed or all of it was
// done; false, with nothing changed, when it could not be (the user may
// not own the tables) or was cancelled: the database still works, with
// the find slower, and the next open tries again.
bool DbUpgradeSchema(QSqlDatabase& db, DbSql::Engine eEngine, qint64 nQuietRows = 2000);

// Creates a SQLite document database at `sPath` with the tables msDoc,
// tbTree and kaUsr (one row), their keys and the indexes the statements use.
// Refuses (bOk false) when the file exists or cannot be written. For a
// .udl naming a PostgreSQL database, makes the same tables in it when it
// is empty (and refuses when it has tables). Does not touch the open
// connection.
void DbCreate(const QString& sPath, bool& bOk);

// The number of a new document: the largest number + 1, or 1000 when the
// lookup yields 0 (empty table). Throws DbError when it cannot be read.
// Called inside the transaction that writes the new row, the number cannot
// be handed to another user (or process) before that transaction ends.
int DbNewDocNo();

// A new wkRnd value, spread over [0, 2^64).
double DbNewRnd();

} // namespace Usr
