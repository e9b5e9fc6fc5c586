#pragma once
// A recordset opened by DbOpenRs. Its rows are read when it opens, so it
// stays readable after the connection closes. An updatable one (a statement
// on one table) writes through prepared statements with bound values: a
// changed row by its rowid (a server's row address), a new row by an INSERT
// of the assigned columns.
// Writes go to the connection the recordset was opened on and fail once
// that connection is closed.

#include "DbSql.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Usr {

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool IsOpen() const { return bOpen_; }
    bool Updatable() const { return bUpd_; }
    // Past the last row (also true for a closed or empty recordset). Named
    // Eof because EOF is a macro of the C library.
    bool Eof() const;
    // Moves to the next row, saving a pending change first.
    void MoveNext();
    qint64 RecordCount() const { return aRows_.size(); }

    int FieldCount() const { return int(aCols_.size()); }
    QString FieldName(int i) const { return aCols_.value(i); }
    // The value of the current row (including a change not yet saved); a
    // null QVariant past the end or for an unknown column.
    QVariant Field(const QString& sCol) const;
    QVariant Field(int i) const;

    // Starts a new row whose fields are all NULL; it becomes the current row.
    bool AddNew();
    // Assigns a field of the current row (column names are matched without
    // regard to case). QDate is stored as "YYYY-MM-DD", QDateTime as
    // "YYYY-MM-DD HH:MM:SS", bool as 1/0. False when read-only, past the end
    // or no such column.
    bool SetField(const QString& sCol, const QVariant& v);
    // Writes the pending new row or change. True when there was nothing to
    // write. On failure the change stays pending and LastError() says why.
    bool Update();
    // Drops a pending change.
    void CancelUpdate();
    // Releases the rows; a pending change is dropped.
    void Close();

    QString LastError() const { return sErr_; }

private:
    friend void DbOpenRs(const QString&, Recordset&, bool, bool&);
    enum class Edit { None, Change, New };

    int ColumnOf(const QString& sCol) const;

    bool bOpen_ = false;
    bool bUpd_ = false;
    QString sConn_;  // connection name the rows came from
    QString sTable_; // the one table an updatable recordset writes
    QStringList aCols_;
    QList<QVariantList> aRows_;
    QVariantList aRowIds_; // each row's name for writing it back (updatable only)
    DbSql::Engine eEngine_ = DbSql::Engine::Sqlite;
    qint64 nCur_ = 0;
    Edit eEdit_ = Edit::None;
    QVariantList aOrig_; // the current row before its pending change
    QList<bool> aDirty_; // columns assigned since the last Update
    QString sErr_;
};

} // namespace Usr
