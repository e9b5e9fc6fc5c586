#include "DbSql.h"

#include <QStringList>

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

QString WithNo(const char* sStmt, qint64 nNo) {
    return QString::fromLatin1(sStmt) + QString::number(nNo);
}

QString FindSql(const QString& sWords, const QString& sCol) {
    // Only spaces separate and surround words, as typed into the find box.
    QStringList conds;
    for (const QString& w : sWords.split(u' ', Qt::SkipEmptyParts)) {
        QString term =
            QString::fromLatin1(kFindTermL) + SqlStr(w) + QString::fromLatin1(kFindTermR);
        term.replace(0, 1, sCol); // the leading "!" marker
        conds << term;
    }
    if (conds.isEmpty())
        return QString::fromLatin1(kAllTitles);
    return QString::fromLatin1(kFindHead) + conds.join(QString::fromLatin1(kFindAnd)) +
           QString::fromLatin1(kFindTail);
}

} // namespace DbSql
