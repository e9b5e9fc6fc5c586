#include "DbSql.h"

#include <QStringList>
#include <iterator>

namespace DbSql {

QString SqlStr(const QString& s) {
    QString out = s;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

QString TitleFold(const QString& s) {
    QString out = s;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
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

// The same on PostgreSQL. Titles are plain text in the "C" collation
// (ordered by bytes); the statements that compare or sort them fold the
// ASCII letters with folium_fold, as SQLite's NOCASE does, and nothing
// else (Ä and ä, Ａ and ａ stay apart) whatever the database's character
// classes (LC_CTYPE) are. lower() in the "C" collation folds the ASCII
// letters alone, byte by byte (translate() does the same, many times
// slower).
constexpr char kFoldFn[] =
    "Create Or Replace Function folium_fold(text) Returns text Language sql Immutable Strict"
    " Parallel Safe As $f$Select lower($1 Collate \"C\")$f$";
// Every two neighbouring characters of a text without a plain space (find
// words never hold one): the index of two-character words, which trigrams
// cannot serve. The pairs at odd offsets are the even ones of the text
// after its first character; two regular-expression passes are much
// quicker than taking the characters one by one. Its cost tells the
// planner to test it after anything cheaper.
constexpr char kPairsFn[] =
    "Create Or Replace Function folium_pairs(text) Returns text[] Language sql Immutable Strict"
    " Parallel Safe Cost 1000 As $f$Select coalesce(array_agg(m[1]), '{}')"
    " From (Select regexp_matches($1, '(..)', 'g') m"
    " Union All Select regexp_matches(substr($1, 2), '(..)', 'g')) s"
    " Where strpos(m[1], ' ') = 0$f$";
constexpr char kTrgm[] = "Create Extension If Not Exists pg_trgm";
constexpr char kIxTitle[] =
    "Create Index If Not Exists ixDocTitle On msDoc (folium_fold(szDoc) Nulls First, noDoc)";
constexpr char kIxTreeTitle[] =
    "Create Index If Not Exists ixTreeTitle On tbTree (noLfP, folium_fold(szDoc))";
// The find: trigrams for words of three or more characters (under a
// Unicode LC_CTYPE; with "C" they take ASCII words only and the find
// rechecks rows), character pairs for words of two.
constexpr char kIxTitleFind[] = "Create Index If Not Exists ixDocTitleFind On msDoc"
                                " Using gin (folium_fold(szDoc) gin_trgm_ops)";
constexpr char kIxTextFind[] = "Create Index If Not Exists ixDocTextFind On msDoc"
                               " Using gin (folium_fold(txDoc) gin_trgm_ops)";
constexpr char kIxTitlePairs[] = "Create Index If Not Exists ixDocTitlePairs On msDoc"
                                 " Using gin (folium_pairs(folium_fold(szDoc)))";
constexpr char kIxTextPairs[] = "Create Index If Not Exists ixDocTextPairs On msDoc"
                                " Using gin (folium_pairs(folium_fold(txDoc)))";

constexpr const char* kPostgresSchema[] = {
    kTrgm,
    kFoldFn,
    kPairsFn,
    "Create Table msDoc (noDoc integer NOT NULL PRIMARY KEY, boUse integer DEFAULT 0,"
    " boCod integer DEFAULT 0, szDoc text COLLATE \"C\", txDoc text, obDoc bytea,"
    " dyUdt text, wkRnd double precision)",
    "Create Table tbTree (noLfP integer NOT NULL, noLfC integer NOT NULL, inSrt integer,"
    " szDoc text COLLATE \"C\", boUse integer DEFAULT 0, boLnk integer DEFAULT 0,"
    " dyUdt text, dyUdt_P text, dyPub text, boHide integer DEFAULT 0,"
    " boHogo integer DEFAULT 0, PRIMARY KEY (noLfP, noLfC))",
    "Create Table kaUsr (DmFmt text)",
    "Insert Into kaUsr (DmFmt) Values ('1')",
    "Create Index ixTreeSort On tbTree (noLfP, inSrt)",
    "Create Index ixTreeChild On tbTree (noLfC)",
    "Create Index ixDocCod On msDoc (boCod)",
    kIxTitle,
    kIxTreeTitle,
    kIxTitleFind,
    kIxTextFind,
    kIxTitlePairs,
    kIxTextPairs,
};

// Earlier server databases kept titles as citext, whose equality folds
// letters by the database's LC_CTYPE (Ä = ä under a Unicode one), with a
// plain title index; the oldest lack the pair indexes as well. Changing
// the type keeps every row (citext and text hold the same bytes).
#define FOLIUM_NO_INDEX(name)                                                                      \
    "Select count(*) Where Not Exists (Select 1 From pg_indexes Where schemaname ="                \
    " current_schema() And indexname = '" name "')"
#define FOLIUM_NOT_TEXT(table)                                                                     \
    "Select count(*) From information_schema.columns Where table_schema = current_schema()"        \
    " And table_name = '" table "' And column_name = 'szdoc'"                                      \
    " And (data_type <> 'text' Or collation_name Is Distinct From 'C')"
constexpr Upgrade kPostgresUpgrade[] = {
    {"Select count(*) Where Not Exists (Select 1 From pg_extension Where extname = 'pg_trgm')",
     kTrgm},
    {"Select count(*) Where to_regprocedure('folium_fold(text)') Is Null", kFoldFn},
    {"Select count(*) Where to_regprocedure('folium_pairs(text)') Is Null", kPairsFn},
    {FOLIUM_NOT_TEXT("msdoc"), "Alter Table msDoc Alter Column szDoc Type text Collate \"C\""},
    {FOLIUM_NOT_TEXT("tbtree"), "Alter Table tbTree Alter Column szDoc Type text Collate \"C\""},
    {"Select count(*) From pg_indexes Where schemaname = current_schema()"
     " And indexname = 'ixdoctitle' And indexdef Not Like '%folium_fold%'",
     "Drop Index ixDocTitle"},
    {FOLIUM_NO_INDEX("ixdoctitle"), kIxTitle},
    {FOLIUM_NO_INDEX("ixtreetitle"), kIxTreeTitle},
    {FOLIUM_NO_INDEX("ixdoctitlefind"), kIxTitleFind},
    {FOLIUM_NO_INDEX("ixdoctextfind"), kIxTextFind},
    {FOLIUM_NO_INDEX("ixdoctitlepairs"), kIxTitlePairs},
    {FOLIUM_NO_INDEX("ixdoctextpairs"), kIxTextPairs},
};
#undef FOLIUM_NO_INDEX
#undef FOLIUM_NOT_TEXT

// The title statements with ASCII letters folded as NOCASE folds them.
constexpr Form kPostgresForms[] = {
    {kDupTitle, "Select noLfC From tbTree Where noLfP=? And folium_fold(szDoc)=folium_fold('?')"},
    {kAllTitles, " Select noDoc, szDoc From msDoc Order By folium_fold(szDoc) Nulls First, noDoc "},
};

constexpr Dialect kSqlite{
    .aSchema = kSqliteSchema,
    .nSchema = int(std::size(kSqliteSchema)),
    .aUpgrade = nullptr,
    .nUpgrade = 0,
    .sRowId = "rowid",
    .sRowIdIs = "rowid = ?",
    .sReturnRowId = "",
    .sBeginWrite = "Begin Immediate",
    .sLockNumbers = nullptr,
    .sLockLevel = nullptr,
    .sBeginUpgrade = nullptr,
    .sFold = "lower(%1)",
    .aForms = nullptr,
    .nForms = 0,
    .sTitleOrder = "szDoc, noDoc",
    .sPairsHold = nullptr,
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
    .aUpgrade = kPostgresUpgrade,
    .nUpgrade = int(std::size(kPostgresUpgrade)),
    .sRowId = "ctid",
    .sRowIdIs = "ctid = Cast(? As tid)",
    .sReturnRowId = " Returning ctid",
    .sBeginWrite = "Begin",
    .sLockNumbers = "Select pg_advisory_xact_lock(70460, 0)",
    .sLockLevel = "Select pg_advisory_xact_lock(70461, ?)",
    .sBeginUpgrade = "Set Local statement_timeout = 0; Set Local lock_timeout = 30000;"
                     " Select pg_advisory_xact_lock(70462, 0)",
    .sFold = "folium_fold(%1)",
    .aForms = kPostgresForms,
    .nForms = int(std::size(kPostgresForms)),
    .sTitleOrder = "folium_fold(szDoc) Nulls First, noDoc",
    .sPairsHold = "folium_pairs(folium_fold(%1)) @> %2",
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

namespace {

// The values filled into the "?" of `tmpl` to give `sql`, as they stand in
// it (apostrophes doubled); false when `sql` is not that statement. A value
// between apostrophes ends at the first single apostrophe; any other ends
// where the template's next piece begins.
bool Match(const QString& sql, const char* tmpl, QStringList& aVals) {
    aVals.clear();
    const QStringList pieces = QString::fromLatin1(tmpl).split(u'?');
    if (!sql.startsWith(pieces.first()))
        return false;
    qsizetype at = pieces.first().size();
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QString& next = pieces[i];
        qsizetype end = at;
        if (pieces[i - 1].endsWith(u'\'')) {
            while (end < sql.size() &&
                   !(sql[end] == u'\'' && (end + 1 == sql.size() || sql[end + 1] != u'\'')))
                end += sql[end] == u'\'' ? 2 : 1;
        } else {
            end = next.isEmpty() ? sql.size() : sql.indexOf(next, at);
        }
        if (end < 0 || QStringView(sql).mid(end, next.size()) != next)
            return false;
        aVals << sql.mid(at, end - at);
        at = end + next.size();
    }
    return at == sql.size();
}

} // namespace

Bound OwnForm(const QString& sSql, const Dialect& d) {
    // The dialect's own form of a statement, or the statement itself where
    // it holds a text value.
    const char* own = nullptr;
    QStringList vals;
    for (int i = 0; i < d.nForms && !own; ++i)
        if (Match(sSql, d.aForms[i].sShared, vals))
            own = d.aForms[i].sOwn;
    if (!own && sSql.contains(u'\'')) {
        for (const Statement& st : kAll) {
            if (st.sText && std::string_view(st.sText).find("'?'") != std::string_view::npos &&
                Match(sSql, st.sText, vals)) {
                own = st.sText;
                break;
            }
        }
    }
    if (!own)
        return {sSql, {}};
    // A value between apostrophes is a text (a title): it is bound, so its
    // apostrophes, backslashes, "%" and "_" reach the engine as they are
    // whatever its string syntax. Numbers go in as they stand.
    Bound out;
    const QStringList pieces = QString::fromLatin1(own).split(u'?');
    out.sSql = pieces.first();
    for (qsizetype k = 1; k < pieces.size(); ++k) {
        const QString& val = vals.value(k - 1);
        QString next = pieces[k];
        if (pieces[k - 1].endsWith(u'\'') && next.startsWith(u'\'')) {
            out.sSql.chop(1);
            next.remove(0, 1);
            out.sSql += u'?';
            // An empty title stays an empty text, never NULL.
            QString text = QStringLiteral("");
            text += val;
            out.aBinds << text.replace(QStringLiteral("''"), QStringLiteral("'"));
        } else {
            out.sSql += val;
        }
        out.sSql += next;
    }
    return out;
}

QString WithNo(const char* sStmt, qint64 nNo) {
    return QString::fromLatin1(sStmt) + QString::number(nNo);
}

} // namespace DbSql
