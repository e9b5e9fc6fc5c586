#include "DbBatch.h"

namespace Usr {

DbBatch::DbBatch(bool bWrite) : txn_(bWrite) {}

DbBatch::~DbBatch() {
    Commit();
}

bool DbBatch::Commit() {
    return txn_.Commit();
}

} // namespace Usr
