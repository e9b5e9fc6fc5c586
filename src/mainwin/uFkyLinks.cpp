#include "uFkyLinks.h"

namespace uFkyLinks {

QList<std::pair<QString, QString>> Entries(const QString& sKeyMap) {
    QList<std::pair<QString, QString>> out;
    for (const QString& entry : sKeyMap.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0)
            out.append({entry.left(eq), entry.mid(eq + 1)});
    }
    return out;
}

QString LinkedCode(const QString& sKeyMap, const QString& sKey) {
    for (const auto& [key, code] : Entries(sKeyMap))
        if (key == sKey)
            return code;
    return {};
}

QStringList LinkedKeys(const QString& sKeyMap, const QString& sCode) {
    QStringList keys;
    for (const auto& [key, code] : Entries(sKeyMap))
        if (code == sCode)
            keys.append(key);
    return keys;
}

void Link(QString& sKeyMap, const QString& sKey, const QString& sCode) {
    QString rebuilt;
    for (const auto& [key, code] : Entries(sKeyMap))
        if (key != sKey)
            rebuilt += key + QLatin1Char('=') + code + QLatin1Char(',');
    sKeyMap = rebuilt + sKey + QLatin1Char('=') + sCode + QLatin1Char(',');
}

QString GroupKeyList(const QString& sGrpKeys, const QString& sCode) {
    QString keys;
    for (const QString& entry : sGrpKeys.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0 && entry.left(eq) == sCode)
            keys += entry.mid(eq + 1);
    }
    return keys;
}

QString GroupKeys(const QString& sKeySet, const QString& sKeyMap) {
    QString sGrpKeys;
    QString s = sKeySet;
    for (qsizetype p = s.indexOf(QLatin1Char('(')); p >= 0; p = s.indexOf(QLatin1Char('('))) {
        const QString group = p >= 2 ? s.mid(p - 2, 2) : s.left(p);
        s = s.mid(p + 1);

        // The matching ")"; an unclosed group runs to the end.
        qsizetype end = s.size();
        int depth = 1;
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == QLatin1Char('('))
                ++depth;
            else if (s[i] == QLatin1Char(')') && --depth == 0) {
                end = i;
                break;
            }
        }
        QString members = s.left(end);

        // A nested group is visited next, starting at its own code; its
        // members stay in this group's list too.
        qsizetype next = end + 1;
        const qsizetype nested = members.indexOf(QLatin1Char('('));
        if (nested >= 0) {
            next = qMax<qsizetype>(0, nested - 2);
            members.replace(QLatin1Char('('), QLatin1Char(','));
        }
        members.remove(QLatin1Char(')'));

        QString keys;
        for (const QString& code : members.split(QLatin1Char(','), Qt::SkipEmptyParts))
            for (const QString& key : LinkedKeys(sKeyMap, code))
                keys += key + QLatin1Char(',');
        if (!keys.isEmpty())
            sGrpKeys += group + QLatin1Char('=') + keys + QLatin1Char('/');

        s = s.mid(next);
    }
    return sGrpKeys;
}

} // namespace uFkyLinks
