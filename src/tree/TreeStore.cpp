#include "TreeStore.h"

#include "Db.h"
#include "DbBatch.h"
#include "DbDate.h"
#include "DbFind.h"
#include "DbLevel.h"
#include "DbSql.h"

#include <QHash>
#include <algorithm>

namespace TreeStore {

namespace {

Usr::DbRows Rows(const QString& sSql, qint64& nCnt) {
    Usr::DbRows aRows;
    nCnt = 0;
    Usr::DbGetRows(sSql, aRows, nCnt);
    return aRows;
}

QString Filled(const char* sStmt, const QVariantList& aVals) {
    QString sSql = QString::fromLatin1(sStmt);
    DbSql::FillSql(sSql, aVals);
    return sSql;
}

bool Exec(const char* sStmt, const QVariantList& aVals) {
    bool bOk = false;
    qint64 nRows = 0;
    Usr::DbExec(Filled(sStmt, aVals), bOk, nRows);
    return bOk;
}

// A lookup's number, `nFail` when the statement fails.
qint64 LookupNo(const QString& sSql, qint64 nDef, qint64 nFail) {
    try {
        return Usr::DbLookup(sSql, nDef).toLongLong();
    } catch (const Usr::DbError&) {
        return nFail;
    }
}

QList<DocRow> DocRows(const QString& sSql, int nNoCol, int nSzCol) {
    qint64 n = 0;
    const Usr::DbRows a = Rows(sSql, n);
    QList<DocRow> out;
    if (a.size() <= std::max(nNoCol, nSzCol))
        return out; // a host's query with too few columns lists nothing
    out.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        out.append({a[nNoCol][i].toLongLong(), a[nSzCol][i].toString()});
    return out;
}

} // namespace

QList<LevelRow> Level(qint64 nParent) {
    // One read transaction for the level and its counts: the database is
    // locked and checked once instead of once per statement.
    const Usr::DbBatch batch;
    qint64 n = 0;
    const Usr::DbRows a = Rows(Filled(DbSql::kLevel, {nParent}), n);
    QList<LevelRow> out;
    out.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        out.append({a[0][i].toLongLong(), a[1][i].toString(), a[2][i].toLongLong() == 1,
                    a[3][i].toLongLong() == 1});
    for (LevelRow& r : out)
        if (!r.bCod)
            r.nKids = ChildCount(r.nNo);
    return out;
}

qint64 ChildCount(qint64 nNo) {
    return LookupNo(DbSql::WithNo(DbSql::kChildCount, nNo), 0, -1);
}

qint64 ParentOf(qint64 nNo) {
    return LookupNo(DbSql::WithNo(DbSql::kParentOf, nNo), -1, -1);
}

QList<CodRow> CodList(qint64 nParent) {
    qint64 n = 0;
    const Usr::DbRows a = Rows(Filled(DbSql::kCodList, {nParent}), n);
    QList<CodRow> out;
    out.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        out.append({a[0][i].toLongLong(), a[1][i].toString(), DbDate::Value(a[2][i])});
    return out;
}

QList<DocRow> Find(const QString& sWords, const QString& sCol) {
    bool bOk = false;
    QList<DocRow> out;
    for (const Usr::FoundDoc& d : Usr::DbFind(sWords, sCol, bOk))
        out.append({d.noDoc, d.szDoc});
    return out;
}

QList<DocRow> Query(const QString& sSql) {
    return DocRows(sSql, 1, 0);
}

bool Insert(qint64 nP, qint64 nC, qint64 nSrt, const QString& sSz) {
    return Exec(DbSql::kTreeInsert, {nP, nC, nSrt, sSz});
}

bool InsertCod(qint64 nP, qint64 nC, const QString& sSz) {
    return Exec(DbSql::kTreeInsertCod, {nP, nC, sSz});
}

bool Rename(qint64 nP, qint64 nC, const QString& sSz) {
    return Exec(DbSql::kTreeRename, {sSz, nP, nC});
}

bool Retitle(qint64 nP, qint64 nC, const QString& sSz) {
    return Exec(DbSql::kTreeRetitle, {sSz, nP, nC});
}

void SetSorts(const QList<SortRow>& aRows) {
    // Level by level, each under its lock and merged with what other users
    // stored meanwhile, so the order stays whole.
    QList<qint64> parents;
    QHash<qint64, QList<DbLevel::Pos>> levels;
    for (const SortRow& r : aRows) {
        if (!levels.contains(r.nP))
            parents.append(r.nP);
        levels[r.nP].append({r.nC, r.nSrt});
    }
    QString sErr;
    for (qint64 nP : parents)
        DbLevel::SetOrder(nP, levels.value(nP), sErr);
}

bool Remove(qint64 nP, qint64 nC) {
    return Exec(DbSql::kTreeDelete, {nP, nC});
}

} // namespace TreeStore
