#pragma once
// A real document database (a SQLite file, or a database on the tests' own
// server), a real editor control opened as the main window opens it, a
// scripted prompter and the status texts the store shows.

#include "../tree/sbTrXScript.h"
#include "Db.h"
#include "DbSchema.h"
#include "PageStore.h"
#include "PgServer.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTrX.h"
#include "uTxm.h"
#include "yIni.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class PageStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestEnv::freshDir(QStringLiteral("pagestore"));
        Usr::sUsrFd = dir + QStringLiteral("/usr/");
        Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
        QDir().mkpath(Usr::sWrkFd);
        yIni& ini = settings();
        ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
        ini.sXmlPh.clear();
        Usr::nWaLft = Usr::nWaTop = 0;
        Usr::nWaWid = 1600 * Usr::kTwipsPerPixel;
        Usr::nWaHgt = 1000 * Usr::kTwipsPerPixel;
        if (DbFixtureOnServer())
            FOLIUM_REQUIRE_PG();
        path = DbFixtureDatabase(dir);
        ASSERT_FALSE(path.isEmpty());
        bool ok = false;
        Usr::DbOpen(path, ok);
        ASSERT_TRUE(ok);
        ed = std::make_unique<uTxm>();
        ed->resize(900, 600);
        ed->show();
        ed->cOn(0, 1);
        store = std::make_unique<PageStore>(*ed, [this](const QString& s) { aStatus << s; });
    }
    void TearDown() override {
        store.reset();
        if (ed && ed->bLoad) {
            ed->SetDcEdt(false);
            ed->cOff();
        }
        ed.reset();
        Usr::DbClose();
    }

    // Types into the editor as the user does.
    void Type(const QString& s) {
        ed->mTxt->setFocus();
        for (const QChar c : s) {
            const bool bEnter = c == u'\r';
            QKeyEvent press(QEvent::KeyPress, bEnter ? Qt::Key_Return : Qt::Key_unknown,
                            Qt::NoModifier, bEnter ? QString() : QString(c));
            QApplication::sendEvent(ed->mTxt, &press);
        }
    }
    static void Sql(const QString& s) {
        bool ok = false;
        qint64 n = 0;
        Usr::DbExec(s, ok, n);
        ASSERT_TRUE(ok) << s.toStdString();
    }
    static QVariant Value(const QString& s) { return Usr::DbLookup(s, QVariant()); }
    // Bytes as an SQL literal of the engine under test.
    static QString Blob(const QByteArray& y) {
        return DbFixtureOnServer() ? QStringLiteral("'\\x%1'::bytea").arg(QLatin1String(y.toHex()))
                                   : QStringLiteral("X'%1'").arg(QLatin1String(y.toHex()));
    }
    // Makes every insert into `table` fail with `message` (a trigger
    // `name`), as a full disk or a lock would, until AllowInserts.
    static void FailInserts(const QString& table, const QString& name, const QString& message) {
        if (!DbFixtureOnServer()) {
            Sql(QStringLiteral("Create Trigger %1 Before Insert On %2 Begin"
                               " Select RAISE(ABORT, '%3'); End")
                    .arg(name, table, message));
            return;
        }
        Sql(QStringLiteral("Create Function %1() Returns trigger Language plpgsql As"
                           " $f$Begin Raise Exception '%2'; End$f$")
                .arg(name, message));
        Sql(QStringLiteral("Create Trigger %1 Before Insert On %2 For Each Row"
                           " Execute Function %1()")
                .arg(name, table));
    }
    static void AllowInserts(const QString& table, const QString& name) {
        Sql(DbFixtureOnServer() ? QStringLiteral("Drop Trigger %1 On %2").arg(name, table)
                                : QStringLiteral("Drop Trigger %1").arg(name));
    }
    static qint64 Count(const QString& table, const QString& where = QStringLiteral("1=1")) {
        return Value(QStringLiteral("Select Count(*) From %1 Where %2").arg(table, where))
            .toLongLong();
    }
    static QString Today() { return QDate::currentDate().toString(Qt::ISODate); }
    // A code page at the top level of the tree.
    static void CodePage(int no, const QString& title) {
        Sql(QStringLiteral("Insert Into msDoc (noDoc, boUse, boCod, szDoc, dyUdt)"
                           " Values (%1, 1, 1, '%2', '2024-01-01')")
                .arg(no)
                .arg(title));
        Sql(QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk)"
                           " Values (0, %1, 0, '%2', 0)")
                .arg(no)
                .arg(title));
    }
    // Answers the next page-tree dialog.
    void OnDialog(std::function<void(sbTrX&)> fn) { AnswerTreeDialog(prompter, std::move(fn)); }

    QString dir, path;
    ScriptedPrompter prompter;
    std::unique_ptr<uTxm> ed;
    std::unique_ptr<PageStore> store;
    QStringList aStatus;
};
