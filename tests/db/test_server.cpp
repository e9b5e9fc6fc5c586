// A document database on a PostgreSQL server: who is let in (and how fast a
// refusal comes), what a lost connection does to a save, and a server
// killed in the middle of saves.
#include "CrashPayload.h"
#include "DbFile.h"
#include "DbSql.h"
#include "DbTestUtil.h"
#include "DbTxn.h"
#include "Recordset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

using namespace Usr;

namespace {

const QString kOpenError = QStringLiteral("DataBase Open Error !!");

class ServerTest : public DbTest {
protected:
    void SetUp() override { FOLIUM_REQUIRE_PG(); }
    void TearDown() override {
        DbTest::TearDown();
        qputenv("PGPASSWORD", PgServer::kPassword);
        if (PgServer* pg = PgServer::instance(); pg && !pg->running())
            pg->start();
    }
    PgServer& pg() { return *PgServer::instance(); }

    // A data link with the given initialisation string.
    QString Link(const QString& init) {
        const QString udl =
            TestEnv::freshDir(QStringLiteral("udl")) + QStringLiteral("/server.udl");
        WriteUdl(udl, init);
        return udl;
    }

    // Opens `udl` expecting the open error, and says how long it took.
    qint64 Refused(const QString& udl) {
        prompter.calls.clear();
        QElapsedTimer t;
        t.start();
        bool ok = true;
        DbOpen(udl, ok);
        const qint64 ms = t.elapsed();
        EXPECT_FALSE(ok) << udl.toStdString();
        EXPECT_FALSE(DbIsOpen());
        EXPECT_EQ(prompter.messages(), QStringList{kOpenError});
        return ms;
    }

    void WriteDoc(int no) {
        Recordset rs;
        bool ok = false;
        DbOpenRs(DbSql::WithNo(DbSql::kDocRow, no), rs, true, ok);
        ASSERT_TRUE(ok);
        ASSERT_TRUE(rs.AddNew());
        rs.SetField("noDoc", no);
        rs.SetField("szDoc", CrashPayload::Title(no));
        rs.SetField("obDoc", CrashPayload::Bytes(no));
        ASSERT_TRUE(rs.Update()) << rs.LastError().toStdString();
    }
};

} // namespace

// A refusal is the open error, never a hang: a wrong password (also when
// the link itself carries the right one, which is never used), a port
// nothing listens on, an address that does not answer, a database that is
// not there, a link without a database.
TEST_F(ServerTest, WrongLoginsAndUnreachableServersAreRefusedQuickly) {
    const QString db = pg().newDatabase();
    qputenv("PGPASSWORD", "wrong");
    EXPECT_LT(Refused(Link(pg().udlText(db))), 10000);
    EXPECT_LT(Refused(Link(pg().udlText(db) + QStringLiteral(";Password=") +
                           QString::fromLatin1(PgServer::kPassword))),
              10000);
    qputenv("PGPASSWORD", PgServer::kPassword);
    EXPECT_LT(Refused(Link(pg().udlText(QStringLiteral("nothere")))), 10000);
    EXPECT_LT(Refused(Link(QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:1;"
                                          "Initial Catalog=doc;User ID=folium"))),
              10000);
    // A non-routed address: the connect time-out ends the wait.
    EXPECT_LT(Refused(Link(QStringLiteral("Provider=PostgreSQL;Data Source=10.255.255.1:5432;"
                                          "Initial Catalog=doc;User ID=folium"))),
              20000);
    Refused(Link(QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:%1;User ID=folium")
                     .arg(pg().port())));
    // The right password opens it.
    bool ok = false;
    DbOpen(Link(pg().udlText(db)), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(DbIsServer());
}

// Without PGPASSWORD the password comes from ~/.pgpass; the link may also
// be a "postgresql://" address naming user and database.
TEST_F(ServerTest, PasswordFileAndAddressForm) {
    const QString db = pg().newDatabase();
    qunsetenv("PGPASSWORD");
    const QString pgpass = TestEnv::home() + QStringLiteral("/.pgpass");
    TestEnv::writeFile(pgpass, QStringLiteral("127.0.0.1:%1:*:folium:%2\n")
                                   .arg(pg().port())
                                   .arg(QString::fromLatin1(PgServer::kPassword))
                                   .toUtf8());
    QFile::setPermissions(pgpass, QFile::ReadOwner | QFile::WriteOwner);
    OpenOk(
        Link(QStringLiteral("Provider=PostgreSQL;Data Source=postgresql://folium@127.0.0.1:%1/%2")
                 .arg(pg().port())
                 .arg(db)));
    EXPECT_TRUE(DbIsServer());
    EXPECT_EQ(DbNewDocNo(), 1000);
    QFile::remove(pgpass);
    Refused(Link(pg().udlText(db)));
}

// A database with tables of its own is not made a document database: it
// opens with the program's message, and DbCreate refuses it.
TEST_F(ServerTest, DatabaseWithOtherTablesIsLeftAlone) {
    const QString db = pg().newDatabase();
    ASSERT_TRUE(pg().admin(db, {QStringLiteral("Create Table t (a integer)"),
                                QStringLiteral("Grant All On t To folium")}));
    const QString udl = Link(pg().udlText(db));
    bool ok = true;
    DbCreate(udl, ok);
    EXPECT_FALSE(ok);
    DbOpen(udl, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(prompter.messages(), QStringList{udl + QStringLiteral(" は文書DBではありません")});
    EXPECT_TRUE(DbIsOpen());
    EXPECT_THROW(DbLookup(QStringLiteral("Select count(*) From msDoc"), -1), DbError)
        << "no document tables were made";
}

// The server goes away in the middle of a save: the write and its commit
// fail, nothing of it is stored, and once the server is back the next
// command connects again by itself.
TEST_F(ServerTest, LostConnectionFailsTheSaveAndTheNextCommandReconnects) {
    OpenOk(Link(pg().udlText(pg().newDatabase())));
    WriteDoc(1000);
    {
        DbTxn txn;
        ASSERT_TRUE(txn.Active());
        WriteDoc(1001);
        pg().kill();
        bool ok = true;
        qint64 n = 0;
        DbExec(QStringLiteral("Update msDoc Set boUse = 1 Where noDoc = 1001"), ok, n);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(txn.Commit());
        EXPECT_FALSE(txn.LastError().isEmpty());
    }
    // Down: statements fail, lookups raise.
    EXPECT_THROW(DbLookup(QString::fromLatin1(DbSql::kMaxNo), 0), DbError);
    ASSERT_TRUE(pg().start());
    EXPECT_EQ(DbLookup(QString::fromLatin1(DbSql::kMaxNo), 0).toInt(), 1000);
    EXPECT_TRUE(DbIsServer());
    {
        DbTxn txn;
        ASSERT_TRUE(txn.Active());
        WriteDoc(1001);
        EXPECT_TRUE(txn.Commit());
    }
    EXPECT_EQ(DbLookup(QStringLiteral("Select count(*) From msDoc"), 0).toInt(), 2);
}

// A writer saving pages (document row and tree row in one transaction)
// while the server is killed outright; after the restart every page is
// whole: both rows or neither, bytes as written, every committed page there.
TEST_F(ServerTest, ServerKilledMidSaveLeavesWholePages) {
    const QString udl = Link(pg().udlText(pg().newDatabase()));
    {
        bool ok = false;
        DbCreate(udl, ok); // already made by the first open otherwise
    }
    qint64 before = 0;
    for (int nAfter : {40, 15}) {
        QProcess p;
        p.start(QStringLiteral(DB_CRASH_WRITER), {udl, QStringLiteral("1000000"), "txn"});
        ASSERT_TRUE(p.waitForStarted(10000));
        int reported = 0;
        QElapsedTimer t;
        t.start();
        while (reported < nAfter && p.state() == QProcess::Running && t.elapsed() < 30000) {
            p.waitForReadyRead(200);
            while (p.canReadLine() && p.readLine().size() > 0)
                ++reported;
        }
        ASSERT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
        pg().kill();
        // The writer notices and stops with a failed write.
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_NE(p.exitCode(), 0);
        while (p.canReadLine() && p.readLine().size() > 0)
            ++reported;
        ASSERT_TRUE(pg().start());

        OpenOk(udl);
        DbRows docs;
        qint64 nDocs = 0;
        DbGetRows(QStringLiteral("Select noDoc, szDoc, txDoc, obDoc From msDoc Order By noDoc"),
                  docs, nDocs);
        EXPECT_GE(nDocs - before, reported);
        EXPECT_LE(nDocs - before, reported + 1); // committed, its number not yet read
        for (qint64 r = 0; r < nDocs; ++r) {
            const int no = docs[0][r].toInt();
            ASSERT_EQ(no, 1000 + r);
            ASSERT_EQ(docs[1][r].toString(), CrashPayload::Title(no));
            ASSERT_EQ(docs[2][r].toString(), CrashPayload::Text(no));
            ASSERT_EQ(docs[3][r].toByteArray(), CrashPayload::Bytes(no)) << no;
        }
        EXPECT_EQ(DbLookup(QStringLiteral("Select count(*) From tbTree"), 0).toLongLong(), nDocs);
        EXPECT_EQ(DbLookup(QStringLiteral("Select count(*) From tbTree Where noLfC Not In "
                                          "(Select noDoc From msDoc)"),
                           -1)
                      .toInt(),
                  0);
        DbClose();
        before = nDocs;
    }
}

TEST(Udl, ServerLinks) {
    auto u = DbFile::ParseUdl("Provider=PostgreSQL;Data Source=db.example.org:5433;"
                              "Initial Catalog=文書;User ID=sato;Password=secret",
                              QStringLiteral("/x"));
    EXPECT_TRUE(u.bServer);
    EXPECT_TRUE(u.bServable);
    EXPECT_EQ(u.sHost, QStringLiteral("db.example.org"));
    EXPECT_EQ(u.nPort, 5433);
    EXPECT_EQ(u.sDatabase, QStringLiteral("文書"));
    EXPECT_EQ(u.sUser, QStringLiteral("sato"));

    u = DbFile::ParseUdl("Provider=PostgreSQL OLE DB Provider;Data Source=db",
                         QStringLiteral("/x"));
    EXPECT_TRUE(u.bServer);
    EXPECT_FALSE(u.bServable); // no database named
    u = DbFile::ParseUdl("Provider=PostgreSQL;Data Source=db;Initial Catalog=d",
                         QStringLiteral("/x"));
    EXPECT_TRUE(u.bServable);
    EXPECT_EQ(u.nPort, 5432);
    EXPECT_EQ(u.sHost, QStringLiteral("db"));

    u = DbFile::ParseUdl("Provider=PostgreSQL;Data Source=postgresql://ito@[::1]:6000/pages",
                         QStringLiteral("/x"));
    EXPECT_TRUE(u.bServable);
    EXPECT_EQ(u.sHost, QStringLiteral("::1"));
    EXPECT_EQ(u.nPort, 6000);
    EXPECT_EQ(u.sDatabase, QStringLiteral("pages"));
    EXPECT_EQ(u.sUser, QStringLiteral("ito"));
    // The keys win over the address.
    u = DbFile::ParseUdl("Provider=PostgreSQL;Data Source=postgresql://ito@h/pages;"
                         "Initial Catalog=other;User ID=sato",
                         QStringLiteral("/x"));
    EXPECT_EQ(u.sDatabase, QStringLiteral("other"));
    EXPECT_EQ(u.sUser, QStringLiteral("sato"));
    for (const char* bad : {"Provider=PostgreSQL;Data Source=h:port;Initial Catalog=d",
                            "Provider=PostgreSQL;Data Source=h:70000;Initial Catalog=d",
                            "Provider=PostgreSQL;Data Source=:5432;Initial Catalog=d",
                            "Provider=PostgreSQL;Data Source=[::1;Initial Catalog=d"})
        EXPECT_FALSE(DbFile::ParseUdl(bad, QStringLiteral("/x")).bServable) << bad;
}
