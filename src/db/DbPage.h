#pragma once
// The rows of one page, as saving and loading a page read and write them:
// the document row (msDoc) through its updatable recordset, the place under
// a code page (tbTree), the read of a page for display and the code pages.
// Every write goes through the statements of DbSql; callers that write more
// than one row wrap them in a DbTxn.

#include <QByteArray>
#include <QList>
#include <QString>

namespace DbPage {

// A page read for display.
struct Page {
    bool bOk = false;   // the statement ran and found the row
    bool bNull = false; // the row has no document bytes
    QByteArray yDoc;    // the document, Word 97-2003 bytes
    QString sSz;        // the title
    QString sErr;       // why it could not be read
};
Page Read(qint64 nNo);

// Writes the document row `nNo`: title, plain text, bytes and today's date.
// A missing row is added with noDoc, a new wkRnd, boUse 1 and boCod 0
// (`bNew` true); an existing one keeps those four. False, with the reason
// in `sErr`, when it cannot be written.
bool WriteDoc(qint64 nNo, const QString& sSz, const QString& sTx, const QByteArray& yDoc,
              bool& bNew, QString& sErr);

// Writes the place of `nC` under `nP` with the title and today's date as
// its dates; a missing one is added at the end (inSrt 100) as a written
// home place (boUse 1, boLnk, boHide, boHogo 0).
bool WriteTreeRow(qint64 nP, qint64 nC, const QString& sSz, QString& sErr);

// What tells one stored version of a page from another: a digest of its
// document bytes.
QByteArray StampOf(const QByteArray& yDoc);
// The stamp of the stored document `nNo`, read so that inside a
// transaction no other user changes the row until it ends. `bFound` false
// when there is no such document. False when it cannot be read.
bool Stamp(qint64 nNo, QByteArray& yStamp, bool& bFound, QString& sErr);

// Marks document `nNo` as a code page or unmarks it (its other columns are
// kept). False when there is no such document or it cannot be written.
bool SetCode(qint64 nNo, bool bCod, QString& sErr);

// The code pages by number, for the export-by-date menu. Numbers are kept
// whole (any 32-bit document number).
struct CodePage {
    qint32 nNo = 0;
    QString sSz;
    bool operator==(const CodePage&) const = default;
};
QList<CodePage> CodePages();

} // namespace DbPage
