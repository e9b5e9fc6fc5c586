// One user of a shared document database, as fast as it can: exports pages
// under one parent (the document row, its place at the end of the level as
// this user last saw it, and the level's order, in one transaction), now
// and then renames one of its pages and re-sorts the whole level from a
// view read a moment earlier.
//   db_load_worker <database> <worker> <pages> <parent>
#include "ConsolePrompter.h"
#include "Db.h"
#include "DbLevel.h"
#include "DbPage.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "DbTxn.h"
#include "LoadPayload.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>

namespace {

QList<qint64> Level(qint64 nP) {
    QString sql = QString::fromLatin1(DbSql::kLevel);
    DbSql::FillSql(sql, {nP});
    Usr::DbRows rows;
    qint64 n = 0;
    Usr::DbGetRows(sql, rows, n);
    QList<qint64> out;
    for (qint64 i = 0; i < n; ++i)
        out.append(rows[0][i].toLongLong());
    return out;
}

QList<DbLevel::Pos> Dense(const QList<qint64>& order) {
    QList<DbLevel::Pos> out;
    for (qsizetype i = 0; i < order.size(); ++i)
        out.append({order[i], i});
    return out;
}

bool Exec(const char* stmt, const QVariantList& vals) {
    QString sql = QString::fromLatin1(stmt);
    DbSql::FillSql(sql, vals);
    bool ok = false;
    qint64 n = 0;
    Usr::DbExec(sql, ok, n);
    return ok && n == 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    ConsolePrompter prompter;
    Prompter::install(&prompter);
    bool ok = false;
    Usr::DbOpen(QString::fromLocal8Bit(argv[1]), ok);
    if (!ok)
        return 3;
    const int worker = QByteArray(argv[2]).toInt();
    const int pages = QByteArray(argv[3]).toInt();
    const qint64 parent = QByteArray(argv[4]).toLongLong();
    // Renames the same pages whatever the others do; the shuffles draw
    // from a generator of their own.
    QRandomGenerator pick(quint32(worker) * 7919u + 1);
    QRandomGenerator rng(quint32(worker) * 104729u + 7);
    QList<qint64> mine;
    for (int i = 0; i < pages; ++i) {
        const QList<qint64> view = Level(parent);
        Usr::DbTxn txn;
        if (!txn.Active())
            return 4;
        QString err;
        bool isNew = false;
        try {
            const qint64 no = Usr::DbNewDocNo();
            if (!DbPage::WriteDoc(no, LoadPayload::Title(worker, i), LoadPayload::Text(worker, i),
                                  LoadPayload::Bytes(worker, i), isNew, err) ||
                !isNew)
                return 5;
            if (!Exec(DbSql::kTreeInsert, {parent, no, view.size(), LoadPayload::Title(worker, i)}))
                return 6;
            if (!DbLevel::SetOrder(parent, Dense(view + QList<qint64>{no}), err))
                return 7;
            if (!txn.Commit())
                return 8;
            mine.append(no);
        } catch (const Usr::DbError&) {
            return 9;
        }
        // Rename one of this user's pages, as a label edit does.
        if (i % 10 == 9) {
            const int k = int(pick.bounded(int(mine.size())));
            if (!Exec(DbSql::kTreeRename, {LoadPayload::Renamed(worker, k), parent, mine[k]}))
                return 10;
        }
        // Re-sort the level as seen a moment ago.
        if (i % 25 == 24) {
            QList<qint64> order = Level(parent);
            std::shuffle(order.begin(), order.end(), rng);
            if (!DbLevel::SetOrder(parent, Dense(order), err))
                return 11;
        }
    }
    std::printf("%d\n", pages);
    return 0;
}
