#pragma once
// The document database: one process-wide connection to a SQLite file (the
// 文書DB) and the procedures every other subsystem runs its SQL through.
//
// Usage:
//   bool bOk = true;
//   Usr::DbOpen(path, bOk);                  // .txdb/.mdb (any SQLite file) or .udl
//   QString sql = DbSql::kLevel;             // statements live in DbSql.h
//   DbSql::FillSql(sql, {nParent});          // fill "?" with SQL-safe values
//   Usr::DbRows aRows; qint64 nCnt = 0;
//   Usr::DbGetRows(sql, aRows, nCnt);        // aRows[column][row]
//   QVariant v = Usr::DbLookup(DbSql::kMaxNo, 0);   // throws Usr::DbError
//   Usr::Recordset oRs;                      // Recordset.h
//   Usr::DbOpenRs(sqlDocRow, oRs, true, bOk);
//   if (oRs.Eof()) oRs.AddNew();
//   oRs.SetField("szDoc", title); bOk = oRs.Update(); oRs.Close();
//
// Every statement commits on its own. Values come back as numbers
// (integers, wkRnd as double), texts (and dates, as ISO text) as QString,
// obDoc as QByteArray; NULL as a null QVariant. On a server a statement
// that fails because the connection was lost is reported as failed; the
// next statement outside a transaction connects again.

#include <QList>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace Usr {

class Recordset;

// Rows of DbGetRows, indexed [column][row], both from 0.
using DbRows = QList<QVariantList>;

// The error DbLookup hands to its caller.
struct DbError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Opens the database at `sPath` (closing the previous one first). A .udl
// whose provider names PostgreSQL opens that server's database (an empty
// one gets the tables of a document database first); a server that refuses
// the user or does not answer within a few seconds is an open error. Leaves
// everything, `bOk` included, untouched when the path is empty or names no
// existing file. A file that cannot be opened as SQLite gives "DataBase Open
// Error !!" and no connection; one without a readable kaUsr.DmFmt gives
// sPath + " は文書DBではありません" and stays open. `bOk` is true only when
// the file opened as a document database.
void DbOpen(const QString& sPath, bool& bOk);
// Closes the connection; failures are ignored.
void DbClose();
// True when "Select DmFmt from kaUsr" runs on the connection.
void DbChkDoc(bool& bOk);
// Runs an action statement; `nRows` gets the number of rows it changed.
void DbExec(const QString& sSql, bool& bOk, qint64& nRows);
// First column of the first row, or `vDef` when there is no row or it is
// NULL. Throws DbError when the statement fails or there is no connection.
void DbLookup(const QString& sSql, QVariant& vOut, const QVariant& vDef);
QVariant DbLookup(const QString& sSql, const QVariant& vDef);
// Opens `oRs` on the statement: updatable (AddNew/Update) with `bUpd`,
// otherwise read-only. `bOk` false on any error.
void DbOpenRs(const QString& sSql, Recordset& oRs, bool bUpd, bool& bOk);
// Every row of the statement; `nCnt` 0 and `aRows` empty when there is none
// or the statement fails.
void DbGetRows(const QString& sSql, DbRows& aRows, qint64& nCnt);

// Whether a connection is open, and the file it is on (for a .udl, the
// database file the link names; for a server database, the .udl itself).
bool DbIsOpen();
// The open database is on a PostgreSQL server, shared with other users.
bool DbIsServer();
QString DbFilePath();

} // namespace Usr
