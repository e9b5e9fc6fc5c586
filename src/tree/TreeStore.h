#pragma once
// The statements of the page tree, run through the document database's
// procedures. Failures are quiet, as the tree expects: a failed query gives
// no rows, a failed action statement returns false. Values go into the SQL
// through the database layer's filling, so apostrophes in titles and find
// words are doubled.

#include <QDateTime>
#include <QList>
#include <QString>

namespace TreeStore {

// A row of a tree level.
struct LevelRow {
    qint64 nNo = 0;    // noLfC
    QString sSz;       // tbTree.szDoc, empty for Null
    bool bLnk = false; // boLnk = 1
    bool bCod = false; // msDoc.boCod = 1
    qint64 nKids = -1; // rows under it; -1 for a code page or when unreadable
};
// The children of `nParent` in inSrt order (0 = the top level), each with
// the number of rows under it (code pages are not counted).
QList<LevelRow> Level(qint64 nParent);

// The number of tree rows under `nNo`; -1 when it cannot be read.
qint64 ChildCount(qint64 nNo);

// The home parent of document `nNo` (plain rows only, never links);
// -1 when there is none or it cannot be read.
qint64 ParentOf(qint64 nNo);

// A code page's children, newest first.
struct CodRow {
    qint64 nNo = 0;
    QString sSz;
    QDateTime dtUdt; // invalid when the date is missing
};
QList<CodRow> CodList(qint64 nParent);

// A document found, or an entry of a host-defined list.
struct DocRow {
    qint64 nNo = 0;
    QString sSz;
};
// Documents whose column `sCol` ("szDoc" or "txDoc") contains every word of
// `sWords` (split at spaces), by title; every document when there are no
// words.
QList<DocRow> Find(const QString& sWords, const QString& sCol);
// A host's query: column 0 the text, column 1 the document number.
QList<DocRow> Query(const QString& sSql);

// Action statements; true when they ran.
bool Insert(qint64 nP, qint64 nC, qint64 nSrt, const QString& sSz); // a new place
bool InsertCod(qint64 nP, qint64 nC, const QString& sSz);           // a code child
bool Rename(qint64 nP, qint64 nC, const QString& sSz);              // a label edit
bool Retitle(qint64 nP, qint64 nC, const QString& sSz);             // a title change
// Sort positions, each level written whole under its lock (DbLevel.h):
// children another user added or removed meanwhile keep their place.
struct SortRow {
    qint64 nSrt = 0, nP = 0, nC = 0;
};
void SetSorts(const QList<SortRow>& aRows);
bool Remove(qint64 nP, qint64 nC);

} // namespace TreeStore
