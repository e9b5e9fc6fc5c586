#pragma once
// A write of several rows that must land together: a transaction on the open
// database that is committed only when asked, and rolled back otherwise
// (also when an error leaves the scope early). Unlike DbBatch, nothing of it
// stays written unless Commit() succeeds.
//
//   Usr::DbTxn txn;
//   if (!txn.Active()) ...;            // no database, or a transaction is open
//   ... writes ...;
//   if (!txn.Commit()) ...;            // nothing was written
//
// A DbBatch opened inside it joins it (its own begin fails, so it commits
// nothing on its own).

#include <QString>

namespace Usr {

class DbTxn {
public:
    // `bWrite`: the transaction will write (SQLite takes its write lock at
    // once, so two writers queue instead of failing on a busy upgrade).
    explicit DbTxn(bool bWrite = true);
    ~DbTxn(); // rolls back unless committed
    DbTxn(const DbTxn&) = delete;
    DbTxn& operator=(const DbTxn&) = delete;

    // The transaction was begun and is still open.
    bool Active() const { return !sConn_.isEmpty(); }
    // Makes the writes durable. False when the transaction was not active or
    // the commit failed; the writes are then rolled back.
    bool Commit();
    // Drops the writes.
    void Rollback();
    // Why the transaction could not be begun or committed.
    QString LastError() const { return sErr_; }

private:
    QString sConn_; // the connection the transaction is on, empty when none
    QString sErr_;
};

} // namespace Usr
