// Durability: a writer killed in the middle of thousands of writes leaves a
// database that opens, is still a document database, and holds only whole
// rows.
#include "CrashPayload.h"
#include "DbSql.h"
#include "DbTestUtil.h"
#include "Recordset.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>

using namespace Usr;

namespace {

// Starts the writer on `path` and kills it once it has reported `nAfter`
// pages (or after a time limit). Returns every page it reported.
int WriteAndKill(const QString& path, int nAfter) {
    QProcess p;
    p.start(QStringLiteral(DB_CRASH_WRITER), {path, QStringLiteral("1000000")});
    EXPECT_TRUE(p.waitForStarted(10000));
    int reported = 0;
    QElapsedTimer t;
    t.start();
    while (reported < nAfter && p.state() == QProcess::Running && t.elapsed() < 20000) {
        p.waitForReadyRead(200);
        while (p.canReadLine()) {
            p.readLine();
            ++reported;
        }
    }
    EXPECT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
    p.kill();
    p.waitForFinished(10000);
    // Lines written before the kill but not yet read count too.
    while (p.canReadLine()) {
        p.readLine();
        ++reported;
    }
    return reported;
}

// SQLite's own consistency check, through a connection of its own.
QString Integrity(const QString& path) {
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "integrity");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
                result = q.value(0).toString();
            else
                result = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("integrity"));
    return result;
}

} // namespace

TEST_F(DbTest, KilledWriterLeavesOnlyWholeRows) {
    const QString path = NewDb();
    qint64 nDocsBefore = 0, nTreeBefore = 0;
    // Three writers in turn, each killed at a different point; each later
    // one starts on the file the killed one left.
    for (int nAfter : {60, 15, 35}) {
        const int reported = WriteAndKill(path, nAfter);
        EXPECT_GE(reported, nAfter);

        OpenOk(path);
        bool isDoc = false;
        DbChkDoc(isDoc);
        EXPECT_TRUE(isDoc);
        DbRows docs;
        qint64 nDocs = 0;
        DbGetRows(QStringLiteral("Select noDoc, szDoc, txDoc, obDoc From msDoc Order By noDoc"),
                  docs, nDocs);
        // Every reported page is there; at most one more was being written.
        EXPECT_GE(nDocs - nDocsBefore, reported);
        EXPECT_LE(nDocs - nDocsBefore, reported + 1);
        for (qint64 r = 0; r < nDocs; ++r) {
            const int no = docs[0][r].toInt();
            ASSERT_EQ(no, 1000 + r);
            ASSERT_EQ(docs[1][r].toString(), CrashPayload::Title(no));
            ASSERT_EQ(docs[2][r].toString(), CrashPayload::Text(no));
            ASSERT_EQ(docs[3][r].toByteArray(), CrashPayload::Bytes(no)) << no;
        }
        // Tree rows are written after their document row: each has one,
        // and every reported page has its tree row.
        EXPECT_EQ(DbLookup(QStringLiteral("Select Count(*) From tbTree Where noLfC Not In "
                                          "(Select noDoc From msDoc)"),
                           -1)
                      .toInt(),
                  0);
        const qint64 nTree =
            DbLookup(QStringLiteral("Select Count(*) From tbTree"), 0).toLongLong();
        EXPECT_GE(nTree - nTreeBefore, reported);
        EXPECT_LE(nTree - nTreeBefore, nDocs - nDocsBefore);
        DbClose();
        EXPECT_EQ(Integrity(path), QStringLiteral("ok"));
        nDocsBefore = nDocs;
        nTreeBefore = nTree;
    }
}
