// Statements run as one transaction (a small part of the database layer the
// tree's order write-back relies on).
#include "Db.h"
#include "DbBatch.h"
#include "DbSchema.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// Rows of kaUsr as another connection sees them.
int OutsideCount(const QString& path) {
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "outside");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec("Select Count(*) From kaUsr") && q.next())
            n = q.value(0).toInt();
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("outside");
    return n;
}

void Exec(const QString& s, bool expectOk = true) {
    bool ok = !expectOk;
    qint64 n = 0;
    Usr::DbExec(s, ok, n);
    EXPECT_EQ(ok, expectOk) << s.toStdString();
}

} // namespace

TEST(DbBatch, WritesTogetherAtTheEndAndKeepsEachStatementsOutcome) {
    ScriptedPrompter prompter;
    {
        Usr::DbBatch none;
        EXPECT_FALSE(none.Active()); // no connection
    }
    const QString path = TestEnv::freshDir("batch") + "/b.txdb";
    bool ok = false;
    Usr::DbCreate(path, ok);
    Usr::DbOpen(path, ok);
    ASSERT_TRUE(ok);
    {
        Usr::DbBatch batch;
        ASSERT_TRUE(batch.Active());
        Exec("Insert Into kaUsr (DmFmt) Values ('2')");
        Exec("Insert Into nowhere Values (1)", false);
        Exec("Insert Into kaUsr (DmFmt) Values ('3')");
        EXPECT_EQ(OutsideCount(path), 1); // not yet committed
    }
    EXPECT_EQ(OutsideCount(path), 3);

    // Closing the database ends the transaction without its writes.
    {
        Usr::DbBatch batch;
        Exec("Insert Into kaUsr (DmFmt) Values ('4')");
        Usr::DbClose();
        EXPECT_FALSE(batch.Commit());
        EXPECT_FALSE(batch.Active());
    }
    EXPECT_EQ(OutsideCount(path), 3);
}
