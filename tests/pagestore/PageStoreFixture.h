#pragma once
// A real document database, a real editor control opened as the main window
// opens it, a scripted prompter and the status texts the store shows.

#include "../tree/sbTrXScript.h"
#include "Db.h"
#include "DbSchema.h"
#include "PageStore.h"
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
        path = dir + QStringLiteral("/doc.txdb");
        bool ok = false;
        Usr::DbCreate(path, ok);
        ASSERT_TRUE(ok);
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
