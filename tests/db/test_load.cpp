// Several users on one database at once: four processes export pages under
// one parent, rename them and re-sort the level, all at the same time. After
// them every page is there once with its content, numbers are unique and
// contiguous, the level's order is whole, and the same work leaves the same
// pages on both engines. The copy between engines keeps every row and byte.
#include "DbCopy.h"
#include "DbFind.h"
#include "DbLevel.h"
#include "DbPage.h"
#include "DbSql.h"
#include "DbTestUtil.h"
#include "LoadPayload.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <algorithm>
#include <memory>

using namespace Usr;

namespace {

constexpr int kWorkers = 4;
constexpr int kPages = 500;
constexpr qint64 kParent = 1000;

// Numbers as qlonglong, texts as QString, bytes as QByteArray, whatever the
// engine's driver hands out.
QVariant Normal(const QVariant& v) {
    if (v.isNull())
        return QVariant();
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return v.toLongLong();
    default:
        return v;
    }
}

// Every row of the three tables, every column, in key order.
QList<QVariantList> Dump() {
    const QStringList sql = {
        QStringLiteral("Select noDoc, boUse, boCod, szDoc, txDoc, obDoc, dyUdt, wkRnd From msDoc"
                       " Order By noDoc"),
        QStringLiteral("Select noLfP, noLfC, inSrt, szDoc, boUse, boLnk, dyUdt, dyUdt_P, dyPub,"
                       " boHide, boHogo From tbTree Order By noLfP, noLfC"),
        QStringLiteral("Select DmFmt From kaUsr")};
    QList<QVariantList> out;
    for (const QString& s : sql) {
        DbRows rows;
        qint64 n = 0;
        DbGetRows(s, rows, n);
        for (qint64 r = 0; r < n; ++r) {
            QVariantList row;
            for (const QVariantList& col : rows)
                row << Normal(col[r]);
            out << row;
        }
    }
    return out;
}

// What must not depend on which engine did the work or in which order the
// users came: each page's title, text and bytes, and the title of its place.
QStringList Pages() {
    DbRows rows;
    qint64 n = 0;
    DbGetRows(QStringLiteral("Select D.szDoc, D.txDoc, D.obDoc, T.szDoc From msDoc D, tbTree T"
                             " Where T.noLfC = D.noDoc And T.noLfP = %1")
                  .arg(kParent),
              rows, n);
    QStringList out;
    for (qint64 r = 0; r < n; ++r)
        out << rows[0][r].toString() + u'|' + rows[1][r].toString() + u'|' +
                   QString::fromLatin1(rows[2][r].toByteArray().toHex()) + u'|' +
                   rows[3][r].toString();
    out.sort();
    return out;
}

class LoadTest : public BothEngines {
protected:
    // A new database with the parent page, and the work of the four users
    // on it; checks what must hold after them.
    QString Work() {
        const QString db = NewDb(QStringLiteral("shared.txdb"));
        OpenOk(db);
        bool isNew = false;
        QString err;
        EXPECT_TRUE(DbPage::WriteDoc(DbNewDocNo(), QStringLiteral("親"), {}, {}, isNew, err));
        EXPECT_TRUE(DbPage::WriteTreeRow(0, kParent, QStringLiteral("親"), err));
        DbClose();

        std::vector<std::unique_ptr<QProcess>> procs;
        for (int w = 0; w < kWorkers; ++w) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(DB_LOAD_WORKER),
                     {db, QString::number(w), QString::number(kPages), QString::number(kParent)});
            EXPECT_TRUE(p->waitForStarted(10000));
            procs.push_back(std::move(p));
        }
        for (auto& p : procs) {
            EXPECT_TRUE(p->waitForFinished(600000));
            EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        }

        OpenOk(db);
        // Every page once, with its content; numbers unique and contiguous.
        DbRows rows;
        qint64 n = 0;
        DbGetRows(QStringLiteral("Select noDoc, szDoc, txDoc, obDoc From msDoc Order By noDoc"),
                  rows, n);
        EXPECT_EQ(n, 1 + kWorkers * kPages);
        QHash<QString, int> seen;
        for (qint64 r = 0; r < n; ++r) {
            EXPECT_EQ(rows[0][r].toLongLong(), kParent + r);
            seen[rows[1][r].toString()]++;
        }
        for (int w = 0; w < kWorkers; ++w)
            for (int i = 0; i < kPages; ++i)
                EXPECT_EQ(seen.value(LoadPayload::Title(w, i)), 1) << w << " " << i;
        for (qint64 r = 1; r < n; ++r) {
            const QStringList parts = rows[1][r].toString().split(u' ');
            const int w = parts[0].mid(3).toInt(), i = parts.last().toInt();
            EXPECT_EQ(rows[2][r].toString(), LoadPayload::Text(w, i));
            EXPECT_EQ(rows[3][r].toByteArray(), LoadPayload::Bytes(w, i));
        }
        // The level: every page once, positions 0, 1, 2, ... without a gap
        // or a position shared; each place titled as its page or renamed.
        DbGetRows(QStringLiteral("Select T.inSrt, T.szDoc, D.szDoc From tbTree T, msDoc D"
                                 " Where T.noLfC = D.noDoc And T.noLfP = %1 Order By T.inSrt")
                      .arg(kParent),
                  rows, n);
        EXPECT_EQ(n, kWorkers * kPages);
        for (qint64 r = 0; r < n; ++r) {
            EXPECT_EQ(rows[0][r].toLongLong(), r);
            const QString place = rows[1][r].toString(), page = rows[2][r].toString();
            EXPECT_TRUE(place == page || place == page + QStringLiteral(" 改"))
                << place.toStdString();
        }
        EXPECT_EQ(DbLookup(QStringLiteral("Select count(*) From tbTree"), 0).toLongLong(),
                  1 + kWorkers * kPages);
        return db;
    }
};

} // namespace

TEST(DbLevel, MergeKeepsOtherUsersChildren) {
    using DbLevel::Merge;
    using P = DbLevel::Pos;
    // The same children: the positions as the view gives them, gaps and all.
    EXPECT_EQ(Merge({1, 2, 3}, {{3, 0}, {1, 4}, {2, 5}}), (QList<P>{{3, 0}, {1, 4}, {2, 5}}));
    // Another user added 9 after 2, and removed 3: 9 stays after 2, 3 is
    // not written back, the order is renumbered.
    EXPECT_EQ(Merge({1, 2, 9}, {{2, 0}, {1, 1}, {3, 2}}), (QList<P>{{2, 0}, {9, 1}, {1, 2}}));
    // Unknown children at the front and several in a row.
    EXPECT_EQ(Merge({7, 1, 8, 9, 2}, {{2, 0}, {1, 1}}),
              (QList<P>{{7, 0}, {2, 1}, {1, 2}, {8, 3}, {9, 4}}));
    // A child named twice counts once; an empty level stays empty.
    EXPECT_EQ(Merge({1, 2}, {{1, 0}, {1, 1}, {2, 2}}), (QList<P>{{1, 0}, {2, 1}}));
    EXPECT_TRUE(Merge({}, {{1, 0}}).isEmpty());
}

TEST_F(LoadTest, FourUsersAtOnceOnBothEnginesAndCopiesBetweenThem) {
    FOLIUM_REQUIRE_PG();
    struct Engine {
        DbSql::Engine e;
        QString db;
        QStringList pages;
        QList<QVariantList> dump;
    };
    QList<Engine> runs;
    for (DbSql::Engine e : {DbSql::Engine::Sqlite, DbSql::Engine::Postgres}) {
        engine_ = e;
        QElapsedTimer t;
        t.start();
        Engine run{e, Work(), {}, {}};
        run.pages = Pages();
        run.dump = Dump();
        std::printf("%s: %lld ms\n", Server() ? "server" : "file", qint64(t.elapsed()));
        DbClose();
        runs << run;
        if (HasFailure())
            return;
    }
    EXPECT_EQ(runs[0].pages.size(), kWorkers * kPages);
    EXPECT_TRUE(runs[0].pages == runs[1].pages);

    // Each engine's database copied to the other: every row and byte.
    for (int from = 0; from < 2; ++from) {
        engine_ = runs[1 - from].e;
        QString target;
        if (engine_ == DbSql::Engine::Sqlite) {
            target = TestEnv::freshDir(QStringLiteral("copy")) + QStringLiteral("/copy.txdb");
        } else {
            PgServer* pg = PgServer::instance();
            target = TestEnv::freshDir(QStringLiteral("copy")) + QStringLiteral("/copy.udl");
            WriteUdl(target, pg->udlText(pg->newDatabase()));
        }
        QString out, err;
        QTextStream o(&out), e(&err);
        ASSERT_EQ(RunCopyCommand({"--headless", "--copy-db", runs[from].db, target}, o, e), 0)
            << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("%1 / %1 rows").arg(runs[from].dump.size())))
            << err.toStdString();
        OpenOk(target);
        const QList<QVariantList> copied = Dump();
        ASSERT_EQ(copied.size(), runs[from].dump.size());
        for (qsizetype r = 0; r < copied.size(); ++r)
            ASSERT_EQ(copied[r], runs[from].dump[r]) << "row " << r;
        // The copy is a working database: the find answers on it.
        bool ok = false;
        EXPECT_EQ(DbFind(QStringLiteral("利用者3 の頁 49"), QStringLiteral("szDoc"), ok).size(),
                  15);
        EXPECT_EQ(DbFind(QStringLiteral("本文 2-499"), QStringLiteral("txDoc"), ok).size(), 1);
        EXPECT_TRUE(ok);
        DbClose();
        // A second copy into the same target is refused: it holds pages.
        out.clear();
        err.clear();
        EXPECT_EQ(RunCopyCommand({"--copy-db", runs[from].db, target}, o, e), 1);
        EXPECT_TRUE(err.contains(QStringLiteral("already holds pages"))) << err.toStdString();
    }
}

// The copy goes only into a new file, an empty server database or a
// document database without pages; anything else is refused and left as it
// was, with the reason.
TEST_F(DbTest, CopyRefusesTargetsItWouldSpoil) {
    const QString from = NewDb(QStringLiteral("from.txdb"));
    OpenOk(from);
    bool isNew = false;
    QString err;
    ASSERT_TRUE(DbPage::WriteDoc(1000, QStringLiteral("頁"), QStringLiteral("本文"),
                                 QByteArray("\0\1\2", 3), isNew, err));
    DbClose();
    const QString dir = TestEnv::freshDir(QStringLiteral("copy"));
    const QString text = dir + QStringLiteral("/note.txt");
    TestEnv::writeFile(text, "keep me");
    const QString full = dir + QStringLiteral("/full.txdb");
    ASSERT_TRUE(DbCopy(from, full, err)) << err.toStdString();
    const QByteArray fullBytes = TestEnv::readFile(full);
    const QString other = dir + QStringLiteral("/other.sqlite");
    ASSERT_TRUE(RunOnFile(other, {QStringLiteral("Create Table t (a)")}));
    for (const auto& [to, why] :
         QList<QPair<QString, QString>>{{full, QStringLiteral("already holds pages")},
                                        {text, QStringLiteral("DataBase Open Error !!")},
                                        {other, QStringLiteral(" は文書DBではありません")},
                                        {from, QStringLiteral("two different databases")}}) {
        err.clear();
        EXPECT_FALSE(DbCopy(from, to, err)) << to.toStdString();
        EXPECT_TRUE(err.contains(why)) << err.toStdString();
    }
    EXPECT_EQ(TestEnv::readFile(text), QByteArray("keep me"));
    EXPECT_EQ(TestEnv::readFile(full), fullBytes);
    EXPECT_FALSE(DbCopy(dir + QStringLiteral("/none.txdb"), dir + QStringLiteral("/x.txdb"), err));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/x.txdb")));
    // The copy itself: the page with its bytes, and a working find.
    OpenOk(full);
    EXPECT_EQ(DbPage::Read(1000).yDoc, QByteArray("\0\1\2", 3));
    bool ok = false;
    EXPECT_EQ(DbFind(QStringLiteral("本文"), QStringLiteral("txDoc"), ok).size(), 1);
}
