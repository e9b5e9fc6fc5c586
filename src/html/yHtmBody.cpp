// yHtm: the body of the engine's HTML cut into tokens and rewritten (links,
// attributes, empty elements, headings, classes), then written out again.
#include "Frmt.h"
#include "HtmText.h"
#include "HtmlWriter.h"
#include "yHtm.h"

#include <QHash>
#include <QStringList>

using namespace htmtext;

namespace {

const QString kCr = QStringLiteral("\r");
const QString kCrLf = QStringLiteral("\r\n");

// Paragraphs with a background colour: the paragraph values stay on the
// paragraph, the character values (the colour) go to a span inside it. The
// tags are put on lines of their own so that they are read as tags; the
// content keeps a line feed in front and so passes through as text.
QString splitShadedParagraphs(QString body) {
    const QString bg = QStringLiteral("background-color");
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = body.indexOf(bg, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const qsizetype lt = body.lastIndexOf(u'<', at);
        if (lt < 0 || body.mid(lt, 2).compare(QLatin1String("<p"), Qt::CaseInsensitive) != 0) {
            from = at + bg.size();
            continue;
        }
        const qsizetype close = body.indexOf(QLatin1String("</p>"), lt, Qt::CaseInsensitive);
        if (close < 0) {
            from = at + bg.size();
            continue;
        }
        const QString para = body.mid(lt, close + 4 - lt);
        const QString content =
            between(para, QStringLiteral("\">"), QStringLiteral("</p>")).remove(u'\r');
        QString paraStyle, charStyle;
        for (const QString& piece : between(para, QStringLiteral("style=\""), QStringLiteral("\""))
                                        .split(u';', Qt::SkipEmptyParts)) {
            // Names in lower case; values as they are (font names are
            // matched by their letters).
            const QString p = piece.section(u':', 0, 0).toLower() +
                              (piece.contains(u':') ? u':' + piece.section(u':', 1) : QString());
            if (p.contains(QLatin1String("text-align")) || p.contains(QLatin1String("margin-")) ||
                p.contains(QLatin1String("line-height")))
                paraStyle += p + u';';
            else
                charStyle += p + u';';
        }
        const QString rewritten = QLatin1String("<p style=\"") + paraStyle + QLatin1String("\">") +
                                  kCr + QLatin1String("<span style=\"") + charStyle +
                                  QLatin1String("\">") + kCrLf + content + kCr +
                                  QLatin1String("</span>") + kCr + QLatin1String("</p>");
        body.replace(lt, para.size(), rewritten);
        from = lt + rewritten.size();
    }
    return body;
}

// Attribute `a` of the tag moved into its style as property `p`.
void attributeToProperty(HtTag& t, const QString& a, const QString& p) {
    t.attrs = trimBlanks(QString(t.attrs).replace(QLatin1String("= "), QLatin1String("=")));
    if (!contains(t.attrs, a))
        return;
    QStringList kept;
    for (const QString& piece : t.attrs.split(u' ', Qt::SkipEmptyParts)) {
        if (piece.startsWith(a, Qt::CaseInsensitive)) {
            QString value = piece.mid(piece.indexOf(u'=') + 1);
            value.remove(u'"');
            t.style += u' ' + p + u':' + value + QLatin1String("; ");
        } else {
            kept << piece;
        }
    }
    t.attrs = trimBlanks(kept.join(u' '));
    t.style = trimBlanks(t.style);
}

int layoutOf(const QString& name) {
    static const QStringList level0 = {QStringLiteral("body"), QStringLiteral("html"),
                                       QStringLiteral("/body"), QStringLiteral("/html")};
    static const QStringList level1 = {QStringLiteral("table"), QStringLiteral("div"),
                                       QStringLiteral("/table"), QStringLiteral("/div")};
    static const QStringList level2 = {
        QStringLiteral("tr"),  QStringLiteral("ol"), QStringLiteral("ul"), QStringLiteral("/ol"),
        QStringLiteral("/ul"), QStringLiteral("h1"), QStringLiteral("h3"), QStringLiteral("h5")};
    static const QStringList level3 = {QStringLiteral("td"), QStringLiteral("li")};
    static const QStringList level4 = {QStringLiteral("a"), QStringLiteral("img"),
                                       QStringLiteral("span")};
    const QString n = name.toLower();
    if (level0.contains(n))
        return 0;
    if (level1.contains(n))
        return 1;
    if (level2.contains(n))
        return 2;
    if (level3.contains(n))
        return 3;
    if (level4.contains(n))
        return 4;
    return -1;
}

// A number from a style: between(style, key, "pt"), rounded; 0 when absent.
int styleNumber(const QString& style, const QString& key) {
    return qRound(between(style, key, QStringLiteral("pt")).toDouble());
}

// A text that shows nothing: blanks and no-break spaces only.
bool showsNothing(const QString& text) {
    const QString t = QString(text)
                          .replace(QLatin1String("&nbsp;"), QLatin1String(" "))
                          .replace(QChar(0xA0), u' ');
    return t.trimmed().isEmpty();
}

// Whether the text, trimmed of blanks, ends with CR LF (without copying it).
bool endsWithLineBreak(const QString& out) {
    qsizetype e = out.size();
    while (e > 0 && (out[e - 1] == u' ' || out[e - 1] == u'\t'))
        --e;
    return e >= 2 && out[e - 2] == u'\r' && out[e - 1] == u'\n';
}

} // namespace

int yHtm::next(size_t i) const {
    for (size_t j = i + 1; j < aTag.size(); ++j)
        if (!aTag[j].dropped)
            return int(j);
    return -1;
}

void yHtm::tokenise(QString body) {
    body.replace(QLatin1String("<br />"), QLatin1String("<br>"));
    body.remove(kCrLf);
    body.replace(u'<', QLatin1String("\r<"));
    body.replace(u'>', QLatin1String(">\r"));
    body.replace(QLatin1String("'Arial'"), u'\'' + fmt.usrFmt[TxStyle::kBody].sFont + u'\'');
    // Ideographic spaces need no stand-in: trimming here takes only blanks.
    body = splitShadedParagraphs(body);
    aTag.clear();
    for (const QString& piece : body.split(u'\r')) {
        const QString token = trimBlanks(piece);
        if (token.isEmpty())
            continue;
        HtTag t;
        t.text = token;
        aTag.push_back(t);
    }
}

// Reads every token: names, kinds, attributes and styles, the body's
// properties handed to the blocks directly inside it, links rewritten.
void yHtm::readTokens(const QString& base) {
    const int spacing = qRound(fmt.sgLsp * 100);
    const QStringList cleaned = {QStringLiteral("text-indent:0pt;"),
                                 QStringLiteral("margin-left:0pt;"),
                                 QStringLiteral("margin-top:0pt;"),
                                 QStringLiteral("margin-bottom:0pt;"),
                                 QStringLiteral("margin-right:0pt;"),
                                 QStringLiteral("line-height:100%;"),
                                 QStringLiteral("line-height:%1%;").arg(spacing)};
    QString bodyStyle;
    int depth = 0;
    for (HtTag& t : aTag) {
        const QString& token = t.text;
        if (token.startsWith(QLatin1String("</"))) {
            t.name = u'/' + between(token, QStringLiteral("</"), QStringLiteral(" ")).remove(u'>');
            t.kind = -1;
        } else if (token.startsWith(u'<')) {
            t.name = between(token, QStringLiteral("<"), QStringLiteral(" ")).remove(u'>');
            const QString lower = t.name.toLower();
            t.kind = lower == QLatin1String("br") || lower == QLatin1String("img") ? 0 : 1;
            const qsizetype blank = token.indexOf(u' ');
            if (blank >= 0) {
                t.attrs = token.mid(blank + 1);
                if (!t.attrs.endsWith(u'"'))
                    t.attrs.chop(1);
            }
            if (t.name != QLatin1String("###")) {
                const qsizetype at =
                    t.attrs.indexOf(QLatin1String("style="), 0, Qt::CaseInsensitive);
                if (at >= 0) {
                    const qsizetype close = t.attrs.indexOf(u'"', at + 7);
                    const qsizetype end = close < 0 ? t.attrs.size() : close;
                    t.style = trimBlanks(t.attrs.mid(at + 7, end - at - 7));
                    t.attrs = trimBlanks(t.attrs.left(at) + t.attrs.mid(end + 1));
                }
                if (lower == QLatin1String("img") && t.attrs.endsWith(u'/'))
                    t.attrs = trimBlanks(t.attrs.chopped(1));
            }
        } else {
            t.name = QStringLiteral("val");
            t.kind = 0;
        }
        for (const QString& c : cleaned)
            t.style.remove(c, Qt::CaseInsensitive);
        t.style = trimBlanks(singleBlanks(t.style));

        depth += t.kind;
        if (t.kind == 1 && depth == 2) {
            if (!t.style.endsWith(u';'))
                t.style += u';';
            for (const QString& piece : bodyStyle.split(u';', Qt::SkipEmptyParts)) {
                const QString name = piece.section(u':', 0, 0).trimmed();
                if (name.compare(QLatin1String("line-height"), Qt::CaseInsensitive) == 0 ||
                    contains(t.style, name))
                    continue;
                t.style += piece + u';';
            }
        }
        const QString lower = t.name.toLower();
        if (lower == QLatin1String("a")) {
            t.style = removeProperty(t.style, QStringLiteral("color"));
            if (t.style == QLatin1String(";"))
                t.style.clear();
            t.attrs = rewriteLink(t.attrs, base);
        } else if (lower == QLatin1String("body")) {
            bodyStyle = removeProperty(t.style, QStringLiteral("background-color"));
            t.style.clear();
        } else if (lower == QLatin1String("img")) {
            t.attrs = removeAttribute(t.attrs, QStringLiteral("title"));
        } else if (lower == QLatin1String("table")) {
            for (const char* a : {"cellspacing", "cellpadding"})
                if (contains(t.attrs, QLatin1String(a) + QLatin1String("=\"0\"")))
                    t.attrs = removeAttribute(t.attrs, QLatin1String(a));
            t.attrs = removeAttribute(trimBlanks(t.attrs), QStringLiteral("cols"));
        } else if (lower == QLatin1String("p")) {
            t.name = QStringLiteral("div");
        } else if (lower == QLatin1String("/p")) {
            t.name = QStringLiteral("/div");
            t.text = QStringLiteral("</div>");
        }
    }
}

// An ordinary link's address: tag links to the sibling page file, local
// addresses made absolute against the base reference; in-page anchors and
// addresses with a scheme stay as they are.
QString yHtm::rewriteLink(const QString& attrs, const QString& base) const {
    if (contains(attrs, QStringLiteral("#TP_")) || contains(attrs, QStringLiteral("http://")))
        return attrs;
    const QString u0 = between(attrs, QStringLiteral("href=\""), QStringLiteral("\""));
    if (u0.isEmpty() && !contains(attrs, QStringLiteral("href=\"")))
        return attrs; // a named anchor without an address
    QString u = u0;
    QString target;
    if (u.startsWith(QLatin1String("#TG_"), Qt::CaseInsensitive)) {
        QString typ, val;
        Frmt::SplitMrk(u.mid(1), typ, val);
        target = HsFName(val);
    } else if (u.startsWith(u'#') || hasScheme(u)) {
        return attrs;
    } else if (contains(u, QStringLiteral("file:///"))) {
        target = withoutFileScheme(u);
    } else if (!base.isEmpty()) {
        QString b = withoutFileScheme(base);
        while (b.endsWith(u'/') && b.size() > 1)
            b.chop(1);
        while (u.startsWith(QLatin1String("../"))) {
            u = u.mid(3);
            const qsizetype slash = b.lastIndexOf(u'/');
            if (slash > 0)
                b = b.left(slash);
        }
        target = b + u'/' + u;
    } else {
        target = u;
    }
    return QLatin1String("href=\"") + target + u'"';
}

void yHtm::links(const QString& sTP) {
    for (size_t i = 0; i < aTag.size(); ++i) {
        HtTag& t = aTag[i];
        if (t.dropped || t.name.compare(QLatin1String("a"), Qt::CaseInsensitive) != 0)
            continue;
        if (i + 1 < aTag.size() &&
            aTag[i + 1].name.compare(QLatin1String("/a"), Qt::CaseInsensitive) == 0) {
            t.dropped = aTag[i + 1].dropped = true;
            continue;
        }
        if (!contains(t.attrs, QStringLiteral("href=\"#TP_")))
            continue;
        QString caption;
        for (size_t j = i + 1; j < aTag.size(); ++j)
            if (aTag[j].name == QLatin1String("val")) {
                caption = aTag[j].text;
                break;
            }
        QString id = between(t.attrs, QStringLiteral("#TP_"), QStringLiteral("\""));
        // The list holds the captions as the user wrote them; the body holds
        // them as HTML text.
        const QString key = unescaped(caption) + u'\t';
        if (const qsizetype at = sTP.indexOf(key); at >= 0 && (at == 0 || sTP[at - 1] == u'\r'))
            id = html::escaped(sTP.mid(at + key.size()).section(u'\r', 0, 0));
        t.name = QStringLiteral("span");
        t.text = QStringLiteral("<span>");
        t.attrs = QLatin1String("title=\"") + caption + QLatin1String(" : ") + id + u'"';
        t.style = pageLinkStyle;
        for (size_t j = i + 1; j < aTag.size(); ++j)
            if (aTag[j].name.compare(QLatin1String("/a"), Qt::CaseInsensitive) == 0) {
                aTag[j].name = QStringLiteral("/span");
                aTag[j].text = QStringLiteral("</span>");
                break;
            }
    }
}

void yHtm::attributesToStyles() {
    for (HtTag& t : aTag) {
        const QString n = t.name.toLower();
        if (n == QLatin1String("div")) {
            attributeToProperty(t, QStringLiteral("align"), QStringLiteral("text-align"));
        } else if (n == QLatin1String("tr") || n == QLatin1String("td")) {
            attributeToProperty(t, QStringLiteral("align"), QStringLiteral("text-align"));
            attributeToProperty(t, QStringLiteral("valign"), QStringLiteral("vertical-align"));
            attributeToProperty(t, QStringLiteral("bgcolor"), QStringLiteral("background-color"));
        } else if (n == QLatin1String("ul") || n == QLatin1String("li")) {
            attributeToProperty(t, QStringLiteral("type"), QStringLiteral("list-style-type"));
        }
    }
}

void yHtm::dropEmpty() {
    for (size_t i = 0; i < aTag.size(); ++i) {
        HtTag& t = aTag[i];
        if (t.dropped)
            continue;
        const int n1 = next(i);
        if (n1 < 0)
            break;
        HtTag& a = aTag[size_t(n1)];
        if (t.name == QLatin1String("span") && a.name == QLatin1String("/span")) {
            t.dropped = a.dropped = true;
        } else if (t.name == QLatin1String("div") && a.name == QLatin1String("/div")) {
            t.dropped = a.dropped = true;
        } else if (t.name == QLatin1String("div") && a.name == QLatin1String("val")) {
            const int n2 = next(size_t(n1));
            if (n2 >= 0 && aTag[size_t(n2)].name == QLatin1String("/div") && showsNothing(a.text))
                t.dropped = a.dropped = aTag[size_t(n2)].dropped = true;
        }
    }
}

void yHtm::headings() {
    static const char* names[] = {"h1", "h3", "h5"};
    for (size_t i = 0; i < aTag.size(); ++i) {
        HtTag& t = aTag[i];
        if (t.dropped || t.name != QLatin1String("div"))
            continue;
        const QString style = QString(t.style).remove(u' ');
        const int margin = styleNumber(style, QStringLiteral("margin-left:"));
        const int size = styleNumber(style, QStringLiteral("font-size:"));
        int level = -1;
        if (margin >= 6) {
            for (int k = 0; k < 3 && level < 0; ++k)
                if (size >= fmt.usrFmt[size_t(k)].iSize)
                    level = k;
        }
        size_t j = i + 1;
        while (j < aTag.size() && (aTag[j].dropped || aTag[j].name != QLatin1String("/div")))
            ++j;
        if (level >= 0) {
            t.name = QLatin1String(names[level]);
            if (j < aTag.size()) {
                aTag[j].name = u'/' + t.name;
                aTag[j].text = QLatin1String("</") + t.name + u'>';
            }
        }
        i = j;
    }
}

// One class per element name and style (letter case ignored), numbered
// from 1 per element name in the order the styles first occur.
void yHtm::classes() {
    classTable.clear();
    QHash<QString, int> numberOf; // key TAB style, folded -> number
    QHash<QString, int> used;     // key, folded -> numbers given
    for (HtTag& t : aTag) {
        if (t.dropped || t.style.isEmpty() || t.name == QLatin1String("###") ||
            (t.kind != 1 && t.name.compare(QLatin1String("img"), Qt::CaseInsensitive) != 0))
            continue;
        const QString key = t.name + u'.' + t.name.left(2);
        t.style = singleBlanks(t.style);
        const QString line = (key + u'\t' + t.style).toCaseFolded();
        int number = numberOf.value(line);
        if (number == 0) {
            number = ++used[key.toCaseFolded()];
            numberOf.insert(line, number);
            classTable.push_back({number, key, t.style});
        }
        t.cls = t.name.left(2) + QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
    }
    for (HtTag& t : aTag)
        t.layout = layoutOf(t.name);
}

QString yHtm::writeBody() const {
    static const QString blocks = QStringLiteral(".h1.h3.h5.p.ol.ul.table.tr.td.div.body.html");
    QString path = QStringLiteral(".html");
    QString out;
    auto endsWithElement = [&](const QString& name) {
        return path.endsWith(u'.' + name, Qt::CaseInsensitive);
    };
    for (const HtTag& t : aTag) {
        if (t.dropped)
            continue;
        if (t.name == QLatin1String("###")) {
            out += kCrLf + t.attrs;
            continue;
        }
        const bool img = t.name.compare(QLatin1String("img"), Qt::CaseInsensitive) == 0;
        QString piece;
        if (img || t.kind == 1) {
            if (!img)
                path += u'.' + t.name;
            piece = trimBlanks(u'<' + t.name + u' ' + t.attrs);
            if (!t.cls.isEmpty())
                piece += QLatin1String(" class=\"") + t.cls + u'"';
            piece = singleBlanks(trimBlanks(piece) + u'>');
        } else if (t.kind == -1) {
            const QString bare = t.name.mid(1);
            if (endsWithElement(bare)) {
                path.chop(bare.size() + 1);
            } else {
                while (!path.isEmpty()) {
                    const qsizetype dot = path.lastIndexOf(u'.');
                    const QString element = path.mid(dot + 1);
                    path.truncate(qMax<qsizetype>(dot, 0));
                    out += QLatin1String("</") + element + u'>';
                    if (contains(blocks, element))
                        out += kCrLf;
                    if (endsWithElement(bare)) {
                        path.chop(bare.size() + 1);
                        break;
                    }
                }
            }
            piece = t.text;
        } else {
            piece = t.text;
        }
        if (t.layout >= 0) {
            if (!endsWithLineBreak(out))
                out += kCrLf;
            out += QString(2 * t.layout, u' ');
        }
        out += piece;
    }
    return out;
}
