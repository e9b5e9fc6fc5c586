#include "DbSchema.h"
#include "Db.h"
#include "DbFind.h"
#include "DbSql.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <limits>

namespace Usr {

namespace {

// Titles compare and sort without regard to ASCII case, as the statements'
// original dialect did ("szDoc='?'", "Order By szDoc"). Flags default to 0,
// the value this program writes for rows it creates.
constexpr const char* kSchema[] = {
    "Create Table msDoc (noDoc INTEGER NOT NULL PRIMARY KEY, boUse INTEGER DEFAULT 0,"
    " boCod INTEGER DEFAULT 0, szDoc TEXT COLLATE NOCASE, txDoc TEXT, obDoc BLOB,"
    " dyUdt TEXT, wkRnd REAL)",
    "Create Table tbTree (noLfP INTEGER NOT NULL, noLfC INTEGER NOT NULL, inSrt INTEGER,"
    " szDoc TEXT COLLATE NOCASE, boUse INTEGER DEFAULT 0, boLnk INTEGER DEFAULT 0,"
    " dyUdt TEXT, dyUdt_P TEXT, dyPub TEXT, boHide INTEGER DEFAULT 0,"
    " boHogo INTEGER DEFAULT 0, PRIMARY KEY (noLfP, noLfC))",
    "Create Table kaUsr (DmFmt TEXT)",
    "Insert Into kaUsr (DmFmt) Values ('1')",
    // A level in sort order, the way up from a child, code pages, titles.
    "Create Index ixTreeSort On tbTree (noLfP, inSrt)",
    "Create Index ixTreeChild On tbTree (noLfC)",
    "Create Index ixDocCod On msDoc (boCod)",
    "Create Index ixDocTitle On msDoc (szDoc)",
};

bool BuildSchema(const QString& sPath) {
    static quint64 serial = 0;
    const QString name = QStringLiteral("folium_db_create_%1").arg(++serial);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(sPath);
        if (db.open() && db.transaction()) {
            QSqlQuery q(db);
            ok = true;
            for (const char* stmt : kSchema)
                ok = ok && q.exec(QString::fromLatin1(stmt));
            q.finish();
            ok = ok && FtsRegister(db) && FtsCreate(db);
            ok = ok ? db.commit() : (db.rollback(), false);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

void DbCreate(const QString& sPath, bool& bOk) {
    bOk = false;
    if (sPath.isEmpty())
        return;
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
