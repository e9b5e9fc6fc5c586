#include "DbSchema.h"
#include "Db.h"
#include "DbConn.h"
#include "DbFile.h"
#include "DbFind.h"
#include "DbSql.h"
#include "Prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <limits>
#include <memory>

namespace Usr {

namespace {

QString SideName() {
    static quint64 serial = 0;
    return QStringLiteral("folium_db_create_%1").arg(++serial);
}

bool BuildSchema(const QString& sPath) {
    const QString name = SideName();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(sPath);
        ok = db.open() && DbCreateSchema(db, DbSql::Engine::Sqlite);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// The server database a data link names, made a document database when it
// is empty: through the connection procedures on a connection of its own.
bool BuildServerSchema(const QString& sUdl) {
    const DbFile::Udl u = DbFile::ReadUdl(sUdl);
    if (!u.bServer || !u.bServable)
        return false;
    const QString name = SideName();
    DbSql::Engine engine = DbSql::Engine::Postgres;
    if (!DbConn::OpenSide(sUdl, name, engine))
        return false;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        QSqlQuery q(db);
        ok = q.exec(QString::fromLatin1(DbSql::DialectOf(engine).sCountTables)) && q.next() &&
             q.value(0).toLongLong() == 0;
        q.finish();
        ok = ok && DbCreateSchema(db, engine);
    }
    DbConn::Close(name);
    return ok;
}

} // namespace

bool DbCreateSchema(QSqlDatabase& db, DbSql::Engine eEngine) {
    if (!db.transaction())
        return false;
    const DbSql::Dialect& d = DbSql::DialectOf(eEngine);
    QSqlQuery q(db);
    bool ok = true;
    for (int i = 0; ok && i < d.nSchema; ++i)
        ok = q.exec(QString::fromLatin1(d.aSchema[i]));
    q.finish();
    // SQLite's find has indexes of its own beside the tables.
    if (eEngine == DbSql::Engine::Sqlite)
        ok = ok && FtsRegister(db) && FtsCreate(db);
    return ok ? db.commit() : (db.rollback(), false);
}

bool DbUpgradeSchema(QSqlDatabase& db, DbSql::Engine eEngine, qint64 nQuietRows) {
    const DbSql::Dialect& d = DbSql::DialectOf(eEngine);
    QSqlQuery q(db);
    const auto needed = [&](int i) {
        return q.exec(QString::fromLatin1(d.aUpgrade[i].sNeeded)) && q.next() &&
               q.value(0).toLongLong() != 0;
    };
    int nSteps = 0;
    for (int i = 0; i < d.nUpgrade; ++i)
        nSteps += needed(i) ? 1 : 0;
    if (nSteps == 0)
        return true;
    const qint64 nRows = q.exec(QStringLiteral("Select count(*) From msDoc")) && q.next()
                             ? q.value(0).toLongLong()
                             : 0;
    q.finish();
    if (!db.transaction())
        return false;
    bool ok = q.exec(QString::fromLatin1(d.sBeginUpgrade));
    std::unique_ptr<Prompter::Progress> shown;
    if (ok && nRows > nQuietRows)
        shown = Prompter::instance().progress(QStringLiteral("文書DBの検索索引を作成しています"),
                                              nSteps);
    // Checked again under the lock: another user may have done it meanwhile.
    int nDone = 0;
    for (int i = 0; ok && i < d.nUpgrade; ++i) {
        if (!needed(i))
            continue;
        ok = q.exec(QString::fromLatin1(d.aUpgrade[i].sStep));
        // Cancel takes effect between steps, leaving the schema as it was.
        if (shown && !shown->step(++nDone))
            ok = false;
    }
    q.finish();
    shown.reset();
    return ok ? db.commit() : (db.rollback(), false);
}

void DbCreate(const QString& sPath, bool& bOk) {
    bOk = false;
    if (sPath.isEmpty())
        return;
    if (DbFile::IsUdl(sPath) && QFileInfo(sPath).isFile()) {
        bOk = BuildServerSchema(sPath);
        return;
    }
    // Claim the name first: an existing file is never overwritten, even one
    // that appears between a check and the write.
    QFile claim(sPath);
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    claim.close();
    bOk = BuildSchema(sPath);
    if (!bOk)
        QFile::remove(sPath);
}

int DbNewDocNo() {
    // Inside the writer's transaction the number stays its own until the
    // row is committed: SQLite's write lock is held already, a server
    // takes the numbering lock (no other user reads the largest number in
    // the meantime).
    if (const char* lock = DbConn::Dialect().sLockNumbers; lock && DbConn::InTxn()) {
        QSqlQuery q;
        QString err;
        if (!DbConn::Run(q, QString::fromLatin1(lock), &err))
            throw DbError(err.toStdString());
    }
    const qint64 nMax = DbLookup(QString::fromLatin1(DbSql::kMaxNo), 0).toLongLong();
    if (nMax == 0)
        return 1000;
    // Document numbers are 32-bit; past the last one there is no next.
    if (nMax >= std::numeric_limits<qint32>::max())
        throw DbError("no document number is left after " + std::to_string(nMax));
    return int(nMax + 1);
}

double DbNewRnd() {
    // 53 random bits scaled to [0, 2^64): a double holds no more.
    return std::ldexp(QRandomGenerator::global()->generateDouble(), 64);
}

} // namespace Usr
