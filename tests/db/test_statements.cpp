// A new database made by DbCreate, filled the way the program fills it, and
// every statement of the program run against it once, with its results.
#include "DbDate.h"
#include "DbFind.h"
#include "DbSql.h"
#include "DbTestUtil.h"
#include "Recordset.h"

#include <QDateTime>
#include <set>

using namespace Usr;
using DbSql::FillSql;

namespace {

// Hands out the statements by name and remembers which were used.
struct Statements {
    std::set<std::string> used;
    QString operator()(std::string_view name, const QVariantList& args = {}) {
        for (const auto& s : DbSql::kAll) {
            if (s.sName == name) {
                used.insert(std::string(name));
                QString sql = s.sText ? QString::fromLatin1(s.sText) : QString();
                FillSql(sql, args);
                return sql;
            }
        }
        ADD_FAILURE() << "no statement " << name;
        return {};
    }
    QString WithNo(std::string_view name, qint64 n) { return (*this)(name) + QString::number(n); }
};

// Adds a document row as the page store does: an updatable recordset on
// the document statement, AddNew, fields, Update.
void AddDoc(Statements& st, int no, const QString& title, const QString& text,
            const QByteArray& bytes, const QVariant& date) {
    Recordset rs;
    bool ok = false;
    DbOpenRs(st.WithNo("kDocRow", no), rs, true, ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(rs.Eof());
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.SetField("noDoc", no));
    EXPECT_TRUE(rs.SetField("wkRnd", DbNewRnd()));
    EXPECT_TRUE(rs.SetField("boUse", 1));
    EXPECT_TRUE(rs.SetField("boCod", 0));
    EXPECT_TRUE(rs.SetField("szDoc", title));
    EXPECT_TRUE(rs.SetField("TXDOC", text)); // names match without regard to case
    EXPECT_TRUE(rs.SetField("obDoc", bytes));
    EXPECT_TRUE(rs.SetField("dyUdt", date));
    ASSERT_TRUE(rs.Update()) << rs.LastError().toStdString();
    rs.Close();
}

void Exec(const QString& sql, qint64 nExpected = 1) {
    bool ok = false;
    qint64 n = -1;
    DbExec(sql, ok, n);
    EXPECT_TRUE(ok) << sql.toStdString();
    EXPECT_EQ(n, nExpected) << sql.toStdString();
}

} // namespace

TEST_P(EngineTest, EveryStatementRunsOnANewDatabase) {
    OpenOk(NewDb());
    Statements st;
    const QByteArray image("\xD0\xCF\x11\xE0\x00\x01\x00'?", 10); // NULs and quotes survive
    const QDate today = QDate::currentDate();

    // A code page (the program never sets boCod itself), two pages filed
    // under it on different days, three top-level pages and one orphan.
    AddDoc(st, DbNewDocNo(), QStringLiteral("日報"), QStringLiteral("code"), {}, today);
    Exec(QStringLiteral("Update msDoc Set boCod = 1 Where noDoc = 1000"));
    AddDoc(st, DbNewDocNo(), QStringLiteral("it's"), QStringLiteral("東京 meeting notes"), image,
           QDate(2024, 1, 2));
    AddDoc(st, DbNewDocNo(), QStringLiteral("Why?"), QStringLiteral("大阪 meeting"), {},
           QDateTime(QDate(2024, 3, 4), QTime(9, 30)));
    AddDoc(st, DbNewDocNo(), QStringLiteral("alpha"), QStringLiteral("東京 only"), {}, today);
    AddDoc(st, DbNewDocNo(), QStringLiteral("orphan"), QStringLiteral("none"), {}, today);
    EXPECT_EQ(DbLookup(st("kMaxNo"), 0).toInt(), 1004);

    // Tree row for 1001 under the code page, as the save by date writes it.
    Recordset rs;
    bool ok = false;
    DbOpenRs(st("kTreeRow", {1000, 1001}), rs, true, ok);
    ASSERT_TRUE(ok && rs.Eof());
    ASSERT_TRUE(rs.AddNew());
    for (const auto& [col, val] : QList<QPair<QString, QVariant>>{{"noLfP", 1000},
                                                                  {"noLfC", 1001},
                                                                  {"inSrt", 100},
                                                                  {"boUse", 1},
                                                                  {"boLnk", 0},
                                                                  {"boHide", 0},
                                                                  {"boHogo", 0},
                                                                  {"szDoc", "it's"},
                                                                  {"dyUdt", QDate(2024, 1, 2)},
                                                                  {"dyUdt_P", QDate(2024, 1, 2)}})
        EXPECT_TRUE(rs.SetField(col, val)) << col.toStdString();
    ASSERT_TRUE(rs.Update()) << rs.LastError().toStdString();
    EXPECT_TRUE(rs.Field("dyPub").isNull());
    rs.Close();
    Exec(st("kTreeInsertCod", {1000, 1002, QStringLiteral("Why?")}));
    Exec(st("kTreeInsert", {0, 1002, 1, QStringLiteral("Why?")}));
    Exec(st("kTreeInsert", {0, 1003, 0, QStringLiteral("alpha")}));
    Exec(st("kTreeInsert", {0, 1000, 2, QStringLiteral("日報")}));
    // A second place of 1003 (a link) under 1002.
    Exec(QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk) "
                        "Values (1002, 1003, 0, 'alpha', 1)"));

    bool isDoc = false;
    DbChkDoc(isDoc);
    EXPECT_TRUE(isDoc);
    EXPECT_TRUE(DbLookup(st("kChkDoc"), QVariant()).isValid());

    EXPECT_EQ(Column(st("kCodePages")), QVariantList{1000});
    EXPECT_EQ(Column(st("kCodePages"), 1), QVariantList{"日報"});

    // The duplicate check finds titles with apostrophes and question marks
    // exactly, and ignores ASCII case as the original dialect did.
    EXPECT_EQ(DbLookup(st("kDupTitle", {1000, QStringLiteral("it's")}), 0).toInt(), 1001);
    EXPECT_EQ(DbLookup(st("kDupTitle", {1000, QStringLiteral("IT'S")}), 0).toInt(), 1001);
    EXPECT_EQ(DbLookup(st("kDupTitle", {1000, QStringLiteral("Why?")}), 0).toInt(), 1002);
    EXPECT_EQ(DbLookup(st("kDupTitle", {1000, QStringLiteral("Why")}), 0).toInt(), 0);
    EXPECT_EQ(DbLookup(st("kDupTitle", {0, QStringLiteral("it's")}), 0).toInt(), 0);

    // The document row read back for update: change it, keep the rest.
    DbOpenRs(st.WithNo("kDocRow", 1001), rs, true, ok);
    ASSERT_TRUE(ok);
    ASSERT_FALSE(rs.Eof());
    const double rnd = rs.Field("wkRnd").toDouble();
    EXPECT_EQ(rs.Field("dyUdt").toString(), QStringLiteral("2024-01-02"));
    EXPECT_TRUE(rs.SetField("txDoc", QStringLiteral("東京 meeting minutes")));
    EXPECT_TRUE(rs.SetField("dyUdt", QDate(2024, 1, 5)));
    EXPECT_FALSE(rs.SetField("noSuchColumn", 1));
    ASSERT_TRUE(rs.Update());
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    rs.Close();

    Recordset rd;
    DbOpenRs(st.WithNo("kDocRead", 1001), rd, false, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(rd.FieldCount(), 2);
    EXPECT_EQ(rd.Field("obDoc").toByteArray(), image);
    EXPECT_EQ(rd.Field(1).toString(), QStringLiteral("it's"));
    EXPECT_FALSE(rd.SetField("szDoc", QStringLiteral("x")));
    EXPECT_FALSE(rd.AddNew());
    EXPECT_EQ(DbLookup(QStringLiteral("Select wkRnd From msDoc Where noDoc = 1001"), 0).toDouble(),
              rnd);

    EXPECT_EQ(Column(st("kUnref")), QVariantList{"orphan"});
    EXPECT_EQ(Column(st("kUnref"), 1), QVariantList{1004});

    DbRows rows;
    qint64 n = 0;
    DbGetRows(st("kLevel", {0}), rows, n);
    ASSERT_EQ(n, 3);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], (QVariantList{1003, 1002, 1000}));
    EXPECT_EQ(rows[1], (QVariantList{"alpha", "Why?", "日報"}));
    EXPECT_EQ(rows[3], (QVariantList{0, 0, 1}));
    EXPECT_EQ(Column(st("kLevel", {1002}), 2), QVariantList{1}); // the link

    // Newest first: a date with a time sorts after the same kind without.
    DbGetRows(st("kCodList", {1000}), rows, n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(rows[0], (QVariantList{1002, 1001}));
    EXPECT_EQ(DbDate::Value(rows[2][0]), QDateTime(QDate(2024, 3, 4), QTime(9, 30)));
    EXPECT_EQ(DbDate::Value(rows[2][1]), QDate(2024, 1, 5).startOfDay());

    EXPECT_EQ(Column(st("kAllTitles"), 1),
              (QVariantList{"alpha", "it's", "orphan", "Why?", "日報"}));
    st.used.insert("kFind");
    const auto found = [](const char* words, const char* col) {
        bool ok = false;
        QVariantList nos;
        for (const FoundDoc& d : DbFind(QString::fromUtf8(words), QString::fromLatin1(col), ok))
            nos << d.noDoc;
        EXPECT_TRUE(ok);
        return nos;
    };
    EXPECT_EQ(found("it's", "szDoc"), QVariantList{1001});
    EXPECT_EQ(found("meeting  東京", "txDoc"), QVariantList{1001});
    EXPECT_EQ(found("MEETING", "txDoc"), (QVariantList{1001, 1002}));

    EXPECT_EQ(DbLookup(st.WithNo("kChildCount", 1000), 0).toInt(), 2);
    EXPECT_EQ(DbLookup(st.WithNo("kChildCount", 1004), 0).toInt(), 0);
    // Only home places lead upward, never links.
    EXPECT_EQ(DbLookup(st.WithNo("kParentOf", 1001), -1).toInt(), 1000);
    EXPECT_EQ(DbLookup(st.WithNo("kParentOf", 1003), -1).toInt(), 0);
    EXPECT_EQ(DbLookup(st.WithNo("kParentOf", 1004), -1).toInt(), -1);

    // Renaming keeps apostrophes and question marks.
    Exec(st("kTreeRename", {QStringLiteral("it's new?"), 1000, 1001}));
    Exec(st("kTreeRetitle", {QStringLiteral("'quoted'"), 0, 1002}));
    EXPECT_EQ(Column(QStringLiteral("Select szDoc From tbTree Where noLfC In (1001, 1002) "
                                    "Order By noLfP Desc, noLfC")),
              (QVariantList{"it's new?", "Why?", "'quoted'"}));
    Exec(st("kTreeSort", {5, 0, 1003}));
    EXPECT_EQ(Column(st("kLevel", {0})), (QVariantList{1002, 1000, 1003}));
    Exec(st("kTreeDelete", {0, 1003}));
    Exec(st("kTreeDelete", {0, 1003}), 0);
    EXPECT_EQ(Column(st("kUnref")), QVariantList{"orphan"}); // 1003 still has its link

    // The tree's key refuses a second row for the same place.
    bool dup = true;
    qint64 nDup = 0;
    DbExec(st("kTreeInsert", {0, 1002, 9, QStringLiteral("again")}), dup, nDup);
    EXPECT_FALSE(dup);

    std::set<std::string> all;
    for (const auto& s : DbSql::kAll)
        all.insert(std::string(s.sName));
    EXPECT_EQ(st.used, all);
}

TEST_P(EngineTest, RecordsetRowsEditsAndFailures) {
    OpenOk(NewDb());
    Statements st;
    for (int i = 0; i < 3; ++i)
        AddDoc(st, 1000 + i, QStringLiteral("p%1").arg(i), {}, {}, QDate(2024, 5, 1 + i));

    Recordset rs;
    bool ok = false;
    DbOpenRs(QStringLiteral("Select noDoc, szDoc From msDoc Order By noDoc"), rs, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.FieldName(1), QStringLiteral("szDoc"));
    // Changes pending on a row are saved when moving on, as with ADO.
    QStringList seen;
    while (!rs.Eof()) {
        seen << rs.Field("SZDOC").toString();
        rs.SetField("szDoc", rs.Field("szDoc").toString() + QStringLiteral("!"));
        rs.MoveNext();
    }
    EXPECT_EQ(seen, (QStringList{"p0", "p1", "p2"}));
    EXPECT_TRUE(rs.Field("szDoc").isNull()); // past the end
    EXPECT_EQ(Column(st("kAllTitles"), 1), (QVariantList{"p0!", "p1!", "p2!"}));

    // A new row with only some columns gets the table's defaults.
    ASSERT_TRUE(rs.AddNew());
    rs.SetField("noDoc", 2000);
    ASSERT_TRUE(rs.Update());
    rs.Close();
    DbOpenRs(st.WithNo("kDocRow", 2000), rs, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(rs.Field("boCod").toInt(), 0);
    EXPECT_TRUE(rs.Field("szDoc").isNull());

    // The row vanished behind the recordset's back: the write fails.
    Exec(QStringLiteral("Delete From msDoc Where noDoc = 2000"));
    rs.SetField("szDoc", QStringLiteral("ghost"));
    EXPECT_FALSE(rs.Update());
    rs.Close();

    // A duplicate key fails and stays pending; cancelling drops it.
    DbOpenRs(st.WithNo("kDocRow", 1000), rs, true, ok);
    ASSERT_TRUE(rs.AddNew());
    rs.SetField("noDoc", 1001);
    EXPECT_FALSE(rs.Update());
    EXPECT_FALSE(rs.LastError().isEmpty());
    EXPECT_FALSE(rs.AddNew()); // the failing row is still pending
    rs.CancelUpdate();
    EXPECT_TRUE(rs.AddNew());
    rs.Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_TRUE(rs.Eof());

    // Joins and broken statements cannot be opened for update.
    DbOpenRs(st("kLevel", {0}), rs, true, ok);
    EXPECT_FALSE(ok);
    DbOpenRs(st("kLevel", {0}), rs, false, ok);
    EXPECT_TRUE(ok);
    DbOpenRs(QStringLiteral("Select nothing From msDoc"), rs, false, ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(rs.IsOpen());
}
