#pragma once
// Internal to the database library: the name of the open connection, shared
// by the connection procedures and the recordsets.

#include <QString>

class QSqlQuery;

namespace Usr::DbConn {

// The QSqlDatabase connection name of the open database; empty when none.
QString Name();

// Runs `sSql` on a forward-only query of the open connection. False (with
// the error in `sErr`) when there is no connection or the statement fails.
bool Run(QSqlQuery& q, const QString& sSql, QString* sErr = nullptr);

} // namespace Usr::DbConn
