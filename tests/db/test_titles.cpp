// Titles compare and sort with the ASCII letters folded and nothing else, on
// SQLite and on servers whatever their character classes; server databases
// of an earlier version are brought up to date when opened, keeping every
// row; two-character words are found from an index of character pairs.
#include "Db.h"
#include "DbFind.h"
#include "DbSql.h"
#include "DbTestUtil.h"

#include <QThread>
#include <algorithm>

using namespace Usr;

namespace {

// Titles that differ only in letters some folding rules take for one:
// non-ASCII case pairs, ß against SS, full-width letters, and Japanese
// (half-width katakana, kanji) beside ASCII ones.
const QStringList kTitles = {
    QStringLiteral("Ä"),       QStringLiteral("ä"),
    QStringLiteral("Straße"),  QStringLiteral("Ａ"),
    QStringLiteral("ｂ"),      QStringLiteral("報告書"),
    QStringLiteral("ｶﾞｲﾄﾞ"),   QStringLiteral("議事録 Kyoto"),
    QStringLiteral("Déjà vu"), QStringLiteral("It's '?'"),
};
// What is asked: each of the titles and their other forms.
const QStringList kAsked = {
    QStringLiteral("Ä"),       QStringLiteral("ä"),       QStringLiteral("STRASSE"),
    QStringLiteral("strasse"), QStringLiteral("STRAßE"),  QStringLiteral("straße"),
    QStringLiteral("Ａ"),      QStringLiteral("ａ"),      QStringLiteral("Ｂ"),
    QStringLiteral("ｂ"),      QStringLiteral("報告書"),  QStringLiteral("報告"),
    QStringLiteral("ｶﾞｲﾄﾞ"),   QStringLiteral("ガイド"),  QStringLiteral("議事録 KYOTO"),
    QStringLiteral("DÉJÀ VU"), QStringLiteral("déjà VU"), QStringLiteral("IT'S '?'"),
    QStringLiteral("it's"),
};
constexpr int kCode = 900;

// Files the titles under one code page as the statements do.
void FileTitles() {
    bool ok = false;
    qint64 n = 0;
    DbExec(
        QStringLiteral("Insert Into msDoc (noDoc, boCod, szDoc) Values (%1, 1, 'code')").arg(kCode),
        ok, n);
    ASSERT_TRUE(ok);
    for (int i = 0; i < kTitles.size(); ++i) {
        DbExec(QStringLiteral("Insert Into msDoc (noDoc, szDoc, txDoc) Values (%1, '%2', '%2')")
                   .arg(1000 + i)
                   .arg(DbSql::SqlStr(kTitles[i])),
               ok, n);
        ASSERT_TRUE(ok);
        QString sql = QString::fromLatin1(DbSql::kTreeInsertCod);
        DbSql::FillSql(sql, {kCode, 1000 + i, kTitles[i]});
        DbExec(sql, ok, n);
        ASSERT_TRUE(ok);
    }
}

// Every answer the titles give: the page of the same title under the code
// page for each asked title, the finds over titles and texts, and every
// title in title order.
struct Answers {
    QList<qint64> dup;
    QList<QList<FoundDoc>> found;
    QVariantList order;
    bool operator==(const Answers&) const = default;
};

Answers Ask() {
    Answers a;
    for (const QString& t : kAsked) {
        QString sql = QString::fromLatin1(DbSql::kDupTitle);
        DbSql::FillSql(sql, {kCode, t});
        a.dup << DbLookup(sql, 0).toLongLong();
        for (const char* col : {"szDoc", "txDoc"}) {
            bool ok = false;
            a.found << DbFind(t, QString::fromLatin1(col), ok);
            EXPECT_TRUE(ok) << t.toStdString();
        }
    }
    a.order = Column(QString::fromLatin1(DbSql::kAllTitles), 1);
    return a;
}

// The answers worked out without SQL: titles equal when they are equal
// with the ASCII letters folded; a find word found when it is part of the
// folded title; titles ordered by their folded UTF-8 bytes.
Answers Expected() {
    Answers a;
    for (const QString& t : kAsked) {
        qint64 no = 0;
        for (int i = 0; i < kTitles.size(); ++i)
            if (AsciiLower(kTitles[i]) == AsciiLower(t))
                no = 1000 + i;
        a.dup << no;
        QList<FoundDoc> found;
        const QStringList words = t.split(u' ');
        for (int i = 0; i < kTitles.size(); ++i)
            if (std::all_of(words.begin(), words.end(), [&](const QString& w) {
                    return AsciiLower(kTitles[i]).contains(AsciiLower(w));
                }))
                found.append({1000 + i, kTitles[i]});
        std::sort(found.begin(), found.end(), [](const FoundDoc& x, const FoundDoc& y) {
            return AsciiLower(x.szDoc).toUtf8() < AsciiLower(y.szDoc).toUtf8();
        });
        a.found << found << found;
    }
    QStringList all = kTitles;
    all << QStringLiteral("code");
    std::sort(all.begin(), all.end(), [](const QString& x, const QString& y) {
        return AsciiLower(x).toUtf8() < AsciiLower(y).toUtf8();
    });
    for (const QString& t : all)
        a.order << t;
    return a;
}

class TitleTest : public BothEngines {
protected:
    // A server database of the given locale (the cluster's own when empty),
    // made a document database by DbCreate.
    QString ServerDb(const QString& sLocale) {
        PgServer* pg = PgServer::instance();
        const QString udl = TestEnv::freshDir(QStringLiteral("udl")) + QStringLiteral("/doc.udl");
        WriteUdl(udl, pg->udlText(pg->newDatabase(sLocale)));
        bool ok = false;
        DbCreate(udl, ok);
        EXPECT_TRUE(ok);
        return udl;
    }
    static QString ServerValue(const QString& sql) { return DbLookup(sql, QVariant()).toString(); }
};

// Two pages whose titles are the same but for case: the first under the
// earlier schema's citext, which said Ä = ä under a Unicode LC_CTYPE.
const QStringList kEarlierSchema = {
    QStringLiteral("Create Extension If Not Exists citext"),
    QStringLiteral("Create Extension If Not Exists pg_trgm"),
    QStringLiteral("Create Or Replace Function folium_fold(text) Returns text Language sql"
                   " Immutable Strict Parallel Safe As $f$Select lower($1 Collate \"C\")$f$"),
    QStringLiteral("Create Table msDoc (noDoc integer NOT NULL PRIMARY KEY, boUse integer"
                   " DEFAULT 0, boCod integer DEFAULT 0, szDoc citext COLLATE \"C\", txDoc text,"
                   " obDoc bytea, dyUdt text, wkRnd double precision)"),
    QStringLiteral("Create Table tbTree (noLfP integer NOT NULL, noLfC integer NOT NULL,"
                   " inSrt integer, szDoc citext COLLATE \"C\", boUse integer DEFAULT 0,"
                   " boLnk integer DEFAULT 0, dyUdt text, dyUdt_P text, dyPub text,"
                   " boHide integer DEFAULT 0, boHogo integer DEFAULT 0,"
                   " PRIMARY KEY (noLfP, noLfC))"),
    QStringLiteral("Create Table kaUsr (DmFmt text)"),
    QStringLiteral("Insert Into kaUsr (DmFmt) Values ('1')"),
    QStringLiteral("Create Index ixTreeSort On tbTree (noLfP, inSrt)"),
    QStringLiteral("Create Index ixTreeChild On tbTree (noLfC)"),
    QStringLiteral("Create Index ixDocCod On msDoc (boCod)"),
    QStringLiteral("Create Index ixDocTitle On msDoc (szDoc)"),
    QStringLiteral("Create Index ixDocTitleFind On msDoc Using gin (folium_fold(szDoc)"
                   " gin_trgm_ops)"),
    QStringLiteral("Create Index ixDocTextFind On msDoc Using gin (folium_fold(txDoc)"
                   " gin_trgm_ops)"),
    QStringLiteral("Insert Into msDoc (noDoc, boCod, szDoc, txDoc, obDoc) Values"
                   " (900, 1, 'code', NULL, NULL), (1000, 0, 'Ä', '議事録 本文', '\\x00ff'),"
                   " (1001, 0, 'ä', 'Budget 予算', NULL)"),
    QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk) Values"
                   " (0, 900, 1, 'code', 0), (900, 1000, 100, 'Ä', 0), (900, 1001, 100, 'ä', 0)"),
};

QString DupOf(const QString& t) {
    QString sql = QString::fromLatin1(DbSql::kDupTitle);
    DbSql::FillSql(sql, {kCode, t});
    return DbLookup(sql, 0).toString();
}

QStringList FoundNos(const QString& words, const char* col) {
    bool ok = false;
    QStringList out;
    for (const FoundDoc& f : DbFind(words, QString::fromLatin1(col), ok))
        out << QString::number(f.noDoc);
    EXPECT_TRUE(ok);
    return out;
}

} // namespace

// The same answers on SQLite, on a server database of the cluster's
// Unicode locale and on one of the "C" locale, and the answers the folding
// rule gives.
TEST_F(TitleTest, TitlesFoldOnlyAsciiLettersOnEveryEngineAndLocale) {
    OpenOk(DbTest::NewDb());
    FileTitles();
    const Answers onFile = Ask();
    DbClose();
    EXPECT_EQ(onFile.dup, Expected().dup);
    EXPECT_EQ(onFile.found, Expected().found);
    EXPECT_EQ(onFile.order, Expected().order);

    FOLIUM_REQUIRE_PG();
    QStringList locales{QString()};
    if (PgServer::instance()->locale() != QLatin1String("C"))
        locales << QStringLiteral("C");
    for (const QString& locale : locales) {
        SCOPED_TRACE(locale.isEmpty() ? PgServer::instance()->locale().toStdString()
                                      : locale.toStdString());
        OpenOk(ServerDb(locale));
        FileTitles();
        const Answers onServer = Ask();
        EXPECT_EQ(onServer.dup, onFile.dup);
        EXPECT_EQ(onServer.found, onFile.found);
        EXPECT_EQ(onServer.order, onFile.order);
        DbClose();
    }
}

// A database of the earlier schema opens with every row as it was, its
// titles compared as on SQLite afterwards (Ä and ä are two titles), with
// the newer indexes. A user who may not change the tables still opens it
// and finds in it, the schema left as it was, until the owner opens it.
TEST_F(TitleTest, EarlierServerSchemaIsBroughtUpToDateKeepingEveryRow) {
    FOLIUM_REQUIRE_PG();
    PgServer* pg = PgServer::instance();
    const QString db = pg->newDatabase();
    ASSERT_TRUE(pg->run(db, kEarlierSchema));
    ASSERT_TRUE(pg->admin(QStringLiteral("postgres"),
                          {QStringLiteral("Drop Role If Exists folium_reader"),
                           QStringLiteral("Create Role folium_reader Login Password '%1'")
                               .arg(PgServer::kPassword)}));
    ASSERT_TRUE(pg->run(db, {QStringLiteral("Grant Select, Insert, Update, Delete On msDoc,"
                                            " tbTree, kaUsr To folium_reader")}));
    const QString dir = TestEnv::freshDir(QStringLiteral("udl"));
    const QString reader = dir + QStringLiteral("/reader.udl"), owner = dir + "/owner.udl";
    WriteUdl(reader, pg->udlText(db, QStringLiteral("folium_reader")));
    WriteUdl(owner, pg->udlText(db));
    const QString rows = QStringLiteral(
        "Select string_agg(concat_ws('|', noDoc, boCod, szDoc, txDoc, encode(obDoc, 'hex')),"
        " ';' Order By noDoc) From msDoc");
    const QString tree = QStringLiteral("Select string_agg(concat_ws('|', noLfP, noLfC, inSrt,"
                                        " szDoc), ';' Order By noLfP, noLfC) From tbTree");
    const QString type = QStringLiteral("Select string_agg(udt_name, ',') From"
                                        " information_schema.columns Where column_name = 'szdoc'");

    OpenOk(reader);
    const QString rowsBefore = ServerValue(rows), treeBefore = ServerValue(tree);
    EXPECT_EQ(ServerValue(type), QStringLiteral("citext,citext"));
    EXPECT_EQ(FoundNos(QStringLiteral("議事"), "txDoc"), QStringList{"1000"});
    EXPECT_EQ(FoundNos(QStringLiteral("budget"), "txDoc"), QStringList{"1001"});
    DbClose();

    OpenOk(owner);
    EXPECT_EQ(ServerValue(type), QStringLiteral("text,text"));
    EXPECT_EQ(ServerValue(rows), rowsBefore);
    EXPECT_EQ(ServerValue(tree), treeBefore);
    EXPECT_EQ(DupOf(QStringLiteral("Ä")), QStringLiteral("1000"));
    EXPECT_EQ(DupOf(QStringLiteral("ä")), QStringLiteral("1001"));
    EXPECT_EQ(DupOf(QStringLiteral("CODE")), QStringLiteral("0")); // not under the code page
    EXPECT_EQ(Column(QString::fromLatin1(DbSql::kAllTitles), 1),
              (QVariantList{QStringLiteral("code"), QStringLiteral("Ä"), QStringLiteral("ä")}));
    EXPECT_EQ(ServerValue(QStringLiteral("Select count(*) From pg_indexes Where indexname In"
                                         " ('ixdoctitlepairs', 'ixdoctextpairs', 'ixtreetitle')")),
              QStringLiteral("3"));
    EXPECT_EQ(FoundNos(QStringLiteral("議事"), "txDoc"), QStringList{"1000"});
    DbClose();

    // Up to date now: opening it again changes nothing.
    const QString ixBefore = QStringLiteral(
        "Select string_agg(indexrelid::text, ',' Order By indexrelid) From pg_index");
    OpenOk(owner);
    const QString ix = ServerValue(ixBefore);
    DbClose();
    OpenOk(owner);
    EXPECT_EQ(ServerValue(ixBefore), ix);
}

// Words of two characters (common in Japanese) have an index path on the
// server: with sequential scans forbidden the find still answers, from the
// pair index, and its answers are the plain reading's.
TEST_F(TitleTest, TwoCharacterWordsAreFoundFromThePairIndex) {
    FOLIUM_REQUIRE_PG();
    engine_ = DbSql::Engine::Postgres;
    OpenOk(NewDb());
    FileTitles();
    bool ok = false;
    qint64 n = 0;
    const auto scans = [] {
        DbLookup(QStringLiteral("Select pg_stat_force_next_flush()"), QVariant());
        // The statistics of this session's own scans reach the view once
        // it has been idle; a new statement sees them.
        QThread::msleep(50);
        return DbLookup(QStringLiteral("Select Sum(idx_scan) From pg_stat_user_indexes Where"
                                       " indexrelname In ('ixdoctitlepairs', 'ixdoctextpairs')"),
                        0)
            .toLongLong();
    };
    DbExec(QStringLiteral("Set enable_seqscan = off"), ok, n);
    ASSERT_TRUE(ok);
    const qint64 before = scans();
    EXPECT_EQ(FoundNos(QStringLiteral("報告"), "szDoc"), QStringList{"1005"});
    EXPECT_EQ(FoundNos(QStringLiteral("事録 ky"), "txDoc"), QStringList{"1007"});
    EXPECT_EQ(FoundNos(QStringLiteral("ｶﾞ ｲﾄ"), "szDoc"), QStringList{"1006"});
    EXPECT_EQ(FoundNos(QStringLiteral("äa"), "szDoc"), QStringList{});
    EXPECT_GE(scans() - before, 4);
}

// On a large database the work shows the progress display; its Cancel
// leaves the earlier schema whole and the database open, and the next open
// does the work.
TEST_F(TitleTest, CancelledUpgradeLeavesTheEarlierSchema) {
    FOLIUM_REQUIRE_PG();
    PgServer* pg = PgServer::instance();
    const QString db = pg->newDatabase();
    ASSERT_TRUE(pg->run(
        db, kEarlierSchema + QStringList{QStringLiteral(
                                 "Insert Into msDoc (noDoc, szDoc, txDoc) Select i, 'Page ' || i,"
                                 " '本文 ' || i From generate_series(2000, 4500) i")}));
    const QString udl = TestEnv::freshDir(QStringLiteral("udl")) + QStringLiteral("/doc.udl");
    WriteUdl(udl, pg->udlText(db));
    const QString type = QStringLiteral("Select string_agg(udt_name, ',') From"
                                        " information_schema.columns Where column_name = 'szdoc'");
    prompter.cancelProgressAt(1);
    OpenOk(udl);
    EXPECT_EQ(prompter.calls.size(), 1);
    EXPECT_EQ(ServerValue(type), QStringLiteral("citext,citext"));
    EXPECT_EQ(ServerValue(QStringLiteral("Select count(*) From msDoc")), QStringLiteral("2504"));
    DbClose();
    OpenOk(udl);
    EXPECT_EQ(ServerValue(type), QStringLiteral("text,text"));
    EXPECT_EQ(ServerValue(QStringLiteral("Select count(*) From msDoc")), QStringLiteral("2504"));
}

namespace {

// Titles with SQL's own characters: apostrophes, backslashes (an escape in
// some string syntaxes), LIKE's "%" and "_" beside titles they would match
// as wildcards, an empty title and one that would end the statement.
const QStringList kSqlTitles = {
    QStringLiteral("It's"),
    QStringLiteral("C:\\dir\\"),
    QStringLiteral("\\'"),
    QStringLiteral("100%"),
    QStringLiteral("1000"),
    QStringLiteral("a_b"),
    QStringLiteral("axb"),
    QStringLiteral("''"),
    QStringLiteral(""),
    QStringLiteral("\\"),
    QStringLiteral("'; Delete From tbTree; --"),
};

class SqlTitleTest : public EngineTest {};

} // namespace

// The statements of the list carry their titles as bound values on either
// engine: the title never becomes SQL text, and a number stays in place.
TEST(OwnForm, TitlesAreBoundAndNumbersStay) {
    for (const DbSql::Engine e : {DbSql::Engine::Sqlite, DbSql::Engine::Postgres}) {
        const DbSql::Dialect& d = DbSql::DialectOf(e);
        QString dup = QString::fromLatin1(DbSql::kDupTitle);
        DbSql::FillSql(dup, {kCode, QStringLiteral("It's '?' 100%")});
        const DbSql::Bound b = DbSql::OwnForm(dup, d);
        EXPECT_FALSE(b.sSql.contains(QStringLiteral("It")));
        EXPECT_TRUE(b.sSql.contains(QStringLiteral("noLfP=900")));
        EXPECT_EQ(b.aBinds, QVariantList{QStringLiteral("It's '?' 100%")});

        QString ins = QString::fromLatin1(DbSql::kTreeInsert);
        DbSql::FillSql(ins, {1, 2, 3, QStringLiteral("''")});
        const DbSql::Bound i = DbSql::OwnForm(ins, d);
        EXPECT_EQ(i.sSql, QStringLiteral(" Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk,"
                                         " boHide, boHogo) Values ( 1, 2, 3,?, 0, 0, 0)"));
        EXPECT_EQ(i.aBinds, QVariantList{QStringLiteral("''")});

        // An empty title is an empty text, not NULL.
        QString ren = QString::fromLatin1(DbSql::kTreeRename);
        DbSql::FillSql(ren, {QString(), 5, 6});
        const DbSql::Bound r = DbSql::OwnForm(ren, d);
        ASSERT_EQ(r.aBinds.size(), 1);
        EXPECT_EQ(r.aBinds[0].toString(), QStringLiteral(""));
        EXPECT_FALSE(r.aBinds[0].toString().isNull());

        // Anything else runs as it is.
        const QString other = QStringLiteral("Select 'x' From kaUsr");
        EXPECT_EQ(DbSql::OwnForm(other, d).sSql, other);
        EXPECT_TRUE(DbSql::OwnForm(other, d).aBinds.isEmpty());
    }
}

// Filed, renamed and found again, each title is exactly itself.
TEST_P(SqlTitleTest, TitlesWithSqlCharactersAreStoredAndFoundExactly) {
    OpenOk(NewDb());
    bool ok = false;
    qint64 n = 0;
    for (int i = 0; i < kSqlTitles.size(); ++i) {
        DbExec(QStringLiteral("Insert Into msDoc (noDoc, szDoc) Values (%1, 'p%1')").arg(1000 + i),
               ok, n);
        ASSERT_TRUE(ok);
        QString sql = QString::fromLatin1(DbSql::kTreeInsertCod);
        DbSql::FillSql(sql, {kCode, 1000 + i, kSqlTitles[i]});
        DbExec(sql, ok, n);
        ASSERT_TRUE(ok) << kSqlTitles[i].toStdString();
        ASSERT_EQ(n, 1);
    }
    const QString stored =
        QStringLiteral("Select szDoc From tbTree Where noLfP = 900 Order By noLfC");
    QVariantList want;
    for (const QString& t : kSqlTitles)
        want << t;
    EXPECT_EQ(Column(stored), want);
    for (int i = 0; i < kSqlTitles.size(); ++i)
        EXPECT_EQ(DupOf(kSqlTitles[i]), QString::number(1000 + i)) << kSqlTitles[i].toStdString();
    EXPECT_EQ(DupOf(QStringLiteral("1%")), QStringLiteral("0"));
    EXPECT_EQ(DupOf(QStringLiteral("a\\_b")), QStringLiteral("0"));

    // A rename and a retitle take such titles too, and touch only their row.
    QString ren = QString::fromLatin1(DbSql::kTreeRename);
    DbSql::FillSql(ren, {QStringLiteral("50% 'off' \\n"), kCode, 1005});
    DbExec(ren, ok, n);
    ASSERT_TRUE(ok);
    EXPECT_EQ(n, 1);
    QString ret = QString::fromLatin1(DbSql::kTreeRetitle);
    DbSql::FillSql(ret, {QStringLiteral("x_y"), kCode, 1006});
    DbExec(ret, ok, n);
    ASSERT_TRUE(ok);
    want[5] = QStringLiteral("50% 'off' \\n");
    want[6] = QStringLiteral("x_y");
    EXPECT_EQ(Column(stored), want);
    EXPECT_EQ(DupOf(QStringLiteral("50% 'OFF' \\N")), QStringLiteral("1005"));
}

FOLIUM_BOTH_ENGINES(SqlTitleTest);
