#pragma once
// Internal to the database library: the open connection, shared by the
// connection procedures, transactions and recordsets.

#include "DbSql.h"

#include <QString>
#include <QVariantList>

class QSqlQuery;

namespace Usr::DbConn {

// The QSqlDatabase connection name of the open database; empty when none.
// A connection to a server that was lost is opened again under a new name
// by the next statement run outside a transaction.
QString Name();
// The engine of the open database (SQLite when none is open).
DbSql::Engine Engine();
const DbSql::Dialect& Dialect();

// Runs `sSql` on a forward-only query of the open connection. False (with
// the error in `sErr`) when there is no connection or the statement fails.
bool Run(QSqlQuery& q, const QString& sSql, QString* sErr = nullptr);
// The same with "?" bound to `aBinds`, first to last.
bool RunBound(QSqlQuery& q, const QString& sSql, const QVariantList& aBinds,
              QString* sErr = nullptr);

// Transactions: one at a time. Begin fails when one is open already (a
// nested writer joins the outer one). Commit and Rollback end it.
bool Begin(bool bWrite, QString& sErr);
bool Commit(QString& sErr);
void Rollback();
bool InTxn();

// Opens the database `sPath` names (a SQLite file, or a .udl naming either
// engine) as a connection `sName` of its own, apart from the open one;
// false, with no connection left, when it cannot be opened. The caller
// removes it (Close).
bool OpenSide(const QString& sPath, const QString& sName, DbSql::Engine& eEngine);
void Close(const QString& sName);

} // namespace Usr::DbConn
