#pragma once
// The find over page titles or page texts, answered from full-text indexes
// so that it stays fast on large databases, with the results of the plain
// scan: every word must occur somewhere in the column, matched literally
// ("%" and "_" are ordinary characters), ASCII letters without regard to
// case as LIKE compares them; titles in title order.
//
// Two indexes stand beside msDoc:
// - msDocFts, FTS5 with the trigram tokenizer, kept in step by triggers
//   (plain SQL, so any program writing msDoc keeps it right): words of three
//   or more characters.
// - msDocPairs, FTS5 over character pairs with a tokenizer of our own,
//   brought up to date from a queue the same triggers fill whenever it is
//   searched: words of two characters (common in Japanese: 保存, 本文).
// Words of one character are checked on the rows the other words leave, or
// by a scan when every word has one character.
//
// On a PostgreSQL server the same find runs on GIN indexes over the texts
// with ASCII letters folded, made with the tables: trigrams (pg_trgm) for
// words of three or more characters, the texts' character pairs
// (folium_pairs) for words of two; the results are the same.

#include <QList>
#include <QString>
#include <functional>

class QSqlDatabase;

namespace Usr {

struct FoundDoc {
    qint64 noDoc = 0;
    QString szDoc;
    bool operator==(const FoundDoc&) const = default;
};

// Progress of building the indexes: rows done and rows in all. Returning
// false cancels the build, leaving the database as it was.
using FtsProgress = std::function<bool(qint64 nDone, qint64 nAll)>;

// Makes the pair tokenizer known to a connection; needed before any
// statement touches msDocPairs. False when the connection is not SQLite
// with FTS5.
bool FtsRegister(QSqlDatabase& db);

// Creates the indexes, their queue and triggers on `db` (inside the
// caller's transaction) and indexes the rows already in msDoc, reporting
// progress every few hundred rows. False on failure or when cancelled.
bool FtsCreate(QSqlDatabase& db, const FtsProgress& progress = {});

// Whether the open database has the indexes.
bool FtsPresent();

// Builds the indexes of the open database when it has none and can be
// written. Databases of more than `nQuietRows` pages show the Prompter's
// progress display with its Cancel. True when the indexes are there
// afterwards.
bool FtsEnsure(qint64 nQuietRows = 2000);

// The find: `sWords` split at spaces, `sCol` "szDoc" (titles) or "txDoc"
// (texts). Without words, every document by title. Uses the indexes where
// they are present and current, else scans (always with `bIndex` false, for
// comparisons). `bOk` false when the database cannot be read.
QList<FoundDoc> DbFind(const QString& sWords, const QString& sCol, bool& bOk, bool bIndex = true);

} // namespace Usr
