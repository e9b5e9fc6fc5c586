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

// The statement with the rowid as an extra first column, so a row can be
// written back whatever keys its table has.
QString WithRowId(const QString& sSql) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*select\s+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    QString s = sSql;
    return s.replace(re, QStringLiteral("Select rowid, "));
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

QString Quoted(const QString& sName) {
    return u'"' + sName + u'"';
}

QString QuotedList(const QStringList& aNames) {
    QStringList out;
    for (const QString& n : aNames)
        out << Quoted(n);
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
    aRowIds_.append(-1);
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
    QString sql;
    if (eEdit_ == Edit::New) {
        sql = cols.isEmpty() ? QStringLiteral("Insert Into %1 Default Values").arg(Quoted(sTable_))
                             : QStringLiteral("Insert Into %1 (%2) Values (%3)")
                                   .arg(Quoted(sTable_), QuotedList(cols),
                                        QStringList(cols.size(), QStringLiteral("?")).join(u", "));
    } else {
        if (cols.isEmpty()) {
            eEdit_ = Edit::None;
            return true;
        }
        QStringList sets;
        for (const QString& c : cols)
            sets << Quoted(c) + QStringLiteral(" = ?");
        sql = QStringLiteral("Update %1 Set %2 Where rowid = ?")
                  .arg(Quoted(sTable_), sets.join(u", "));
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
    if (eEdit_ == Edit::Change && q.numRowsAffected() < 1) {
        sErr_ = QStringLiteral("the row no longer exists");
        return false;
    }
    if (eEdit_ == Edit::New) {
        aRowIds_[nCur_] = q.lastInsertId().toLongLong();
        // Read the row back so columns left out show their stored defaults.
        QSqlQuery back(db);
        back.prepare(QStringLiteral("Select %1 From %2 Where rowid = ?")
                         .arg(QuotedList(aCols_), Quoted(sTable_)));
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
        oRs.aCols_ << rec.fieldName(i);
    while (q.next()) {
        QVariantList row;
        row.reserve(rec.count() - first);
        for (int i = first; i < rec.count(); ++i)
            row << q.value(i);
        oRs.aRows_ << row;
        if (bUpd)
            oRs.aRowIds_ << q.value(0).toLongLong();
    }
    if (q.lastError().isValid()) {
        oRs.sErr_ = q.lastError().text();
        oRs.Close();
        return;
    }
    oRs.sConn_ = DbConn::Name();
    oRs.bUpd_ = bUpd;
    oRs.bOpen_ = true;
    bOk = true;
}

} // namespace Usr
