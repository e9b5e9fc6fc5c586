#include "DbSql.h"

#include <iterator>

namespace DbSql {

QString SqlStr(const QString& s) {
    QString out = s;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

void FillSql(QString& sTxt, const QVariantList& aVals) {
    QString out;
    out.reserve(sTxt.size() + 16 * aVals.size());
    qsizetype from = 0;
    for (const QVariant& v : aVals) {
        const qsizetype at = sTxt.indexOf(u'?', from);
        if (at < 0)
            break;
        out += QStringView(sTxt).mid(from, at - from);
        if (!v.isNull())
            out += SqlStr(v.toString());
        from = at + 1;
    }
    out += QStringView(sTxt).mid(from);
    sTxt = out;
}

namespace {

// Titles compare and sort without regard to ASCII case, as the statements'
// original dialect did ("szDoc='?'", "Order By szDoc"). Flags default to 0,
// the value this program writes for rows it creates.
constexpr const char* kSqliteSchema[] = {
    "Create Table msDoc (noDoc INTEGER NOT NULL PRIMARY KEY, boUse INTEGER DEFAULT 0,"
    " boCod INTEGER DEFAULT 0, szDoc TEXT COLLATE NOCASE, txDoc TEXT, obDoc BLOB,"
    " dyUdt TEXT, wkRnd REAL)",
    "Create Table tbTree (noLfP INTEGER NOT NULL, noLfC INTEGER NOT NULL, inSrt INTEGER,"
    " szDoc TEXT COLLATE NOCASE, boUse INTEGER DEFAULT 0, boLnk INTEGER DEFAULT 0,"
    " dyUdt TEXT, dyUdt_P TEXT, dyPub TEXT, boHide INTEGER DEFAULT 0,"
    " boHogo INTEGER DEFAULT 0, PRIMARY KEY (noLfP, noLfC))",
    "Create Table kaUsr (DmFmt TEXT)",
    "Insert Into kaUsr (DmFmt) Values ('1')",
    // A level in sort order, the way up from a child, code pages, titles.
    "Create Index ixTreeSort On tbTree (noLfP, inSrt)",
    "Create Index ixTreeChild On tbTree (noLfC)",
    "Create Index ixDocCod On msDoc (boCod)",
    "Create Index ixDocTitle On msDoc (szDoc)",
};

// The same on PostgreSQL. citext in the "C" collation folds exactly the
// ASCII letters and orders by bytes, as SQLite's NOCASE does, so titles
// compare and sort alike on both - in a database whose character classes
// (LC_CTYPE) are "C": citext folds letters by the database's classes, so
// under a Unicode LC_CTYPE it folds non-ASCII letters too (Ä = ä), where
// SQLite does not. The trigram indexes, on the other hand, take words of
// non-ASCII letters only under a Unicode LC_CTYPE (with "C" the find is
// still right, by rechecking every row, but slower for Japanese words). The find folds ASCII
// letters itself (folium_fold) and is served by trigram indexes on the folded texts.
constexpr const char* kPostgresSchema[] = {
    "Create Extension If Not Exists citext",
    "Create Extension If Not Exists pg_trgm",
    // lower() in the "C" collation folds the ASCII letters alone, byte by
    // byte (translate() would do the same, many times slower).
    "Create Or Replace Function folium_fold(text) Returns text Language sql Immutable Strict"
    " Parallel Safe As $f$Select lower($1 Collate \"C\")$f$",
    "Create Table msDoc (noDoc integer NOT NULL PRIMARY KEY, boUse integer DEFAULT 0,"
    " boCod integer DEFAULT 0, szDoc citext COLLATE \"C\", txDoc text, obDoc bytea,"
    " dyUdt text, wkRnd double precision)",
    "Create Table tbTree (noLfP integer NOT NULL, noLfC integer NOT NULL, inSrt integer,"
    " szDoc citext COLLATE \"C\", boUse integer DEFAULT 0, boLnk integer DEFAULT 0,"
    " dyUdt text, dyUdt_P text, dyPub text, boHide integer DEFAULT 0,"
    " boHogo integer DEFAULT 0, PRIMARY KEY (noLfP, noLfC))",
    "Create Table kaUsr (DmFmt text)",
    "Insert Into kaUsr (DmFmt) Values ('1')",
    "Create Index ixTreeSort On tbTree (noLfP, inSrt)",
    "Create Index ixTreeChild On tbTree (noLfC)",
    "Create Index ixDocCod On msDoc (boCod)",
    "Create Index ixDocTitle On msDoc (szDoc)",
    "Create Index ixDocTitleFind On msDoc Using gin (folium_fold(szDoc) gin_trgm_ops)",
    "Create Index ixDocTextFind On msDoc Using gin (folium_fold(txDoc) gin_trgm_ops)",
};

constexpr Dialect kSqlite{
    .aSchema = kSqliteSchema,
    .nSchema = int(std::size(kSqliteSchema)),
    .sRowId = "rowid",
    .sRowIdIs = "rowid = ?",
    .sReturnRowId = "",
    .sBeginWrite = "Begin Immediate",
    .sLockNumbers = nullptr,
    .sLockLevel = nullptr,
    .sFold = "lower(%1)",
    .sSortMany = nullptr,
    .sForUpdate = "",
    .sNullsFirst = "",
    .sNoTimeout = nullptr,
    .sCountTables = "Select count(*) From sqlite_master Where type = 'table'",
};

// Advisory locks by two keys: the first tells the kind apart.
constexpr Dialect kPostgres{
    .aSchema = kPostgresSchema,
    .nSchema = int(std::size(kPostgresSchema)),
    .sRowId = "ctid",
    .sRowIdIs = "ctid = Cast(? As tid)",
    .sReturnRowId = " Returning ctid",
    .sBeginWrite = "Begin",
    .sLockNumbers = "Select pg_advisory_xact_lock(70460, 0)",
    .sLockLevel = "Select pg_advisory_xact_lock(70461, ?)",
    .sFold = "folium_fold(%1)",
    .sSortMany = "Update tbTree Set inSrt = v.s From (Values %1) As v(c, s)"
                 " Where tbTree.noLfP = ? And tbTree.noLfC = v.c",
    .sForUpdate = " For Update",
    .sNullsFirst = " Nulls First",
    .sNoTimeout = "Set statement_timeout = 0",
    .sCountTables =
        "Select count(*) From information_schema.tables Where table_schema = current_schema()",
};

} // namespace

const Dialect& DialectOf(Engine e) {
    return e == Engine::Postgres ? kPostgres : kSqlite;
}

QString WithNo(const char* sStmt, qint64 nNo) {
    return QString::fromLatin1(sStmt) + QString::number(nNo);
}

} // namespace DbSql
