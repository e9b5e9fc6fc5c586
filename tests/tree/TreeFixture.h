#pragma once
// The page tree tests: a real document database per test (a SQLite file, or
// a database on the tests' own server), rows written by plain SQL, and a
// control whose events are recorded.

#include "Db.h"
#include "DbSchema.h"
#include "PgServer.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TreeKeys.h"
#include "trView.h"
#include "uTrX.h"

#include <QStringList>
#include <QTest>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <memory>

// What the control told its host.
struct SetDocCall {
    QString sNoP, sNo, sSz;
    int iJb = -1;
    bool bHg = false;
};

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (DbFixtureOnServer())
            FOLIUM_REQUIRE_PG();
        const QString path = DbFixtureDatabase(TestEnv::freshDir(QStringLiteral("tree")));
        ASSERT_FALSE(path.isEmpty());
        bool ok = false;
        Usr::DbOpen(path, ok);
        ASSERT_TRUE(ok);
        x = std::make_unique<uTrX>();
        x->resize(300, 500);
        QObject::connect(x.get(), &uTrX::eFmMsg, [this](const QString& s) { aMsg << s; });
        QObject::connect(
            x.get(), &uTrX::eSetDoc,
            [this](const QString& p, const QString& n, const QString& s, int j, bool h) {
                aDoc.append({p, n, s, j, h});
            });
        QObject::connect(x.get(), &uTrX::eChkMove, [this](bool& bCan) {
            ++nChk;
            bCan = bRefuse;
        });
        QObject::connect(x.get(), &uTrX::eSetFrame, [this](int i) { aFrame << i; });
        QObject::connect(x.get(), &uTrX::eFndWd, [this](const QString& s) { aFnd << s; });
        QObject::connect(x.get(), &uTrX::eRightClick, [this](bool b) { aRight << b; });
    }
    void TearDown() override {
        x.reset();
        Usr::DbClose();
    }

    static void Sql(const QString& s) {
        bool ok = false;
        qint64 n = 0;
        Usr::DbExec(s, ok, n);
        ASSERT_TRUE(ok) << s.toStdString();
    }
    static void Doc(int no, const QString& title, int cod = 0,
                    const QString& date = QStringLiteral("2024-05-01"),
                    const QString& text = QString()) {
        Sql(QStringLiteral("Insert Into msDoc (noDoc, boUse, boCod, szDoc, txDoc, dyUdt)"
                           " Values (%1, 1, %2, '%3', '%4', '%5')")
                .arg(no)
                .arg(cod)
                .arg(QString(title).replace(QStringLiteral("'"), QStringLiteral("''")),
                     QString(text).replace(QStringLiteral("'"), QStringLiteral("''")), date));
    }
    // A tree row; a null title is stored as NULL.
    static void Row(int p, int c, int srt, const QString& title, int lnk = 0) {
        const QString sz =
            title.isNull()
                ? QStringLiteral("NULL")
                : u'\'' + QString(title).replace(QStringLiteral("'"), QStringLiteral("''")) + u'\'';
        Sql(QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk)"
                           " Values (%1, %2, %3, %4, %5)")
                .arg(p)
                .arg(c)
                .arg(srt)
                .arg(sz)
                .arg(lnk));
    }
    // A document with its home place.
    static void Page(int p, int c, int srt, const QString& title, int cod = 0) {
        Doc(c, title, cod);
        Row(p, c, srt, title);
    }
    static QVariant Value(const QString& s) { return Usr::DbLookup(s, QVariant()); }
    static int Srt(int p, int c) {
        return Value(QStringLiteral("Select inSrt From tbTree Where noLfP=%1 And noLfC=%2")
                         .arg(p)
                         .arg(c))
            .toInt();
    }
    static QString Title(int p, int c) {
        return Value(QStringLiteral("Select szDoc From tbTree Where noLfP=%1 And noLfC=%2")
                         .arg(p)
                         .arg(c))
            .toString();
    }
    static qint64 Rows(const QString& where = QStringLiteral("1=1")) {
        return Value(QStringLiteral("Select Count(*) From tbTree Where ") + where).toLongLong();
    }

    trView* T() const { return x->Tree(); }
    QString Key(QTreeWidgetItem* o) const { return T()->Key(o); }
    QString Img(QTreeWidgetItem* o) const { return T()->Img(o); }
    // The node of document `no` (first in index order, kinds N and L).
    QTreeWidgetItem* NodeOf(int no) const {
        for (int i = 1; i <= T()->Count(); ++i) {
            const QString k = Key(T()->Node(i));
            if (!k.startsWith(u'X') && TreeKeys::KyNo(k) == no)
                return T()->Node(i);
        }
        return nullptr;
    }
    QStringList Texts(const QList<QTreeWidgetItem*>& a) const {
        QStringList out;
        for (auto* o : a)
            out << o->text(0);
        return out;
    }
    QStringList Kids(QTreeWidgetItem* o) const {
        QStringList out;
        for (int i = 0; i < o->childCount(); ++i)
            out << o->child(i)->text(0);
        return out;
    }
    // A left click on the label of node `no` (the control must be shown).
    void Click(int no, Qt::MouseButton button = Qt::LeftButton) {
        QTreeWidgetItem* o = NodeOf(no);
        ASSERT_NE(o, nullptr) << no;
        T()->scrollToItem(o);
        QTest::mouseClick(T()->viewport(), button, {}, T()->visualItemRect(o).center());
    }
    void LoadTop() {
        x->ClearItem(true);
        x->SetNodes(QStringLiteral("0"));
    }

    ScriptedPrompter prompter;
    std::unique_ptr<uTrX> x;
    QStringList aMsg, aFnd;
    QList<SetDocCall> aDoc;
    QList<int> aFrame;
    QList<bool> aRight;
    int nChk = 0;
    bool bRefuse = false; // the host's answer to eChkMove
};
