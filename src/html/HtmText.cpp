#include "HtmText.h"

namespace htmtext {

QString between(const QString& text, const QString& start, const QString& end) {
    QString t = text;
    if (!t.endsWith(end, Qt::CaseInsensitive))
        t += end;
    qsizetype from = 0;
    if (!start.isEmpty()) {
        const qsizetype s = t.indexOf(start, 0, Qt::CaseInsensitive);
        if (s < 0)
            return {};
        from = s + start.size();
    }
    const qsizetype e = t.indexOf(end, from, Qt::CaseInsensitive);
    if (e < 0)
        return {};
    return t.mid(from, e - from);
}

bool contains(const QString& text, const QString& part) {
    return !part.isEmpty() && text.contains(part, Qt::CaseInsensitive);
}

QString replaceCi(QString text, const QString& from, const QString& to) {
    return text.replace(from, to, Qt::CaseInsensitive);
}

QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t'))
        --e;
    return s.mid(b, e - b);
}

QString singleBlanks(QString s) {
    while (s.contains(QLatin1String("  ")))
        s.replace(QLatin1String("  "), QLatin1String(" "));
    return s;
}

QString removeProperty(QString style, const QString& name) {
    if (!style.endsWith(u';'))
        style += u';';
    const QString key = name + u':';
    for (qsizetype at = style.indexOf(key, 0, Qt::CaseInsensitive); at >= 0;
         at = style.indexOf(key, at + 1, Qt::CaseInsensitive)) {
        // A whole property name: at the start or after ";" or a blank.
        if (at > 0 && style[at - 1] != u';' && style[at - 1] != u' ')
            continue;
        const qsizetype end = style.indexOf(u';', at);
        if (end < 0)
            break;
        style.remove(at, end - at + 1);
        break;
    }
    return singleBlanks(style);
}

QString removeAttribute(QString attrs, const QString& name) {
    const QString key = name + QLatin1String("=\"");
    for (qsizetype at = attrs.indexOf(key, 0, Qt::CaseInsensitive); at >= 0;
         at = attrs.indexOf(key, at + 1, Qt::CaseInsensitive)) {
        if (at > 0 && attrs[at - 1] != u' ')
            continue;
        const qsizetype end = attrs.indexOf(u'"', at + key.size());
        if (end < 0)
            break;
        attrs.remove(at, end - at + 1);
        break;
    }
    return singleBlanks(attrs);
}

QString unescaped(const QString& s) {
    QString out = s;
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&quot;"), QLatin1String("\""));
    out.replace(QLatin1String("&nbsp;"), QString(QChar(0xA0)));
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

QString withoutFileScheme(const QString& address) {
    const QString scheme = QStringLiteral("file:///");
    const qsizetype at = address.indexOf(scheme, 0, Qt::CaseInsensitive);
    if (at < 0)
        return address;
    const QString rest = address.mid(at + scheme.size());
    const bool drive = rest.size() >= 2 && rest[0].isLetter() && rest[1] == u':';
    return address.left(at) + (drive ? QString() : QStringLiteral("/")) + rest;
}

bool hasScheme(const QString& address) {
    qsizetype i = 0;
    while (i < address.size() && (address[i].isLetterOrNumber() || address[i] == u'+' ||
                                  address[i] == u'-' || address[i] == u'.'))
        ++i;
    if (i < 2 || i >= address.size() || address[i] != u':' || !address[0].isLetter())
        return false;
    return address.left(i).compare(QLatin1String("file"), Qt::CaseInsensitive) != 0;
}

} // namespace htmtext
