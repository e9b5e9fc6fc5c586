#include "DbBatch.h"

namespace Usr {

DbBatch::DbBatch() = default;

DbBatch::~DbBatch() {
    Commit();
}

bool DbBatch::Commit() {
    return txn_.Commit();
}

} // namespace Usr
