#include "DbDate.h"

#include <QDateTime>
#include <QVariant>

namespace DbDate {

QString Text(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString Text(const QDateTime& dt) {
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime Value(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().startOfDay();
    const QString s = v.toString().trimmed();
    if (s.size() == 10) {
        const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    QString t = s;
    if (t.size() > 10 && t[10] == u'T')
        t[10] = u' ';
    QDateTime dt = QDateTime::fromString(t.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return dt;
}

} // namespace DbDate
