#include "DbLevel.h"

#include "Db.h"
#include "DbConn.h"
#include "DbSql.h"
#include "DbTxn.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace DbLevel {

QList<Pos> Merge(const QList<qint64>& aStored, const QList<Pos>& aWanted) {
    const QSet<qint64> stored(aStored.begin(), aStored.end());
    QList<Pos> wanted;
    QSet<qint64> named;
    for (const Pos& p : aWanted)
        if (stored.contains(p.nC) && !named.contains(p.nC)) {
            wanted.append(p);
            named.insert(p.nC);
        }
    // The same children: the view's positions stand as they are.
    if (named.size() == stored.size() && wanted.size() == aWanted.size())
        return wanted;
    std::stable_sort(wanted.begin(), wanted.end(),
                     [](const Pos& a, const Pos& b) { return a.nSrt < b.nSrt; });
    QList<qint64> order;
    for (const Pos& p : wanted)
        order.append(p.nC);
    // Children the view did not know follow the sibling they followed.
    qint64 prev = -1;
    bool havePrev = false;
    for (qint64 c : aStored) {
        if (!named.contains(c)) {
            const qsizetype at = havePrev ? order.indexOf(prev) + 1 : 0;
            order.insert(at, c);
        }
        prev = c;
        havePrev = true;
    }
    QList<Pos> out;
    for (qsizetype i = 0; i < order.size(); ++i)
        out.append({order[i], i});
    return out;
}

bool Lock(qint64 nP, QString& sErr) {
    if (!Usr::DbConn::InTxn()) {
        sErr = QStringLiteral("no transaction is open");
        return false;
    }
    const char* lock = Usr::DbConn::Dialect().sLockLevel;
    if (!lock)
        return true;
    QString sql = QString::fromLatin1(lock);
    DbSql::FillSql(sql, {nP});
    QSqlQuery q;
    return Usr::DbConn::Run(q, sql, &sErr);
}

bool SetOrder(qint64 nP, const QList<Pos>& aWanted, QString& sErr) {
    if (!Usr::DbIsOpen()) {
        sErr = QStringLiteral("no database is open");
        return false;
    }
    // Joins the caller's transaction, or is one of its own.
    std::optional<Usr::DbTxn> own;
    if (!Usr::DbConn::InTxn() && !own.emplace().Active()) {
        sErr = own->LastError();
        return false;
    }
    if (!Lock(nP, sErr))
        return false;
    QSqlQuery q;
    QString sql = QString::fromLatin1(DbSql::kLevelOrder);
    DbSql::FillSql(sql, {nP});
    if (!Usr::DbConn::Run(q, sql, &sErr))
        return false;
    QList<qint64> stored;
    QHash<qint64, qint64> now;
    while (q.next()) {
        stored.append(q.value(0).toLongLong());
        now.insert(stored.back(), q.value(1).isNull() ? -1 : q.value(1).toLongLong());
    }
    QList<Pos> changed;
    for (const Pos& p : Merge(stored, aWanted))
        if (now.value(p.nC, -2) != p.nSrt)
            changed.append(p);
    if (const char* many = Usr::DbConn::Dialect().sSortMany; many && changed.size() > 1) {
        QStringList values;
        for (const Pos& p : changed)
            values << QStringLiteral("(%1, %2)").arg(p.nC).arg(p.nSrt);
        QString upd = QString::fromLatin1(many).arg(values.join(u", "));
        DbSql::FillSql(upd, {nP});
        if (!Usr::DbConn::Run(q, upd, &sErr))
            return false;
        changed.clear();
    }
    for (const Pos& p : changed) {
        QString upd = QString::fromLatin1(DbSql::kTreeSort);
        DbSql::FillSql(upd, {p.nSrt, nP, p.nC});
        if (!Usr::DbConn::Run(q, upd, &sErr))
            return false;
    }
    if (own && !own->Commit()) {
        sErr = own->LastError();
        return false;
    }
    return true;
}

} // namespace DbLevel
