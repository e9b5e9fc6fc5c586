#pragma once
// Shared pieces of the database tests: a fixture that answers the message
// boxes and closes the connection after each test, and helpers that make
// real SQLite files.

#include "Db.h"
#include "DbSchema.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"

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
