#pragma once
// Several statements on the open database written as one transaction, so a
// run of small writes (a level's sort positions) costs one durable commit
// instead of one per statement. Each statement still succeeds or fails on
// its own, as without the batch; what succeeded is committed when the batch
// ends. Without an open connection, or when the connection changes while the
// batch lives, it does nothing. On a server a statement that fails aborts
// the batch's transaction, so the rest of it fails too.
//
//   { Usr::DbBatch batch; for (...) Usr::DbExec(sql, bOk, n); }  // one commit

#include "DbTxn.h"

namespace Usr {

class DbBatch {
public:
    // `bWrite` as for DbTxn; by default the write lock is taken by the
    // first write.
    explicit DbBatch(bool bWrite = false);
    ~DbBatch(); // commits
    DbBatch(const DbBatch&) = delete;
    DbBatch& operator=(const DbBatch&) = delete;

    // A transaction was begun and is still open.
    bool Active() const { return txn_.Active(); }
    // Commits now; false when there was nothing to commit or it failed (the
    // transaction is then rolled back).
    bool Commit();

private:
    DbTxn txn_;
};

} // namespace Usr
