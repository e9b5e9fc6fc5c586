#include "Db.h"
#include "DbConn.h"
#include "DbFile.h"
#include "DbFind.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "Prompter.h"
#include "mClt.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Usr {

namespace {

// The open connection, oCn.
struct Conn {
    QString sName; // QSqlDatabase connection name, empty when none
    QString sPath; // the database file, or the .udl naming a server
    DbSql::Engine eEngine = DbSql::Engine::Sqlite;
    DbFile::Udl server; // where a server database is
    bool bLost = false; // the server went away; reconnect before the next statement
    bool bTxn = false;  // a transaction is open
};
Conn g_cn;
quint64 g_serial = 0; // every connection gets a new name, so a recordset of an
                      // earlier one can never write into a later one

// SQLite's own busy wait stands in for the 30-second command time-out.
constexpr char kOptions[] = "QSQLITE_BUSY_TIMEOUT=30000";
// A server that does not answer is given up after a few seconds, never a
// hang; statements (lock waits included) have the 30 seconds.
constexpr char kServerOptions[] = "connect_timeout=5;application_name=folium";
constexpr char kServerSession[] =
    "Set statement_timeout = 30000; Set standard_conforming_strings = on";

void Tell(const QString& text) {
    Prompter::instance().message(text);
}

QString NewName() {
    return QStringLiteral("folium_db_%1").arg(++g_serial);
}

void Drop(const QString& sName) {
    {
        QSqlDatabase db = QSqlDatabase::database(sName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(sName);
}

// A file without any write permission opens read-only (even for root, who
// could write it anyway): writes then fail instead of changing the file.
bool ReadOnlyFile(const QString& sFile) {
    const QFileInfo fi(sFile);
    const auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !fi.isWritable() || !(fi.permissions() & anyWrite);
}

// Opens `sFile` as a SQLite connection named `name`. False, leaving no
// connection, when it is not a readable SQLite database.
bool ConnectFile(const QString& name, const QString& sFile) {
    if (!mClt::FileExist(sFile) || !DbFile::IsSqlite(sFile))
        return false;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(sFile);
        QString opts = QString::fromLatin1(kOptions);
        if (ReadOnlyFile(sFile))
            opts += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(opts);
        if (db.open()) {
            QSqlQuery q(db);
            // Opening is lazy: reading the schema is what tells a damaged
            // or foreign file apart.
            ok = q.exec(QStringLiteral("Select count(*) From sqlite_master")) && q.next();
            if (ok) {
                // Every statement commits on its own; FULL makes each commit
                // durable, and the rollback journal keeps rows whole when a
                // write is cut off.
                q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
            }
            q.finish();
        }
        if (!ok)
            db.close();
    }
    if (!ok)
        QSqlDatabase::removeDatabase(name);
    return ok;
}

// Opens the server database a data link names. The password is left to
// the client library: ~/.pgpass or PGPASSWORD.
bool ConnectServer(const QString& name, const DbFile::Udl& u) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(u.sHost);
        db.setPort(u.nPort);
        db.setDatabaseName(u.sDatabase);
        db.setUserName(u.sUser);
        db.setConnectOptions(QString::fromLatin1(kServerOptions));
        if (db.isValid() && db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QString::fromLatin1(kServerSession));
            q.finish();
        }
        if (!ok)
            db.close();
    }
    if (!ok)
        QSqlDatabase::removeDatabase(name);
    return ok;
}

// An empty server database becomes a document database; one with tables
// of its own is left as it is (DbChkDoc then tells whether it is one).
void CreateIfEmpty() {
    QSqlDatabase db = QSqlDatabase::database(g_cn.sName, false);
    QSqlQuery q(db);
    if (q.exec(QString::fromLatin1(DbSql::DialectOf(g_cn.eEngine).sCountTables)) && q.next() &&
        q.value(0).toLongLong() == 0) {
        q.finish();
        DbCreateSchema(db, g_cn.eEngine);
    }
}

// After a failed statement on a server: whether the server still answers.
// When it does not, the connection is opened again before the next
// statement outside a transaction.
void CheckAlive() {
    if (g_cn.eEngine != DbSql::Engine::Postgres || g_cn.sName.isEmpty() || g_cn.bLost)
        return;
    QSqlDatabase db = QSqlDatabase::database(g_cn.sName, false);
    QSqlQuery q(db);
    if (!db.isOpen() || !q.exec(QStringLiteral("Select 1")))
        g_cn.bLost = !q.lastError().nativeErrorCode().startsWith(u"25"); // aborted transaction
}

bool Reconnect(QString* sErr) {
    if (!g_cn.bLost)
        return true;
    Drop(g_cn.sName);
    const QString name = NewName();
    if (!ConnectServer(name, g_cn.server)) {
        // Still lost: the next statement tries again.
        g_cn.sName = name;
        if (sErr)
            *sErr = QStringLiteral("the database server cannot be reached");
        return false;
    }
    g_cn.sName = name;
    g_cn.bLost = false;
    return true;
}

bool Ready(QString* sErr) {
    if (g_cn.sName.isEmpty()) {
        if (sErr)
            *sErr = QStringLiteral("no database is open");
        return false;
    }
    return g_cn.bTxn || Reconnect(sErr);
}

} // namespace

namespace DbConn {

QString Name() {
    return g_cn.sName;
}

DbSql::Engine Engine() {
    return g_cn.eEngine;
}

const DbSql::Dialect& Dialect() {
    return DbSql::DialectOf(g_cn.eEngine);
}

bool RunBound(QSqlQuery& q, const QString& sSql, const QVariantList& aBinds, QString* sErr) {
    if (!Ready(sErr))
        return false;
    q = QSqlQuery(QSqlDatabase::database(g_cn.sName, false));
    q.setForwardOnly(true);
    const DbSql::Bound own = DbSql::OwnForm(sSql, Dialect());
    // A statement of the list comes filled in: its bound texts are its own.
    const QVariantList& binds = own.aBinds.isEmpty() ? aBinds : own.aBinds;
    if (!own.aBinds.isEmpty() && !aBinds.isEmpty()) {
        if (sErr)
            *sErr = QStringLiteral("a filled statement takes no further values");
        return false;
    }
    bool ok = false;
    if (binds.isEmpty()) {
        ok = q.exec(own.sSql);
    } else if (q.prepare(own.sSql)) {
        for (const QVariant& v : binds)
            q.addBindValue(v);
        ok = q.exec();
    }
    if (ok)
        return true;
    if (sErr)
        *sErr = q.lastError().text();
    CheckAlive();
    return false;
}

bool Run(QSqlQuery& q, const QString& sSql, QString* sErr) {
    return RunBound(q, sSql, {}, sErr);
}

bool Begin(bool bWrite, QString& sErr) {
    if (g_cn.bTxn) {
        sErr = QStringLiteral("a transaction is already open");
        return false;
    }
    QSqlQuery q;
    const QString begin =
        bWrite ? QString::fromLatin1(Dialect().sBeginWrite) : QStringLiteral("Begin");
    if (!Run(q, begin, &sErr))
        return false;
    g_cn.bTxn = true;
    return true;
}

bool Commit(QString& sErr) {
    if (!g_cn.bTxn)
        return false;
    g_cn.bTxn = false;
    // The driver's commit tells a transaction the server aborted (its
    // COMMIT answers ROLLBACK) from one that was written.
    QSqlDatabase db = QSqlDatabase::database(g_cn.sName, false);
    if (db.isOpen() && db.commit())
        return true;
    sErr = db.lastError().text();
    if (sErr.trimmed().isEmpty())
        sErr = QStringLiteral("the transaction was not committed");
    db.rollback();
    CheckAlive();
    return false;
}

void Rollback() {
    if (!g_cn.bTxn)
        return;
    g_cn.bTxn = false;
    QSqlDatabase db = QSqlDatabase::database(g_cn.sName, false);
    if (db.isOpen())
        db.rollback();
}

bool InTxn() {
    return g_cn.bTxn;
}

bool OpenSide(const QString& sPath, const QString& sName, DbSql::Engine& eEngine) {
    if (!DbFile::IsUdl(sPath)) {
        eEngine = DbSql::Engine::Sqlite;
        return ConnectFile(sName, sPath);
    }
    const DbFile::Udl udl = DbFile::ReadUdl(sPath);
    if (!udl.bServable)
        return false;
    eEngine = udl.bServer ? DbSql::Engine::Postgres : DbSql::Engine::Sqlite;
    return udl.bServer ? ConnectServer(sName, udl) : ConnectFile(sName, udl.sSource);
}

void Close(const QString& sName) {
    if (QSqlDatabase::contains(sName))
        Drop(sName);
}

} // namespace DbConn

void DbOpen(const QString& sPath, bool& bOk) {
    if (sPath.isEmpty() || !mClt::FileExist(sPath))
        return;
    DbClose();
    QString file = sPath;
    bool servable = true;
    DbFile::Udl udl;
    if (DbFile::IsUdl(sPath)) {
        udl = DbFile::ReadUdl(sPath);
        servable = udl.bServable;
        file = udl.sSource;
    }
    const QString name = NewName();
    const bool server = udl.bServer;
    if (!servable || !(server ? ConnectServer(name, udl) : ConnectFile(name, file))) {
        bOk = false;
        Tell(QStringLiteral("DataBase Open Error !!"));
        return;
    }
    g_cn = Conn{};
    g_cn.sName = name;
    g_cn.eEngine = server ? DbSql::Engine::Postgres : DbSql::Engine::Sqlite;
    g_cn.server = udl;
    g_cn.sPath = server ? QFileInfo(sPath).absoluteFilePath() : QFileInfo(file).absoluteFilePath();
    if (server)
        CreateIfEmpty();
    DbChkDoc(bOk);
    if (!bOk) {
        Tell(sPath + QStringLiteral(" は文書DBではありません"));
        return;
    }
    // A database from before the find indexes gets them now; without them
    // (read-only, or the build cancelled) the find scans. A server
    // database of an earlier version is brought up to date likewise.
    if (server) {
        QSqlDatabase db = QSqlDatabase::database(g_cn.sName, false);
        DbUpgradeSchema(db, g_cn.eEngine);
    } else {
        FtsEnsure();
    }
}

void DbClose() {
    if (g_cn.sName.isEmpty())
        return;
    if (QSqlDatabase::contains(g_cn.sName))
        Drop(g_cn.sName);
    g_cn = Conn{};
}

void DbChkDoc(bool& bOk) {
    try {
        QVariant v;
        DbLookup(QString::fromLatin1(DbSql::kChkDoc), v, QVariant());
        bOk = true;
    } catch (const DbError&) {
        bOk = false;
    }
}

void DbExec(const QString& sSql, bool& bOk, qint64& nRows) {
    QSqlQuery q;
    nRows = 0;
    bOk = DbConn::Run(q, sSql);
    if (bOk)
        nRows = q.numRowsAffected();
}

void DbLookup(const QString& sSql, QVariant& vOut, const QVariant& vDef) {
    QSqlQuery q;
    QString err;
    if (!DbConn::Run(q, sSql, &err))
        throw DbError(err.toStdString());
    if (!q.next()) {
        if (q.lastError().isValid())
            throw DbError(q.lastError().text().toStdString());
        vOut = vDef;
        return;
    }
    const QVariant v = q.value(0);
    vOut = v.isNull() ? vDef : v;
}

QVariant DbLookup(const QString& sSql, const QVariant& vDef) {
    QVariant v;
    DbLookup(sSql, v, vDef);
    return v;
}

void DbGetRows(const QString& sSql, DbRows& aRows, qint64& nCnt) {
    aRows.clear();
    nCnt = 0;
    QSqlQuery q;
    if (!DbConn::Run(q, sSql))
        return;
    const int nCols = q.record().count();
    DbRows rows(nCols);
    qint64 n = 0;
    while (q.next()) {
        for (int c = 0; c < nCols; ++c)
            rows[c].append(q.value(c));
        ++n;
    }
    // A read that breaks off midway (a damaged page) counts as a failure.
    if (q.lastError().isValid() || n == 0)
        return;
    aRows = std::move(rows);
    nCnt = n;
}

bool DbIsOpen() {
    return !g_cn.sName.isEmpty();
}

bool DbIsServer() {
    return DbIsOpen() && g_cn.eEngine == DbSql::Engine::Postgres;
}

QString DbFilePath() {
    return g_cn.sPath;
}

} // namespace Usr
