#pragma once
// Every SQL statement the program runs, in one place and exactly as it is
// run, plus filling values into them. Pieces are joined with nothing in
// between; "?" is a placeholder for FillSql; a statement ending in "=" or
// "= " takes a number appended in decimal (WithNo).

#include <QString>
#include <QVariantList>
#include <array>
#include <string_view>

namespace DbSql {

// Whether a file is a document database.
inline constexpr char kChkDoc[] = "Select DmFmt from kaUsr";
// The code pages for the export-by-date menu.
inline constexpr char kCodePages[] = "Select noDoc, szDoc From msDoc Where boCod = 1"
                                     " Order By noDoc";
// A page of the same title under a code page: parent number, title.
inline constexpr char kDupTitle[] = "Select noLfC From tbTree Where noLfP=? And szDoc='?'";
// The largest document number (NULL on an empty table).
inline constexpr char kMaxNo[] = "Select Max(noDoc) From msDoc";
// One tree row, for update: parent number, child number.
inline constexpr char kTreeRow[] = "Select noLfP, noLfC, inSrt, szDoc, boUse, boLnk"
                                   ", dyUdt, dyUdt_P, dyPub, boHide, boHogo"
                                   " From tbTree Where noLfP = ? And nolfC = ?";
// One document row, for update: + document number.
inline constexpr char kDocRow[] = "Select noDoc, boUse, boCod, szDoc, txDoc, obDoc, dyUdt, wkRnd"
                                  " From msDoc Where noDoc= ";
// One document's bytes and title, read-only: + document number.
inline constexpr char kDocRead[] = " Select obDoc, szDoc From msDoc Where noDoc = ";
// Documents without any place in the tree.
inline constexpr char kUnref[] =
    "Select szDoc, noDoc From msDoc Where noDoc Not in (Select noLfC From tbTree)";
// The children of a node in sort order: parent number.
inline constexpr char kLevel[] = "Select T.noLfC, T.szDoc, T.boLnk, D.boCod"
                                 " From tbTree T, msDoc D"
                                 " Where T.noLfC = D.noDoc And T.noLfP = ? Order By T.inSrt ";
// The children of a code page, newest first: parent number.
inline constexpr char kCodList[] = "Select T.noLfC, T.szDoc, D.dyUdt"
                                   " From tbTree T, msDoc D"
                                   " Where T.noLfC = D.noDoc And T.noLfP = ? Order By D.dyUdt Desc";
// Every document by title.
inline constexpr char kAllTitles[] = " Select noDoc, szDoc From msDoc Order By szDoc ";
// Number of children: + parent number.
inline constexpr char kChildCount[] = "Select Count(*) From tbTree Where noLfP= ";
// The home parent of a document: + document number.
inline constexpr char kParentOf[] = "Select noLfP From tbtree Where boLnk=0 And noLfC = ";
// A new tree row: parent, child, sort position, title.
inline constexpr char kTreeInsert[] =
    " Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk, boHide, boHogo)"
    " Values ( ?, ?, ?,'?', 0, 0, 0)";
// A new code-page child: parent, child, title (sort position 100).
inline constexpr char kTreeInsertCod[] =
    " Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk, boHide, boHogo)"
    " Values ( ?, ?, 100,'?', 0, 0, 0)";
// Rename one place (label edit): title, parent, child.
inline constexpr char kTreeRename[] = "Update tbTree Set szDoc='?' Where noLfP=? and noLfC=?";
// Carry a changed title to a place of the document: title, parent, child.
inline constexpr char kTreeRetitle[] = "Update tbTree Set szDoc='?' Where noLfP=? And nolfC=? ";
// Write back a sort position: position, parent, child.
inline constexpr char kTreeSort[] = " Update tbTree Set inSrt = ? Where noLfP = ? And noLfC = ?";
// Remove one place: parent, child.
inline constexpr char kTreeDelete[] = " Delete From tbTree Where noLfP = ? And noLfC = ? ";

// How a statement is run, and the table of all of them (for checks that
// must cover every statement).
enum class Via { Lookup, GetRows, OpenRsUpd, OpenRsRead, Exec };
struct Statement {
    std::string_view sName;
    const char* sText;
    Via eVia;
    int nArgs;    // "?" placeholders to fill
    bool bWithNo; // takes a number appended
};
inline constexpr std::array<Statement, 20> kAll{{
    {"kChkDoc", kChkDoc, Via::Lookup, 0, false},
    {"kCodePages", kCodePages, Via::GetRows, 0, false},
    {"kDupTitle", kDupTitle, Via::Lookup, 2, false},
    {"kMaxNo", kMaxNo, Via::Lookup, 0, false},
    {"kTreeRow", kTreeRow, Via::OpenRsUpd, 2, false},
    {"kDocRow", kDocRow, Via::OpenRsUpd, 0, true},
    {"kDocRead", kDocRead, Via::OpenRsRead, 0, true},
    {"kUnref", kUnref, Via::GetRows, 0, false},
    {"kLevel", kLevel, Via::GetRows, 1, false},
    {"kCodList", kCodList, Via::GetRows, 1, false},
    {"kAllTitles", kAllTitles, Via::GetRows, 0, false},
    {"kFind", nullptr, Via::GetRows, 0, false}, // built by DbFind (DbFind.h)
    {"kChildCount", kChildCount, Via::Lookup, 0, true},
    {"kParentOf", kParentOf, Via::Lookup, 0, true},
    {"kTreeInsert", kTreeInsert, Via::Exec, 4, false},
    {"kTreeInsertCod", kTreeInsertCod, Via::Exec, 3, false},
    {"kTreeRename", kTreeRename, Via::Exec, 3, false},
    {"kTreeRetitle", kTreeRetitle, Via::Exec, 3, false},
    {"kTreeSort", kTreeSort, Via::Exec, 3, false},
    {"kTreeDelete", kTreeDelete, Via::Exec, 2, false},
}};

// ------------------------------------------------------------ engines
//
// The statements above run unchanged on both engines the database can live
// on: a SQLite file, or a PostgreSQL database that several users share.
// Where the two need different SQL (the schema, how a row is named for
// writing it back, locks, the find), the difference is in this table and
// nowhere else.

enum class Engine { Sqlite, Postgres };

// A statement of the list above in the form one engine runs it: "?" in
// `sOwn` takes, first to last, the values filled into the "?" of `sShared`
// ("'?'" a bound text, as in `sShared`).
struct Form {
    const char* sShared;
    const char* sOwn;
};

// A step that brings a database made by an earlier version up to the
// schema, with the check that tells whether it is needed: a count that is
// not 0 means it is.
struct Upgrade {
    const char* sNeeded;
    const char* sStep;
};

struct Dialect {
    // The schema of a new document database, in order, and the tables it
    // makes (also the order a copy writes them in).
    const char* const* aSchema;
    int nSchema;
    // The steps from any earlier schema to this one, in order (none where
    // the database itself makes up for what is missing, as SQLite's find
    // indexes do).
    const Upgrade* aUpgrade;
    int nUpgrade;
    // A column naming a stored row for writing it back, how a statement
    // matches it ("?" is the value read), and what an INSERT or UPDATE
    // appends to hand the new row's name back (empty: read it afterwards).
    const char* sRowId;
    const char* sRowIdIs;
    const char* sReturnRowId;
    // Begins a transaction that will write: SQLite takes its write lock at
    // once, so two writers never deadlock upgrading a read lock.
    const char* sBeginWrite;
    // Held until the end of the transaction: the lock that makes numbering
    // a new document one step, and the lock of one level of the tree (the
    // parent's number fills "?"). Null where the transaction's own write
    // lock already serialises writers.
    const char* sLockNumbers;
    const char* sLockLevel;
    // Run first in the transaction that brings an earlier schema up to
    // date: one user at a time does it, without the command time-out (an
    // index over every page takes its time), but giving up when another
    // user's work keeps the tables locked for long (the next open tries
    // again).
    const char* sBeginUpgrade;
    // A column (or a value) with ASCII letters folded to lower case, as
    // LIKE compares them, for the find: "%1" is the column.
    const char* sFold;
    // The statements that compare or sort titles, where the engine needs
    // other text to fold exactly the ASCII letters and nothing else.
    const Form* aForms;
    int nForms;
    // The order of a list by title (ASCII letters folded, then by bytes,
    // NULL first), equal titles by number.
    const char* sTitleOrder;
    // A condition that the folded column "%1" holds every two-character
    // word of the array "%2", answered from an index of the character
    // pairs. Null where the find has an index of its own for them.
    const char* sPairsHold;
    // Many sort positions of one level in one statement: "%1" takes the
    // list "(child, position), ..." and "?" the parent. Null where one
    // kTreeSort per child costs no more (no round trips to a server).
    const char* sSortMany;
    // Appended to a read of rows the transaction is about to change, so
    // no other user changes them before it ends (SQLite's write lock
    // covers the whole file already).
    const char* sForUpdate;
    // Appended to an ascending sort key so that NULL sorts first, as
    // SQLite sorts it.
    const char* sNullsFirst;
    // Lifts the command time-out of a connection for a long read or write
    // (a copy of the whole database). Null where there is none to lift.
    const char* sNoTimeout;
    // Whether a database has any tables at all.
    const char* sCountTables;
};

const Dialect& DialectOf(Engine e);

// A statement as it is run: its text, and the values bound to its "?",
// first to last.
struct Bound {
    QString sSql;
    QVariantList aBinds;
};

// The statement `sSql` (filled) in the form the engine of `d` runs it: its
// dialect's form where it has one, and the text values (titles) filled in
// between apostrophes taken out again and bound, for every statement of
// the list. Any other statement is run as it is, with nothing bound.
Bound OwnForm(const QString& sSql, const Dialect& d);

// The tables of the document database.
inline constexpr std::array<const char*, 3> kTables{"msDoc", "tbTree", "kaUsr"};
// The stored children of a level in their order, for renumbering it.
inline constexpr char kLevelOrder[] =
    "Select noLfC, inSrt From tbTree Where noLfP = ? Order By inSrt, noLfC";

// A title as the database compares and sorts it: the ASCII letters in
// lower case and nothing else (SQLite's NOCASE, the server's folium_fold,
// LIKE), so "Ä" and "ä" stay two titles.
QString TitleFold(const QString& s);

// A text value as it goes between apostrophes in SQL: each "'" doubled.
QString SqlStr(const QString& s);

// Fills the "?" of `sTxt`, first to last, with the values' texts, each with
// its apostrophes doubled. A null value inserts nothing; surplus values are
// ignored and surplus placeholders stay "?". Unlike FillQ, which is for
// messages, a "?" inside a value is kept: the template is scanned once, so
// a value's own text is never taken for a placeholder.
void FillSql(QString& sTxt, const QVariantList& aVals);

// A statement that takes a number appended in decimal.
QString WithNo(const char* sStmt, qint64 nNo);

} // namespace DbSql
