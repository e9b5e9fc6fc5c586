#include "DbSql.h"

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

} // namespace DbSql
