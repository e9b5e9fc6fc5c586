#pragma once
// Shared pieces of the database tests: a fixture that answers the message
// boxes and closes the connection after each test, and helpers that make
// real SQLite files.

#include "Db.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "PgServer.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

class DbTest : public ::testing::Test {
protected:
    void TearDown() override { Usr::DbClose(); }

    // A new, empty document database in a fresh folder.
    QString NewDb(const QString& sName = QStringLiteral("doc.txdb")) {
        const QString path = TestEnv::freshDir(QStringLiteral("db")) + u'/' + sName;
        bool ok = false;
        Usr::DbCreate(path, ok);
        EXPECT_TRUE(ok) << path.toStdString();
        return path;
    }

    // Opens `sPath` and expects it to open as a document database.
    void OpenOk(const QString& sPath) {
        bool ok = false;
        Usr::DbOpen(sPath, ok);
        ASSERT_TRUE(ok) << sPath.toStdString();
        ASSERT_TRUE(Usr::DbIsOpen());
    }

    ScriptedPrompter prompter;
};

// The same tests on both engines: a SQLite file, and a database on the
// tests' own PostgreSQL server named by a data link. NewDb() gives a path
// DbOpen takes either way (the file, or the .udl) for the engine in
// `engine_`.
class BothEngines : public DbTest {
protected:
    bool Server() const { return engine_ == DbSql::Engine::Postgres; }

    QString NewDb(const QString& sName = QStringLiteral("doc.txdb")) {
        if (!Server())
            return DbTest::NewDb(sName);
        PgServer* pg = PgServer::instance();
        const QString udl = TestEnv::freshDir(QStringLiteral("udl")) + u'/' +
                            QFileInfo(sName).completeBaseName() + QStringLiteral(".udl");
        WriteUdl(udl, pg->udlText(pg->newDatabase()));
        bool ok = false;
        Usr::DbCreate(udl, ok);
        EXPECT_TRUE(ok) << udl.toStdString();
        return udl;
    }

    DbSql::Engine engine_ = DbSql::Engine::Sqlite;
};

// A test run once on each engine.
class EngineTest : public BothEngines, public ::testing::WithParamInterface<DbSql::Engine> {
protected:
    void SetUp() override {
        engine_ = GetParam();
        if (Server())
            FOLIUM_REQUIRE_PG();
    }
};

inline std::string EngineName(const ::testing::TestParamInfo<DbSql::Engine>& info) {
    return info.param == DbSql::Engine::Postgres ? "Postgres" : "Sqlite";
}

#define FOLIUM_BOTH_ENGINES(Fixture)                                                               \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture,                                                     \
                             ::testing::Values(DbSql::Engine::Sqlite, DbSql::Engine::Postgres),    \
                             EngineName)

// Runs statements on a SQLite file through a connection of its own.
inline bool RunOnFile(const QString& sPath, const QStringList& aSql) {
    const QString name = QStringLiteral("test_side_connection");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(sPath);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& s : aSql)
            ok = ok && q.exec(s);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// The first column of every row of a statement on the open database.
inline QVariantList Column(const QString& sSql, int nCol = 0) {
    Usr::DbRows rows;
    qint64 n = 0;
    Usr::DbGetRows(sSql, rows, n);
    return n ? rows.value(nCol) : QVariantList();
}

// ASCII letters to lower case and nothing else: how titles compare and the
// find matches, worked out without SQL.
inline QString AsciiLower(const QString& s) {
    QString out = s;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}
