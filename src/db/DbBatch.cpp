#include "DbBatch.h"
#include "DbConn.h"

#include <QSqlDatabase>

namespace Usr {

DbBatch::DbBatch() {
    const QString name = DbConn::Name();
    if (name.isEmpty())
        return;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (db.isOpen() && db.transaction())
        sConn_ = name;
}

DbBatch::~DbBatch() {
    Commit();
}

bool DbBatch::Commit() {
    if (sConn_.isEmpty())
        return false;
    const QString name = sConn_;
    sConn_.clear();
    // Closing the connection already ended the transaction.
    if (DbConn::Name() != name)
        return false;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (db.commit())
        return true;
    db.rollback();
    return false;
}

} // namespace Usr
