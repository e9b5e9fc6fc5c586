// Opening and closing: which files open, what the user is told, and what
// state every outcome leaves.
#include "DbSql.h"
#include "DbTestUtil.h"
#include "Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <cmath>

using namespace Usr;

namespace {
const QString kOpenError = QStringLiteral("DataBase Open Error !!");
QString NotDocMessage(const QString& path) {
    return path + QStringLiteral(" は文書DBではありません");
}
} // namespace

FOLIUM_BOTH_ENGINES(EngineTest);

TEST_P(EngineTest, EmptyOrMissingPathLeavesEverythingUntouched) {
    const QString path = NewDb();
    OpenOk(path);
    for (const QString& p : {QString(), path + QStringLiteral(".missing"),
                             path.left(path.size() - 8) + QStringLiteral("*.txdb")}) {
        bool ok = true;
        DbOpen(p, ok);
        EXPECT_TRUE(ok);
        ok = false;
        DbOpen(p, ok);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(DbIsOpen()) << p.toStdString();
        EXPECT_EQ(DbFilePath(), path);
    }
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(DbTest, FilesThatAreNotSqliteAreRefusedAndLeaveNoConnection) {
    const QString dir = TestEnv::freshDir(QStringLiteral("notdb"));
    const QString good = NewDb();
    // A Jet file, a text file, an empty file, and random bytes behind a real
    // SQLite header (a damaged database).
    QByteArray jet(4096, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    QByteArray corrupt("SQLite format 3\0", 16);
    for (int i = 0; i < 8192; ++i)
        corrupt.append(char(QRandomGenerator::global()->bounded(256)));
    const QList<QPair<QString, QByteArray>> files = {
        {dir + QStringLiteral("/old.mdb"), jet},
        {dir + QStringLiteral("/notes.txdb"), "just some text\n"},
        {dir + QStringLiteral("/empty.txdb"), QByteArray()},
        {dir + QStringLiteral("/damaged.txdb"), corrupt},
    };
    for (const auto& [path, bytes] : files) {
        TestEnv::writeFile(path, bytes);
        OpenOk(good);
        prompter.calls.clear();
        bool ok = true;
        DbOpen(path, ok);
        EXPECT_FALSE(ok) << path.toStdString();
        EXPECT_FALSE(DbIsOpen()) << path.toStdString();
        EXPECT_EQ(prompter.messages(), QStringList{kOpenError}) << path.toStdString();
        // The file itself is not changed by the attempt.
        EXPECT_EQ(TestEnv::readFile(path), bytes) << path.toStdString();
        // Without a connection statements fail quietly, lookups raise.
        qint64 n = -1;
        DbExec(QString::fromLatin1(DbSql::kTreeDelete), ok, n);
        EXPECT_FALSE(ok);
        DbRows rows;
        DbGetRows(QString::fromLatin1(DbSql::kAllTitles), rows, n);
        EXPECT_EQ(n, 0);
        EXPECT_THROW(DbLookup(QString::fromLatin1(DbSql::kMaxNo), 0), DbError);
        DbChkDoc(ok);
        EXPECT_FALSE(ok);
    }
}

TEST_F(DbTest, SqliteFileWithoutKaUsrIsNotADocumentDatabase) {
    const QString path = TestEnv::freshDir(QStringLiteral("other")) + QStringLiteral("/other.mdb");
    ASSERT_TRUE(RunOnFile(path, {QStringLiteral("Create Table t (a INTEGER)"),
                                 QStringLiteral("Insert Into t Values (5)")}));
    bool ok = true;
    DbOpen(path, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(prompter.messages(), QStringList{NotDocMessage(path)});
    // The connection stays open on that file.
    ASSERT_TRUE(DbIsOpen());
    EXPECT_EQ(DbLookup(QStringLiteral("Select a From t"), 0).toInt(), 5);

    // A kaUsr without DmFmt does not count either; an empty kaUsr does.
    ASSERT_TRUE(RunOnFile(path, {QStringLiteral("Create Table kaUsr (Other TEXT)")}));
    DbOpen(path, ok);
    EXPECT_FALSE(ok);
    ASSERT_TRUE(RunOnFile(path, {QStringLiteral("Drop Table kaUsr"),
                                 QStringLiteral("Create Table kaUsr (DmFmt TEXT)")}));
    DbOpen(path, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(prompter.messages().size(), 2);
}

TEST_F(DbTest, DataLinkFilesOpenTheirSource) {
    const QString db = NewDb(QStringLiteral("linked.txdb"));
    const QString dir = QFileInfo(db).absolutePath();
    // Capital extension, relative source with Windows separators.
    QDir(dir).mkdir(QStringLiteral("links"));
    const QString udl = dir + QStringLiteral("/links/DOC.UDL");
    WriteUdl(udl, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=..\\linked.txdb;"
                                 "Persist Security Info=False"));
    OpenOk(udl);
    EXPECT_EQ(DbFilePath(), db);
    EXPECT_TRUE(prompter.messages().isEmpty());

    // A provider we cannot serve, or a source that does not exist.
    const QString sqlServer = dir + QStringLiteral("/server.udl");
    WriteUdl(sqlServer, QStringLiteral("Provider=SQLOLEDB.1;Data Source=server01"));
    const QString missing = dir + QStringLiteral("/missing.udl");
    WriteUdl(missing, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=nothere.mdb"));
    for (const QString& p : {sqlServer, missing}) {
        OpenOk(udl);
        prompter.calls.clear();
        bool ok = true;
        DbOpen(p, ok);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(DbIsOpen());
        EXPECT_EQ(prompter.messages(), QStringList{kOpenError});
    }

    // A link to a SQLite file without kaUsr names the link in the message.
    const QString other = dir + QStringLiteral("/plain.sqlite");
    ASSERT_TRUE(RunOnFile(other, {QStringLiteral("Create Table t (a)")}));
    const QString toOther = dir + QStringLiteral("/other.udl");
    WriteUdl(toOther, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + other);
    prompter.calls.clear();
    bool ok = true;
    DbOpen(toOther, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(prompter.messages(), QStringList{NotDocMessage(toOther)});
}

TEST_P(EngineTest, EmptyResultsDefaultsAndNumbering) {
    OpenOk(NewDb());
    DbRows rows{{1}};
    qint64 n = -1;
    DbGetRows(QString::fromLatin1(DbSql::kAllTitles), rows, n);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(rows.isEmpty());
    DbGetRows(QStringLiteral("Select nothing From nowhere"), rows, n);
    EXPECT_EQ(n, 0);

    QVariant v;
    DbLookup(QString::fromLatin1(DbSql::kMaxNo), v, 0);
    EXPECT_EQ(v, QVariant(0)); // the aggregate is NULL
    DbLookup(DbSql::WithNo(DbSql::kParentOf, 5), v, -1);
    EXPECT_EQ(v, QVariant(-1)); // no row
    EXPECT_THROW(DbLookup(QStringLiteral("Select x From nowhere"), 0), DbError);

    EXPECT_EQ(DbNewDocNo(), 1000);
    bool ok = false;
    qint64 nRows = 0;
    DbExec(QStringLiteral("Insert Into msDoc (noDoc, szDoc) Values (1000, 'a')"), ok, nRows);
    ASSERT_TRUE(ok);
    EXPECT_EQ(nRows, 1);
    EXPECT_EQ(DbNewDocNo(), 1001);
    DbExec(QStringLiteral("Insert Into msDoc (noDoc, szDoc) Values (42000, 'b')"), ok, nRows);
    EXPECT_EQ(DbNewDocNo(), 42001);
    // A largest number of 0 restarts at 1000, as an empty table does.
    DbExec(QStringLiteral("Delete From msDoc"), ok, nRows);
    EXPECT_EQ(nRows, 2);
    DbExec(QStringLiteral("Insert Into msDoc (noDoc) Values (0)"), ok, nRows);
    EXPECT_EQ(DbNewDocNo(), 1000);
    // The last 32-bit number has no successor.
    DbExec(QStringLiteral("Insert Into msDoc (noDoc) Values (2147483647)"), ok, nRows);
    EXPECT_THROW(DbNewDocNo(), DbError);

    double lo = std::ldexp(1.0, 64), hi = 0;
    for (int i = 0; i < 2000; ++i) {
        const double r = DbNewRnd();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, std::ldexp(1.0, 64));
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    // Spread over the whole range, not bunched at one end.
    EXPECT_LT(lo, std::ldexp(1.0, 60));
    EXPECT_GT(hi, std::ldexp(1.0, 64) - std::ldexp(1.0, 60));
}

TEST_P(EngineTest, OpeningAnotherDatabaseClosesThePreviousOne) {
    const QString a = NewDb(QStringLiteral("a.txdb"));
    const QString b = NewDb(QStringLiteral("b.txdb"));
    OpenOk(a);
    bool ok = false;
    qint64 n = 0;
    DbExec(QStringLiteral("Insert Into msDoc (noDoc, szDoc) Values (1, 'A')"), ok, n);
    ASSERT_TRUE(ok);
    Recordset rs;
    DbOpenRs(DbSql::WithNo(DbSql::kDocRow, 1), rs, true, ok);
    ASSERT_TRUE(ok);
    OpenOk(b);
    EXPECT_EQ(DbFilePath(), b);
    EXPECT_EQ(DbLookup(QString::fromLatin1(DbSql::kMaxNo), 0).toInt(), 0);
    // The recordset of the first database still reads, but never writes
    // into the second one.
    EXPECT_EQ(rs.Field("szDoc").toString(), QStringLiteral("A"));
    ASSERT_TRUE(rs.SetField("szDoc", QStringLiteral("changed")));
    EXPECT_FALSE(rs.Update());
    EXPECT_FALSE(rs.LastError().isEmpty());
    DbClose();
    EXPECT_FALSE(DbIsOpen());
    DbClose(); // twice is harmless
    OpenOk(a);
    EXPECT_EQ(DbLookup(QStringLiteral("Select szDoc From msDoc"), QString()).toString(),
              QStringLiteral("A"));
}

TEST_F(DbTest, ReadOnlyFileOpensForReadingAndReportsWriteFailures) {
    const QString path = NewDb();
    ASSERT_TRUE(RunOnFile(
        path, {QStringLiteral("Insert Into msDoc (noDoc, szDoc) Values (1000, 'kept')")}));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    OpenOk(path);
    EXPECT_EQ(DbNewDocNo(), 1001);
    bool ok = true;
    qint64 n = 0;
    QString sql = QString::fromLatin1(DbSql::kTreeInsert);
    DbSql::FillSql(sql, {0, 1000, 100, QStringLiteral("x")});
    DbExec(sql, ok, n);
    EXPECT_FALSE(ok);

    Recordset rs;
    DbOpenRs(DbSql::WithNo(DbSql::kDocRow, 1000), rs, true, ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(rs.SetField("szDoc", QStringLiteral("lost")));
    EXPECT_FALSE(rs.Update());
    rs.CancelUpdate();
    EXPECT_EQ(rs.Field("szDoc").toString(), QStringLiteral("kept"));
    DbClose();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    OpenOk(path);
    EXPECT_EQ(DbLookup(QStringLiteral("Select szDoc From msDoc"), QString()).toString(),
              QStringLiteral("kept"));
}

TEST_F(DbTest, CreateRefusesExistingFiles) {
    const QString path = NewDb();
    const QByteArray before = TestEnv::readFile(path);
    bool ok = true;
    DbCreate(path, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TestEnv::readFile(path), before);
    const QString text = QFileInfo(path).absolutePath() + QStringLiteral("/t.txt");
    TestEnv::writeFile(text, "keep me");
    DbCreate(text, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TestEnv::readFile(text), QByteArray("keep me"));
    DbCreate(QStringLiteral("/nonexistent-folder/x.txdb"), ok);
    EXPECT_FALSE(ok);
    DbCreate(QString(), ok);
    EXPECT_FALSE(ok);
}
