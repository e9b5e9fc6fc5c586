// Decoding of HTML bytes and the nesting bound applied before parsing.
#include "HtmlDecode.h"
#include "Html.h"
#include "TextCodec.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace html {

namespace {

bool isShiftJis(const QString& cs) {
    static const QSet<QString> names{QStringLiteral("shift_jis"),   QStringLiteral("shift-jis"),
                                     QStringLiteral("sjis"),        QStringLiteral("x-sjis"),
                                     QStringLiteral("windows-31j"), QStringLiteral("cp932"),
                                     QStringLiteral("ms_kanji"),    QStringLiteral("csshiftjis")};
    return names.contains(cs);
}

} // namespace

QString declaredCharset(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringLiteral("utf-8");
    if (bytes.startsWith("\xFF\xFE"))
        return QStringLiteral("utf-16le");
    if (bytes.startsWith("\xFE\xFF"))
        return QStringLiteral("utf-16be");
    // As browsers do: the declaration must come early in the file.
    const QString head = QString::fromLatin1(bytes.left(4096)).toLower();
    static const QRegularExpression meta(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([a-z0-9_.:+-]+)"));
    static const QRegularExpression xml(
        QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([a-z0-9_.:+-]+)"));
    auto m = meta.match(head);
    if (!m.hasMatch())
        m = xml.match(head);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString decode(const QByteArray& bytes) {
    const QString cs = declaredCharset(bytes);
    if (cs == QLatin1String("utf-16le") || cs == QLatin1String("utf-16be") ||
        cs == QLatin1String("utf-16")) {
        const bool le = bytes.startsWith("\xFF\xFE") ||
                        (!bytes.startsWith("\xFE\xFF") && cs != QLatin1String("utf-16be"));
        QStringDecoder d(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const bool bom = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
        return d(bom ? bytes.mid(2) : bytes);
    }
    if (isShiftJis(cs))
        return TextCodec::fromCp932(bytes);
    if (!cs.isEmpty() && cs != QLatin1String("utf-8") && cs != QLatin1String("utf8")) {
        // Latin-1 pages are windows-1252 in every browser.
        const QString name = cs == QLatin1String("iso-8859-1") || cs == QLatin1String("latin1") ||
                                     cs == QLatin1String("us-ascii")
                                 ? QStringLiteral("windows-1252")
                                 : cs;
        QStringDecoder d(name.toLatin1().constData());
        if (d.isValid())
            return d(bytes);
    }
    // Declared UTF-8 or nothing: UTF-8 when the bytes are, else the
    // Japanese code page older pages were written in.
    return TextCodec::fromUtf8OrCp932(bytes);
}

namespace detail {

namespace {

bool nameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ':' || c == '_';
}

// Void elements and elements whose end tag may be left out: they never
// make the tree deeper without bound.
bool countsForDepth(const QByteArray& name) {
    static const QSet<QByteArray> flat{
        "area",     "base",     "br",     "col",     "embed", "hr",    "img",   "input", "link",
        "meta",     "param",    "source", "track",   "wbr",   "p",     "li",    "dt",    "dd",
        "option",   "optgroup", "tr",     "td",      "th",    "thead", "tbody", "tfoot", "colgroup",
        "caption",  "rb",       "rt",     "rp",      "html",  "head",  "body",  "frame", "keygen",
        "basefont", "bgsound",  "image",  "isindex", "nextid"};
    return !flat.contains(name);
}

bool rawText(const QByteArray& name) {
    return name == "script" || name == "style" || name == "textarea" || name == "title" ||
           name == "xmp" || name == "plaintext" || name == "noframes" || name == "iframe" ||
           name == "noembed";
}

} // namespace

QByteArray limitDepth(const QByteArray& in) {
    QByteArray out;
    out.reserve(in.size());
    int depth = 0;
    qsizetype i = 0;
    const qsizetype n = in.size();
    while (i < n) {
        const qsizetype lt = in.indexOf('<', i);
        if (lt < 0) {
            out.append(in.constData() + i, n - i);
            break;
        }
        out.append(in.constData() + i, lt - i);
        i = lt;
        if (in.mid(i, 4) == "<!--") {
            const qsizetype end = in.indexOf("-->", i + 4);
            const qsizetype stop = end < 0 ? n : end + 3;
            out.append(in.constData() + i, stop - i);
            i = stop;
            continue;
        }
        const bool closing = i + 1 < n && in[i + 1] == '/';
        qsizetype p = i + (closing ? 2 : 1);
        const qsizetype nameStart = p;
        while (p < n && nameChar(in[p]))
            ++p;
        if (p == nameStart) { // not a tag: a lone "<"
            out.append('<');
            ++i;
            continue;
        }
        const QByteArray name = in.mid(nameStart, p - nameStart).toLower();
        // The tag's end, past quoted attribute values.
        char quote = 0;
        while (p < n && (quote || in[p] != '>')) {
            if (quote && in[p] == quote)
                quote = 0;
            else if (!quote && (in[p] == '"' || in[p] == '\''))
                quote = in[p];
            ++p;
        }
        const qsizetype tagEnd = std::min(n, p + 1);
        const bool selfClosing = tagEnd >= 2 && in[tagEnd - 2] == '/';
        bool keep = true;
        if (countsForDepth(name) && !selfClosing) {
            if (closing) {
                keep = depth <= kMaxDepth;
                depth = std::max(0, depth - 1);
            } else {
                ++depth;
                keep = depth <= kMaxDepth;
            }
        }
        if (keep)
            out.append(in.constData() + i, tagEnd - i);
        i = tagEnd;
        if (!closing && keep && rawText(name)) {
            // Raw text runs to its own end tag.
            const QByteArray endTag = "</" + name;
            qsizetype e = i;
            while ((e = in.indexOf('<', e)) >= 0 && in.mid(e, endTag.size()).toLower() != endTag)
                ++e;
            const qsizetype stop = e < 0 ? n : e;
            out.append(in.constData() + i, stop - i);
            i = stop;
        }
    }
    return out;
}

} // namespace detail

} // namespace html
