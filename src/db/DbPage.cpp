#include "DbPage.h"

#include "Db.h"
#include "DbConn.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "Recordset.h"

#include <QCryptographicHash>
#include <QDate>
#include <QSqlQuery>

namespace DbPage {

namespace {

// Opens the document row `nNo` for update.
bool OpenDoc(qint64 nNo, Usr::Recordset& oRs, QString& sErr) {
    bool bOk = false;
    Usr::DbOpenRs(DbSql::WithNo(DbSql::kDocRow, nNo), oRs, true, bOk);
    if (!bOk)
        sErr = oRs.LastError();
    return bOk;
}

// Saves the recordset's pending row and closes it.
bool Save(Usr::Recordset& oRs, QString& sErr) {
    const bool bOk = oRs.Update();
    if (!bOk)
        sErr = oRs.LastError();
    oRs.Close();
    return bOk;
}

} // namespace

Page Read(qint64 nNo) {
    Page p;
    Usr::Recordset oRs;
    bool bOk = false;
    Usr::DbOpenRs(DbSql::WithNo(DbSql::kDocRead, nNo), oRs, false, bOk);
    if (!bOk) {
        p.sErr = oRs.LastError();
        return p;
    }
    if (oRs.Eof()) {
        p.sErr = QStringLiteral("no such document");
        return p;
    }
    const QVariant v = oRs.Field(0);
    p.bOk = true;
    p.bNull = v.isNull();
    p.yDoc = v.toByteArray();
    p.sSz = oRs.Field(1).toString();
    return p;
}

bool WriteDoc(qint64 nNo, const QString& sSz, const QString& sTx, const QByteArray& yDoc,
              bool& bNew, QString& sErr) {
    Usr::Recordset oRs;
    if (!OpenDoc(nNo, oRs, sErr))
        return false;
    bNew = oRs.Eof();
    if (bNew) {
        oRs.AddNew();
        oRs.SetField(QStringLiteral("noDoc"), nNo);
        oRs.SetField(QStringLiteral("wkRnd"), Usr::DbNewRnd());
        oRs.SetField(QStringLiteral("boUse"), 1);
        oRs.SetField(QStringLiteral("boCod"), 0);
    }
    oRs.SetField(QStringLiteral("szDoc"), sSz);
    oRs.SetField(QStringLiteral("txDoc"), sTx);
    oRs.SetField(QStringLiteral("obDoc"), yDoc);
    oRs.SetField(QStringLiteral("dyUdt"), QDate::currentDate());
    return Save(oRs, sErr);
}

bool WriteTreeRow(qint64 nP, qint64 nC, const QString& sSz, QString& sErr) {
    QString sSql = QString::fromLatin1(DbSql::kTreeRow);
    DbSql::FillSql(sSql, {nP, nC});
    Usr::Recordset oRs;
    bool bOk = false;
    Usr::DbOpenRs(sSql, oRs, true, bOk);
    if (!bOk) {
        sErr = oRs.LastError();
        return false;
    }
    if (oRs.Eof()) {
        oRs.AddNew();
        oRs.SetField(QStringLiteral("noLfP"), nP);
        oRs.SetField(QStringLiteral("noLfC"), nC);
        oRs.SetField(QStringLiteral("inSrt"), 100);
        oRs.SetField(QStringLiteral("boUse"), 1);
        oRs.SetField(QStringLiteral("boLnk"), 0);
        oRs.SetField(QStringLiteral("boHide"), 0);
        oRs.SetField(QStringLiteral("boHogo"), 0);
    }
    const QDate today = QDate::currentDate();
    oRs.SetField(QStringLiteral("szDoc"), sSz);
    oRs.SetField(QStringLiteral("dyUdt"), today);
    oRs.SetField(QStringLiteral("dyUdt_P"), today);
    return Save(oRs, sErr);
}

QByteArray StampOf(const QByteArray& yDoc) {
    return QCryptographicHash::hash(yDoc, QCryptographicHash::Sha256);
}

bool Stamp(qint64 nNo, QByteArray& yStamp, bool& bFound, QString& sErr) {
    QSqlQuery q;
    const QString sql = DbSql::WithNo(DbSql::kDocRead, nNo) +
                        QString::fromLatin1(Usr::DbConn::Dialect().sForUpdate);
    if (!Usr::DbConn::Run(q, sql, &sErr))
        return false;
    bFound = q.next();
    yStamp = bFound ? StampOf(q.value(0).toByteArray()) : QByteArray();
    return true;
}

bool SetCode(qint64 nNo, bool bCod, QString& sErr) {
    Usr::Recordset oRs;
    if (!OpenDoc(nNo, oRs, sErr))
        return false;
    if (oRs.Eof()) {
        sErr = QStringLiteral("no such document");
        return false;
    }
    oRs.SetField(QStringLiteral("boCod"), bCod ? 1 : 0);
    return Save(oRs, sErr);
}

QList<CodePage> CodePages() {
    Usr::DbRows aRows;
    qint64 n = 0;
    Usr::DbGetRows(QString::fromLatin1(DbSql::kCodePages), aRows, n);
    QList<CodePage> out;
    out.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        out.append({qint32(aRows[0][i].toLongLong()), aRows[1][i].toString()});
    return out;
}

} // namespace DbPage
