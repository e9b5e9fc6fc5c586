#include "DbTxn.h"
#include "DbConn.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace Usr {

DbTxn::DbTxn() {
    const QString name = DbConn::Name();
    if (name.isEmpty()) {
        sErr_ = QStringLiteral("no database is open");
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (db.isOpen() && db.transaction())
        sConn_ = name;
    else
        sErr_ = db.lastError().text();
}

DbTxn::~DbTxn() {
    Rollback();
}

bool DbTxn::Commit() {
    if (sConn_.isEmpty())
        return false;
    const QString name = sConn_;
    sConn_.clear();
    // Closing the connection already dropped the transaction.
    if (DbConn::Name() != name) {
        sErr_ = QStringLiteral("the database was closed before the write was finished");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (db.commit())
        return true;
    sErr_ = db.lastError().text();
    db.rollback();
    return false;
}

void DbTxn::Rollback() {
    if (sConn_.isEmpty())
        return;
    const QString name = sConn_;
    sConn_.clear();
    if (DbConn::Name() != name)
        return;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    db.rollback();
}

} // namespace Usr
