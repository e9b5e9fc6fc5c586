#include "DbTxn.h"
#include "DbConn.h"

namespace Usr {

DbTxn::DbTxn(bool bWrite) {
    if (DbConn::Begin(bWrite, sErr_))
        sConn_ = DbConn::Name();
}

DbTxn::~DbTxn() {
    Rollback();
}

bool DbTxn::Commit() {
    if (sConn_.isEmpty())
        return false;
    const QString name = sConn_;
    sConn_.clear();
    // Closing the connection (or losing it) already dropped the transaction.
    if (DbConn::Name() != name || !DbConn::InTxn()) {
        sErr_ = QStringLiteral("the database was closed before the write was finished");
        return false;
    }
    return DbConn::Commit(sErr_);
}

void DbTxn::Rollback() {
    if (sConn_.isEmpty())
        return;
    const QString name = sConn_;
    sConn_.clear();
    if (DbConn::Name() == name)
        DbConn::Rollback();
}

} // namespace Usr
