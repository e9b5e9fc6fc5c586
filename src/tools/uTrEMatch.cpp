#include "uTrEMatch.h"

namespace uTrEMatch {

QRegularExpression likeRegex(const QString& pattern) {
    QString rx;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'*') {
            rx += QStringLiteral(".*");
        } else if (c == u'?') {
            rx += u'.';
        } else if (c == u'#') {
            rx += QStringLiteral("[0-9]");
        } else if (c == u'[') {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            if (close < 0)
                return QRegularExpression(QStringLiteral("(?!)"));
            const QString set = pattern.mid(i + 1, close - i - 1);
            i = close;
            const bool negate = set.startsWith(u'!');
            const qsizetype from = negate ? 1 : 0;
            if (from == set.size()) { // "[]" matches the empty text, "[!]" one character
                rx += negate ? QStringLiteral("[\\s\\S]") : QString();
                continue;
            }
            QString cls = negate ? QStringLiteral("[^") : QStringLiteral("[");
            for (qsizetype k = from; k < set.size(); ++k) {
                const QChar s = set[k];
                // Only "-" between two characters forms a range; the characters
                // a regular expression treats specially inside a set are escaped.
                if (s == u'-' && k > from && k + 1 < set.size())
                    cls += u'-';
                else if (QStringView(u"\\]^[-").contains(s))
                    cls += u'\\' + QString(s);
                else
                    cls += s;
            }
            rx += cls + u']';
        } else {
            rx += QRegularExpression::escape(QString(c));
        }
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(rx),
                              QRegularExpression::DotMatchesEverythingOption);
}

bool like(const QString& name, const QString& pattern) {
    return likeRegex(pattern).match(name).hasMatch();
}

QList<QRegularExpression> docPatterns(const QString& sFtS) {
    QList<QRegularExpression> out;
    for (const QString& p : sFtS.toLower().split(u';', Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty())
            out << likeRegex(p.trimmed());
    return out;
}

bool isDoc(const QString& name, const QList<QRegularExpression>& patterns) {
    if (patterns.isEmpty())
        return true;
    for (const QRegularExpression& re : patterns)
        if (re.match(name).hasMatch())
            return true;
    return false;
}

QStringList listFilters(const QString& sFt) {
    QStringList out;
    for (QString p : sFt.split(u';', Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (p.isEmpty())
            continue;
        if (p == QLatin1String("*.*")) // any file, with or without an extension
            p = QStringLiteral("*");
        out << p;
    }
    if (out.isEmpty())
        out << QStringLiteral("*");
    return out;
}

} // namespace uTrEMatch
