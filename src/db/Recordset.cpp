#include "Recordset.h"
#include "Db.h"
#include "DbConn.h"
#include "DbDate.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Usr {

namespace {

// The one table of "Select <list> From <table> [Where ...] [Order By ...]";
// empty when the statement reads anything else (a join, a subquery).
QString SingleTable(const QString& sSql) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*select\s.+?\sfrom\s+([A-Za-z_]\w*)\s*(?:$|where\s|order\s))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sSql);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The statement with the row's name (SQLite's rowid, a server's row
// address) as an extra first column, so a row can be written back whatever
// keys its table has.
QString WithRowId(const QString& sSql) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*select\s+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    QString s = sSql;
    return s.replace(re,
                     QStringLiteral("Select %1, ").arg(QLatin1String(DbConn::Dialect().sRowId)));
}

// A server folds the names of unquoted columns to lower case; the names
// are given back as the statement spells them.
QString AsWritten(const QString& sName, const QString& sSql) {
    if (DbConn::Engine() == DbSql::Engine::Sqlite)
        return sName;
    const QRegularExpression re(
        QStringLiteral(R"((?<![\w.])(%1)(?!\w))").arg(QRegularExpression::escape(sName)),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sSql);
    return m.hasMatch() ? m.captured(1) : sName;
}

// A value as it is stored: dates as ISO text, Booleans as 1/0.
QVariant Stored(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.isNull() ? QVariant() : QVariant(DbDate::Text(v.toDate()));
    case QMetaType::QDateTime:
        return v.isNull() ? QVariant() : QVariant(DbDate::Text(v.toDateTime()));
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    default:
        return v;
    }
}

// A name quoted as the engine folds unquoted ones, so quoting changes
// nothing but protects words the engine reserves.
QString Quoted(const QString& sName, DbSql::Engine e) {
    const bool lower = e == DbSql::Engine::Postgres;
    return u'"' + (lower ? sName.toLower() : sName) + u'"';
}

QString QuotedList(const QStringList& aNames, DbSql::Engine e) {
    QStringList out;
    for (const QString& n : aNames)
        out << Quoted(n, e);
    return out.join(u", ");
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

bool Recordset::Eof() const {
    return !bOpen_ || nCur_ >= aRows_.size();
}

void Recordset::MoveNext() {
    if (Eof())
        return;
    if (eEdit_ != Edit::None && !Update())
        return;
    ++nCur_;
}

int Recordset::ColumnOf(const QString& sCol) const {
    for (int i = 0; i < aCols_.size(); ++i) {
        if (aCols_[i].compare(sCol, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::Field(const QString& sCol) const {
    return Field(ColumnOf(sCol));
}

QVariant Recordset::Field(int i) const {
    if (Eof() || i < 0 || i >= aCols_.size())
        return {};
    return aRows_[nCur_][i];
}

bool Recordset::AddNew() {
    if (!bOpen_ || !bUpd_)
        return false;
    if (eEdit_ != Edit::None && !Update())
        return false;
    aRows_.append(QVariantList(aCols_.size()));
    aRowIds_.append(QVariant());
    nCur_ = aRows_.size() - 1;
    eEdit_ = Edit::New;
    aDirty_.fill(false, aCols_.size());
    return true;
}

bool Recordset::SetField(const QString& sCol, const QVariant& v) {
    const int i = ColumnOf(sCol);
    if (!bUpd_ || Eof() || i < 0)
        return false;
    if (eEdit_ == Edit::None) {
        aOrig_ = aRows_[nCur_];
        eEdit_ = Edit::Change;
        aDirty_.fill(false, aCols_.size());
    }
    aRows_[nCur_][i] = Stored(v);
    aDirty_[i] = true;
    return true;
}

bool Recordset::Update() {
    if (eEdit_ == Edit::None)
        return true;
    QSqlDatabase db = QSqlDatabase::database(sConn_, false);
    if (!db.isOpen()) {
        sErr_ = QStringLiteral("the database this recordset was read from is closed");
        return false;
    }
    QStringList cols;
    QVariantList vals;
    for (int i = 0; i < aCols_.size(); ++i) {
        if (aDirty_[i]) {
            cols << aCols_[i];
            vals << aRows_[nCur_][i];
        }
    }
    const DbSql::Dialect& d = DbSql::DialectOf(eEngine_);
    const QString returning = QString::fromLatin1(d.sReturnRowId);
    QString sql;
    if (eEdit_ == Edit::New) {
        sql = cols.isEmpty()
                  ? QStringLiteral("Insert Into %1 Default Values").arg(Quoted(sTable_, eEngine_))
                  : QStringLiteral("Insert Into %1 (%2) Values (%3)")
                        .arg(Quoted(sTable_, eEngine_), QuotedList(cols, eEngine_),
                             QStringList(cols.size(), QStringLiteral("?")).join(u", "));
        sql += returning;
    } else {
        if (cols.isEmpty()) {
            eEdit_ = Edit::None;
            return true;
        }
        QStringList sets;
        for (const QString& c : cols)
            sets << Quoted(c, eEngine_) + QStringLiteral(" = ?");
        sql = QStringLiteral("Update %1 Set %2 Where %3")
                  .arg(Quoted(sTable_, eEngine_), sets.join(u", "), QLatin1String(d.sRowIdIs)) +
              returning;
        vals << aRowIds_[nCur_];
    }
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        sErr_ = q.lastError().text();
        return false;
    }
    for (const QVariant& v : vals)
        q.addBindValue(v);
    if (!q.exec()) {
        sErr_ = q.lastError().text();
        return false;
    }
    // A row written back by its address gets a new one.
    const bool named = !returning.isEmpty() && q.next();
    if (eEdit_ == Edit::Change && (returning.isEmpty() ? q.numRowsAffected() < 1 : !named)) {
        sErr_ = QStringLiteral("the row no longer exists");
        return false;
    }
    if (named)
        aRowIds_[nCur_] = q.value(0);
    if (eEdit_ == Edit::New) {
        if (!named)
            aRowIds_[nCur_] = q.lastInsertId();
        // Read the row back so columns left out show their stored defaults.
        QSqlQuery back(db);
        back.prepare(QStringLiteral("Select %1 From %2 Where %3")
                         .arg(QuotedList(aCols_, eEngine_), Quoted(sTable_, eEngine_),
                              QLatin1String(d.sRowIdIs)));
        back.addBindValue(aRowIds_[nCur_]);
        if (back.exec() && back.next()) {
            for (int i = 0; i < aCols_.size(); ++i)
                aRows_[nCur_][i] = back.value(i);
        }
    }
    eEdit_ = Edit::None;
    sErr_.clear();
    return true;
}

void Recordset::CancelUpdate() {
    if (eEdit_ == Edit::New) {
        aRows_.removeLast();
        aRowIds_.removeLast();
        nCur_ = aRows_.size();
    } else if (eEdit_ == Edit::Change) {
        aRows_[nCur_] = aOrig_;
    }
    eEdit_ = Edit::None;
}

void Recordset::Close() {
    bOpen_ = false;
    bUpd_ = false;
    sConn_.clear();
    sTable_.clear();
    aCols_.clear();
    aRows_.clear();
    aRowIds_.clear();
    aOrig_.clear();
    aDirty_.clear();
    nCur_ = 0;
    eEdit_ = Edit::None;
}

void DbOpenRs(const QString& sSql, Recordset& oRs, bool bUpd, bool& bOk) {
    oRs.Close();
    bOk = false;
    QString sql = sSql;
    if (bUpd) {
        oRs.sTable_ = SingleTable(sSql);
        if (oRs.sTable_.isEmpty()) {
            oRs.sErr_ = QStringLiteral("only a statement on one table can be updated");
            return;
        }
        sql = WithRowId(sSql);
    }
    QSqlQuery q;
    if (!DbConn::Run(q, sql, &oRs.sErr_))
        return;
    const QSqlRecord rec = q.record();
    const int first = bUpd ? 1 : 0;
    for (int i = first; i < rec.count(); ++i)
        oRs.aCols_ << AsWritten(rec.fieldName(i), sSql);
    while (q.next()) {
        QVariantList row;
        row.reserve(rec.count() - first);
        for (int i = first; i < rec.count(); ++i)
            row << q.value(i);
        oRs.aRows_ << row;
        if (bUpd)
            oRs.aRowIds_ << q.value(0);
    }
    if (q.lastError().isValid()) {
        oRs.sErr_ = q.lastError().text();
        oRs.Close();
        return;
    }
    oRs.sConn_ = DbConn::Name();
    oRs.eEngine_ = DbConn::Engine();
    oRs.bUpd_ = bUpd;
    oRs.bOpen_ = true;
    bOk = true;
}

} // namespace Usr
