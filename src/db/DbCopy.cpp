#include "DbCopy.h"

#include "DbConn.h"
#include "DbFile.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "mClt.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

namespace Usr {

namespace {

// Each table in key order, so a copy reads the same whatever the engine.
QString KeyOrder(const char* table) {
    const QString t = QString::fromLatin1(table);
    if (t == u"msDoc")
        return QStringLiteral(" Order By noDoc");
    if (t == u"tbTree")
        return QStringLiteral(" Order By noLfP, noLfC");
    return QString();
}

qint64 Count(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

// The two ends of the copy, each on a connection of its own.
struct Side {
    QString name;
    DbSql::Engine engine = DbSql::Engine::Sqlite;
    bool open = false;
    ~Side() {
        if (open)
            DbConn::Close(name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
};

QString SideName(const char* role) {
    static quint64 serial = 0;
    return QStringLiteral("folium_copy_%1_%2").arg(QLatin1String(role)).arg(++serial);
}

bool IsDocDb(QSqlDatabase db) {
    QSqlQuery q(db);
    return q.exec(QString::fromLatin1(DbSql::kChkDoc));
}

// Prepares the target: made when it is not there, given the tables when it
// is an empty server database; refused when it already holds pages.
bool PrepareTarget(const QString& sTo, Side& to, QString& sErr) {
    const bool udl = DbFile::IsUdl(sTo);
    if (!udl && !QFileInfo::exists(sTo)) {
        bool ok = false;
        DbCreate(sTo, ok);
        if (!ok) {
            sErr = sTo + QStringLiteral(": cannot be created");
            return false;
        }
    }
    to.name = SideName("to");
    if (!mClt::FileExist(sTo) || !DbConn::OpenSide(sTo, to.name, to.engine)) {
        sErr = sTo + QStringLiteral(": DataBase Open Error !!");
        return false;
    }
    to.open = true;
    QSqlDatabase db = to.db();
    if (Count(db, QString::fromLatin1(DbSql::DialectOf(to.engine).sCountTables)) == 0 &&
        !DbCreateSchema(db, to.engine)) {
        sErr = sTo + QStringLiteral(": the tables could not be made");
        return false;
    }
    if (!IsDocDb(db)) {
        sErr = sTo + QStringLiteral(" は文書DBではありません");
        return false;
    }
    if (Count(db, QStringLiteral("Select count(*) From msDoc")) != 0 ||
        Count(db, QStringLiteral("Select count(*) From tbTree")) != 0) {
        sErr = sTo + QStringLiteral(": already holds pages; the copy goes only into an empty "
                                    "document database");
        return false;
    }
    return true;
}

// The columns both tables have, as the source spells them.
QStringList CommonColumns(const QSqlRecord& from, const QSqlRecord& to) {
    QStringList out;
    for (int i = 0; i < from.count(); ++i)
        for (int j = 0; j < to.count(); ++j)
            if (from.fieldName(i).compare(to.fieldName(j), Qt::CaseInsensitive) == 0) {
                out << from.fieldName(i);
                break;
            }
    return out;
}

QSqlField FieldOf(const QSqlRecord& rec, const QString& sName) {
    for (int j = 0; j < rec.count(); ++j)
        if (rec.fieldName(j).compare(sName, Qt::CaseInsensitive) == 0)
            return rec.field(j);
    return QSqlField();
}

bool CopyTable(const char* table, Side& from, Side& to, qint64& nDone, qint64 nAll,
               const CopyProgress& progress, QString& sErr) {
    QSqlDatabase src = from.db();
    QSqlDatabase dst = to.db();
    // The names as each engine reports them (a server folds them).
    const QString t = QString::fromLatin1(table);
    const QString dstTable = to.engine == DbSql::Engine::Postgres ? t.toLower() : t;
    const QString srcTable = from.engine == DbSql::Engine::Postgres ? t.toLower() : t;
    const QStringList cols = CommonColumns(src.record(srcTable), dst.record(dstTable));
    if (cols.isEmpty()) {
        sErr = t + QStringLiteral(": no columns to copy");
        return false;
    }
    QSqlQuery read(src);
    read.setForwardOnly(true);
    if (!read.exec(
            QStringLiteral("Select %1 From %2%3").arg(cols.join(u", "), t, KeyOrder(table)))) {
        sErr = t + QStringLiteral(": ") + read.lastError().text();
        return false;
    }
    QSqlQuery write(dst);
    if (!write.prepare(QStringLiteral("Insert Into %1 (%2) Values (%3)")
                           .arg(t, cols.join(u", "),
                                QStringList(cols.size(), QStringLiteral("?")).join(u", ")))) {
        sErr = t + QStringLiteral(": ") + write.lastError().text();
        return false;
    }
    const QSqlRecord target = dst.record(dstTable);
    while (read.next()) {
        for (int i = 0; i < cols.size(); ++i) {
            QVariant v = read.value(i);
            // A server's bytea takes bytes, its text takes text: SQLite may
            // hand either for a column.
            const QSqlField f = FieldOf(target, cols[i]);
            if (!v.isNull() && f.isValid() && f.metaType().id() == QMetaType::QByteArray &&
                v.metaType().id() != QMetaType::QByteArray)
                v = v.toByteArray();
            write.bindValue(i, v);
        }
        if (!write.exec()) {
            sErr = t + QStringLiteral(" row %1: ").arg(nDone + 1) + write.lastError().text();
            return false;
        }
        ++nDone;
        if (progress && (nDone % 200 == 0 || nDone == nAll))
            progress(nDone, nAll);
    }
    if (read.lastError().isValid()) {
        sErr = t + QStringLiteral(": ") + read.lastError().text();
        return false;
    }
    return true;
}

} // namespace

bool DbCopy(const QString& sFrom, const QString& sTo, QString& sErr, const CopyProgress& progress) {
    if (!mClt::FileExist(sFrom)) {
        sErr = sFrom + QStringLiteral(": no such file");
        return false;
    }
    if (QFileInfo(sFrom).absoluteFilePath() == QFileInfo(sTo).absoluteFilePath()) {
        sErr = QStringLiteral("the copy needs two different databases");
        return false;
    }
    Side from;
    from.name = SideName("from");
    if (!DbConn::OpenSide(sFrom, from.name, from.engine)) {
        sErr = sFrom + QStringLiteral(": DataBase Open Error !!");
        return false;
    }
    from.open = true;
    if (!IsDocDb(from.db())) {
        sErr = sFrom + QStringLiteral(" は文書DBではありません");
        return false;
    }
    Side to;
    if (!PrepareTarget(sTo, to, sErr))
        return false;

    QSqlDatabase src = from.db();
    QSqlDatabase dst = to.db();
    // A whole database takes longer than one command may.
    for (const Side* side : {&from, &to})
        if (const char* lift = DbSql::DialectOf(side->engine).sNoTimeout) {
            QSqlQuery q(side->db());
            q.exec(QString::fromLatin1(lift));
        }
    // One snapshot of the source, one transaction on the target.
    QSqlQuery begin(src);
    begin.exec(from.engine == DbSql::Engine::Postgres
                   ? QStringLiteral("Begin Transaction Isolation Level Repeatable Read")
                   : QStringLiteral("Begin"));
    qint64 nAll = 0;
    for (const char* table : DbSql::kTables)
        nAll += std::max<qint64>(
            0, Count(src, QStringLiteral("Select count(*) From %1").arg(QLatin1String(table))));
    QSqlQuery w(dst);
    bool ok = w.exec(QString::fromLatin1(DbSql::DialectOf(to.engine).sBeginWrite)) &&
              w.exec(QStringLiteral("Delete From kaUsr"));
    if (!ok)
        sErr = sTo + QStringLiteral(": ") + w.lastError().text();
    qint64 nDone = 0;
    if (progress)
        progress(0, nAll);
    for (const char* table : DbSql::kTables)
        ok = ok && CopyTable(table, from, to, nDone, nAll, progress, sErr);
    if (ok && !dst.commit()) {
        sErr = sTo + QStringLiteral(": ") + dst.lastError().text();
        ok = false;
    }
    if (!ok)
        dst.rollback();
    src.rollback(); // the read snapshot
    return ok;
}

bool IsCopyCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--copy-db") == 0)
            return true;
    return false;
}

int RunCopyCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const char kUsage[] = "usage: folium --headless --copy-db FROM TO";
    QStringList rest;
    bool asked = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--headless"))
            continue;
        if (a == QLatin1String("--copy-db")) {
            asked = true;
            continue;
        }
        rest << a;
    }
    if (!asked || rest.size() != 2) {
        err << kUsage << Qt::endl;
        return 1;
    }
    QString sErr;
    qint64 shown = -1;
    const bool ok = DbCopy(rest[0], rest[1], sErr, [&](qint64 nDone, qint64 nAll) {
        if (nDone == shown)
            return;
        shown = nDone;
        err << "\r" << nDone << " / " << nAll << " rows" << Qt::flush;
    });
    if (shown >= 0)
        err << Qt::endl;
    if (!ok) {
        err << "folium: " << sErr << Qt::endl;
        return 1;
    }
    out << rest[0] << " -> " << rest[1] << ": " << shown << " rows copied" << Qt::endl;
    return 0;
}

} // namespace Usr
