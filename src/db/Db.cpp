#include "Db.h"
#include "DbConn.h"
#include "DbFile.h"
#include "DbFind.h"
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

QString g_conn;       // connection name of oCn, empty when none
QString g_path;       // the database file it is on
quint64 g_serial = 0; // every connection gets a new name, so a recordset of an
                      // earlier one can never write into a later one

// SQLite's own busy wait stands in for the 30-second command time-out.
constexpr char kOptions[] = "QSQLITE_BUSY_TIMEOUT=30000";

void Tell(const QString& text) {
    Prompter::instance().message(text);
}

// A file without any write permission opens read-only (even for root, who
// could write it anyway): writes then fail instead of changing the file.
bool ReadOnlyFile(const QString& sFile) {
    const QFileInfo fi(sFile);
    const auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !fi.isWritable() || !(fi.permissions() & anyWrite);
}

// Opens `sFile` as oCn. False, leaving no connection, when it is not a
// readable SQLite database.
bool Connect(const QString& sFile) {
    if (!mClt::FileExist(sFile) || !DbFile::IsSqlite(sFile))
        return false;
    const QString name = QStringLiteral("folium_db_%1").arg(++g_serial);
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
    if (!ok) {
        QSqlDatabase::removeDatabase(name);
        return false;
    }
    g_conn = name;
    g_path = QFileInfo(sFile).absoluteFilePath();
    return true;
}

} // namespace

namespace DbConn {

QString Name() {
    return g_conn;
}

bool Run(QSqlQuery& q, const QString& sSql, QString* sErr) {
    if (g_conn.isEmpty()) {
        if (sErr)
            *sErr = QStringLiteral("no database is open");
        return false;
    }
    q = QSqlQuery(QSqlDatabase::database(g_conn, false));
    q.setForwardOnly(true);
    if (q.exec(sSql))
        return true;
    if (sErr)
        *sErr = q.lastError().text();
    return false;
}

} // namespace DbConn

void DbOpen(const QString& sPath, bool& bOk) {
    if (sPath.isEmpty() || !mClt::FileExist(sPath))
        return;
    DbClose();
    QString file = sPath;
    bool servable = true;
    if (DbFile::IsUdl(sPath)) {
        const DbFile::Udl udl = DbFile::ReadUdl(sPath);
        servable = udl.bServable;
        file = udl.sSource;
    }
    if (!servable || !Connect(file)) {
        bOk = false;
        Tell(QStringLiteral("DataBase Open Error !!"));
        return;
    }
    DbChkDoc(bOk);
    if (!bOk) {
        Tell(sPath + QStringLiteral(" は文書DBではありません"));
        return;
    }
    // A database from before the find indexes gets them now; without them
    // (read-only, or the build cancelled) the find scans.
    FtsEnsure();
}

void DbClose() {
    if (g_conn.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(g_conn, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(g_conn);
    g_conn.clear();
    g_path.clear();
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
    return !g_conn.isEmpty();
}

QString DbFilePath() {
    return g_path;
}

} // namespace Usr
